#include "tests/support/controls/ControlTestHost.h"
#include "platform/rtl/LocaleSettings.h"
#include "platform/winapi/controls/DateTimePick.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <optional>
#include <string>

namespace {

class DateTimePickTest : public ControlTestHost {
protected:
    void SetUp() override
    {
        ControlTestHost::SetUp();
        RegisterDateTimePickClass();
        m_picker = Control(DATETIMEPICK_CLASSA, 0, {10, 10, 150, 31});
        SYSTEMTIME value{};
        value.wYear = 2026;
        value.wMonth = 12;
        value.wDay = 10;
        value.wHour = 10;
        value.wMinute = 30;
        ASSERT_TRUE(SendMessageA(m_picker, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value)));
        (void)SetFocus(m_picker);
        Pump();
        ForgetNotes();
    }

    [[nodiscard]] std::string Text() const
    {
        char text[64] = {};
        (void)GetWindowTextA(m_picker, text, sizeof text);
        return text;
    }
    [[nodiscard]] SYSTEMTIME Value() const
    {
        SYSTEMTIME value{};
        EXPECT_EQ(SendMessageA(m_picker, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&value)), GDT_VALID);
        return value;
    }
    [[nodiscard]] std::vector<WORD> Codes() const
    {
        std::vector<WORD> codes;
        for (const ParentNote& note : Notes(WM_NOTIFY))
            codes.push_back(note.code);
        return codes;
    }
    [[nodiscard]] HWND Calendar() const
    {
        return reinterpret_cast<HWND>(SendMessageA(m_picker, DTM_GETMONTHCAL, 0, 0));
    }

    HWND m_picker = nullptr;
};

const WORD CHANGE = static_cast<WORD>(DTN_DATETIMECHANGE);
const WORD DROPDOWN = static_cast<WORD>(DTN_DROPDOWN);
const WORD CLOSEUP = static_cast<WORD>(DTN_CLOSEUP);

TEST_F(DateTimePickTest, ShowsTheLocaleFormatsAndItsOwnPicture)
{
    EXPECT_EQ(Text(), "12/10/2026");
    const HWND longDate = Control(DATETIMEPICK_CLASSA, DTS_LONGDATEFORMAT, {10, 40, 250, 61});
    const HWND time = Control(DATETIMEPICK_CLASSA, DTS_TIMEFORMAT, {10, 70, 150, 91});
    const SYSTEMTIME value = Value();
    (void)SendMessageA(longDate, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value));
    (void)SendMessageA(time, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&value));
    char text[64] = {};
    (void)GetWindowTextA(longDate, text, sizeof text);
    EXPECT_STREQ(text, "Thursday, December 10, 2026");
    (void)GetWindowTextA(time, text, sizeof text);
    EXPECT_STREQ(text, "10:30:00 AM");

    const char saved = DateSeparator;
    DateSeparator = '.';
    (void)InvalidateRect(m_picker, nullptr, FALSE);
    EXPECT_EQ(Text(), "12.10.2026");
    DateSeparator = saved;
    (void)SendMessageA(m_picker, DTM_SETFORMATA, 0, reinterpret_cast<LPARAM>("dd'.'MM'.'yyyy HH:mm"));
    EXPECT_EQ(Text(), "10.12.2026 10:30");

    // The focused field is drawn highlighted, the rest in the window text colour.
    (void)UpdateWindow(m_picker);
    int highlighted = 0;
    for (int x = 0; x < 40; ++x)
        highlighted += Shown(m_picker, {x, 10}) == Rgb(GetSysColor(COLOR_HIGHLIGHT)) ? 1 : 0;
    EXPECT_GT(highlighted, 3);
}

TEST_F(DateTimePickTest, DisabledItKeepsTheWindowColourAndGreysItsText)
{
    (void)EnableWindow(m_picker, FALSE);
    (void)UpdateWindow(m_picker);
    int background = 0;
    int grey = 0;
    for (int x = 2; x < 80; ++x) {
        background += Shown(m_picker, {x, 3}) == Rgb(GetSysColor(COLOR_WINDOW)) ? 1 : 0;
        for (int y = 3; y < 18; ++y)
            grey += Shown(m_picker, {x, y}) == Rgb(GetSysColor(COLOR_GRAYTEXT)) ? 1 : 0;
    }
    EXPECT_EQ(background, 78);
    EXPECT_GT(grey, 10);
}

TEST_F(DateTimePickTest, ArrowsAndDigitsChangeTheFocusedFieldAndNotify)
{
    Key(VK_UP);  // the month wraps without touching the year
    EXPECT_EQ(Text(), "1/10/2026");
    Key(VK_RIGHT);
    Key(VK_DOWN);
    EXPECT_EQ(Text(), "1/9/2026");
    Key(VK_RIGHT);
    Key(VK_UP);
    EXPECT_EQ(Text(), "1/9/2027");
    EXPECT_EQ(Codes(), (std::vector<WORD>{CHANGE, CHANGE, CHANGE}));

    // Typing fills a field and moves on once no further digit could fit.
    Key(VK_HOME);
    Key(VK_LEFT);
    Key(VK_LEFT);
    for (const char digit : std::string("2282030"))
        m_display->InjectText(TopLevelId(m_picker), std::string(1, digit));
    Pump();
    EXPECT_EQ(Text(), "2/28/2030");
    EXPECT_EQ(Value().wHour, 10);

    SYSTEMTIME limits[2]{};
    limits[1] = Value();
    limits[1].wYear = 2030;
    limits[1].wMonth = 6;
    limits[1].wDay = 1;
    (void)SendMessageA(m_picker, DTM_SETRANGE, GDTR_MAX, reinterpret_cast<LPARAM>(limits));
    Key(VK_UP);
    EXPECT_EQ(Text(), "6/1/2030") << "a step past the range stops at its end";
    Key(VK_DOWN);
    EXPECT_EQ(Text(), "6/1/2029");
}

TEST_F(DateTimePickTest, TheDropDownCalendarKeepsActivationAndAChosenDayClosesIt)
{
    Key(VK_DOWN, ModAlt);
    const HWND calendar = Calendar();
    ASSERT_NE(calendar, nullptr);
    EXPECT_TRUE(IsWindowVisible(calendar));
    EXPECT_EQ(GetActiveWindow(), m_host);
    EXPECT_EQ(GetFocus(), m_picker);
    SYSTEMTIME shown{};
    (void)SendMessageA(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&shown));
    EXPECT_EQ(shown.wDay, 10);
    EXPECT_EQ(Codes(), (std::vector<WORD>{DROPDOWN}));

    // Find 24 December on the calendar and click it.
    RECT client{};
    (void)GetClientRect(calendar, &client);
    std::optional<POINT> target;
    for (int y = 0; y < client.bottom && !target; y += 3)
        for (int x = 0; x < client.right && !target; x += 3) {
            MCHITTESTINFO info{sizeof(MCHITTESTINFO), {x, y}, 0, {}};
            if (SendMessageA(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)) == MCHT_CALENDARDATE &&
                info.st.wDay == 24)
                target = POINT{x + 2, y + 2};
        }
    ASSERT_TRUE(target);
    Click(calendar, *target);
    EXPECT_EQ(Text(), "12/24/2026");
    EXPECT_EQ(Value().wMinute, 30);
    EXPECT_EQ(Calendar(), nullptr);
    EXPECT_FALSE(IsWindow(calendar));
    EXPECT_EQ(GetActiveWindow(), m_host);
    EXPECT_EQ(Codes(), (std::vector<WORD>{DROPDOWN, CHANGE, CLOSEUP}));

    // The button opens it too; Escape, or a click anywhere but on the calendar, closes it leaving
    // the date alone.
    RECT picker{};
    (void)GetClientRect(m_picker, &picker);
    const POINT button{picker.right - 5, picker.bottom / 2};
    Click(m_picker, button);
    ASSERT_NE(Calendar(), nullptr);
    Key(VK_RIGHT);  // goes to the calendar while it is down
    Key(VK_ESCAPE);
    EXPECT_EQ(Calendar(), nullptr);
    Click(m_picker, button);
    const HWND reopened = Calendar();
    ASSERT_NE(reopened, nullptr);
    RECT calendarRect{};
    (void)GetClientRect(reopened, &calendarRect);
    Click(reopened, {calendarRect.right - 8, 8});  // its next-month button keeps it open
    ASSERT_EQ(Calendar(), reopened);
    SYSTEMTIME shownNow{};
    (void)SendMessageA(reopened, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&shownNow));
    EXPECT_EQ(shownNow.wMonth, 1);
    Click(m_host, {300, 250});
    EXPECT_EQ(Calendar(), nullptr);
    EXPECT_EQ(Text(), "12/24/2026");
}

} // namespace
