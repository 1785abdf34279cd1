#pragma once

#include "platform/classlib/forms/Controls.h"

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };
enum TTickStyle { tsNone, tsAuto, tsManual };

[[nodiscard]] const TTypeInfo& TrackBarOrientationTypeInfo();
[[nodiscard]] const TTypeInfo& TickMarkTypeInfo();
[[nodiscard]] const TTypeInfo& TickStyleTypeInfo();

// The class library's track bar over an "msctls_trackbar32" window. OnChange fires whenever the
// position changes, whether the user moved the thumb or the program set Position.
class TTrackBar : public TWinControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TTrackBar(TComponent* owner);

    [[nodiscard]] int Min() const { return m_min; }
    void SetMin(int value) { SetRange(value, m_max); }
    [[nodiscard]] int Max() const { return m_max; }
    void SetMax(int value) { SetRange(m_min, value); }
    [[nodiscard]] int Position() const { return m_position; }
    void SetPosition(int value);
    [[nodiscard]] int Frequency() const { return m_frequency; }
    void SetFrequency(int value);
    [[nodiscard]] int PageSize() const { return m_pageSize; }
    void SetPageSize(int value);
    [[nodiscard]] int LineSize() const { return m_lineSize; }
    void SetLineSize(int value);
    [[nodiscard]] TTrackBarOrientation Orientation() const { return m_orientation; }
    void SetOrientation(TTrackBarOrientation value);
    [[nodiscard]] TTickMark TickMarks() const { return m_tickMarks; }
    void SetTickMarks(TTickMark value);
    [[nodiscard]] TTickStyle TickStyle() const { return m_tickStyle; }
    void SetTickStyle(TTickStyle value);
    [[nodiscard]] int ThumbLength() const { return m_thumbLength; }
    void SetThumbLength(int value);
    [[nodiscard]] int SelStart() const { return m_selStart; }
    void SetSelStart(int value);
    [[nodiscard]] int SelEnd() const { return m_selEnd; }
    void SetSelEnd(int value);
    [[nodiscard]] bool SliderVisible() const { return m_sliderVisible; }
    void SetSliderVisible(bool value);
    // A tick mark of its own at `value` (with TickStyle tsManual, or besides the automatic ones).
    void SetTick(int value);

    [[nodiscard]] const TNotifyEvent& OnChange() const { return m_onChange; }
    void SetOnChange(const TNotifyEvent& handler) { m_onChange = handler; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    virtual void Changed();

private:
    void SetRange(int min, int max);
    // Takes the position from the window (or keeps it within the range) and reports a change.
    void SyncPosition();
    void ApplyPosition(int value);
    LRESULT Send(UINT message, WPARAM wParam, LPARAM lParam);

    int m_min = 0;
    int m_max = 10;
    int m_position = 0;
    int m_frequency = 1;
    int m_pageSize = 2;
    int m_lineSize = 1;
    TTrackBarOrientation m_orientation = trHorizontal;
    TTickMark m_tickMarks = tmBottomRight;
    TTickStyle m_tickStyle = tsAuto;
    int m_thumbLength = 20;
    int m_selStart = 0;
    int m_selEnd = 0;
    bool m_sliderVisible = true;
    TNotifyEvent m_onChange;
};
