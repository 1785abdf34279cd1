#include "platform/classlib/core/IniText.h"

#include "platform/rtl/Strings.h"

#include <algorithm>

namespace {

enum class LineKind { Other, Section, Key };

struct LineInfo {
    LineKind kind = LineKind::Other;
    std::string name;
    // For a key: where the value's text starts in the body (after '=' and the blanks after it).
    std::size_t valueStart = 0;
};

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::size_t SkipBlanks(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && IsBlank(text[pos]))
        ++pos;
    return pos;
}

LineInfo Classify(std::string_view body)
{
    const std::size_t first = SkipBlanks(body, 0);
    if (first == body.size() || body[first] == ';')
        return {};
    if (body[first] == '[') {
        const std::size_t close = body.find(']', first);
        if (close == std::string_view::npos)
            return {};
        return {LineKind::Section, Trim(body.substr(first + 1, close - first - 1)), 0};
    }
    const std::size_t equals = body.find('=');
    if (equals == std::string_view::npos)
        return {};
    std::string name = Trim(body.substr(0, equals));
    if (name.empty())
        return {};
    return {LineKind::Key, std::move(name), SkipBlanks(body, equals + 1)};
}

std::string ValueOf(std::string_view body, const LineInfo& info)
{
    std::string value = Trim(body.substr(info.valueStart));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

bool HasLineBreak(std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; }

bool CanWrite(std::string_view section, std::string_view key, std::string_view value)
{
    const std::string sectionName = Trim(section);
    const std::string keyName = Trim(key);
    return !sectionName.empty() && !keyName.empty() && !HasLineBreak(section) && !HasLineBreak(key) &&
           !HasLineBreak(value) && sectionName.find(']') == std::string::npos && keyName.find('=') == std::string::npos &&
           keyName.front() != '[' && keyName.front() != ';';
}

// Walks the lines and says, for each, whether it lies in a section of the wanted name.
class SectionWalker {
public:
    explicit SectionWalker(std::string_view section) : m_section(Trim(section)) {}

    // Returns the line's kind; a header updates whether the following lines are inside.
    LineInfo Step(std::string_view body)
    {
        LineInfo info = Classify(body);
        if (info.kind == LineKind::Section) {
            m_inside = AnsiSameText(info.name, m_section);
            m_occurrence += m_inside ? 1 : 0;
        }
        return info;
    }

    [[nodiscard]] bool Inside() const { return m_inside; }
    // 1 for the section's first occurrence, 2 for its second, ...; meaningful while Inside().
    [[nodiscard]] int Occurrence() const { return m_occurrence; }

private:
    std::string m_section;
    bool m_inside = false;
    int m_occurrence = 0;
};

} // namespace

TIniText::TIniText(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t lf = text.find('\n', pos);
        if (lf == std::string_view::npos) {
            m_lines.push_back({std::string(text.substr(pos)), {}});
            break;
        }
        const bool crlf = lf > pos && text[lf - 1] == '\r';
        const std::size_t bodyEnd = crlf ? lf - 1 : lf;
        m_lines.push_back({std::string(text.substr(pos, bodyEnd - pos)), crlf ? "\r\n" : "\n"});
        pos = lf + 1;
    }
}

std::string TIniText::Text() const
{
    std::string text;
    for (const Line& line : m_lines) {
        text += line.body;
        text += line.ending;
    }
    return text;
}

std::optional<std::string> TIniText::Value(std::string_view section, std::string_view key) const
{
    SectionWalker walker(section);
    const std::string keyName = Trim(key);
    for (const Line& line : m_lines) {
        const LineInfo info = walker.Step(line.body);
        if (info.kind == LineKind::Key && walker.Inside() && AnsiSameText(info.name, keyName))
            return ValueOf(line.body, info);
    }
    return std::nullopt;
}

bool TIniText::HasSection(std::string_view section) const
{
    SectionWalker walker(section);
    return std::any_of(m_lines.begin(), m_lines.end(), [&](const Line& line) {
        (void)walker.Step(line.body);
        return walker.Inside();
    });
}

std::vector<std::string> TIniText::Sections() const
{
    std::vector<std::string> names;
    for (const Line& line : m_lines) {
        LineInfo info = Classify(line.body);
        if (info.kind != LineKind::Section)
            continue;
        const bool known = std::any_of(names.begin(), names.end(), [&](const std::string& name) { return AnsiSameText(name, info.name); });
        if (!known)
            names.push_back(std::move(info.name));
    }
    return names;
}

std::vector<std::string> TIniText::Keys(std::string_view section) const
{
    std::vector<std::string> names;
    SectionWalker walker(section);
    for (const Line& line : m_lines) {
        LineInfo info = walker.Step(line.body);
        if (info.kind != LineKind::Key || !walker.Inside())
            continue;
        const bool known = std::any_of(names.begin(), names.end(), [&](const std::string& name) { return AnsiSameText(name, info.name); });
        if (!known)
            names.push_back(std::move(info.name));
    }
    return names;
}

bool TIniText::SetValue(std::string_view section, std::string_view key, std::string_view value)
{
    if (!CanWrite(section, key, value))
        return false;
    SectionWalker walker(section);
    const std::string keyName = Trim(key);
    std::optional<std::size_t> insertAfter;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        Line& line = m_lines[i];
        const LineInfo info = walker.Step(line.body);
        if (!walker.Inside())
            continue;
        if (info.kind == LineKind::Key && AnsiSameText(info.name, keyName)) {
            line.body = line.body.substr(0, info.valueStart) + std::string(value);
            return true;
        }
        if (walker.Occurrence() == 1 && info.kind != LineKind::Other)
            insertAfter = i;
    }
    const std::string keyLine = keyName + "=" + std::string(value);
    if (insertAfter) {
        InsertLine(*insertAfter + 1, keyLine);
    } else {
        InsertLine(m_lines.size(), "[" + Trim(section) + "]");
        InsertLine(m_lines.size(), keyLine);
    }
    return true;
}

bool TIniText::DeleteKey(std::string_view section, std::string_view key)
{
    SectionWalker walker(section);
    const std::string keyName = Trim(key);
    std::vector<std::size_t> doomed;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        const LineInfo info = walker.Step(m_lines[i].body);
        if (walker.Inside() && info.kind == LineKind::Key && AnsiSameText(info.name, keyName))
            doomed.push_back(i);
    }
    EraseLines(doomed);
    return !doomed.empty();
}

bool TIniText::EraseSection(std::string_view section)
{
    SectionWalker walker(section);
    std::vector<std::size_t> doomed;
    for (std::size_t i = 0; i < m_lines.size(); ++i) {
        (void)walker.Step(m_lines[i].body);
        if (walker.Inside())
            doomed.push_back(i);
    }
    EraseLines(doomed);
    return !doomed.empty();
}

std::string TIniText::NewLineEnding() const
{
    const auto ended = std::find_if(m_lines.begin(), m_lines.end(), [](const Line& line) { return !line.ending.empty(); });
    return ended == m_lines.end() ? std::string("\r\n") : ended->ending;
}

// A line inserted after a last line that has no ending gives that line one and goes without, so
// a file that did not end with a line break still does not.
void TIniText::InsertLine(std::size_t index, std::string body)
{
    const std::string ending = NewLineEnding();
    Line line{std::move(body), ending};
    if (index > 0 && index == m_lines.size() && m_lines.back().ending.empty()) {
        m_lines.back().ending = ending;
        line.ending.clear();
    }
    m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(index), std::move(line));
}

// When the last line goes, the new last line takes over its (missing) ending.
void TIniText::EraseLines(const std::vector<std::size_t>& indexes)
{
    if (indexes.empty())
        return;
    const bool lastHadNoEnding = indexes.back() + 1 == m_lines.size() && m_lines.back().ending.empty();
    for (auto it = indexes.rbegin(); it != indexes.rend(); ++it)
        m_lines.erase(m_lines.begin() + static_cast<std::ptrdiff_t>(*it));
    if (lastHadNoEnding && !m_lines.empty())
        m_lines.back().ending.clear();
}
