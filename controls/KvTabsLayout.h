#pragma once

#include "controls/KvTabs.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The geometry of the tab control. Every tab is placed in one orientation-free frame, tab space,
// as if the tabs stood on top of the card: x runs along the strip in the direction of the tab
// sequence and y across it from the strip's outer edge (0) toward the card; right and bottom are
// inclusive. Only the mapping to the control's coordinates knows the orientation and sequence.

namespace controls::detail {

// The caption as drawn: the first "&" goes, "&&" is one "&", a trailing "&" stays.
[[nodiscard]] std::string WithoutMnemonic(std::string_view line);

// A caption line as drawn in three pieces: the text before the mnemonic, the underlined
// character, and the rest; a line without a mnemonic is all `Before`.
struct TMnemonicPieces {
    std::string Before;
    std::string Marked;
    std::string After;
};
[[nodiscard]] TMnemonicPieces SplitMnemonic(std::string_view line);

// A caption's extent: lines split at CR-LF, each measured without its mnemonic; horizontal lines
// stack, vertical ones (measured turned by a quarter) lie side by side.
using TMeasureLine = std::function<SIZE(const std::string& line)>;
[[nodiscard]] SIZE MeasureCaption(std::string_view caption, bool verticalText, const TMeasureLine& measure);

// What of a tab is laid out: its image beside, above, under or behind its caption.
[[nodiscard]] SIZE CombineContent(SIZE image, SIZE caption, TKvImagePosition position, int imageMargin);

// The side of the close and menu buttons and the unit of the scroller; `letter` is "A" measured
// horizontally.
[[nodiscard]] int TabButtonSize(SIZE letter, bool horizontalStrip, bool verticalText, int tabWidth, int tabHeight,
                                int fixedDimension);

struct TKvTabLayoutSettings {
    TKvTabOrientation Orientation = toTop;
    TKvTabSequence Sequence = tsStandard;
    TKvTabStyle Style = tsSingleSlant;
    bool VerticalText = false;
    bool MultiLine = false;
    bool AlignTabs = false;
    bool CardVisible = true;
    bool ShowCardFrame = true;
    bool ShowFullFrame = true;
    bool ShowShadow = true;
    int Width = 300;
    int Height = 100;
    int Margin = 0;
    int RowIndent = 5;
    int RowOverlap = 5;
    int TabOverlap = -1;
    int TabWidth = 0;
    int TabHeight = 0;
    int CutCornerSize = 6;
    // 0 for a button that is not shown.
    int CloseButtonSize = 0;
    int MenuButtonSize = 0;
    int ButtonSize = 0;
    // The smallest content a tab has ("A", or "AAA" for round corners, in the tab font).
    SIZE MinimumContent{};
};

// Lays out the visible tabs of a list and answers where things are. The content sizes are one per
// tab of the list (captions and images already measured and combined).
class TKvTabLayout {
public:
    TKvTabLayout(const TKvTabLayoutSettings& settings, TKvTabDataList& tabs, std::vector<SIZE> contents);

    // Sizes, rows and places every visible tab and picks the first shown tab.
    void Layout();
    // Brings the selected tab's row next to the card, the other rows rotating with it.
    void RotateRows(int selected);

    [[nodiscard]] int FixedDimension() const { return m_fixedDimension; }
    [[nodiscard]] int RowCount() const { return m_rowCount; }
    [[nodiscard]] int FirstShown() const { return m_firstShown; }
    void SetFirstShown(int index) { m_firstShown = index; }
    [[nodiscard]] bool NeedsScroller() const;
    [[nodiscard]] bool WhollyShown(int index) const;

    [[nodiscard]] int Thickness() const;
    [[nodiscard]] TRect StripRect() const;
    [[nodiscard]] int StripLength() const;
    [[nodiscard]] int ScrollOffset() const;
    [[nodiscard]] TPoint Map(TPoint tabSpace) const;
    // The tab's rectangle in control coordinates (the selected round-cornered tab stands out).
    [[nodiscard]] TRect TabRect(int index, int selected) const;
    [[nodiscard]] TRect CardRect(int row) const;
    // Where the pages go.
    [[nodiscard]] TRect ClientArea() const;

    // Tab size from content size, by style; and how far neighbouring tabs overlap.
    [[nodiscard]] SIZE TabSize(SIZE content) const;
    [[nodiscard]] int Overlap(int extent) const;

private:
    [[nodiscard]] bool HorizontalStrip() const;
    [[nodiscard]] bool Visible(int index) const;
    [[nodiscard]] int FirstVisible() const;
    [[nodiscard]] int LastVisible() const;
    [[nodiscard]] int ButtonsRoom() const;
    [[nodiscard]] int AvailableLength(int rows) const;
    [[nodiscard]] int TabLength(int index, int available) const;
    [[nodiscard]] int CountRows() const;
    void Place();
    void Justify();
    void Grow(const std::vector<int>& row, int extra);
    void ShowFirstTabs();

    TKvTabLayoutSettings m_settings;
    TKvTabDataList& m_tabs;
    std::vector<SIZE> m_contents;
    SIZE m_largestContent{};
    int m_fixedDimension = 0;
    int m_rowCount = 1;
    int m_firstShown = -1;
};

// The tab the selection settles on after a layout: from `tabIndex` (at most the last tab) forward
// to the first tab `canChange` allows, else backward; -1 stays -1, and so does a list without a
// visible tab.
[[nodiscard]] int CorrectedTabIndex(int tabIndex, const TKvTabDataList& tabs, const std::function<bool(int)>& canChange);

} // namespace controls::detail
