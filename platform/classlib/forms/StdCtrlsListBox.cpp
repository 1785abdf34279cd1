#include "platform/classlib/forms/StdCtrlsListBox.h"

#include "platform/classlib/core/Colors.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/winapi/controls/ComboBox.h"
#include "platform/winapi/controls/ListBox.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Gdi.h"

namespace detail = classlib_forms::detail;

namespace {

void DescribeListBox(TClassBuilder& c)
{
    c.Object("Items", &TCustomListBox::Items, &TCustomListBox::SetItems);
    c.Integer("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight).Default(16);
    c.Integer("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex).Default(-1);
    c.Boolean("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted).Default(false);
    c.Enum("Style", ListBoxStyleTypeInfo(), &TCustomListBox::Style, &TCustomListBox::SetStyle).Default(lbStandard);
    c.Boolean("IntegralHeight", &TCustomListBox::IntegralHeight, &TCustomListBox::SetIntegralHeight).Default(false);
    c.Event("OnDrawItem", &TCustomListBox::OnDrawItem, &TCustomListBox::SetOnDrawItem);
    c.Event("OnMeasureItem", &TCustomListBox::OnMeasureItem, &TCustomListBox::SetOnMeasureItem);
    c.Event("OnData", &TCustomListBox::OnData, &TCustomListBox::SetOnData);
}

constexpr TItemMessages LIST_BOX_MESSAGES{LB_ADDSTRING, LB_INSERTSTRING, LB_DELETESTRING, LB_RESETCONTENT, LB_GETCOUNT,
                                          LB_GETTEXT,   LB_GETTEXTLEN,   LB_GETITEMDATA,  LB_SETITEMDATA};

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TCustomListBox, TWinControl, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TListBox, TCustomListBox, ComponentCreator<TListBox>, DescribeListBox)

TOwnerDrawState OwnerDrawStateOf(UINT itemState)
{
    TOwnerDrawState state;
    const std::pair<UINT, TOwnerDrawStateFlag> bits[] = {{ODS_SELECTED, odSelected}, {ODS_GRAYED, odGrayed},
                                                         {ODS_DISABLED, odDisabled}, {ODS_CHECKED, odChecked},
                                                         {ODS_FOCUS, odFocused},     {ODS_DEFAULT, odDefault},
                                                         {ODS_COMBOBOXEDIT, odComboBoxEdit}};
    for (const auto& [bit, flag] : bits)
        if (itemState & bit)
            state.Include(flag);
    return state;
}

const TTypeInfo& ListBoxStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TListBoxStyle", {"lbStandard", "lbOwnerDrawFixed", "lbOwnerDrawVariable", "lbVirtual", "lbVirtualOwnerDraw"});
    return info;
}

namespace classlib_forms::detail {

void PaintOwnerDrawnItem(TCanvas& canvas, const TControl& control, const DRAWITEMSTRUCT& item,
                         const std::function<void(int, TRect, TOwnerDrawState)>& draw)
{
    const TOwnerDrawState state = OwnerDrawStateOf(item.itemState);
    canvas.SetHandle(item.hDC);
    canvas.Font()->Assign(control.Font());
    canvas.Brush()->SetColor(control.Color());
    if (state.Contains(odSelected)) {
        canvas.Brush()->SetColor(clHighlight);
        canvas.Font()->SetColor(clHighlightText);
    }
    if (static_cast<int>(item.itemID) >= 0)
        draw(static_cast<int>(item.itemID), item.rcItem, state);
    else
        canvas.FillRect(item.rcItem);
    if (state.Contains(odFocused))
        (void)DrawFocusRect(item.hDC, &item.rcItem);
    canvas.SetHandle(nullptr);
}

LRESULT ControlColors(const TControl& control, TBrush& brush, HDC dc)
{
    (void)SetTextColor(dc, ColorToRGB(control.Font()->Color()));
    (void)SetBkColor(dc, ColorToRGB(control.Color()));
    brush.SetColor(control.Color());
    return reinterpret_cast<LRESULT>(brush.Handle());
}

} // namespace classlib_forms::detail

TCustomListBox::TCustomListBox(TComponent* owner)
    : TWinControl(owner),
      m_items(std::make_unique<TItemWindowStrings>(*this, LIST_BOX_MESSAGES)),
      m_canvas(std::make_unique<TCanvas>())
{
    // The window reports clicks and double clicks itself (LBN_SELCHANGE, LBN_DBLCLK).
    SetControlStyle(TControlStyle{csSetCaption, csOpaque});
    SetBounds(0, 0, 121, 97);
    SetTabStop(true);
    SetParentColor(false);
}

TCustomListBox::~TCustomListBox() = default;

LRESULT TCustomListBox::Send(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return SendMessageA(const_cast<TCustomListBox*>(this)->Handle(), message, wParam, lParam);
}

void TCustomListBox::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    RegisterListBoxClass();
    CreateSubClass(params, "ListBox");
    const DWORD styles[] = {0, LBS_OWNERDRAWFIXED, LBS_OWNERDRAWVARIABLE, LBS_OWNERDRAWFIXED | LBS_NODATA,
                            LBS_OWNERDRAWFIXED | LBS_NODATA};
    params.Style |= WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS | styles[m_style] | (m_sorted ? LBS_SORT : 0) |
                    (m_integralHeight ? 0 : LBS_NOINTEGRALHEIGHT);
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateWnd()
{
    TWinControl::CreateWnd();
    const HWND window = Handle();
    // The class library names a child by its handle, so that WM_MEASUREITEM finds its way back.
    (void)SetWindowLongPtrA(window, GWLP_ID, reinterpret_cast<LONG_PTR>(window));
    (void)Send(WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
    if (m_style != lbStandard)
        (void)Send(LB_SETITEMHEIGHT, 0, m_itemHeight);
    if (IsVirtual())
        (void)Send(LB_SETCOUNT, static_cast<WPARAM>(m_count));
    else
        m_items->WindowCreated();
    (void)Send(LB_SETCURSEL, static_cast<WPARAM>(m_itemIndex));
    (void)Send(LB_SETTOPINDEX, static_cast<WPARAM>(m_topIndex));
}

void TCustomListBox::DestroyWnd()
{
    m_itemIndex = ItemIndex();
    m_topIndex = TopIndex();
    if (IsVirtual())
        m_count = Count();
    else
        m_items->WindowDestroying();
    TWinControl::DestroyWnd();
}

void TCustomListBox::SetItems(TStrings* items)
{
    if (items)
        m_items->Assign(*items);
}

int TCustomListBox::ItemIndex() const { return HandleAllocated() ? static_cast<int>(Send(LB_GETCURSEL)) : m_itemIndex; }

void TCustomListBox::SetItemIndex(int index)
{
    m_itemIndex = index;
    if (HandleAllocated())
        (void)Send(LB_SETCURSEL, static_cast<WPARAM>(index));
}

void TCustomListBox::Loaded()
{
    TWinControl::Loaded();
    if (HandleAllocated() && m_itemIndex >= 0)
        (void)Send(LB_SETCURSEL, static_cast<WPARAM>(m_itemIndex));
}

int TCustomListBox::Count() const
{
    if (!IsVirtual())
        return m_items->Count();
    return HandleAllocated() ? static_cast<int>(Send(LB_GETCOUNT)) : m_count;
}

void TCustomListBox::SetCount(int count)
{
    if (!IsVirtual())
        throw EInvalidOperation(Format("Listbox (%s) style must be virtual in order to set Count", {Name()}));
    m_count = count;
    if (HandleAllocated())
        (void)Send(LB_SETCOUNT, static_cast<WPARAM>(count));
}

void TCustomListBox::Clear()
{
    if (IsVirtual())
        SetCount(0);
    else
        m_items->Clear();
}

void TCustomListBox::SetSorted(bool sorted)
{
    if (sorted == m_sorted)
        return;
    m_sorted = sorted;
    m_items->SetSorted(sorted);
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomListBox::SetStyle(TListBoxStyle style)
{
    if (style == m_style)
        return;
    if (HandleAllocated())
        DestroyWnd();
    m_style = style;
    if (Parent() && Parent()->HandleAllocated())
        HandleNeeded();
}

void TCustomListBox::SetIntegralHeight(bool integral)
{
    if (integral == m_integralHeight)
        return;
    m_integralHeight = integral;
    if (HandleAllocated())
        RecreateWnd();
}

int TCustomListBox::ItemHeight() const
{
    return HandleAllocated() ? static_cast<int>(Send(LB_GETITEMHEIGHT)) : m_itemHeight;
}

void TCustomListBox::SetItemHeight(int height)
{
    if (height <= 0)
        return;
    m_itemHeight = height;
    if (HandleAllocated() && m_style != lbStandard) {
        (void)Send(LB_SETITEMHEIGHT, 0, height);
        Invalidate();
    }
}

int TCustomListBox::TopIndex() const { return HandleAllocated() ? static_cast<int>(Send(LB_GETTOPINDEX)) : m_topIndex; }

void TCustomListBox::SetTopIndex(int index)
{
    if (HandleAllocated())
        (void)Send(LB_SETTOPINDEX, static_cast<WPARAM>(index));
    else
        m_topIndex = index;
}

int TCustomListBox::ItemAtPos(TPoint point, bool existing) const
{
    const TRect client = ClientRect();
    if (!PtInRect(&client, point))
        return -1;
    const int count = Count();
    for (int index = TopIndex(); index < count; ++index) {
        const TRect rect = ItemRect(index);
        if (PtInRect(&rect, point))
            return index;
    }
    return existing ? -1 : count;
}

TRect TCustomListBox::ItemRect(int index) const
{
    TRect rect{};
    (void)Send(LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

std::string TCustomListBox::ItemText(int index) const
{
    if (!IsVirtual())
        return m_items->Strings(index);
    std::string text;
    m_onData(const_cast<TCustomListBox*>(this), index, text);
    return text;
}

void TCustomListBox::DrawItem(int index, TRect rect, TOwnerDrawState state)
{
    if (m_onDrawItem.Assigned()) {
        m_onDrawItem(this, index, rect, state);
        return;
    }
    m_canvas->FillRect(rect);
    if (index < Count())
        m_canvas->TextOut(rect.left + 2, rect.top, ItemText(index));
}

void TCustomListBox::MeasureItem(int index, int& height) { m_onMeasureItem(this, index, height); }

void TCustomListBox::DrawItemMessage(const DRAWITEMSTRUCT& draw)
{
    detail::PaintOwnerDrawnItem(*m_canvas, *this, draw,
                                [this](int index, TRect rect, TOwnerDrawState state) { DrawItem(index, rect, state); });
}

void TCustomListBox::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CN_COMMAND:
        if (HIWORD(message.WParam) == LBN_SELCHANGE)
            Click();
        else if (HIWORD(message.WParam) == LBN_DBLCLK)
            DblClick();
        return;
    case CN_DRAWITEM:
        DrawItemMessage(*reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam));
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
    case CN_CTLCOLORLISTBOX:
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
