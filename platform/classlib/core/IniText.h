#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text of an INI file with the profile-string rules of reading and editing, kept line by line
// so that an edit rewrites only the lines it must: every other line, comment, blank line and line
// ending (CR LF or LF, or none on the last line) stays byte for byte, and Text() of an unedited
// text is the input.
//
// Reading. A line whose first non-blank byte is '[' and that holds a ']' opens a section named by
// the blank-trimmed text between them. A line with '=' in a section is a key: the name is the
// trimmed text before the first '=', the value the trimmed text after it, less one pair of
// matching single or double quotes around it. Lines starting with ';', blank lines, lines without
// '=', keys with an empty name and keys before the first section are kept but never found.
// Section and key names compare case-insensitively, blanks around them ignored. A section that appears more than once reads as
// one: its first occurrence of a key wins.
//
// Limits. Any bytes are accepted (NUL, invalid UTF-8, lines of any length); only LF ends a line,
// and a CR just before it belongs to the ending. The whole text is held in memory, so the file
// layer bounds its size.
class TIniText {
public:
    TIniText() = default;
    explicit TIniText(std::string_view text);

    [[nodiscard]] std::string Text() const;

    [[nodiscard]] std::optional<std::string> Value(std::string_view section, std::string_view key) const;
    [[nodiscard]] bool HasSection(std::string_view section) const;
    // Names as first written, each once, in file order.
    [[nodiscard]] std::vector<std::string> Sections() const;
    [[nodiscard]] std::vector<std::string> Keys(std::string_view section) const;

    // Replaces the value of the key's first line, keeping the line's text up to the value; adds
    // "key=value" after the last key of the section's first occurrence; or appends the section.
    // New lines take the line ending the text already uses (CR LF for a text that has none).
    // Returns false, changing nothing, for what cannot be written back and read again: an empty
    // name, a line break in any part, ']' in the section, '=' in the key, or a key starting
    // with '[' or ';'.
    [[nodiscard]] bool SetValue(std::string_view section, std::string_view key, std::string_view value);
    // Both remove every occurrence; they return whether anything was removed.
    bool DeleteKey(std::string_view section, std::string_view key);
    bool EraseSection(std::string_view section);

private:
    struct Line {
        std::string body;
        std::string ending;
    };

    [[nodiscard]] std::string NewLineEnding() const;
    void InsertLine(std::size_t index, std::string body);
    void EraseLines(const std::vector<std::size_t>& indexes);

    std::vector<Line> m_lines;
};
