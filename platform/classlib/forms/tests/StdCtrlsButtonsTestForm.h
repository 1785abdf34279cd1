#pragma once

#include "ControlsTestClasses.h"
#include "platform/classlib/forms/ButtonsBitBtn.h"
#include "platform/classlib/forms/ButtonsSpeedButton.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsScrollBar.h"

#include <memory>
#include <string>
#include <vector>

// A form of every button kind and a scroll bar, loaded from form text, logging its events.
class TButtonsTestForm : public TForm {
    CLASSLIB_DECLARE_CLASS;
    explicit TButtonsTestForm(TComponent* owner) : TForm(owner) {}

    TButton* OkButton = nullptr;
    TButton* CancelButton = nullptr;
    TCheckBox* Check = nullptr;
    TGroupBox* Box = nullptr;
    TRadioButton* Radio1 = nullptr;
    TRadioButton* Radio2 = nullptr;
    TRadioButton* Outside = nullptr;
    TBitBtn* Retry = nullptr;
    TSpeedButton* Speed1 = nullptr;
    TSpeedButton* Speed2 = nullptr;
    TScrollBar* Bar = nullptr;

    std::vector<std::string> Events;
    int ScrollLimit = 1000;

    void Clicked(TObject* sender) { Events.push_back("click " + static_cast<TComponent*>(sender)->Name()); }
    void BarChange(TObject*) { Events.push_back("change " + std::to_string(Bar->Position())); }
    void BarScroll(TObject*, TScrollCode code, int& position);
};

// A shown form of that class, with the helpers the tests share.
class ButtonsFormTest : public ControlsFixture {
protected:
    void SetUp() override;
    void TearDown() override;
    void ClickAt(TControl& control, POINT client);
    void Key(unsigned key);
    [[nodiscard]] bool Saw(const std::string& event) const;

    std::unique_ptr<TButtonsTestForm> m_form;
};
