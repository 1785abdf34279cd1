#include "controls/KvTabsControl.h"

#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"

#include <algorithm>

using controls::detail::TKvTabLayout;
using controls::detail::TKvTabLayoutSettings;

namespace {

void DescribeTabControl(TClassBuilder& c)
{
    using C = TKvCustomTabControl;
    c.String("About", &C::About, &C::SetAbout).Stored(false);
    c.Boolean("AlignTabs", &C::AlignTabs, &C::SetAlignTabs).Default(false);
    c.Boolean("BoldCurrentTab", &C::BoldCurrentTab, &C::SetBoldCurrentTab).Default(false);
    c.Ordinal("BackgroundColor", ColorTypeInfo(), &C::BackgroundColor, &C::SetBackgroundColor).Default(clBtnFace);
    c.Boolean("ShowCardFrame", &C::ShowCardFrame, &C::SetShowCardFrame).Default(true);
    c.Boolean("ShowFullFrame", &C::ShowFullFrame, &C::SetShowFullFrame).Default(true);
    c.Boolean("ShowCloseButton", &C::ShowCloseButton, &C::SetShowCloseButton).Default(false);
    c.Boolean("ShowMenuButton", &C::ShowMenuButton, &C::SetShowMenuButton).Default(false);
    c.Boolean("UseColoredTabs", &C::UseColoredTabs, &C::SetUseColoredTabs).Default(false);
    c.Integer("CutCornerSize", &C::CutCornerSize, &C::SetCutCornerSize).Default(6);
    c.Ordinal("FlatColor", ColorTypeInfo(), &C::FlatColor, &C::SetFlatColor).Default(clBtnShadow);
    c.Integer("FlatColorAdjustment", &C::FlatColorAdjustment, &C::SetFlatColorAdjustment).Default(0);
    c.Enum("ImagePosition", ImagePositionTypeInfo(), &C::ImagePosition, &C::SetImagePosition).Default(ipLeft);
    c.Enum("ImageAlignment", HorizontalAlignmentTypeInfo(), &C::ImageAlignment, &C::SetImageAlignment)
        .Default(haCenter);
    c.Integer("ImageMargin", &C::ImageMargin, &C::SetImageMargin).Default(2);
    c.Enum("ImageAlignmentVertical", VerticalAlignmentTypeInfo(), &C::ImageAlignmentVertical,
           &C::SetImageAlignmentVertical)
        .Default(vaCenter);
    c.Boolean("HotTrack", &C::HotTrack, &C::SetHotTrack).Default(true);
    c.Ordinal("HotTrackColor", ColorTypeInfo(), &C::HotTrackColor, &C::SetHotTrackColor).Default(0x149BF0);
    c.Enum("HotTrackColorType", KvHotTrackColorTypeTypeInfo(), &C::HotTrackColorType, &C::SetHotTrackColorType)
        .Default(htctActual);
    c.Enum("HotTrackStyle", TabHotTrackStyleTypeInfo(), &C::HotTrackStyle, &C::SetHotTrackStyle).Default(htsTab);
    c.Object("Images", &C::Images, &C::SetImages);
    c.Integer("Margin", &C::Margin, &C::SetMargin).Default(0);
    c.Boolean("MultiLine", &C::MultiLine, &C::SetMultiLine).Default(false);
    c.Boolean("ParentBackgroundColor", &C::ParentBackgroundColor, &C::SetParentBackgroundColor).Default(true);
    c.Integer("RowIndent", &C::RowIndent, &C::SetRowIndent).Default(5);
    c.Integer("RowOverlap", &C::RowOverlap, &C::SetRowOverlap).Default(5);
    c.Boolean("ShowFocusRect", &C::ShowFocusRect, &C::SetShowFocusRect).Default(true);
    c.Boolean("ShowShadow", &C::ShowShadow, &C::SetShowShadow).Default(true);
    c.Boolean("SoftCorners", &C::SoftCorners, &C::SetSoftCorners).Default(false);
    c.Integer("TabOverlap", &C::TabOverlap, &C::SetTabOverlap).Default(-1);
    c.Enum("TextOrientation", OrientationTypeInfo(), &C::TextOrientation, &C::SetTextOrientation)
        .Default(orHorizontal);
    c.Object("TabColors", &C::TabColors, &C::SetTabColors);
    c.Integer("TabHeight", &C::TabHeight, &C::SetTabHeight).Default(0);
    c.Boolean("TabHints", &C::TabHints, &C::SetTabHints).Default(false);
    c.Integer("TabIndex", &C::TabIndex, &C::SetTabIndex).Default(-1);
    c.Enum("TabOrientation", TabOrientationTypeInfo(), &C::TabOrientation, &C::SetTabOrientation).Default(toTop);
    c.Enum("TabSequence", TabSequenceTypeInfo(), &C::TabSequence, &C::SetTabSequence).Default(tsStandard);
    c.Enum("TabStyle", TabStyleTypeInfo(), &C::TabStyle, &C::SetTabStyle).Default(tsSingleSlant);
    c.Integer("TabWidth", &C::TabWidth, &C::SetTabWidth).Default(0);
    c.Object("TextColors", &C::TextColors, &C::SetTextColors);
    c.Enum("TextAlignment", HorizontalAlignmentTypeInfo(), &C::TextAlignment, &C::SetTextAlignment).Default(haCenter);
    c.Enum("TextAlignmentVertical", VerticalAlignmentTypeInfo(), &C::TextAlignmentVertical,
           &C::SetTextAlignmentVertical)
        .Default(vaCenter);
    c.Boolean("UseGradients", &C::UseGradients, &C::SetUseGradients).Default(true);
    c.Boolean("Transparent", &C::Transparent, &C::SetTransparent).Default(false);
    c.Boolean("AllowTabDragging", &C::AllowTabDragging, &C::SetAllowTabDragging).Default(false);
    c.Event("OnChange", &C::OnChange, &C::SetOnChange);
    c.Event("OnChanging", &C::OnChanging, &C::SetOnChanging);
    c.Event("OnClose", &C::OnClose, &C::SetOnClose);
    c.Event("OnGetTextColor", &C::OnGetTextColor, &C::SetOnGetTextColor);
    c.Event("OnPageChange", &C::OnPageChange, &C::SetOnPageChange);
    c.Event("OnTabClick", &C::OnTabClick, &C::SetOnTabClick);
    c.Event("OnTabOrderChange", &C::OnTabOrderChange, &C::SetOnTabOrderChange);
    c.Event("OnScrolledTabs", &C::OnScrolledTabs, &C::SetOnScrolledTabs);
    c.Event("OnPaintBackground", &C::OnPaintBackground, &C::SetOnPaintBackground);
    c.Event("OnPaintCardBackground", &C::OnPaintCardBackground, &C::SetOnPaintCardBackground);
    c.Event("OnPaintTabBackground", &C::OnPaintTabBackground, &C::SetOnPaintTabBackground);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TKvCustomTabControl, TCustomControl, nullptr, DescribeTabControl)

TKvCustomTabControl::TKvCustomTabControl(TComponent* owner)
    : TCustomControl(owner), m_tabColors(std::make_unique<TKvTabColors>([this] { RepaintTabs(); })),
      m_textColors(std::make_unique<TKvTextColors>([this] { RepaintTabs(); }))
{
    TControlStyle style;
    style.Include(csAcceptsControls);
    style.Include(csCaptureMouse);
    style.Include(csClickEvents);
    style.Include(csDoubleClicks);
    SetControlStyle(style);
    SetTabStop(true);
    SetBounds(Left(), Top(), 300, 100);
    m_imagesLink.SetOnChange(TNotifyEvent::FromFunction([this](TObject*) { RepaintTabs(); }));
}

TKvCustomTabControl::~TKvCustomTabControl()
{
    StopHoverTimer();
    if (m_images != nullptr)
        m_images->UnRegisterChanges(&m_imagesLink);
}

bool TKvCustomTabControl::Loading() const
{
    return ComponentState().Contains(csLoading) || ComponentState().Contains(csReading);
}

// ---- Properties ----------------------------------------------------------------------------------

template <class T>
void TKvCustomTabControl::Relayout(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    SetLayoutDirty();
}

template <class T>
void TKvCustomTabControl::Restyle(T& field, T value)
{
    if (field == value)
        return;
    field = value;
    RepaintTabs();
}

void TKvCustomTabControl::SetAlignTabs(bool value)
{
    if (value == m_alignTabs)
        return;
    m_alignTabs = value;
    if (m_multiLine)
        SetLayoutDirty();
}

void TKvCustomTabControl::SetBackgroundColor(TColor value)
{
    if (value == m_backgroundColor)
        return;
    m_backgroundColor = value;
    m_parentBackgroundColor = false;
    RepaintTabs();
}

void TKvCustomTabControl::SetBoldCurrentTab(bool value) { Relayout(m_boldCurrentTab, value); }
void TKvCustomTabControl::SetTransparent(bool value) { Restyle(m_transparent, value); }
void TKvCustomTabControl::SetCardVisible(bool value) { Relayout(m_cardVisible, value); }
void TKvCustomTabControl::SetShowCardFrame(bool value) { Relayout(m_showCardFrame, value); }

void TKvCustomTabControl::SetShowFullFrame(bool value)
{
    if (value == m_showFullFrame)
        return;
    m_showFullFrame = value;
    if (!value)
        m_showShadow = false;
    SetLayoutDirty();
}

void TKvCustomTabControl::SetShowCloseButton(bool value)
{
    if (value == ShowCloseButton())
        return;
    if (m_closeButton == nullptr) {
        m_closeButton = new TKvTabCloseButton(*this);
        m_closeButton->SetParent(this);
    }
    m_closeButton->SetVisible(value);
    SetLayoutDirty();
}

void TKvCustomTabControl::SetShowMenuButton(bool value)
{
    if (value == ShowMenuButton())
        return;
    if (m_menuButton == nullptr) {
        m_menuButton = new TKvTabMenuButton(*this);
        m_menuButton->SetParent(this);
    }
    m_menuButton->SetVisible(value);
    SetLayoutDirty();
}

void TKvCustomTabControl::SetUseColoredTabs(bool value) { Restyle(m_useColoredTabs, value); }

void TKvCustomTabControl::SetCutCornerSize(int value)
{
    if (value < 0 || value == m_cutCornerSize)
        return;
    m_cutCornerSize = value;
    if (m_tabStyle == tsCutCorner)
        SetLayoutDirty();
}

void TKvCustomTabControl::SetFlatColor(TColor value)
{
    Restyle(m_flatColor, value);
    InvalidateButtons();
}

void TKvCustomTabControl::SetFlatColorAdjustment(int value)
{
    Restyle(m_flatColorAdjustment, value);
    InvalidateButtons();
}

// The scroller and the buttons show the frame colour and the selection.
void TKvCustomTabControl::InvalidateButtons()
{
    for (TControl* button : std::initializer_list<TControl*>{m_scroller, m_closeButton, m_menuButton})
        if (button != nullptr)
            button->Invalidate();
}

void TKvCustomTabControl::SetImagePosition(TKvImagePosition value) { Relayout(m_imagePosition, value); }
void TKvCustomTabControl::SetImageAlignment(TKvHorizontalAlignment value) { Relayout(m_imageAlignment, value); }

void TKvCustomTabControl::SetImageMargin(int value)
{
    if (value >= 0)
        Relayout(m_imageMargin, value);
}

void TKvCustomTabControl::SetImageAlignmentVertical(TKvVerticalAlignment value)
{
    Relayout(m_imageAlignmentVertical, value);
}

void TKvCustomTabControl::SetHotTrack(bool value)
{
    if (value == m_hotTrack)
        return;
    if (m_hotTrack && !m_tabHints)
        StopHoverTimer();
    m_hotTrack = value;
}

void TKvCustomTabControl::SetHotTrackColor(TColor value) { Restyle(m_hotTrackColor, value); }
void TKvCustomTabControl::SetHotTrackColorType(TKvHotTrackColorType value) { Restyle(m_hotTrackColorType, value); }
void TKvCustomTabControl::SetHotTrackStyle(TKvTabHotTrackStyle value) { Restyle(m_hotTrackStyle, value); }

void TKvCustomTabControl::SetImages(TCustomImageList* value)
{
    if (value == m_images)
        return;
    if (m_images != nullptr) {
        m_images->UnRegisterChanges(&m_imagesLink);
        m_images->RemoveFreeNotification(this);
    }
    m_images = value;
    if (m_images != nullptr) {
        m_images->RegisterChanges(&m_imagesLink);
        m_images->FreeNotification(this);
    }
    SetLayoutDirty();
}

void TKvCustomTabControl::Notification(TComponent* component, TOperation operation)
{
    TCustomControl::Notification(component, operation);
    if (operation == opRemove && component == m_images)
        SetImages(nullptr);
}

void TKvCustomTabControl::SetTextOrientation(TOrientation value)
{
    // Every face here is scalable, so turned text needs no change of font.
    Relayout(m_textOrientation, value);
}

void TKvCustomTabControl::SetTabHints(bool value)
{
    if (value == m_tabHints)
        return;
    if (m_tabHints && !m_hotTrack)
        StopHoverTimer();
    m_tabHints = value;
}

void TKvCustomTabControl::SetTextAlignment(TKvHorizontalAlignment value) { Relayout(m_textAlignment, value); }

void TKvCustomTabControl::SetTextAlignmentVertical(TKvVerticalAlignment value)
{
    Relayout(m_textAlignmentVertical, value);
}

void TKvCustomTabControl::SetMargin(int value)
{
    if (value >= 0)
        Relayout(m_margin, value);
}

void TKvCustomTabControl::SetMultiLine(bool value) { Relayout(m_multiLine, value); }

void TKvCustomTabControl::SetParentBackgroundColor(bool value)
{
    if (value == m_parentBackgroundColor)
        return;
    m_parentBackgroundColor = value;
    if (Parent() != nullptr)
        Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TKvCustomTabControl::SetRowIndent(int value)
{
    if (value >= 0)
        Relayout(m_rowIndent, value);
}

void TKvCustomTabControl::SetRowOverlap(int value)
{
    if (value >= 0)
        Relayout(m_rowOverlap, value);
}

void TKvCustomTabControl::SetShowFocusRect(bool value)
{
    if (value == m_showFocusRect)
        return;
    m_showFocusRect = value;
    Invalidate();
}

void TKvCustomTabControl::SetShowShadow(bool value)
{
    if (value == m_showShadow)
        return;
    m_showShadow = value;
    if (value)
        m_showFullFrame = true;
    SetLayoutDirty();
}

void TKvCustomTabControl::SetSoftCorners(bool value) { Relayout(m_softCorners, value); }
void TKvCustomTabControl::SetTabOverlap(int value) { Relayout(m_tabOverlap, value); }
void TKvCustomTabControl::SetTabColors(TKvTabColors* value) { m_tabColors->Assign(value); }
void TKvCustomTabControl::SetTextColors(TKvTextColors* value) { m_textColors->Assign(value); }

void TKvCustomTabControl::SetTabHeight(int value)
{
    if (value >= 0)
        Relayout(m_tabHeight, value);
}

void TKvCustomTabControl::SetTabWidth(int value)
{
    if (value >= 0)
        Relayout(m_tabWidth, value);
}

void TKvCustomTabControl::SetTabOrientation(TKvTabOrientation value)
{
    if (value == m_tabOrientation)
        return;
    m_tabOrientation = value;
    if (!Loading())
        SetLayoutDirty();
}

void TKvCustomTabControl::SetRegionCacheCapacity(int value)
{
    if ((value == -1 || value > 0) && value != m_regions.Capacity())
        m_regions.SetCapacity(value);
}

void TKvCustomTabControl::SetTabSequence(TKvTabSequence value) { Relayout(m_tabSequence, value); }
void TKvCustomTabControl::SetTabStyle(TKvTabStyle value) { Relayout(m_tabStyle, value); }
void TKvCustomTabControl::SetUseGradients(bool value) { Restyle(m_useGradients, value); }

// ---- Notifications -------------------------------------------------------------------------------

void TKvCustomTabControl::Changing(int newIndex, bool& allowChange) { m_onChanging(this, newIndex, allowChange); }

void TKvCustomTabControl::GetTextColor(int index, TKvTextStyle style, TColor& color, bool& handled)
{
    m_onGetTextColor(this, index, style, color, handled);
}

bool TKvCustomTabControl::CloseQuery()
{
    bool allowClose = false;
    m_onClose(this, allowClose);
    return allowClose;
}

void TKvCustomTabControl::CloseRequest()
{
    const TControlLife life(*this);
    if (m_tabIndex != -1 && CloseQuery() && life.Stands())
        CloseActiveTab();
}
void TKvCustomTabControl::LayoutChanged() { SetLayoutDirty(); }
void TKvCustomTabControl::TabClick() { m_onTabClick(this); }
void TKvCustomTabControl::RepaintTabs() { Invalidate(); }
void TKvCustomTabControl::Change() { m_onChange(this); }
void TKvCustomTabControl::PageChange() { m_onPageChange(this); }
void TKvCustomTabControl::TabOrderChange(int oldIndex, int newIndex) { m_onTabOrderChange(this, oldIndex, newIndex); }

void TKvCustomTabControl::PaintBackground(TCanvas& canvas, const TRect& rect, bool& handled)
{
    m_onPaintBackground(this, &canvas, rect, handled);
}

void TKvCustomTabControl::PaintCardBackground(TCanvas& canvas, int row, const TRect& rect, bool& handled)
{
    m_onPaintCard(this, &canvas, row, rect, handled);
}

void TKvCustomTabControl::PaintTabBackground(TCanvas& canvas, int index, const TRect& rect, bool& handled)
{
    m_onPaintTab(this, &canvas, index, rect, handled);
}

void TKvCustomTabControl::SetLayoutDirty()
{
    m_layoutDirty = true;
    RepaintTabs();
}

// ---- Layout --------------------------------------------------------------------------------------

SIZE TKvCustomTabControl::MeasureText(const std::string& text, bool bold)
{
    TBitmap bitmap;
    bitmap.SetSize(1, 1);
    bitmap.Canvas()->Font()->Assign(Font());
    if (bold) {
        TFontStyles style = Font()->Style();
        style.Include(fsBold);
        bitmap.Canvas()->Font()->SetStyle(style);
    }
    return bitmap.Canvas()->TextExtent(text);
}

SIZE TKvCustomTabControl::ImageSize(int index) const
{
    if (m_images == nullptr || m_tabList.Item(index)->ImageIndex == -1)
        return SIZE{0, 0};
    return SIZE{m_images->Width(), m_images->Height()};
}

int TKvCustomTabControl::ButtonSize(int fixedDimension)
{
    return controls::detail::TabButtonSize(MeasureText("A", false), HorizontalStrip(), VerticalText(), m_tabWidth,
                                           m_tabHeight, fixedDimension);
}

TKvTabLayoutSettings TKvCustomTabControl::LayoutSettings(int buttonSize)
{
    TKvTabLayoutSettings settings;
    settings.Orientation = m_tabOrientation;
    settings.Sequence = m_tabSequence;
    settings.Style = m_tabStyle;
    settings.VerticalText = VerticalText();
    settings.MultiLine = m_multiLine;
    settings.AlignTabs = m_alignTabs;
    settings.CardVisible = m_cardVisible;
    settings.ShowCardFrame = m_showCardFrame;
    settings.ShowFullFrame = m_showFullFrame;
    settings.ShowShadow = m_showShadow;
    settings.Width = Width();
    settings.Height = Height();
    settings.Margin = m_margin;
    settings.RowIndent = m_rowIndent;
    settings.RowOverlap = m_rowOverlap;
    settings.TabOverlap = m_tabOverlap;
    settings.TabWidth = m_tabWidth;
    settings.TabHeight = m_tabHeight;
    settings.CutCornerSize = m_cutCornerSize;
    settings.ButtonSize = buttonSize;
    const bool anyTab = m_tabList.Count() > 0;
    settings.CloseButtonSize = ShowCloseButton() && anyTab ? buttonSize : 0;
    settings.MenuButtonSize = ShowMenuButton() && anyTab ? buttonSize : 0;
    const SIZE letter = MeasureText(m_tabStyle == tsRoundCorners ? "AAA" : "A", m_boldCurrentTab);
    const int fontHeight = std::abs(Font()->Height());
    settings.MinimumContent = VerticalText() ? SIZE{fontHeight, letter.cx} : SIZE{letter.cx, fontHeight};
    return settings;
}

void TKvCustomTabControl::RunLayout()
{
    const SIZE minimum = LayoutSettings(0).MinimumContent;
    const auto measure = [this](const std::string& line) { return MeasureText(line, m_boldCurrentTab); };
    std::vector<SIZE> contents;
    for (int i = 0; i < m_tabList.Count(); ++i) {
        const SIZE caption = controls::detail::MeasureCaption(m_tabList.Item(i)->Caption, VerticalText(), measure);
        SIZE content = controls::detail::CombineContent(ImageSize(i), caption, m_imagePosition, m_imageMargin);
        if (m_tabWidth == 0)
            content.cx = std::max(content.cx, minimum.cx);
        if (m_tabHeight == 0)
            content.cy = std::max(content.cy, minimum.cy);
        contents.push_back(content);
    }
    const int firstShown = m_layout ? m_layout->FirstShown() : -1;
    // The buttons' size follows the row's thickness, and the room left for the tabs the buttons.
    TKvTabLayout probe(LayoutSettings(0), m_tabList, contents);
    probe.Layout();
    m_buttonSize = ButtonSize(probe.FixedDimension());
    m_layout = std::make_unique<TKvTabLayout>(LayoutSettings(m_buttonSize), m_tabList, contents);
    m_layout->SetFirstShown(firstShown);
    m_layout->Layout();
    m_fixedDimension = m_layout->FixedDimension();
    m_rowCount = m_layout->RowCount();
    m_layoutDirty = false;
    m_regions.Clear();

    const int corrected =
        controls::detail::CorrectedTabIndex(m_tabIndex, m_tabList, [this](int index) { return CanChange(index); });
    if (corrected != m_tabIndex)
        SelectApproved(corrected);
    else if (m_tabIndex >= 0)
        m_layout->RotateRows(m_tabIndex);
    if (HandleAllocated()) {
        const TRect area = m_layout->ClientArea();
        if (!EqualRect(&area, &m_lastClientArea))
            Realign();
    }
}

TKvTabLayout& TKvCustomTabControl::Layout()
{
    if (m_layoutDirty || !m_layout)
        RunLayout();
    return *m_layout;
}

TRect TKvCustomTabControl::TabRect(int index) { return Layout().TabRect(index, m_tabIndex); }
TRect TKvCustomTabControl::CardRect(int row) { return Layout().CardRect(row); }

void TKvCustomTabControl::AdjustClientRect(TRect& rect) const
{
    if (m_layout)
        rect = m_layout->ClientArea();
}

void TKvCustomTabControl::AlignControls(TControl* control, TRect& rect)
{
    if (m_layout) {
        m_lastClientArea = m_layout->ClientArea();
        PlaceButtons(*m_layout);
    }
    TCustomControl::AlignControls(control, rect);
}

// The close button, the menu button and the scroller stand in that order at the end of the strip
// toward which the tabs run, 2 pixels apart, 2 pixels from the card.
void TKvCustomTabControl::PlaceButtons(TKvTabLayout& layout)
{
    if (Loading())
        return;
    const TRect strip = layout.StripRect();
    const bool standard = m_tabSequence == tsStandard;
    // Tabs in standard order run toward the right, up the left side and down the right side.
    const bool highEnd = HorizontalStrip() || m_tabOrientation == toRight ? standard : !standard;
    const int shadowStep = m_tabOrientation == toTop && standard && m_showShadow ? -1 : 1;
    TButtonRun run{highEnd, 0};
    if (HorizontalStrip())
        run.Along = highEnd ? strip.right - m_margin + shadowStep : strip.left + m_margin;
    else
        run.Along = highEnd ? strip.bottom - m_margin + 1 : strip.top + m_margin;
    if (ShowCloseButton())
        PlaceButton(*m_closeButton, SIZE{m_buttonSize, m_buttonSize}, strip, run);
    if (ShowMenuButton())
        PlaceButton(*m_menuButton, SIZE{m_buttonSize, m_buttonSize}, strip, run);
    PlaceScroller(layout, strip, run);
}

void TKvCustomTabControl::PlaceScroller(TKvTabLayout& layout, const TRect& strip, TButtonRun& run)
{
    const bool needed = layout.NeedsScroller();
    if (!needed && m_scroller == nullptr)
        return;
    if (m_scroller == nullptr) {
        m_scroller = new TKvTabScroller(*this);
        m_scroller->SetParent(this);
    }
    m_scroller->SetOrientation(HorizontalStrip() ? orHorizontal : orVertical);
    const int length = 2 * m_buttonSize - 1;
    const SIZE size = HorizontalStrip() ? SIZE{length, m_buttonSize} : SIZE{m_buttonSize, length};
    if (needed)
        PlaceButton(*m_scroller, size, strip, run);
    else // Out of sight rather than hidden.
        m_scroller->SetBounds(-size.cx - 10, -size.cy - 10, size.cx, size.cy);
}

void TKvCustomTabControl::PlaceButton(TControl& button, SIZE size, const TRect& strip, TButtonRun& run)
{
    const int along = HorizontalStrip() ? size.cx : size.cy;
    const int start = run.HighEnd ? run.Along - along : run.Along;
    run.Along = run.HighEnd ? start - 2 : start + along + 2;
    switch (m_tabOrientation) {
    case toTop: button.SetBounds(start, strip.bottom - size.cy - 2, size.cx, size.cy); break;
    case toBottom: button.SetBounds(start, strip.top + 2, size.cx, size.cy); break;
    case toLeft: button.SetBounds(strip.right - size.cx - 2, start, size.cx, size.cy); break;
    case toRight: button.SetBounds(strip.left + 2, start, size.cx, size.cy); break;
    }
}

// ---- Selection -----------------------------------------------------------------------------------

bool TKvCustomTabControl::CanChange(int index)
{
    if (index < 0 || index >= m_tabList.Count())
        return false;
    const TKvTabData& tab = *m_tabList.Item(index);
    bool allowed = tab.Visible && (tab.Enabled || ComponentState().Contains(csDesigning));
    if (allowed && index != m_tabIndex)
        Changing(index, allowed);
    return allowed;
}

void TKvCustomTabControl::SelectApproved(int index)
{
    const TControlLife life(*this);
    m_approved = true;
    try {
        SetTabIndex(index);
    } catch (...) {
        if (life.Stands())
            m_approved = false;
        throw;
    }
    if (life.Stands())
        m_approved = false;
}

void TKvCustomTabControl::SetTabIndex(int value)
{
    if (Loading()) {
        m_tabIndex = value;
        return;
    }
    if (value < 0 || value >= m_tabList.Count()) {
        const bool changed = m_tabIndex != -1;
        m_tabIndex = -1;
        if (changed)
            RepaintTabs();
        return;
    }
    const TControlLife life(*this);
    const bool allowed = value == m_tabIndex || m_approved || CanChange(value);
    if (!life.Stands() || !allowed)
        return;
    const bool changed = value != m_tabIndex;
    m_tabIndex = value;
    TKvTabLayout& layout = Layout();
    bool scrolled = false;
    if (!layout.NeedsScroller()) {
        if (changed)
            layout.RotateRows(value);
    } else if (value < layout.FirstShown()) {
        layout.SetFirstShown(value);
        scrolled = true;
    } else {
        while (layout.FirstShown() < value && !layout.WhollyShown(value)) {
            layout.SetFirstShown(layout.FirstShown() + 1);
            scrolled = true;
        }
    }
    if (scrolled || changed) {
        m_regions.Clear();
        RepaintTabs();
        if (m_scroller != nullptr)
            m_scroller->Invalidate();
    }
    if (changed && !(Outlives([this] { Change(); }) && Outlives([this] { PageChange(); })))
        return;
    // The buttons show whether there is a selection to close or list.
    if (m_closeButton != nullptr)
        m_closeButton->Invalidate();
    if (m_menuButton != nullptr)
        m_menuButton->Invalidate();
}

void TKvCustomTabControl::ScrollTabs(bool forward)
{
    TKvTabLayout& layout = Layout();
    const int old = layout.FirstShown();
    const int count = m_tabList.Count();
    int first = -1;
    int last = -1;
    for (int i = 0; i < count; ++i) {
        if (m_tabList.Item(i)->Visible) {
            first = first < 0 ? i : first;
            last = i;
        }
    }
    bool moved = false;
    if (forward && old < count - 1 && last >= 0 && !layout.WhollyShown(last)) {
        int next = old;
        do
            layout.SetFirstShown(++next);
        while (next < count && !layout.WhollyShown(next));
        moved = next < count;
    } else if (!forward && old > 0 && first >= 0 && !layout.WhollyShown(first)) {
        int next = old;
        do
            layout.SetFirstShown(--next);
        while (next >= 0 && !layout.WhollyShown(next));
        moved = next >= 0;
    }
    if (!moved) {
        layout.SetFirstShown(old);
    } else {
        m_regions.Clear();
        RepaintTabs();
        if (m_scroller != nullptr)
            m_scroller->Invalidate();
    }
    m_onScrolledTabs(this);
}

void TKvCustomTabControl::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case WM_ERASEBKGND:
        message.Result = 1;
        return;
    case WM_TIMER:
        if (message.WParam != HoverTimerId)
            break;
        HoverTick();
        return;
    case CM_DIALOGCHAR:
        if (SelectByMnemonic(static_cast<WORD>(message.WParam))) {
            message.Result = 1;
            return;
        }
        break;
    case WM_LBUTTONUP:
        // The drop comes before the release lets the capture go, which would end the drag.
        if (m_tabDragging)
            DropTab(GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
        break;
    case WM_CANCELMODE:
    case WM_CAPTURECHANGED:
        if (m_tabDragging)
            EndTabDrag();
        break;
    case WM_GETDLGCODE:
        message.Result = DLGC_WANTARROWS;
        return;
    case WM_SIZE:
        TCustomControl::Dispatch(message);
        SetLayoutDirty();
        return;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        RepaintTabs();
        break;
    case CM_FONTCHANGED:
        SetLayoutDirty();
        break;
    case CM_PARENTCOLORCHANGED:
        TCustomControl::Dispatch(message);
        if (m_parentBackgroundColor && Parent() != nullptr) {
            m_backgroundColor = Parent()->Color();
            RepaintTabs();
        }
        return;
    default:
        break;
    }
    TCustomControl::Dispatch(message);
}

// ---- Life cycle ----------------------------------------------------------------------------------

void TKvCustomTabControl::Loaded()
{
    TCustomControl::Loaded();
    m_ownHint = Hint();
    m_layoutDirty = true;
    // Whatever the form data stored, a loaded control starts on its first tab.
    constexpr int DefaultTabIndex = 0;
    m_tabIndex = -1;
    SetTabIndex(DefaultTabIndex);
}

void TKvCustomTabControl::DefineProperties(TFiler& filer)
{
    TCustomControl::DefineProperties(filer);
    filer.DefineProperty(
        "FixedDimension", [this](TReader& reader) { m_fixedDimension = reader.ReadInteger(); },
        [this](TWriter& writer) { writer.WriteInteger(m_fixedDimension); }, true);
}
