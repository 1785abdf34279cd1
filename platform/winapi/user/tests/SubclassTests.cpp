#include "tests/support/windows/MessageLog.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// What the subclass procedures saw, as "<id>:<message - WM_USER>" entries.
std::string& Trace()
{
    static std::string trace;
    return trace;
}

void Note(UINT_PTR id, UINT message)
{
    Trace() += std::to_string(id) + ":" + std::to_string(message - WM_USER) + " ";
}

// Passes WM_USER on and answers ten times the answer below it plus its data.
LRESULT Tagging(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR refData)
{
    if (message != WM_USER)
        return DefSubclassProc(hwnd, message, wParam, lParam);
    Note(id, message);
    return 10 * DefSubclassProc(hwnd, message, wParam, lParam) + static_cast<LRESULT>(refData);
}

// Removes itself and Tagging 1 as WM_USER comes, then passes it on.
LRESULT RemovingBoth(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR)
{
    if (message == WM_USER) {
        Note(id, message);
        (void)RemoveWindowSubclass(hwnd, &Tagging, 1);
        (void)RemoveWindowSubclass(hwnd, &RemovingBoth, id);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

// Sends its window a second message before it passes WM_USER on, then passes it on again.
LRESULT Reentering(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message != WM_USER)
        return DefSubclassProc(hwnd, message, wParam, lParam);
    (void)SendMessageA(hwnd, WM_USER + 1, 0, 0);
    const LRESULT first = DefSubclassProc(hwnd, message, wParam, lParam);
    return first + DefSubclassProc(hwnd, message, wParam, lParam);
}

// Notes the user messages and answers WM_USER itself with 5.
LRESULT Noting(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR)
{
    if (message >= WM_USER)
        Note(id, message);
    return message == WM_USER ? 5 : DefSubclassProc(hwnd, message, wParam, lParam);
}

class SubclassTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        (void)SelectHeadlessDisplay();
        RegisterLoggedClass();
        m_window = CreateWindowExA(0, LOGGED_CLASS, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_window, nullptr);
        Trace().clear();
        MessageLog::Instance().Clear();
    }
    void TearDown() override { (void)DestroyWindow(m_window); }

    [[nodiscard]] int UserMessagesLogged() const
    {
        int count = 0;
        for (const auto& entry : MessageLog::Instance().Entries())
            count += entry.hwnd == m_window && entry.message >= WM_USER ? 1 : 0;
        return count;
    }

    HWND m_window = nullptr;
};

TEST_F(SubclassTest, SubclassesRunLatestFirstWithTheirDataAndTheLastToGoGivesTheProcedureBack)
{
    const LONG_PTR original = GetWindowLongPtrA(m_window, GWLP_WNDPROC);
    ASSERT_TRUE(SetWindowSubclass(m_window, &Tagging, 1, 1));
    ASSERT_TRUE(SetWindowSubclass(m_window, &Tagging, 2, 2));
    EXPECT_EQ(SendMessageA(m_window, WM_USER, 0, 0), 12);
    EXPECT_EQ(Trace(), "2:0 1:0 ");
    EXPECT_EQ(UserMessagesLogged(), 1) << "the window's own procedure answers last";
    // Outside the window's messages, passing one on goes straight to the window's procedure.
    EXPECT_EQ(DefSubclassProc(m_window, WM_USER, 0, 0), 0);
    EXPECT_EQ(UserMessagesLogged(), 2);
    EXPECT_EQ(Trace(), "2:0 1:0 ");

    // Setting one again changes its data, not its place.
    ASSERT_TRUE(SetWindowSubclass(m_window, &Tagging, 1, 3));
    DWORD_PTR data = 0;
    EXPECT_TRUE(GetWindowSubclass(m_window, &Tagging, 1, &data));
    EXPECT_EQ(data, 3u);
    EXPECT_EQ(SendMessageA(m_window, WM_USER, 0, 0), 32);

    EXPECT_TRUE(RemoveWindowSubclass(m_window, &Tagging, 2));
    EXPECT_FALSE(RemoveWindowSubclass(m_window, &Tagging, 2));
    EXPECT_NE(GetWindowLongPtrA(m_window, GWLP_WNDPROC), original);
    EXPECT_TRUE(RemoveWindowSubclass(m_window, &Tagging, 1));
    EXPECT_FALSE(GetWindowSubclass(m_window, &Tagging, 1, &data));
    EXPECT_EQ(GetWindowLongPtrA(m_window, GWLP_WNDPROC), original);
    EXPECT_EQ(SendMessageA(m_window, WM_USER, 0, 0), 0);
}

TEST_F(SubclassTest, ASubclassRemovedWhileTheMessageIsUnderWayIsSkippedAndTheMessageGoesOn)
{
    ASSERT_TRUE(SetWindowSubclass(m_window, &Tagging, 1, 1));
    ASSERT_TRUE(SetWindowSubclass(m_window, &RemovingBoth, 9, 0));
    EXPECT_EQ(SendMessageA(m_window, WM_USER, 0, 0), 0);
    EXPECT_EQ(Trace(), "9:0 ");
    EXPECT_EQ(UserMessagesLogged(), 1);
    EXPECT_EQ(GetWindowLongPtrA(m_window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&LoggingProc));
}

TEST_F(SubclassTest, MessagesSentFromInsideTheChainAndAMessagePassedOnTwiceWalkTheWholeChain)
{
    ASSERT_TRUE(SetWindowSubclass(m_window, &Noting, 1, 0));
    ASSERT_TRUE(SetWindowSubclass(m_window, &Reentering, 2, 0));
    EXPECT_EQ(SendMessageA(m_window, WM_USER, 0, 0), 10);
    EXPECT_EQ(Trace(), "1:1 1:0 1:0 ");
}

TEST_F(SubclassTest, AProcedureSetOverTheChainKeepsItsPlaceWhenTheSubclassesGo)
{
    static WNDPROC under = nullptr;
    const WNDPROC over = [](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
        return (message == WM_USER ? 100 : 0) + CallWindowProcA(under, hwnd, message, wParam, lParam);
    };
    ASSERT_TRUE(SetWindowSubclass(m_window, &Tagging, 1, 1));
    under = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(over)));
    EXPECT_EQ(SendMessageA(m_window, WM_USER, 0, 0), 101);
    EXPECT_TRUE(RemoveWindowSubclass(m_window, &Tagging, 1));
    EXPECT_EQ(GetWindowLongPtrA(m_window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(over));
    EXPECT_EQ(SendMessageA(m_window, WM_USER, 0, 0), 100);
    EXPECT_EQ(UserMessagesLogged(), 2);
}

} // namespace
