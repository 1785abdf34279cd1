#include "controls/KvTabsControl.h"

#include <algorithm>
#include <array>

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

// Where the pen goes after a piece of text: along the line, which for turned text runs up the
// tab, or down it on the right side.
struct TPenStep {
    int Dx;
    int Dy;
};

// Before the mnemonic, the underlined character, and the rest, each advancing the pen.
void DrawCaptionLine(TCanvas& canvas, std::string_view line, TPoint pen, TPenStep step)
{
    const controls::detail::TMnemonicPieces pieces = controls::detail::SplitMnemonic(line);
    const auto draw = [&](const std::string& text) {
        canvas.TextOut(pen.x, pen.y, text);
        const int advance = static_cast<int>(canvas.TextExtent(text).cx);
        pen.x += step.Dx * advance;
        pen.y += step.Dy * advance;
    };
    draw(pieces.Before);
    if (pieces.Marked.empty())
        return;
    const TFontStyles plain = canvas.Font()->Style();
    TFontStyles underlined = plain;
    underlined.Include(fsUnderline);
    canvas.Font()->SetStyle(underlined);
    draw(pieces.Marked);
    canvas.Font()->SetStyle(plain);
    draw(pieces.After);
}

// Splits a caption at its CR-LF pairs.
[[nodiscard]] std::vector<std::string_view> CaptionLines(std::string_view caption)
{
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = caption.find("\r\n", start);
        lines.push_back(caption.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos)
            return lines;
        start = end + 2;
    }
}

// Where an extent goes in the room between `low` and `high` (inclusive).
[[nodiscard]] int Aligned(int low, int high, int extent, int alignment)
{
    switch (alignment) {
    case 0: return low;
    case 1: return low + (high - low + 1 - extent) / 2;
    default: return high + 1 - extent;
    }
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
    SizeToControl(image, *this);
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
    PlaceButtons(layout);
    InvalidateButtons();
    DrawTabsAndCards(canvas, layout);
    if (m_dropMarkerShown)
        DrawDropMarker(canvas);
    Canvas()->Draw(0, 0, &image);
}

// An arrow pointing at the target tab, left by two black triangles on a shadow-coloured band and
// inverted onto what is there.
void TKvCustomTabControl::DrawDropMarker(TCanvas& canvas)
{
    using Triangle = std::array<TPoint, 3>;
    static const std::array<Triangle, 2> Triangles[] = {
        {Triangle{{{0, 0}, {8, 8}, {0, 8}}}, Triangle{{{7, 8}, {15, 0}, {15, 8}}}},      // toTop
        {Triangle{{{1, 0}, {8, 0}, {8, 8}}}, Triangle{{{-1, 15}, {8, 7}, {8, 15}}}},     // toLeft
        {Triangle{{{-1, 8}, {-1, -1}, {8, -1}}}, Triangle{{{7, -1}, {15, 0}, {15, 8}}}}, // toBottom
        {Triangle{{{0, 0}, {7, 0}, {0, 7}}}, Triangle{{{0, 7}, {8, 15}, {0, 15}}}},      // toRight
    };
    const int w = m_dropMarker.right - m_dropMarker.left;
    const int h = m_dropMarker.bottom - m_dropMarker.top;
    TBitmap marker;
    marker.SetSize(w, h);
    TCanvas& mark = *marker.Canvas();
    mark.Brush()->SetColor(clBtnShadow);
    mark.FillRect(TRect{0, 0, w, h});
    mark.Brush()->SetColor(clBlack);
    mark.Pen()->SetColor(clBlack);
    for (const Triangle& triangle : Triangles[m_tabOrientation])
        mark.Polygon(triangle);
    (void)BitBlt(canvas.Handle(), m_dropMarker.left, m_dropMarker.top, w, h, mark.Handle(), 0, 0, SRCINVERT);
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
        DrawContent(canvas, layout, index);
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

// ---- Content -------------------------------------------------------------------------------------

TRect TKvCustomTabControl::ContentRect(const TKvTabLayout& layout, int index) const
{
    TRect r = layout.TabRect(index, m_tabIndex);
    const bool horizontal = HorizontalStrip();
    const int ov = layout.Overlap(horizontal ? r.bottom - r.top : r.right - r.left);
    const int k = m_cutCornerSize;
    const bool vertical = VerticalText();
    const auto shrink = [&r](int dx, int dy) { (void)InflateRect(&r, -dx, -dy); };
    const auto move = [&r](int dx, int dy) { (void)OffsetRect(&r, dx, dy); };
    const bool slanted = m_tabStyle == tsSingleSlant || m_tabStyle == tsBackSlant || m_tabStyle == tsDoubleSlant;
    if (m_tabStyle == tsRoundCorners) {
        vertical ? shrink(2, 4) : shrink(4, 2);
    } else if (horizontal && slanted) {
        if (m_tabStyle == tsDoubleSlant) {
            shrink(-1, 1);
            shrink(ov, 0);
            move(1, 0);
        } else {
            shrink(1, 1);
            const bool single = m_tabStyle == tsSingleSlant;
            (single ? r.right : r.left) += (single ? -1 : 1) * (2 * ov + 2);
            move(single ? 3 : -3, 0);
        }
        (m_tabOrientation == toTop ? r.top : r.bottom) += m_tabOrientation == toTop ? 2 : -2;
        if (m_tabOrientation == toBottom)
            move(0, m_tabStyle == tsBackSlant ? -1 : 1);
    } else if (horizontal) { // cut corner
        vertical ? shrink(4, 1) : shrink(k + 3, 1);
        const int cut = vertical ? k + 3 : 3;
        (m_tabOrientation == toTop ? r.top : r.bottom) += m_tabOrientation == toTop ? cut : -cut;
        if (m_tabOrientation == toBottom)
            move(0, 1);
    } else if (slanted) {
        const bool left = m_tabOrientation == toLeft;
        if (m_tabStyle == tsDoubleSlant) {
            shrink(1, -1);
            shrink(0, ov);
            r.bottom += 2;
            move(0, 1);
        } else {
            shrink(1, 1);
            // The slanted end: the top on the left side for single slants, the bottom for back slants.
            const bool topEnd = left == (m_tabStyle == tsSingleSlant);
            (topEnd ? r.top : r.bottom) += (topEnd ? 1 : -1) * (2 * ov + 2);
            move(0, topEnd ? -2 : 2);
            move(0, m_tabStyle == tsSingleSlant ? 1 : -1);
        }
        (left ? r.left : r.right) += left ? 2 : -2;
        if (!left)
            move(1, 0);
    } else { // cut corner on a vertical strip
        vertical ? shrink(1, k + 3) : shrink(1, 4);
        const int cut = vertical ? 5 : k + 5;
        const bool left = m_tabOrientation == toLeft;
        (left ? r.left : r.right) += left ? cut : -cut;
        if (!left)
            move(1, 0);
    }
    shrink(1, 1);
    return r;
}

void TKvCustomTabControl::DrawContent(TCanvas& canvas, const TKvTabLayout& layout, int index)
{
    const TRect content = ContentRect(layout, index);
    const SIZE image = ImageSize(index);
    const int margin = image.cx > 0 ? m_imageMargin : 0;
    TRect textRect = content;
    TRect imageRect = content;
    switch (m_imagePosition) {
    case ipLeft:
        textRect.left = content.left + image.cx + margin;
        imageRect.right = content.left + image.cx;
        break;
    case ipTop:
        textRect.top = content.top + image.cy + margin;
        imageRect.bottom = content.top + image.cy;
        break;
    case ipRight:
        textRect.right = content.right - image.cx - margin;
        imageRect.left = content.right - image.cx;
        break;
    case ipBottom:
        textRect.bottom = content.bottom - image.cy - margin;
        imageRect.top = content.bottom - image.cy;
        break;
    case ipBack:
    case ipStretch:
        break;
    }
    const TColor color = CaptionColor(index);
    const TKvTabData& tab = *m_tabList.Item(index);
    const bool hot = tab.Enabled && m_hotTrack && index == m_hotTab;
    if (m_hotTrack && m_hotTrackStyle == htsTab && tab.Enabled && (hot || index == m_tabIndex))
        DrawHotBar(canvas, index, layout.TabRect(index, m_tabIndex));
    if (image.cx > 0)
        DrawImage(canvas, index, imageRect);
    if (!tab.Caption.empty())
        DrawCaption(canvas, index, textRect, color);
    if (index == m_tabIndex && m_showFocusRect && Focused()) {
        TRect focus = textRect;
        if (HorizontalStrip())
            (void)InflateRect(&focus, 1, 0);
        else
            (void)InflateRect(&focus, 0, 1);
        if (HorizontalStrip())
            ++focus.bottom;
        if (m_tabStyle == tsRoundCorners) {
            static constexpr int In[] = {1, 2, 1, 2};
            switch (m_tabOrientation) {
            case toTop: focus.top += In[toTop]; break;
            case toLeft: focus.left += In[toLeft]; break;
            case toBottom: focus.bottom -= In[toBottom]; break;
            case toRight: focus.right -= In[toRight]; break;
            }
        }
        canvas.DrawFocusRect(focus);
    }
}

TColor TKvCustomTabControl::CaptionColor(int index)
{
    const TKvTabData& tab = *m_tabList.Item(index);
    TKvTextStyle style = tsUnselected;
    TColor color = m_textColors->Unselected();
    if (!tab.Enabled) {
        style = tsDisabled;
        color = m_textColors->Disabled();
    } else if (m_hotTrack && index == m_hotTab) {
        style = tsHotTrack;
        color = m_hotTrackStyle == htsText ? m_hotTrackColor : m_textColors->Selected();
    } else if (index == m_tabIndex) {
        style = tsSelected;
        color = m_textColors->Selected();
    }
    TColor asked = color;
    bool handled = false;
    GetTextColor(index, style, asked, handled);
    return handled ? asked : color;
}

// A band along the tab's outer edge: the hot tab's in the hot-track colour, the selected tab's in
// the highlight-bar colour.
void TKvCustomTabControl::DrawHotBar(TCanvas& canvas, int index, const TRect& rect)
{
    TRect bar = rect;
    (void)InflateRect(&bar, 1, 1);
    switch (m_tabOrientation) {
    case toTop: bar.bottom = bar.top + 6; break;
    case toLeft: bar.right = bar.left + 6; break;
    case toBottom: bar.top = bar.bottom - 4; break;
    case toRight: bar.left = bar.right - 4; break;
    }
    TColor color = m_tabColors->HighlightBar();
    if (index == m_hotTab)
        color = m_hotTrackColorType == htctActual ? m_hotTrackColor : OppositeHueColor(m_hotTrackColor, 140);
    const TColor saved = canvas.Brush()->Color();
    canvas.Brush()->SetColor(color);
    canvas.FillRect(bar);
    canvas.Brush()->SetColor(saved);
}

void TKvCustomTabControl::DrawImage(TCanvas& canvas, int index, const TRect& rect)
{
    const TKvTabData& tab = *m_tabList.Item(index);
    const bool ownDisabledImage = tab.DisabledImageIndex != -1;
    const int image = !tab.Enabled && ownDisabledImage ? tab.DisabledImageIndex : tab.ImageIndex;
    const bool greyed = !tab.Enabled && !ownDisabledImage;
    if (m_imagePosition == ipStretch) {
        TBitmap picture;
        picture.SetSize(m_images->Width(), m_images->Height());
        m_images->Draw(picture.Canvas(), 0, 0, image, !greyed);
        canvas.StretchDraw(TRect{rect.left, rect.top, rect.right + 1, rect.bottom + 1}, &picture);
        return;
    }
    const int x = Aligned(rect.left, rect.right, m_images->Width(), m_imageAlignment);
    const int y = Aligned(rect.top, rect.bottom, m_images->Height(), m_imageAlignmentVertical);
    m_images->Draw(&canvas, x, y, image, !greyed);
}

void TKvCustomTabControl::SelectTabFont(TCanvas& canvas, bool bold) const
{
    canvas.Font()->Assign(Font());
    if (bold) {
        TFontStyles style = canvas.Font()->Style();
        style.Include(fsBold);
        canvas.Font()->SetStyle(style);
    }
    if (VerticalText())
        canvas.Font()->SetOrientation(m_tabOrientation == toRight ? 2700 : 900);
}

void TKvCustomTabControl::DrawCaption(TCanvas& canvas, int index, const TRect& rect, TColor color)
{
    const TKvTabData& tab = *m_tabList.Item(index);
    SelectTabFont(canvas, index == m_tabIndex && m_boldCurrentTab);
    canvas.Font()->SetColor(color);
    (void)SetBkMode(canvas.Handle(), TRANSPARENT);
    TBitmap measuring;
    measuring.SetSize(1, 1);
    measuring.Canvas()->Font()->Assign(canvas.Font());
    measuring.Canvas()->Font()->SetOrientation(0);
    const auto extent = [&](std::string_view line) {
        return measuring.Canvas()->TextExtent(controls::detail::WithoutMnemonic(line));
    };
    const SIZE block = controls::detail::MeasureCaption(tab.Caption, VerticalText(),
                                                        [&](const std::string& line) { return extent(line); });
    const std::vector<std::string_view> lines = CaptionLines(tab.Caption);
    if (!VerticalText()) {
        int y = Aligned(rect.top, rect.bottom, static_cast<int>(block.cy), m_textAlignmentVertical);
        for (const std::string_view line : lines) {
            const SIZE size = extent(line);
            const int x = Aligned(rect.left, rect.right, static_cast<int>(size.cx), m_textAlignment);
            DrawCaptionLine(canvas, line, TPoint{x, y}, TPenStep{1, 0});
            y += static_cast<int>(size.cy);
        }
        return;
    }
    // Turned text: the lines lie side by side, read bottom to top, or top to bottom on the right.
    const bool right = m_tabOrientation == toRight;
    int alignment = m_textAlignment;
    if (right)
        alignment = 2 - alignment;
    const int blockLeft = Aligned(rect.left, rect.right, static_cast<int>(block.cx), alignment);
    int x = right ? blockLeft + static_cast<int>(block.cx) : blockLeft;
    for (const std::string_view line : lines) {
        const SIZE size = extent(line);
        const int length = static_cast<int>(size.cx);
        const int start = Aligned(rect.top, rect.bottom, length, m_textAlignmentVertical);
        if (right) {
            DrawCaptionLine(canvas, line, TPoint{x, start}, TPenStep{0, 1});
            x -= static_cast<int>(size.cy);
        } else {
            DrawCaptionLine(canvas, line, TPoint{x, start + length}, TPenStep{0, -1});
            x += static_cast<int>(size.cy);
        }
    }
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
    SizeToControl(behind, *this);
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
