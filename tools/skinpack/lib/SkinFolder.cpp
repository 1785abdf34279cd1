#include "tools/skinpack/lib/SkinFolder.h"

#include "platform/classlib/core/Streams.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <system_error>

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadFileBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw ESkinPackError("Cannot read \"" + file.string() + "\"");
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        throw ESkinPackError("Cannot read \"" + file.string() + "\"");
    return bytes;
}

[[noreturn]] void RaiseCannotWrite(const fs::path& file, int error)
{
    throw ESkinPackError("Cannot write \"" + file.string() + "\": " + std::generic_category().message(error));
}

// Through the C library rather than a file stream, whose failures do not keep the system's reason.
void WriteFileBytes(const fs::path& file, const std::vector<std::uint8_t>& bytes)
{
    errno = 0;
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (!out)
        RaiseCannotWrite(file, errno);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    const int writeError = errno;
    if (std::fclose(out) != 0 || !written)
        RaiseCannotWrite(file, written ? errno : writeError);
}

bool IsIni(const std::string& name)
{
    return AnsiLowerCase(fs::path(name).extension().string()) == ".ini";
}

std::vector<std::string> FolderFileNames(const fs::path& folder)
{
    std::error_code error;
    fs::directory_iterator files(folder, error);
    if (error)
        throw ESkinPackError("Cannot read the folder \"" + folder.string() + "\": " + error.message());
    std::vector<std::string> names;
    for (const fs::directory_entry& file : files) {
        if (file.is_regular_file())
            names.push_back(file.path().filename().string());
    }
    return names;
}

void CheckNames(const std::vector<std::string>& names, const fs::path& folder)
{
    const auto iniCount = std::count_if(names.begin(), names.end(), IsIni);
    if (iniCount != 1)
        throw ESkinPackError("The folder \"" + folder.string() + "\" must hold exactly one .ini file; it holds " +
                             std::to_string(iniCount));
    std::set<std::string> seen;
    for (const std::string& name : names) {
        if (!seen.insert(AnsiLowerCase(name)).second)
            throw ESkinPackError("Two files are named \"" + name + "\" apart from case; a package cannot hold both");
    }
}

bool IsPlainFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos &&
           name.find('\0') == std::string::npos;
}

} // namespace

std::vector<TSkinPackageEntry> ReadSkinFolder(const fs::path& folder)
{
    std::vector<std::string> names = FolderFileNames(folder);
    CheckNames(names, folder);
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return IsIni(a) != IsIni(b) ? IsIni(a) : a < b;
    });
    std::vector<TSkinPackageEntry> entries;
    for (const std::string& name : names)
        entries.push_back({name, ReadFileBytes(folder / name)});
    return entries;
}

void PackSkinFolder(const fs::path& folder, const fs::path& packageFile, TSkinPackageVersion version)
{
    WriteFileBytes(packageFile, PackSkinContainer(BuildSkinContainer(ReadSkinFolder(folder), version)));
}

void LoadSkinPackageFile(const fs::path& packageFile, TSkinReader& reader)
{
    const std::vector<std::uint8_t> bytes = ReadFileBytes(packageFile);
    TMemoryStream packed;
    packed.WriteBuffer(bytes.data(), bytes.size());
    std::string refusal = "it is not a skin package, or it is damaged";
    reader.SetOnVersionMessage([&](const std::string&) { refusal = "its container version is not supported"; });
    if (!reader.LoadFromStream(packed))
        throw ESkinPackError("Cannot load \"" + packageFile.string() + "\": " + refusal);
}

std::vector<std::string> UnpackSkinPackage(const fs::path& packageFile, const fs::path& folder)
{
    TSkinReader reader;
    LoadSkinPackageFile(packageFile, reader);
    std::error_code error;
    fs::create_directories(folder, error);
    if (error)
        throw ESkinPackError("Cannot make the folder \"" + folder.string() + "\": " + error.message());
    for (std::size_t i = 0; i < reader.Names().size(); ++i) {
        const std::string& name = reader.Names()[i];
        if (!IsPlainFileName(name))
            throw ESkinPackError("Entry " + std::to_string(i + 1) + " has no plain file name: \"" + name + "\"");
        TMemoryStream entry;
        reader.GetEntry(name, entry);
        if (entry.Size() == 0 && reader.EntrySize(i) != 0)
            throw ESkinPackError("The entry \"" + name + "\" runs past the package's data");
        WriteFileBytes(folder / name, std::vector<std::uint8_t>(entry.Memory(), entry.Memory() + entry.Size()));
    }
    return reader.Names();
}
