#include "platform/classlib/forms/Controls.h"

#include "platform/classlib/forms/ControlsDock.h"
#include "platform/classlib/forms/ControlsInternals.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/rtl/Format.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/kernel/Threads.h"

#include <algorithm>
#include <cstdio>

namespace detail = classlib_forms::detail;

namespace {

void DescribeWinControl(TClassBuilder& c)
{
    c.Boolean("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false);
    c.Integer("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder);
    c.Event("OnEnter", &TWinControl::OnEnter, &TWinControl::SetOnEnter);
    c.Event("OnExit", &TWinControl::OnExit, &TWinControl::SetOnExit);
    c.Event("OnKeyDown", &TWinControl::OnKeyDown, &TWinControl::SetOnKeyDown);
    c.Event("OnKeyPress", &TWinControl::OnKeyPress, &TWinControl::SetOnKeyPress);
    c.Event("OnKeyUp", &TWinControl::OnKeyUp, &TWinControl::SetOnKeyUp);
}

// The control whose window is being made: its first messages arrive before CreateWindowEx
// returns the handle.
thread_local TWinControl* t_creationControl = nullptr;

bool RegisterControlClass(const TCreateParams& params)
{
    WNDCLASSA existing{};
    if (GetClassInfoA(nullptr, params.WinClassName.c_str(), &existing))
        return existing.lpfnWndProc == &ControlWindowProc;
    WNDCLASSA windowClass = params.WindowClass;
    windowClass.lpfnWndProc = &ControlWindowProc;
    windowClass.lpszClassName = params.WinClassName.c_str();
    return RegisterClassA(&windowClass) != 0;
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TWinControl, TControl, nullptr, DescribeWinControl)

const std::string& ControlAtomName()
{
    // Never destroyed: controls freed at program exit (with Application) still look it up.
    static const std::string& name = *new std::string([] {
        char text[40];
        std::snprintf(text, sizeof text, "ControlOfs%.8X%.8X", 0x00400000u, static_cast<unsigned>(GetCurrentThreadId()));
        return std::string(text);
    }());
    return name;
}

LRESULT ControlWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    TWinControl* control = TWinControl::FindControl(window);
    if (!control && t_creationControl) {
        control = t_creationControl;
        t_creationControl = nullptr;
        control->m_handle = window;
        (void)SetPropA(window, ControlAtomName().c_str(), reinterpret_cast<HANDLE>(control));
    }
    if (!control)
        return DefWindowProcA(window, msg, wParam, lParam);
    TMessage message{msg, wParam, lParam, 0};
    try {
        const TWndMethod method = control->WindowProc();
        method(message);
    } catch (...) {
        Application->HandleException(control);
    }
    if (msg == WM_NCDESTROY) {
        (void)RemovePropA(window, ControlAtomName().c_str());
        if (control->m_handle == window)
            control->m_handle = nullptr;
    }
    return message.Result;
}

TWinControl* TWinControl::FindControl(HWND window)
{
    if (!window)
        return nullptr;
    return static_cast<TWinControl*>(GetPropA(window, ControlAtomName().c_str()));
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl()
{
    if (TCustomForm* form = GetParentForm(this); form && form != this)
        form->DefocusControl(this, true);
    SetParent(nullptr);
    DestroyHandle();
    while (!m_controls.empty()) {
        TControl* child = m_controls.back();
        RemoveControl(child);
        delete child;
    }
}

// ---- The window ---------------------------------------------------------------------------------

HWND TWinControl::Handle()
{
    if (!m_handle)
        CreateHandle();
    return m_handle;
}

void TWinControl::CreateHandle()
{
    // Making the parent's window makes this one too, as one of its children.
    if (!m_handle && Parent())
        Parent()->HandleNeeded();
    if (m_handle)
        return;
    CreateWnd();
    PlaceInZOrder();
    m_lastClient = SIZE{ClientWidth(), ClientHeight()};
    for (TControl* child : m_controls)
        if (auto* windowed = dynamic_cast<TWinControl*>(child))
            windowed->CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& params)
{
    params.Caption = m_text;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (ControlStyle().Contains(csAcceptsControls))
        params.Style |= WS_CLIPCHILDREN;
    if (Visible())
        params.Style |= WS_VISIBLE;
    if (!Enabled())
        params.Style |= WS_DISABLED;
    if (m_tabStop)
        params.Style |= WS_TABSTOP;
    params.X = Left();
    params.Y = Top();
    params.Width = Width();
    params.Height = Height();
    params.WndParent = Parent() ? Parent()->Handle() : m_parentWindow;
    params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    params.WindowClass.lpfnWndProc = &DefWindowProcA;
    params.WindowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    params.WinClassName = ClassName();
}

void TWinControl::CreateSubClass(TCreateParams& params, const char* builtinClass)
{
    WNDCLASSA builtin{};
    if (!GetClassInfoA(nullptr, builtinClass, &builtin))
        throw EInvalidOperation(Format("Window class %s is not registered", {std::string(builtinClass)}));
    params.WindowClass = builtin;
    params.WindowClass.style &= ~static_cast<UINT>(CS_GLOBALCLASS);
}

// Right under the window of the next windowed control of the parent's list, or on top when no
// later one has a window yet; a window already in that place is left alone.
void TWinControl::PlaceInZOrder()
{
    if (!m_handle || !Parent() || !Parent()->HandleAllocated())
        return;
    const auto& siblings = Parent()->m_controls;
    HWND above = HWND_TOP;
    for (auto later = std::find(siblings.begin(), siblings.end(), this); later != siblings.end(); ++later) {
        auto* windowed = *later == this ? nullptr : dynamic_cast<TWinControl*>(*later);
        if (windowed && windowed->HandleAllocated() && GetParent(windowed->m_handle) == GetParent(m_handle)) {
            above = windowed->m_handle;
            break;
        }
    }
    const HWND previous = GetWindow(m_handle, GW_HWNDPREV);
    if (previous == (above == HWND_TOP ? nullptr : above))
        return;
    (void)SetWindowPos(m_handle, above, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::CreateWnd()
{
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) != 0 && !params.WndParent)
        throw EInvalidOperation(Format("Control '%s' has no parent window", {Name()}));
    m_defWndProc = params.WindowClass.lpfnWndProc;
    if (!RegisterControlClass(params))
        throw EInvalidOperation(Format("Cannot register the window class %s", {params.WinClassName}));
    CreateWindowHandle(params);
    if (!m_handle)
        throw EInvalidOperation(Format("Error creating window of %s", {ClassName()}));
}

void TWinControl::CreateWindowHandle(const TCreateParams& params)
{
    t_creationControl = this;
    const HWND window = CreateWindowExA(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(), params.Style,
                                        params.X, params.Y, params.Width, params.Height, params.WndParent, nullptr,
                                        nullptr, nullptr);
    t_creationControl = nullptr;
    if (window && !m_handle) {
        m_handle = window;
        (void)SetPropA(window, ControlAtomName().c_str(), reinterpret_cast<HANDLE>(this));
    }
}

void TWinControl::DestroyHandle()
{
    if (!m_handle)
        return;
    for (TControl* child : m_controls)
        if (auto* windowed = dynamic_cast<TWinControl*>(child))
            windowed->DestroyHandle();
    DestroyWnd();
}

void TWinControl::DestroyWnd()
{
    m_text = GetText();
    const HWND window = m_handle;
    if (TControl* captured = detail::CaptureControl(); captured && captured->Parent() == this)
        detail::CaptureControl() = nullptr;
    // Messages of the dying window no longer reach the object; a built-in class still gets its
    // own, so that it frees what it keeps for the window.
    (void)RemovePropA(window, ControlAtomName().c_str());
    if (m_defWndProc && m_defWndProc != &DefWindowProcA)
        (void)SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_defWndProc));
    m_handle = nullptr;
    (void)DestroyWindow(window);
}

void TWinControl::RecreateWnd()
{
    if (m_handle)
        Perform(CM_RECREATEWND);
}

void TWinControl::SetParentWindow(HWND window)
{
    if (window == m_parentWindow)
        return;
    DestroyHandle();
    m_parentWindow = window;
}

bool TWinControl::Showing() const { return Visible() && (Parent() ? Parent()->Showing() : m_parentWindow != nullptr); }

void TWinControl::UpdateShowing()
{
    const bool showing = Showing() && (m_handle || !Parent() || Parent()->HandleAllocated());
    if (showing == m_showing)
        return;
    m_showing = showing;
    Perform(CM_SHOWINGCHANGED);
    for (TControl* child : m_controls)
        if (auto* windowed = dynamic_cast<TWinControl*>(child))
            windowed->UpdateShowing();
}

std::string TWinControl::GetText() const
{
    if (!m_handle)
        return m_text;
    const int length = GetWindowTextLengthA(m_handle);
    std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
    const int copied = GetWindowTextA(m_handle, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

void TWinControl::StoreText(const std::string& text)
{
    m_text = text;
    if (m_handle)
        (void)SetWindowTextA(m_handle, text.c_str());
}

// ---- Children -----------------------------------------------------------------------------------

void TWinControl::InsertControl(TControl* control)
{
    control->m_parent = this;
    m_controls.push_back(control);
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (windowed)
        m_tabList.push_back(windowed);
    if (!control->IsLoading()) {
        control->Perform(CM_PARENTCOLORCHANGED);
        control->Perform(CM_PARENTFONTCHANGED);
        control->Perform(CM_PARENTSHOWHINTCHANGED);
    }
    if (windowed && m_handle)
        windowed->CreateHandle();
    AlignControls(control);
    if (windowed)
        windowed->UpdateShowing();
    control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control)
{
    if (control->m_parent != this)
        return;
    control->Invalidate();
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
        if (TCustomForm* form = GetParentForm(this))
            form->DefocusControl(windowed, true);
        std::erase(m_tabList, windowed);
        windowed->DestroyHandle();
        windowed->m_showing = false;
    }
    if (detail::MouseControl() == control)
        detail::MouseControl() = nullptr;
    detail::ForgetDockDrag(control);
    if (m_dockManager)
        m_dockManager->RemoveControl(control);
    if (control->m_hostDockSite == this)
        control->m_hostDockSite = nullptr;
    std::erase(m_controls, control);
    control->m_parent = nullptr;
    if (!IsDestroying())
        AlignControls(nullptr);
}

bool TWinControl::ContainsControl(const TControl* control) const
{
    for (const TControl* parent = control; parent; parent = parent->Parent())
        if (parent == this)
            return true;
    return false;
}

TControl* TWinControl::ControlAtPos(TPoint point, bool allowDisabled, bool allowWinControls) const
{
    for (auto it = m_controls.rbegin(); it != m_controls.rend(); ++it) {
        TControl* control = *it;
        if (!allowWinControls && dynamic_cast<TWinControl*>(control))
            continue;
        const TRect bounds = control->BoundsRect();
        if (control->Visible() && (allowDisabled || control->Enabled()) && PtInRect(&bounds, point))
            return control;
    }
    return nullptr;
}

void TWinControl::Broadcast(TMessage& message)
{
    const TControlList children = m_controls;
    for (TControl* child : children) {
        const TWndMethod method = child->WindowProc();
        method(message);
        if (message.Result != 0)
            return;
    }
}

void TWinControl::NotifyControls(UINT msg)
{
    const TControlList children = m_controls;
    for (TControl* child : children)
        child->Perform(msg);
}

void TWinControl::GetChildren(const TGetChildProc& proc, TComponent* root)
{
    for (TControl* child : m_controls)
        if (child->Owner() == root)
            proc(child);
}

void TWinControl::SetChildOrder(TComponent* child, int order)
{
    auto found = std::find(m_controls.begin(), m_controls.end(), child);
    if (found == m_controls.end())
        return;
    TControl* control = *found;
    m_controls.erase(found);
    const auto index = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(order, 0)), 0, m_controls.size());
    m_controls.insert(m_controls.begin() + static_cast<std::ptrdiff_t>(index), control);
}

void TWinControl::Loaded()
{
    TControl::Loaded();
    std::stable_sort(m_tabList.begin(), m_tabList.end(), [](const TWinControl* a, const TWinControl* b) {
        const int orderA = a->m_tabOrderWanted < 0 ? INT32_MAX : a->m_tabOrderWanted;
        const int orderB = b->m_tabOrderWanted < 0 ? INT32_MAX : b->m_tabOrderWanted;
        return orderA < orderB;
    });
    for (TControl* child : m_controls)
        if (auto* windowed = dynamic_cast<TWinControl*>(child))
            windowed->m_tabOrderWanted = -1;
    Realign();
}

// ---- Bounds and alignment ---------------------------------------------------------------------

TRect TWinControl::ClientRect() const
{
    TRect rect = Rect(0, 0, Width(), Height());
    if (m_handle)
        (void)GetClientRect(m_handle, &rect);
    return rect;
}

TPoint TWinControl::ClientOrigin() const
{
    if (!m_handle)
        return TControl::ClientOrigin();
    TPoint origin = Point(0, 0);
    (void)::ClientToScreen(m_handle, &origin);
    return origin;
}

void TWinControl::SetBounds(int left, int top, int width, int height)
{
    if (left == Left() && top == Top() && width == Width() && height == Height())
        return;
    if (m_handle) {
        (void)SetWindowPos(m_handle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        // The window answers with WM_WINDOWPOSCHANGED, which takes over the new bounds.
    } else {
        m_left = left;
        m_top = top;
        m_width = width;
        m_height = height;
        ClientResized();
    }
    RequestAlign();
}

void TWinControl::ApplyBoundsToWindow()
{
    TRect window{};
    (void)GetWindowRect(m_handle, &window);
    if (const HWND parent = GetParent(m_handle); parent && (GetWindowLongA(m_handle, GWL_STYLE) & WS_CHILD) != 0)
        (void)MapWindowPoints(nullptr, parent, reinterpret_cast<LPPOINT>(&window), 2);
    m_left = window.left;
    m_top = window.top;
    m_width = window.right - window.left;
    m_height = window.bottom - window.top;
    ClientResized();
}

void TWinControl::ClientResized()
{
    const SIZE client{ClientWidth(), ClientHeight()};
    const int dx = client.cx - m_lastClient.cx;
    const int dy = client.cy - m_lastClient.cy;
    m_lastClient = client;
    if (dx != 0 || dy != 0)
        AdjustAnchors(dx, dy);
    Realign();
}

void TWinControl::AdjustAnchors(int dx, int dy)
{
    if (IsLoading())
        return;
    ++m_alignLevel;
    for (TControl* child : m_controls) {
        if (child->Align() != alNone)
            continue;
        const TAnchors anchors = child->Anchors();
        int left = child->Left();
        int top = child->Top();
        int width = child->Width();
        int height = child->Height();
        if (anchors.Contains(akRight)) {
            if (anchors.Contains(akLeft))
                width += dx;
            else
                left += dx;
        }
        if (anchors.Contains(akBottom)) {
            if (anchors.Contains(akTop))
                height += dy;
            else
                top += dy;
        }
        child->SetBounds(left, top, std::max(width, 0), std::max(height, 0));
    }
    --m_alignLevel;
}

void TWinControl::EnableAlign()
{
    if (--m_alignLevel == 0 && ControlState().Contains(csAlignmentNeeded))
        Realign();
}

void TWinControl::AlignControls(TControl* control)
{
    if (m_alignLevel > 0 || IsLoading()) {
        m_controlState.Include(csAlignmentNeeded);
        return;
    }
    m_controlState.Exclude(csAlignmentNeeded);
    TRect rect = ClientRect();
    AdjustClientRect(rect);
    ++m_alignLevel;
    if (m_dockManager)
        m_dockManager->ResetBounds(rect);
    AlignControls(control, rect);
    --m_alignLevel;
}

namespace {

// Which controls of one alignment come first: the one nearest the edge they stack against.
bool AlignsBefore(TAlign align, const TControl* a, const TControl* b)
{
    switch (align) {
    case alTop: return a->Top() < b->Top();
    case alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
    case alLeft: return a->Left() < b->Left();
    case alRight: return a->Left() + a->Width() > b->Left() + b->Width();
    default: return false;
    }
}

void PlaceAligned(TControl* control, TRect& rect)
{
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    switch (control->Align()) {
    case alTop:
        control->SetBounds(rect.left, rect.top, width, control->Height());
        rect.top += control->Height();
        break;
    case alBottom:
        control->SetBounds(rect.left, rect.bottom - control->Height(), width, control->Height());
        rect.bottom -= control->Height();
        break;
    case alLeft:
        control->SetBounds(rect.left, rect.top, control->Width(), height);
        rect.left += control->Width();
        break;
    case alRight:
        control->SetBounds(rect.right - control->Width(), rect.top, control->Width(), height);
        rect.right -= control->Width();
        break;
    case alClient:
        control->SetBounds(rect.left, rect.top, width, height);
        break;
    default:
        break;
    }
}

} // namespace

void TWinControl::AlignControls(TControl* control, TRect& rect)
{
    for (const TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
        // The control being moved goes first, so that it wins a tie with a sibling in the same
        // place: that is where the user (or the code) just put it.
        TControlList list;
        if (control && control->Align() == align && control->Visible() && control->Parent() == this)
            list.push_back(control);
        for (TControl* child : m_controls)
            if (child != control && child->Align() == align && child->Visible())
                list.push_back(child);
        std::stable_sort(list.begin(), list.end(),
                         [align](const TControl* a, const TControl* b) { return AlignsBefore(align, a, b); });
        for (TControl* child : list)
            PlaceAligned(child, rect);
    }
}

// ---- Painting -----------------------------------------------------------------------------------

void TWinControl::Invalidate()
{
    if (m_handle)
        (void)InvalidateRect(m_handle, nullptr, TRUE);
}

void TWinControl::Repaint()
{
    Invalidate();
    Update();
}

void TWinControl::Update()
{
    if (m_handle)
        (void)UpdateWindow(m_handle);
}

void TWinControl::PaintWindow(HDC dc)
{
    if (m_defWndProc && m_defWndProc != &DefWindowProcA)
        (void)CallWindowProcA(m_defWndProc, m_handle, WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
}

void TWinControl::PaintControls(HDC dc, TControl* first)
{
    auto it = m_controls.begin();
    if (first) {
        it = std::find(m_controls.begin(), m_controls.end(), first);
        if (it == m_controls.end())
            return;
        ++it;
    }
    for (; it != m_controls.end(); ++it) {
        TControl* control = *it;
        if (dynamic_cast<TWinControl*>(control) || !control->Visible())
            continue;
        const TRect bounds = control->BoundsRect();
        // A control wholly outside what is being painted is not asked to paint: a small repaint
        // (a ticking display) stays small on a parent full of graphic controls.
        if (!RectVisible(dc, &bounds))
            continue;
        const SavedDC saved(dc);
        (void)IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
        (void)OffsetViewportOrgEx(dc, bounds.left, bounds.top, nullptr);
        control->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc));
    }
}

void TWinControl::PaintHandler(TMessage& message)
{
    auto paint = [this](HDC dc) {
        PaintWindow(dc);
        PaintControls(dc, nullptr);
        if (m_dockManager)
            m_dockManager->PaintSite(dc);
    };
    if (message.WParam != 0) {
        paint(reinterpret_cast<HDC>(message.WParam));
        return;
    }
    PAINTSTRUCT ps;
    const HDC dc = BeginPaint(m_handle, &ps);
    if (dc)
        paint(dc);
    (void)EndPaint(m_handle, &ps);
}

// ---- Docking ------------------------------------------------------------------------------------

void TWinControl::SetDockSite(bool dockSite)
{
    m_dockSite = dockSite;
    if (!dockSite)
        m_dockManager.reset();
}

void TWinControl::SetUseDockManager(bool use)
{
    m_useDockManager = use;
    if (!use)
        m_dockManager.reset();
}

TDockTree* TWinControl::DockManager()
{
    if (!m_dockManager && m_dockSite && m_useDockManager && !IsDestroying())
        m_dockManager = CreateDockManager();
    return m_dockManager.get();
}

std::unique_ptr<TDockTree> TWinControl::CreateDockManager() { return std::make_unique<TDockTree>(*this); }

int TWinControl::DockClientCount() const
{
    return static_cast<int>(std::count_if(m_controls.begin(), m_controls.end(),
                                          [this](const TControl* c) { return c->m_hostDockSite == this; }));
}

TControl* TWinControl::DockClients(int index) const
{
    for (TControl* control : m_controls)
        if (control->m_hostDockSite == this && index-- == 0)
            return control;
    return nullptr;
}

void TWinControl::DockDrop(TControl& client, TPoint drop)
{
    TDockTree* tree = DockManager();
    if (!tree)
        client.SetBounds(drop.x, drop.y, client.Width(), client.Height());
    client.SetParent(this);
    if (tree)
        tree->InsertControl(&client);
}

void TWinControl::UndockClient(TControl& client)
{
    if (TDockTree* tree = DockManager())
        tree->RemoveControl(&client);
}

void TWinControl::ClientUndocked(TControl& /*client*/)
{
    Realign();
    Invalidate();
}

void TWinControl::EraseBackground(TMessage& message)
{
    const auto dc = reinterpret_cast<HDC>(message.WParam);
    TRect client = ClientRect();
    const GdiObject brush(CreateSolidBrush(ColorToRGB(Color())));
    (void)FillRect(dc, &client, brush.Get());
    message.Result = 1;
}

void DrawParentBackground(TControl* control, HDC dc)
{
    TWinControl* parent = control->Parent();
    if (!parent)
        return;
    const SavedDC saved(dc);
    (void)IntersectClipRect(dc, 0, 0, control->Width(), control->Height());
    (void)OffsetViewportOrgEx(dc, -control->Left(), -control->Top(), nullptr);
    parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
}

// ---- Focus --------------------------------------------------------------------------------------

bool TWinControl::Focused() const { return m_handle && GetFocus() == m_handle; }

bool TWinControl::CanFocus() const
{
    const TCustomForm* form = GetParentForm(this);
    if (!form)
        return false;
    for (const TControl* control = this; control && control != form; control = control->Parent())
        if (!control->Visible() || !control->Enabled())
            return false;
    return true;
}

void TWinControl::SetFocus()
{
    if (!CanFocus())
        throw EInvalidOperation("Cannot focus a disabled or invisible window");
    (void)::SetFocus(Handle());
}

void TWinControl::SetTabStop(bool tabStop)
{
    if (tabStop == m_tabStop)
        return;
    m_tabStop = tabStop;
    if (m_handle) {
        const LONG style = GetWindowLongA(m_handle, GWL_STYLE);
        (void)SetWindowLongA(m_handle, GWL_STYLE, tabStop ? (style | static_cast<LONG>(WS_TABSTOP))
                                                          : (style & ~static_cast<LONG>(WS_TABSTOP)));
    }
    Perform(CM_TABSTOPCHANGED);
}

int TWinControl::TabOrder() const
{
    if (!Parent())
        return -1;
    const auto& list = Parent()->m_tabList;
    const auto found = std::find(list.begin(), list.end(), this);
    return found == list.end() ? -1 : static_cast<int>(found - list.begin());
}

void TWinControl::SetTabOrder(int order)
{
    if (IsLoading()) {
        m_tabOrderWanted = order;
        return;
    }
    if (!Parent())
        return;
    auto& list = Parent()->m_tabList;
    std::erase(list, this);
    const auto index = std::clamp<std::size_t>(static_cast<std::size_t>(std::max(order, 0)), 0, list.size());
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(index), this);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const
{
    for (TWinControl* child : m_tabList) {
        list.push_back(child);
        child->GetTabOrderList(list);
    }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) const
{
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty())
        return nullptr;
    const auto count = static_cast<std::ptrdiff_t>(list.size());
    std::ptrdiff_t index = std::find(list.begin(), list.end(), current) - list.begin();
    if (index == count)
        index = goForward ? count - 1 : 0;
    for (std::ptrdiff_t step = 0; step < count; ++step) {
        index = goForward ? (index + 1) % count : (index + count - 1) % count;
        TWinControl* candidate = list[static_cast<std::size_t>(index)];
        if (candidate == current)
            return nullptr;
        if ((!checkTabStop || candidate->TabStop()) && (!checkParent || candidate->Parent() == this) &&
            candidate->CanFocus())
            return candidate;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop)
{
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop))
        next->SetFocus();
}

void TWinControl::SelectFirst()
{
    if (TWinControl* first = FindNextControl(nullptr, true, true, false))
        first->SetFocus();
}

void TWinControl::DoEnter() { m_onEnter(this); }

void TWinControl::DoExit() { m_onExit(this); }

// ---- Keyboard -----------------------------------------------------------------------------------

void TWinControl::KeyDown(WORD& key, TShiftState shift) { m_onKeyDown(this, key, shift); }

void TWinControl::KeyUp(WORD& key, TShiftState shift) { m_onKeyUp(this, key, shift); }

void TWinControl::KeyPress(char& key) { m_onKeyPress(this, key); }

bool TWinControl::FormTakesKey(TMessage& message, bool (TWinControl::*doKey)(TMessage&))
{
    TCustomForm* form = GetParentForm(this);
    if (!form || form == this || !form->KeyPreview())
        return false;
    bool taken = false;
    return !Outlives([&] { taken = (static_cast<TWinControl*>(form)->*doKey)(message); }) || taken;
}

bool TWinControl::DoKeyDown(TMessage& message)
{
    if (FormTakesKey(message, &TWinControl::DoKeyDown))
        return true;
    WORD key = MessageKey(message);
    if (!Outlives([&] { KeyDown(key, KeyDataToShiftState(message.LParam)); }))
        return true;
    message.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyUp(TMessage& message)
{
    if (FormTakesKey(message, &TWinControl::DoKeyUp))
        return true;
    WORD key = MessageKey(message);
    if (!Outlives([&] { KeyUp(key, KeyDataToShiftState(message.LParam)); }))
        return true;
    message.WParam = key;
    return key == 0;
}

bool TWinControl::DoKeyPress(TMessage& message)
{
    if (FormTakesKey(message, &TWinControl::DoKeyPress))
        return true;
    char key = static_cast<char>(message.WParam & 0xFF);
    if (!Outlives([&] { KeyPress(key); }))
        return true;
    message.WParam = static_cast<unsigned char>(key);
    return key == 0;
}

bool TWinControl::IsMenuKey(const TMessage& message)
{
    const WORD key = MessageKey(message);
    const TShiftState shift = KeyDataToShiftState(message.LParam);
    for (TWinControl* control = this; control; control = control->Parent())
        if (control->PopupMenu() && control->PopupMenu()->IsShortCut(key, shift))
            return true;
    TCustomForm* form = GetParentForm(this);
    return form && form->IsShortCut(key, shift);
}

void TWinControl::HandleCNKeyDown(TMessage& message)
{
    message.Result = 1;
    if (IsMenuKey(message))
        return;
    if (Perform(CM_CHILDKEY, message.WParam, reinterpret_cast<LPARAM>(this)) != 0)
        return;
    LRESULT mask = 0;
    switch (MessageKey(message)) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN: case VK_ESCAPE: case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: break;
    }
    TCustomForm* form = GetParentForm(this);
    if (mask != 0 && form && Perform(CM_WANTSPECIALKEY, message.WParam) == 0 &&
        (Perform(WM_GETDLGCODE) & mask) == 0 && form->Perform(CM_DIALOGKEY, message.WParam, message.LParam) != 0)
        return;
    message.Result = 0;
}

void TWinControl::HandleCNChar(TMessage& message)
{
    message.Result = 1;
    TCustomForm* form = GetParentForm(this);
    if (form && (Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) == 0 &&
        form->Perform(CM_DIALOGCHAR, message.WParam, message.LParam) != 0)
        return;
    message.Result = 0;
}

void TWinControl::HandleSysChar(TMessage& message)
{
    TCustomForm* form = GetParentForm(this);
    message.Result = form && form->Perform(CM_DIALOGCHAR, message.WParam, message.LParam) != 0 ? 1 : 0;
}

// ---- Messages -----------------------------------------------------------------------------------

bool TWinControl::IsChildMouseMessage(TMessage& message)
{
    if (message.Msg < WM_MOUSEFIRST || message.Msg > WM_MOUSELAST || message.Msg == WM_MOUSEWHEEL)
        return false;
    TControl* target = detail::CaptureControl();
    if (target && target->Parent() != this)
        target = nullptr;
    const POINT point = MessagePoint(message);
    if (!target)
        target = ControlAtPos(point, false);
    if (!target) {
        if (message.Msg == WM_MOUSEMOVE)
            detail::TrackMouseControl(this);
        return false;
    }
    TMessage forwarded = message;
    forwarded.LParam = MAKELPARAM(static_cast<WORD>(point.x - target->Left()), static_cast<WORD>(point.y - target->Top()));
    const TWndMethod method = target->WindowProc();
    method(forwarded);
    message.Result = forwarded.Result;
    return true;
}

void TWinControl::WndProc(TMessage& message)
{
    if (message.Msg >= WM_MOUSEFIRST && message.Msg <= WM_MOUSELAST && Application)
        Application->HintMouseMessage(this, message);
    // Both may tell a control the mouse entered, and its handler may free this one.
    const TControlLife life(*this);
    if (IsChildMouseMessage(message) || !life.Stands())
        return;
    if (message.Msg == WM_MOUSEMOVE && !Outlives([this] { detail::TrackMouseControl(this); }))
        return;
    Dispatch(message);
}

void TWinControl::ReflectNotification(TMessage& message)
{
    HWND child = nullptr;
    switch (message.Msg) {
    case WM_NOTIFY:
        child = message.LParam ? *reinterpret_cast<HWND*>(message.LParam) : nullptr;
        break;
    case WM_DRAWITEM:
        child = message.LParam ? reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam)->hwndItem : nullptr;
        break;
    case WM_MEASUREITEM:
        // Owner-drawn controls take their own handle as their id (menu items have no window).
        if (const auto* measure = reinterpret_cast<const MEASUREITEMSTRUCT*>(message.LParam);
            measure && measure->CtlType != ODT_MENU)
            child = reinterpret_cast<HWND>(static_cast<UINT_PTR>(measure->CtlID));
        break;
    default:
        child = reinterpret_cast<HWND>(message.LParam);
        break;
    }
    if (TWinControl* control = FindControl(child); control && control != this) {
        message.Result = control->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
        return;
    }
    DefaultHandler(message);
}

void TWinControl::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT:
        PaintHandler(message);
        return;
    case WM_ERASEBKGND:
        EraseBackground(message);
        return;
    case WM_WINDOWPOSCHANGED:
        DefaultHandler(message);
        if (m_handle)
            ApplyBoundsToWindow();
        return;
    case WM_SETFOCUS:
        if (TCustomForm* form = GetParentForm(this);
            form && form != this && !Outlives([&] { form->SetFocusedControl(this); }))
            return;
        DefaultHandler(message);
        return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (!DoKeyDown(message))
            DefaultHandler(message);
        return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (!DoKeyUp(message))
            DefaultHandler(message);
        return;
    case WM_CHAR:
        if (!DoKeyPress(message))
            DefaultHandler(message);
        return;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
        HandleCNKeyDown(message);
        return;
    case CN_CHAR:
        HandleCNChar(message);
        return;
    case CN_SYSCHAR:
        HandleSysChar(message);
        return;
    case WM_MOUSEWHEEL:
        message.Result = Perform(CM_MOUSEWHEEL, message.WParam, message.LParam);
        if (message.Result == 0)
            DefaultHandler(message);
        return;
    case WM_MOUSELEAVE:
        if (TControl*& over = detail::MouseControl(); over && (over == this || over->Parent() == this)) {
            TControl* left = over;
            over = nullptr;
            left->Perform(CM_MOUSELEAVE);
        }
        return;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        ReflectNotification(message);
        return;
    case CM_ENTER:
        DoEnter();
        return;
    case CM_EXIT:
        DoExit();
        return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
    case CM_FOCUSCHANGED:
        Broadcast(message);
        return;
    case CM_COLORCHANGED:
        Invalidate();
        NotifyControls(CM_PARENTCOLORCHANGED);
        return;
    case CM_FONTCHANGED:
        Invalidate();
        NotifyControls(CM_PARENTFONTCHANGED);
        return;
    case CM_SHOWHINTCHANGED:
        NotifyControls(CM_PARENTSHOWHINTCHANGED);
        return;
    case CM_ENABLEDCHANGED:
        if (m_handle)
            (void)EnableWindow(m_handle, Enabled() ? TRUE : FALSE);
        Invalidate();
        return;
    case CM_VISIBLECHANGED:
        if (m_handle && Parent())
            (void)ShowWindow(m_handle, Visible() ? SW_SHOWNA : SW_HIDE);
        if (!Visible())
            if (TCustomForm* form = GetParentForm(this); form && form != this)
                form->DefocusControl(this, false);
        UpdateShowing();
        return;
    case CM_RECREATEWND: {
        // The new window takes the focus the old one had.
        const bool wasFocused = Focused();
        DestroyHandle();
        HandleNeeded();
        if (wasFocused && m_handle)
            (void)::SetFocus(m_handle);
        return;
    }
    default:
        TControl::Dispatch(message);
    }
}

void TWinControl::DefaultHandler(TMessage& message)
{
    if (!m_handle) {
        TControl::DefaultHandler(message);
        return;
    }
    const WNDPROC proc = m_defWndProc ? m_defWndProc : &DefWindowProcA;
    message.Result = CallWindowProcA(proc, m_handle, message.Msg, message.WParam, message.LParam);
}

// ---- Mouse state shared with TControl ------------------------------------------------------------

namespace classlib_forms::detail {

void SetMouseCapture(TControl* control, bool capture)
{
    auto* windowed = dynamic_cast<TWinControl*>(control);
    const HWND window = windowed ? windowed->Handle()
                                 : (control->Parent() && control->Parent()->HandleAllocated() ? control->Parent()->Handle()
                                                                                              : nullptr);
    if (!window)
        return;
    if (capture) {
        CaptureControl() = windowed ? nullptr : control;
        (void)SetCapture(window);
    } else if (GetCapture() == window) {
        CaptureControl() = nullptr;
        (void)ReleaseCapture();
    }
}

void TrackMouseControl(TControl* control)
{
    TControl*& over = MouseControl();
    if (over == control)
        return;
    TControl* previous = over;
    over = control;
    if (previous)
        previous->Perform(CM_MOUSELEAVE);
    auto* windowed = dynamic_cast<TWinControl*>(control);
    TWinControl* window = windowed ? windowed : control->Parent();
    if (window && window->HandleAllocated()) {
        TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window->Handle(), 0};
        (void)TrackMouseEvent(&track);
    }
    control->Perform(CM_MOUSEENTER);
}

} // namespace classlib_forms::detail
