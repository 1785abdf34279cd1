#include "platform/winapi/display/DisplayBackend.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/display/x11/X11Display.h"
#include "tests/support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(DisplaySelection, HeadlessWhenAskedForByNameOrEnvironment)
{
    EXPECT_EQ(SelectDisplay("headless").Name(), "headless");
    HeadlessDisplay& headless = SelectHeadlessDisplay();
    EXPECT_EQ(&Display(), &headless);
    ScopedEnvironment environment;
    environment.Set("MODEM_DISPLAY", "headless");
    EXPECT_EQ(SelectDisplay("").Name(), "headless");
}

TEST(DisplaySelection, UnknownBackendIsAnError)
{
    EXPECT_THROW(SelectDisplay("wayland"), EDisplayError);
}

TEST(DisplaySelection, NoReachableDisplayNamesTheDisplayVariable)
{
    ScopedEnvironment environment;
    environment.Unset("MODEM_DISPLAY");
    {
        ScopedEnvironment display;
        display.Unset("DISPLAY");
        try {
            SelectDisplay("");
            FAIL() << "a display was opened without DISPLAY";
        } catch (const EDisplayError& error) {
            EXPECT_NE(error.Message().find("DISPLAY"), std::string::npos) << error.Message();
        }
    }
    try {
        (void)OpenX11Display(":987");
        FAIL() << "display :987 answered";
    } catch (const EDisplayError& error) {
        EXPECT_NE(error.Message().find("\":987\""), std::string::npos) << error.Message();
        EXPECT_NE(error.Message().find("DISPLAY"), std::string::npos) << error.Message();
    }
}

} // namespace
