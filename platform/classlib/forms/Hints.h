#pragma once

#include "platform/classlib/forms/Controls.h"

#include <string>

// The part of a hint before '|' (the tip by the pointer) and after it (the long text the
// application passes to OnHint, a status bar's). A hint without '|' is both.
[[nodiscard]] std::string GetShortHint(const std::string& hint);
[[nodiscard]] std::string GetLongHint(const std::string& hint);

// The yellow tip under the pointer: a borderless popup with a one-pixel frame that never takes the
// activation or the focus and lets the mouse through to what lies below.
class THintWindow : public TCustomControl {
    CLASSLIB_DECLARE_CLASS;

    explicit THintWindow(TComponent* owner);
    ~THintWindow() override;

    // Shows `hint` at `rect` (screen coordinates, kept on the screen) without activating.
    virtual void ActivateHint(TRect rect, const std::string& hint);
    virtual void ActivateHintData(TRect rect, const std::string& hint, void* data);
    // The size the hint needs, wrapped at `maxWidth`, as a rectangle at 0, 0.
    [[nodiscard]] virtual TRect CalcHintRect(int maxWidth, const std::string& hint, void* data);
    // Hides the tip by destroying its window.
    void ReleaseHandle() { DestroyHandle(); }

protected:
    void CreateParams(TCreateParams& params) override;
    void Dispatch(TMessage& message) override;
    void Paint() override;
};

// What CM_HINTSHOW hands the control under the pointer (LParam points at it). The control may
// change any of it; a non-zero Result means no hint. Rectangles and points are in the control's
// client coordinates except HintPos (screen).
struct THintInfo {
    TControl* HintControl = nullptr;
    TClass HintWindowClass = nullptr;
    TPoint HintPos{};
    int HintMaxWidth = 0;
    TColor HintColor = clInfoBk;
    TRect CursorRect{};
    TPoint CursorPos{};
    int ReshowTimeout = 0;
    int HideTimeout = 0;
    std::string HintStr;
    void* HintData = nullptr;
};
