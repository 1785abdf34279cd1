#include "skin/SkinMenuItem.h"

#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/Text.h"
#include "skin/SkinData.h"
#include "skin/SkinDraw.h"
#include "skin/SkinManage.h"
#include "skin/WinSkinForm.h"
#include "skin/WinSkinPopMenu.h"

#include <algorithm>

HFONT SkinMenuFont(bool bold)
{
    static const auto make = [](bool heavy) {
        NONCLIENTMETRICSA metrics{};
        metrics.cbSize = sizeof(metrics);
        (void)SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
        if (heavy)
            metrics.lfMenuFont.lfWeight = FW_BOLD;
        return CreateFontIndirectA(&metrics.lfMenuFont);
    };
    // Both live as long as the program, like stock objects.
    static const HFONT normal = make(false);
    static const HFONT heavy = make(true);
    return bold ? heavy : normal;
}

namespace {

constexpr int PopupFrame = 3;       // the popup window's frame around its items
constexpr int GlyphSide = 16;       // the glyph column without an image list
constexpr int GlyphInset = 1;       // the glyph column from the item's left edge
constexpr int TextGap = 3;          // between the glyph column and the caption
constexpr int ShortCutInset = 10;   // the shortcut's right end from the item's right edge
constexpr int SeparatorLineTop = 4; // the etched line of a plain separator
constexpr int CheckSide = 13;
constexpr int NormalFrame = 1;
constexpr int SeparatorFrame = 2;
constexpr int SelectedFrame = 4;
constexpr int ItemFrames = 5;

TDataSkinObject* ItemElement(TSkinData* data)
{
    if (!data)
        return nullptr;
    TDataSkinObject* element = data->Elements().Element("MenuItem");
    return element && !element->Image.Empty() ? element : nullptr;
}

// The picture's left margin, which moves the glyph column right and widens the item: never more
// than a frame of the picture, whatever the skin says.
int ItemLeftWidth(const TDataSkinObject* element)
{
    return element ? std::clamp(element->LeftWidth, 0, element->Image.Width() / ItemFrames) : 0;
}

TSkinColours ColoursOf(TSkinData* data)
{
    return data ? data->Elements().Colours() : TSkinColours{};
}

// The system's check mark, whose black pixels take `colour`, in the middle of `box`.
void DrawCheckMark(HDC dc, const RECT& box, COLORREF colour)
{
    TBitmap mask;
    mask.SetPixelFormat(pf24bit);
    mask.SetSize(CheckSide, CheckSide);
    RECT local{0, 0, CheckSide, CheckSide};
    const HDC maskDC = mask.Canvas()->Handle();
    (void)DrawFrameControl(maskDC, &local, DFC_MENU, DFCS_MENUCHECK);
    const int left = box.left + (box.right - box.left - CheckSide) / 2;
    const int top = box.top + (box.bottom - box.top - CheckSide) / 2;
    for (int y = 0; y < CheckSide; ++y)
        for (int x = 0; x < CheckSide; ++x)
            if ((GetPixel(maskDC, x, y) & 0xFFFFFF) == 0)
                (void)SetPixel(dc, left + x, top + y, colour);
}

// The ground of a checked item's glyph: the menu colour dotted with the highlight colour.
void FillCheckedGround(HDC dc, const RECT& box, const TSkinColours& colours)
{
    TBitmap pattern;
    pattern.SetPixelFormat(pf24bit);
    pattern.SetSize(2, 2);
    const HDC patternDC = pattern.Canvas()->Handle();
    (void)SetPixel(patternDC, 0, 0, ColorToRGB(colours.Menu));
    (void)SetPixel(patternDC, 1, 1, ColorToRGB(colours.Menu));
    (void)SetPixel(patternDC, 1, 0, ColorToRGB(colours.ButtonHilight));
    (void)SetPixel(patternDC, 0, 1, ColorToRGB(colours.ButtonHilight));
    const GdiObject<HBRUSH> brush(CreatePatternBrush(pattern.Handle()));
    (void)FillRect(dc, &box, brush.Get());
}

COLORREF TextColour(const TSkinMenuItemInfo& item, bool selected, const TSkinColours& colours)
{
    if (!item.Enabled) {
        // Disabled text that would look like enabled text takes the system's shadow colour.
        const COLORREF shadow = ColorToRGB(colours.ButtonShadow);
        return shadow == ColorToRGB(colours.MenuText) ? GetSysColor(COLOR_BTNSHADOW) : shadow;
    }
    return ColorToRGB(selected ? colours.HilightText : colours.MenuText);
}

void DrawGlyph(TCanvas& canvas, const RECT& column, const TSkinMenuItemInfo& item, const TSkinColours& colours)
{
    const HDC dc = canvas.Handle();
    TCustomImageList* images = item.Images;
    const bool hasImage = images && item.ImageIndex >= 0 && item.ImageIndex < images->Count();
    if (hasImage) {
        if (item.Checked) {
            FillCheckedGround(dc, column, colours);
            RECT edge = column;
            (void)DrawEdge(dc, &edge, BDR_SUNKENOUTER, BF_RECT);
        }
        images->Draw(&canvas, column.left + (column.right - column.left - images->Width()) / 2,
                     column.top + (column.bottom - column.top - images->Height()) / 2, item.ImageIndex, item.Enabled);
    } else if (item.Checked) {
        DrawCheckMark(dc, column, ColorToRGB(colours.ButtonText));
    }
}

// The glyph column, caption and shortcut of an item (or a plain separator's line).
void DrawContent(TCanvas& canvas, const RECT& rect, bool selected, const TSkinMenuItemInfo& item, TSkinData* data)
{
    const HDC dc = canvas.Handle();
    if (item.Separator) {
        RECT line{rect.left, rect.top + SeparatorLineTop, rect.right, rect.top + SeparatorLineTop + 2};
        (void)DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const TSkinColours colours = ColoursOf(data);
    const TDataSkinObject* element = ItemElement(data);
    int imageWidth = item.Images ? item.Images->Width() : GlyphSide;
    if (item.Checked)
        imageWidth = std::max(imageWidth, GlyphSide);
    const int glyphLeft = rect.left + GlyphInset + ItemLeftWidth(element);
    DrawGlyph(canvas, RECT{glyphLeft, rect.top, glyphLeft + imageWidth, rect.bottom}, item, colours);

    const SavedDC saved(dc);
    (void)SelectObject(dc, SkinMenuFont(item.Default));
    (void)SetBkMode(dc, TRANSPARENT);
    (void)SetTextColor(dc, TextColour(item, selected, colours));
    RECT text{glyphLeft + imageWidth + TextGap, rect.top, rect.right - ShortCutInset, rect.bottom};
    (void)DrawTextA(dc, item.Caption.c_str(), static_cast<int>(item.Caption.size()), &text,
                    DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (!item.ShortCut.empty())
        (void)DrawTextA(dc, item.ShortCut.c_str(), static_cast<int>(item.ShortCut.size()), &text,
                        DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
}

// The separator picture: the element's second frame in three slices at its own height, across
// the item's middle, its key colour left out.
void DrawSeparator(HDC dc, const RECT& rect, TDataSkinObject& element)
{
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    const int frameHeight = element.Image.Height();
    if (width <= 0 || height <= 0 || frameHeight <= 0)
        return;
    const TSkinMargins margins{element.LeftWidth, 0, element.RightWidth, 0};
    const auto slices = BuildElementBitmap(RECT{0, 0, width, frameHeight}, element.Image, margins, false, false,
                                           ItemFrames, SeparatorFrame);
    TBitmap middle;
    middle.SetPixelFormat(pf24bit);
    middle.SetSize(width, height);
    const HDC middleDC = middle.Canvas()->Handle();
    const RECT all{0, 0, width, height};
    const GdiObject<HBRUSH> key(CreateSolidBrush(ColorToRGB(SkinKeyColour)));
    (void)FillRect(middleDC, &all, key.Get());
    (void)BitBlt(middleDC, 0, (height - frameHeight) / 2, width, frameHeight, slices->Canvas()->Handle(), 0, 0,
                 SRCCOPY);
    DrawTransparent(dc, rect, middle, SkinKeyColour);
}

} // namespace

TSkinMenuItemInfo MenuItemInfoOf(TMenuItem& item)
{
    TSkinMenuItemInfo info;
    info.Caption = item.Caption();
    info.ShortCut = ShortCutToText(item.ShortCut());
    info.Enabled = item.Enabled();
    info.Checked = item.Checked();
    info.Default = item.Default();
    info.Separator = item.IsLine();
    const TMenu* menu = item.GetParentMenu();
    info.Images = item.Parent() && item.Parent()->SubMenuImages() ? item.Parent()->SubMenuImages()
                  : menu                                          ? menu->Images()
                                                                  : nullptr;
    info.ImageIndex = item.ImageIndex();
    return info;
}

TSkinMenuItemInfo MenuItemInfoOf(HMENU menu, UINT command)
{
    TSkinMenuItemInfo info;
    char text[80] = {};
    (void)GetMenuStringA(menu, command, text, sizeof(text), MF_BYCOMMAND);
    const std::string label = text;
    const auto tab = label.find('\t');
    info.Caption = label.substr(0, tab);
    if (tab != std::string::npos)
        info.ShortCut = label.substr(tab + 1);
    const UINT state = GetMenuState(menu, command, MF_BYCOMMAND);
    info.Separator = label.empty() || (state != static_cast<UINT>(-1) && (state & MF_SEPARATOR));
    if (info.Separator)
        info.Caption = cLineCaption;
    if (state != static_cast<UINT>(-1)) {
        info.Enabled = (state & (MF_GRAYED | MF_DISABLED)) == 0;
        info.Checked = (state & MF_CHECKED) != 0;
        info.Default = (state & MFS_DEFAULT) != 0;
    }
    return info;
}

void DrawSkinMenuItem(TSkinData* data, HDC dc, const RECT& rect, bool selected, const TSkinMenuItemInfo& item,
                      TBitmap* background)
{
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0)
        return;
    TBitmap composed;
    composed.SetPixelFormat(pf24bit);
    composed.SetSize(width, height);
    TCanvas& canvas = *composed.Canvas();
    const HDC target = canvas.Handle();
    const RECT local{0, 0, width, height};
    const TSkinColours colours = ColoursOf(data);
    TDataSkinObject* element = ItemElement(data);
    if (!element) {
        const GdiObject<HBRUSH> fill(CreateSolidBrush(ColorToRGB(selected ? colours.Hilight : colours.Menu)));
        (void)FillRect(target, &local, fill.Get());
        DrawContent(canvas, local, selected, item, data);
    } else {
        if (background && !background->Empty())
            (void)BitBlt(target, 0, 0, width, height, background->Canvas()->Handle(),
                         rect.left + PopupFrame, rect.top + PopupFrame, SRCCOPY);
        else {
            const GdiObject<HBRUSH> fill(CreateSolidBrush(ColorToRGB(colours.Menu)));
            (void)FillRect(target, &local, fill.Get());
        }
        if (item.Separator) {
            DrawSeparator(target, local, *element);
        } else {
            const TSkinMargins margins{element->LeftWidth, element->TopHeight, element->RightWidth,
                                       element->BottomHeight};
            DrawElement(target, local, element->Image, false, element->Tile == 1, element->Trans == 1, ItemFrames,
                        selected ? SelectedFrame : NormalFrame, margins);
            DrawContent(canvas, local, selected, item, data);
        }
    }
    (void)BitBlt(dc, rect.left, rect.top, width, height, target, 0, 0, SRCCOPY);
}

void MeasureSkinMenuItem(TSkinData* data, TMenuMeasure kind, bool hasImages, int& width)
{
    struct Room {
        int always;
        int withoutImages;
    };
    static constexpr Room Rooms[] = {{12, 23}, {10, 25}, {26, 0}};
    const Room room = Rooms[static_cast<int>(kind)];
    width += ItemLeftWidth(ItemElement(data)) + room.always + (hasImages ? 0 : room.withoutImages);
}

TSkinData* SkinDataForMenu(HMENU menu, HWND owner)
{
    TSkinManage* manager = SkinManager();
    if (!manager)
        return nullptr;
    TSkinData* data = nullptr;
    if (const TWinSkinPopMenu* popup = manager->PopupShowing(menu))
        data = popup->SkinData();
    if (!data && owner)
        if (const TWinSkinForm* form = manager->FindFormSkinner(owner); form && !form->IsDead())
            data = form->SkinData();
    if (!data)
        data = manager->MainSkinData();
    return data && !data->Pending() ? data : nullptr;
}

TBitmap* PopupBackgroundOf(HMENU menu)
{
    TSkinManage* manager = SkinManager();
    TWinSkinPopMenu* popup = manager ? manager->PopupShowing(menu) : nullptr;
    return popup ? &popup->Background() : nullptr;
}

namespace {

// The window of the form a menu item's menu belongs to, or null.
HWND OwnerWindowOf(const TMenuItem& item)
{
    for (TComponent* owner = item.GetParentMenu() ? item.GetParentMenu()->Owner() : nullptr; owner;
         owner = owner->Owner())
        if (auto* control = dynamic_cast<TWinControl*>(owner); control && control->HandleAllocated())
            return control->Handle();
    return nullptr;
}

HMENU MenuOf(TMenuItem& item)
{
    return item.Parent() ? item.Parent()->Handle() : nullptr;
}

void MeasureWith(TObject* sender, int& width, TMenuMeasure kind)
{
    auto* item = dynamic_cast<TMenuItem*>(sender);
    if (!item)
        return;
    TSkinData* data = SkinDataForMenu(MenuOf(*item), OwnerWindowOf(*item));
    MeasureSkinMenuItem(data, kind, MenuItemInfoOf(*item).Images != nullptr, width);
}

} // namespace

const TMenuDrawItemEvent& SkinnedDrawItem()
{
    static const TMenuDrawItemEvent event =
        TMenuDrawItemEvent::FromFunction([](TObject* sender, TCanvas* canvas, TRect rect, bool selected) {
            auto* item = dynamic_cast<TMenuItem*>(sender);
            if (!item || !canvas)
                return;
            const HMENU menu = MenuOf(*item);
            DrawSkinMenuItem(SkinDataForMenu(menu, OwnerWindowOf(*item)), canvas->Handle(), rect, selected,
                             MenuItemInfoOf(*item), PopupBackgroundOf(menu));
        });
    return event;
}

const TMenuMeasureItemEvent& SkinnedMeasureItem()
{
    static const TMenuMeasureItemEvent event = TMenuMeasureItemEvent::FromFunction(
        [](TObject* sender, TCanvas*, int& width, int&) { MeasureWith(sender, width, TMenuMeasure::PopupMenu); });
    return event;
}

const TMenuMeasureItemEvent& SkinnedMainMeasureItem()
{
    static const TMenuMeasureItemEvent event = TMenuMeasureItemEvent::FromFunction(
        [](TObject* sender, TCanvas*, int& width, int&) { MeasureWith(sender, width, TMenuMeasure::MainMenu); });
    return event;
}
