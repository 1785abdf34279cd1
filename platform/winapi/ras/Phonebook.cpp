#include "platform/winapi/ras/Phonebook.h"

#include "platform/winapi/shell/ShlObj.h"
#include "platform/winapi/shell/ShellFolders.h"
#include "platform/winapi/shell/WindowsPaths.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace {

constexpr std::size_t MaxFileSize = 1024 * 1024;
constexpr std::string_view PhonebookUnderFolder = "\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk";

std::string_view Trim(std::string_view text)
{
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool SameText(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

} // namespace

bool PhonebookEntry::HasKey(std::string_view key) const
{
    return std::any_of(values.begin(), values.end(), [&](const auto& pair) { return SameText(pair.first, key); });
}

std::string PhonebookEntry::Value(std::string_view key) const
{
    for (const auto& [name, value] : values)
        if (SameText(name, key))
            return value;
    return "";
}

Phonebook Phonebook::Parse(std::string_view text)
{
    Phonebook book;
    PhonebookEntry* current = nullptr;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const auto line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            current = &book.EntryNamed(Trim(line.substr(1, line.size() - 2)));
            continue;
        }
        const auto equals = line.find('=');
        if (!current || equals == std::string_view::npos || line.front() == ';')
            continue;
        const auto key = Trim(line.substr(0, equals));
        if (!current->HasKey(key))
            current->values.emplace_back(std::string(key), std::string(Trim(line.substr(equals + 1))));
    }
    return book;
}

Phonebook Phonebook::Load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    std::string text(MaxFileSize + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    const auto size = static_cast<std::size_t>(in.gcount());
    if (size > MaxFileSize)
        return {};
    text.resize(size);
    return Parse(text);
}

Phonebook Phonebook::LoadForCall(const char* phonebookPath)
{
    if (phonebookPath)
        return Load(LinuxPathFromWindows(phonebookPath));
    Phonebook book;
    for (const auto& path : DefaultPhonebookPaths())
        book.Merge(Load(path));
    return book;
}

const PhonebookEntry* Phonebook::Find(std::string_view name) const
{
    for (const auto& entry : m_entries)
        if (SameText(entry.name, name))
            return &entry;
    return nullptr;
}

void Phonebook::Merge(const Phonebook& other)
{
    for (const auto& entry : other.m_entries)
        if (!Find(entry.name))
            m_entries.push_back(entry);
}

PhonebookEntry& Phonebook::EntryNamed(std::string_view name)
{
    for (auto& entry : m_entries)
        if (SameText(entry.name, name))
            return entry;
    m_entries.push_back({std::string(name), {}});
    return m_entries.back();
}

std::vector<std::string> DefaultPhonebookPaths()
{
    std::vector<std::string> paths;
    for (const int folder : {CSIDL_APPDATA, CSIDL_COMMON_APPDATA})
        paths.push_back(LinuxPathFromWindows(SpecialFolderPath(folder) + std::string(PhonebookUnderFolder)));
    return paths;
}
