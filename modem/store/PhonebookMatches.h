#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TSqliteDatabase;

// A contact offered while a number is typed.
struct TContactMatch {
    std::string Name;
    std::string Number;
};

// The smart-dial lookup of the call and SMS pages: the contacts whose number begins with the
// digits typed so far, in name order. It runs a parameterised statement of its own, so the typed
// text is a value, never filter or SQL syntax ("*", "#", "%", "_" and quotes match themselves),
// and the phonebook page's query keeps its rows, its filter and its current row.
class TPhonebookMatches {
public:
    explicit TPhonebookMatches(const std::string& programFolder);
    ~TPhonebookMatches();
    TPhonebookMatches(const TPhonebookMatches&) = delete;
    TPhonebookMatches& operator=(const TPhonebookMatches&) = delete;

    // Nobody for an empty prefix.
    [[nodiscard]] std::vector<TContactMatch> StartingWith(std::string_view prefix);

private:
    [[nodiscard]] TSqliteDatabase& Database();

    std::string m_path;
    std::shared_ptr<TSqliteDatabase> m_database;
};
