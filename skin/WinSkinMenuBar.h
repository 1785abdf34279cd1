#pragma once

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/winapi/user/WinUser.h"
#include "skin/WinSkinForm.h"

#include <memory>
#include <string>
#include <vector>

class TMainMenu;
class TSkinData;
class TWinSkinMenu;

// One button of a skinned menu bar: a top-level item of the window's menu. Its rectangle is in
// frame coordinates; an empty caption leaves it without width.
class TMenuBtn : public TNCObject {
public:
    TMenuBtn(TWinSkinForm& form, TWinSkinMenu& bar) : TNCObject(form), m_bar(bar) {}

    // Repaints the button alone on the window, over the bar background last painted.
    void Paint() override;

    int Index = 0;
    std::string Caption;
    bool Enabled = true;
    HMENU DropDown = nullptr; // none when the item has no sub-items
    UINT Command = 0;

private:
    TWinSkinMenu& m_bar;
};

// The menu bar of a skinned window, drawn by the form skinner in the non-client area under the
// caption. It takes the window's menu away from the window (the window system would draw its own
// bar) and gives it back on Restore.
class TWinSkinMenu {
public:
    // A right-to-left bar lays its buttons out from its right end, leftward.
    TWinSkinMenu(TWinSkinForm& form, TSkinData& data, HWND window, bool rightToLeft);
    ~TWinSkinMenu();
    TWinSkinMenu(const TWinSkinMenu&) = delete;
    TWinSkinMenu& operator=(const TWinSkinMenu&) = delete;

    // One button per item of `menu` (the window's menu, which the window gives up); captions and
    // enabling come from the form's main menu when there is one. False (no buttons) without a menu.
    bool Build(TMainMenu* mainMenu, HMENU menu);
    // The window gets its own menu back.
    void Restore();
    // The bar into `dc` at `bar` (frame coordinates); buttons are laid out on the way.
    void Paint(HDC dc, const RECT& bar, bool active);
    // Draws one button's face (frame in the pressed and hot states, caption) at `rect` of `dc`.
    void DrawButtonFace(HDC dc, const TMenuBtn& button, const RECT& rect) const;
    // The background of the bar where `button` lies, as last painted, into `dc` at `rect`.
    void CopyBackground(HDC dc, const TMenuBtn& button, const RECT& rect) const;

    // The button with a caption under a frame point, or null.
    [[nodiscard]] TMenuBtn* ButtonAt(POINT frame) const;
    // The button at `index` of the bar, or null.
    [[nodiscard]] TMenuBtn* ButtonByIndex(int index) const;
    [[nodiscard]] bool Owns(const TNCObject* object) const;
    // The first enabled, visible button whose caption has `key` as its "&" accelerator, or null.
    [[nodiscard]] TMenuBtn* FindAccelButton(char key) const;
    // The nearest button with a drop-down from `from` in direction `step`, wrapping; `from`
    // itself when there is no other.
    [[nodiscard]] TMenuBtn* Neighbour(const TMenuBtn& from, int step) const;
    [[nodiscard]] const std::vector<std::unique_ptr<TMenuBtn>>& Buttons() const { return m_buttons; }
    [[nodiscard]] HMENU WindowMenu() const { return m_windowMenu; }

private:
    void PaintBackground(HDC dc, const RECT& area, bool active, int& start);
    void Layout(const RECT& bar, int start);

    TWinSkinForm& m_form;
    TSkinData& m_data;
    HWND m_window;
    HMENU m_windowMenu = nullptr;
    RECT m_bar{};
    bool m_rightToLeft;
    TBitmap m_background; // the bar's background as last painted
    std::vector<std::unique_ptr<TMenuBtn>> m_buttons;
};
