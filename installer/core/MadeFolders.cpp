#include "installer/core/MadeFolders.h"

#include "platform/classlib/core/IniFiles.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view Section = "Install";

std::string KeyOf(std::size_t index)
{
    return "MadeFolder" + std::to_string(index + 1);
}

} // namespace

std::vector<std::string> MissingFolders(const std::string& folder)
{
    std::vector<std::string> missing;
    std::error_code error;
    for (fs::path path = fs::path(folder).lexically_normal(); !path.empty() && !fs::exists(path, error);
         path = path.parent_path()) {
        missing.push_back(path.string());
        if (path == path.parent_path())
            break;
    }
    std::reverse(missing.begin(), missing.end());
    return missing;
}

void RecordMadeFolders(TIniFile& settings, std::vector<std::string> made)
{
    std::sort(made.begin(), made.end());
    made.erase(std::unique(made.begin(), made.end()), made.end());
    for (std::size_t index = 0; index < made.size(); ++index)
        settings.WriteString(Section, KeyOf(index), made[index]);
}

std::vector<std::string> RecordedMadeFolders(const TIniFile& settings)
{
    std::vector<std::string> recorded;
    for (std::string folder; !(folder = settings.ReadString(Section, KeyOf(recorded.size()), "")).empty();)
        recorded.push_back(folder);
    return recorded;
}
