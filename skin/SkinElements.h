#pragma once

#include "platform/classlib/core/Colors.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/WinGdi.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class TQuickIni;
class TSkinReader;

// One skin element: a bitmap of one or more frames (states) side by side, the margins of its
// nine-part drawing and its text colours (-1 for none).
class TDataSkinObject : public TObject {
public:
    TDataSkinObject() = default;

    int LeftWidth = 0;
    int TopHeight = 0;
    int RightWidth = 0;
    int BottomHeight = 0;
    TBitmap Image;
    int Trans = 0;
    // 1 tiles the middle, 0 stretches it (for frame borders: Stretch).
    int Tile = 0;
    std::string Name;
    int Frame = 0;
    int Style = 0;
    TColor NormalColour = -1;
    TColor MouseOverColour = -1;
    TColor PressedColour = -1;
    TColor NormalColour2 = -1;
    TColor MouseOverColour2 = -1;
    TColor PressedColour2 = -1;
};

// An element with a second bitmap: the glyph or border image that goes with it.
class TDataSkinBorder : public TDataSkinObject {
public:
    TBitmap Glyph;
};

// The push-button element with the check-box and radio-button glyph strips.
class TDataSkinButton : public TDataSkinObject {
public:
    TBitmap CheckButton;
    TBitmap RadioButton;
    int RadioButtonFrame = 0;
    int CheckButtonFrame = 0;
    bool HasNormalColour2 = false;
    bool HasMouseOverColour2 = false;
    bool HasPressedColour2 = false;
};

// A caption button.
class TDataSkinSysButton : public TDataSkinObject {
public:
    int Action = 0;
    int Align = 0;
    int XCoord = 0;
    int YCoord = 0;
    int CombineOp = -1;
    int Visibility = 0;
    int Visibility1 = 0;
};

inline constexpr TColor TitleColourNotSet = 0x1FFFFFFF;

// The caption text: its background image, and in the margins its shift and right clip.
class TDataSkinTitle : public TDataSkinObject {
public:
    int TextAlignment = 0;
    int Textbackground = 0;
    int FontHeight = 14;
    int TXTBackleft = 0;
    int TXTBackRight = 0;
    TColor ActiveTextColour = TitleColourNotSet;
    TColor InactiveTextColour = TitleColourNotSet;
};

// The group box caption background.
class TDataSkinBoxLabel : public TDataSkinObject {
public:
    int BackgroundLeftShift = 0;
    int BackgroundRightShift = 0;
    int BackgroundAlignment = 0;
};

// The sixteen colours of a skin, each an RGB value or a system colour.
struct TSkinColours {
    TColor WindowText = clWindowText;
    TColor ButtonFace = clBtnFace;
    TColor Scrollbar = clScrollBar;
    TColor HilightText = clHighlightText;
    TColor Hilight = clHighlight;
    TColor Menubar = clBtnFace;
    TColor Menu = clMenu;
    TColor MenuText = clMenuText;
    TColor ButtonText = clBtnText;
    TColor ButtonHilight = clBtnHighlight;
    TColor Buttonlight = clBtnHighlight;
    TColor ButtonShadow = clBtnShadow;
    TColor ButtonDkShadow = cl3DDkShadow;
    TColor MenuBarText = clMenuText;
    TColor TitleTextActive = clCaptionText;
    TColor TitleTextNoActive = clInactiveCaptionText;
};

// Every element of a skin, read from its INI and package. The borders, the button element and
// the title always exist; any other element is absent (null) when its section does not name an
// image. Frame counts are at least 1 once a skin is read.
class TSkinElements {
public:
    TSkinElements();
    ~TSkinElements();
    TSkinElements(const TSkinElements&) = delete;
    TSkinElements& operator=(const TSkinElements&) = delete;

    // Replaces every element, colour and the brush from the INI and the package's bitmaps.
    void ReadSkin(const TQuickIni& ini, const TSkinReader& package);

    [[nodiscard]] TDataSkinBorder& Left() { return m_left; }
    [[nodiscard]] TDataSkinBorder& Right() { return m_right; }
    [[nodiscard]] TDataSkinBorder& Top() { return m_top; }
    [[nodiscard]] TDataSkinBorder& Bottom() { return m_bottom; }
    [[nodiscard]] TDataSkinButton& Buttons() { return m_buttons; }
    [[nodiscard]] TDataSkinTitle& Title() { return m_title; }
    [[nodiscard]] const std::vector<std::unique_ptr<TDataSkinSysButton>>& SysButtons() const { return m_sysButtons; }
    // The element of that name ("Progress", "Tab.Pane", "MenuBar", "ComboxArrow", "Toolbar", ...),
    // or null when the skin has none.
    [[nodiscard]] TDataSkinObject* Element(const std::string& name) const;
    // As Element, for the elements that carry a second bitmap.
    [[nodiscard]] TDataSkinBorder* BorderElement(const std::string& name) const;
    [[nodiscard]] TDataSkinBoxLabel* BoxLabel(const std::string& name) const;
    [[nodiscard]] const TSkinColours& Colours() const { return m_colours; }
    // A solid brush of ButtonFace, owned here; null before a skin is read.
    [[nodiscard]] HBRUSH ButtonFaceBrush() const { return m_buttonFaceBrush.Get(); }
    // The colour of the top border's picture a third of the way in, or ButtonFace without one.
    [[nodiscard]] TColor TitleColour();

private:
    friend class TSkinLoad;

    void Clear();
    void SetElement(const std::string& name, std::unique_ptr<TDataSkinObject> element);

    TDataSkinBorder m_left;
    TDataSkinBorder m_right;
    TDataSkinBorder m_top;
    TDataSkinBorder m_bottom;
    TDataSkinButton m_buttons;
    TDataSkinTitle m_title;
    std::vector<std::unique_ptr<TDataSkinSysButton>> m_sysButtons;
    std::map<std::string, std::unique_ptr<TDataSkinObject>> m_elements;
    TSkinColours m_colours;
    GdiObject<HBRUSH> m_buttonFaceBrush;
};
