#include "platform/winapi/controls/UpDown.h"

#include "platform/rtl/LocaleSettings.h"
#include "platform/winapi/user/ControlInstance.h"
#include "platform/winapi/user/ControlPaint.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/kernel/Clock.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr UINT_PTR REPEAT_TIMER = 1;
constexpr UINT FIRST_REPEAT_MS = 500;
constexpr UINT REPEAT_MS = 100;
constexpr int DEFAULT_WIDTH = 16;
// Sent by the buddy's subclass procedure: wParam TRUE steps up.
constexpr UINT UDM_ARROWKEY = WM_USER + 200;

enum class Half { None, Up, Down };

std::string FormatPos(int pos, int base, bool thousands)
{
    char text[32];
    if (base == 16) {
        (void)std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(pos));
        return text;
    }
    (void)std::snprintf(text, sizeof text, "%d", pos);
    std::string digits = text;
    if (!thousands)
        return digits;
    const std::size_t first = pos < 0 ? 1 : 0;
    for (std::size_t at = digits.size(); at > first + 3; at -= 3)
        digits.insert(at - 3, 1, ThousandSeparator);
    return digits;
}

bool ParsePos(const std::string& text, int base, int& pos)
{
    std::string digits;
    for (const char c : text)
        if (c != ThousandSeparator && c != ' ')
            digits += c;
    if (digits.empty())
        return false;
    char* end = nullptr;
    const long value = std::strtol(digits.c_str(), &end, base);
    if (*end != '\0')
        return false;
    pos = static_cast<int>(value);
    return true;
}

// The subclass of an arrow-keys buddy; its data is the up-down's window.
LRESULT BuddyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR owner)
{
    const auto upDown = reinterpret_cast<HWND>(owner);
    if (message == WM_KEYDOWN && (wParam == VK_UP || wParam == VK_DOWN) && IsWindow(upDown)) {
        (void)SendMessageA(upDown, UDM_ARROWKEY, wParam == VK_UP, 0);
        return 0;
    }
    if (message == WM_GETDLGCODE)
        return DefSubclassProc(hwnd, message, wParam, lParam) | 0x0001;
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

class UpDown final : public ControlInstance {
public:
    explicit UpDown(HWND hwnd) : ControlInstance(hwnd) {}
    ~UpDown() override { ReleaseBuddy(); }
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    [[nodiscard]] bool HasStyle(DWORD bits) const { return (GetWindowLongA(Window(), GWL_STYLE) & bits) != 0; }
    [[nodiscard]] int Low() const { return std::min(m_lower, m_upper); }
    [[nodiscard]] int High() const { return std::max(m_lower, m_upper); }
    [[nodiscard]] Half HalfAt(POINT point) const;
    [[nodiscard]] RECT HalfRect(Half half) const;
    [[nodiscard]] int Increment() const;
    // The position, first read back from the buddy's text when the up-down keeps it.
    [[nodiscard]] int ReadPos(bool& error);

    LRESULT SetPos(int pos);
    void SetRange(int lower, int upper);
    HWND SetBuddy(HWND buddy);
    void ReleaseBuddy();
    void AlignToBuddy();
    void UpdateBuddy() const;
    // False when the parent destroyed the up-down as it heard of the step.
    [[nodiscard]] bool Step(bool up, int increment);
    void OnButtonDown(POINT point);
    void OnTimer();
    void EndPress();
    void Paint(HDC dc) const;

    HWND m_buddy = nullptr;
    int m_lower = 100;
    int m_upper = 0;
    int m_pos = 0;
    int m_base = 10;
    std::vector<UDACCEL> m_accel{{0, 1}, {2, 5}, {5, 20}};
    Half m_pressed = Half::None;
    bool m_pointerOnPressed = false;
    DWORD m_pressTick = 0;
};

Half UpDown::HalfAt(POINT point) const
{
    RECT client{};
    (void)GetClientRect(Window(), &client);
    if (!PtInRect(&client, point))
        return Half::None;
    if (HasStyle(UDS_HORZ))
        return point.x >= client.right / 2 ? Half::Up : Half::Down;
    return point.y < client.bottom / 2 ? Half::Up : Half::Down;
}

RECT UpDown::HalfRect(Half half) const
{
    RECT rect{};
    (void)GetClientRect(Window(), &rect);
    if (HasStyle(UDS_HORZ)) {
        const LONG middle = rect.right / 2;
        (half == Half::Down ? rect.right : rect.left) = middle;
    } else {
        const LONG middle = rect.bottom / 2;
        (half == Half::Up ? rect.bottom : rect.top) = middle;
    }
    return rect;
}

int UpDown::Increment() const
{
    const DWORD heldSeconds = (GetTickCount() - m_pressTick) / 1000;
    int increment = 1;
    for (const UDACCEL& accel : m_accel)
        if (accel.nSec <= heldSeconds)
            increment = static_cast<int>(accel.nInc);
    return increment;
}

int UpDown::ReadPos(bool& error)
{
    error = false;
    if (!HasStyle(UDS_SETBUDDYINT) || !IsWindow(m_buddy))
        return m_pos;
    char text[64] = {};
    (void)GetWindowTextA(m_buddy, text, sizeof text);
    int pos = 0;
    if (!ParsePos(text, m_base, pos) || pos < Low() || pos > High()) {
        error = true;
        return m_pos;
    }
    m_pos = pos;
    return m_pos;
}

LRESULT UpDown::SetPos(int pos)
{
    const int previous = m_pos;
    m_pos = std::clamp(pos, Low(), High());
    UpdateBuddy();
    return previous;
}

void UpDown::SetRange(int lower, int upper)
{
    m_lower = lower;
    m_upper = upper;
    m_pos = std::clamp(m_pos, Low(), High());
    (void)InvalidateRect(Window(), nullptr, FALSE);
}

HWND UpDown::SetBuddy(HWND buddy)
{
    const HWND previous = m_buddy;
    ReleaseBuddy();
    m_buddy = IsWindow(buddy) ? buddy : nullptr;
    if (m_buddy == nullptr)
        return previous;
    if (HasStyle(UDS_ARROWKEYS) && !GetWindowSubclass(m_buddy, &BuddyProc, 0, nullptr))
        (void)SetWindowSubclass(m_buddy, &BuddyProc, 0, reinterpret_cast<DWORD_PTR>(Window()));
    AlignToBuddy();
    UpdateBuddy();
    return previous;
}

void UpDown::ReleaseBuddy()
{
    DWORD_PTR owner = 0;
    if (GetWindowSubclass(m_buddy, &BuddyProc, 0, &owner) && owner == reinterpret_cast<DWORD_PTR>(Window()))
        (void)RemoveWindowSubclass(m_buddy, &BuddyProc, 0);
}

void UpDown::AlignToBuddy()
{
    if (!HasStyle(UDS_ALIGNRIGHT | UDS_ALIGNLEFT))
        return;
    RECT buddy{};
    (void)GetWindowRect(m_buddy, &buddy);
    (void)MapWindowPoints(nullptr, GetParent(m_buddy), reinterpret_cast<POINT*>(&buddy), 2);
    RECT own{};
    (void)GetWindowRect(Window(), &own);
    const int width = own.right > own.left ? own.right - own.left : DEFAULT_WIDTH;
    const int height = buddy.bottom - buddy.top;
    const int buddyWidth = std::max(0, static_cast<int>(buddy.right - buddy.left) - width);
    if (HasStyle(UDS_ALIGNRIGHT)) {
        (void)SetWindowPos(m_buddy, nullptr, buddy.left, buddy.top, buddyWidth, height, SWP_NOZORDER | SWP_NOACTIVATE);
        (void)SetWindowPos(Window(), nullptr, buddy.left + buddyWidth, buddy.top, width, height,
                           SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        (void)SetWindowPos(Window(), nullptr, buddy.left, buddy.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        (void)SetWindowPos(m_buddy, nullptr, buddy.left + width, buddy.top, buddyWidth, height,
                           SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void UpDown::UpdateBuddy() const
{
    if (HasStyle(UDS_SETBUDDYINT) && IsWindow(m_buddy))
        (void)SetWindowTextA(m_buddy, FormatPos(m_pos, m_base, !HasStyle(UDS_NOTHOUSANDS)).c_str());
}

bool UpDown::Step(bool up, int increment)
{
    bool error = false;
    const int pos = ReadPos(error);
    const int delta = (m_upper < m_lower) == up ? -increment : increment;
    long long next = static_cast<long long>(pos) + delta;
    if (next > High())
        next = HasStyle(UDS_WRAP) ? Low() : High();
    else if (next < Low())
        next = HasStyle(UDS_WRAP) ? High() : Low();
    if (next == pos)
        return true;
    NMUPDOWN change{};
    change.iPos = pos;
    change.iDelta = delta;
    const Reply asked = NotifyParent(UDN_DELTAPOS, change.hdr);
    if (!asked.stands || asked.answer != 0)
        return asked.stands;
    (void)SetPos(static_cast<int>(next));
    return SendToParent(HasStyle(UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL,
                        MAKEWPARAM(SB_THUMBPOSITION, static_cast<WORD>(m_pos)), reinterpret_cast<LPARAM>(Window()))
        .stands;
}

void UpDown::OnButtonDown(POINT point)
{
    m_pressed = HalfAt(point);
    if (m_pressed == Half::None)
        return;
    (void)SetCapture(Window());
    m_pointerOnPressed = true;
    m_pressTick = GetTickCount();
    (void)InvalidateRect(Window(), nullptr, FALSE);
    if (!Step(m_pressed == Half::Up, Increment()))
        return;
    (void)SetTimer(Window(), REPEAT_TIMER, FIRST_REPEAT_MS, nullptr);
}

void UpDown::OnTimer()
{
    if (m_pressed == Half::None)
        return;
    if (m_pointerOnPressed && !Step(m_pressed == Half::Up, Increment()))
        return;
    (void)SetTimer(Window(), REPEAT_TIMER, REPEAT_MS, nullptr);
}

void UpDown::EndPress()
{
    if (m_pressed == Half::None)
        return;
    m_pressed = Half::None;
    (void)KillTimer(Window(), REPEAT_TIMER);
    (void)InvalidateRect(Window(), nullptr, FALSE);
    (void)SendToParent(HasStyle(UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL, MAKEWPARAM(SB_ENDSCROLL, static_cast<WORD>(m_pos)),
                       reinterpret_cast<LPARAM>(Window()));
}

void UpDown::Paint(HDC dc) const
{
    const UINT disabled = IsWindowEnabled(Window()) ? 0U : DFCS_INACTIVE;
    for (const Half half : {Half::Up, Half::Down}) {
        RECT rect = HalfRect(half);
        const UINT glyph = HasStyle(UDS_HORZ) ? (half == Half::Up ? DFCS_SCROLLRIGHT : DFCS_SCROLLLEFT)
                                              : (half == Half::Up ? DFCS_SCROLLUP : DFCS_SCROLLDOWN);
        const UINT pushed = half == m_pressed && m_pointerOnPressed ? DFCS_PUSHED : 0U;
        (void)DrawFrameControl(dc, &rect, DFC_SCROLL, glyph | pushed | disabled);
    }
}

LRESULT UpDown::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        if (HasStyle(UDS_AUTOBUDDY))
            (void)SetBuddy(GetWindow(Window(), GW_HWNDPREV));
        return 0;
    case UDM_SETRANGE:
        SetRange(static_cast<SHORT>(HIWORD(static_cast<DWORD_PTR>(lParam))),
                 static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lParam))));
        return 0;
    case UDM_GETRANGE:
        return MAKELONG(static_cast<WORD>(m_upper), static_cast<WORD>(m_lower));
    case UDM_SETRANGE32:
        SetRange(static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    case UDM_GETRANGE32:
        if (wParam != 0)
            *reinterpret_cast<int*>(wParam) = m_lower;
        if (lParam != 0)
            *reinterpret_cast<int*>(lParam) = m_upper;
        return 0;
    case UDM_SETPOS:
        return SetPos(static_cast<SHORT>(LOWORD(static_cast<DWORD_PTR>(lParam))));
    case UDM_SETPOS32:
        return SetPos(static_cast<int>(lParam));
    case UDM_GETPOS: {
        bool error = false;
        const int pos = ReadPos(error);
        return MAKELONG(static_cast<WORD>(pos), error ? 1 : 0);
    }
    case UDM_GETPOS32: {
        bool error = false;
        const int pos = ReadPos(error);
        if (lParam != 0)
            *reinterpret_cast<BOOL*>(lParam) = error ? TRUE : FALSE;
        return pos;
    }
    case UDM_SETBUDDY:
        return reinterpret_cast<LRESULT>(SetBuddy(reinterpret_cast<HWND>(wParam)));
    case UDM_GETBUDDY:
        return reinterpret_cast<LRESULT>(m_buddy);
    case UDM_SETACCEL:
        if (wParam == 0 || lParam == 0)
            return FALSE;
        m_accel.assign(reinterpret_cast<const UDACCEL*>(lParam), reinterpret_cast<const UDACCEL*>(lParam) + wParam);
        return TRUE;
    case UDM_GETACCEL:
        if (lParam != 0)
            std::copy_n(m_accel.begin(), std::min<std::size_t>(wParam, m_accel.size()),
                        reinterpret_cast<UDACCEL*>(lParam));
        return static_cast<LRESULT>(m_accel.size());
    case UDM_SETBASE:
        if (wParam != 10 && wParam != 16)
            return 0;
        UpdateBuddy();
        return std::exchange(m_base, static_cast<int>(wParam));
    case UDM_GETBASE:
        return m_base;
    case UDM_ARROWKEY:
        m_pressTick = GetTickCount();
        (void)Step(wParam != 0, Increment());
        return 0;
    case WM_KEYDOWN:
        if (HasStyle(UDS_ARROWKEYS) &&
            (wParam == VK_UP || wParam == VK_DOWN || wParam == VK_LEFT || wParam == VK_RIGHT)) {
            m_pressTick = GetTickCount();
            (void)Step(wParam == VK_UP || wParam == VK_RIGHT, Increment());
        }
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSEMOVE:
        if (m_pressed != Half::None) {
            const bool on = HalfAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) == m_pressed;
            if (on != std::exchange(m_pointerOnPressed, on))
                (void)InvalidateRect(Window(), nullptr, FALSE);
        }
        return 0;
    case WM_LBUTTONUP:
        if (GetCapture() == Window())
            (void)ReleaseCapture();
        EndPress();
        return 0;
    case WM_CAPTURECHANGED:
        EndPress();
        return 0;
    case WM_TIMER:
        if (wParam == REPEAT_TIMER)
            OnTimer();
        return 0;
    case WM_ENABLE:
    case WM_SIZE:
        (void)InvalidateRect(Window(), nullptr, FALSE);
        return 0;
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

void RegisterUpDownClass()
{
    (void)RegisterControlInstanceClass<UpDown>(UPDOWN_CLASSA, CS_DBLCLKS);
}
