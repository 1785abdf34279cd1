#include "skin/SkinRoutines.h"

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/rtl/Exceptions.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/gdi/TextUtf8.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

struct TRgb {
    int r, g, b;
};

TRgb Channels(TColor colour)
{
    const COLORREF rgb = ColorToRGB(colour);
    return {static_cast<int>(GetRValue(rgb)), static_cast<int>(GetGValue(rgb)), static_cast<int>(GetBValue(rgb))};
}

TColor FromChannels(int r, int g, int b)
{
    return static_cast<TColor>(RGB(static_cast<BYTE>(r), static_cast<BYTE>(g), static_cast<BYTE>(b)));
}

std::uint8_t* Row24(TBitmap& bitmap, int row)
{
    return static_cast<std::uint8_t*>(bitmap.ScanLine(row));
}

// Calls `visit` with each pixel's blue, green and red bytes.
template <class Visit>
void ForEachPixel24(TBitmap& bitmap, Visit visit)
{
    bitmap.SetPixelFormat(pf24bit);
    for (int y = 0; y < bitmap.Height(); ++y) {
        std::uint8_t* pixel = Row24(bitmap, y);
        for (int x = 0; x < bitmap.Width(); ++x, pixel += 3)
            visit(pixel);
    }
}

// The bitmap's pixels as 0x00RRGGBB, row by row from the top.
std::vector<std::uint32_t> ReadPixels32(TBitmap& bitmap)
{
    bitmap.SetPixelFormat(pf32bit);
    const int width = bitmap.Width();
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(bitmap.Height()));
    for (int y = 0; y < bitmap.Height(); ++y)
        std::memcpy(pixels.data() + static_cast<std::size_t>(y) * width, bitmap.ScanLine(y),
                    static_cast<std::size_t>(width) * 4);
    return pixels;
}

// Rebuilds the bitmap at the new size as 24 bits a pixel, taking pixel (x, y) from `source(x, y)`.
template <class Source>
void WritePixels24(TBitmap& bitmap, int width, int height, Source source)
{
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(width, height);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* pixel = Row24(bitmap, y);
        for (int x = 0; x < width; ++x, pixel += 3) {
            const std::uint32_t value = source(x, y);
            pixel[0] = static_cast<std::uint8_t>(value);
            pixel[1] = static_cast<std::uint8_t>(value >> 8);
            pixel[2] = static_cast<std::uint8_t>(value >> 16);
        }
    }
}

// A slot remembers what it was asked for: a descending gradient's last entry and a one-line
// gradient's only entry differ from the requested end points, so the entries cannot say.
struct TGradientSlot {
    int count = 0;
    TColor start = 0;
    TColor end = 0;
    TGradientTable table;
};

struct TGradientCache {
    std::array<TGradientSlot, GradientCacheSlots> slots;
    int next = 0;
};

TGradientCache& GradientCache()
{
    static TGradientCache cache;
    return cache;
}

void ComputeGradient(TGradientTable& table, int count, TColor start, TColor end)
{
    const TRgb from = Channels(start);
    const TRgb to = Channels(end);
    const TRgb delta{to.r - from.r, to.g - from.g, to.b - from.b};
    table.resize(static_cast<std::size_t>(count));
    if (count == 1) {
        table[0] = FromChannels(from.r + delta.r / 2, from.g + delta.g / 2, from.b + delta.b / 2);
        return;
    }
    const int m = count - 1;
    for (int i = 0; i < count; ++i) {
        table[static_cast<std::size_t>(i)] = FromChannels(from.r + (m / 2 + i * delta.r) / m,
                                                          from.g + (m / 2 + i * delta.g) / m,
                                                          from.b + (m / 2 + i * delta.b) / m);
    }
}

} // namespace

void ReplaceKeyColour(TBitmap& bitmap, TColor colour)
{
    const TRgb with = Channels(colour);
    ForEachPixel24(bitmap, [&](std::uint8_t* pixel) {
        if (pixel[0] == 255 && pixel[1] == 0 && pixel[2] == 255) {
            pixel[0] = static_cast<std::uint8_t>(with.b);
            pixel[1] = static_cast<std::uint8_t>(with.g);
            pixel[2] = static_cast<std::uint8_t>(with.r);
        }
    });
}

void MirrorBitmap(TBitmap& bitmap)
{
    const std::vector<std::uint32_t> pixels = ReadPixels32(bitmap);
    const int width = bitmap.Width();
    WritePixels24(bitmap, width, bitmap.Height(), [&](int x, int y) {
        return pixels[static_cast<std::size_t>(y) * width + static_cast<std::size_t>(width - 1 - x)];
    });
}

void FlipBitmap(TBitmap& bitmap)
{
    const std::vector<std::uint32_t> pixels = ReadPixels32(bitmap);
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    WritePixels24(bitmap, width, height, [&](int x, int y) {
        return pixels[static_cast<std::size_t>(height - 1 - y) * width + static_cast<std::size_t>(x)];
    });
}

void RotateLeft(TBitmap& bitmap)
{
    // Source (row r, column c) lands on (row oldWidth - 1 - c, column r).
    const std::vector<std::uint32_t> pixels = ReadPixels32(bitmap);
    const int oldWidth = bitmap.Width();
    WritePixels24(bitmap, bitmap.Height(), oldWidth, [&](int x, int y) {
        return pixels[static_cast<std::size_t>(x) * oldWidth + static_cast<std::size_t>(oldWidth - 1 - y)];
    });
}

void RotateRight(TBitmap& bitmap)
{
    // Source (row r, column c) lands on (row c, column oldHeight - 1 - r).
    const std::vector<std::uint32_t> pixels = ReadPixels32(bitmap);
    const int oldWidth = bitmap.Width();
    const int oldHeight = bitmap.Height();
    WritePixels24(bitmap, oldHeight, oldWidth, [&](int x, int y) {
        return pixels[static_cast<std::size_t>(oldHeight - 1 - x) * oldWidth + static_cast<std::size_t>(y)];
    });
}

TColor BlendColors(TColor c1, TColor c2, int share)
{
    const TRgb a = Channels(c1);
    const TRgb b = Channels(c2);
    const int scale = share < 100 ? 100 : 1000;
    const auto mix = [&](int first, int second) { return (second * (scale - share) + first * share + scale / 2) / scale; };
    return FromChannels(mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b));
}

const TGradientTable& GradientTable(int count, TColor start, TColor end)
{
    if (count < 1)
        throw EInvalidOperation("A gradient needs at least one line");
    TGradientCache& cache = GradientCache();
    for (int index = GradientCacheSlots - 1; index >= 0; --index) {
        const TGradientSlot& slot = cache.slots[static_cast<std::size_t>(index)];
        if (slot.count == count && slot.start == start && slot.end == end)
            return slot.table;
    }
    TGradientSlot& slot = cache.slots[static_cast<std::size_t>(cache.next)];
    cache.next = (cache.next + 1) % GradientCacheSlots;
    slot.count = count;
    slot.start = start;
    slot.end = end;
    ComputeGradient(slot.table, count, start, end);
    return slot.table;
}

void FillGradient(HDC dc, const TRect& rect, TColor start, bool vertical, TColor end)
{
    if (!RectVisible(dc, &rect))
        return;
    const TColor from = static_cast<TColor>(ColorToRGB(start));
    const TColor to = static_cast<TColor>(ColorToRGB(end));
    const int count = vertical ? rect.bottom - rect.top : rect.right - rect.left;
    if (count <= 0)
        return;
    RECT clip{};
    GetClipBox(dc, &clip);
    const int origin = vertical ? rect.top : rect.left;
    const int first = std::max(0, (vertical ? clip.top : clip.left) - origin);
    const int last = std::min(count, (vertical ? clip.bottom : clip.right) - origin);
    const TGradientTable& table = GradientTable(count, from, to);
    for (int i = first; i < last; ++i) {
        const RECT line = vertical ? RECT{rect.left, origin + i, rect.right, origin + i + 1}
                                   : RECT{origin + i, rect.top, origin + i + 1, rect.bottom};
        const GdiObject brush(CreateSolidBrush(static_cast<COLORREF>(table[static_cast<std::size_t>(i)])));
        FillRect(dc, &line, brush.Get());
    }
}

int ColourSaturation(TColor colour)
{
    const TRgb c = Channels(colour);
    const int high = std::max({c.r, c.g, c.b});
    if (high < 160)
        return 200;
    const int low = std::min({c.r, c.g, c.b});
    return static_cast<int>(std::nearbyint(static_cast<double>(high - low) / high * 255.0));
}

TSkinSystemFunctions& SkinSystem()
{
    static TSkinSystemFunctions functions{&::GetScrollBarInfo, &::TrackMouseEvent, true};
    return functions;
}

BOOL ScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO& info)
{
    const auto function = SkinSystem().GetScrollBarInfo;
    return function ? function(window, objectId, &info) : FALSE;
}

void TrackMouseLeave(HWND window)
{
    const auto function = SkinSystem().TrackMouseEvent;
    if (!function)
        return;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = window;
    function(&track);
}

std::u16string ToWideText(std::string_view text)
{
    return ToUtf16(text);
}

std::u16string WideTextPart(const WCHAR* text, int count)
{
    if (!text)
        return {};
    const std::u16string_view whole(text);
    if (count < 0)
        return std::u16string(whole);
    return std::u16string(whole.substr(0, static_cast<std::size_t>(count)));
}

int DrawTextAuto(HDC dc, const std::u16string& text, RECT& rect, UINT format)
{
    if (SkinSystem().IsNT)
        return DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
    const std::string narrow = ToUtf8(text).text;
    return DrawTextA(dc, narrow.c_str(), -1, &rect, format);
}
