#include <gtest/gtest.h>

#include "platform/rtl/FileNames.h"
#include "tests/support/TempDir.h"

namespace {

TEST(FileNameParts, SplitAtEitherDelimiter)
{
    EXPECT_EQ(ExtractFilePath("/opt/modem/Modem.ini"), "/opt/modem/");
    EXPECT_EQ(ExtractFilePath("C:\\Program Files\\Norra\\Setup.exe"), "C:\\Program Files\\Norra\\");
    EXPECT_EQ(ExtractFilePath("Modem.ini"), "");
    EXPECT_EQ(ExtractFileDir("/opt/modem/Modem.ini"), "/opt/modem");
    EXPECT_EQ(ExtractFileDir("/Modem.ini"), "/");
    EXPECT_EQ(ExtractFileName("/opt/modem/Modem.ini"), "Modem.ini");
    EXPECT_EQ(ExtractFileName("/opt/modem/"), "");
    EXPECT_EQ(ExtractFileExt("/a.b/file.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileExt("/a.b/file"), "");
    EXPECT_EQ(ChangeFileExt("/a.b/file.txt", ".ini"), "/a.b/file.ini");
    EXPECT_EQ(ChangeFileExt("/a.b/file", ".ini"), "/a.b/file.ini");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/opt"), "/opt/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("/opt/"), "/opt/");
    EXPECT_EQ(IncludeTrailingBackslash("C:\\x\\"), "C:\\x\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), "/");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/opt/"), "/opt");
    EXPECT_EQ(ExcludeTrailingPathDelimiter("/"), "/");
}

TEST(FileSystem, ExistsCreateAndDelete)
{
    TempDir dir;
    const std::string file = dir.WriteFile("a.txt", "x").string();
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(dir.Path().string()));
    EXPECT_TRUE(DirectoryExists(dir.Path().string()));
    EXPECT_FALSE(DirectoryExists(file));
    EXPECT_FALSE(FileExists(""));

    const std::string deep = (dir / "one/two/three/").string();
    EXPECT_FALSE(CreateDir(deep));
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(ForceDirectories(deep));
    EXPECT_TRUE(DirectoryExists(deep));
    EXPECT_FALSE(ForceDirectories(file + "/sub"));
    EXPECT_TRUE(CreateDir((dir / "single").string()));

    EXPECT_FALSE(DeleteFile(dir.Path().string()));
    EXPECT_TRUE(DeleteFile(file));
    EXPECT_FALSE(FileExists(file));
    EXPECT_FALSE(DeleteFile(file));
    EXPECT_FALSE(GetCurrentDir().empty());
}

}  // namespace
