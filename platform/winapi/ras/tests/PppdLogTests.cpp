#include "platform/winapi/ras/DialCommand.h"
#include "platform/winapi/ras/PppdLog.h"
#include "platform/winapi/ras/Ras.h"

#include <gtest/gtest.h>

namespace {

TEST(PppdLog, LinesOfARealDialMapToStatesAndFailures)
{
    struct Case {
        const char* line;
        std::optional<DialStep> reached;
        DWORD failure;
    };
    const Case cases[] = {
        {"abort on (BUSY)", DialStep::PortOpened, 0},
        {"send (ATDT#777^M)", DialStep::PortOpened, 0},
        {"Serial connection established.", DialStep::PortOpened, 0},
        {"Connect: ppp0 <--> /dev/ttyUSB0", DialStep::Authenticate, 0},
        {"CHAP authentication succeeded", DialStep::Authenticated, 0},
        {"local  IP address 10.64.64.1", DialStep::Connected, 0},
        {"remote IP address 10.64.64.64", std::nullopt, 0},
        {"Failed (NO CARRIER)", std::nullopt, ERROR_NO_CARRIER},
        {"Failed (NO DIALTONE)", std::nullopt, ERROR_NO_DIALTONE},
        {"Failed (ERROR)", std::nullopt, ERROR_FROM_DEVICE},
        {"Connect script failed", std::nullopt, ERROR_NO_ANSWER},
        {"CHAP authentication failed: bad password", std::nullopt, ERROR_AUTHENTICATION_FAILURE},
        {"Device ttyUSB0 is locked by pid 4242", std::nullopt, ERROR_PORT_NOT_AVAILABLE},
        {"Failed to open /dev/ttyUSB0: No such file or directory", std::nullopt, ERROR_PORT_NOT_FOUND},
        {"Failed to open /dev/ttyUSB0: Permission denied", std::nullopt, ERROR_PORT_NOT_AVAILABLE},
        {"This system lacks kernel support for PPP.", std::nullopt, ERROR_DEVICE_DOES_NOT_EXIST},
        {"using the noauth option requires root privilege", std::nullopt, ERROR_RASMAN_CANNOT_INITIALIZE},
        {"Modem hangup", std::nullopt, ERROR_PORT_DISCONNECTED},
        {"No response to 4 echo-requests", std::nullopt, ERROR_REQUEST_TIMEOUT},
        {"LCP: timeout sending Config-Requests", std::nullopt, ERROR_PPP_TIMEOUT},
        {"Using interface ppp0", std::nullopt, 0},
        {"", std::nullopt, 0},
    };
    for (const auto& c : cases) {
        const auto classified = ClassifyPppdLine(c.line);
        EXPECT_EQ(classified.reached, c.reached) << c.line;
        EXPECT_EQ(classified.failure, c.failure) << c.line;
    }
    EXPECT_EQ(ClassifyPppdLine("Using interface ppp3").interfaceName, "ppp3");
    EXPECT_EQ(ClassifyPppdLine("Connect: ppp1 <--> /dev/ttyUSB0").interfaceName, "ppp1");
}

TEST(PppdLog, EveryExitStatusGivesAnErrorWithAText)
{
    EXPECT_EQ(RasErrorForPppdExit(8), ERROR_NO_ANSWER);
    EXPECT_EQ(RasErrorForPppdExit(19), ERROR_AUTHENTICATION_FAILURE);
    EXPECT_EQ(RasErrorForPppdExit(16), ERROR_PORT_DISCONNECTED);
    EXPECT_EQ(RasErrorForPppdExit(4), ERROR_DEVICE_DOES_NOT_EXIST);
    for (int status = -1; status < 40; ++status) {
        const DWORD error = RasErrorForPppdExit(status);
        char text[256] = {};
        EXPECT_EQ(RasGetErrorStringA(error, text, sizeof text), 0u) << status;
        // The manager treats 600 to 750 as dial errors.
        EXPECT_GE(error, 600u);
        EXPECT_LE(error, 750u);
    }
}

TEST(DialCommand, OnlyDialableNumbersAndPlainCredentialsPass)
{
    for (const char* good : {"#777", "*99#", "+4930123,,5", "0"})
        EXPECT_TRUE(IsDialableNumber(good)) << good;
    for (const char* bad : {"", "#777;", "12 34", "1'2", "1\\T", "ATZ", "1\r"})
        EXPECT_FALSE(IsDialableNumber(bad)) << bad;
    EXPECT_TRUE(IsPlainText("p\"a s\\s'"));
    EXPECT_FALSE(IsPlainText("pa\nss"));
    EXPECT_FALSE(IsPlainText(std::string("pa\0ss", 5)));
}

TEST(DialCommand, TheChatScriptDialsTheNumberAndStopsOnFailureReplies)
{
    const auto script = ChatScript("#777");
    EXPECT_NE(script.find("\nOK ATDT#777\n"), std::string::npos);
    for (const char* reply : {"ABORT BUSY", "ABORT 'NO CARRIER'", "ABORT 'NO ANSWER'", "ABORT 'NO DIALTONE'"})
        EXPECT_NE(script.find(reply), std::string::npos) << reply;
    EXPECT_EQ(PasswordOptions(""), "");
}

} // namespace
