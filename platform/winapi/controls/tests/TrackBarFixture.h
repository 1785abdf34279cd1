#pragma once

#include "platform/winapi/controls/CommCtrl.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

// The fixture of the common-control tests: a frameless top-level parent that records the scroll
// messages and notifications its children send, answers custom draw as the test asks, and drives
// its children with injected input.
struct ParentNote {
    UINT message;
    WORD code;       // low word of a scroll message's wParam, or the WM_NOTIFY code
    WORD pos;        // high word of a scroll message's wParam
    DWORD stage;     // custom draw stage
    DWORD_PTR item;  // custom draw item
    LRESULT answer;
};

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND Make(const char* className, DWORD style, RECT rect, int id = 7);
    static void Pump();
    void Press(HWND hwnd, POINT client, bool down);
    void Move(HWND hwnd, POINT client);
    void Click(HWND hwnd, POINT client);
    void Key(unsigned virtualKey, unsigned modifiers = 0);
    // The presented pixel at a client point of a window, 0xRRGGBB.
    [[nodiscard]] std::uint32_t Pixel(HWND hwnd, int x, int y) const;
    [[nodiscard]] static std::uint32_t Rgb(COLORREF color);
    [[nodiscard]] std::vector<ParentNote> Notes(UINT message) const;
    // A client point of a window in its top-level window's coordinates, as the display takes them.
    [[nodiscard]] static POINT InTop(HWND hwnd, POINT client);
    [[nodiscard]] static WindowId TopId(HWND hwnd);

    HeadlessDisplay* m_display = nullptr;
    HWND m_parent = nullptr;
    // Answers WM_NOTIFY; the default answers 0.
    static inline std::function<LRESULT(NMHDR*)> s_onNotify;
    static inline std::vector<ParentNote> s_notes;
};
