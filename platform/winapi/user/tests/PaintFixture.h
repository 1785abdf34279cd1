#pragma once

#include "tests/support/windows/MessageLog.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/gdi/Gdi.h"

#include <gtest/gtest.h>

// Windows of the class "Painted" fill their client area with the colour kept in their user data
// (on WM_PAINT and WM_PRINTCLIENT), log what they get and leave the rest to DefWindowProc.
class PaintTest : public ::testing::Test {
protected:
    static constexpr const char* PAINTED_CLASS = "Painted";

    void SetUp() override;
    void TearDown() override;

    HWND Top(DWORD style, RECT rect, COLORREF color, DWORD exStyle = 0);
    HWND Child(HWND parent, DWORD style, RECT rect, COLORREF color);
    static void Pump();
    static WindowId Id(HWND hwnd) { return reinterpret_cast<WindowId>(GetAncestor(hwnd, GA_ROOT)); }
    // The presented pixel at a point of the top-level window, as 0xRRGGBB.
    [[nodiscard]] std::uint32_t Shown(HWND top, int x, int y) const;
    // The same colour as a COLORREF gives it.
    [[nodiscard]] static std::uint32_t Rgb(COLORREF color);
    static std::vector<std::string> Log(HWND hwnd = nullptr) { return MessageLog::Instance().Names(hwnd); }

    HeadlessDisplay* m_display = nullptr;
    std::vector<HWND> m_tops;
};
