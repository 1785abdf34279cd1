#include "skin/SkinManage.h"

#include "platform/classlib/core/Timers.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/kernel/Threads.h"
#include "platform/winapi/user/ScrollBarControl.h"
#include "skin/SkinData.h"
#include "skin/SkinDraw.h"
#include "skin/SkinMessageBox.h"
#include "skin/WinSkinForm.h"
#include "skin/WinSkinPopMenu.h"

#include <algorithm>
#include <cctype>

namespace {

// Never destroyed with the static objects: the program ends the manager with FreeSkinManager
// while its windows and the class library are still there.
std::unique_ptr<TSkinManage>& ManagerHolder()
{
    static auto* manager = new std::unique_ptr<TSkinManage>;
    return *manager;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

bool AnswersSkinned(HWND window)
{
    return SendMessageA(window, WM_SKIN_QUERYSKINNED, 0, 0) == 1;
}

bool IsEmpty(const RECT& rect)
{
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

} // namespace

LRESULT SkinManagerCbtHook(int code, WPARAM wParam, LPARAM lParam)
{
    TSkinManage* manager = SkinManager();
    if (code < 0 || !manager)
        return CallNextHookEx(nullptr, code, wParam, lParam);
    const auto window = reinterpret_cast<HWND>(wParam);
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* cs = reinterpret_cast<const CBT_CREATEWNDA*>(lParam)->lpcs;
        const std::string className = cs && cs->lpszClass && !IS_INTRESOURCE(cs->lpszClass) ? cs->lpszClass : "";
        if (cs && !(cs->style & WS_CHILD) && className == "#32768")
            manager->PopupCreated(window);
        else if (cs && (cs->style & SBS_SIZEGRIP) && Lower(className) == "scrollbar")
            manager->ScrollBarCreated(window, cs->hwndParent);
        else if (cs && (cs->dwExStyle & WS_EX_MDICHILD))
            (void)manager->SkinWindow(window);
    } else if (code == HCBT_DESTROYWND) {
        manager->PopupDestroyed(window);
    } else if (code == HCBT_ACTIVATE) {
        if (manager->m_startCount == 0)
            manager->m_startCount = TSkinManage::Started;
        (void)manager->SkinWindow(window);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TSkinManage* SkinManager()
{
    return ManagerHolder().get();
}

TSkinManage& EnsureSkinManager()
{
    auto& holder = ManagerHolder();
    if (!holder)
        holder = std::make_unique<TSkinManage>();
    return *holder;
}

void FreeSkinManager()
{
    // The manager is reachable while it ends: windows unskinned now may still ask for it.
    auto& holder = ManagerHolder();
    if (!holder)
        return;
    std::unique_ptr<TSkinManage> ending = std::move(holder);
    holder.reset();
    ending.reset();
}

TSkinManage::TSkinManage() : m_timer(std::make_unique<TTimer>(nullptr))
{
    m_timer->SetEnabled(false);
    m_timer->SetInterval(100);
    m_timer->SetOnTimer(TNotifyEvent::FromFunction([this](TObject*) { RunAction(); }));
    SetMessageBoxButtonPainter(PaintSkinnedBoxButton);
}

TSkinManage::~TSkinManage()
{
    SetMessageBoxButtonPainter(nullptr);
    m_startCount = Ending;
    m_on = false;
    m_timer.reset();
    UnskinAll(nullptr);
    m_popups.clear();
    if (m_hook)
        (void)UnhookWindowsHookEx(m_hook);
}

void TSkinManage::ScrollBarCreated(HWND bar, HWND parent)
{
    if (TWinSkinForm* skinner = parent ? FindFormSkinner(parent) : nullptr; skinner && !skinner->IsDead())
        skinner->ScrollBarCreated(bar);
}

void TSkinManage::InstallHook()
{
    if (!m_hook)
        m_hook = SetWindowsHookExA(WH_CBT, &SkinManagerCbtHook, nullptr, GetCurrentThreadId());
}

void TSkinManage::Register(TSkinData* data)
{
    if (std::find(m_registered.begin(), m_registered.end(), data) != m_registered.end())
        return;
    m_registered.push_back(data);
    if (!m_mainData && data->SkinFormtype() == sfMainform)
        m_mainData = data;
}

void TSkinManage::Unregister(TSkinData* data)
{
    std::erase(m_registered, data);
    if (m_current == data)
        m_current = nullptr;
    // Windows skinned with it lose their skin: their skinners would read a dead component.
    UnskinAll(data);
    std::erase_if(m_popups, [data](const auto& popup) { return popup->SkinData() == data; });
    if (m_mainData != data)
        return;
    m_mainData = nullptr;
    for (TSkinData* other : m_registered)
        if (other->SkinFormtype() == sfMainform) {
            m_mainData = other;
            break;
        }
}

TControl* TSkinManage::FormOfWindow(HWND window)
{
    if (Screen)
        for (int i = 0; i < Screen->FormCount(); ++i)
            if (TCustomForm* form = Screen->Forms(i); form->HandleAllocated() && form->Handle() == window)
                return form;
    return TSkinData::ControlOfWindow(window);
}

TSkinData* TSkinManage::ChooseSkinData(HWND window, const std::string& className) const
{
    TSkinData* chosen = nullptr;
    for (TSkinData* data : m_registered)
        if (data->SkinFormtype() == sfOnlyThisForm)
            if (auto* owner = dynamic_cast<TWinControl*>(data->Owner());
                owner && owner->HandleAllocated() && owner->Handle() == window)
                chosen = data;
    if (chosen)
        return chosen;
    const std::string lower = Lower(className);
    if (lower == "tmessageform" || lower == "#32770")
        for (TSkinData* data : m_registered)
            if (data->SkinFormtype() == sfDialog)
                chosen = data;
    if (chosen)
        return chosen;
    for (TSkinData* data : m_registered)
        if (data->SkinFormtype() == sfMainform)
            chosen = data;
    if (chosen)
        return chosen;
    return m_registered.empty() ? nullptr : m_registered.front();
}

bool TSkinManage::PassesSkinDecision(HWND window, const std::string& className) const
{
    if (!m_mainData)
        return true;
    if (Contains(Lower(className), "preview") && !m_mainData->Options().Contains(xoPreview))
        return false;
    if (className == "#32770" && (GetWindowLongA(window, GWL_STYLE) & 0x200))
        return false;
    bool doSkin = true;
    m_mainData->FormSkinDecision(window, className, doSkin);
    return doSkin;
}

bool TSkinManage::SkinWindow(HWND window)
{
    if (!m_on || !IsWindow(window))
        return false;
    Purge();
    if (AnswersSkinned(window) || FindFormSkinner(window))
        return false;
    TControl* form = FormOfWindow(window);
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(window, GWL_EXSTYLE);
    const bool mdiChild = (exStyle & WS_EX_MDICHILD) != 0;
    if (!m_bulk && (style & WS_CHILD) && !mdiChild && Lower(GetWindowClassName(GetParent(window))) != "mdiclient")
        return false;
    // Every window of this program belongs to its one module, so the module condition always holds.
    const std::string className = GetWindowClassName(window);
    RECT rect{};
    (void)GetWindowRect(window, &rect);
    if (IsEmpty(rect) && !mdiChild)
        return false;
    if (form && form->Tag() == DefaultDisableTag)
        return false;
    if (Contains(className, "TcxPopupEditPopupWindow") || className == "TApplication")
        return false;
    if (!PassesSkinDecision(window, className))
        return false;
    TSkinData* data = ChooseSkinData(window, className);
    if (!data || data->Pending())
        return false;
    auto skinner = std::make_unique<TWinSkinForm>(window, className);
    TWinSkinForm& attached = *skinner;
    m_formSkinners.push_back(std::move(skinner));
    attached.Attach(*data, form);
    (void)PostMessageA(window, WM_SKIN_START, 0, SkinStartParam);
    return true;
}

void TSkinManage::SkinForm(TCustomForm* form)
{
    if (!form || !form->Visible() || form->Parent() || !form->HandleAllocated())
        return;
    (void)SkinWindow(form->Handle());
}

TWinSkinForm* TSkinManage::FindFormSkinner(HWND window) const
{
    for (const auto& skinner : m_formSkinners)
        if (skinner->Window() == window)
            return skinner.get();
    return nullptr;
}

void TSkinManage::RemoveFormSkinner(HWND window)
{
    std::erase_if(m_formSkinners, [window](const auto& skinner) { return skinner->Window() == window; });
}

void TSkinManage::Purge()
{
    if (m_startCount == Ending)
        return;
    std::erase_if(m_formSkinners, [](const auto& skinner) { return skinner->IsDead(); });
}

void TSkinManage::PopupCreated(HWND window)
{
    if (!m_on || IsPopupSkinned(window) || AnswersSkinned(window))
        return;
    TSkinData* data = ChooseSkinData(window, "#32768");
    if (!data || data->Pending())
        return;
    const TSkinControlTypes controls = data->SkinControls();
    const bool enabled = m_popupKind == 0   ? controls.Contains(xcPopupMenu)
                         : m_popupKind == 1 ? controls.Contains(xcMainMenu) || controls.Contains(xcMenuItem)
                                            : controls.Contains(xcSystemMenu);
    if (!enabled)
        return;
    auto skinner = std::make_unique<TWinSkinPopMenu>();
    skinner->Attach(window, *data, 0);
    skinner->SetMenuBarDropDown(m_popupKind == 1);
    m_popups.push_back(std::move(skinner));
}

void TSkinManage::PopupDestroyed(HWND window)
{
    std::erase_if(m_popups, [window](const auto& popup) { return popup->Window() == window; });
    if (m_popups.empty())
        m_popupKind = 0;
}

bool TSkinManage::IsPopupSkinned(HWND window) const
{
    return std::any_of(m_popups.begin(), m_popups.end(), [window](const auto& popup) { return popup->Window() == window; });
}

TWinSkinPopMenu* TSkinManage::PopupShowing(HMENU menu) const
{
    if (!menu)
        return nullptr;
    for (const auto& popup : m_popups)
        if (popup->Window() && popup->Menu() == menu)
            return popup.get();
    return nullptr;
}

void TSkinManage::ScheduleAction(TAction action, unsigned delay)
{
    m_action = action;
    m_timer->SetEnabled(false);
    m_timer->SetInterval(delay);
    if (m_startCount != 0) {
        m_timer->SetEnabled(true);
        return;
    }
    if (action == ActionSkinAll)
        m_on = true;
    else if (action == ActionUnskinAll)
        m_on = false;
}

void TSkinManage::RunAction()
{
    m_timer->SetEnabled(false);
    TSkinData* data = m_current;
    if (!data)
        return;
    const TAction action = m_action;
    m_action = ActionNone;
    if (data->SkinFormtype() == sfOnlyThisForm)
        RunFormAction(action, *data);
    else
        RunMainAction(action, *data);
    if (action == ActionReskin)
        return;
    // The action may have ended the component's registration; only a registered one is told.
    if (std::find(m_registered.begin(), m_registered.end(), data) != m_registered.end())
        data->NotifySkinChanged();
    m_current = nullptr;
}

std::vector<TWinSkinForm*> TSkinManage::SkinnersOf(const TSkinData* data) const
{
    std::vector<TWinSkinForm*> skinners;
    for (const auto& skinner : m_formSkinners)
        if (!data || skinner->SkinData() == data)
            skinners.push_back(skinner.get());
    return skinners;
}

void TSkinManage::RunFormAction(TAction action, TSkinData& data)
{
    switch (action) {
    case ActionSkinAll:
        m_on = true;
        m_bulk = true;
        if (Screen)
            for (int i = 0; i < Screen->FormCount(); ++i)
                if (Screen->Forms(i) == data.Owner())
                    SkinForm(Screen->Forms(i));
        m_bulk = false;
        break;
    case ActionUnskinAll: {
        m_on = false;
        Purge();
        const auto skinners = SkinnersOf(&data);
        if (!skinners.empty())
            UnskinOne(*skinners.back());
        break;
    }
    case ActionSkinChanged: {
        Purge();
        const auto skinners = SkinnersOf(&data);
        if (!skinners.empty()) {
            skinners.front()->DropCaptionButtons();
            skinners.front()->CalcBorders();
            skinners.front()->SkinChanged();
        }
        break;
    }
    case ActionFreeDead:
        Purge();
        break;
    default:
        break;
    }
}

void TSkinManage::RunMainAction(TAction action, TSkinData& data)
{
    switch (action) {
    case ActionSkinAll:
        m_on = true;
        m_hideWhileStarting = false;
        m_bulk = true;
        Purge();
        if (Screen)
            for (int i = Screen->FormCount() - 1; i >= 0; --i)
                SkinForm(Screen->Forms(i));
        m_bulk = false;
        break;
    case ActionUnskinAll:
        m_on = false;
        Purge();
        UnskinAll(nullptr);
        break;
    case ActionSkinChanged: {
        Purge();
        const auto skinners = SkinnersOf(&data);
        for (TWinSkinForm* skinner : skinners) {
            skinner->DropCaptionButtons();
            skinner->CalcBorders();
        }
        for (TWinSkinForm* skinner : skinners)
            skinner->SkinChanged();
        break;
    }
    case ActionFreeDead:
        Purge();
        break;
    case ActionReskin:
        if (TWinSkinForm* skinner = FindFormSkinner(m_reskinWindow)) {
            skinner->Unskin();
            RemoveFormSkinner(m_reskinWindow);
        }
        (void)SkinWindow(m_reskinWindow);
        break;
    default:
        break;
    }
}

void TSkinManage::UnskinOne(TWinSkinForm& skinner)
{
    const HWND window = skinner.Window();
    skinner.Unskin();
    RemoveFormSkinner(window);
    if (IsWindow(window)) {
        (void)InvalidateRect(window, nullptr, TRUE);
        (void)UpdateWindow(window);
    }
}

void TSkinManage::UnskinAll(const TSkinData* only)
{
    for (TWinSkinForm* skinner : SkinnersOf(only))
        UnskinOne(*skinner);
}

void TSkinManage::DropCaptionButtons(const TSkinData* data)
{
    for (TWinSkinForm* skinner : SkinnersOf(data))
        skinner->DropCaptionButtons();
}
