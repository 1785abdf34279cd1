#pragma once

#include "platform/rtl/Exceptions.h"

#include <cstdint>
#include <string>
#include <string_view>

class TStrings;

RTL_DECLARE_EXCEPTION(EIniFileException, Exception);

// An INI file read and written with profile-string semantics (see TIniText for the reading rules).
// Nothing is cached: every read looks at the file as it is now, and every change is written at
// once, editing the file in place so that all it does not change stays byte for byte; UpdateFile
// therefore has nothing left to do. A missing or unreadable file reads as empty, and so does one
// larger than MaxIniFileSize. The first write creates the file (its folder must exist).
//
// A write that cannot be done raises EIniFileException "Unable to write to <file>" and leaves the
// file as it was: the folder is missing or not writable, the file exists but cannot be read or is
// too large, or a name or value could not be read back (see TIniText::SetValue). The new text is
// written to a temporary file beside the old one and renamed over it, so a crash mid-write never
// leaves half a file; the file's permissions are kept.
class TIniFile {
public:
    static constexpr std::int64_t MaxIniFileSize = 16 * 1024 * 1024;

    explicit TIniFile(std::string fileName);

    [[nodiscard]] const std::string& FileName() const { return m_fileName; }

    [[nodiscard]] std::string ReadString(std::string_view section, std::string_view ident,
                                         std::string_view defaultValue) const;
    void WriteString(std::string_view section, std::string_view ident, std::string_view value);
    // Decimal, or hexadecimal with '$' or "0x"; anything else gives the default.
    [[nodiscard]] int ReadInteger(std::string_view section, std::string_view ident, int defaultValue) const;
    void WriteInteger(std::string_view section, std::string_view ident, int value);

    // True when a header of that name is there, keys or not.
    [[nodiscard]] bool SectionExists(std::string_view section) const;
    [[nodiscard]] bool ValueExists(std::string_view section, std::string_view ident) const;
    // Each replaces the contents of `strings`: key names, section names, "key=value" items.
    void ReadSection(std::string_view section, TStrings& strings) const;
    void ReadSections(TStrings& strings) const;
    void ReadSectionValues(std::string_view section, TStrings& strings) const;

    void DeleteKey(std::string_view section, std::string_view ident);
    void EraseSection(std::string_view section);
    void UpdateFile() {}

private:
    std::string m_fileName;
};
