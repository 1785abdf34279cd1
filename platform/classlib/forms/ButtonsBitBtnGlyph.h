#pragma once

#include "platform/classlib/forms/GraphicsBitmap.h"

#include <memory>
#include <string>

// The glyph strip and the glyph-and-caption layout that bit buttons and speed buttons share.

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
// Which cell of the strip shows: up (1st), disabled (2nd), clicked (3rd), held down (4th).
enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };

[[nodiscard]] const TTypeInfo& ButtonLayoutTypeInfo();

class TButtonGlyph {
public:
    // `changed` hears of every change to the glyph (to repaint).
    explicit TButtonGlyph(TNotifyEvent changed);
    ~TButtonGlyph();
    TButtonGlyph(const TButtonGlyph&) = delete;
    TButtonGlyph& operator=(const TButtonGlyph&) = delete;

    [[nodiscard]] TBitmap* Glyph() const { return m_glyph.get(); }
    void SetGlyph(TBitmap* glyph) { m_glyph->Assign(glyph); }
    // 1..4 cells side by side; a strip whose width is 1 to 4 times its height sets it by itself.
    [[nodiscard]] int NumGlyphs() const { return m_numGlyphs; }
    void SetNumGlyphs(int numGlyphs);

    struct TLayoutParams {
        TButtonLayout layout = blGlyphLeft;
        int margin = -1;  // -1: the glyph and caption are centred together
        int spacing = 4;  // -1: the free space is shared out evenly
    };
    // Draws the glyph cell for `state` and the caption inside `client` on `dc` (whose font and
    // text colour are chosen); a disabled caption is embossed.
    void Draw(HDC dc, const RECT& client, const std::string& caption, const TLayoutParams& params,
              TButtonState state) const;

private:
    void GlyphChanged();
    [[nodiscard]] SIZE CellSize() const;
    void DrawCell(HDC dc, POINT at, TButtonState state) const;
    void DrawEmbossed(HDC dc, POINT at) const;

    std::unique_ptr<TBitmap> m_glyph;
    int m_numGlyphs = 1;
    TNotifyEvent m_changed;
};
