#include "platform/classlib/forms/Controls.h"

#include "platform/classlib/forms/ControlsDock.h"
#include "platform/classlib/forms/ControlsInternals.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/rtl/Format.h"

#include <cctype>
#include <utility>
#include <vector>

namespace detail = classlib_forms::detail;

namespace {

void DescribeControl(TClassBuilder& c)
{
    c.Integer("Left", &TControl::Left, &TControl::SetLeft);
    c.Integer("Top", &TControl::Top, &TControl::SetTop);
    c.Integer("Width", &TControl::Width, &TControl::SetWidth);
    c.Integer("Height", &TControl::Height, &TControl::SetHeight);
    c.Enum("Align", AlignTypeInfo(), &TControl::Align, &TControl::SetAlign).Default(alNone);
    c.Set("Anchors", AnchorsTypeInfo(), &TControl::Anchors, &TControl::SetAnchors).Default(TAnchors{akLeft, akTop});
    c.Boolean("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true);
    c.Ordinal("Color", ColorTypeInfo(), &TControl::Color, &TControl::SetColor)
        .Default(clWindow)
        .StoredWhen(&TControl::IsColorStored);
    c.Boolean("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(true);
    c.Object("Font", &TControl::Font, &TControl::SetFont).StoredWhen(&TControl::IsFontStored);
    c.Boolean("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true);
    c.String("Hint", &TControl::Hint, &TControl::SetHint);
    c.Boolean("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
        .Default(false)
        .StoredWhen(&TControl::IsShowHintStored);
    c.Boolean("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(true);
    c.Object("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
    c.Boolean("Visible", &TControl::Visible, &TControl::SetVisible).Default(true);
    c.Enum("DragKind", DragKindTypeInfo(), &TControl::DragKind, &TControl::SetDragKind).Default(dkDrag);
    c.Enum("DragMode", DragModeTypeInfo(), &TControl::DragMode, &TControl::SetDragMode).Default(dmManual);
    c.Event("OnClick", &TControl::OnClick, &TControl::SetOnClick);
    c.Event("OnDblClick", &TControl::OnDblClick, &TControl::SetOnDblClick);
    c.Event("OnMouseDown", &TControl::OnMouseDown, &TControl::SetOnMouseDown);
    c.Event("OnMouseMove", &TControl::OnMouseMove, &TControl::SetOnMouseMove);
    c.Event("OnMouseUp", &TControl::OnMouseUp, &TControl::SetOnMouseUp);
    c.Event("OnContextPopup", &TControl::OnContextPopup, &TControl::SetOnContextPopup);
}

bool IsMouseButtonMessage(UINT msg)
{
    switch (msg) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
        return true;
    default:
        return false;
    }
}

// Controls released and not yet freed, and the hidden window of the thread whose posted
// CM_RELEASE frees them. A control freed some other way in between is passed over.
class TReleaseQueue {
public:
    static TReleaseQueue& OfThisThread()
    {
        thread_local TReleaseQueue queue;
        return queue;
    }

    void Add(TControl& control)
    {
        m_pending.push_back({TControlLife(control), &control});
        if (!IsWindow(m_window))
            m_window = AllocateHWnd([this](TMessage& message) { Receive(message); });
        (void)PostMessageA(m_window, CM_RELEASE, 0, 0);
    }

private:
    struct TPending {
        TControlLife life;
        TControl* control;
    };

    void Receive(const TMessage& message)
    {
        if (message.Msg != CM_RELEASE)
            return;
        // Freeing one control may free others of the list, or release more.
        for (const TPending& pending : std::exchange(m_pending, {}))
            if (pending.life.Stands())
                delete pending.control;
    }

    std::vector<TPending> m_pending;
    HWND m_window = nullptr;
};

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TControl, TComponent, nullptr, DescribeControl)

namespace classlib_forms::detail {

TControl*& CaptureControl()
{
    static TControl* control = nullptr;
    return control;
}

TControl*& MouseControl()
{
    static TControl* control = nullptr;
    return control;
}

} // namespace classlib_forms::detail

using detail::CaptureControl;
using detail::MouseControl;

const TTypeInfo& AlignTypeInfo()
{
    static const TTypeInfo info =
        EnumerationTypeInfo("TAlign", {"alNone", "alTop", "alBottom", "alLeft", "alRight", "alClient", "alCustom"});
    return info;
}

const TTypeInfo& AnchorsTypeInfo()
{
    static const TTypeInfo kind = EnumerationTypeInfo("TAnchorKind", {"akLeft", "akTop", "akRight", "akBottom"});
    static const TTypeInfo info = SetTypeInfo("TAnchors", kind);
    return info;
}

const TTypeInfo& DragKindTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TDragKind", {"dkDrag", "dkDock"});
    return info;
}

const TTypeInfo& DragModeTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TDragMode", {"dmManual", "dmAutomatic"});
    return info;
}

TShiftState KeyDataToShiftState(LPARAM keyData)
{
    TShiftState shift;
    if (GetKeyState(VK_SHIFT) < 0)
        shift.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0)
        shift.Include(ssCtrl);
    if ((keyData & KEYDATA_ALTDOWN) != 0)
        shift.Include(ssAlt);
    return shift;
}

TShiftState KeysToShiftState(WPARAM keys)
{
    TShiftState shift;
    if ((keys & MK_SHIFT) != 0)
        shift.Include(ssShift);
    if ((keys & MK_CONTROL) != 0)
        shift.Include(ssCtrl);
    if ((keys & MK_LBUTTON) != 0)
        shift.Include(ssLeft);
    if ((keys & MK_RBUTTON) != 0)
        shift.Include(ssRight);
    if ((keys & MK_MBUTTON) != 0)
        shift.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0)
        shift.Include(ssAlt);
    return shift;
}

bool IsAccel(WORD key, const std::string& caption)
{
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&')
            continue;
        if (caption[i + 1] == '&') {
            ++i;
            continue;
        }
        return std::toupper(static_cast<unsigned char>(caption[i + 1])) == std::toupper(key & 0xFF);
    }
    return false;
}

TCustomForm* GetParentForm(const TControl* control)
{
    const TControl* top = control;
    while (top && top->Parent())
        top = top->Parent();
    return dynamic_cast<TCustomForm*>(const_cast<TControl*>(top));
}

TCustomForm* ValidParentForm(const TControl* control)
{
    TCustomForm* form = GetParentForm(control);
    if (!form)
        throw EInvalidOperation(Format("Control '%s' has no parent form", {control->Name()}));
    return form;
}

// ---- TControl ----------------------------------------------------------------------------------

TControlLife::TControlLife(const TControl& control) : m_token(control.m_life) {}

void TControl::Release() { TReleaseQueue::OfThisThread().Add(*this); }

TControl::TControl(TComponent* owner) : TComponent(owner), m_font(std::make_unique<TFont>())
{
    m_font->SetOnChange(TNotifyEvent(this, &TControl::FontChanged));
    m_windowProc = [this](TMessage& message) { WndProc(message); };
}

TControl::~TControl()
{
    if (CaptureControl() == this)
        CaptureControl() = nullptr;
    if (MouseControl() == this)
        MouseControl() = nullptr;
    SetParent(nullptr);
}

void TControl::SetParent(TWinControl* parent)
{
    if (parent == m_parent)
        return;
    if (parent == this)
        throw EInvalidOperation("A control cannot have itself as its parent");
    if (m_parent)
        m_parent->RemoveControl(this);
    if (parent)
        parent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const { return m_parent; }

void TControl::SetParentComponent(TComponent* parent)
{
    if (auto* control = dynamic_cast<TWinControl*>(parent))
        SetParent(control);
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    if (left == m_left && top == m_top && width == m_width && height == m_height)
        return;
    InvalidateControl(m_visible, false);
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    InvalidateControl(m_visible, false);
    RequestAlign();
}

TRect TControl::ClientRect() const { return Rect(0, 0, m_width, m_height); }

int TControl::ClientWidth() const
{
    const TRect rect = ClientRect();
    return rect.right - rect.left;
}

int TControl::ClientHeight() const
{
    const TRect rect = ClientRect();
    return rect.bottom - rect.top;
}

void TControl::SetClientWidth(int width) { SetWidth(m_width - ClientWidth() + width); }

void TControl::SetClientHeight(int height) { SetHeight(m_height - ClientHeight() + height); }

TPoint TControl::ClientOrigin() const
{
    if (!m_parent)
        return Point(m_left, m_top);
    const TPoint origin = m_parent->ClientOrigin();
    return Point(origin.x + m_left, origin.y + m_top);
}

TPoint TControl::ClientToScreen(TPoint point) const
{
    const TPoint origin = ClientOrigin();
    return Point(point.x + origin.x, point.y + origin.y);
}

TPoint TControl::ScreenToClient(TPoint point) const
{
    const TPoint origin = ClientOrigin();
    return Point(point.x - origin.x, point.y - origin.y);
}

void TControl::SetAlign(TAlign align)
{
    if (align == m_align)
        return;
    m_align = align;
    RequestAlign();
}

void TControl::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    if (!visible)
        InvalidateControl(true, false);
    m_visible = visible;
    Perform(CM_VISIBLECHANGED, visible ? 1 : 0);
    RequestAlign();
    NotifyDockSite(CM_VISIBLECHANGED);
}

bool TControl::Showing() const { return m_visible && m_parent && m_parent->Showing(); }

void TControl::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor color)
{
    if (color == m_color)
        return;
    m_color = color;
    m_parentColor = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool parentColor)
{
    if (parentColor == m_parentColor)
        return;
    m_parentColor = parentColor;
    if (parentColor && m_parent && !IsLoading())
        Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetParentFont(bool parentFont)
{
    if (parentFont == m_parentFont)
        return;
    m_parentFont = parentFont;
    if (parentFont && m_parent && !IsLoading())
        Perform(CM_PARENTFONTCHANGED);
}

void TControl::FontChanged(TObject*)
{
    m_parentFont = false;
    Perform(CM_FONTCHANGED);
}

void TControl::SetText(const std::string& text)
{
    if (GetText() == text)
        return;
    StoreText(text);
    Perform(CM_TEXTCHANGED);
    NotifyDockSite(CM_TEXTCHANGED);
}

void TControl::SetShowHint(bool showHint)
{
    m_parentShowHint = false;
    if (showHint == m_showHint)
        return;
    m_showHint = showHint;
    Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool parentShowHint)
{
    if (parentShowHint == m_parentShowHint)
        return;
    m_parentShowHint = parentShowHint;
    if (parentShowHint && m_parent && !IsLoading())
        Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* menu)
{
    if (m_popupMenu)
        m_popupMenu->RemoveFreeNotification(this);
    m_popupMenu = menu;
    if (m_popupMenu)
        m_popupMenu->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == m_popupMenu)
        m_popupMenu = nullptr;
}

void TControl::Loaded()
{
    TComponent::Loaded();
    if (!m_parent)
        return;
    if (m_parentColor)
        Perform(CM_PARENTCOLORCHANGED);
    if (m_parentFont)
        Perform(CM_PARENTFONTCHANGED);
    if (m_parentShowHint)
        Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::InvalidateControl(bool isVisible, bool)
{
    if (!isVisible || !m_parent || !m_parent->HandleAllocated())
        return;
    const TRect rect = BoundsRect();
    (void)InvalidateRect(m_parent->Handle(), &rect, TRUE);
}

void TControl::Invalidate() { InvalidateControl(m_visible, m_controlStyle.Contains(csOpaque)); }

void TControl::Repaint()
{
    if (!m_visible || !m_parent || !m_parent->HandleAllocated())
        return;
    Invalidate();
    m_parent->Update();
}

void TControl::Update()
{
    if (m_parent)
        m_parent->Update();
}

void TControl::BringToFront()
{
    if (!m_parent)
        return;
    auto& siblings = m_parent->m_controls;
    std::erase(siblings, this);
    siblings.push_back(this);
    PlaceInZOrder();
    Invalidate();
}

void TControl::RequestAlign()
{
    if (m_parent)
        m_parent->AlignControls(this);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam)
{
    TMessage message{msg, wParam, lParam, 0};
    const TWndMethod method = m_windowProc;
    method(message);
    return message.Result;
}

void TControl::WndProc(TMessage& message)
{
    if (message.Msg == WM_MOUSEMOVE && m_parent && !Outlives([this] { detail::TrackMouseControl(this); }))
        return;
    Dispatch(message);
}

void TControl::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CM_PARENTCOLORCHANGED:
        if (m_parentColor && m_parent) {
            SetColor(m_parent->Color());
            m_parentColor = true;
        }
        return;
    case CM_PARENTFONTCHANGED:
        if (m_parentFont && m_parent) {
            m_font->Assign(m_parent->Font());
            m_parentFont = true;
        }
        return;
    case CM_PARENTSHOWHINTCHANGED:
        if (m_parentShowHint && m_parent) {
            SetShowHint(m_parent->ShowHint());
            m_parentShowHint = true;
        }
        return;
    case WM_CONTEXTMENU:
        ContextMenu(message);
        return;
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED:
        Invalidate();
        return;
    case CM_VISIBLECHANGED:
        if (m_visible)
            Invalidate();
        return;
    case WM_CANCELMODE:
    case CM_CANCELMODE:
        if (CaptureControl() == this) {
            CaptureControl() = nullptr;
            (void)ReleaseCapture();
        }
        m_controlState.Exclude(csLButtonDown).Exclude(csClicked);
        return;
    default:
        break;
    }
    if (message.Msg == WM_MOUSEMOVE || IsMouseButtonMessage(message.Msg)) {
        DispatchMouse(message);
        return;
    }
    DefaultHandler(message);
}

void TControl::DefaultHandler(TMessage& message)
{
    if (message.Msg == WM_GETTEXT && message.LParam != 0 && message.WParam > 0) {
        const std::string text = GetText();
        const std::size_t count = std::min<std::size_t>(text.size(), message.WParam - 1);
        text.copy(reinterpret_cast<char*>(message.LParam), count);
        reinterpret_cast<char*>(message.LParam)[count] = '\0';
        message.Result = static_cast<LRESULT>(count);
    } else if (message.Msg == WM_GETTEXTLENGTH) {
        message.Result = static_cast<LRESULT>(GetText().size());
    } else if (message.Msg == WM_SETTEXT) {
        StoreText(message.LParam ? reinterpret_cast<const char*>(message.LParam) : "");
        message.Result = 1;
    }
}

void TControl::DispatchMouse(TMessage& message)
{
    if (Outlives([&] { FireMouseEvents(message); }))
        DefaultHandler(message);
}

void TControl::FireMouseEvents(TMessage& message)
{
    const POINT point = MessagePoint(message);
    const TShiftState shift = KeysToShiftState(message.WParam);
    switch (message.Msg) {
    case WM_MOUSEMOVE:
        detail::TrackDockDrag(ClientToScreen(point));
        MouseMove(shift, point.x, point.y);
        break;
    case WM_LBUTTONDOWN:
        HandleButtonDown(message, mbLeft);
        break;
    case WM_RBUTTONDOWN:
        HandleButtonDown(message, mbRight);
        break;
    case WM_MBUTTONDOWN:
        HandleButtonDown(message, mbMiddle);
        break;
    case WM_LBUTTONDBLCLK:
        if (!m_controlStyle.Contains(csDoubleClicks))
            HandleButtonDown(message, mbLeft);
        else if (Outlives([this] { DblClick(); }))
            MouseDown(mbLeft, shift + TShiftState{ssDouble}, point.x, point.y);
        break;
    case WM_RBUTTONDBLCLK:
        MouseDown(mbRight, shift + TShiftState{ssDouble}, point.x, point.y);
        break;
    case WM_MBUTTONDBLCLK:
        MouseDown(mbMiddle, shift + TShiftState{ssDouble}, point.x, point.y);
        break;
    case WM_LBUTTONUP:
        HandleButtonUp(message, mbLeft);
        break;
    case WM_RBUTTONUP:
        HandleButtonUp(message, mbRight);
        break;
    case WM_MBUTTONUP:
        HandleButtonUp(message, mbMiddle);
        break;
    default:
        break;
    }
}

void TControl::HandleButtonDown(TMessage& message, TMouseButton button)
{
    const POINT point = MessagePoint(message);
    if (button == mbLeft) {
        if (m_controlStyle.Contains(csCaptureMouse))
            detail::SetMouseCapture(this, true);
        if (m_controlStyle.Contains(csClickEvents))
            m_controlState.Include(csClicked);
        m_controlState.Include(csLButtonDown);
        detail::PressForDockDrag(*this, point);
    }
    MouseDown(button, KeysToShiftState(message.WParam), point.x, point.y);
}

void TControl::HandleButtonUp(TMessage& message, TMouseButton button)
{
    const POINT point = MessagePoint(message);
    if (button == mbLeft) {
        if (m_controlStyle.Contains(csCaptureMouse))
            detail::SetMouseCapture(this, false);
        m_controlState.Exclude(csLButtonDown);
        if (detail::EndDockDrag(ClientToScreen(point)))
            m_controlState.Exclude(csClicked);
        if (m_controlState.Contains(csClicked)) {
            m_controlState.Exclude(csClicked);
            const TRect client = ClientRect();
            if (PtInRect(&client, point) && !Outlives([this] { Click(); }))
                return;
        }
    }
    if (!Outlives([&] { MouseUp(button, KeysToShiftState(message.WParam), point.x, point.y); }))
        return;
    // This window system's default procedure sends no WM_CONTEXTMENU; the control asks itself.
    if (button == mbRight) {
        const TPoint screen = ClientToScreen(point);
        Perform(WM_CONTEXTMENU, 0, MAKELPARAM(static_cast<WORD>(screen.x), static_cast<WORD>(screen.y)));
    }
}

void TControl::ContextMenu(TMessage& message)
{
    if (message.Result != 0)
        return;
    TPoint screen{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
    const bool fromKeyboard = screen.x == -1 && screen.y == -1;
    const TPoint client = fromKeyboard ? screen : ScreenToClient(screen);
    const TRect area = ClientRect();
    if (fromKeyboard || PtInRect(&area, client)) {
        bool handled = false;
        if (!Outlives([&] { m_onContextPopup(this, client, handled); })) {
            message.Result = 1;
            return;
        }
        if (handled) {
            message.Result = 1;
            return;
        }
        if (m_popupMenu && m_popupMenu->AutoPopup()) {
            if (fromKeyboard)
                screen = ClientToScreen(TPoint{0, 0});
            m_popupMenu->SetPopupComponent(this);
            m_popupMenu->Popup(screen.x, screen.y);
            message.Result = 1;
            return;
        }
    }
    if (m_parent)
        message.Result = m_parent->Perform(WM_CONTEXTMENU, message.WParam, message.LParam);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) { m_onMouseDown(this, button, shift, x, y); }

void TControl::MouseMove(TShiftState shift, int x, int y) { m_onMouseMove(this, shift, x, y); }

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) { m_onMouseUp(this, button, shift, x, y); }

void TControl::Click() { m_onClick(this); }

void TControl::DblClick() { m_onDblClick(this); }

void TControl::ManualDock(TWinControl* site, TPoint dropPoint)
{
    TWinControl* oldSite = m_hostDockSite;
    if (oldSite)
        oldSite->UndockClient(*this);
    m_hostDockSite = site;
    if (site)
        site->DockDrop(*this, dropPoint);
    else
        SetParent(nullptr);
    if (oldSite && oldSite != site)
        oldSite->ClientUndocked(*this);
}

void TControl::BeginDrag(bool immediate)
{
    POINT cursor{};
    (void)GetCursorPos(&cursor);
    detail::StartDockDrag(*this, TPoint{cursor.x, cursor.y}, immediate);
}

// A docked control tells its site what a tab or caption showing it must follow.
void TControl::NotifyDockSite(UINT change)
{
    if (m_hostDockSite)
        m_hostDockSite->Perform(CM_DOCKNOTIFICATION, reinterpret_cast<WPARAM>(this), static_cast<LPARAM>(change));
}
