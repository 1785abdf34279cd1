#pragma once

#include "platform/classlib/forms/Controls.h"

// The scroll bar control over the built-in "ScrollBar" window class.

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom, scEndScroll };
// The handler may change the position the bar moves to.
using TScrollEvent = TEvent<TObject*, TScrollCode, int&>;

[[nodiscard]] const TTypeInfo& ScrollBarKindTypeInfo();

class TScrollBar : public TWinControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TScrollBar(TComponent* owner);

    [[nodiscard]] TScrollBarKind Kind() const { return m_kind; }
    void SetKind(TScrollBarKind kind);
    [[nodiscard]] int Min() const { return m_min; }
    void SetMin(int min) { SetParams(m_position, min, m_max); }
    [[nodiscard]] int Max() const { return m_max; }
    void SetMax(int max) { SetParams(m_position, m_min, max); }
    [[nodiscard]] int Position() const { return m_position; }
    void SetPosition(int position) { SetParams(position, m_min, m_max); }
    [[nodiscard]] int PageSize() const { return m_pageSize; }
    void SetPageSize(int pageSize);
    [[nodiscard]] int SmallChange() const { return m_smallChange; }
    void SetSmallChange(int change) { m_smallChange = change; }
    [[nodiscard]] int LargeChange() const { return m_largeChange; }
    void SetLargeChange(int change) { m_largeChange = change; }
    // Sets the three together; raises EInvalidOperation "Scroll bar property out of range" when
    // Max is below Min or below PageSize. The position is clamped to the range.
    void SetParams(int position, int min, int max);

    [[nodiscard]] const TNotifyEvent& OnChange() const { return m_onChange; }
    void SetOnChange(const TNotifyEvent& handler) { m_onChange = handler; }
    [[nodiscard]] const TScrollEvent& OnScroll() const { return m_onScroll; }
    void SetOnScroll(const TScrollEvent& handler) { m_onScroll = handler; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    virtual void Change();
    virtual void Scroll(TScrollCode code, int& position);

private:
    void DoScroll(const TMessage& message);
    void ApplyToWindow();

    TScrollBarKind m_kind = sbHorizontal;
    int m_min = 0;
    int m_max = 100;
    int m_position = 0;
    int m_pageSize = 0;
    int m_smallChange = 1;
    int m_largeChange = 1;
    TNotifyEvent m_onChange;
    TScrollEvent m_onScroll;
};
