#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One key of an in-memory registry tree. Names compare case-insensitively (ASCII), as the
// registry's do; subkeys enumerate in name order, values in the order they were set.
struct RegKeyNode {
    struct Value {
        std::string name;
        std::string data; // a string value's text, without the terminating NUL
    };

    std::string name;
    std::vector<Value> values;
    std::vector<std::unique_ptr<RegKeyNode>> subKeys;

    // Subkeys are owned through pointers, so a const key still hands out its subkeys for change
    // to the tree that owns it; readers hold a const tree.
    [[nodiscard]] RegKeyNode* FindSubKey(std::string_view subName) const;
    [[nodiscard]] const Value* FindValue(std::string_view valueName) const;
    // Adds the value or replaces the data of the one with that name.
    void SetValue(std::string_view valueName, std::string data);
};

// A registry tree under one root. Paths are backslash-separated; leading and trailing
// backslashes are ignored, an empty component ("a\\b") names no key.
class RegistryTree {
public:
    [[nodiscard]] const RegKeyNode& Root() const { return m_root; }

    // The key at `path` below `base`, or nullptr.
    [[nodiscard]] static const RegKeyNode* Find(const RegKeyNode& base, std::string_view path);
    [[nodiscard]] const RegKeyNode* Find(std::string_view path) const { return Find(m_root, path); }

    // The key at `path`, created with its parents when missing; nullptr for a malformed path.
    RegKeyNode* Force(std::string_view path);
    // Removes the key at `path` with everything below it; false when there is none.
    bool Remove(std::string_view path);

private:
    RegKeyNode m_root;
};

// True when both names are equal ignoring ASCII case.
[[nodiscard]] bool SameRegistryName(std::string_view a, std::string_view b);

// The predefined roots, in the order of their Win32 key numbers (0x80000000 upwards).
enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users, PerformanceData, CurrentConfig, DynData };

// "HKEY_LOCAL_MACHINE" or its short form "HKLM", any case; nothing for another name.
[[nodiscard]] std::optional<RegistryRoot> RegistryRootFromName(std::string_view name);
