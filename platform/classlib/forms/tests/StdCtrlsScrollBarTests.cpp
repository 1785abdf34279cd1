#include "StdCtrlsButtonsTestForm.h"

#include "platform/rtl/Exceptions.h"
#include "platform/winapi/user/ScrollBarControl.h"

namespace {

using StdCtrlsScrollBarTest = ButtonsFormTest;

// The bar is 200 x 17: arrows of 16 at both ends.
TEST_F(StdCtrlsScrollBarTest, ArrowsPagesAndKeysMoveThePositionAndTellOnScrollThenOnChange)
{
    TButtonsTestForm& form = *m_form;
    TScrollBar& bar = *form.Bar;
    ClickAt(bar, POINT{195, 8});
    EXPECT_EQ(bar.Position(), 1);
    ClickAt(bar, POINT{150, 8});
    EXPECT_EQ(bar.Position(), 11);
    EXPECT_EQ(GetScrollPos(bar.Handle(), SB_CTL), 11);
    EXPECT_EQ(form.Events, (std::vector<std::string>{"scroll 1 1", "change 1", "scroll 8 1", "scroll 3 11",
                                                      "change 11", "scroll 8 11"}));

    form.Events.clear();
    bar.SetFocus();
    Key(VK_END);
    EXPECT_EQ(bar.Position(), 50);
    Key(VK_HOME);
    EXPECT_EQ(bar.Position(), 0);
    Key(VK_LEFT);
    EXPECT_EQ(bar.Position(), 0);
    EXPECT_EQ(form.Events, (std::vector<std::string>{"scroll 7 50", "change 50", "scroll 8 50", "scroll 6 0",
                                                      "change 0", "scroll 8 0", "scroll 0 0", "scroll 8 0"}));
}

TEST_F(StdCtrlsScrollBarTest, DraggingTheThumbTracksAndOnScrollMayChangeThePosition)
{
    TButtonsTestForm& form = *m_form;
    TScrollBar& bar = *form.Bar;
    form.ScrollLimit = 30;
    const WindowId id = Id(form);
    m_display->InjectMouseButton(id, InTopLevel(bar, POINT{20, 8}), MouseButton::Left, true);
    m_display->InjectMouseMove(id, InTopLevel(bar, POINT{100, 8}), ModLeftButton);
    m_display->InjectMouseMove(id, InTopLevel(bar, POINT{190, 8}), ModLeftButton);
    m_display->InjectMouseButton(id, InTopLevel(bar, POINT{190, 8}), MouseButton::Left, false);
    Application->ProcessMessages();
    ASSERT_GE(form.Events.size(), 3u);
    EXPECT_EQ(form.Events.front().rfind("scroll 5 ", 0), 0u) << form.Events.front();
    EXPECT_TRUE(Saw("scroll 4 50"));
    EXPECT_EQ(bar.Position(), 30);
    EXPECT_EQ(form.Events.back(), "scroll 8 30");
}

TEST_F(StdCtrlsScrollBarTest, ParamsAreCheckedAndThePositionClamped)
{
    TScrollBar& bar = *m_form->Bar;
    EXPECT_THROW(bar.SetParams(0, 10, 5), EInvalidOperation);
    bar.SetPosition(80);
    EXPECT_EQ(bar.Position(), 50);
    bar.SetMax(20);
    EXPECT_EQ(bar.Position(), 20);
    EXPECT_EQ(GetScrollPos(bar.Handle(), SB_CTL), 20);
    bar.SetKind(sbVertical);
    EXPECT_EQ(bar.Width(), 17);
    EXPECT_EQ(bar.Height(), 200);
    EXPECT_EQ(GetWindowLongA(bar.Handle(), GWL_STYLE) & SBS_VERT, static_cast<LONG>(SBS_VERT));
    EXPECT_EQ(GetScrollPos(bar.Handle(), SB_CTL), 20);
}

} // namespace
