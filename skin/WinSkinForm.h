#pragma once

#include "platform/classlib/core/AllocateHWnd.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/user/WinUser.h"
#include "skin/SkinControl.h"

#include <memory>
#include <string>
#include <vector>

class TControl;
class TMainMenu;
class TMenuBtn;
class TPopupMenu;
class TDataSkinSysButton;
class TSkinData;
class TTimer;
class TWinControl;
class TWinSkinForm;
class TWinSkinMenu;

// Sent to a skinned window once its skinner has started or applied a new skin. It has a number of
// its own: the notifications of the class library's controls never see it.
inline constexpr UINT WM_SKIN_FINISHED = 0x3524;
// Posted to a skinned window with a child window (wParam) created since it started, to be skinned.
inline constexpr UINT WM_SKIN_CHILDCREATED = 0x3525;
// Through the form object's procedure: lParam SkinQueryKey asks for the frame to be painted into
// the device context in wParam (answered SkinQueryKey), or whether the form is skinned.
inline constexpr UINT WM_SKIN_PAINTFRAMEQUERY = 0xBC4B;
inline constexpr UINT WM_SKIN_FORMQUERY = 0xBC4D;
inline constexpr LPARAM SkinQueryKey = 0x41A2;

// A hot object of the skinned frame: something under the mouse that shows normal, pressed and
// hot pictures. Its rectangle is in frame coordinates (origin at the window's top-left corner).
class TNCObject {
public:
    enum TState { Normal = 1, Pressed = 2, Hot = 3 };

    explicit TNCObject(TWinSkinForm& form) : m_form(form) {}
    virtual ~TNCObject() = default;
    TNCObject(const TNCObject&) = delete;
    TNCObject& operator=(const TNCObject&) = delete;

    void Press();
    void Release();
    void Hover();
    void Leave();
    virtual void Paint() {}

    RECT Rect{};
    bool Visible = false;
    TState State = Normal;

protected:
    TWinSkinForm& m_form;

private:
    // Becomes the form's hot object in `state`, the previous one left.
    void BecomeHot(TState state);
};

// One caption button, made from a system button element of the skin.
class TWinSysButton : public TNCObject {
public:
    TWinSysButton(TWinSkinForm& form, TDataSkinSysButton& element) : TNCObject(form), Element(element) {}

    void Paint() override;
    [[nodiscard]] TBitmap& Image() const;
    [[nodiscard]] int Frames() const;

    // Owned by the skin data; the skinner drops its buttons before a new skin replaces them.
    TDataSkinSysButton& Element;
    bool Enabled = true;
    // Window icon buttons draw the window's icon instead of their own picture.
    bool ShowsIcon = false;
};

// The skinner of one top-level window: a form of the application or a bare window such as a
// message box. It subclasses the window, takes over its non-client area (borders, caption with
// text and buttons, window region), sizes the window so that its client area keeps its size
// inside the skin's borders, and gives each child control a control skinner, which it owns. Unskin
// puts back everything it changed. The skin manager owns it.
class TWinSkinForm {
public:
    enum TBorderKind { bkSizable, bkFixed, bkNone, bkDialog };
    enum TWindowState { wsNormal, wsMaximized, wsMinimized };
    enum TLifecycle { NotStarted = 0, Running = 1, SkinChangedState = 3, Destroying = 4, Starting = 5, Destroyed = 6 };

    TWinSkinForm(HWND window, std::string className);
    ~TWinSkinForm();
    TWinSkinForm(const TWinSkinForm&) = delete;
    TWinSkinForm& operator=(const TWinSkinForm&) = delete;

    // Takes the window over with the skin data; `form` is the window's form object, or null for
    // a bare window. Skinning starts when the window receives WM_SKIN_START.
    void Attach(TSkinData& data, TControl* form);
    // The skin is switched off: everything changed is put back; the skinner stays, inert.
    void Unskin();
    // A new skin: colours, control skinners, frame size and frame.
    void SkinChanged();
    // Border widths and caption buttons from the skin.
    void CalcBorders();
    void DropCaptionButtons();
    void PaintFrame(HDC dc = nullptr);
    void UpdateRegion();

    [[nodiscard]] HWND Window() const { return m_window; }
    [[nodiscard]] const std::string& ClassName() const { return m_className; }
    [[nodiscard]] TSkinData* SkinData() const { return m_data; }
    [[nodiscard]] TControl* Form() const { return m_form; }
    [[nodiscard]] TLifecycle Lifecycle() const { return m_lifecycle; }
    [[nodiscard]] bool IsDead() const { return m_lifecycle == Destroyed; }
    [[nodiscard]] TBorderKind BorderKind() const { return m_borderKind; }
    [[nodiscard]] bool Active() const { return m_active; }
    [[nodiscard]] RECT Borders() const { return RECT{m_left, m_top, m_right, m_bottom}; }
    [[nodiscard]] const std::vector<std::unique_ptr<TWinSysButton>>& Buttons() const { return m_buttons; }
    [[nodiscard]] TNCObject* HotObject() const { return m_hot; }
    // The skinned menu bar, or null when the window has no menu.
    [[nodiscard]] TWinSkinMenu* MenuBar() const { return m_menuBar.get(); }
    // The skinned system menu as last shown, or null.
    [[nodiscard]] TPopupMenu* SystemMenu() const { return m_systemMenu.get(); }
    // Shows the skinned system menu at a screen point; a second opening within the double-click
    // time while a caption object is hot closes the window instead.
    void ShowSystemMenu(POINT screen);
    // The caption text's rectangle at the last frame paint, in frame coordinates.
    [[nodiscard]] RECT CaptionTextRect() const { return m_textRect; }

    // Services for control skinners.
    // Adds and owns the skinner; False when that skinner is listed already.
    bool AddSkinner(std::unique_ptr<TSkinControl> skinner);
    [[nodiscard]] TSkinControl* FindSkinner(HWND window) const;
    [[nodiscard]] bool IsControlSkinned(TControl& control) const;
    [[nodiscard]] const std::vector<std::unique_ptr<TSkinControl>>& Skinners() const { return m_skinners; }
    // A size-grip scroll bar window is being created on this window: it is skinned once made.
    void ScrollBarCreated(HWND bar);
    // A skinner's control or window is gone: the dead skinner is freed once the message under way
    // is done with it.
    void SkinnerLost();
    // The skinner of `window` is freed; a scroll-bar or list-view skinner whose control lives on
    // gets a fresh one of its kind. Dead skinners go too.
    void ReplaceSkinner(HWND window);
    // The skinner under the mouse; it is told CM_MOUSELEAVE once the mouse has left its control.
    void SetHoveredSkinner(TSkinControl* skinner) { m_hovered = skinner; }
    [[nodiscard]] TSkinControl* HoveredSkinner() const { return m_hovered; }

    // The window's subclass while it is skinned; its data is the skinner.
    static LRESULT SkinWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR skinner);
    // Run by the timer every 250 ms while the window is active.
    void OnTimer();

    // Control discovery, in WinSkinFormChildren.cpp.
    void SkinChildren();
    void SkinChildWindows(HWND window);
    void SkinComponent(TControl& control);
    bool SkinBySkin3rd(const std::string& upperClassName, TControl& control);
    // A new skinner of the kind on the control, listed.
    void AttachNew(const std::string& kind, TControl& control, int boxFlag);
    // The Skin3rd kinds that skin a group's children: radio and check groups (their items, then
    // the group's frame) and controls with embedded scroll bars.
    void SkinGroupKind(const std::string& kind, TWinControl& group);
    // The application's OnSkinControl: true when it handed a skinner for the control.
    bool SkinByEvent(const std::string& upperClassName, TControl& control);
    void SkinForeignWindow(HWND window);

private:
    friend class TNCObject;
    friend class TWinSysButton;

    // WinSkinForm.cpp: lifecycle and the window procedures.
    void InitSkin();
    void StartSkin();
    void ApplyFrameSize(bool keepClientSize);
    // The skin's borders around the client area, as a window size less its client size.
    [[nodiscard]] SIZE SkinFrameSize() const { return SIZE{m_left + m_right, m_top + m_bottom}; }
    // The window now wears a frame of `frame`: a maximised or minimised window's restored place
    // is resized so that it comes back around the same client area.
    void KeepRestoredClient(SIZE frame);
    // A maximised window fills the work area again, as a window with the standard frame does.
    void FillWorkArea();
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam);
    bool TopLevelMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool FrameMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void ControlWndProc(TMessage& message);
    LRESULT CallOld(UINT msg, WPARAM wParam, LPARAM lParam);
    void Release();
    void RestoreProcedures();
    void FreeSkinners();
    void PurgeSkinners();
    void ReadWindowState();
    void Finished();
    // Under the skin manager's hide-while-starting flag a skinned frame is hidden from InitSkin
    // until it has started.
    void HideUntilStarted();
    void ShowOnceStarted();
    void SetStyleBits(LONG bits, bool on);
    void SetTimerRunning(bool running);

    // WinSkinFormFrame.cpp: the non-client area.
    void DrawBorder(HDC dc, int index, const RECT& rect);
    void PaintCaptionBar(HDC dc, int width, int height);
    void DrawCaptionText(HDC dc, const RECT& caption);
    void PlaceButtons(int width);
    // The left margin of the skin's menu bar picture, which menu-bar caption buttons keep clear of.
    [[nodiscard]] int MenuBarLeftMargin() const;
    // The left edge of the leftmost right-aligned caption button (0 for none): it limits the
    // caption text of popup windows.
    [[nodiscard]] int RightButtonsLeft(int width) const;
    void UpdateButtonVisibility(TWinSysButton& button) const;
    void DrawButtons(HDC dc);
    void DrawButtonFrame(HDC dc, TWinSysButton& button, int frame);
    void TakeWindowIcon();
    [[nodiscard]] std::string WindowText() const;
    [[nodiscard]] TNCObject* ObjectAt(POINT frame) const;
    [[nodiscard]] POINT ScreenToFrame(POINT screen) const;
    LRESULT NcCalcSize(WPARAM wParam, LPARAM lParam);
    LRESULT NcHitTest(WPARAM wParam, LPARAM lParam);
    LRESULT NcMouseMove(WPARAM wParam, LPARAM lParam);
    LRESULT NcButtonDown(WPARAM wParam, LPARAM lParam);
    LRESULT NcButtonUp(WPARAM wParam, LPARAM lParam);
    LRESULT NcDoubleClick(WPARAM wParam, LPARAM lParam);
    void DoButtonAction(TWinSysButton& button);
    [[nodiscard]] HRGN BorderRegion(int index, const RECT& rect, bool transparent);

    // WinSkinFormMenus.cpp: the system menu and the skinned drawing of menu items.
    void BuildSystemMenu();
    // The form's popup menus, and its main menus' items below the bar, drawn by the skin (on) or
    // by themselves again (off).
    void SetPopupMenusOwnerDraw(bool on);
    void SetMainMenusOwnerDraw(bool on);
    // WM_MEASUREITEM and WM_DRAWITEM of menu items the window is asked to measure and draw.
    bool MenuItemMessage(UINT msg, LPARAM lParam, LRESULT& result);
    bool MeasureMenuItem(MEASUREITEMSTRUCT& measure, LRESULT& result);
    bool DrawMenuItem(const DRAWITEMSTRUCT& draw, LRESULT& result);
    [[nodiscard]] TMainMenu* FormMainMenu() const;
    // The menu holding an item the skinned bar made the window draw, by command; null for none.
    [[nodiscard]] HMENU MarkedMenuOf(UINT command) const;

    // WinSkinMenuBar.cpp: the menu bar and its drop-downs.
    void BuildMenuBar();
    // The window's menu or its items changed: the bar follows.
    void MenuChanged();
    void DropMenuBar();
    // Opens the button's drop-down (a button without one posts its command) and follows Left,
    // Right and the mouse along the bar; false when no drop-down opened.
    bool OpenMenuButton(TMenuBtn* button);
    // SC_KEYMENU: 0 opens the first button, a letter the button it is the accelerator of.
    bool KeyMenu(LPARAM key);
    // Alt+the accelerator of a bar button opens it; false when no button has it.
    bool AccelMenu(char key);
    // Opens the bar button under a screen point.
    void OpenMenuButtonAt(POINT screen);
    void MenuSelected(WPARAM wParam, LPARAM lParam);
    [[nodiscard]] TMenuBtn* MenuFilterTarget(const MSG& msg);
    static LRESULT MenuFilterHook(int code, WPARAM wParam, LPARAM lParam);

    HWND m_window;
    std::string m_className;
    TSkinData* m_data = nullptr;
    TControl* m_form = nullptr;
    TWndMethod m_oldFormProc;
    bool m_subclassed = false;
    std::unique_ptr<TTimer> m_timer;
    GdiObject<HFONT> m_captionFont;
    TBitmap m_iconBitmap;
    TBitmap m_captionBitmap;

    bool m_frameSkinned = false;
    bool m_started = false;
    TLifecycle m_lifecycle = NotStarted;
    TBorderKind m_borderKind = bkFixed;
    TWindowState m_windowState = wsNormal;
    bool m_active = true;
    bool m_dialog = false;
    bool m_child = false;
    bool m_rightToLeft = false;
    bool m_hasSysMenu = false;
    bool m_hasMinimize = false;
    bool m_hasMaximize = false;
    LONG m_style = 0;
    LONG m_exStyle = 0;
    HMENU m_sysMenu = nullptr;
    TColor m_savedColor = 0;
    bool m_colorSaved = false;

    int m_left = 0;
    int m_top = 0;
    int m_right = 0;
    int m_bottom = 0;
    int m_menuHeight = 0;
    SIZE m_standardNonClient{};
    // The frame the window's restored place was measured with.
    SIZE m_wornFrame{};
    SIZE m_regionSize{};
    RECT m_textRect{};
    int m_rightButtonsLeft = 0;

    std::vector<std::unique_ptr<TWinSysButton>> m_buttons;
    std::unique_ptr<TWinSkinMenu> m_menuBar;
    std::vector<std::unique_ptr<TSkinControl>> m_skinners;
    // Shared with the menu loop while it shows, so that the skinner may go meanwhile.
    std::shared_ptr<TPopupMenu> m_systemMenu;
    DWORD m_systemMenuShownAt = 0;
    bool m_systemMenuShown = false;
    // Set while a drop-down of the menu bar is open.
    bool m_trackingMenu = false;
    // The drop-down's items the window draws while it is open.
    std::vector<std::pair<HMENU, UINT>> m_ownerDrawn;
    // Weak references to it (the menu bar's tracking state) expire when the skinner is freed.
    std::shared_ptr<TWinSkinForm*> m_self = std::make_shared<TWinSkinForm*>(this);
    // Not owned: each is cleared the moment what it names is freed.
    TNCObject* m_hot = nullptr;
    TSkinControl* m_hovered = nullptr;
};
