#pragma once

#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"

#include <cstdint>

// Painting routines the controls share: gradients, bitmaps with a transparent colour and the
// parent's background behind a transparent control. None of them keeps state.

enum TGradientDirection {
    gdDiagonalUp, gdDiagonalDown, gdHorizontalEnd, gdHorizontalCenter, gdHorizontalBox, gdVerticalEnd,
    gdVerticalCenter, gdVerticalBox, gdSquareBox, gdBigSquareBox
};

// Fills `bounds` (either corner order) with a gradient from startColor to stopColor. Bands whose
// colour barely changes are merged according to colorSteps (0 or 1: one band per line). The
// gradient is made off-screen and reaches the canvas in one Draw.
void DrawGradientRect(TCanvas& canvas, const TRect& bounds, TGradientDirection direction, TColor startColor,
                      TColor stopColor, std::uint8_t colorSteps);

// An 8-pixel strip of bands. x = 0 gives horizontal bands (the gradient runs down a strip of
// columns 0..7), otherwise vertical bands (along rows 0..7). A negative centre coordinate (y for
// horizontal bands, x for vertical ones) runs from startColor at 0 to stopColor at size - 1; a
// centre c >= 0 puts stopColor on line c and startColor at both ends.
void FillLinearBands(HDC dc, int x, int y, int size, TColor startColor, TColor stopColor, std::uint8_t colorSteps);
// Rings of the top-left quadrant of a width x height box: stopColor at the centre, startColor
// outside. The insets widen the centre band.
void FillBoxBands(HDC dc, int width, int height, int insetX, int insetY, TColor startColor, TColor stopColor,
                  std::uint8_t colorSteps);
// Bands parallel to a diagonal: startColor at the bottom-left corner and stopColor at the
// top-right one; a negative width mirrors it (startColor top-left, stopColor bottom-right).
void FillDiagonalBands(HDC dc, int width, int height, TColor startColor, TColor stopColor, std::uint8_t colorSteps);
// Repeats the pattern at (x, y) over width x height by doubling copies.
void ReplicateBlock(HDC dc, int x, int y, int width, int height, int patternWidth, int patternHeight, DWORD rop);
// Mirrors the top-left quadrant downward and then the left half rightward.
void MirrorQuadrant(HDC dc, int x, int y, int width, int height, DWORD rop);

// Copies sourceRect of bitmap to the canvas at (0, 0), scaled to destRect's size, leaving the
// canvas untouched where the bitmap shows transparentColor. Only destRect's size counts.
void DrawMaskedBitmap(TCanvas& canvas, TBitmap& bitmap, const TRect& destRect, const TRect& sourceRect,
                      TColor transparentColor);
// Turns the picture upside down.
void FlipBitmapRows(TBitmap& bitmap);
// Sizes an off-screen buffer to the control's area, as far as a bitmap can hold it (its user may
// make it larger: a long auto-sized caption); what lies beyond is on no screen.
void SizeToControl(TBitmap& buffer, const TControl& control);

// Paints what the control's parent shows behind the control into dc (whose origin is the
// control's top-left corner), by letting the parent erase and paint there. A call made while
// the parent paints on behalf of the same control draws nothing, so a child among its parent's
// painted controls cannot recurse. invalidateParent also invalidates a parent that is neither a
// TCustomControl nor a TCustomForm.
void PaintParentBackground(TControl& control, HDC dc, bool invalidateParent);
void PaintParentBackgroundOnCanvas(TControl& control, TCanvas& canvas, bool invalidateParent);
