#pragma once

#include "tools/skingen/lib/ArtCanvas.h"
#include "tools/skingen/lib/SkinBuilder.h"

// The drawing functions of the skin, one per element family. Each draws its bitmaps and writes the
// INI keys that describe them, so margins and frame counts sit next to the art they describe.

// The keys of one skin element section.
struct TElementKeys {
    std::string image{};           // file name, empty for none
    std::string imageKey = "Image";
    int style = 0;
    int left = 0, top = 0, right = 0, bottom = 0;
    int frames = 1;                // 0 writes no Frame key (elements whose reader takes none)
    int trans = 0;
    int tile = 0;
    TColor text = -1, textHot = -1, textPressed = -1; // the "...Colour2" keys; -1 writes the normal text colour
    std::string secondKey{};       // second image of a bordered element
    std::string secondImage{};
};
void SetElement(TSkinBuilder& skin, const std::string& section, const TElementKeys& keys);

// A standard three- or four-state glyph: draws `glyph` centred in each frame with the look's glyph colour.
using TGlyph = void (*)(TArtCanvas& canvas, const TRect& frame, TColor colour);

void DrawWindowFrame(TSkinBuilder& skin);
void DrawCaptionButtons(TSkinBuilder& skin);
void DrawPushButtons(TSkinBuilder& skin);
void DrawProgress(TSkinBuilder& skin);
void DrawGroupBoxes(TSkinBuilder& skin);
void DrawTabs(TSkinBuilder& skin);
void DrawStatusBar(TSkinBuilder& skin);
void DrawToolBarsAndHeaders(TSkinBuilder& skin);
void DrawComboAndEdit(TSkinBuilder& skin);
void DrawMenus(TSkinBuilder& skin);
void DrawScrollBars(TSkinBuilder& skin);
void DrawTrackBar(TSkinBuilder& skin);
void DrawUpDown(TSkinBuilder& skin);
void WriteColours(TSkinBuilder& skin);

// Shared pieces of art.
[[nodiscard]] std::unique_ptr<TBitmap> TrackChannel(bool vertical);
void ArrowGlyph(TArtCanvas& canvas, const TRect& frame, int direction, double size, TColor colour); // 0 left, 1 right, 2 up, 3 down
void CrossGlyph(TArtCanvas& canvas, const TRect& frame, double size, double width, TColor colour);
void MinimiseGlyph(TArtCanvas& canvas, const TRect& frame, double size, TColor colour);
void MaximiseGlyph(TArtCanvas& canvas, const TRect& frame, double size, TColor colour);
void RestoreGlyph(TArtCanvas& canvas, const TRect& frame, double size, TColor colour);
