#include "platform/classlib/forms/StdCtrlsComboBox.h"

#include "platform/classlib/core/Colors.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/controls/ComboBox.h"

namespace detail = classlib_forms::detail;

namespace {

void DescribeComboBox(TClassBuilder& c)
{
    c.Enum("Style", ComboBoxStyleTypeInfo(), &TCustomComboBox::Style, &TCustomComboBox::SetStyle).Default(csDropDown);
    c.Enum("CharCase", EditCharCaseTypeInfo(), &TCustomComboBox::CharCase, &TCustomComboBox::SetCharCase).Default(ecNormal);
    c.Integer("DropDownCount", &TCustomComboBox::DropDownCount, &TCustomComboBox::SetDropDownCount).Default(8);
    c.Integer("ItemHeight", &TCustomComboBox::ItemHeight, &TCustomComboBox::SetItemHeight).Default(16);
    c.Integer("MaxLength", &TCustomComboBox::MaxLength, &TCustomComboBox::SetMaxLength).Default(0);
    c.Boolean("Sorted", &TCustomComboBox::Sorted, &TCustomComboBox::SetSorted).Default(false);
    c.String("Text", &TControl::Text, &TControl::SetText);
    c.Object("Items", &TCustomComboBox::Items, &TCustomComboBox::SetItems);
    c.Integer("ItemIndex", &TCustomComboBox::ItemIndex, &TCustomComboBox::SetItemIndex).Default(-1);
    c.Event("OnChange", &TCustomComboBox::OnChange, &TCustomComboBox::SetOnChange);
    c.Event("OnSelect", &TCustomComboBox::OnSelect, &TCustomComboBox::SetOnSelect);
    c.Event("OnDropDown", &TCustomComboBox::OnDropDown, &TCustomComboBox::SetOnDropDown);
    c.Event("OnCloseUp", &TCustomComboBox::OnCloseUp, &TCustomComboBox::SetOnCloseUp);
    c.Event("OnDrawItem", &TCustomComboBox::OnDrawItem, &TCustomComboBox::SetOnDrawItem);
    c.Event("OnMeasureItem", &TCustomComboBox::OnMeasureItem, &TCustomComboBox::SetOnMeasureItem);
}

constexpr TItemMessages COMBO_BOX_MESSAGES{CB_ADDSTRING, CB_INSERTSTRING, CB_DELETESTRING, CB_RESETCONTENT, CB_GETCOUNT,
                                           CB_GETLBTEXT, CB_GETLBTEXTLEN, CB_GETITEMDATA,  CB_SETITEMDATA};

COMBOBOXINFO InfoOf(HWND combo)
{
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    (void)GetComboBoxInfo(combo, &info);
    return info;
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TCustomComboBox, TWinControl, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TComboBox, TCustomComboBox, ComponentCreator<TComboBox>, DescribeComboBox)

const TTypeInfo& ComboBoxStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TComboBoxStyle", {"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"});
    return info;
}

namespace classlib_forms::detail {

LRESULT ComboPartProc(HWND part, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (auto* combo = dynamic_cast<TCustomComboBox*>(TWinControl::FindControl(GetParent(part)));
        combo && combo->PartMessage(part, message, wParam, lParam))
        return 0;
    return DefSubclassProc(part, message, wParam, lParam);
}

} // namespace classlib_forms::detail

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TWinControl(owner),
      m_items(std::make_unique<TItemWindowStrings>(*this, COMBO_BOX_MESSAGES)),
      m_canvas(std::make_unique<TCanvas>())
{
    SetControlStyle(TControlStyle{csSetCaption, csDoubleClicks});
    SetBounds(0, 0, 145, 21);
    SetTabStop(true);
    SetParentColor(false);
}

TCustomComboBox::~TCustomComboBox() = default;

LRESULT TCustomComboBox::Send(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return SendMessageA(const_cast<TCustomComboBox*>(this)->Handle(), message, wParam, lParam);
}

void TCustomComboBox::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    RegisterComboBoxClass();
    CreateSubClass(params, "ComboBox");
    const DWORD styles[] = {CBS_DROPDOWN, CBS_SIMPLE, CBS_DROPDOWNLIST, CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED,
                            CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE};
    const DWORD charCases[] = {0, CBS_UPPERCASE, CBS_LOWERCASE};
    params.Style |= WS_VSCROLL | CBS_HASSTRINGS | CBS_AUTOHSCROLL | styles[m_style] | (m_sorted ? CBS_SORT : 0) |
                    charCases[m_charCase];
}

void TCustomComboBox::CreateWnd()
{
    const std::string text = Text();
    TWinControl::CreateWnd();
    const HWND window = Handle();
    // The class library names a child by its handle, so that WM_MEASUREITEM finds its way back.
    (void)SetWindowLongPtrA(window, GWLP_ID, reinterpret_cast<LONG_PTR>(window));
    (void)Send(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
    if (OwnerDrawn()) {
        (void)Send(CB_SETITEMHEIGHT, 0, m_itemHeight);
        (void)Send(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), m_itemHeight);
    }
    (void)Send(CB_SETMINVISIBLE, static_cast<WPARAM>(m_dropDownCount));
    if (m_maxLength > 0)
        (void)Send(CB_LIMITTEXT, static_cast<WPARAM>(m_maxLength));
    m_items->WindowCreated();
    if (m_itemIndex >= 0)
        (void)Send(CB_SETCURSEL, static_cast<WPARAM>(m_itemIndex));
    else if (!text.empty())
        (void)SetWindowTextA(window, text.c_str());
    const COMBOBOXINFO info = InfoOf(window);
    if (info.hwndItem && info.hwndItem != window)
        (void)SetWindowSubclass(info.hwndItem, &detail::ComboPartProc, 0, 0);
    if (m_style == csSimple && info.hwndList)
        (void)SetWindowSubclass(info.hwndList, &detail::ComboPartProc, 0, 0);
}

void TCustomComboBox::DestroyWnd()
{
    m_itemIndex = ItemIndex();
    m_items->WindowDestroying();
    TWinControl::DestroyWnd();
}

void TCustomComboBox::Loaded()
{
    TWinControl::Loaded();
    if (HandleAllocated() && m_itemIndex >= 0)
        (void)Send(CB_SETCURSEL, static_cast<WPARAM>(m_itemIndex));
}

void TCustomComboBox::Recreate()
{
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomComboBox::SetItems(TStrings* items)
{
    if (items)
        m_items->Assign(*items);
}

int TCustomComboBox::ItemIndex() const { return HandleAllocated() ? static_cast<int>(Send(CB_GETCURSEL)) : m_itemIndex; }

void TCustomComboBox::SetItemIndex(int index)
{
    m_itemIndex = index;
    if (HandleAllocated())
        (void)Send(CB_SETCURSEL, static_cast<WPARAM>(index));
}

void TCustomComboBox::SetStyle(TComboBoxStyle style)
{
    if (style == m_style)
        return;
    m_style = style;
    Recreate();
}

void TCustomComboBox::SetSorted(bool sorted)
{
    if (sorted == m_sorted)
        return;
    m_sorted = sorted;
    m_items->SetSorted(sorted);
    Recreate();
}

void TCustomComboBox::SetCharCase(TEditCharCase charCase)
{
    if (charCase == m_charCase)
        return;
    m_charCase = charCase;
    Recreate();
}

void TCustomComboBox::SetDropDownCount(int count)
{
    m_dropDownCount = count;
    if (HandleAllocated())
        (void)Send(CB_SETMINVISIBLE, static_cast<WPARAM>(count));
}

bool TCustomComboBox::DroppedDown() const { return HandleAllocated() && Send(CB_GETDROPPEDSTATE) != FALSE; }

void TCustomComboBox::SetDroppedDown(bool dropped) { (void)Send(CB_SHOWDROPDOWN, dropped ? TRUE : FALSE); }

void TCustomComboBox::SetMaxLength(int length)
{
    m_maxLength = std::max(length, 0);
    if (HandleAllocated() && m_style != csDropDownList && !OwnerDrawn())
        (void)Send(CB_LIMITTEXT, static_cast<WPARAM>(m_maxLength));
}

int TCustomComboBox::ItemHeight() const
{
    return HandleAllocated() && !OwnerDrawn() ? static_cast<int>(Send(CB_GETITEMHEIGHT)) : m_itemHeight;
}

void TCustomComboBox::SetItemHeight(int height)
{
    if (height <= 0)
        return;
    m_itemHeight = height;
    if (HandleAllocated() && OwnerDrawn()) {
        (void)Send(CB_SETITEMHEIGHT, 0, height);
        (void)Send(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height);
    }
}

HWND TCustomComboBox::EditHandle()
{
    const COMBOBOXINFO info = InfoOf(Handle());
    return info.hwndItem != Handle() ? info.hwndItem : nullptr;
}

HWND TCustomComboBox::ListHandle() { return InfoOf(Handle()).hwndList; }

void TCustomComboBox::Select()
{
    if (m_onSelect.Assigned())
        m_onSelect(this);
    else
        Change();
}

void TCustomComboBox::DrawItem(int index, TRect rect, TOwnerDrawState state)
{
    if (m_onDrawItem.Assigned()) {
        m_onDrawItem(this, index, rect, state);
        return;
    }
    m_canvas->FillRect(rect);
    if (index < m_items->Count())
        m_canvas->TextOut(rect.left + 2, rect.top, m_items->Strings(index));
}

bool TCustomComboBox::PartMessage(HWND part, UINT message, WPARAM& wParam, LPARAM lParam)
{
    if (message == WM_RBUTTONUP) {
        POINT screen{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        (void)::ClientToScreen(part, &screen);
        Perform(WM_CONTEXTMENU, 0,
                MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
        return false;
    }
    if (part != EditHandle())
        return false;
    if (message == WM_SETFOCUS) {
        // The edit's focus is the combo box's, as far as the form is concerned.
        if (TCustomForm* form = GetParentForm(this))
            form->SetFocusedControl(this);
        return false;
    }
    if (message == WM_KEYDOWN) {
        WORD key = LOWORD(wParam);
        KeyDown(key, KeyDataToShiftState(lParam));
        wParam = key;
        return key == 0;
    }
    if (message == WM_CHAR) {
        char key = static_cast<char>(wParam);
        KeyPress(key);
        wParam = static_cast<BYTE>(key);
        return key == 0;
    }
    return false;
}

void TCustomComboBox::Command(WORD code)
{
    switch (code) {
    case CBN_SELCHANGE:
        Click();
        Select();
        break;
    case CBN_EDITCHANGE:
        Change();
        break;
    case CBN_DROPDOWN:
        DropDown();
        break;
    case CBN_CLOSEUP:
        CloseUp();
        break;
    default:
        break;
    }
}

void TCustomComboBox::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CN_COMMAND:
        Command(HIWORD(message.WParam));
        return;
    case CN_DRAWITEM:
        detail::PaintOwnerDrawnItem(*m_canvas, *this, *reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam),
                                    [this](int index, TRect rect, TOwnerDrawState state) { DrawItem(index, rect, state); });
        message.Result = TRUE;
        return;
    case CN_MEASUREITEM: {
        auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
        int height = m_itemHeight;
        MeasureItem(static_cast<int>(measure.itemID), height);
        measure.itemHeight = static_cast<UINT>(height);
        message.Result = TRUE;
        return;
    }
    // Asked by the combo's field (reflected by the parent) and by its edit and list (directly).
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        message.Result = detail::ControlColors(*this, m_brush, reinterpret_cast<HDC>(message.WParam));
        return;
    case CM_FONTCHANGED:
        if (HandleAllocated())
            (void)Send(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
        TWinControl::Dispatch(message);
        return;
    default:
        TWinControl::Dispatch(message);
    }
}
