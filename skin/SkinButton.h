#pragma once

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "skin/SkinHook.h"

class TCanvas;

// The push-button state: the frame of the skin's five-frame Buttons picture.
enum TButtonFrame : int { bfNormal = 1, bfPressed = 2, bfDisabled = 3, bfHot = 4, bfFocused = 5 };
// Disabled overrides; then pressed, hot, focused, normal.
[[nodiscard]] TButtonFrame ButtonFrameOf(bool enabled, int mouseState, bool focused);

// Paints a push button entirely from the skin's Buttons element, through an off-screen buffer
// so that the native button never shows through. It keeps its own hot and pressed state from the
// mouse and the space bar, and clicks the button on a release that follows its own press.
class TSkinButton : public TSkinHook {
protected:
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void PaintSkin(HDC dc, const RECT& rect) override;
    void ControlAttached() override;

    // The caption centred in `rect` ("||" is a line break), with the focus rectangle when focused.
    void DrawCaption(TCanvas& canvas, const RECT& rect, UINT align, const std::string& text) const;
    // The focus rectangle around a caption's text rectangle, unless the skin turns it off.
    void DrawFocus(HDC dc, RECT textRect) const;
    [[nodiscard]] TColor CaptionColour(TButtonFrame frame) const;
    [[nodiscard]] bool HasPicture() const;
    // The buffer sized to `rect` with the button's background and, when `withFrame`, the Buttons
    // picture's frame drawn on it.
    TCanvas& PrepareBuffer(HDC dc, const RECT& rect, TButtonFrame frame, bool withFrame = true);
    // The control's font (or the window's) in the caption colour of `frame`.
    void SelectCaptionFont(TCanvas& canvas, TButtonFrame frame) const;
    void CopyBuffer(HDC dc, const RECT& rect);

private:
    void Press();
    void ReleaseAndClick();
    // Whether the pointer is over the window now (a leave notice can come late or spuriously).
    [[nodiscard]] bool PointerInside() const;

    TBitmap m_buffer;
    bool m_parentBackground = false;
};

// A button with a drop-down arrow: the caption keeps clear of the arrow at the right.
class TSkinMenuButton : public TSkinButton {
protected:
    void PaintSkin(HDC dc, const RECT& rect) override;

public:
    static constexpr int ArrowWidth = 17;
};
