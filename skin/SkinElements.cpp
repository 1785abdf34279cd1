#include "skin/SkinElements.h"

#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/rtl/Strings.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/user/WinUser.h"
#include "skin/QuickIni.h"
#include "skin/SkinDraw.h"
#include "skin/SkinElementReader.h"
#include "skin/SkinReader.h"
#include "skin/SkinRoutines.h"
#include "skin/SkinStandardFrame.h"

#include <algorithm>

namespace {

constexpr int ComboCellWidth = 50;
constexpr int ComboCellHeight = 21;
constexpr int ComboArrowSize = 17;

bool HasImage(const TDataSkinObject* element) { return element && !element->Image.Empty(); }

TSkinMargins MarginsOf(const TDataSkinObject& element)
{
    return {element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
}

// A 24-bit bitmap of the given size filled with `colour`.
void MakeSolid(TBitmap& bitmap, int width, int height, TColor colour)
{
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(width, height);
    bitmap.Canvas()->Brush()->SetColor(colour);
    bitmap.Canvas()->FillRect(RECT{0, 0, width, height});
}

void ResetElement(TDataSkinObject& element)
{
    element.LeftWidth = element.TopHeight = element.RightWidth = element.BottomHeight = 0;
    element.Image.SetSize(0, 0);
    element.Trans = element.Tile = element.Frame = element.Style = 0;
    element.NormalColour = element.MouseOverColour = element.PressedColour = -1;
}

const char* const PlainElements[] = {
    "ExtraImages",         "Headerbar",           "MenuItem",           "MenuBackground",
    "Scrollbar",           "HorzScroll",          "VertScroll",         "HorzScrollThumb",
    "VertScrollThumb",     "Trackbar.ThumbHorz",  "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
    "Trackbar.ThumbRight", "Trackbar.ThumbUp",    "Trackbar.ThumbDown",
};

struct TFixedFrame {
    const char* name;
    int frame;
};

const TFixedFrame FixedFrames[] = {
    {"MenuBar", 2},       {"GroupBoxEdge", 2},       {"Toolbar", 1},           {"ToolBars", 5},
    {"Tabs", 5},          {"Tab.Pane", 1},           {"StatusBarEdges", 3},    {"GroupBox", 1},
    {"ComboButton", 4},   {"SunkEdge", 4},           {"ExtraImages", 5},       {"MenuItem", 5},
    {"MenuBackground", 1}, {"Scrollbar", 23},        {"HorzScroll", 4},        {"VertScroll", 4},
    {"UpDown.Vert", 8},   {"UpDown.Horz", 8},        {"Trackbar.ThumbHorz", 5}, {"Trackbar.ThumbVert", 5},
    {"Trackbar.ThumbLeft", 5}, {"Trackbar.ThumbRight", 5}, {"Trackbar.ThumbUp", 5}, {"Trackbar.ThumbDown", 5},
};

bool IsSysButtonSection(const std::string& section)
{
    const std::string upper = UpperCase(section);
    return upper.starts_with("BUTTON") && upper != "BUTTON" && upper != "BUTTONS" && upper != "BUTTON.RADIO" &&
           upper != "BUTTON.CHECKBOX";
}

// The frame count of a check or radio strip that the skin leaves open.
int GlyphFrames(const TBitmap& image)
{
    return std::max(image.Width() / (image.Height() < 16 ? 13 : 16), 4);
}

} // namespace

// Reads a whole skin into a TSkinElements, step by step in the order later steps rely on.
class TSkinLoad {
public:
    TSkinLoad(TSkinElements& skin, const TQuickIni& ini, const TSkinReader& package)
        : m_skin(skin), m_ini(ini), m_read(ini, package, clBtnText)
    {
    }

    void Run()
    {
        ReadBorders();
        ReadColours();
        m_read.SetTextDefault(m_skin.m_colours.ButtonText);
        ReadSysButtons();
        ReadButtons();
        ReadTitle();
        FallBackToStandardFrame();
        ReadElements();
        FixFrameCounts();
        ComposeCombo();
        MakeComboArrow();
        MakeToolbar();
        MakeBrush();
    }

private:
    void ReadBorder(TDataSkinBorder& border, const std::string& name, bool sideBorder);
    void ReadBorders();
    void ReadColours();
    void ReadSysButtons();
    [[nodiscard]] std::unique_ptr<TDataSkinSysButton> ReadSysButton(const std::string& section) const;
    void AddMdiButtons();
    void ReadButtons();
    void ReadTitle();
    // A skin without a caption picture is worn with the standard frame.
    void FallBackToStandardFrame();
    void ReadElements();
    void FixFrameCounts();
    void ComposeCombo();
    void MakeComboArrow();
    void MakeToolbar();
    void MakeBrush();

    void Set(const std::string& name, std::unique_ptr<TDataSkinObject> element)
    {
        m_skin.SetElement(name, std::move(element));
    }
    [[nodiscard]] TDataSkinObject* Get(const std::string& name) const { return m_skin.Element(name); }

    TSkinElements& m_skin;
    const TQuickIni& m_ini;
    TSkinElementReader m_read;
};

void TSkinLoad::ReadBorder(TDataSkinBorder& border, const std::string& name, bool sideBorder)
{
    ResetElement(border);
    border.Name = name;
    const int start = m_read.Integer("Personality", name + "TopHeight", 0);
    const int end = m_read.Integer("Personality", name + "BotHeight", 0);
    if (sideBorder) {
        border.TopHeight = start;
        border.BottomHeight = end;
    } else {
        border.LeftWidth = start;
        border.RightWidth = end;
    }
    border.Frame = m_read.Integer("Personality", name + "Frame", 1);
    border.Tile = std::min(m_read.Integer("Personality", name + "Stretch", 1), 1);
    border.Trans = m_read.Integer("Personality", name + "Trans", 1);
    m_read.ReadImage(m_read.String("Personality", name), border.Image);
}

void TSkinLoad::ReadBorders()
{
    ReadBorder(m_skin.m_left, "Left", true);
    ReadBorder(m_skin.m_right, "Right", true);
    ReadBorder(m_skin.m_top, "Top", false);
    ReadBorder(m_skin.m_bottom, "Bottom", false);
}

void TSkinLoad::ReadColours()
{
    TSkinColours& c = m_skin.m_colours;
    const auto read = [this](const char* key, TColor defaultColour) {
        return m_read.Rgb("Colours", key, defaultColour);
    };
    c.WindowText = read("WindowText", clWindowText);
    c.ButtonFace = read("ButtonFace", clBtnFace);
    c.Scrollbar = read("Scrollbar", clScrollBar);
    c.HilightText = read("HilightText", clHighlightText);
    c.Hilight = read("Hilight", clHighlight);
    c.Menubar = read("Menubar", c.ButtonFace);
    c.Menu = read("Menu", clMenu);
    c.MenuText = read("MenuText", clMenuText);
    c.ButtonText = read("ButtonText", clBtnText);
    c.ButtonHilight = read("ButtonHilight", clBtnHighlight);
    c.Buttonlight = read("Buttonlight", clBtnHighlight);
    c.ButtonShadow = read("ButtonShadow", clBtnShadow);
    c.ButtonDkShadow = read("ButtonDkShadow", cl3DDkShadow);
    c.MenuBarText = read("MenuBarText", clMenuText);
    c.TitleTextActive = read("TitleTextActive", clCaptionText);
    c.TitleTextNoActive = read("TitleTextNoActive", clInactiveCaptionText);
}

std::unique_ptr<TDataSkinSysButton> TSkinLoad::ReadSysButton(const std::string& section) const
{
    const int action = m_read.Integer(section, "Action", 0);
    const int visibility = m_read.Integer(section, "Visibility", 0);
    if (action == -1 && m_read.String(section, "Visibility") != "0")
        return nullptr;
    auto button = std::make_unique<TDataSkinSysButton>();
    button->Name = UpperCase(section);
    button->Action = action;
    button->Align = m_read.Integer(section, "Align", 0);
    button->XCoord = m_read.Integer(section, "XCoord", 0);
    button->YCoord = m_read.Integer(section, "YCoord", 0);
    button->Visibility = visibility;
    button->Visibility1 = m_read.Integer(section, "Visibility1", action == -1 ? -1 : 0);
    button->CombineOp = m_read.Integer(section, "CombineOp", -1);
    button->Frame = m_read.Integer(section, "Frame", 0);
    m_read.ReadImage(m_read.String(section, "ButtonImage"), button->Image);
    if (button->Frame < 1) {
        const TBitmap& image = button->Image;
        // A picture of height 0 is no picture, so the ratio never divides by zero.
        const bool narrow = !image.Empty() && image.Width() * 10 <= image.Height() * 38;
        button->Frame = narrow && action >= 0 ? 3 : 6;
        if (action == 3 || action == 11)
            button->Image.SetSize(0, 0);
    }
    return button;
}

void TSkinLoad::AddMdiButtons()
{
    TBitmap strip;
    m_read.ReadImage(m_read.String("MDICONTROLS", "Image"), strip);
    const int column = strip.Width() / 12;
    for (int i = 0; i < 3; ++i) {
        auto button = std::make_unique<TDataSkinSysButton>();
        button->Action = 7 + i;
        button->Name = "MDICONTROLS" + std::to_string(button->Action);
        button->Align = button->Visibility = button->Visibility1 = 100;
        button->Frame = 4;
        button->XCoord = (column + 4) * (3 - i);
        if (column > 0 && !strip.Empty()) {
            button->Image.SetSize(4 * column, strip.Height());
            BitBlt(button->Image.Canvas()->Handle(), 0, 0, 4 * column, strip.Height(), strip.Canvas()->Handle(),
                   4 * i * column, 0, SRCCOPY);
        }
        m_skin.m_sysButtons.push_back(std::move(button));
    }
}

void TSkinLoad::ReadSysButtons()
{
    m_skin.m_sysButtons.clear();
    std::vector<std::string> sections;
    m_ini.ReadSections(sections);
    for (const std::string& section : sections) {
        if (!IsSysButtonSection(section))
            continue;
        if (auto button = ReadSysButton(section))
            m_skin.m_sysButtons.push_back(std::move(button));
    }
    AddMdiButtons();
}

void TSkinLoad::ReadButtons()
{
    TDataSkinButton& b = m_skin.m_buttons;
    ResetElement(b);
    b.Name = "Buttons";
    b.LeftWidth = m_read.Integer("Buttons", "LeftWidth", 0);
    b.RightWidth = m_read.Integer("Buttons", "RightWidth", 0);
    b.TopHeight = m_read.Integer("Buttons", "TopHeight", 0);
    b.BottomHeight = m_read.Integer("Buttons", "BottomHeight", 0);
    b.Trans = m_read.Integer("Buttons", "Trans", 0);
    const int tile = m_read.Integer("Buttons", "Tile", 0);
    b.Tile = tile > 1 ? 0 : tile;
    m_read.ReadImage(m_read.String("Buttons", "Bitmap"), b.Image);
    m_read.ReadImage(m_read.String("Buttons", "CheckButton"), b.CheckButton);
    m_read.ReadImage(m_read.String("Buttons", "RadioButton"), b.RadioButton);
    b.NormalColour = m_read.Integer("Buttons", "NormalColour", -1);
    b.MouseOverColour = m_read.Integer("Buttons", "MouseOverColour", -1);
    b.PressedColour = m_read.Integer("Buttons", "PressedColour", -1);
    b.RadioButtonFrame = m_read.Integer("Buttons", "RadioButtonFrame", 0);
    b.CheckButtonFrame = m_read.Integer("Buttons", "CheckButtonFrame", 0);
    const TColor text = m_skin.m_colours.ButtonText;
    b.HasNormalColour2 = !m_read.String("Buttons", "NormalColour2").empty();
    b.HasMouseOverColour2 = !m_read.String("Buttons", "MouseOverColour2").empty();
    b.HasPressedColour2 = !m_read.String("Buttons", "PressedColour2").empty();
    b.NormalColour2 = m_read.Rgb("Buttons", "NormalColour2", text);
    b.MouseOverColour2 = m_read.Rgb("Buttons", "MouseOverColour2", text);
    b.PressedColour2 = m_read.Rgb("Buttons", "PressedColour2", text);
}

void TSkinLoad::FallBackToStandardFrame()
{
    if (!m_skin.m_top.Image.Empty())
        return;
    DrawStandardBorders(m_skin.m_left, m_skin.m_top, m_skin.m_right, m_skin.m_bottom);
    auto& buttons = m_skin.m_sysButtons;
    const bool closable = std::any_of(buttons.begin(), buttons.end(), [](const auto& button) {
        return button->Action == 0 && !button->Image.Empty();
    });
    if (closable)
        return;
    std::erase_if(buttons, [](const auto& button) { return button->Action < 7 || button->Action > 9; });
    auto standard = StandardCaptionButtons();
    buttons.insert(buttons.begin(), std::make_move_iterator(standard.begin()), std::make_move_iterator(standard.end()));
    PlaceStandardCaptionText(m_skin.m_title);
}

void TSkinLoad::ReadTitle()
{
    TDataSkinTitle& t = m_skin.m_title;
    ResetElement(t);
    t.Name = "Title";
    m_read.ReadImage(m_read.String("Personality", "TextBack"), t.Image);
    t.LeftWidth = m_read.Integer("Personality", "TextShift", 0);
    t.TopHeight = m_read.Integer("Personality", "TextShiftVert", 0);
    t.RightWidth = m_read.Integer("Personality", "TextRightClip", 0);
    t.TextAlignment = m_read.Integer("Personality", "TextAlignment", 0);
    t.Textbackground = m_read.Integer("Personality", "Textbackground", 0);
    t.FontHeight = m_read.Integer("Fonts", "FontHeight", 14);
    t.TXTBackleft = m_read.Integer("Personality", "TXTBackleft", 0);
    t.TXTBackRight = m_read.Integer("Personality", "TXTBackRight", 0);
    const auto colour = [this](const std::string& prefix) {
        const int r = m_read.Integer("Personality", prefix + "R", -1);
        const int g = m_read.Integer("Personality", prefix + "G", -1);
        const int b = m_read.Integer("Personality", prefix + "B", -1);
        if (r < 0 || g < 0 || b < 0)
            return TitleColourNotSet;
        return static_cast<TColor>((r & 0xFF) | (g & 0xFF) << 8 | (b & 0xFF) << 16);
    };
    t.ActiveTextColour = colour("ActiveText");
    t.InactiveTextColour = colour("InActiveText");
}

void TSkinLoad::ReadElements()
{
    m_skin.m_elements.clear();
    Set("Progress", m_read.BitmapElement("Progress"));
    Set("Progress.Chunk", m_read.Plain("Progress.Chunk"));
    Set("MenuBar", m_read.MenuBar());
    Set("GroupBoxEdge", m_read.Plain("GroupBoxEdge"));
    Set("GroupBox", m_read.BoxLabel("GroupBox"));
    Set("Tabs", m_read.Bordered("Tabs", "Border"));
    Set("StatusBarEdges", m_read.Plain("StatusBarEdges"));
    auto pane = m_read.Plain("Tab.Pane");
    if (pane) {
        pane->LeftWidth = std::min(pane->LeftWidth, 4);
        pane->TopHeight = std::min(pane->TopHeight, 4);
        pane->RightWidth = std::min(pane->RightWidth, 4);
        pane->BottomHeight = std::min(pane->BottomHeight, 4);
    }
    Set("Tab.Pane", std::move(pane));
    Set("ToolBars", m_read.Plain("ToolBars"));
    auto comboButton = m_read.Bordered("ComboButton", "****");
    if (HasImage(comboButton.get())) {
        comboButton->Glyph.Assign(&comboButton->Image);
        MirrorBitmap(comboButton->Glyph);
    }
    Set("ComboButton", std::move(comboButton));
    Set("SunkEdge", m_read.Plain("SunkEdge"));
    for (const char* name : PlainElements)
        Set(name, m_read.Plain(name));
    Set("UpDown.Horz", m_read.Bordered("UpDown.Horz", "GlyphImage"));
    Set("UpDown.Vert", m_read.Bordered("UpDown.Vert", "GlyphImage"));
    for (const char* name : {"Track", "TRACKVERT"}) {
        auto element = m_read.Plain(name);
        Set(name, element ? std::move(element) : TSkinElementReader::ResourceElement(name));
    }
}

void TSkinLoad::FixFrameCounts()
{
    TDataSkinButton& b = m_skin.m_buttons;
    b.Frame = 5;
    if (b.RadioButtonFrame < 1)
        b.RadioButtonFrame = GlyphFrames(b.RadioButton);
    if (b.CheckButtonFrame < 1)
        b.CheckButtonFrame = GlyphFrames(b.CheckButton);
    m_skin.m_title.Frame = 2;
    if (TDataSkinObject* progress = Get("Progress"))
        progress->Frame = progress->Style != 0 ? 1 : 2;
    for (const TFixedFrame& fixed : FixedFrames)
        if (TDataSkinObject* element = Get(fixed.name))
            element->Frame = fixed.frame;
    if (TDataSkinObject* header = Get("Headerbar"); header && header->Frame < 1)
        header->Frame = 5;
    for (const char* name : {"HorzScrollThumb", "VertScrollThumb"})
        if (TDataSkinObject* thumb = Get(name))
            thumb->Frame = m_read.Integer(name, "FrameCount", 3);
    // Whatever the skin says, no frame count may become a zero divisor.
    for (TDataSkinObject* element : {static_cast<TDataSkinObject*>(&m_skin.m_left), static_cast<TDataSkinObject*>(&m_skin.m_right),
                                     static_cast<TDataSkinObject*>(&m_skin.m_top), static_cast<TDataSkinObject*>(&m_skin.m_bottom)})
        element->Frame = std::max(element->Frame, 1);
    for (auto& [name, element] : m_skin.m_elements)
        element->Frame = std::max(element->Frame, 1);
    for (auto& button : m_skin.m_sysButtons)
        button->Frame = std::max(button->Frame, 1);
}

void TSkinLoad::ComposeCombo()
{
    TDataSkinObject* sunk = Get("SunkEdge");
    auto* button = m_skin.BorderElement("ComboButton");
    if (!HasImage(sunk) || !HasImage(button))
        return;
    const int arrow = GetSystemMetrics(SM_CXHSCROLL) + 2;
    const int cells = sunk->Frame;
    TDataSkinObject* extra = Get("ExtraImages");
    TBitmap composed;
    MakeSolid(composed, ComboCellWidth * cells, ComboCellHeight, SkinKeyColour);
    HDC dc = composed.Canvas()->Handle();
    for (int i = 0; i < cells; ++i) {
        const int left = i * ComboCellWidth;
        const RECT cell{left, 0, left + ComboCellWidth, ComboCellHeight};
        const RECT arrowArea{cell.right - arrow, 0, cell.right, ComboCellHeight};
        DrawElement(dc, cell, sunk->Image, false, sunk->Tile != 0, sunk->Trans != 0, cells, i + 1, MarginsOf(*sunk));
        DrawElement(dc, arrowArea, button->Image, false, button->Tile != 0, true, button->Frame, i + 1,
                    MarginsOf(*button));
        if (HasImage(extra))
            DrawElement(dc, arrowArea, extra->Image, false, extra->Tile != 0, true, extra->Frame, i + 1,
                        MarginsOf(*extra));
        composed.Canvas()->Brush()->SetColor(SkinKeyColour);
        composed.Canvas()->FillRect(RECT{left + 2, 2, left + ComboCellWidth - 1 - arrow, 18});
    }
    button->Image.Assign(&composed);
    button->Style = 2;
    button->TopHeight = sunk->TopHeight;
    button->BottomHeight = sunk->BottomHeight;
    button->LeftWidth = 2;
    button->RightWidth = arrow + 2;
    sunk->Image.Assign(&composed);
    MirrorBitmap(sunk->Image);
    sunk->LeftWidth = arrow + 2;
    sunk->RightWidth = 2;
}

void TSkinLoad::MakeComboArrow()
{
    TDataSkinObject* sunk = Get("SunkEdge");
    TDataSkinObject* button = Get("ComboButton");
    if (!Get("ComboxArrow")) {
        auto made = std::make_unique<TDataSkinObject>();
        made->Name = "ComboxArrow";
        made->Frame = 1;
        Set("ComboxArrow", std::move(made));
    }
    TDataSkinObject* arrow = Get("ComboxArrow");
    if (!sunk && button) {
        arrow->Image.Assign(&button->Image);
        ReplaceKeyColour(arrow->Image, m_skin.m_colours.ButtonFace);
        arrow->Frame = button->Frame;
        return;
    }
    if (!sunk || !button || button->Style != 2)
        return;
    const int cells = sunk->Frame;
    MakeSolid(arrow->Image, ComboArrowSize * cells, ComboArrowSize, SkinKeyColour);
    for (int i = 0; i < cells; ++i) {
        const int sourceRight = (i + 1) * ComboCellWidth - 2;
        BitBlt(arrow->Image.Canvas()->Handle(), i * ComboArrowSize, 0, ComboArrowSize, ComboArrowSize,
               button->Image.Canvas()->Handle(), sourceRight - ComboArrowSize, 2, SRCCOPY);
    }
    arrow->Frame = cells;
}

void TSkinLoad::MakeToolbar()
{
    const TColor title = m_skin.TitleColour();
    const TColor top = BlendColors(m_skin.m_colours.ButtonFace, clWhite, 150);
    const int saturation = ColourSaturation(title);
    const TColor bottom = saturation > 110 ? BlendColors(title, clWhite, (5625 - 25 * saturation) / 140 + 50)
                                           : BlendColors(0x808080, title, 150);
    auto toolbar = std::make_unique<TDataSkinObject>();
    toolbar->Name = "Toolbar";
    toolbar->Frame = 1;
    MakeSolid(toolbar->Image, 10, 40, top);
    FillGradient(toolbar->Image.Canvas()->Handle(), RECT{0, 0, 10, 40}, top, true, bottom);
    Set("Toolbar", std::move(toolbar));
}

void TSkinLoad::MakeBrush()
{
    m_skin.m_buttonFaceBrush.Reset(CreateSolidBrush(ColorToRGB(m_skin.m_colours.ButtonFace)));
}

TSkinElements::TSkinElements()
{
    m_left.Name = "Left";
    m_right.Name = "Right";
    m_top.Name = "Top";
    m_bottom.Name = "Bottom";
    m_buttons.Name = "Buttons";
    m_title.Name = "Title";
}

TSkinElements::~TSkinElements() = default;

void TSkinElements::ReadSkin(const TQuickIni& ini, const TSkinReader& package)
{
    TSkinLoad(*this, ini, package).Run();
}

TDataSkinObject* TSkinElements::Element(const std::string& name) const
{
    const auto found = m_elements.find(name);
    return found == m_elements.end() ? nullptr : found->second.get();
}

TDataSkinBorder* TSkinElements::BorderElement(const std::string& name) const
{
    return dynamic_cast<TDataSkinBorder*>(Element(name));
}

TDataSkinBoxLabel* TSkinElements::BoxLabel(const std::string& name) const
{
    return dynamic_cast<TDataSkinBoxLabel*>(Element(name));
}

TColor TSkinElements::TitleColour()
{
    if (m_top.Image.Empty())
        return m_colours.ButtonFace;
    const int frameHeight = m_top.Image.Height() / std::max(m_top.Frame, 1);
    return m_top.Image.Canvas()->Pixels(m_top.Image.Width() / 3, frameHeight / 3);
}

void TSkinElements::SetElement(const std::string& name, std::unique_ptr<TDataSkinObject> element)
{
    if (element)
        m_elements[name] = std::move(element);
    else
        m_elements.erase(name);
}
