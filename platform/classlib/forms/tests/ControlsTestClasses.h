#pragma once

#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/core/Timers.h"

#include <string>
#include <vector>

// A container that paints itself in its colour.
class TTestPanel : public TCustomControl {
    CLASSLIB_DECLARE_CLASS;
    explicit TTestPanel(TComponent* owner);

protected:
    void Paint() override;
};

// A focusable box that remembers the keys and the enter/exit notices it saw.
class TTestEditBox : public TCustomControl {
    CLASSLIB_DECLARE_CLASS;
    explicit TTestEditBox(TComponent* owner);
    std::vector<std::string> Log;

protected:
    void Dispatch(TMessage& message) override;
};

// A button: Enter clicks the default one, Escape the cancel one, Alt+its accelerator any.
class TTestButton : public TCustomControl {
    CLASSLIB_DECLARE_CLASS;
    explicit TTestButton(TComponent* owner);
    [[nodiscard]] bool Default() const { return m_default; }
    void SetDefault(bool value) { m_default = value; }
    [[nodiscard]] bool Cancel() const { return m_cancel; }
    void SetCancel(bool value) { m_cancel = value; }
    [[nodiscard]] TModalResult ModalResult() const { return m_modalResult; }
    void SetModalResult(TModalResult value) { m_modalResult = value; }
    void Click() override;

protected:
    void Paint() override;
    void Dispatch(TMessage& message) override;

private:
    bool m_default = false;
    bool m_cancel = false;
    TModalResult m_modalResult = mrNone;
};

// A windowless control that counts the notices it receives.
class TTestGraphic : public TGraphicControl {
    CLASSLIB_DECLARE_CLASS;
    explicit TTestGraphic(TComponent* owner) : TGraphicControl(owner) {}
    int Clicks = 0;
    void Click() override;

protected:
    void Paint() override;
};

// The form the end-to-end tests load from form text.
class TTestMainForm : public TForm {
    CLASSLIB_DECLARE_CLASS;
    explicit TTestMainForm(TComponent* owner) : TForm(owner) {}

    TTestPanel* Top = nullptr;
    TTestPanel* Body = nullptr;
    TTestEditBox* Edit1 = nullptr;
    TTestEditBox* Edit2 = nullptr;
    TTestButton* OkButton = nullptr;
    TTestButton* CancelButton = nullptr;
    TTestButton* GoButton = nullptr;
    TTimer* Timer1 = nullptr;

    std::vector<std::string> Events;
    int Ticks = 0;
    bool ThrowFromClick = false;
    bool ThrowFromTimer = false;

    void FormCreate(TObject*) { Events.push_back("create"); }
    void FormShow(TObject*) { Events.push_back("show"); }
    void ButtonClick(TObject* sender);
    void Timer1Timer(TObject*);
};

const char* TestMainFormText();
void RegisterControlsTestClasses();

#include "platform/winapi/display/headless/HeadlessDisplay.h"

#include <functional>
#include <gtest/gtest.h>

// A fresh headless screen per test, exception boxes recorded instead of shown.
class ControlsFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Pumps the application's loop until `done` holds; false after a generous time-out.
    bool PumpUntil(const std::function<bool()>& done);
    static WindowId Id(TWinControl& control) { return reinterpret_cast<WindowId>(control.Handle()); }
    // A point in `control`'s client area as the top-level window's own coordinates.
    static POINT InTopLevel(TControl& control, POINT client);
    // The presented colour (0xRRGGBB) at a client point of `control`.
    [[nodiscard]] std::uint32_t Shown(TControl& control, POINT client) const;

    HeadlessDisplay* m_display = nullptr;
    std::vector<std::string> m_errors;
};

[[nodiscard]] std::uint32_t Rgb(TColor color);
