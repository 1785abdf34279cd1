#pragma once

#include "modem/store/RecordView.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class TSqliteDatabase;

// The rows of the three call logs, read and deleted by their key with statements of their own, so
// that the row the user chose is the one acted on even when a new call has since switched the
// call-history grids to another log.
class TCallHistoryRecords {
public:
    explicit TCallHistoryRecords(const std::string& programFolder);
    ~TCallHistoryRecords();
    TCallHistoryRecords(const TCallHistoryRecords&) = delete;
    TCallHistoryRecords& operator=(const TCallHistoryRecords&) = delete;

    // The row's NUM; none when the row is gone.
    [[nodiscard]] std::optional<std::string> Number(TCallList list, std::int64_t key);
    bool Delete(TCallList list, std::int64_t key);
    // Every row of the log; returns how many went.
    int DeleteAll(TCallList list);

private:
    std::shared_ptr<TSqliteDatabase> m_database;
};
