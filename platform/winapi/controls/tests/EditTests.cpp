#include "EditFixture.h"

#include "platform/winapi/user/Clipboard.h"

#include <cstring>

namespace {

using EditTest = EditFixture;

std::string ClipboardText()
{
    std::string text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE block = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(block));
        (void)GlobalUnlock(block);
    }
    (void)CloseClipboard();
    return text;
}

std::string Line(HWND edit, int line)
{
    char buffer[64] = {};
    const WORD size = sizeof buffer - 1;
    std::memcpy(buffer, &size, sizeof size);
    const auto count = SendMessageA(edit, EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(buffer));
    return std::string(buffer, static_cast<std::size_t>(count));
}

TEST_F(EditTest, TypingReportsEachChangeAndSetTextOnlyForSingleLine)
{
    const HWND edit = MakeEdit(ES_AUTOHSCROLL);
    Type("Hello");
    EXPECT_EQ(Text(edit), "Hello");
    EXPECT_EQ(Count(EN_CHANGE), 5);
    EXPECT_EQ(Count(EN_UPDATE), 5);
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{5}, DWORD{5}));
    EXPECT_TRUE(SendMessageA(edit, EM_GETMODIFY, 0, 0));

    ClearNotifications();
    (void)SetWindowTextA(edit, "new");
    EXPECT_EQ(Count(EN_CHANGE), 1);
    EXPECT_FALSE(SendMessageA(edit, EM_GETMODIFY, 0, 0));
    EXPECT_FALSE(SendMessageA(edit, EM_CANUNDO, 0, 0));

    const HWND memo = MakeEdit(ES_MULTILINE, "", {10, 50, 210, 150});
    (void)SetWindowTextA(memo, "a\r\nb");
    EXPECT_EQ(Count(EN_CHANGE), 0);
    Type("x");
    EXPECT_EQ(Count(EN_CHANGE), 1);
    EXPECT_EQ(Text(memo), "xa\r\nb");
}

TEST_F(EditTest, AParentThatDestroysTheEditWhileHearingOfAChangeIsSafe)
{
    for (const WORD fatal : {WORD{EN_UPDATE}, WORD{EN_CHANGE}}) {
        const HWND edit = MakeEdit(ES_AUTOHSCROLL, "", RECT{10, 10, 210, 34});
        (void)SendMessageA(edit, EM_LIMITTEXT, 2, 0);
        ReactWith([fatal](HWND from, WORD code) {
            if (code == fatal)
                (void)DestroyWindow(from);
        });
        (void)SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("too long"));
        EXPECT_FALSE(IsWindow(edit)) << fatal;
        EXPECT_EQ(Count(EN_MAXTEXT), 0) << fatal;
        ReactWith(nullptr);
    }
}

TEST_F(EditTest, KeysMoveAndExtendTheSelection)
{
    const HWND edit = MakeEdit(ES_AUTOHSCROLL, "one two three");
    Press(VK_END);
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{13}, DWORD{13}));
    Press(VK_HOME);
    PressWith(VK_CONTROL, VK_RIGHT);
    EXPECT_EQ(Selection(edit).first, 4u);
    Hold(VK_SHIFT, true);
    Press(VK_RIGHT);
    Press(VK_RIGHT);
    Press(VK_RIGHT);
    Hold(VK_SHIFT, false);
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{4}, DWORD{7}));
    Hold(VK_SHIFT, true);
    Hold(VK_CONTROL, true);
    Press(VK_LEFT);
    Hold(VK_CONTROL, false);
    Hold(VK_SHIFT, false);
    // The anchor stays where the selection began.
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{4}, DWORD{4}));
    Type("X");
    EXPECT_EQ(Text(edit), "one Xtwo three");
    Press(VK_BACK);
    Press(VK_DELETE);
    EXPECT_EQ(Text(edit), "one wo three");
}

TEST_F(EditTest, MouseClickDragShiftClickAndDoubleClickSelect)
{
    const HWND edit = MakeEdit(ES_AUTOHSCROLL, "alpha beta gamma");
    const auto at = [&](int index) {
        const auto pos = static_cast<DWORD>(SendMessageA(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0));
        return POINT{static_cast<SHORT>(LOWORD(pos)), static_cast<SHORT>(HIWORD(pos)) + 4};
    };
    ButtonAt(edit, at(6), true);
    MoveTo(edit, at(8));
    MoveTo(edit, at(10));
    ButtonAt(edit, at(10), false);
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{6}, DWORD{10}));
    EXPECT_EQ(GetCapture(), nullptr);

    Hold(VK_SHIFT, true);
    ButtonAt(edit, at(16), true);
    ButtonAt(edit, at(16), false);
    Hold(VK_SHIFT, false);
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{6}, DWORD{16}));

    DoubleClickAt(edit, at(2));
    EXPECT_EQ(Selection(edit), std::make_pair(DWORD{0}, DWORD{5}));
}

TEST_F(EditTest, CutCopyPasteAndUndoGoThroughTheClipboard)
{
    const HWND edit = MakeEdit(ES_AUTOHSCROLL, "copy me");
    (void)SendMessageA(edit, EM_SETSEL, 0, 4);
    PressWith(VK_CONTROL, 'C');
    EXPECT_EQ(ClipboardText(), "copy");
    Press(VK_END);
    Hold(VK_SHIFT, true);
    Press(VK_INSERT);
    Hold(VK_SHIFT, false);
    EXPECT_EQ(Text(edit), "copy mecopy");

    (void)SendMessageA(edit, EM_SETSEL, 0, 5);
    PressWith(VK_CONTROL, 'X');
    EXPECT_EQ(Text(edit), "mecopy");
    EXPECT_EQ(ClipboardText(), "copy ");
    PressWith(VK_CONTROL, 'Z');
    EXPECT_EQ(Text(edit), "copy mecopy");
    // Undo of the undo restores the cut.
    (void)SendMessageA(edit, WM_UNDO, 0, 0);
    EXPECT_EQ(Text(edit), "mecopy");

    (void)SendMessageA(edit, EM_SETSEL, 0, 2);
    Hold(VK_SHIFT, true);
    Press(VK_DELETE);
    Hold(VK_SHIFT, false);
    EXPECT_EQ(Text(edit), "copy");
    EXPECT_EQ(ClipboardText(), "me");
    (void)SendMessageA(edit, EM_SETSEL, 0, -1);
    (void)SendMessageA(edit, WM_CLEAR, 0, 0);
    EXPECT_EQ(Text(edit), "");
}

TEST_F(EditTest, PasteIntoASingleLineStopsAtTheLineBreak)
{
    const HWND source = MakeEdit(ES_MULTILINE, "first\r\nsecond", {10, 50, 210, 150});
    (void)SendMessageA(source, EM_SETSEL, 0, -1);
    (void)SendMessageA(source, WM_COPY, 0, 0);
    const HWND edit = MakeEdit(ES_AUTOHSCROLL);
    (void)SendMessageA(edit, WM_PASTE, 0, 0);
    EXPECT_EQ(Text(edit), "first");
}

TEST_F(EditTest, LimitTruncatesInputAndReportsMaxText)
{
    const HWND edit = MakeEdit(ES_AUTOHSCROLL);
    (void)SendMessageA(edit, EM_LIMITTEXT, 3, 0);
    EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 3);
    Type("abcd");
    EXPECT_EQ(Text(edit), "abc");
    EXPECT_EQ(Count(EN_MAXTEXT), 1);
    EXPECT_EQ(Count(EN_CHANGE), 3);

    // A character that does not fit whole is not split.
    (void)SendMessageA(edit, EM_SETSEL, 2, 3);
    (void)SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("\xC3\xA9\xC3\xA9"));
    EXPECT_EQ(Text(edit), "ab");
    EXPECT_EQ(Count(EN_MAXTEXT), 2);
    (void)SendMessageA(edit, EM_LIMITTEXT, 0, 0);
    EXPECT_GT(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 0xFFFF);
}

TEST_F(EditTest, MultiByteCharactersAreTypedAndWalkedWhole)
{
    const HWND edit = MakeEdit(ES_AUTOHSCROLL);
    Type("a\xC3\xA9z");
    EXPECT_EQ(Text(edit), "a\xC3\xA9z");
    Press(VK_LEFT);
    Press(VK_LEFT);
    EXPECT_EQ(Selection(edit).first, 1u);
    (void)SendMessageA(edit, EM_SETSEL, 2, 2);
    EXPECT_EQ(Selection(edit).first, 1u);
    Press(VK_DELETE);
    EXPECT_EQ(Text(edit), "az");
}

TEST_F(EditTest, PasswordShowsOnlyTheMaskAndNeverCopies)
{
    const HWND password = MakeEdit(ES_AUTOHSCROLL | ES_PASSWORD, "abc");
    const HWND stars = MakeEdit(ES_AUTOHSCROLL, "***", {10, 50, 210, 74});
    (void)SetFocus(m_main);
    EXPECT_EQ(SendMessageA(password, EM_GETPASSWORDCHAR, 0, 0), '*');
    for (int x = 0; x < 40; ++x)
        for (int y = 0; y < 16; ++y)
            ASSERT_EQ(Pixel(password, {x, y}), Pixel(stars, {x, y})) << x << "," << y;

    (void)SendMessageA(stars, EM_SETSEL, 0, -1);
    (void)SendMessageA(stars, WM_COPY, 0, 0);
    (void)SendMessageA(password, EM_SETSEL, 0, -1);
    (void)SendMessageA(password, WM_COPY, 0, 0);
    EXPECT_EQ(ClipboardText(), "***");
    EXPECT_EQ(Text(password), "abc");

    (void)SendMessageA(password, EM_SETPASSWORDCHAR, 0, 0);
    EXPECT_EQ(GetWindowLongA(password, GWL_STYLE) & ES_PASSWORD, 0);
}

TEST_F(EditTest, ReadOnlyRefusesEditingAndLooksLikeStaticText)
{
    const HWND edit = MakeEdit(ES_AUTOHSCROLL | ES_READONLY, "fixed");
    Type("x");
    Press(VK_BACK);
    (void)SendMessageA(edit, EM_SETSEL, 0, -1);
    (void)SendMessageA(edit, WM_CUT, 0, 0);
    EXPECT_EQ(Text(edit), "fixed");
    EXPECT_EQ(Count(EN_CHANGE), 0);
    (void)SetFocus(m_main);
    EXPECT_EQ(Pixel(edit, {150, 10}), Rgb(GetSysColor(COLOR_3DFACE)));

    (void)SendMessageA(edit, EM_SETREADONLY, FALSE, 0);
    EXPECT_EQ(Pixel(edit, {150, 10}), Rgb(GetSysColor(COLOR_WINDOW)));
    (void)EnableWindow(edit, FALSE);
    EXPECT_EQ(Pixel(edit, {150, 10}), Rgb(GetSysColor(COLOR_3DFACE)));
    (void)EnableWindow(edit, TRUE);
    (void)SetFocus(edit);
    Press(VK_END);
    Type("!");
    EXPECT_EQ(Text(edit), "fixed!");
}

TEST_F(EditTest, MultiLineAnswersLineQueries)
{
    const HWND edit = MakeEdit(ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL, "ab\r\ncd\r\n\r\nxyz", {10, 50, 210, 150});
    EXPECT_EQ(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), 4);
    EXPECT_EQ(SendMessageA(edit, EM_LINEINDEX, 1, 0), 4);
    EXPECT_EQ(SendMessageA(edit, EM_LINEINDEX, 3, 0), 10);
    EXPECT_EQ(SendMessageA(edit, EM_LINEINDEX, 4, 0), -1);
    EXPECT_EQ(SendMessageA(edit, EM_LINELENGTH, 5, 0), 2);
    EXPECT_EQ(SendMessageA(edit, EM_LINELENGTH, 8, 0), 0);
    EXPECT_EQ(SendMessageA(edit, EM_LINEFROMCHAR, 11, 0), 3);
    EXPECT_EQ(Line(edit, 3), "xyz");
    EXPECT_EQ(Line(edit, 1), "cd");

    // Down keeps the column; End goes to the line's end.
    (void)SendMessageA(edit, EM_SETSEL, 1, 1);
    Press(VK_DOWN);
    EXPECT_EQ(Selection(edit).first, 5u);
    Press(VK_DOWN);
    Press(VK_DOWN);
    Press(VK_END);
    EXPECT_EQ(Selection(edit).first, 13u);
    Press(VK_RETURN);
    EXPECT_EQ(SendMessageA(edit, EM_GETLINECOUNT, 0, 0), 5);
    EXPECT_EQ(SendMessageA(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 4);
}

TEST_F(EditTest, LinesWrapOnlyWithoutHorizontalScrolling)
{
    const char* text = "aaaa bbbb cccc";
    const HWND narrow = MakeEdit(ES_MULTILINE, text, {10, 50, 60, 150});
    const HWND scrolling = MakeEdit(ES_MULTILINE | ES_AUTOHSCROLL, text, {10, 160, 60, 260});
    EXPECT_EQ(SendMessageA(scrolling, EM_GETLINECOUNT, 0, 0), 1);
    const auto lines = SendMessageA(narrow, EM_GETLINECOUNT, 0, 0);
    ASSERT_GE(lines, 2);
    EXPECT_EQ(Line(narrow, 0), "aaaa ");
    EXPECT_EQ(Text(narrow), text);
    // A word longer than the line breaks inside.
    (void)SetWindowTextA(narrow, "abcdefghijklmnopqrstuvwxyz");
    EXPECT_GE(SendMessageA(narrow, EM_GETLINECOUNT, 0, 0), 2);
}

TEST_F(EditTest, FormattingRectangleMovesTheText)
{
    const HWND edit = MakeEdit(ES_MULTILINE, "text", {10, 50, 210, 150});
    RECT rect{};
    (void)SendMessageA(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
    EXPECT_EQ(rect.left, 1);
    const RECT wanted{5, 3, 150, 60};
    (void)SendMessageA(edit, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&wanted));
    (void)SendMessageA(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
    EXPECT_TRUE(EqualRect(&rect, &wanted));
    EXPECT_EQ(SendMessageA(edit, EM_POSFROMCHAR, 0, 0), MAKELONG(5, 3));
    (void)SendMessageA(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELONG(4, 6));
    EXPECT_EQ(SendMessageA(edit, EM_GETMARGINS, 0, 0), MAKELONG(4, 6));
    (void)SendMessageA(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
    EXPECT_EQ(rect.left, 4);
}

TEST_F(EditTest, ScrollingFollowsTheCaretAndTheScrollBar)
{
    const HWND edit = MakeEdit(ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, "", {10, 50, 210, 90});
    // With nothing to scroll the bar stays, disabled, as a memo's does.
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetScrollBarInfo(edit, OBJID_VSCROLL, &info));
    EXPECT_EQ(info.rgstate[0] & STATE_SYSTEM_INVISIBLE, 0u);
    EXPECT_NE(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE, 0u);
    std::string text;
    for (int i = 0; i < 20; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    (void)SetWindowTextA(edit, text.c_str());
    (void)SendMessageA(edit, EM_SETSEL, text.size(), text.size());
    EXPECT_GT(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 15);
    EXPECT_GT(GetScrollPos(edit, SB_VERT), 15);
    ASSERT_TRUE(GetScrollBarInfo(edit, OBJID_VSCROLL, &info));
    EXPECT_EQ(info.rgstate[0] & STATE_SYSTEM_UNAVAILABLE, 0u);

    (void)SendMessageA(edit, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EXPECT_EQ(Count(EN_VSCROLL), 1);
    (void)SendMessageA(edit, EM_LINESCROLL, 0, 3);
    EXPECT_EQ(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 3);
    (void)SendMessageA(edit, EM_SCROLLCARET, 0, 0);
    EXPECT_GT(SendMessageA(edit, EM_GETFIRSTVISIBLELINE, 0, 0), 15);
}

TEST_F(EditTest, StylesFilterTheTypedCharacters)
{
    const HWND upper = MakeEdit(ES_AUTOHSCROLL | ES_UPPERCASE);
    Type("aB1");
    EXPECT_EQ(Text(upper), "AB1");
    (void)SetWindowTextA(upper, "set");
    EXPECT_EQ(Text(upper), "SET");
    const HWND number = MakeEdit(ES_AUTOHSCROLL | ES_NUMBER, "", {10, 50, 210, 74});
    Type("1a2");
    EXPECT_EQ(Text(number), "12");
    EXPECT_EQ(SendMessageA(number, WM_GETDLGCODE, 0, 0), 0x0089);
    const HWND memo = MakeEdit(ES_MULTILINE, "", {10, 80, 210, 150});
    EXPECT_EQ(SendMessageA(memo, WM_GETDLGCODE, 0, 0), 0x008D);
}

TEST_F(EditTest, FocusIsReportedAndTheCaretFollowsIt)
{
    const HWND edit = MakeEdit(ES_AUTOHSCROLL, "abc");
    const HWND other = MakeEdit(ES_AUTOHSCROLL, "", {10, 50, 210, 74});
    EXPECT_EQ(Count(EN_KILLFOCUS), 0);
    (void)SetFocus(edit);
    EXPECT_EQ(Count(EN_KILLFOCUS), 1);
    EXPECT_EQ(Count(EN_SETFOCUS), 1);
    (void)SendMessageA(edit, EM_SETSEL, 3, 3);
    POINT caret{};
    (void)GetCaretPos(&caret);
    EXPECT_EQ(MAKELONG(static_cast<WORD>(caret.x), static_cast<WORD>(caret.y)), SendMessageA(edit, EM_POSFROMCHAR, 3, 0));
    (void)SetFocus(other);
    EXPECT_EQ(Count(EN_KILLFOCUS), 2);
}

// The leftmost client column of the edit's first line that is not the background, or -1.
int FirstInkedColumn(HWND edit, const std::function<std::uint32_t(POINT)>& pixel)
{
    RECT client{};
    (void)GetClientRect(edit, &client);
    const std::uint32_t background = pixel(POINT{client.right - 2, client.bottom / 2});
    for (int x = 0; x < client.right / 2; ++x)
        for (int y = 0; y < client.bottom; ++y)
            if (pixel(POINT{x, y}) != background)
                return x;
    return -1;
}

// A caret at the start must not hide the stem of the first letter: the caret takes the blank
// column that leads the first glyph's cell, and the ink starts after it.
TEST_F(EditTest, TheCaretAtTheStartStandsClearOfTheFirstGlyph)
{
    for (const char* text : {"MMM", "lime", "Hello", "|x|", "Wide"}) {
        const HWND edit = MakeEdit(ES_AUTOHSCROLL, text);
        (void)SetFocus(m_main); // no caret while the glyphs are looked at
        Pump();
        const int ink = FirstInkedColumn(edit, [&](POINT point) { return Pixel(edit, point); });
        (void)SetFocus(edit);
        (void)SendMessageA(edit, EM_SETSEL, 0, 0);
        POINT caret{};
        (void)GetCaretPos(&caret);
        EXPECT_GT(ink, 0) << text;
        EXPECT_LT(caret.x, ink) << text << ": caret at " << caret.x << ", first ink at " << ink;
        (void)DestroyWindow(edit);
    }
}

} // namespace
