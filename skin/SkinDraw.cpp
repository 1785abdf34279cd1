#include "skin/SkinDraw.h"

#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

// Nothing to draw: no area to draw on, or no picture to draw from.
bool NothingToDraw(const RECT& r, const TBitmap& bitmap) { return Width(r) <= 0 || Height(r) <= 0 || bitmap.Empty(); }

HDC DcOf(TBitmap& bitmap) { return bitmap.Canvas()->Handle(); }

std::unique_ptr<TBitmap> NewBitmap(int width, int height)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(std::max(width, 0), std::max(height, 0));
    if (!bitmap->Empty())
        SetStretchBltMode(DcOf(*bitmap), COLORONCOLOR);
    return bitmap;
}

// Copies source part (x, y, w, h) of `source` onto (dx, dy, dw, dh) of `dest` when both have an
// area.
void StretchPart(HDC dest, int dx, int dy, int dw, int dh, HDC source, int x, int y, int w, int h)
{
    if (dw > 0 && dh > 0 && w > 0 && h > 0)
        StretchBlt(dest, dx, dy, dw, dh, source, x, y, w, h, SRCCOPY);
}

void Present(HDC dc, const TRect& rect, TBitmap& image, bool transparent)
{
    if (transparent)
        DrawTransparent(dc, rect, image, SkinKeyColour);
    else
        BitBlt(dc, rect.left, rect.top, Width(rect), Height(rect), DcOf(image), 0, 0, SRCCOPY);
}

void AddRun(std::vector<RECT>& batch, int y, int start, int end, int xOffset, int yOffset)
{
    if (batch.size() == batch.capacity())
        batch.reserve(batch.capacity() + 500);
    batch.push_back(RECT{start + xOffset, y + yOffset, end + xOffset, y + 1 + yOffset});
}

// Joins a batch of one-line rectangles to the region and empties the batch.
void FlushRuns(std::vector<RECT>& batch, HRGN result)
{
    if (batch.empty())
        return;
    std::vector<std::uint8_t> buffer(sizeof(RGNDATAHEADER) + batch.size() * sizeof(RECT));
    RGNDATAHEADER header{};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(batch.size());
    header.nRgnSize = static_cast<DWORD>(batch.size() * sizeof(RECT));
    header.rcBound = RECT{0, 0, 0, 0};
    std::memcpy(buffer.data(), &header, sizeof header);
    std::memcpy(buffer.data() + sizeof header, batch.data(), batch.size() * sizeof(RECT));
    const GdiObject part(
        ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), reinterpret_cast<const RGNDATA*>(buffer.data())));
    CombineRgn(result, result, part.Get(), RGN_OR);
    batch.clear();
}

struct TKeyRange {
    int low[3];
    int high[3];

    [[nodiscard]] bool Contains(const std::uint8_t* bgra) const
    {
        for (int c = 0; c < 3; ++c)
            if (bgra[c] < low[c] || bgra[c] > high[c])
                return false;
        return true;
    }
};

TKeyRange KeyRange(TColor key, int blueTolerance, int greenTolerance, int redTolerance)
{
    const COLORREF rgb = ColorToRGB(key);
    const int value[3] = {GetBValue(rgb), GetGValue(rgb), GetRValue(rgb)};
    const int tolerance[3] = {blueTolerance, greenTolerance, redTolerance};
    TKeyRange range{};
    for (int c = 0; c < 3; ++c) {
        range.low[c] = value[c];
        range.high[c] = std::min(255, value[c] + std::max(tolerance[c], 0));
    }
    return range;
}

} // namespace

RECT SkinFrameRect(const TBitmap& bitmap, bool vertical, int count, int index)
{
    const int frames = std::max(count, 1);
    const int frame = std::clamp(index, 1, frames);
    if (vertical) {
        const int height = bitmap.Height() / frames;
        return RECT{0, (frame - 1) * height, bitmap.Width(), frame * height};
    }
    const int width = bitmap.Width() / frames;
    return RECT{(frame - 1) * width, 0, frame * width, bitmap.Height()};
}

std::unique_ptr<TBitmap> BuildElementBitmap(const TRect& target, TBitmap& bitmap, const TSkinMargins& margins,
                                            bool vertical, bool tile, int count, int index)
{
    const RECT frame = SkinFrameRect(bitmap, vertical, count, index);
    const int fx = frame.left, fy = frame.top, fw = Width(frame), fh = Height(frame);
    const int w = Width(target), h = Height(target);
    auto result = NewBitmap(w, h);
    if (NothingToDraw(target, bitmap))
        return result;
    TSkinMargins m = margins;
    if (w < m.left + m.right)
        m.left = m.right = 0;
    if (h < m.top + m.bottom)
        m.top = m.bottom = 0;
    HDC dest = DcOf(*result);
    HDC src = DcOf(bitmap);
    const int innerW = w - m.left - m.right, innerH = h - m.top - m.bottom;
    const int srcInnerW = fw - m.left - m.right, srcInnerH = fh - m.top - m.bottom;
    const int right = w - m.right, bottom = h - m.bottom;
    const int srcRight = fx + fw - m.right, srcBottom = fy + fh - m.bottom;

    StretchPart(dest, 0, 0, m.left, m.top, src, fx, fy, m.left, m.top);
    StretchPart(dest, 0, bottom, m.left, m.bottom, src, fx, srcBottom, m.left, m.bottom);
    StretchPart(dest, right, 0, m.right, m.top, src, srcRight, fy, m.right, m.top);
    StretchPart(dest, 0, m.top, m.left, innerH, src, fx, fy + m.top, m.left, srcInnerH);
    StretchPart(dest, m.left, 0, innerW, m.top, src, fx + m.left, fy, srcInnerW, m.top);
    if (tile) {
        if (innerW > 0 && innerH > 0)
            TileBitmap(*result->Canvas(), RECT{m.left, m.top, right, bottom}, bitmap,
                       RECT{fx + m.left, fy + m.top, srcRight, srcBottom});
    } else {
        StretchPart(dest, m.left, m.top, innerW, innerH, src, fx + m.left, fy + m.top, srcInnerW, srcInnerH);
    }
    StretchPart(dest, right, bottom, m.right, m.bottom, src, srcRight, srcBottom, m.right, m.bottom);
    StretchPart(dest, right, m.top, m.right, innerH, src, srcRight, fy + m.top, m.right, srcInnerH);
    StretchPart(dest, m.left, bottom, innerW, m.bottom, src, fx + m.left, srcBottom, srcInnerW, m.bottom);
    return result;
}

void DrawElement(HDC dc, const TRect& rect, TBitmap& bitmap, bool vertical, bool tile, bool transparent, int count,
                 int index, const TSkinMargins& margins)
{
    if (NothingToDraw(rect, bitmap))
        return;
    const std::unique_ptr<TBitmap> image = BuildElementBitmap(rect, bitmap, margins, vertical, tile, count, index);
    Present(dc, rect, *image, transparent);
}

void DrawElementHorz(TCanvas& canvas, const TRect& rect, TBitmap& bitmap, bool vertical, bool transparent,
                     int count, int index, const TSkinMargins& margins)
{
    if (NothingToDraw(rect, bitmap))
        return;
    const RECT frame = SkinFrameRect(bitmap, vertical, count, index);
    const int w = Width(rect), h = Height(rect), fh = Height(frame);
    const int middle = Width(frame) - margins.left - margins.right;
    auto image = NewBitmap(w, h);
    HDC dest = DcOf(*image);
    HDC src = DcOf(bitmap);
    StretchPart(dest, 0, 0, margins.left, h, src, frame.left, frame.top, margins.left, fh);
    if (middle > 0) {
        for (int x = margins.left; x < w - margins.right; x += middle)
            StretchPart(dest, x, 0, middle, h, src, frame.left + margins.left, frame.top, middle, fh);
    }
    StretchPart(dest, w - margins.right, 0, margins.right, h, src, frame.right - margins.right, frame.top,
                margins.right, fh);
    Present(canvas.Handle(), rect, *image, transparent);
}

void DrawElementThreePart(HDC dc, const TRect& rect, TBitmap& bitmap, bool vertical, int count, int index,
                          const TSkinMargins& margins)
{
    if (NothingToDraw(rect, bitmap))
        return;
    const RECT frame = SkinFrameRect(bitmap, vertical, count, index);
    const int w = Width(rect), h = Height(rect), fw = Width(frame), fh = Height(frame);
    HDC src = DcOf(bitmap);
    if (w < fw) {
        StretchPart(dc, rect.left, rect.top, w, h, src, frame.left, frame.top, fw, fh);
        return;
    }
    const int l = margins.left, r = margins.right;
    StretchPart(dc, rect.left, rect.top, l, h, src, frame.left, frame.top, l, fh);
    StretchPart(dc, rect.left + l, rect.top, w - l - r, h, src, frame.left + l, frame.top, fw - l - r, fh);
    StretchPart(dc, rect.right - r, rect.top, r, h, src, frame.right - r, frame.top, r, fh);
}

void DrawElementFrame(HDC dc, const TRect& rect, TBitmap& bitmap, bool transparent, int count, int index)
{
    if (NothingToDraw(rect, bitmap))
        return;
    const RECT frame = SkinFrameRect(bitmap, false, count, index);
    auto image = NewBitmap(Width(rect), Height(rect));
    StretchPart(DcOf(*image), 0, 0, Width(rect), Height(rect), DcOf(bitmap), frame.left, frame.top, Width(frame),
                Height(frame));
    Present(dc, rect, *image, transparent);
}

void DrawElementFrameCentred(HDC dc, const TRect& rect, TBitmap& bitmap, bool transparent, int count, int index)
{
    if (bitmap.Empty())
        return;
    const RECT frame = SkinFrameRect(bitmap, false, count, index);
    const int fw = Width(frame), fh = Height(frame);
    auto image = NewBitmap(fw, fh);
    if (image->Empty())
        return;
    StretchPart(DcOf(*image), 0, 0, fw, fh, DcOf(bitmap), frame.left, frame.top, fw, fh);
    const int x = rect.left + (Width(rect) - fw) / 2;
    const int y = rect.top + (Height(rect) - fh) / 2;
    Present(dc, RECT{x, y, x + fw, y + fh}, *image, transparent);
}

void TileBitmap(TCanvas& canvas, const TRect& target, TBitmap& bitmap, const TRect& source)
{
    const int pw = Width(source), ph = Height(source);
    if (NothingToDraw(source, bitmap))
        return;
    auto part = NewBitmap(pw, ph);
    BitBlt(DcOf(*part), 0, 0, pw, ph, DcOf(bitmap), source.left, source.top, SRCCOPY);
    HDC dest = canvas.Handle();
    HDC src = DcOf(*part);
    for (int y = target.top; y < target.bottom; y += ph)
        for (int x = target.left; x < target.right; x += pw)
            BitBlt(dest, x, y, std::min(pw, target.right - x), std::min(ph, target.bottom - y), src, 0, 0, SRCCOPY);
}

void DrawTransparent(HDC dc, const TRect& rect, TBitmap& bitmap, TColor key)
{
    if (NothingToDraw(rect, bitmap))
        return;
    TBitmap masked;
    masked.Assign(&bitmap);
    masked.SetTransparentColor(key);
    HBITMAP mask = masked.MaskHandle();
    // Mask bits are set on the key colour: there the destination stays.
    MaskBlt(dc, rect.left, rect.top, Width(rect), Height(rect), DcOf(masked), 0, 0, mask, 0, 0,
            MAKEROP4(0x00AA0029, SRCCOPY));
}

HRGN RegionFromBitmap(TBitmap& bitmap, int xOffset, int yOffset, int blueTolerance, int greenTolerance,
                      int redTolerance, TColor key)
{
    constexpr std::size_t BatchSize = 2000;
    const TKeyRange range = KeyRange(key, blueTolerance, greenTolerance, redTolerance);
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    if (bitmap.Empty())
        return result;
    bitmap.SetPixelFormat(pf32bit);
    std::vector<RECT> batch;
    batch.reserve(500);
    for (int y = 0; y < bitmap.Height(); ++y) {
        const auto* row = static_cast<const std::uint8_t*>(bitmap.ScanLine(y));
        int x = 0;
        while (x < bitmap.Width()) {
            while (x < bitmap.Width() && range.Contains(row + 4 * x))
                ++x;
            const int start = x;
            while (x < bitmap.Width() && !range.Contains(row + 4 * x))
                ++x;
            if (x > start)
                AddRun(batch, y, start, x, xOffset, yOffset);
            if (batch.size() == BatchSize)
                FlushRuns(batch, result);
        }
    }
    FlushRuns(batch, result);
    return result;
}

namespace {

// The controls whose parent is painting for them just now, innermost last.
thread_local std::vector<const TControl*> ParentPaintsFor;

// Sends one paint message to the parent. While designing, a failing paint ends the whole
// background paint instead of reaching the designer: false then.
bool SendParentPaint(TControl& control, UINT message, HDC dc)
{
    const auto send = [&] { control.Parent()->Perform(message, reinterpret_cast<WPARAM>(dc)); };
    if (!control.ComponentState().Contains(csDesigning)) {
        send();
        return true;
    }
    try {
        send();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

void PaintControlBackground(TControl* control, HDC dc)
{
    if (!control || !control->Parent())
        return;
    if (std::find(ParentPaintsFor.begin(), ParentPaintsFor.end(), control) != ParentPaintsFor.end())
        return;
    const SavedDC saved(dc);
    (void)IntersectClipRect(dc, 0, 0, control->Width(), control->Height());
    (void)OffsetViewportOrgEx(dc, -control->Left(), -control->Top(), nullptr);
    ParentPaintsFor.push_back(control);
    struct TForget {
        ~TForget() { ParentPaintsFor.pop_back(); }
    } forget;
    if (SendParentPaint(*control, WM_ERASEBKGND, dc))
        (void)SendParentPaint(*control, WM_PAINT, dc);
}

std::string GetWindowClassName(HWND window)
{
    char name[101] = {};
    const int length = GetClassNameA(window, name, static_cast<int>(sizeof name));
    return std::string(name, static_cast<std::size_t>(std::max(length, 0)));
}

TBitmap& SkinWorkBitmap()
{
    static const std::unique_ptr<TBitmap> bitmap = [] {
        auto made = std::make_unique<TBitmap>();
        // An empty bitmap has no context to set the mode in.
        made->SetSize(1, 1);
        SetStretchBltMode(made->Canvas()->Handle(), COLORONCOLOR);
        return made;
    }();
    return *bitmap;
}

TStringList& SkinWorkList()
{
    static TStringList list;
    return list;
}
