#pragma once

#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/core/Alignment.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/core/StringLists.h"

#include <memory>
#include <string>

// The class library's edit controls over the built-in "Edit" window class: TCustomEdit / TEdit
// (one line) and TCustomMemo / TMemo (several, with Lines bound to the window's text).
// OnChange fires for every change the window reports with EN_CHANGE, and also when Text is set on
// a multi-line control or on one without a window (which report nothing themselves).

enum TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

[[nodiscard]] const TTypeInfo& EditCharCaseTypeInfo();
[[nodiscard]] const TTypeInfo& ScrollStyleTypeInfo();

class TCustomEdit : public TWinControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TCustomEdit(TComponent* owner);
    ~TCustomEdit() override;

    [[nodiscard]] bool AutoSelect() const { return m_autoSelect; }
    void SetAutoSelect(bool autoSelect) { m_autoSelect = autoSelect; }
    [[nodiscard]] bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool autoSize) { m_autoSize = autoSize; }
    [[nodiscard]] TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle style);
    [[nodiscard]] TEditCharCase CharCase() const { return m_charCase; }
    void SetCharCase(TEditCharCase charCase);
    [[nodiscard]] bool HideSelection() const { return m_hideSelection; }
    void SetHideSelection(bool hide);
    [[nodiscard]] int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int maxLength);
    [[nodiscard]] bool OEMConvert() const { return m_oemConvert; }
    void SetOEMConvert(bool convert);
    [[nodiscard]] char PasswordChar() const { return m_passwordChar; }
    void SetPasswordChar(char c);
    [[nodiscard]] bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);
    [[nodiscard]] bool Modified() const;
    void SetModified(bool modified);
    [[nodiscard]] bool CanUndo();

    // Byte positions; they make the window.
    [[nodiscard]] int SelStart();
    void SetSelStart(int start);
    [[nodiscard]] int SelLength();
    void SetSelLength(int length);
    [[nodiscard]] std::string SelText();
    void SetSelText(const std::string& text);
    void SelectAll();
    void ClearSelection();
    void CopyToClipboard();
    void CutToClipboard();
    void PasteFromClipboard();
    void Undo();
    void ClearUndo();
    void Clear() { SetText(""); }

    [[nodiscard]] const TNotifyEvent& OnChange() const { return m_onChange; }
    void SetOnChange(const TNotifyEvent& handler) { m_onChange = handler; }

    // A memo's text is stored as its Lines.
    [[nodiscard]] virtual bool IsTextStored() const { return true; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    void DoEnter() override;
    virtual void Change();
    // The built-in class the window is made from.
    [[nodiscard]] virtual const char* BuiltinClassName() const;
    // The control's own colours for the window's WM_CTLCOLOR* question.
    LRESULT ControlColors(HDC dc);

private:
    std::unique_ptr<TBrush> m_brush;
    bool m_autoSelect = true;
    bool m_autoSize = true;
    TBorderStyle m_borderStyle = bsSingle;
    TEditCharCase m_charCase = ecNormal;
    bool m_hideSelection = true;
    int m_maxLength = 0;
    bool m_oemConvert = false;
    char m_passwordChar = '\0';
    bool m_readOnly = false;
    bool m_modified = false;
    bool m_creating = false;
    TNotifyEvent m_onChange;
};

class TEdit : public TCustomEdit {
    CLASSLIB_DECLARE_CLASS;
    using TCustomEdit::TCustomEdit;
};

class TCustomMemo;

// A memo's lines: the window's lines when it has one (wrapped lines count as lines, as the class
// library has it), otherwise the stored text split at line breaks.
class TMemoStrings : public TStrings {
    CLASSLIB_DECLARE_CLASS;

    explicit TMemoStrings(TCustomMemo* memo) : m_memo(memo) {}

    [[nodiscard]] int Count() const override;
    [[nodiscard]] std::string Strings(int index) const override;
    void SetStrings(int index, const std::string& s) override;
    void Insert(int index, const std::string& s) override;
    void Delete(int index) override;
    void Clear() override;
    [[nodiscard]] std::string Text() const override;
    void SetText(std::string_view text) override;

private:
    [[nodiscard]] HWND Window() const;
    void Replace(int from, int to, const std::string& text) const;

    TCustomMemo* m_memo;
};

class TCustomMemo : public TCustomEdit {
    CLASSLIB_DECLARE_CLASS;

    explicit TCustomMemo(TComponent* owner);
    ~TCustomMemo() override;

    [[nodiscard]] TStrings* Lines() const { return m_lines.get(); }
    void SetLines(TStrings* lines);
    [[nodiscard]] TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);
    [[nodiscard]] TScrollStyle ScrollBars() const { return m_scrollBars; }
    void SetScrollBars(TScrollStyle scrollBars);
    [[nodiscard]] bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool wordWrap);
    [[nodiscard]] bool WantReturns() const { return m_wantReturns; }
    void SetWantReturns(bool want) { m_wantReturns = want; }
    [[nodiscard]] bool WantTabs() const { return m_wantTabs; }
    void SetWantTabs(bool want) { m_wantTabs = want; }
    // Column and line of the caret.
    [[nodiscard]] TPoint CaretPos();
    void SetCaretPos(TPoint pos);
    [[nodiscard]] bool IsTextStored() const override { return false; }

protected:
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;
    void KeyPress(char& key) override;

private:
    std::unique_ptr<TMemoStrings> m_lines;
    TAlignment m_alignment = taLeftJustify;
    TScrollStyle m_scrollBars = ssNone;
    bool m_wordWrap = true;
    bool m_wantReturns = true;
    bool m_wantTabs = false;
};

class TMemo : public TCustomMemo {
    CLASSLIB_DECLARE_CLASS;
    using TCustomMemo::TCustomMemo;
};
