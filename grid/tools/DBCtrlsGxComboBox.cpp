#include "grid/tools/DBCtrlsGxComboBox.h"

#include "platform/classlib/forms/Clipbrd.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Utf8.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"

#include <algorithm>

CLASSLIB_IMPLEMENT_CLASS(TDropDownBoxGx, TPersistent, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TCustomDBComboBoxGx, TCustomDBEditGx, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TDBComboBoxGx, TCustomDBComboBoxGx, ComponentCreator<TDBComboBoxGx>, nullptr)

namespace {

std::string VarToText(const Variant& value) { return VarIsNull(value) ? std::string() : value.ToString(); }

} // namespace

void TDropDownBoxGx::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TDropDownBoxGx*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    Align = other->Align;
    Rows = other->Rows;
    Width = other->Width;
    Sizable = other->Sizable;
}

TCustomDBComboBoxGx::TCustomDBComboBoxGx(TComponent* owner)
    : TCustomDBEditGx(owner),
      m_items(std::make_unique<TStringList>()),
      m_keyItems(std::make_unique<TStringList>()),
      m_dropDownBox(std::make_unique<TDropDownBoxGx>())
{
    m_keyItems->SetCaseSensitive(true);
    EditButton()->SetVisible(true);
    EditButton()->SetShortCut(scAlt | VK_DOWN);
}

TCustomDBComboBoxGx::~TCustomDBComboBoxGx() = default;

int TCustomDBComboBoxGx::ItemCount() const
{
    return KeyBased() ? std::min(m_items->Count(), m_keyItems->Count()) : m_items->Count();
}

Variant TCustomDBComboBoxGx::ComboValue() const { return KeyBased() ? m_value : Value(); }

void TCustomDBComboBoxGx::SetItemIndexInternal(int index)
{
    if (index < 0 || index >= ItemCount()) {
        index = -1;
        m_value = Null();
    } else if (KeyBased()) {
        m_value = Variant(m_keyItems->Strings(index));
    }
    m_itemIndex = index;
    if (ListOpen())
        m_list->SetItemIndex(index);
    PutText(index >= 0 ? m_items->Strings(index) : std::string());
    RefreshImageIndex();
}

void TCustomDBComboBoxGx::SetItemIndex(int index)
{
    if (!DataLink().DataIndependent())
        (void)DataLink().EditValue();
    try {
        SetItemIndexInternal(index);
        DataLink().SetModified();
        CommitValue();
    } catch (...) {
        DataLink().Reset();
        throw;
    }
}

void TCustomDBComboBoxGx::SetComboValue(const Variant& value)
{
    if (!KeyBased()) {
        SetValue(value);
        ItemIndexFollowsText();
        return;
    }
    m_value = value;
    m_itemIndex = VarIsNull(value) ? -1 : m_keyItems->IndexOf(VarToText(value));
    if (m_itemIndex >= ItemCount())
        m_itemIndex = -1;
    PutText(m_itemIndex >= 0 ? m_items->Strings(m_itemIndex) : std::string());
    RefreshImageIndex();
    if (!Posting())
        CommitValue();
}

void TCustomDBComboBoxGx::ItemIndexFollowsText()
{
    const int index = m_items->IndexOf(Text());
    m_itemIndex = index < ItemCount() ? index : -1;
    RefreshImageIndex();
}

// Key based: the stored key picks the item; otherwise the text is the field's and the item follows.
void TCustomDBComboBoxGx::LinkDataChanged()
{
    if (!KeyBased()) {
        TCustomDBEditGx::LinkDataChanged();
        ItemIndexFollowsText();
        return;
    }
    Variant key = Null();
    if (TField* field = Field())
        key = field->IsNull() ? Null() : Variant(field->Text());
    else if (DataLink().DataIndependent())
        key = DataLink().UnboundValue();
    m_value = key;
    m_itemIndex = VarIsNull(key) ? -1 : m_keyItems->IndexOf(VarToText(key));
    if (m_itemIndex >= ItemCount())
        m_itemIndex = -1;
    PutText(m_itemIndex >= 0 ? m_items->Strings(m_itemIndex) : std::string());
    RefreshImageIndex();
    SetModified(false);
}

void TCustomDBComboBoxGx::PostToLink()
{
    if (m_itemIndex < 0)
        m_onNotInList(this, Text());
    if (KeyBased() || Field())
        DataLink().AssignText(KeyBased() ? VarToText(m_value) : Text());
    else
        DataLink().AssignText(EditText());
}

bool TCustomDBComboBoxGx::LocateStr(const std::string& text, bool partial)
{
    if (!EditCanModify())
        return false;
    const int before = m_itemIndex;
    try {
        int found = -1;
        for (int i = 0; i < ItemCount() && found < 0; ++i) {
            const std::string item = m_items->Strings(i);
            const bool match = partial ? AnsiStrLIComp(item, text, Utf8CharacterCount(text)) == 0 &&
                                             Utf8CharacterCount(item) >= Utf8CharacterCount(text)
                                       : AnsiSameText(item, text);
            if (match)
                found = i;
        }
        if (found >= 0) {
            SetItemIndexInternal(found);
            DataLink().SetModified();
            SetSelStart(static_cast<int>(text.size()));
            SetSelLength(static_cast<int>(Text().size() - text.size()));
        } else if (!KeyBased()) {
            SetItemIndexInternal(-1);
        }
    } catch (...) {
        SetItemIndexInternal(before);
        throw;
    }
    return m_itemIndex != before;
}

void TCustomDBComboBoxGx::SelectNeighbour(int step)
{
    if (EditorReadOnly() || !DataLink().CanModify() || ListOpen() || ItemCount() == 0)
        return;
    int index = m_itemIndex;
    if (index < 0)
        index = step < 0 ? ItemCount() - 1 : 0;
    else
        index = std::clamp(index + step, 0, ItemCount() - 1);
    if (index != m_itemIndex)
        SetItemIndex(index);
}

// Key based: the typed prefix (the text before the selection) and the new character.
void TCustomDBComboBoxGx::SearchKey(char key)
{
    const std::string text = Text();
    const auto start = static_cast<std::size_t>(std::clamp(SelStart(), 0, static_cast<int>(text.size())));
    if (key == VK_BACK) {
        if (start == 0)
            return;
        const std::size_t cut = Utf8PreviousStart(text, start);
        SetSelStart(static_cast<int>(cut));
        SetSelLength(static_cast<int>(text.size() - cut));
        return;
    }
    (void)LocateStr(text.substr(0, start) + key, true);
}

// Typing at the end completes from the items, the completed part selected.
bool TCustomDBComboBoxGx::CompleteTyping(char key)
{
    const std::string text = Text();
    if (SelLength() != 0 || SelStart() != static_cast<int>(text.size()))
        return false;
    if (!EditCanModify())
        return false;
    const std::string typed = text + key;
    for (int i = 0; i < ItemCount(); ++i) {
        const std::string item = m_items->Strings(i);
        if (AnsiStrLIComp(item, typed, Utf8CharacterCount(typed)) == 0 && Utf8CharacterCount(item) >= Utf8CharacterCount(typed)) {
            SetItemIndexInternal(i);
            DataLink().SetModified();
            SetSelStart(static_cast<int>(typed.size()));
            SetSelLength(static_cast<int>(item.size() - typed.size()));
            return true;
        }
    }
    return false;
}

void TCustomDBComboBoxGx::KeyPress(char& key)
{
    if (ListOpen() && (key == '\r' || key == VK_ESCAPE)) {
        ClosePopup(key == '\r');
        key = 0;
        return;
    }
    const bool printable = static_cast<unsigned char>(key) >= 32;
    if (KeyBased()) {
        if ((printable || key == VK_BACK) && !EditorReadOnly() && (Field() || DataLink().DataIndependent())) {
            if (printable && m_dropDownBox->AutoDrop && !DroppedDown())
                OpenDropDown();
            SearchKey(key);
        }
        if (printable || key == VK_BACK)
            key = 0;
        return;
    }
    if (printable && key != '.' && CompleteTyping(key)) {
        key = 0;
        return;
    }
    TCustomDBEditGx::KeyPress(key);
    if (printable && m_dropDownBox->AutoDrop && !DroppedDown())
        OpenDropDown();
}

void TCustomDBComboBoxGx::Change()
{
    TCustomDBEditGx::Change();
    if (!KeyBased())
        ItemIndexFollowsText();
}

void TCustomDBComboBoxGx::KeyDown(WORD& key, TShiftState shift)
{
    if (ListOpen() && (key == VK_RETURN || key == VK_ESCAPE)) {
        ClosePopup(key == VK_RETURN);
        key = 0;
        return;
    }
    if (ListOpen() && !shift.Contains(ssAlt) &&
        (key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT ||
         ((key == VK_HOME || key == VK_END) && shift.Contains(ssCtrl)))) {
        (void)SendMessageA(m_list->Handle(), WM_KEYDOWN, key, 0);
        key = 0;
        return;
    }
    if ((key == VK_UP || key == VK_DOWN) && !shift.Contains(ssAlt) && !ListOpen()) {
        SelectNeighbour(key == VK_UP ? -1 : 1);
        key = 0;
        return;
    }
    if (key == VK_DELETE && KeyBased() && !EditorReadOnly() && (!Field() || !Field()->Required())) {
        SetItemIndex(-1);
        key = 0;
        return;
    }
    TCustomDBEditGx::KeyDown(key, shift);
}

void TCustomDBComboBoxGx::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case WM_MOUSEWHEEL:
        if (ListOpen()) {
            (void)SendMessageA(m_list->Handle(), WM_MOUSEWHEEL, message.WParam, message.LParam);
        } else if (DataLink().CanModify()) {
            SelectNeighbour(static_cast<short>(HIWORD(message.WParam)) > 0 ? -1 : 1);
        }
        message.Result = 1;
        return;
    case WM_PASTE:
        if (KeyBased()) {
            (void)LocateStr(Clipboard()->AsText(), true);
            return;
        }
        break;
    case CM_WANTSPECIALKEY:
        if (ListOpen() && (message.WParam == VK_RETURN || message.WParam == VK_ESCAPE)) {
            message.Result = 1;
            return;
        }
        break;
    default:
        break;
    }
    TCustomDBEditGx::Dispatch(message);
}

void TCustomDBComboBoxGx::DoExit()
{
    ClosePopup(false);
    TCustomDBEditGx::DoExit();
}

void TCustomDBComboBoxGx::OpenDropDown()
{
    m_onDropDown(this);
    if (!m_list) {
        m_list = new TPopupListboxGx(this);
        m_list->SetOnMouseUp(TMouseEvent::FromFunction([this](TObject*, TMouseButton button, TShiftState, int x, int y) {
            if (button == mbLeft)
                ClosePopup(x >= 0 && y >= 0 && x < m_list->Width() && y < m_list->Height());
        }));
    }
    m_list->SetColor(Color());
    m_list->Font()->Assign(Font());
    m_list->SetImages(Images());
    m_list->SetOnGetItemImageIndex(m_onGetItemImageIndex);
    m_list->SetItemHeight(std::max(TPopupListboxGx::FontLineHeight(*this), Images() ? Images()->Height() : 0));
    m_list->Items()->Clear();
    for (int i = 0; i < ItemCount(); ++i)
        m_list->Items()->Add(m_items->Strings(i));
    m_list->SetItemIndex(m_itemIndex);
    m_list->SetGripResized(false);
    PlaceList();
    m_list->Grip()->SetVisible(m_dropDownBox->Sizable);
    SetDroppedDown(true);
}

void TCustomDBComboBoxGx::SetImages(TCustomImageList* images)
{
    EditImage()->SetImages(images);
    EditImage()->SetVisible(images != nullptr);
}

int TCustomDBComboBoxGx::BaseImageIndex() const
{
    int index = m_itemIndex;
    if (m_itemIndex >= 0)
        m_onGetItemImageIndex(const_cast<TCustomDBComboBoxGx*>(this), m_itemIndex, index);
    return index;
}

void TCustomDBComboBoxGx::DropDown()
{
    if (!ListOpen())
        OpenDropDown();
}

void TCustomDBComboBoxGx::PlaceList()
{
    int width = m_dropDownBox->Width;
    if (width == -1) {
        width = 0;
        const HDC dc = GetDC(nullptr);
        {
            const SelectionGuard font(dc, Font()->Handle());
            for (int i = 0; i < ItemCount(); ++i) {
                SIZE size{};
                const std::string item = m_items->Strings(i);
                (void)GetTextExtentPoint32A(dc, item.c_str(), static_cast<int>(item.size()), &size);
                width = std::max<int>(width, size.cx + 5);
            }
        }
        (void)ReleaseDC(nullptr, dc);
        if (Images())
            width += Images()->Width() + 4;
        width += 2 * TPopupListboxGx::FrameWidth + GetSystemMetrics(SM_CXVSCROLL);
    } else if (width <= 0) {
        width = Width();
    }
    m_list->SetWidth(std::max(width, Width()));
    m_list->FitRowCount(std::min(std::max(ItemCount(), 1), m_dropDownBox->Rows));
    const TPoint at = PlaceDropDownUnderEdit(*this, *m_list, m_dropDownBox->Align);
    m_list->SetBounds(at.x, at.y, m_list->Width(), m_list->Height());
    (void)SetWindowPos(m_list->Handle(), HWND_TOPMOST, at.x, at.y, m_list->Width(), m_list->Height(),
                       SWP_SHOWWINDOW | SWP_NOACTIVATE);
}

void TCustomDBComboBoxGx::ClosePopup(bool accept)
{
    if (!ListOpen()) {
        TCustomDBEditGx::ClosePopup(accept);
        return;
    }
    (void)ReleaseCapture();
    (void)SetWindowPos(m_list->Handle(), nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    if (m_list->GripResized()) {
        m_dropDownBox->Rows = m_list->VisibleRows();
        m_dropDownBox->Width = m_list->Width();
    }
    TCustomDBEditGx::ClosePopup(accept);
    if (accept && !EditorReadOnly() && DataLink().EditValue() && m_list->ItemIndex() != m_itemIndex) {
        SetItemIndex(m_list->ItemIndex());
        if (Focused())
            SelectAll();
    }
    m_onCloseUp(this, accept);
}
