#include "controls/KvCommon.h"

#include <string>
#include <vector>

const TTypeInfo& SidesTypeInfo()
{
    static const TTypeInfo side = EnumerationTypeInfo("TSide", {"sdLeft", "sdTop", "sdRight", "sdBottom"});
    static const TTypeInfo info = SetTypeInfo("TSides", side);
    return info;
}

namespace {

std::vector<std::string> FrameStyleNames(bool withRounded)
{
    std::vector<std::string> names{"fsNone",   "fsFlat",     "fsGroove", "fsBump",  "fsLowered", "fsButtonDown",
                                   "fsRaised", "fsButtonUp", "fsStatus", "fsPopup", "fsFlatBold"};
    if (withRounded)
        names.emplace_back("fsFlatRounded");
    return names;
}

} // namespace

const TTypeInfo& FrameStyleExTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TFrameStyleEx", FrameStyleNames(true));
    return info;
}

// Edits and the frame controller know every style but the rounded one.
const TTypeInfo& FrameStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TFrameStyle", FrameStyleNames(false));
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

const TTypeInfo& AlignmentVerticalTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TAlignmentVertical", {"avTop", "avCenter", "avBottom"});
    return info;
}

const TTypeInfo& OrientationTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TOrientation", {"orHorizontal", "orVertical"});
    return info;
}

const TTypeInfo& GradientDirectionTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TGradientDirection", {"gdDiagonalUp", "gdDiagonalDown", "gdHorizontalEnd", "gdHorizontalCenter",
                               "gdHorizontalBox", "gdVerticalEnd", "gdVerticalCenter", "gdVerticalBox",
                               "gdSquareBox", "gdBigSquareBox"});
    return info;
}

const TTypeInfo& KvHotTrackColorTypeTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TKvHotTrackColorType", {"htctComplement", "htctActual"});
    return info;
}
