#include "controls/KvTabsLayout.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace controls::detail {

namespace {

// A selected round-cornered tab stands out this far to both sides and outward; the strip holds
// that much room beyond its rows, and no more.
constexpr int SELECTED_ROUND_TAB_RISE = 2;

} // namespace

std::string WithoutMnemonic(std::string_view line)
{
    std::string text;
    bool removed = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const bool marker = line[i] == '&' && i + 1 < line.size();
        if (marker && line[i + 1] == '&') {
            text += '&';
            ++i;
        } else if (marker && !removed) {
            removed = true;
        } else {
            text += line[i];
        }
    }
    return text;
}

TMnemonicPieces SplitMnemonic(std::string_view line)
{
    TMnemonicPieces pieces;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const bool marker = line[i] == '&' && i + 1 < line.size();
        if (marker && line[i + 1] == '&') {
            pieces.Before += '&';
            ++i;
        } else if (marker) {
            pieces.Marked = std::string(1, line[i + 1]);
            pieces.After = WithoutMnemonic(line.substr(i + 2));
            return pieces;
        } else {
            pieces.Before += line[i];
        }
    }
    return pieces;
}

SIZE MeasureCaption(std::string_view caption, bool verticalText, const TMeasureLine& measure)
{
    SIZE total{0, 0};
    std::size_t start = 0;
    while (true) {
        const std::size_t end = caption.find("\r\n", start);
        const std::string_view line = caption.substr(start, end == std::string_view::npos ? end : end - start);
        SIZE extent = measure(WithoutMnemonic(line));
        if (extent.cx < 0 || extent.cy < 0)
            extent = SIZE{0, 0};
        if (verticalText) {
            total.cx += extent.cy;
            total.cy = std::max(total.cy, extent.cx);
        } else {
            total.cx = std::max(total.cx, extent.cx);
            total.cy += extent.cy;
        }
        if (end == std::string_view::npos)
            return total;
        start = end + 2;
    }
}

SIZE CombineContent(SIZE image, SIZE caption, TKvImagePosition position, int imageMargin)
{
    switch (position) {
    case ipLeft:
    case ipRight:
        return SIZE{imageMargin + image.cx + caption.cx, std::max(image.cy, caption.cy)};
    case ipTop:
    case ipBottom:
        return SIZE{std::max(image.cx, caption.cx), imageMargin + image.cy + caption.cy};
    case ipBack:
        return SIZE{std::max(image.cx, caption.cx), std::max(image.cy, caption.cy)};
    case ipStretch:
        break;
    }
    return caption;
}

int TabButtonSize(SIZE letter, bool horizontalStrip, bool verticalText, int tabWidth, int tabHeight,
                  int fixedDimension)
{
    const int size = letter.cy + 4 + (verticalText ? 2 : 0);
    const bool larger = horizontalStrip ? !verticalText && tabHeight >= 1 : verticalText && tabWidth >= 1;
    return larger ? std::max(size, fixedDimension - 2) : std::min(size, fixedDimension - 2);
}

// ---- Sizes ---------------------------------------------------------------------------------------

TKvTabLayout::TKvTabLayout(const TKvTabLayoutSettings& settings, TKvTabDataList& tabs, std::vector<SIZE> contents)
    : m_settings(settings), m_tabs(tabs), m_contents(std::move(contents))
{
    m_contents.resize(static_cast<std::size_t>(m_tabs.Count()), SIZE{0, 0});
}

bool TKvTabLayout::HorizontalStrip() const
{
    return m_settings.Orientation == toTop || m_settings.Orientation == toBottom;
}

bool TKvTabLayout::Visible(int index) const
{
    return index >= 0 && index < m_tabs.Count() && m_tabs.Item(index)->Visible;
}

int TKvTabLayout::FirstVisible() const
{
    for (int i = 0; i < m_tabs.Count(); ++i)
        if (Visible(i))
            return i;
    return -1;
}

int TKvTabLayout::LastVisible() const
{
    for (int i = m_tabs.Count() - 1; i >= 0; --i)
        if (Visible(i))
            return i;
    return -1;
}

int TKvTabLayout::Overlap(int extent) const
{
    switch (m_settings.Style) {
    case tsSingleSlant:
    case tsBackSlant:
        return extent / 2;
    case tsDoubleSlant:
        return extent;
    case tsCutCorner:
    case tsRoundCorners:
        break;
    }
    return m_settings.TabOverlap;
}

SIZE TKvTabLayout::TabSize(SIZE content) const
{
    const int w = static_cast<int>(content.cx);
    const int h = static_cast<int>(content.cy);
    const int k = m_settings.CutCornerSize;
    const bool across = HorizontalStrip();
    const bool vertical = m_settings.VerticalText;
    switch (m_settings.Style) {
    case tsSingleSlant:
    case tsBackSlant:
        if (across)
            return SIZE{2 * Overlap(h + 6) + (w + 2) + m_settings.TabHeight / 2 + 4, h + 6};
        return SIZE{w + 6, 2 * Overlap(w + 6) + (h + 2) + m_settings.TabHeight / 2 + 4};
    case tsDoubleSlant:
        if (across)
            return SIZE{2 * Overlap(h + 2) + (w + 2) + m_settings.TabHeight + 4, h + 6};
        return SIZE{w + 6, 2 * Overlap(w + 2) + (h + 2) + m_settings.TabHeight + 4};
    case tsCutCorner:
        if (across)
            return vertical ? SIZE{w + 10, h + k + 7} : SIZE{2 * k + w + 8, h + 7};
        return vertical ? SIZE{w + 7, 2 * k + h + 8} : SIZE{w + k + 7, h + 10};
    case tsRoundCorners:
        break;
    }
    return vertical ? SIZE{w + 6, h + 16} : SIZE{w + 16, h + 6};
}

// ---- Rows ----------------------------------------------------------------------------------------

int TKvTabLayout::StripLength() const
{
    const TRect strip = StripRect();
    return HorizontalStrip() ? strip.right - strip.left : strip.bottom - strip.top;
}

int TKvTabLayout::ButtonsRoom() const
{
    const int close = m_settings.CloseButtonSize > 0 ? m_settings.CloseButtonSize + 2 : 0;
    const int menu = m_settings.MenuButtonSize > 0 ? m_settings.MenuButtonSize + 2 : 0;
    return close + menu;
}

int TKvTabLayout::AvailableLength(int rows) const
{
    const int length = StripLength() - 2 * m_settings.Margin;
    if (m_settings.MultiLine)
        return length - (rows - 1) * m_settings.RowIndent;
    return length - ButtonsRoom() - (2 * m_settings.ButtonSize + 2);
}

int TKvTabLayout::TabLength(int index, int available) const
{
    SIZE content = m_contents[static_cast<std::size_t>(index)];
    if (HorizontalStrip())
        content.cy = std::max(content.cy, m_largestContent.cy);
    else
        content.cx = std::max(content.cx, m_largestContent.cx);
    SIZE size = TabSize(content);
    if (m_settings.TabWidth > 0)
        size.cx = m_settings.TabWidth;
    if (m_settings.TabHeight > 0)
        size.cy = m_settings.TabHeight;
    const int length = static_cast<int>(HorizontalStrip() ? size.cx : size.cy);
    return std::min(length, available - (m_settings.Style == tsRoundCorners ? 4 : 0));
}

int TKvTabLayout::CountRows() const
{
    if (!m_settings.MultiLine)
        return 1;
    const int margin = m_settings.Margin;
    const int step = Overlap(m_fixedDimension) - 1;
    const int last = LastVisible();
    // Every tab alone in its row fits whatever the indents; that bounds the passes.
    const int mostRows = 2 * m_tabs.Count() + 1;
    for (int rows = 1;; ++rows) {
        const int available = AvailableLength(rows);
        int row = 1;
        int x = margin;
        bool again = false;
        for (int i = 0; i < m_tabs.Count() && !again; ++i) {
            if (!Visible(i))
                continue;
            const int length = TabLength(i, available);
            if (x + length < available) {
                x += length - step;
            } else if (row < rows) {
                ++row;
                const bool emptyRow = x == margin;
                x = margin;
                if (!emptyRow)
                    --i;
            } else if ((x > margin || i != last) && rows < mostRows) {
                again = true;
            } else {
                x += length - step;
            }
        }
        if (!again)
            return row;
    }
}

void TKvTabLayout::Place()
{
    const bool reverse = m_settings.Sequence == tsReverse;
    const int margin = reverse ? -m_settings.Margin : m_settings.Margin;
    const int available = AvailableLength(m_rowCount);
    const int fixed = m_fixedDimension;
    const int overlap = Overlap(fixed);
    int x = margin;
    int y = Thickness() - fixed;
    int row = 0;
    const auto newRow = [&] {
        y += m_settings.RowOverlap - fixed;
        x = margin;
        ++row;
    };
    for (int i = 0; i < m_tabs.Count(); ++i) {
        if (!Visible(i))
            continue;
        const int length = TabLength(i, available);
        const bool full = reverse ? x - length <= -available : x + length >= available;
        bool rowEndsHere = false;
        if (m_settings.MultiLine && full) {
            if (x == margin)
                rowEndsHere = true;
            else
                newRow();
        }
        TKvTabData& tab = *m_tabs.Item(i);
        tab.Row = row;
        if (reverse) {
            tab.Rect = TRect{x - length, y, x, y + fixed};
            x += overlap - length - 1;
        } else {
            tab.Rect = TRect{x, y, x + length, y + fixed};
            x += length - overlap + 1;
        }
        if (rowEndsHere)
            newRow();
    }
    if (!reverse)
        return;
    const int shift = m_settings.MultiLine ? m_settings.Width : std::abs(x);
    for (int i = 0; i < m_tabs.Count(); ++i) {
        TRect& rect = m_tabs.Item(i)->Rect;
        rect.left += shift;
        rect.right += shift;
    }
}

void TKvTabLayout::Justify()
{
    const int fixedLength = HorizontalStrip() ? m_settings.TabWidth : m_settings.TabHeight;
    if (!m_settings.MultiLine || !m_settings.AlignTabs || fixedLength != 0)
        return;
    std::vector<int> row;
    const auto flush = [&] {
        if (row.empty())
            return;
        const TRect& first = m_tabs.Item(row.front())->Rect;
        const TRect& last = m_tabs.Item(row.back())->Rect;
        const int present = m_settings.Sequence == tsReverse ? first.right - last.left : last.right - first.left;
        const int extra = StripLength() - 2 * m_settings.Margin - (m_rowCount - 1) * m_settings.RowIndent - present -
                          (m_settings.Style == tsRoundCorners ? 4 : 0);
        if (extra >= 1)
            Grow(row, extra);
        row.clear();
    };
    for (int i = 0; i < m_tabs.Count(); ++i) {
        if (!Visible(i))
            continue;
        if (!row.empty() && m_tabs.Item(row.front())->Row != m_tabs.Item(i)->Row)
            flush();
        row.push_back(i);
    }
    flush();
}

void TKvTabLayout::Grow(const std::vector<int>& row, int extra)
{
    const int count = static_cast<int>(row.size());
    const bool reverse = m_settings.Sequence == tsReverse;
    int shift = 0;
    for (int n = 0; n < count; ++n) {
        const int growth = extra / count + (n < extra % count ? 1 : 0);
        TRect& rect = m_tabs.Item(row[static_cast<std::size_t>(n)])->Rect;
        if (reverse) {
            rect.right -= shift;
            rect.left -= shift + growth;
        } else {
            rect.left += shift;
            rect.right += shift + growth;
        }
        shift += growth;
    }
}

void TKvTabLayout::RotateRows(int selected)
{
    if (!m_settings.MultiLine || NeedsScroller() || !Visible(selected))
        return;
    int lastRow = 0;
    for (int i = 0; i < m_tabs.Count(); ++i)
        if (Visible(i))
            lastRow = std::max(lastRow, m_tabs.Item(i)->Row);
    std::vector<TRectClass> rowPlaces(static_cast<std::size_t>(lastRow + 1));
    std::vector<bool> known(rowPlaces.size(), false);
    for (int i = 0; i < m_tabs.Count(); ++i) {
        const TKvTabData& tab = *m_tabs.Item(i);
        const auto row = static_cast<std::size_t>(tab.Row);
        if (Visible(i) && !known[row]) {
            rowPlaces[row].Rect = tab.Rect;
            known[row] = true;
        }
    }
    const int turn = lastRow - m_tabs.Item(selected)->Row + 1;
    for (int i = 0; i < m_tabs.Count(); ++i) {
        if (!Visible(i))
            continue;
        TKvTabData& tab = *m_tabs.Item(i);
        tab.Row = (tab.Row + turn) % (lastRow + 1);
        const TRect& place = rowPlaces[static_cast<std::size_t>(tab.Row)].Rect;
        tab.Rect.top = place.top;
        tab.Rect.bottom = place.bottom;
    }
}

void TKvTabLayout::Layout()
{
    m_largestContent = SIZE{0, 0};
    SIZE largestTab{0, 0};
    bool any = false;
    for (int i = 0; i < m_tabs.Count(); ++i) {
        if (!Visible(i))
            continue;
        any = true;
        const SIZE content = m_contents[static_cast<std::size_t>(i)];
        m_largestContent.cx = std::max(m_largestContent.cx, content.cx);
        m_largestContent.cy = std::max(m_largestContent.cy, content.cy);
        const SIZE raised{std::max(content.cx, m_settings.MinimumContent.cx),
                          std::max(content.cy, m_settings.MinimumContent.cy)};
        const SIZE size = TabSize(raised);
        largestTab.cx = std::max(largestTab.cx, size.cx);
        largestTab.cy = std::max(largestTab.cy, size.cy);
    }
    if (!any)
        largestTab = TabSize(m_settings.MinimumContent);
    if (m_settings.TabWidth > 0)
        largestTab.cx = m_settings.TabWidth;
    if (m_settings.TabHeight > 0)
        largestTab.cy = m_settings.TabHeight;
    m_fixedDimension = static_cast<int>(HorizontalStrip() ? largestTab.cy : largestTab.cx);
    m_rowCount = CountRows();
    Place();
    Justify();
    ShowFirstTabs();
}

// ---- Scrolling -----------------------------------------------------------------------------------

bool TKvTabLayout::NeedsScroller() const
{
    if (m_settings.MultiLine)
        return false;
    const int end = m_settings.Sequence == tsReverse ? FirstVisible() : LastVisible();
    if (end < 0)
        return false;
    return m_tabs.Item(end)->Rect.right > StripLength() - 2 * m_settings.Margin - ButtonsRoom();
}

bool TKvTabLayout::WhollyShown(int index) const
{
    if (!Visible(index))
        return false;
    if (!NeedsScroller())
        return true;
    const int room = StripLength() - 2 * m_settings.ButtonSize - 2 * m_settings.Margin - ButtonsRoom();
    const int s = ScrollOffset();
    const TRect& rect = m_tabs.Item(index)->Rect;
    if (m_settings.Sequence == tsReverse)
        return rect.right <= s && s - rect.left <= room;
    return rect.left >= s && rect.right - s <= room;
}

void TKvTabLayout::ShowFirstTabs()
{
    const int first = FirstVisible();
    if (!NeedsScroller() || m_firstShown < 0) {
        m_firstShown = first;
        return;
    }
    const int old = m_firstShown;
    while (m_firstShown < m_tabs.Count() && !WhollyShown(m_firstShown))
        ++m_firstShown;
    if (m_firstShown < m_tabs.Count())
        return;
    m_firstShown = old - 1;
    while (m_firstShown >= 0 && !WhollyShown(m_firstShown))
        --m_firstShown;
    if (m_firstShown < 0)
        m_firstShown = first;
}

int TKvTabLayout::ScrollOffset() const
{
    if (m_firstShown < 0 || m_firstShown >= m_tabs.Count())
        return 0;
    const int round = m_settings.Style == tsRoundCorners ? 2 : 0;
    const TRect& rect = m_tabs.Item(m_firstShown)->Rect;
    if (m_settings.Sequence == tsReverse)
        return rect.right + m_settings.Margin + round;
    return rect.left - m_settings.Margin - round;
}

// ---- Control coordinates -------------------------------------------------------------------------

int TKvTabLayout::Thickness() const
{
    const bool round = m_settings.Style == tsRoundCorners;
    if (m_settings.CardVisible)
        return m_fixedDimension + (m_fixedDimension - m_settings.RowOverlap) * (m_rowCount - 1) +
               (round ? SELECTED_ROUND_TAB_RISE : 0);
    const bool farSide = m_settings.Orientation == toBottom || m_settings.Orientation == toRight;
    const int whole = HorizontalStrip() ? m_settings.Height - 1 : m_settings.Width - 1;
    return whole - (round && farSide ? 1 : 0);
}

TRect TKvTabLayout::StripRect() const
{
    const int w = m_settings.Width;
    const int h = m_settings.Height;
    const int t = Thickness();
    switch (m_settings.Orientation) {
    case toTop: {
        const bool shadow = m_settings.ShowShadow && m_settings.Sequence == tsStandard;
        return TRect{0, 0, w - 1 - (shadow ? 2 : 0), t};
    }
    case toLeft:
        return TRect{0, 0, t, h - 1};
    case toBottom:
        return TRect{0, h - 1 - t, w - 1, h - 1};
    case toRight:
        break;
    }
    return TRect{w - 1 - t, 0, w - 1, h - 1};
}

TPoint TKvTabLayout::Map(TPoint p) const
{
    const TRect r = StripRect();
    const int s = ScrollOffset();
    const auto x = static_cast<int>(p.x);
    const auto y = static_cast<int>(p.y);
    if (m_settings.Sequence == tsReverse) {
        switch (m_settings.Orientation) {
        case toTop: return TPoint{x + r.right - s, y + r.top};
        case toLeft: return TPoint{y + r.left, s + r.top - x};
        case toBottom: return TPoint{x + r.right - s, r.bottom - y};
        case toRight: return TPoint{r.right - y, r.bottom + x - s};
        }
    }
    switch (m_settings.Orientation) {
    case toTop: return TPoint{x + r.left - s, y + r.top};
    case toLeft: return TPoint{y + r.left, r.bottom + s - x};
    case toBottom: return TPoint{x + r.left - s, r.bottom - y};
    case toRight: break;
    }
    return TPoint{r.right - y, x + r.top - s};
}

TRect TKvTabLayout::TabRect(int index, int selected) const
{
    const TKvTabData& tab = *m_tabs.Item(index);
    TRect rect = tab.Rect;
    const int indent = tab.Row * m_settings.RowIndent * (m_settings.Sequence == tsReverse ? -1 : 1);
    rect.left += indent;
    rect.right += indent;
    if (m_settings.Style == tsRoundCorners && index == selected) {
        rect.left -= SELECTED_ROUND_TAB_RISE;
        rect.right += SELECTED_ROUND_TAB_RISE;
        rect.top -= SELECTED_ROUND_TAB_RISE;
    }
    const TPoint a = Map(TPoint{rect.left, rect.top});
    const TPoint b = Map(TPoint{rect.right, rect.bottom});
    return TRect{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

TRect TKvTabLayout::CardRect(int row) const
{
    const int w = m_settings.Width;
    const int h = m_settings.Height;
    if (FirstVisible() < 0 && m_settings.CardVisible)
        return TRect{0, 0, w - 1, h - 1};
    const int t = Thickness();
    const int out = row * (m_fixedDimension - m_settings.RowOverlap);
    int start = row * m_settings.RowIndent;
    int end = (m_rowCount - 1 - row) * m_settings.RowIndent;
    if (m_settings.Sequence == tsReverse)
        std::swap(start, end);
    TRect card{};
    switch (m_settings.Orientation) {
    case toTop: card = TRect{start, t - out, w - 1 - end, h - 1 - out}; break;
    case toBottom: card = TRect{start, out, w - 1 - end, h - 1 - t + out}; break;
    case toLeft: card = TRect{t - out, end, w - 1 - out, h - 1 - start}; break;
    case toRight: card = TRect{out, start, w - 1 - t + out, h - 1 - end}; break;
    }
    if (card.right < card.left || card.bottom < card.top)
        return TRect{card.left, card.top, card.left, card.top};
    if (!m_settings.CardVisible) {
        // Pushed beyond the control on the sides away from the tabs, so its frame is not seen.
        if (m_settings.Orientation != toRight)
            card.right += 3;
        if (m_settings.Orientation != toLeft)
            card.left -= 3;
        if (m_settings.Orientation != toTop)
            card.top -= 3;
        if (m_settings.Orientation != toBottom)
            card.bottom += 3;
    }
    return card;
}

TRect TKvTabLayout::ClientArea() const
{
    if (!m_settings.CardVisible)
        return TRect{-2, -2, -1, -1};
    TRect area = CardRect(0);
    const TKvTabOrientation orientation = m_settings.Orientation;
    if (m_settings.ShowCardFrame && m_settings.ShowFullFrame) {
        ++area.left;
        ++area.top;
        if (orientation == toTop && m_settings.Sequence == tsStandard && m_settings.ShowShadow) {
            area.right -= 2;
            area.bottom -= 2;
        }
        return area;
    }
    if (m_settings.ShowCardFrame) {
        if (orientation == toTop)
            ++area.top;
    } else if (!m_settings.ShowFullFrame) {
        if (orientation == toLeft)
            --area.left;
        else if (orientation == toBottom)
            ++area.bottom;
        else if (orientation == toRight)
            ++area.right;
    }
    ++area.right;
    ++area.bottom;
    return area;
}

// ---- Selection -----------------------------------------------------------------------------------

int CorrectedTabIndex(int tabIndex, const TKvTabDataList& tabs, const std::function<bool(int)>& canChange)
{
    const int count = tabs.Count();
    bool anyVisible = false;
    for (int i = 0; i < count; ++i)
        anyVisible = anyVisible || tabs.Item(i)->Visible;
    if (!anyVisible || tabIndex < 0)
        return tabIndex;
    // A list that shrank under the selection starts from its last tab, not past its end.
    const int start = std::min(tabIndex, count - 1);
    for (int i = start; i < count; ++i)
        if (canChange(i))
            return i;
    for (int i = start; i >= 0; --i)
        if (canChange(i))
            return i;
    return tabIndex;
}

} // namespace controls::detail
