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
    [[nodiscard]] TColor CaptionColour(TButtonFrame frame) const;

private:
    [[nodiscard]] bool HasPicture() const;
    void Press();
    void ReleaseAndClick();

    TBitmap m_buffer;
    bool m_parentBackground = false;
};
