#pragma once

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/winapi/user/WinUser.h"

class TSkinData;

// The skinner of one popup menu window ("#32768"): it paints the menu's frame and background
// from the skin's MenuBackground element; the items stay the menu's own. The skin manager makes
// one when the menu window is created and frees it when the window goes.
class TWinSkinPopMenu {
public:
    TWinSkinPopMenu() = default;
    ~TWinSkinPopMenu();
    TWinSkinPopMenu(const TWinSkinPopMenu&) = delete;
    TWinSkinPopMenu& operator=(const TWinSkinPopMenu&) = delete;

    void Attach(HWND window, TSkinData& data, int tag);
    void Detach();

    [[nodiscard]] HWND Window() const { return m_window; }
    [[nodiscard]] TSkinData* SkinData() const { return m_data; }
    // The menu handle the window shows.
    [[nodiscard]] HMENU Menu() const;
    // The skin's menu background at the window's size, as the frame was last painted (rendered
    // now when the window has not painted it at its present size); empty without one.
    [[nodiscard]] TBitmap& Background();
    [[nodiscard]] int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }
    [[nodiscard]] bool MenuBarDropDown() const { return m_menuBar; }
    void SetMenuBarDropDown(bool dropDown) { m_menuBar = dropDown; }

private:
    // The subclass of the menu's window; its data is the skinner.
    static LRESULT PopupProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR skinner);
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT CallOld(UINT msg, WPARAM wParam, LPARAM lParam);
    // Draws the skin's menu background at the window's size; False without one.
    bool RenderBackground();

    HWND m_window = nullptr;
    TSkinData* m_data = nullptr;
    int m_tag = 0;
    bool m_menuBar = false;
    TBitmap m_background;
};
