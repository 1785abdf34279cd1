#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TSqliteDatabase;

// A contact as the phonebook's detail panel shows it. Group: 0 none, 1 family, 2 friend, 3 office.
struct TContact {
    std::string Name;
    std::string Number;
    std::string Address;
    std::string Remark;
    int Group = 0;

    friend bool operator==(const TContact&, const TContact&) = default;
};

struct TTickedContact {
    std::string Name;
    std::string Number;

    friend bool operator==(const TTickedContact&, const TTickedContact&) = default;
};

// The phonebook's rows, read and written by their key with statements of its own, never through
// the query the phonebook page shows: a row the user chose stays the row that is changed, whatever
// that query's filter or current row has become meanwhile. The page runs its query again after a
// change.
class TPhonebookRecords {
public:
    explicit TPhonebookRecords(const std::string& programFolder);
    ~TPhonebookRecords();
    TPhonebookRecords(const TPhonebookRecords&) = delete;
    TPhonebookRecords& operator=(const TPhonebookRecords&) = delete;

    // None when the row is gone.
    [[nodiscard]] std::optional<TContact> Contact(std::int64_t key);
    // False when the row is gone.
    bool Change(std::int64_t key, const TContact& contact);
    // The new row's key; it starts unticked.
    std::int64_t Add(const TContact& contact);
    bool Delete(std::int64_t key);
    // Every contact of `group` (1-3), or every contact when there is none; returns how many went.
    int DeleteAll(std::optional<int> group);
    // The ticked contacts in name order, their ticks cleared.
    [[nodiscard]] std::vector<TTickedContact> TakeTicked();
    // Every contact's tick, whatever the page's filter shows.
    void ClearTicks();

private:
    std::shared_ptr<TSqliteDatabase> m_database;
};
