#include "installer/core/DriverTool.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

fs::path WriteScript(const TempDir& dir, const std::string& name, const std::string& body)
{
    const fs::path path = dir.WriteFile(name, "#!/bin/sh\n" + body);
    fs::permissions(path, fs::perms::owner_all);
    return path;
}

TEST(RunAndWaitTest, ReturnsTheExitCodeOfAProgramInAFolderWithSpaces)
{
    TempDir dir;
    const fs::path tool = WriteScript(dir, "My Tools/Drivers/Driver", "exit 3\n");
    // A program at the first space of the path is never run in its place.
    WriteScript(dir, "My", "touch \"$0.ran\"; exit 9\n");
    EXPECT_EQ(RunAndWait({tool.string()}), 3);
    EXPECT_FALSE(fs::exists(dir / "My.ran"));
}

TEST(RunAndWaitTest, AProgramThatCannotStartGivesNothing)
{
    TempDir dir;
    EXPECT_EQ(RunAndWait({(dir / "missing").string()}), std::nullopt);
    // A path far longer than any fixed command buffer.
    EXPECT_EQ(RunAndWait({(dir / std::string(4000, 'x')).string()}), std::nullopt);
}

TEST(DriverToolTest, StartedAsRootDirectlyElseThroughPkexec)
{
    const auto command = DriverToolCommand("/opt/Norra");
    if (geteuid() == 0)
        EXPECT_EQ(command, (std::vector<std::string>{"/opt/Norra/Drivers/Driver"}));
    else
        EXPECT_EQ(command, (std::vector<std::string>{"pkexec", "/opt/Norra/Drivers/Driver"}));
}

TEST(DriverToolTest, ConfiguringChangesOnlyTheThreeSettings)
{
    TempDir dir;
    dir.WriteFile("Norra/Drivers/driverforge.ini", "; shipped settings\r\n"
                                                   "[AutoInstall]\r\n"
                                                   "Automatic_Install=N\r\n"
                                                   "Reboot=N\r\n"
                                                   "Silent_Install=N\r\n"
                                                   "[Other]\r\n"
                                                   "Key=Value\r\n");
    const std::string installDir = (dir / "Norra").string();
    ConfigureDriverTool(installDir);
    EXPECT_EQ(dir.ReadFile("Norra/Drivers/driverforge.ini"), "; shipped settings\r\n"
                                                             "[AutoInstall]\r\n"
                                                             "Automatic_Install=Y\r\n"
                                                             "Reboot=N\r\n"
                                                             "Silent_Install=Y\r\n"
                                                             "[Other]\r\n"
                                                             "Key=Value\r\n"
                                                             "[Drivers]\r\n"
                                                             "Uncompressed_Driver_Location=" +
                                                                 installDir + "/Drivers\r\n");
}

std::vector<std::string> TestToolCommand(const std::string& installDir)
{
    return {installDir + "/Drivers/Driver"};
}

TEST(DriverToolTest, TheRunnerWaitsForTheToolOnItsOwnThread)
{
    TempDir dir;
    WriteScript(dir, "Norra/Drivers/Driver", "exit 4\n");
    TDriverToolRunner runner(TestToolCommand);
    EXPECT_EQ(runner.State(), TToolState::NotStarted);
    runner.Start((dir / "Norra").string());
    runner.WaitUntilEnded();
    EXPECT_EQ(runner.State(), TToolState::Exited);
    EXPECT_EQ(runner.ExitCode(), 4);

    TDriverToolRunner missing(TestToolCommand);
    missing.Start((dir / "Elsewhere").string());
    missing.WaitUntilEnded();
    EXPECT_EQ(missing.State(), TToolState::FailedToStart);
}

} // namespace
