#pragma once

#include "platform/classlib/core/Colors.h"
#include "platform/winapi/gdi/WinGdi.h"
#include "platform/winapi/user/WinUser.h"

#include <memory>
#include <string>

class TBitmap;
class TCanvas;
class TControl;
class TStringList;
using TRect = RECT;

// Drawing of skin bitmaps. A skin bitmap holds several frames (states) side by side, or one
// below the other when `vertical`; frames are numbered from 1. Margins are the fixed borders of
// a nine- or three-part image. Magenta (SkinKeyColour) stands for "transparent".
//
// A frame count below 1 counts as 1, and a frame index is kept within 1..count, so that no skin
// value can make a routine divide by zero or read beside its bitmap.

inline constexpr TColor SkinKeyColour = 0xFF00FF;

struct TSkinMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

// Where frame `index` of `count` lies in the bitmap.
[[nodiscard]] RECT SkinFrameRect(const TBitmap& bitmap, bool vertical, int count, int index);

// A new bitmap of the target's size holding the frame drawn in nine parts: corners at their own
// size, edges stretched along their length, the centre stretched (or tiled). Margins that do not
// fit the target in one direction are dropped in that direction.
[[nodiscard]] std::unique_ptr<TBitmap> BuildElementBitmap(const TRect& target, TBitmap& bitmap,
                                                          const TSkinMargins& margins, bool vertical, bool tile,
                                                          int count, int index);
// BuildElementBitmap drawn into `rect`, magenta left out when `transparent`.
void DrawElement(HDC dc, const TRect& rect, TBitmap& bitmap, bool vertical, bool tile, bool transparent, int count,
                 int index, const TSkinMargins& margins);
// Left part, the middle part repeated, right part; each spans the rectangle's height.
void DrawElementHorz(TCanvas& canvas, const TRect& rect, TBitmap& bitmap, bool vertical, bool transparent,
                     int count, int index, const TSkinMargins& margins);
// Left part, the middle stretched, right part (only margins.left and margins.right count); a
// target narrower than the frame gets the whole frame stretched.
void DrawElementThreePart(HDC dc, const TRect& rect, TBitmap& bitmap, bool vertical, int count, int index,
                          const TSkinMargins& margins);
// One horizontal frame stretched to the rectangle.
void DrawElementFrame(HDC dc, const TRect& rect, TBitmap& bitmap, bool transparent, int count, int index);
// One horizontal frame at its own size in the rectangle's centre.
void DrawElementFrameCentred(HDC dc, const TRect& rect, TBitmap& bitmap, bool transparent, int count, int index);
// Repeats `source` of the bitmap over `target`, left to right and top to bottom.
void TileBitmap(TCanvas& canvas, const TRect& target, TBitmap& bitmap, const TRect& source);
// Draws the bitmap (unstretched, from its top-left) into `rect` leaving out the key colour.
void DrawTransparent(HDC dc, const TRect& rect, TBitmap& bitmap, TColor key);
// The region of every pixel outside the key range (each channel from the key's value to that
// value plus its tolerance), moved by the offset. The bitmap becomes 32 bits a pixel; the caller
// owns the region.
[[nodiscard]] HRGN RegionFromBitmap(TBitmap& bitmap, int xOffset, int yOffset, int blueTolerance,
                                    int greenTolerance, int redTolerance, TColor key);
// Paints what the control's parent shows under the control (its background, then its face and
// its windowless controls) into `dc`, whose origin is the control's top-left corner; nothing is
// drawn outside the control's bounds. Nothing for a control without a parent. A control whose
// parent paints it in turn (a windowless one) is not painted again from within that paint.
void PaintControlBackground(TControl* control, HDC dc);
// The window's class name, at most 100 characters.
[[nodiscard]] std::string GetWindowClassName(HWND window);

// Shared by the engine's painters: an off-screen bitmap whose context stretches COLORONCOLOR,
// and a string list.
[[nodiscard]] TBitmap& SkinWorkBitmap();
[[nodiscard]] TStringList& SkinWorkList();
