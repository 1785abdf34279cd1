#include "platform/classlib/data/DBSubscriptions.h"

#include <algorithm>

namespace detail = classlib_data::detail;

TDataSetSubscription::TDataSetSubscription(std::weak_ptr<detail::TSubscriberList> list, int cookie)
    : m_list(std::move(list)), m_cookie(cookie)
{
}

TDataSetSubscription::TDataSetSubscription(TDataSetSubscription&& other) noexcept
    : m_list(std::move(other.m_list)), m_cookie(other.m_cookie)
{
    other.m_list.reset();
}

TDataSetSubscription& TDataSetSubscription::operator=(TDataSetSubscription&& other) noexcept
{
    if (this != &other) {
        Reset();
        m_list = std::move(other.m_list);
        m_cookie = other.m_cookie;
        other.m_list.reset();
    }
    return *this;
}

void TDataSetSubscription::Reset()
{
    if (const auto list = m_list.lock())
        list->Remove(m_cookie);
    m_list.reset();
}

int detail::TSubscriberList::Add(TDataSetNotifyKind kind, TDataSetNotifyEvent handler)
{
    const int cookie = NextCookie++;
    Entries.push_back({cookie, kind, std::move(handler)});
    return cookie;
}

void detail::TSubscriberList::Remove(int cookie)
{
    std::erase_if(Entries, [cookie](const Entry& entry) { return entry.Cookie == cookie; });
}

void detail::TSubscriberList::Notify(TDataSetNotifyKind kind, TDataSet* dataSet) const
{
    std::vector<int> cookies;
    for (const Entry& entry : Entries)
        if (entry.Kind == kind)
            cookies.push_back(entry.Cookie);
    for (const int cookie : cookies) {
        const auto entry = std::ranges::find(Entries, cookie, &Entry::Cookie);
        if (entry == Entries.end())
            continue;
        const TDataSetNotifyEvent handler = entry->Handler;  // the entry may go while it runs
        handler(dataSet);
    }
}
