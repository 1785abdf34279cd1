#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/GraphicsIcon.h"
#include "platform/classlib/forms/Hints.h"
#include "platform/classlib/forms/StandardClasses.h"
#include "platform/classlib/core/Resources.h"
#include "platform/classlib/core/Thread.h"
#include "platform/winapi/kernel/Threads.h"
#include "platform/winapi/user/MessageLoopHook.h"
#include "platform/winapi/user/WindowProcExceptions.h"

#include <algorithm>
#include <filesystem>

CLASSLIB_IMPLEMENT_CLASS(TApplication, TComponent, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TScreen, TComponent, nullptr, nullptr)

namespace {

constexpr const char* ApplicationWindowClass = "TApplication";

bool RegisterApplicationClass()
{
    static const bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = &DefWindowProcA;
        windowClass.lpszClassName = ApplicationWindowClass;
        return RegisterClassA(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }();
    return registered;
}

// The text of an exception box ends with a full stop, as the class library wrote it.
std::string ExceptionText(const std::string& message)
{
    if (!message.empty() && message.back() > '.')
        return message + '.';
    return message;
}

// The program's own icon (an "ICON" resource named MAINICON), else the class library's default.
void LoadIconResource(TIcon& icon)
{
    for (const char* name : {"MAINICON", "DEFAULTICON"})
        if (FindResource(nullptr, name, RT_ICON)) {
            TResourceStream stream(nullptr, name, RT_ICON);
            icon.LoadFromStream(stream);
            return;
        }
}

} // namespace

TApplication::TApplication(TComponent* owner) : TComponent(owner), m_icon(std::make_unique<TIcon>())
{
    LoadIconResource(*m_icon);
    m_icon->SetOnChange(TNotifyEvent::FromFunction([](TObject*) {
        if (Screen)
            for (int i = 0; i < Screen->FormCount(); ++i)
                Screen->Forms(i)->UpdateIcon();
    }));
    // What a window procedure lets out (the skin engine's, a hidden window's) is shown like an
    // event handler's exception, on behalf of the control the window belongs to.
    SetWindowProcExceptionHandler([this](HWND window) {
        TWinControl* control = TWinControl::FindControl(window);
        HandleException(control ? static_cast<TObject*>(control) : this);
    });
}

TApplication::~TApplication()
{
    SetWindowProcExceptionHandler(nullptr);
    DestroyComponents();
    if (m_handle)
        (void)DestroyWindow(m_handle);
}

void TApplication::SetIcon(TIcon* icon)
{
    if (icon)
        m_icon->Assign(icon);
    else
        m_icon->SetHandle(nullptr);
}

void TApplication::Initialize()
{
    RegisterStandardClasses();
    InstallLoopHooks();
}

void TApplication::InstallLoopHooks()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    // A worker handing a method over wakes the main thread's loop, which runs it when it next
    // looks at its queue.
    SetWakeMainThread([] { (void)PostThreadMessageA(MainThreadID(), WM_NULL, 0, 0); });
    SetMessageLoopHook([] {
        if (GetCurrentThreadId() != MainThreadID())
            return;
        try {
            (void)CheckSynchronize();
        } catch (...) {
            if (Application)
                Application->HandleException(Application);
        }
    });
}

HWND TApplication::Handle()
{
    if (!m_handle && RegisterApplicationClass())
        m_handle = CreateWindowExA(0, ApplicationWindowClass, m_title.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                   nullptr, nullptr);
    return m_handle;
}

std::string TApplication::ExeName() const
{
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : path.string();
}

TCustomForm* TApplication::CreateForm(TClass formClass)
{
    TCustomForm* form = TCustomForm::Create(formClass, this);
    if (!m_mainForm) {
        m_mainForm = form;
        m_mainForm->FreeNotification(this);
    }
    return form;
}

void TApplication::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == m_mainForm)
        m_mainForm = nullptr;
    if (operation == opRemove && component == m_hintControl)
        m_hintControl = nullptr;
    if (operation == opRemove && component == m_hintWindow)
        m_hintWindow = nullptr;
}

void TApplication::Run()
{
    InstallLoopHooks();
    m_terminated = false;
    if (m_mainForm && m_showMainForm)
        m_mainForm->Show();
    while (!m_terminated)
        HandleMessage();
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::HandleMessage()
{
    InstallLoopHooks();
    MSG msg;
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
        m_terminated = true;
        return;
    }
    if (got > 0)
        (void)ProcessMessage(msg);
}

void TApplication::ProcessMessages()
{
    InstallLoopHooks();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!ProcessMessage(msg))
            break;
}

bool TApplication::ProcessMessage(MSG& msg)
{
    if (msg.message == WM_QUIT) {
        m_terminated = true;
        return false;
    }
    CancelHintOn(msg);
    try {
        if (!IsKeyMessage(msg)) {
            (void)TranslateMessage(&msg);
            (void)DispatchMessageA(&msg);
        }
    } catch (...) {
        HandleException(this);
    }
    return true;
}

bool TApplication::IsKeyMessage(MSG& msg)
{
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST)
        return false;
    // Keys typed into a built-in child window of a control (an edit inside a combo box) belong
    // to the nearest window that is a control.
    TWinControl* control = nullptr;
    for (HWND window = msg.hwnd; window && !control; window = GetParent(window))
        control = TWinControl::FindControl(window);
    return control && control->Perform(CN_BASE + msg.message, msg.wParam, msg.lParam) != 0;
}

void TApplication::HandleException(TObject* sender)
{
    const std::exception_ptr current = std::current_exception();
    if (!current)
        return;
    try {
        std::rethrow_exception(current);
    } catch (const EAbort&) {
        // Aborting is the silent way out of a handler.
    } catch (const std::exception& error) {
        if (m_onException)
            m_onException(sender, error);
        else
            ShowException(error);
    } catch (...) {
        ShowException(Exception("Unknown exception"));
    }
}

void TApplication::ShowException(const std::exception& error)
{
    const auto* classError = dynamic_cast<const Exception*>(&error);
    const std::string text = ExceptionText(classError ? classError->Message() : std::string(error.what()));
    const std::string title = m_title.empty() ? std::filesystem::path(ExeName()).stem().string() : m_title;
    if (m_showException) {
        m_showException(text, title);
        return;
    }
    (void)MessageBoxA(nullptr, text.c_str(), title.c_str(), MB_OK | MB_ICONERROR);
}

// ---- TScreen -------------------------------------------------------------------------------------

TScreen::TScreen(TComponent* owner) : TComponent(owner) {}

TScreen::~TScreen() = default;

int TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }

int TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

TRect TScreen::WorkAreaRect() const
{
    TRect area{};
    if (!SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0))
        area = Rect(0, 0, Width(), Height());
    return area;
}

int TScreen::WorkAreaWidth() const
{
    const TRect area = WorkAreaRect();
    return area.right - area.left;
}

int TScreen::WorkAreaHeight() const
{
    const TRect area = WorkAreaRect();
    return area.bottom - area.top;
}

HCURSOR TScreen::Cursors(TCursor cursor) const
{
    switch (cursor) {
    case crHourGlass: return LoadCursorA(nullptr, IDC_WAIT);
    case crSizeNESW: return LoadCursorA(nullptr, IDC_SIZENESW);
    case crSizeNWSE: return LoadCursorA(nullptr, IDC_SIZENWSE);
    default: return LoadCursorA(nullptr, IDC_ARROW);
    }
}

void TScreen::SetCursor(TCursor cursor)
{
    if (cursor == m_cursor)
        return;
    m_cursor = cursor;
    (void)::SetCursor(Cursors(cursor));
}

TCustomForm* TScreen::ActiveForm() const
{
    const HWND active = GetActiveWindow();
    for (TCustomForm* form : m_forms)
        if (form->HandleAllocated() && form->Handle() == active)
            return form;
    return nullptr;
}

void TScreen::RemoveForm(TCustomForm* form) { std::erase(m_forms, form); }
