#pragma once

#include "platform/winapi/controls/Edit.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// A shown top-level window that counts the notifications its edit children send, and helpers
// that drive an edit through injected input, as a user would.
class EditFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    HWND MakeEdit(DWORD style, const char* text = "", RECT rect = {10, 10, 210, 34}, const char* className = WC_EDITA);
    static void Pump();
    [[nodiscard]] static std::string Text(HWND edit);
    [[nodiscard]] static std::pair<DWORD, DWORD> Selection(HWND edit);
    // How many times each notification code arrived since the last ClearNotifications.
    [[nodiscard]] static int Count(WORD code);
    static void ClearNotifications();
    // The parent's reaction to each notification, after counting it (for example destroying the edit).
    static void ReactWith(std::function<void(HWND from, WORD code)> react);

    void Type(const std::string& text);
    void Press(unsigned key);
    void PressWith(unsigned modifierKey, unsigned key);
    void Hold(unsigned key, bool down);
    // Mouse actions at client points of a child.
    void ButtonAt(HWND child, POINT client, bool down);
    void MoveTo(HWND child, POINT client);
    void DoubleClickAt(HWND child, POINT client);

    [[nodiscard]] std::uint32_t Pixel(HWND child, POINT client) const;
    [[nodiscard]] static std::uint32_t Rgb(COLORREF color);

    HeadlessDisplay* m_display = nullptr;
    HWND m_main = nullptr;

private:
    [[nodiscard]] WindowId Id() const { return reinterpret_cast<WindowId>(m_main); }
};
