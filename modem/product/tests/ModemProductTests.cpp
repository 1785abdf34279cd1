#include <gtest/gtest.h>

#include "modem/product/ModemProduct.h"

namespace {

OSVERSIONINFOA Nt(DWORD major, DWORD minor)
{
    OSVERSIONINFOA version{};
    version.dwPlatformId = VER_PLATFORM_WIN32_NT;
    version.dwMajorVersion = major;
    version.dwMinorVersion = minor;
    return version;
}

// The two programs agree on every shipped version and part only on an NT 5 that never shipped.
TEST(WindowsVersionCode, EachProgramKeepsItsRuleForALaterNt5)
{
    for (const LaterNt5 rule : {LaterNt5::Unknown, LaterNt5::AsServer2003}) {
        EXPECT_EQ(WindowsVersionCode(Nt(5, 0), rule), 5);
        EXPECT_EQ(WindowsVersionCode(Nt(5, 1), rule), 4);
        EXPECT_EQ(WindowsVersionCode(Nt(5, 2), rule), 5);
    }
    EXPECT_EQ(WindowsVersionCode(Nt(5, 3), LaterNt5::Unknown), 0);
    EXPECT_EQ(WindowsVersionCode(Nt(5, 3), LaterNt5::AsServer2003), 5);
}

} // namespace
