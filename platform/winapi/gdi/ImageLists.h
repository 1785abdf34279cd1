#pragma once

#include "platform/winapi/gdi/WinGdi.h"

// The common controls' image list: equal-sized images in one strip, each with an optional
// one-bit mask (1 = transparent), drawn transparently, on a background colour, as their mask, or
// blended with a selection colour.

struct HIMAGELIST__;
using HIMAGELIST = HIMAGELIST__*;

// ImageList_Create flags. Images are kept in 32 bits whatever the colour depth asked for; only
// ILC_COLOR32 keeps the alpha of 32-bit images (not premultiplied), which they are then drawn by.
constexpr UINT ILC_MASK = 0x0001;
constexpr UINT ILC_COLOR = 0x0000;
constexpr UINT ILC_COLORDDB = 0x00FE;
constexpr UINT ILC_COLOR4 = 0x0004;
constexpr UINT ILC_COLOR8 = 0x0008;
constexpr UINT ILC_COLOR16 = 0x0010;
constexpr UINT ILC_COLOR24 = 0x0018;
constexpr UINT ILC_COLOR32 = 0x0020;

// Drawing styles.
constexpr UINT ILD_NORMAL = 0x0000;
constexpr UINT ILD_TRANSPARENT = 0x0001;
constexpr UINT ILD_BLEND25 = 0x0002;
constexpr UINT ILD_BLEND50 = 0x0004;
constexpr UINT ILD_MASK = 0x0010;
constexpr UINT ILD_IMAGE = 0x0020;
constexpr UINT ILD_FOCUS = ILD_BLEND25;
constexpr UINT ILD_BLEND = ILD_BLEND50;
constexpr UINT ILD_SELECTED = ILD_BLEND50;

// Colours with a meaning of their own: none (transparent; blend with the destination) and the
// default (the list's background colour; the highlight colour for blending).
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;
constexpr COLORREF CLR_DEFAULT = 0xFF000000;

struct IMAGEINFO {
    HBITMAP hbmImage; // the list's own strips: not to be deleted
    HBITMAP hbmMask;
    int Unused1;
    int Unused2;
    RECT rcImage; // where the image lies in them
};

[[nodiscard]] HIMAGELIST ImageList_Create(int width, int height, UINT flags, int initial, int grow);
BOOL ImageList_Destroy(HIMAGELIST list);

// Adds the images of `image` (as many as its width holds), with their mask bitmap (none: opaque).
// Returns the first new index, or -1.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// As ImageList_Add, the mask made of the pixels of `maskColour` (CLR_DEFAULT: the top-left
// pixel's colour), which are blackened in the list's copy so that the image ORs onto a masked-out
// background. The caller's bitmap is left as it is.
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColour);
BOOL ImageList_Replace(HIMAGELIST list, int index, HBITMAP image, HBITMAP mask);
// -1 removes every image.
BOOL ImageList_Remove(HIMAGELIST list, int index);
[[nodiscard]] int ImageList_GetImageCount(HIMAGELIST list);
// Grows with black, opaque images or drops images from the end.
BOOL ImageList_SetImageCount(HIMAGELIST list, UINT count);
BOOL ImageList_GetIconSize(HIMAGELIST list, int* width, int* height);
// Changes the image size and removes every image.
BOOL ImageList_SetIconSize(HIMAGELIST list, int width, int height);
COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF colour);
[[nodiscard]] COLORREF ImageList_GetBkColor(HIMAGELIST list);
BOOL ImageList_GetImageInfo(HIMAGELIST list, int index, IMAGEINFO* info);
// A new icon of the image and its mask; the caller destroys it.
[[nodiscard]] HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT flags);

// ImageList_DrawEx with the image's size and CLR_DEFAULT colours.
BOOL ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, UINT style);
// Draws `width` x `height` (0: the image size) of the image at (x, y). Masked-out pixels take
// `background` (CLR_DEFAULT: the list's; CLR_NONE or ILD_TRANSPARENT: left as they are).
// ILD_BLEND25/50 mix a quarter or half of `foreground` (CLR_DEFAULT: COLOR_HIGHLIGHT; CLR_NONE:
// the destination) into the image; ILD_MASK draws the mask (black image on white, or ANDed with
// ILD_TRANSPARENT); ILD_IMAGE draws the image without its mask.
BOOL ImageList_DrawEx(HIMAGELIST list, int index, HDC dc, int x, int y, int width, int height,
                      COLORREF background, COLORREF foreground, UINT style);
