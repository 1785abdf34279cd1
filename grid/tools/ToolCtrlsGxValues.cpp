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

std::size_t Utf8CharacterCount(const std::string& text)
{
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

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
