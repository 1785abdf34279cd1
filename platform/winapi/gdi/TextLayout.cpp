#include "platform/winapi/gdi/TextLayout.h"

#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/gdi/TextRun.h"
#include "platform/winapi/gdi/TextUtf8.h"

#include <algorithm>

namespace {

constexpr std::string_view Ellipsis = "...";

bool IsBlank(char32_t c) { return c == U' ' || c == U'\t'; }

// The text with its prefix characters taken out: where each shown byte came from in the source,
// and which characters are to be underlined.
struct Display {
    std::string text;
    std::vector<std::size_t> source;      // source offset of every byte of text, plus the end
    std::vector<std::size_t> underlined;  // offsets in text of underlined characters
};

Display StripPrefixes(std::string_view source, unsigned format)
{
    Display display;
    const bool prefixes = !(format & DT_NOPREFIX);
    for (std::size_t i = 0; i < source.size(); ++i) {
        if (prefixes && source[i] == '&') {
            if (i + 1 >= source.size())
                continue; // a lone prefix at the end shows nothing
            ++i;
            if (source[i] != '&' && !(format & DT_HIDEPREFIX))
                display.underlined.push_back(display.text.size());
        }
        display.text.push_back(source[i]);
        display.source.push_back(i);
    }
    display.source.push_back(source.size());
    return display;
}

class Layouter {
public:
    Layouter(FontInstance& font, const Display& display, const TextLayoutRules& rules)
        : m_font(font), m_display(display), m_rules(rules)
    {
    }

    TextLayout Run()
    {
        std::string_view text = m_display.text;
        std::size_t start = 0;
        while (start < text.size()) {
            std::size_t end = m_rules.format & DT_SINGLELINE ? text.size() : text.find_first_of("\r\n", start);
            if (end == std::string_view::npos)
                end = text.size();
            Paragraph(start, end);
            start = end;
            if (start < text.size())
                start += text.compare(start, 2, "\r\n") == 0 ? 2 : 1;
        }
        FitHeight();
        for (const TextLayoutLine& line : m_layout.lines)
            m_layout.width = std::max(m_layout.width, line.width);
        return std::move(m_layout);
    }

private:
    [[nodiscard]] int Measure(std::string_view text) const
    {
        return TextRun(m_font, text, RunOptions{{}, 0, m_rules.tabWidth}).Width();
    }

    void Paragraph(std::size_t start, std::size_t end)
    {
        if (!(m_rules.format & DT_WORDBREAK) || start == end) {
            AddLine(start, end, end);
            return;
        }
        while (start < end)
            start = BreakLine(start, end);
    }

    // Lays out one line from `start`; returns where the next one begins.
    std::size_t BreakLine(std::size_t start, std::size_t end)
    {
        std::string_view text = m_display.text;
        std::size_t breakEnd = std::string_view::npos;  // end of the last word that fits
        std::size_t breakNext = std::string_view::npos; // start of the word after it
        long long x = 0; // blanks may hang past the edge without limit
        bool previousBlank = false;
        std::size_t pos = start;
        while (pos < end) {
            std::size_t next = pos;
            const char32_t c = NextCharacter(text.substr(0, end), next);
            const bool blank = IsBlank(c);
            const long long advance = c == U'\t' && m_rules.tabWidth > 0
                              ? (x / m_rules.tabWidth + 1) * m_rules.tabWidth - x
                              : m_font.Advance(c);
            if (blank) {
                if (!previousBlank && pos > start)
                    breakEnd = pos;
                breakNext = next;
            } else if (x + advance > m_rules.width && pos > start) {
                break; // blanks may hang past the edge; a character that does not fit ends the line
            }
            previousBlank = blank;
            x += advance;
            pos = next;
        }
        if (pos >= end) {
            AddLine(start, end, end);
            return end;
        }
        if (breakEnd != std::string_view::npos && breakNext <= pos) {
            AddLine(start, breakEnd, breakNext);
            return breakNext;
        }
        if (!(m_rules.format & DT_EDITCONTROL)) {
            // A word wider than the line stays whole.
            std::size_t wordEnd = pos;
            while (wordEnd < end && text[wordEnd] != ' ' && text[wordEnd] != '\t')
                ++wordEnd;
            std::size_t nextWord = wordEnd;
            while (nextWord < end && (text[nextWord] == ' ' || text[nextWord] == '\t'))
                ++nextWord;
            AddLine(start, wordEnd, nextWord);
            return nextWord;
        }
        AddLine(start, pos, pos);
        return pos;
    }

    // A line of display text [start, end); `next` is where the following line starts (the
    // source it covers runs up to there).
    void AddLine(std::size_t start, std::size_t end, std::size_t next)
    {
        TextLayoutLine line;
        line.text = m_display.text.substr(start, end - start);
        // Lines come in text order, so the underlined characters are walked once in all.
        const std::vector<std::size_t>& underlined = m_display.underlined;
        while (m_nextUnderline < underlined.size() && underlined[m_nextUnderline] < start)
            ++m_nextUnderline;
        for (std::size_t i = m_nextUnderline; i < underlined.size() && underlined[i] < end; ++i)
            line.underlines.emplace_back(underlined[i] - start, underlined[i] - start + CharLength(underlined[i]));
        line.width = Measure(line.text);
        if (line.width > m_rules.width)
            Shorten(line, false);
        m_layout.lines.push_back(std::move(line));
        m_sourceEnds.push_back(m_display.source[std::min(next, m_display.text.size())]);
    }

    [[nodiscard]] std::size_t CharLength(std::size_t offset) const
    {
        std::size_t next = offset;
        (void)NextCharacter(m_display.text, next);
        return next - offset;
    }

    // A shortened line: the text, and how many of its first bytes are the original's.
    struct Shortened {
        std::string text;
        std::size_t kept;
    };

    // Puts in the ellipsis the format asks for; `forced` shortens even a line that fits (the
    // last visible line of text that goes on below).
    void Shorten(TextLayoutLine& line, bool forced)
    {
        const unsigned format = m_rules.format;
        const bool end = format & DT_END_ELLIPSIS;
        const bool word = format & DT_WORD_ELLIPSIS;
        const bool path = format & DT_PATH_ELLIPSIS;
        if (!(end || word || path))
            return;
        Shortened shortened = path && !forced ? PathEllipsis(line.text, end) : EndEllipsis(line.text, word && !end);
        if (shortened.text == line.text)
            return;
        // Underlines survive on the part kept in front of the ellipsis.
        std::erase_if(line.underlines, [&](const auto& range) { return range.second > shortened.kept; });
        line.text = std::move(shortened.text);
        line.width = Measure(line.text);
        m_layout.shortened = true;
    }

    // The longest start of `text` that leaves room for the ellipsis after it; at word ends only
    // when `wholeWords` (falling back to characters when not even one word fits).
    [[nodiscard]] Shortened EndEllipsis(std::string_view text, bool wholeWords) const
    {
        const int room = m_rules.width - Measure(Ellipsis);
        const TextRun run(m_font, text, RunOptions{{}, 0, m_rules.tabWidth});
        std::size_t fit = 0;
        std::size_t wordFit = 0;
        for (const RunGlyph& glyph : run.Glyphs()) {
            if (glyph.x + glyph.advance > room)
                break;
            fit = glyph.offset + glyph.length;
            if (fit < text.size() && IsBlank(static_cast<unsigned char>(text[fit])) && !IsBlank(glyph.character))
                wordFit = fit;
        }
        const std::size_t keep = wholeWords && wordFit > 0 ? wordFit : fit;
        return {std::string(text.substr(0, keep)).append(Ellipsis), keep};
    }

    // Keeps the last path element ("\file.txt") and as much of the front as fits.
    [[nodiscard]] Shortened PathEllipsis(std::string_view text, bool endToo) const
    {
        const std::size_t separator = text.find_last_of("\\/");
        if (separator == std::string_view::npos || separator == 0)
            return EndEllipsis(text, false);
        const std::string_view tail = text.substr(separator);
        const int room = m_rules.width - Measure(Ellipsis) - Measure(tail);
        const TextRun head(m_font, text.substr(0, separator), RunOptions{{}, 0, m_rules.tabWidth});
        std::size_t keep = 0;
        for (const RunGlyph& glyph : head.Glyphs()) {
            if (glyph.x + glyph.advance > room)
                break;
            keep = glyph.offset + glyph.length;
        }
        Shortened shortened{std::string(text.substr(0, keep)).append(Ellipsis).append(tail), keep};
        if (endToo && Measure(shortened.text) > m_rules.width) {
            Shortened ended = EndEllipsis(shortened.text, false);
            ended.kept = std::min(ended.kept, keep);
            return ended;
        }
        return shortened;
    }

    // With DT_EDITCONTROL, lines that would only partly show are left out, and an end ellipsis
    // goes on the last line shown.
    void FitHeight()
    {
        const unsigned format = m_rules.format;
        m_layout.lengthDrawn = m_display.source.back();
        if (!(format & DT_EDITCONTROL) || (format & (DT_CALCRECT | DT_SINGLELINE)) || m_rules.lineHeight <= 0)
            return;
        const auto fitting = static_cast<std::size_t>(std::max(0, m_rules.height / m_rules.lineHeight));
        if (fitting >= m_layout.lines.size())
            return;
        m_layout.lines.resize(fitting);
        m_layout.lengthDrawn = fitting == 0 ? 0 : m_sourceEnds[fitting - 1];
        if (fitting > 0 && (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS)))
            Shorten(m_layout.lines.back(), true);
    }

    FontInstance& m_font;
    const Display& m_display;
    const TextLayoutRules& m_rules;
    TextLayout m_layout;
    std::vector<std::size_t> m_sourceEnds;
    std::size_t m_nextUnderline = 0;
};

} // namespace

TextLayout LayOutText(FontInstance& font, std::string_view text, const TextLayoutRules& rules)
{
    const Display display = StripPrefixes(text, rules.format);
    return Layouter(font, display, rules).Run();
}
