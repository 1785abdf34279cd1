#pragma once

#include "platform/classlib/core/Streams.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads INI text held in memory (the skin's INI entry) and answers lookups from it.
//
// Lines end at CR, LF or CR LF; a NUL ends the text. Lines are trimmed; empty lines and lines
// beginning ";" are dropped. A line "[...]" opens a section. Section names and keys are matched
// in any case, and the first of a repeated section or key answers. The text is held in full.
class TQuickIni {
public:
    // Reads from the stream's position to its end and parses that text in place of any earlier
    // one. A missing stream changes nothing.
    void LoadFromStream(TStream* stream);
    // Parses `text` as LoadFromStream would.
    void LoadFromText(const std::string& text);

    // The value of the first line in the section whose key is `key`; the default when the
    // section or the key is missing or that first line's value is empty.
    [[nodiscard]] std::string ReadString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue) const;
    // As ReadString, read as a decimal or hexadecimal ("$1F", "0x1F") signed 32-bit integer; the
    // default when the value is missing or does not convert.
    [[nodiscard]] std::int32_t ReadInteger(const std::string& section, const std::string& key,
                                           std::int32_t defaultValue) const;
    // Replaces the list's content with the section names in file order, brackets removed and
    // trimmed.
    void ReadSections(std::vector<std::string>& list) const;

private:
    struct Section {
        std::string header; // the trimmed header line, brackets included
        std::size_t line;   // its index in m_lines
    };

    [[nodiscard]] const Section* FindSection(const std::string& section) const;

    std::vector<std::string> m_lines;
    std::vector<Section> m_sections;
};
