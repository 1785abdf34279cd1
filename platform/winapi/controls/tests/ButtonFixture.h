#pragma once

#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/user/WinUser.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

// A borderless top-level "parent" window on the headless display that records what its control
// children tell it (WM_COMMAND, WM_DRAWITEM, WM_HSCROLL/WM_VSCROLL) and, when asked, answers
// WM_CTLCOLORSTATIC with a brush of its own.
struct ParentNotice {
    UINT message;
    WORD code;      // notification or scroll code
    WORD value;     // control id, or the scroll position
    HWND control;
    UINT itemState; // WM_DRAWITEM only
};

class ControlFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND Control(const char* className, const char* text, DWORD style, RECT rect, int id = 1);
    static void Pump();
    // Injected as the display would report them, then pumped.
    void Click(HWND control, POINT client);
    void Press(HWND control, POINT client, bool down);
    void MoveTo(HWND control, POINT client, bool leftDown);
    void Key(unsigned virtualKey, bool down);
    // The presented colour (0xRRGGBB) at a client point of `control`.
    [[nodiscard]] std::uint32_t Shown(HWND control, POINT client) const;
    [[nodiscard]] static std::uint32_t Rgb(COLORREF color);
    // The notices of one kind, oldest first.
    [[nodiscard]] std::vector<ParentNotice> Notices(UINT message) const;

    HeadlessDisplay* m_display = nullptr;
    HWND m_parent = nullptr;
};

// What the parent window stores; a test may set the brush for WM_CTLCOLORSTATIC.
struct ParentRecord {
    std::vector<ParentNotice> notices;
    HBRUSH staticBrush = nullptr;
};
ParentRecord& Record();
