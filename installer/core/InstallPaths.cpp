#include "installer/core/InstallPaths.h"

#include "platform/winapi/shell/ShellFolders.h"

#include <unistd.h>

std::string JoinPath(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    while (!path.empty() && path.back() == '/')
        path.pop_back();
    while (!name.empty() && name.front() == '/')
        name.remove_prefix(1);
    return path + '/' + std::string(name);
}

std::string DefaultInstallFolder()
{
    if (::geteuid() == 0)
        return JoinPath("/opt", ProductWord);
    return JoinPath(JoinPath(HomeFolder(), ".local/opt"), ProductWord);
}

std::string BrowsedFolderText(std::string_view folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.remove_suffix(1);
    if (folder.substr(folder.rfind('/') + 1) == ProductWord)
        return std::string(folder);
    return JoinPath(folder, ProductWord);
}

std::string InstallDirFromText(std::string_view text)
{
    if (text.ends_with(ProductWord))
        return std::string(text);
    return JoinPath(text, ProductWord);
}
