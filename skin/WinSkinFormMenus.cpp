#include "skin/WinSkinForm.h"

#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/kernel/Clock.h"
#include "skin/SkinData.h"
#include "skin/SkinManage.h"
#include "skin/SkinMenuItem.h"

// The skinned system menu, and menu items drawn from the skin: the form's popup menus, its main
// menu's drop-downs and the window menu's items the skinned bar opens.

namespace {

// The system menu's glyphs in the skin data's menu images.
constexpr int RestoreGlyph = 0;
constexpr int MaximizeGlyph = 1;
constexpr int MinimizeGlyph = 2;
constexpr int CloseGlyph = 3;

constexpr UINT GrayedOrDisabled = MFS_GRAYED | MFS_DISABLED;
constexpr int SeparatorHeight = 8;

template <class Visit>
void ForEachItem(TMenuItem& parent, const Visit& visit, int depth = 1)
{
    for (int i = 0; i < parent.Count(); ++i) {
        TMenuItem& item = *parent.Items(i);
        visit(item, depth);
        ForEachItem(item, visit, depth + 1);
    }
}

// Gives the item the skin's drawing and measuring, or takes back only what the skin gave it.
void SwitchItem(TMenuItem& item, bool on, const TMenuMeasureItemEvent& measure)
{
    if (on) {
        if (!item.OnDrawItem().Assigned())
            item.SetOnDrawItem(SkinnedDrawItem());
        if (!item.OnMeasureItem().Assigned())
            item.SetOnMeasureItem(measure);
        return;
    }
    if (item.OnDrawItem() == SkinnedDrawItem())
        item.SetOnDrawItem({});
    if (item.OnMeasureItem() == measure)
        item.SetOnMeasureItem({});
}

// Whether any item draws itself through a handler of the application's own.
bool HasOwnDrawing(TMenu& menu)
{
    bool own = false;
    ForEachItem(*menu.Items(), [&own](TMenuItem& item, int) {
        own = own || (item.OnDrawItem().Assigned() && !(item.OnDrawItem() == SkinnedDrawItem()));
    });
    return own;
}

void SwitchPopupMenus(TComponent& owner, TSkinData& data, bool on)
{
    for (int i = 0; i < owner.ComponentCount(); ++i) {
        TComponent* component = owner.Components(i);
        if (auto* form = dynamic_cast<TCustomForm*>(component)) {
            SwitchPopupMenus(*form, data, on);
            continue;
        }
        auto* menu = dynamic_cast<TPopupMenu*>(component);
        if (!menu || menu->Tag() == data.DisableTag())
            continue;
        ForEachItem(*menu->Items(), [on](TMenuItem& item, int) { SwitchItem(item, on, SkinnedMeasureItem()); });
        if (on)
            menu->SetOwnerDraw(true);
        else if (!HasOwnDrawing(*menu))
            menu->SetOwnerDraw(false);
    }
}

} // namespace

void TWinSkinForm::SetPopupMenusOwnerDraw(bool on)
{
    if (!m_form || !m_data || m_form->ClassName() == "TwwRichEditForm")
        return;
    if (on && !m_data->SkinControls().Contains(xcPopupMenu))
        return;
    SwitchPopupMenus(*m_form, *m_data, on);
}

void TWinSkinForm::SetMainMenusOwnerDraw(bool on)
{
    if (!m_form)
        return;
    for (int i = 0; i < m_form->ComponentCount(); ++i) {
        auto* menu = dynamic_cast<TMainMenu*>(m_form->Components(i));
        if (!menu)
            continue;
        // The bar's own buttons are the skinner's; the items below them are drawn by the skin.
        ForEachItem(*menu->Items(), [on](TMenuItem& item, int depth) {
            if (depth >= 2)
                SwitchItem(item, on, SkinnedMainMeasureItem());
        });
        if (on)
            menu->SetOwnerDraw(true);
        else if (!HasOwnDrawing(*menu))
            menu->SetOwnerDraw(false);
    }
}

void TWinSkinForm::BuildSystemMenu()
{
    m_systemMenu.reset();
    m_sysMenu = GetSystemMenu(m_window, FALSE);
    if (!m_sysMenu || !m_data)
        return;
    auto popup = std::make_shared<TPopupMenu>(nullptr);
    popup->SetTag(SystemMenuPopupTag);
    popup->SetOwnerDraw(true);
    popup->SetImages(m_data->MenuImages());
    const HWND window = m_window;
    const int count = GetMenuItemCount(m_sysMenu);
    for (int position = 0; position < count; ++position) {
        char text[80] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = sizeof(text);
        if (!GetMenuItemInfoA(m_sysMenu, static_cast<UINT>(position), TRUE, &info))
            continue;
        auto* item = new TMenuItem(popup.get());
        const std::string label = text;
        const auto tab = label.find('\t');
        item->SetCaption(label.empty() ? cLineCaption : label.substr(0, tab));
        if (tab != std::string::npos)
            item->SetShortCut(TextToShortCut(label.substr(tab + 1)));
        item->SetTag(static_cast<int>(info.wID));
        // The window's state decides for the commands it concerns (the system menu's own marks
        // may be older than the state); the menu's marks decide for the others.
        bool enabled = !(info.fState & GrayedOrDisabled);
        switch (info.wID) {
        case SC_SIZE:
            enabled = m_windowState == wsNormal && m_borderKind == bkSizable;
            break;
        case SC_MOVE:
            enabled = m_windowState != wsMaximized;
            break;
        case SC_MINIMIZE:
            item->SetImageIndex(MinimizeGlyph);
            enabled = m_windowState != wsMinimized && m_hasMinimize;
            break;
        case SC_MAXIMIZE:
            item->SetImageIndex(MaximizeGlyph);
            enabled = m_windowState != wsMaximized && m_hasMaximize;
            break;
        case SC_CLOSE:
            item->SetImageIndex(CloseGlyph);
            break;
        case SC_RESTORE:
            item->SetImageIndex(RestoreGlyph);
            enabled = m_windowState != wsNormal;
            break;
        default:
            break;
        }
        item->SetEnabled(enabled);
        item->SetChecked((info.fState & MFS_CHECKED) != 0);
        item->SetDefault((info.fState & MFS_DEFAULT) != 0);
        // The window, not the skinner: the command may arrive after the skinner has gone.
        item->SetOnClick(TNotifyEvent::FromFunction([window, command = info.wID](TObject*) {
            (void)PostMessageA(window, WM_SYSCOMMAND, command, 0);
        }));
        item->SetOnDrawItem(SkinnedDrawItem());
        item->SetOnMeasureItem(SkinnedMeasureItem());
        popup->Items()->Add(item);
    }
    m_systemMenu = std::move(popup);
}

void TWinSkinForm::ShowSystemMenu(POINT screen)
{
    const int doubleClick = static_cast<int>(GetDoubleClickTime());
    const DWORD now = GetTickCount();
    const bool again = m_systemMenuShown && doubleClick >= 0 && now - m_systemMenuShownAt <= static_cast<DWORD>(doubleClick);
    if (again) {
        // A double click on the system menu's place closes the window, as it does without a skin.
        if (m_hot) {
            SetTimerRunning(false);
            (void)PostMessageA(m_window, WM_CLOSE, 0, 0);
        }
        return;
    }
    m_systemMenuShown = true;
    m_systemMenuShownAt = now;
    if (TSkinManage* manager = SkinManager())
        manager->SetPopupKind(2);
    BuildSystemMenu();
    if (const std::shared_ptr<TPopupMenu> menu = m_systemMenu)
        menu->Popup(screen.x, screen.y);
}

TMainMenu* TWinSkinForm::FormMainMenu() const
{
    auto* form = dynamic_cast<TCustomForm*>(m_form);
    return form ? form->Menu() : nullptr;
}

bool TWinSkinForm::MenuItemMessage(UINT msg, LPARAM lParam, LRESULT& result)
{
    if (msg == WM_MEASUREITEM) {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        return measure && measure->CtlType == ODT_MENU && MeasureMenuItem(*measure, result);
    }
    const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    return msg == WM_DRAWITEM && draw && draw->CtlType == ODT_MENU && DrawMenuItem(*draw, result);
}

bool TWinSkinForm::MeasureMenuItem(MEASUREITEMSTRUCT& measure, LRESULT& result)
{
    TMainMenu* mainMenu = FormMainMenu();
    if (TMenuItem* item = mainMenu ? mainMenu->FindItem(measure.itemID, fkCommand) : nullptr) {
        // The item's own measure first, then the room of the skin's picture.
        result = CallOld(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
        int width = static_cast<int>(measure.itemWidth);
        if (!(item->OnMeasureItem() == SkinnedMainMeasureItem()))
            MeasureSkinMenuItem(m_data, TMenuMeasure::MainMenu, mainMenu->Images() != nullptr, width);
        measure.itemWidth = static_cast<UINT>(width);
        return true;
    }
    const HMENU menu = MarkedMenuOf(measure.itemID);
    if (!menu)
        return false;
    // An item of a bare window's menu: measured by its text.
    const TSkinMenuItemInfo info = MenuItemInfoOf(menu, measure.itemID);
    const HDC dc = GetWindowDC(m_window);
    RECT text{};
    {
        const SelectionGuard font(dc, SkinMenuFont());
        (void)DrawTextA(dc, info.Caption.c_str(), static_cast<int>(info.Caption.size()), &text,
                        DT_SINGLELINE | DT_CALCRECT);
    }
    (void)ReleaseDC(m_window, dc);
    int width = text.right - text.left;
    MeasureSkinMenuItem(m_data, TMenuMeasure::WindowMenu, false, width);
    measure.itemWidth = static_cast<UINT>(width);
    measure.itemHeight = static_cast<UINT>(info.Separator ? SeparatorHeight : text.bottom - text.top + 4);
    result = TRUE;
    return true;
}

bool TWinSkinForm::DrawMenuItem(const DRAWITEMSTRUCT& draw, LRESULT& result)
{
    const auto menu = reinterpret_cast<HMENU>(draw.hwndItem);
    TMainMenu* mainMenu = FormMainMenu();
    TMenuItem* item = mainMenu ? mainMenu->FindItem(draw.itemID, fkCommand) : nullptr;
    // An item that draws itself keeps doing so; a bare window's items are drawn only when the bar
    // made them the window's to draw.
    if (item ? item->OnDrawItem().Assigned() && !(item->OnDrawItem() == SkinnedDrawItem())
             : !menu || MarkedMenuOf(draw.itemID) != menu)
        return false;
    DrawSkinMenuItem(m_data, draw.hDC, draw.rcItem, (draw.itemState & ODS_SELECTED) != 0,
                     item ? MenuItemInfoOf(*item) : MenuItemInfoOf(menu, draw.itemID), PopupBackgroundOf(menu));
    result = TRUE;
    return true;
}
