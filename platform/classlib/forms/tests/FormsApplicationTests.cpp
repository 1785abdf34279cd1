#include "ControlsTestClasses.h"
#include "tests/support/windows/ForeignSend.h"

#include "platform/rtl/Exceptions.h"

namespace {

constexpr const char* HiddenClass = "ThrowingHiddenWindow";

// A hidden window's procedure that fails, like a component's utility window.
LRESULT ThrowingHiddenProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_USER)
        throw Exception("The hidden window went wrong");
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A subclass over a control's window that fails, like the skin engine's.
LRESULT ThrowingSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_USER)
        throw Exception("The skin went wrong");
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

using ApplicationExceptionTest = ControlsFixture;

TEST_F(ApplicationExceptionTest, AProcedureReachedFromAnotherThreadShowsItsErrorAndTheSenderGetsZero)
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &ThrowingHiddenProc;
    windowClass.lpszClassName = HiddenClass;
    (void)RegisterClassA(&windowClass);
    const HWND hidden = CreateWindowExA(0, HiddenClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(hidden, nullptr);
    {
        const ForeignSend send(hidden, WM_USER);
        ASSERT_TRUE(PumpUntil([&] { return send.Answered(); }));
        EXPECT_EQ(send.Result(), 0);
    }
    EXPECT_EQ(m_errors, std::vector<std::string>{"The hidden window went wrong."});
    (void)DestroyWindow(hidden);
}

TEST_F(ApplicationExceptionTest, OnExceptionHearsOfTheControlWhoseWindowFailed)
{
    TTestPanel panel(nullptr);
    panel.SetParentWindow(Application->Handle());
    ASSERT_TRUE(SetWindowSubclass(panel.Handle(), &ThrowingSubclass, 0, 0));
    TObject* sender = nullptr;
    std::string text;
    Application->SetOnException(TExceptionEvent::FromFunction([&](TObject* from, const std::exception& error) {
        sender = from;
        text = error.what();
    }));
    ASSERT_TRUE(PostMessageA(panel.Handle(), WM_USER, 0, 0));
    ASSERT_TRUE(PumpUntil([&] { return sender != nullptr; }));
    EXPECT_EQ(sender, &panel);
    EXPECT_EQ(text, "The skin went wrong");
    EXPECT_TRUE(m_errors.empty());
}

} // namespace
