#pragma once

#include "platform/classlib/core/AllocateHWnd.h"
#include "platform/classlib/core/Colors.h"
#include "platform/classlib/core/Components.h"
#include "skin/SkinControl.h"

#include <functional>
#include <memory>

#include <string>

class TSkinData;

// The common ground of the control skinners: it hooks one control (through the control's
// WindowProc) or one bare window (through its window procedure), lets the skinner act before and
// after the control's own handling, and paints the whole window from the skin.
//
// A control hook sits on the control object, so it follows the control through a recreated or
// re-parented window. When the control is freed (or a bare window destroyed) the hook is dropped at
// once and the skinner only waits to be freed by its form skinner, holding no pointer to what it
// skinned any more.
class TSkinHook : public TSkinControl {
public:
    // MouseState bits kept by the push-button family.
    enum : int { MouseHot = 1, MousePressed = 2 };
    // State values.
    enum TState : int { NotAttached = 0, Attached = 1, Detached = 2, WindowDestroyed = 6 };

    TSkinHook() = default;
    ~TSkinHook() override;

    // `boxFlag` 1 makes the control take the skin's face colour while it is skinned.
    void AttachControl(TWinSkinForm& form, TControl& control, int boxFlag) override;
    void AttachWindow(TWinSkinForm& form, HWND window) override;
    void Detach() override;
    void SkinChanged() override;
    [[nodiscard]] bool IsDead() const override { return m_state == WindowDestroyed; }
    [[nodiscard]] HWND Handle() const override;
    [[nodiscard]] TControl* Control() const override { return m_control; }

    [[nodiscard]] TState State() const { return m_state; }
    [[nodiscard]] bool Active() const { return m_active; }
    [[nodiscard]] int MouseState() const { return m_mouseState; }
    // The window's screen rectangle at the last paint.
    [[nodiscard]] RECT WindowRect() const { return m_windowRect; }

    // Invalidates the window and paints it at once.
    void Repaint();
    // Paints the whole window rectangle into `dc`, or into the window's own DC when null.
    void DrawWindow(HDC dc);

protected:
    // Runs before the control's own handling; false when the message is handled here.
    virtual bool BeforeMessage(TMessage& message);
    // Runs after the control's own handling.
    virtual void AfterMessage(TMessage& message);
    // Paints the skin over `rect` (the window at origin 0, 0).
    virtual void PaintSkin(HDC /*dc*/, const RECT& /*rect*/) {}
    // A control attach has been done; descendants read what they need of the control.
    virtual void ControlAttached() {}
    // The control was freed or the bare window destroyed; descendants put away what they showed
    // beside it.
    virtual void TargetLost() {}
    // False for a passive skinner: it only gives its control the skin's colour while attached and
    // takes no messages; its state stays NotAttached until a detach makes it Detached.
    [[nodiscard]] virtual bool HooksMessages() const { return true; }
    // True for a skinner of controls without a window (speed buttons): they are painted through
    // their parent's paint, which hands them its DC with the origin on the control.
    [[nodiscard]] virtual bool SkinsWindowlessControls() const { return false; }
    // A skinned control without a window of its own.
    [[nodiscard]] bool Windowless() const;

    void CallOldProc(TMessage& message);
    // Runs the control's own mouse-down handling (its MouseDown, and so its OnMouseDown) for a
    // left button-down message the skinner keeps from the control.
    void ForwardMouseDown(const TMessage& message);
    // WM_PAINT answered by painting the skin (the control's own painting does not run).
    void HandlePaint(TMessage& message);
    // WM_ERASEBKGND answered with the parent's picture (or colour) under the control.
    void HandleEraseBackground(TMessage& message);
    void FillFace(HDC dc, const RECT& rect) const;
    // Fills with the parent's colour (the skin's face colour when the parent has none).
    void FillParentColor(HDC dc, const RECT& rect) const;
    // The skin's face colour (the system's without a skin).
    [[nodiscard]] TColor FaceColour() const;
    // Recomputes Enabled and Focused from the window.
    void ReadWindowState();
    // The caption: the control's, or the window text.
    [[nodiscard]] std::string CaptionText() const;
    // DT_RTLREADING added when the control reads right to left.
    [[nodiscard]] UINT BiDiTextFlags(UINT flags) const;
    // Whether the skin is drawn with the parent's picture behind (Tag 5555 or xoTransparent).
    [[nodiscard]] bool TransparentBackground() const;

    TWinSkinForm* m_form = nullptr;
    TSkinData* m_data = nullptr;
    TControl* m_control = nullptr;
    HWND m_handle = nullptr;
    int m_mouseState = 0;
    bool m_enabled = false;
    bool m_focused = false;
    int m_mode = 0;

private:
    // The subclass of a bare window; its data is the skinner.
    static LRESULT WindowHookProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR hook);
    void WndProc(TMessage& message);
    void Unhook();
    void SwitchParentBackground(bool on);
    // The skinned control or window is gone.
    void Lost();

    // Tells the skinner when its control is freed.
    class TWatch : public TComponent {
    public:
        explicit TWatch(std::function<void()> freed) : TComponent(nullptr), m_freed(std::move(freed)) {}

    protected:
        void Notification(TComponent* component, TOperation operation) override;

    private:
        std::function<void()> m_freed;
    };
    std::unique_ptr<TWatch> m_watch;

    TWndMethod m_oldWindowProc;
    bool m_windowHooked = false;
    bool m_active = true;
    bool m_attached = false;
    TState m_state = NotAttached;
    bool m_takeColour = false;
    TColor m_savedColor = 0;
    bool m_parentBackgroundSwitched = false;
    RECT m_windowRect{};
};
