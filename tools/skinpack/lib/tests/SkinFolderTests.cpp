#include "tools/skinpack/lib/SkinFolder.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <vector>

namespace {

std::vector<std::string> EntryNames(const std::vector<TSkinPackageEntry>& entries)
{
    std::vector<std::string> names;
    for (const TSkinPackageEntry& entry : entries)
        names.push_back(entry.name);
    return names;
}

TEST(SkinFolder, PacksAndUnpacksAFolderUnchanged)
{
    TempDir dir;
    std::string bitmap;
    for (int i = 0; i < 70000; ++i)
        bitmap += static_cast<char>(i % 7 * i % 251);
    dir.WriteFile("skin/Frame.bmp", bitmap);
    dir.WriteFile("skin/Buttons.bmp", "BM buttons");
    dir.WriteFile("skin/Skin.INI", "[Title]\r\nHeight=24\r\n");
    std::filesystem::create_directories(dir / "skin/nested");

    EXPECT_EQ(EntryNames(ReadSkinFolder(dir / "skin")),
              (std::vector<std::string>{"Skin.INI", "Buttons.bmp", "Frame.bmp"}));
    PackSkinFolder(dir / "skin", dir / "skin.pkg", TSkinPackageVersion::v30000);
    EXPECT_EQ(UnpackSkinPackage(dir / "skin.pkg", dir / "out"),
              (std::vector<std::string>{"skin.ini", "buttons.bmp", "frame.bmp"}));
    EXPECT_EQ(dir.ReadFile("out/frame.bmp"), bitmap);
    EXPECT_EQ(dir.ReadFile("out/buttons.bmp"), "BM buttons");
    EXPECT_EQ(dir.ReadFile("out/skin.ini"), "[Title]\r\nHeight=24\r\n");
}

TEST(SkinFolder, RefusesFoldersThatMakeNoUsablePackage)
{
    struct Case {
        const char* what;
        std::vector<std::string> files;
    };
    const Case cases[] = {
        {"no INI", {"a.bmp"}},
        {"two INI files", {"a.ini", "b.Ini"}},
        {"names equal apart from case", {"a.ini", "Top.bmp", "top.BMP"}},
    };
    for (const Case& test : cases) {
        TempDir dir;
        for (const std::string& file : test.files)
            dir.WriteFile("skin/" + file, "x");
        EXPECT_THROW((void)ReadSkinFolder(dir / "skin"), ESkinPackError) << test.what;
    }
    EXPECT_THROW((void)ReadSkinFolder("/nonexistent/skin"), ESkinPackError);
}

TEST(SkinFolder, UnpackRefusesDamagedPackagesAndUnsafeNames)
{
    TempDir dir;
    dir.WriteFile("junk.pkg", "not a package at all");
    EXPECT_THROW((void)UnpackSkinPackage(dir / "junk.pkg", dir / "out"), ESkinPackError);

    const std::vector<TSkinPackageEntry> escaping = {{"skin.ini", {}}, {"../escaped.bmp", {'x'}}};
    const std::vector<std::uint8_t> package =
        PackSkinContainer(BuildSkinContainer(escaping, TSkinPackageVersion::v40000));
    dir.WriteFile("escaping.pkg", std::string(package.begin(), package.end()));
    EXPECT_THROW((void)UnpackSkinPackage(dir / "escaping.pkg", dir / "out"), ESkinPackError);
    EXPECT_FALSE(std::filesystem::exists(dir / "escaped.bmp"));
}

TEST(SkinFolder, AnEntryThatCannotBeWrittenSaysWhy)
{
    TempDir dir;
    const std::string longName(300, 'a');
    const std::vector<TSkinPackageEntry> entries = {{"skin.ini", {}}, {longName + ".bmp", {'x'}}};
    const std::vector<std::uint8_t> package = PackSkinContainer(BuildSkinContainer(entries, TSkinPackageVersion::v40000));
    dir.WriteFile("long.pkg", std::string(package.begin(), package.end()));
    try {
        (void)UnpackSkinPackage(dir / "long.pkg", dir / "out");
        ADD_FAILURE() << "an entry name of 304 bytes was written";
    } catch (const ESkinPackError& error) {
        const std::string message = error.what();
        EXPECT_NE(message.find("Cannot write"), std::string::npos) << message;
        EXPECT_NE(message.find(std::generic_category().message(ENAMETOOLONG)), std::string::npos) << message;
    }
}

TEST(SkinFolder, EntryNamesMustBeSingleLines)
{
    EXPECT_THROW((void)BuildSkinContainer({{"a\r\nb.bmp", {}}}, TSkinPackageVersion::v40000), ESkinPackError);
    EXPECT_THROW((void)BuildSkinContainer({{"", {}}}, TSkinPackageVersion::v40000), ESkinPackError);
}

} // namespace
