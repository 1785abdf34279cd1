#include "platform/classlib/core/Colors.h"

#include "platform/rtl/Conversions.h"
#include "platform/rtl/Strings.h"

#include <cstdio>

namespace {

struct TColorName {
    TColor Value;
    const char* Name;
};

constexpr TColorName ColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
};

} // namespace

bool IdentToColor(std::string_view ident, std::int64_t& color)
{
    for (const TColorName& entry : ColorNames)
        if (SameText(entry.Name, ident)) {
            color = entry.Value;
            return true;
        }
    return false;
}

bool ColorToIdent(std::int64_t color, std::string& ident)
{
    for (const TColorName& entry : ColorNames)
        if (entry.Value == color) {
            ident = entry.Name;
            return true;
        }
    return false;
}

std::string ColorToString(TColor color)
{
    std::string ident;
    if (ColorToIdent(color, ident))
        return ident;
    char text[12];
    std::snprintf(text, sizeof text, "$%.8X", static_cast<unsigned>(color));
    return text;
}

TColor StringToColor(std::string_view text)
{
    std::int64_t color = 0;
    if (IdentToColor(text, color))
        return static_cast<TColor>(color);
    return static_cast<TColor>(StrToInt(text));
}

void GetColorValues(const std::function<void(const std::string& name)>& proc)
{
    for (const TColorName& entry : ColorNames)
        proc(entry.Name);
}

const TTypeInfo& ColorTypeInfo()
{
    static const TTypeInfo info = [] {
        TTypeInfo type = RangeTypeInfo("TColor", INT32_MIN, INT32_MAX);
        type.IdentToInt = IdentToColor;
        type.IntToIdent = ColorToIdent;
        return type;
    }();
    return info;
}
