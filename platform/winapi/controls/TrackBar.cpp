#include "platform/winapi/controls/TrackBar.h"

#include "platform/winapi/user/ControlInstance.h"
#include "platform/winapi/user/ControlPaint.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr UINT_PTR REPEAT_TIMER = 1;
constexpr UINT FIRST_REPEAT_MS = 500;
constexpr UINT REPEAT_MS = 100;
constexpr int DEFAULT_THUMB_LENGTH = 20;
// Room left beside the thumb for the focus rectangle and the tick marks.
constexpr int EDGE_GAP = 8;
constexpr int TIC_LENGTH = 3;
constexpr int TIC_GAP = 2;
constexpr LRESULT WANT_ARROWS = 0x0001;

// Fills the polygon (its points in clockwise or anticlockwise order) with the face colour and
// edges it in the classic raised style: light on the sides facing up or left, dark below and right.
void PaintRaisedPolygon(HDC dc, const std::vector<POINT>& outline)
{
    long long area = 0;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const POINT& p = outline[i];
        const POINT& q = outline[(i + 1) % outline.size()];
        area += static_cast<long long>(p.x) * q.y - static_cast<long long>(q.x) * p.y;
    }
    const int turn = area >= 0 ? 1 : -1;
    const GdiObject<HPEN> pens[3] = {GdiObject<HPEN>(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNHIGHLIGHT))),
                                     GdiObject<HPEN>(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_3DDKSHADOW))),
                                     GdiObject<HPEN>(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)))};
    const SelectionGuard brush(dc, GetSysColorBrush(COLOR_BTNFACE));
    const SelectionGuard pen(dc, GetStockObject(NULL_PEN));
    (void)Polygon(dc, outline.data(), static_cast<int>(outline.size()));
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const POINT& p = outline[i];
        const POINT& q = outline[(i + 1) % outline.size()];
        const int nx = turn * (q.y - p.y);
        const int ny = turn * (p.x - q.x);
        const bool light = nx < 0 || (nx == 0 && ny < 0);
        (void)SelectObject(dc, pens[light ? 0 : 1].Get());
        (void)MoveToEx(dc, p.x, p.y, nullptr);
        (void)LineTo(dc, q.x, q.y);
        // Straight dark sides get the inner shadow line of the classic raised edge.
        if (!light && (nx == 0 || ny == 0)) {
            const int inX = nx == 0 ? 0 : (nx > 0 ? -1 : 1);
            const int inY = ny == 0 ? 0 : (ny > 0 ? -1 : 1);
            (void)SelectObject(dc, pens[2].Get());
            (void)MoveToEx(dc, p.x + inX, p.y + inY, nullptr);
            (void)LineTo(dc, q.x + inX, q.y + inY);
        }
    }
}

class TrackBar final : public ControlInstance {
public:
    explicit TrackBar(HWND hwnd) : ControlInstance(hwnd) {}
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    [[nodiscard]] bool HasStyle(DWORD bits) const { return (GetWindowLongA(Window(), GWL_STYLE) & bits) != 0; }
    [[nodiscard]] bool Vertical() const { return HasStyle(TBS_VERT); }
    [[nodiscard]] int Along(POINT point) const { return Vertical() ? point.y : point.x; }
    [[nodiscard]] RECT Oriented(int alongStart, int acrossStart, int alongEnd, int acrossEnd) const;
    [[nodiscard]] int ThumbLength() const;
    [[nodiscard]] int ThumbBreadth() const { return ThumbLength() / 2 + 1; }
    [[nodiscard]] int ThumbStart() const;
    [[nodiscard]] RECT ChannelRect() const;
    [[nodiscard]] RECT ThumbRect() const;
    // The thumb's corners, pointed towards one-sided tick marks.
    [[nodiscard]] std::vector<POINT> ThumbOutline() const;
    [[nodiscard]] int PosToPixel(int pos) const;
    [[nodiscard]] int PixelToPos(int pixel) const;
    [[nodiscard]] std::vector<int> Tics() const;
    [[nodiscard]] int Clamp(int pos) const { return std::clamp(pos, m_min, std::max(m_min, m_max)); }

    void Redraw(bool redraw) const;
    void SetPos(int pos, bool redraw);
    void SetRange(int min, int max, bool redraw);
    // Each is false when the parent destroyed the track bar as it heard of the move.
    [[nodiscard]] bool Notify(WORD code) const;
    [[nodiscard]] bool MoveBy(int delta, WORD code);
    [[nodiscard]] bool MoveTo(int pos, WORD code);

    void OnKeyDown(WPARAM key);
    void OnButtonDown(POINT point);
    void OnMouseMove(POINT point);
    void OnTimer();
    void EndTracking();

    void Paint(HDC dc) const;
    [[nodiscard]] LRESULT CustomDraw(NMCUSTOMDRAW& draw, DWORD stage, DWORD_PTR item, const RECT& rect) const;
    void PaintItem(HDC dc, LRESULT prepaint, DWORD_PTR item, const RECT& rect) const;
    void PaintChannel(HDC dc) const;
    void PaintTics(HDC dc) const;
    void PaintThumb(HDC dc) const;

    int m_min = 0;
    int m_max = 100;
    int m_pos = 0;
    int m_lineSize = 1;
    int m_pageSize = 20;
    int m_ticFreq = 1;
    int m_thumbLength = DEFAULT_THUMB_LENGTH;
    int m_selStart = 0;
    int m_selEnd = 0;
    std::vector<int> m_tics;
    bool m_dragging = false;
    int m_dragOffset = 0;
    // -1 or +1 while a press on the channel pages towards the pointer.
    int m_pageDirection = 0;
    POINT m_mouse{};
};

RECT TrackBar::Oriented(int alongStart, int acrossStart, int alongEnd, int acrossEnd) const
{
    return Vertical() ? RECT{acrossStart, alongStart, acrossEnd, alongEnd}
                      : RECT{alongStart, acrossStart, alongEnd, acrossEnd};
}

int TrackBar::ThumbLength() const
{
    RECT client{};
    (void)GetClientRect(Window(), &client);
    const int across = Vertical() ? client.right : client.bottom;
    return std::max(1, std::min(m_thumbLength, across - 4));
}

int TrackBar::ThumbStart() const
{
    RECT client{};
    (void)GetClientRect(Window(), &client);
    const int across = Vertical() ? client.right : client.bottom;
    const int length = ThumbLength();
    int start = EDGE_GAP;
    if (HasStyle(TBS_BOTH))
        start = (across - length) / 2;
    else if (HasStyle(TBS_TOP) && !HasStyle(TBS_NOTICKS))
        start = EDGE_GAP + TIC_LENGTH + TIC_GAP;
    return std::max(0, std::min(start, across - length));
}

RECT TrackBar::ChannelRect() const
{
    RECT client{};
    (void)GetClientRect(Window(), &client);
    const int along = Vertical() ? client.bottom : client.right;
    const int margin = ThumbBreadth() / 2 + 3;
    const int thickness = HasStyle(TBS_ENABLESELRANGE) ? 6 : 4;
    const int acrossStart = ThumbStart() + ThumbLength() / 2 - thickness / 2;
    return Oriented(margin, acrossStart, std::max(margin + 1, along - margin), acrossStart + thickness);
}

int TrackBar::PosToPixel(int pos) const
{
    const RECT channel = ChannelRect();
    const int start = Vertical() ? channel.top : channel.left;
    const int span = (Vertical() ? channel.bottom : channel.right) - start - 1;
    const int range = m_max - m_min;
    if (range <= 0)
        return start;
    return start + static_cast<int>((static_cast<long long>(Clamp(pos) - m_min) * span + range / 2) / range);
}

int TrackBar::PixelToPos(int pixel) const
{
    const RECT channel = ChannelRect();
    const int start = Vertical() ? channel.top : channel.left;
    const int span = std::max(1, (Vertical() ? channel.bottom : channel.right) - start - 1);
    const long long range = m_max - m_min;
    return Clamp(m_min + static_cast<int>(((pixel - start) * range + span / 2) / span));
}

RECT TrackBar::ThumbRect() const
{
    const int breadth = ThumbBreadth();
    const int alongStart = PosToPixel(m_pos) - breadth / 2;
    const int acrossStart = ThumbStart();
    return Oriented(alongStart, acrossStart, alongStart + breadth, acrossStart + ThumbLength());
}

std::vector<int> TrackBar::Tics() const
{
    std::vector<int> tics;
    if (HasStyle(TBS_NOTICKS))
        return tics;
    tics.push_back(m_min);
    if (HasStyle(TBS_AUTOTICKS) && m_ticFreq > 0)
        for (long long value = static_cast<long long>(m_min) + m_ticFreq; value < m_max; value += m_ticFreq)
            tics.push_back(static_cast<int>(value));
    tics.insert(tics.end(), m_tics.begin(), m_tics.end());
    if (m_max != m_min)
        tics.push_back(m_max);
    return tics;
}

void TrackBar::Redraw(bool redraw) const
{
    if (redraw)
        (void)InvalidateRect(Window(), nullptr, FALSE);
}

void TrackBar::SetPos(int pos, bool redraw)
{
    pos = Clamp(pos);
    if (pos == m_pos)
        return;
    m_pos = pos;
    Redraw(redraw);
}

void TrackBar::SetRange(int min, int max, bool redraw)
{
    m_min = min;
    m_max = max;
    m_pos = Clamp(m_pos);
    m_ticFreq = std::max(1, m_ticFreq);
    Redraw(redraw);
}

bool TrackBar::Notify(WORD code) const
{
    const bool carriesPos = code == TB_THUMBTRACK || code == TB_THUMBPOSITION;
    const WORD pos = carriesPos ? static_cast<WORD>(m_pos) : 0;
    return SendToParent(Vertical() ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, pos), reinterpret_cast<LPARAM>(Window()))
        .stands;
}

bool TrackBar::MoveTo(int pos, WORD code)
{
    pos = Clamp(pos);
    if (pos == m_pos)
        return true;
    SetPos(pos, true);
    return Notify(code);
}

bool TrackBar::MoveBy(int delta, WORD code)
{
    return MoveTo(static_cast<int>(std::clamp<long long>(static_cast<long long>(m_pos) + delta, m_min, m_max)), code);
}

void TrackBar::OnKeyDown(WPARAM key)
{
    switch (key) {
    case VK_LEFT:
    case VK_UP:
        (void)MoveBy(-m_lineSize, TB_LINEUP);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        (void)MoveBy(m_lineSize, TB_LINEDOWN);
        break;
    case VK_PRIOR:
        (void)MoveBy(-m_pageSize, TB_PAGEUP);
        break;
    case VK_NEXT:
        (void)MoveBy(m_pageSize, TB_PAGEDOWN);
        break;
    case VK_HOME:
        (void)MoveTo(m_min, TB_TOP);
        break;
    case VK_END:
        (void)MoveTo(m_max, TB_BOTTOM);
        break;
    default:
        break;
    }
}

void TrackBar::OnButtonDown(POINT point)
{
    (void)SetFocus(Window());
    (void)SetCapture(Window());
    m_mouse = point;
    const RECT thumb = ThumbRect();
    if (!HasStyle(TBS_NOTHUMB) && PtInRect(&thumb, point)) {
        m_dragging = true;
        m_dragOffset = Along(point) - PosToPixel(m_pos);
        Redraw(true);
        return;
    }
    m_pageDirection = Along(point) < PosToPixel(m_pos) ? -1 : 1;
    if (!MoveBy(m_pageDirection * m_pageSize, m_pageDirection < 0 ? TB_PAGEUP : TB_PAGEDOWN))
        return;
    (void)SetTimer(Window(), REPEAT_TIMER, FIRST_REPEAT_MS, nullptr);
}

void TrackBar::OnMouseMove(POINT point)
{
    m_mouse = point;
    if (!m_dragging)
        return;
    const int pos = PixelToPos(Along(point) - m_dragOffset);
    if (pos == m_pos)
        return;
    SetPos(pos, true);
    (void)Notify(TB_THUMBTRACK);
}

void TrackBar::OnTimer()
{
    if (m_pageDirection == 0)
        return;
    // Paging stops once the thumb has reached the pointer.
    const int toPointer = Along(m_mouse) - PosToPixel(m_pos);
    const RECT thumb = ThumbRect();
    if (toPointer * m_pageDirection > 0 && !PtInRect(&thumb, m_mouse) &&
        !MoveBy(m_pageDirection * m_pageSize, m_pageDirection < 0 ? TB_PAGEUP : TB_PAGEDOWN))
        return;
    (void)SetTimer(Window(), REPEAT_TIMER, REPEAT_MS, nullptr);
}

void TrackBar::EndTracking()
{
    if (!m_dragging && m_pageDirection == 0)
        return;
    (void)KillTimer(Window(), REPEAT_TIMER);
    const bool wasDragging = m_dragging;
    m_dragging = false;
    m_pageDirection = 0;
    if (wasDragging) {
        if (!Notify(TB_THUMBPOSITION))
            return;
        Redraw(true);
    }
    (void)Notify(TB_ENDTRACK);
}

LRESULT TrackBar::CustomDraw(NMCUSTOMDRAW& draw, DWORD stage, DWORD_PTR item, const RECT& rect) const
{
    draw.dwDrawStage = stage;
    draw.dwItemSpec = item;
    draw.rc = rect;
    // A control its parent destroyed while painting paints no more.
    const Reply reply = NotifyParent(NM_CUSTOMDRAW, draw.hdr);
    return reply.stands ? reply.answer : CDRF_SKIPDEFAULT;
}

void TrackBar::PaintChannel(HDC dc) const
{
    RECT channel = ChannelRect();
    (void)DrawEdge(dc, &channel, EDGE_SUNKEN, BF_RECT | BF_ADJUST);
    (void)FillRect(dc, &channel, GetSysColorBrush(COLOR_WINDOW));
    if (!HasStyle(TBS_ENABLESELRANGE) || m_selEnd <= m_selStart)
        return;
    RECT selection = channel;
    if (Vertical()) {
        selection.top = PosToPixel(m_selStart);
        selection.bottom = PosToPixel(m_selEnd) + 1;
    } else {
        selection.left = PosToPixel(m_selStart);
        selection.right = PosToPixel(m_selEnd) + 1;
    }
    (void)IntersectRect(&selection, &selection, &channel);
    (void)FillRect(dc, &selection, GetSysColorBrush(COLOR_HIGHLIGHT));
}

void TrackBar::PaintTics(HDC dc) const
{
    const int thumbStart = ThumbStart();
    const int thumbEnd = thumbStart + ThumbLength();
    std::vector<int> sides;
    if (HasStyle(TBS_BOTH) || HasStyle(TBS_TOP))
        sides.push_back(thumbStart - TIC_GAP - TIC_LENGTH);
    if (HasStyle(TBS_BOTH) || !HasStyle(TBS_TOP))
        sides.push_back(thumbEnd + TIC_GAP);
    const HBRUSH brush = GetSysColorBrush(COLOR_BTNTEXT);
    for (const int value : Tics()) {
        const int along = PosToPixel(value);
        for (const int across : sides) {
            const RECT tic = Oriented(along, across, along + 1, across + TIC_LENGTH);
            (void)FillRect(dc, &tic, brush);
        }
    }
}

std::vector<POINT> TrackBar::ThumbOutline() const
{
    const RECT thumb = ThumbRect();
    const int breadth = thumb.right - thumb.left;
    const int length = thumb.bottom - thumb.top;
    const int along = Vertical() ? length : breadth;
    const int across = Vertical() ? breadth : length;
    // With tick marks on one side only, the thumb points at them.
    const int point = HasStyle(TBS_BOTH) ? 0 : (along - 1) / 2;
    const bool towardsEnd = !HasStyle(TBS_TOP);
    const auto place = [&](int a, int c) {
        const int offset = towardsEnd ? c : across - 1 - c;
        return Vertical() ? POINT{thumb.left + offset, thumb.top + a} : POINT{thumb.left + a, thumb.top + offset};
    };
    std::vector<POINT> outline{place(0, 0), place(along - 1, 0), place(along - 1, across - 1 - point)};
    if (point > 0)
        outline.push_back(place((along - 1) / 2, across - 1));
    outline.push_back(place(0, across - 1 - point));
    return outline;
}

void TrackBar::PaintThumb(HDC dc) const
{
    if (HasStyle(TBS_NOTHUMB))
        return;
    const std::vector<POINT> outline = ThumbOutline();
    PaintRaisedPolygon(dc, outline);
    // A disabled or grabbed thumb shows the classic dithered face.
    if (IsWindowEnabled(Window()) && !m_dragging)
        return;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const RECT thumb = ThumbRect();
    for (int y = thumb.top + 1; y < thumb.bottom - 1; ++y)
        for (int x = thumb.left + 1 + (y & 1); x < thumb.right - 1; x += 2)
            if (GetPixel(dc, x, y) == face)
                (void)SetPixelV(dc, x, y, light);
}

void TrackBar::PaintItem(HDC dc, LRESULT prepaint, DWORD_PTR item, const RECT& rect) const
{
    NMCUSTOMDRAW draw{};
    draw.hdc = dc;
    draw.uItemState = (GetFocus() == Window() ? CDIS_FOCUS : 0U) | (IsWindowEnabled(Window()) ? 0U : CDIS_DISABLED);
    const LRESULT answer =
        (prepaint & CDRF_NOTIFYITEMDRAW) != 0 ? CustomDraw(draw, CDDS_ITEMPREPAINT, item, rect) : CDRF_DODEFAULT;
    if ((answer & CDRF_SKIPDEFAULT) == 0) {
        if (item == TBCD_CHANNEL)
            PaintChannel(dc);
        else if (item == TBCD_TICS)
            PaintTics(dc);
        else
            PaintThumb(dc);
    }
    if ((answer & CDRF_NOTIFYPOSTPAINT) != 0)
        (void)CustomDraw(draw, CDDS_ITEMPOSTPAINT, item, rect);
}

void TrackBar::Paint(HDC dc) const
{
    RECT client{};
    (void)GetClientRect(Window(), &client);
    NMCUSTOMDRAW draw{};
    draw.hdc = dc;
    draw.uItemState = (GetFocus() == Window() ? CDIS_FOCUS : 0U) | (IsWindowEnabled(Window()) ? 0U : CDIS_DISABLED);
    const LRESULT prepaint = CustomDraw(draw, CDDS_PREPAINT, 0, client);
    if ((prepaint & CDRF_SKIPDEFAULT) != 0)
        return;
    // The background is the parent's answer to WM_CTLCOLORSTATIC, the face colour without one.
    const Reply colors =
        SendToParent(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Window()));
    if (!colors.stands)
        return;
    const auto background = reinterpret_cast<HBRUSH>(colors.answer);
    (void)FillRect(dc, &client, background ? background : GetSysColorBrush(COLOR_BTNFACE));
    PaintItem(dc, prepaint, TBCD_CHANNEL, ChannelRect());
    PaintItem(dc, prepaint, TBCD_TICS, client);
    PaintItem(dc, prepaint, TBCD_THUMB, ThumbRect());
    if (GetFocus() == Window()) {
        (void)SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        (void)SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        (void)DrawFocusRect(dc, &client);
    }
    if ((prepaint & CDRF_NOTIFYPOSTPAINT) != 0)
        (void)CustomDraw(draw, CDDS_POSTPAINT, 0, client);
}

LRESULT TrackBar::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    const bool redraw = wParam != 0;
    switch (message) {
    case TBM_GETPOS:
        return m_pos;
    case TBM_SETPOS:
        SetPos(static_cast<int>(lParam), redraw);
        return 0;
    case TBM_GETRANGEMIN:
        return m_min;
    case TBM_GETRANGEMAX:
        return m_max;
    case TBM_SETRANGE:
        SetRange(static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lParam))),
                 static_cast<SHORT>(HIWORD(static_cast<DWORD_PTR>(lParam))), redraw);
        return 0;
    case TBM_SETRANGEMIN:
        SetRange(static_cast<int>(lParam), m_max, redraw);
        return 0;
    case TBM_SETRANGEMAX:
        SetRange(m_min, static_cast<int>(lParam), redraw);
        return 0;
    case TBM_SETPAGESIZE:
        return std::exchange(m_pageSize, static_cast<int>(lParam));
    case TBM_GETPAGESIZE:
        return m_pageSize;
    case TBM_SETLINESIZE:
        return std::exchange(m_lineSize, static_cast<int>(lParam));
    case TBM_GETLINESIZE:
        return m_lineSize;
    case TBM_SETTICFREQ:
        m_ticFreq = std::max(1, static_cast<int>(wParam));
        Redraw(true);
        return 0;
    case TBM_SETTIC:
        if (lParam < m_min || lParam > m_max)
            return FALSE;
        m_tics.push_back(static_cast<int>(lParam));
        Redraw(true);
        return TRUE;
    case TBM_GETTIC:
        return wParam < m_tics.size() ? m_tics[wParam] : -1;
    case TBM_CLEARTICS:
        m_tics.clear();
        Redraw(redraw);
        return 0;
    case TBM_GETNUMTICS:
        return HasStyle(TBS_NOTICKS) ? 0 : static_cast<LRESULT>(Tics().size());
    case TBM_GETTHUMBRECT:
        if (lParam != 0)
            *reinterpret_cast<RECT*>(lParam) = ThumbRect();
        return 0;
    case TBM_GETCHANNELRECT:
        if (lParam != 0) {
            const RECT channel = ChannelRect();
            // Given lying down even for a vertical bar, as callers that swap it back expect.
            *reinterpret_cast<RECT*>(lParam) =
                Vertical() ? RECT{channel.top, channel.left, channel.bottom, channel.right} : channel;
        }
        return 0;
    case TBM_SETTHUMBLENGTH:
        if (HasStyle(TBS_FIXEDLENGTH)) {
            m_thumbLength = std::max(1, static_cast<int>(wParam));
            Redraw(true);
        }
        return 0;
    case TBM_GETTHUMBLENGTH:
        return ThumbLength();
    case TBM_SETSEL:
        m_selStart = static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lParam)));
        m_selEnd = static_cast<SHORT>(HIWORD(static_cast<DWORD_PTR>(lParam)));
        Redraw(redraw);
        return 0;
    case TBM_SETSELSTART:
        m_selStart = static_cast<int>(lParam);
        Redraw(redraw);
        return 0;
    case TBM_SETSELEND:
        m_selEnd = static_cast<int>(lParam);
        Redraw(redraw);
        return 0;
    case TBM_GETSELSTART:
        return m_selStart;
    case TBM_GETSELEND:
        return m_selEnd;
    case TBM_CLEARSEL:
        m_selStart = m_selEnd = 0;
        Redraw(redraw);
        return 0;
    case WM_GETDLGCODE:
        return WANT_ARROWS;
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return 0;
    case WM_KEYUP:
        if (wParam == VK_LEFT || wParam == VK_RIGHT || wParam == VK_UP || wParam == VK_DOWN || wParam == VK_PRIOR ||
            wParam == VK_NEXT || wParam == VK_HOME || wParam == VK_END)
            (void)Notify(TB_ENDTRACK);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == Window())
            (void)ReleaseCapture();
        EndTracking();
        return 0;
    case WM_CAPTURECHANGED:
        EndTracking();
        return 0;
    case WM_TIMER:
        if (wParam == REPEAT_TIMER)
            OnTimer();
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SIZE:
        Redraw(true);
        return DefWindowProcA(Window(), message, wParam, lParam);
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintControl(Window(), reinterpret_cast<HDC>(wParam), [this](HDC dc) { Paint(dc); });
    default:
        return DefWindowProcA(Window(), message, wParam, lParam);
    }
}

} // namespace

void RegisterTrackBarClass()
{
    (void)RegisterControlInstanceClass<TrackBar>(TRACKBAR_CLASSA, CS_DBLCLKS);
}
