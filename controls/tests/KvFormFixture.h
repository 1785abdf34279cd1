#pragma once

#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Clock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A form on a fresh headless screen for the controls under test, with every class of the library
// known to form data, the clock standing still until a test moves it, exception boxes recorded
// instead of shown, the user's mouse and keyboard and a look at what the screen shows. The form
// shows when the test asks; shown, it focuses its first control in tab order.
class KvFormFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    template <class T>
    T* Add(TRect bounds)
    {
        auto* control = new T(m_form.get());
        control->SetBoundsRect(bounds);
        control->SetParent(m_form.get());
        return control;
    }
    // Puts a form of another class (one with registered form text) in place of the plain one.
    void UseForm(TClass formClass);
    void ShowForm();
    void Focus(TWinControl& control);
    // Reads form text into the fixture's form, as a form loading itself would.
    void Load(const std::string& text);
    // The application's loop until nothing is left to do, paints and flushes included.
    static void Pump();
    // Moves the clock and lets the timers that came due fire.
    void Advance(std::uint64_t ms);

    // The presented colour (0xRRGGBB) at a client point of a control.
    [[nodiscard]] std::uint32_t Shown(TControl& control, POINT client) const;
    // The presented colour at a point of a windowed control's whole window, its frame included.
    [[nodiscard]] std::uint32_t ShownInWindow(TWinControl& control, POINT window) const;
    // How many presented pixels of the control's client area have the colour.
    [[nodiscard]] int CountShown(TControl& control, TColor color) const;
    // Whether any presented pixel of the rectangle (client points) has the colour.
    [[nodiscard]] bool ShowsColour(TControl& control, const TRect& rect, TColor color) const;
    // The smallest client rectangle holding every presented pixel of the colour; empty when none.
    [[nodiscard]] TRect BoundsShown(TControl& control, TColor color) const;

    // The mouse without a button held, at a client point of a control or of the form.
    void MoveMouse(TControl& control, POINT client);
    // A left click, press or release, or a move with the left button held, at a client point.
    void Click(TWinControl& control, POINT client);
    void Press(TWinControl& control, POINT client, bool down);
    void MoveHeld(TWinControl& control, POINT client);
    // A left click at a point of a windowed control's whole window, its frame included.
    void ClickInWindow(TWinControl& control, POINT window);
    // `text` is what the key types, as the keyboard reports it (Ctrl+V types "\x16").
    void Key(unsigned virtualKey, unsigned modifiers = 0, const std::string& text = {});
    void Type(const std::string& text);

    // The form's window, for input injected while a loop of the form's own (a menu's) runs.
    [[nodiscard]] WindowId FormId() const;

    std::unique_ptr<FakeClock> m_clock;
    HeadlessDisplay* m_display = nullptr;
    std::unique_ptr<TForm> m_form;
    std::vector<std::string> m_errors;

private:
    [[nodiscard]] POINT InForm(TControl& control, POINT client) const;
    [[nodiscard]] POINT WindowInForm(TWinControl& control, POINT window) const;
};

[[nodiscard]] std::uint32_t Rgb(TColor color);
