#include "platform/winapi/user/ButtonInternals.h"
#include "platform/winapi/user/ControlInstance.h"
#include "platform/winapi/user/ControlPaint.h"
#include "platform/winapi/gdi/Gdi.h"

#include <algorithm>

namespace detail = winapi_user::detail;

// The button's behaviour: pressing with the mouse (captured, unpressed while the mouse is outside)
// or the space bar, checking, auto radio groups, focus, and the notices to the parent.

using detail::ButtonState;
using detail::ButtonType;

namespace {

bool IsCheckType(DWORD type)
{
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}

bool IsRadioType(DWORD type) { return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON; }

// The highest check state each type keeps; the others ignore BM_SETCHECK.
WPARAM MaxCheck(DWORD type)
{
    if (type == BS_3STATE || type == BS_AUTO3STATE)
        return BST_INDETERMINATE;
    return IsCheckType(type) || IsRadioType(type) ? BST_CHECKED : BST_UNCHECKED;
}

// The siblings from the nearest WS_GROUP window at or before `hwnd` to the next WS_GROUP one.
void UncheckAutoRadioGroup(HWND hwnd)
{
    HWND start = hwnd;
    while (!(GetWindowLongA(start, GWL_STYLE) & WS_GROUP))
        if (const HWND previous = GetWindow(start, GW_HWNDPREV))
            start = previous;
        else
            break;
    for (HWND sibling = start; sibling; sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        const DWORD style = static_cast<DWORD>(GetWindowLongA(sibling, GWL_STYLE));
        if (sibling != start && (style & WS_GROUP))
            break;
        if (sibling != hwnd && ButtonType(style) == BS_AUTORADIOBUTTON)
            (void)SendMessageA(sibling, BM_SETCHECK, BST_UNCHECKED, 0);
    }
}

enum class PressedBy { Mouse, SpaceBar };

class ButtonWindow final : public ControlInstance {
public:
    explicit ButtonWindow(HWND hwnd) : ControlInstance(hwnd) {}

    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        switch (message) {
        case WM_PAINT:
        case WM_PRINTCLIENT:
            return PaintControl(Window(), reinterpret_cast<HDC>(wParam),
                                [this](HDC dc) { winapi_user::detail::PaintButton(*this, dc, m_state); });
        case WM_ERASEBKGND:
            return 1;
        case WM_NCHITTEST:
            return Type() == BS_GROUPBOX ? HTTRANSPARENT : DefWindowProcA(Window(), message, wParam, lParam);
        case WM_GETDLGCODE:
            return DialogCode();
        case WM_ENABLE:
            // A disabled window hears no more mouse input: a press in progress ends here.
            if (!wParam && m_state.tracking && GetCapture() == Window())
                (void)ReleaseCapture();
            [[fallthrough]];
        case WM_SETTEXT: {
            const LRESULT result = DefWindowProcA(Window(), message, wParam, lParam);
            Redraw();
            return result;
        }
        case WM_SETFONT:
            m_state.font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam))
                Redraw();
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(m_state.font);
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            FocusChanged(message == WM_SETFOCUS);
            return 0;
        case WM_LBUTTONDBLCLK:
            if ((Style() & BS_NOTIFY) || Type() == BS_RADIOBUTTON || Type() == BS_OWNERDRAW ||
                Type() == BS_USERBUTTON) {
                (void)CommandParent(BN_DOUBLECLICKED);
                return 0;
            }
            [[fallthrough]];
        case WM_LBUTTONDOWN:
            Press(PressedBy::Mouse);
            return 0;
        case WM_MOUSEMOVE:
            if (m_state.tracking && GetCapture() == Window())
                (void)SendMessageA(Window(), BM_SETSTATE, Inside(lParam) ? TRUE : FALSE, 0);
            return 0;
        case WM_LBUTTONUP:
            Release(Inside(lParam));
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_SPACE && !m_state.tracking)
                Press(PressedBy::SpaceBar);
            return 0;
        case WM_KEYUP:
            if (wParam == VK_SPACE)
                Release(true);
            return 0;
        case WM_CAPTURECHANGED:
            if (m_state.tracking && reinterpret_cast<HWND>(lParam) != Window()) {
                m_state.tracking = false;
                (void)SendMessageA(Window(), BM_SETSTATE, FALSE, 0);
            }
            return 0;
        case BM_GETCHECK:
            return static_cast<LRESULT>(m_state.check);
        case BM_SETCHECK:
            SetCheck(wParam);
            return 0;
        case BM_GETSTATE:
            return static_cast<LRESULT>(m_state.check | (m_state.pushed ? BST_PUSHED : 0) |
                                        (m_state.focused ? BST_FOCUS : 0));
        case BM_SETSTATE:
            SetPushed(wParam != 0);
            return 0;
        case BM_SETSTYLE:
            (void)SetWindowLongA(Window(), GWL_STYLE,
                                 static_cast<LONG>((Style() & ~BS_TYPEMASK) | (wParam & BS_TYPEMASK)));
            if (lParam)
                Redraw();
            return 0;
        case BM_CLICK:
            if (IsWindowEnabled(Window())) {
                (void)SendMessageA(Window(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
                if (Stands())
                    (void)SendMessageA(Window(), WM_LBUTTONUP, 0, 0);
            }
            return 0;
        default:
            return DefWindowProcA(Window(), message, wParam, lParam);
        }
    }

private:
    [[nodiscard]] DWORD Style() const { return static_cast<DWORD>(GetWindowLongA(Window(), GWL_STYLE)); }
    [[nodiscard]] DWORD Type() const { return ButtonType(Style()); }

    [[nodiscard]] LRESULT DialogCode() const
    {
        const DWORD type = Type();
        if (type == BS_GROUPBOX)
            return DLGC_STATIC;
        if (IsRadioType(type))
            return DLGC_BUTTON | DLGC_RADIOBUTTON;
        if (IsCheckType(type))
            return DLGC_BUTTON;
        return DLGC_BUTTON | (type == BS_DEFPUSHBUTTON ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
    }

    [[nodiscard]] bool Inside(LPARAM lParam) const
    {
        RECT client{};
        (void)GetClientRect(Window(), &client);
        const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        return PtInRect(&client, point) != FALSE;
    }

    // Now, not at the next WM_PAINT: the press shows while the mouse is still down.
    void Redraw() const
    {
        (void)InvalidateRect(Window(), nullptr, FALSE);
        (void)UpdateWindow(Window());
    }

    void FocusChanged(bool focused)
    {
        m_state.focused = focused;
        if (!focused && m_state.tracking && GetCapture() == Window())
            (void)ReleaseCapture();
        Redraw();
        if (Style() & BS_NOTIFY)
            (void)CommandParent(focused ? BN_SETFOCUS : BN_KILLFOCUS);
    }

    // The mouse takes the focus; the space bar already has it.
    void Press(PressedBy by)
    {
        if (Type() == BS_GROUPBOX)
            return;
        (void)SetCapture(Window());
        if (by == PressedBy::Mouse && GetFocus() != Window())
            (void)SetFocus(Window());
        // The parent may have destroyed the button as it heard of the focus.
        if (!Stands())
            return;
        m_state.tracking = true;
        (void)SendMessageA(Window(), BM_SETSTATE, TRUE, 0);
    }

    // The button goes up; it clicks when it was still pressed and `click` holds.
    void Release(bool click)
    {
        if (!m_state.tracking)
            return;
        m_state.tracking = false;
        const bool wasPushed = m_state.pushed;
        if (wasPushed)
            (void)SendMessageA(Window(), BM_SETSTATE, FALSE, 0);
        if (!Stands())
            return;
        if (wasPushed && click)
            AutoCheck();
        if (GetCapture() == Window())
            (void)ReleaseCapture();
        if (wasPushed && click)
            (void)CommandParent(BN_CLICKED);
    }

    void AutoCheck()
    {
        switch (Type()) {
        case BS_AUTOCHECKBOX:
            (void)SendMessageA(Window(), BM_SETCHECK, m_state.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
            break;
        case BS_AUTO3STATE:
            (void)SendMessageA(Window(), BM_SETCHECK,
                               m_state.check == BST_INDETERMINATE ? BST_UNCHECKED : m_state.check + 1, 0);
            break;
        case BS_AUTORADIOBUTTON:
            (void)SendMessageA(Window(), BM_SETCHECK, BST_CHECKED, 0);
            break;
        default:
            break;
        }
    }

    void SetCheck(WPARAM check)
    {
        const DWORD type = Type();
        check = std::min(check, MaxCheck(type));
        if (check != m_state.check) {
            if (IsRadioType(type))
                (void)SetWindowLongA(Window(), GWL_STYLE,
                                     static_cast<LONG>(check ? Style() | WS_TABSTOP : Style() & ~WS_TABSTOP));
            m_state.check = check;
            Redraw();
        }
        if (type == BS_AUTORADIOBUTTON && check == BST_CHECKED && (Style() & WS_CHILD))
            UncheckAutoRadioGroup(Window());
    }

    void SetPushed(bool pushed)
    {
        if (pushed == m_state.pushed)
            return;
        m_state.pushed = pushed;
        if ((Style() & BS_NOTIFY) && !CommandParent(pushed ? BN_HILITE : BN_UNHILITE).stands)
            return;
        Redraw();
    }

    ButtonState m_state;
};

} // namespace

void RegisterButtonClass()
{
    (void)RegisterControlInstanceClass<ButtonWindow>(WC_BUTTONA, CS_DBLCLKS);
}
