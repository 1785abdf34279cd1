#pragma once

#include "platform/winapi/user/WinUser.h"

// The built-in "ComboBox" window class: a selection field (an "Edit" child, or a drawn field for
// CBS_DROPDOWNLIST) with a list, which is a child for CBS_SIMPLE and otherwise a "ComboLBox"
// pop-up that drops down without taking the activation or the focus.

constexpr DWORD CBS_SIMPLE = 0x0001;
constexpr DWORD CBS_DROPDOWN = 0x0002;
constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_OWNERDRAWFIXED = 0x0010;
constexpr DWORD CBS_OWNERDRAWVARIABLE = 0x0020;
constexpr DWORD CBS_AUTOHSCROLL = 0x0040;
constexpr DWORD CBS_OEMCONVERT = 0x0080;
constexpr DWORD CBS_SORT = 0x0100;
constexpr DWORD CBS_HASSTRINGS = 0x0200;
constexpr DWORD CBS_NOINTEGRALHEIGHT = 0x0400;
constexpr DWORD CBS_DISABLENOSCROLL = 0x0800;
constexpr DWORD CBS_UPPERCASE = 0x2000;
constexpr DWORD CBS_LOWERCASE = 0x4000;

constexpr UINT CB_GETEDITSEL = 0x0140;
constexpr UINT CB_LIMITTEXT = 0x0141;
constexpr UINT CB_SETEDITSEL = 0x0142;
constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_DELETESTRING = 0x0144;
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_GETLBTEXT = 0x0148;
constexpr UINT CB_GETLBTEXTLEN = 0x0149;
constexpr UINT CB_INSERTSTRING = 0x014A;
constexpr UINT CB_RESETCONTENT = 0x014B;
constexpr UINT CB_FINDSTRING = 0x014C;
constexpr UINT CB_SELECTSTRING = 0x014D;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_SHOWDROPDOWN = 0x014F;
constexpr UINT CB_GETITEMDATA = 0x0150;
constexpr UINT CB_SETITEMDATA = 0x0151;
constexpr UINT CB_GETDROPPEDCONTROLRECT = 0x0152;
constexpr UINT CB_SETITEMHEIGHT = 0x0153;
constexpr UINT CB_GETITEMHEIGHT = 0x0154;
constexpr UINT CB_SETEXTENDEDUI = 0x0155;
constexpr UINT CB_GETEXTENDEDUI = 0x0156;
constexpr UINT CB_GETDROPPEDSTATE = 0x0157;
constexpr UINT CB_FINDSTRINGEXACT = 0x0158;
constexpr UINT CB_GETTOPINDEX = 0x015B;
constexpr UINT CB_SETTOPINDEX = 0x015C;
constexpr UINT CB_GETDROPPEDWIDTH = 0x015F;
constexpr UINT CB_SETDROPPEDWIDTH = 0x0160;
constexpr UINT CB_GETCOMBOBOXINFO = 0x0164;
// How many items the dropped list shows before it scrolls (30 unless set).
constexpr UINT CB_SETMINVISIBLE = 0x1701;
constexpr UINT CB_GETMINVISIBLE = 0x1702;

constexpr LRESULT CB_OKAY = 0;
constexpr LRESULT CB_ERR = -1;
constexpr LRESULT CB_ERRSPACE = -2;

constexpr WORD CBN_SELCHANGE = 1;
constexpr WORD CBN_DBLCLK = 2;
constexpr WORD CBN_SETFOCUS = 3;
constexpr WORD CBN_KILLFOCUS = 4;
constexpr WORD CBN_EDITCHANGE = 5;
constexpr WORD CBN_EDITUPDATE = 6;
constexpr WORD CBN_DROPDOWN = 7;
constexpr WORD CBN_CLOSEUP = 8;
constexpr WORD CBN_SELENDOK = 9;
constexpr WORD CBN_SELENDCANCEL = 10;

// Owner-drawn selection field of a drop-down list (DRAWITEMSTRUCT.itemState).
constexpr UINT ODS_COMBOBOXEDIT = 0x1000;

// The ids of a combo's parts, as Win32 numbers them.
constexpr int COMBO_LIST_ID = 1000;
constexpr int COMBO_EDIT_ID = 1001;

struct COMBOBOXINFO {
    DWORD cbSize;
    RECT rcItem;      // the selection field, in the combo's client coordinates
    RECT rcButton;    // the drop button (empty for CBS_SIMPLE)
    DWORD stateButton;  // 0, STATE_SYSTEM_PRESSED or STATE_SYSTEM_INVISIBLE
    HWND hwndCombo;
    HWND hwndItem;    // the edit, or the combo itself for a drop-down list
    HWND hwndList;
};
using PCOMBOBOXINFO = COMBOBOXINFO*;

// FALSE (ERROR_INVALID_PARAMETER) unless cbSize is sizeof(COMBOBOXINFO) and the window is a combo.
BOOL GetComboBoxInfo(HWND hwndCombo, PCOMBOBOXINFO pcbi);

// Registers "ComboBox", its "ComboLBox" and the "Edit" it uses, once (any thread, any number of
// times).
void RegisterComboBoxClass();
