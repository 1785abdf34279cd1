#include "platform/winapi/gdi/DeviceContext.h"

#include "platform/winapi/gdi/Bitmaps.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/Objects.h"
#include "platform/winapi/gdi/SurfaceDC.h"
#include "platform/winapi/kernel/WinError.h"

#include <atomic>
#include <cstdlib>
#include <utility>

namespace detail = winapi_gdi::detail;

namespace {

std::atomic<LONG> g_screenWidth{1024};
std::atomic<LONG> g_screenHeight{768};

// (value * numerator) / denominator rounded half away from zero, as MulDiv rounds.
int Scale(long long value, long long numerator, long long denominator)
{
    if (denominator == 0)
        return 0;
    long long product = value * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    product = std::llabs(product);
    const long long d = std::llabs(denominator);
    const long long q = (product + d / 2) / d;
    return int(negative ? -q : q);
}

SelectionRef Stock(int index)
{
    return SelectionRef(winapi_gdi::LookupGdiObject(GetStockObject(index)));
}

bool IsScaling(const DcState& s)
{
    return s.mapMode != MM_TEXT;
}

} // namespace

DeviceContext::DeviceContext(Kind kind, std::shared_ptr<Surface> surface, POINT origin, std::optional<Region> visible)
    : m_kind(kind), m_surface(std::move(surface)), m_origin(origin), m_visible(std::move(visible))
{
    state.pen = Stock(BLACK_PEN);
    state.brush = Stock(WHITE_BRUSH);
    if (HGDIOBJ font = GetStockObject(SYSTEM_FONT))
        state.font = SelectionRef(winapi_gdi::LookupGdiObject(font));
    state.palette = Stock(DEFAULT_PALETTE);
    if (kind == Kind::Memory)
        state.bitmap = SelectionRef(winapi_gdi::LookupGdiObject(winapi_gdi::DefaultBitmap()));
}

POINT DeviceContext::ToDevice(POINT p) const
{
    const DcState& s = state;
    if (!IsScaling(s))
        return {p.x - s.windowOrg.x + s.viewportOrg.x, p.y - s.windowOrg.y + s.viewportOrg.y};
    return {Scale(p.x - s.windowOrg.x, s.viewportExt.cx, s.windowExt.cx) + s.viewportOrg.x,
            Scale(p.y - s.windowOrg.y, s.viewportExt.cy, s.windowExt.cy) + s.viewportOrg.y};
}

POINT DeviceContext::ToLogical(POINT p) const
{
    const DcState& s = state;
    if (!IsScaling(s))
        return {p.x - s.viewportOrg.x + s.windowOrg.x, p.y - s.viewportOrg.y + s.windowOrg.y};
    return {Scale(p.x - s.viewportOrg.x, s.windowExt.cx, s.viewportExt.cx) + s.windowOrg.x,
            Scale(p.y - s.viewportOrg.y, s.windowExt.cy, s.viewportExt.cy) + s.windowOrg.y};
}

int DeviceContext::ScaleX(int logical) const
{
    return IsScaling(state) ? Scale(logical, state.viewportExt.cx, state.windowExt.cx) : logical;
}

int DeviceContext::ScaleY(int logical) const
{
    return IsScaling(state) ? Scale(logical, state.viewportExt.cy, state.windowExt.cy) : logical;
}

RECT DeviceContext::ToDeviceRect(const RECT& r) const
{
    const POINT a = ToDevice({r.left, r.top});
    const POINT b = ToDevice({r.right, r.bottom});
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

BitmapObject* DeviceContext::Bitmap() const
{
    return state.bitmap.As<BitmapObject>();
}

bool DeviceContext::IsMonochrome() const
{
    const BitmapObject* bitmap = Bitmap();
    return bitmap && bitmap->IsMonochrome();
}

SIZE DeviceContext::TargetSize() const
{
    if (m_kind == Kind::Surface)
        return m_surface ? SIZE{m_surface->Width(), m_surface->Height()} : SIZE{0, 0};
    const BitmapObject* bitmap = Bitmap();
    return bitmap ? SIZE{bitmap->Width(), bitmap->Height()} : SIZE{0, 0};
}

Region DeviceContext::VisibleRegion() const
{
    const SIZE size = TargetSize();
    Region visible(RECT{-m_origin.x, -m_origin.y, size.cx - m_origin.x, size.cy - m_origin.y});
    if (m_visible) {
        Region shifted = *m_visible;
        shifted.Offset(-m_origin.x, -m_origin.y);
        visible = Region::Combine(visible, shifted, RGN_AND);
    }
    return visible;
}

Region DeviceContext::EffectiveClip() const
{
    Region visible = VisibleRegion();
    return state.clip ? Region::Combine(visible, *state.clip, RGN_AND) : visible;
}

Surface* DeviceContext::AcquireTarget()
{
    if (m_kind == Kind::Surface)
        return m_surface.get();
    BitmapObject* bitmap = Bitmap();
    return bitmap ? &bitmap->Pixels() : nullptr;
}

void DeviceContext::ReleaseTarget(bool modified)
{
    if (BitmapObject* bitmap = Bitmap(); bitmap && modified)
        bitmap->Commit();
}

std::uint32_t DeviceContext::PixelFor(COLORREF color) const
{
    std::uint32_t pixel;
    if ((color & 0xFF000000u) == 0x01000000u) {
        const auto* palette = state.palette.As<PaletteObject>();
        const std::size_t index = color & 0xFFFF;
        const PALETTEENTRY e = palette && index < palette->entries.size() ? palette->entries[index] : PALETTEENTRY{};
        pixel = PixelFromColor(RGB(e.peRed, e.peGreen, e.peBlue));
    } else {
        pixel = PixelFromColor(color & 0xFFFFFF);
    }
    return IsMonochrome() ? QuantiseToMonochrome(pixel) : pixel;
}

std::shared_ptr<DeviceContext> LookupDC(HDC dc)
{
    return winapi_gdi::LookupGdi<DeviceContext>(dc);
}

// --- Creation ---------------------------------------------------------------------------------

HDC CreateCompatibleDC(HDC dc)
{
    if (dc && !LookupDC(dc))
        return nullptr;
    auto context = std::make_shared<DeviceContext>(DeviceContext::Kind::Memory, nullptr, POINT{0, 0}, std::nullopt);
    return static_cast<HDC>(winapi_gdi::NewGdiHandle(std::move(context)));
}

BOOL DeleteDC(HDC dc)
{
    if (!LookupDC(dc))
        return FALSE;
    return winapi_gdi::DeleteGdiHandle(dc) ? TRUE : FALSE;
}

HDC CreateSurfaceDC(std::shared_ptr<Surface> surface, POINT origin, HRGN visibleRegion)
{
    std::optional<Region> visible;
    if (visibleRegion) {
        auto region = winapi_gdi::LookupGdi<RegionObject>(visibleRegion);
        if (!region)
            return nullptr;
        visible = region->region;
    }
    if (!surface) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto context = std::make_shared<DeviceContext>(DeviceContext::Kind::Surface, std::move(surface), origin,
                                                   std::move(visible));
    return static_cast<HDC>(winapi_gdi::NewGdiHandle(std::move(context)));
}

BOOL DeleteSurfaceDC(HDC dc)
{
    auto context = LookupDC(dc);
    if (!context || context->DcKind() != DeviceContext::Kind::Surface)
        return FALSE;
    return winapi_gdi::DeleteGdiHandle(dc) ? TRUE : FALSE;
}

void SetScreenSize(SIZE size)
{
    g_screenWidth = size.cx;
    g_screenHeight = size.cy;
}

// --- State ------------------------------------------------------------------------------------

int SaveDC(HDC dc)
{
    auto context = LookupDC(dc);
    if (!context)
        return 0;
    context->saved.push_back(context->state);
    return int(context->saved.size());
}

BOOL RestoreDC(HDC dc, int savedDc)
{
    auto context = LookupDC(dc);
    if (!context)
        return FALSE;
    const int depth = int(context->saved.size());
    // Negative: relative to the current level; positive: an absolute level that must exist.
    const int level = savedDc < 0 ? depth + 1 + savedDc : savedDc;
    if (level <= 0 || level > depth)
        return FALSE;
    context->state = context->saved[std::size_t(level - 1)];
    context->saved.resize(std::size_t(level - 1));
    return TRUE;
}

int GetDeviceCaps(HDC dc, int index)
{
    if (!LookupDC(dc))
        return 0;
    switch (index) {
    case TECHNOLOGY: return DT_RASDISPLAY;
    case HORZRES: return g_screenWidth;
    case VERTRES: return g_screenHeight;
    case HORZSIZE: return g_screenWidth * 254 / 960;
    case VERTSIZE: return g_screenHeight * 254 / 960;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case NUMBRUSHES:
    case NUMPENS: return -1;
    case LOGPIXELSX:
    case LOGPIXELSY: return 96;
    case SIZEPALETTE:
    case NUMRESERVED: return 0;
    case COLORRES: return 24;
    case RASTERCAPS: return RC_BITBLT | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    default: return 0;
    }
}

COLORREF GetNearestColor(HDC dc, COLORREF color)
{
    auto context = LookupDC(dc);
    return context ? ColorFromPixel(context->PixelFor(color)) : CLR_INVALID;
}

namespace {

template <class T, class Apply>
T Exchange(HDC dc, T failure, Apply apply)
{
    auto context = LookupDC(dc);
    return context ? apply(context->state) : failure;
}

} // namespace

COLORREF SetTextColor(HDC dc, COLORREF color)
{
    return Exchange(dc, CLR_INVALID, [&](DcState& s) { return std::exchange(s.textColor, color); });
}
COLORREF GetTextColor(HDC dc)
{
    return Exchange(dc, CLR_INVALID, [](DcState& s) { return s.textColor; });
}
COLORREF SetBkColor(HDC dc, COLORREF color)
{
    return Exchange(dc, CLR_INVALID, [&](DcState& s) { return std::exchange(s.bkColor, color); });
}
COLORREF GetBkColor(HDC dc)
{
    return Exchange(dc, CLR_INVALID, [](DcState& s) { return s.bkColor; });
}
int SetBkMode(HDC dc, int mode)
{
    if (mode != TRANSPARENT && mode != OPAQUE)
        return 0;
    return Exchange(dc, 0, [&](DcState& s) { return std::exchange(s.bkMode, mode); });
}
int GetBkMode(HDC dc)
{
    return Exchange(dc, 0, [](DcState& s) { return s.bkMode; });
}
UINT SetTextAlign(HDC dc, UINT align)
{
    return Exchange(dc, GDI_ERROR, [&](DcState& s) { return std::exchange(s.textAlign, align); });
}
UINT GetTextAlign(HDC dc)
{
    return Exchange(dc, GDI_ERROR, [](DcState& s) { return s.textAlign; });
}
int SetROP2(HDC dc, int rop2)
{
    if (rop2 < R2_BLACK || rop2 > R2_WHITE)
        return 0;
    return Exchange(dc, 0, [&](DcState& s) { return std::exchange(s.rop2, rop2); });
}
int GetROP2(HDC dc)
{
    return Exchange(dc, 0, [](DcState& s) { return s.rop2; });
}
int SetPolyFillMode(HDC dc, int mode)
{
    if (mode != ALTERNATE && mode != WINDING)
        return 0;
    return Exchange(dc, 0, [&](DcState& s) { return std::exchange(s.polyFillMode, mode); });
}
int GetPolyFillMode(HDC dc)
{
    return Exchange(dc, 0, [](DcState& s) { return s.polyFillMode; });
}
int SetStretchBltMode(HDC dc, int mode)
{
    if (mode < BLACKONWHITE || mode > HALFTONE)
        return 0;
    return Exchange(dc, 0, [&](DcState& s) { return std::exchange(s.stretchMode, mode); });
}
int GetStretchBltMode(HDC dc)
{
    return Exchange(dc, 0, [](DcState& s) { return s.stretchMode; });
}
COLORREF SetDCBrushColor(HDC dc, COLORREF color)
{
    return Exchange(dc, CLR_INVALID, [&](DcState& s) { return std::exchange(s.dcBrushColor, color); });
}
COLORREF SetDCPenColor(HDC dc, COLORREF color)
{
    return Exchange(dc, CLR_INVALID, [&](DcState& s) { return std::exchange(s.dcPenColor, color); });
}

int SetMapMode(HDC dc, int mode)
{
    if (mode < MM_TEXT || mode > MM_ANISOTROPIC)
        return 0;
    return Exchange(dc, 0, [&](DcState& s) {
        const int previous = std::exchange(s.mapMode, mode);
        if (mode != MM_ISOTROPIC && mode != MM_ANISOTROPIC) {
            s.windowExt = {1, 1};
            s.viewportExt = {1, 1};
        }
        return previous;
    });
}
int GetMapMode(HDC dc)
{
    return Exchange(dc, 0, [](DcState& s) { return s.mapMode; });
}

namespace {

BOOL SetPoint(HDC dc, POINT DcState::*member, POINT value, LPPOINT previous)
{
    return Exchange(dc, FALSE, [&](DcState& s) {
        if (previous)
            *previous = s.*member;
        s.*member = value;
        return TRUE;
    });
}

BOOL GetPoint(HDC dc, POINT DcState::*member, LPPOINT out)
{
    return Exchange(dc, FALSE, [&](DcState& s) {
        if (out)
            *out = s.*member;
        return TRUE;
    });
}

// Extents only change in the scaling map modes, as in Win32.
BOOL SetExtent(HDC dc, SIZE DcState::*member, SIZE value, LPSIZE previous)
{
    return Exchange(dc, FALSE, [&](DcState& s) {
        if (previous)
            *previous = s.*member;
        if (value.cx == 0 || value.cy == 0)
            return FALSE;
        if (s.mapMode == MM_ISOTROPIC || s.mapMode == MM_ANISOTROPIC)
            s.*member = value;
        return TRUE;
    });
}

BOOL GetExtent(HDC dc, SIZE DcState::*member, LPSIZE out)
{
    return Exchange(dc, FALSE, [&](DcState& s) {
        if (out)
            *out = s.*member;
        return TRUE;
    });
}

} // namespace

BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous)
{
    return SetPoint(dc, &DcState::viewportOrg, {x, y}, previous);
}
BOOL GetViewportOrgEx(HDC dc, LPPOINT point)
{
    return GetPoint(dc, &DcState::viewportOrg, point);
}
BOOL OffsetViewportOrgEx(HDC dc, int dx, int dy, LPPOINT previous)
{
    auto context = LookupDC(dc);
    if (!context)
        return FALSE;
    const POINT o = context->state.viewportOrg;
    return SetViewportOrgEx(dc, o.x + dx, o.y + dy, previous);
}
BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous)
{
    return SetPoint(dc, &DcState::windowOrg, {x, y}, previous);
}
BOOL GetWindowOrgEx(HDC dc, LPPOINT point)
{
    return GetPoint(dc, &DcState::windowOrg, point);
}
BOOL OffsetWindowOrgEx(HDC dc, int dx, int dy, LPPOINT previous)
{
    auto context = LookupDC(dc);
    if (!context)
        return FALSE;
    const POINT o = context->state.windowOrg;
    return SetWindowOrgEx(dc, o.x + dx, o.y + dy, previous);
}
BOOL SetViewportExtEx(HDC dc, int x, int y, LPSIZE previous)
{
    return SetExtent(dc, &DcState::viewportExt, {x, y}, previous);
}
BOOL GetViewportExtEx(HDC dc, LPSIZE size)
{
    return GetExtent(dc, &DcState::viewportExt, size);
}
BOOL SetWindowExtEx(HDC dc, int x, int y, LPSIZE previous)
{
    return SetExtent(dc, &DcState::windowExt, {x, y}, previous);
}
BOOL GetWindowExtEx(HDC dc, LPSIZE size)
{
    return GetExtent(dc, &DcState::windowExt, size);
}
BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous)
{
    return SetPoint(dc, &DcState::brushOrg, {x, y}, previous);
}
BOOL GetBrushOrgEx(HDC dc, LPPOINT point)
{
    return GetPoint(dc, &DcState::brushOrg, point);
}

BOOL LPtoDP(HDC dc, LPPOINT points, int count)
{
    auto context = LookupDC(dc);
    if (!context || (count > 0 && !points))
        return FALSE;
    for (int i = 0; i < count; ++i)
        points[i] = context->ToDevice(points[i]);
    return TRUE;
}

BOOL DPtoLP(HDC dc, LPPOINT points, int count)
{
    auto context = LookupDC(dc);
    if (!context || (count > 0 && !points))
        return FALSE;
    for (int i = 0; i < count; ++i)
        points[i] = context->ToLogical(points[i]);
    return TRUE;
}

HGDIOBJ GetCurrentObject(HDC dc, UINT type)
{
    auto context = LookupDC(dc);
    if (!context)
        return nullptr;
    switch (type) {
    case OBJ_PEN: return context->state.pen.Handle();
    case OBJ_BRUSH: return context->state.brush.Handle();
    case OBJ_FONT: return context->state.font.Handle();
    case OBJ_BITMAP: return context->state.bitmap.Handle();
    case OBJ_PAL: return context->state.palette.Handle();
    default: return nullptr;
    }
}

BOOL GetDCOrgEx(HDC dc, LPPOINT point)
{
    auto context = LookupDC(dc);
    if (!context || !point)
        return FALSE;
    *point = context->Origin();
    return TRUE;
}
