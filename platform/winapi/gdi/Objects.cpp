#include "platform/winapi/gdi/Objects.h"

#include "platform/winapi/gdi/Bitmaps.h"
#include "platform/winapi/gdi/DeviceContext.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/kernel/WinError.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>

namespace detail = winapi_gdi::detail;

namespace winapi_gdi::detail {
// Weak: the font engine defines it when it is linked in.
[[gnu::weak]] std::shared_ptr<GdiHandleObject> CreateStockFont(int stockIndex);
} // namespace winapi_gdi::detail

namespace {

int CopyOut(const void* data, int dataSize, int size, void* buffer)
{
    if (!buffer)
        return dataSize;
    if (size < dataSize)
        return 0;
    std::memcpy(buffer, data, std::size_t(dataSize));
    return dataSize;
}

constexpr int StockCount = DC_PEN + 1;

std::shared_ptr<GdiHandleObject> MakeStock(int index)
{
    switch (index) {
    case WHITE_BRUSH: return std::make_shared<BrushObject>(BS_SOLID, RGB(255, 255, 255), 0);
    case LTGRAY_BRUSH: return std::make_shared<BrushObject>(BS_SOLID, RGB(192, 192, 192), 0);
    case GRAY_BRUSH: return std::make_shared<BrushObject>(BS_SOLID, RGB(128, 128, 128), 0);
    case DKGRAY_BRUSH: return std::make_shared<BrushObject>(BS_SOLID, RGB(64, 64, 64), 0);
    case BLACK_BRUSH: return std::make_shared<BrushObject>(BS_SOLID, RGB(0, 0, 0), 0);
    case NULL_BRUSH: return std::make_shared<BrushObject>(BS_NULL, 0, 0);
    case WHITE_PEN: return std::make_shared<PenObject>(PS_SOLID, 0, RGB(255, 255, 255), false);
    case BLACK_PEN: return std::make_shared<PenObject>(PS_SOLID, 0, RGB(0, 0, 0), false);
    case NULL_PEN: return std::make_shared<PenObject>(PS_NULL, 0, 0, false);
    case DEFAULT_PALETTE: {
        std::vector<PALETTEENTRY> entries;
        static const BYTE system[20][3] = {
            {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
            {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
            {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
            {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
        for (const auto& c : system)
            entries.push_back({c[0], c[1], c[2], 0});
        return std::make_shared<PaletteObject>(std::move(entries));
    }
    case DC_BRUSH: {
        auto brush = std::make_shared<BrushObject>(BS_SOLID, RGB(255, 255, 255), 0);
        brush->SetDcBrush();
        return brush;
    }
    case DC_PEN: {
        auto pen = std::make_shared<PenObject>(PS_SOLID, 0, RGB(0, 0, 0), false);
        pen->SetDcColor(true);
        return pen;
    }
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case ANSI_VAR_FONT:
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
    case SYSTEM_FIXED_FONT:
    case DEFAULT_GUI_FONT:
        return detail::CreateStockFont ? detail::CreateStockFont(index) : nullptr;
    default: return nullptr;
    }
}

struct StockTable {
    std::mutex mutex;
    std::array<HGDIOBJ, StockCount> handles{};
    HBITMAP defaultBitmap = nullptr;
};

StockTable& Stock()
{
    // Never destroyed: objects freed at program exit (the class library's Application and its
    // forms) still reach it after static destructors have begun.
    static StockTable& table = *new StockTable;
    return table;
}

} // namespace

PenObject::PenObject(UINT style, int width, COLORREF color, bool extended)
    : m_style(style), m_width(std::max(width, 0)), m_color(color), m_extended(extended)
{
}

int PenObject::Describe(int size, void* buffer) const
{
    if (m_extended) {
        EXTLOGPEN pen{};
        pen.elpPenStyle = m_style;
        pen.elpWidth = DWORD(m_width);
        pen.elpBrushStyle = BS_SOLID;
        pen.elpColor = m_color;
        return CopyOut(&pen, sizeof pen, size, buffer);
    }
    LOGPEN pen{m_style, {m_width, 0}, m_color};
    return CopyOut(&pen, sizeof pen, size, buffer);
}

BrushObject::BrushObject(UINT style, COLORREF color, int hatch) : m_style(style), m_color(color), m_hatch(hatch)
{
}

BrushObject::BrushObject(Surface pattern, bool monochrome)
    : m_style(BS_PATTERN), m_pattern(std::move(pattern)), m_monochrome(monochrome)
{
}

int BrushObject::Describe(int size, void* buffer) const
{
    LOGBRUSH brush{m_style, m_color, ULONG_PTR(m_hatch)};
    return CopyOut(&brush, sizeof brush, size, buffer);
}

int PaletteObject::Describe(int size, void* buffer) const
{
    const WORD count = WORD(entries.size());
    return CopyOut(&count, sizeof count, size, buffer);
}

UINT PaletteObject::NearestIndex(COLORREF color) const
{
    std::vector<RGBQUAD> quads;
    for (const PALETTEENTRY& e : entries)
        quads.push_back({e.peBlue, e.peGreen, e.peRed, 0});
    return UINT(NearestColorIndex(quads.data(), quads.size(), color));
}

std::size_t NearestColorIndex(const RGBQUAD* colors, std::size_t count, COLORREF color)
{
    std::size_t best = 0;
    long bestDistance = -1;
    for (std::size_t i = 0; i < count; ++i) {
        const long dr = long(colors[i].rgbRed) - GetRValue(color);
        const long dg = long(colors[i].rgbGreen) - GetGValue(color);
        const long db = long(colors[i].rgbBlue) - GetBValue(color);
        const long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
            if (distance == 0)
                break;
        }
    }
    return best;
}

HGDIOBJ GetStockObject(int index)
{
    if (index < 0 || index >= StockCount)
        return nullptr;
    StockTable& stock = Stock();
    std::lock_guard lock(stock.mutex);
    if (!stock.handles[std::size_t(index)]) {
        if (auto object = MakeStock(index))
            stock.handles[std::size_t(index)] = winapi_gdi::NewStockHandle(std::move(object));
    }
    return stock.handles[std::size_t(index)];
}

HBITMAP winapi_gdi::DefaultBitmap()
{
    StockTable& stock = Stock();
    std::lock_guard lock(stock.mutex);
    if (!stock.defaultBitmap)
        stock.defaultBitmap = static_cast<HBITMAP>(NewStockHandle(std::make_shared<BitmapObject>(1, 1, 1)));
    return stock.defaultBitmap;
}

BOOL DeleteObject(HGDIOBJ object)
{
    auto found = winapi_gdi::LookupGdiObject(object);
    if (!found || found->Type() == OBJ_DC || found->Type() == OBJ_MEMDC)
        return FALSE;
    return winapi_gdi::DeleteGdiHandle(object) ? TRUE : FALSE;
}

int GetObjectA(HGDIOBJ object, int size, LPVOID buffer)
{
    auto found = winapi_gdi::LookupGdiObject(object);
    return found ? found->Describe(size, buffer) : 0;
}

DWORD GetObjectType(HGDIOBJ object)
{
    auto found = winapi_gdi::LookupGdiObject(object);
    return found ? found->Type() : 0;
}

HPEN CreatePen(int style, int width, COLORREF color)
{
    if (style < PS_SOLID || style > PS_INSIDEFRAME) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // Styled pens are cosmetic: wider than one pixel they draw solid.
    if (width > 1 && style >= PS_DASH && style <= PS_DASHDOTDOT)
        style = PS_SOLID;
    return static_cast<HPEN>(winapi_gdi::NewGdiHandle(std::make_shared<PenObject>(UINT(style), width, color, false)));
}

HPEN CreatePenIndirect(const LOGPEN* logPen)
{
    if (!logPen)
        return nullptr;
    return CreatePen(int(logPen->lopnStyle), logPen->lopnWidth.x, logPen->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount, const DWORD*)
{
    if (!brush || styleCount != 0 || (style & PS_STYLE_MASK) == PS_USERSTYLE || brush->lbStyle != BS_SOLID) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // Cosmetic pens are one pixel wide whatever the width says.
    const int penWidth = (style & PS_TYPE_MASK) == PS_GEOMETRIC ? int(width) : 1;
    return static_cast<HPEN>(winapi_gdi::NewGdiHandle(std::make_shared<PenObject>(style, penWidth, brush->lbColor, true)));
}

HBRUSH CreateSolidBrush(COLORREF color)
{
    return static_cast<HBRUSH>(winapi_gdi::NewGdiHandle(std::make_shared<BrushObject>(BS_SOLID, color, 0)));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color)
{
    if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return static_cast<HBRUSH>(winapi_gdi::NewGdiHandle(std::make_shared<BrushObject>(BS_HATCHED, color, hatch)));
}

HBRUSH CreatePatternBrush(HBITMAP handle)
{
    auto bitmap = LookupBitmap(handle);
    if (!bitmap)
        return nullptr;
    Surface pattern(bitmap->Width(), bitmap->Height());
    Surface& pixels = bitmap->Pixels();
    for (int y = 0; y < bitmap->Height(); ++y)
        std::copy_n(pixels.Row(y), bitmap->Width(), pattern.Row(y));
    return static_cast<HBRUSH>(
        winapi_gdi::NewGdiHandle(std::make_shared<BrushObject>(std::move(pattern), bitmap->IsMonochrome())));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* logBrush)
{
    if (!logBrush)
        return nullptr;
    switch (logBrush->lbStyle) {
    case BS_SOLID: return CreateSolidBrush(logBrush->lbColor);
    case BS_NULL: return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_HATCHED: return CreateHatchBrush(int(logBrush->lbHatch), logBrush->lbColor);
    case BS_PATTERN: return CreatePatternBrush(reinterpret_cast<HBITMAP>(logBrush->lbHatch));
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}

HPALETTE CreatePalette(const LOGPALETTE* logPalette)
{
    if (!logPalette || logPalette->palVersion != 0x300 || logPalette->palNumEntries == 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::vector<PALETTEENTRY> entries(logPalette->palPalEntry, logPalette->palPalEntry + logPalette->palNumEntries);
    return static_cast<HPALETTE>(winapi_gdi::NewGdiHandle(std::make_shared<PaletteObject>(std::move(entries))));
}

UINT GetNearestPaletteIndex(HPALETTE handle, COLORREF color)
{
    auto palette = winapi_gdi::LookupGdi<PaletteObject>(handle);
    return palette ? palette->NearestIndex(color) : CLR_INVALID;
}

UINT GetPaletteEntries(HPALETTE handle, UINT start, UINT count, PALETTEENTRY* entries)
{
    auto palette = winapi_gdi::LookupGdi<PaletteObject>(handle);
    if (!palette)
        return 0;
    if (!entries)
        return UINT(palette->entries.size());
    if (start >= palette->entries.size())
        return 0;
    const UINT n = std::min<UINT>(count, UINT(palette->entries.size()) - start);
    std::copy_n(palette->entries.begin() + start, n, entries);
    return n;
}

UINT SetPaletteEntries(HPALETTE handle, UINT start, UINT count, const PALETTEENTRY* entries)
{
    auto palette = winapi_gdi::LookupGdi<PaletteObject>(handle);
    if (!palette || !entries || start >= palette->entries.size())
        return 0;
    const UINT n = std::min<UINT>(count, UINT(palette->entries.size()) - start);
    std::copy_n(entries, n, palette->entries.begin() + start);
    return n;
}

HPALETTE SelectPalette(HDC dc, HPALETTE handle, BOOL)
{
    auto context = LookupDC(dc);
    auto palette = winapi_gdi::LookupGdi<PaletteObject>(handle);
    if (!context || !palette)
        return nullptr;
    HPALETTE previous = static_cast<HPALETTE>(context->state.palette.Handle());
    context->state.palette = SelectionRef(palette);
    return previous;
}

UINT RealizePalette(HDC dc)
{
    // A true-colour screen has no hardware palette to change.
    return LookupDC(dc) ? 0 : GDI_ERROR;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ handle)
{
    auto context = LookupDC(dc);
    auto object = winapi_gdi::LookupGdiObject(handle);
    if (!context || !object)
        return nullptr;
    DcState& state = context->state;
    auto swap = [&](SelectionRef& slot) {
        HGDIOBJ previous = slot.Handle();
        slot = SelectionRef(object);
        return previous;
    };
    switch (object->Type()) {
    case OBJ_PEN:
    case OBJ_EXTPEN: return swap(state.pen);
    case OBJ_BRUSH: return swap(state.brush);
    case OBJ_FONT: return swap(state.font);
    case OBJ_REGION: return reinterpret_cast<HGDIOBJ>(static_cast<std::intptr_t>(SelectClipRgn(dc, static_cast<HRGN>(handle))));
    case OBJ_BITMAP: {
        // Only memory DCs hold bitmaps, and a bitmap is in one DC at a time (the stock default
        // bitmap excepted).
        if (context->DcKind() != DeviceContext::Kind::Memory)
            return nullptr;
        if (object.get() == state.bitmap.Get())
            return handle;
        if (!object->IsStock() && object->IsSelected())
            return nullptr;
        return swap(state.bitmap);
    }
    default: return nullptr;
    }
}
