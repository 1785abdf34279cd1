// skinpack: packs a skin folder (its INI text and bitmaps) into a skin package, and unpacks or
// lists a package for checking.

#include "tools/skinpack/lib/SkinFolder.h"

#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr const char* Usage =
    "usage:\n"
    "  skinpack pack <folder> <package> [--version 20000|30000|40000]\n"
    "      packs every file of <folder> (exactly one .ini and its bitmaps) into <package>;\n"
    "      the version defaults to 40000\n"
    "  skinpack unpack <package> <folder>\n"
    "      writes each entry of <package> into <folder>, under its lower-case name\n"
    "  skinpack list <package>\n"
    "      shows the package's version and each entry's name and size\n";

int Fail(const std::string& message)
{
    std::cerr << "skinpack: " << message << "\n";
    return 1;
}

int UsageError(const std::string& message)
{
    std::cerr << "skinpack: " << message << "\n\n" << Usage;
    return 2;
}

std::optional<TSkinPackageVersion> ParseVersion(const std::string& text)
{
    for (TSkinPackageVersion version :
         {TSkinPackageVersion::v20000, TSkinPackageVersion::v30000, TSkinPackageVersion::v40000}) {
        if (text == std::to_string(static_cast<std::uint32_t>(version)))
            return version;
    }
    return std::nullopt;
}

int Pack(const std::vector<std::string>& args)
{
    if (args.size() != 2 && !(args.size() == 4 && args[2] == "--version"))
        return UsageError("pack takes a folder, a package and optionally --version <n>");
    TSkinPackageVersion version = TSkinPackageVersion::v40000;
    if (args.size() == 4) {
        const auto parsed = ParseVersion(args[3]);
        if (!parsed)
            return UsageError("unknown version \"" + args[3] + "\"");
        version = *parsed;
    }
    PackSkinFolder(args[0], args[1], version);
    return 0;
}

int Unpack(const std::vector<std::string>& args)
{
    if (args.size() != 2)
        return UsageError("unpack takes a package and a folder");
    for (const std::string& name : UnpackSkinPackage(args[0], args[1]))
        std::cout << name << "\n";
    return 0;
}

int List(const std::vector<std::string>& args)
{
    if (args.size() != 1)
        return UsageError("list takes a package");
    TSkinReader reader;
    LoadSkinPackageFile(args[0], reader);
    std::cout << "version " << reader.Version() << ", " << reader.Count() << " entries, " << reader.DataSize()
              << " bytes of data\n";
    for (std::size_t i = 0; i < reader.Names().size(); ++i)
        std::cout << reader.EntrySize(i) << "\t" << reader.Names()[i] << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return UsageError("no command given");
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    try {
        if (command == "pack")
            return Pack(args);
        if (command == "unpack")
            return Unpack(args);
        if (command == "list")
            return List(args);
        if (command == "--help" || command == "-h" || command == "help") {
            std::cout << Usage;
            return 0;
        }
        return UsageError("unknown command \"" + command + "\"");
    } catch (const std::exception& error) {
        return Fail(error.what());
    }
}
