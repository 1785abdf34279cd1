// The installer started where no screen can be reached.

#include "tests/support/ChildProgram.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

TEST(InstallerProgramStartTest, WithoutADisplayItSaysWhyInOneLineAndEndsWithOne)
{
    TempDir dir;
    EXPECT_TRUE(EndsClearlyWithoutDisplay(INSTALLER_PROGRAM, "Installer", dir.Path()));
}
