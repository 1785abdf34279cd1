#pragma once

#include "platform/winapi/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <cstdint>

// A memory DC drawing into a top-down 32-bit DIB section whose pixels the test reads directly.
class Canvas {
public:
    Canvas(int width, int height, COLORREF background = RGB(255, 255, 255)) : m_width(width), m_height(height)
    {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        m_dc = CreateCompatibleDC(nullptr);
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = SelectObject(m_dc, m_bitmap);
        HBRUSH brush = CreateSolidBrush(background);
        RECT all{0, 0, width, height};
        FillRect(m_dc, &all, brush);
        DeleteObject(brush);
    }
    ~Canvas()
    {
        SelectObject(m_dc, m_old);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    [[nodiscard]] HDC Dc() const { return m_dc; }
    [[nodiscard]] HBITMAP Bitmap() const { return m_bitmap; }
    // The pixel as a COLORREF (alpha ignored).
    [[nodiscard]] COLORREF At(int x, int y) const
    {
        const std::uint32_t p = m_bits[y * m_width + x];
        return RGB(BYTE(p >> 16), BYTE(p >> 8), BYTE(p));
    }
    [[nodiscard]] std::uint32_t Raw(int x, int y) const { return m_bits[y * m_width + x]; }
    [[nodiscard]] std::uint32_t* Bits() const { return m_bits; }
    // Pixels of `color` in the canvas.
    [[nodiscard]] int Count(COLORREF color) const
    {
        int n = 0;
        for (int y = 0; y < m_height; ++y)
            for (int x = 0; x < m_width; ++x)
                n += At(x, y) == color;
        return n;
    }

private:
    int m_width, m_height;
    HDC m_dc = nullptr;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    std::uint32_t* m_bits = nullptr;
};

constexpr COLORREF White = RGB(255, 255, 255);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Red = RGB(255, 0, 0);
constexpr COLORREF Blue = RGB(0, 0, 255);
