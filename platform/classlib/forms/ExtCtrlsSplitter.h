#pragma once

#include "platform/classlib/forms/Controls.h"

#include <algorithm>

enum TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };

[[nodiscard]] const TTypeInfo& ResizeStyleTypeInfo();

using TCanResizeEvent = TEvent<TObject*, int&, bool&>;

// A bar aligned against another control on the same side (the one just left of it for alLeft,
// and so on) that resizes it when dragged. The size stays between MinSize and what leaves the
// other aligned controls MinSize of room; with AutoSnap a drag to MinSize hides the control
// (size 0). rsUpdate resizes as the mouse moves; rsLine and rsPattern show an inverted line and
// resize on release; rsNone resizes on release only. OnMoved follows every resize.
class TSplitter : public TGraphicControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TSplitter(TComponent* owner);
    ~TSplitter() override;

    [[nodiscard]] int MinSize() const { return m_minSize; }
    void SetMinSize(int size) { m_minSize = std::max(1, size); }
    [[nodiscard]] TResizeStyle ResizeStyle() const { return m_resizeStyle; }
    void SetResizeStyle(TResizeStyle style) { m_resizeStyle = style; }
    [[nodiscard]] bool AutoSnap() const { return m_autoSnap; }
    void SetAutoSnap(bool autoSnap) { m_autoSnap = autoSnap; }
    [[nodiscard]] bool Beveled() const { return m_beveled; }
    void SetBeveled(bool beveled);
    [[nodiscard]] const TNotifyEvent& OnMoved() const { return m_onMoved; }
    void SetOnMoved(const TNotifyEvent& handler) { m_onMoved = handler; }
    [[nodiscard]] const TCanResizeEvent& OnCanResize() const { return m_onCanResize; }
    void SetOnCanResize(const TCanResizeEvent& handler) { m_onCanResize = handler; }

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    [[nodiscard]] bool Horizontal() const { return Align() == alLeft || Align() == alRight; }
    [[nodiscard]] TControl* FindResizedControl() const;
    [[nodiscard]] int ControlSize() const;
    [[nodiscard]] int MaxSize() const;
    // The size a drag to (x, y) gives, clamped, and how far the bar moves for it.
    void CalcSplitSize(int x, int y, int& newSize, int& split) const;
    bool DoCanResize(int& newSize);
    void UpdateControlSize();
    void DrawLine();
    void StopSizing();

    int m_minSize = 30;
    TResizeStyle m_resizeStyle = rsPattern;
    bool m_autoSnap = true;
    bool m_beveled = false;
    TNotifyEvent m_onMoved;
    TCanResizeEvent m_onCanResize;

    // While dragging.
    TControl* m_control = nullptr;
    TPoint m_downPos{};
    int m_maxSize = 0;
    int m_oldSize = 0;
    int m_newSize = 0;
    int m_split = 0;
    bool m_lineVisible = false;
    HDC m_lineDC = nullptr;
};

void RegisterSplitterClasses();
