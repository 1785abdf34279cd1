#pragma once

#include "platform/winapi/controls/CommCtrl.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

// What the host window was told by its controls, oldest first.
struct ParentNote {
    UINT message;    // WM_NOTIFY, WM_HSCROLL or WM_VSCROLL
    UINT code;       // the WM_NOTIFY code, or the low word of a scroll message's wParam
    WORD pos;        // high word of a scroll message's wParam
    DWORD stage;     // custom draw stage
    DWORD_PTR item;  // custom draw item
    LRESULT answer;  // what the host answered
};

// The fixture of the control tests: a top-level window on a fresh headless screen that hosts the
// controls under test, records the notifications, scroll messages and owner-draw calls they send
// it, answers WM_NOTIFY as the test asks, and drives its children with injected input as a user
// would.
class ControlTestHost : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A visible child control of the host, created and pumped.
    HWND Control(const char* className, DWORD style, RECT rect, const char* text = "", int id = 7);
    static void Pump();

    // Injected input; every call pumps.
    void Click(HWND control, POINT client, MouseButton button = MouseButton::Left);
    void Press(HWND control, POINT client, bool down);
    // Moves the mouse with the left button held.
    void Move(HWND control, POINT client);
    // Presses the left button at `from`, moves to `to` and releases there.
    void Drag(HWND control, POINT from, POINT to);
    // The modifiers (ModShift, ModControl, ModAlt) go down as keys of their own around the key,
    // so that GetKeyState sees them too.
    void Key(unsigned virtualKey, unsigned modifiers = 0);

    // The presented pixel at a client point of a window, as 0xRRGGBB.
    [[nodiscard]] std::uint32_t Shown(HWND control, POINT client) const;
    [[nodiscard]] static std::uint32_t Rgb(COLORREF color);

    // What the host recorded since SetUp or the last ForgetNotes.
    [[nodiscard]] static std::vector<ParentNote> Notes(UINT message);
    [[nodiscard]] static std::vector<UINT> NotifyCodes();
    [[nodiscard]] static std::vector<DRAWITEMSTRUCT> DrawItems();
    static void ForgetNotes();
    // How the host answers WM_NOTIFY from now on; null answers 0.
    static void AnswerNotify(std::function<LRESULT(NMHDR*)> answer);

    HeadlessDisplay* m_display = nullptr;
    HWND m_host = nullptr;
};
