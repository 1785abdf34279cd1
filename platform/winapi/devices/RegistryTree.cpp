#include "platform/winapi/devices/RegistryTree.h"

#include <algorithm>
#include <optional>

namespace {

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool LessIgnoringCase(std::string_view a, std::string_view b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return LowerAscii(x) < LowerAscii(y); });
}

std::string_view TrimBackslashes(std::string_view path)
{
    while (!path.empty() && path.front() == '\\')
        path.remove_prefix(1);
    while (!path.empty() && path.back() == '\\')
        path.remove_suffix(1);
    return path;
}

// The components of `path`, or nothing when one of them is empty.
std::optional<std::vector<std::string_view>> SplitPath(std::string_view path)
{
    std::vector<std::string_view> parts;
    path = TrimBackslashes(path);
    while (!path.empty()) {
        const auto end = path.find('\\');
        const auto part = path.substr(0, end);
        if (part.empty())
            return std::nullopt;
        parts.push_back(part);
        if (end == std::string_view::npos)
            break;
        path.remove_prefix(end + 1);
    }
    return parts;
}

} // namespace

bool SameRegistryName(std::string_view a, std::string_view b)
{
    return a.size() == b.size()
        && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

RegKeyNode* RegKeyNode::FindSubKey(std::string_view subName) const
{
    for (const auto& key : subKeys)
        if (SameRegistryName(key->name, subName))
            return key.get();
    return nullptr;
}

const RegKeyNode::Value* RegKeyNode::FindValue(std::string_view valueName) const
{
    for (const auto& value : values)
        if (SameRegistryName(value.name, valueName))
            return &value;
    return nullptr;
}

void RegKeyNode::SetValue(std::string_view valueName, std::string data)
{
    for (auto& value : values)
        if (SameRegistryName(value.name, valueName)) {
            value.data = std::move(data);
            return;
        }
    values.push_back({std::string(valueName), std::move(data)});
}

const RegKeyNode* RegistryTree::Find(const RegKeyNode& base, std::string_view path)
{
    const auto parts = SplitPath(path);
    if (!parts)
        return nullptr;
    const RegKeyNode* key = &base;
    for (const auto part : *parts) {
        key = key->FindSubKey(part);
        if (!key)
            return nullptr;
    }
    return key;
}

RegKeyNode* RegistryTree::Force(std::string_view path)
{
    const auto parts = SplitPath(path);
    if (!parts)
        return nullptr;
    RegKeyNode* key = &m_root;
    for (const auto part : *parts) {
        auto& subKeys = key->subKeys;
        const auto at = std::lower_bound(subKeys.begin(), subKeys.end(), part,
                                         [](const auto& sub, std::string_view name) { return LessIgnoringCase(sub->name, name); });
        if (at != subKeys.end() && SameRegistryName((*at)->name, part)) {
            key = at->get();
            continue;
        }
        auto created = std::make_unique<RegKeyNode>();
        created->name = std::string(part);
        key = subKeys.insert(at, std::move(created))->get();
    }
    return key;
}

bool RegistryTree::Remove(std::string_view path)
{
    auto parts = SplitPath(path);
    if (!parts || parts->empty())
        return false;
    const auto leaf = parts->back();
    parts->pop_back();
    RegKeyNode* parent = &m_root;
    for (const auto part : *parts) {
        parent = parent->FindSubKey(part);
        if (!parent)
            return false;
    }
    auto& subKeys = parent->subKeys;
    const auto before = subKeys.size();
    std::erase_if(subKeys, [&](const auto& sub) { return SameRegistryName(sub->name, leaf); });
    return subKeys.size() != before;
}

std::optional<RegistryRoot> RegistryRootFromName(std::string_view name)
{
    struct RootName {
        const char* longName;
        const char* shortName;
        RegistryRoot root;
    };
    static constexpr RootName Names[] = {
        {"HKEY_CLASSES_ROOT", "HKCR", RegistryRoot::ClassesRoot},
        {"HKEY_CURRENT_USER", "HKCU", RegistryRoot::CurrentUser},
        {"HKEY_LOCAL_MACHINE", "HKLM", RegistryRoot::LocalMachine},
        {"HKEY_USERS", "HKU", RegistryRoot::Users},
        {"HKEY_PERFORMANCE_DATA", "HKPD", RegistryRoot::PerformanceData},
        {"HKEY_CURRENT_CONFIG", "HKCC", RegistryRoot::CurrentConfig},
        {"HKEY_DYN_DATA", "HKDD", RegistryRoot::DynData},
    };
    for (const auto& entry : Names)
        if (SameRegistryName(name, entry.longName) || SameRegistryName(name, entry.shortName))
            return entry.root;
    return std::nullopt;
}
