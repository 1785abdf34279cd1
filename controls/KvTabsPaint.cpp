#include "controls/KvTabsControl.h"

#include <algorithm>

using controls::detail::TKvTabLayout;

namespace {

// Restores the device context saved for a clipped tab paint on every way out.
class TSavedDC {
public:
    explicit TSavedDC(HDC dc) : m_dc(dc), m_saved(SaveDC(dc))
    {
        if (m_saved == 0)
            throw EKvTabControlError(SKvSaveDCError);
    }
    TSavedDC(const TSavedDC&) = delete;
    TSavedDC& operator=(const TSavedDC&) = delete;
    ~TSavedDC() { (void)RestoreDC(m_dc, m_saved); }

private:
    HDC m_dc;
    int m_saved;
};

[[nodiscard]] std::size_t ShapePointCount(TKvTabStyle style, bool soft)
{
    switch (style) {
    case tsSingleSlant: return soft ? 6 : 5;
    case tsDoubleSlant: return soft ? 6 : 4;
    case tsCutCorner: return 5;
    case tsRoundCorners: return 6;
    case tsBackSlant: return soft ? 6 : 5;
    }
    return 0;
}

// Before the mnemonic, the underlined character, and the rest, each advancing the pen.
void DrawCaptionLine(TCanvas& canvas, std::string_view line, int x, int y)
{
    const controls::detail::TMnemonicPieces pieces = controls::detail::SplitMnemonic(line);
    canvas.TextOut(x, y, pieces.Before);
    if (pieces.Marked.empty())
        return;
    x += static_cast<int>(canvas.TextExtent(pieces.Before).cx);
    const TFontStyles plain = canvas.Font()->Style();
    TFontStyles underlined = plain;
    underlined.Include(fsUnderline);
    canvas.Font()->SetStyle(underlined);
    canvas.TextOut(x, y, pieces.Marked);
    x += static_cast<int>(canvas.TextExtent(pieces.Marked).cx);
    canvas.Font()->SetStyle(plain);
    canvas.TextOut(x, y, pieces.After);
}

} // namespace

// ---- Shapes --------------------------------------------------------------------------------------

std::vector<TPoint> TKvCustomTabControl::TabShape(const TKvTabLayout& layout, int index) const
{
    const TKvTabData& tab = *m_tabList.Item(index);
    TRect r = tab.Rect;
    const int indent = tab.Row * m_rowIndent * (m_tabSequence == tsReverse ? -1 : 1);
    r.left += indent;
    r.right += indent;
    if (m_tabStyle == tsRoundCorners && index == m_tabIndex) {
        r.left -= 2;
        r.right += 2;
        r.top -= 2;
    }
    const int l = r.left;
    const int t = r.top;
    const int rr = r.right;
    const int b = r.bottom;
    const int h = b - t;
    const int k = m_cutCornerSize;
    const bool soft = m_softCorners;
    std::vector<TPoint> points;
    switch (m_tabStyle) {
    case tsSingleSlant:
        points = soft ? std::vector<TPoint>{{l, b}, {l, t + 2}, {l + 2, t}, {rr - h - 4, t}, {rr - h + 2, t + 2}, {rr, b}}
                      : std::vector<TPoint>{{l, b}, {l, t + 2}, {l + 2, t}, {rr - h, t}, {rr, b}};
        break;
    case tsDoubleSlant:
        points = soft ? std::vector<TPoint>{{l, b}, {l + h - 2, t + 2}, {l + h + 4, t}, {rr - h - 4, t},
                                            {rr - h + 2, t + 2}, {rr, b}}
                      : std::vector<TPoint>{{l, b}, {l + h, t}, {rr - h, t}, {rr, b}};
        break;
    case tsCutCorner:
        points = {{l, b}, {l, t}, {rr - k, t}, {rr, t + k}, {rr, b}};
        break;
    case tsRoundCorners:
        points = {{l, b}, {l, t + 2}, {l + 2, t}, {rr - 2, t}, {rr, t + 2}, {rr, b}};
        break;
    case tsBackSlant:
        points = soft ? std::vector<TPoint>{{l, b}, {l + h - 2, t + 2}, {l + h + 4, t}, {rr - 2, t}, {rr, t + 2}, {rr, b}}
                      : std::vector<TPoint>{{l, b}, {l + h, t}, {rr - 2, t}, {rr, t + 2}, {rr, b}};
        break;
    }
    if (points.size() != ShapePointCount(m_tabStyle, soft))
        throw EKvTabControlError(SKvTabShapePointsError);
    for (TPoint& point : points)
        point = layout.Map(point);
    return points;
}

HRGN TKvCustomTabControl::TabRegion(const TKvTabLayout& layout, int index)
{
    const TRect rect = layout.TabRect(index, m_tabIndex);
    if (const HRGN cached = m_regions.Find(rect))
        return cached;
    const std::vector<TPoint> points = TabShape(layout, index);
    if (points.size() < 3)
        return nullptr;
    const HRGN region = CreatePolygonRgn(points.data(), static_cast<int>(points.size()), ALTERNATE);
    if (region == nullptr)
        throw EKvTabControlError(SKvCreateRegionError);
    m_regions.Add(rect, region);
    return region;
}

// ---- Painting ------------------------------------------------------------------------------------

void TKvCustomTabControl::Paint()
{
    TKvTabLayout& layout = Layout();
    TBitmap image;
    image.SetSize(Width(), Height());
    TCanvas& canvas = *image.Canvas();
    canvas.Font()->Assign(Font());
    const TRect whole{0, 0, Width(), Height()};
    bool handled = false;
    PaintBackground(canvas, whole, handled);
    if (!handled && m_transparent) {
        PaintParentBackground(*this, canvas.Handle(), false);
    } else if (!handled) {
        canvas.Brush()->SetColor(m_backgroundColor);
        canvas.FillRect(whole);
    }
    PlaceScroller(layout);
    if (m_scroller != nullptr)
        m_scroller->Invalidate();
    DrawTabsAndCards(canvas, layout);
    Canvas()->Draw(0, 0, &image);
}

void TKvCustomTabControl::DrawTabsAndCards(TCanvas& canvas, const TKvTabLayout& layout)
{
    const int count = m_tabList.Count();
    int first = -1;
    for (int i = 0; i < count && first < 0; ++i)
        if (m_tabList.Item(i)->Visible && m_tabList.Item(i)->Row == 0)
            first = i;
    int c = m_rowCount - 1;
    if (count > 0 && first >= 0) {
        // Outer rows first and, within a row, later tabs under earlier ones.
        int index = first == 0 ? count - 1 : first - 1;
        for (int n = 0; n < count; ++n, index = index == 0 ? count - 1 : index - 1) {
            const TKvTabData& tab = *m_tabList.Item(index);
            if (!tab.Visible || !layout.WhollyShown(index) || index < layout.FirstShown() || index == m_tabIndex)
                continue;
            if (tab.Row < c && c > 0) {
                DrawCard(canvas, layout, c);
                c = tab.Row;
            }
            DrawTab(canvas, layout, index);
        }
    }
    if (c == 1)
        DrawCard(canvas, layout, 1);
    if (m_tabIndex >= 0 && m_tabIndex >= layout.FirstShown() && layout.WhollyShown(m_tabIndex))
        DrawTab(canvas, layout, m_tabIndex);
    DrawCard(canvas, layout, 0);
}

void TKvCustomTabControl::DrawTab(TCanvas& canvas, const TKvTabLayout& layout, int index)
{
    const TRect rect = layout.TabRect(index, m_tabIndex);
    if (const HRGN region = TabRegion(layout, index)) {
        const HDC dc = canvas.Handle();
        const TSavedDC saved(dc);
        (void)SelectClipRgn(dc, region);
        FillTab(canvas, index, rect);
        DrawCaption(canvas, index, rect);
    }
    const std::vector<TPoint> points = TabShape(layout, index);
    canvas.Pen()->SetColor(FrameColor());
    canvas.MoveTo(points.front().x, points.front().y);
    for (std::size_t i = 1; i < points.size(); ++i)
        canvas.LineTo(points[i].x, points[i].y);
}

void TKvCustomTabControl::FillTab(TCanvas& canvas, int index, const TRect& rect)
{
    bool handled = false;
    PaintTabBackground(canvas, index, rect, handled);
    if (handled)
        return;
    const TKvTabData& tab = *m_tabList.Item(index);
    TColor selectedFill = Color();
    TColor unselected = m_tabColors->Unselected();
    TColor shade = m_tabColors->Shadow();
    if (m_useColoredTabs) {
        selectedFill = tab.Color;
        unselected = tab.Color;
        shade = ColorToRGB(tab.Color) == RGB(255, 255, 255) ? clBtnFace : DarkenLuminance(tab.Color, 30);
    }
    const TRect fill{rect.left, rect.top, rect.right + 1, rect.bottom + 1};
    if (index != m_tabIndex && m_useGradients && FullColourScreen) {
        const bool vertical = m_tabOrientation == toLeft || m_tabOrientation == toRight;
        const bool fromShade = m_tabOrientation == toBottom || m_tabOrientation == toRight;
        DrawGradientRect(canvas, fill, vertical ? gdVerticalEnd : gdHorizontalEnd, fromShade ? shade : unselected,
                         fromShade ? unselected : shade, 1);
        return;
    }
    canvas.Brush()->SetColor(index == m_tabIndex ? selectedFill : unselected);
    canvas.FillRect(fill);
}

void TKvCustomTabControl::DrawCaption(TCanvas& canvas, int index, const TRect& rect)
{
    const TKvTabData& tab = *m_tabList.Item(index);
    TColor color = m_textColors->Unselected();
    if (!tab.Enabled)
        color = m_textColors->Disabled();
    else if (index == m_tabIndex)
        color = m_textColors->Selected();
    canvas.Font()->SetColor(color);
    const TFontStyles plain = canvas.Font()->Style();
    if (index == m_tabIndex && m_boldCurrentTab) {
        TFontStyles bold = plain;
        bold.Include(fsBold);
        canvas.Font()->SetStyle(bold);
    }
    (void)SetBkMode(canvas.Handle(), TRANSPARENT);
    const SIZE block = controls::detail::MeasureCaption(tab.Caption, false,
                                                        [&](const std::string& line) { return canvas.TextExtent(line); });
    const int top = rect.top + (rect.bottom - rect.top + 1 - static_cast<int>(block.cy)) / 2;
    const int left = rect.left + (rect.right - rect.left + 1 - static_cast<int>(block.cx)) / 2;
    int y = top;
    std::size_t start = 0;
    while (start <= tab.Caption.size()) {
        const std::size_t end = tab.Caption.find("\r\n", start);
        const std::string_view line =
            std::string_view(tab.Caption).substr(start, end == std::string::npos ? end : end - start);
        const SIZE extent = canvas.TextExtent(controls::detail::WithoutMnemonic(line));
        DrawCaptionLine(canvas, line, rect.left + (rect.right - rect.left + 1 - static_cast<int>(extent.cx)) / 2, y);
        y += static_cast<int>(extent.cy);
        if (end == std::string::npos)
            break;
        start = end + 2;
    }
    if (index == m_tabIndex && m_showFocusRect && Focused()) {
        // Round the text, one pixel wider on each side and one lower.
        canvas.DrawFocusRect(TRect{left - 1, top, left + static_cast<int>(block.cx) + 1, y + 1});
    }
    canvas.Font()->SetStyle(plain);
}

// ---- Cards ---------------------------------------------------------------------------------------

void TKvCustomTabControl::DrawCard(TCanvas& canvas, const TKvTabLayout& layout, int row)
{
    const TRect card = layout.CardRect(row);
    if (card.right <= card.left && card.bottom <= card.top)
        return;
    TRect fill = card;
    if (m_cardVisible) {
        ++fill.right;
        ++fill.bottom;
    }
    bool handled = false;
    PaintCardBackground(canvas, row, fill, handled);
    if (!handled) {
        const bool colored = m_useColoredTabs && m_tabIndex >= 0;
        canvas.Brush()->SetColor(colored ? m_tabList.Item(m_tabIndex)->Color : Color());
        canvas.FillRect(fill);
    }
    if (m_showCardFrame)
        DrawCardFrame(canvas, layout, row, card);
}

void TKvCustomTabControl::DrawCardFrame(TCanvas& canvas, const TKvTabLayout& layout, int row, const TRect& card)
{
    const bool shadow = m_tabOrientation == toTop && m_tabSequence == tsStandard && m_showShadow;
    TRect frame = card;
    if (shadow) {
        frame.right -= 2;
        frame.bottom -= 2;
    }
    // The corners in order, starting with the two of the side along the strip.
    TPoint corners[4]{};
    switch (m_tabOrientation) {
    case toTop:
        corners[0] = {frame.left, frame.top};
        corners[1] = {frame.right, frame.top};
        corners[2] = {frame.right, frame.bottom};
        corners[3] = {frame.left, frame.bottom};
        break;
    case toBottom:
        corners[0] = {frame.right, frame.bottom};
        corners[1] = {frame.left, frame.bottom};
        corners[2] = {frame.left, frame.top};
        corners[3] = {frame.right, frame.top};
        break;
    case toLeft:
        corners[0] = {frame.left, frame.bottom};
        corners[1] = {frame.left, frame.top};
        corners[2] = {frame.right, frame.top};
        corners[3] = {frame.right, frame.bottom};
        break;
    case toRight:
        corners[0] = {frame.right, frame.top};
        corners[1] = {frame.right, frame.bottom};
        corners[2] = {frame.left, frame.bottom};
        corners[3] = {frame.left, frame.top};
        break;
    }
    canvas.Pen()->SetColor(FrameColor());
    const bool gap = row == 0 && m_tabIndex >= 0 && layout.WhollyShown(m_tabIndex) &&
                     m_tabIndex >= layout.FirstShown();
    if (gap) {
        // The selected tab opens into the card: the strip side stops at its two base corners.
        const std::vector<TPoint> shape = TabShape(layout, m_tabIndex);
        TPoint start = shape.front();
        TPoint end = shape.back();
        const auto distance = [&](const TPoint& p) {
            return std::abs(p.x - corners[0].x) + std::abs(p.y - corners[0].y);
        };
        if (distance(end) < distance(start))
            std::swap(start, end);
        // One pixel into the tab's base, so the frame meets its outline.
        const int dx = (corners[1].x > corners[0].x) - (corners[1].x < corners[0].x);
        const int dy = (corners[1].y > corners[0].y) - (corners[1].y < corners[0].y);
        canvas.MoveTo(corners[0].x, corners[0].y);
        canvas.LineTo(start.x + dx, start.y + dy);
        canvas.MoveTo(end.x, end.y);
        canvas.LineTo(corners[1].x, corners[1].y);
    } else {
        canvas.MoveTo(corners[0].x, corners[0].y);
        canvas.LineTo(corners[1].x, corners[1].y);
    }
    if (m_showFullFrame) {
        canvas.MoveTo(corners[1].x, corners[1].y);
        canvas.LineTo(corners[2].x, corners[2].y);
        canvas.LineTo(corners[3].x, corners[3].y);
        canvas.LineTo(corners[0].x, corners[0].y);
        canvas.SetPixels(corners[0].x, corners[0].y, FrameColor());
    }
    if (shadow && row == 0)
        DrawShadow(canvas, card);
}

void TKvCustomTabControl::DrawShadow(TCanvas& canvas, const TRect& card)
{
    // The shadow darkens whatever lies behind the control, not the control's own background.
    TBitmap behind;
    behind.SetSize(Width(), Height());
    PaintParentBackground(*this, behind.Canvas()->Handle(), false);
    const auto shade = [&](int x, int y, std::uint8_t weight) {
        canvas.SetPixels(x, y, MixColors(clBlack, behind.Canvas()->Pixels(x, y), weight));
    };
    const int l = card.left;
    const int t = card.top;
    const int r = card.right;
    const int b = card.bottom;
    for (int y = t + 1; y <= b - 1; ++y)
        shade(r - 1, y, 30);
    for (int x = l; x < r - 1; ++x)
        shade(x, b - 1, 30);
    for (int y = t; y <= b; ++y)
        shade(r, y, 15);
    shade(r - 1, t, 15);
    for (int x = l; x < r; ++x)
        shade(x, b, 15);
}
