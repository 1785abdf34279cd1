#pragma once

#include "grid/tools/ToolCtrlsGxButtons.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "platform/rtl/Variant.h"

#include <array>
#include <string>

// What an editor asks of the value box it dropped down.
class IPopupEditBoxGx {
public:
    [[nodiscard]] virtual bool AcceptOnEnter() const = 0;
    [[nodiscard]] virtual bool GetPopupFlat() const = 0;
    [[nodiscard]] virtual Variant GetPopupValue() const = 0;
    virtual void SetPopupFlat(bool flat) = 0;
    virtual void SetPopupValue(const Variant& value) = 0;

protected:
    ~IPopupEditBoxGx() = default;
};

// A four-function calculator: a display and 24 keys. Every input (keys, key buttons, the wheel)
// goes through HandleKey. Any result that is not a finite number shows "Error", which only 'C'
// (or the C key) clears.
class TCalculatorGx : public TCustomControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TCalculatorGx(TComponent* owner);
    ~TCalculatorGx() override;

    // One key: a digit, the decimal separator, an operator, '=', Enter, Backspace, Esc, 'C',
    // 'I' (negate), 'R' (reciprocal), 'S' (square root), Ctrl+C (3) or Ctrl+V (22).
    virtual void HandleKey(char key);
    // The key button whose tag selects `key` answers by passing it on.
    void SpeedButtonClick(TObject* sender);

    [[nodiscard]] std::string DisplayText() const { return m_textBox->Caption(); }
    // 0 in the error state.
    [[nodiscard]] double DisplayValue() const;
    void SetDisplayValue(double value);
    [[nodiscard]] bool InError() const { return m_entryState == EntryState::Error; }
    void CopyDisplay() const;
    // Raises EConvertError when the clipboard text is no number.
    void PasteDisplay();
    void ResetCalculator();

    [[nodiscard]] TSpeedButtonGx* EqualButton() const { return m_equal; }
    [[nodiscard]] TSpeedButtonGx* KeyButton(int tag) const;

protected:
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void Dispatch(TMessage& message) override;

    std::array<TSpeedButtonGx*, 24> m_keys{};

private:
    enum class EntryState { NewNumber, Typing, Error };

    void BuildKeys();
    void StartTyping();
    void AppendSeparator();
    void AppendDigit(char digit);
    void Backspace();
    void ApplyOperator(char key);
    void Calculate(double x);
    void ShowResult(double value);
    void EnterError();
    void RefreshEqualCaption();
    void SetText(const std::string& text);

    TPanel* m_panel = nullptr;
    TLabel* m_textBox = nullptr;
    TSpeedButtonGx* m_equal = nullptr;
    EntryState m_entryState = EntryState::NewNumber;
    char m_pendingOp = '=';
    double m_accumulator = 0;
};

// The calculator an editor drops down under itself. It never takes the activation or the focus:
// the editor passes it the keys. Enter closes it accepting unless a calculation waits for its
// second operand ("=" is shown); Esc closes it without.
class TPopupCalculatorGx : public TCalculatorGx, public IPopupEditBoxGx {
    CLASSLIB_DECLARE_CLASS;

    explicit TPopupCalculatorGx(TComponent* owner);

    void HandleKey(char key) override;

    [[nodiscard]] bool AcceptOnEnter() const override;
    [[nodiscard]] bool GetPopupFlat() const override { return m_popupFlat; }
    // An error value in the error state.
    [[nodiscard]] Variant GetPopupValue() const override;
    void SetPopupFlat(bool flat) override;
    void SetPopupValue(const Variant& value) override;

    static constexpr int FrameWidth = 2;

protected:
    void CreateParams(TCreateParams& params) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void Dispatch(TMessage& message) override;

private:
    void CloseUp(bool accept);

    bool m_popupFlat = true;
};
