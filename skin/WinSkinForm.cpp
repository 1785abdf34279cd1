#include "skin/WinSkinForm.h"
#include "skin/WinSkinMenuBar.h"

#include "platform/classlib/core/Timers.h"
#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Text.h"
#include "skin/SkinData.h"
#include "skin/SkinHeader.h"
#include "skin/SkinManage.h"
#include "skin/SkinRoutines.h"

// Lifecycle of a skinned window and its window procedures. The non-client area is in
// WinSkinFormFrame.cpp, control discovery in WinSkinFormChildren.cpp.

namespace {

constexpr UINT SkinTimerInterval = 250;
constexpr UINT WM_UAHDESTROYWINDOW = 0x00AE;

HFONT NewCaptionFont()
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        return nullptr;
    return CreateFontIndirectA(&metrics.lfCaptionFont);
}

SIZE SizeOf(const RECT& rect)
{
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

} // namespace

TWinSkinForm::TWinSkinForm(HWND window, std::string className)
    : m_window(window), m_className(std::move(className)), m_timer(std::make_unique<TTimer>(nullptr)),
      m_captionFont(NewCaptionFont())
{
    m_timer->SetEnabled(false);
    m_timer->SetInterval(SkinTimerInterval);
    m_timer->SetOnTimer(TNotifyEvent::FromFunction([this](TObject*) { OnTimer(); }));
}

TWinSkinForm::~TWinSkinForm()
{
    m_timer.reset();
    FreeSkinners();
    if (m_subclassed)
        RestoreProcedures();
}

void TWinSkinForm::Attach(TSkinData& data, TControl* form)
{
    m_data = &data;
    m_form = form;
    if (data.OnBeforeSkinForm())
        data.OnBeforeSkinForm()(&data, m_window, m_className);
    InitSkin();
    if (!m_form)
        return;
    if (m_frameSkinned) {
        m_oldFormProc = m_form->WindowProc();
        m_form->SetWindowProc([this](TMessage& message) { ControlWndProc(message); });
    }
    m_savedColor = m_form->Color();
    m_colorSaved = true;
    m_form->SetColor(data.Elements().Colours().ButtonFace);
    if (data.SkinControls().Contains(xcMenuItem))
        SetMainMenusOwnerDraw(true);
}

void TWinSkinForm::InitSkin()
{
    if (m_subclassed)
        return;
    m_frameSkinned = m_data->SkinControls().Contains(xcMainMenu);
    m_style = GetWindowLongA(m_window, GWL_STYLE);
    m_exStyle = GetWindowLongA(m_window, GWL_EXSTYLE);
    m_rightToLeft = (m_exStyle & WS_EX_LEFTSCROLLBAR) != 0;
    m_child = (m_style & WS_CHILD) != 0;
    m_sysMenu = GetSystemMenu(m_window, FALSE);
    m_hasSysMenu = (m_style & WS_SYSMENU) || m_sysMenu;
    m_hasMinimize = (m_style & WS_MINIMIZEBOX) != 0;
    m_hasMaximize = (m_style & WS_MAXIMIZEBOX) != 0;
    ReadWindowState();
    m_borderKind = bkFixed;
    if ((m_style & WS_CAPTION) != WS_CAPTION)
        m_borderKind = bkNone;
    else if (m_style & WS_THICKFRAME)
        m_borderKind = bkSizable;
    else if (m_style & DS_MODALFRAME)
        m_borderKind = bkDialog;
    if (m_borderKind != bkNone && (m_exStyle & WS_EX_DLGMODALFRAME))
        m_borderKind = bkDialog;
    m_dialog = m_className == "#32770" || m_className == "TMessageForm";
    if (m_dialog && m_borderKind != bkNone)
        m_borderKind = bkDialog;
    HideUntilStarted();
    (void)SetWindowSubclass(m_window, &TWinSkinForm::SkinWndProc, 0, reinterpret_cast<DWORD_PTR>(this));
    m_subclassed = true;
    if (m_frameSkinned) {
        BuildMenuBar();
        CalcBorders();
    } else {
        m_lifecycle = Running;
    }
}

void TWinSkinForm::StartSkin()
{
    m_started = true;
    m_sysMenu = GetSystemMenu(m_window, FALSE);
    TakeWindowIcon();
    ShowOnceStarted();
    RECT client{};
    RECT window{};
    (void)GetClientRect(m_window, &client);
    (void)GetWindowRect(m_window, &window);
    if (m_lifecycle == NotStarted || m_lifecycle == Starting) {
        m_standardNonClient = SIZE{SizeOf(window).cx - SizeOf(client).cx, SizeOf(window).cy - SizeOf(client).cy};
        m_wornFrame = m_standardNonClient;
    }
    if (m_form)
        SkinChildren();
    else
        SkinChildWindows(m_window);
    if (m_lifecycle == NotStarted && m_frameSkinned && !m_child && m_borderKind != bkNone &&
        m_windowState != wsMinimized) {
        m_lifecycle = Starting;
        ApplyFrameSize(false);
        m_wornFrame = SkinFrameSize();
        m_lifecycle = Running;
        if (m_windowState == wsMaximized)
            (void)SetWindowPos(m_window, nullptr, 0, 0, 0, 0,
                               SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        else
            UpdateRegion();
    }
    Finished();
    m_lifecycle = Running;
    SetTimerRunning(m_active);
}

void TWinSkinForm::HideUntilStarted()
{
    TSkinManage* manager = SkinManager();
    if (manager && manager->HideWhileStarting() && !m_child && m_frameSkinned && m_borderKind != bkNone)
        SetStyleBits(WS_VISIBLE, false);
}

void TWinSkinForm::ShowOnceStarted()
{
    TSkinManage* manager = SkinManager();
    if (!manager || !manager->HideWhileStarting())
        return;
    manager->SetHideWhileStarting(false);
    SetStyleBits(WS_VISIBLE, true);
}

void TWinSkinForm::ScrollBarCreated(HWND bar)
{
    (void)PostMessageA(m_window, WM_SKIN_CHILDCREATED, reinterpret_cast<WPARAM>(bar), 0);
}

void TWinSkinForm::Finished()
{
    (void)SendMessageA(m_window, WM_SKIN_FINISHED, 0, SkinQueryKey);
    if (m_data && m_data->OnAfterSkinForm())
        m_data->OnAfterSkinForm()(m_data, m_window, m_className);
}

void TWinSkinForm::ApplyFrameSize(bool keepClientSize)
{
    if (m_windowState == wsMaximized) {
        (void)SetWindowPos(m_window, nullptr, 0, 0, 0, 0,
                           SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        return;
    }
    RECT client{};
    (void)GetClientRect(m_window, &client);
    int clientWidth = client.right;
    int clientHeight = client.bottom;
    if (!keepClientSize && m_form) {
        clientWidth = m_form->ClientWidth();
        clientHeight = m_form->ClientHeight() - m_menuHeight;
    }
    int width = clientWidth + m_left + m_right;
    const int height = clientHeight + m_top + m_bottom + m_menuHeight;
    if (m_dialog && !keepClientSize && m_data) {
        const HDC dc = GetWindowDC(m_window);
        const SelectionGuard font(dc, m_captionFont.Get());
        RECT measured{};
        const std::u16string text = ToWideText(WindowText());
        (void)DrawTextAuto(dc, text, measured, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
        (void)ReleaseDC(m_window, dc);
        const TDataSkinTitle& title = m_data->Elements().Title();
        const int needed = title.LeftWidth + measured.right + title.RightWidth;
        if (width < needed) {
            const int shift = (needed - width) / 2;
            for (HWND child = GetTopWindow(m_window); child; child = GetWindow(child, GW_HWNDNEXT)) {
                RECT r{};
                (void)GetWindowRect(child, &r);
                POINT origin{r.left, r.top};
                (void)ScreenToClient(m_window, &origin);
                (void)SetWindowPos(child, nullptr, origin.x + shift, origin.y, 0, 0,
                                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOSENDCHANGING | SWP_NOOWNERZORDER);
            }
            width = needed;
        }
    }
    (void)SetWindowPos(m_window, nullptr, 0, 0, width, height,
                       SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::KeepRestoredClient(SIZE frame)
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (m_windowState != wsNormal && GetWindowPlacement(m_window, &placement)) {
        placement.rcNormalPosition.right += frame.cx - m_wornFrame.cx;
        placement.rcNormalPosition.bottom += frame.cy - m_wornFrame.cy;
        (void)SetWindowPlacement(m_window, &placement);
    }
    m_wornFrame = frame;
}

void TWinSkinForm::FillWorkArea()
{
    RECT work{};
    (void)SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    // The standard frame lies just outside the work area.
    const int frame = m_standardNonClient.cx / 2;
    MINMAXINFO info{};
    info.ptMaxPosition = POINT{work.left - frame, work.top - frame};
    info.ptMaxSize = POINT{SizeOf(work).cx + 2 * frame, SizeOf(work).cy + 2 * frame};
    (void)SendMessageA(m_window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    (void)SetWindowPos(m_window, nullptr, info.ptMaxPosition.x, info.ptMaxPosition.y, info.ptMaxSize.x,
                       info.ptMaxSize.y, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TWinSkinForm::ReadWindowState()
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(m_window, &placement))
        return;
    switch (placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        m_windowState = wsMinimized;
        break;
    case SW_SHOWMAXIMIZED:
        m_windowState = wsMaximized;
        break;
    default:
        m_windowState = wsNormal;
        break;
    }
}

LRESULT TWinSkinForm::SkinWndProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR skinner)
{
    return reinterpret_cast<TWinSkinForm*>(skinner)->WndProc(msg, wParam, lParam);
}

LRESULT TWinSkinForm::CallOld(UINT msg, WPARAM wParam, LPARAM lParam)
{
    return DefSubclassProc(m_window, msg, wParam, lParam);
}

LRESULT TWinSkinForm::WndProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_NCPAINT:
        if (!m_started)
            return 0;
        break;
    case WM_ERASEBKGND: {
        const LRESULT result = CallOld(msg, wParam, lParam);
        if (m_form || !m_data)
            return result;
        RECT client{};
        (void)GetClientRect(m_window, &client);
        (void)FillRect(reinterpret_cast<HDC>(wParam), &client, m_data->Elements().ButtonFaceBrush());
        return 1;
    }
    case WM_NCDESTROY: {
        m_lifecycle = Destroying;
        Release();
        m_lifecycle = Destroyed;
        return CallOld(msg, wParam, lParam);
    }
    case WM_NCACTIVATE:
        if (!m_started)
            return 0;
        break;
    case WM_UAHDESTROYWINDOW:
        return 0;
    case WM_INITMENUPOPUP:
        if (TSkinManage* manager = SkinManager())
            manager->SetPopupKind(reinterpret_cast<HMENU>(wParam) == m_sysMenu ? 2 : 1);
        return CallOld(msg, wParam, lParam);
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC: {
        const LRESULT result = CallOld(msg, wParam, lParam);
        if (m_form || !m_data)
            return result;
        (void)SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return msg == WM_CTLCOLORSTATIC ? reinterpret_cast<LRESULT>(m_data->Elements().ButtonFaceBrush()) : result;
    }
    case WM_SKIN_START:
        StartSkin();
        return 0;
    case WM_SKIN_QUERYSKINNED:
        return 1;
    case WM_SKIN_CONTROLSKINNERCHANGED:
        ReplaceSkinner(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_SKIN_CHILDCREATED:
        if (const auto child = reinterpret_cast<HWND>(wParam); m_data && IsWindow(child))
            SkinForeignWindow(child);
        return 0;
    default:
        break;
    }
    if (!m_frameSkinned)
        return CallOld(msg, wParam, lParam);
    LRESULT result = 0;
    if (!m_child && TopLevelMessage(msg, wParam, lParam, result))
        return result;
    if (m_lifecycle != NotStarted && FrameMessage(msg, wParam, lParam, result))
        return result;
    return CallOld(msg, wParam, lParam);
}

bool TWinSkinForm::TopLevelMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_SIZE:
        result = CallOld(msg, wParam, lParam);
        m_windowState = wParam == SIZE_MINIMIZED ? wsMinimized : wParam == SIZE_MAXIMIZED ? wsMaximized : wsNormal;
        if (m_windowState != wsMinimized && (m_lifecycle == Running || m_lifecycle == SkinChangedState))
            UpdateRegion();
        return true;
    case WM_ACTIVATE:
        m_active = LOWORD(wParam) != WA_INACTIVE;
        return false;
    case WM_WINDOWPOSCHANGED:
        ReadWindowState();
        return false;
    case WM_COMMAND: {
        const WORD command = LOWORD(wParam);
        switch (command) {
        case SC_SIZE:
        case SC_MOVE:
        case SC_MINIMIZE:
        case SC_MAXIMIZE:
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
        case SC_CLOSE:
        case SC_RESTORE:
            (void)PostMessageA(m_window, WM_SYSCOMMAND, command, 0);
            result = 0;
            return true;
        default:
            return false;
        }
    }
    case WM_MENUSELECT:
        MenuSelected(wParam, lParam);
        return false;
    case WM_SKIN_OPENMENUBARBUTTON:
        OpenMenuButtonAt(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        result = 0;
        return true;
    case CM_MENUCHANGED:
        // The window's own handling paints no frame: the bar is the skinner's.
        if (m_data)
            m_data->SetFramePainting(false);
        result = CallOld(msg, wParam, lParam);
        if (m_data)
            m_data->SetFramePainting(true);
        MenuChanged();
        return true;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_KEYMENU && KeyMenu(lParam)) {
            result = 1;
            return true;
        }
        if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == ' ' && m_lifecycle != NotStarted) {
            POINT origin{0, 0};
            (void)ClientToScreen(m_window, &origin);
            ShowSystemMenu(origin);
            result = 0;
            return true;
        }
        switch (wParam & 0xFFF0) {
        case SC_MINIMIZE:
            m_windowState = wsMinimized;
            break;
        case SC_MAXIMIZE:
            m_windowState = wsMaximized;
            break;
        case SC_RESTORE:
            m_windowState = wsNormal;
            break;
        default:
            break;
        }
        return false;
    default:
        return false;
    }
}

bool TWinSkinForm::FrameMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_NCCALCSIZE:
        result = NcCalcSize(wParam, lParam);
        return true;
    case WM_NCHITTEST:
        result = NcHitTest(wParam, lParam);
        return true;
    case WM_NCPAINT:
        SetStyleBits(WS_SYSMENU, false);
        if (m_data && m_data->FramePainting()) {
            if (m_borderKind == bkNone)
                result = CallOld(msg, wParam, lParam);
            else
                PaintFrame();
        }
        return true;
    case WM_NCACTIVATE:
        m_active = wParam != 0;
        SetTimerRunning(m_active);
        PaintFrame();
        result = 1;
        return true;
    case WM_NCMOUSEMOVE:
        result = NcMouseMove(wParam, lParam);
        return true;
    case WM_NCLBUTTONDOWN:
        result = NcButtonDown(wParam, lParam);
        return true;
    case WM_NCLBUTTONUP:
        result = NcButtonUp(wParam, lParam);
        return true;
    case WM_NCLBUTTONDBLCLK:
        result = NcDoubleClick(wParam, lParam);
        return true;
    case WM_SKIN_PAINTFRAME:
        PaintFrame();
        result = 0;
        return true;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        return MenuItemMessage(msg, lParam, result);
    case WM_NCRBUTTONDOWN:
        if (wParam != HTCAPTION || (m_exStyle & WS_EX_MDICHILD))
            return false;
        ShowSystemMenu(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        result = 0;
        return true;
    default:
        return false;
    }
}

void TWinSkinForm::ControlWndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETTEXT:
        // The caption is repainted at once; no queued message runs in between, so the window
        // and its skinner are still there when the frame is drawn.
        m_oldFormProc(message);
        if (IsWindowVisible(m_window))
            PaintFrame();
        return;
    case WM_SKIN_REAPPLY:
        SkinChanged();
        return;
    case CM_DIALOGCHAR:
        m_oldFormProc(message);
        if (message.Result == 0 && KeyDataToShiftState(message.LParam) == TShiftState{ssAlt} &&
            AccelMenu(static_cast<char>(message.WParam)))
            message.Result = 1;
        return;
    case WM_SKIN_FORMQUERY:
        message.Result = message.LParam == SkinQueryKey ? SkinQueryKey : 1;
        return;
    case WM_SKIN_PAINTFRAMEQUERY:
        if (message.LParam == SkinQueryKey) {
            if (message.WParam)
                PaintFrame(reinterpret_cast<HDC>(message.WParam));
            message.Result = SkinQueryKey;
            return;
        }
        break;
    default:
        break;
    }
    m_oldFormProc(message);
}

void TWinSkinForm::SetStyleBits(LONG bits, bool on)
{
    const LONG style = GetWindowLongA(m_window, GWL_STYLE);
    const LONG wanted = on ? (style | bits) : (style & ~bits);
    if (wanted != style)
        (void)SetWindowLongA(m_window, GWL_STYLE, wanted);
}

void TWinSkinForm::SetTimerRunning(bool running)
{
    if (!m_timer)
        return;
    m_timer->SetEnabled(running);
    if (!running && m_hovered) {
        if (m_hovered->Handle())
            (void)SendMessageA(m_hovered->Handle(), CM_MOUSELEAVE, 0, 0);
        m_hovered = nullptr;
    }
}

void TWinSkinForm::OnTimer()
{
    if (m_trackingMenu)
        return;
    if (m_hot) {
        POINT cursor{};
        (void)GetCursorPos(&cursor);
        const POINT frame = ScreenToFrame(cursor);
        if (!PtInRect(&m_hot->Rect, frame)) {
            TNCObject* leaving = m_hot;
            m_hot = nullptr;
            leaving->State = TNCObject::Normal;
            leaving->Paint();
        }
    }
    if (!m_form && m_hovered && m_hovered->Handle()) {
        POINT cursor{};
        RECT bounds{};
        (void)GetCursorPos(&cursor);
        (void)GetWindowRect(m_hovered->Handle(), &bounds);
        if (!PtInRect(&bounds, cursor)) {
            (void)SendMessageA(m_hovered->Handle(), CM_MOUSELEAVE, 0, 0);
            m_hovered = nullptr;
        }
    }
}

void TWinSkinForm::SkinChanged()
{
    if (!m_data)
        return;
    const TColor face = m_data->Elements().Colours().ButtonFace;
    if (m_form)
        m_form->SetColor(face);
    for (const auto& skinner : m_skinners)
        if (!skinner->IsDead())
            skinner->SkinChanged();
    m_lifecycle = SkinChangedState;
    if (m_frameSkinned)
        SetPopupMenusOwnerDraw(true);
    if (m_frameSkinned && m_buttons.empty())
        CalcBorders();
    if (m_frameSkinned && !m_child && m_borderKind != bkNone) {
        KeepRestoredClient(SkinFrameSize());
        if (m_windowState != wsMinimized)
            ApplyFrameSize(true);
        m_regionSize = SIZE{};
        UpdateRegion();
    }
    (void)RedrawWindow(m_window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Finished();
    m_lifecycle = Running;
}

void TWinSkinForm::RestoreProcedures()
{
    if (m_form && m_oldFormProc) {
        m_form->SetWindowProc(m_oldFormProc);
        m_oldFormProc = nullptr;
    }
    if (!m_subclassed)
        return;
    (void)RemoveWindowSubclass(m_window, &TWinSkinForm::SkinWndProc, 0);
    m_subclassed = false;
}

void TWinSkinForm::FreeSkinners()
{
    m_hovered = nullptr;
    for (const auto& skinner : m_skinners)
        if (!skinner->IsDead())
            skinner->Detach();
    m_skinners.clear();
}

void TWinSkinForm::PurgeSkinners()
{
    if (m_hovered && m_hovered->IsDead())
        m_hovered = nullptr;
    std::erase_if(m_skinners, [](const auto& skinner) { return skinner->IsDead(); });
}

void TWinSkinForm::Release()
{
    SetTimerRunning(false);
    m_systemMenu.reset();
    FreeSkinners();
    RestoreProcedures();
    m_hot = nullptr;
    m_buttons.clear();
    m_form = nullptr;
}

void TWinSkinForm::Unskin()
{
    m_systemMenu.reset();
    SetTimerRunning(false);
    if (!m_subclassed)
        return;
    const bool destroying = m_lifecycle == Destroying;
    RestoreProcedures();
    FreeSkinners();
    SetPopupMenusOwnerDraw(false);
    if (m_data && m_data->SkinControls().Contains(xcMenuItem))
        SetMainMenusOwnerDraw(false);
    if (m_form && m_colorSaved && !destroying)
        m_form->SetColor(m_savedColor);
    m_hot = nullptr;
    m_buttons.clear();
    if (!m_frameSkinned || destroying)
        return;
    SetStyleBits(m_style & (WS_SYSMENU | WS_CAPTION), true);
    // The window's own bar comes back and takes the height the skinned one had.
    DropMenuBar();
    if (!m_child && m_lifecycle != NotStarted && m_windowState == wsNormal) {
        RECT window{};
        (void)GetWindowRect(m_window, &window);
        const SIZE size = SizeOf(window);
        (void)SetWindowPos(m_window, nullptr, 0, 0, size.cx + m_standardNonClient.cx - m_left - m_right,
                           size.cy + m_standardNonClient.cy - m_top - m_bottom,
                           SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    } else if (!m_child && m_lifecycle != NotStarted) {
        KeepRestoredClient(m_standardNonClient);
        if (m_windowState == wsMaximized)
            FillWorkArea();
    }
    // The window owns its region and deletes it when it is replaced.
    (void)SetWindowRgn(m_window, nullptr, TRUE);
    m_lifecycle = NotStarted;
}

void TWinSkinForm::SkinnerLost()
{
    (void)PostMessageA(m_window, WM_SKIN_CONTROLSKINNERCHANGED, 0, 0);
}

void TWinSkinForm::ReplaceSkinner(HWND window)
{
    PurgeSkinners();
    TSkinControl* old = window ? FindSkinner(window) : nullptr;
    if (!old)
        return;
    TControl* control = old->Control();
    const bool scrolling = dynamic_cast<TSkinScrollbar*>(old) != nullptr;
    const char* kind = dynamic_cast<TSkinListView*>(old) ? "TSkinListView" : "TSkinScrollbar";
    if (m_hovered == old)
        m_hovered = nullptr;
    old->Detach();
    std::erase_if(m_skinners, [old](const auto& skinner) { return skinner.get() == old; });
    if (!scrolling || !control)
        return;
    if (auto skinner = CreateSkinner(kind)) {
        TSkinControl& attached = *skinner;
        (void)AddSkinner(std::move(skinner));
        attached.AttachControl(*this, *control, 0);
    }
}

bool TWinSkinForm::AddSkinner(std::unique_ptr<TSkinControl> skinner)
{
    for (const auto& listed : m_skinners)
        if (listed.get() == skinner.get())
            return false;
    m_skinners.push_back(std::move(skinner));
    return true;
}

TSkinControl* TWinSkinForm::FindSkinner(HWND window) const
{
    for (const auto& skinner : m_skinners)
        if (!skinner->IsDead() && skinner->Handle() == window)
            return skinner.get();
    return nullptr;
}

bool TWinSkinForm::IsControlSkinned(TControl& control) const
{
    if (auto* windowed = dynamic_cast<TWinControl*>(&control);
        windowed && windowed->HandleAllocated() && SendMessageA(windowed->Handle(), WM_SKIN_QUERYSKINNED, 0, 0) == 1)
        return true;
    for (const auto& skinner : m_skinners)
        if (!skinner->IsDead() && skinner->Control() == &control)
            return true;
    return false;
}
