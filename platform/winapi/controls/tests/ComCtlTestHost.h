#pragma once

#include "platform/winapi/controls/CommCtrl.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

// A top-level window on a fresh headless screen that hosts one control, records the WM_NOTIFY
// codes and WM_DRAWITEM calls it receives and lets a test answer them.
class ComCtlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND Control(const char* className, DWORD style, RECT rect, const char* text = "");
    static void Pump();
    void Click(HWND control, POINT client, MouseButton button = MouseButton::Left);
    void Key(unsigned virtualKey, unsigned modifiers = 0);
    // Presses the left button at `from`, moves to `to` and releases there, then pumps.
    void Drag(HWND control, POINT from, POINT to);
    // The presented pixel at a client point of `control`, as 0xRRGGBB.
    [[nodiscard]] std::uint32_t Shown(HWND control, POINT client) const;
    [[nodiscard]] static std::uint32_t Rgb(COLORREF color);

    HeadlessDisplay* m_display = nullptr;
    HWND m_host = nullptr;

public:
    // What the host saw, and how it answers.
    static inline std::vector<UINT> s_notifications;
    static inline std::vector<DRAWITEMSTRUCT> s_drawItems;
    static inline std::function<LRESULT(NMHDR*)> s_answer;
};
