#include "ToolsFixture.h"

#include "grid/tools/ToolCtrlsGxDropDowns.h"
#include "platform/winapi/controls/MonthCal.h"
#include "platform/winapi/kernel/Clock.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <string>
#include <vector>

namespace {

class DropDownList : public ToolsFixture {
protected:
    void SetUp() override
    {
        ToolsFixture::SetUp();
        m_list = new TMRUListboxGx(m_form.get());
        m_list->SetItemHeight(16);
        for (const char* item : {"apple", "apricot", "banana", "blueberry", "cherry", "date", "fig", "grape"})
            m_list->Items()->Add(item);
        m_list->SetBounds(100, 100, 150, 3 * 16 + m_list->FrameHeight());
        Show();
    }
    void Show()
    {
        (void)SetWindowPos(m_list->Handle(), HWND_TOPMOST, m_list->Left(), m_list->Top(), m_list->Width(),
                           m_list->Height(), SWP_SHOWWINDOW | SWP_NOACTIVATE);
        Pump();
    }
    void Char(char key)
    {
        (void)SendMessageA(m_list->Handle(), WM_CHAR, static_cast<unsigned char>(key), 0);
        Pump();
    }
    void Hover(POINT client)
    {
        m_display->InjectMouseMove(TopLevelId(m_list->Handle()), InTopLevel(m_list->Handle(), client));
        Pump();
    }

    TMRUListboxGx* m_list = nullptr;
};

} // namespace

TEST_F(DropDownList, TypingSearchesByPrefixAndAPauseStartsOver)
{
    FakeClock clock;
    Char('a');
    Char('p');
    Char('r');
    EXPECT_EQ(m_list->ItemIndex(), 1); // apricot
    clock.Advance(2500);
    Char('c');
    EXPECT_EQ(m_list->TypedPrefix(), "c");
    EXPECT_EQ(m_list->ItemIndex(), 4); // cherry
    Char('\b');
    EXPECT_EQ(m_list->TypedPrefix(), "");
    for (int i = 0; i < 40; ++i)
        Char('x');
    EXPECT_EQ(m_list->TypedPrefix().size(), 32u);
}

TEST_F(DropDownList, TheHoveredItemIsSelectedAndTheWheelScrollsByOne)
{
    Hover(POINT{20, 16 + 5});
    EXPECT_EQ(m_list->ItemIndex(), 1);
    Hover(POINT{20, 2 * 16 + 5});
    EXPECT_EQ(m_list->ItemIndex(), 2);
    // The selected row is drawn in the highlight colour.
    EXPECT_EQ(ShownPixel(*m_display, m_list->Handle(), POINT{60, 2 * 16 + 1}), SysRgb(COLOR_HIGHLIGHT));

    // The editor passes its wheel on to the list it dropped down.
    (void)SendMessageA(m_list->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    Pump();
    EXPECT_EQ(m_list->TopIndex(), 1);
    EXPECT_EQ(m_list->VertBar()->Position(), 1);
}

// A long list is shown where it is kept: the rows read their texts from it.
TEST_F(DropDownList, ExternalItemsAreShownWithoutBeingCopied)
{
    TStringList numbers;
    for (int i = 0; i < 1000; ++i)
        numbers.Add(i == 1 ? std::string("WWWWWWWW") : std::string());
    m_list->SetExternalItems(&numbers);
    Show();
    EXPECT_EQ(m_list->Count(), 1000);
    const auto inked = [&](int row) {
        for (int x = 2; x < 60; ++x)
            if (ShownPixel(*m_display, m_list->Handle(), POINT{x, row * 16 + 8}) == SysRgb(COLOR_WINDOWTEXT))
                return true;
        return false;
    };
    EXPECT_FALSE(inked(0));
    EXPECT_TRUE(inked(1));
    Hover(POINT{20, 2 * 16 + 5});
    EXPECT_EQ(m_list->ItemIndex(), 2);

    m_list->SetExternalItems(nullptr);
    Show();
    EXPECT_EQ(m_list->Count(), 8);
    EXPECT_TRUE(inked(0)); // apple
}

TEST_F(DropDownList, TheListKeepsWholeRowsAndItsBarOnlyWhenItScrolls)
{
    EXPECT_EQ(m_list->VisibleRows(), 3);
    m_list->SetHeight(static_cast<int>(3.5 * 16) + m_list->FrameHeight());
    EXPECT_EQ(m_list->Height(), 3 * 16 + m_list->FrameHeight());
    EXPECT_TRUE(m_list->VertBar()->Visible());
    EXPECT_FALSE(m_list->Grip()->Triangular());

    m_list->FitRowCount(8);
    EXPECT_EQ(m_list->VisibleRows(), 8);
    Pump();
    EXPECT_FALSE(m_list->VertBar()->Visible());
    EXPECT_TRUE(m_list->Grip()->Triangular());
}

TEST_F(DropDownList, TheGripFollowsTheSideAndDraggingItResizesTheList)
{
    EXPECT_EQ(m_list->Grip()->Corner(), sgcBottomRight);
    (void)SendMessageA(m_list->Handle(), WM_DROPDOWN_GRIPSIDE, ddsTop, 0);
    EXPECT_EQ(m_list->Grip()->Corner(), sgcTopRight);
    EXPECT_EQ(m_list->Grip()->Top(), 0);
    (void)SendMessageA(m_list->Handle(), WM_DROPDOWN_GRIPSIDE, ddsBottom, 0);
    (void)SendMessageA(m_list->Handle(), WM_DROPDOWN_GRIPSIDE, ddsLeft, 0);
    EXPECT_EQ(m_list->Grip()->Corner(), sgcBottomLeft);
    (void)SendMessageA(m_list->Handle(), WM_DROPDOWN_GRIPSIDE, ddsRight, 0);
    ASSERT_EQ(m_list->Grip()->Corner(), sgcBottomRight);
    Pump();

    TSizeGripGx& grip = *m_list->Grip();
    const int width = m_list->Width();
    const POINT inside{grip.Width() - 3, grip.Height() - 3};
    MouseInput mouse(*m_display);
    mouse.Press(grip.Handle(), inside, true);
    Pump();
    mouse.MoveHeld(grip.Handle(), POINT{inside.x + 30, inside.y + 40});
    Pump();
    mouse.Press(grip.Handle(), POINT{inside.x + 30, inside.y + 40}, false);
    Pump();
    EXPECT_EQ(m_list->Width(), width + 30);
    EXPECT_EQ(m_list->VisibleRows(), 5); // 40 more pixels: two more whole rows
    EXPECT_TRUE(m_list->GripResized());
    EXPECT_EQ(grip.Left(), m_list->ClientRect().right - grip.Width());
}

TEST_F(DropDownList, ClickingTheListLeavesTheFocusAndTheActivationWhereTheyWere)
{
    const HWND focused = GetFocus();
    const HWND active = GetActiveWindow();
    MouseInput(*m_display).Click(m_list->Handle(), POINT{20, 5});
    Pump();
    EXPECT_EQ(GetFocus(), focused);
    EXPECT_EQ(GetActiveWindow(), active);
    EXPECT_EQ(m_list->ItemIndex(), 0);
}

namespace {

// An editor that its drop-down calendar closes up through.
class TCalendarOwner : public TCustomControl, public IPopupOwnerGx {
public:
    explicit TCalendarOwner(TComponent* owner) : TCustomControl(owner) {}
    void ClosePopup(bool accept) override { Closes.push_back(accept); }
    std::vector<bool> Closes;
};

class DropDownCalendar : public ToolsFixture {
protected:
    void SetUp() override
    {
        ToolsFixture::SetUp();
        m_owner = new TCalendarOwner(m_form.get());
        m_owner->SetParent(m_form.get());
        m_owner->SetBounds(10, 10, 100, 20);
        m_calendar = new TPopupMonthCalendarGx(m_owner);
        m_calendar->SetDate(EncodeDate(2026, 3, 14));
        m_calendar->HandleNeeded();
        (void)SetWindowPos(m_calendar->Handle(), HWND_TOPMOST, 60, 80, m_calendar->Width(), m_calendar->Height(),
                           SWP_SHOWWINDOW | SWP_NOACTIVATE);
        Pump();
    }
    // A client point of the calendar whose hit-test code is `code`.
    POINT PointOf(UINT code) const
    {
        const TRect client = m_calendar->ClientRect();
        for (int y = 0; y < client.bottom; y += 2)
            for (int x = 0; x < client.right; x += 2) {
                MCHITTESTINFO hit{};
                hit.cbSize = sizeof(hit);
                hit.pt = POINT{x, y};
                (void)SendMessageA(m_calendar->Handle(), MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
                if (hit.uHit == code)
                    return hit.pt;
            }
        ADD_FAILURE() << "no point with hit code " << code;
        return POINT{0, 0};
    }

    TCalendarOwner* m_owner = nullptr;
    TPopupMonthCalendarGx* m_calendar = nullptr;
};

} // namespace

TEST_F(DropDownCalendar, AClickOnADayClosesItAcceptingButTheMonthButtonsDoNot)
{
    EXPECT_GT(m_calendar->Width(), 2 * TPopupMonthCalendarGx::FrameWidth);
    Click(*m_calendar, PointOf(MCHT_TITLEBTNNEXT));
    EXPECT_TRUE(m_owner->Closes.empty());
    Click(*m_calendar, PointOf(MCHT_CALENDARDATE));
    EXPECT_EQ(m_owner->Closes, (std::vector<bool>{true}));
    EXPECT_NE(GetFocus(), m_calendar->Handle());
}

TEST_F(DropDownCalendar, KeysCloseItAndTheWheelMovesTheDateByADay)
{
    (void)SendMessageA(m_calendar->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), 0);
    EXPECT_EQ(m_calendar->Date(), EncodeDate(2026, 3, 15));
    (void)SendMessageA(m_calendar->Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
    EXPECT_EQ(m_calendar->Date(), EncodeDate(2026, 3, 14));
    EXPECT_EQ(m_calendar->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 1);
    WORD enter = VK_RETURN;
    m_calendar->Perform(WM_KEYDOWN, enter, 0);
    m_calendar->Perform(WM_DROPDOWN_CLOSEUP, 0, 0);
    EXPECT_EQ(m_owner->Closes, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(m_calendar->Perform(WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
}
