// Push buttons, check and radio glyphs, progress bar, group boxes, tabs, status bar, tool bars,
// headers, combo box and edit frames.

#include "tools/skingen/lib/SkinFamilies.h"
#include "tools/skingen/lib/SkinPalette.h"

namespace {

// The frame order of push-like elements: normal, pressed, disabled, hot.
constexpr TFaceLook PushLooks[4] = {SkinPalette::ButtonNormal, SkinPalette::ButtonPressed, SkinPalette::ButtonDisabled,
                                    SkinPalette::ButtonHot};

std::unique_ptr<TBitmap> PushButtons()
{
    auto strip = NewStrip(32, 24, 5);
    TArtCanvas canvas(*strip, SkinPalette::Face);
    for (int frame = 0; frame < 4; ++frame)
        canvas.Box(StripFrame(*strip, 5, frame), 3, PushLooks[frame]);
    // Focused (and default): the normal look with an accent ring inside the outline.
    const TRect focused = StripFrame(*strip, 5, 4);
    canvas.Box(focused, 3, {SkinPalette::ButtonNormal.top, SkinPalette::ButtonNormal.bottom, SkinPalette::Accent,
                            SkinPalette::Text});
    canvas.Frame(Rect(focused.left + 1, focused.top + 1, focused.right - 1, focused.bottom - 1), SkinPalette::AccentLight);
    return strip;
}

// The box of a check glyph; `mark` 0 none, 1 tick, 2 indeterminate.
void CheckBoxFrame(TArtCanvas& canvas, const TRect& cell, int mark, const TFaceLook& look, bool disabled)
{
    canvas.Frame(cell, look.border);
    canvas.VerticalGradient(Rect(cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1), look.top, look.bottom);
    const TColor ink = disabled ? SkinPalette::DisabledText : SkinPalette::Glyph;
    const double x = cell.left, y = cell.top;
    if (mark == 1) {
        canvas.Line(x + 3.2, y + 6.6, x + 5.4, y + 9.0, 1.7, ink);
        canvas.Line(x + 5.4, y + 9.0, x + 9.8, y + 3.8, 1.7, ink);
    } else if (mark == 2) {
        canvas.Fill(Rect(cell.left + 3, cell.top + 3, cell.right - 3, cell.bottom - 3), ink);
    }
}

void RadioFrame(TArtCanvas& canvas, const TRect& cell, bool checked, const TFaceLook& look, bool disabled)
{
    const double cx = cell.left + 6.5, cy = cell.top + 6.5;
    canvas.Disc(cx, cy, 6.3, look.border);
    canvas.Disc(cx, cy, 5.2, look.bottom);
    canvas.Disc(cx, cy - 0.8, 4.2, look.top);
    if (checked)
        canvas.Disc(cx, cy, 2.6, disabled ? SkinPalette::DisabledText : SkinPalette::Glyph);
}

// Check and radio glyphs group their frames by mark, each group in the order normal, hot,
// pressed, disabled (the engine shows the first and the last of each group).
constexpr TFaceLook GlyphLooks[4] = {
    {SkinPalette::White, Rgb(226, 234, 244), SkinPalette::Outline, SkinPalette::Text},
    {SkinPalette::White, Rgb(208, 226, 250), SkinPalette::Accent, SkinPalette::Text},
    {Rgb(196, 214, 238), Rgb(220, 232, 248), SkinPalette::AccentDark, SkinPalette::Text},
    {Rgb(240, 242, 245), Rgb(236, 239, 243), Rgb(186, 192, 202), SkinPalette::DisabledText},
};

std::unique_ptr<TBitmap> CheckGlyphs()
{
    auto strip = NewStrip(13, 13, 12);
    TArtCanvas canvas(*strip, SkinPalette::Face);
    for (int mark = 0; mark < 3; ++mark)
        for (int state = 0; state < 4; ++state)
            CheckBoxFrame(canvas, StripFrame(*strip, 12, mark * 4 + state), mark, GlyphLooks[state], state == 3);
    return strip;
}

std::unique_ptr<TBitmap> RadioGlyphs()
{
    auto strip = NewStrip(13, 13, 8);
    TArtCanvas canvas(*strip, SkinPalette::Face);
    for (int checked = 0; checked < 2; ++checked)
        for (int state = 0; state < 4; ++state)
            RadioFrame(canvas, StripFrame(*strip, 8, checked * 4 + state), checked == 1, GlyphLooks[state], state == 3);
    return strip;
}

// A recessed well: the ground of progress bars, edits and status panels.
void Well(TArtCanvas& canvas, const TRect& rect, TColor border, TColor top, TColor bottom)
{
    canvas.RoundRect(rect, 2, border);
    canvas.VerticalGradient(Rect(rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1), top, bottom);
}

// The inner line of a raised surface, lit from the top left.
void RaisedEdge(TArtCanvas& canvas, const TRect& rect)
{
    canvas.HLine(rect.left, rect.right, rect.bottom - 1, SkinPalette::EdgeShade);
    canvas.VLine(rect.right - 1, rect.top, rect.bottom, SkinPalette::EdgeShade);
    canvas.HLine(rect.left, rect.right - 1, rect.top, SkinPalette::EdgeLight);
    canvas.VLine(rect.left, rect.top, rect.bottom - 1, SkinPalette::EdgeLight);
}

TRect Inset(const TRect& rect, int by)
{
    return Rect(rect.left + by, rect.top + by, rect.right - by, rect.bottom - by);
}

} // namespace

void DrawPushButtons(TSkinBuilder& skin)
{
    const std::string section = "Buttons";
    skin.Set(section, "Bitmap", skin.AddImage("Buttons.bmp", PushButtons()));
    skin.Set(section, "LeftWidth", 4);
    skin.Set(section, "RightWidth", 4);
    skin.Set(section, "TopHeight", 4);
    skin.Set(section, "BottomHeight", 4);
    skin.Set(section, "Trans", 1);
    skin.Set(section, "Tile", 0);
    skin.Set(section, "CheckButton", skin.AddImage("CheckBox.bmp", CheckGlyphs()));
    skin.Set(section, "RadioButton", skin.AddImage("RadioButton.bmp", RadioGlyphs()));
    skin.Set(section, "CheckButtonFrame", 12);
    skin.Set(section, "RadioButtonFrame", 8);
    skin.Set(section, "NormalColour", -1);
    skin.Set(section, "MouseOverColour", -1);
    skin.Set(section, "PressedColour", -1);
    skin.Set(section, "NormalColour2", RgbText(SkinPalette::Text));
    skin.Set(section, "MouseOverColour2", RgbText(SkinPalette::TextHot));
    skin.Set(section, "PressedColour2", RgbText(SkinPalette::TextPressed));
}

void DrawProgress(TSkinBuilder& skin)
{
    // Frame 1 the empty bar, frame 2 the filled part.
    auto bar = NewStrip(40, 16, 2);
    TArtCanvas canvas(*bar, SkinPalette::Face);
    Well(canvas, StripFrame(*bar, 2, 0), SkinPalette::Shadow, Rgb(214, 221, 231), SkinPalette::FaceLight);
    const TRect fill = StripFrame(*bar, 2, 1);
    canvas.RoundRect(fill, 2, SkinPalette::AccentDark);
    canvas.VerticalGradient(Rect(fill.left + 1, fill.top + 1, fill.right - 1, fill.top + 7), Rgb(150, 198, 246), SkinPalette::AccentLight);
    canvas.VerticalGradient(Rect(fill.left + 1, fill.top + 7, fill.right - 1, fill.bottom - 1), SkinPalette::Accent, Rgb(70, 136, 214));
    SetElement(skin, "Progress", {.image = skin.AddImage("Progress.bmp", std::move(bar)), .imageKey = "Bitmap",
                                  .left = 3, .top = 3, .right = 3, .bottom = 3, .frames = 0, .trans = 1});

    auto chunk = NewStrip(8, 12, 1);
    TArtCanvas chunkCanvas(*chunk, SkinPalette::Face);
    chunkCanvas.Box(Rect(0, 0, 7, 12), 1.5, {Rgb(150, 198, 246), SkinPalette::Accent, SkinPalette::AccentDark, SkinPalette::White});
    SetElement(skin, "Progress.Chunk", {.image = skin.AddImage("ProgressChunk.bmp", std::move(chunk)), .left = 2,
                                        .right = 2, .trans = 1, .tile = 1});
}

void DrawGroupBoxes(TSkinBuilder& skin)
{
    // Edge: frame 1 normal, 2 disabled; a rounded outline on the face.
    auto edge = NewStrip(16, 16, 2);
    TArtCanvas canvas(*edge, SkinPalette::Face);
    for (int frame = 0; frame < 2; ++frame) {
        const TRect cell = StripFrame(*edge, 2, frame);
        canvas.Fill(cell, SkinPalette::Face);
        canvas.RoundRect(cell, 3, frame == 0 ? SkinPalette::Shadow : Rgb(196, 204, 214));
        canvas.RoundRect(Inset(cell, 1), 2, SkinPalette::Face);
    }
    SetElement(skin, "GroupBoxEdge", {.image = skin.AddImage("GroupBoxEdge.bmp", std::move(edge)), .left = 4, .top = 4,
                                      .right = 4, .bottom = 4, .frames = 2});

    // The caption label: a soft pill behind the group's title.
    auto label = NewStrip(24, 18, 1);
    TArtCanvas labelCanvas(*label, SkinPalette::Face);
    labelCanvas.Box(Rect(0, 0, 24, 18), 4, {SkinPalette::White, Rgb(222, 231, 243), SkinPalette::Shadow, SkinPalette::Text});
    const std::string labelImage = skin.AddImage("GroupBoxLabel.bmp", std::move(label));
    SetElement(skin, "GroupBox", {.image = labelImage, .left = 6, .top = 4, .right = 6, .bottom = 4, .frames = 0, .trans = 1});
    skin.Set("GroupBox", "BackgroundAlignment", 0);
    skin.Set("GroupBox", "BackgroundLeftShift", 0);
    skin.Set("GroupBox", "BackgroundRightShift", 0);
}

void DrawTabs(TSkinBuilder& skin)
{
    // Tabs: 1 normal, 2 selected, 3 hot, 4 disabled, 5 pressed. The selected tab is lighter, a
    // little taller and open at the bottom, where it joins the pane.
    auto tabs = NewStrip(48, 22, 5);
    TArtCanvas canvas(*tabs, SkinPalette::Face);
    const TFaceLook looks[5] = {
        {Rgb(240, 244, 249), Rgb(214, 223, 235), SkinPalette::Outline, SkinPalette::Text},
        {SkinPalette::White, SkinPalette::Face, SkinPalette::Outline, SkinPalette::Text},
        {SkinPalette::White, Rgb(204, 224, 249), SkinPalette::SelectionBorder, SkinPalette::TextHot},
        {Rgb(238, 240, 243), Rgb(230, 233, 237), Rgb(190, 196, 206), SkinPalette::DisabledText},
        {Rgb(198, 214, 236), Rgb(220, 231, 246), SkinPalette::Accent, SkinPalette::TextPressed},
    };
    for (int frame = 0; frame < 5; ++frame) {
        TRect cell = StripFrame(*tabs, 5, frame);
        const bool selected = frame == 1;
        const TRect body = Rect(cell.left + (selected ? 0 : 1), cell.top + (selected ? 0 : 2), cell.right - (selected ? 0 : 1),
                                cell.bottom + 4);
        canvas.Box(body, 4, looks[frame]);
        if (selected)
            canvas.HLine(cell.left + 1, cell.right - 1, cell.top + 1, SkinPalette::Accent);
        else
            canvas.HLine(cell.left, cell.right, cell.bottom - 1, SkinPalette::Outline);
    }
    // The pane: the tabs' outline around the page face.
    auto pane = NewStrip(16, 16, 1);
    TArtCanvas paneCanvas(*pane, SkinPalette::Face);
    paneCanvas.Fill(Rect(0, 0, 16, 16), SkinPalette::Face);
    paneCanvas.Frame(Rect(0, 0, 16, 16), SkinPalette::Outline);
    RaisedEdge(paneCanvas, Rect(1, 1, 15, 15));
    const std::string paneImage = skin.AddImage("TabPane.bmp", std::move(pane));
    SetElement(skin, "Tabs", {.image = skin.AddImage("Tabs.bmp", std::move(tabs)), .left = 5, .top = 5, .right = 5,
                              .bottom = 3, .frames = 0, .trans = 1, .text = SkinPalette::Text,
                              .textHot = SkinPalette::TextHot, .secondKey = "Border", .secondImage = paneImage});
    SetElement(skin, "Tab.Pane", {.image = paneImage, .left = 2, .top = 2, .right = 2, .bottom = 2});
}

void DrawStatusBar(TSkinBuilder& skin)
{
    // 1 lowered, 2 raised, 3 flat.
    auto edges = NewStrip(16, 16, 3);
    TArtCanvas canvas(*edges, SkinPalette::Face);
    const TRect lowered = StripFrame(*edges, 3, 0), raised = StripFrame(*edges, 3, 1), flat = StripFrame(*edges, 3, 2);
    canvas.Fill(Rect(0, 0, edges->Width(), edges->Height()), SkinPalette::Face);
    canvas.Frame(lowered, SkinPalette::Shadow);
    canvas.VerticalGradient(Inset(lowered, 1), Rgb(222, 229, 238), SkinPalette::FaceLight);
    canvas.Frame(raised, SkinPalette::Shadow);
    RaisedEdge(canvas, Inset(raised, 1));
    canvas.VLine(flat.right - 1, flat.top + 3, flat.bottom - 3, SkinPalette::Shadow);
    SetElement(skin, "StatusBarEdges", {.image = skin.AddImage("StatusBarEdges.bmp", std::move(edges)), .left = 2,
                                        .top = 2, .right = 2, .bottom = 2, .frames = 3, .text = SkinPalette::Text});
}

void DrawToolBarsAndHeaders(TSkinBuilder& skin)
{
    // Tool bar buttons: 1 normal (flat, transparent), 2 pressed, 3 disabled (transparent), 4 hot,
    // 5 checked.
    auto tools = NewStrip(24, 24, 5);
    TArtCanvas canvas(*tools, SkinPalette::Face);
    canvas.Box(StripFrame(*tools, 5, 1), 3, SkinPalette::ButtonPressed);
    canvas.Box(StripFrame(*tools, 5, 3), 3, SkinPalette::ButtonHot);
    canvas.Box(StripFrame(*tools, 5, 4), 3, {SkinPalette::Selection, Rgb(220, 233, 250), SkinPalette::SelectionBorder, SkinPalette::Text});
    SetElement(skin, "ToolBars", {.image = skin.AddImage("ToolBars.bmp", std::move(tools)), .left = 4, .top = 4,
                                  .right = 4, .bottom = 4, .frames = 5, .trans = 1});

    // Header sections: 1 normal, 2 pressed, 3 disabled, 4 hot, 5 sorted.
    auto header = NewStrip(40, 20, 5);
    TArtCanvas headerCanvas(*header, SkinPalette::Face);
    for (int frame = 0; frame < 5; ++frame) {
        const TRect cell = StripFrame(*header, 5, frame);
        const TFaceLook& look = PushLooks[frame < 4 ? frame : 0];
        headerCanvas.VerticalGradient(cell, look.top, look.bottom);
        headerCanvas.HLine(cell.left, cell.right, cell.bottom - 1, SkinPalette::Shadow);
        headerCanvas.VLine(cell.right - 1, cell.top + 3, cell.bottom - 3, SkinPalette::Shadow);
        headerCanvas.VLine(cell.right - 2, cell.top + 3, cell.bottom - 3, SkinPalette::White);
        if (frame == 4)
            headerCanvas.HLine(cell.left, cell.right, cell.bottom - 2, SkinPalette::Accent);
    }
    SetElement(skin, "Headerbar", {.image = skin.AddImage("Headerbar.bmp", std::move(header)), .left = 3, .top = 3,
                                   .right = 3, .bottom = 3, .frames = 5});
}

void DrawComboAndEdit(TSkinBuilder& skin)
{
    constexpr int height = 21, buttonWidth = 18;
    // The edit-like border of a combo box: 1 normal, 2 pressed, 3 disabled, 4 focused or hot.
    const TColor borders[4] = {SkinPalette::Outline, SkinPalette::Accent, Rgb(190, 196, 206), SkinPalette::SelectionBorder};
    auto sunk = NewStrip(20, height, 4);
    TArtCanvas canvas(*sunk, SkinPalette::Face);
    for (int frame = 0; frame < 4; ++frame) {
        const TRect cell = StripFrame(*sunk, 4, frame);
        canvas.Fill(cell, frame == 2 ? Rgb(244, 246, 248) : SkinPalette::White);
        canvas.Frame(cell, borders[frame]);
        canvas.HLine(cell.left + 1, cell.right - 1, cell.top + 1, Rgb(226, 232, 240));
    }
    SetElement(skin, "SunkEdge", {.image = skin.AddImage("SunkEdge.bmp", std::move(sunk)), .left = 3, .top = 3,
                                  .right = 3, .bottom = 3, .frames = 4});

    // The drop-down button, without its arrow (that is ExtraImages, frames 1 to 4).
    auto button = NewStrip(buttonWidth, height, 4);
    TArtCanvas buttonCanvas(*button, SkinPalette::Face);
    for (int frame = 0; frame < 4; ++frame) {
        const TRect cell = StripFrame(*button, 4, frame);
        buttonCanvas.Box(Rect(cell.left, cell.top + 1, cell.right - 1, cell.bottom - 1), 2, PushLooks[frame]);
    }
    SetElement(skin, "ComboButton", {.image = skin.AddImage("ComboButton.bmp", std::move(button)), .left = 0, .top = 0,
                                     .right = 0, .bottom = 0, .frames = 0, .trans = 1, .secondKey = "****"});

    // ExtraImages: the combo's arrow in four states, and the status bar's size grip in frame 5.
    auto extra = NewStrip(buttonWidth, height, 5);
    TArtCanvas extraCanvas(*extra, SkinPalette::Face);
    for (int frame = 0; frame < 4; ++frame) {
        const TRect cell = StripFrame(*extra, 5, frame);
        ArrowGlyph(extraCanvas, Rect(cell.left, cell.top, cell.right - 1, cell.bottom), 3, SkinPalette::ArrowSize,
                   SkinPalette::GlyphInks[frame]);
    }
    const TRect grip = StripFrame(*extra, 5, 4);
    for (int row = 0; row < 3; ++row)
        for (int column = 2 - row; column < 3; ++column) {
            const int x = grip.right - 4 - (2 - column) * 4, y = grip.bottom - 4 - (2 - row) * 4;
            extraCanvas.Fill(Rect(x + 1, y + 1, x + 3, y + 3), SkinPalette::White);
            extraCanvas.Fill(Rect(x, y, x + 2, y + 2), SkinPalette::Shadow);
        }
    SetElement(skin, "ExtraImages", {.image = skin.AddImage("ExtraImages.bmp", std::move(extra)), .frames = 5, .trans = 1});
}
