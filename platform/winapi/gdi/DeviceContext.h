#pragma once

#include "platform/winapi/gdi/GdiObjects.h"
#include "platform/winapi/gdi/Region.h"
#include "platform/winapi/gdi/Surface.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class BitmapObject;

// Everything SaveDC saves and RestoreDC brings back.
struct DcState {
    SelectionRef pen;
    SelectionRef brush;
    SelectionRef font;
    SelectionRef bitmap; // memory DCs only
    SelectionRef palette;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    COLORREF dcBrushColor = RGB(255, 255, 255);
    COLORREF dcPenColor = RGB(0, 0, 0);
    int bkMode = OPAQUE;
    UINT textAlign = TA_LEFT | TA_TOP;
    int textCharacterExtra = 0;
    int rop2 = R2_COPYPEN;
    int polyFillMode = ALTERNATE;
    int stretchMode = BLACKONWHITE;
    int mapMode = MM_TEXT;
    int graphicsMode = GM_COMPATIBLE;
    POINT viewportOrg{0, 0};
    POINT windowOrg{0, 0};
    SIZE viewportExt{1, 1};
    SIZE windowExt{1, 1};
    POINT brushOrg{0, 0};
    POINT currentPos{0, 0};
    // SelectClipRgn's region, in device coordinates; none = unclipped (but for the visible region).
    std::optional<Region> clip;
};

// A device context: the state of the drawing calls and where they land. A memory DC draws into its
// selected bitmap; a surface DC draws into a window surface at `origin`, clipped to the visible
// region. Device coordinates are DC-relative pixels; target coordinates add the origin.
class DeviceContext : public GdiHandleObject {
public:
    enum class Kind { Memory, Surface };

    DeviceContext(Kind kind, std::shared_ptr<Surface> surface, POINT origin, std::optional<Region> visible);

    [[nodiscard]] DWORD Type() const override { return m_kind == Kind::Memory ? OBJ_MEMDC : OBJ_DC; }
    [[nodiscard]] Kind DcKind() const { return m_kind; }

    DcState state;
    std::vector<DcState> saved;

    // Logical to device coordinates and back (viewport/window origins and extents).
    [[nodiscard]] POINT ToDevice(POINT logical) const;
    [[nodiscard]] POINT ToLogical(POINT device) const;
    // Lengths along x and y, keeping the sign of the mapping (negative when mirrored).
    [[nodiscard]] int ScaleX(int logical) const;
    [[nodiscard]] int ScaleY(int logical) const;
    // A logical rectangle in device coordinates, normalised (left <= right, top <= bottom).
    [[nodiscard]] RECT ToDeviceRect(const RECT& logical) const;
    [[nodiscard]] POINT Origin() const { return m_origin; }

    // The bitmap a memory DC draws into (nullptr for surface DCs).
    [[nodiscard]] BitmapObject* Bitmap() const;
    // Drawing into a one-bit bitmap quantises every colour to black or white.
    [[nodiscard]] bool IsMonochrome() const;
    // The size of what the DC draws into.
    [[nodiscard]] SIZE TargetSize() const;
    // Where drawing may land, in device coordinates: target bounds, visible region and clip.
    [[nodiscard]] Region EffectiveClip() const;
    // The visible region in device coordinates (the target bounds when there is none).
    [[nodiscard]] Region VisibleRegion() const;

    // The pixels to draw into, in target coordinates; Release writes them back to bitmaps kept in
    // another format (DIB sections of 1 to 24 bits, monochrome bitmaps). Use DrawTarget.
    [[nodiscard]] Surface* AcquireTarget();
    void ReleaseTarget(bool modified);

    // The colour a COLORREF becomes on this DC's target, as a 0x00RRGGBB pixel.
    [[nodiscard]] std::uint32_t PixelFor(COLORREF color) const;

private:
    Kind m_kind;
    std::shared_ptr<Surface> m_surface;
    POINT m_origin;
    std::optional<Region> m_visible; // target coordinates
};

[[nodiscard]] std::shared_ptr<DeviceContext> LookupDC(HDC dc);

// Scoped access to a DC's target pixels. Coordinates: device + dc.Origin().
class DrawTarget {
public:
    explicit DrawTarget(DeviceContext& dc) : m_dc(dc), m_surface(dc.AcquireTarget()) {}
    DrawTarget(const DrawTarget&) = delete;
    DrawTarget& operator=(const DrawTarget&) = delete;
    ~DrawTarget() { m_dc.ReleaseTarget(true); }
    [[nodiscard]] Surface* operator->() const { return m_surface; }
    [[nodiscard]] Surface* Get() const { return m_surface; }

private:
    DeviceContext& m_dc;
    Surface* m_surface;
};

// Blends a coverage mask (0 = none, 255 = full) of `width` x `height` bytes, rows `pitch` apart,
// in `color` at device position (x, y), clipped by the DC's effective clip. The font engine draws
// glyphs through it.
void BlendCoverage(DeviceContext& dc, int x, int y, const std::uint8_t* mask, int width, int height, int pitch,
                   COLORREF color);

// COLORREF <-> 0x00RRGGBB pixel.
[[nodiscard]] constexpr std::uint32_t PixelFromColor(COLORREF c)
{
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
[[nodiscard]] constexpr COLORREF ColorFromPixel(std::uint32_t p)
{
    return ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16);
}
