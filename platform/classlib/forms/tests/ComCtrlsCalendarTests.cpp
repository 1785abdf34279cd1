#include "ControlsTestClasses.h"
#include "platform/classlib/forms/ComCtrlsCalendar.h"
#include "platform/winapi/controls/DateTimePick.h"

#include <memory>

namespace {

class CalendarTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        m_form = std::make_unique<TForm>(nullptr);
        m_form->SetBounds(20, 20, 400, 300);
        m_form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override
    {
        m_form.reset();
        ControlsFixture::TearDown();
    }
    void Key(unsigned key, unsigned modifiers = 0)
    {
        m_display->InjectKeyPress(Id(*m_form), key, {}, modifiers);
        Application->ProcessMessages();
    }

    std::unique_ptr<TForm> m_form;
};

TEST_F(CalendarTest, MonthCalendarDateFollowsTheKeyboardAndAutoSizeTakesTheMinimum)
{
    auto* calendar = new TMonthCalendar(m_form.get());
    calendar->SetParent(m_form.get());
    calendar->SetDate(EncodeDate(2026, 12, 10) + 0.5);
    EXPECT_EQ(calendar->Date(), EncodeDate(2026, 12, 10));
    calendar->SetMaxDate(EncodeDate(2026, 12, 12));
    calendar->SetFocus();
    Key(VK_RIGHT);
    EXPECT_EQ(calendar->Date(), EncodeDate(2026, 12, 11));
    Key(VK_DOWN);
    EXPECT_EQ(calendar->Date(), EncodeDate(2026, 12, 12));

    calendar->SetAutoSize(true);
    RECT minimum{};
    (void)calendar->Perform(MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&minimum));
    EXPECT_EQ(calendar->ClientWidth(), minimum.right);
    EXPECT_EQ(calendar->ClientHeight(), minimum.bottom);
}

TEST_F(CalendarTest, PickerKeepsTheOtherPartAndReportsTheUsersChanges)
{
    auto* picker = new TDateTimePicker(m_form.get());
    picker->SetParent(m_form.get());
    int changes = 0;
    std::vector<std::string> events;
    picker->SetOnChange(TNotifyEvent::FromFunction([&](TObject*) { ++changes; }));
    picker->SetOnDropDown(TNotifyEvent::FromFunction([&](TObject*) { events.emplace_back("drop down"); }));
    picker->SetOnCloseUp(TNotifyEvent::FromFunction([&](TObject*) { events.emplace_back("close up"); }));
    picker->SetDateTime(EncodeDate(2026, 12, 10) + EncodeTime(9, 15, 0, 0));
    picker->SetDate(EncodeDate(2027, 3, 1));
    picker->SetTime(EncodeTime(18, 0, 0, 0));
    EXPECT_EQ(picker->DateTime(), EncodeDate(2027, 3, 1) + EncodeTime(18, 0, 0, 0));
    EXPECT_EQ(changes, 0);

    picker->SetFocus();
    Key(VK_UP);  // the month field comes first in the short date
    EXPECT_EQ(picker->Date(), EncodeDate(2027, 4, 1));
    EXPECT_EQ(picker->Time(), EncodeTime(18, 0, 0, 0));
    EXPECT_EQ(changes, 1);

    Key(VK_DOWN, ModAlt);
    EXPECT_TRUE(picker->DroppedDown());
    Key(VK_ESCAPE);
    EXPECT_FALSE(picker->DroppedDown());
    EXPECT_EQ(events, (std::vector<std::string>{"drop down", "close up"}));

    picker->SetMinDate(EncodeDate(2027, 5, 1));
    EXPECT_EQ(picker->Date(), EncodeDate(2027, 5, 1));
}

} // namespace
