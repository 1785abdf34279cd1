#include "platform/winapi/display/DisplayBackend.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/display/x11/X11Display.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

TEST(DisplaySelection, HeadlessWhenAskedForByNameOrEnvironment)
{
    EXPECT_EQ(SelectDisplay("headless").Name(), "headless");
    HeadlessDisplay& headless = SelectHeadlessDisplay();
    EXPECT_EQ(&Display(), &headless);
    ScopedEnv chosen("MODEM_DISPLAY", "headless");
    EXPECT_EQ(SelectDisplay("").Name(), "headless");
}

TEST(DisplaySelection, UnknownBackendIsAnError)
{
    EXPECT_THROW(SelectDisplay("wayland"), EDisplayError);
}

TEST(DisplaySelection, NoReachableDisplayNamesTheDisplayVariable)
{
    ScopedEnv chosen("MODEM_DISPLAY", nullptr);
    {
        ScopedEnv display("DISPLAY", nullptr);
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
