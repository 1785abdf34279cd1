#pragma once

#include "platform/winapi/user/WinUser.h"

#include <memory>
#include <string>
#include <vector>

class TControl;
class TCustomForm;
class TSkinData;
class TTimer;
class TObject;
class TWinSkinForm;
class TWinSkinPopMenu;

// The one skin manager of the program. It watches window creation and activation in the GUI
// thread through a CBT hook, decides which windows are skinned, gives each a form skinner (which
// it owns), tracks the popup menus that appear, and runs the skin data components' requests
// (skin all, unskin all, skin changed) a quarter of a second after the last one.
//
// The first skin data component that is loaded makes it; FreeSkinManager unskins every window
// and ends it.
class TSkinManage {
public:
    enum TAction { ActionNone = 0, ActionSkinAll = 1, ActionUnskinAll = 2, ActionSkinChanged = 3, ActionFreeDead = 6,
                   ActionReskin = 7 };
    static constexpr unsigned ActionDelay = 250;
    // The start count: 0 until the first activation or a main skin data is switched on.
    static constexpr int Started = 1;
    static constexpr int Ending = 4;

    TSkinManage();
    ~TSkinManage();
    TSkinManage(const TSkinManage&) = delete;
    TSkinManage& operator=(const TSkinManage&) = delete;

    // Hooks window creation, activation and destruction of the current thread (once).
    void InstallHook();
    void Register(TSkinData* data);
    // The component is never used again; when it was the main skin data, the next registered
    // main-form component (if any) takes its place.
    void Unregister(TSkinData* data);
    [[nodiscard]] TSkinData* MainSkinData() const { return m_mainData; }
    [[nodiscard]] const std::vector<TSkinData*>& Registered() const { return m_registered; }

    // Gives the window a form skinner when every condition holds; True when it did.
    bool SkinWindow(HWND window);
    // SkinWindow on a visible top-level form.
    void SkinForm(TCustomForm* form);
    [[nodiscard]] TWinSkinForm* FindFormSkinner(HWND window) const;
    [[nodiscard]] const std::vector<std::unique_ptr<TWinSkinForm>>& FormSkinners() const { return m_formSkinners; }
    // The form object of a window: one of the screen's forms, or the control recorded on it.
    [[nodiscard]] static TControl* FormOfWindow(HWND window);
    // The skin data a window is skinned with, or null.
    [[nodiscard]] TSkinData* ChooseSkinData(HWND window, const std::string& className) const;

    void ScheduleAction(TAction action, unsigned delay);
    [[nodiscard]] TAction PendingAction() const { return m_action; }
    // The timer's event: runs the pending action (tests may call it directly).
    void RunAction();
    // Every form skinner using the data drops its caption buttons (a new skin rebuilds them).
    void DropCaptionButtons(const TSkinData* data);
    // Takes a dead or unskinned window's form skinner out of the list and frees it.
    void RemoveFormSkinner(HWND window);
    // Removes and frees the form skinners whose windows are gone.
    void Purge();

    [[nodiscard]] bool On() const { return m_on; }
    void SetOn(bool on) { m_on = on; }
    [[nodiscard]] int StartCount() const { return m_startCount; }
    void SetStartCount(int count) { m_startCount = count; }
    [[nodiscard]] TSkinData* CurrentSkinData() const { return m_current; }
    void SetCurrentSkinData(TSkinData* data) { m_current = data; }
    // Under it, form skinners keep their window hidden until it is sized and painted.
    [[nodiscard]] bool HideWhileStarting() const { return m_hideWhileStarting; }
    void SetHideWhileStarting(bool hide) { m_hideWhileStarting = hide; }
    // The kind of the next popup menu: 0 an ordinary popup, 1 a menu bar drop-down, 2 a system menu.
    void SetPopupKind(int kind) { m_popupKind = kind; }
    [[nodiscard]] int PopupKind() const { return m_popupKind; }
    // The popup menus ("#32768") being shown that are skinned.
    [[nodiscard]] bool IsPopupSkinned(HWND window) const;
    [[nodiscard]] const std::vector<std::unique_ptr<TWinSkinPopMenu>>& PopupSkinners() const { return m_popups; }
    // The skinner of the popup window that shows `menu`, or null.
    [[nodiscard]] TWinSkinPopMenu* PopupShowing(HMENU menu) const;
    [[nodiscard]] HWND ReskinWindow() const { return m_reskinWindow; }
    void SetReskinWindow(HWND window) { m_reskinWindow = window; }

private:
    friend LRESULT SkinManagerCbtHook(int code, WPARAM wParam, LPARAM lParam);

    void PopupCreated(HWND window);
    void PopupDestroyed(HWND window);
    // A size-grip scroll bar window is being created: the form skinner of its parent is told.
    void ScrollBarCreated(HWND bar, HWND parent);
    [[nodiscard]] bool PassesSkinDecision(HWND window, const std::string& className) const;
    void RunFormAction(TAction action, TSkinData& data);
    void RunMainAction(TAction action, TSkinData& data);
    void UnskinOne(TWinSkinForm& skinner);
    void UnskinAll(const TSkinData* only);
    [[nodiscard]] std::vector<TWinSkinForm*> SkinnersOf(const TSkinData* data) const;

    std::vector<std::unique_ptr<TWinSkinForm>> m_formSkinners;
    std::vector<std::unique_ptr<TWinSkinPopMenu>> m_popups;
    std::vector<TSkinData*> m_registered;
    TSkinData* m_mainData = nullptr;
    TSkinData* m_current = nullptr;
    HHOOK m_hook = nullptr;
    std::unique_ptr<TTimer> m_timer;
    TAction m_action = ActionNone;
    bool m_on = false;
    bool m_bulk = false;
    bool m_hideWhileStarting = false;
    int m_popupKind = 0;
    int m_startCount = 0;
    HWND m_reskinWindow = nullptr;
};

// The program's skin manager, or null before the first skin data is loaded.
[[nodiscard]] TSkinManage* SkinManager();
[[nodiscard]] TSkinManage& EnsureSkinManager();
// Unskins every window and ends the manager (at the end of the program, or of a test).
void FreeSkinManager();
