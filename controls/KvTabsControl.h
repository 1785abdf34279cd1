#pragma once

#include "controls/KvTabs.h"
#include "controls/KvTabsLayout.h"
#include "platform/classlib/core/Timers.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/classlib/forms/Menus.h"

#include <memory>
#include <string>
#include <vector>

// The tab control: a strip of tabs along one side of a card, one of them selected. It knows
// nothing of pages; the page control fills its tab list and follows the selection.

class TKvCustomTabControl;

using TKvTabChangingEvent = TEvent<TObject*, int, bool&>;
using TKvTabCloseEvent = TEvent<TObject*, bool&>;
using TKvGetTextColorEvent = TEvent<TObject*, int, TKvTextStyle, TColor&, bool&>;
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

// A square button at the end of the strip: pressed while the mouse, captured, stays over it;
// released over it, it acts.
class TKvTabButton : public TCustomControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvTabButton(TKvCustomTabControl& tabs);

protected:
    void Dispatch(TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint() override;
    // What the button does when released over itself.
    virtual void Released() = 0;
    // The button's sign on its face.
    virtual void PaintSign(TCanvas& canvas, const TRect& rect, bool pressed) = 0;

    TKvCustomTabControl& m_tabs;

private:
    bool m_mouseDown = false;
    bool m_pressedLook = false;
};

// Closes the selected tab, when the tab control's OnClose allows it.
class TKvTabCloseButton : public TKvTabButton {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvTabCloseButton(TKvCustomTabControl& tabs);

    [[nodiscard]] const TNotifyEvent& OnClose() const { return m_onClose; }
    void SetOnClose(const TNotifyEvent& handler) { m_onClose = handler; }

protected:
    void Released() override { m_onClose(this); }
    void PaintSign(TCanvas& canvas, const TRect& rect, bool pressed) override;

private:
    TNotifyEvent m_onClose;
};

// Lists the visible tabs in a menu; choosing one selects it.
class TKvTabMenuButton : public TKvTabButton {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvTabMenuButton(TKvCustomTabControl& tabs);

    [[nodiscard]] TPopupMenu& Menu() { return m_menu; }

protected:
    void Released() override;
    void PaintSign(TCanvas& canvas, const TRect& rect, bool pressed) override;

private:
    void FillMenu();

    TPopupMenu m_menu;
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
    [[nodiscard]] bool ShowCloseButton() const { return m_closeButton != nullptr && m_closeButton->Visible(); }
    virtual void SetShowCloseButton(bool value);
    [[nodiscard]] bool ShowMenuButton() const { return m_menuButton != nullptr && m_menuButton->Visible(); }
    virtual void SetShowMenuButton(bool value);
    [[nodiscard]] bool UseColoredTabs() const { return m_useColoredTabs; }
    virtual void SetUseColoredTabs(bool value);
    [[nodiscard]] int CutCornerSize() const { return m_cutCornerSize; }
    virtual void SetCutCornerSize(int value);
    [[nodiscard]] TColor FlatColor() const { return m_flatColor; }
    virtual void SetFlatColor(TColor value);
    [[nodiscard]] int FlatColorAdjustment() const { return m_flatColorAdjustment; }
    virtual void SetFlatColorAdjustment(int value);
    [[nodiscard]] TKvImagePosition ImagePosition() const { return m_imagePosition; }
    virtual void SetImagePosition(TKvImagePosition value);
    [[nodiscard]] TKvHorizontalAlignment ImageAlignment() const { return m_imageAlignment; }
    virtual void SetImageAlignment(TKvHorizontalAlignment value);
    [[nodiscard]] int ImageMargin() const { return m_imageMargin; }
    virtual void SetImageMargin(int value);
    [[nodiscard]] TKvVerticalAlignment ImageAlignmentVertical() const { return m_imageAlignmentVertical; }
    virtual void SetImageAlignmentVertical(TKvVerticalAlignment value);
    [[nodiscard]] bool HotTrack() const { return m_hotTrack; }
    virtual void SetHotTrack(bool value);
    [[nodiscard]] TColor HotTrackColor() const { return m_hotTrackColor; }
    virtual void SetHotTrackColor(TColor value);
    [[nodiscard]] TKvHotTrackColorType HotTrackColorType() const { return m_hotTrackColorType; }
    virtual void SetHotTrackColorType(TKvHotTrackColorType value);
    [[nodiscard]] TKvTabHotTrackStyle HotTrackStyle() const { return m_hotTrackStyle; }
    virtual void SetHotTrackStyle(TKvTabHotTrackStyle value);
    [[nodiscard]] TCustomImageList* Images() const { return m_images; }
    virtual void SetImages(TCustomImageList* value);
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
    [[nodiscard]] TOrientation TextOrientation() const { return m_textOrientation; }
    virtual void SetTextOrientation(TOrientation value);
    [[nodiscard]] TKvTabColors* TabColors() const { return m_tabColors.get(); }
    virtual void SetTabColors(TKvTabColors* value);
    [[nodiscard]] int TabHeight() const { return m_tabHeight; }
    virtual void SetTabHeight(int value);
    // Each tab's own hint shows while the mouse rests on it.
    [[nodiscard]] bool TabHints() const { return m_tabHints; }
    virtual void SetTabHints(bool value);
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
    [[nodiscard]] TKvHorizontalAlignment TextAlignment() const { return m_textAlignment; }
    virtual void SetTextAlignment(TKvHorizontalAlignment value);
    [[nodiscard]] TKvVerticalAlignment TextAlignmentVertical() const { return m_textAlignmentVertical; }
    virtual void SetTextAlignmentVertical(TKvVerticalAlignment value);
    [[nodiscard]] bool UseGradients() const { return m_useGradients; }
    virtual void SetUseGradients(bool value);
    // The parent shows through around the tabs instead of BackgroundColor.
    [[nodiscard]] bool Transparent() const { return m_transparent; }
    virtual void SetTransparent(bool value);
    // A tab dragged along the strip and dropped on another takes its place.
    [[nodiscard]] bool AllowTabDragging() const { return m_allowTabDragging; }
    void SetAllowTabDragging(bool value) { m_allowTabDragging = value; }

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
    [[nodiscard]] const TKvTabCloseEvent& OnClose() const { return m_onClose; }
    void SetOnClose(const TKvTabCloseEvent& handler) { m_onClose = handler; }
    [[nodiscard]] const TKvGetTextColorEvent& OnGetTextColor() const { return m_onGetTextColor; }
    void SetOnGetTextColor(const TKvGetTextColorEvent& handler) { m_onGetTextColor = handler; }
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
    [[nodiscard]] TKvTabCloseButton* CloseButton() const { return m_closeButton; }
    [[nodiscard]] TKvTabMenuButton* MenuButton() const { return m_menuButton; }
    // The tab under the mouse, -1 when none.
    [[nodiscard]] int HotTab() const { return m_hotTab; }
    // Where a dragged tab would go, shown as a marker; -1 when none.
    [[nodiscard]] int DropTarget() const { return m_dropMarkerShown ? m_markedTab : -1; }
    // Whether the tab is wholly in sight (so scrolling toward it is pointless).
    [[nodiscard]] bool CanScrollTo(int index) { return Layout().WhollyShown(index); }
    // The tab's rectangle on the control after the last layout.
    [[nodiscard]] TRect TabRect(int index);
    [[nodiscard]] TRect CardRect(int row);
    [[nodiscard]] TColor FrameColor() const { return ShiftLuminance(m_flatColor, m_flatColorAdjustment); }

    virtual void HideAllTabs() {}
    virtual void ShowAllTabs() {}
    // The close button's request: closes the selected tab when OnClose allows it.
    void CloseRequest();

protected:
    virtual void Changing(int newIndex, bool& allowChange);
    virtual void GetTextColor(int index, TKvTextStyle style, TColor& color, bool& handled);
    virtual void LayoutChanged();
    virtual void TabClick();
    virtual void RepaintTabs();
    virtual void PaintBackground(TCanvas& canvas, const TRect& rect, bool& handled);
    virtual void PaintCardBackground(TCanvas& canvas, int row, const TRect& rect, bool& handled);
    virtual void PaintTabBackground(TCanvas& canvas, int index, const TRect& rect, bool& handled);
    virtual void Change();
    virtual void TabOrderChange(int oldIndex, int newIndex);
    virtual void PageChange();
    // Fires OnClose; without a handler that allows it nothing is closed.
    [[nodiscard]] virtual bool CloseQuery();
    virtual void CloseActiveTab() {}
    virtual void MoveActiveTab(int /*index*/) {}
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
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    void DefineProperties(TFiler& filer) override;

private:
    friend class TKvTabScroller;
    friend class TKvTabButton;
    template <class T>
    void Relayout(T& field, T value);
    template <class T>
    void Restyle(T& field, T value);
    [[nodiscard]] controls::detail::TKvTabLayoutSettings LayoutSettings(int buttonSize);
    // The layout of the tabs as they are now, run again first when something changed.
    [[nodiscard]] controls::detail::TKvTabLayout& Layout();
    [[nodiscard]] SIZE MeasureText(const std::string& text, bool bold);
    [[nodiscard]] SIZE ImageSize(int index) const;
    [[nodiscard]] bool VerticalText() const { return m_textOrientation == orVertical; }
    [[nodiscard]] bool HorizontalStrip() const { return m_tabOrientation == toTop || m_tabOrientation == toBottom; }
    void RunLayout();
    // Where the next button goes along the strip, counted from the end the buttons stand at.
    struct TButtonRun {
        bool HighEnd;
        int Along;
    };
    void PlaceButtons(controls::detail::TKvTabLayout& layout);
    void PlaceScroller(controls::detail::TKvTabLayout& layout, const TRect& strip, TButtonRun& run);
    void PlaceButton(TControl& button, SIZE size, const TRect& strip, TButtonRun& run);
    void InvalidateButtons();
    [[nodiscard]] int ButtonSize(int fixedDimension);
    [[nodiscard]] int StepFrom(int index, bool forward) const;
    [[nodiscard]] int KeyTarget(WORD key);
    [[nodiscard]] bool Forward(WORD key) const;
    [[nodiscard]] bool SelectByMnemonic(WORD key);
    [[nodiscard]] bool InStrip(int x, int y);
    void TrackHotTab(int x, int y);
    void EndHotState(bool inStrip);
    void StopHoverTimer();
    void HoverTick();
    void DragTabOver(int x, int y);
    void DropTab(int x, int y);
    void EndTabDrag();
    void DragScrollTick();
    [[nodiscard]] TRect DropMarkerRect(int target);
    void ToggleDropMarker();
    void DrawDropMarker(TCanvas& canvas);

    // Painting (the paint topic file).
    void DrawTabsAndCards(TCanvas& canvas, const controls::detail::TKvTabLayout& layout);
    void DrawTab(TCanvas& canvas, const controls::detail::TKvTabLayout& layout, int index);
    void DrawCard(TCanvas& canvas, const controls::detail::TKvTabLayout& layout, int row);
    void DrawCardFrame(TCanvas& canvas, const controls::detail::TKvTabLayout& layout, int row, const TRect& card);
    void DrawShadow(TCanvas& canvas, const TRect& card);
    void FillTab(TCanvas& canvas, int index, const TRect& rect);
    [[nodiscard]] TRect ContentRect(const controls::detail::TKvTabLayout& layout, int index) const;
    void DrawContent(TCanvas& canvas, const controls::detail::TKvTabLayout& layout, int index);
    void DrawHotBar(TCanvas& canvas, int index, const TRect& rect);
    void DrawImage(TCanvas& canvas, int index, const TRect& rect);
    [[nodiscard]] TColor CaptionColor(int index);
    void DrawCaption(TCanvas& canvas, int index, const TRect& rect, TColor color);
    void SelectTabFont(TCanvas& canvas, bool bold) const;
    [[nodiscard]] std::vector<TPoint> TabShape(const controls::detail::TKvTabLayout& layout, int index) const;
    [[nodiscard]] HRGN TabRegion(const controls::detail::TKvTabLayout& layout, int index);

    TKvTabDataList m_tabList;
    std::unique_ptr<TKvTabColors> m_tabColors;
    std::unique_ptr<TKvTextColors> m_textColors;
    TKvTabRegionCache m_regions;
    TKvTabScroller* m_scroller = nullptr;
    TKvTabCloseButton* m_closeButton = nullptr;
    TKvTabMenuButton* m_menuButton = nullptr;
    TCustomImageList* m_images = nullptr;
    TChangeLink m_imagesLink;

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
    TKvImagePosition m_imagePosition = ipLeft;
    TKvHorizontalAlignment m_imageAlignment = haCenter;
    int m_imageMargin = 2;
    TKvVerticalAlignment m_imageAlignmentVertical = vaCenter;
    bool m_hotTrack = true;
    TColor m_hotTrackColor = 0x149BF0; // RGB 240, 155, 20
    TKvHotTrackColorType m_hotTrackColorType = htctActual;
    TKvTabHotTrackStyle m_hotTrackStyle = htsTab;
    bool m_tabHints = false;
    TOrientation m_textOrientation = orHorizontal;
    TKvHorizontalAlignment m_textAlignment = haCenter;
    TKvVerticalAlignment m_textAlignmentVertical = vaCenter;
    bool m_allowTabDragging = false;
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
    // Hot tracking and tab hints; the hover timer notices the mouse leaving the tabs.
    static constexpr UINT_PTR HoverTimerId = 1;
    int m_hotTab = -1;
    bool m_hoverTimer = false;
    std::string m_ownHint;
    // Tab dragging.
    int m_pressedTab = -1;
    TPoint m_pressPoint{};
    bool m_tabDragging = false;
    int m_dragOverTab = -1;
    int m_markedTab = -1;
    TRect m_dropMarker{};
    bool m_dropMarkerShown = false;
    std::unique_ptr<TTimer> m_dragScrollTimer;

    TKvTabChangingEvent m_onChanging;
    TNotifyEvent m_onChange;
    TNotifyEvent m_onPageChange;
    TNotifyEvent m_onTabClick;
    TKvTabOrderChangeEvent m_onTabOrderChange;
    TKvTabCloseEvent m_onClose;
    TKvGetTextColorEvent m_onGetTextColor;
    TNotifyEvent m_onScrolledTabs;
    TKvPaintBackgroundEvent m_onPaintBackground;
    TKvPaintCardBackgroundEvent m_onPaintCard;
    TKvPaintTabBackgroundEvent m_onPaintTab;
};

namespace controls::detail {

// A scroller half, the close and the menu button share this face.
void DrawTabButtonFace(TCanvas& canvas, const TRect& rect, TKvCustomTabControl& tabs, bool pressed);
// The scroller and the buttons belong to the strip: never shown in a designer, never tabbed to.
void MakeStripChild(TCustomControl& child);
// The tab control and its buttons paint every pixel themselves: an erase request is answered as
// done. True when the message was one.
[[nodiscard]] bool AnswerEraseBackground(TMessage& message);

} // namespace controls::detail
