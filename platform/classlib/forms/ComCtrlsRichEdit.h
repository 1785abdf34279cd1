#pragma once

#include "platform/classlib/forms/StdCtrlsEdit.h"

// The class library's rich edit over "RichEdit20A": a memo whose characters carry a colour and a
// font. SelAttributes reads and changes the selection's (or, with nothing selected, the next
// typed text's) attributes; DefAttributes those of text without its own.

class TCustomRichEdit;

enum TAttributeType { atSelected, atDefaultText };

class TTextAttributes : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    TTextAttributes(TCustomRichEdit* richEdit, TAttributeType type) : m_richEdit(richEdit), m_type(type) {}

    // From a TFont or other attributes.
    void Assign(const TPersistent* source) override;

    [[nodiscard]] TColor Color() const;
    void SetColor(TColor color);
    [[nodiscard]] std::string Name() const;
    void SetName(const std::string& name);
    // In points.
    [[nodiscard]] int Size() const;
    void SetSize(int size);
    [[nodiscard]] TFontStyles Style() const;
    void SetStyle(TFontStyles style);

private:
    struct Format;
    [[nodiscard]] Format Get() const;
    void Set(const Format& format) const;

    TCustomRichEdit* m_richEdit;
    TAttributeType m_type;
};

class TCustomRichEdit : public TCustomMemo {
    CLASSLIB_DECLARE_CLASS;

    explicit TCustomRichEdit(TComponent* owner);
    ~TCustomRichEdit() override;

    [[nodiscard]] TTextAttributes* SelAttributes() const { return m_selAttributes.get(); }
    void SetSelAttributes(TTextAttributes* attributes) { m_selAttributes->Assign(attributes); }
    [[nodiscard]] TTextAttributes* DefAttributes() const { return m_defAttributes.get(); }
    void SetDefAttributes(TTextAttributes* attributes) { m_defAttributes->Assign(attributes); }
    // Kept for streaming; the text is always plain here.
    [[nodiscard]] bool PlainText() const { return m_plainText; }
    void SetPlainText(bool plainText) { m_plainText = plainText; }

protected:
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    [[nodiscard]] const char* BuiltinClassName() const override;

private:
    std::unique_ptr<TTextAttributes> m_selAttributes;
    std::unique_ptr<TTextAttributes> m_defAttributes;
    bool m_plainText = false;
};

class TRichEdit : public TCustomRichEdit {
    CLASSLIB_DECLARE_CLASS;
    using TCustomRichEdit::TCustomRichEdit;
};
