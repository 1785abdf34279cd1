#pragma once

#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/Surface.h"
#include "platform/winapi/gdi/SurfaceDC.h"
#include "platform/winapi/gdi/Text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <memory>
#include <string>

// A white surface with a DC on it, a font selected, and helpers that find where ink landed.
class TextFixture : public ::testing::Test {
protected:
    static constexpr std::uint32_t White = 0xFFFFFFFF;

    void SetUp() override { Reset(); }
    void TearDown() override
    {
        SelectObject(m_dc, m_previousFont);
        DeleteSurfaceDC(m_dc);
        for (HFONT font : m_fonts)
            DeleteObject(font);
    }

    void Reset(int width = 240, int height = 120)
    {
        if (m_dc) {
            SelectObject(m_dc, m_previousFont);
            DeleteSurfaceDC(m_dc);
        }
        m_surface = std::make_shared<Surface>(width, height);
        m_surface->Fill(White);
        m_dc = CreateSurfaceDC(m_surface, POINT{0, 0}, nullptr);
        SetBkMode(m_dc, TRANSPARENT);
        m_previousFont = SelectObject(m_dc, Font("Arial", -11));
    }

    void Clear() { m_surface->Fill(White); }

    // Creates a font owned by the fixture.
    HFONT Font(const char* face, int height, int weight = FW_NORMAL, int escapement = 0, bool italic = false,
               bool underline = false)
    {
        LOGFONTA logFont{};
        logFont.lfHeight = height;
        logFont.lfWeight = weight;
        logFont.lfEscapement = escapement;
        logFont.lfOrientation = escapement;
        logFont.lfItalic = italic;
        logFont.lfUnderline = underline;
        std::strncpy(logFont.lfFaceName, face, LF_FACESIZE - 1);
        HFONT font = CreateFontIndirectA(&logFont);
        m_fonts.push_back(font);
        return font;
    }

    void Use(HFONT font) { SelectObject(m_dc, font); }

    [[nodiscard]] std::uint32_t Pixel(int x, int y) const { return m_surface->Row(y)[x] & 0xFFFFFF; }
    [[nodiscard]] bool Inked(int x, int y) const { return Pixel(x, y) != (White & 0xFFFFFF); }

    // The box around every pixel that is not white (empty when there is none).
    [[nodiscard]] RECT InkBox() const { return InkBoxIn(RECT{0, 0, m_surface->Width(), m_surface->Height()}); }
    [[nodiscard]] RECT InkBoxIn(const RECT& area) const
    {
        RECT box{area.right, area.bottom, area.left, area.top};
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (Inked(x, y)) {
                    box.left = std::min<LONG>(box.left, x);
                    box.top = std::min<LONG>(box.top, y);
                    box.right = std::max<LONG>(box.right, x + 1);
                    box.bottom = std::max<LONG>(box.bottom, y + 1);
                }
        if (box.right <= box.left)
            return RECT{0, 0, 0, 0};
        return box;
    }
    [[nodiscard]] bool NoInk() const
    {
        const RECT box = InkBox();
        return box.right == 0 && box.bottom == 0;
    }

    [[nodiscard]] SIZE Extent(const std::string& text) const
    {
        SIZE size{};
        EXPECT_TRUE(GetTextExtentPoint32A(m_dc, text.c_str(), static_cast<int>(text.size()), &size));
        return size;
    }
    [[nodiscard]] TEXTMETRICA Metrics() const
    {
        TEXTMETRICA tm{};
        EXPECT_TRUE(GetTextMetricsA(m_dc, &tm));
        return tm;
    }
    [[nodiscard]] std::vector<std::uint32_t> Snapshot() const
    {
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < m_surface->Height(); ++y)
            pixels.insert(pixels.end(), m_surface->Row(y), m_surface->Row(y) + m_surface->Width());
        return pixels;
    }

    // The largest difference of any colour channel between two snapshots (overlapping glyph edges
    // blended together or one after the other may round apart by one).
    [[nodiscard]] static int MaxDifference(const std::vector<std::uint32_t>& a, const std::vector<std::uint32_t>& b)
    {
        int worst = a.size() == b.size() ? 0 : 255;
        for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
            for (int shift : {0, 8, 16})
                worst = std::max(worst, std::abs(int((a[i] >> shift) & 0xFF) - int((b[i] >> shift) & 0xFF)));
        return worst;
    }

    std::shared_ptr<Surface> m_surface;
    HDC m_dc = nullptr;
    HGDIOBJ m_previousFont = nullptr;
    std::vector<HFONT> m_fonts;
};
