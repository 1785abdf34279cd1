#pragma once

#include "platform/winapi/gdi/GdiObjects.h"
#include "platform/winapi/gdi/Region.h"
#include "platform/winapi/gdi/Surface.h"

#include <cstdint>
#include <vector>

// The GDI's own object kinds (bitmaps are in Bitmaps.h, fonts in the font engine).

class PenObject : public GdiHandleObject {
public:
    PenObject(UINT style, int width, COLORREF color, bool extended);
    [[nodiscard]] DWORD Type() const override { return m_extended ? OBJ_EXTPEN : OBJ_PEN; }
    [[nodiscard]] int Describe(int size, void* buffer) const override;

    [[nodiscard]] int Style() const { return static_cast<int>(m_style & PS_STYLE_MASK); }
    [[nodiscard]] UINT FullStyle() const { return m_style; }
    [[nodiscard]] int Width() const { return m_width; }
    [[nodiscard]] COLORREF Color() const { return m_color; }
    void SetDcColor(bool isDcPen) { m_isDcPen = isDcPen; }
    [[nodiscard]] bool IsDcPen() const { return m_isDcPen; }

private:
    UINT m_style;
    int m_width;
    COLORREF m_color;
    bool m_extended;
    bool m_isDcPen = false;
};

class BrushObject : public GdiHandleObject {
public:
    BrushObject(UINT style, COLORREF color, int hatch);
    // A pattern brush keeps its own copy of the bitmap's pixels, so the bitmap may go.
    BrushObject(Surface pattern, bool monochrome);
    [[nodiscard]] DWORD Type() const override { return OBJ_BRUSH; }
    [[nodiscard]] int Describe(int size, void* buffer) const override;

    [[nodiscard]] UINT Style() const { return m_style; }
    [[nodiscard]] COLORREF Color() const { return m_color; }
    [[nodiscard]] int Hatch() const { return m_hatch; }
    [[nodiscard]] const Surface& Pattern() const { return m_pattern; }
    [[nodiscard]] bool MonochromePattern() const { return m_monochrome; }
    void SetDcBrush() { m_isDcBrush = true; }
    [[nodiscard]] bool IsDcBrush() const { return m_isDcBrush; }

private:
    UINT m_style;
    COLORREF m_color = 0;
    int m_hatch = 0;
    Surface m_pattern;
    bool m_monochrome = false;
    bool m_isDcBrush = false;
};

class PaletteObject : public GdiHandleObject {
public:
    explicit PaletteObject(std::vector<PALETTEENTRY> entries) : entries(std::move(entries)) {}
    [[nodiscard]] DWORD Type() const override { return OBJ_PAL; }
    [[nodiscard]] int Describe(int size, void* buffer) const override;
    [[nodiscard]] UINT NearestIndex(COLORREF color) const;
    std::vector<PALETTEENTRY> entries;
};

class RegionObject : public GdiHandleObject {
public:
    explicit RegionObject(Region region) : region(std::move(region)) {}
    [[nodiscard]] DWORD Type() const override { return OBJ_REGION; }
    Region region;
};

// The nearest of `count` colours to `color` by squared distance (first wins on ties).
[[nodiscard]] std::size_t NearestColorIndex(const RGBQUAD* colors, std::size_t count, COLORREF color);
