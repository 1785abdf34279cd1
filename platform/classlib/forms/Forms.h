#pragma once

#include "platform/classlib/forms/Controls.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
// The border styles a control (not a form) takes: bsNone and bsSingle.
using TBorderStyle = TFormBorderStyle;
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TPosition { poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
                 poMainFormCenter, poOwnerFormCenter };
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TFormStateFlag { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateFlag>;

using TCloseEvent = TEvent<TObject*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TObject*, bool&>;

[[nodiscard]] const TTypeInfo& FormBorderStyleTypeInfo();
[[nodiscard]] const TTypeInfo& BorderStyleTypeInfo();
[[nodiscard]] const TTypeInfo& BorderIconsTypeInfo();
[[nodiscard]] const TTypeInfo& PositionTypeInfo();
[[nodiscard]] const TTypeInfo& FormStyleTypeInfo();

// A top-level window holding controls. A form class whose form data is embedded (an RCDATA
// resource named after the class, or text registered with RegisterFormText) gets its components
// and properties from it when created through Create / Application->CreateForm; OnCreate fires
// after that.
class THintWindow;
class TIcon;
class TMainMenu;

class TCustomForm : public TWinControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    // Constructs a form of `formClass`, reads its form data and fires OnCreate.
    [[nodiscard]] static TCustomForm* Create(TClass formClass, TComponent* owner);

    [[nodiscard]] TFormBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TFormBorderStyle style);
    [[nodiscard]] TBorderIcons BorderIcons() const { return m_borderIcons; }
    void SetBorderIcons(TBorderIcons icons);
    [[nodiscard]] TPosition Position() const { return m_position; }
    void SetPosition(TPosition position) { m_position = position; }
    [[nodiscard]] TFormStyle FormStyle() const { return m_formStyle; }
    void SetFormStyle(TFormStyle style);
    [[nodiscard]] TFormState FormState() const { return m_formState; }
    [[nodiscard]] bool KeyPreview() const { return m_keyPreview; }
    void SetKeyPreview(bool keyPreview) { m_keyPreview = keyPreview; }
    [[nodiscard]] int PixelsPerInch() const { return 96; }
    void SetPixelsPerInch(int) {}
    // The caption's icon; while empty the form shows Application->Icon.
    [[nodiscard]] TIcon* Icon() const { return m_icon.get(); }
    void SetIcon(TIcon* icon);
    // Gives the window the icon it shows now (WM_SETICON, small and big).
    void UpdateIcon();
    // The menu bar: the window shows this menu, whose commands and owner drawing the form passes
    // on to it.
    [[nodiscard]] TMainMenu* Menu() const { return m_menu; }
    void SetMenu(TMainMenu* menu);
    // Clicks the item of the form's main menus (the TMainMenu components it owns) that has the key
    // as ShortCut; the focused control's popup menus were asked before.
    [[nodiscard]] virtual bool IsShortCut(WORD key, TShiftState shift);

    [[nodiscard]] TWinControl* ActiveControl() const { return m_activeControl; }
    void SetActiveControl(TWinControl* control);
    // Called when a control of this form gets the focus.
    void SetFocusedControl(TWinControl* control);
    // Forgets `control` as the active or focused control (it is going away or being hidden).
    void DefocusControl(TWinControl* control, bool removing);

    [[nodiscard]] TModalResult ModalResult() const { return m_modalResult; }
    void SetModalResult(TModalResult result) { m_modalResult = result; }
    // Shows the form and runs a nested loop until ModalResult is set (Close sets mrCancel).
    TModalResult ShowModal();
    void Close();
    [[nodiscard]] virtual bool CloseQuery();
    // Frees the form once the messages being handled are done.
    void Release();

    [[nodiscard]] const TNotifyEvent& OnCreate() const { return m_onCreate; }
    void SetOnCreate(const TNotifyEvent& handler) { m_onCreate = handler; }
    [[nodiscard]] const TNotifyEvent& OnShow() const { return m_onShow; }
    void SetOnShow(const TNotifyEvent& handler) { m_onShow = handler; }
    [[nodiscard]] const TNotifyEvent& OnHide() const { return m_onHide; }
    void SetOnHide(const TNotifyEvent& handler) { m_onHide = handler; }
    [[nodiscard]] const TCloseEvent& OnClose() const { return m_onClose; }
    void SetOnClose(const TCloseEvent& handler) { m_onClose = handler; }
    [[nodiscard]] const TCloseQueryEvent& OnCloseQuery() const { return m_onCloseQuery; }
    void SetOnCloseQuery(const TCloseQueryEvent& handler) { m_onCloseQuery = handler; }
    [[nodiscard]] const TNotifyEvent& OnDestroy() const { return m_onDestroy; }
    void SetOnDestroy(const TNotifyEvent& handler) { m_onDestroy = handler; }
    [[nodiscard]] const TNotifyEvent& OnActivate() const { return m_onActivate; }
    void SetOnActivate(const TNotifyEvent& handler) { m_onActivate = handler; }
    [[nodiscard]] const TNotifyEvent& OnDeactivate() const { return m_onDeactivate; }
    void SetOnDeactivate(const TNotifyEvent& handler) { m_onDeactivate = handler; }

    [[nodiscard]] bool HasParent() const override { return Parent() != nullptr; }
    [[nodiscard]] bool Showing() const override;
    [[nodiscard]] TRect ClientRect() const override;
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(TMessage& message) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual void DoCreate();
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    virtual void Activate();
    virtual void Deactivate();

private:
    void ReadFormData();
    void PlaceOnScreen();
    void VisibleChanging();
    void HandleDialogKey(TMessage& message);
    void FocusActiveControl();

    TFormBorderStyle m_borderStyle = bsSizeable;
    TBorderIcons m_borderIcons{biSystemMenu, biMinimize, biMaximize};
    TPosition m_position = poDesigned;
    TFormStyle m_formStyle = fsNormal;
    TFormState m_formState;
    bool m_keyPreview = false;
    bool m_placed = false;
    std::unique_ptr<TIcon> m_icon;
    TWinControl* m_activeControl = nullptr;
    TWinControl* m_focusedControl = nullptr;
    TMainMenu* m_menu = nullptr;
    TModalResult m_modalResult = mrNone;
    TNotifyEvent m_onCreate;
    TNotifyEvent m_onShow;
    TNotifyEvent m_onHide;
    TCloseEvent m_onClose;
    TCloseQueryEvent m_onCloseQuery;
    TNotifyEvent m_onDestroy;
    TNotifyEvent m_onActivate;
    TNotifyEvent m_onDeactivate;
};

class TForm : public TCustomForm {
    CLASSLIB_DECLARE_CLASS;
    explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

// Form data for a form class when it is not embedded as a resource (tests, generated forms).
void RegisterFormText(TClass formClass, std::string text);

using TExceptionEvent = TEvent<TObject*, const std::exception&>;
// How an exception's text reaches the user; the default is an error message box.
using TShowExceptionHook = std::function<void(const std::string& text, const std::string& title)>;

// The running program: its message loop, its main form, and the safety net under every event
// handler. HandleException is called from inside a catch block.
class TApplication : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    explicit TApplication(TComponent* owner);
    ~TApplication() override;

    void Initialize();
    // Creates a form owned by the application; the first becomes the main form.
    TCustomForm* CreateForm(TClass formClass);
    template <class T>
    void CreateForm(T*& reference)
    {
        reference = static_cast<T*>(CreateForm(T::StaticClass()));
    }
    // Shows the main form and runs the loop until Terminate (or the main form closes).
    void Run();
    void ProcessMessages();
    // Waits for and handles one message.
    void HandleMessage();
    void Terminate();
    [[nodiscard]] bool Terminated() const { return m_terminated; }

    [[nodiscard]] TCustomForm* MainForm() const { return m_mainForm; }
    [[nodiscard]] bool ShowMainForm() const { return m_showMainForm; }
    void SetShowMainForm(bool show) { m_showMainForm = show; }
    [[nodiscard]] const std::string& Title() const { return m_title; }
    void SetTitle(const std::string& title) { m_title = title; }
    [[nodiscard]] std::string ExeName() const;
    // The icon of the forms that have none of their own.
    [[nodiscard]] TIcon* Icon() const { return m_icon.get(); }
    void SetIcon(TIcon* icon);
    // The application's hidden window.
    [[nodiscard]] HWND Handle();

    // Shows the exception being handled (EAbort silently), or hands it to OnException.
    void HandleException(TObject* sender);
    void ShowException(const std::exception& error);
    [[nodiscard]] const TExceptionEvent& OnException() const { return m_onException; }
    void SetOnException(const TExceptionEvent& handler) { m_onException = handler; }
    // Replaces how ShowException shows its box; an empty hook restores the default.
    void SetShowExceptionHook(TShowExceptionHook hook) { m_showException = std::move(hook); }

    // Runs one message through the class library's key handling and dispatch; false for WM_QUIT.
    bool ProcessMessage(MSG& msg);

    // Hints (FormsHint.cpp). The pointer resting HintPause ms over a control whose ShowHint holds
    // shows the short part of its hint, HintShortPause ms when another tip was just up; it goes
    // after HintHidePause ms, when the pointer leaves the control, or at a key or a click. Hint is
    // the long part of the hint of the control under the pointer; OnHint fires when it changes.
    [[nodiscard]] bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool showHint);
    [[nodiscard]] int HintPause() const { return m_hintPause; }
    void SetHintPause(int pause) { m_hintPause = pause; }
    [[nodiscard]] int HintShortPause() const { return m_hintShortPause; }
    void SetHintShortPause(int pause) { m_hintShortPause = pause; }
    [[nodiscard]] int HintHidePause() const { return m_hintHidePause; }
    void SetHintHidePause(int pause) { m_hintHidePause = pause; }
    [[nodiscard]] TColor HintColor() const { return m_hintColor; }
    void SetHintColor(TColor color);
    [[nodiscard]] const std::string& Hint() const { return m_hint; }
    void SetHint(const std::string& hint);
    [[nodiscard]] const TNotifyEvent& OnHint() const { return m_onHint; }
    void SetOnHint(const TNotifyEvent& handler) { m_onHint = handler; }
    // Shows the hint of the control at `cursorPos` (screen) now, asking it first with CM_HINTSHOW.
    void ActivateHint(TPoint cursorPos);
    void CancelHint();
    void HideHint();
    // Controls pass every mouse message their windows get through here.
    void HintMouseMessage(TControl* control, TMessage& message);
    // The window the tips are shown in; null until the first one.
    [[nodiscard]] THintWindow* HintWindow() const { return m_hintWindow; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    bool IsKeyMessage(MSG& msg);
    void InstallLoopHooks();
    void CancelHintOn(const MSG& msg);
    void SetHintControl(TControl* control);
    void StartHintTimer(int pause, bool show);
    void StopHintTimer();
    static void HintTimerExpired(HWND window, UINT msg, UINT_PTR id, DWORD time);
    THintWindow* EnsureHintWindow(TClass windowClass);

    TCustomForm* m_mainForm = nullptr;
    bool m_terminated = false;
    bool m_showMainForm = true;
    std::string m_title;
    std::unique_ptr<TIcon> m_icon;
    HWND m_handle = nullptr;
    TExceptionEvent m_onException;
    TShowExceptionHook m_showException;

    bool m_showHint = true;
    int m_hintPause = 500;
    int m_hintShortPause = 50;
    int m_hintHidePause = 2500;
    TColor m_hintColor = clInfoBk;
    std::string m_hint;
    TNotifyEvent m_onHint;
    TControl* m_hintControl = nullptr;
    bool m_hintActive = false;
    TRect m_hintCursorRect{};
    THintWindow* m_hintWindow = nullptr;
    UINT_PTR m_hintTimer = 0;
    bool m_hintTimerShows = false;
};

// The screen: size, work area, cursor, and the forms that exist.
class TScreen : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    [[nodiscard]] int Width() const;
    [[nodiscard]] int Height() const;
    [[nodiscard]] TRect WorkAreaRect() const;
    [[nodiscard]] int WorkAreaWidth() const;
    [[nodiscard]] int WorkAreaHeight() const;
    [[nodiscard]] int PixelsPerInch() const { return 96; }
    [[nodiscard]] TCursor Cursor() const { return m_cursor; }
    void SetCursor(TCursor cursor);
    [[nodiscard]] HCURSOR Cursors(TCursor cursor) const;
    [[nodiscard]] int FormCount() const { return static_cast<int>(m_forms.size()); }
    [[nodiscard]] TCustomForm* Forms(int index) const { return m_forms.at(static_cast<std::size_t>(index)); }
    [[nodiscard]] TCustomForm* ActiveForm() const;

    void AddForm(TCustomForm* form) { m_forms.push_back(form); }
    void RemoveForm(TCustomForm* form);

private:
    TCursor m_cursor = crDefault;
    std::vector<TCustomForm*> m_forms;
};

extern TApplication* Application;
extern TScreen* Screen;
