#pragma once

#include "platform/classlib/forms/Controls.h"

#include <vector>

// The dock manager of a dock site (a TWinControl with DockSite and UseDockManager on): it shares
// the site's client area among the controls docked there, one zone each, side by side for a site
// aligned to the top or bottom and stacked otherwise, and paints a grabber beside each.
class TDockTree {
public:
    explicit TDockTree(TWinControl& dockSite);
    virtual ~TDockTree();
    TDockTree(const TDockTree&) = delete;
    TDockTree& operator=(const TDockTree&) = delete;

    [[nodiscard]] TWinControl& DockSite() const { return m_dockSite; }
    [[nodiscard]] const std::vector<TControl*>& Clients() const { return m_clients; }

    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    // Places every client in its zone of `area` (the site's adjusted client rectangle).
    void ResetBounds(const TRect& area);
    // Paints each client's frame (its zone around the client) on the site's DC.
    void PaintSite(HDC dc);
    // The client whose grabber holds the client point of the site, or null.
    [[nodiscard]] TControl* GrabberAt(TPoint point) const;

protected:
    // The client's own rectangle inside its zone: the zone less the grabber.
    virtual void AdjustDockRect(TControl* control, TRect& rect);
    virtual void PaintDockFrame(TCanvas& canvas, TControl* control, const TRect& rect);
    [[nodiscard]] bool SiteAlignedTopOrBottom() const;

private:
    [[nodiscard]] TRect ZoneOf(std::size_t index) const;

    static constexpr int BaseGrabberSize = 12;
    TWinControl& m_dockSite;
    std::vector<TControl*> m_clients;
    TRect m_area{};
};

namespace classlib_forms::detail {

// A dock drag: begins at a left press on a control that docks by dragging (or on a grabber of a
// dock site), counts once the mouse has moved the drag threshold, and ends at the release, where
// the control docks into the dock site under the mouse, if any other than its own.
void PressForDockDrag(TControl& pressed, TPoint client);
// A drag of a control that docks by dragging, begun by code from a screen point.
void StartDockDrag(TControl& control, TPoint screen, bool immediate);
// Whether a drag was under way; the release that ends it is no click.
[[nodiscard]] bool EndDockDrag(TPoint screen);
void TrackDockDrag(TPoint screen);
// A control that leaves its parent drops out of the drag it was in.
void ForgetDockDrag(const TControl* control);

} // namespace classlib_forms::detail
