#include "grid/tools/ToolCtrlsGx.h"

#include "platform/rtl/Exceptions.h"
#include "platform/winapi/gdi/ImageLists.h"

#include <algorithm>

namespace {

bool ArraysEqual(const Variant& a, const Variant& b)
{
    if (VarArrayDimCount(a) != VarArrayDimCount(b) || a.LowBound() != b.LowBound() || a.HighBound() != b.HighBound())
        return false;
    for (int i = a.LowBound(); i <= a.HighBound(); ++i)
        if (!VariantsEqual(a.Element(i), b.Element(i)))
            return false;
    return true;
}

} // namespace

bool VariantsEqual(const Variant& a, const Variant& b)
{
    try {
        if (VarIsArray(a) != VarIsArray(b))
            return false;
        if (VarIsArray(a))
            return ArraysEqual(a, b);
        if (VarIsEmpty(a) != VarIsEmpty(b))
            return false;
        return a == b;
    } catch (const Exception&) {
        return false;
    }
}

COLORREF ColorToImageListColor(TColor color)
{
    if (color == clNone)
        return CLR_NONE;
    if (color == clDefault)
        return CLR_DEFAULT;
    return ColorToRGB(color);
}
