// The font engine's FreeType side: faces loaded from the files fontconfig finds, sized as GDI
// sizes them, rendered hinted (crisp stems at dialog sizes) in grey levels.
#include "platform/winapi/gdi/FontEngine.h"
#include "platform/winapi/gdi/FontSubstitution.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_DRIVER_H
#include FT_MODULE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <mutex>
#include <numbers>
#include <optional>
#include <unordered_map>

namespace detail = winapi_gdi::detail;

namespace {

// The slant GDI gives a face that has no italic of its own (about 12 degrees).
constexpr FT_Fixed SyntheticShear = 0x0366A;

class FreeTypeLibrary {
public:
    FreeTypeLibrary()
    {
        if (FT_Init_FreeType(&m_library) != 0) {
            m_library = nullptr;
            return;
        }
        // The classic interpreter runs the fonts' hints in both directions, snapping stems to
        // whole pixels as GDI did: crisp text at dialog sizes instead of blurred stems.
        FT_UInt classic = TT_INTERPRETER_VERSION_35;
        FT_Property_Set(m_library, "truetype", "interpreter-version", &classic);
    }
    ~FreeTypeLibrary()
    {
        if (m_library)
            FT_Done_FreeType(m_library);
    }
    FreeTypeLibrary(const FreeTypeLibrary&) = delete;
    FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;

    // Shared, so that fonts still cached at exit close their faces before the library goes.
    static std::shared_ptr<FreeTypeLibrary> Instance()
    {
        static const auto library = std::make_shared<FreeTypeLibrary>();
        return library;
    }

    // FreeType's library object is not thread-safe for creating and destroying faces.
    FT_Face Open(const FontFile& file)
    {
        std::lock_guard guard(m_lock);
        FT_Face face = nullptr;
        if (!m_library || FT_New_Face(m_library, file.path.c_str(), file.index, &face) != 0)
            return nullptr;
        return face;
    }
    void Close(FT_Face face)
    {
        std::lock_guard guard(m_lock);
        FT_Done_Face(face);
    }

private:
    FT_Library m_library = nullptr;
    std::mutex m_lock;
};

int Round(double value) { return static_cast<int>(std::lround(value)); }

class FreeTypeFont final : public FontInstance {
public:
    FreeTypeFont(std::shared_ptr<FreeTypeLibrary> library, FT_Face face, const FontFile& file,
                 const detail::FontRequest& request)
        : m_library(std::move(library)), m_face(face), m_syntheticBold(request.bold && !file.bold), m_syntheticItalic(request.italic && !file.italic),
          m_monochrome(request.monochrome)
    {
        SetSize(request);
        SetAngle(request.escapement);
        FillMetrics(file, request);
    }
    ~FreeTypeFont() override { m_library->Close(m_face); }

    const GlyphImage& Glyph(char32_t character) override
    {
        std::lock_guard guard(m_lock);
        auto known = m_glyphs.find(character);
        if (known == m_glyphs.end())
            known = m_glyphs.emplace(character, Render(character)).first;
        return known->second;
    }

    // Measuring needs no rendering: advances are kept apart from the images.
    int Advance(char32_t character) override
    {
        std::lock_guard guard(m_lock);
        if (auto glyph = m_glyphs.find(character); glyph != m_glyphs.end())
            return glyph->second.advance;
        auto known = m_advances.find(character);
        if (known == m_advances.end())
            known = m_advances.emplace(character, MeasureAdvance(character)).first;
        return known->second;
    }

private:
    struct DesignMetrics {
        int ascent;
        int descent;
    };

    // GDI's cell is the OS/2 table's Windows ascent and descent.
    DesignMetrics Design() const
    {
        const TT_OS2* os2 = Os2();
        if (os2 && os2->usWinAscent + os2->usWinDescent > 0)
            return {os2->usWinAscent, os2->usWinDescent};
        return {m_face->ascender, -m_face->descender};
    }

    void SetSize(const detail::FontRequest& request)
    {
        const DesignMetrics design = Design();
        const int upem = std::max<int>(1, m_face->units_per_EM);
        m_em = detail::EmPixelsFor(request.height, upem, design.ascent + design.descent);
        m_xEm = m_em;
        const TT_OS2* os2 = Os2();
        if (request.width > 0 && os2 && os2->xAvgCharWidth > 0)
            m_xEm = std::clamp(Round(static_cast<double>(request.width) * upem / os2->xAvgCharWidth), 1, MaxEmPixels);
        FT_Set_Pixel_Sizes(m_face, static_cast<FT_UInt>(m_xEm), static_cast<FT_UInt>(m_em));
        m_scale = static_cast<double>(m_em) / upem;
        m_xScale = static_cast<double>(m_xEm) / upem;
        if (m_syntheticBold)
            m_boldStrength = std::max(1, Round(m_em / 24.0)) * 64;
    }

    // The OS/2 table, when the face has a real one.
    const TT_OS2* Os2() const
    {
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(m_face, FT_SFNT_OS2));
        return os2 && os2->version != 0xFFFF ? os2 : nullptr;
    }

    void FillMetrics(const FontFile& file, const detail::FontRequest& request)
    {
        FillTextMetrics(file, request);
        FillLineMetrics();
        const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(m_face, FT_SFNT_HHEA));
        SetSlope(hhea, static_cast<const TT_Postscript*>(FT_Get_Sfnt_Table(m_face, FT_SFNT_POST)));
        m_metrics.emSquare = static_cast<unsigned>(m_face->units_per_EM);
        m_metrics.emPixels = static_cast<unsigned>(m_em);
        m_metrics.familyName = m_face->family_name ? m_face->family_name : "";
        m_metrics.styleName = m_face->style_name ? m_face->style_name : "";
    }

    void FillTextMetrics(const FontFile& file, const detail::FontRequest& request)
    {
        const DesignMetrics design = Design();
        const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(m_face, FT_SFNT_HHEA));
        TEXTMETRICA& tm = m_metrics.text;
        tm.tmAscent = Round(design.ascent * m_scale);
        tm.tmDescent = Round(design.descent * m_scale);
        tm.tmHeight = tm.tmAscent + tm.tmDescent;
        tm.tmInternalLeading = std::max<LONG>(0, tm.tmHeight - m_em);
        if (hhea) {
            const int gap = hhea->Line_Gap - ((design.ascent + design.descent) - (hhea->Ascender - hhea->Descender));
            tm.tmExternalLeading = std::max(0, Round(gap * m_scale));
            m_metrics.lineGap = Round(hhea->Line_Gap * m_scale);
        }
        tm.tmAveCharWidth = AverageWidth();
        tm.tmMaxCharWidth = Round((m_face->bbox.xMax - m_face->bbox.xMin) * m_xScale) + m_boldStrength / 64;
        tm.tmWeight = request.weight;
        tm.tmOverhang = 0;
        tm.tmDigitizedAspectX = 96;
        tm.tmDigitizedAspectY = 96;
        tm.tmFirstChar = 0x1E;
        tm.tmLastChar = 0xFF;
        tm.tmDefaultChar = 0x1F;
        tm.tmBreakChar = 0x20;
        tm.tmItalic = request.italic ? 1 : 0;
        tm.tmUnderlined = request.underline ? 1 : 0;
        tm.tmStruckOut = request.strikeOut ? 1 : 0;
        // TMPF_FIXED_PITCH set means a variable pitch, as GDI has it.
        tm.tmPitchAndFamily = static_cast<BYTE>(TMPF_VECTOR | TMPF_TRUETYPE |
                                                (FT_IS_FIXED_WIDTH(m_face) ? 0 : TMPF_FIXED_PITCH) |
                                                (file.pitchAndFamily & 0xF0));
        tm.tmCharSet = request.charSet;
    }

    // Underline and strike-out lines, cap and x heights, the font box.
    void FillLineMetrics()
    {
        const TT_OS2* os2 = Os2();
        const TEXTMETRICA& tm = m_metrics.text;
        FontMetrics& m = m_metrics;
        const FT_BBox& box = m_face->bbox;
        m.fontBox = {Round(box.xMin * m_xScale), Round(box.yMax * m_scale), Round(box.xMax * m_xScale),
                     Round(box.yMin * m_scale)};
        m.underlineSize = std::max(1, Round(m_face->underline_thickness * m_scale));
        m.underlinePosition = std::max(1, Round(-m_face->underline_position * m_scale));
        if (tm.tmDescent > m.underlineSize)
            m.underlinePosition = std::min<int>(m.underlinePosition, tm.tmDescent - m.underlineSize);
        m.strikeoutSize = os2 && os2->yStrikeoutSize > 0 ? std::max(1, Round(os2->yStrikeoutSize * m_scale))
                                                         : m.underlineSize;
        m.strikeoutPosition = os2 && os2->yStrikeoutPosition > 0 ? Round(os2->yStrikeoutPosition * m_scale)
                                                                 : tm.tmAscent / 3;
        if (os2 && os2->version >= 2) {
            m.capHeight = Round(os2->sCapHeight * m_scale);
            m.xHeight = Round(os2->sxHeight * m_scale);
        }
    }

    // The average width of lowercase text, weighted by letter frequency as the first OS/2 tables
    // defined it. The substitutes' own figure averages every glyph they have and comes out wider
    // than the faces they stand in for, which would stretch layouts measured in average widths.
    int AverageWidth()
    {
        static constexpr int Weights[] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20,
                                          56, 56, 17, 4, 49, 56, 71, 31, 10, 18, 3, 18, 2};
        int total = 166 * Advance(U' ');
        for (int letter = 0; letter < 26; ++letter)
            total += Weights[letter] * Advance(static_cast<char32_t>(U'a' + letter));
        return std::max(1, Round(total / 1000.0));
    }

    void SetSlope(const TT_HoriHeader* hhea, const TT_Postscript* post)
    {
        FontMetrics& m = m_metrics;
        if (m_syntheticItalic) {
            m.slopeRise = static_cast<int>(m.emSquare);
            m.slopeRun = Round(m.emSquare * (SyntheticShear / 65536.0));
            m.italicAngle = -Round(std::atan(SyntheticShear / 65536.0) * 1800 / std::numbers::pi);
        } else if (hhea && hhea->caret_Slope_Rise != 0) {
            m.slopeRise = hhea->caret_Slope_Rise;
            m.slopeRun = hhea->caret_Slope_Run;
            m.italicAngle = post ? Round(post->italicAngle / 65536.0 * 10) : 0;
        }
    }

    void SetAngle(int escapement)
    {
        m_metrics.escapement = escapement;
        if (escapement == 0)
            return;
        const double radians = escapement * std::numbers::pi / 1800;
        const auto c = static_cast<FT_Fixed>(std::lround(std::cos(radians) * 65536));
        const auto s = static_cast<FT_Fixed>(std::lround(std::sin(radians) * 65536));
        m_rotation = FT_Matrix{c, -s, s, c};
        m_rotated = true;
    }

    // Loads a character's outline into the glyph slot (hinted); its advance, or nothing for a
    // control character the face has no glyph for (those take no room rather than showing boxes).
    std::optional<int> Load(char32_t character)
    {
        const FT_UInt index = FT_Get_Char_Index(m_face, character);
        if (index == 0 && character < 0x20)
            return std::nullopt;
        const FT_Int32 flags =
            FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP | (m_monochrome ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
        if (FT_Load_Glyph(m_face, index, flags) != 0)
            return std::nullopt;
        const FT_GlyphSlot slot = m_face->glyph;
        const bool outline = slot->format == FT_GLYPH_FORMAT_OUTLINE;
        return static_cast<int>((slot->advance.x + 32) >> 6) + (m_syntheticBold && outline ? m_boldStrength / 64 : 0);
    }

    int MeasureAdvance(char32_t character) { return Load(character).value_or(0); }

    GlyphImage Render(char32_t character)
    {
        GlyphImage image;
        const std::optional<int> advance = Load(character);
        if (!advance)
            return image;
        image.advance = *advance;
        FT_GlyphSlot slot = m_face->glyph;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            if (m_syntheticBold)
                FT_Outline_EmboldenXY(&slot->outline, m_boldStrength, 0);
            if (m_syntheticItalic) {
                FT_Matrix shear{0x10000, SyntheticShear, 0, 0x10000};
                FT_Outline_Transform(&slot->outline, &shear);
            }
            if (m_rotated)
                FT_Outline_Transform(&slot->outline, &m_rotation);
        }
        if (FT_Render_Glyph(slot, m_monochrome ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0)
            return image;
        CopyBitmap(slot, image);
        return image;
    }

    static void CopyBitmap(FT_GlyphSlot slot, GlyphImage& image)
    {
        const FT_Bitmap& bitmap = slot->bitmap;
        image.left = slot->bitmap_left;
        image.top = slot->bitmap_top;
        image.width = static_cast<int>(bitmap.width);
        image.height = static_cast<int>(bitmap.rows);
        image.coverage.resize(static_cast<std::size_t>(image.width) * image.height);
        for (int y = 0; y < image.height; ++y) {
            const unsigned char* row = bitmap.buffer + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
            std::uint8_t* out = image.coverage.data() + static_cast<std::size_t>(y) * image.width;
            for (int x = 0; x < image.width; ++x) {
                if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
                    out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
                else if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY)
                    out[x] = row[x];
            }
        }
    }

    std::shared_ptr<FreeTypeLibrary> m_library;
    FT_Face m_face;
    bool m_syntheticBold;
    bool m_syntheticItalic;
    bool m_monochrome;
    bool m_rotated = false;
    FT_Matrix m_rotation{0x10000, 0, 0, 0x10000};
    int m_em = DefaultEmPixels;
    int m_xEm = DefaultEmPixels;
    double m_scale = 1;
    double m_xScale = 1;
    FT_Pos m_boldStrength = 0;
    std::mutex m_lock;
    std::unordered_map<char32_t, GlyphImage> m_glyphs;
    std::unordered_map<char32_t, int> m_advances;
};

} // namespace

namespace winapi_gdi::detail {

std::shared_ptr<FontInstance> CreateFreeTypeFont(const FontRequest& request)
{
    std::optional<FontFile> file = FindFontFile(request.faceName, request.bold, request.italic, request.pitchAndFamily);
    if (!file)
        return nullptr;
    std::shared_ptr<FreeTypeLibrary> library = FreeTypeLibrary::Instance();
    FT_Face face = library->Open(*file);
    if (!face)
        return nullptr;
    // The face itself says what it has; fontconfig reports a bold it means to synthesise as bold.
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    file->bold = (face->style_flags & FT_STYLE_FLAG_BOLD) || (os2 && os2->version != 0xFFFF && os2->usWeightClass >= 600);
    file->italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    return std::make_shared<FreeTypeFont>(std::move(library), face, *file, request);
}

} // namespace winapi_gdi::detail
