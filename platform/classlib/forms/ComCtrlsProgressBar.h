#pragma once

#include "platform/classlib/forms/Controls.h"

enum TProgressBarOrientation { pbHorizontal, pbVertical };

[[nodiscard]] const TTypeInfo& ProgressBarOrientationTypeInfo();

// The class library's progress bar over an "msctls_progress32" window; the position always lies
// within Min..Max.
class TProgressBar : public TWinControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TProgressBar(TComponent* owner);

    [[nodiscard]] int Min() const { return m_min; }
    void SetMin(int value) { SetRange(value, m_max); }
    [[nodiscard]] int Max() const { return m_max; }
    void SetMax(int value) { SetRange(m_min, value); }
    [[nodiscard]] int Position() const { return m_position; }
    void SetPosition(int value);
    [[nodiscard]] int Step() const { return m_step; }
    void SetStep(int value);
    [[nodiscard]] bool Smooth() const { return m_smooth; }
    void SetSmooth(bool value);
    [[nodiscard]] TProgressBarOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TProgressBarOrientation value);

    // Advance by Step (starting over from Min once past Max) or by `delta`; both make the window.
    void StepIt();
    void StepBy(int delta);

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;

private:
    void SetRange(int min, int max);

    int m_min = 0;
    int m_max = 100;
    int m_position = 0;
    int m_step = 10;
    bool m_smooth = false;
    TProgressBarOrientation m_orientation = pbHorizontal;
};
