#pragma once

#include "platform/classlib/core/Components.h"
#include "platform/classlib/forms/ControlsMessages.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/GraphicsObjects.h"

#include <memory>
#include <string>
#include <vector>

class TWinControl;
class TCustomForm;
class TDockTree;
class TPopupMenu;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;
enum TControlStyleFlag {
    csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption, csOpaque,
    csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable, csNoStdEvents,
    csDisplayDragImage, csReflector, csActionClient, csMenuEvents, csNeedsBorderPaint, csParentBackground
};
using TControlStyle = TSet<TControlStyleFlag>;
enum TControlStateFlag {
    csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating, csPaintCopy,
    csCustomPaint, csDestroyingHandle, csDocking
};
using TControlState = TSet<TControlStateFlag>;
enum TMouseButton { mbLeft, mbRight, mbMiddle };
// dkDock with dmAutomatic: dragging the control with the mouse docks it where it is dropped.
enum TDragKind { dkDrag, dkDock };
enum TDragMode { dmManual, dmAutomatic };
enum TShiftStateFlag { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateFlag>;
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crArrow = -2;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;

using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;

using TMouseEvent = TEvent<TObject*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TObject*, TShiftState, int, int>;
using TKeyEvent = TEvent<TObject*, WORD&, TShiftState>;
using TKeyPressEvent = TEvent<TObject*, char&>;
// The client point of the request ((-1, -1) from the keyboard); Handled stops the menu.
using TContextPopupEvent = TEvent<TObject*, TPoint, bool&>;

[[nodiscard]] const TTypeInfo& AlignTypeInfo();
[[nodiscard]] const TTypeInfo& AnchorsTypeInfo();
[[nodiscard]] const TTypeInfo& DragKindTypeInfo();
[[nodiscard]] const TTypeInfo& DragModeTypeInfo();
// From a key message's lParam (Alt) and the keyboard state (Shift, Ctrl).
[[nodiscard]] TShiftState KeyDataToShiftState(LPARAM keyData);
// From a mouse message's wParam (MK_ bits) and the keyboard state for Alt.
[[nodiscard]] TShiftState KeysToShiftState(WPARAM keys);
// Whether `caption` marks `key` as its accelerator with '&' (case-insensitive; "&&" is a plain '&').
[[nodiscard]] bool IsAccel(WORD key, const std::string& caption);

// The lifetime rule of controls.
//
// A user's handler may free the control whose event it answers (its sender), and may do so from
// any event: OnClick, OnMouseUp, OnKeyDown, OnChange... So code that fires an event, or calls
// anything that may fire one (Click, MouseUp, KeyDown, Perform of a message that reaches a
// handler), goes on afterwards only when the control still stands: it runs the call through
// Outlives, or takes a TControlLife before it and asks Stands after it, and when the control is
// gone it returns at once, touching none of its members. Built-in window classes keep the same
// rule below this layer (ControlInstance's Reply::stands).
//
// A handler that wants its sender gone once the event is over calls the control's Release: the
// control is freed when the thread's message loop next runs, if nothing freed it before.
class TControl;

// Whether a control outlived what was called since this was taken.
class TControlLife {
public:
    explicit TControlLife(const TControl& control);
    [[nodiscard]] bool Stands() const { return !m_token.expired(); }

private:
    std::weak_ptr<const void> m_token;
};

// The base of everything on a form: a rectangle in its parent with the common properties and
// the message plumbing. Messages reach a control through WindowProc (which a skin engine may swap
// for its own and call the saved one from), then WndProc, then Dispatch by message number, then
// DefaultHandler. Perform sends a message this way, synchronously.
class TControl : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    explicit TControl(TComponent* owner);
    ~TControl() override;

    [[nodiscard]] TWinControl* Parent() const { return m_parent; }
    virtual void SetParent(TWinControl* parent);

    [[nodiscard]] int Left() const { return m_left; }
    void SetLeft(int left) { SetBounds(left, m_top, m_width, m_height); }
    [[nodiscard]] int Top() const { return m_top; }
    void SetTop(int top) { SetBounds(m_left, top, m_width, m_height); }
    [[nodiscard]] int Width() const { return m_width; }
    void SetWidth(int width) { SetBounds(m_left, m_top, width, m_height); }
    [[nodiscard]] int Height() const { return m_height; }
    void SetHeight(int height) { SetBounds(m_left, m_top, m_width, height); }
    virtual void SetBounds(int left, int top, int width, int height);
    [[nodiscard]] TRect BoundsRect() const { return Rect(m_left, m_top, m_left + m_width, m_top + m_height); }
    void SetBoundsRect(const TRect& rect) { SetBounds(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top); }
    [[nodiscard]] virtual TRect ClientRect() const;
    [[nodiscard]] int ClientWidth() const;
    void SetClientWidth(int width);
    [[nodiscard]] int ClientHeight() const;
    void SetClientHeight(int height);
    [[nodiscard]] virtual TPoint ClientOrigin() const;
    [[nodiscard]] TPoint ClientToScreen(TPoint point) const;
    [[nodiscard]] TPoint ScreenToClient(TPoint point) const;

    [[nodiscard]] TAlign Align() const { return m_align; }
    void SetAlign(TAlign align);
    [[nodiscard]] TAnchors Anchors() const { return m_anchors; }
    void SetAnchors(TAnchors anchors) { m_anchors = anchors; }

    [[nodiscard]] bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible here and in every parent up to a shown top-level window.
    [[nodiscard]] virtual bool Showing() const;
    [[nodiscard]] bool Enabled() const { return m_enabled; }
    virtual void SetEnabled(bool enabled);

    [[nodiscard]] TColor Color() const { return m_color; }
    void SetColor(TColor color);
    [[nodiscard]] bool ParentColor() const { return m_parentColor; }
    void SetParentColor(bool parentColor);
    [[nodiscard]] TFont* Font() const { return m_font.get(); }
    void SetFont(TFont* font) { m_font->Assign(font); }
    [[nodiscard]] bool ParentFont() const { return m_parentFont; }
    void SetParentFont(bool parentFont);

    [[nodiscard]] std::string Caption() const { return GetText(); }
    void SetCaption(const std::string& caption) { SetText(caption); }
    [[nodiscard]] std::string Text() const { return GetText(); }
    void SetText(const std::string& text);

    [[nodiscard]] const std::string& Hint() const { return m_hint; }
    void SetHint(const std::string& hint) { m_hint = hint; }
    [[nodiscard]] bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool showHint);
    [[nodiscard]] bool ParentShowHint() const { return m_parentShowHint; }
    void SetParentShowHint(bool parentShowHint);
    [[nodiscard]] TPopupMenu* PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(TPopupMenu* menu);
    [[nodiscard]] TCursor Cursor() const { return m_cursor; }
    void SetCursor(TCursor cursor) { m_cursor = cursor; }

    [[nodiscard]] TDragKind DragKind() const { return m_dragKind; }
    void SetDragKind(TDragKind kind) { m_dragKind = kind; }
    [[nodiscard]] TDragMode DragMode() const { return m_dragMode; }
    void SetDragMode(TDragMode mode) { m_dragMode = mode; }
    // The dock site the control was docked into, or null.
    [[nodiscard]] TWinControl* HostDockSite() const { return m_hostDockSite; }
    // Moves the control into the dock site (the site's DockDrop places it), or floats it with a
    // null site.
    void ManualDock(TWinControl* site, TPoint dropPoint = TPoint{0, 0});
    // Starts dragging a control that docks by dragging (DragKind dkDock) from where the mouse is:
    // at once, or once the mouse has moved the drag threshold. The release docks it.
    void BeginDrag(bool immediate);

    [[nodiscard]] TControlStyle ControlStyle() const { return m_controlStyle; }
    void SetControlStyle(TControlStyle style) { m_controlStyle = style; }
    [[nodiscard]] TControlState ControlState() const { return m_controlState; }
    void SetControlState(TControlState state) { m_controlState = state; }

    // Repaints the control's area later (Invalidate), now (Repaint, Refresh) or finishes what is
    // pending (Update).
    virtual void Invalidate();
    virtual void Repaint();
    void Refresh() { Repaint(); }
    virtual void Update();
    void BringToFront();

    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // Runs `call`, which may free this control, and tells whether the control outlived it.
    template <class Call>
    [[nodiscard]] bool Outlives(Call&& call)
    {
        const TControlLife life(*this);
        call();
        return life.Stands();
    }
    // Frees the control once the thread's message loop next runs: the way a handler frees its
    // sender (or any control whose event may still be on its way) without cutting the event short.
    void Release();
    [[nodiscard]] const TWndMethod& WindowProc() const { return m_windowProc; }
    void SetWindowProc(TWndMethod method) { m_windowProc = std::move(method); }
    virtual void DefaultHandler(TMessage& message);

    // What a click does: fires OnClick. Buttons call it for the keyboard too.
    virtual void Click();
    virtual void DblClick();

    [[nodiscard]] const TNotifyEvent& OnClick() const { return m_onClick; }
    void SetOnClick(const TNotifyEvent& handler) { m_onClick = handler; }
    [[nodiscard]] const TNotifyEvent& OnDblClick() const { return m_onDblClick; }
    void SetOnDblClick(const TNotifyEvent& handler) { m_onDblClick = handler; }
    [[nodiscard]] const TMouseEvent& OnMouseDown() const { return m_onMouseDown; }
    void SetOnMouseDown(const TMouseEvent& handler) { m_onMouseDown = handler; }
    [[nodiscard]] const TMouseMoveEvent& OnMouseMove() const { return m_onMouseMove; }
    void SetOnMouseMove(const TMouseMoveEvent& handler) { m_onMouseMove = handler; }
    [[nodiscard]] const TMouseEvent& OnMouseUp() const { return m_onMouseUp; }
    void SetOnMouseUp(const TMouseEvent& handler) { m_onMouseUp = handler; }
    [[nodiscard]] const TContextPopupEvent& OnContextPopup() const { return m_onContextPopup; }
    void SetOnContextPopup(const TContextPopupEvent& handler) { m_onContextPopup = handler; }

    // Stored-when rules of the published properties.
    [[nodiscard]] bool IsColorStored() const { return !m_parentColor; }
    [[nodiscard]] bool IsFontStored() const { return !m_parentFont; }
    [[nodiscard]] bool IsShowHintStored() const { return !m_parentShowHint; }

    [[nodiscard]] bool HasParent() const override { return true; }
    [[nodiscard]] TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;

protected:
    virtual void WndProc(TMessage& message);
    // Answers the messages this class handles; the rest go to the parent class's Dispatch and,
    // at the root, to DefaultHandler.
    virtual void Dispatch(TMessage& message);

    [[nodiscard]] virtual std::string GetText() const { return m_text; }
    // Stores the text without notifying; windowed controls also set the window text.
    virtual void StoreText(const std::string& text) { m_text = text; }
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseMove(TShiftState shift, int x, int y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
    // The control's area in its parent changed, or its visibility; the parent realigns.
    void RequestAlign();
    void NotifyDockSite(UINT change);
    // Where the control's pixels are: its own window's, or its parent's for graphic controls.
    virtual void InvalidateControl(bool isVisible, bool isOpaque);
    // Stacks the control's window as its place among its parent's controls says: a later control
    // is above an earlier one. Graphic controls have no window to stack.
    virtual void PlaceInZOrder() {}
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;

    void FontChanged(TObject* sender);

private:
    friend class TWinControl;
    friend class TCustomForm;
    friend class TControlLife;
    void DispatchMouse(TMessage& message);
    // The mouse events a mouse message fires; they may free the control.
    void FireMouseEvents(TMessage& message);
    void HandleButtonDown(TMessage& message, TMouseButton button);
    void HandleButtonUp(TMessage& message, TMouseButton button);
    // WM_CONTEXTMENU (which a right button release sends): OnContextPopup, then the PopupMenu of
    // this control or, failing that, of the nearest parent, when its AutoPopup is on.
    void ContextMenu(TMessage& message);

    TWinControl* m_parent = nullptr;
    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
    TAlign m_align = alNone;
    TAnchors m_anchors{akLeft, akTop};
    bool m_visible = true;
    bool m_enabled = true;
    TColor m_color = clWindow;
    bool m_parentColor = true;
    std::unique_ptr<TFont> m_font;
    bool m_parentFont = true;
    std::string m_text;
    std::string m_hint;
    bool m_showHint = false;
    bool m_parentShowHint = true;
    TPopupMenu* m_popupMenu = nullptr;
    TCursor m_cursor = crDefault;
    TDragKind m_dragKind = dkDrag;
    TDragMode m_dragMode = dmManual;
    TWinControl* m_hostDockSite = nullptr;
    TControlStyle m_controlStyle{csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    TControlState m_controlState;
    TWndMethod m_windowProc;
    TNotifyEvent m_onClick;
    TNotifyEvent m_onDblClick;
    TMouseEvent m_onMouseDown;
    TMouseMoveEvent m_onMouseMove;
    TMouseEvent m_onMouseUp;
    TContextPopupEvent m_onContextPopup;
    // Expires when the control is freed; see TControlLife.
    std::shared_ptr<const void> m_life = std::make_shared<int>(0);
};

// What CreateParams fills in before the window is made.
struct TCreateParams {
    std::string Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int X = 0;
    int Y = 0;
    int Width = 0;
    int Height = 0;
    HWND WndParent = nullptr;
    WNDCLASSA WindowClass{};
    // The class the window is registered under; a built-in class named in WindowClass is
    // subclassed under this name, its procedure becoming the default handler.
    std::string WinClassName;
};

using TControlList = std::vector<TControl*>;

// A control with a window of its own, parent of other controls. The window is made on demand
// (Handle, HandleNeeded, or when the parent's is made) and routes every message to WindowProc.
// Keyboard messages reach a control first as CN_KEYDOWN / CN_CHAR / CN_SYSCHAR through the
// application's loop, which is where dialog keys (Tab, Enter, Escape, Alt+letter) are taken.
class TWinControl : public TControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // Makes the window (and its parent's) when there is none; raises EInvalidOperation "Control
    // '%s' has no parent window" for a child without a parent.
    [[nodiscard]] HWND Handle();
    [[nodiscard]] bool HandleAllocated() const { return m_handle != nullptr; }
    void HandleNeeded() { (void)Handle(); }
    virtual void DestroyHandle();
    // Destroys the window so that it is made again with new creation parameters.
    void RecreateWnd();
    [[nodiscard]] HWND ParentWindow() const { return m_parentWindow; }
    void SetParentWindow(HWND window);

    [[nodiscard]] int ControlCount() const { return static_cast<int>(m_controls.size()); }
    [[nodiscard]] TControl* Controls(int index) const { return m_controls.at(static_cast<std::size_t>(index)); }
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    [[nodiscard]] bool ContainsControl(const TControl* control) const;
    // The visible, enabled child control at a client point; windowed ones only when asked.
    [[nodiscard]] TControl* ControlAtPos(TPoint point, bool allowDisabled, bool allowWinControls = false) const;
    // Sends the message to every child until one answers with a non-zero Result.
    void Broadcast(TMessage& message);
    void NotifyControls(UINT msg);
    void Realign() { AlignControls(nullptr); }
    void DisableAlign() { ++m_alignLevel; }
    void EnableAlign();

    [[nodiscard]] bool Focused() const;
    [[nodiscard]] virtual bool CanFocus() const;
    virtual void SetFocus();
    [[nodiscard]] bool TabStop() const { return m_tabStop; }
    void SetTabStop(bool tabStop);
    [[nodiscard]] int TabOrder() const;
    void SetTabOrder(int order);
    // The windowed children in tab order, depth first.
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    // The next focusable control after `current` among this one's descendants.
    [[nodiscard]] TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                               bool checkParent) const;
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
    void SelectFirst();

    // A dock site takes controls dropped on it; with UseDockManager its dock manager, made on
    // first use, lays them out.
    [[nodiscard]] bool DockSite() const { return m_dockSite; }
    void SetDockSite(bool dockSite);
    [[nodiscard]] bool UseDockManager() const { return m_useDockManager; }
    void SetUseDockManager(bool use);
    [[nodiscard]] TDockTree* DockManager();
    [[nodiscard]] int DockClientCount() const;
    [[nodiscard]] TControl* DockClients(int index) const;
    // Docking a client here: places it, into a zone of the dock manager when there is one, else at
    // `drop` of the client area. A site that hosts its clients in controls of its own overrides it.
    virtual void DockDrop(TControl& client, TPoint drop);
    // A docked client is about to leave (for another site or none), then has left.
    virtual void UndockClient(TControl& client);
    virtual void ClientUndocked(TControl& client);

    // Paints the graphic children onto `dc` (the window's client DC), starting from `first`.
    void PaintControls(HDC dc, TControl* first);

    [[nodiscard]] TRect ClientRect() const override;
    [[nodiscard]] TPoint ClientOrigin() const override;
    void SetBounds(int left, int top, int width, int height) override;
    void Invalidate() override;
    void Repaint() override;
    void Update() override;
    void DefaultHandler(TMessage& message) override;
    [[nodiscard]] bool Showing() const override;

    [[nodiscard]] const TKeyEvent& OnKeyDown() const { return m_onKeyDown; }
    void SetOnKeyDown(const TKeyEvent& handler) { m_onKeyDown = handler; }
    [[nodiscard]] const TKeyPressEvent& OnKeyPress() const { return m_onKeyPress; }
    void SetOnKeyPress(const TKeyPressEvent& handler) { m_onKeyPress = handler; }
    [[nodiscard]] const TKeyEvent& OnKeyUp() const { return m_onKeyUp; }
    void SetOnKeyUp(const TKeyEvent& handler) { m_onKeyUp = handler; }
    [[nodiscard]] const TNotifyEvent& OnEnter() const { return m_onEnter; }
    void SetOnEnter(const TNotifyEvent& handler) { m_onEnter = handler; }
    [[nodiscard]] const TNotifyEvent& OnExit() const { return m_onExit; }
    void SetOnExit(const TNotifyEvent& handler) { m_onExit = handler; }

    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void SetChildOrder(TComponent* child, int order) override;

    // The control that owns the window (null for windows of no control).
    [[nodiscard]] static TWinControl* FindControl(HWND window);

protected:
    virtual void CreateParams(TCreateParams& params);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    virtual void DestroyWnd();
    // Called after the window exists and its children's windows are made.
    virtual void CreateHandle();
    void PlaceInZOrder() override;
    virtual void AlignControls(TControl* control, TRect& rect);
    virtual void AdjustClientRect(TRect& /*rect*/) const {}
    [[nodiscard]] virtual std::unique_ptr<TDockTree> CreateDockManager();
    virtual void PaintWindow(HDC dc);
    virtual void KeyDown(WORD& key, TShiftState shift);
    virtual void KeyUp(WORD& key, TShiftState shift);
    virtual void KeyPress(char& key);
    virtual void DoEnter();
    virtual void DoExit();
    void WndProc(TMessage& message) override;
    void Dispatch(TMessage& message) override;
    void StoreText(const std::string& text) override;
    [[nodiscard]] std::string GetText() const override;
    void Loaded() override;
    // For controls wrapping a built-in window class: takes that class's settings and procedure
    // (which becomes the default handler) while keeping this control's class name.
    void CreateSubClass(TCreateParams& params, const char* builtinClass);

    void AlignControls(TControl* control);
    // Sends CM_SHOWINGCHANGED down the tree where Showing changed.
    void UpdateShowing();
    // The parent asks each child to follow its anchors when its client area changes size.
    void AdjustAnchors(int dx, int dy);

private:
    friend class TControl;
    friend LRESULT ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
    void PaintHandler(TMessage& message);
    void EraseBackground(TMessage& message);
    // Each fires the control's key event; true when the key is taken (or the control was freed).
    bool DoKeyDown(TMessage& message);
    bool DoKeyPress(TMessage& message);
    bool DoKeyUp(TMessage& message);
    // A form with KeyPreview sees its controls' keys first: true when it took the key or its
    // handler freed this control.
    bool FormTakesKey(TMessage& message, bool (TWinControl::*doKey)(TMessage&));
    void HandleCNKeyDown(TMessage& message);
    // Clicks the item of a popup menu of this control or a parent, or of the form's menus, that
    // has the key as ShortCut.
    [[nodiscard]] bool IsMenuKey(const TMessage& message);
    void HandleCNChar(TMessage& message);
    void HandleSysChar(TMessage& message);
    void ReflectNotification(TMessage& message);
    bool IsChildMouseMessage(TMessage& message);
    void ClientResized();
    void ApplyBoundsToWindow();

    HWND m_handle = nullptr;
    HWND m_parentWindow = nullptr;
    WNDPROC m_defWndProc = nullptr;
    TControlList m_controls;
    std::vector<TWinControl*> m_tabList;
    bool m_tabStop = false;
    // TabOrder read from form data, applied once the siblings are all there.
    int m_tabOrderWanted = -1;
    int m_alignLevel = 0;
    SIZE m_lastClient{0, 0};
    bool m_showing = false;
    bool m_dockSite = false;
    bool m_useDockManager = false;
    std::unique_ptr<TDockTree> m_dockManager;
    TKeyEvent m_onKeyDown;
    TKeyPressEvent m_onKeyPress;
    TKeyEvent m_onKeyUp;
    TNotifyEvent m_onEnter;
    TNotifyEvent m_onExit;
};

// A canvas over a control's pixels: the control's own window, or the part of its parent's
// window the graphic control covers.
class TControlCanvas : public TCanvas {
public:
    explicit TControlCanvas(TControl* control) : m_control(control) {}
    ~TControlCanvas() override;
    // Releases a DC the canvas made for itself.
    void FreeHandle();
    void UpdateTextFlags() {}
    [[nodiscard]] TControl* Control() const { return m_control; }

protected:
    void CreateHandle() override;

private:
    TControl* m_control;
    HWND m_window = nullptr;
    HDC m_dc = nullptr;
};

// A control without a window that paints itself on its parent's.
class TGraphicControl : public TControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;
    [[nodiscard]] TCanvas* Canvas() const { return m_canvas.get(); }

protected:
    virtual void Paint() {}
    void Dispatch(TMessage& message) override;

private:
    std::unique_ptr<TControlCanvas> m_canvas;
};

// A windowed control that paints itself: WM_PAINT hands Paint a canvas on the paint DC.
class TCustomControl : public TWinControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;
    [[nodiscard]] TCanvas* Canvas() const { return m_canvas.get(); }

protected:
    virtual void Paint() {}
    void PaintWindow(HDC dc) override;
    // A DC the canvas took for drawing outside WM_PAINT dies with the window.
    void DestroyWnd() override;

private:
    std::unique_ptr<TControlCanvas> m_canvas;
};

// Paints, into `dc` (the control's own surface, origin at its top-left corner), what its parent
// shows behind it: the parent's background and its own painting. Transparent controls call it
// before painting themselves.
void DrawParentBackground(TControl* control, HDC dc);

// The window property under which every control window keeps its control, so that any handle
// maps back to its object ("ControlOfs" + instance + thread, as the class library named it).
[[nodiscard]] const std::string& ControlAtomName();

// The form a control sits on (its top-most parent that is a form), or null.
[[nodiscard]] TCustomForm* GetParentForm(const TControl* control);
// The non-null form, or EInvalidOperation "Control '%s' has no parent form".
[[nodiscard]] TCustomForm* ValidParentForm(const TControl* control);
