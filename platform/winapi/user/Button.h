#pragma once

#include "platform/winapi/user/WinUser.h"

// The built-in "Button" window class: push buttons, check boxes, radio buttons, group boxes and
// owner-drawn buttons, in the classic look.

constexpr const char* WC_BUTTONA = "Button";

// Button styles: the type in the low four bits (BS_TYPEMASK), then look and layout flags.
constexpr DWORD BS_PUSHBUTTON = 0x00000000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x00000001;
constexpr DWORD BS_CHECKBOX = 0x00000002;
constexpr DWORD BS_AUTOCHECKBOX = 0x00000003;
constexpr DWORD BS_RADIOBUTTON = 0x00000004;
constexpr DWORD BS_3STATE = 0x00000005;
constexpr DWORD BS_AUTO3STATE = 0x00000006;
constexpr DWORD BS_GROUPBOX = 0x00000007;
constexpr DWORD BS_USERBUTTON = 0x00000008;
constexpr DWORD BS_AUTORADIOBUTTON = 0x00000009;
constexpr DWORD BS_PUSHBOX = 0x0000000A;
constexpr DWORD BS_OWNERDRAW = 0x0000000B;
constexpr DWORD BS_TYPEMASK = 0x0000000F;
constexpr DWORD BS_LEFTTEXT = 0x00000020;
constexpr DWORD BS_RIGHTBUTTON = BS_LEFTTEXT;
constexpr DWORD BS_TEXT = 0x00000000;
constexpr DWORD BS_ICON = 0x00000040;
constexpr DWORD BS_BITMAP = 0x00000080;
constexpr DWORD BS_LEFT = 0x00000100;
constexpr DWORD BS_RIGHT = 0x00000200;
constexpr DWORD BS_CENTER = 0x00000300;
constexpr DWORD BS_TOP = 0x00000400;
constexpr DWORD BS_BOTTOM = 0x00000800;
constexpr DWORD BS_VCENTER = 0x00000C00;
constexpr DWORD BS_PUSHLIKE = 0x00001000;
constexpr DWORD BS_MULTILINE = 0x00002000;
constexpr DWORD BS_NOTIFY = 0x00004000;
constexpr DWORD BS_FLAT = 0x00008000;

constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT BM_GETSTATE = 0x00F2;
constexpr UINT BM_SETSTATE = 0x00F3;
constexpr UINT BM_SETSTYLE = 0x00F4;
constexpr UINT BM_CLICK = 0x00F5;

constexpr WPARAM BST_UNCHECKED = 0x0000;
constexpr WPARAM BST_CHECKED = 0x0001;
constexpr WPARAM BST_INDETERMINATE = 0x0002;
constexpr WPARAM BST_PUSHED = 0x0004;
constexpr WPARAM BST_FOCUS = 0x0008;

// WM_COMMAND notification codes.
constexpr WORD BN_CLICKED = 0;
constexpr WORD BN_PAINT = 1;
constexpr WORD BN_HILITE = 2;
constexpr WORD BN_UNHILITE = 3;
constexpr WORD BN_DISABLE = 4;
constexpr WORD BN_DOUBLECLICKED = 5;
constexpr WORD BN_PUSHED = BN_HILITE;
constexpr WORD BN_UNPUSHED = BN_UNHILITE;
constexpr WORD BN_DBLCLK = BN_DOUBLECLICKED;
constexpr WORD BN_SETFOCUS = 6;
constexpr WORD BN_KILLFOCUS = 7;

// Registers "Button" once for the whole process; safe to call from any thread, any number of times.
void RegisterButtonClass();
