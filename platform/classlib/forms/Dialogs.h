#pragma once

#include "platform/classlib/forms/Controls.h"

#include <functional>
#include <string>

// The class library's message dialogs: a caption and an icon for the kind of message, the buttons
// asked for in their fixed order, answered from the keyboard (Enter the focused button, Escape the
// cancel button, a button's underlined letter) or the mouse.

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

inline constexpr TMsgDlgButtons mbYesNoCancel{mbYes, mbNo, mbCancel};
inline constexpr TMsgDlgButtons mbYesAllNoAllCancel{mbYes, mbYesToAll, mbNo, mbNoToAll, mbCancel};
inline constexpr TMsgDlgButtons mbOKCancel{mbOK, mbCancel};
inline constexpr TMsgDlgButtons mbAbortRetryIgnore{mbAbort, mbRetry, mbIgnore};
inline constexpr TMsgDlgButtons mbAbortIgnore{mbAbort, mbIgnore};

// Shows the dialog and returns the answer (mrYes, mrCancel, ...). The default button (OK, else
// Yes, else Retry, else the first) has the focus; Escape answers Cancel, else No, else OK, and does
// nothing in a dialog with none of them. Help answers nothing: the dialog stays. mtCustom has no
// icon and the application's title as its caption. `helpCtx` is accepted and has no use here.
[[nodiscard]] TModalResult MessageDlg(const std::string& msg, TMsgDlgType dlgType, TMsgDlgButtons buttons, int helpCtx);
// An OK-only dialog with no icon, captioned with the application's title.
void ShowMessage(const std::string& msg);
// The caption a dialog of `dlgType` gets ("Warning", "Error", "Information", "Confirm", or the
// application's title for mtCustom).
[[nodiscard]] std::string MessageDlgCaption(TMsgDlgType dlgType);

// Dialogs are modal: code under test that asks the user would block. A test installs an answer here
// (called instead of showing the dialog, with the caption it would have); empty restores the dialog.
using MessageDlgHandler =
    std::function<TModalResult(const std::string& msg, const std::string& caption, TMsgDlgType, TMsgDlgButtons)>;
void SetMessageDlgHandler(MessageDlgHandler handler);
