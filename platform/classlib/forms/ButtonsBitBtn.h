#pragma once

#include "platform/classlib/forms/ButtonsBitBtnGlyph.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"

// A push button that draws a glyph beside its caption (an owner-drawn "Button" window).

enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };

[[nodiscard]] const TTypeInfo& BitBtnKindTypeInfo();

class TBitBtn : public TButton {
    CLASSLIB_DECLARE_CLASS;

    explicit TBitBtn(TComponent* owner);
    ~TBitBtn() override;

    [[nodiscard]] TBitmap* Glyph() const { return m_glyph.Glyph(); }
    void SetGlyph(TBitmap* glyph) { m_glyph.SetGlyph(glyph); }
    [[nodiscard]] int NumGlyphs() const { return m_glyph.NumGlyphs(); }
    void SetNumGlyphs(int numGlyphs) { m_glyph.SetNumGlyphs(numGlyphs); }
    // A stock kind sets the caption, the modal result and Default (OK, Yes) or Cancel (Cancel,
    // No); Close closes the form instead.
    [[nodiscard]] TBitBtnKind Kind() const { return m_kind; }
    void SetKind(TBitBtnKind kind);
    [[nodiscard]] TButtonLayout Layout() const { return m_params.layout; }
    void SetLayout(TButtonLayout layout);
    [[nodiscard]] int Margin() const { return m_params.margin; }
    void SetMargin(int margin);
    [[nodiscard]] int Spacing() const { return m_params.spacing; }
    void SetSpacing(int spacing);
    void Click() override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;
    void SetButtonStyle(bool isDefault) override;
    virtual void DrawItem(const DRAWITEMSTRUCT& item);

private:
    TButtonGlyph m_glyph;
    TButtonGlyph::TLayoutParams m_params;
    TBitBtnKind m_kind = bkCustom;
};
