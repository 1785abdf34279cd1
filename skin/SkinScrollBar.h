#pragma once

#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/winapi/user/WinUser.h"

class TSkinData;

// No scroll part under the mouse. The other part codes are the scroll requests SB_LINEUP (first
// arrow), SB_LINEDOWN (second arrow), SB_PAGEUP, SB_PAGEDOWN and SB_THUMBTRACK (the thumb), so
// that the low word of WM_HSCROLL and WM_VSCROLL names the part it scrolls with.
inline constexpr int NoScrollPart = -1;

// What a skinned scroll bar shows: the bar's rectangle (its top-left is 0, 0 for the window
// kinds), its thumb along the axis, and the part under the mouse.
struct TBarPicture {
    bool vertical = true;
    RECT bar{};
    int thumbStart = 0;
    int thumbEnd = 0;
    bool enabled = true;
    int hotPart = NoScrollPart;
    bool pressed = false;
    // The system's arrow size.
    int arrow = 16;
    // The surface the picture goes to; a thumb or grip beyond it is not drawn.
    SIZE surface{};
    // A scroll bar control's picture is as thick as the skin's bar and then stretched over the
    // control; a window's bar is drawn at its own size.
    bool stretched = false;
};

// Whether the skin has the Scrollbar picture a bar is drawn from.
[[nodiscard]] bool HasBarPicture(TSkinData& data);
// Draws the bar into `picture` (sized here) from the skin's Scrollbar, track and thumb pictures:
// the track between the arrows, the two arrows, then the thumb and its grip. False, with nothing
// drawn, when the skin has no Scrollbar picture or the bar does not fit the surface.
bool DrawBarPicture(TSkinData& data, const TBarPicture& bar, TBitmap& picture);

// The bar information of a scroll bar control (whose own bar fills `bounds`, in its parent's
// coordinates) from its scroll information: the thumb keeps at least 8 pixels and a range of
// nothing counts as 9999999, so that the thumb stays at the first arrow.
[[nodiscard]] SCROLLBARINFO ScrollControlBarInfo(const RECT& bounds, const SCROLLINFO& info, bool vertical,
                                                 int arrow);
// The part of a bar of `length` pixels at `along` pixels from its start.
[[nodiscard]] int ScrollPartAt(int along, int length, int arrow, int thumbStart, int thumbEnd);

// A small owner-drawn window laid over one scroll bar of a target window (as its sibling just
// above it), showing the bar from the skin. Its presses are forwarded to the target as presses on
// the real bar, so the system keeps doing all scrolling; the panel only mirrors the state the
// system reports.
class TWScrollbar : public TCustomPanel {
public:
    enum TKind : int { WindowHorizontal = 0, WindowVertical = 1, ScrollControl = 2 };

    explicit TWScrollbar(TSkinData& data);

    // Over a control's bar; a scroll bar control (kind ScrollControl) is horizontal when its Kind
    // is sbHorizontal. The panel takes the face colour.
    void AttachControl(TWinControl& control, TKind kind);
    // Over a bare window's bar (window kinds only).
    void AttachWindow(HWND target, TKind kind);
    // Lays the panel over the bar, or hides it when the bar is not shown or the skin has no bar
    // picture; nothing changes when the bar cannot be read. The panel follows its target to a new parent.
    void Place();
    void HideBar();
    // Draws the panel anew at once.
    void Refresh();

    [[nodiscard]] bool Shown() const { return m_shown; }
    [[nodiscard]] int HotPart() const { return m_hotPart; }
    void SetHotPart(int part) { m_hotPart = part; }
    [[nodiscard]] bool Vertical() const { return m_vertical; }
    // The bar's rectangle in its target's client coordinates, at the last reading.
    [[nodiscard]] RECT BarRect() const { return m_barRect; }
    [[nodiscard]] HWND Target() const { return m_target; }
    void SetTarget(HWND target) { m_target = target; }

protected:
    void CreateParams(TCreateParams& params) override;
    void WndProc(TMessage& message) override;
    void Paint() override;

private:
    // The target's bar information; false when it cannot be read.
    bool ReadInfo(SCROLLBARINFO& info) const;
    [[nodiscard]] int HitTest(POINT client) const;
    // The client point as a point of the screen (window kinds).
    [[nodiscard]] LPARAM ForwardedPoint(const SCROLLBARINFO& info, POINT client) const;
    void Press(POINT client);
    void Release(POINT client);
    // The bar's picture onto the panel's device context.
    void DrawBar(HDC dc);
    // Whether the panel shows at `wanted` (in its parent's coordinates), just above its target.
    [[nodiscard]] bool InPlace(const RECT& wanted);
    // The thumb as it is drawn: under the cursor while it is dragged.
    void ThumbNow(const SCROLLBARINFO& info, int length, int& start, int& end) const;

    TSkinData& m_data;
    TWinControl* m_control = nullptr;
    HWND m_target = nullptr;
    TKind m_kind = WindowVertical;
    bool m_vertical = true;
    int m_arrow = 0;
    int m_barLength = 0;
    POINT m_pressCursor{};
    int m_pressThumbStart = 0;
    int m_hotPart = NoScrollPart;
    RECT m_barRect{};
    bool m_pressed = false;
    bool m_shown = false;
    TBitmap m_picture;
};
