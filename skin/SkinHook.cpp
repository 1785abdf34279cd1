#include "skin/SkinHook.h"

#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/ControlsMessages.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/gdi/WinGdi.h"
#include "skin/SkinData.h"
#include "skin/SkinDraw.h"
#include "skin/SkinPaint.h"
#include "skin/SkinTypes.h"
#include "skin/WinSkinForm.h"

void TSkinHook::TWatch::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == opRemove)
        m_freed();
}

namespace {

// The control's protected MouseDown, reached as a member of TControl: it runs as the control's own.
class TMouseDownAccess : public TControl {
public:
    static constexpr auto Member = &TMouseDownAccess::MouseDown;
};

// Coordinates beyond a 16-bit half do not fit a mouse message.
constexpr int MessageCoordinateLimit = 32768;

} // namespace

TSkinHook::~TSkinHook()
{
    Unhook();
    if (m_control && m_watch)
        m_control->RemoveFreeNotification(m_watch.get());
    if (m_form && m_form->HoveredSkinner() == this)
        m_form->SetHoveredSkinner(nullptr);
}

void TSkinHook::Unhook()
{
    if (m_control && m_oldWindowProc) {
        m_control->SetWindowProc(m_oldWindowProc);
        m_oldWindowProc = nullptr;
    }
    if (m_windowHooked) {
        (void)RemoveWindowSubclass(m_handle, &TSkinHook::WindowHookProc, 0);
        m_windowHooked = false;
    }
}

void TSkinHook::AttachControl(TWinSkinForm& form, TControl& control, int boxFlag)
{
    auto* windowed = dynamic_cast<TWinControl*>(&control);
    if (m_attached || (!windowed && !SkinsWindowlessControls()))
        return;
    m_takeColour = boxFlag != 0;
    m_data = form.SkinData();
    m_form = &form;
    m_control = &control;
    m_handle = windowed ? windowed->Handle() : nullptr;
    m_watch = std::make_unique<TWatch>([this] { Lost(); });
    control.FreeNotification(m_watch.get());
    if (HooksMessages()) {
        m_oldWindowProc = control.WindowProc();
        control.SetWindowProc([this](TMessage& message) { WndProc(message); });
    }
    if (m_takeColour && m_data) {
        SwitchParentBackground(false);
        m_savedColor = control.Color();
        control.SetColor(m_data->Elements().Colours().ButtonFace);
        if (m_parentBackgroundSwitched)
            m_mode = 1;
    }
    ControlAttached();
    m_attached = true;
    if (!HooksMessages())
        return;
    control.Invalidate();
    m_state = TState::Attached;
}

void TSkinHook::AttachWindow(TWinSkinForm& form, HWND window)
{
    if (m_attached || !IsWindow(window) || GetWindowSubclass(window, &TSkinHook::WindowHookProc, 0, nullptr))
        return;
    m_data = form.SkinData();
    m_form = &form;
    m_handle = window;
    m_enabled = true;
    m_mode = 0;
    (void)SetWindowSubclass(window, &TSkinHook::WindowHookProc, 0, reinterpret_cast<DWORD_PTR>(this));
    m_windowHooked = true;
    (void)InvalidateRect(window, nullptr, TRUE);
    m_attached = true;
    m_state = TState::Attached;
}

void TSkinHook::Detach()
{
    if (m_takeColour && m_control) {
        SwitchParentBackground(true);
        m_control->SetColor(m_savedColor);
    }
    if (!HooksMessages() && m_state != WindowDestroyed)
        m_state = Detached;
}

void TSkinHook::SkinChanged()
{
    if (m_takeColour && m_control && m_data)
        m_control->SetColor(m_data->Elements().Colours().ButtonFace);
    Repaint();
}

void TSkinHook::SwitchParentBackground(bool on)
{
    if (!m_control || !m_data || m_data->Options().Contains(xoParentBackGround) ||
        !IsPublishedProp(*m_control, "ParentBackground"))
        return;
    if (on) {
        if (m_parentBackgroundSwitched)
            SetEnumProp(*m_control, "ParentBackground", "True");
        return;
    }
    std::string value = GetEnumProp(*m_control, "ParentBackground");
    for (char& c : value)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    m_parentBackgroundSwitched = value == "true";
    if (m_parentBackgroundSwitched)
        SetEnumProp(*m_control, "ParentBackground", "False");
}

LRESULT TSkinHook::WindowHookProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR hook)
{
    TMessage message{msg, wParam, lParam, 0};
    reinterpret_cast<TSkinHook*>(hook)->WndProc(message);
    return message.Result;
}

HWND TSkinHook::Handle() const
{
    if (auto* windowed = dynamic_cast<TWinControl*>(m_control))
        return windowed->HandleAllocated() ? windowed->Handle() : nullptr;
    return m_handle;
}

void TSkinHook::ForwardMouseDown(const TMessage& message)
{
    if (!m_control)
        return;
    TPoint at{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
    if (m_control->Width() > MessageCoordinateLimit || m_control->Height() > MessageCoordinateLimit) {
        POINT cursor{};
        (void)GetCursorPos(&cursor);
        at = m_control->ScreenToClient(TPoint{cursor.x, cursor.y});
    }
    (m_control->*TMouseDownAccess::Member)(mbLeft, KeysToShiftState(message.WParam), at.x, at.y);
}

void TSkinHook::Lost()
{
    TargetLost();
    m_active = false;
    m_state = WindowDestroyed;
    // A freed control's WindowProc is gone with it: nothing to give back.
    m_oldWindowProc = nullptr;
    m_control = nullptr;
    m_handle = nullptr;
    if (m_form)
        m_form->SkinnerLost();
}

void TSkinHook::WndProc(TMessage& message)
{
    m_handle = Handle();
    if (message.Msg == WM_SKIN_ENABLE) {
        m_active = message.WParam > 0;
        if (m_active)
            Repaint();
        return;
    }
    if (!m_active) {
        CallOldProc(message);
        return;
    }
    if (BeforeMessage(message)) {
        CallOldProc(message);
        AfterMessage(message);
    }
}

void TSkinHook::CallOldProc(TMessage& message)
{
    if (m_oldWindowProc) {
        const TWndMethod old = m_oldWindowProc;
        old(message);
    } else if (m_windowHooked) {
        message.Result = DefSubclassProc(m_handle, message.Msg, message.WParam, message.LParam);
    }
}

bool TSkinHook::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCDESTROY:
        CallOldProc(message);
        if (m_control)
            return false; // the control makes a new window; the hook stays on the control
        m_state = WindowDestroyed;
        Unhook();
        Lost();
        return false;
    case WM_SKIN_QUERYSKINNED:
        message.Result = 1;
        return false;
    default:
        return true;
    }
}

void TSkinHook::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED:
        Repaint();
        break;
    case WM_PAINT:
        DrawWindow(reinterpret_cast<HDC>(message.WParam));
        break;
    default:
        break;
    }
}

bool TSkinHook::Windowless() const
{
    return m_control && !dynamic_cast<TWinControl*>(m_control);
}

void TSkinHook::Repaint()
{
    if (Windowless()) {
        // Painted at once through the parent, which clips it and puts the origin on it.
        m_control->Invalidate();
        if (TWinControl* parent = m_control->Parent(); parent && parent->HandleAllocated())
            (void)UpdateWindow(parent->Handle());
        return;
    }
    m_handle = Handle();
    if (!m_handle)
        return;
    (void)InvalidateRect(m_handle, nullptr, TRUE);
    (void)UpdateWindow(m_handle);
}

void TSkinHook::DrawWindow(HDC dc)
{
    if (Windowless()) {
        if (!dc) {
            Repaint();
            return;
        }
        PaintSkin(dc, RECT{0, 0, m_control->Width(), m_control->Height()});
        return;
    }
    m_handle = Handle();
    RECT rect{};
    if (!m_handle || !GetWindowRect(m_handle, &rect))
        return;
    m_windowRect = rect;
    OffsetRect(&rect, -rect.left, -rect.top);
    const HDC target = dc ? dc : GetWindowDC(m_handle);
    try {
        PaintSkin(target, rect);
    } catch (const std::exception&) {
        // The window keeps its previous picture.
    }
    if (!dc)
        (void)ReleaseDC(m_handle, target);
}

void TSkinHook::HandlePaint(TMessage& message)
{
    PAINTSTRUCT paint{};
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    const bool began = dc == nullptr;
    if (began)
        dc = BeginPaint(m_handle, &paint);
    RECT rect{};
    if (GetWindowRect(m_handle, &rect)) {
        m_windowRect = rect;
        OffsetRect(&rect, -rect.left, -rect.top);
        PaintSkin(dc, rect);
    }
    if (began)
        (void)EndPaint(m_handle, &paint);
}

void TSkinHook::HandleEraseBackground(TMessage& message)
{
    const HDC dc = reinterpret_cast<HDC>(message.WParam);
    if (m_control) {
        PaintControlBackground(m_control, dc);
    } else {
        RECT client{};
        (void)GetClientRect(m_handle, &client);
        FillFace(dc, client);
    }
    message.Result = 1;
}

void TSkinHook::FillFace(HDC dc, const RECT& rect) const
{
    FillRectColor(dc, rect, FaceColour());
}

void TSkinHook::FillParentColor(HDC dc, const RECT& rect) const
{
    FillRectColor(dc, rect, ParentColor(m_control, FaceColour()));
}

TColor TSkinHook::FaceColour() const
{
    return m_data ? m_data->Elements().Colours().ButtonFace : clBtnFace;
}

void TSkinHook::ReadWindowState()
{
    m_focused = m_handle && GetFocus() == m_handle;
    m_enabled = m_handle && (GetWindowLongA(m_handle, GWL_STYLE) & WS_DISABLED) == 0;
}

std::string TSkinHook::CaptionText() const
{
    if (m_control)
        return m_control->Caption();
    return m_handle ? WindowText(m_handle) : std::string();
}

UINT TSkinHook::BiDiTextFlags(UINT flags) const
{
    if (m_control && IsPublishedProp(*m_control, "BiDiMode") && GetEnumProp(*m_control, "BiDiMode") == "bdRightToLeft")
        flags |= DT_RTLREADING;
    return flags;
}

bool TSkinHook::TransparentBackground() const
{
    return (m_control && m_control->Tag() == ParentBackgroundTag) ||
           (m_data && m_data->Options().Contains(xoTransparent));
}
