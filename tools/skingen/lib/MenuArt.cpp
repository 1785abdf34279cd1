// Menu bar, popup menu items and background.

#include "tools/skingen/lib/SkinFamilies.h"
#include "tools/skingen/lib/SkinPalette.h"

void DrawMenus(TSkinBuilder& skin)
{
    // The menu bar: frame 1 active, 2 inactive, one below the other.
    auto bar = NewStrip(32, 20, 2, true);
    TArtCanvas barCanvas(*bar, SkinPalette::Face);
    barCanvas.VerticalGradient(Rect(0, 0, 32, 19), SkinPalette::FaceLight, SkinPalette::Face);
    barCanvas.HLine(0, 32, 19, SkinPalette::Shadow);
    barCanvas.VerticalGradient(Rect(0, 20, 32, 39), SkinPalette::Face, SkinPalette::Face);
    barCanvas.HLine(0, 32, 39, Mix(SkinPalette::Face, SkinPalette::Shadow, 0.5));
    skin.Set("Personality", "menuBar", skin.AddImage("MenuBar.bmp", std::move(bar)));
    skin.Set("Personality", "TileMenu", 1);
    skin.Set("Personality", "TileLeftMenu", 2);
    skin.Set("Personality", "TileRightMenu", 2);

    // Items: 1 normal (transparent: the popup's background shows), 2 the separator slices,
    // 3 disabled (transparent), 4 selected, 5 selected and pressed.
    auto items = NewStrip(40, 20, 5);
    TArtCanvas canvas(*items, SkinPalette::Menu);
    const TRect separator = StripFrame(*items, 5, 1);
    canvas.HLine(separator.left + 2, separator.right - 2, separator.top + 9, SkinPalette::Shadow);
    canvas.HLine(separator.left + 2, separator.right - 2, separator.top + 10, SkinPalette::White);
    canvas.Box(StripFrame(*items, 5, 3), 3, {SkinPalette::Selection, Rgb(184, 210, 244), SkinPalette::SelectionBorder, SkinPalette::SelectionText});
    canvas.Box(StripFrame(*items, 5, 4), 3, {Rgb(176, 202, 238), SkinPalette::Selection, SkinPalette::Accent, SkinPalette::SelectionText});
    SetElement(skin, "MenuItem", {.image = skin.AddImage("MenuItem.bmp", std::move(items)), .left = 4, .top = 4,
                                  .right = 4, .bottom = 4, .frames = 5, .trans = 1, .text = SkinPalette::Text,
                                  .textHot = SkinPalette::SelectionText, .textPressed = SkinPalette::SelectionText});

    // The popup's ground: a light sheet with a soft glyph column and a thin outline.
    auto ground = NewStrip(48, 24, 1);
    TArtCanvas groundCanvas(*ground, SkinPalette::Menu);
    groundCanvas.Fill(Rect(0, 0, 48, 24), SkinPalette::Menu);
    groundCanvas.HorizontalGradient(Rect(1, 1, 24, 23), Rgb(232, 238, 246), Rgb(242, 246, 250));
    groundCanvas.VLine(24, 1, 23, Rgb(220, 227, 236));
    groundCanvas.Frame(Rect(0, 0, 48, 24), SkinPalette::Outline);
    SetElement(skin, "MenuBackground", {.image = skin.AddImage("MenuBackground.bmp", std::move(ground)), .left = 25,
                                        .top = 2, .right = 2, .bottom = 2, .frames = 1});
}
