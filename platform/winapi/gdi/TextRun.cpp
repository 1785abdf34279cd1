#include "platform/winapi/gdi/TextRun.h"

#include "platform/winapi/gdi/TextUtf8.h"

#include <algorithm>

namespace {

// Widths stay far inside int, whatever spacing a caller passes.
constexpr long long AdvanceLimit = 1 << 20;
constexpr long long WidthLimit = 1 << 28;

} // namespace

TextRun::TextRun(FontInstance& font, std::string_view text, const RunOptions& options)
{
    long long x = 0;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        const char32_t character = NextCharacter(text, pos);
        long long advance = 0;
        if (!options.dx.empty()) {
            for (std::size_t i = start; i < pos && i < options.dx.size(); ++i)
                advance += options.dx[i];
        } else if (character == U'\t' && options.tabWidth > 0) {
            advance = (x / options.tabWidth + 1) * options.tabWidth - x;
        } else {
            advance = font.Advance(character) + options.characterExtra;
        }
        advance = std::clamp(advance, -AdvanceLimit, AdvanceLimit);
        m_glyphs.push_back({character, start, pos - start, static_cast<int>(x), static_cast<int>(advance)});
        x = std::clamp(x + advance, -WidthLimit, WidthLimit);
    }
    m_width = static_cast<int>(x);
}

int TextRun::XAt(std::size_t offset) const
{
    for (const RunGlyph& glyph : m_glyphs)
        if (glyph.offset >= offset)
            return glyph.x;
    return m_width;
}
