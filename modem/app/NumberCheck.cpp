#include "modem/app/NumberCheck.h"

#include "modem/core/ATCommands.h"

#include "platform/classlib/forms/Dialogs.h"

bool IsPhoneNumber(std::string_view number) { return !number.empty() && IsDialString(number); }

bool AcceptNumber(const std::string& number)
{
    if (IsPhoneNumber(number))
        return true;
    (void)MessageDlg(RefusedNumberText(number), mtWarning, TMsgDlgButtons{mbOK}, 0);
    return false;
}

std::string RefusedNumberText(const std::string& number)
{
    return "\"" + number + "\" is not a phone number.\n" + NumberRuleText(MaxDialLength);
}

std::string NumberRuleText(std::size_t limit)
{
    return "A number holds only digits, *, # and +, at most " + std::to_string(limit) + " of them.";
}
