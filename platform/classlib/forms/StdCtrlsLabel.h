#pragma once

#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/core/Alignment.h"

#include <string>

enum TTextLayout { tlTop, tlCenter, tlBottom };

// Published-property types shared by the labels and panels.
[[nodiscard]] const TTypeInfo& ControlAlignmentTypeInfo();
[[nodiscard]] const TTypeInfo& TextLayoutTypeInfo();

// A caption painted on the parent's surface. AutoSize fits the bounds to the text (keeping the
// right edge for right-justified text); an '&' underlines the next letter, and Alt+that letter
// focuses FocusControl. A disabled label's text is embossed (highlight below-right, shadow on top).
class TCustomLabel : public TGraphicControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TCustomLabel(TComponent* owner);
    ~TCustomLabel() override;

    [[nodiscard]] TAlignment Alignment() const { return m_alignment; }
    void SetAlignment(TAlignment alignment);
    [[nodiscard]] TTextLayout Layout() const { return m_layout; }
    void SetLayout(TTextLayout layout);
    [[nodiscard]] bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool autoSize);
    [[nodiscard]] bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool wordWrap);
    [[nodiscard]] bool Transparent() const { return !ControlStyle().Contains(csOpaque); }
    void SetTransparent(bool transparent);
    [[nodiscard]] bool ShowAccelChar() const { return m_showAccelChar; }
    void SetShowAccelChar(bool showAccelChar);
    [[nodiscard]] TWinControl* FocusControl() const { return m_focusControl; }
    void SetFocusControl(TWinControl* control);

protected:
    [[nodiscard]] virtual std::string GetLabelText() const { return Caption(); }
    // Resizes to the text when AutoSize holds.
    virtual void AdjustBounds();
    // Draws (or with DT_CALCRECT measures) the label text into `rect` on the canvas.
    virtual void DoDrawText(TRect& rect, UINT flags);
    void Paint() override;
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;

private:
    [[nodiscard]] UINT DrawFlags() const;

    TAlignment m_alignment = taLeftJustify;
    TTextLayout m_layout = tlTop;
    bool m_autoSize = true;
    bool m_wordWrap = false;
    bool m_showAccelChar = true;
    TWinControl* m_focusControl = nullptr;
};

class TLabel : public TCustomLabel {
    CLASSLIB_DECLARE_CLASS;
    explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};

void RegisterLabelClasses();
