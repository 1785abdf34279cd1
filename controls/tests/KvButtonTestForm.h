#pragma once

#include "controls/KvButton.h"
#include "controls/KvRadChk.h"

#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A dialog of the library's buttons and check box, loaded from form text, logging its events:
// an OK (default) and a Cancel button, two toggle buttons of one group, a bit button and a
// three-state check box.
class TKvButtonsTestForm : public TForm {
    CLASSLIB_DECLARE_CLASS;
    explicit TKvButtonsTestForm(TComponent* owner) : TForm(owner) {}

    TKvButton* OkButton = nullptr;
    TKvButton* CancelButton = nullptr;
    TKvButton* GroupA = nullptr;
    TKvButton* GroupB = nullptr;
    TKvBitBtn* Bit = nullptr;
    TKvCheckBox* Check = nullptr;

    std::vector<std::string> Events;

    // "click <name> <form's ModalResult at that moment>"
    void Clicked(TObject* sender);
    void MouseEntered(TObject* sender) { Events.push_back("enter " + static_cast<TComponent*>(sender)->Name()); }
    void MouseLeft(TObject* sender) { Events.push_back("leave " + static_cast<TComponent*>(sender)->Name()); }
};

// A shown form of that class on a fresh headless screen, driven by injected mouse and keys.
class KvButtonsTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static void Pump();
    // Injected input at client points of a control; every call pumps.
    void Click(TWinControl& control, POINT client);
    void Press(TWinControl& control, POINT client, bool down);
    void MoveHeld(TWinControl& control, POINT client);
    void Hover(TWinControl& control, POINT client);
    void Key(unsigned virtualKey, unsigned modifiers = 0);
    // The presented colour (0xRRGGBB) at a client point of a control.
    [[nodiscard]] std::uint32_t Shown(TWinControl& control, POINT client) const;
    [[nodiscard]] static std::uint32_t Rgb(TColor color);
    // Whether any presented pixel of the rectangle (client points) has the colour.
    [[nodiscard]] bool ShowsColour(TWinControl& control, const TRect& rect, TColor color) const;
    [[nodiscard]] std::vector<std::string> TakeEvents();

    HeadlessDisplay* m_display = nullptr;
    std::unique_ptr<TKvButtonsTestForm> m_form;
    std::vector<std::string> m_errors;
};

// The form data of a form of the test class holding `objects`.
[[nodiscard]] std::string FormAround(const std::string& objects);
// Form data read into a new form of the class and written back out.
[[nodiscard]] std::string RoundTrip(const std::string& text);
