#pragma once

#include "platform/winapi/user/MessageNames.h"
#include "platform/winapi/user/WinUser.h"

#include <string>
#include <vector>

// Records the messages windows receive, for comparing an operation's message sequence with an
// expected table. Windows of the class "Logged" (registered once) log everything they get and
// answer through DefWindowProc; a test may also log from its own procedures.
struct LoggedMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class MessageLog {
public:
    static MessageLog& Instance();

    void Add(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Clear() { m_entries.clear(); }
    [[nodiscard]] const std::vector<LoggedMessage>& Entries() const { return m_entries; }
    // The names of the logged messages for one window (or all with null), dropping the chatter a
    // sequence test does not look at (WM_NCHITTEST, WM_SETCURSOR, WM_GETTEXT...).
    [[nodiscard]] std::vector<std::string> Names(HWND hwnd = nullptr) const;
    // Messages as "name@label" where labels name the windows.
    [[nodiscard]] std::vector<std::string> Labelled(const std::vector<std::pair<HWND, std::string>>& labels) const;

private:
    std::vector<LoggedMessage> m_entries;
};

[[nodiscard]] std::string Describe(const std::vector<std::string>& sequence);

// "Logged" windows: register once, then create freely.
LRESULT LoggingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void RegisterLoggedClass();
constexpr const char* LOGGED_CLASS = "Logged";
constexpr const char* LOGGED_DBLCLK_CLASS = "LoggedDblClk";

// Compares with gtest, printing both sequences on a mismatch.
#define EXPECT_SEQUENCE(actual, ...)                                                                                   \
    do {                                                                                                               \
        const std::vector<std::string> expectedSequence{__VA_ARGS__};                                                  \
        const std::vector<std::string> actualSequence = (actual);                                                      \
        EXPECT_EQ(actualSequence, expectedSequence) << "expected: " << Describe(expectedSequence)                      \
                                                    << "\nactual:   " << Describe(actualSequence);                     \
    } while (0)
