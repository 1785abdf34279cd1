#pragma once

#include "controls/KvTabsControl.h"

#include <string>
#include <vector>

// The page control: one tab sheet per page, the page of the selected tab shown over the card.
// Pages whose tab is hidden get no tab but can still be shown through ActivePage.

class TKvPageControl;

class TKvTabSheet : public TCustomControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvTabSheet(TComponent* owner);
    ~TKvTabSheet() override;

    [[nodiscard]] TKvPageControl* PageControl() const { return m_pageControl; }
    void SetPageControl(TKvPageControl* pageControl);
    [[nodiscard]] int PageIndex() const;
    void SetPageIndex(int index);
    // This page's index in the tab list; -1 when its tab is hidden.
    [[nodiscard]] int VisibleTabIndex() const;
    [[nodiscard]] bool TabVisible() const { return m_tabVisible; }
    void SetTabVisible(bool value);
    [[nodiscard]] bool TabEnabled() const { return m_tabEnabled; }
    void SetTabEnabled(bool value);
    [[nodiscard]] int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int value);
    [[nodiscard]] int DisabledIndex() const { return m_disabledIndex; }
    void SetDisabledIndex(int value);
    // Only the page control shows and hides its pages.
    void SetVisible(bool visible);

    [[nodiscard]] const TNotifyEvent& OnShow() const { return m_onShow; }
    void SetOnShow(const TNotifyEvent& handler) { m_onShow = handler; }
    [[nodiscard]] const TNotifyEvent& OnHide() const { return m_onHide; }
    void SetOnHide(const TNotifyEvent& handler) { m_onHide = handler; }
    [[nodiscard]] const TKvPaintBackgroundEvent& OnPaintBackground() const { return m_onPaintBackground; }
    void SetOnPaintBackground(const TKvPaintBackgroundEvent& handler) { m_onPaintBackground = handler; }

    [[nodiscard]] std::string About() const { return {}; }
    void SetAbout(const std::string& /*about*/) {}

    void SetParentComponent(TComponent* parent) override;

protected:
    void AssignTo(TPersistent* dest) const override;
    void Dispatch(TMessage& message) override;
    void Paint() override;

private:
    friend class TKvPageControl;
    void TabChanged();
    void ShowingChanged();

    TKvPageControl* m_pageControl = nullptr;
    bool m_tabVisible = true;
    bool m_tabEnabled = true;
    int m_imageIndex = -1;
    int m_disabledIndex = -1;
    bool m_wasShowing = false;
    TNotifyEvent m_onShow;
    TNotifyEvent m_onHide;
    TKvPaintBackgroundEvent m_onPaintBackground;
};

class TKvPageControl : public TKvCustomTabControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvPageControl(TComponent* owner);
    ~TKvPageControl() override;

    [[nodiscard]] virtual TKvTabSheet* Pages(int index) const;
    [[nodiscard]] virtual int PageCount() const;
    [[nodiscard]] TKvTabSheet* ActivePage() const { return m_activePage; }
    virtual void SetActivePage(TKvTabSheet* page);
    [[nodiscard]] virtual int ActivePageIndex() const;
    virtual void SetActivePageIndex(int index);
    [[nodiscard]] TKvTabSheet* ActivePageDefault() const { return m_activePageDefault; }
    void SetActivePageDefault(TKvTabSheet* page);
    [[nodiscard]] bool SaveResources() const { return m_saveResources; }
    virtual void SetSaveResources(bool value);
    // A double click on the tab of a docked control floats it.
    [[nodiscard]] bool DblClickUndocks() const { return m_dblClickUndocks; }
    void SetDblClickUndocks(bool value) { m_dblClickUndocks = value; }

    // With DockSite on, a control docked here gets a page of its own, captioned and shown as it
    // is; undocked, its page goes.
    void DockDrop(TControl& client, TPoint drop) override;
    void UndockClient(TControl& client) override;
    void ClientUndocked(TControl& client) override;

    // The next (or previous) page after `current`, with wrap-around; null when there is none.
    [[nodiscard]] TKvTabSheet* FindNextPage(TKvTabSheet* current, bool forward, bool visibleTabOnly) const;
    void SelectNextPage(bool forward);
    void HideAllTabs() override;
    void ShowAllTabs() override;
    void SetUseColoredTabs(bool value) override;

    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void SetChildOrder(TComponent* child, int order) override;

protected:
    void Changing(int newIndex, bool& allowChange) override;
    void LayoutChanged() override;
    void Change() override;
    void PageChange() override;
    void PaintCardBackground(TCanvas& canvas, int row, const TRect& rect, bool& handled) override;
    // The close button frees the active page; a dragged tab moves the active page.
    void CloseActiveTab() override;
    void MoveActiveTab(int index) override;
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TKvTabSheet;
    void InsertPage(TKvTabSheet* page);
    void RemovePage(TKvTabSheet* page);
    void MovePage(TKvTabSheet* page, int index);
    void RebuildTabs();
    void ChangeActivePage(TKvTabSheet* page);
    [[nodiscard]] TKvTabSheet* PageForTab(int tabIndex) const;
    void FocusTablessPage();
    // The page a docked client stands on, and the docked client a page holds; null when none.
    [[nodiscard]] TKvTabSheet* HostingPage(const TControl& client) const;
    [[nodiscard]] TControl* DockedClient(const TKvTabSheet& page) const;
    void FollowDockedClient(const TControl& client, UINT change);

    std::vector<TKvTabSheet*> m_pages;
    TKvTabSheet* m_activePage = nullptr;
    TKvTabSheet* m_activePageDefault = nullptr;
    bool m_saveResources = false;
    bool m_loadingPages = false;
    bool m_dblClickUndocks = true;
    TKvTabSheet* m_undockingPage = nullptr;
};

// Lets form data name TKvPageControl and TKvTabSheet.
void RegisterKvPageControlClasses();
