#pragma once

#include "platform/classlib/core/Alignment.h"
#include "platform/classlib/core/Colors.h"
#include "platform/winapi/gdi/ImageLists.h"
#include "platform/winapi/gdi/WinGdi.h"
#include "platform/winapi/user/WinUser.h"

#include <string>
#include <string_view>

class TBitmap;
class TCanvas;
class TControl;
class TDataSkinObject;

// Drawing routines the control skinners share.

// Frame `frame` of `frameCount` of the element, built in nine parts at the rectangle's size;
// magenta is left out when the element is transparent (Trans 1). Nothing for an inverted
// rectangle. Frame counts below 1 count as 1 and the frame is kept within the count.
void DrawSkinElement(HDC dc, const RECT& rect, int frameCount, int frame, TDataSkinObject& element);
// Frame `frame` of `frameCount` of a picture without margins, stretched into the rectangle with
// magenta left out. Nothing for an inverted rectangle or an empty picture.
void BlitStripFrame(HDC dc, const RECT& rect, int frameCount, int frame, TBitmap& image);
// `text` with its first occurrence of `pattern` replaced.
[[nodiscard]] std::string ReplaceFirst(std::string text, std::string_view pattern, std::string_view replacement);

// FillRect with a solid brush of the colour (system colours resolved).
void FillRectColor(HDC dc, const RECT& rect, TColor colour);
// The flat border the skin gives a sunken edge: a line of `shadow` round the rectangle with a
// line of `face` inside it.
void FrameSkinBorder(HDC dc, RECT rect, TColor shadow, TColor face);
// The Color of the control's parent, or `fallback` when there is no control, no parent or the
// parent publishes no integer Color.
[[nodiscard]] TColor ParentColor(const TControl* control, TColor fallback);
// `dest` becomes a copy of `source`: its size, pixel format and picture.
void CopyBitmap(TBitmap& source, TBitmap& dest);

// The window's whole text.
[[nodiscard]] std::string WindowText(HWND window);
// Whether the window is a popup: WS_POPUP, or a child of the desktop itself.
[[nodiscard]] bool IsPopupWindow(HWND window);

// The text routines draw with a clear background and the font's plain style, in the canvas's font
// colour, or in clBtnShadow when not enabled. `align` may carry DT_RTLREADING.
//
// Text vertically centred in the rectangle (one pixel higher); horizontally centred with
// DT_CENTER, else laid out over the rectangle's width with `align`.
void DrawTextAligned(TCanvas& canvas, const RECT& rect, UINT align, bool enabled, const std::string& text);
// One line of text centred exactly in the rectangle; the alignment only chooses the flags.
void DrawCenteredText(TCanvas& canvas, const RECT& rect, const std::string& text, TAlignment alignment,
                      bool enabled);
// An image of the list (when `imageIndex` is not -1 and the image is narrower than the rectangle)
// followed by one line of text cut with an ellipsis at the rectangle's right. `align` 0 starts
// 3 pixels in, 1 centres image and text together, 2 ends 2 pixels before the right edge; both are
// vertically centred. `bidiFlags` is DT_RTLREADING or 0.
void DrawImageText(TCanvas& canvas, const RECT& rect, int align, const std::string& text, int imageIndex,
                   HIMAGELIST images, bool enabled, UINT bidiFlags);
// The focus rectangle around where `text` drawn with `flags` (DT_CENTER, DT_RIGHT or left) lies in
// the rectangle, 2 pixels wider and 1 higher on each side, kept within the rectangle.
void DrawTextFocus(HDC dc, const std::string& text, UINT flags, const RECT& rect);

// A small arrow in the canvas's pen with its apex at (x, y): kind 0 points up, 1 down (apex at
// y + 3), 2 left, 3 right; any other kind draws nothing.
void DrawArrowGlyph(TCanvas& canvas, int x, int y, int kind);
