#include "platform/classlib/forms/Dialogs.h"

#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/user/MessageBox.h"

#include <array>
#include <filesystem>
#include <optional>

namespace {

struct ButtonDescription {
    TMsgDlgBtn button;
    const char* caption;
    TModalResult result;
};

// In the order the dialog lays them out.
constexpr std::array<ButtonDescription, 11> BUTTONS{{
    {mbYes, "&Yes", mrYes},
    {mbNo, "&No", mrNo},
    {mbOK, "OK", mrOk},
    {mbCancel, "Cancel", mrCancel},
    {mbAbort, "&Abort", mrAbort},
    {mbRetry, "&Retry", mrRetry},
    {mbIgnore, "&Ignore", mrIgnore},
    {mbAll, "&All", mrAll},
    {mbNoToAll, "N&o to All", mrNoToAll},
    {mbYesToAll, "Yes to &All", mrYesToAll},
    {mbHelp, "&Help", mrNone},
}};

MessageDlgHandler& Handler()
{
    static MessageDlgHandler handler;
    return handler;
}

UINT IconFor(TMsgDlgType dlgType)
{
    switch (dlgType) {
    case mtWarning: return MB_ICONWARNING;
    case mtError: return MB_ICONERROR;
    case mtInformation: return MB_ICONINFORMATION;
    case mtConfirmation: return MB_ICONQUESTION;
    default: return 0;
    }
}

std::optional<TMsgDlgBtn> FirstOf(TMsgDlgButtons buttons, std::initializer_list<TMsgDlgBtn> choices)
{
    for (const TMsgDlgBtn choice : choices)
        if (buttons.Contains(choice))
            return choice;
    return std::nullopt;
}

std::string ApplicationTitle()
{
    if (Application && !Application->Title().empty())
        return Application->Title();
    return Application ? std::filesystem::path(Application->ExeName()).stem().string() : std::string();
}

TModalResult ShowDialog(const std::string& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons)
{
    const std::optional<TMsgDlgBtn> defaultButton = FirstOf(buttons, {mbOK, mbYes, mbRetry});
    std::vector<MessageBoxButton> boxButtons;
    std::size_t defaultIndex = 0;
    for (const ButtonDescription& description : BUTTONS) {
        if (!buttons.Contains(description.button))
            continue;
        if (description.button == defaultButton)
            defaultIndex = boxButtons.size();
        boxButtons.push_back(MessageBoxButton{description.result, description.caption});
    }
    if (boxButtons.empty())
        return mrNone;
    const std::optional<TMsgDlgBtn> cancelButton = FirstOf(buttons, {mbCancel, mbNo, mbOK});
    const TModalResult escape = cancelButton ? BUTTONS[static_cast<std::size_t>(*cancelButton)].result : mrNone;
    return MessageBoxWithButtons(GetActiveWindow(), msg, MessageDlgCaption(dlgType), IconFor(dlgType) | MB_TASKMODAL,
                                 boxButtons, defaultIndex, escape);
}

} // namespace

std::string MessageDlgCaption(TMsgDlgType dlgType)
{
    switch (dlgType) {
    case mtWarning: return "Warning";
    case mtError: return "Error";
    case mtInformation: return "Information";
    case mtConfirmation: return "Confirm";
    default: return ApplicationTitle();
    }
}

TModalResult MessageDlg(const std::string& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons, int /*helpCtx*/)
{
    if (Handler())
        return Handler()(msg, MessageDlgCaption(dlgType), dlgType, buttons);
    return ShowDialog(msg, dlgType, buttons);
}

void ShowMessage(const std::string& msg) { (void)MessageDlg(msg, mtCustom, {mbOK}, 0); }

void SetMessageDlgHandler(MessageDlgHandler handler) { Handler() = std::move(handler); }
