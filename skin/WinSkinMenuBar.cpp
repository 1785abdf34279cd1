#include "skin/WinSkinMenuBar.h"

#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/kernel/Threads.h"
#include "skin/SkinData.h"
#include "skin/SkinDraw.h"
#include "skin/SkinElements.h"
#include "skin/SkinManage.h"
#include "skin/SkinMenuItem.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr int ButtonPadding = 10;  // a button is as wide as its caption and this
constexpr int PlainStart = 6;      // the first button's offset on a bar without a picture
constexpr int PictureStart = 4;    // added to the bar picture's left margin
constexpr int RtlPictureStart = 8; // added to its right margin on a right-to-left bar

// The frame around a hot or open bar button: the skin's shadow colour.
TColor BarFrameColour(const TSkinColours& colours)
{
    return colours.ButtonShadow;
}

int CaptionWidth(const std::string& caption)
{
    if (caption.empty())
        return 0;
    const HDC dc = GetDC(nullptr);
    RECT rect{};
    {
        const SelectionGuard font(dc, SkinMenuFont());
        (void)DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &rect, DT_SINGLELINE | DT_CALCRECT);
    }
    (void)ReleaseDC(nullptr, dc);
    return rect.right - rect.left;
}

bool HasAccelerator(const std::string& caption, char key)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return std::toupper(static_cast<unsigned char>(caption[i + 1])) == std::toupper(static_cast<unsigned char>(key));
    }
    return false;
}

RECT Offset(RECT rect, int dx, int dy)
{
    OffsetRect(&rect, dx, dy);
    return rect;
}

} // namespace

// ---- TMenuBtn ----------------------------------------------------------------------------------

void TMenuBtn::Paint()
{
    if (IsRectEmpty(&Rect))
        return;
    const HDC dc = GetWindowDC(m_form.Window());
    if (!dc)
        return;
    m_bar.CopyBackground(dc, *this, Rect);
    m_bar.DrawButtonFace(dc, *this, Rect);
    (void)ReleaseDC(m_form.Window(), dc);
}

// ---- TWinSkinMenu ------------------------------------------------------------------------------

TWinSkinMenu::TWinSkinMenu(TWinSkinForm& form, TSkinData& data, HWND window, bool rightToLeft)
    : m_form(form), m_data(data), m_window(window), m_rightToLeft(rightToLeft)
{
    m_background.SetPixelFormat(pf24bit);
}

TWinSkinMenu::~TWinSkinMenu() = default;

bool TWinSkinMenu::Build(TMainMenu* mainMenu, HMENU menu)
{
    if (!menu || !IsMenu(menu))
        return false;
    m_windowMenu = menu;
    m_buttons.clear();
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        char text[80] = {};
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE;
        info.dwTypeData = text;
        info.cch = sizeof(text);
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info))
            continue;
        auto button = std::make_unique<TMenuBtn>(m_form, *this);
        button->Index = static_cast<int>(m_buttons.size());
        button->DropDown = info.hSubMenu;
        button->Enabled = !(info.fState & (MFS_GRAYED | MFS_DISABLED));
        button->Visible = true;
        button->Command = info.wID;
        button->Caption = text;
        if (TMenuItem* item = mainMenu ? mainMenu->FindItem(info.wID, fkCommand) : nullptr) {
            button->Caption = item->Caption();
            button->Enabled = item->Enabled();
            button->Visible = item->Visible();
        }
        m_buttons.push_back(std::move(button));
    }
    if (GetMenu(m_window))
        (void)SetMenu(m_window, nullptr);
    return true;
}

void TWinSkinMenu::Restore()
{
    if (m_windowMenu && IsMenu(m_windowMenu) && IsWindow(m_window))
        (void)SetMenu(m_window, m_windowMenu);
    m_windowMenu = nullptr;
}

void TWinSkinMenu::PaintBackground(HDC dc, const RECT& area, bool active, int& start)
{
    TDataSkinObject* element = m_data.Elements().Element("MenuBar");
    if (!element || element->Image.Empty()) {
        const GdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(m_data.Elements().Colours().Menubar)));
        (void)FillRect(dc, &area, brush.Get());
        start = PlainStart;
        return;
    }
    // Two frames one below the other: the active bar, then the inactive one.
    const TRect target = area;
    const TSkinMargins margins{element->LeftWidth, element->TopHeight, element->RightWidth, element->BottomHeight};
    const int frame = active ? 1 : 2;
    if (element->Tile == 1)
        DrawElement(dc, target, element->Image, true, false, false, 2, frame, margins);
    else
        DrawElementHorz(*m_background.Canvas(), target, element->Image, true, false, 2, frame, margins);
    start = m_rightToLeft ? element->RightWidth + RtlPictureStart : element->LeftWidth + PictureStart;
    if (area.right - area.left < start)
        start = 12;
}

void TWinSkinMenu::Layout(const RECT& bar, int start)
{
    // From the start offset along the bar: rightward, or leftward from its right end.
    const int step = m_rightToLeft ? -1 : 1;
    int x = m_rightToLeft ? bar.right - start : bar.left + start;
    for (const auto& button : m_buttons) {
        if (!button->Visible) {
            button->Rect = RECT{};
            continue;
        }
        const int textWidth = CaptionWidth(button->Caption);
        const int width = textWidth ? textWidth + ButtonPadding : 0;
        const int next = x + step * width;
        button->Rect = RECT{std::min(x, next), bar.top, std::max(x, next), bar.bottom - 1};
        x = next;
    }
}

void TWinSkinMenu::Paint(HDC dc, const RECT& bar, bool active)
{
    m_bar = bar;
    const int width = bar.right - bar.left, height = bar.bottom - bar.top;
    if (width <= 0 || height <= 0)
        return;
    m_background.SetSize(width, height);
    const HDC back = m_background.Canvas()->Handle();
    int start = PlainStart;
    PaintBackground(back, RECT{0, 0, width, height}, active, start);
    Layout(bar, start);

    TBitmap work;
    work.SetPixelFormat(pf24bit);
    work.SetSize(width, height);
    const HDC composed = work.Canvas()->Handle();
    (void)BitBlt(composed, 0, 0, width, height, back, 0, 0, SRCCOPY);
    for (const auto& button : m_buttons)
        if (!IsRectEmpty(&button->Rect))
            DrawButtonFace(composed, *button, Offset(button->Rect, -bar.left, -bar.top));
    (void)BitBlt(dc, bar.left, bar.top, width, height, composed, 0, 0, SRCCOPY);
}

void TWinSkinMenu::CopyBackground(HDC dc, const TMenuBtn& button, const RECT& rect) const
{
    (void)BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 const_cast<TBitmap&>(m_background).Canvas()->Handle(), button.Rect.left - m_bar.left,
                 button.Rect.top - m_bar.top, SRCCOPY);
}

void TWinSkinMenu::DrawButtonFace(HDC dc, const TMenuBtn& button, const RECT& rect) const
{
    const TSkinColours& colours = m_data.Elements().Colours();
    // An open button is highlighted; a hot one only framed.
    const bool open = button.State == TNCObject::Pressed;
    if (open) {
        const GdiObject<HBRUSH> fill(CreateSolidBrush(ColorToRGB(colours.Hilight)));
        (void)FillRect(dc, &rect, fill.Get());
    }
    if (open || button.State == TNCObject::Hot) {
        const GdiObject<HBRUSH> frame(CreateSolidBrush(ColorToRGB(BarFrameColour(colours))));
        (void)FrameRect(dc, &rect, frame.Get());
    }
    const SavedDC saved(dc);
    (void)SelectObject(dc, SkinMenuFont());
    (void)SetBkMode(dc, TRANSPARENT);
    const TColor ink = open ? colours.HilightText : colours.MenuBarText;
    (void)SetTextColor(dc, button.Enabled ? ColorToRGB(ink) : GetSysColor(COLOR_BTNSHADOW));
    RECT text = rect;
    (void)DrawTextA(dc, button.Caption.c_str(), static_cast<int>(button.Caption.size()), &text,
                    DT_SINGLELINE | DT_CENTER | DT_VCENTER);
}

TMenuBtn* TWinSkinMenu::ButtonAt(POINT frame) const
{
    for (const auto& button : m_buttons)
        if (!button->Caption.empty() && PtInRect(&button->Rect, frame))
            return button.get();
    return nullptr;
}

TMenuBtn* TWinSkinMenu::ButtonByIndex(int index) const
{
    return index >= 0 && index < static_cast<int>(m_buttons.size()) ? m_buttons[static_cast<std::size_t>(index)].get()
                                                                      : nullptr;
}

bool TWinSkinMenu::Owns(const TNCObject* object) const
{
    for (const auto& button : m_buttons)
        if (button.get() == object)
            return true;
    return false;
}

TMenuBtn* TWinSkinMenu::FindAccelButton(char key) const
{
    for (const auto& button : m_buttons)
        if (button->Enabled && button->Visible && HasAccelerator(button->Caption, key))
            return button.get();
    return nullptr;
}

TMenuBtn* TWinSkinMenu::Neighbour(const TMenuBtn& from, int step) const
{
    const int count = static_cast<int>(m_buttons.size());
    for (int index = (from.Index + step + count) % count; index != from.Index; index = (index + step + count) % count) {
        TMenuBtn& candidate = *m_buttons[static_cast<std::size_t>(index)];
        if (candidate.DropDown && candidate.Enabled && candidate.Visible)
            return &candidate;
    }
    return const_cast<TMenuBtn*>(&from);
}

// ---- The form skinner's side: opening drop-downs and walking the bar ---------------------------

namespace {

// The one bar whose drop-down is open on the GUI thread. The skinner is held by its life token
// and the buttons by index: a command run from the menu may free either meanwhile.
struct TMenuTracking {
    HHOOK hook = nullptr;
    std::weak_ptr<TWinSkinForm*> form;
    HMENU dropDown = nullptr;
    int open = -1;
    int switchTo = -1;
    bool selected = false;           // an item of the drop-down (or a submenu) is highlighted
    bool selectedHasSubMenu = false;
    bool selectedInDropDown = false; // ... and it belongs to the drop-down itself
    bool firstMessage = true;
    POINT lastMouse{};

    [[nodiscard]] TWinSkinForm* Form() const
    {
        const auto alive = form.lock();
        return alive ? *alive : nullptr;
    }
};
TMenuTracking g_tracking;

// Every item of `menu` and its submenus that draws itself gets drawn by the window instead; the
// items changed are added to `marked`.
void MarkOwnerDraw(HMENU menu, std::vector<std::pair<HMENU, UINT>>& marked)
{
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info))
            continue;
        if (info.hSubMenu)
            MarkOwnerDraw(info.hSubMenu, marked);
        if (info.fType & (MFT_OWNERDRAW | MFT_BITMAP))
            continue;
        info.fMask = MIIM_FTYPE;
        info.fType |= MFT_OWNERDRAW;
        if (SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info))
            marked.emplace_back(menu, info.wID);
    }
}

// The items drawn by the window go back to drawing themselves.
void UnmarkOwnerDraw(const std::vector<std::pair<HMENU, UINT>>& marked)
{
    for (const auto& [menu, command] : marked) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        if (!IsMenu(menu) || !GetMenuItemInfoA(menu, command, FALSE, &info))
            continue;
        info.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
        (void)SetMenuItemInfoA(menu, command, FALSE, &info);
    }
}

} // namespace

void TWinSkinForm::BuildMenuBar()
{
    if (m_menuBar || m_child || !GetMenu(m_window))
        return;
    auto* form = dynamic_cast<TCustomForm*>(m_form);
    if (form && !form->Menu())
        return;
    auto bar = std::make_unique<TWinSkinMenu>(*this, *m_data, m_window, m_rightToLeft);
    if (!bar->Build(form ? form->Menu() : nullptr, GetMenu(m_window)))
        return;
    m_menuBar = std::move(bar);
    m_menuHeight = GetSystemMetrics(SM_CYMENU);
}

void TWinSkinForm::MenuChanged()
{
    if (!m_menuBar || !m_data || !m_data->MenuUpdate())
        return;
    // The window's menu, given back to it meanwhile, or the one the bar shows with changed items.
    const HMENU menu = GetMenu(m_window) ? GetMenu(m_window) : m_menuBar->WindowMenu();
    if (m_menuBar->Owns(m_hot))
        m_hot = nullptr;
    (void)m_menuBar->Build(FormMainMenu(), menu);
    if (IsWindowVisible(m_window))
        PaintFrame();
}

void TWinSkinForm::DropMenuBar()
{
    if (!m_menuBar)
        return;
    if (m_menuBar->Owns(m_hot))
        m_hot = nullptr;
    m_menuBar->Restore();
    m_menuBar.reset();
    m_menuHeight = 0;
}

bool TWinSkinForm::OpenMenuButton(TMenuBtn* button)
{
    const std::weak_ptr<TWinSkinForm*> alive = m_self;
    for (bool opened = false; button; opened = true) {
        // A button without a drop-down is a command of its own.
        if (!button->DropDown) {
            if (button->Enabled)
                (void)PostMessageA(m_window, WM_COMMAND, button->Command, 0);
            return opened;
        }
        if (!button->Enabled)
            return opened;
        RECT window{};
        (void)GetWindowRect(m_window, &window);
        g_tracking = TMenuTracking{};
        g_tracking.form = m_self;
        g_tracking.dropDown = button->DropDown;
        g_tracking.open = button->Index;
        (void)GetCursorPos(&g_tracking.lastMouse);
        std::vector<std::pair<HMENU, UINT>> marked;
        MarkOwnerDraw(button->DropDown, marked);
        m_ownerDrawn = marked;
        if (TSkinManage* manager = SkinManager())
            manager->SetPopupKind(1);
        g_tracking.hook = SetWindowsHookExA(WH_MSGFILTER, &TWinSkinForm::MenuFilterHook, nullptr, GetCurrentThreadId());
        button->State = TNCObject::Pressed;
        button->Paint();
        m_trackingMenu = true;
        // A right-to-left drop-down hangs from the button's right end.
        const UINT align = m_rightToLeft ? TPM_RIGHTALIGN : 0;
        (void)TrackPopupMenu(button->DropDown, TPM_RIGHTBUTTON | TPM_NONOTIFY | align,
                             window.left + (m_rightToLeft ? button->Rect.right : button->Rect.left),
                             window.top + button->Rect.bottom, 0, m_window, nullptr);
        (void)UnhookWindowsHookEx(g_tracking.hook);
        const int next = g_tracking.switchTo;
        g_tracking = TMenuTracking{};
        UnmarkOwnerDraw(marked);
        // A command run from the menu may have closed the window, or rebuilt or dropped the bar.
        if (alive.expired())
            return true;
        m_trackingMenu = false;
        m_ownerDrawn.clear();
        if (!m_menuBar || !m_menuBar->Owns(button))
            return true;
        if (m_hot == button)
            m_hot = nullptr;
        button->State = TNCObject::Normal;
        button->Paint();
        TMenuBtn* following = m_menuBar->ButtonByIndex(next);
        if (!following)
            return true;
        following->State = TNCObject::Pressed;
        m_hot = following;
        button = following;
    }
    return false;
}

HMENU TWinSkinForm::MarkedMenuOf(UINT command) const
{
    for (const auto& [menu, marked] : m_ownerDrawn)
        if (marked == command)
            return menu;
    return nullptr;
}

bool TWinSkinForm::KeyMenu(LPARAM key)
{
    if (!m_menuBar || g_tracking.Form() || key == ' ' || key == '-' || GetCapture())
        return false;
    TMenuBtn* button = nullptr;
    if (key == 0) {
        for (const auto& candidate : m_menuBar->Buttons())
            if (!button && candidate->Visible && !candidate->Caption.empty())
                button = candidate.get();
    } else {
        button = m_menuBar->FindAccelButton(static_cast<char>(key));
    }
    if (!button)
        return false;
    (void)OpenMenuButton(button);
    return true;
}

bool TWinSkinForm::AccelMenu(char key)
{
    TMenuBtn* button = m_menuBar && !g_tracking.Form() ? m_menuBar->FindAccelButton(key) : nullptr;
    if (!button)
        return false;
    (void)OpenMenuButton(button);
    return true;
}

void TWinSkinForm::OpenMenuButtonAt(POINT screen)
{
    if (TMenuBtn* button = m_menuBar ? m_menuBar->ButtonAt(ScreenToFrame(screen)) : nullptr)
        (void)OpenMenuButton(button);
}

void TWinSkinForm::MenuSelected(WPARAM wParam, LPARAM lParam)
{
    if (g_tracking.Form() != this)
        return;
    if (HIWORD(wParam) == 0xFFFF && lParam == 0) {
        g_tracking.selected = false;
        return;
    }
    g_tracking.selected = true;
    g_tracking.selectedHasSubMenu = (HIWORD(wParam) & MF_POPUP) != 0;
    g_tracking.selectedInDropDown = reinterpret_cast<HMENU>(lParam) == g_tracking.dropDown;
}

TMenuBtn* TWinSkinForm::MenuFilterTarget(const MSG& msg)
{
    TMenuBtn* open = m_menuBar->ButtonByIndex(g_tracking.open);
    if (!open)
        return nullptr;
    switch (msg.message) {
    case WM_KEYDOWN:
        if (msg.wParam == VK_LEFT && (!g_tracking.selected || g_tracking.selectedInDropDown))
            return m_menuBar->Neighbour(*open, -1);
        if (msg.wParam == VK_RIGHT && (!g_tracking.selected || !g_tracking.selectedHasSubMenu))
            return m_menuBar->Neighbour(*open, 1);
        return nullptr;
    case WM_MOUSEMOVE: {
        POINT screen{GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)};
        (void)ClientToScreen(msg.hwnd, &screen);
        if (screen.x == g_tracking.lastMouse.x && screen.y == g_tracking.lastMouse.y)
            return nullptr;
        g_tracking.lastMouse = screen;
        TMenuBtn* under = m_menuBar->ButtonAt(ScreenToFrame(screen));
        return under && under->DropDown && under->Enabled ? under : nullptr;
    }
    default:
        return nullptr;
    }
}

LRESULT TWinSkinForm::MenuFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    const LRESULT next = CallNextHookEx(g_tracking.hook, code, wParam, lParam);
    TWinSkinForm* form = g_tracking.Form();
    if (next || code != MSGF_MENU || !form || !form->m_menuBar)
        return next;
    if (g_tracking.firstMessage) {
        // The drop-down opens with its first item highlighted.
        g_tracking.firstMessage = false;
        (void)PostMessageA(FindWindowA("#32768", nullptr), WM_KEYDOWN, VK_DOWN, 0);
    }
    MSG& msg = *reinterpret_cast<MSG*>(lParam);
    // A right-to-left menu takes Left and Right the other way round.
    if (form->m_rightToLeft && msg.message == WM_KEYDOWN && g_tracking.selected &&
        (msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT))
        msg.wParam = msg.wParam == VK_LEFT ? VK_RIGHT : VK_LEFT;
    TMenuBtn* target = form->MenuFilterTarget(msg);
    if (!target || target->Index == g_tracking.open)
        return next;
    g_tracking.switchTo = target->Index;
    (void)EndMenu();
    return 1;
}
