#include "TextFixture.h"

#include "platform/winapi/gdi/FontSubstitution.h"
#include "platform/winapi/gdi/GdiOwners.h"

#include <vector>

class FontTest : public TextFixture {
protected:
    // The family the selected font was realised with, from its outline metrics.
    std::string RealisedFamily()
    {
        const UINT size = GetOutlineTextMetricsA(m_dc, 0, nullptr);
        std::vector<char> buffer(size);
        auto* otm = reinterpret_cast<OUTLINETEXTMETRICA*>(buffer.data());
        EXPECT_EQ(GetOutlineTextMetricsA(m_dc, size, otm), size);
        const auto offset = reinterpret_cast<std::uintptr_t>(otm->otmpFamilyName);
        EXPECT_LT(offset, size);
        return buffer.data() + offset;
    }

    OUTLINETEXTMETRICA Outline()
    {
        OUTLINETEXTMETRICA otm{};
        EXPECT_EQ(GetOutlineTextMetricsA(m_dc, sizeof otm, &otm), sizeof otm);
        return otm;
    }
};

TEST_F(FontTest, WindowsFaceNamesMapToInstalledFamilies)
{
    // Debian: fonts-liberation, fonts-dejavu-core, fonts-dejavu-extra.
    struct Case {
        const char* face;
        BYTE pitchAndFamily;
        const char* family;
    } cases[] = {
        {"MS Sans Serif", 0, "DejaVu Sans Condensed"},
        {"ms sans serif", 0, "DejaVu Sans Condensed"},
        {"Tahoma", 0, "DejaVu Sans Condensed"},
        {"Arial", 0, "Liberation Sans"},
        {"Verdana", 0, "DejaVu Sans"},
        {"Courier New", 0, "Liberation Mono"},
        {"Times New Roman", 0, "Liberation Serif"},
        {"System", 0, "DejaVu Sans Condensed"},
        {"MS Shell Dlg", 0, "DejaVu Sans Condensed"},
        {"No Such Face", 0, "DejaVu Sans Condensed"},
        {"", 0, "DejaVu Sans Condensed"},
        {"", FIXED_PITCH, "Liberation Mono"},
        {"", VARIABLE_PITCH | FF_ROMAN, "Liberation Serif"},
        {"DejaVu Sans Mono", 0, "DejaVu Sans Mono"},
    };
    for (const Case& c : cases) {
        const std::optional<FontFile> file = FindFontFile(c.face, false, false, c.pitchAndFamily);
        ASSERT_TRUE(file) << c.face;
        EXPECT_EQ(file->family, c.family) << c.face;
        EXPECT_FALSE(file->bold || file->italic) << c.face;
    }
    const std::optional<FontFile> boldItalic = FindFontFile("Arial", true, true, 0);
    ASSERT_TRUE(boldItalic);
    EXPECT_TRUE(boldItalic->bold && boldItalic->italic);
    EXPECT_NE(boldItalic->path.find("BoldItalic"), std::string::npos);

    for (const FontSubstitute& entry : FontSubstitutes())
        EXPECT_EQ(FindFontSubstitute(entry.windowsName), &entry);
    EXPECT_EQ(FindFontSubstitute("Marlett"), nullptr); // drawn by us, never substituted

    // Through the GDI calls: the realised face is the substitute.
    Use(Font("Arial", -11));
    EXPECT_EQ(RealisedFamily(), "Liberation Sans");
}

// Interface text at its usual sizes is drawn in whole pixels, as the classic look draws it; large
// text, and any font that asks for smoothing, has grey edges.
TEST_F(FontTest, SmallTextIsCrispUnlessTheFontAsksForSmoothing)
{
    const auto greyPixels = [this](HFONT font) {
        Clear();
        Use(font);
        TextOutA(m_dc, 2, 2, "Crisp text", 10);
        int grey = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 150; ++x)
                grey += Pixel(x, y) != 0 && Pixel(x, y) != (White & 0xFFFFFF) ? 1 : 0;
        return grey;
    };
    EXPECT_EQ(greyPixels(Font("Tahoma", -11)), 0);
    EXPECT_EQ(greyPixels(Font("Tahoma", -11, FW_BOLD)), 0);
    EXPECT_GT(greyPixels(Font("Tahoma", -24)), 0);
    const GdiObject<HFONT> smoothed(CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                                ANTIALIASED_QUALITY, 0, "Tahoma"));
    EXPECT_GT(greyPixels(smoothed.Get()), 0);
    const GdiObject<HFONT> crisp(CreateFontA(-24, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                             NONANTIALIASED_QUALITY, 0, "Tahoma"));
    EXPECT_EQ(greyPixels(crisp.Get()), 0);
    Use(Font("Arial", -11));
}

TEST_F(FontTest, HeightsFollowGdiAt96Dpi)
{
    for (int em : {8, 11, 13, 16, 24, 40}) {
        Use(Font("Arial", -em));
        const TEXTMETRICA tm = Metrics();
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, em) << em;
        EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight) << em;
        EXPECT_GT(tm.tmAveCharWidth, 0) << em;
        EXPECT_GE(tm.tmMaxCharWidth, tm.tmAveCharWidth) << em;
    }
    for (int cell : {13, 16, 20, 32}) {
        Use(Font("Tahoma", cell));
        EXPECT_NEAR(Metrics().tmHeight, cell, 1) << cell;
    }
    // A wild height is capped instead of rendering gigantic glyphs.
    Use(Font("Arial", -2000000000));
    EXPECT_LE(Metrics().tmHeight, 2 * 1024);
    EXPECT_TRUE(TextOutA(m_dc, 0, 0, "W", 1));
}

TEST_F(FontTest, StylesShowInMetricsAndInk)
{
    Use(Font("Arial", -13));
    const int regular = Extent("Bold text").cx;
    EXPECT_EQ(Outline().otmsCharSlopeRun, 0);

    Use(Font("Arial", -13, FW_BOLD));
    EXPECT_EQ(Metrics().tmWeight, FW_BOLD);
    EXPECT_GT(Extent("Bold text").cx, regular);

    Use(Font("Arial", -13, FW_NORMAL, 0, true));
    EXPECT_NE(Metrics().tmItalic, 0);
    EXPECT_GT(Outline().otmsCharSlopeRun, 0) << "italic leans right";
    EXPECT_GT(Outline().otmsCharSlopeRise, 0);

    // Underline: ink below the baseline across the whole extent.
    Use(Font("Arial", -13, FW_NORMAL, 0, false, true));
    const TEXTMETRICA tm = Metrics();
    TextOutA(m_dc, 0, 0, "ooo", 3);
    const RECT below = InkBoxIn(RECT{0, tm.tmAscent, 100, tm.tmHeight});
    EXPECT_LE(below.left, 1);
    EXPECT_GE(below.right, Extent("ooo").cx - 1);
}

TEST_F(FontTest, MissingBoldAndItalicAreSynthesised)
{
    // This face has neither a bold nor an italic of its own.
    Use(Font("DejaVu Math TeX Gyre", -13));
    const int regular = Extent("mmmm").cx;

    Use(Font("DejaVu Math TeX Gyre", -13, FW_BOLD));
    EXPECT_EQ(Extent("mmmm").cx, regular + 4) << "a pixel more per glyph";

    Use(Font("DejaVu Math TeX Gyre", -13, FW_NORMAL, 0, true));
    EXPECT_GT(Outline().otmsCharSlopeRun, 0);
    // The stem leans right: its top row starts further right than its bottom row.
    TextOutA(m_dc, 10, 0, "l", 1);
    const RECT ink = InkBox();
    const RECT top = InkBoxIn(RECT{0, ink.top, 100, ink.top + 1});
    const RECT bottom = InkBoxIn(RECT{0, ink.bottom - 1, 100, ink.bottom});
    EXPECT_GT(top.left, bottom.left);
}

TEST_F(FontTest, PitchAndTrueTypeFlags)
{
    Use(Font("Arial", -11));
    EXPECT_TRUE(Metrics().tmPitchAndFamily & TMPF_TRUETYPE);
    EXPECT_TRUE(Metrics().tmPitchAndFamily & TMPF_FIXED_PITCH) << "set means variable pitch";
    EXPECT_EQ(Metrics().tmPitchAndFamily & 0xF0, FF_SWISS);
    Use(Font("Courier New", -11));
    EXPECT_FALSE(Metrics().tmPitchAndFamily & TMPF_FIXED_PITCH);
    EXPECT_EQ(Extent("iiii").cx, Extent("WWWW").cx);
}

TEST_F(FontTest, GetObjectReturnsTheLogicalFontAndStaleHandlesFail)
{
    HFONT font = CreateFontA(-13, 0, 900, 900, FW_BOLD, TRUE, FALSE, FALSE, ANSI_CHARSET, OUT_TT_ONLY_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "Verdana");
    ASSERT_NE(font, nullptr);
    EXPECT_EQ(GetObjectType(font), OBJ_FONT);
    EXPECT_EQ(GetObjectA(font, 0, nullptr), static_cast<int>(sizeof(LOGFONTA)));
    LOGFONTA logFont{};
    EXPECT_EQ(GetObjectA(font, sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
    EXPECT_EQ(logFont.lfHeight, -13);
    EXPECT_EQ(logFont.lfEscapement, 900);
    EXPECT_EQ(logFont.lfWeight, FW_BOLD);
    EXPECT_EQ(logFont.lfItalic, 1);
    EXPECT_EQ(logFont.lfOutPrecision, OUT_TT_ONLY_PRECIS);
    EXPECT_STREQ(logFont.lfFaceName, "Verdana");

    EXPECT_TRUE(DeleteObject(font));
    EXPECT_EQ(GetObjectA(font, sizeof logFont, &logFont), 0);
    EXPECT_EQ(SelectObject(m_dc, font), nullptr);
    EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);

    // A face name that fills the whole field is cut, not read past.
    LOGFONTA full{};
    std::memset(full.lfFaceName, 'A', LF_FACESIZE);
    HFONT cut = CreateFontIndirectA(&full);
    m_fonts.push_back(cut);
    Use(cut);
    EXPECT_TRUE(TextOutA(m_dc, 0, 0, "x", 1));
}

TEST_F(FontTest, StockFonts)
{
    struct Case {
        int index;
        const char* face;
        LONG height;
    } cases[] = {
        {DEFAULT_GUI_FONT, "MS Shell Dlg", -11}, {ANSI_VAR_FONT, "MS Sans Serif", -11},
        {SYSTEM_FONT, "System", 16},             {ANSI_FIXED_FONT, "Courier New", -13},
    };
    for (const Case& c : cases) {
        HGDIOBJ stock = GetStockObject(c.index);
        ASSERT_NE(stock, nullptr) << c.face;
        LOGFONTA logFont{};
        ASSERT_EQ(GetObjectA(stock, sizeof logFont, &logFont), static_cast<int>(sizeof logFont));
        EXPECT_STREQ(logFont.lfFaceName, c.face);
        EXPECT_EQ(logFont.lfHeight, c.height);
        SelectObject(m_dc, stock);
        EXPECT_GT(Extent("x").cx, 0) << c.face;
    }
    EXPECT_EQ(GetStockObject(SYSTEM_FONT), GetStockObject(SYSTEM_FONT));

    // A fresh DC draws in the system font.
    HDC fresh = CreateCompatibleDC(nullptr);
    TEXTMETRICA tm{};
    EXPECT_TRUE(GetTextMetricsA(fresh, &tm));
    EXPECT_EQ(tm.tmHeight, 16);
    EXPECT_EQ(tm.tmWeight, FW_BOLD);
    DeleteDC(fresh);
}

TEST_F(FontTest, MarlettSymbolsAreDrawn)
{
    Use(Font("Marlett", -16));
    EXPECT_EQ(Extent("r").cx, 16);
    EXPECT_EQ(Metrics().tmCharSet, SYMBOL_CHARSET);

    // The close cross: ink in the middle and near all four corners, none at the edge midpoints.
    TextOutA(m_dc, 0, 0, "r", 1);
    EXPECT_TRUE(Inked(8, 8));
    EXPECT_TRUE(Inked(4, 4) && Inked(11, 4) && Inked(4, 11) && Inked(11, 11));
    EXPECT_FALSE(Inked(8, 3) || Inked(3, 8) || Inked(12, 8) || Inked(8, 12));

    // The check mark: its lowest point lies left of the middle.
    Clear();
    TextOutA(m_dc, 0, 0, "a", 1);
    const RECT ink = InkBox();
    int lowest = -1;
    for (int x = ink.left; x < ink.right && lowest < 0; ++x)
        if (Inked(x, ink.bottom - 1))
            lowest = x;
    EXPECT_LT(lowest, 8);
    EXPECT_GT(ink.right - ink.left, 8);

    // Letters it has no symbol for take their room and draw nothing.
    Clear();
    TextOutA(m_dc, 0, 0, "z", 1);
    EXPECT_TRUE(NoInk());
}
