#include "platform/winapi/user/MessageNames.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

namespace {

struct NamedMessage {
    UINT message;
    std::string_view name;
};

// Writing each name once keeps a name from ever disagreeing with its number.
#define NAMED(message) NamedMessage{message, #message}

// In ascending order of number, for the binary search; the aliases (WM_KEYFIRST...) and the
// bases (WM_USER, WM_APP) are left out, so that a number has one name.
constexpr NamedMessage MessageTable[] = {
    NAMED(WM_NULL),
    NAMED(WM_CREATE),
    NAMED(WM_DESTROY),
    NAMED(WM_MOVE),
    NAMED(WM_SIZE),
    NAMED(WM_ACTIVATE),
    NAMED(WM_SETFOCUS),
    NAMED(WM_KILLFOCUS),
    NAMED(WM_ENABLE),
    NAMED(WM_SETREDRAW),
    NAMED(WM_SETTEXT),
    NAMED(WM_GETTEXT),
    NAMED(WM_GETTEXTLENGTH),
    NAMED(WM_PAINT),
    NAMED(WM_CLOSE),
    NAMED(WM_QUIT),
    NAMED(WM_QUERYOPEN),
    NAMED(WM_ERASEBKGND),
    NAMED(WM_SYSCOLORCHANGE),
    NAMED(WM_SHOWWINDOW),
    NAMED(WM_SETTINGCHANGE),
    NAMED(WM_ACTIVATEAPP),
    NAMED(WM_CANCELMODE),
    NAMED(WM_SETCURSOR),
    NAMED(WM_MOUSEACTIVATE),
    NAMED(WM_CHILDACTIVATE),
    NAMED(WM_GETMINMAXINFO),
    NAMED(WM_DRAWITEM),
    NAMED(WM_MEASUREITEM),
    NAMED(WM_SETFONT),
    NAMED(WM_GETFONT),
    NAMED(WM_WINDOWPOSCHANGING),
    NAMED(WM_WINDOWPOSCHANGED),
    NAMED(WM_NOTIFY),
    NAMED(WM_CONTEXTMENU),
    NAMED(WM_STYLECHANGING),
    NAMED(WM_STYLECHANGED),
    NAMED(WM_GETICON),
    NAMED(WM_SETICON),
    NAMED(WM_NCCREATE),
    NAMED(WM_NCDESTROY),
    NAMED(WM_NCCALCSIZE),
    NAMED(WM_NCHITTEST),
    NAMED(WM_NCPAINT),
    NAMED(WM_NCACTIVATE),
    NAMED(WM_GETDLGCODE),
    NAMED(WM_NCMOUSEMOVE),
    NAMED(WM_NCLBUTTONDOWN),
    NAMED(WM_NCLBUTTONUP),
    NAMED(WM_NCLBUTTONDBLCLK),
    NAMED(WM_NCRBUTTONDOWN),
    NAMED(WM_NCRBUTTONUP),
    NAMED(WM_NCRBUTTONDBLCLK),
    NAMED(WM_NCMBUTTONDOWN),
    NAMED(WM_NCMBUTTONUP),
    NAMED(WM_NCMBUTTONDBLCLK),
    NAMED(SBM_SETPOS),
    NAMED(SBM_GETPOS),
    NAMED(SBM_SETRANGE),
    NAMED(SBM_GETRANGE),
    NAMED(SBM_ENABLE_ARROWS),
    NAMED(SBM_SETRANGEREDRAW),
    NAMED(SBM_SETSCROLLINFO),
    NAMED(SBM_GETSCROLLINFO),
    NAMED(SBM_GETSCROLLBARINFO),
    NAMED(WM_KEYDOWN),
    NAMED(WM_KEYUP),
    NAMED(WM_CHAR),
    NAMED(WM_DEADCHAR),
    NAMED(WM_SYSKEYDOWN),
    NAMED(WM_SYSKEYUP),
    NAMED(WM_SYSCHAR),
    NAMED(WM_SYSDEADCHAR),
    NAMED(WM_IME_STARTCOMPOSITION),
    NAMED(WM_INITDIALOG),
    NAMED(WM_COMMAND),
    NAMED(WM_SYSCOMMAND),
    NAMED(WM_TIMER),
    NAMED(WM_HSCROLL),
    NAMED(WM_VSCROLL),
    NAMED(WM_INITMENU),
    NAMED(WM_INITMENUPOPUP),
    NAMED(WM_MENUSELECT),
    NAMED(WM_ENTERIDLE),
    NAMED(WM_UNINITMENUPOPUP),
    NAMED(WM_CTLCOLORMSGBOX),
    NAMED(WM_CTLCOLOREDIT),
    NAMED(WM_CTLCOLORLISTBOX),
    NAMED(WM_CTLCOLORBTN),
    NAMED(WM_CTLCOLORDLG),
    NAMED(WM_CTLCOLORSCROLLBAR),
    NAMED(WM_CTLCOLORSTATIC),
    NAMED(WM_MOUSEMOVE),
    NAMED(WM_LBUTTONDOWN),
    NAMED(WM_LBUTTONUP),
    NAMED(WM_LBUTTONDBLCLK),
    NAMED(WM_RBUTTONDOWN),
    NAMED(WM_RBUTTONUP),
    NAMED(WM_RBUTTONDBLCLK),
    NAMED(WM_MBUTTONDOWN),
    NAMED(WM_MBUTTONUP),
    NAMED(WM_MBUTTONDBLCLK),
    NAMED(WM_MOUSEWHEEL),
    NAMED(WM_PARENTNOTIFY),
    NAMED(WM_ENTERMENULOOP),
    NAMED(WM_EXITMENULOOP),
    NAMED(WM_SIZING),
    NAMED(WM_CAPTURECHANGED),
    NAMED(WM_MOVING),
    NAMED(WM_ENTERSIZEMOVE),
    NAMED(WM_EXITSIZEMOVE),
    NAMED(WM_MOUSEHOVER),
    NAMED(WM_NCMOUSELEAVE),
    NAMED(WM_MOUSELEAVE),
    NAMED(WM_CUT),
    NAMED(WM_COPY),
    NAMED(WM_PASTE),
    NAMED(WM_CLEAR),
    NAMED(WM_UNDO),
    NAMED(WM_PRINT),
    NAMED(WM_PRINTCLIENT),
    NAMED(WM_THEMECHANGED),
};

#undef NAMED

constexpr bool StrictlyAscending()
{
    return std::adjacent_find(std::begin(MessageTable), std::end(MessageTable),
                              [](const NamedMessage& a, const NamedMessage& b) { return a.message >= b.message; }) ==
           std::end(MessageTable);
}
static_assert(StrictlyAscending(), "MessageTable must list each number once, in ascending order");

} // namespace

std::string MessageName(UINT message)
{
    const auto found = std::lower_bound(std::begin(MessageTable), std::end(MessageTable), message,
                                        [](const NamedMessage& entry, UINT value) { return entry.message < value; });
    if (found != std::end(MessageTable) && found->message == message)
        return std::string(found->name);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%04X", message);
    return buffer;
}
