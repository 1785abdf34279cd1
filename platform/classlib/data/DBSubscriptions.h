#pragma once

#include "platform/classlib/core/Events.h"

#include <memory>
#include <vector>

class TDataSet;

using TDataSetNotifyEvent = TEvent<TDataSet*>;

// The data-set events a helper object (a footer aggregate, ...) may follow without taking over
// the published handler, which stays the application's.
enum TDataSetNotifyKind {
    dnAfterOpen,
    dnAfterClose,
    dnAfterEdit,
    dnAfterInsert,
    dnAfterPost,
    dnAfterCancel,
    dnBeforeDelete,
    dnAfterDelete,
    dnAfterScroll,
};

namespace classlib_data::detail {
struct TSubscriberList;
}

// One subscription; unsubscribes when destroyed or reset. Outliving its data set is harmless: the
// data set's end cuts every subscription.
class TDataSetSubscription {
public:
    TDataSetSubscription() = default;
    TDataSetSubscription(std::weak_ptr<classlib_data::detail::TSubscriberList> list, int cookie);
    TDataSetSubscription(TDataSetSubscription&& other) noexcept;
    TDataSetSubscription& operator=(TDataSetSubscription&& other) noexcept;
    TDataSetSubscription(const TDataSetSubscription&) = delete;
    TDataSetSubscription& operator=(const TDataSetSubscription&) = delete;
    ~TDataSetSubscription() { Reset(); }

    void Reset();
    [[nodiscard]] bool Subscribed() const { return !m_list.expired(); }

private:
    std::weak_ptr<classlib_data::detail::TSubscriberList> m_list;
    int m_cookie = 0;
};

namespace classlib_data::detail {

// Any number of subscribers per event, called in the order they subscribed. A subscriber may
// unsubscribe itself or others while it is being called: only those still subscribed are called.
struct TSubscriberList {
    struct Entry {
        int Cookie;
        TDataSetNotifyKind Kind;
        TDataSetNotifyEvent Handler;
    };

    [[nodiscard]] int Add(TDataSetNotifyKind kind, TDataSetNotifyEvent handler);
    void Remove(int cookie);
    void Notify(TDataSetNotifyKind kind, TDataSet* dataSet) const;

    std::vector<Entry> Entries;
    int NextCookie = 1;
};

} // namespace classlib_data::detail
