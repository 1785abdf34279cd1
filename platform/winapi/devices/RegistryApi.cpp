#include "platform/winapi/devices/WinReg.h"

#include "platform/winapi/devices/DeviceView.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace {

// An open key: the view it was opened in, kept alive for as long as the key is open, and the
// key's place in it.
struct OpenKey {
    std::shared_ptr<const RegistryTree> tree;
    const RegKeyNode* node = nullptr;
};

// Open keys by handle. Handle numbers are never reused, so a closed or made-up handle is
// recognised instead of reaching another key.
class KeyTable {
public:
    HKEY Add(OpenKey key)
    {
        std::lock_guard lock(m_lock);
        const auto id = m_nextId++;
        m_keys.emplace(id, std::move(key));
        return reinterpret_cast<HKEY>(id);
    }

    std::optional<OpenKey> Find(HKEY handle)
    {
        std::lock_guard lock(m_lock);
        const auto at = m_keys.find(reinterpret_cast<std::uintptr_t>(handle));
        if (at == m_keys.end())
            return std::nullopt;
        return at->second;
    }

    bool Remove(HKEY handle)
    {
        std::lock_guard lock(m_lock);
        return m_keys.erase(reinterpret_cast<std::uintptr_t>(handle)) != 0;
    }

private:
    std::mutex m_lock;
    std::unordered_map<std::uintptr_t, OpenKey> m_keys;
    std::uintptr_t m_nextId = 1;
};

KeyTable& Keys()
{
    static KeyTable table;
    return table;
}

std::optional<RegistryRoot> PredefinedRoot(HKEY handle)
{
    const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                          HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA};
    for (std::size_t i = 0; i < std::size(roots); ++i)
        if (handle == roots[i])
            return static_cast<RegistryRoot>(i);
    return std::nullopt;
}

// A predefined key stands for its root in a view made now; any other handle must be open.
std::optional<OpenKey> ResolveKey(HKEY handle)
{
    if (const auto root = PredefinedRoot(handle)) {
        auto tree = BuildRegistryView(*root);
        const auto* node = &tree->Root();
        return OpenKey{std::move(tree), node};
    }
    return Keys().Find(handle);
}

constexpr bool IsWriteAccess(REGSAM access)
{
    return (access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK)) != 0;
}

// Copies `name` and its NUL into a buffer of *capacity characters, as the enumeration calls do.
LSTATUS CopyName(const std::string& name, LPSTR buffer, LPDWORD capacity)
{
    if (!buffer || !capacity)
        return ERROR_INVALID_PARAMETER;
    if (*capacity < name.size() + 1)
        return ERROR_MORE_DATA;
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    *capacity = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

// Reports a string value's type and copies its text and NUL, or only its size when no buffer is
// given.
LSTATUS CopyStringData(const std::string& data, LPDWORD type, LPBYTE buffer, LPDWORD size)
{
    if (type)
        *type = REG_SZ;
    const auto needed = static_cast<DWORD>(data.size() + 1);
    if (buffer && !size)
        return ERROR_INVALID_PARAMETER;
    if (!size)
        return ERROR_SUCCESS;
    const auto capacity = *size;
    *size = needed;
    if (!buffer)
        return ERROR_SUCCESS;
    if (capacity < needed)
        return ERROR_MORE_DATA;
    std::memcpy(buffer, data.c_str(), needed);
    return ERROR_SUCCESS;
}

void Set(LPDWORD target, std::size_t value)
{
    if (target)
        *target = static_cast<DWORD>(value);
}

} // namespace

LSTATUS RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult)
{
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    const auto base = ResolveKey(hKey);
    if (!base)
        return ERROR_INVALID_HANDLE;
    if (IsWriteAccess(samDesired))
        return ERROR_ACCESS_DENIED;
    const auto* node = RegistryTree::Find(*base->node, lpSubKey ? lpSubKey : "");
    if (!node)
        return ERROR_FILE_NOT_FOUND;
    *phkResult = Keys().Add({base->tree, node});
    return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyExA(HKEY hKey, LPCSTR, DWORD, LPSTR, DWORD, REGSAM, void*, PHKEY phkResult, LPDWORD)
{
    if (phkResult)
        *phkResult = nullptr;
    if (!PredefinedRoot(hKey) && !Keys().Find(hKey))
        return ERROR_INVALID_HANDLE;
    return ERROR_ACCESS_DENIED;
}

LSTATUS RegSetValueExA(HKEY hKey, LPCSTR, DWORD, DWORD, const BYTE*, DWORD)
{
    if (!PredefinedRoot(hKey) && !Keys().Find(hKey))
        return ERROR_INVALID_HANDLE;
    return ERROR_ACCESS_DENIED;
}

LSTATUS RegCloseKey(HKEY hKey)
{
    if (PredefinedRoot(hKey) || Keys().Remove(hKey))
        return ERROR_SUCCESS;
    return ERROR_INVALID_HANDLE;
}

LSTATUS RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData)
{
    const auto key = ResolveKey(hKey);
    if (!key)
        return ERROR_INVALID_HANDLE;
    const auto* value = key->node->FindValue(lpValueName ? lpValueName : "");
    if (!value)
        return ERROR_FILE_NOT_FOUND;
    return CopyStringData(value->data, lpType, lpData, lpcbData);
}

LSTATUS RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName, LPDWORD,
                      LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData)
{
    const auto key = ResolveKey(hKey);
    if (!key)
        return ERROR_INVALID_HANDLE;
    const auto& values = key->node->values;
    if (dwIndex >= values.size())
        return ERROR_NO_MORE_ITEMS;
    if (const auto status = CopyName(values[dwIndex].name, lpValueName, lpcchValueName); status != ERROR_SUCCESS)
        return status;
    return CopyStringData(values[dwIndex].data, lpType, lpData, lpcbData);
}

LSTATUS RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD, LPSTR lpClass,
                      LPDWORD lpcchClass, PFILETIME lpftLastWriteTime)
{
    const auto key = ResolveKey(hKey);
    if (!key)
        return ERROR_INVALID_HANDLE;
    const auto& subKeys = key->node->subKeys;
    if (dwIndex >= subKeys.size())
        return ERROR_NO_MORE_ITEMS;
    if (const auto status = CopyName(subKeys[dwIndex]->name, lpName, lpcchName); status != ERROR_SUCCESS)
        return status;
    if (lpClass && lpcchClass && *lpcchClass > 0)
        lpClass[0] = '\0';
    Set(lpcchClass, 0);
    if (lpftLastWriteTime)
        *lpftLastWriteTime = {};
    return ERROR_SUCCESS;
}

LSTATUS RegQueryInfoKeyA(HKEY hKey, LPSTR lpClass, LPDWORD lpcchClass, LPDWORD, LPDWORD lpcSubKeys,
                         LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                         LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                         PFILETIME lpftLastWriteTime)
{
    const auto key = ResolveKey(hKey);
    if (!key)
        return ERROR_INVALID_HANDLE;
    const auto& node = *key->node;
    std::size_t maxSubKey = 0, maxValueName = 0, maxValueData = 0;
    for (const auto& sub : node.subKeys)
        maxSubKey = std::max(maxSubKey, sub->name.size());
    for (const auto& value : node.values) {
        maxValueName = std::max(maxValueName, value.name.size());
        maxValueData = std::max(maxValueData, value.data.size() + 1);
    }
    if (lpClass && lpcchClass && *lpcchClass > 0)
        lpClass[0] = '\0';
    Set(lpcchClass, 0);
    Set(lpcSubKeys, node.subKeys.size());
    Set(lpcbMaxSubKeyLen, maxSubKey);
    Set(lpcbMaxClassLen, 0);
    Set(lpcValues, node.values.size());
    Set(lpcbMaxValueNameLen, maxValueName);
    Set(lpcbMaxValueLen, maxValueData);
    Set(lpcbSecurityDescriptor, 0);
    if (lpftLastWriteTime)
        *lpftLastWriteTime = {};
    return ERROR_SUCCESS;
}
