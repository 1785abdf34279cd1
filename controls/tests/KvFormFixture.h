#pragma once

#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A form on a fresh headless screen for the controls under test, exception boxes recorded
// instead of shown, with the user's mouse and keyboard and a look at what the screen shows.
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
    void ShowForm();
    void Focus(TWinControl& control);
    // The application's loop until nothing is left to do, paints and flushes included.
    static void Pump();

    // The presented colour (0xRRGGBB) at a client point of a control.
    [[nodiscard]] std::uint32_t Shown(TControl& control, POINT client) const;
    // The presented colour at a point of a windowed control's whole window, its frame included.
    [[nodiscard]] std::uint32_t ShownInWindow(TWinControl& control, POINT window) const;
    // How many presented pixels of the control's client area have the colour.
    [[nodiscard]] int CountShown(TControl& control, TColor color) const;
    // The smallest client rectangle holding every presented pixel of the colour; empty when none.
    [[nodiscard]] TRect BoundsShown(TControl& control, TColor color) const;

    // The mouse without a button held, at a client point of a control or of the form.
    void MoveMouse(TControl& control, POINT client);
    // `text` is what the key types, as the keyboard reports it (Ctrl+V types "\x16").
    // A left click at a point of a windowed control's whole window, its frame included.
    void ClickInWindow(TWinControl& control, POINT window);
    void Key(unsigned virtualKey, unsigned modifiers = 0, const std::string& text = {});
    void Type(const std::string& text);

    HeadlessDisplay* m_display = nullptr;
    std::unique_ptr<TForm> m_form;
    std::vector<std::string> m_errors;

private:
    [[nodiscard]] WindowId FormId() const;
    [[nodiscard]] POINT InForm(TControl& control, POINT client) const;
    [[nodiscard]] POINT WindowInForm(TWinControl& control, POINT window) const;
};

[[nodiscard]] std::uint32_t Rgb(TColor color);
