#pragma once

#include "platform/winapi/gdi/Font.h"

// Text output with Win32 semantics, in the DC's selected font, text colour, background mode and
// colour, text alignment and clip; coordinates are logical. Text is UTF-8 and every count is in
// bytes (-1 where Win32 allows it: up to the terminating zero).

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
inline BOOL TextOut(HDC dc, int x, int y, LPCSTR text, int count) { return TextOutA(dc, x, y, text, count); }
// `dx`, when given, holds one advance per byte (a character advances by the sum over its bytes).
BOOL ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count, const int* dx);
inline BOOL ExtTextOut(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count, const int* dx)
{
    return ExtTextOutA(dc, x, y, options, rect, text, count, dx);
}

constexpr UINT DT_TOP = 0x00000000;
constexpr UINT DT_LEFT = 0x00000000;
constexpr UINT DT_CENTER = 0x00000001;
constexpr UINT DT_RIGHT = 0x00000002;
constexpr UINT DT_VCENTER = 0x00000004;
constexpr UINT DT_BOTTOM = 0x00000008;
constexpr UINT DT_WORDBREAK = 0x00000010;
constexpr UINT DT_SINGLELINE = 0x00000020;
constexpr UINT DT_EXPANDTABS = 0x00000040;
constexpr UINT DT_TABSTOP = 0x00000080;
constexpr UINT DT_NOCLIP = 0x00000100;
constexpr UINT DT_EXTERNALLEADING = 0x00000200;
constexpr UINT DT_CALCRECT = 0x00000400;
constexpr UINT DT_NOPREFIX = 0x00000800;
constexpr UINT DT_INTERNAL = 0x00001000;
constexpr UINT DT_EDITCONTROL = 0x00002000;
constexpr UINT DT_PATH_ELLIPSIS = 0x00004000;
constexpr UINT DT_END_ELLIPSIS = 0x00008000;
constexpr UINT DT_MODIFYSTRING = 0x00010000;
constexpr UINT DT_RTLREADING = 0x00020000;
constexpr UINT DT_WORD_ELLIPSIS = 0x00040000;
constexpr UINT DT_NOFULLWIDTHCHARBREAK = 0x00080000;
constexpr UINT DT_HIDEPREFIX = 0x00100000;
constexpr UINT DT_PREFIXONLY = 0x00200000;

struct DRAWTEXTPARAMS {
    UINT cbSize;
    int iTabLength;   // in average character widths
    int iLeftMargin;  // logical units
    int iRightMargin;
    UINT uiLengthDrawn; // out: bytes of the text processed
};
using LPDRAWTEXTPARAMS = DRAWTEXTPARAMS*;

// Returns the height of the text (with DT_VCENTER or DT_BOTTOM, the offset from the rectangle's
// top to the bottom of the text), 0 on failure. With DT_CALCRECT nothing is drawn and the
// rectangle is sized to the text. With DT_MODIFYSTRING the shortened text is written back, but
// never beyond the `count` bytes given (nor beyond the terminator when count is -1).
int DrawTextA(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format);
int DrawTextExA(HDC dc, LPSTR text, int count, LPRECT rect, UINT format, LPDRAWTEXTPARAMS params);
// The wide forms take UTF-16; counts, DT_MODIFYSTRING and uiLengthDrawn are in UTF-16 units.
int DrawTextW(HDC dc, const WCHAR* text, int count, LPRECT rect, UINT format);
int DrawTextExW(HDC dc, WCHAR* text, int count, LPRECT rect, UINT format, LPDRAWTEXTPARAMS params);
inline int DrawText(HDC dc, LPCSTR text, int count, LPRECT rect, UINT format)
{
    return DrawTextA(dc, text, count, rect, format);
}
inline int DrawTextEx(HDC dc, LPSTR text, int count, LPRECT rect, UINT format, LPDRAWTEXTPARAMS params)
{
    return DrawTextExA(dc, text, count, rect, format, params);
}
