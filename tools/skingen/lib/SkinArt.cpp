#include "tools/skingen/lib/SkinArt.h"

#include "tools/skingen/lib/SkinFamilies.h"
#include "tools/skingen/lib/SkinPalette.h"

void SetElement(TSkinBuilder& skin, const std::string& section, const TElementKeys& keys)
{
    skin.Set(section, keys.imageKey, keys.image);
    skin.Set(section, "Style", keys.style);
    skin.Set(section, "LeftWidth", keys.left);
    skin.Set(section, "TopHeight", keys.top);
    skin.Set(section, "RightWidth", keys.right);
    skin.Set(section, "BottomHeight", keys.bottom);
    if (keys.frames > 0)
        skin.Set(section, "Frame", keys.frames);
    skin.Set(section, "Trans", keys.trans);
    skin.Set(section, "Tile", keys.tile);
    skin.Set(section, "NormalColour", -1);
    skin.Set(section, "MouseOverColour", -1);
    skin.Set(section, "PressedColour", -1);
    const auto text = [](TColor colour) { return RgbText(colour == -1 ? SkinPalette::Text : colour); };
    skin.Set(section, "NormalColour2", text(keys.text));
    skin.Set(section, "MouseOverColour2", text(keys.textHot == -1 ? keys.text : keys.textHot));
    skin.Set(section, "PressedColour2", text(keys.textPressed == -1 ? keys.text : keys.textPressed));
    if (!keys.secondKey.empty())
        skin.Set(section, keys.secondKey, keys.secondImage);
}

void GenerateSkin(TSkinBuilder& skin)
{
    DrawWindowFrame(skin);
    WriteColours(skin);
    DrawCaptionButtons(skin);
    DrawPushButtons(skin);
    DrawProgress(skin);
    DrawMenus(skin);
    DrawGroupBoxes(skin);
    DrawTabs(skin);
    DrawStatusBar(skin);
    DrawToolBarsAndHeaders(skin);
    DrawComboAndEdit(skin);
    DrawScrollBars(skin);
    DrawTrackBar(skin);
    DrawUpDown(skin);
}

namespace {

// Four 16 x 16 window-command glyphs for the system menu; white is the image list's mask colour,
// so the glyphs themselves never use pure white.
std::unique_ptr<TBitmap> MenuGlyphs()
{
    auto strip = NewStrip(16, 16, 4);
    TArtCanvas canvas(*strip, SkinPalette::Menu);
    canvas.Fill(Rect(0, 0, strip->Width(), strip->Height()), SkinPalette::White);
    const TColor ink = SkinPalette::DarkShadow;
    RestoreGlyph(canvas, StripFrame(*strip, 4, 0), 10, ink);
    MaximiseGlyph(canvas, StripFrame(*strip, 4, 1), 10, ink);
    MinimiseGlyph(canvas, StripFrame(*strip, 4, 2), 10, ink);
    CrossGlyph(canvas, StripFrame(*strip, 4, 3), 8, 1.6, Rgb(170, 40, 34));
    return strip;
}

} // namespace

void GenerateResources(TSkinBuilder& resources)
{
    resources.AddImage("LUMORAMENU.bmp", MenuGlyphs());
    resources.AddImage("TRACK.bmp", TrackChannel(false));
    resources.AddImage("TRACKVERT.bmp", TrackChannel(true));
}
