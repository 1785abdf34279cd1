#include "platform/winapi/user/MessageSources.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <mutex>
#include <optional>

namespace detail = winapi_user::detail;

// Key and button state as Win32 keeps it: the asynchronous state follows the input as it
// arrives, each thread's own state follows the input messages it has read, so a handler sees the
// modifiers as they were when its message was made. Also the last message's time and position.

namespace {

constexpr BYTE KEY_DOWN = 0x80;
constexpr BYTE KEY_TOGGLED = 0x01;

std::mutex g_asyncMutex;
std::array<BYTE, 256> g_asyncState{};
std::atomic<LONG> g_cursorX{0};
std::atomic<LONG> g_cursorY{0};

struct ThreadInputState {
    std::array<BYTE, 256> keys{};
    MSG lastMessage{};
    detail::InputMessage lastKey;
};

thread_local ThreadInputState t_input;

void Press(std::array<BYTE, 256>& state, unsigned key, bool down)
{
    if (key >= state.size())
        return;
    if (down && !(state[key] & KEY_DOWN))
        state[key] ^= KEY_TOGGLED;
    state[key] = static_cast<BYTE>(down ? state[key] | KEY_DOWN : state[key] & ~KEY_DOWN);
}

// The generic modifier follows either of its sided keys.
void PressWithGeneric(std::array<BYTE, 256>& state, unsigned key, bool down)
{
    Press(state, key, down);
    if (key == VK_LSHIFT || key == VK_RSHIFT)
        Press(state, VK_SHIFT, down);
    else if (key == VK_LCONTROL || key == VK_RCONTROL)
        Press(state, VK_CONTROL, down);
    else if (key == VK_LMENU || key == VK_RMENU)
        Press(state, VK_MENU, down);
}

struct ButtonChange {
    unsigned key;
    bool down;
};

std::optional<ButtonChange> ButtonChangeOf(UINT message)
{
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        return ButtonChange{VK_LBUTTON, true};
    case WM_LBUTTONUP:
        return ButtonChange{VK_LBUTTON, false};
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        return ButtonChange{VK_RBUTTON, true};
    case WM_RBUTTONUP:
        return ButtonChange{VK_RBUTTON, false};
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        return ButtonChange{VK_MBUTTON, true};
    case WM_MBUTTONUP:
        return ButtonChange{VK_MBUTTON, false};
    default:
        return std::nullopt;
    }
}

bool IsKeyDownMessage(UINT message)
{
    return message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
}

bool IsKeyMessage(UINT message)
{
    return IsKeyDownMessage(message) || message == WM_KEYUP || message == WM_SYSKEYUP;
}

bool SameMessage(const MSG& a, const MSG& b)
{
    return a.hwnd == b.hwnd && a.message == b.message && a.wParam == b.wParam && a.lParam == b.lParam &&
           a.time == b.time;
}

// What a key types on a US layout when the display gave no text (injected keys).
std::string TextOfKey(unsigned key, const std::array<BYTE, 256>& state)
{
    const bool shift = state[VK_SHIFT] & KEY_DOWN;
    const bool caps = state[VK_CAPITAL] & KEY_TOGGLED;
    if (state[VK_CONTROL] & KEY_DOWN) {
        if (key >= 'A' && key <= 'Z')
            return std::string(1, static_cast<char>(key - 'A' + 1));
        return {};
    }
    if (key >= 'A' && key <= 'Z')
        return std::string(1, static_cast<char>(shift != caps ? key : std::tolower(static_cast<int>(key))));
    if (key >= '0' && key <= '9' && !shift)
        return std::string(1, static_cast<char>(key));
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        return std::string(1, static_cast<char>('0' + key - VK_NUMPAD0));
    switch (key) {
    case VK_SPACE:
        return " ";
    case VK_RETURN:
        return "\r";
    case VK_TAB:
        return "\t";
    case VK_BACK:
        return "\b";
    case VK_ESCAPE:
        return "\x1B";
    default:
        return {};
    }
}

} // namespace

namespace winapi_user::detail {

void NoteAsyncKey(unsigned virtualKey, bool down)
{
    std::lock_guard lock(g_asyncMutex);
    PressWithGeneric(g_asyncState, virtualKey, down);
}

void NoteCursorPos(POINT screenPoint)
{
    g_cursorX = screenPoint.x;
    g_cursorY = screenPoint.y;
}

void NoteInputRetrieved(const InputMessage& input)
{
    const MSG& msg = input.msg;
    if (IsKeyMessage(msg.message)) {
        PressWithGeneric(t_input.keys, static_cast<unsigned>(msg.wParam), IsKeyDownMessage(msg.message));
        if (IsKeyDownMessage(msg.message))
            t_input.lastKey = input;
    } else if (const auto change = ButtonChangeOf(msg.message)) {
        Press(t_input.keys, change->key, change->down);
    }
}

void NoteMessageRetrieved(const MSG& msg)
{
    t_input.lastMessage = msg;
}

} // namespace winapi_user::detail

SHORT GetKeyState(int nVirtKey)
{
    if (nVirtKey < 0 || nVirtKey > 255)
        return 0;
    const BYTE state = t_input.keys[static_cast<std::size_t>(nVirtKey)];
    return static_cast<SHORT>(((state & KEY_DOWN) ? 0x8000 : 0) | (state & KEY_TOGGLED));
}

SHORT GetAsyncKeyState(int vKey)
{
    if (vKey < 0 || vKey > 255)
        return 0;
    std::lock_guard lock(g_asyncMutex);
    return static_cast<SHORT>((g_asyncState[static_cast<std::size_t>(vKey)] & KEY_DOWN) ? 0x8000 : 0);
}

BOOL GetKeyboardState(BYTE* lpKeyState)
{
    if (!lpKeyState) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::copy(t_input.keys.begin(), t_input.keys.end(), lpKeyState);
    return TRUE;
}

BOOL GetCursorPos(LPPOINT lpPoint)
{
    if (!lpPoint) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *lpPoint = POINT{g_cursorX.load(), g_cursorY.load()};
    return TRUE;
}

LONG GetMessageTime()
{
    return static_cast<LONG>(t_input.lastMessage.time);
}

DWORD GetMessagePos()
{
    const POINT& pt = t_input.lastMessage.pt;
    return static_cast<DWORD>(MAKELONG(static_cast<WORD>(pt.x), static_cast<WORD>(pt.y)));
}

BOOL TranslateMessage(const MSG* lpMsg)
{
    if (!lpMsg || !IsKeyMessage(lpMsg->message))
        return FALSE;
    if (!IsKeyDownMessage(lpMsg->message))
        return TRUE;
    const std::string text = SameMessage(t_input.lastKey.msg, *lpMsg)
                                 ? t_input.lastKey.text
                                 : TextOfKey(static_cast<unsigned>(lpMsg->wParam), t_input.keys);
    const UINT charMessage = lpMsg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    // A character of several bytes arrives as several WM_CHARs, as multi-byte characters do in
    // the ANSI messages.
    for (const char byte : text)
        (void)PostMessageA(lpMsg->hwnd, charMessage, static_cast<BYTE>(byte), lpMsg->lParam);
    return TRUE;
}
