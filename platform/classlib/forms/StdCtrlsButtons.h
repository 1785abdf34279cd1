#pragma once

#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/core/Alignment.h"
#include "platform/winapi/gdi/GdiOwners.h"

// The standard controls over the built-in "Button" window class (push button, check box, radio
// button), and the group box that frames other controls under a caption.

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
// Which side of the box the caption goes: taRightJustify (the default) puts it right of the box.
using TLeftRight = TAlignment;

[[nodiscard]] const TTypeInfo& CheckBoxStateTypeInfo();
[[nodiscard]] const TTypeInfo& LeftRightTypeInfo();

// The base of the "Button" wrappers: it makes the window of that class, hands it the control's
// font, and answers its colour queries with the control's font colour and background.
class TButtonControl : public TWinControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TButtonControl(TComponent* owner);
    ~TButtonControl() override;

    [[nodiscard]] bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool wordWrap);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    // Setting the state from code or form data fires OnClick, except while loading.
    [[nodiscard]] bool ClicksDisabled() const { return IsLoading(); }
    // Alt+the caption's accelerator (CM_DIALOGCHAR) focuses the control; true when it took the
    // focus and should act.
    [[nodiscard]] bool TakesAccelerator(TMessage& message);

private:
    void AnswerColor(TMessage& message);

    bool m_wordWrap = false;
    GdiObject<HBRUSH> m_brush;
    COLORREF m_brushColor = 0;
};

// A push button. Enter clicks the default one (or the focused button), Escape the cancel one;
// a click sets the form's ModalResult to the button's.
class TButton : public TButtonControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TButton(TComponent* owner);

    [[nodiscard]] bool Default() const { return m_default; }
    void SetDefault(bool value);
    [[nodiscard]] bool Cancel() const { return m_cancel; }
    void SetCancel(bool value) { m_cancel = value; }
    [[nodiscard]] TModalResult ModalResult() const { return m_modalResult; }
    void SetModalResult(TModalResult value) { m_modalResult = value; }
    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    // Whether Enter clicks this button now: it is focused, or it is the default and no other
    // button is focused.
    [[nodiscard]] bool Active() const { return m_active; }
    // Shows whether the button is the one Enter clicks (BS_DEFPUSHBUTTON for a plain button).
    virtual void SetButtonStyle(bool isDefault);

private:
    void FocusChanged(TMessage& message);
    bool DialogKey(TMessage& message);

    bool m_default = false;
    bool m_cancel = false;
    bool m_active = false;
    TModalResult m_modalResult = mrNone;
};

// A check box: a click moves Unchecked -> Checked -> Unchecked, or through Grayed with AllowGrayed.
class TCheckBox : public TButtonControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TCheckBox(TComponent* owner);

    [[nodiscard]] bool Checked() const { return m_state == cbChecked; }
    void SetChecked(bool checked) { SetState(checked ? cbChecked : cbUnchecked); }
    [[nodiscard]] TCheckBoxState State() const { return m_state; }
    void SetState(TCheckBoxState state);
    [[nodiscard]] bool AllowGrayed() const { return m_allowGrayed; }
    void SetAllowGrayed(bool allowGrayed) { m_allowGrayed = allowGrayed; }
    [[nodiscard]] TLeftRight Alignment() const { return m_alignment; }
    void SetAlignment(TLeftRight alignment);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    virtual void Toggle();

private:
    TCheckBoxState m_state = cbUnchecked;
    bool m_allowGrayed = false;
    TLeftRight m_alignment = taRightJustify;
};

// A radio button: checking one unchecks the radio buttons sharing its parent.
class TRadioButton : public TButtonControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TRadioButton(TComponent* owner);

    [[nodiscard]] bool Checked() const { return m_checked; }
    void SetChecked(bool checked);
    [[nodiscard]] TLeftRight Alignment() const { return m_alignment; }
    void SetAlignment(TLeftRight alignment);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;

private:
    void TurnSiblingsOff();

    bool m_checked = false;
    TLeftRight m_alignment = taRightJustify;
};

// A container drawn as an etched frame with its caption set into the top line.
class TCustomGroupBox : public TCustomControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TCustomGroupBox(TComponent* owner);

protected:
    void AdjustClientRect(TRect& rect) const override;
    void Paint() override;
    void Dispatch(TMessage& message) override;
};

class TGroupBox : public TCustomGroupBox {
    CLASSLIB_DECLARE_CLASS;

    explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};
