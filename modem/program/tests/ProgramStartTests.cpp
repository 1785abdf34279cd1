// The manager started where no screen can be reached.

#include "tests/support/ChildProgram.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

TEST(ModemProgramStartTest, WithoutADisplayItSaysWhyInOneLineAndEndsWithOne)
{
    TempDir dir;
    EXPECT_TRUE(EndsClearlyWithoutDisplay(MODEM_PROGRAM, "Modem", dir.Path()));
}
