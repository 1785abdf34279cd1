#include "tools/skingen/lib/SkinPreview.h"

#include "tools/skingen/lib/ArtCanvas.h"
#include "tools/skingen/lib/SkinPalette.h"

#include "platform/rtl/Exceptions.h"

namespace {

constexpr int WindowWidth = 424;
constexpr int WindowHeight = 374;

struct TMargins {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Maps a target offset to a source offset: the margins keep their size, the middle stretches.
int NinePartSource(int offset, int target, int source, int startMargin, int endMargin)
{
    if (target < startMargin + endMargin)
        return offset * source / target;
    if (offset < startMargin)
        return offset;
    if (offset >= target - endMargin)
        return source - (target - offset);
    const int middle = target - startMargin - endMargin;
    return startMargin + (offset - startMargin) * (source - startMargin - endMargin) / middle;
}

class TPreview {
public:
    explicit TPreview(const TSkinBuilder& skin) : m_skin(skin), m_bitmap(NewStrip(WindowWidth, WindowHeight, 1)) {}

    // Draws frame `index` of `frames` of an image into `target`.
    void Element(const std::string& image, int frames, int index, const TRect& target, TMargins margins = {},
                 bool vertical = false)
    {
        TBitmap* source = const_cast<TBitmap*>(m_skin.Image(image));
        if (source == nullptr)
            throw Exception("The preview needs " + image);
        const TRect frame = StripFrame(*source, frames, index, vertical);
        const int fw = frame.right - frame.left, fh = frame.bottom - frame.top;
        const int tw = target.right - target.left, th = target.bottom - target.top;
        for (int y = 0; y < th; ++y)
            for (int x = 0; x < tw; ++x) {
                const TColor colour = ReadPixel(*source, frame.left + NinePartSource(x, tw, fw, margins.left, margins.right),
                                                               frame.top + NinePartSource(y, th, fh, margins.top, margins.bottom));
                if (colour != KeyColour)
                    WritePixel(*m_bitmap, target.left + x, target.top + y, colour);
            }
    }

    void Fill(const TRect& rect, TColor colour)
    {
        m_bitmap->Canvas()->Brush()->SetStyle(bsSolid);
        m_bitmap->Canvas()->Brush()->SetColor(colour);
        m_bitmap->Canvas()->FillRect(rect);
    }

    // Text in the interface font on whatever lies below, so its contrast can be judged there.
    void Text(int x, int y, const std::string& text, TColor colour)
    {
        TCanvas* canvas = m_bitmap->Canvas();
        canvas->Brush()->SetStyle(bsClear);
        canvas->Font()->SetColor(colour);
        canvas->TextOut(x, y, text);
    }

    // Text centred in `rect`, the way a button or a tab writes its caption.
    void CentredText(const TRect& rect, const std::string& text, TColor colour)
    {
        const SIZE size = m_bitmap->Canvas()->TextExtent(text);
        Text(rect.left + (rect.right - rect.left - size.cx) / 2, rect.top + (rect.bottom - rect.top - size.cy) / 2, text,
             colour);
    }

    std::unique_ptr<TBitmap> Take() { return std::move(m_bitmap); }

private:
    const TSkinBuilder& m_skin;
    std::unique_ptr<TBitmap> m_bitmap;
};

void DrawFrame(TPreview& preview)
{
    constexpr int border = 4, caption = 26;
    preview.Fill(Rect(0, 0, WindowWidth, WindowHeight), SkinPalette::Face);
    preview.Element("FrameLeft.bmp", 2, 0, Rect(0, 0, border, WindowHeight), {0, caption, 0, border});
    preview.Element("FrameRight.bmp", 2, 0, Rect(WindowWidth - border, 0, WindowWidth, WindowHeight), {0, caption, 0, border});
    preview.Element("FrameTop.bmp", 2, 0, Rect(border, 0, WindowWidth - border, caption), {}, true);
    preview.Element("FrameBottom.bmp", 2, 0, Rect(border, WindowHeight - border, WindowWidth - border, WindowHeight), {}, true);
    const char* buttons[] = {"BtnClose.bmp", "BtnMaximize.bmp", "BtnMinimize.bmp", "BtnHelp.bmp"};
    for (int i = 0; i < 4; ++i) {
        const int x = WindowWidth - 27 - i * 23;
        preview.Element(buttons[i], 4, i == 1 ? 3 : 0, Rect(x, 4, x + 21, 21));
    }
    preview.Text(12, 6, "Modem Manager", SkinPalette::TitleText);
    // The inactive look of the caption, as a strip under the real one.
    preview.Element("FrameTop.bmp", 2, 1, Rect(border, caption, WindowWidth - border, caption + 26), {}, true);
    preview.Text(12, caption + 6, "Inactive window", SkinPalette::TitleTextInactive);
    for (int state = 0; state < 4; ++state)
        preview.Element("BtnClose.bmp", 4, state, Rect(300 + state * 23, caption + 4, 321 + state * 23, caption + 21));
}

void DrawControls(TPreview& preview)
{
    constexpr TMargins four{4, 4, 4, 4};
    // Push buttons in every state: normal, pressed, disabled, hot, focused.
    const char* captions[5] = {"Normal", "Pressed", "Disabled", "Hot", "Default"};
    const TColor inks[5] = {SkinPalette::ButtonNormal.glyph, SkinPalette::ButtonPressed.glyph,
                            SkinPalette::ButtonDisabled.glyph, SkinPalette::ButtonHot.glyph, SkinPalette::Text};
    for (int state = 0; state < 5; ++state) {
        const TRect button = Rect(12 + state * 80, 62, 84 + state * 80, 88);
        preview.Element("Buttons.bmp", 5, state, button, four);
        preview.CentredText(button, captions[state], inks[state]);
    }
    // Check boxes and radio buttons, every frame.
    for (int frame = 0; frame < 12; ++frame)
        preview.Element("CheckBox.bmp", 12, frame, Rect(12 + frame * 20, 98, 25 + frame * 20, 111));
    for (int frame = 0; frame < 8; ++frame)
        preview.Element("RadioButton.bmp", 8, frame, Rect(260 + frame * 19, 98, 273 + frame * 19, 111));
    // Progress bar at 60 per cent.
    preview.Element("Progress.bmp", 2, 0, Rect(12, 120, 200, 136), {3, 3, 3, 3});
    preview.Element("Progress.bmp", 2, 1, Rect(12, 120, 124, 136), {3, 3, 3, 3});
    for (int chunk = 0; chunk < 12; ++chunk)
        preview.Element("ProgressChunk.bmp", 1, 0, Rect(212 + chunk * 8, 122, 220 + chunk * 8, 134));
    // Tabs over a pane.
    preview.Element("TabPane.bmp", 1, 0, Rect(12, 166, 200, 236), {4, 5, 4, 4});
    preview.Element("Tabs.bmp", 5, 0, Rect(14, 146, 74, 168), {5, 5, 5, 3});
    preview.Element("Tabs.bmp", 5, 1, Rect(72, 144, 136, 168), {5, 5, 5, 3});
    preview.Element("Tabs.bmp", 5, 2, Rect(134, 146, 194, 168), {5, 5, 5, 3});
    preview.CentredText(Rect(14, 148, 74, 168), "General", SkinPalette::Text);
    preview.CentredText(Rect(72, 146, 136, 168), "Details", SkinPalette::Text);
    preview.CentredText(Rect(134, 148, 194, 168), "Hot tab", SkinPalette::TextHot);
    preview.Text(22, 180, "Text on the page of a tab", SkinPalette::Text);
    preview.Text(22, 198, "Disabled text on the page", SkinPalette::DisabledText);
    // Combo box: edge with the button and arrow at the right.
    preview.Element("SunkEdge.bmp", 4, 0, Rect(212, 146, 340, 167), {3, 3, 3, 3});
    preview.Element("ComboButton.bmp", 4, 3, Rect(322, 146, 340, 167));
    preview.Element("ExtraImages.bmp", 5, 3, Rect(322, 146, 340, 167));
    preview.Element("SunkEdge.bmp", 4, 3, Rect(212, 176, 340, 197), {3, 3, 3, 3});
    preview.Element("ComboButton.bmp", 4, 0, Rect(322, 176, 340, 197));
    preview.Element("ExtraImages.bmp", 5, 0, Rect(322, 176, 340, 197));
    preview.Text(217, 150, "Combo box", SkinPalette::Text);
    preview.Text(217, 180, "Focused combo", SkinPalette::Text);
    // Up-down beside the combo.
    preview.Element("UpDownVert.bmp", 8, 0, Rect(350, 146, 366, 156), {2, 2, 2, 2});
    preview.Element("UpDownVertGlyph.bmp", 8, 0, Rect(350, 146, 366, 156));
    preview.Element("UpDownVert.bmp", 8, 7, Rect(350, 156, 366, 166), {2, 2, 2, 2});
    preview.Element("UpDownVertGlyph.bmp", 8, 7, Rect(350, 156, 366, 166));
    // Track bar.
    preview.Element("Track.bmp", 1, 0, Rect(212, 214, 400, 220), {3, 0, 3, 0});
    preview.Element("TrackThumbHorz.bmp", 5, 1, Rect(280, 207, 291, 227));
    preview.Element("TrackThumbDown.bmp", 5, 2, Rect(320, 207, 331, 227));
}

void DrawScrollBarsAndMenu(TPreview& preview)
{
    // A list with a vertical scroll bar.
    preview.Fill(Rect(12, 246, 200, 330), SkinPalette::White);
    preview.Fill(Rect(12, 264, 184, 280), SkinPalette::Selection);
    const char* lines[5] = {"First line of a list", "Selected line", "Third line", "Fourth line", "Fifth line"};
    for (int line = 0; line < 5; ++line)
        preview.Text(16, 249 + line * 16, lines[line], line == 1 ? SkinPalette::SelectionText : SkinPalette::Text);
    preview.Element("VertScroll.bmp", 4, 0, Rect(184, 262, 200, 314), {2, 2, 2, 2});
    preview.Element("Scrollbar.bmp", 23, 8, Rect(184, 246, 200, 262));
    preview.Element("Scrollbar.bmp", 23, 12, Rect(184, 314, 200, 330));
    preview.Element("VertScrollThumb.bmp", 3, 2, Rect(184, 270, 200, 300), {5, 5, 5, 5});
    preview.Element("Scrollbar.bmp", 23, 21, Rect(184, 277, 200, 293));
    // A horizontal one.
    preview.Element("HorzScroll.bmp", 4, 0, Rect(228, 314, 384, 330), {2, 2, 2, 2});
    preview.Element("Scrollbar.bmp", 23, 0, Rect(212, 314, 228, 330));
    preview.Element("Scrollbar.bmp", 23, 7, Rect(384, 314, 400, 330));
    preview.Element("HorzScrollThumb.bmp", 3, 0, Rect(250, 314, 300, 330), {5, 5, 5, 5});
    preview.Element("Scrollbar.bmp", 23, 16, Rect(267, 314, 283, 330));
    // A popup menu with a selected item and a separator.
    preview.Element("MenuBackground.bmp", 1, 0, Rect(212, 236, 400, 306), {25, 2, 2, 2});
    preview.Element("MenuItem.bmp", 5, 3, Rect(215, 240, 397, 260), {4, 4, 4, 4});
    preview.Element("MenuItem.bmp", 5, 1, Rect(215, 261, 397, 271), {4, 4, 4, 4});
    preview.Text(244, 243, "Selected menu item", SkinPalette::SelectionText);
    preview.Text(244, 273, "Menu item", SkinPalette::Text);
    preview.Text(244, 289, "Disabled menu item", SkinPalette::DisabledText);
    // Status bar panels and the size grip.
    preview.Fill(Rect(4, 346, WindowWidth - 4, WindowHeight - 4), SkinPalette::Face);
    preview.Element("StatusBarEdges.bmp", 3, 0, Rect(6, 348, 200, 368), {2, 2, 2, 2});
    preview.Element("StatusBarEdges.bmp", 3, 0, Rect(202, 348, 400, 368), {2, 2, 2, 2});
    preview.Text(10, 351, "Ready", SkinPalette::Text);
    preview.Text(206, 351, "Connected at 57600", SkinPalette::Text);
    preview.Element("ExtraImages.bmp", 5, 4, Rect(WindowWidth - 22, WindowHeight - 25, WindowWidth - 4, WindowHeight - 4));
}

} // namespace

std::unique_ptr<TBitmap> RenderPreview(const TSkinBuilder& skin)
{
    TPreview preview(skin);
    DrawFrame(preview);
    DrawControls(preview);
    DrawScrollBarsAndMenu(preview);
    return preview.Take();
}
