#include "skin/SkinTypes.h"

#include <gtest/gtest.h>

namespace {

TEST(SkinTypes, DefaultsLeaveOutWhatTheEngineSkinsOnlyOnRequest)
{
    EXPECT_EQ(DefaultSkinOptions(), (TSkinOptions{xoPreview, xoToolbarBK}));
    const TSkinControlTypes controls = DefaultSkinControls();
    EXPECT_FALSE(controls.Contains(xcMenuItem));
    EXPECT_FALSE(controls.Contains(xcFastReport));
    EXPECT_TRUE(controls.Contains(xcMainMenu));
    EXPECT_TRUE(controls.Contains(xcSystemMenu));
    EXPECT_EQ(controls.Bits(), (1u << 22) - 1 - (1u << xcMenuItem) - (1u << xcFastReport));
}

TEST(SkinTypes, TheControlAtomNameTellsModulesAndThreadsApart)
{
    EXPECT_EQ(ControlAtomName(0x400000, 0x1A2B), "ControlOfs0040000000001A2B");
    EXPECT_NE(ControlAtomName(0x400000, 7), ControlAtomName(0x10000000, 7));
}

} // namespace
