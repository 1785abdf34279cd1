#include "tests/support/controls/ControlTestHost.h"
#include "platform/winapi/controls/MonthCal.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/LocaleSettings.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/Text.h"

#include <optional>

namespace {

SYSTEMTIME Ymd(WORD year, WORD month, WORD day)
{
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    return time;
}

bool SameDate(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDay == b.wDay;
}

class MonthCalTest : public ControlTestHost {
protected:
    void SetUp() override
    {
        ControlTestHost::SetUp();
        RegisterMonthCalClass();
        m_cal = Control(MONTHCAL_CLASSA, WS_BORDER, {5, 5, 300, 250});
        RECT minimum{};
        ASSERT_TRUE(SendMessageA(m_cal, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&minimum)));
        (void)SetWindowPos(m_cal, nullptr, 0, 0, minimum.right + 2, minimum.bottom + 2, SWP_NOMOVE | SWP_NOZORDER);
        SYSTEMTIME today = Ymd(2026, 12, 10);
        (void)SendMessageA(m_cal, MCM_SETTODAY, 0, reinterpret_cast<LPARAM>(&today));
        ASSERT_TRUE(SendMessageA(m_cal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&today)));
        Pump();
        ForgetNotes();
    }

    [[nodiscard]] SYSTEMTIME Selection() const
    {
        SYSTEMTIME time{};
        (void)SendMessageA(m_cal, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&time));
        return time;
    }
    [[nodiscard]] MCHITTESTINFO Hit(POINT point) const
    {
        MCHITTESTINFO info{};
        info.cbSize = sizeof info;
        info.pt = point;
        (void)SendMessageA(m_cal, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info));
        return info;
    }
    // A client point, found on a 3-pixel raster, whose hit test answers `hit` (and `date`, for dates).
    [[nodiscard]] std::optional<POINT> Find(UINT hit, const SYSTEMTIME* date = nullptr) const
    {
        RECT client{};
        (void)GetClientRect(m_cal, &client);
        for (int y = 0; y < client.bottom; y += 3)
            for (int x = 0; x < client.right; x += 3) {
                const MCHITTESTINFO info = Hit({x, y});
                if (info.uHit == hit && (date == nullptr || SameDate(info.st, *date)))
                    return POINT{x + 2, y + 2};
            }
        return std::nullopt;
    }
    // The smallest rectangle holding every client point whose hit test answers `hit`.
    [[nodiscard]] RECT Bounds(UINT hit) const
    {
        RECT client{};
        (void)GetClientRect(m_cal, &client);
        RECT bounds{client.right, client.bottom, 0, 0};
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x)
                if (Hit({x, y}).uHit == hit)
                    bounds = RECT{std::min<LONG>(bounds.left, x), std::min<LONG>(bounds.top, y),
                                  std::max<LONG>(bounds.right, x + 1), std::max<LONG>(bounds.bottom, y + 1)};
        return bounds;
    }
    [[nodiscard]] std::vector<std::uint32_t> Pixels(RECT rect) const
    {
        std::vector<std::uint32_t> pixels;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                pixels.push_back(Shown(m_cal, {x, y}));
        return pixels;
    }
    // The width from the first to the last column of `band` that shows `color`.
    [[nodiscard]] int InkWidth(RECT band, COLORREF color) const
    {
        int first = band.right;
        int last = band.left - 1;
        for (int y = band.top; y < band.bottom; ++y)
            for (int x = band.left; x < band.right; ++x)
                if (Shown(m_cal, {x, y}) == Rgb(color)) {
                    first = std::min(first, x);
                    last = std::max(last, x);
                }
        return last - first + 1;
    }
    [[nodiscard]] std::vector<WORD> Codes() const
    {
        std::vector<WORD> codes;
        for (const ParentNote& note : Notes(WM_NOTIFY))
            codes.push_back(note.code);
        return codes;
    }

    HWND m_cal = nullptr;
};

const WORD SELCHANGE = static_cast<WORD>(MCN_SELCHANGE);
const WORD SELECT = static_cast<WORD>(MCN_SELECT);

TEST_F(MonthCalTest, SixWeeksFitTheMinimumRectAndHitTestsNameEveryPart)
{
    // December 2026 starts on a Tuesday: the grid runs from Sunday 29 November to 9 January.
    const SYSTEMTIME first = Ymd(2026, 11, 29);
    const SYSTEMTIME last = Ymd(2027, 1, 9);
    const SYSTEMTIME inMonth = Ymd(2026, 12, 31);
    EXPECT_TRUE(Find(MCHT_CALENDARDATEPREV, &first));
    EXPECT_TRUE(Find(MCHT_CALENDARDATENEXT, &last));
    EXPECT_TRUE(Find(MCHT_CALENDARDATE, &inMonth));
    for (const UINT part : {MCHT_TITLEBTNPREV, MCHT_TITLEBTNNEXT, MCHT_TITLEBK, MCHT_CALENDARDAY, MCHT_TODAYLINK})
        EXPECT_TRUE(Find(part)) << std::hex << part;
    EXPECT_EQ(Hit({-1, 5}).uHit, MCHT_NOWHERE);

    SYSTEMTIME range[2]{};
    EXPECT_EQ(SendMessageA(m_cal, MCM_GETMONTHRANGE, GMR_DAYSTATE, reinterpret_cast<LPARAM>(range)), 3);
    EXPECT_TRUE(SameDate(range[0], first));
    EXPECT_TRUE(SameDate(range[1], last));

    // With Monday first the grid starts on 30 November.
    EXPECT_EQ(SendMessageA(m_cal, MCM_SETFIRSTDAYOFWEEK, 0, 0), MAKELONG(6, 0));
    EXPECT_EQ(SendMessageA(m_cal, MCM_GETFIRSTDAYOFWEEK, 0, 0), MAKELONG(0, 1));
    (void)SendMessageA(m_cal, MCM_GETMONTHRANGE, GMR_DAYSTATE, reinterpret_cast<LPARAM>(range));
    EXPECT_TRUE(SameDate(range[0], Ymd(2026, 11, 30)));

    RECT full{};
    (void)SendMessageA(m_cal, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&full));
    const HWND noToday = Control(MONTHCAL_CLASSA, MCS_NOTODAY, {5, 5, 300, 250});
    RECT shorter{};
    (void)SendMessageA(noToday, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&shorter));
    EXPECT_LT(shorter.bottom, full.bottom);
    EXPECT_EQ(shorter.right, full.right);
}

TEST_F(MonthCalTest, ClicksOnButtonsAndDaysMoveTheSelectionAndNotify)
{
    Click(m_cal, *Find(MCHT_TITLEBTNNEXT));
    EXPECT_TRUE(SameDate(Selection(), Ymd(2027, 1, 10)));
    EXPECT_EQ(Codes(), (std::vector<WORD>{SELCHANGE}));
    Click(m_cal, *Find(MCHT_TITLEBTNPREV));
    Click(m_cal, *Find(MCHT_TITLEBTNPREV));
    EXPECT_TRUE(SameDate(Selection(), Ymd(2026, 11, 10)));

    ForgetNotes();
    const SYSTEMTIME target = Ymd(2026, 11, 25);
    Click(m_cal, *Find(MCHT_CALENDARDATE, &target));
    EXPECT_TRUE(SameDate(Selection(), target));
    EXPECT_EQ(Codes(), (std::vector<WORD>{SELCHANGE, SELECT}));

    // A trailing day of the next month brings that month into view.
    const SYSTEMTIME trailing = Ymd(2026, 12, 2);
    Click(m_cal, *Find(MCHT_CALENDARDATENEXT, &trailing));
    EXPECT_TRUE(SameDate(Selection(), trailing));
    EXPECT_TRUE(Find(MCHT_CALENDARDATE, &trailing));

    ForgetNotes();
    Click(m_cal, *Find(MCHT_TODAYLINK));
    EXPECT_TRUE(SameDate(Selection(), Ymd(2026, 12, 10)));
    EXPECT_EQ(Codes(), (std::vector<WORD>{SELCHANGE, SELECT}));
}

TEST_F(MonthCalTest, KeysMoveByDayWeekAndMonthWithinTheRange)
{
    (void)SetFocus(m_cal);
    struct Case {
        unsigned key;
        SYSTEMTIME expected;
    };
    const Case cases[] = {{VK_RIGHT, Ymd(2026, 12, 11)}, {VK_DOWN, Ymd(2026, 12, 18)}, {VK_LEFT, Ymd(2026, 12, 17)},
                          {VK_UP, Ymd(2026, 12, 10)},    {VK_NEXT, Ymd(2027, 1, 10)},  {VK_PRIOR, Ymd(2026, 12, 10)},
                          {VK_END, Ymd(2026, 12, 31)},   {VK_HOME, Ymd(2026, 12, 1)}};
    for (const Case& test : cases) {
        Key(test.key);
        const SYSTEMTIME now = Selection();
        EXPECT_TRUE(SameDate(now, test.expected))
            << test.key << ": " << now.wYear << "-" << now.wMonth << "-" << now.wDay;
    }
    EXPECT_EQ(Codes().size(), std::size(cases));

    SYSTEMTIME limits[2] = {Ymd(2026, 11, 28), Ymd(2026, 12, 5)};
    ASSERT_TRUE(SendMessageA(m_cal, MCM_SETRANGE, GDTR_MIN | GDTR_MAX, reinterpret_cast<LPARAM>(limits)));
    ForgetNotes();
    Key(VK_NEXT);
    EXPECT_TRUE(SameDate(Selection(), limits[1]));
    Key(VK_NEXT);
    EXPECT_EQ(Codes().size(), 1u);
    SYSTEMTIME outside = Ymd(2026, 12, 6);
    EXPECT_FALSE(SendMessageA(m_cal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&outside)));
    SYSTEMTIME invalid = Ymd(2026, 2, 30);
    EXPECT_FALSE(SendMessageA(m_cal, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&invalid)));
    SYSTEMTIME got[2]{};
    EXPECT_EQ(SendMessageA(m_cal, MCM_GETRANGE, 0, reinterpret_cast<LPARAM>(got)), GDTR_MIN | GDTR_MAX);
    EXPECT_TRUE(SameDate(got[0], limits[0]));
}

// Classic arrows push in while the mouse holds them, and only while it stays on them.
TEST_F(MonthCalTest, AHeldArrowButtonShowsPushedUntilReleased)
{
    const RECT arrow = Bounds(MCHT_TITLEBTNNEXT);
    ASSERT_LT(arrow.left, arrow.right);
    const std::vector<std::uint32_t> raised = Pixels(arrow);
    const POINT middle{(arrow.left + arrow.right) / 2, (arrow.top + arrow.bottom) / 2};
    const POINT away = *Find(MCHT_CALENDARDATE);

    Press(m_cal, middle, true);
    const std::vector<std::uint32_t> held = Pixels(arrow);
    EXPECT_NE(held, raised);
    EXPECT_EQ(Shown(m_cal, {arrow.left, arrow.top}), Rgb(GetSysColor(COLOR_BTNSHADOW)));
    Move(m_cal, away);
    EXPECT_EQ(Pixels(arrow), raised) << "off the arrow it stands up again";
    Move(m_cal, middle);
    EXPECT_EQ(Pixels(arrow), held);
    Press(m_cal, middle, false);
    EXPECT_EQ(Pixels(arrow), raised);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_TRUE(SameDate(Selection(), Ymd(2027, 1, 10))) << "one month on, for one press";
}

// The month and year, and the "Today:" line, are drawn in the bold face of the calendar's font:
// wider than the same text in the regular face.
TEST_F(MonthCalTest, TheTitleAndTheTodayLineAreBold)
{
    const COLORREF titleInk = RGB(255, 255, 0);
    const COLORREF textInk = RGB(0, 160, 0);
    (void)SendMessageA(m_cal, MCM_SETCOLOR, MCSC_TITLETEXT, static_cast<LPARAM>(titleInk));
    (void)SendMessageA(m_cal, MCM_SETCOLOR, MCSC_TEXT, static_cast<LPARAM>(textInk));
    Pump();
    const auto regularWidth = [](const std::string& text) {
        const HDC dc = GetDC(nullptr);
        SIZE size{};
        {
            const SelectionGuard font(dc, GetStockObject(DEFAULT_GUI_FONT));
            (void)GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        }
        (void)ReleaseDC(nullptr, dc);
        return static_cast<int>(size.cx);
    };
    const struct {
        UINT part;
        COLORREF ink;
        std::string text;
    } cases[] = {
        {MCHT_TITLEBK, titleInk, LongMonthNames[11] + " 2026"},
        {MCHT_TODAYLINK, textInk, "Today: " + DateToStr(SystemTimeToDateTime(Ymd(2026, 12, 10)))},
    };
    for (const auto& c : cases)
        EXPECT_GT(InkWidth(Bounds(c.part), c.ink), regularWidth(c.text)) << c.text;
}

TEST(SystemTimeTest, ConvertsBothWaysIncludingDaysBefore1900)
{
    SYSTEMTIME time = Ymd(1899, 12, 29);
    time.wHour = 6;
    EXPECT_DOUBLE_EQ(SystemTimeToDateTime(time), -1.25);
    const SYSTEMTIME back = DateTimeToSystemTime(-1.25);
    EXPECT_TRUE(SameDate(back, time));
    EXPECT_EQ(back.wHour, 6);
    EXPECT_EQ(DateTimeToSystemTime(EncodeDate(2026, 12, 10)).wDayOfWeek, 4);  // Thursday
    EXPECT_FALSE(IsValidSystemTime(Ymd(2025, 2, 29)));
    EXPECT_TRUE(IsValidSystemTime(Ymd(2024, 2, 29)));
}

} // namespace
