#pragma once

#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A shown form on a fresh headless screen for the editors and tools under test, with the input a
// user would give it; exception boxes are recorded instead of shown and fail the test.
class ToolsFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static void Pump();
    // A key as the user presses it into the focused window, with ModShift / ModControl / ModAlt.
    void Key(unsigned virtualKey, unsigned modifiers = 0, std::string text = {});
    void Type(const std::string& text);
    // Mouse input at a client point of a control (a windowless one through its parent).
    void Click(TControl& control, POINT client);
    void Press(TControl& control, POINT client, bool down);
    void MoveHeld(TControl& control, POINT client);
    void Wheel(TControl& control, POINT client, int delta);
    // The presented colour (0xRRGGBB) at a client point of a control.
    [[nodiscard]] std::uint32_t Shown(TControl& control, POINT client) const;
    [[nodiscard]] static std::uint32_t SysRgb(int index);

    HeadlessDisplay* m_display = nullptr;
    std::unique_ptr<TForm> m_form;
    std::vector<std::string> m_errors;
};
