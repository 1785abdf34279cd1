#include "platform/classlib/forms/ComCtrlsTabs.h"

#include "platform/winapi/controls/TabControl.h"

#include <algorithm>

namespace {

// Before the window exists the pane is estimated from the classic tab height.
constexpr int ESTIMATED_TABS_BOTTOM = 22;
constexpr int PANE_INSET = 4;

void DescribeTabControlCommon(TClassBuilder& c)
{
    c.Object("Images", &TCustomTabControl::Images, &TCustomTabControl::SetImages);
    c.Integer("TabHeight", &TCustomTabControl::TabHeight, &TCustomTabControl::SetTabHeight).Default(0);
    c.Integer("TabWidth", &TCustomTabControl::TabWidth, &TCustomTabControl::SetTabWidth).Default(0);
    c.Event("OnChange", &TCustomTabControl::OnChange, &TCustomTabControl::SetOnChange);
    c.Event("OnChanging", &TCustomTabControl::OnChanging, &TCustomTabControl::SetOnChanging);
}

void DescribeTabControl(TClassBuilder& c)
{
    DescribeTabControlCommon(c);
    c.Object("Tabs", &TTabControl::Tabs, &TTabControl::SetTabs);
    c.Integer("TabIndex", &TTabControl::TabIndex, &TTabControl::SetTabIndex).Default(-1);
}

void DescribePageControl(TClassBuilder& c)
{
    DescribeTabControlCommon(c);
    c.Object("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage);
}

void DescribeTabSheet(TClassBuilder& c)
{
    c.String("Caption", &TControl::Caption, &TControl::SetCaption);
    c.Boolean("TabVisible", &TTabSheet::TabVisible, &TTabSheet::SetTabVisible).Default(true);
    c.Integer("ImageIndex", &TTabSheet::ImageIndex, &TTabSheet::SetImageIndex).Default(-1);
    c.Integer("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex).Stored(false);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TCustomTabControl, TWinControl, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TTabControl, TCustomTabControl, ComponentCreator<TTabControl>, DescribeTabControl)
CLASSLIB_IMPLEMENT_CLASS(TTabSheet, TWinControl, ComponentCreator<TTabSheet>, DescribeTabSheet)
CLASSLIB_IMPLEMENT_CLASS(TPageControl, TCustomTabControl, ComponentCreator<TPageControl>, DescribePageControl)

// ---- TCustomTabControl ------------------------------------------------------------------------

TCustomTabControl::TCustomTabControl(TComponent* owner)
    : TWinControl(owner), m_images(*this, [this] { SendImages(); })
{
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    SetColor(clBtnFace);
    SetTabStop(true);
    SetBounds(0, 0, 289, 193);
}

TCustomTabControl::~TCustomTabControl() = default;

void TCustomTabControl::CreateParams(TCreateParams& params)
{
    RegisterTabControlClass();
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_TABCONTROLA);
    params.Style |= WS_CLIPCHILDREN;
}

void TCustomTabControl::CreateWnd()
{
    TWinControl::CreateWnd();
    SendFont();
    SendTabSize();
    SendImages();
}

void TCustomTabControl::SendFont()
{
    if (HandleAllocated())
        (void)SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
}

void TCustomTabControl::SendTabSize()
{
    if (HandleAllocated())
        (void)SendMessageA(Handle(), TCM_SETITEMSIZE, 0,
                           MAKELPARAM(static_cast<WORD>(m_tabWidth), static_cast<WORD>(m_tabHeight)));
}

TRect TCustomTabControl::DisplayRect() const
{
    TRect rect = ClientRect();
    AdjustClientRect(rect);
    return rect;
}

void TCustomTabControl::AdjustClientRect(TRect& rect) const
{
    if (HandleAllocated())
        (void)SendMessageA(const_cast<TCustomTabControl*>(this)->Handle(), TCM_ADJUSTRECT, FALSE,
                           reinterpret_cast<LPARAM>(&rect));
    else
        rect = TRect{rect.left + PANE_INSET, rect.top + ESTIMATED_TABS_BOTTOM + PANE_INSET, rect.right - PANE_INSET,
                     rect.bottom - PANE_INSET};
}

void TCustomTabControl::SendImages()
{
    if (!HandleAllocated())
        return;
    (void)SendMessageA(Handle(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_images.Handle()));
    // The images' height may change the tabs' and so the pane's.
    Realign();
}

void TCustomTabControl::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    m_images.Forget(component, operation);
}

void TCustomTabControl::SetTabHeight(int height)
{
    m_tabHeight = std::max(0, height);
    SendTabSize();
    Realign();
}

void TCustomTabControl::SetTabWidth(int width)
{
    m_tabWidth = std::max(0, width);
    SendTabSize();
    Realign();
}

bool TCustomTabControl::CanChange()
{
    bool allowChange = true;
    if (m_onChanging)
        m_onChanging(this, allowChange);
    return allowChange;
}

void TCustomTabControl::Change()
{
    if (m_onChange)
        m_onChange(this);
}

void TCustomTabControl::TabChosen(int /*tabIndex*/) { Change(); }

void TCustomTabControl::SetTabItems(const std::vector<std::string>& texts, const std::vector<int>& images)
{
    if (!HandleAllocated())
        return;
    const HWND window = Handle();
    (void)SendMessageA(window, TCM_DELETEALLITEMS, 0, 0);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        TCITEMA item{};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = const_cast<LPSTR>(texts[i].c_str());
        item.iImage = i < images.size() ? images[i] : -1;
        (void)SendMessageA(window, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    Realign();
}

int TCustomTabControl::SelectedTab() const
{
    return HandleAllocated() ? static_cast<int>(SendMessageA(const_cast<TCustomTabControl*>(this)->Handle(),
                                                             TCM_GETCURSEL, 0, 0))
                             : -1;
}

void TCustomTabControl::SelectTab(int index)
{
    if (HandleAllocated())
        (void)SendMessageA(Handle(), TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void TCustomTabControl::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CN_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(message.LParam);
        if (header->code == TCN_SELCHANGING) {
            message.Result = CanChange() ? FALSE : TRUE;
            return;
        }
        if (header->code == TCN_SELCHANGE) {
            TabChosen(SelectedTab());
            return;
        }
        break;
    }
    case CM_FONTCHANGED:
        SendFont();
        break;
    default:
        break;
    }
    TWinControl::Dispatch(message);
}

// ---- TTabControl ------------------------------------------------------------------------------

TTabControl::TTabControl(TComponent* owner) : TCustomTabControl(owner), m_tabs(std::make_unique<TStringList>())
{
    m_tabs->SetOnChange([this](TStringList&) { TabsChanged(); });
}

TTabControl::~TTabControl() { m_tabs->SetOnChange(nullptr); }

void TTabControl::CreateWnd()
{
    TCustomTabControl::CreateWnd();
    TabsChanged();
}

void TTabControl::TabsChanged()
{
    std::vector<std::string> texts;
    for (int i = 0; i < m_tabs->Count(); ++i)
        texts.push_back(m_tabs->Strings(i));
    SetTabItems(texts, {});
    // A selection past the end of a list that shrank is no selection.
    SetTabIndex(m_tabIndex);
}

void TTabControl::SetTabIndex(int index)
{
    m_tabIndex = index >= -1 && index < m_tabs->Count() ? index : -1;
    SelectTab(m_tabIndex);
}

void TTabControl::TabChosen(int tabIndex)
{
    m_tabIndex = tabIndex;
    Change();
}

// ---- TTabSheet --------------------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner)
{
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls});
    SetColor(clBtnFace);
    SetAlign(alClient);
    SetVisible(false);
}

TTabSheet::~TTabSheet() { SetPageControl(nullptr); }

void TTabSheet::SetParentComponent(TComponent* parent)
{
    if (auto* pageControl = dynamic_cast<TPageControl*>(parent))
        SetPageControl(pageControl);
    else
        TWinControl::SetParentComponent(parent);
}

void TTabSheet::SetPageControl(TPageControl* pageControl)
{
    if (pageControl == m_pageControl)
        return;
    if (m_pageControl)
        m_pageControl->RemovePage(this);
    SetParent(pageControl);
    if (pageControl)
        pageControl->InsertPage(this);
}

int TTabSheet::PageIndex() const
{
    if (!m_pageControl)
        return -1;
    const auto& pages = m_pageControl->m_pages;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int index)
{
    if (m_pageControl)
        m_pageControl->MovePage(this, index);
}

int TTabSheet::TabIndex() const
{
    if (!m_pageControl || !m_tabVisible)
        return -1;
    int index = 0;
    for (const TTabSheet* page : m_pageControl->m_pages) {
        if (page == this)
            return index;
        index += page->m_tabVisible ? 1 : 0;
    }
    return -1;
}

void TTabSheet::SetTabVisible(bool visible)
{
    if (visible == m_tabVisible)
        return;
    m_tabVisible = visible;
    if (!m_pageControl)
        return;
    if (!visible && m_pageControl->ActivePage() == this)
        m_pageControl->SetActivePage(m_pageControl->FindNextPage(this, true));
    m_pageControl->UpdateTabs();
}

void TTabSheet::SetImageIndex(int index)
{
    m_imageIndex = index;
    if (m_pageControl)
        m_pageControl->UpdateTabs();
}

void TTabSheet::StoreText(const std::string& text)
{
    TWinControl::StoreText(text);
    if (m_pageControl)
        m_pageControl->UpdateTabs();
}

// ---- TPageControl -----------------------------------------------------------------------------

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

TPageControl::~TPageControl()
{
    for (TTabSheet* page : m_pages)
        page->m_pageControl = nullptr;
}

void TPageControl::CreateWnd()
{
    TCustomTabControl::CreateWnd();
    UpdateTabs();
}

void TPageControl::Loaded()
{
    TCustomTabControl::Loaded();
    if (!m_activePage)
        SetActivePage(FindNextPage(nullptr, true));
}

void TPageControl::InsertPage(TTabSheet* page)
{
    m_pages.push_back(page);
    page->m_pageControl = this;
    UpdateTabs();
}

void TPageControl::RemovePage(TTabSheet* page)
{
    TTabSheet* next = page == m_activePage ? FindNextPage(page, true) : m_activePage;
    std::erase(m_pages, page);
    page->m_pageControl = nullptr;
    if (page == m_activePage) {
        m_activePage = nullptr;
        SetActivePage(next == page ? nullptr : next);
    }
    UpdateTabs();
}

void TPageControl::MovePage(TTabSheet* page, int index)
{
    std::erase(m_pages, page);
    const auto at = static_cast<std::size_t>(std::clamp(index, 0, static_cast<int>(m_pages.size())));
    m_pages.insert(m_pages.begin() + static_cast<std::ptrdiff_t>(at), page);
    UpdateTabs();
}

void TPageControl::UpdateTabs()
{
    if (!HandleAllocated())
        return;
    std::vector<std::string> texts;
    std::vector<int> images;
    for (const TTabSheet* page : m_pages) {
        if (!page->TabVisible())
            continue;
        texts.push_back(page->Caption());
        images.push_back(page->ImageIndex());
    }
    SetTabItems(texts, images);
    SelectTab(m_activePage ? m_activePage->TabIndex() : -1);
}

TTabSheet* TPageControl::PageForTab(int tabIndex) const
{
    for (TTabSheet* page : m_pages)
        if (page->TabIndex() == tabIndex && tabIndex >= 0)
            return page;
    return nullptr;
}

void TPageControl::SetActivePage(TTabSheet* page)
{
    if (page && page->PageControl() != this)
        return;
    if (page == m_activePage) {
        SelectTab(page ? page->TabIndex() : -1);
        return;
    }
    TTabSheet* old = m_activePage;
    m_activePage = page;
    if (page) {
        page->BringToFront();
        page->SetVisible(true);
    }
    if (old)
        old->SetVisible(false);
    SelectTab(page ? page->TabIndex() : -1);
}

int TPageControl::ActivePageIndex() const { return m_activePage ? m_activePage->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int index)
{
    SetActivePage(index >= 0 && index < PageCount() ? Pages(index) : nullptr);
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward) const
{
    const int count = PageCount();
    if (count == 0)
        return nullptr;
    const auto found = std::find(m_pages.begin(), m_pages.end(), current);
    int start = found == m_pages.end() ? (goForward ? count - 1 : 0) : static_cast<int>(found - m_pages.begin());
    for (int step = 1; step <= count; ++step) {
        const int index = ((start + (goForward ? step : -step)) % count + count) % count;
        TTabSheet* page = m_pages[static_cast<std::size_t>(index)];
        if (page->TabVisible() && page != current)
            return page;
    }
    return nullptr;
}

void TPageControl::SelectNextPage(bool goForward)
{
    TTabSheet* page = FindNextPage(m_activePage, goForward);
    if (page && page != m_activePage && CanChange()) {
        SetActivePage(page);
        Change();
    }
}

void TPageControl::TabChosen(int tabIndex)
{
    SetActivePage(PageForTab(tabIndex));
    Change();
}

void TPageControl::Dispatch(TMessage& message)
{
    if (message.Msg == CM_DIALOGKEY && MessageKey(message) == VK_TAB && GetKeyState(VK_CONTROL) < 0 &&
        HandleAllocated() && (GetFocus() == Handle() || IsChild(Handle(), GetFocus()))) {
        SelectNextPage(GetKeyState(VK_SHIFT) >= 0);
        message.Result = 1;
        return;
    }
    TCustomTabControl::Dispatch(message);
}
