#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A dial-up phonebook (rasphone.pbk): INI text whose sections are the entries. Section and key
// names compare case-insensitively, as the profile functions that write the file do; a name that
// appears twice counts once (the first), and so does a key within a section (the first: an entry
// has both "Device=<modem name>" and a later "DEVICE=modem").
// Limits: a file over 1 MiB is refused (read as empty); lines end with LF or CR LF.
struct PhonebookEntry {
    std::string name;
    std::vector<std::pair<std::string, std::string>> values;

    // The value of the first `key` line, trimmed; "" when there is none.
    [[nodiscard]] std::string Value(std::string_view key) const;
    [[nodiscard]] bool HasKey(std::string_view key) const;
};

class Phonebook {
public:
    [[nodiscard]] static Phonebook Parse(std::string_view text);
    // A missing, unreadable or oversized file is an empty phonebook.
    [[nodiscard]] static Phonebook Load(const std::string& path);
    // The phonebook(s) RasDialA and RasEnumEntriesA use: the given file (a Windows-style path is
    // translated), or with null the user's and then the all-users default phonebook, merged.
    [[nodiscard]] static Phonebook LoadForCall(const char* phonebookPath);

    [[nodiscard]] const std::vector<PhonebookEntry>& Entries() const { return m_entries; }
    [[nodiscard]] const PhonebookEntry* Find(std::string_view name) const;
    // Adds the entries of `other` whose names this one lacks.
    void Merge(const Phonebook& other);

private:
    PhonebookEntry& EntryNamed(std::string_view name);

    std::vector<PhonebookEntry> m_entries;
};

// The user's and the all-users default phonebook paths, as the manager writes them.
[[nodiscard]] std::vector<std::string> DefaultPhonebookPaths();
