#pragma once

#include "platform/classlib/forms/MaskText.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/rtl/Exceptions.h"

// The class library's masked edit: with an EditMask the window shows EditText (literals in place,
// the blank character where nothing is typed); typing overwrites one position at a time and skips
// the literals, refusing (with a beep) what a position does not take; Backspace and Delete blank
// positions; Escape puts back the text the control had when it got the focus. Text is the input
// with blanks as spaces, with the literals unless the mask's second field is "0". ValidateEdit
// raises EDBEditError when a modified text breaks the mask. Without a mask it is a plain edit.

RTL_DECLARE_EXCEPTION(EDBEditError, Exception);

class TCustomMaskEdit : public TCustomEdit {
    CLASSLIB_DECLARE_CLASS;

    explicit TCustomMaskEdit(TComponent* owner);
    ~TCustomMaskEdit() override;

    [[nodiscard]] const std::string& EditMask() const { return m_editMask; }
    void SetEditMask(const std::string& editMask);
    [[nodiscard]] bool IsMasked() const { return m_mask.IsMasked(); }
    // The window's text, literals and blanks included.
    [[nodiscard]] virtual std::string EditText() const { return TCustomEdit::GetText(); }
    virtual void SetEditText(const std::string& text);
    // Puts back the text from when editing began.
    void Reset();
    virtual void ValidateEdit();

protected:
    [[nodiscard]] std::string GetText() const override;
    void StoreText(const std::string& text) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void DoEnter() override;
    void Dispatch(TMessage& message) override;
    [[noreturn]] virtual void ValidateError();
    [[nodiscard]] virtual bool EditCanModify() { return !ReadOnly(); }

private:
    // Typing at the caret: false (and a beep) when the character does not fit.
    bool Input(char c);
    void Blank(std::size_t from, std::size_t to);
    void DeleteKey(WORD key);
    void PasteText();
    [[nodiscard]] std::size_t NextInput(std::size_t pos) const;
    [[nodiscard]] std::size_t PrevInput(std::size_t pos) const;
    void PlaceCaret(std::size_t pos);
    void ReplaceEditText(const std::string& text, std::size_t caret);

    std::string m_editMask;
    TEditMask m_mask{""};
    std::string m_oldValue;
};

class TMaskEdit : public TCustomMaskEdit {
    CLASSLIB_DECLARE_CLASS;
    using TCustomMaskEdit::TCustomMaskEdit;
};
