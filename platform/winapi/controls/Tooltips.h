#pragma once

#include "platform/winapi/controls/CommCtrl.h"

// "tooltips_class32": a popup that names the tool under the pointer. Tools are rectangles of a
// window (or whole windows, TTF_IDISHWND) with a text or LPSTR_TEXTCALLBACKA, in which case the
// tool's window is asked with TTN_GETDISPINFOA each time the tip shows. The tip comes up after the
// initial delay the pointer spends over a tool (mouse messages reach the control by TTM_RELAYEVENT
// or, with TTF_SUBCLASS, by subclassing the tool's window) and goes after the auto-pop delay, when
// the pointer leaves the tool, at a click, or on TTM_POP. A TTF_TRACK tool shows only while
// tracking is on, at the position TTM_TRACKPOSITION gives (screen coordinates). The tool's window
// hears TTN_SHOW and TTN_POP. The tip never takes the activation and lets the mouse through.

inline constexpr char TOOLTIPS_CLASSA[] = "tooltips_class32";

constexpr DWORD TTS_ALWAYSTIP = 0x01;
constexpr DWORD TTS_NOPREFIX = 0x02;

constexpr UINT TTF_IDISHWND = 0x0001;
constexpr UINT TTF_CENTERTIP = 0x0002;
constexpr UINT TTF_SUBCLASS = 0x0010;
constexpr UINT TTF_TRACK = 0x0020;
constexpr UINT TTF_ABSOLUTE = 0x0080;
constexpr UINT TTF_TRANSPARENT = 0x0100;

constexpr UINT TTM_ACTIVATE = WM_USER + 1;
constexpr UINT TTM_SETDELAYTIME = WM_USER + 3;
constexpr UINT TTM_ADDTOOLA = WM_USER + 4;
constexpr UINT TTM_DELTOOLA = WM_USER + 5;
constexpr UINT TTM_NEWTOOLRECTA = WM_USER + 6;
constexpr UINT TTM_RELAYEVENT = WM_USER + 7;
constexpr UINT TTM_UPDATETIPTEXTA = WM_USER + 12;
constexpr UINT TTM_GETTOOLCOUNT = WM_USER + 13;
constexpr UINT TTM_TRACKACTIVATE = WM_USER + 17;
constexpr UINT TTM_TRACKPOSITION = WM_USER + 18;
constexpr UINT TTM_SETMAXTIPWIDTH = WM_USER + 24;
constexpr UINT TTM_GETMAXTIPWIDTH = WM_USER + 25;
constexpr UINT TTM_POP = WM_USER + 28;
constexpr UINT TTM_ADDTOOL = TTM_ADDTOOLA;
constexpr UINT TTM_DELTOOL = TTM_DELTOOLA;
constexpr UINT TTM_NEWTOOLRECT = TTM_NEWTOOLRECTA;
constexpr UINT TTM_UPDATETIPTEXT = TTM_UPDATETIPTEXTA;

// TTM_SETDELAYTIME's wParam.
constexpr WPARAM TTDT_AUTOMATIC = 0;
constexpr WPARAM TTDT_RESHOW = 1;
constexpr WPARAM TTDT_AUTOPOP = 2;
constexpr WPARAM TTDT_INITIAL = 3;

constexpr UINT TTN_FIRST = 0U - 520U;
constexpr UINT TTN_GETDISPINFOA = TTN_FIRST - 0;
constexpr UINT TTN_SHOW = TTN_FIRST - 1;
constexpr UINT TTN_POP = TTN_FIRST - 2;
constexpr UINT TTN_GETDISPINFO = TTN_GETDISPINFOA;
constexpr UINT TTN_NEEDTEXTA = TTN_GETDISPINFOA;
constexpr UINT TTN_NEEDTEXT = TTN_NEEDTEXTA;

inline const LPSTR LPSTR_TEXTCALLBACKA = reinterpret_cast<LPSTR>(static_cast<INT_PTR>(-1));

struct TOOLINFOA {
    UINT cbSize;
    UINT uFlags;
    HWND hwnd;
    UINT_PTR uId;
    RECT rect;
    HINSTANCE hinst;
    LPSTR lpszText;
    LPARAM lParam;
    void* lpReserved;
};
using TOOLINFO = TOOLINFOA;
using LPTOOLINFOA = TOOLINFOA*;

// TTN_GETDISPINFOA: the tool's window sets lpszText or fills szText.
struct NMTTDISPINFOA {
    NMHDR hdr;
    LPSTR lpszText;
    char szText[80];
    HINSTANCE hinst;
    UINT uFlags;
    LPARAM lParam;
};
using NMTTDISPINFO = NMTTDISPINFOA;
using LPNMTTDISPINFOA = NMTTDISPINFOA*;

// Registers the class once for the process; safe from any thread. False if it cannot.
bool RegisterTooltipsClass();
