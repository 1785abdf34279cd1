#pragma once

#include "platform/classlib/forms/Menus.h"
#include "platform/winapi/user/WinUser.h"

#include <string>

class TBitmap;
class TCustomImageList;
class TSkinData;

// What the skinned drawing of one menu item needs to know of it, whether it comes from a menu
// item object or from a bare menu handle.
struct TSkinMenuItemInfo {
    std::string Caption;  // with its "&" accelerator
    std::string ShortCut; // drawn right-aligned; empty for none
    bool Enabled = true;
    bool Checked = false;
    bool Default = false;
    bool Separator = false;
    bool RightToLeft = false;
    TCustomImageList* Images = nullptr; // not owned
    int ImageIndex = -1;
};

[[nodiscard]] TSkinMenuItemInfo MenuItemInfoOf(TMenuItem& item);
// An item of a menu handle that no menu object knows, by command.
[[nodiscard]] TSkinMenuItemInfo MenuItemInfoOf(HMENU menu, UINT command);

// Draws the item into `rect` of `dc` from the skin: on the popup's skinned background where
// `background` (the popup window's picture, its frame 3 pixels wide) is given, else on the skin's
// menu colour; then the MenuItem picture (normal or selected) or the separator picture, the
// glyph or check mark, the caption and the shortcut. Without a skin the window system's colours
// are used.
void DrawSkinMenuItem(TSkinData* data, HDC dc, const RECT& rect, bool selected, const TSkinMenuItemInfo& item,
                      TBitmap* background);
// The room the skin's item picture takes beyond what `width` holds, added to it: for the items of
// popup menus and of main menus (both measured by their menu first), and for the items of a bare
// window menu (measured by their text alone).
enum class TMenuMeasure { PopupMenu, MainMenu, WindowMenu };
void MeasureSkinMenuItem(TSkinData* data, TMenuMeasure kind, bool hasImages, int& width);

// The window system's menu font, bold for default items; it lasts as long as the program.
[[nodiscard]] HFONT SkinMenuFont(bool bold = false);

// The skinned background of the popup window that shows `menu`, or null.
[[nodiscard]] TBitmap* PopupBackgroundOf(HMENU menu);

// The skin data that skins the popup window showing `menu`, or else the window `owner` of the
// menu's form, or else the program's main skin data; null when nothing is skinned.
[[nodiscard]] TSkinData* SkinDataForMenu(HMENU menu, HWND owner);

// The events that skinned menus give their items. Each is one shared object, so that taking the
// skin away can tell them from the application's own handlers.
[[nodiscard]] const TMenuDrawItemEvent& SkinnedDrawItem();
[[nodiscard]] const TMenuMeasureItemEvent& SkinnedMeasureItem();
[[nodiscard]] const TMenuMeasureItemEvent& SkinnedMainMeasureItem();
