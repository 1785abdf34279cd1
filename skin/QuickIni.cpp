#include "skin/QuickIni.h"

#include "platform/rtl/Conversions.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <string_view>

namespace {

bool IsSectionHeader(std::string_view line)
{
    return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// The text before the first "=", trimmed and lower-cased; empty for a line without "=".
std::string KeyOf(std::string_view line)
{
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return {};
    return LowerCase(Trim(line.substr(0, equals)));
}

std::string ValueOf(std::string_view line)
{
    return Trim(line.substr(line.find('=') + 1));
}

} // namespace

void TQuickIni::LoadFromStream(TStream* stream)
{
    if (stream == nullptr)
        return;
    const std::int64_t left = stream->Size() - stream->Position();
    std::string text(static_cast<std::size_t>(std::max<std::int64_t>(left, 0)), '\0');
    text.resize(stream->Read(text.data(), text.size()));
    LoadFromText(text);
}

void TQuickIni::LoadFromText(const std::string& text)
{
    m_lines.clear();
    m_sections.clear();
    const std::string_view all(text.data(), std::min(text.find('\0'), text.size()));
    std::size_t start = 0;
    while (start < all.size()) {
        const std::size_t end = std::min(all.find_first_of("\r\n", start), all.size());
        const std::string line = Trim(all.substr(start, end - start));
        start = end;
        if (start < all.size() && all[start] == '\r')
            ++start;
        if (start < all.size() && all[start] == '\n')
            ++start;
        if (line.empty() || line.front() == ';')
            continue;
        if (IsSectionHeader(line))
            m_sections.push_back({line, m_lines.size()});
        m_lines.push_back(line);
    }
}

const TQuickIni::Section* TQuickIni::FindSection(const std::string& section) const
{
    const std::string header = "[" + section + "]";
    const auto found = std::find_if(m_sections.begin(), m_sections.end(),
                                    [&](const Section& entry) { return SameText(entry.header, header); });
    return found == m_sections.end() ? nullptr : &*found;
}

std::string TQuickIni::ReadString(const std::string& section, const std::string& key,
                                  const std::string& defaultValue) const
{
    const std::string wanted = LowerCase(key);
    const Section* found = FindSection(section);
    if (found == nullptr || wanted.empty())
        return defaultValue;
    for (std::size_t i = found->line + 1; i < m_lines.size() && !IsSectionHeader(m_lines[i]); ++i) {
        if (KeyOf(m_lines[i]) != wanted)
            continue;
        const std::string value = ValueOf(m_lines[i]);
        return value.empty() ? defaultValue : value;
    }
    return defaultValue;
}

std::int32_t TQuickIni::ReadInteger(const std::string& section, const std::string& key,
                                    std::int32_t defaultValue) const
{
    std::string value = ReadString(section, key, "");
    if (value.size() > 2 && (value.starts_with("0x") || value.starts_with("0X")))
        value.replace(0, 2, "$");
    return StrToIntDef(value, defaultValue);
}

void TQuickIni::ReadSections(std::vector<std::string>& list) const
{
    list.clear();
    for (const Section& section : m_sections) {
        const std::string_view header(section.header);
        list.push_back(Trim(header.substr(1, header.size() - 2)));
    }
}
