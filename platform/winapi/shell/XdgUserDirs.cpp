#include "platform/winapi/shell/XdgUserDirs.h"

#include <fstream>
#include <optional>
#include <sstream>
#include <string_view>

namespace {

constexpr std::size_t MaxFileSize = 64 * 1024;

std::string_view TrimLeft(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    return text;
}

// The inside of "...", with backslash escapes taken; nothing when the quotes are missing.
std::optional<std::string> Unquote(std::string_view value)
{
    if (value.size() < 2 || value.front() != '"')
        return std::nullopt;
    std::string result;
    for (std::size_t i = 1; i < value.size(); ++i) {
        const char c = value[i];
        if (c == '"')
            return result;
        if (c == '\\' && i + 1 < value.size())
            result += value[++i];
        else
            result += c;
    }
    return std::nullopt;
}

std::string Resolve(const std::string& value, const std::string& home)
{
    static constexpr std::string_view HomeVariable = "$HOME";
    if (value.compare(0, HomeVariable.size(), HomeVariable) == 0) {
        const auto rest = value.substr(HomeVariable.size());
        if (rest.empty() || rest.front() == '/')
            return home + rest;
        return "";
    }
    return !value.empty() && value.front() == '/' ? value : "";
}

} // namespace

std::string ParseXdgUserDir(const std::string& text, const std::string& name, const std::string& home)
{
    const auto key = "XDG_" + name + "_DIR=";
    std::string found;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        const auto trimmed = TrimLeft(line);
        if (trimmed.compare(0, key.size(), key) != 0)
            continue;
        if (const auto value = Unquote(trimmed.substr(key.size())))
            found = Resolve(*value, home);
    }
    while (found.size() > 1 && found.back() == '/')
        found.pop_back();
    return found;
}

std::string ReadXdgUserDir(const std::string& file, const std::string& name, const std::string& home)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return "";
    std::string text(MaxFileSize + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    if (static_cast<std::size_t>(in.gcount()) > MaxFileSize)
        return "";
    text.resize(static_cast<std::size_t>(in.gcount()));
    return ParseXdgUserDir(text, name, home);
}
