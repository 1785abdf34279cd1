#pragma once

#include "skin/SkinButton.h"

#include <string>
#include <utility>

class TBitmap;
class TGraphic;

// Where a glyph and a caption go on a button.
struct TGlyphPlacement {
    POINT glyph{};
    RECT text{};
    UINT textFlags = 0;
};

// The glyph-and-caption layout of a skinned button. `layout` is the lower-cased layout name
// ("blglyphleft", "blglyphright", "blglyphtop", "blglyphbottom"); a margin of -1 (or `centred`)
// centres glyph and caption together, a spacing of -1 shares the free space out evenly.
// `speedButton` gives the speed buttons' centring, one pixel further on.
struct TGlyphLayoutRequest {
    SIZE client{};
    SIZE glyph{};
    std::string layout;
    int margin = -1;
    int spacing = 4;
    bool centred = false;
    bool speedButton = false;
};
[[nodiscard]] TGlyphPlacement PlaceGlyph(HDC dc, const TGlyphLayoutRequest& request, const std::string& text);

// Draws cell `cell` (1 normal, 2 disabled, 3 pressed, 4 held down) of a strip of
// `cells` glyphs at `at`, leaving out the strip's transparent colour; a strip with fewer cells
// shows its first, embossed grey when it stands for the disabled cell.
void DrawGlyphCell(TCanvas& canvas, POINT at, int cells, int cell, TBitmap& strip);

// A push button with a glyph beside its caption (bit buttons of both libraries): the Buttons
// frame as for a plain button, the glyph cell by state, and the caption laid out with it.
//
// With a glyph property name, the glyph is the picture of any kind (a PNG image, say) that
// property holds, drawn whole in every state: the button's own strip properties play no part.
class TSkinBitButton : public TSkinButton {
public:
    TSkinBitButton() = default;
    explicit TSkinBitButton(std::string glyphPropName) : m_glyphPropName(std::move(glyphPropName)) {}

protected:
    void PaintSkin(HDC dc, const RECT& rect) override;
    // Draws the glyph and caption of the control in `canvas` (the buffer) for the given state.
    void PaintGlyphAndCaption(TCanvas& canvas, const RECT& rect, TButtonFrame frame, int cell, bool speedButton);

private:
    // The picture named by the glyph property name, or null.
    [[nodiscard]] TGraphic* NamedGlyph() const;

    std::string m_glyphPropName;
};

// A speed button: a control without a window, painted through its parent. Its Down property
// shows the pressed frame and the held-down glyph cell; a flat one shows no frame until hot.
class TSkinSpeedButton : public TSkinBitButton {
protected:
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void PaintSkin(HDC dc, const RECT& rect) override;
    [[nodiscard]] bool SkinsWindowlessControls() const override { return true; }

private:
    bool m_painting = false;
};
