#include "platform/winapi/controls/Tooltips.h"

#include "platform/winapi/user/ControlInstance.h"
#include "platform/winapi/user/ControlPaint.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/SysColors.h"
#include "platform/winapi/gdi/Text.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr UINT_PTR INITIAL_TIMER = 1;
constexpr UINT_PTR AUTOPOP_TIMER = 2;
constexpr int TEXT_MARGIN = 2;
// A tip shown by hovering sits this far below the pointer, clear of the arrow.
constexpr int CURSOR_MARGIN = 20;

struct Tool {
    UINT flags = 0;
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    RECT rect{};
    std::string text;
    bool callback = false;
    LPARAM lParam = 0;
};

// Which tool a state refers to; tools are looked up again each time, as the list may change.
struct ToolKey {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    bool set = false;
    [[nodiscard]] bool Is(const Tool& tool) const { return set && tool.hwnd == hwnd && tool.id == id; }
};

HFONT TipFont()
{
    static const HFONT font = [] {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof(metrics);
        (void)SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        return CreateFontIndirectA(&metrics.lfStatusFont);
    }();
    return font;
}

bool IsMouseMessage(UINT message)
{
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) || message == WM_MOUSELEAVE;
}

// The subclass of a tool's window; its data is the tip's window.
LRESULT SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR tip);

class Tooltip final : public ControlInstance {
public:
    explicit Tooltip(HWND self) : ControlInstance(self), m_initial(GetDoubleClickTime())
    {
        m_autoPop = m_initial * 10;
        m_reshow = m_initial / 5;
        // Whatever the creator asked for, a tip is a framed popup that stays on top.
        const auto style = static_cast<DWORD>(GetWindowLongA(self, GWL_STYLE));
        (void)SetWindowLongA(self, GWL_STYLE, static_cast<LONG>((style & 0xFFFF) | WS_POPUP | WS_BORDER));
        const auto exStyle = static_cast<DWORD>(GetWindowLongA(self, GWL_EXSTYLE));
        (void)SetWindowLongA(self, GWL_EXSTYLE, static_cast<LONG>(exStyle | WS_EX_TOOLWINDOW | WS_EX_TOPMOST));
    }

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Tool* Find(HWND hwnd, UINT_PTR id);
    Tool* Find(const TOOLINFOA* info) { return info ? Find(info->hwnd, info->uId) : nullptr; }
    Tool* Find(const ToolKey& key) { return key.set ? Find(key.hwnd, key.id) : nullptr; }
    Tool* ToolAt(HWND window, POINT client);
    BOOL Add(const TOOLINFOA* info);
    void Delete(const TOOLINFOA* info);
    void UpdateText(const TOOLINFOA* info);
    static void StoreText(Tool& tool, LPSTR text);
    void Relay(const MSG& msg);
    void Hover(HWND window, POINT client);
    void StopHovering();
    void TimerExpired(UINT_PTR id);
    void TrackActivate(bool on, const TOOLINFOA* info);
    // These are false when the tool's window destroyed the tip as it heard.
    [[nodiscard]] bool Show(Tool& tool, POINT at);
    [[nodiscard]] bool Pop();
    void Resize();
    [[nodiscard]] std::string TextOf(const Tool& tool) const;
    [[nodiscard]] UINT TextFormat() const;
    [[nodiscard]] SIZE Measure() const;
    void Paint(HDC dc) const;
    void SetDelay(WPARAM which, int delay);
    void Subclass(HWND window);
    void Unsubclass(HWND window);
    [[nodiscard]] Reply Notify(const Tool& tool, UINT code) const;

    std::vector<Tool> m_tools;
    bool m_active = true;
    int m_maxWidth = -1;
    UINT m_initial;
    UINT m_autoPop;
    UINT m_reshow;
    ToolKey m_hovered;
    ToolKey m_shown;
    ToolKey m_tracked;
    POINT m_trackPos{};
    std::string m_text;
};

Tool* Tooltip::Find(HWND hwnd, UINT_PTR id)
{
    const auto found = std::find_if(m_tools.begin(), m_tools.end(),
                                    [&](const Tool& tool) { return tool.hwnd == hwnd && tool.id == id; });
    return found == m_tools.end() ? nullptr : &*found;
}

Tool* Tooltip::ToolAt(HWND window, POINT client)
{
    for (Tool& tool : m_tools) {
        if (tool.flags & TTF_TRACK)
            continue;
        if ((tool.flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(tool.id) == window
                                         : tool.hwnd == window && PtInRect(&tool.rect, client))
            return &tool;
    }
    return nullptr;
}

void Tooltip::StoreText(Tool& tool, LPSTR text)
{
    tool.callback = text == LPSTR_TEXTCALLBACKA;
    // Texts in string resources (an id in place of the pointer) are not supported: no text.
    tool.text = tool.callback || IS_INTRESOURCE(text) ? std::string() : std::string(text);
}

BOOL Tooltip::Add(const TOOLINFOA* info)
{
    if (!info || !info->hwnd || Find(info))
        return FALSE;
    Tool tool;
    tool.flags = info->uFlags;
    tool.hwnd = info->hwnd;
    tool.id = info->uId;
    tool.rect = info->rect;
    tool.lParam = info->lParam;
    StoreText(tool, info->lpszText);
    m_tools.push_back(tool);
    if (tool.flags & TTF_SUBCLASS)
        Subclass((tool.flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(tool.id) : tool.hwnd);
    return TRUE;
}

void Tooltip::Delete(const TOOLINFOA* info)
{
    Tool* tool = Find(info);
    if (!tool)
        return;
    if (m_shown.Is(*tool) && !Pop())
        return;
    if (m_hovered.Is(*tool))
        StopHovering();
    const HWND window = (tool->flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(tool->id) : tool->hwnd;
    const bool subclassed = (tool->flags & TTF_SUBCLASS) != 0;
    m_tools.erase(m_tools.begin() + (tool - m_tools.data()));
    const bool stillUsed = std::any_of(m_tools.begin(), m_tools.end(), [&](const Tool& other) {
        return (other.flags & TTF_SUBCLASS) &&
               ((other.flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(other.id) : other.hwnd) == window;
    });
    if (subclassed && !stillUsed)
        Unsubclass(window);
}

void Tooltip::UpdateText(const TOOLINFOA* info)
{
    Tool* tool = Find(info);
    if (!tool)
        return;
    StoreText(*tool, info->lpszText);
    if (m_shown.Is(*tool)) {
        m_text = TextOf(*tool);
        Resize();
    }
}

std::string Tooltip::TextOf(const Tool& tool) const
{
    if (!tool.callback)
        return tool.text;
    NMTTDISPINFOA info{};
    info.hdr = NMHDR{Window(), tool.id, TTN_GETDISPINFOA};
    info.uFlags = tool.flags;
    info.lParam = tool.lParam;
    (void)SendTo(tool.hwnd, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(&info));
    if (info.lpszText && info.lpszText != LPSTR_TEXTCALLBACKA && !IS_INTRESOURCE(info.lpszText) &&
        info.lpszText != info.szText)
        return info.lpszText;
    // The buffer need not be terminated: read no further than its end.
    return std::string(info.szText, strnlen(info.szText, sizeof(info.szText)));
}

Reply Tooltip::Notify(const Tool& tool, UINT code) const
{
    NMHDR header{Window(), tool.id, code};
    return SendTo(tool.hwnd, WM_NOTIFY, tool.id, reinterpret_cast<LPARAM>(&header));
}

void Tooltip::Relay(const MSG& msg)
{
    switch (msg.message) {
    case WM_MOUSEMOVE:
        Hover(msg.hwnd, POINT{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)});
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MOUSELEAVE:
        StopHovering();
        if (!m_tracked.set)
            (void)Pop();
        break;
    default:
        break;
    }
}

void Tooltip::Hover(HWND window, POINT client)
{
    Tool* tool = ToolAt(window, client);
    if (tool && (m_shown.Is(*tool) || m_hovered.Is(*tool)))
        return;
    const bool tipWasUp = m_shown.set && !m_tracked.set;
    if (tipWasUp && !Pop())
        return;
    StopHovering();
    if (!tool || !m_active)
        return;
    m_hovered = ToolKey{tool->hwnd, tool->id, true};
    (void)SetTimer(Window(), INITIAL_TIMER, tipWasUp ? m_reshow : m_initial, nullptr);
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window, 0};
    (void)TrackMouseEvent(&track);
}

void Tooltip::StopHovering()
{
    (void)KillTimer(Window(), INITIAL_TIMER);
    m_hovered = ToolKey{};
}

void Tooltip::TimerExpired(UINT_PTR id)
{
    (void)KillTimer(Window(), id);
    if (id == AUTOPOP_TIMER) {
        (void)Pop();
        return;
    }
    Tool* tool = Find(m_hovered);
    m_hovered = ToolKey{};
    if (!tool || !m_active)
        return;
    POINT cursor{};
    (void)GetCursorPos(&cursor);
    if (!Show(*tool, POINT{cursor.x, cursor.y + CURSOR_MARGIN}))
        return;
    if (m_shown.set)
        (void)SetTimer(Window(), AUTOPOP_TIMER, m_autoPop, nullptr);
}

void Tooltip::TrackActivate(bool on, const TOOLINFOA* info)
{
    Tool* tool = Find(info);
    if (!on) {
        if (tool && m_tracked.Is(*tool) && Pop())
            m_tracked = ToolKey{};
        return;
    }
    if (!tool || !(tool->flags & TTF_TRACK) || !m_active)
        return;
    if (!Pop())
        return;
    m_tracked = ToolKey{tool->hwnd, tool->id, true};
    (void)Show(*tool, m_trackPos);
}

bool Tooltip::Show(Tool& tool, POINT at)
{
    m_text = TextOf(tool);
    if (!Stands() || m_text.empty())
        return Stands();
    const SIZE size = Measure();
    (void)SetWindowPos(Window(), HWND_TOPMOST, at.x, at.y, size.cx, size.cy, SWP_NOACTIVATE);
    m_shown = ToolKey{tool.hwnd, tool.id, true};
    // A non-zero answer means the tool's window placed the tip itself.
    if (!Notify(tool, TTN_SHOW).stands)
        return false;
    (void)SetWindowPos(Window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    (void)InvalidateRect(Window(), nullptr, TRUE);
    return true;
}

bool Tooltip::Pop()
{
    (void)KillTimer(Window(), AUTOPOP_TIMER);
    if (!m_shown.set)
        return true;
    const ToolKey shown = m_shown;
    m_shown = ToolKey{};
    (void)ShowWindow(Window(), SW_HIDE);
    const Tool* tool = Find(shown);
    return tool == nullptr || Notify(*tool, TTN_POP).stands;
}

void Tooltip::Resize()
{
    const SIZE size = Measure();
    (void)SetWindowPos(Window(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    (void)InvalidateRect(Window(), nullptr, TRUE);
}

UINT Tooltip::TextFormat() const
{
    const bool noPrefix = (GetWindowLongA(Window(), GWL_STYLE) & TTS_NOPREFIX) != 0;
    return DT_EXPANDTABS | DT_LEFT | (noPrefix ? DT_NOPREFIX : 0) | (m_maxWidth >= 0 ? DT_WORDBREAK : DT_SINGLELINE);
}

SIZE Tooltip::Measure() const
{
    RECT text{0, 0, m_maxWidth >= 0 ? m_maxWidth : GetSystemMetrics(SM_CXSCREEN), 0};
    const HDC dc = GetDC(Window());
    {
        const SelectionGuard font(dc, TipFont());
        (void)DrawTextA(dc, m_text.c_str(), static_cast<int>(m_text.size()), &text, TextFormat() | DT_CALCRECT);
    }
    (void)ReleaseDC(Window(), dc);
    RECT window{0, 0, text.right + 2 * TEXT_MARGIN, text.bottom + 2 * TEXT_MARGIN};
    (void)AdjustWindowRectEx(&window, static_cast<DWORD>(GetWindowLongA(Window(), GWL_STYLE)), FALSE,
                             static_cast<DWORD>(GetWindowLongA(Window(), GWL_EXSTYLE)));
    return SIZE{window.right - window.left, window.bottom - window.top};
}

void Tooltip::Paint(HDC dc) const
{
    RECT client{};
    (void)GetClientRect(Window(), &client);
    (void)FillRect(dc, &client, GetSysColorBrush(COLOR_INFOBK));
    const SavedDC saved(dc);
    (void)SelectObject(dc, TipFont());
    (void)SetBkMode(dc, TRANSPARENT);
    (void)SetTextColor(dc, GetSysColor(COLOR_INFOTEXT));
    InflateRect(&client, -TEXT_MARGIN, -TEXT_MARGIN);
    (void)DrawTextA(dc, m_text.c_str(), static_cast<int>(m_text.size()), &client, TextFormat());
}

void Tooltip::SetDelay(WPARAM which, int delay)
{
    const UINT initial = delay < 0 ? GetDoubleClickTime() : static_cast<UINT>(delay);
    switch (which) {
    case TTDT_AUTOMATIC:
        m_initial = initial;
        m_autoPop = initial * 10;
        m_reshow = initial / 5;
        break;
    case TTDT_RESHOW: m_reshow = delay < 0 ? GetDoubleClickTime() / 5 : initial; break;
    case TTDT_AUTOPOP: m_autoPop = delay < 0 ? GetDoubleClickTime() * 10 : initial; break;
    case TTDT_INITIAL: m_initial = initial; break;
    default: break;
    }
}

void Tooltip::Subclass(HWND window)
{
    if (!IsWindow(window) || GetWindowSubclass(window, &SubclassProc, 0, nullptr))
        return;
    (void)SetWindowSubclass(window, &SubclassProc, 0, reinterpret_cast<DWORD_PTR>(Window()));
}

void Tooltip::Unsubclass(HWND window)
{
    DWORD_PTR tip = 0;
    if (GetWindowSubclass(window, &SubclassProc, 0, &tip) && tip == reinterpret_cast<DWORD_PTR>(Window()))
        (void)RemoveWindowSubclass(window, &SubclassProc, 0);
}

LRESULT Tooltip::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto* info = reinterpret_cast<const TOOLINFOA*>(lParam);
    switch (message) {
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintControl(Window(), reinterpret_cast<HDC>(wParam), [this](HDC dc) { Paint(dc); });
    case WM_ERASEBKGND:
        return 1;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_NCHITTEST:
        return HTTRANSPARENT;
    case WM_TIMER:
        TimerExpired(wParam);
        return 0;
    case WM_DESTROY:
        if (!Pop())
            return 0;
        StopHovering();
        for (const Tool& tool : m_tools)
            if (tool.flags & TTF_SUBCLASS)
                Unsubclass((tool.flags & TTF_IDISHWND) ? reinterpret_cast<HWND>(tool.id) : tool.hwnd);
        return 0;
    case TTM_ACTIVATE:
        m_active = wParam != 0;
        if (!m_active) {
            StopHovering();
            if (Pop())
                m_tracked = ToolKey{};
        }
        return 0;
    case TTM_SETDELAYTIME:
        SetDelay(wParam, static_cast<short>(LOWORD(lParam)));
        return 0;
    case TTM_ADDTOOLA:
        return Add(info);
    case TTM_DELTOOLA:
        Delete(info);
        return 0;
    case TTM_NEWTOOLRECTA:
        if (Tool* tool = Find(info))
            tool->rect = info->rect;
        return 0;
    case TTM_RELAYEVENT:
        if (lParam)
            Relay(*reinterpret_cast<const MSG*>(lParam));
        return 0;
    case TTM_UPDATETIPTEXTA:
        UpdateText(info);
        return 0;
    case TTM_GETTOOLCOUNT:
        return static_cast<LRESULT>(m_tools.size());
    case TTM_TRACKACTIVATE:
        TrackActivate(wParam != 0, info);
        return 0;
    case TTM_TRACKPOSITION:
        m_trackPos = POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (m_tracked.set && m_shown.set)
            (void)SetWindowPos(Window(), nullptr, m_trackPos.x, m_trackPos.y, 0, 0,
                               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    case TTM_SETMAXTIPWIDTH: {
        const int previous = m_maxWidth;
        m_maxWidth = static_cast<int>(lParam);
        if (m_shown.set)
            Resize();
        return previous;
    }
    case TTM_GETMAXTIPWIDTH:
        return m_maxWidth;
    case TTM_POP:
        if (Pop())
            m_tracked = ToolKey{};
        return 0;
    default:
        return DefWindowProcA(Window(), message, wParam, lParam);
    }
}

LRESULT SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR tip)
{
    if (IsMouseMessage(message)) {
        MSG msg{};
        msg.hwnd = hwnd;
        msg.message = message;
        msg.wParam = wParam;
        msg.lParam = lParam;
        (void)SendMessageA(reinterpret_cast<HWND>(tip), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&msg));
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace

bool RegisterTooltipsClass()
{
    return RegisterControlInstanceClass<Tooltip>(TOOLTIPS_CLASSA, CS_SAVEBITS | CS_DBLCLKS);
}
