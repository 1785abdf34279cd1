#include "modem/core/SmsRecipients.h"

#include "platform/rtl/Strings.h"

#include <algorithm>

namespace {

constexpr int EmptyListHeight = 25;
constexpr int ListHeightBase = 41;
constexpr int RecipientRowHeight = 16;
constexpr int MostRowsShown = 8;

} // namespace

bool TSmsRecipients::Add(const std::string& name, const std::string& number)
{
    const bool known = std::any_of(m_recipients.begin(), m_recipients.end(),
                                   [&](const TRecipient& each) { return SameText(each.Number, number); });
    if (known)
        return false;
    m_recipients.push_back({name, number});
    return true;
}

void TSmsRecipients::Delete(int index)
{
    if (index >= 0 && index < Count())
        m_recipients.erase(m_recipients.begin() + index);
}

std::string SmsQueueItem(const TSmsRecipients::TRecipient& recipient, const std::string& text)
{
    std::string name = recipient.Name;
    std::replace(name.begin(), name.end(), '*', ' ');
    return recipient.Number + "*" + name + "*" + text;
}

int RecipientListHeight(int count, int currentHeight)
{
    if (count <= 0)
        return EmptyListHeight;
    if (count > MostRowsShown)
        return currentHeight;
    return count * RecipientRowHeight + ListHeightBase;
}
