#pragma once

#include "controls/KvTabs.h"
#include "controls/KvTabsLayout.h"
#include "platform/classlib/core/Timers.h"

#include <memory>
#include <string>
#include <vector>

// The tab control: a strip of tabs along one side of a card, one of them selected. It knows
// nothing of pages; the page control fills its tab list and follows the selection.

class TKvCustomTabControl;

using TKvTabChangingEvent = TEvent<TObject*, int, bool&>;
using TKvTabCloseEvent = TEvent<TObject*, bool&>;
using TKvTabOrderChangeEvent = TEvent<TObject*, int, int>;
using TKvPaintBackgroundEvent = TEvent<TObject*, TCanvas*, const TRect&, bool&>;
using TKvPaintCardBackgroundEvent = TEvent<TObject*, TCanvas*, int, const TRect&, bool&>;
using TKvPaintTabBackgroundEvent = TEvent<TObject*, TCanvas*, int, const TRect&, bool&>;

// The two-half button that scrolls a single row of tabs that does not fit. Held down, it repeats
// after 400 ms and then every 100 ms.
class TKvTabScroller : public TCustomControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvTabScroller(TKvCustomTabControl& tabs);
    ~TKvTabScroller() override;

    [[nodiscard]] TOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TOrientation orientation);
    // The halves: 0 the down/left one, 1 the up/right one.
    [[nodiscard]] const TNotifyEvent& OnDownLeftClick() const { return m_onClick[0]; }
    void SetOnDownLeftClick(const TNotifyEvent& handler) { m_onClick[0] = handler; }
    [[nodiscard]] const TNotifyEvent& OnUpRightClick() const { return m_onClick[1]; }
    void SetOnUpRightClick(const TNotifyEvent& handler) { m_onClick[1] = handler; }

protected:
    void Dispatch(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint() override;

private:
    [[nodiscard]] int HalfAt(int x, int y) const;
    [[nodiscard]] TRect HalfRect(int half) const;
    void Repeat(TObject* sender);
    void StopTimer();

    TKvCustomTabControl& m_tabs;
    TOrientation m_orientation = orHorizontal;
    TNotifyEvent m_onClick[2];
    std::unique_ptr<TTimer> m_timer;
    bool m_mouseDown = false;
    bool m_pressedLook = false;
    int m_pressedHalf = 0;
};

class TKvCustomTabControl : public TCustomControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvCustomTabControl(TComponent* owner);
    ~TKvCustomTabControl() override;

    // ---- Look and layout ----
    [[nodiscard]] bool AlignTabs() const { return m_alignTabs; }
    virtual void SetAlignTabs(bool value);
    [[nodiscard]] TColor BackgroundColor() const { return m_backgroundColor; }
    virtual void SetBackgroundColor(TColor value);
    // Every tab is measured bold, so sizes do not change with the selection.
    [[nodiscard]] bool BoldCurrentTab() const { return m_boldCurrentTab; }
    virtual void SetBoldCurrentTab(bool value);
    [[nodiscard]] bool CardVisible() const { return m_cardVisible; }
    virtual void SetCardVisible(bool value);
    [[nodiscard]] bool ShowCardFrame() const { return m_showCardFrame; }
    virtual void SetShowCardFrame(bool value);
    [[nodiscard]] bool ShowFullFrame() const { return m_showFullFrame; }
    virtual void SetShowFullFrame(bool value);
    [[nodiscard]] bool UseColoredTabs() const { return m_useColoredTabs; }
    virtual void SetUseColoredTabs(bool value);
    [[nodiscard]] int CutCornerSize() const { return m_cutCornerSize; }
    virtual void SetCutCornerSize(int value);
    [[nodiscard]] TColor FlatColor() const { return m_flatColor; }
    virtual void SetFlatColor(TColor value);
    [[nodiscard]] int FlatColorAdjustment() const { return m_flatColorAdjustment; }
    virtual void SetFlatColorAdjustment(int value);
    [[nodiscard]] int Margin() const { return m_margin; }
    virtual void SetMargin(int value);
    [[nodiscard]] bool MultiLine() const { return m_multiLine; }
    virtual void SetMultiLine(bool value);
    [[nodiscard]] bool ParentBackgroundColor() const { return m_parentBackgroundColor; }
    virtual void SetParentBackgroundColor(bool value);
    [[nodiscard]] int RowCount() const { return m_rowCount; }
    [[nodiscard]] int RowIndent() const { return m_rowIndent; }
    virtual void SetRowIndent(int value);
    [[nodiscard]] int RowOverlap() const { return m_rowOverlap; }
    virtual void SetRowOverlap(int value);
    [[nodiscard]] bool ShowFocusRect() const { return m_showFocusRect; }
    virtual void SetShowFocusRect(bool value);
    [[nodiscard]] bool ShowShadow() const { return m_showShadow; }
    virtual void SetShowShadow(bool value);
    [[nodiscard]] bool SoftCorners() const { return m_softCorners; }
    virtual void SetSoftCorners(bool value);
    [[nodiscard]] int TabOverlap() const { return m_tabOverlap; }
    virtual void SetTabOverlap(int value);
    [[nodiscard]] TKvTabColors* TabColors() const { return m_tabColors.get(); }
    virtual void SetTabColors(TKvTabColors* value);
    [[nodiscard]] int TabHeight() const { return m_tabHeight; }
    virtual void SetTabHeight(int value);
    [[nodiscard]] int TabIndex() const { return m_tabIndex; }
    virtual void SetTabIndex(int value);
    [[nodiscard]] TKvTabOrientation TabOrientation() const { return m_tabOrientation; }
    virtual void SetTabOrientation(TKvTabOrientation value);
    [[nodiscard]] int RegionCacheCapacity() const { return m_regions.Capacity(); }
    virtual void SetRegionCacheCapacity(int value);
    [[nodiscard]] TKvTabSequence TabSequence() const { return m_tabSequence; }
    virtual void SetTabSequence(TKvTabSequence value);
    [[nodiscard]] TKvTabStyle TabStyle() const { return m_tabStyle; }
    virtual void SetTabStyle(TKvTabStyle value);
    [[nodiscard]] int TabWidth() const { return m_tabWidth; }
    virtual void SetTabWidth(int value);
    [[nodiscard]] TKvTextColors* TextColors() const { return m_textColors.get(); }
    virtual void SetTextColors(TKvTextColors* value);
    [[nodiscard]] bool UseGradients() const { return m_useGradients; }
    virtual void SetUseGradients(bool value);
    // The parent shows through around the tabs instead of BackgroundColor.
    [[nodiscard]] bool Transparent() const { return m_transparent; }
    virtual void SetTransparent(bool value);

    // ---- Events ----
    [[nodiscard]] const TKvTabChangingEvent& OnChanging() const { return m_onChanging; }
    void SetOnChanging(const TKvTabChangingEvent& handler) { m_onChanging = handler; }
    [[nodiscard]] const TNotifyEvent& OnChange() const { return m_onChange; }
    void SetOnChange(const TNotifyEvent& handler) { m_onChange = handler; }
    [[nodiscard]] const TNotifyEvent& OnPageChange() const { return m_onPageChange; }
    void SetOnPageChange(const TNotifyEvent& handler) { m_onPageChange = handler; }
    [[nodiscard]] const TNotifyEvent& OnTabClick() const { return m_onTabClick; }
    void SetOnTabClick(const TNotifyEvent& handler) { m_onTabClick = handler; }
    [[nodiscard]] const TKvTabOrderChangeEvent& OnTabOrderChange() const { return m_onTabOrderChange; }
    void SetOnTabOrderChange(const TKvTabOrderChangeEvent& handler) { m_onTabOrderChange = handler; }
    [[nodiscard]] const TNotifyEvent& OnScrolledTabs() const { return m_onScrolledTabs; }
    void SetOnScrolledTabs(const TNotifyEvent& handler) { m_onScrolledTabs = handler; }
    [[nodiscard]] const TKvPaintBackgroundEvent& OnPaintBackground() const { return m_onPaintBackground; }
    void SetOnPaintBackground(const TKvPaintBackgroundEvent& handler) { m_onPaintBackground = handler; }
    [[nodiscard]] const TKvPaintCardBackgroundEvent& OnPaintCardBackground() const { return m_onPaintCard; }
    void SetOnPaintCardBackground(const TKvPaintCardBackgroundEvent& handler) { m_onPaintCard = handler; }
    [[nodiscard]] const TKvPaintTabBackgroundEvent& OnPaintTabBackground() const { return m_onPaintTab; }
    void SetOnPaintTabBackground(const TKvPaintTabBackgroundEvent& handler) { m_onPaintTab = handler; }

    // Shown nowhere and never stored; form data that names it still loads.
    [[nodiscard]] std::string About() const { return {}; }
    void SetAbout(const std::string& /*about*/) {}

    // ---- Tabs ----
    [[nodiscard]] TKvTabDataList& Tabs() { return m_tabList; }
    [[nodiscard]] int FixedDimension() const { return m_fixedDimension; }
    [[nodiscard]] int FirstShownTab() { return Layout().FirstShown(); }
    [[nodiscard]] bool CanChange(int index);
    // The tab at a client point, the selected one first; -1 when none.
    [[nodiscard]] int HitTestTab(int x, int y);
    // Moves the first shown tab of a row that does not fit by one tab.
    void ScrollTabs(bool forward);
    [[nodiscard]] TKvTabScroller* Scroller() const { return m_scroller; }
    // Whether the tab is wholly in sight (so scrolling toward it is pointless).
    [[nodiscard]] bool CanScrollTo(int index) { return Layout().WhollyShown(index); }
    // The tab's rectangle on the control after the last layout.
    [[nodiscard]] TRect TabRect(int index);
    [[nodiscard]] TRect CardRect(int row);
    [[nodiscard]] TColor FrameColor() const { return ShiftLuminance(m_flatColor, m_flatColorAdjustment); }

    virtual void HideAllTabs() {}
    virtual void ShowAllTabs() {}

protected:
    virtual void Changing(int newIndex, bool& allowChange);
    virtual void LayoutChanged();
    virtual void TabClick();
    virtual void RepaintTabs();
    virtual void PaintBackground(TCanvas& canvas, const TRect& rect, bool& handled);
    virtual void PaintCardBackground(TCanvas& canvas, int row, const TRect& rect, bool& handled);
    virtual void PaintTabBackground(TCanvas& canvas, int index, const TRect& rect, bool& handled);
    virtual void Change();
    virtual void TabOrderChange(int oldIndex, int newIndex);
    virtual void PageChange();
    void SetLayoutDirty();
    [[nodiscard]] bool Loading() const;
    // Selects without asking CanChange again, for a choice already approved.
    void SelectApproved(int index);

    void Dispatch(TMessage& message) override;
    void Paint() override;
    void AdjustClientRect(TRect& rect) const override;
    void AlignControls(TControl* control, TRect& rect) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void Loaded() override;
    void DefineProperties(TFiler& filer) override;

private:
    friend class TKvTabScroller;
    template <class T>
    void Relayout(T& field, T value);
    template <class T>
    void Restyle(T& field, T value);
    [[nodiscard]] controls::detail::TKvTabLayoutSettings LayoutSettings(int buttonSize);
    // The layout of the tabs as they are now, run again first when something changed.
    [[nodiscard]] controls::detail::TKvTabLayout& Layout();
    [[nodiscard]] SIZE MeasureText(const std::string& text, bool bold);
    void RunLayout();
    void PlaceScroller(controls::detail::TKvTabLayout& layout);
    [[nodiscard]] int ButtonSize(int fixedDimension);
    [[nodiscard]] int StepFrom(int index, bool forward) const;
    [[nodiscard]] int KeyTarget(WORD key);
    [[nodiscard]] bool Forward(WORD key) const;

    // Painting (the paint topic file).
    void DrawTabsAndCards(TCanvas& canvas, const controls::detail::TKvTabLayout& layout);
    void DrawTab(TCanvas& canvas, const controls::detail::TKvTabLayout& layout, int index);
    void DrawCard(TCanvas& canvas, const controls::detail::TKvTabLayout& layout, int row);
    void DrawCardFrame(TCanvas& canvas, const controls::detail::TKvTabLayout& layout, int row, const TRect& card);
    void DrawShadow(TCanvas& canvas, const TRect& card);
    void FillTab(TCanvas& canvas, int index, const TRect& rect);
    void DrawCaption(TCanvas& canvas, int index, const TRect& rect);
    [[nodiscard]] std::vector<TPoint> TabShape(const controls::detail::TKvTabLayout& layout, int index) const;
    [[nodiscard]] HRGN TabRegion(const controls::detail::TKvTabLayout& layout, int index);

    TKvTabDataList m_tabList;
    std::unique_ptr<TKvTabColors> m_tabColors;
    std::unique_ptr<TKvTextColors> m_textColors;
    TKvTabRegionCache m_regions;
    TKvTabScroller* m_scroller = nullptr;

    bool m_alignTabs = false;
    bool m_boldCurrentTab = false;
    bool m_transparent = false;
    TColor m_backgroundColor = clBtnFace;
    bool m_cardVisible = true;
    bool m_showCardFrame = true;
    bool m_showFullFrame = true;
    bool m_useColoredTabs = false;
    int m_cutCornerSize = 6;
    TColor m_flatColor = clBtnShadow;
    int m_flatColorAdjustment = 0;
    int m_margin = 0;
    bool m_multiLine = false;
    bool m_parentBackgroundColor = true;
    int m_rowCount = 1;
    int m_rowIndent = 5;
    int m_rowOverlap = 5;
    bool m_showFocusRect = true;
    bool m_showShadow = true;
    bool m_softCorners = false;
    int m_tabOverlap = -1;
    int m_tabHeight = 0;
    int m_tabIndex = -1;
    TKvTabOrientation m_tabOrientation = toTop;
    TKvTabSequence m_tabSequence = tsStandard;
    TKvTabStyle m_tabStyle = tsSingleSlant;
    int m_tabWidth = 0;
    bool m_useGradients = true;

    std::unique_ptr<controls::detail::TKvTabLayout> m_layout;
    int m_fixedDimension = 0;
    int m_buttonSize = 0;
    bool m_layoutDirty = true;
    bool m_approved = false;
    TRect m_lastClientArea{};

    TKvTabChangingEvent m_onChanging;
    TNotifyEvent m_onChange;
    TNotifyEvent m_onPageChange;
    TNotifyEvent m_onTabClick;
    TKvTabOrderChangeEvent m_onTabOrderChange;
    TNotifyEvent m_onScrolledTabs;
    TKvPaintBackgroundEvent m_onPaintBackground;
    TKvPaintCardBackgroundEvent m_onPaintCard;
    TKvPaintTabBackgroundEvent m_onPaintTab;
};
