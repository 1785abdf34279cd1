#include "ControlsTestClasses.h"
#include "platform/classlib/forms/ComCtrlsProgressBar.h"
#include "platform/winapi/controls/ProgressBar.h"

namespace {

using ProgressBarWrapper = ControlsFixture;

TEST_F(ProgressBarWrapper, PositionStaysInRangeAndStepsStartOver)
{
    TForm form(nullptr);
    auto* bar = new TProgressBar(&form);
    bar->SetParent(&form);
    bar->SetMin(10);
    bar->SetMax(40);
    EXPECT_EQ(bar->Position(), 10);
    bar->SetPosition(99);
    EXPECT_EQ(bar->Position(), 40);
    bar->SetStep(15);
    bar->StepIt();
    EXPECT_EQ(bar->Position(), 25);
    bar->StepBy(-100);
    EXPECT_EQ(bar->Position(), 10);
    bar->SetSmooth(true);
    EXPECT_EQ(bar->Position(), 10);
    EXPECT_EQ(SendMessageA(bar->Handle(), PBM_GETRANGE, TRUE, 0), 10);
}

} // namespace
