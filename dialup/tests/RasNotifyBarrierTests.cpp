#include "tests/support/windows/ForeignSend.h"

#include "dialup/RASDail.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/user/WindowProcExceptions.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

constexpr const char* FailingClass = "RasNotifyFailing";

LRESULT FailingNotifyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_RAS_NOTIFY)
        throw std::runtime_error("the notification went wrong");
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The dial-up service's callback runs on a thread of its own and sends each state to the window:
// a window whose procedure fails must not leave that thread waiting.
TEST(RasNotifyBarrierTest, TheCallbackIsAnsweredWhenTheWindowFailsAndTheFailureIsReported)
{
    (void)SelectHeadlessDisplay();
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &FailingNotifyProc;
    windowClass.lpszClassName = FailingClass;
    (void)RegisterClassA(&windowClass);
    const HWND window = CreateWindowExA(0, FailingClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    RasNotifyWindow = window;
    int reports = 0;
    SetWindowProcExceptionHandler([&](HWND failed) { reports += failed == window ? 1 : 0; });
    {
        const ForeignSend callback([] {
            RasDialCallback(0, RASCS_Connected, 0);
            return LRESULT{0};
        });
        EXPECT_TRUE(callback.AwaitAnswer());
    }
    EXPECT_EQ(reports, 1);
    SetWindowProcExceptionHandler(nullptr);
    RasNotifyWindow = nullptr;
    (void)DestroyWindow(window);
}

} // namespace
