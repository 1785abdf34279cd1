#include "controls/KvCommon.h"

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
