#pragma once

#include "modem/store/RecordView.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class TSqliteDatabase;

// A stored message as the read panel shows it.
struct TStoredMessage {
    std::string Name;
    std::string Number;
    std::string Text;

    friend bool operator==(const TStoredMessage&, const TStoredMessage&) = default;
};

// The rows of the SMS boxes and of the templates, read, changed and deleted by their key with
// statements of their own, so that the message or template the user opened stays the one acted
// on even when a new message has meanwhile switched the boxes' shared data source to the inbox.
class TSmsBoxRecords {
public:
    explicit TSmsBoxRecords(const std::string& programFolder);
    ~TSmsBoxRecords();
    TSmsBoxRecords(const TSmsBoxRecords&) = delete;
    TSmsBoxRecords& operator=(const TSmsBoxRecords&) = delete;

    // None when the row is gone.
    [[nodiscard]] std::optional<TStoredMessage> Message(TSmsBox box, std::int64_t key);
    // A received message read: its unread mark taken away.
    void MarkRead(std::int64_t key);
    [[nodiscard]] bool AnyUnread();
    bool Delete(TSmsBox box, std::int64_t key);
    // Every message of the box; returns how many went.
    int DeleteAll(TSmsBox box);

    [[nodiscard]] std::optional<std::string> Template(std::int64_t key);
    // False when the template is gone.
    bool ChangeTemplate(std::int64_t key, const std::string& text);

private:
    std::shared_ptr<TSqliteDatabase> m_database;
};
