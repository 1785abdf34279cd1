#include "platform/classlib/forms/ComCtrlsListView.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/winapi/controls/Header.h"
#include "platform/winapi/controls/ListView.h"

#include <algorithm>

namespace {

const TTypeInfo& ViewStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TViewStyle", {"vsIcon", "vsSmallIcon", "vsList", "vsReport"});
    return info;
}

const TTypeInfo& ColumnAlignmentTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
    return info;
}

void DescribeColumn(TClassBuilder& c)
{
    c.String("Caption", &TListColumn::Caption, &TListColumn::SetCaption);
    c.Integer("Width", &TListColumn::Width, &TListColumn::SetWidth).Default(50);
    c.Enum("Alignment", ColumnAlignmentTypeInfo(), &TListColumn::Alignment, &TListColumn::SetAlignment)
        .Default(taLeftJustify);
}

void DescribeListView(TClassBuilder& c)
{
    c.Object("Columns", &TCustomListView::Columns, &TCustomListView::SetColumns);
    c.Object("SmallImages", &TCustomListView::SmallImages, &TCustomListView::SetSmallImages);
    c.Enum("ViewStyle", ViewStyleTypeInfo(), &TCustomListView::ViewStyle, &TCustomListView::SetViewStyle).Default(vsIcon);
    c.Boolean("MultiSelect", &TCustomListView::MultiSelect, &TCustomListView::SetMultiSelect).Default(false);
    c.Boolean("RowSelect", &TCustomListView::RowSelect, &TCustomListView::SetRowSelect).Default(false);
    c.Boolean("GridLines", &TCustomListView::GridLines, &TCustomListView::SetGridLines).Default(false);
    c.Boolean("ReadOnly", &TCustomListView::ReadOnly, &TCustomListView::SetReadOnly).Default(false);
    c.Boolean("HideSelection", &TCustomListView::HideSelection, &TCustomListView::SetHideSelection).Default(true);
    c.Boolean("ShowColumnHeaders", &TCustomListView::ShowColumnHeaders, &TCustomListView::SetShowColumnHeaders)
        .Default(true);
    c.Event("OnSelectItem", &TCustomListView::OnSelectItem, &TCustomListView::SetOnSelectItem);
    c.Event("OnChange", &TCustomListView::OnChange, &TCustomListView::SetOnChange);
    c.Event("OnColumnClick", &TCustomListView::OnColumnClick, &TCustomListView::SetOnColumnClick);
    c.Event("OnCustomDrawItem", &TCustomListView::OnCustomDrawItem, &TCustomListView::SetOnCustomDrawItem);
    c.Event("OnCustomDrawSubItem", &TCustomListView::OnCustomDrawSubItem, &TCustomListView::SetOnCustomDrawSubItem);
    c.Event("OnClick", &TControl::OnClick, &TControl::SetOnClick);
    c.Event("OnDblClick", &TControl::OnDblClick, &TControl::SetOnDblClick);
}

int ColumnFormat(TAlignment alignment)
{
    return alignment == taCenter ? LVCFMT_CENTER : alignment == taRightJustify ? LVCFMT_RIGHT : LVCFMT_LEFT;
}

TCustomDrawState DrawState(UINT itemState)
{
    TCustomDrawState state;
    if ((itemState & CDIS_SELECTED) != 0)
        state.Include(cdsSelected);
    if ((itemState & CDIS_FOCUS) != 0)
        state.Include(cdsFocused);
    return state;
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TListColumn, TCollectionItem, CollectionItemCreator<TListColumn>, DescribeColumn)
CLASSLIB_IMPLEMENT_CLASS(TListColumns, TOwnedCollection, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TCustomListView, TWinControl, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TListView, TCustomListView, ComponentCreator<TListView>, DescribeListView)

// ---- TListColumn ------------------------------------------------------------------------------

void TListColumn::Assign(const TPersistent* source)
{
    if (const auto* column = dynamic_cast<const TListColumn*>(source)) {
        m_caption = column->m_caption;
        m_width = column->Width();
        m_alignment = column->m_alignment;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(source);
}

void TListColumn::SetCaption(const std::string& caption)
{
    m_caption = caption;
    Changed(false);
}

void TListColumn::SetWidth(int width)
{
    m_width = width;
    Changed(false);
}

void TListColumn::SetAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    Changed(false);
}

// ---- TListColumns -----------------------------------------------------------------------------

TListColumns::TListColumns(TCustomListView* listView)
    : TOwnedCollection(listView, TListColumn::StaticClass()), m_listView(listView)
{
}

void TListColumns::Update(TCollectionItem*) { m_listView->UpdateColumns(); }

// ---- TListItem --------------------------------------------------------------------------------

TListItem::TListItem(TListItems* owner) : m_owner(owner), m_subItems(std::make_unique<TStringList>())
{
    m_subItems->SetOnChange([this](TStringList&) {
        if (const int index = Index(); index >= 0)
            ListView()->UpdateWindowItem(index);
    });
}

TListItem::~TListItem() { m_subItems->SetOnChange(nullptr); }

TCustomListView* TListItem::ListView() const { return m_owner->Owner(); }

int TListItem::Index() const { return m_owner->IndexOf(this); }

void TListItem::Delete() { m_owner->Delete(Index()); }

void TListItem::SetCaption(const std::string& caption)
{
    m_caption = caption;
    if (const int index = Index(); index >= 0)
        ListView()->UpdateWindowItem(index);
}

void TListItem::SetImageIndex(int index)
{
    m_imageIndex = index;
    if (const int at = Index(); at >= 0)
        ListView()->UpdateWindowItem(at);
}

UINT TListItem::State() const
{
    TCustomListView* view = ListView();
    const int index = Index();
    if (!view->HandleAllocated() || index < 0)
        return m_state;
    return static_cast<UINT>(
        SendMessageA(view->Handle(), LVM_GETITEMSTATE, static_cast<WPARAM>(index), LVIS_SELECTED | LVIS_FOCUSED));
}

void TListItem::SetState(UINT state, UINT mask)
{
    TCustomListView* view = ListView();
    const int index = Index();
    if (!view->HandleAllocated() || index < 0) {
        m_state = (m_state & ~mask) | (state & mask);
        return;
    }
    LVITEMA item{};
    item.state = state;
    item.stateMask = mask;
    (void)SendMessageA(view->Handle(), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

bool TListItem::Selected() const { return (State() & LVIS_SELECTED) != 0; }

void TListItem::SetSelected(bool selected) { SetState(selected ? LVIS_SELECTED : 0, LVIS_SELECTED); }

bool TListItem::Focused() const { return (State() & LVIS_FOCUSED) != 0; }

void TListItem::SetFocused(bool focused) { SetState(focused ? LVIS_FOCUSED : 0, LVIS_FOCUSED); }

// ---- TListItems -------------------------------------------------------------------------------

TListItems::~TListItems() = default;

TListItem* TListItems::Item(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(Format("List index out of bounds (%d)", {index}));
    return m_items[static_cast<std::size_t>(index)].get();
}

int TListItems::IndexOf(const TListItem* item) const
{
    const auto found = std::find_if(m_items.begin(), m_items.end(), [item](const auto& own) { return own.get() == item; });
    return found == m_items.end() ? -1 : static_cast<int>(found - m_items.begin());
}

TListItem* TListItems::Add() { return Insert(Count()); }

TListItem* TListItems::Insert(int index)
{
    const int at = std::clamp(index, 0, Count());
    auto item = std::make_unique<TListItem>(this);
    TListItem* added = item.get();
    m_items.insert(m_items.begin() + at, std::move(item));
    m_owner->InsertWindowItem(at);
    return added;
}

void TListItems::Delete(int index)
{
    (void)Item(index);
    m_owner->DeleteWindowItem(index);
    m_items.erase(m_items.begin() + index);
}

void TListItems::Clear()
{
    m_owner->ClearWindowItems();
    m_items.clear();
}

void TListItems::BeginUpdate()
{
    if (m_updateCount++ == 0 && m_owner->HandleAllocated())
        (void)SendMessageA(m_owner->Handle(), WM_SETREDRAW, FALSE, 0);
}

void TListItems::EndUpdate()
{
    if (m_updateCount == 0 || --m_updateCount > 0 || !m_owner->HandleAllocated())
        return;
    (void)SendMessageA(m_owner->Handle(), WM_SETREDRAW, TRUE, 0);
    m_owner->Invalidate();
}

// ---- TCustomListView --------------------------------------------------------------------------

TCustomListView::TCustomListView(TComponent* owner)
    : TWinControl(owner),
      m_columns(std::make_unique<TListColumns>(this)),
      m_items(std::make_unique<TListItems>(this)),
      m_canvas(std::make_unique<TCanvas>()),
      m_smallImages(*this, [this] { SendSmallImages(); })
{
    // The window reports clicks itself (NM_CLICK, NM_DBLCLK).
    SetControlStyle(ControlStyle() - TControlStyle{csClickEvents, csDoubleClicks});
    SetParentColor(false);
    SetTabStop(true);
    SetBounds(0, 0, 250, 150);
}

TCustomListView::~TCustomListView()
{
    // The window goes first: its last notices must not meet half-destroyed items.
    DestroyHandle();
}

DWORD TCustomListView::ViewStyleBits() const
{
    static constexpr DWORD BITS[] = {LVS_ICON, LVS_SMALLICON, LVS_LIST, LVS_REPORT};
    DWORD style = BITS[m_viewStyle];
    if (!m_multiSelect)
        style |= LVS_SINGLESEL;
    if (!m_hideSelection)
        style |= LVS_SHOWSELALWAYS;
    if (!m_showColumnHeaders)
        style |= LVS_NOCOLUMNHEADER;
    return style;
}

void TCustomListView::CreateParams(TCreateParams& params)
{
    RegisterListViewClass();
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_LISTVIEWA);
    params.Style |= ViewStyleBits();
    params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListView::CreateWnd()
{
    TWinControl::CreateWnd();
    const HWND window = Handle();
    (void)SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
    SendSmallImages();
    (void)SendMessageA(window, LVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
    UpdateExtendedStyle();
    UpdateColumns();
    for (int i = 0; i < m_items->Count(); ++i)
        InsertWindowItem(i);
}

void TCustomListView::UpdateStyle()
{
    if (!HandleAllocated())
        return;
    const DWORD mask = LVS_TYPEMASK | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOCOLUMNHEADER;
    const auto style = static_cast<DWORD>(GetWindowLongA(Handle(), GWL_STYLE));
    (void)SetWindowLongA(Handle(), GWL_STYLE, static_cast<LONG>((style & ~mask) | ViewStyleBits()));
}

void TCustomListView::UpdateExtendedStyle()
{
    if (!HandleAllocated())
        return;
    const DWORD style = (m_rowSelect ? LVS_EX_FULLROWSELECT : 0) | (m_gridLines ? LVS_EX_GRIDLINES : 0);
    (void)SendMessageA(Handle(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES, style);
}

void TCustomListView::UpdateColumns()
{
    if (!HandleAllocated())
        return;
    const HWND window = Handle();
    while (SendMessageA(window, LVM_DELETECOLUMN, 0, 0))
        ;
    for (int i = 0; i < m_columns->Count(); ++i) {
        const TListColumn& source = *m_columns->Items(i);
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
        column.pszText = const_cast<LPSTR>(source.m_caption.c_str());
        column.cx = source.m_width;
        column.fmt = ColumnFormat(source.m_alignment);
        column.iSubItem = i;
        (void)SendMessageA(window, LVM_INSERTCOLUMNA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&column));
    }
}

void TCustomListView::InsertWindowItem(int index)
{
    if (!HandleAllocated())
        return;
    const TListItem& source = *m_items->Item(index);
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    item.iItem = index;
    item.pszText = const_cast<LPSTR>(source.m_caption.c_str());
    item.iImage = source.m_imageIndex;
    item.lParam = reinterpret_cast<LPARAM>(&source);
    item.state = source.m_state;
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    (void)SendMessageA(Handle(), LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    UpdateWindowItem(index);
}

void TCustomListView::UpdateWindowItem(int index)
{
    if (!HandleAllocated())
        return;
    const HWND window = Handle();
    const TListItem& source = *m_items->Item(index);
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = index;
    item.pszText = const_cast<LPSTR>(source.m_caption.c_str());
    item.iImage = source.m_imageIndex;
    (void)SendMessageA(window, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    const int subItems = std::max(source.m_subItems->Count(), m_columns->Count() - 1);
    for (int i = 0; i < subItems; ++i) {
        const std::string text = i < source.m_subItems->Count() ? source.m_subItems->Strings(i) : std::string();
        LVITEMA sub{};
        sub.iSubItem = i + 1;
        sub.pszText = const_cast<LPSTR>(text.c_str());
        (void)SendMessageA(window, LVM_SETITEMTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&sub));
    }
}

void TCustomListView::DeleteWindowItem(int index)
{
    if (HandleAllocated())
        (void)SendMessageA(Handle(), LVM_DELETEITEM, static_cast<WPARAM>(index), 0);
}

void TCustomListView::ClearWindowItems()
{
    if (HandleAllocated())
        (void)SendMessageA(Handle(), LVM_DELETEALLITEMS, 0, 0);
}

void TCustomListView::SetViewStyle(TViewStyle style)
{
    m_viewStyle = style;
    UpdateStyle();
}

void TCustomListView::SetMultiSelect(bool multiSelect)
{
    m_multiSelect = multiSelect;
    UpdateStyle();
}

void TCustomListView::SetHideSelection(bool hideSelection)
{
    m_hideSelection = hideSelection;
    UpdateStyle();
}

void TCustomListView::SetShowColumnHeaders(bool show)
{
    m_showColumnHeaders = show;
    UpdateStyle();
}

void TCustomListView::SetRowSelect(bool rowSelect)
{
    m_rowSelect = rowSelect;
    UpdateExtendedStyle();
}

void TCustomListView::SetGridLines(bool gridLines)
{
    m_gridLines = gridLines;
    UpdateExtendedStyle();
}

void TCustomListView::SendSmallImages()
{
    if (HandleAllocated())
        (void)SendMessageA(Handle(), LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(m_smallImages.Handle()));
}

void TCustomListView::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    m_smallImages.Forget(component, operation);
}

TListItem* TCustomListView::ItemOf(int index) const
{
    return index >= 0 && index < m_items->Count() ? m_items->Item(index) : nullptr;
}

TListItem* TCustomListView::Selected() const
{
    for (int i = 0; i < m_items->Count(); ++i)
        if (m_items->Item(i)->Selected())
            return m_items->Item(i);
    return nullptr;
}

void TCustomListView::SetSelected(TListItem* item)
{
    for (int i = 0; i < m_items->Count(); ++i)
        if (m_items->Item(i) != item && m_items->Item(i)->Selected())
            m_items->Item(i)->SetSelected(false);
    if (item)
        item->SetState(LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

int TCustomListView::ItemIndex() const
{
    const TListItem* item = Selected();
    return item ? item->Index() : -1;
}

void TCustomListView::SetItemIndex(int index) { SetSelected(ItemOf(index)); }

TListItem* TCustomListView::ItemFocused() const
{
    for (int i = 0; i < m_items->Count(); ++i)
        if (m_items->Item(i)->Focused())
            return m_items->Item(i);
    return nullptr;
}

int TCustomListView::SelCount() const
{
    int count = 0;
    for (int i = 0; i < m_items->Count(); ++i)
        count += m_items->Item(i)->Selected() ? 1 : 0;
    return count;
}

void TCustomListView::ItemChanged(const NMHDR& header)
{
    const auto& notice = reinterpret_cast<const NMLISTVIEW&>(header);
    TListItem* item = ItemOf(notice.iItem);
    if (!item)
        return;
    if ((notice.uChanged & LVIF_STATE) != 0) {
        item->m_state = notice.uNewState;
        // OnChange may free the view, or delete the item (lists are often refilled on a change).
        if (!Outlives([&] { m_onChange(this, item, ctState); }) || ItemOf(notice.iItem) != item)
            return;
        if (((notice.uNewState ^ notice.uOldState) & LVIS_SELECTED) != 0 && m_onSelectItem)
            m_onSelectItem(this, item, (notice.uNewState & LVIS_SELECTED) != 0);
    } else if ((notice.uChanged & LVIF_TEXT) != 0 && m_onChange) {
        m_onChange(this, item, ctText);
    } else if ((notice.uChanged & LVIF_IMAGE) != 0 && m_onChange) {
        m_onChange(this, item, ctImage);
    }
}

LRESULT TCustomListView::CustomDraw(NMHDR& header)
{
    auto& draw = reinterpret_cast<NMLVCUSTOMDRAW&>(header);
    const DWORD stage = draw.nmcd.dwDrawStage;
    if (stage == CDDS_PREPAINT)
        return m_onCustomDrawItem || m_onCustomDrawSubItem ? CDRF_NOTIFYITEMDRAW : CDRF_DODEFAULT;
    const bool subItem = stage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM);
    TListItem* item = ItemOf(static_cast<int>(draw.nmcd.dwItemSpec));
    if (!item || (stage != CDDS_ITEMPREPAINT && !subItem))
        return CDRF_DODEFAULT;
    m_canvas->SetHandle(draw.nmcd.hdc);
    m_canvas->Font()->Assign(Font());
    m_canvas->Brush()->SetColor(Color());
    bool defaultDraw = true;
    const TCustomDrawState state = DrawState(draw.nmcd.uItemState);
    if (subItem && m_onCustomDrawSubItem)
        m_onCustomDrawSubItem(this, item, draw.iSubItem, state, defaultDraw);
    else if (!subItem && m_onCustomDrawItem)
        m_onCustomDrawItem(this, item, state, defaultDraw);
    draw.clrText = ColorToRGB(m_canvas->Font()->Color());
    draw.clrTextBk = ColorToRGB(m_canvas->Brush()->Color());
    m_canvas->SetHandle(nullptr);
    if (!defaultDraw)
        return CDRF_SKIPDEFAULT;
    return !subItem && m_onCustomDrawSubItem ? CDRF_NOTIFYSUBITEMDRAW : CDRF_DODEFAULT;
}

LRESULT TCustomListView::Notify(const NMHDR& header)
{
    switch (header.code) {
    case LVN_ITEMCHANGED:
        ItemChanged(header);
        return 0;
    case LVN_COLUMNCLICK: {
        const int column = reinterpret_cast<const NMLISTVIEW&>(header).iSubItem;
        if (column >= 0 && column < m_columns->Count() && m_onColumnClick)
            m_onColumnClick(this, m_columns->Items(column));
        return 0;
    }
    case NM_CLICK:
        Click();
        return 0;
    case NM_DBLCLK:
        DblClick();
        return 0;
    case NM_CUSTOMDRAW:
        return CustomDraw(const_cast<NMHDR&>(header));
    default:
        return 0;
    }
}

// The user dragged a divider of the window's own header: the column follows.
void TCustomListView::ColumnResized(const NMHDR& header)
{
    if (header.code != HDN_ITEMCHANGED || header.hwndFrom != reinterpret_cast<HWND>(SendMessageA(Handle(), LVM_GETHEADER, 0, 0)))
        return;
    const auto& notice = reinterpret_cast<const NMHEADERA&>(header);
    if (notice.iItem >= 0 && notice.iItem < m_columns->Count() && notice.pitem && (notice.pitem->mask & HDI_WIDTH) != 0)
        m_columns->Items(notice.iItem)->m_width = notice.pitem->cxy;
}

void TCustomListView::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CN_NOTIFY:
        message.Result = Notify(*reinterpret_cast<const NMHDR*>(message.LParam));
        return;
    case WM_NOTIFY:
        ColumnResized(*reinterpret_cast<const NMHDR*>(message.LParam));
        break;
    case CM_FONTCHANGED:
        if (HandleAllocated())
            (void)SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
        break;
    case CM_COLORCHANGED:
        if (HandleAllocated())
            (void)SendMessageA(Handle(), LVM_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(Color())));
        break;
    default:
        break;
    }
    TWinControl::Dispatch(message);
}
