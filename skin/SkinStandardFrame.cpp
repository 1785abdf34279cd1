#include "skin/SkinStandardFrame.h"

#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/SysColors.h"
#include "platform/winapi/user/WinUser.h"

#include <array>
#include <string>

namespace {

constexpr int PictureLength = 32;
constexpr int ButtonFrames = 4;
constexpr int ButtonGap = 2;
constexpr int IconSize = 16;

int FrameWidth()
{
    return GetSystemMetrics(SM_CXFRAME);
}

int CaptionHeight()
{
    return GetSystemMetrics(SM_CYCAPTION);
}

SIZE ButtonSize()
{
    return SIZE{GetSystemMetrics(SM_CXSIZE) - 2, GetSystemMetrics(SM_CYSIZE) - 4};
}

void Fill(TBitmap& picture, const RECT& rect, int systemColour)
{
    const HBRUSH brush = GetSysColorBrush(systemColour);
    RECT r = rect;
    (void)FillRect(picture.Canvas()->Handle(), &r, brush);
}

void SetUp(TDataSkinBorder& border, const char* name, int width, int height, int frames)
{
    border.Name = name;
    border.Frame = frames;
    border.Tile = 1;
    border.Trans = 0;
    border.Image.SetPixelFormat(pf24bit);
    border.Image.SetSize(width, height);
}

// One frame of a border: face colour with the raised edge of a window's outer rim on the sides
// the border touches.
void DrawRim(TBitmap& picture, const RECT& frame, UINT sides)
{
    Fill(picture, frame, COLOR_BTNFACE);
    RECT r = frame;
    (void)DrawEdge(picture.Canvas()->Handle(), &r, EDGE_RAISED, sides);
}

void DrawTop(TDataSkinBorder& top)
{
    const int frame = FrameWidth();
    const int height = frame + CaptionHeight();
    SetUp(top, "Top", PictureLength, 2 * height, 2);
    top.LeftWidth = top.RightWidth = frame;
    const std::array<int, 2> captions{COLOR_ACTIVECAPTION, COLOR_INACTIVECAPTION};
    for (int state = 0; state < 2; ++state) {
        const int y = state * height;
        DrawRim(top.Image, RECT{0, y, PictureLength, y + height}, BF_LEFT | BF_TOP | BF_RIGHT);
        Fill(top.Image, RECT{frame, y + frame, PictureLength - frame, y + height - 1}, captions[state]);
    }
}

void DrawSide(TDataSkinBorder& side, const char* name, UINT rim)
{
    const int frame = FrameWidth();
    SetUp(side, name, 2 * frame, PictureLength, 2);
    for (int state = 0; state < 2; ++state)
        DrawRim(side.Image, RECT{state * frame, 0, (state + 1) * frame, PictureLength}, rim);
}

void DrawBottom(TDataSkinBorder& bottom)
{
    const int frame = FrameWidth();
    SetUp(bottom, "Bottom", PictureLength, 2 * frame, 2);
    bottom.LeftWidth = bottom.RightWidth = frame;
    for (int state = 0; state < 2; ++state)
        DrawRim(bottom.Image, RECT{0, state * frame, PictureLength, (state + 1) * frame}, BF_LEFT | BF_BOTTOM | BF_RIGHT);
}

struct TStandardButton {
    const char* name;
    int action;
    UINT glyph;
    // Which buttons sit between this one and the right border.
    int fromRight;
    int visibility;
    int visibility1;
};

// Close, then maximise or restore in one place, then minimise; the same visibility rules as our
// own skin's buttons.
constexpr std::array<TStandardButton, 4> Buttons{{
    {"BUTTON.CLOSE", 0, DFCS_CAPTIONCLOSE, 0, 0, 0},
    {"BUTTON.MAXIMIZE", 1, DFCS_CAPTIONMAX, 1, 2, 6},
    {"BUTTON.RESTORE", 1, DFCS_CAPTIONRESTORE, 1, 1, 6},
    {"BUTTON.MINIMIZE", 2, DFCS_CAPTIONMIN, 2, 6, 6},
}};

std::unique_ptr<TDataSkinSysButton> StandardButton(const TStandardButton& kind)
{
    const SIZE size = ButtonSize();
    auto button = std::make_unique<TDataSkinSysButton>();
    button->Name = kind.name;
    button->Action = kind.action;
    button->Align = 1;
    button->XCoord = FrameWidth() + ButtonGap + (kind.fromRight + 1) * size.cx + (kind.fromRight > 0 ? ButtonGap : 0);
    button->YCoord = FrameWidth() + (CaptionHeight() - 1 - size.cy) / 2;
    button->Visibility = kind.visibility;
    button->Visibility1 = kind.visibility1;
    button->Frame = ButtonFrames;
    button->Image.SetPixelFormat(pf24bit);
    button->Image.SetSize(ButtonFrames * size.cx, size.cy);
    const std::array<UINT, ButtonFrames> states{0, DFCS_PUSHED, 0, DFCS_INACTIVE};
    for (int frame = 0; frame < ButtonFrames; ++frame) {
        RECT cell{frame * size.cx, 0, (frame + 1) * size.cx, size.cy};
        (void)DrawFrameControl(button->Image.Canvas()->Handle(), &cell, DFC_CAPTION,
                               kind.glyph | states[static_cast<std::size_t>(frame)]);
    }
    return button;
}

} // namespace

void DrawStandardBorders(TDataSkinBorder& left, TDataSkinBorder& top, TDataSkinBorder& right, TDataSkinBorder& bottom)
{
    if (top.Image.Empty())
        DrawTop(top);
    if (left.Image.Empty())
        DrawSide(left, "Left", BF_LEFT);
    if (right.Image.Empty())
        DrawSide(right, "Right", BF_RIGHT);
    if (bottom.Image.Empty())
        DrawBottom(bottom);
}

std::vector<std::unique_ptr<TDataSkinSysButton>> StandardCaptionButtons()
{
    std::vector<std::unique_ptr<TDataSkinSysButton>> buttons;
    auto icon = std::make_unique<TDataSkinSysButton>();
    icon->Name = "BUTTON.ICON";
    icon->Action = 3;
    icon->XCoord = FrameWidth() + ButtonGap;
    icon->YCoord = FrameWidth() + (CaptionHeight() - 1 - IconSize) / 2;
    icon->Frame = 1;
    buttons.push_back(std::move(icon));
    for (const TStandardButton& kind : Buttons)
        buttons.push_back(StandardButton(kind));
    return buttons;
}

void PlaceStandardCaptionText(TDataSkinTitle& title)
{
    title.TextAlignment = 0;
    title.LeftWidth = FrameWidth() + ButtonGap + IconSize;
    title.TopHeight = 0;
    title.RightWidth = FrameWidth() + 2 * ButtonGap + 3 * ButtonSize().cx + ButtonGap;
}
