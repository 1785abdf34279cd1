#pragma once

#include "grid/core/EditButtonsGx.h"
#include "grid/tools/ToolCtrlsGx.h"
#include "platform/classlib/core/Timers.h"
#include "platform/classlib/forms/ButtonsSpeedButton.h"

// The control that shows an editor's button (TEditButtonControlGx); the button's description
// (TEditButtonGx) belongs to the grid core, whose columns own them.

[[nodiscard]] TEditButtonFaceKind FaceKindOfStyle(TEditButtonStyleGx style);

// The button inside an editor. A spin button tells which half is held and repeats its down event
// while held: after 400 ms, then every 100 ms.
class TEditButtonControlGx : public TSpeedButton {
    CLASSLIB_DECLARE_CLASS;

    explicit TEditButtonControlGx(TComponent* owner);
    ~TEditButtonControlGx() override;

    [[nodiscard]] bool Active() const { return m_active; }
    void SetActive(bool active);
    [[nodiscard]] bool AlwaysDown() const { return m_alwaysDown; }
    void SetAlwaysDown(bool alwaysDown);
    [[nodiscard]] TEditButtonStyleGx Style() const { return m_style; }
    void SetStyle(TEditButtonStyleGx style);
    [[nodiscard]] TPressedPart PressedPart() const { return m_pressedPart; }
    [[nodiscard]] const TButtonDownEventGx& OnDown() const { return m_onDown; }
    void SetOnDown(const TButtonDownEventGx& handler) { m_onDown = handler; }
    // The repeat timer, made on first use (tests tick it).
    [[nodiscard]] TTimer* RepeatTimer() const { return m_timer; }

    void Click() override;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint() override;

private:
    [[nodiscard]] bool IsDown() const { return State() == bsDown || State() == bsExclusive; }
    void PaintGlyphButton();
    void UpdatePressedPart(int y);
    void FireDown(bool& autoRepeat);
    void StartTimer(unsigned interval);
    void StopTimer();
    void TimerTick(TObject* sender);

    bool m_active = false;
    bool m_alwaysDown = false;
    bool m_suppressClick = false;
    bool m_tracking = false; // the left button went down here and is held
    TPressedPart m_pressedPart = ppNone;
    TEditButtonStyleGx m_style = ebsDropDownGx;
    TButtonDownEventGx m_onDown;
    TTimer* m_timer = nullptr;
};

// The calculator's keys.
class TSpeedButtonGx : public TEditButtonControlGx {
    CLASSLIB_DECLARE_CLASS;

    using TEditButtonControlGx::TEditButtonControlGx;
};

// A new button control for `button`, owned and parented by its editor.
[[nodiscard]] TEditButtonControlGx* NewEditButtonControl(const TEditButtonGx& button);
