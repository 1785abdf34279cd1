#pragma once

#include "platform/winapi/gdi/WinGdi.h"

// Fonts and their metrics, with Win32 semantics: a bad or stale handle makes the call fail with
// 0/FALSE. Face names go through a substitution table (FontSubstitution.h); sizes are pixels at
// 96 DPI. Text is UTF-8; counts are in bytes, as ANSI counts are in bytes.

constexpr BYTE OUT_TT_ONLY_PRECIS = 7;

struct PANOSE {
    BYTE bFamilyType;
    BYTE bSerifStyle;
    BYTE bWeight;
    BYTE bProportion;
    BYTE bContrast;
    BYTE bStrokeVariation;
    BYTE bArmStyle;
    BYTE bLetterform;
    BYTE bMidline;
    BYTE bXHeight;
};

// The name fields hold offsets from the start of the structure to strings stored after it, as
// in Win32.
struct OUTLINETEXTMETRICA {
    UINT otmSize;
    TEXTMETRICA otmTextMetrics;
    BYTE otmFiller;
    PANOSE otmPanoseNumber;
    UINT otmfsSelection;
    UINT otmfsType;
    int otmsCharSlopeRise;
    int otmsCharSlopeRun;
    int otmItalicAngle;
    UINT otmEMSquare;
    int otmAscent;
    int otmDescent;
    UINT otmLineGap;
    UINT otmsCapEmHeight;
    UINT otmsXHeight;
    RECT otmrcFontBox;
    int otmMacAscent;
    int otmMacDescent;
    UINT otmMacLineGap;
    UINT otmusMinimumPPEM;
    POINT otmptSubscriptSize;
    POINT otmptSubscriptOffset;
    POINT otmptSuperscriptSize;
    POINT otmptSuperscriptOffset;
    UINT otmsStrikeoutSize;
    int otmsStrikeoutPosition;
    int otmsUnderscoreSize;
    int otmsUnderscorePosition;
    LPSTR otmpFamilyName;
    LPSTR otmpFaceName;
    LPSTR otmpStyleName;
    LPSTR otmpFullName;
};
using OUTLINETEXTMETRIC = OUTLINETEXTMETRICA;

[[nodiscard]] HFONT CreateFontIndirectA(const LOGFONTA* logFont);
[[nodiscard]] HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                                DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision,
                                DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR faceName);
inline HFONT CreateFontIndirect(const LOGFONTA* logFont) { return CreateFontIndirectA(logFont); }

// Metrics of the font selected into the DC.
BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics);
inline BOOL GetTextMetrics(HDC dc, TEXTMETRICA* metrics) { return GetTextMetricsA(dc, metrics); }
// A null buffer asks for the size needed; otherwise copies at most `size` bytes and returns the
// bytes copied (0 on failure).
UINT GetOutlineTextMetricsA(HDC dc, UINT size, OUTLINETEXTMETRICA* metrics);
inline UINT GetOutlineTextMetrics(HDC dc, UINT size, OUTLINETEXTMETRICA* metrics)
{
    return GetOutlineTextMetricsA(dc, size, metrics);
}
// The extent of `count` bytes of text: the sum of the advances (plus the DC's character extra),
// and the font's cell height. Exactly the width TextOut moves across.
BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, LPSIZE size);
inline BOOL GetTextExtentPoint32(HDC dc, LPCSTR text, int count, LPSIZE size)
{
    return GetTextExtentPoint32A(dc, text, count, size);
}
