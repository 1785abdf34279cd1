#include "TextFixture.h"

#include <array>

class DrawTextTest : public TextFixture {
protected:
    // DT_CALCRECT from (0, 0) with the given width: the rectangle DrawText asks for.
    RECT Measure(const std::string& text, UINT format, int width = 1000)
    {
        RECT rect{0, 0, width, 0};
        const int height = DrawTextA(m_dc, text.c_str(), static_cast<int>(text.size()), &rect, format | DT_CALCRECT);
        EXPECT_EQ(height, rect.bottom);
        return rect;
    }

    // The text DT_MODIFYSTRING leaves in a buffer of exactly the text's size.
    std::string Shortened(const std::string& text, UINT format, int width)
    {
        std::string buffer = text;
        RECT rect{0, 0, width, 40};
        DrawTextA(m_dc, buffer.data(), -1, &rect, format | DT_SINGLELINE | DT_MODIFYSTRING);
        return buffer.c_str();
    }
};

TEST_F(DrawTextTest, CalcRectMeasuresLinesAndWidths)
{
    const int line = Metrics().tmHeight;
    struct Case {
        const char* text;
        UINT format;
        int lines;
    } cases[] = {
        {"one line", 0, 1},
        {"a\nb\r\nc\rd", 0, 4},
        {"a\n\nb", 0, 3},
        {"trailing break\n", 0, 1},
        {"a\nb\nc", DT_SINGLELINE, 1},
        {"", 0, 0},
    };
    for (const Case& c : cases) {
        const RECT rect = Measure(c.text, c.format);
        EXPECT_EQ(rect.bottom, c.lines * line) << c.text;
    }
    // A single line's rectangle ends at its last character.
    EXPECT_EQ(Measure("Width", DT_SINGLELINE).right, Extent("Width").cx);
    EXPECT_EQ(Measure("ab\nabcdef", 0).right, Extent("abcdef").cx);
}

TEST_F(DrawTextTest, WordBreakingKeepsLinesWithinTheWidth)
{
    const std::string text = "the quick brown fox jumps over the lazy dog again and again";
    const int width = Extent("the quick brown").cx + 2;
    RECT rect = Measure(text, DT_WORDBREAK, width);
    EXPECT_LE(rect.right, width);
    const int lines = rect.bottom / Metrics().tmHeight;
    EXPECT_GE(lines, 4);

    // What is drawn is what was measured: the ink lies within the measured rectangle, and the
    // first line is exactly the words that fit.
    rect = RECT{10, 5, 10 + width, 115};
    DrawTextA(m_dc, text.c_str(), -1, &rect, DT_WORDBREAK);
    const RECT ink = InkBox();
    EXPECT_LE(ink.right, 10 + width);
    EXPECT_LE(ink.bottom, 5 + lines * Metrics().tmHeight);
    const RECT wrappedFirst = InkBoxIn(RECT{0, 0, 240, 5 + Metrics().tmHeight});
    Clear();
    TextOutA(m_dc, 10, 5, "the quick brown", 15);
    const RECT expectedFirst = InkBoxIn(RECT{10, 0, 240, 120}); // DrawText clips at its rectangle
    EXPECT_EQ(wrappedFirst.left, expectedFirst.left);
    EXPECT_EQ(wrappedFirst.right, expectedFirst.right);
}

TEST_F(DrawTextTest, LongWordsStayWholeUnlessLikeAnEditControl)
{
    const std::string text = "supercalifragilistic word";
    const int width = Extent("supercal").cx;
    EXPECT_EQ(Measure(text, DT_WORDBREAK, width).right, Extent("supercalifragilistic").cx);
    EXPECT_EQ(Measure(text, DT_WORDBREAK, width).bottom, 2 * Metrics().tmHeight);
    const RECT broken = Measure(text, DT_WORDBREAK | DT_EDITCONTROL, width);
    EXPECT_LE(broken.right, width);
    EXPECT_GE(broken.bottom, 3 * Metrics().tmHeight);
}

TEST_F(DrawTextTest, SingleLineVerticalAndHorizontalPlacement)
{
    SetBkMode(m_dc, OPAQUE);
    SetBkColor(m_dc, RGB(0, 0, 255));
    const int line = Metrics().tmHeight;
    const int width = Extent("Mid").cx;
    struct Case {
        UINT format;
        int left, top; // expected cell position in the rectangle (20, 10, 220, 110)
        int result;
    } cases[] = {
        {DT_SINGLELINE | DT_VCENTER | DT_CENTER, 20 + (200 - width) / 2, 10 + (100 - line) / 2, (100 - line) / 2 + line},
        {DT_SINGLELINE | DT_BOTTOM | DT_RIGHT, 220 - width, 110 - line, 100},
        {DT_SINGLELINE, 20, 10, line},
        {DT_VCENTER, 20, 10, line}, // vertical placement needs DT_SINGLELINE
    };
    for (const Case& c : cases) {
        Clear();
        RECT rect{20, 10, 220, 110};
        EXPECT_EQ(DrawTextA(m_dc, "Mid", -1, &rect, c.format), c.result) << c.format;
        EXPECT_EQ(InkBox().left, c.left) << c.format;
        EXPECT_EQ(InkBox().top, c.top) << c.format;
    }
}

TEST_F(DrawTextTest, PrefixCharactersUnderlineTheirLetter)
{
    EXPECT_EQ(Measure("&File", DT_SINGLELINE).right, Extent("File").cx);
    EXPECT_EQ(Measure("Save && Exit", DT_SINGLELINE).right, Extent("Save & Exit").cx);
    EXPECT_EQ(Measure("&File", DT_SINGLELINE | DT_NOPREFIX).right, Extent("&File").cx);
    EXPECT_EQ(Measure("&File", DT_SINGLELINE | DT_HIDEPREFIX).right, Extent("File").cx);

    // The underline sits below the baseline under the prefixed letter only.
    const TEXTMETRICA tm = Metrics();
    const int below = tm.tmAscent + 1; // rows from the baseline down to the cell bottom
    auto underlined = [&](const char* text, UINT format) {
        Clear();
        RECT rect{0, 0, 200, 40};
        DrawTextA(m_dc, text, -1, &rect, DT_SINGLELINE | format);
        return InkBoxIn(RECT{0, below, 200, tm.tmHeight});
    };
    const RECT plain = underlined("aFile", 0);
    const RECT marked = underlined("a&File", 0);
    EXPECT_EQ(plain.right, 0) << "no ink under the baseline without a prefix";
    EXPECT_GE(marked.left, Extent("a").cx - 1);
    EXPECT_LE(marked.right, Extent("aF").cx + 1);
    EXPECT_GT(marked.right, marked.left);
    EXPECT_EQ(underlined("a&File", DT_HIDEPREFIX).right, 0);
    EXPECT_EQ(underlined("a&File", DT_NOPREFIX).right, 0);
}

TEST_F(DrawTextTest, EllipsesShortenToTheWidth)
{
    const std::string sentence = "Connected to the network at high speed";
    const int width = Extent("Connected to the net").cx;

    const std::string end = Shortened(sentence, DT_END_ELLIPSIS, width);
    EXPECT_EQ(end.substr(end.size() - 3), "...");
    EXPECT_EQ(sentence.compare(0, end.size() - 3, end, 0, end.size() - 3), 0);
    EXPECT_LE(Extent(end).cx, width);
    EXPECT_GT(Extent(end).cx, width - Extent("W...").cx);

    const std::string word = Shortened(sentence, DT_WORD_ELLIPSIS, width);
    EXPECT_EQ(word, "Connected to the...");

    const std::string path = Shortened("C:\\Program Files\\Modem\\settings.ini", DT_PATH_ELLIPSIS,
                                       Extent("C:\\Prog...\\settings.ini").cx);
    EXPECT_EQ(path, "C:\\Prog...\\settings.ini");

    // Text that fits is left alone, and a measured ellipsis is what gets drawn.
    EXPECT_EQ(Shortened("Short", DT_END_ELLIPSIS, 200), "Short");
    EXPECT_EQ(Measure(sentence, DT_SINGLELINE | DT_END_ELLIPSIS, width).right, Extent(end).cx);
}

TEST_F(DrawTextTest, ModifyStringNeverWritesPastTheGivenText)
{
    // "ab" shortened to "..." is longer than the text itself; Win32 writes up to four bytes
    // beyond it. Here the bytes after the count stay as they were.
    std::array<char, 8> buffer{'a', 'b', '#', '#', '#', '#', '#', '\0'};
    RECT rect{0, 0, 2, 20};
    DrawTextA(m_dc, buffer.data(), 2, &rect, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
    EXPECT_EQ(std::string(buffer.data() + 2, 5), "#####");
}

TEST_F(DrawTextTest, TabsMarginsAndLengthDrawn)
{
    const int average = Metrics().tmAveCharWidth;
    EXPECT_EQ(Measure("a\tb", DT_SINGLELINE | DT_EXPANDTABS).right, 8 * average + Extent("b").cx);
    // DT_TABSTOP takes the tab length from the format's second byte.
    RECT line{0, 0, 200, 20};
    DrawTextA(m_dc, "\tl", -1, &line, DT_SINGLELINE | DT_EXPANDTABS | DT_TABSTOP | (4 << 8));
    EXPECT_GE(InkBox().left, 4 * average);
    EXPECT_LT(InkBox().left, 4 * average + Extent("l").cx);

    std::string text = "a\tb";
    DRAWTEXTPARAMS params{sizeof(DRAWTEXTPARAMS), 2, 5, 7, 0};
    RECT rect{0, 0, 300, 0};
    DrawTextExA(m_dc, text.data(), -1, &rect, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT, &params);
    EXPECT_EQ(rect.right, 5 + 2 * average + Extent("b").cx + 7);
    EXPECT_EQ(params.uiLengthDrawn, 3u);

    params.cbSize = 12;
    EXPECT_EQ(DrawTextExA(m_dc, text.data(), -1, &rect, 0, &params), 0);
}

TEST_F(DrawTextTest, EditControlHidesPartialLinesAndMarksTheCut)
{
    const int line = Metrics().tmHeight;
    std::string text = "first line\nsecond line\nthird line";
    DRAWTEXTPARAMS params{sizeof(DRAWTEXTPARAMS), 0, 0, 0, 0};
    RECT rect{0, 0, 200, 2 * line + line / 2};
    EXPECT_EQ(DrawTextExA(m_dc, text.data(), -1, &rect, DT_EDITCONTROL | DT_WORDBREAK | DT_END_ELLIPSIS, &params),
              2 * line);
    EXPECT_LT(InkBox().bottom, 2 * line + 1);
    EXPECT_EQ(params.uiLengthDrawn, std::string("first line\nsecond line").size());
    // The last line shown ends in an ellipsis although it fits: the text goes on.
    EXPECT_GT(InkBoxIn(RECT{0, line, 200, 2 * line}).right, Extent("second line").cx);
}

TEST_F(DrawTextTest, ClipsToTheRectangleUnlessNoClip)
{
    RECT rect{10, 10, 40, 30};
    DrawTextA(m_dc, "MMMMMMMMMMMM", -1, &rect, DT_SINGLELINE);
    EXPECT_LE(InkBox().right, 40);
    Clear();
    DrawTextA(m_dc, "MMMMMMMMMMMM", -1, &rect, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(InkBox().right, 60);
}

TEST_F(DrawTextTest, BadArgumentsFail)
{
    RECT rect{0, 0, 100, 100};
    HDC stale = CreateCompatibleDC(nullptr);
    DeleteDC(stale);
    EXPECT_EQ(DrawTextA(stale, "x", -1, &rect, 0), 0);
    EXPECT_EQ(DrawTextA(m_dc, "x", -1, nullptr, 0), 0);
    EXPECT_EQ(DrawTextA(m_dc, nullptr, 3, &rect, 0), 0);
    EXPECT_EQ(DrawTextA(m_dc, "x", -5, &rect, 0), 0);
    EXPECT_TRUE(NoInk());
}

TEST_F(DrawTextTest, WideFormCountsUtf16Units)
{
    // A Cyrillic letter (one unit) and a musical symbol (a surrogate pair) measure as in UTF-8.
    std::u16string text = u"a\u0416\U0001D11E b";
    RECT wide{0, 0, 1000, 0};
    DRAWTEXTPARAMS params{sizeof(DRAWTEXTPARAMS), 0, 0, 0, 0};
    DrawTextExW(m_dc, text.data(), -1, &wide, DT_CALCRECT | DT_SINGLELINE, &params);
    EXPECT_EQ(wide.right, Measure("a\xD0\x96\xF0\x9D\x84\x9E b", DT_SINGLELINE).right);
    EXPECT_EQ(params.uiLengthDrawn, text.size());

    std::u16string sentence = u"Connected to the network at high speed";
    const std::size_t length = sentence.size();
    RECT rect{0, 0, Extent("Connected to the net").cx, 20};
    DrawTextW(m_dc, sentence.data(), -1, &rect, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
    const std::u16string shown = sentence.c_str();
    EXPECT_EQ(shown.substr(shown.size() - 3), u"...");
    EXPECT_LT(shown.size(), length);

    // An unpaired surrogate draws as a replacement character instead of failing.
    std::u16string lone = u"x";
    lone.push_back(char16_t(0xD800));
    EXPECT_GT(DrawTextW(m_dc, lone.c_str(), -1, &rect, DT_SINGLELINE), 0);
}
