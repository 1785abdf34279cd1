#include "platform/classlib/forms/ControlsDock.h"

#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Gdi.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

TDockTree::TDockTree(TWinControl& dockSite) : m_dockSite(dockSite) {}

TDockTree::~TDockTree() = default;

void TDockTree::InsertControl(TControl* control)
{
    if (std::find(m_clients.begin(), m_clients.end(), control) == m_clients.end())
        m_clients.push_back(control);
    m_dockSite.Realign();
    m_dockSite.Invalidate();
}

void TDockTree::RemoveControl(TControl* control)
{
    if (std::erase(m_clients, control) == 0)
        return;
    m_dockSite.Realign();
    m_dockSite.Invalidate();
}

bool TDockTree::SiteAlignedTopOrBottom() const
{
    return m_dockSite.Align() == alTop || m_dockSite.Align() == alBottom;
}

TRect TDockTree::ZoneOf(std::size_t index) const
{
    const int count = static_cast<int>(m_clients.size());
    const int i = static_cast<int>(index);
    TRect zone = m_area;
    if (SiteAlignedTopOrBottom()) {
        const int width = m_area.right - m_area.left;
        zone.left = m_area.left + width * i / count;
        zone.right = m_area.left + width * (i + 1) / count;
    } else {
        const int height = m_area.bottom - m_area.top;
        zone.top = m_area.top + height * i / count;
        zone.bottom = m_area.top + height * (i + 1) / count;
    }
    return zone;
}

void TDockTree::ResetBounds(const TRect& area)
{
    m_area = area;
    for (std::size_t i = 0; i < m_clients.size(); ++i) {
        TRect rect = ZoneOf(i);
        AdjustDockRect(m_clients[i], rect);
        m_clients[i]->SetBoundsRect(rect);
    }
}

void TDockTree::PaintSite(HDC dc)
{
    TCanvas canvas;
    canvas.SetHandle(dc);
    for (std::size_t i = 0; i < m_clients.size(); ++i)
        if (m_clients[i]->Visible())
            PaintDockFrame(canvas, m_clients[i], ZoneOf(i));
    canvas.SetHandle(nullptr);
}

TControl* TDockTree::GrabberAt(TPoint point) const
{
    for (std::size_t i = 0; i < m_clients.size(); ++i) {
        const TRect zone = ZoneOf(i);
        const TRect client = m_clients[i]->BoundsRect();
        if (PtInRect(&zone, point) && !PtInRect(&client, point))
            return m_clients[i];
    }
    return nullptr;
}

void TDockTree::AdjustDockRect(TControl* /*control*/, TRect& rect)
{
    if (SiteAlignedTopOrBottom())
        rect.left += BaseGrabberSize;
    else
        rect.top += BaseGrabberSize;
}

// Two raised ridges along the grabber.
void TDockTree::PaintDockFrame(TCanvas& canvas, TControl* /*control*/, const TRect& rect)
{
    const HDC dc = canvas.Handle();
    RECT ridge = rect;
    if (SiteAlignedTopOrBottom()) {
        ridge = RECT{rect.left + 3, rect.top + 2, rect.left + 6, rect.bottom - 2};
        (void)DrawEdge(dc, &ridge, BDR_RAISEDINNER, BF_RECT);
        OffsetRect(&ridge, 4, 0);
    } else {
        ridge = RECT{rect.left + 2, rect.top + 3, rect.right - 2, rect.top + 6};
        (void)DrawEdge(dc, &ridge, BDR_RAISEDINNER, BF_RECT);
        OffsetRect(&ridge, 0, 4);
    }
    (void)DrawEdge(dc, &ridge, BDR_RAISEDINNER, BF_RECT);
}

namespace classlib_forms::detail {

namespace {

// How far the mouse moves before a press becomes a drag.
constexpr int DragThreshold = 5;

struct TDockDrag {
    TControl* Control = nullptr;
    TPoint Start{};
    bool Moved = false;
};

TDockDrag& CurrentDrag()
{
    static TDockDrag drag;
    return drag;
}

// The dock site under the screen point that may take the control: not the control itself nor
// one of its children.
TWinControl* DockSiteAt(const TControl& control, TPoint screen)
{
    TWinControl* site = TWinControl::FindControl(WindowFromPoint(screen));
    while (site && !site->DockSite())
        site = site->Parent();
    for (const TWinControl* up = site; up; up = up->Parent())
        if (up == &control)
            return nullptr;
    return site;
}

} // namespace

void PressForDockDrag(TControl& pressed, TPoint client)
{
    TControl* dragged = nullptr;
    if (pressed.DragKind() == dkDock && pressed.DragMode() == dmAutomatic)
        dragged = &pressed;
    else if (auto* site = dynamic_cast<TWinControl*>(&pressed); site && site->DockSite())
        if (TDockTree* tree = site->DockManager())
            dragged = tree->GrabberAt(client);
    if (dragged)
        CurrentDrag() = TDockDrag{dragged, pressed.ClientToScreen(client), false};
}

void StartDockDrag(TControl& control, TPoint screen, bool immediate)
{
    if (control.DragKind() == dkDock)
        CurrentDrag() = TDockDrag{&control, screen, immediate};
}

void ForgetDockDrag(const TControl* control)
{
    if (CurrentDrag().Control == control)
        CurrentDrag() = TDockDrag{};
}

void TrackDockDrag(TPoint screen)
{
    TDockDrag& drag = CurrentDrag();
    if (drag.Control && (std::abs(screen.x - drag.Start.x) >= DragThreshold ||
                         std::abs(screen.y - drag.Start.y) >= DragThreshold))
        drag.Moved = true;
}

bool EndDockDrag(TPoint screen)
{
    TrackDockDrag(screen);
    const TDockDrag drag = std::exchange(CurrentDrag(), TDockDrag{});
    if (!drag.Control || !drag.Moved)
        return false;
    TWinControl* site = DockSiteAt(*drag.Control, screen);
    if (site && site != drag.Control->HostDockSite()) {
        const TPoint drop = site->ScreenToClient(screen);
        drag.Control->ManualDock(site, drop);
    }
    return true;
}

} // namespace classlib_forms::detail

