#pragma once

#include "platform/classlib/core/Colors.h"
#include "platform/winapi/gdi/WinGdi.h"
#include "platform/winapi/user/WinUser.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

class TBitmap;
using TRect = RECT;

// Small routines the skin engine uses to derive images from a skin, and its text and optional
// system functions. Pixel routines work on 24-bit rows (blue, green, red).

// Exactly magenta pixels take `colour`; the bitmap becomes 24 bits a pixel.
void ReplaceKeyColour(TBitmap& bitmap, TColor colour);
// Left-right mirror image; the bitmap becomes 24 bits a pixel.
void MirrorBitmap(TBitmap& bitmap);
// Top-bottom flip; the bitmap becomes 24 bits a pixel.
void FlipBitmap(TBitmap& bitmap);
// A quarter turn counter-clockwise (left) or clockwise (right); the result has 24 bits a pixel.
void RotateLeft(TBitmap& bitmap);
void RotateRight(TBitmap& bitmap);

// Mixes two colours (system colours resolved first): `share` is the percentage of c1 below 100
// and its per-mille share from 100 up. The result is an RGB colour.
[[nodiscard]] TColor BlendColors(TColor c1, TColor c2, int share);

// A gradient of RGB colours from `start` to `end`, held in one of GradientCacheSlots slots that
// are reused in rotation. The reference stays valid until the slot is reused.
constexpr int GradientCacheSlots = 16;
using TGradientTable = std::vector<TColor>;
// A count below 1 is a programming error: EInvalidOperation.
[[nodiscard]] const TGradientTable& GradientTable(int count, TColor start, TColor end);
// Fills the rectangle line by line (rows when vertical, else columns) with a gradient; only the
// lines inside the clip box are drawn.
void FillGradient(HDC dc, const TRect& rect, TColor start, bool vertical, TColor end);

// 0..255: how saturated a colour with a channel of 160 or more is; 200 for a darker colour.
[[nodiscard]] int ColourSaturation(TColor colour);

// The user-interface functions the engine may do without. An entry left null is a function the
// system does not offer; what needs it is skipped.
struct TSkinSystemFunctions {
    using TGetScrollBarInfo = BOOL (*)(HWND, LONG, PSCROLLBARINFO);
    using TTrackMouseEvent = BOOL (*)(LPTRACKMOUSEEVENT);

    TGetScrollBarInfo GetScrollBarInfo = nullptr;
    TTrackMouseEvent TrackMouseEvent = nullptr;
    // NT draws wide text; the other family draws narrow text.
    bool IsNT = true;
};
// The functions bound at start-up; tests may replace entries.
[[nodiscard]] TSkinSystemFunctions& SkinSystem();

// GetScrollBarInfo when the system has it; False without calling anything otherwise.
[[nodiscard]] BOOL ScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO& info);
// Asks for a WM_MOUSELEAVE for the window when the system can track the mouse.
void TrackMouseLeave(HWND window);

// Narrow (UTF-8) text as wide (UTF-16) text.
[[nodiscard]] std::u16string ToWideText(std::string_view text);
// The first `count` characters of a zero-terminated wide text (all of it for -1), never more
// than the text holds.
[[nodiscard]] std::u16string WideTextPart(const WCHAR* text, int count);
// Draws wide text with DrawTextW on NT, else as narrow text with DrawTextA; the drawing
// function's result.
int DrawTextAuto(HDC dc, const std::u16string& text, RECT& rect, UINT format);
