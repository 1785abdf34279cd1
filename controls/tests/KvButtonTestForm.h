#pragma once

#include "KvFormFixture.h"

#include "controls/KvButton.h"
#include "controls/KvRadChk.h"

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

// A shown form of that class.
class KvButtonsTest : public KvFormFixture {
protected:
    void SetUp() override;

    [[nodiscard]] std::vector<std::string> TakeEvents();

    TKvButtonsTestForm* m_buttons = nullptr;
};

// The form data of a form of the test class holding `objects`.
[[nodiscard]] std::string FormAround(const std::string& objects);
// Form data read into a new form of the class and written back out.
[[nodiscard]] std::string RoundTrip(const std::string& text);
