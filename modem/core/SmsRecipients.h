#pragma once

#include <string>
#include <vector>

// The recipients of the SMS being composed: a display name and a number each, in the order they
// were added, each number at most once (compared without regard to letter case, so that a number
// typed again, or picked again from the phonebook, is not sent twice).
class TSmsRecipients {
public:
    struct TRecipient {
        std::string Name;
        std::string Number;
    };

    // False, changing nothing, when the number is already among the recipients (its name is not
    // updated either).
    bool Add(const std::string& name, const std::string& number);
    // Nothing when there is no recipient at `index`.
    void Delete(int index);
    void Clear() { m_recipients.clear(); }

    [[nodiscard]] int Count() const { return static_cast<int>(m_recipients.size()); }
    [[nodiscard]] const TRecipient& At(int index) const { return m_recipients.at(static_cast<std::size_t>(index)); }
    [[nodiscard]] const std::vector<TRecipient>& All() const { return m_recipients; }

private:
    std::vector<TRecipient> m_recipients;
};

// The send queue's item for one recipient: "number*name*text". The queue splits an item at its
// first two "*", so a "*" in the name would carry the rest of the name into the text: the name's
// "*" become spaces.
[[nodiscard]] std::string SmsQueueItem(const TSmsRecipients::TRecipient& recipient, const std::string& text);

// The height of the recipient list: 25 with no recipient, 16 more per recipient from 41 for one
// up to eight, and `currentHeight` (unchanged) past eight.
[[nodiscard]] int RecipientListHeight(int count, int currentHeight);
