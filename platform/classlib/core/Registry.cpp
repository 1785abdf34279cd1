#include "platform/classlib/core/Registry.h"

#include "platform/classlib/core/StringLists.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

constexpr REGSAM ExistenceAccess = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS;

bool IsRelative(const std::string& key)
{
    return key.empty() || key.front() != '\\';
}

std::string TrimBackslashes(const std::string& path)
{
    const auto first = path.find_first_not_of('\\');
    if (first == std::string::npos)
        return {};
    return path.substr(first, path.find_last_not_of('\\') - first + 1);
}

// Enumerates names with the buffer the key's largest name needs, as the class library does.
template <typename EnumFunction>
void EnumerateNames(DWORD count, DWORD maxLength, TStrings& strings, EnumFunction enumerate)
{
    std::vector<char> buffer(maxLength + 1);
    for (DWORD index = 0; index < count; ++index) {
        DWORD length = static_cast<DWORD>(buffer.size());
        if (enumerate(index, buffer.data(), &length) == ERROR_SUCCESS)
            strings.Add(std::string(buffer.data(), length));
    }
}

// The text of a string value up to its NUL; nothing when the key or the value is missing.
std::optional<std::string> ReadStringValue(HKEY key, const std::string& name)
{
    DWORD size = 0;
    if (!key || RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    std::string data(size, '\0');
    if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<LPBYTE>(data.data()), &size) != ERROR_SUCCESS)
        return std::nullopt;
    data.resize(std::min<std::size_t>(size, data.find('\0')));
    return data;
}

} // namespace

TRegistry::TRegistry(REGSAM access)
    : m_access(access)
{
}

TRegistry::~TRegistry()
{
    CloseKey();
}

void TRegistry::SetRootKey(HKEY rootKey)
{
    if (rootKey == m_rootKey)
        return;
    m_rootKey = rootKey;
    CloseKey();
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate)
{
    // Creating a key needs write access, which this registry never grants.
    if (canCreate)
        return false;
    return OpenWithAccess(key, m_access);
}

bool TRegistry::OpenKeyReadOnly(const std::string& key)
{
    return OpenWithAccess(key, KEY_READ);
}

bool TRegistry::OpenWithAccess(const std::string& key, REGSAM access)
{
    const HKEY opened = GetKey(key, access);
    if (!opened)
        return false;
    auto path = TrimBackslashes(key);
    if (IsRelative(key) && m_currentKey && !m_currentPath.empty())
        path = path.empty() ? m_currentPath : m_currentPath + '\\' + path;
    ChangeKey(opened, std::move(path));
    return true;
}

void TRegistry::CloseKey()
{
    if (m_currentKey)
        RegCloseKey(m_currentKey);
    m_currentKey = nullptr;
    m_currentPath.clear();
}

HKEY TRegistry::GetKey(const std::string& key, REGSAM access) const
{
    const HKEY base = (IsRelative(key) && m_currentKey) ? m_currentKey : m_rootKey;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(base, TrimBackslashes(key).c_str(), 0, access, &opened) != ERROR_SUCCESS)
        return nullptr;
    return opened;
}

void TRegistry::ChangeKey(HKEY key, std::string path)
{
    CloseKey();
    m_currentKey = key;
    m_currentPath = std::move(path);
}

bool TRegistry::KeyExists(const std::string& key) const
{
    const HKEY opened = GetKey(key, ExistenceAccess);
    if (!opened)
        return false;
    RegCloseKey(opened);
    return true;
}

bool TRegistry::ValueExists(const std::string& name) const
{
    return m_currentKey && RegQueryValueExA(m_currentKey, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void TRegistry::GetValueNames(TStrings& strings) const
{
    strings.Clear();
    DWORD count = 0, maxLength = 0;
    if (!m_currentKey
        || RegQueryInfoKeyA(m_currentKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &maxLength,
                            nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    EnumerateNames(count, maxLength, strings, [this](DWORD index, LPSTR name, LPDWORD length) {
        return RegEnumValueA(m_currentKey, index, name, length, nullptr, nullptr, nullptr, nullptr);
    });
}

void TRegistry::GetKeyNames(TStrings& strings) const
{
    strings.Clear();
    DWORD count = 0, maxLength = 0;
    if (!m_currentKey
        || RegQueryInfoKeyA(m_currentKey, nullptr, nullptr, nullptr, &count, &maxLength, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    EnumerateNames(count, maxLength, strings, [this](DWORD index, LPSTR name, LPDWORD length) {
        return RegEnumKeyExA(m_currentKey, index, name, length, nullptr, nullptr, nullptr, nullptr);
    });
}

std::string TRegistry::ReadString(const std::string& name) const
{
    return ReadStringValue(m_currentKey, name).value_or("");
}

TRegIniFile::TRegIniFile(const std::string& fileName)
    : m_fileName(fileName)
{
    OpenKeyReadOnly(fileName);
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& ident,
                                    const std::string& defaultValue) const
{
    if (!CurrentKey())
        return defaultValue;
    const HKEY sectionKey = GetKey(section, KEY_READ);
    if (!sectionKey)
        return defaultValue;
    auto value = ReadStringValue(sectionKey, ident);
    RegCloseKey(sectionKey);
    return value ? *value : defaultValue;
}
