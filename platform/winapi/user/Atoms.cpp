#include "platform/winapi/user/WinUser.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace {

constexpr ATOM FIRST_STRING_ATOM = 0xC000;
constexpr std::size_t MAX_ATOM_NAME = 255;

struct AtomEntry {
    std::string name;
    int references = 0;
};

// One table for the program: string atoms are compared without regard to case and counted;
// integer atoms ("#123" or MAKEINTATOM) are not stored.
class AtomTable {
public:
    static AtomTable& Instance()
    {
        // Never destroyed: objects freed at program exit (the class library's Application and its
        // forms) still reach it after static destructors have begun.
        static AtomTable& table = *new AtomTable;
        return table;
    }

    ATOM Add(LPCSTR name, bool counted)
    {
        if (const auto integer = IntegerAtom(name))
            return *integer;
        if (!ValidName(name))
            return 0;
        std::lock_guard lock(m_mutex);
        if (const ATOM existing = FindLocked(name)) {
            if (counted)
                ++m_atoms[existing].references;
            return existing;
        }
        for (unsigned atom = FIRST_STRING_ATOM; atom <= 0xFFFF; ++atom) {
            if (!m_atoms.contains(static_cast<ATOM>(atom))) {
                m_atoms[static_cast<ATOM>(atom)] = AtomEntry{name, 1};
                return static_cast<ATOM>(atom);
            }
        }
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }

    ATOM Find(LPCSTR name)
    {
        if (const auto integer = IntegerAtom(name))
            return *integer;
        if (!ValidName(name))
            return 0;
        std::lock_guard lock(m_mutex);
        const ATOM atom = FindLocked(name);
        if (!atom)
            SetLastError(ERROR_FILE_NOT_FOUND);
        return atom;
    }

    ATOM Delete(ATOM atom)
    {
        if (atom < FIRST_STRING_ATOM)
            return 0;
        std::lock_guard lock(m_mutex);
        const auto found = m_atoms.find(atom);
        if (found == m_atoms.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return atom;
        }
        if (--found->second.references <= 0)
            m_atoms.erase(found);
        return 0;
    }

    std::optional<std::string> Name(ATOM atom)
    {
        if (atom == 0)
            return std::nullopt;
        if (atom < FIRST_STRING_ATOM)
            return "#" + std::to_string(atom);
        std::lock_guard lock(m_mutex);
        const auto found = m_atoms.find(atom);
        if (found == m_atoms.end())
            return std::nullopt;
        return found->second.name;
    }

private:
    static std::optional<ATOM> IntegerAtom(LPCSTR name)
    {
        if (IS_INTRESOURCE(name))
            return static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
        if (name[0] != '#' || name[1] == '\0')
            return std::nullopt;
        unsigned value = 0;
        for (const char* digit = name + 1; *digit; ++digit) {
            if (!std::isdigit(static_cast<unsigned char>(*digit)) || value >= FIRST_STRING_ATOM)
                return std::nullopt;
            value = value * 10 + static_cast<unsigned>(*digit - '0');
        }
        return value < FIRST_STRING_ATOM ? std::optional<ATOM>(static_cast<ATOM>(value)) : std::nullopt;
    }

    static bool ValidName(LPCSTR name)
    {
        const std::size_t length = std::strlen(name);
        if (length == 0 || length > MAX_ATOM_NAME) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
        return true;
    }

    ATOM FindLocked(LPCSTR name) const
    {
        for (const auto& [atom, entry] : m_atoms)
            if (EqualNoCase(entry.name, name))
                return atom;
        return 0;
    }

    static bool EqualNoCase(const std::string& a, const char* b)
    {
        const std::size_t length = std::strlen(b);
        return a.size() == length && std::equal(a.begin(), a.end(), b, [](char x, char y) {
                   return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
               });
    }

    std::mutex m_mutex;
    std::map<ATOM, AtomEntry> m_atoms;
};

} // namespace

ATOM GlobalAddAtomA(LPCSTR lpString)
{
    if (!lpString) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return AtomTable::Instance().Add(lpString, true);
}

ATOM GlobalDeleteAtom(ATOM nAtom)
{
    return AtomTable::Instance().Delete(nAtom);
}

ATOM GlobalFindAtomA(LPCSTR lpString)
{
    if (!lpString) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return AtomTable::Instance().Find(lpString);
}

UINT GlobalGetAtomNameA(ATOM nAtom, LPSTR lpBuffer, int nSize)
{
    const auto name = AtomTable::Instance().Name(nAtom);
    if (!name || !lpBuffer || nSize <= 0) {
        SetLastError(name ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return 0;
    }
    const std::size_t count = std::min(name->size(), static_cast<std::size_t>(nSize - 1));
    std::memcpy(lpBuffer, name->data(), count);
    lpBuffer[count] = '\0';
    return static_cast<UINT>(count);
}

UINT RegisterWindowMessageA(LPCSTR lpString)
{
    if (!lpString || IS_INTRESOURCE(lpString) || lpString[0] == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // Registered messages live as long as the program: the name is never deleted.
    const ATOM atom = AtomTable::Instance().Add(lpString, false);
    return atom >= FIRST_STRING_ATOM ? atom : 0;
}
