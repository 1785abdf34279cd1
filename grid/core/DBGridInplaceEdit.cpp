#include "grid/core/DBGridInplaceEdit.h"

#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxRoutines.h"
#include "grid/core/GridLibGx.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/Clipbrd.h"
#include "platform/classlib/forms/ControlsMessages.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Utf8.h"
#include "platform/winapi/controls/Edit.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/ImageLists.h"

#include <algorithm>

namespace {

TCellDropDownFactoryGx DropDownFactory = nullptr;

// The list's first item that begins with prefix (letter case ignored); -1 when none does.
int FindPrefix(const TStrings& list, int count, const std::string& prefix)
{
    for (int i = 0; i < count; ++i) {
        if (StartsWithIgnoringCase(list.Strings(i), prefix))
            return i;
    }
    return -1;
}

// The width of the list's widest item in the font.
int WidestItem(const TStrings& items, TFont& font)
{
    const HDC dc = GetDC(nullptr);
    int widest = 0;
    {
        const SelectionGuard selected(dc, font.Handle());
        for (int i = 0; i < items.Count(); ++i) {
            const std::string& item = items.Strings(i);
            SIZE size{};
            (void)GetTextExtentPoint32A(dc, item.c_str(), static_cast<int>(item.size()), &size);
            widest = std::max(widest, static_cast<int>(size.cx));
        }
    }
    (void)ReleaseDC(nullptr, dc);
    return widest;
}

} // namespace

void SetCellDropDownFactory(TCellDropDownFactoryGx factory) { DropDownFactory = factory; }

TCellDropDownFactoryGx CellDropDownFactory() { return DropDownFactory; }

// ---- The pick list --------------------------------------------------------------------------------------------

CLASSLIB_IMPLEMENT_CLASS(TGridPickListGx, TCustomListBox, nullptr, nullptr)

TGridPickListGx::TGridPickListGx(TComponent* owner, TDBGridInplaceEdit& editor)
    : TCustomListBox(owner), m_editor(editor)
{
    SetTabStop(false);
    SetVisible(false);
}

void TGridPickListGx::CreateParams(TCreateParams& params)
{
    TCustomListBox::CreateParams(params);
    params.Style = (params.Style & ~(WS_CHILD | WS_HSCROLL)) | WS_POPUP | WS_BORDER | WS_VSCROLL;
    params.ExStyle = (params.ExStyle & ~WS_EX_CLIENTEDGE) | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    params.WndParent = m_editor.Handle();
}

int TGridPickListGx::HeightForRows(int rows) const { return std::max(rows, 1) * ItemHeight() + 2; }

void TGridPickListGx::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case WM_MOUSEACTIVATE:
        message.Result = MA_NOACTIVATE;
        return;
    case WM_LBUTTONUP: {
        TCustomListBox::Dispatch(message);
        const TPoint point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
        const int item = ItemAtPos(point, true);
        if (item >= 0) {
            SetItemIndex(item);
            m_editor.CloseUp(true);
        }
        return;
    }
    default:
        TCustomListBox::Dispatch(message);
        return;
    }
}

// ---- The editor -------------------------------------------------------------------------------------------------

CLASSLIB_IMPLEMENT_CLASS(TDBGridInplaceEdit, TInplaceEdit, nullptr, nullptr)

TDBGridInplaceEdit::TDBGridInplaceEdit(TComponent* owner) : TInplaceEdit(owner) {}

TDBGridInplaceEdit::~TDBGridInplaceEdit() = default;

TCustomDBGridGx* TDBGridInplaceEdit::DataGrid() const { return dynamic_cast<TCustomDBGridGx*>(Grid()); }

TColumnGx* TDBGridInplaceEdit::Column() const
{
    const TCustomDBGridGx* grid = DataGrid();
    return grid ? grid->SelectedColumn() : nullptr;
}

bool TDBGridInplaceEdit::KeyPickColumn() const
{
    const TColumnGx* column = Column();
    return column && column->CellImageKind() == cikKeyPickList;
}

bool TDBGridInplaceEdit::KeyedColumn() const { return m_editStyle == esDataListGx || KeyPickColumn(); }

bool TDBGridInplaceEdit::ListColumn() const { return m_editStyle == esPickListGx || KeyedColumn(); }

// The key the lookup field's key fields hold now.
Variant TDBGridInplaceEdit::LookupKeyValue() const
{
    const TColumnGx* column = Column();
    const TField* field = column ? column->Field() : nullptr;
    if (!field || !field->Lookup())
        return Null();
    return field->DataSet()->FieldValues(field->KeyFields());
}

// A key chosen or typed goes into the lookup field's key fields at once; the editor shows what the
// field shows for it.
void TDBGridInplaceEdit::WriteKey(const std::string& display, const Variant& key)
{
    TColumnGx* column = Column();
    column->UpdateDataValues(display, key, false);
    if (TCustomDBGridGx* grid = DataGrid())
        (void)grid->SetCellEditText(display);
}

// The style follows the column's button style; an automatic one follows what the field holds.
// The two enumerations name the same kinds in the same order.
static_assert(static_cast<int>(esEllipsisGx) == bbkEllipsis && static_cast<int>(esPickListGx) == bbkPickListDropDown &&
              static_cast<int>(esDataListGx) == bbkLookupDropDown && static_cast<int>(esDateGx) == bbkDateDropDown &&
              static_cast<int>(esUpDownGx) == bbkUpDown && static_cast<int>(esDropDownGx) == bbkDropDown);

void TDBGridInplaceEdit::UpdateContents()
{
    CloseUp(false);
    TEditStyleGx style = esSimpleGx;
    if (const TColumnGx* column = Column()) {
        style = static_cast<TEditStyleGx>(column->BuiltInButtonKind());
        Font()->Assign(column->Font());
        SetColor(column->Color());
    }
    SetEditStyle(style);
    UpdateWindowStyle();
    TInplaceEdit::UpdateContents();
    RefreshImageIndex();
    if (const TColumnGx* column = Column())
        SetReadOnly(column->ReadOnly());
}

void TDBGridInplaceEdit::SetEditStyle(TEditStyleGx style)
{
    m_editStyle = style;
    m_activeHooked = nullptr;
    const TColumnGx* column = Column();
    const TField* field = column ? column->Field() : nullptr;
    const auto hooked = [this](std::unique_ptr<ICellDropDownGx>& list, TCellDropDownKindGx kind) {
        if (!list && DropDownFactory)
            list = DropDownFactory(kind, *this);
        return list.get();
    };
    if (style == esPickListGx && !m_pickList)
        m_pickList = new TGridPickListGx(this, *this);
    else if (style == esDateGx)
        m_activeHooked = hooked(m_calendar, cdkCalendarGx);
    else if (style == esDataListGx && column->LookupListDataSet())
        m_activeHooked = hooked(m_dataList, cdkLookupGridGx);
    else if (style == esDropDownGx && field && IsNumberFieldType(field->DataType()))
        m_activeHooked = hooked(m_calculator, cdkCalculatorGx);
    m_buttonWidth = style == esSimpleGx ? 0 : GetSystemMetrics(SM_CXVSCROLL);
    if (HandleAllocated()) {
        BoundsChanged();
        Invalidate();
    }
}

void TDBGridInplaceEdit::CreateParams(TCreateParams& params)
{
    TInplaceEdit::CreateParams(params);
    if (m_wordWrap)
        params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    if (m_alignment == taRightJustify)
        params.Style |= ES_RIGHT;
    else if (m_alignment == taCenter)
        params.Style |= ES_CENTER;
}

// A change of wrapping or alignment makes the window anew: the edit takes its scrolling and
// alignment styles when it is made.
void TDBGridInplaceEdit::UpdateWindowStyle()
{
    const TColumnGx* column = Column();
    const TCustomDBGridGx* grid = DataGrid();
    const bool wrap = column && grid && column->WordWrap() && (grid->RowLines() > 1 || grid->RowHeight() > 0);
    const TAlignment alignment = column ? column->Alignment() : taLeftJustify;
    if (wrap == m_wordWrap && alignment == m_alignment)
        return;
    m_wordWrap = wrap;
    m_alignment = alignment;
    if (HandleAllocated())
        RecreateWnd();
}

// In wrapped text always shown, Up and Down move the caret between the lines; the grid takes them
// on the first line (Up), the last (Down), or when the whole text is selected.
bool TDBGridInplaceEdit::CaretMovesInText(WORD key)
{
    const TCustomDBGridGx* grid = DataGrid();
    if (!m_wordWrap || (key != VK_UP && key != VK_DOWN) || !grid || !grid->Options().Contains(dgAlwaysShowEditor))
        return false;
    const int length = GetWindowTextLengthA(Handle());
    if (SelStart() == 0 && SelLength() == length)
        return false;
    const auto line = SendMessageA(Handle(), EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0);
    const auto lines = SendMessageA(Handle(), EM_GETLINECOUNT, 0, 0);
    return key == VK_UP ? line > 0 : line < lines - 1;
}

// Width the cell image takes at the text's left: the image and a gap.
int TDBGridInplaceEdit::ImageWidth() const
{
    const TColumnGx* column = Column();
    const TCustomImageList* images = column ? column->ImageList() : nullptr;
    return images && column->ShowImageAndText() ? images->Width() + 5 : 0;
}

// The text stops short of the button, and starts after the cell image.
void TDBGridInplaceEdit::BoundsChanged()
{
    RECT client{};
    (void)GetClientRect(Handle(), &client);
    const int left = 2 + ImageWidth();
    const RECT text{left, 2, std::max(left, static_cast<int>(client.right) - 2 - ButtonsWidth()), client.bottom};
    (void)SendMessageA(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&text));
    (void)SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
}

// ---- The button -------------------------------------------------------------------------------------------------

// The image of what the editor holds: a pick list's item by the text, else the field's value.
void TDBGridInplaceEdit::RefreshImageIndex()
{
    const TColumnGx* column = Column();
    int index = -1;
    if (column && column->ImageList())
        index = column->HasPickItems() ? column->PickList()->IndexOf(Text()) : column->ImageIndexOfValue();
    if (index == -1 && column && column->ImageList())
        index = column->NotInKeyListIndex();
    if (index == m_imageIndex)
        return;
    m_imageIndex = index;
    Invalidate();
}

void TDBGridInplaceEdit::Change()
{
    TInplaceEdit::Change();
    RefreshImageIndex();
}

void TDBGridInplaceEdit::DrawCellImage()
{
    const TColumnGx* column = Column();
    TCustomImageList* images = column ? column->ImageList() : nullptr;
    if (!images || !column->ShowImageAndText() || m_imageIndex < 0 || !HandleAllocated())
        return;
    RECT client{};
    (void)GetClientRect(Handle(), &client);
    const HDC dc = GetDC(Handle());
    const RECT strip{0, 0, ImageWidth(), client.bottom};
    const GdiObject<HBRUSH> background(CreateSolidBrush(ColorToRGB(Color())));
    (void)FillRect(dc, &strip, background.Get());
    (void)ImageList_Draw(images->Handle(), m_imageIndex, dc, 2, (client.bottom - images->Height()) / 2, ILD_NORMAL);
    (void)ReleaseDC(Handle(), dc);
}

// A required field left empty while the record is edited is underlined with a red dotted line;
// OnCheckDrawRequiredState may decide otherwise.
void TDBGridInplaceEdit::DrawRequiredState()
{
    const TColumnGx* column = Column();
    TCustomDBGridGx* grid = DataGrid();
    if (!column || !grid || !HandleAllocated())
        return;
    const TField* field = column->Field();
    const TDataSet* dataSet = grid->DataLink().Active() ? grid->DataLink().DataSet() : nullptr;
    bool draw = column->HighlightRequired() && field && dataSet &&
                (dataSet->State() == dsEdit || dataSet->State() == dsInsert) && field->Required() && field->IsNull();
    if (column->OnCheckDrawRequiredState())
        column->OnCheckDrawRequiredState()(this, Text(), draw);
    if (!draw)
        return;
    RECT client{};
    (void)GetClientRect(Handle(), &client);
    const HDC dc = GetDC(Handle());
    for (int x = 2; x < client.right - ButtonsWidth() - 3; x += 2)
        (void)SetPixel(dc, x, client.bottom - 1, RGB(255, 0, 0));
    (void)ReleaseDC(Handle(), dc);
}

void TDBGridInplaceEdit::BuiltInButtonDown(bool bottomHalf)
{
    if (m_editStyle == esUpDownGx) {
        StepValue(!bottomHalf);
        return;
    }
    if (!m_listVisible) {
        DropDown();
        m_noCloseUpOnClick = m_listVisible;
    }
}

// The upper half adds the column's increment, the lower half takes it away; a list column's
// items run the other way (the upper half goes to the item above).
void TDBGridInplaceEdit::StepValue(bool upperHalf)
{
    TCustomDBGridGx* grid = DataGrid();
    TColumnGx* column = Column();
    if (!grid || !column || !column->CanModify(false))
        return;
    if (Text() != grid->EditText()) {
        (void)grid->SetCellEditText(Text());
        grid->DataLink().UpdateRecord();
    }
    long double step = upperHalf ? column->Increment() : -column->Increment();
    if (column->CellImageKind() != cikPlain)
        step = -step;
    column->SetNextFieldValue(step);
    SelectAll();
}

// ---- Drop-down lists ---------------------------------------------------------------------------------------------

void TDBGridInplaceEdit::FillPickList()
{
    const TColumnGx* column = Column();
    TStrings* items = m_pickList->Items();
    items->Clear();
    const TStrings& picks = *column->PickList();
    const int count = column->HasKeyItems() ? std::min(column->KeyList()->Count(), picks.Count()) : picks.Count();
    for (int i = 0; i < count; ++i)
        items->Add(picks.Strings(i));
}

// Under the editor, or over it when the screen ends below.
void TDBGridInplaceEdit::PlaceList(TWinControl& list, int width, int height)
{
    RECT editor{};
    (void)GetWindowRect(Handle(), &editor);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    int top = editor.bottom;
    if (top + height > screenHeight && editor.top - height >= 0)
        top = editor.top - height;
    (void)SetWindowPos(list.Handle(), HWND_TOP, editor.left, top, width, height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    list.SetVisible(true);
}

Variant TDBGridInplaceEdit::HookedOpenValue() const
{
    if (m_activeHooked == m_dataList.get())
        return LookupKeyValue();
    const std::string text = const_cast<TDBGridInplaceEdit*>(this)->Text();
    if (m_activeHooked == m_calculator.get()) {
        double number = 0;
        return Variant(text.empty() || !TryStrToFloat(text, number) ? 0.0 : number);
    }
    // A text that is no date opens the calendar on the field's date, or today.
    TDateTime date{};
    if (!text.empty() && TryStrToDateTime(text, date))
        return Variant::FromDateTime(date);
    const TColumnGx* column = Column();
    const TField* field = column ? column->Field() : nullptr;
    if (!text.empty() && field && !field->IsNull() && field->AsDateTime() != 0)
        return Variant::FromDateTime(field->AsDateTime());
    return Variant::FromDateTime(Date());
}

void TDBGridInplaceEdit::DropDown()
{
    if (m_listVisible)
        return;
    m_textBeforeDropDown = Text();
    if (m_editStyle == esPickListGx && m_pickList) {
        const TColumnGx* column = Column();
        m_pickList->Font()->Assign(Font());
        m_pickList->SetColor(Color());
        m_pickList->HandleNeeded();
        FillPickList();
        const int count = m_pickList->Items()->Count();
        const int rows = std::min(count, std::max(1, column->DropDownRows()));
        const int widest = WidestItem(*m_pickList->Items(), *m_pickList->Font());
        const int bar = count > rows ? GetSystemMetrics(SM_CXVSCROLL) : 0;
        const int width = std::max(Width(), widest + 4 + bar + 2);
        const TField* field = column->Field();
        m_pickList->SetItemIndex(field && !field->IsNull() ? m_pickList->Items()->IndexOf(Text()) : -1);
        PlaceList(*m_pickList, width, m_pickList->HeightForRows(rows));
    } else if (m_activeHooked) {
        if (m_activeHooked == m_calculator.get()) {
            (void)HideCaret(Handle());
            SetSelLength(0);
        }
        m_activeHooked->Open(HookedOpenValue());
    } else {
        return;
    }
    m_listVisible = true;
    m_buttonPressed = true;
    PaintButton();
}

bool TDBGridInplaceEdit::IsListWindow(HWND window) const
{
    if (window && MRUListOpen() && (window == m_mruBox->Handle() || IsChild(m_mruBox->Handle(), window)))
        return true;
    if (!window || !m_listVisible)
        return false;
    const HWND list = m_activeHooked ? m_activeHooked->WindowHandle()
                                     : (m_pickList && m_pickList->HandleAllocated() ? m_pickList->Handle() : nullptr);
    return list && (window == list || IsChild(list, window));
}

void TDBGridInplaceEdit::CloseUp(bool accept)
{
    if (MRUListOpen()) {
        CloseMRUList(accept);
        return;
    }
    if (!m_listVisible)
        return;
    if (IsListWindow(GetFocus()))
        SetFocus();
    m_listVisible = false;
    m_buttonPressed = false;
    if (GetCapture() == Handle())
        (void)ReleaseCapture();
    if (m_activeHooked)
        CloseHookedList(accept);
    else
        ClosePickList(accept);
    PaintButton();
}

// The chosen item (with a key list, the item that stands for its key) becomes the text; Esc puts
// back the text from before the list opened.
void TDBGridInplaceEdit::ClosePickList(bool accept)
{
    if (!m_pickList)
        return;
    const int index = m_pickList->ItemIndex();
    (void)ShowWindow(m_pickList->Handle(), SW_HIDE);
    m_pickList->SetVisible(false);
    TCustomDBGridGx* grid = DataGrid();
    if (!accept || index < 0 || !grid || !grid->SetCellEditText(m_pickList->Items()->Strings(index))) {
        SetText(m_textBeforeDropDown);
        SelectAll();
        return;
    }
    SetText(m_pickList->Items()->Strings(index));
    (void)grid->SetCellEditText(Text());
    SelectAll();
}

void TDBGridInplaceEdit::CloseHookedList(bool accept)
{
    ICellDropDownGx* list = m_activeHooked;
    const Variant value = list->Value();
    list->Hide();
    if (list == m_calculator.get())
        (void)ShowCaret(Handle());
    TCustomDBGridGx* grid = DataGrid();
    TColumnGx* column = Column();
    if (!accept || !grid || !column || VarIsNull(value) || VarIsEmpty(value) || !grid->SetCellEditText(Text())) {
        if (list == m_dataList.get())
            SetText(m_textBeforeDropDown);
        return;
    }
    if (list == m_calculator.get()) {
        SetText(FloatToStr(value.ToDouble()));
        (void)grid->SetCellEditText(Text());
    } else if (list == m_dataList.get()) {
        WriteKey({}, value);
        SetText(column->Field()->Text());
    } else {
        const TDateTime date = value.ToDateTime();
        column->UpdateDataValues(DateToStr(date), Variant::FromDateTime(date), false);
    }
    SelectAll();
}

// The open list takes the keys that move its selection; a pick list shows the item it moved to.
bool TDBGridInplaceEdit::ForwardToList(WORD key, TShiftState shift)
{
    if (m_activeHooked) {
        if (!m_activeHooked->TakeKey(key, shift))
            return false;
        if (const std::string chosen = m_activeHooked->ChosenText(); !chosen.empty()) {
            SetText(chosen);
            SelectAll();
        }
        return true;
    }
    const bool ctrlEnd = shift == TShiftState{ssCtrl} && (key == VK_HOME || key == VK_END);
    const bool moving = shift.Empty() && (key == VK_UP || key == VK_DOWN || key == VK_PRIOR || key == VK_NEXT);
    if (!m_pickList || (!moving && !ctrlEnd))
        return false;
    const int count = m_pickList->Items()->Count();
    if (count == 0)
        return true;
    const int rows = std::max(1, m_pickList->ClientHeight() / std::max(1, m_pickList->ItemHeight()));
    const int current = m_pickList->ItemIndex();
    int next = current;
    switch (key) {
    case VK_UP:
        next = current - 1;
        break;
    case VK_DOWN:
        next = current + 1;
        break;
    case VK_PRIOR:
        next = current - rows;
        break;
    case VK_NEXT:
        next = current < 0 ? rows - 1 : current + rows;
        break;
    case VK_HOME:
        next = 0;
        break;
    default:
        next = count - 1;
        break;
    }
    ShowListItem(std::clamp(next, 0, count - 1));
    return true;
}

void TDBGridInplaceEdit::ShowListItem(int index)
{
    m_pickList->SetItemIndex(index);
    SetText(m_pickList->Items()->Strings(index));
    SelectAll();
}

bool TDBGridInplaceEdit::DoDropDownKeys(WORD key, TShiftState shift)
{
    if (m_editStyle != esPickListGx && !m_activeHooked)
        return false;
    const bool alt = shift.Contains(ssAlt);
    if ((key == VK_UP || key == VK_DOWN) && alt) {
        if (m_listVisible)
            CloseUp(true);
        else
            DropDown();
        return true;
    }
    if ((key == VK_RETURN || key == VK_ESCAPE) && m_listVisible && !alt) {
        // The calculator closes itself on their characters.
        if (!m_activeHooked || !m_activeHooked->TakesCharacters())
            CloseUp(key == VK_RETURN);
        return true;
    }
    if (key == VK_RETURN && shift.Contains(ssCtrl) && !m_listVisible) {
        DropDown();
        return true;
    }
    return false;
}

// Ctrl+Enter clicks an ellipsis or drop-down button; Ctrl+F asks the grid for its search.
bool TDBGridInplaceEdit::GridKeys(WORD& key, TShiftState shift)
{
    const bool ctrlOnly = shift == TShiftState{ssCtrl};
    if (key == VK_RETURN && ctrlOnly && (m_editStyle == esEllipsisGx || m_editStyle == esDropDownGx)) {
        if (TCustomDBGridGx* grid = DataGrid())
            grid->EditButtonClick();
        key = 0;
        return true;
    }
    if (key == 'F' && ctrlOnly) {
        SendToGrid(key, shift);
        return true;
    }
    return false;
}

// ---- Keys ---------------------------------------------------------------------------------------------------------

void TDBGridInplaceEdit::KeyDown(WORD& key, TShiftState shift)
{
    m_closedByKey = false;
    if (MRUListOpen() && ForwardToMRUList(key, shift)) {
        m_closedByKey = key == VK_RETURN || key == VK_ESCAPE;
        key = 0;
        return;
    }
    if (DoDropDownKeys(key, shift)) {
        m_closedByKey = key == VK_RETURN || key == VK_ESCAPE;
        key = 0;
        return;
    }
    if (m_listVisible && ForwardToList(key, shift)) {
        key = 0;
        return;
    }
    if (GridKeys(key, shift)) {
        m_closedByKey = true;
        return;
    }
    if (KeyedColumn() && KeyedDelete(key, shift))
        return;
    if (shift.Empty() && CaretMovesInText(key)) {
        TCustomMaskEdit::KeyDown(key, shift);
        return;
    }
    TInplaceEdit::KeyDown(key, shift);
}

// A key-list or lookup column holds only its list's values: Delete clears a whole selected text
// (a lookup column's key becomes Null), Backspace moves left, unless OnNotInList lets other texts
// in.
bool TDBGridInplaceEdit::KeyedDelete(WORD& key, TShiftState shift)
{
    const TColumnGx* column = Column();
    TCustomDBGridGx* grid = DataGrid();
    if ((key != VK_DELETE && key != VK_BACK) || !shift.Empty() || !column->CanModify(false) || column->OnNotInList())
        return false;
    if (key == VK_BACK) {
        key = VK_LEFT;
        m_backspaceAsLeft = true;
        return false;
    }
    const int length = GetWindowTextLengthA(Handle());
    if (SelStart() == 0 && SelLength() == length && grid->SetCellEditText({})) {
        if (m_editStyle == esDataListGx)
            WriteKey({}, Null());
        SetText({});
    }
    key = 0;
    return true;
}

void TDBGridInplaceEdit::KeyPress(char& key)
{
    if (key == '\b' && m_backspaceAsLeft) {
        m_backspaceAsLeft = false;
        key = 0;
        return;
    }
    const auto code = static_cast<unsigned char>(key);
    if (m_listVisible && m_activeHooked && m_activeHooked->TakesCharacters() &&
        (code >= 32 || key == '\r' || key == 27)) {
        m_activeHooked->TakeChar(key);
        key = 0;
        return;
    }
    // Enter and Esc that closed a list go no further.
    if ((key == '\r' || key == '\n' || key == 27) && (m_listVisible || m_closedByKey)) {
        m_closedByKey = false;
        key = 0;
        return;
    }
    const TColumnGx* column = Column();
    if (code >= 32 && !m_listVisible && column && column->AutoDropDown() && m_editStyle == esPickListGx)
        DropDown();
    TInplaceEdit::KeyPress(key);
}

// Characters come a byte at a time; the completion looks at whole ones.
bool TDBGridInplaceEdit::TypeCharacter(char key)
{
    const auto code = static_cast<unsigned char>(key);
    if (!ListColumn() || (code < 32 && key != '\b'))
        return false;
    m_pendingChar += key;
    if (m_pendingChar.size() < Utf8SequenceLength(static_cast<unsigned char>(m_pendingChar.front())))
        return true;
    const std::string text = std::move(m_pendingChar);
    m_pendingChar.clear();
    if (KeyPressStr(text))
        return true;
    if (text.size() > 1) {
        (void)SendMessageA(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
        return true;
    }
    return false;
}

// The text before the caret plus what was typed is looked up as a prefix of the list's items:
// the first match shows with its untyped rest selected.
bool TDBGridInplaceEdit::KeyPressStr(const std::string& text)
{
    TColumnGx* column = Column();
    TCustomDBGridGx* grid = DataGrid();
    if (m_editStyle == esDataListGx)
        return TypeIntoLookup(text);
    if (!column || !grid || !column->HasPickItems())
        return false;
    const bool backspace = text == "\b";
    if (backspace && m_editStyle != esPickListGx)
        return false;
    std::string candidate = WholePrefix(Text(), static_cast<std::size_t>(SelStart()));
    if (backspace) {
        if (candidate.empty())
            return false;
        candidate.resize(Utf8PreviousStart(candidate, candidate.size()));
        if (candidate.empty())
            return false;
    } else {
        candidate += text;
    }
    const TStrings& picks = *column->PickList();
    const int count = column->HasKeyItems() ? std::min(column->KeyList()->Count(), picks.Count()) : picks.Count();
    const int found = FindPrefix(picks, count, candidate);
    if (found >= 0) {
        CompleteText(picks.Strings(found), candidate.size());
        if (m_listVisible && m_pickList)
            m_pickList->SetItemIndex(found);
        return true;
    }
    if (!KeyPickColumn())
        return false;
    if (column->OnNotInList()) {
        CompleteText(candidate, candidate.size());
        if (m_listVisible && m_pickList)
            m_pickList->SetItemIndex(-1);
    } else {
        (void)MessageBeep(0);
    }
    return true;
}

// The text before the caret plus what was typed is looked up in a lookup column's list.
bool TDBGridInplaceEdit::TypeIntoLookup(const std::string& text)
{
    if (text == "\b")
        return false;
    return LookupComplete(WholePrefix(Text(), static_cast<std::size_t>(SelStart())) + text);
}

// A candidate text is looked up (letter case ignored) as the start of a lookup list's shown value:
// the first match's key goes into the field and its text shows with the rest after the candidate
// selected. The list is searched in memory; the text reaches no query.
bool TDBGridInplaceEdit::LookupComplete(const std::string& candidate)
{
    TColumnGx* column = Column();
    TDataSet* list = column ? column->LookupListDataSet() : nullptr;
    const TField* field = column ? column->Field() : nullptr;
    if (!list || !list->Active() || !field || !column->CanModify(true))
        return false;
    const TLocateOptions prefixAnyCase = LocateOptions({loCaseInsensitive, loPartialKey});
    if (list->Locate(field->LookupResultField(), Variant(candidate), prefixAnyCase)) {
        const std::string shown = list->FieldByName(field->LookupResultField())->Text();
        WriteKey(shown, list->FieldValues(field->LookupKeyFields()));
        CompleteText(shown, candidate.size());
        return true;
    }
    if (column->OnNotInList()) {
        WriteKey(candidate, Null());
        CompleteText(candidate, candidate.size());
    } else {
        (void)MessageBeep(0);
    }
    return true;
}

void TDBGridInplaceEdit::CompleteText(const std::string& text, std::size_t typedLength)
{
    const std::string typed = WholePrefix(text, typedLength);
    SetText(text);
    (void)SendMessageA(Handle(), EM_SETSEL, typed.size(), static_cast<LPARAM>(text.size()));
    if (TCustomDBGridGx* grid = DataGrid())
        (void)grid->SetCellEditText(text);
}

// Pasting into a key-list or lookup column completes the pasted text from the list, as typing
// does.
bool TDBGridInplaceEdit::PasteIntoList()
{
    TColumnGx* column = Column();
    TCustomDBGridGx* grid = DataGrid();
    if (!KeyedColumn() || !grid || !column->CanModify(false))
        return false;
    const std::string pasted = Clipboard()->AsText();
    if (pasted.empty())
        return true;
    const std::string text = Text();
    const auto start = static_cast<std::size_t>(SelStart());
    const auto end = start + static_cast<std::size_t>(SelLength());
    const std::string candidate = text.substr(0, start) + pasted + text.substr(std::min(end, text.size()));
    if (m_editStyle == esDataListGx) {
        (void)LookupComplete(candidate);
        return true;
    }
    const TStrings& picks = *column->PickList();
    const int found = FindPrefix(picks, std::min(column->KeyList()->Count(), picks.Count()), candidate);
    if (found < 0 && !column->OnNotInList())
        return true;
    if (!grid->SetCellEditText(candidate))
        return true;
    CompleteText(found >= 0 ? picks.Strings(found) : candidate, candidate.size());
    return true;
}

void TDBGridInplaceEdit::DblClick()
{
    TColumnGx* column = Column();
    if (column && column->DblClickNextVal()) {
        column->SetNextFieldValue(GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
        return;
    }
    TInplaceEdit::DblClick();
}

// ---- Messages ---------------------------------------------------------------------------------------------------

void TDBGridInplaceEdit::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT:
        TInplaceEdit::Dispatch(message);
        PaintButton();
        DrawRequiredState();
        DrawCellImage();
        return;
    case CM_CANCELMODE: {
        auto* sender = reinterpret_cast<TControl*>(message.LParam);
        auto* window = dynamic_cast<TWinControl*>(sender);
        if (sender != this && !(window && window->HandleAllocated() && IsListWindow(window->Handle())))
            CloseUp(false);
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (InButton(message.LParam)) {
            SetCapture(Handle());
            ButtonPress(GET_Y_LPARAM(message.LParam));
            return;
        }
        if (const int extra = ExtraButtonAt(message.LParam); extra >= 0) {
            SetCapture(Handle());
            ExtraButtonPress(extra, GET_Y_LPARAM(message.LParam));
            return;
        }
        break;
    case WM_LBUTTONUP:
        if (m_pressedExtra >= 0) {
            (void)ReleaseCapture();
            ExtraButtonRelease(ExtraButtonAt(message.LParam) == m_pressedExtra);
            return;
        }
        if (GetCapture() == Handle() && InButton(message.LParam)) {
            (void)ReleaseCapture();
            ButtonRelease();
            return;
        }
        if (GetCapture() == Handle() && m_buttonWidth > 0 && !m_listVisible) {
            (void)ReleaseCapture();
            m_buttonPressed = false;
            PaintButton();
            return;
        }
        break;
    case WM_CHAR: {
        const std::string before = Text();
        if (!Outlives([&] { TInplaceEdit::Dispatch(message); }))
            return;
        if (Text() != before)
            TextEditedByUser();
        return;
    }
    case WM_MOUSEWHEEL:
        if (m_listVisible) {
            message.Result = 1;
            return;
        }
        break;
    case WM_SETCURSOR:
        if (ButtonsWidth() > 0) {
            POINT point{};
            (void)GetCursorPos(&point);
            (void)::ScreenToClient(Handle(), &point);
            if (InButton(MAKELPARAM(point.x, point.y)) || ExtraButtonAt(MAKELPARAM(point.x, point.y)) >= 0) {
                (void)::SetCursor(LoadCursorA(nullptr, IDC_ARROW));
                message.Result = TRUE;
                return;
            }
        }
        break;
    case WM_KILLFOCUS:
        if (!IsListWindow(reinterpret_cast<HWND>(message.WParam)))
            CloseUp(false);
        break;
    case WM_PASTE:
        if (PasteIntoList())
            return;
        break;
    default:
        break;
    }
    TInplaceEdit::Dispatch(message);
}
