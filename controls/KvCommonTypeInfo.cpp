#include "controls/KvCommon.h"

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

const TTypeInfo& FrameStyleExTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TFrameStyleEx", {"fsNone", "fsFlat", "fsGroove", "fsBump", "fsLowered", "fsButtonDown", "fsRaised",
                          "fsButtonUp", "fsStatus", "fsPopup", "fsFlatBold", "fsFlatRounded"});
    return info;
}

const TTypeInfo& SidesTypeInfo()
{
    static const TTypeInfo side = EnumerationTypeInfo("TSide", {"sdLeft", "sdTop", "sdRight", "sdBottom"});
    static const TTypeInfo info = SetTypeInfo("TSides", side);
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
