#include "controls/KvTabsPages.h"

#include "controls/KvFloatingDockHost.h"

#include "platform/classlib/forms/Forms.h"
#include "platform/rtl/Format.h"

#include <algorithm>
#include <utility>

namespace {

void DescribeTabSheet(TClassBuilder& c)
{
    using S = TKvTabSheet;
    c.String("About", &S::About, &S::SetAbout).Stored(false);
    c.String("Caption", &TControl::Caption, &TControl::SetCaption);
    c.Ordinal("Color", ColorTypeInfo(), &TControl::Color, &TControl::SetColor).Default(clBtnFace);
    c.String("Hint", &TControl::Hint, &TControl::SetHint);
    c.Integer("DisabledIndex", &S::DisabledIndex, &S::SetDisabledIndex).Default(-1);
    c.Integer("ImageIndex", &S::ImageIndex, &S::SetImageIndex).Default(-1);
    c.Integer("PageIndex", &S::PageIndex, &S::SetPageIndex).Stored(false);
    c.Boolean("TabEnabled", &S::TabEnabled, &S::SetTabEnabled).Default(true);
    c.Boolean("TabVisible", &S::TabVisible, &S::SetTabVisible).Default(true);
    c.Event("OnHide", &S::OnHide, &S::SetOnHide);
    c.Event("OnShow", &S::OnShow, &S::SetOnShow);
    c.Event("OnPaintBackground", &S::OnPaintBackground, &S::SetOnPaintBackground);
}

void DescribePageControl(TClassBuilder& c)
{
    using P = TKvPageControl;
    c.Ordinal("Color", ColorTypeInfo(), &TControl::Color, &TControl::SetColor).Default(clBtnFace);
    c.Object("ActivePage", &P::ActivePage, &P::SetActivePage);
    c.Object("ActivePageDefault", &P::ActivePageDefault, &P::SetActivePageDefault);
    c.Boolean("SaveResources", &P::SaveResources, &P::SetSaveResources).Default(false);
    c.Boolean("DblClickUndocks", &P::DblClickUndocks, &P::SetDblClickUndocks).Default(true);
    c.Boolean("DockSite", &TWinControl::DockSite, &TWinControl::SetDockSite).Default(false);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TKvTabSheet, TCustomControl, ComponentCreator<TKvTabSheet>, DescribeTabSheet)
CLASSLIB_IMPLEMENT_CLASS(TKvPageControl, TKvCustomTabControl, ComponentCreator<TKvPageControl>, DescribePageControl)

void RegisterKvPageControlClasses()
{
    RegisterClass(TKvPageControl::StaticClass());
    RegisterClass(TKvTabSheet::StaticClass());
}

// ---- Tab sheet -----------------------------------------------------------------------------------

TKvTabSheet::TKvTabSheet(TComponent* owner) : TCustomControl(owner)
{
    TControlStyle style = ControlStyle();
    style.Include(csAcceptsControls);
    style.Include(csOpaque);
    style.Include(csNoDesignVisible);
    SetControlStyle(style);
    TControl::SetVisible(false);
    SetAlign(alClient);
}

TKvTabSheet::~TKvTabSheet()
{
    if (m_pageControl != nullptr)
        m_pageControl->RemovePage(this);
}

void TKvTabSheet::SetVisible(bool /*visible*/) { throw EKvTabControlError(SKvPageVisibleError); }

void TKvTabSheet::SetPageControl(TKvPageControl* pageControl)
{
    if (pageControl == m_pageControl)
        return;
    if (m_pageControl != nullptr)
        m_pageControl->RemovePage(this);
    SetParent(pageControl);
    if (pageControl != nullptr)
        pageControl->InsertPage(this);
}

void TKvTabSheet::SetParentComponent(TComponent* parent)
{
    if (auto* pageControl = dynamic_cast<TKvPageControl*>(parent)) {
        SetPageControl(pageControl);
        return;
    }
    TCustomControl::SetParentComponent(parent);
}

int TKvTabSheet::PageIndex() const
{
    if (m_pageControl == nullptr)
        return -1;
    const auto& pages = m_pageControl->m_pages;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TKvTabSheet::SetPageIndex(int index)
{
    if (m_pageControl == nullptr)
        return;
    const int last = m_pageControl->PageCount() - 1;
    if (index > last)
        throw EKvTabControlError(Format(SKvPageIndexError, {index, last}));
    m_pageControl->MovePage(this, index);
}

int TKvTabSheet::VisibleTabIndex() const
{
    if (!m_tabVisible || m_pageControl == nullptr)
        return -1;
    int index = 0;
    for (TKvTabSheet* page : m_pageControl->m_pages) {
        if (page == this)
            return index;
        index += page->m_tabVisible ? 1 : 0;
    }
    return -1;
}

void TKvTabSheet::TabChanged()
{
    if (m_pageControl != nullptr)
        m_pageControl->LayoutChanged();
}

void TKvTabSheet::SetTabVisible(bool value)
{
    if (value == m_tabVisible)
        return;
    m_tabVisible = value;
    TabChanged();
}

void TKvTabSheet::SetTabEnabled(bool value)
{
    if (value == m_tabEnabled)
        return;
    m_tabEnabled = value;
    TabChanged();
}

void TKvTabSheet::SetImageIndex(int value)
{
    if (value == m_imageIndex)
        return;
    m_imageIndex = value;
    TabChanged();
}

void TKvTabSheet::SetDisabledIndex(int value)
{
    if (value == m_disabledIndex)
        return;
    m_disabledIndex = value;
    TabChanged();
}

void TKvTabSheet::AssignTo(TPersistent* dest) const
{
    auto* tab = dynamic_cast<TKvTabData*>(dest);
    if (tab == nullptr) {
        TCustomControl::AssignTo(dest);
        return;
    }
    tab->Caption = Caption();
    tab->Color = Color();
    tab->Enabled = m_tabEnabled;
    tab->Visible = m_tabVisible;
    tab->Hint = Hint();
    tab->ImageIndex = m_imageIndex;
    tab->DisabledImageIndex = m_disabledIndex;
}

void TKvTabSheet::ShowingChanged()
{
    const bool showing = Showing();
    if (showing == m_wasShowing)
        return;
    m_wasShowing = showing;
    try {
        if (showing)
            m_onShow(this);
        else
            m_onHide(this);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TKvTabSheet::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND:
        message.Result = 1;
        return;
    case CM_SHOWINGCHANGED:
        TCustomControl::Dispatch(message);
        ShowingChanged();
        return;
    case CM_TEXTCHANGED:
        TCustomControl::Dispatch(message);
        TabChanged();
        return;
    case CM_COLORCHANGED:
        TCustomControl::Dispatch(message);
        // A colour of its own makes the tabs coloured; otherwise the page follows its control.
        if (m_pageControl != nullptr && Color() != m_pageControl->Color())
            m_pageControl->SetUseColoredTabs(true);
        TabChanged();
        return;
    default:
        break;
    }
    TCustomControl::Dispatch(message);
}

void TKvTabSheet::Paint()
{
    const TRect rect{0, 0, Width(), Height()};
    bool handled = false;
    m_onPaintBackground(this, Canvas(), rect, handled);
    if (handled)
        return;
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(rect);
}

// ---- Page control --------------------------------------------------------------------------------

TKvPageControl::TKvPageControl(TComponent* owner) : TKvCustomTabControl(owner)
{
    TControlStyle style = ControlStyle();
    style.Exclude(csAcceptsControls);
    style.Include(csOpaque);
    SetControlStyle(style);
    SetBounds(Left(), Top(), Width(), 150);
    TKvCustomTabControl::SetUseColoredTabs(false);
}

TKvPageControl::~TKvPageControl()
{
    // Pages freed later must not call back.
    for (TKvTabSheet* page : m_pages)
        page->m_pageControl = nullptr;
    m_pages.clear();
    m_activePage = nullptr;
}

void TKvPageControl::CreateParams(TCreateParams& params)
{
    TKvCustomTabControl::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
}

TKvTabSheet* TKvPageControl::Pages(int index) const { return m_pages.at(static_cast<std::size_t>(index)); }
int TKvPageControl::PageCount() const { return static_cast<int>(m_pages.size()); }

void TKvPageControl::InsertPage(TKvTabSheet* page)
{
    (void)Handle();
    m_pages.push_back(page);
    page->m_pageControl = this;
    RebuildTabs();
}

void TKvPageControl::RemovePage(TKvTabSheet* page)
{
    if (page == m_activePage)
        SetActivePage(nullptr);
    std::erase(m_pages, page);
    page->m_pageControl = nullptr;
    RebuildTabs();
}

void TKvPageControl::MovePage(TKvTabSheet* page, int index)
{
    const int old = page->PageIndex();
    if (index < 0)
        throw EListError(Format("List index out of bounds (%d)", {index}));
    m_pages.erase(m_pages.begin() + old);
    m_pages.insert(m_pages.begin() + index, page);
    RebuildTabs();
    TabOrderChange(old, index);
}

void TKvPageControl::LayoutChanged() { RebuildTabs(); }

void TKvPageControl::RebuildTabs()
{
    TKvTabDataList& tabs = Tabs();
    tabs.Clear();
    for (TKvTabSheet* page : m_pages) {
        if (!page->TabVisible())
            continue;
        auto* tab = new TKvTabData;
        tab->Assign(page);
        tabs.Add(tab);
    }
    if (m_activePage != nullptr) {
        const int index = m_activePage->VisibleTabIndex();
        if (index >= 0 && index != TabIndex())
            SelectApproved(index);
        else if (index < 0)
            TKvCustomTabControl::SetTabIndex(-1);
    }
    SetLayoutDirty();
}

TKvTabSheet* TKvPageControl::PageForTab(int tabIndex) const
{
    for (TKvTabSheet* page : m_pages)
        if (page->VisibleTabIndex() == tabIndex && tabIndex >= 0)
            return page;
    return nullptr;
}

void TKvPageControl::SetActivePage(TKvTabSheet* page)
{
    if (page != nullptr && page->PageControl() != this)
        return;
    if (Loading()) {
        m_activePage = page;
        return;
    }
    if (page == m_activePage)
        return;
    const int index = page != nullptr ? page->VisibleTabIndex() : -1;
    if (index < 0 || index == TabIndex()) {
        ChangeActivePage(page);
        PageChange();
    }
    // A page shown before the selection asked OnChanging would stay on screen after a refusal,
    // so the page is shown by the changing step once the change is allowed.
    SetTabIndex(index);
}

int TKvPageControl::ActivePageIndex() const { return m_activePage != nullptr ? m_activePage->PageIndex() : -1; }

void TKvPageControl::SetActivePageIndex(int index)
{
    if (index < 0 || index >= PageCount()) {
        SetTabIndex(-1);
        return;
    }
    SetActivePage(Pages(index));
}

void TKvPageControl::SetActivePageDefault(TKvTabSheet* page)
{
    if (page == m_activePageDefault)
        return;
    if (m_activePageDefault != nullptr)
        m_activePageDefault->RemoveFreeNotification(this);
    m_activePageDefault = page;
    if (page != nullptr)
        page->FreeNotification(this);
}

void TKvPageControl::Notification(TComponent* component, TOperation operation)
{
    TKvCustomTabControl::Notification(component, operation);
    if (operation == opRemove && component == m_activePageDefault)
        m_activePageDefault = nullptr;
}

void TKvPageControl::SetSaveResources(bool value)
{
    if (value == m_saveResources)
        return;
    m_saveResources = value;
    if (!value || ComponentState().Contains(csDesigning))
        return;
    for (TKvTabSheet* page : m_pages)
        if (page != m_activePage && page->HandleAllocated())
            page->DestroyHandle();
}

void TKvPageControl::Changing(int newIndex, bool& allowChange)
{
    // The load completion picks its page itself.
    if (m_loadingPages)
        return;
    if (!Outlives([&] { TKvCustomTabControl::Changing(newIndex, allowChange); })) {
        allowChange = false;
        return;
    }
    if (allowChange)
        ChangeActivePage(PageForTab(newIndex));
}

void TKvPageControl::Change()
{
    if (!m_loadingPages)
        TKvCustomTabControl::Change();
}

void TKvPageControl::PageChange()
{
    if (!m_loadingPages)
        TKvCustomTabControl::PageChange();
}

void TKvPageControl::ChangeActivePage(TKvTabSheet* page)
{
    if (page == m_activePage)
        return;
    TCustomForm* form = GetParentForm(this);
    if (form != nullptr && m_activePage != nullptr && m_activePage->ContainsControl(form->ActiveControl()))
        form->SetActiveControl(m_activePage);
    if (page != nullptr) {
        page->BringToFront();
        page->TControl::SetVisible(true);
        if (form != nullptr && m_activePage != nullptr && form->ActiveControl() == m_activePage)
            form->SetActiveControl(page->CanFocus() ? static_cast<TWinControl*>(page) : this);
    }
    if (m_activePage != nullptr) {
        m_activePage->TControl::SetVisible(false);
        if (m_saveResources && !ComponentState().Contains(csDesigning) && m_activePage->HandleAllocated())
            m_activePage->DestroyHandle();
    }
    m_activePage = page;
    if (form != nullptr && page != nullptr && form->ActiveControl() == page)
        page->SelectFirst();
}

TKvTabSheet* TKvPageControl::FindNextPage(TKvTabSheet* current, bool forward, bool visibleTabOnly) const
{
    const int count = PageCount();
    if (count == 0)
        return nullptr;
    const auto found = std::find(m_pages.begin(), m_pages.end(), current);
    int start = static_cast<int>(found - m_pages.begin());
    if (found == m_pages.end())
        start = forward ? count - 1 : 0;
    int index = start;
    do {
        index = forward ? (index + 1) % count : (index + count - 1) % count;
        TKvTabSheet* page = m_pages[static_cast<std::size_t>(index)];
        if (!visibleTabOnly || page->TabVisible())
            return page;
    } while (index != start);
    return nullptr;
}

void TKvPageControl::SelectNextPage(bool forward)
{
    TKvTabSheet* page = FindNextPage(m_activePage, forward, true);
    if (page != nullptr && page != m_activePage)
        SetActivePage(page);
}

void TKvPageControl::CloseActiveTab()
{
    const int closed = TabIndex();
    delete m_activePage;
    SetTabIndex(closed > 0 ? closed - 1 : closed);
}

void TKvPageControl::MoveActiveTab(int index)
{
    if (m_activePage != nullptr)
        m_activePage->SetPageIndex(index);
}

void TKvPageControl::HideAllTabs()
{
    for (TKvTabSheet* page : m_pages)
        page->SetTabVisible(false);
}

void TKvPageControl::ShowAllTabs()
{
    for (TKvTabSheet* page : m_pages)
        page->SetTabVisible(true);
}

void TKvPageControl::SetUseColoredTabs(bool value)
{
    const bool switchedOff = UseColoredTabs() && !value;
    TKvCustomTabControl::SetUseColoredTabs(value);
    if (switchedOff && Parent() != nullptr)
        Perform(CM_COLORCHANGED, 0, 0);
}

void TKvPageControl::PaintCardBackground(TCanvas& canvas, int row, const TRect& rect, bool& handled)
{
    TKvCustomTabControl::PaintCardBackground(canvas, row, rect, handled);
    if (handled || row != 0 || TabIndex() < 0 || m_activePage == nullptr)
        return;
    canvas.Brush()->SetColor(m_activePage->Color());
    canvas.FillRect(rect);
    handled = true;
}

void TKvPageControl::GetChildren(const TGetChildProc& proc, TComponent* /*root*/)
{
    for (TKvTabSheet* page : m_pages)
        proc(page);
}

void TKvPageControl::SetChildOrder(TComponent* child, int order)
{
    if (auto* page = dynamic_cast<TKvTabSheet*>(child))
        page->SetPageIndex(order);
}

void TKvPageControl::FocusTablessPage()
{
    if (m_activePage == nullptr || m_activePage->TabVisible())
        return;
    for (int i = 0; i < m_activePage->ControlCount(); ++i) {
        auto* child = dynamic_cast<TWinControl*>(m_activePage->Controls(i));
        if (child != nullptr && child->CanFocus()) {
            child->SetFocus();
            return;
        }
    }
}

void TKvPageControl::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CM_DIALOGKEY: {
        TKvCustomTabControl::Dispatch(message);
        if (message.Result != 0 || LOWORD(message.WParam) != VK_TAB || GetKeyState(VK_CONTROL) >= 0)
            return;
        TCustomForm* form = GetParentForm(this);
        if (form == nullptr || !ContainsControl(form->ActiveControl()))
            return;
        SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
        message.Result = 1;
        return;
    }
    case WM_SETFOCUS:
        TKvCustomTabControl::Dispatch(message);
        FocusTablessPage();
        return;
    case CM_DOCKNOTIFICATION:
        FollowDockedClient(*reinterpret_cast<const TControl*>(message.WParam), static_cast<UINT>(message.LParam));
        return;
    case CM_COLORCHANGED:
        if (!UseColoredTabs())
            for (TKvTabSheet* page : m_pages)
                page->SetColor(Color());
        break;
    default:
        break;
    }
    TKvCustomTabControl::Dispatch(message);
}

// ---- Docking -------------------------------------------------------------------------------------

TKvTabSheet* TKvPageControl::HostingPage(const TControl& client) const
{
    if (client.HostDockSite() != this)
        return nullptr;
    const auto found = std::find(m_pages.begin(), m_pages.end(), client.Parent());
    return found == m_pages.end() ? nullptr : *found;
}

TControl* TKvPageControl::DockedClient(const TKvTabSheet& page) const
{
    if (page.ControlCount() == 0)
        return nullptr;
    TControl* first = page.Controls(0);
    return first->HostDockSite() == this ? first : nullptr;
}

void TKvPageControl::DockDrop(TControl& client, TPoint /*drop*/)
{
    auto* page = new TKvTabSheet(this);
    try {
        if (auto* form = dynamic_cast<TCustomForm*>(&client))
            page->SetCaption(form->Caption());
        page->SetPageControl(this);
        client.SetParent(page);
    } catch (...) {
        delete page;
        throw;
    }
    page->SetTabVisible(client.Visible());
    if (client.Visible())
        SetActivePage(page);
    client.SetAlign(alClient);
}

void TKvPageControl::UndockClient(TControl& client)
{
    m_undockingPage = HostingPage(client);
    client.SetAlign(alNone);
}

void TKvPageControl::ClientUndocked(TControl& /*client*/)
{
    TKvTabSheet* page = std::exchange(m_undockingPage, nullptr);
    if (page == nullptr || ComponentState().Contains(csDestroying))
        return;
    SelectNextPage(true);
    delete page;
}

// The page follows its docked client: the caption up to its first line break, the tab shown
// while the client is.
void TKvPageControl::FollowDockedClient(const TControl& client, UINT change)
{
    TKvTabSheet* page = HostingPage(client);
    if (page == nullptr)
        return;
    if (change == CM_VISIBLECHANGED) {
        page->SetTabVisible(client.Visible());
        return;
    }
    const std::string text = client.Text();
    page->SetCaption(text.substr(0, text.find_first_of("\r\n")));
}

void TKvPageControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!Outlives([&] { TKvCustomTabControl::MouseDown(button, shift, x, y); }))
        return;
    const int tab = button == mbLeft ? HitTestTab(x, y) : -1;
    TKvTabSheet* page = tab >= 0 ? PageForTab(tab) : nullptr;
    TControl* client = page != nullptr ? DockedClient(*page) : nullptr;
    if (client == nullptr)
        return;
    if (shift.Contains(ssDouble)) {
        if (m_dblClickUndocks)
            (void)TKvFloatingDockHost::Float(*client);
    } else {
        client->BeginDrag(false);
    }
}

void TKvPageControl::Loaded()
{
    // The whole load completion runs quiet: the inherited selection of the first tab reaches no
    // handler and shows no page, and the picked page is shown directly.
    TKvTabSheet* stored = m_activePage;
    m_loadingPages = true;
    try {
        TKvCustomTabControl::Loaded();
        (void)FirstShownTab();
        TKvCustomTabControl::SetTabIndex(-1);
        TKvTabSheet* shown = m_activePageDefault != nullptr ? m_activePageDefault : stored;
        m_activePage = nullptr;
        RebuildTabs();
        ChangeActivePage(shown);
        SelectApproved(shown != nullptr ? shown->VisibleTabIndex() : -1);
    } catch (...) {
        m_loadingPages = false;
        throw;
    }
    m_loadingPages = false;
}
