#include "platform/rtl/FileNames.h"

#include <filesystem>
#include <system_error>

namespace {

bool IsDelimiter(char c)
{
    return c == '/' || c == '\\';
}

// The index just past the last delimiter (0 when there is none).
std::size_t NameStart(std::string_view fileName)
{
    const std::size_t last = fileName.find_last_of("/\\");
    return last == std::string_view::npos ? 0 : last + 1;
}

std::size_t ExtensionStart(std::string_view fileName)
{
    const std::size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos || dot < NameStart(fileName) ? fileName.size() : dot;
}

}  // namespace

std::string ExtractFilePath(std::string_view fileName)
{
    return std::string(fileName.substr(0, NameStart(fileName)));
}

std::string ExtractFileDir(std::string_view fileName)
{
    std::string_view folder = fileName.substr(0, NameStart(fileName));
    if (folder.size() > 1 && IsDelimiter(folder.back()))
        folder.remove_suffix(1);
    return std::string(folder);
}

std::string ExtractFileName(std::string_view fileName)
{
    return std::string(fileName.substr(NameStart(fileName)));
}

std::string ExtractFileExt(std::string_view fileName)
{
    return std::string(fileName.substr(ExtensionStart(fileName)));
}

std::string ChangeFileExt(std::string_view fileName, std::string_view extension)
{
    return std::string(fileName.substr(0, ExtensionStart(fileName))) + std::string(extension);
}

std::string IncludeTrailingPathDelimiter(std::string_view path)
{
    std::string result(path);
    if (result.empty() || !IsDelimiter(result.back()))
        result += PathDelim;
    return result;
}

std::string IncludeTrailingBackslash(std::string_view path)
{
    return IncludeTrailingPathDelimiter(path);
}

std::string ExcludeTrailingPathDelimiter(std::string_view path)
{
    if (path.size() > 1 && IsDelimiter(path.back()))
        path.remove_suffix(1);
    return std::string(path);
}

bool FileExists(const std::string& fileName)
{
    std::error_code error;
    return !fileName.empty() && std::filesystem::is_regular_file(fileName, error);
}

bool DirectoryExists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(path, error);
}

bool CreateDir(const std::string& path)
{
    std::error_code error;
    return std::filesystem::create_directory(path, error);
}

bool ForceDirectories(const std::string& path)
{
    if (path.empty())
        return false;
    std::error_code error;
    std::filesystem::create_directories(ExcludeTrailingPathDelimiter(path), error);
    return DirectoryExists(path);
}

bool DeleteFile(const std::string& fileName)
{
    std::error_code error;
    return FileExists(fileName) && std::filesystem::remove(fileName, error);
}

std::string GetCurrentDir()
{
    std::error_code error;
    return std::filesystem::current_path(error).string();
}
