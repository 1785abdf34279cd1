#pragma once

#include <memory>
#include <optional>
#include <string>

class TADOQuery;

// The number-to-name lookup of calls and messages: the NAME of the first contact, in name order,
// whose NUM contains the number's last 11 characters (the whole number when shorter), or, when
// none does, its last 7 - so that a number written with or without its country or area code still
// finds its contact.
//
// It reads the phonebook through a query of its own, never through the one the phonebook page
// shows, so a lookup neither moves that page's current row nor leaves a filter on it. Every
// character of the number is taken literally ('*', '#', '%' and quotes included); an empty number
// finds nobody.
class TNameLookup {
public:
    explicit TNameLookup(const std::string& programFolder);
    ~TNameLookup();
    TNameLookup(const TNameLookup&) = delete;
    TNameLookup& operator=(const TNameLookup&) = delete;

    [[nodiscard]] std::optional<std::string> NameOf(const std::string& number);

private:
    [[nodiscard]] bool FindTail(const std::string& number, int length);

    std::unique_ptr<TADOQuery> m_phonebook;
};
