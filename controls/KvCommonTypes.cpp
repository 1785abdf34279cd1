#include "controls/KvCommon.h"

const TTypeInfo& SidesTypeInfo()
{
    static const TTypeInfo side = EnumerationTypeInfo("TSide", {"sdLeft", "sdTop", "sdRight", "sdBottom"});
    static const TTypeInfo info = SetTypeInfo("TSides", side);
    return info;
}

const TTypeInfo& FrameStyleExTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TFrameStyleEx", {"fsNone", "fsFlat", "fsGroove", "fsBump", "fsLowered", "fsButtonDown", "fsRaised",
                          "fsButtonUp", "fsStatus", "fsPopup", "fsFlatBold", "fsFlatRounded"});
    return info;
}

const TTypeInfo& FrameStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TFrameStyle", {"fsNone", "fsFlat", "fsGroove", "fsBump", "fsLowered", "fsButtonDown", "fsRaised",
                        "fsButtonUp", "fsStatus", "fsPopup", "fsFlatBold"});
    return info;
}

const TTypeInfo& FramingPreferenceTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TFramingPreference", {"fpCustomFraming", "fpXPThemes"});
    return info;
}

const TTypeInfo& TextStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TTextStyle", {"tsNormal", "tsRaised", "tsRecessed", "tsShadow"});
    return info;
}
