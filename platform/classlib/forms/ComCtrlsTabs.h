#pragma once

#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/ImgListReference.h"
#include "platform/classlib/core/StringLists.h"

#include <memory>
#include <string>
#include <vector>

// Tab controls over "SysTabControl32": a plain one with a list of tab texts (TTabControl) and one
// whose tabs are its sheets (TPageControl / TTabSheet). Only the user's choice of a tab fires
// OnChanging / OnChange; setting the selection in code does not.

using TTabChangingEvent = TEvent<TObject*, bool&>;

class TCustomTabControl : public TWinControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TCustomTabControl(TComponent* owner);
    ~TCustomTabControl() override;

    // The pane inside the tabs and the border, in client coordinates.
    [[nodiscard]] TRect DisplayRect() const;
    // The images of the tabs (a page control's sheets' ImageIndex); shown as the list changes.
    [[nodiscard]] TCustomImageList* Images() const { return m_images.List(); }
    void SetImages(TCustomImageList* images) { m_images.SetList(images); }
    [[nodiscard]] int TabHeight() const { return m_tabHeight; }
    void SetTabHeight(int height);
    [[nodiscard]] int TabWidth() const { return m_tabWidth; }
    void SetTabWidth(int width);

    [[nodiscard]] const TNotifyEvent& OnChange() const { return m_onChange; }
    void SetOnChange(const TNotifyEvent& handler) { m_onChange = handler; }
    [[nodiscard]] const TTabChangingEvent& OnChanging() const { return m_onChanging; }
    void SetOnChanging(const TTabChangingEvent& handler) { m_onChanging = handler; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    void AdjustClientRect(TRect& rect) const override;
    void Notification(TComponent* component, TOperation operation) override;
    [[nodiscard]] virtual bool CanChange();
    virtual void Change();
    // The tab the user chose, after OnChanging allowed it.
    virtual void TabChosen(int tabIndex);
    // Makes the window's tabs match the control's texts and images.
    void SetTabItems(const std::vector<std::string>& texts, const std::vector<int>& images);
    [[nodiscard]] int SelectedTab() const;
    void SelectTab(int index);

private:
    void SendTabSize();
    void SendFont();
    void SendImages();

    TImageListReference m_images;
    int m_tabHeight = 0;
    int m_tabWidth = 0;
    TNotifyEvent m_onChange;
    TTabChangingEvent m_onChanging;
};

class TTabControl : public TCustomTabControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TTabControl(TComponent* owner);
    ~TTabControl() override;

    [[nodiscard]] TStrings* Tabs() const { return m_tabs.get(); }
    void SetTabs(TStrings* tabs) { m_tabs->Assign(*tabs); }
    // -1 when no tab is selected.
    [[nodiscard]] int TabIndex() const { return m_tabIndex; }
    void SetTabIndex(int index);

protected:
    void CreateWnd() override;
    void TabChosen(int tabIndex) override;

private:
    void TabsChanged();

    std::unique_ptr<TStringList> m_tabs;
    int m_tabIndex = -1;
};

class TPageControl;

class TTabSheet : public TWinControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;

    [[nodiscard]] TPageControl* PageControl() const { return m_pageControl; }
    void SetPageControl(TPageControl* pageControl);
    // The sheet's place among its page control's sheets.
    [[nodiscard]] int PageIndex() const;
    void SetPageIndex(int index);
    // A sheet without its tab cannot be chosen; it stays among the pages.
    [[nodiscard]] bool TabVisible() const { return m_tabVisible; }
    void SetTabVisible(bool visible);
    [[nodiscard]] int ImageIndex() const { return m_imageIndex; }
    void SetImageIndex(int index);
    // The tab's position among the visible tabs, -1 without a tab.
    [[nodiscard]] int TabIndex() const;

    void SetParentComponent(TComponent* parent) override;

protected:
    void StoreText(const std::string& text) override;

private:
    friend class TPageControl;
    TPageControl* m_pageControl = nullptr;
    bool m_tabVisible = true;
    int m_imageIndex = -1;
};

class TPageControl : public TCustomTabControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;

    [[nodiscard]] int PageCount() const { return static_cast<int>(m_pages.size()); }
    [[nodiscard]] TTabSheet* Pages(int index) const { return m_pages.at(static_cast<std::size_t>(index)); }
    [[nodiscard]] TTabSheet* ActivePage() const { return m_activePage; }
    void SetActivePage(TTabSheet* page);
    [[nodiscard]] int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    // The next sheet with a tab after (or before) `current`, wrapping; null when there is none.
    [[nodiscard]] TTabSheet* FindNextPage(TTabSheet* current, bool goForward) const;
    void SelectNextPage(bool goForward);

protected:
    void CreateWnd() override;
    void TabChosen(int tabIndex) override;
    void Loaded() override;
    // Ctrl+Tab and Ctrl+Shift+Tab turn the pages while the focus is on the control or a sheet.
    void Dispatch(TMessage& message) override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void MovePage(TTabSheet* page, int index);
    // Rebuilds the tabs from the sheets that show one.
    void UpdateTabs();
    [[nodiscard]] TTabSheet* PageForTab(int tabIndex) const;

    std::vector<TTabSheet*> m_pages;
    TTabSheet* m_activePage = nullptr;
};
