#include "platform/classlib/forms/Forms.h"

#include "platform/classlib/core/ApplicationHandleException.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/forms/GraphicsIcon.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/classlib/core/Resources.h"
#include "platform/winapi/user/Button.h"
#include "platform/rtl/Format.h"

#include <algorithm>
#include <map>
#include <mutex>

namespace {

void DescribeCustomForm(TClassBuilder& c)
{
    c.String("Caption", &TCustomForm::Caption, &TCustomForm::SetCaption);
    c.Integer("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth).Stored(false);
    c.Integer("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight).Stored(false);
    c.Enum("BorderStyle", FormBorderStyleTypeInfo(), &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle)
        .Default(bsSizeable);
    c.Set("BorderIcons", BorderIconsTypeInfo(), &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
        .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
    c.Enum("Position", PositionTypeInfo(), &TCustomForm::Position, &TCustomForm::SetPosition).Default(poDesigned);
    c.Enum("FormStyle", FormStyleTypeInfo(), &TCustomForm::FormStyle, &TCustomForm::SetFormStyle).Default(fsNormal);
    c.Boolean("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview).Default(false);
    c.Integer("PixelsPerInch", &TCustomForm::PixelsPerInch, &TCustomForm::SetPixelsPerInch);
    c.Object("Icon", &TCustomForm::Icon, &TCustomForm::SetIcon);
    c.Object("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl);
    c.Object("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu);
    c.Event("OnCreate", &TCustomForm::OnCreate, &TCustomForm::SetOnCreate);
    c.Event("OnShow", &TCustomForm::OnShow, &TCustomForm::SetOnShow);
    c.Event("OnHide", &TCustomForm::OnHide, &TCustomForm::SetOnHide);
    c.Event("OnClose", &TCustomForm::OnClose, &TCustomForm::SetOnClose);
    c.Event("OnCloseQuery", &TCustomForm::OnCloseQuery, &TCustomForm::SetOnCloseQuery);
    c.Event("OnDestroy", &TCustomForm::OnDestroy, &TCustomForm::SetOnDestroy);
    c.Event("OnActivate", &TCustomForm::OnActivate, &TCustomForm::SetOnActivate);
    c.Event("OnDeactivate", &TCustomForm::OnDeactivate, &TCustomForm::SetOnDeactivate);
}

bool IsRadioButton(TWinControl* control) { return (control->Perform(WM_GETDLGCODE) & DLGC_RADIOBUTTON) != 0; }

// The radio button after (or before) `current` among its parent's own controls, wrapping.
TWinControl* NextRadioButton(TWinControl* current, bool goForward)
{
    const TWinControl* parent = current->Parent();
    for (TWinControl* candidate = parent->FindNextControl(current, goForward, false, true);
         candidate && candidate != current; candidate = parent->FindNextControl(candidate, goForward, false, true))
        if (IsRadioButton(candidate))
            return candidate;
    return nullptr;
}

std::mutex& FormTextLock()
{
    static std::mutex lock;
    return lock;
}

std::map<TClass, std::string>& FormTexts()
{
    static std::map<TClass, std::string> texts;
    return texts;
}

// The form data of exactly this class: registered text first, then an RCDATA resource named
// after the class.
bool FindFormText(TClass formClass, std::string& text)
{
    {
        std::lock_guard guard(FormTextLock());
        const auto found = FormTexts().find(formClass);
        if (found != FormTexts().end()) {
            text = found->second;
            return true;
        }
    }
    const HRSRC resource = FindResource(nullptr, formClass->ClassName(), RT_RCDATA);
    if (!resource)
        return false;
    const auto* data = static_cast<const char*>(LockResource(LoadResource(nullptr, resource)));
    text.assign(data, SizeofResource(nullptr, resource));
    return true;
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TCustomForm, TWinControl, ComponentCreator<TCustomForm>, DescribeCustomForm)
CLASSLIB_IMPLEMENT_CLASS(TForm, TCustomForm, ComponentCreator<TForm>, nullptr)

const TTypeInfo& BorderStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TBorderStyle", {"bsNone", "bsSingle"});
    return info;
}

const TTypeInfo& FormBorderStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TFormBorderStyle", {"bsNone", "bsSingle", "bsSizeable", "bsDialog", "bsToolWindow", "bsSizeToolWin"});
    return info;
}

const TTypeInfo& BorderIconsTypeInfo()
{
    static const TTypeInfo icon = EnumerationTypeInfo("TBorderIcon", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"});
    static const TTypeInfo info = SetTypeInfo("TBorderIcons", icon);
    return info;
}

const TTypeInfo& PositionTypeInfo()
{
    static const TTypeInfo info =
        EnumerationTypeInfo("TPosition", {"poDesigned", "poDefault", "poDefaultPosOnly", "poDefaultSizeOnly",
                                          "poScreenCenter", "poDesktopCenter", "poMainFormCenter", "poOwnerFormCenter"});
    return info;
}

const TTypeInfo& FormStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TFormStyle", {"fsNormal", "fsMDIChild", "fsMDIForm", "fsStayOnTop"});
    return info;
}

void RegisterFormText(TClass formClass, std::string text)
{
    std::lock_guard guard(FormTextLock());
    FormTexts()[formClass] = std::move(text);
}

// ---- TCustomForm ---------------------------------------------------------------------------------

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner)
{
    m_visible = false;
    m_left = 0;
    m_top = 0;
    m_width = 320;
    m_height = 240;
    m_color = clBtnFace;
    m_parentColor = false;
    m_parentFont = false;
    m_controlStyle = TControlStyle{csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    m_icon = std::make_unique<TIcon>();
    m_icon->SetOnChange(TNotifyEvent::FromFunction([this](TObject*) { UpdateIcon(); }));
    if (Screen)
        Screen->AddForm(this);
}

TCustomForm::~TCustomForm()
{
    Destroying();
    try {
        m_onDestroy(this);
    } catch (...) {
        Application->HandleException(this);
    }
    if (Screen)
        Screen->RemoveForm(this);
    m_activeControl = nullptr;
    m_focusedControl = nullptr;
    DestroyComponents();
}

TCustomForm* TCustomForm::Create(TClass formClass, TComponent* owner)
{
    TComponent* component = CreateComponent(formClass, owner);
    auto* form = dynamic_cast<TCustomForm*>(component);
    if (!form) {
        delete component;
        throw EInvalidCast("Invalid class typecast");
    }
    try {
        form->ReadFormData();
    } catch (...) {
        delete form;
        throw;
    }
    form->DoCreate();
    return form;
}

void TCustomForm::ReadFormData()
{
    // Ancestors' data first, as an inherited form's own data only states what differs.
    std::vector<TClass> chain;
    for (TClass type = ClassType(); type && type != TForm::StaticClass() && type != TCustomForm::StaticClass();
         type = type->ClassParent())
        chain.insert(chain.begin(), type);
    for (TClass type : chain) {
        std::string text;
        if (FindFormText(type, text))
            (void)ReadComponentText(text, this);
    }
}

void TCustomForm::DoCreate()
{
    try {
        m_onCreate(this);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TCustomForm::Loaded()
{
    TWinControl::Loaded();
    if (m_visible) {
        // Form data saying Visible = True shows the form once it is complete.
        m_visible = false;
        SetVisible(true);
    }
}

void TCustomForm::GetChildren(const TGetChildProc& proc, TComponent* root)
{
    TComponent::GetChildren(proc, root);
    TWinControl::GetChildren(proc, root);
}

bool TCustomForm::Showing() const { return Visible() && HandleAllocated(); }

TRect TCustomForm::ClientRect() const
{
    if (HandleAllocated())
        return TWinControl::ClientRect();
    // Before the window exists the client area is what the frame of these styles leaves.
    TCreateParams params;
    const_cast<TCustomForm*>(this)->CreateParams(params);
    TRect frame = Rect(0, 0, 0, 0);
    (void)AdjustWindowRectEx(&frame, params.Style, FALSE, params.ExStyle);
    return Rect(0, 0, std::max(0, Width() - (frame.right - frame.left)),
                std::max(0, Height() - (frame.bottom - frame.top)));
}

void TCustomForm::CreateParams(TCreateParams& params)
{
    TWinControl::CreateParams(params);
    params.Style &= ~(WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS);
    params.Style |= WS_CLIPCHILDREN;
    params.WndParent = nullptr;
    switch (m_borderStyle) {
    case bsNone: params.Style |= WS_POPUP; break;
    case bsSingle: case bsToolWindow: params.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable: case bsSizeToolWin: params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
        params.Style |= WS_POPUP | WS_CAPTION;
        params.ExStyle |= WS_EX_DLGMODALFRAME;
        break;
    }
    if (m_borderStyle == bsToolWindow || m_borderStyle == bsSizeToolWin)
        params.ExStyle |= WS_EX_TOOLWINDOW;
    if (m_borderStyle != bsNone && m_borderIcons.Contains(biSystemMenu)) {
        params.Style |= WS_SYSMENU;
        const bool boxes = m_borderStyle != bsDialog && m_borderStyle != bsToolWindow && m_borderStyle != bsSizeToolWin;
        if (boxes && m_borderIcons.Contains(biMinimize))
            params.Style |= WS_MINIMIZEBOX;
        if (boxes && m_borderIcons.Contains(biMaximize))
            params.Style |= WS_MAXIMIZEBOX;
    }
    if (m_formStyle == fsStayOnTop)
        params.ExStyle |= WS_EX_TOPMOST;
}

void TCustomForm::CreateWnd()
{
    TWinControl::CreateWnd();
    if (m_formStyle == fsStayOnTop)
        (void)SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    UpdateIcon();
    if (m_menu)
        m_menu->SetWindowHandle(Handle());
}

void TCustomForm::SetMenu(TMainMenu* menu)
{
    if (menu == m_menu)
        return;
    m_menu = menu;
    if (m_menu)
        m_menu->FreeNotification(this);
    if (!HandleAllocated())
        return;
    if (m_menu)
        m_menu->SetWindowHandle(Handle());
    else
        (void)::SetMenu(Handle(), nullptr);
}

void TCustomForm::Notification(TComponent* component, TOperation operation)
{
    TWinControl::Notification(component, operation);
    if (operation == opRemove && component == m_menu)
        SetMenu(nullptr);
}

void TCustomForm::SetIcon(TIcon* icon)
{
    if (icon)
        m_icon->Assign(icon);
    else
        m_icon->SetHandle(nullptr);
}

void TCustomForm::UpdateIcon()
{
    if (!HandleAllocated())
        return;
    HICON icon = m_icon->Handle();
    if (!icon && Application && Application->Icon())
        icon = Application->Icon()->Handle();
    const auto lParam = reinterpret_cast<LPARAM>(icon);
    (void)SendMessageA(Handle(), WM_SETICON, ICON_SMALL, lParam);
    (void)SendMessageA(Handle(), WM_SETICON, ICON_BIG, lParam);
}

void TCustomForm::SetBorderStyle(TFormBorderStyle style)
{
    if (style == m_borderStyle)
        return;
    const int clientWidth = ClientWidth();
    const int clientHeight = ClientHeight();
    m_borderStyle = style;
    if (HandleAllocated())
        RecreateWnd();
    else if (IsLoading()) {
        // The client size in form data describes the window inside this border.
        SetClientWidth(clientWidth);
        SetClientHeight(clientHeight);
    }
}

void TCustomForm::SetBorderIcons(TBorderIcons icons)
{
    if (icons == m_borderIcons)
        return;
    m_borderIcons = icons;
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle style)
{
    if (style == m_formStyle)
        return;
    m_formStyle = style;
    if (HandleAllocated())
        (void)SetWindowPos(Handle(), style == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetActiveControl(TWinControl* control)
{
    if (control == m_activeControl)
        return;
    if (control && (control == this || GetParentForm(control) != this))
        throw EInvalidOperation("Invalid ActiveControl value");
    m_activeControl = control;
    if (control && !IsLoading() && Showing() && GetActiveWindow() == Handle() && control->CanFocus())
        control->SetFocus();
}

// A form that was never told which control to start on starts on the first one in tab order, so
// the keyboard works at once.
void TCustomForm::FocusActiveControl()
{
    if (!m_activeControl)
        m_activeControl = FindNextControl(nullptr, true, true, false);
    if (m_activeControl && m_activeControl->CanFocus())
        m_activeControl->SetFocus();
}

void TCustomForm::SetFocusedControl(TWinControl* control)
{
    if (control == m_focusedControl)
        return;
    TWinControl* previous = m_focusedControl;
    m_focusedControl = control;
    if (control != this)
        m_activeControl = control;
    if (previous)
        previous->Perform(CM_EXIT);
    if (control && control == m_focusedControl)
        control->Perform(CM_ENTER);
    Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
}

void TCustomForm::DefocusControl(TWinControl* control, bool)
{
    if (m_activeControl && control->ContainsControl(m_activeControl))
        m_activeControl = nullptr;
    if (m_focusedControl && control->ContainsControl(m_focusedControl))
        m_focusedControl = nullptr;
}

void TCustomForm::PlaceOnScreen()
{
    if (m_placed)
        return;
    m_placed = true;
    TRect area{};
    switch (m_position) {
    case poScreenCenter: area = Rect(0, 0, Screen->Width(), Screen->Height()); break;
    case poDesktopCenter: area = Screen->WorkAreaRect(); break;
    case poMainFormCenter:
        if (!Application->MainForm() || Application->MainForm() == this)
            return;
        area = Application->MainForm()->BoundsRect();
        break;
    default: return;
    }
    SetBounds(area.left + (area.right - area.left - Width()) / 2, area.top + (area.bottom - area.top - Height()) / 2,
              Width(), Height());
}

void TCustomForm::VisibleChanging()
{
    if (Visible()) {
        PlaceOnScreen();
        HandleNeeded();
        DoShow();
        (void)ShowWindow(Handle(), SW_SHOW);
    } else {
        DoHide();
        if (HandleAllocated())
            (void)ShowWindow(Handle(), SW_HIDE);
    }
    UpdateShowing();
}

void TCustomForm::DoShow()
{
    try {
        m_onShow(this);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TCustomForm::DoHide()
{
    try {
        m_onHide(this);
    } catch (...) {
        Application->HandleException(this);
    }
}

void TCustomForm::DoClose(TCloseAction& action) { m_onClose(this, action); }

bool TCustomForm::CloseQuery()
{
    bool canClose = true;
    m_onCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::Close()
{
    if (m_formState.Contains(fsModal)) {
        m_modalResult = mrCancel;
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone)
        return;
    if (Application->MainForm() == this)
        Application->Terminate();
    else if (action == caHide)
        Hide();
    else if (action == caMinimize)
        (void)ShowWindow(Handle(), SW_MINIMIZE);
    else
        Release();
}

void TCustomForm::Release() { (void)PostMessageA(Handle(), CM_RELEASE, 0, 0); }

TModalResult TCustomForm::ShowModal()
{
    if (Visible() || !Enabled() || m_formState.Contains(fsModal))
        throw EInvalidOperation("Cannot make a visible window modal");
    m_formState.Include(fsModal);
    m_modalResult = mrNone;
    Show();
    while (m_modalResult == mrNone) {
        Application->HandleMessage();
        if (Application->Terminated())
            m_modalResult = mrCancel;
        if (m_modalResult == mrNone)
            continue;
        // Closing the modal form can still be refused.
        TCloseAction action = caHide;
        if (!CloseQuery())
            action = caNone;
        else
            DoClose(action);
        if (action == caNone && !Application->Terminated())
            m_modalResult = mrNone;
    }
    m_formState.Exclude(fsModal);
    Hide();
    return m_modalResult;
}

void TCustomForm::Activate()
{
    m_formState.Include(fsActivated);
    m_onActivate(this);
}

void TCustomForm::Deactivate() { m_onDeactivate(this); }

bool TCustomForm::IsShortCut(WORD key, TShiftState shift)
{
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* menu = dynamic_cast<TMainMenu*>(Components(i)); menu && menu->IsShortCut(key, shift))
            return true;
    return false;
}

void TCustomForm::HandleDialogKey(TMessage& message)
{
    const WORD key = MessageKey(message);
    if (key == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
        SelectNext(m_activeControl, GetKeyState(VK_SHIFT) >= 0, true);
        message.Result = 1;
        return;
    }
    // As in a dialog box, the arrows move among a focused radio button's siblings and check the one reached.
    const bool arrow = key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
    const TShiftState shift = KeyDataToShiftState(message.LParam);
    if (arrow && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt) && m_activeControl &&
        m_activeControl->Parent() && IsRadioButton(m_activeControl)) {
        if (TWinControl* next = NextRadioButton(m_activeControl, key == VK_RIGHT || key == VK_DOWN)) {
            next->SetFocus();
            (void)SendMessageA(next->Handle(), BM_CLICK, 0, 0);
        }
        message.Result = 1;
        return;
    }
    Broadcast(message);
}

void TCustomForm::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CM_VISIBLECHANGED:
        VisibleChanging();
        return;
    case CM_DIALOGKEY:
        HandleDialogKey(message);
        return;
    case CM_RELEASE:
        delete this;
        return;
    case CM_RECREATEWND:
        // A form's window is made hidden and shown by VisibleChanging: a shown one must not vanish.
        TWinControl::Dispatch(message);
        if (Visible())
            (void)ShowWindow(Handle(), SW_SHOW);
        return;
    case WM_CLOSE:
        Close();
        return;
    case WM_ACTIVATE:
        TWinControl::Dispatch(message);
        if (LOWORD(message.WParam) == WA_INACTIVE) {
            Deactivate();
        } else {
            Activate();
            FocusActiveControl();
        }
        return;
    case WM_SETFOCUS:
        TWinControl::Dispatch(message);
        FocusActiveControl();
        return;
    case WM_COMMAND:
    case WM_INITMENUPOPUP:
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
        if (!m_menu || !m_menu->DispatchMenuMessage(message))
            TWinControl::Dispatch(message);
        return;
    default:
        TWinControl::Dispatch(message);
    }
}

// ---- TApplication and TScreen --------------------------------------------------------------------

TApplication* Application = nullptr;
TScreen* Screen = nullptr;

namespace {

// The unit's start-up and shut-down: the screen before the application, freed in reverse.
struct TFormsUnit {
    TFormsUnit()
    {
        Screen = new TScreen(nullptr);
        Application = new TApplication(nullptr);
        SetApplicationHandleException([](TObject* sender) {
            if (Application)
                Application->HandleException(sender);
        });
    }
    ~TFormsUnit()
    {
        delete Application;
        Application = nullptr;
        delete Screen;
        Screen = nullptr;
    }
};

const TFormsUnit g_formsUnit;

} // namespace
