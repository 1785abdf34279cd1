#include "skin/SkinTypes.h"

#include <cstdio>

TSkinOptions DefaultSkinOptions()
{
    return {xoPreview, xoToolbarBK};
}

TSkinControlTypes DefaultSkinControls()
{
    TSkinControlTypes controls;
    for (int member = xcMainMenu; member <= xcFastReport; ++member)
        controls.Include(static_cast<TSkinControlType>(member));
    controls.Exclude(xcMenuItem);
    controls.Exclude(xcFastReport);
    return controls;
}

std::string ControlAtomName(std::uintptr_t instance, std::uint32_t threadId)
{
    char name[64];
    std::snprintf(name, sizeof name, "ControlOfs%.8llX%.8X", static_cast<unsigned long long>(instance), threadId);
    return name;
}
