// The window frame: borders, caption bar, caption buttons and the glyphs they share with the
// system menu.

#include "tools/skingen/lib/SkinFamilies.h"
#include "tools/skingen/lib/SkinPalette.h"

#include <cmath>

namespace {

constexpr int CaptionHeight = 26;
constexpr int BorderWidth = 4;
constexpr int SideLength = 12; // the stretched middle of the side borders
constexpr int CaptionButtonWidth = 21;
constexpr int CaptionButtonHeight = 17;

struct TFrameLook {
    TColor captionTop, captionBottom, shine, outer, light, mid, inner;
};
constexpr TFrameLook ActiveFrame{SkinPalette::CaptionTop, SkinPalette::CaptionBottom, SkinPalette::CaptionShine,
                                 SkinPalette::FrameOuter, SkinPalette::FrameLight, SkinPalette::FrameMid, SkinPalette::FrameInner};
constexpr TFrameLook InactiveFrame{SkinPalette::CaptionInactiveTop, SkinPalette::CaptionInactiveBottom,
                                   SkinPalette::CaptionInactiveShine, SkinPalette::FrameInactiveOuter,
                                   SkinPalette::FrameInactiveLight, SkinPalette::FrameInactiveMid, SkinPalette::FrameInactiveInner};

// The caption's colour on row y (0 is the window's top edge): outline, shine, gradient, and a
// dark line that parts the caption from the client area.
TColor CaptionRow(const TFrameLook& look, int y)
{
    if (y == 0)
        return look.outer;
    if (y == 1)
        return look.shine;
    if (y == CaptionHeight - 1)
        return look.inner;
    return Mix(look.captionTop, look.captionBottom, double(y - 2) / (CaptionHeight - 4));
}

// The side border's colour in column x (0 is the window's outer edge).
TColor SideColumn(const TFrameLook& look, int x)
{
    const TColor columns[BorderWidth] = {look.outer, look.light, look.mid, look.inner};
    return columns[x];
}

// One frame of the left border, drawn as the window's left edge; the right border is its mirror.
void DrawLeftBorder(TArtCanvas& canvas, int originX, const TFrameLook& look)
{
    const int height = CaptionHeight + SideLength + BorderWidth;
    for (int x = 0; x < BorderWidth; ++x) {
        for (int y = 0; y < CaptionHeight; ++y)
            canvas.Pixel(originX + x, y, x == 0 ? look.outer : CaptionRow(look, y));
        canvas.VLine(originX + x, CaptionHeight, height, SideColumn(look, x));
    }
    // The bottom-left corner turns the side's bands into the bottom border's bands.
    for (int y = 0; y < BorderWidth; ++y)
        for (int x = y; x < BorderWidth; ++x)
            canvas.Pixel(originX + x, height - 1 - y, SideColumn(look, y));
    // A rounded top-left corner: transparent outside, outline on the curve.
    for (const auto& [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}})
        canvas.Pixel(originX + x, y, KeyColour);
    for (const auto& [x, y] : {std::pair{2, 0}, {1, 1}, {0, 2}})
        canvas.Pixel(originX + x, y, look.outer);
    canvas.Pixel(originX + 2, 1, look.shine);
    canvas.Pixel(originX + 1, 2, look.shine);
}

std::unique_ptr<TBitmap> SideBorder(bool right)
{
    auto strip = NewStrip(BorderWidth, CaptionHeight + SideLength + BorderWidth, 2);
    TArtCanvas canvas(*strip, SkinPalette::Face);
    DrawLeftBorder(canvas, 0, ActiveFrame);
    DrawLeftBorder(canvas, BorderWidth, InactiveFrame);
    if (right) {
        // Mirror each frame in place.
        for (int frame = 0; frame < 2; ++frame)
            for (int y = 0; y < strip->Height(); ++y)
                for (int x = 0; x < BorderWidth / 2; ++x) {
                    const int left = frame * BorderWidth + x, mirrored = frame * BorderWidth + BorderWidth - 1 - x;
                    const TColor keep = canvas.PixelAt(left, y);
                    canvas.Pixel(left, y, canvas.PixelAt(mirrored, y));
                    canvas.Pixel(mirrored, y, keep);
                }
    }
    return strip;
}

std::unique_ptr<TBitmap> TopBorder()
{
    constexpr int width = 32;
    auto strip = NewStrip(width, CaptionHeight, 2, true);
    TArtCanvas canvas(*strip, SkinPalette::Face);
    for (int frame = 0; frame < 2; ++frame)
        for (int y = 0; y < CaptionHeight; ++y)
            canvas.HLine(0, width, frame * CaptionHeight + y, CaptionRow(frame == 0 ? ActiveFrame : InactiveFrame, y));
    return strip;
}

std::unique_ptr<TBitmap> BottomBorder()
{
    constexpr int width = 16;
    auto strip = NewStrip(width, BorderWidth, 2, true);
    TArtCanvas canvas(*strip, SkinPalette::Face);
    for (int frame = 0; frame < 2; ++frame)
        for (int y = 0; y < BorderWidth; ++y)
            canvas.HLine(0, width, frame * BorderWidth + y, SideColumn(frame == 0 ? ActiveFrame : InactiveFrame, BorderWidth - 1 - y));
    return strip;
}

void SetBorder(TSkinBuilder& skin, const std::string& name, const std::string& image, int startMargin, int endMargin)
{
    skin.Set("Personality", name, image);
    skin.Set("Personality", name + "TopHeight", startMargin);
    skin.Set("Personality", name + "BotHeight", endMargin);
    skin.Set("Personality", name + "Frame", 2);
    skin.Set("Personality", name + "Stretch", 1);
    skin.Set("Personality", name + "Trans", 1);
}

void SetTitle(TSkinBuilder& skin)
{
    skin.Set("Personality", "TextBack", "");
    skin.Set("Personality", "TextShift", 26);
    skin.Set("Personality", "TextShiftVert", 0);
    skin.Set("Personality", "TextRightClip", 104);
    skin.Set("Personality", "TextAlignment", 0);
    skin.Set("Personality", "Textbackground", 0);
    skin.Set("Personality", "TXTBackleft", 0);
    skin.Set("Personality", "TXTBackRight", 0);
    const auto setRgb = [&skin](const std::string& prefix, TColor colour) {
        skin.Set("Personality", prefix + "R", colour & 0xFF);
        skin.Set("Personality", prefix + "G", (colour >> 8) & 0xFF);
        skin.Set("Personality", prefix + "B", (colour >> 16) & 0xFF);
    };
    setRgb("ActiveText", SkinPalette::TitleText);
    setRgb("InActiveText", SkinPalette::TitleTextInactive);
    skin.Set("Fonts", "FontHeight", 14);
}

// A strip of caption buttons in the engine's state order: normal, pressed, hot, and the
// inactive-or-disabled look.
std::unique_ptr<TBitmap> CaptionButton(int width, int height, const TFaceLook (&looks)[4],
                                       void (*glyph)(TArtCanvas&, const TRect&, double, TColor), double glyphSize)
{
    auto strip = NewStrip(width, height, 4);
    TArtCanvas canvas(*strip, SkinPalette::CaptionBottom);
    for (int frame = 0; frame < 4; ++frame) {
        const TRect cell = StripFrame(*strip, 4, frame);
        canvas.Box(cell, 3, looks[frame]);
        glyph(canvas, cell, glyphSize, looks[frame].glyph);
    }
    return strip;
}

void CloseGlyph(TArtCanvas& canvas, const TRect& frame, double size, TColor colour)
{
    CrossGlyph(canvas, frame, size, 1.8, colour);
}

void HelpGlyph(TArtCanvas& canvas, const TRect& frame, double size, TColor colour)
{
    const double cx = (frame.left + frame.right) / 2.0, top = (frame.top + frame.bottom) / 2.0 - size / 2;
    const double r = size * 0.28, width = 1.6;
    // The hook of the question mark: an arc over the top, then down to the stem.
    for (int step = 0; step < 8; ++step) {
        const double a1 = 3.6 - step * 0.5, a2 = 3.6 - (step + 1) * 0.5;
        canvas.Line(cx + r * std::cos(a1), top + r + 0.5 - r * std::sin(a1), cx + r * std::cos(a2),
                    top + r + 0.5 - r * std::sin(a2), width, colour);
    }
    const double hookX = cx + r * std::cos(-0.4), hookY = top + r + 0.5 - r * std::sin(-0.4);
    canvas.Line(hookX, hookY, cx, top + size * 0.62, width, colour);
    canvas.Disc(cx, top + size - 0.6, 1.1, colour);
}

void SetCaptionButton(TSkinBuilder& skin, const std::string& name, const std::string& image, int action, int xcoord,
                      int visibility, int visibility1)
{
    const std::string section = "BUTTON." + name;
    skin.Set(section, "Action", action);
    skin.Set(section, "Align", image.empty() ? 0 : 1);
    skin.Set(section, "XCoord", xcoord);
    skin.Set(section, "YCoord", (CaptionHeight - CaptionButtonHeight) / 2);
    skin.Set(section, "Visibility", visibility);
    skin.Set(section, "Visibility1", visibility1);
    skin.Set(section, "CombineOp", -1);
    skin.Set(section, "Frame", image.empty() ? 1 : 4);
    skin.Set(section, "ButtonImage", image);
}

} // namespace

void CrossGlyph(TArtCanvas& canvas, const TRect& frame, double size, double width, TColor colour)
{
    const double cx = (frame.left + frame.right) / 2.0, cy = (frame.top + frame.bottom) / 2.0, h = size / 2;
    canvas.Line(cx - h, cy - h, cx + h, cy + h, width, colour);
    canvas.Line(cx - h, cy + h, cx + h, cy - h, width, colour);
}

void MinimiseGlyph(TArtCanvas& canvas, const TRect& frame, double size, TColor colour)
{
    const int cx = (frame.left + frame.right) / 2, cy = (frame.top + frame.bottom) / 2;
    const int h = static_cast<int>(size / 2);
    canvas.Fill(Rect(cx - h, cy + h - 2, cx + h, cy + h), colour);
}

void MaximiseGlyph(TArtCanvas& canvas, const TRect& frame, double size, TColor colour)
{
    const int cx = (frame.left + frame.right) / 2, cy = (frame.top + frame.bottom) / 2;
    const int h = static_cast<int>(size / 2);
    canvas.Frame(Rect(cx - h, cy - h, cx + h, cy + h), colour);
    canvas.HLine(cx - h, cx + h, cy - h + 1, colour);
}

void RestoreGlyph(TArtCanvas& canvas, const TRect& frame, double size, TColor colour)
{
    const int cx = (frame.left + frame.right) / 2, cy = (frame.top + frame.bottom) / 2;
    const int h = static_cast<int>(size / 2);
    const TRect front = Rect(cx - h, cy - h + 2, cx + h - 2, cy + h);
    const TRect back = Rect(cx - h + 2, cy - h, cx + h, cy + h - 2);
    // Only the parts of the back window that the front one leaves uncovered.
    canvas.HLine(back.left, back.right, back.top, colour);
    canvas.HLine(back.left, back.right, back.top + 1, colour);
    canvas.VLine(back.left, back.top, front.top, colour);
    canvas.VLine(back.right - 1, back.top, back.bottom, colour);
    canvas.HLine(front.right, back.right, back.bottom - 1, colour);
    canvas.Frame(front, colour);
    canvas.HLine(front.left, front.right, front.top + 1, colour);
}

void DrawWindowFrame(TSkinBuilder& skin)
{
    SetBorder(skin, "Left", skin.AddImage("FrameLeft.bmp", SideBorder(false)), CaptionHeight, BorderWidth);
    SetBorder(skin, "Right", skin.AddImage("FrameRight.bmp", SideBorder(true)), CaptionHeight, BorderWidth);
    SetBorder(skin, "Top", skin.AddImage("FrameTop.bmp", TopBorder()), 0, 0);
    SetBorder(skin, "Bottom", skin.AddImage("FrameBottom.bmp", BottomBorder()), 0, 0);
    SetTitle(skin);
}

void DrawCaptionButtons(TSkinBuilder& skin)
{
    constexpr TFaceLook plain[4] = {SkinPalette::CaptionNormal, SkinPalette::CaptionPressed, SkinPalette::CaptionHot,
                                    SkinPalette::CaptionDisabled};
    constexpr TFaceLook close[4] = {SkinPalette::CloseNormal, SkinPalette::ClosePressed, SkinPalette::CloseHot,
                                    SkinPalette::CaptionDisabled};
    const int w = CaptionButtonWidth, h = CaptionButtonHeight, step = CaptionButtonWidth + 2;
    const int closeX = BorderWidth + 2 + w;
    // Visibility codes: 0 always; 1 maximised; 2 not maximised; 6 with a minimise or maximise
    // box; 1000 asks the window (message 0x3515), so only windows that want help show it.
    SetCaptionButton(skin, "ICON", "", 3, 6, 0, 0);
    SetCaptionButton(skin, "CLOSE", skin.AddImage("BtnClose.bmp", CaptionButton(w, h, close, CloseGlyph, 7)), 0, closeX, 0, 0);
    SetCaptionButton(skin, "MAXIMIZE", skin.AddImage("BtnMaximize.bmp", CaptionButton(w, h, plain, MaximiseGlyph, 9)), 1,
                     closeX + step, 2, 6);
    SetCaptionButton(skin, "RESTORE", skin.AddImage("BtnRestore.bmp", CaptionButton(w, h, plain, RestoreGlyph, 9)), 1,
                     closeX + step, 1, 6);
    SetCaptionButton(skin, "MINIMIZE", skin.AddImage("BtnMinimize.bmp", CaptionButton(w, h, plain, MinimiseGlyph, 9)), 2,
                     closeX + 2 * step, 6, 6);
    SetCaptionButton(skin, "HELP", skin.AddImage("BtnHelp.bmp", CaptionButton(w, h, plain, HelpGlyph, 10)), 4,
                     closeX + 3 * step, 1000, 0);

    // The controls of a maximised MDI child, in the menu bar: minimise, restore, close, each
    // four frames, twelve equal columns.
    auto mdi = NewStrip(16, 14, 12);
    TArtCanvas canvas(*mdi, SkinPalette::Face);
    constexpr TFaceLook looks[4] = {SkinPalette::ButtonNormal, SkinPalette::ButtonPressed, SkinPalette::ButtonHot,
                                    SkinPalette::ButtonDisabled};
    void (*const glyphs[3])(TArtCanvas&, const TRect&, double, TColor) = {MinimiseGlyph, RestoreGlyph, CloseGlyph};
    for (int button = 0; button < 3; ++button)
        for (int state = 0; state < 4; ++state) {
            const TRect cell = StripFrame(*mdi, 12, button * 4 + state);
            canvas.Box(cell, 2, looks[state]);
            glyphs[button](canvas, cell, button == 2 ? 6 : 8, looks[state].glyph);
        }
    skin.Set("MDICONTROLS", "Image", skin.AddImage("MDIControls.bmp", std::move(mdi)));
}

void WriteColours(TSkinBuilder& skin)
{
    const std::pair<const char*, TColor> colours[] = {
        {"WindowText", SkinPalette::Text},        {"ButtonFace", SkinPalette::Face},
        {"Scrollbar", SkinPalette::Track},        {"HilightText", SkinPalette::SelectionText},
        {"Hilight", SkinPalette::Selection},      {"Menubar", SkinPalette::Face},
        {"Menu", SkinPalette::Menu},              {"MenuText", SkinPalette::Text},
        {"ButtonText", SkinPalette::Text},        {"ButtonHilight", SkinPalette::White},
        {"Buttonlight", SkinPalette::FaceLight},  {"ButtonShadow", SkinPalette::Shadow},
        {"ButtonDkShadow", SkinPalette::DarkShadow}, {"MenuBarText", SkinPalette::Text},
        {"TitleTextActive", SkinPalette::TitleText}, {"TitleTextNoActive", SkinPalette::TitleTextInactive},
    };
    for (const auto& [key, colour] : colours)
        skin.Set("Colours", key, RgbText(colour));
}
