#include "StdCtrlsButtonsTestForm.h"

namespace {

using ButtonsSpeedButtonTest = ButtonsFormTest;

TEST_F(ButtonsSpeedButtonTest, OneButtonOfAGroupStaysDown)
{
    TButtonsTestForm& form = *m_form;
    ClickAt(*form.Speed1, POINT{5, 5});
    EXPECT_TRUE(form.Speed1->Down());
    ClickAt(*form.Speed2, POINT{5, 5});
    EXPECT_TRUE(form.Speed2->Down());
    EXPECT_FALSE(form.Speed1->Down());
    // The last one down stays down unless the group allows all up.
    ClickAt(*form.Speed2, POINT{5, 5});
    EXPECT_TRUE(form.Speed2->Down());
    form.Speed1->SetAllowAllUp(true);
    EXPECT_TRUE(form.Speed2->AllowAllUp());
    ClickAt(*form.Speed2, POINT{5, 5});
    EXPECT_FALSE(form.Speed2->Down());
    EXPECT_EQ(form.Events, (std::vector<std::string>{"click Speed1", "click Speed2", "click Speed2", "click Speed2"}));

    // Ungrouped buttons never stay down.
    form.Speed1->SetGroupIndex(0);
    form.Speed1->SetDown(true);
    EXPECT_FALSE(form.Speed1->Down());
}

TEST_F(ButtonsSpeedButtonTest, ReleasingOutsideDoesNotClickAndADownButtonLooksPressed)
{
    TButtonsTestForm& form = *m_form;
    TSpeedButton& speed = *form.Speed1;
    const std::uint32_t up = Shown(speed, POINT{0, 0});
    const WindowId id = Id(form);
    m_display->InjectMouseButton(id, InTopLevel(speed, POINT{5, 5}), MouseButton::Left, true);
    m_display->InjectMouseMove(id, InTopLevel(speed, POINT{5, 60}), ModLeftButton);
    m_display->InjectMouseButton(id, InTopLevel(speed, POINT{5, 60}), MouseButton::Left, false);
    Application->ProcessMessages();
    EXPECT_TRUE(form.Events.empty());
    EXPECT_FALSE(speed.Down());

    speed.SetDown(true);
    ASSERT_TRUE(PumpUntil([&] { return Shown(speed, POINT{0, 0}) != up; }));
    speed.SetEnabled(false);
    ClickAt(speed, POINT{5, 5});
    EXPECT_TRUE(form.Events.empty());
}

TEST_F(ButtonsSpeedButtonTest, ALatchedButtonHasTheHalfToneFace)
{
    TSpeedButton& speed = *m_form->Speed1;
    speed.SetDown(true);
    // Neighbouring face pixels alternate between the highlight and the face colour.
    ASSERT_TRUE(PumpUntil([&] { return Shown(speed, POINT{3, 3}) != Shown(speed, POINT{4, 3}); }));
    EXPECT_EQ(Shown(speed, POINT{3, 3}), Shown(speed, POINT{4, 4}));
}

} // namespace
