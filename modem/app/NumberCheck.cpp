#include "modem/app/NumberCheck.h"

#include "modem/core/ATCommands.h"

#include "platform/classlib/forms/Dialogs.h"

bool AcceptNumber(const std::string& number)
{
    if (!number.empty() && IsDialString(number))
        return true;
    (void)MessageDlg(RefusedNumberText(number), mtWarning, TMsgDlgButtons{mbOK}, 0);
    return false;
}

std::string RefusedNumberText(const std::string& number)
{
    return "\"" + number + "\" is not a phone number.\nA number holds only digits, *, # and +, at most "
           + std::to_string(MaxDialLength) + " of them.";
}
