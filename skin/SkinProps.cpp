#include "skin/SkinProps.h"

#include "platform/classlib/core/TypInfo.h"
#include "platform/rtl/Conversions.h"

namespace {

// The property's kind, or tkUnknown when the object has no published property of that name.
TTypeKind KindOf(const TObject* object, std::string_view name)
{
    return object && IsPublishedProp(*object, name) ? PropType(*object, name) : tkUnknown;
}

} // namespace

std::int64_t GetOrdPropByName(const TObject* object, std::string_view name)
{
    const TTypeKind kind = KindOf(object, name);
    return kind == tkInteger || kind == tkInt64 ? GetOrdProp(*object, name) : -1;
}

std::string GetEnumPropByName(const TObject* object, std::string_view name)
{
    return KindOf(object, name) == tkEnumeration ? GetEnumProp(*object, name) : std::string();
}

std::string GetTextPropByName(const TObject* object, std::string_view name)
{
    return KindOf(object, name) == tkString ? GetStrProp(*object, name) : std::string();
}

TObject* GetObjectPropByName(const TObject* object, std::string_view name, TClass aClass)
{
    if (KindOf(object, name) != tkClass)
        return nullptr;
    TObject* value = GetObjectProp(*object, name);
    return value && value->InheritsFrom(aClass) ? value : nullptr;
}

void SetPropByName(TObject* object, std::string_view name, std::string_view text)
{
    switch (KindOf(object, name)) {
    case tkInteger:
    case tkInt64:
        SetOrdProp(*object, name, StrToInt64(text));
        break;
    case tkEnumeration:
        SetEnumProp(*object, name, text);
        break;
    case tkString:
        SetStrProp(*object, name, std::string(text));
        break;
    default:
        break;
    }
}
