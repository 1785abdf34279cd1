#include "controls/KvTabsControl.h"

#include "platform/classlib/forms/Forms.h"

#include <algorithm>

using controls::detail::TKvTabLayout;

namespace {

constexpr UINT HoverInterval = 60;
constexpr unsigned FirstDragScroll = 400;
constexpr unsigned NextDragScroll = 300;

[[nodiscard]] bool Inside(const TRect& rect, int x, int y)
{
    return x >= rect.left && x <= rect.right && y >= rect.top && y <= rect.bottom;
}

} // namespace

// ---- Clicks and keys ---------------------------------------------------------------------------------------

int TKvCustomTabControl::HitTestTab(int x, int y)
{
    TKvTabLayout& layout = Layout();
    const int count = m_tabList.Count();
    const int first = layout.FirstShown();
    if (count == 0 || first < 0)
        return -1;
    const TPoint point{x, y};
    const auto hit = [&](int index) {
        if (!layout.WhollyShown(index))
            return false;
        const TRect rect = layout.TabRect(index, m_tabIndex);
        if (x < rect.left || x > rect.right || y < rect.top || y > rect.bottom)
            return false;
        const HRGN region = TabRegion(layout, index);
        return region != nullptr && PtInRegion(region, point.x, point.y) != FALSE;
    };
    if (m_tabIndex >= 0 && m_tabIndex < count && hit(m_tabIndex))
        return m_tabIndex;
    for (int n = 0; n < count; ++n) {
        const int index = (first + n) % count;
        if (index != m_tabIndex && hit(index))
            return index;
    }
    return -1;
}

void TKvCustomTabControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    if (!Outlives([&] { TCustomControl::MouseDown(button, shift, x, y); }))
        return;
    const bool designing = ComponentState().Contains(csDesigning);
    if ((!designing && !Enabled()) || (designing && button != mbLeft))
        return;
    const int index = HitTestTab(x, y);
    m_pressedTab = index;
    m_pressPoint = TPoint{x, y};
    if (index < 0 || !m_tabList.Item(index)->Enabled)
        return;
    if (TabStop() && index == m_tabIndex && !designing) {
        if (CanFocus() && !Outlives([this] { SetFocus(); }))
            return;
        if (!Focused())
            return;
    }
    if (Outlives([&] { SetTabIndex(index); }) && m_tabIndex == index)
        TabClick();
}

int TKvCustomTabControl::StepFrom(int index, bool forward) const
{
    const int count = m_tabList.Count();
    return forward ? (index + 1) % count : (index + count - 1) % count;
}

bool TKvCustomTabControl::Forward(WORD key) const
{
    const bool rightOrDown = key == VK_RIGHT || key == VK_DOWN;
    const bool reverse = m_tabSequence == tsReverse;
    if (m_tabOrientation == toLeft)
        return reverse ? rightOrDown : !rightOrDown;
    return reverse ? !rightOrDown : rightOrDown;
}

int TKvCustomTabControl::KeyTarget(WORD key)
{
    // Asking OnChanging may free the control: the search ends there.
    const TControlLife life(*this);
    const int count = m_tabList.Count();
    if (key == VK_HOME || key == VK_END) {
        const bool swapped = (m_tabOrientation == toLeft) != (m_tabSequence == tsReverse);
        const bool fromStart = (key == VK_HOME) != swapped;
        for (int n = 0; n < count; ++n) {
            const int index = fromStart ? n : count - 1 - n;
            if (index == m_tabIndex)
                break;
            if (CanChange(index) || !life.Stands())
                return index;
        }
        return m_tabIndex;
    }
    if (key != VK_LEFT && key != VK_RIGHT && key != VK_UP && key != VK_DOWN)
        return m_tabIndex;
    const bool forward = Forward(key);
    int index = m_tabIndex < 0 ? (forward ? count - 1 : 0) : m_tabIndex;
    for (int n = 0; n < count; ++n) {
        index = StepFrom(index, forward);
        if (index == m_tabIndex)
            break;
        if (CanChange(index) || !life.Stands())
            return index;
    }
    return m_tabIndex;
}

void TKvCustomTabControl::KeyDown(WORD& key, TShiftState shift)
{
    if (!Outlives([&] { TCustomControl::KeyDown(key, shift); }) || m_tabList.Count() == 0)
        return;
    const TControlLife life(*this);
    const int target = KeyTarget(key);
    if (!life.Stands() || target == m_tabIndex)
        return;
    if (Outlives([&] { SelectApproved(target); }))
        TabClick();
}

bool TKvCustomTabControl::SelectByMnemonic(WORD key)
{
    if (!CanFocus())
        return false;
    for (int i = 0; i < m_tabList.Count(); ++i) {
        const TKvTabData& tab = *m_tabList.Item(i);
        if (!tab.Enabled || !tab.Visible || !IsAccel(key, tab.Caption))
            continue;
        if (Outlives([this] { SetFocus(); }) && Focused() && Outlives([&] { SetTabIndex(i); }))
            TabClick();
        return true;
    }
    return false;
}

// ---- Hot tracking and tab hints ------------------------------------------------------------------

bool TKvCustomTabControl::InStrip(int x, int y) { return Inside(Layout().StripRect(), x, y); }

void TKvCustomTabControl::MouseMove(TShiftState shift, int x, int y)
{
    if (!ComponentState().Contains(csDesigning) && (m_hotTrack || m_tabHints))
        TrackHotTab(x, y);
    if (!Outlives([&] { TCustomControl::MouseMove(shift, x, y); }))
        return;
    if (m_tabDragging) {
        DragTabOver(x, y);
        return;
    }
    const bool pressedValid = m_pressedTab >= 0 && m_pressedTab < m_tabList.Count() &&
                              m_tabList.Item(m_pressedTab)->Enabled;
    const int threshold = GetSystemMetrics(SM_CXDRAG);
    const bool moved = std::abs(x - m_pressPoint.x) >= threshold || std::abs(y - m_pressPoint.y) >= threshold;
    if (m_allowTabDragging && shift.Contains(ssLeft) && pressedValid && moved) {
        m_tabDragging = true;
        m_dragOverTab = -1;
        (void)SetCapture(Handle());
        DragTabOver(x, y);
    }
}

void TKvCustomTabControl::TrackHotTab(int x, int y)
{
    const int index = HitTestTab(x, y);
    if (index < 0) {
        EndHotState(InStrip(x, y));
        return;
    }
    if (index == m_hotTab)
        return;
    m_hotTab = index;
    if (m_hotTrack)
        RepaintTabs();
    if (m_tabHints) {
        Application->CancelHint();
        SetHint(m_tabList.Item(index)->Hint);
    }
    if (!m_hoverTimer && HandleAllocated())
        m_hoverTimer = SetTimer(Handle(), HoverTimerId, HoverInterval, nullptr) != 0;
}

// Off every tab: the hot tab cools and the control's own hint returns, except over the bare strip,
// where tab hints leave no hint at all.
void TKvCustomTabControl::EndHotState(bool inStrip)
{
    if (m_tabHints && (m_hotTab >= 0 || inStrip))
        Application->CancelHint();
    StopHoverTimer();
    const bool wasHot = m_hotTab >= 0;
    m_hotTab = -1;
    if (wasHot)
        RepaintTabs();
    if (m_tabHints || wasHot)
        SetHint(m_tabHints && inStrip ? std::string() : m_ownHint);
}

void TKvCustomTabControl::StopHoverTimer()
{
    if (m_hoverTimer && HandleAllocated())
        (void)KillTimer(Handle(), HoverTimerId);
    m_hoverTimer = false;
}

void TKvCustomTabControl::HoverTick()
{
    POINT cursor{};
    (void)GetCursorPos(&cursor);
    const TPoint client = ScreenToClient(TPoint{cursor.x, cursor.y});
    if (HitTestTab(client.x, client.y) < 0)
        EndHotState(InStrip(client.x, client.y));
}

// ---- Dragging tabs -------------------------------------------------------------------------------

void TKvCustomTabControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    TCustomControl::MouseUp(button, shift, x, y);
    m_pressedTab = -1;
}

void TKvCustomTabControl::DragTabOver(int x, int y)
{
    if (!Inside(TRect{0, 0, Width() - 1, Height() - 1}, x, y)) {
        if (m_dropMarkerShown)
            ToggleDropMarker();
        m_markedTab = -1;
    }
    const int target = HitTestTab(x, y);
    if (target < 0) {
        if (!m_dragScrollTimer) {
            m_dragScrollTimer = std::make_unique<TTimer>(nullptr);
            m_dragScrollTimer->SetOnTimer(TNotifyEvent::FromFunction([this](TObject*) { DragScrollTick(); }));
        }
        m_dragScrollTimer->SetEnabled(false);
        m_dragScrollTimer->SetInterval(FirstDragScroll);
        m_dragScrollTimer->SetEnabled(true);
    }
    if (target == m_dragOverTab)
        return;
    m_dragOverTab = target;
    const bool accepted = target >= 0 && target != m_tabIndex;
    if (m_dropMarkerShown)
        ToggleDropMarker();
    if (accepted) {
        m_markedTab = target;
        m_dropMarker = DropMarkerRect(target);
        ToggleDropMarker();
    }
}

void TKvCustomTabControl::DropTab(int x, int y)
{
    EndTabDrag();
    const int target = HitTestTab(x, y);
    if (target >= 0 && target != m_tabIndex)
        MoveActiveTab(target);
}

void TKvCustomTabControl::EndTabDrag()
{
    m_tabDragging = false;
    if (m_dragScrollTimer)
        m_dragScrollTimer->SetEnabled(false);
    if (m_dropMarkerShown)
        ToggleDropMarker();
    m_markedTab = -1;
    m_dragOverTab = -1;
    if (GetCapture() == Handle())
        (void)ReleaseCapture();
}

void TKvCustomTabControl::DragScrollTick()
{
    m_dragScrollTimer->SetInterval(NextDragScroll);
    if (!m_tabDragging)
        return;
    POINT cursor{};
    (void)GetCursorPos(&cursor);
    const TPoint client = ScreenToClient(TPoint{cursor.x, cursor.y});
    int direction = 0;
    switch (m_tabOrientation) {
    case toTop:
    case toBottom: direction = client.x < 0 ? -1 : client.x > Width() ? 1 : 0; break;
    case toLeft: direction = client.y < 0 ? 1 : client.y > Height() ? -1 : 0; break;
    case toRight: direction = client.y < 0 ? -1 : client.y > Height() ? 1 : 0; break;
    }
    if (m_tabSequence == tsReverse)
        direction = -direction;
    try {
        if (direction != 0)
            ScrollTabs(direction > 0);
    } catch (...) {
        m_dragScrollTimer->SetEnabled(false);
        throw;
    }
}

// A band 8 pixels deep across the target's outer edge and 15 long, centred on the target's start
// when it comes before the selected tab, else on its far end; on a slanted end it moves in by half
// a row, so it marks the tab's shoulder.
TRect TKvCustomTabControl::DropMarkerRect(int target)
{
    const TRect tab = Layout().TabRect(target, m_tabIndex);
    const bool before = target < m_tabIndex;
    const bool slantedEnd = before ? (m_tabStyle == tsDoubleSlant || m_tabStyle == tsBackSlant)
                                   : (m_tabStyle == tsSingleSlant || m_tabStyle == tsDoubleSlant);
    // Offsets along the sequence from the marked end.
    int from = before ? -8 : -7;
    if (slantedEnd)
        from += (before ? 1 : -1) * (m_fixedDimension / 2 + (before && m_tabOrientation == toRight ? 1 : 0));
    else if (!before && (m_tabStyle == tsCutCorner || m_tabStyle == tsRoundCorners))
        ++from;
    // Which way the sequence runs along the control's axis: right, up the left side, down the right.
    const bool standard = m_tabSequence == tsStandard;
    const int runs = (HorizontalStrip() || m_tabOrientation == toRight ? standard : !standard) ? 1 : -1;
    const int low = HorizontalStrip() ? tab.left : tab.top;
    const int high = HorizontalStrip() ? tab.right : tab.bottom;
    const int end = (before == (runs > 0)) ? low : high;
    const int a = end + runs * from;
    const int b = end + runs * (from + 15);
    const int alongLow = std::min(a, b) + (runs < 0 ? 1 : 0);
    switch (m_tabOrientation) {
    case toTop: return TRect{alongLow, tab.top - 2, alongLow + 15, tab.top + 6};
    case toBottom: return TRect{alongLow, tab.bottom - 6, alongLow + 15, tab.bottom + 2};
    case toLeft: return TRect{tab.left - 2, alongLow, tab.left + 6, alongLow + 15};
    case toRight: return TRect{tab.right - 5, alongLow, tab.right + 3, alongLow + 15};
    }
    return {};
}

void TKvCustomTabControl::ToggleDropMarker()
{
    m_dropMarkerShown = !m_dropMarkerShown;
    TRect area = m_dropMarker;
    (void)InvalidateRect(Handle(), &area, FALSE);
}
