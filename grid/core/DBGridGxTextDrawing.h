#pragma once

#include "platform/classlib/core/Alignment.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "platform/winapi/gdi/GdiOwners.h"

#include <string>

class TBitmap;
class TCanvas;
class TCustomImageList;
class TGraphic;

// The text and image routines every cell painter of the data grid draws with. Text is UTF-8;
// every cut works on whole characters.

// One off-screen bitmap shared by all data grids, for cells whose brush colour the device can
// only dither: text drawn transparently over a dithered fill would show the dither pattern
// through the glyph gaps, so such cells are drawn off-screen and copied. The bitmap lives while
// at least one user holds it and only ever grows, so painting many cells reuses one bitmap.
void AcquireDrawBitmap();
// A release without a matching acquire does nothing.
void ReleaseDrawBitmap();
// The shared bitmap; null while nobody holds it.
[[nodiscard]] TBitmap* SharedDrawBitmap();

// Holds the shared bitmap for its own lifetime (a data grid keeps one as a member).
class TDrawBitmapHoldGx {
public:
    TDrawBitmapHoldGx() { AcquireDrawBitmap(); }
    ~TDrawBitmapHoldGx() { ReleaseDrawBitmap(); }
    TDrawBitmapHoldGx(const TDrawBitmapHoldGx&) = delete;
    TDrawBitmapHoldGx& operator=(const TDrawBitmapHoldGx&) = delete;
};

// `text` shortened to at most maxWidth pixels in the canvas's font: unchanged when it fits,
// else its longest character prefix that fits with "..." after it (dropping at least two
// characters), or "..." alone.
[[nodiscard]] std::string ShortenWithEllipsis(const std::string& text, TCanvas& canvas, int maxWidth);

// Horizontal cell text. dx and dy are the inner margins of the cell; single-line text is placed
// by alignment and layout and clipped to the cell; multi-line text is word-wrapped inside the
// cell less the margins, with leftMargin and rightMargin as extra text margins. Without `fill`
// the text is drawn over what the cell shows; with it the cell is filled with the brush first.
void DrawCellText(TCanvas& canvas, const TRect& rect, bool fill, int dx, int dy, const std::string& text,
                  TAlignment alignment, TTextLayout layout, bool multiLine, bool endEllipsis, int leftMargin,
                  int rightMargin, bool rightToLeft);

// A font like `font` turned by 90 degrees (reading bottom to top); "Default" becomes
// "MS Sans Serif".
[[nodiscard]] GdiObject<HFONT> MakeVerticalFont(const TFont& font);

// Text rotated by 90 degrees, reading bottom to top, for vertical titles. Returns the text's
// extent along the column in pixels; with measureOnly nothing is drawn. The canvas font is left
// as it was.
int DrawCellTextVertical(TCanvas& canvas, const TRect& rect, bool fill, int dx, int dy, const std::string& text,
                         TAlignment alignment, TTextLayout layout, bool measureOnly);

// Draws entry imageIndex of imageList, or else `graphic`, aligned horizontally (shifted by
// xOffset) and centred vertically in rect, clipped to it. The DC's clip region is as before
// afterwards. With neither an image list nor a graphic nothing is drawn.
void DrawImageClipped(TCustomImageList* imageList, TGraphic* graphic, TCanvas& canvas, const TRect& rect,
                      TAlignment alignment, int xOffset, int imageIndex);
