#include "platform/rtl/Trace.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/user/MessageNames.h"
#include "platform/winapi/user/WinUser.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr const char* TracedClass = "TracedWindow";
constexpr UINT NestedRequest = WM_USER + 7;

// Answers NestedRequest by sending WM_GETTEXTLENGTH to itself, so that one message nests in another.
LRESULT TracedProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == NestedRequest)
        return SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

class MessageTraceTest : public testing::Test {
protected:
    void SetUp() override
    {
        (void)SelectHeadlessDisplay();
        SetTraceChannels(""); // whatever MODEM_TRACE the tests were started with
        static const bool registered = [] {
            WNDCLASSA wc{};
            wc.lpfnWndProc = TracedProc;
            wc.lpszClassName = TracedClass;
            return RegisterClassA(&wc) != 0;
        }();
        ASSERT_TRUE(registered);
        m_window = CreateWindowExA(0, TracedClass, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_window, nullptr);
        Drain();
    }

    void TearDown() override
    {
        SetTraceChannels("");
        (void)DestroyWindow(m_window);
        Drain();
    }

    static void Drain()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            (void)DispatchMessageA(&msg);
    }

    // The trace's lines while `action` runs with the "messages" channel on.
    template <typename Action>
    static std::vector<std::string> TraceOf(Action action)
    {
        SetTraceChannels("messages");
        testing::internal::CaptureStderr();
        action();
        const std::string text = testing::internal::GetCapturedStderr();
        SetTraceChannels("");
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    [[nodiscard]] std::string Handle() const
    {
        char buffer[24];
        std::snprintf(buffer, sizeof buffer, "0x%llX",
                      static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(m_window)));
        return buffer;
    }

    HWND m_window = nullptr;
};

} // namespace

TEST(MessageNames, NamesTheWindowManagersMessagesAndWritesOthersInHex)
{
    const struct {
        UINT message;
        const char* name;
    } cases[] = {
        {WM_NULL, "WM_NULL"},
        {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"},
        {WM_NCHITTEST, "WM_NCHITTEST"},
        {WM_KEYDOWN, "WM_KEYDOWN"}, // also WM_KEYFIRST: the message's own name wins
        {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
        {WM_CTLCOLORSTATIC, "WM_CTLCOLORSTATIC"},
        {SBM_SETSCROLLINFO, "SBM_SETSCROLLINFO"},
        {WM_PRINTCLIENT, "WM_PRINTCLIENT"},
        {0x0009, "0x0009"},
        {WM_USER, "0x0400"},
        {WM_USER + 0x1234, "0x1634"},
        {0xC123, "0xC123"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MessageName(c.message), c.name) << c.message;
}

TEST_F(MessageTraceTest, IsSilentWhileTheChannelIsOff)
{
    testing::internal::CaptureStderr();
    (void)SendMessageA(m_window, WM_NULL, 0, 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(MessageTraceTest, ShowsEachMessageWithRouteNameClassAndParameters)
{
    const auto lines = TraceOf([this] {
        (void)SendMessageA(m_window, WM_SETFOCUS, 0x12, 0x34);
        ASSERT_TRUE(PostMessageA(m_window, WM_NULL, 5, -1));
        Drain();
    });
    const std::string target = " to " + Handle() + " \"" + TracedClass + "\"";
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.front(), "messages: send WM_SETFOCUS" + target + " wParam=0x12 lParam=0x34");
    EXPECT_NE(std::find(lines.begin(), lines.end(),
                        "messages: dispatch WM_NULL" + target + " wParam=0x5 lParam=0xFFFFFFFFFFFFFFFF"),
              lines.end())
        << testing::PrintToString(lines);
}

TEST_F(MessageTraceTest, IndentsAMessageSentWhileAnotherIsHandled)
{
    const auto lines = TraceOf([this] { (void)SendMessageA(m_window, NestedRequest, 0, 0); });
    const std::string target = " to " + Handle() + " \"" + TracedClass + "\"";
    const std::vector<std::string> expected = {
        "messages: send 0x0407" + target + " wParam=0x0 lParam=0x0",
        "messages:   send WM_GETTEXTLENGTH" + target + " wParam=0x0 lParam=0x0",
    };
    EXPECT_EQ(lines, expected);
}
