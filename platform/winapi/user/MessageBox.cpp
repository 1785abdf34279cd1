#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/kernel/Threads.h"
#include "platform/winapi/user/MessageBox.h"
#include "platform/winapi/user/MessageBoxParts.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace detail = winapi_user::detail;

// MessageBoxA as a "#32770" dialog window of our own. Its buttons are drawn by the box itself
// (push-button frames, the default one with a black outline and a focus rectangle), so the box
// needs no control classes; the keyboard and the mouse act on them as on Win32's.

namespace {

constexpr const char* DIALOG_CLASS = "#32770";
constexpr int STATE_SLOT = 0;
constexpr int MARGIN = 12;
constexpr int ICON_SIZE = 32;
constexpr int ICON_GAP = 12;
constexpr int BUTTON_WIDTH = 75;
constexpr int BUTTON_HEIGHT = 23;
constexpr int BUTTON_GAP = 6;
constexpr int TEXT_GAP = 14; // between the text and the buttons
constexpr UINT TEXT_FORMAT = DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX | DT_LEFT;
constexpr DWORD BOX_STYLE = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS | DS_MODALFRAME;

MessageBoxHandler& Handler()
{
    static MessageBoxHandler handler;
    return handler;
}

MessageBoxButtonPainter& ButtonPainter()
{
    static MessageBoxButtonPainter painter;
    return painter;
}

struct Button {
    int id;
    std::string label;
    RECT rect{};
};

std::vector<MessageBoxButton> ButtonsFor(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE:
        return {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}};
    case MB_YESNOCANCEL:
        return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO:
        return {{IDYES, "&Yes"}, {IDNO, "&No"}};
    case MB_RETRYCANCEL:
        return {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}};
    default:
        return {{IDOK, "OK"}};
    }
}

// Escape and the close button answer Cancel, or OK in a box with only OK; otherwise nothing.
int EscapeAnswerFor(const std::vector<MessageBoxButton>& buttons)
{
    for (const MessageBoxButton& button : buttons)
        if (button.Id == IDCANCEL)
            return IDCANCEL;
    return buttons.size() == 1 && buttons.front().Id == IDOK ? IDOK : 0;
}

HFONT MessageFont()
{
    static const HFONT font = [] {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof(metrics);
        (void)SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        return CreateFontIndirectA(&metrics.lfMessageFont);
    }();
    return font;
}

// Everything the box shows and what has been answered.
class Box {
public:
    Box(std::string text, UINT icon, const std::vector<MessageBoxButton>& buttons, std::size_t defaultIndex,
        int escapeId)
        : m_text(std::move(text)), m_icon(icon & MB_ICONMASK), m_escapeId(escapeId)
    {
        for (const MessageBoxButton& button : buttons)
            m_buttons.push_back(Button{button.Id, button.Label});
        m_focused = static_cast<int>(std::min(defaultIndex, m_buttons.size() - 1));
    }

    // Lays the box out for its text; the client size.
    SIZE Layout(const std::string& caption);
    void Paint(HDC dc) const;
    LRESULT Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    [[nodiscard]] int Result() const { return m_result; }

private:
    [[nodiscard]] int ButtonAt(POINT client) const;
    void Focus(HWND hwnd, int index);
    void Key(HWND hwnd, WPARAM key);
    void Letter(char letter);
    void PaintButton(HDC dc, std::size_t index) const;

    std::string m_text;
    UINT m_icon;
    int m_escapeId;
    std::vector<Button> m_buttons;
    RECT m_iconRect{};
    RECT m_textRect{};
    int m_focused = 0;
    int m_pressed = -1;       // the button held down by the mouse
    bool m_pressedInside = false;
    int m_result = 0;
};

SIZE Box::Layout(const std::string& caption)
{
    const HDC dc = GetDC(nullptr);
    // Wrap at five eighths of the screen, as the classic box does, less the icon and margins.
    const int iconWidth = m_icon ? ICON_SIZE + ICON_GAP : 0;
    const int wrapWidth = GetSystemMetrics(SM_CXSCREEN) * 5 / 8 - iconWidth - 2 * MARGIN;
    RECT text{0, 0, wrapWidth, 0};
    SIZE captionSize{};
    {
        const SelectionGuard selectFont(dc, MessageFont());
        (void)DrawTextA(dc, m_text.c_str(), static_cast<int>(m_text.size()), &text, TEXT_FORMAT | DT_CALCRECT);
        (void)GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &captionSize);
    }
    (void)ReleaseDC(nullptr, dc);

    const int count = static_cast<int>(m_buttons.size());
    const int buttonsWidth = count * BUTTON_WIDTH + (count - 1) * BUTTON_GAP;
    const int contentHeight = std::max<int>(text.bottom, m_icon ? ICON_SIZE : 0);
    const int width = std::max({iconWidth + static_cast<int>(text.right), buttonsWidth,
                                static_cast<int>(captionSize.cx) + GetSystemMetrics(SM_CXSIZE)}) +
                      2 * MARGIN;
    const int height = MARGIN + contentHeight + TEXT_GAP + BUTTON_HEIGHT + MARGIN;

    m_iconRect = m_icon ? RECT{MARGIN, MARGIN, MARGIN + ICON_SIZE, MARGIN + ICON_SIZE} : RECT{};
    const int textTop = MARGIN + (contentHeight - text.bottom) / 2;
    m_textRect = RECT{MARGIN + iconWidth, textTop, MARGIN + iconWidth + text.right, textTop + text.bottom};
    int x = (width - buttonsWidth) / 2;
    const int y = MARGIN + contentHeight + TEXT_GAP;
    for (Button& button : m_buttons) {
        button.rect = RECT{x, y, x + BUTTON_WIDTH, y + BUTTON_HEIGHT};
        x += BUTTON_WIDTH + BUTTON_GAP;
    }
    return SIZE{width, height};
}

void Box::PaintButton(HDC dc, std::size_t index) const
{
    const Button& button = m_buttons[index];
    const bool focused = static_cast<int>(index) == m_focused;
    const bool down = static_cast<int>(index) == m_pressed && m_pressedInside;
    if (ButtonPainter() && ButtonPainter()(dc, MessageBoxButtonLook{button.rect, button.label, focused, down}))
        return;
    RECT rect = button.rect;
    if (focused) {
        // The default button's black outline.
        (void)FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&rect, -1, -1);
    }
    (void)DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED | DFCS_FLAT : 0));
    RECT label = rect;
    if (down)
        OffsetRect(&label, 1, 1);
    (void)SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    (void)DrawTextA(dc, button.label.c_str(), static_cast<int>(button.label.size()), &label,
                    DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    if (focused) {
        RECT focus = rect;
        InflateRect(&focus, -4, -4);
        (void)DrawFocusRect(dc, &focus);
    }
}

void Box::Paint(HDC dc) const
{
    const SavedDC saved(dc);
    (void)SelectObject(dc, MessageFont());
    (void)SetBkMode(dc, TRANSPARENT);
    detail::DrawMessageBoxIcon(dc, m_iconRect, m_icon);
    (void)SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT text = m_textRect;
    (void)DrawTextA(dc, m_text.c_str(), static_cast<int>(m_text.size()), &text, TEXT_FORMAT);
    for (std::size_t i = 0; i < m_buttons.size(); ++i)
        PaintButton(dc, i);
}

int Box::ButtonAt(POINT client) const
{
    for (std::size_t i = 0; i < m_buttons.size(); ++i)
        if (PtInRect(&m_buttons[i].rect, client))
            return static_cast<int>(i);
    return -1;
}

void Box::Focus(HWND hwnd, int index)
{
    const int count = static_cast<int>(m_buttons.size());
    m_focused = (index % count + count) % count;
    (void)InvalidateRect(hwnd, nullptr, TRUE);
}

void Box::Key(HWND hwnd, WPARAM key)
{
    switch (key) {
    case VK_RETURN:
    case VK_SPACE:
        m_result = m_buttons[static_cast<std::size_t>(m_focused)].id;
        break;
    case VK_ESCAPE:
        m_result = m_escapeId;
        break;
    case VK_TAB:
        Focus(hwnd, m_focused + ((GetKeyState(VK_SHIFT) & 0x8000) ? -1 : 1));
        break;
    case VK_LEFT:
    case VK_UP:
        Focus(hwnd, m_focused - 1);
        break;
    case VK_RIGHT:
    case VK_DOWN:
        Focus(hwnd, m_focused + 1);
        break;
    default:
        break;
    }
}

// A letter answers with the button whose mnemonic it is (Y, N, A, R, I), with or without Alt.
void Box::Letter(char letter)
{
    const int lower = std::tolower(static_cast<unsigned char>(letter));
    for (const Button& button : m_buttons) {
        const auto amp = button.label.find('&');
        if (amp != std::string::npos && amp + 1 < button.label.size() &&
            std::tolower(static_cast<unsigned char>(button.label[amp + 1])) == lower) {
            m_result = button.id;
            return;
        }
    }
}

LRESULT Box::Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (const HDC dc = BeginPaint(hwnd, &ps))
            Paint(dc);
        (void)EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        Key(hwnd, wParam);
        return message == WM_SYSKEYDOWN ? DefWindowProcA(hwnd, message, wParam, lParam) : 0;
    case WM_CHAR:
    case WM_SYSCHAR:
        if (wParam > ' ' && wParam < 0x80)
            Letter(static_cast<char>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        m_pressed = ButtonAt(point);
        m_pressedInside = m_pressed >= 0;
        if (m_pressed >= 0) {
            (void)SetCapture(hwnd);
            Focus(hwnd, m_pressed);
        }
        return 0;
    case WM_MOUSEMOVE:
        if (m_pressed >= 0 && m_pressedInside != (ButtonAt(point) == m_pressed)) {
            m_pressedInside = !m_pressedInside;
            (void)InvalidateRect(hwnd, &m_buttons[static_cast<std::size_t>(m_pressed)].rect, TRUE);
        }
        return 0;
    case WM_LBUTTONUP:
        if (m_pressed >= 0 && ButtonAt(point) == m_pressed)
            m_result = m_buttons[static_cast<std::size_t>(m_pressed)].id;
        m_pressed = -1;
        if (GetCapture() == hwnd)
            (void)ReleaseCapture();
        (void)InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_CLOSE:
        m_result = m_escapeId;
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

LRESULT DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        (void)SetWindowLongPtrA(hwnd, STATE_SLOT, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
    }
    auto* box = reinterpret_cast<Box*>(GetWindowLongPtrA(hwnd, STATE_SLOT));
    if (!box || message == WM_NCCREATE || message == WM_NCDESTROY)
        return DefWindowProcA(hwnd, message, wParam, lParam);
    return box->Handle(hwnd, message, wParam, lParam);
}

bool RegisterDialogClass()
{
    static const bool registered = [] {
        WNDCLASSA wc{};
        wc.style = CS_SAVEBITS | CS_DBLCLKS;
        wc.lpfnWndProc = DialogProc;
        wc.cbWndExtra = sizeof(LONG_PTR);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
        wc.lpszClassName = DIALOG_CLASS;
        return RegisterClassA(&wc) != 0;
    }();
    return registered;
}

// Centred on the owner, or on the screen; kept on the screen.
POINT PlaceBox(HWND owner, SIZE size)
{
    RECT around{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner && IsWindowVisible(owner) && !IsIconic(owner))
        (void)GetWindowRect(owner, &around);
    const int x = around.left + (around.right - around.left - size.cx) / 2;
    const int y = around.top + (around.bottom - around.top - size.cy) / 2;
    return POINT{std::clamp<LONG>(x, 0, std::max<LONG>(0, GetSystemMetrics(SM_CXSCREEN) - size.cx)),
                 std::clamp<LONG>(y, 0, std::max<LONG>(0, GetSystemMetrics(SM_CYSCREEN) - size.cy))};
}

// The windows the box disables, enabled again when it goes (even when the loop ends early).
class DisabledWindows {
public:
    DisabledWindows(HWND owner, UINT type)
    {
        if (owner)
            Disable(owner);
        else if (type & MB_TASKMODAL)
            (void)EnumThreadWindows(GetCurrentThreadId(), &DisabledWindows::DisableOne, reinterpret_cast<LPARAM>(this));
    }
    ~DisabledWindows() { Restore(); }
    void Restore()
    {
        for (HWND hwnd : m_windows)
            (void)EnableWindow(hwnd, TRUE);
        m_windows.clear();
    }
    DisabledWindows(const DisabledWindows&) = delete;
    DisabledWindows& operator=(const DisabledWindows&) = delete;

private:
    static BOOL DisableOne(HWND hwnd, LPARAM self)
    {
        if (IsWindowVisible(hwnd))
            reinterpret_cast<DisabledWindows*>(self)->Disable(hwnd);
        return TRUE;
    }
    void Disable(HWND hwnd)
    {
        if (IsWindowEnabled(hwnd)) {
            (void)EnableWindow(hwnd, FALSE);
            m_windows.push_back(hwnd);
        }
    }

    std::vector<HWND> m_windows;
};

bool IsKeyboard(UINT message)
{
    return message >= WM_KEYFIRST && message <= WM_KEYLAST;
}

int RunBox(HWND box, const Box& state)
{
    MSG msg{};
    while (!state.Result() && IsWindow(box)) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage(static_cast<int>(msg.wParam)); // the outer loop must end too
            return 0;
        }
        if (CallMsgFilterA(&msg, MSGF_DIALOGBOX))
            continue;
        // The box has the keyboard, whichever window the key was meant for.
        if (IsKeyboard(msg.message) && msg.hwnd != box && !IsChild(box, msg.hwnd))
            msg.hwnd = box;
        (void)TranslateMessage(&msg);
        (void)DispatchMessageA(&msg);
    }
    return state.Result();
}

int ShowBox(HWND hWnd, const std::string& caption, UINT uType, Box& state)
{
    if (hWnd && !IsWindow(hWnd))
        return 0;
    if (!RegisterDialogClass())
        return 0;
    (void)MessageBeep(uType & MB_ICONMASK);
    const HWND owner = hWnd ? GetAncestor(hWnd, GA_ROOT) : nullptr;
    const SIZE client = state.Layout(caption);
    const DWORD exStyle = WS_EX_DLGMODALFRAME | ((uType & (MB_TOPMOST | MB_SYSTEMMODAL)) ? WS_EX_TOPMOST : 0);
    RECT frame{0, 0, client.cx, client.cy};
    (void)AdjustWindowRectEx(&frame, BOX_STYLE, FALSE, exStyle);
    const SIZE size{frame.right - frame.left, frame.bottom - frame.top};
    const POINT at = PlaceBox(owner, size);

    DisabledWindows disabled(owner, uType);
    const HWND box = CreateWindowExA(exStyle, DIALOG_CLASS, caption.c_str(), BOX_STYLE, at.x, at.y, size.cx, size.cy,
                                     owner, nullptr, nullptr, &state);
    if (!box)
        return 0;
    (void)ShowWindow(box, SW_SHOW);
    if (uType & MB_SETFOREGROUND)
        (void)SetForegroundWindow(box);
    (void)SetFocus(box);
    const int result = RunBox(box, state);
    // The owner is enabled again before the box goes, so that the activation returns to it.
    const bool wasActive = GetActiveWindow() == box;
    (void)SetWindowLongPtrA(box, STATE_SLOT, 0);
    disabled.Restore();
    (void)DestroyWindow(box);
    if (owner && wasActive && IsWindow(owner))
        (void)SetActiveWindow(owner);
    return result;
}

} // namespace

void SetMessageBoxHandler(MessageBoxHandler handler)
{
    Handler() = std::move(handler);
}

void SetMessageBoxButtonPainter(MessageBoxButtonPainter painter)
{
    ButtonPainter() = std::move(painter);
}

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    const std::string text = lpText ? lpText : "";
    const std::string caption = lpCaption ? lpCaption : "Error";
    if (Handler())
        return Handler()(hWnd, text, caption, uType);
    const std::vector<MessageBoxButton> buttons = ButtonsFor(uType);
    Box state(text, uType, buttons, (uType & MB_DEFMASK) >> 8, EscapeAnswerFor(buttons));
    return ShowBox(hWnd, caption, uType, state);
}

int MessageBoxWithButtons(HWND owner, const std::string& text, const std::string& caption, UINT style,
                          const std::vector<MessageBoxButton>& buttons, std::size_t defaultIndex, int escapeId)
{
    if (buttons.empty())
        return 0;
    Box state(text, style, buttons, defaultIndex, escapeId);
    return ShowBox(owner, caption, style, state);
}
