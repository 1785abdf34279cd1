#include "platform/classlib/core/TypInfo.h"

#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"

#include <algorithm>

namespace {

constexpr const char* SInvalidPropertyValue = "Invalid property value";

[[noreturn]] void RaiseInvalidValue() { throw EPropertyError(SInvalidPropertyValue); }

[[noreturn]] void RaiseUnknownProperty(std::string_view name)
{
    throw EPropertyError(Format("Property %s does not exist", {name}));
}

[[noreturn]] void RaiseWrongType(const TPropInfo& prop)
{
    throw EPropertyError(Format("Invalid property type: %s", {prop.PropType->TypeName()}));
}

[[noreturn]] void RaiseReadOnly(const TPropInfo& prop)
{
    throw EPropertyError(Format("Property %s is read-only", {prop.Name}));
}

const TPropInfo& RequireProp(const TObject& instance, std::string_view name)
{
    const TPropInfo* prop = GetPropInfo(instance, name);
    if (!prop)
        RaiseUnknownProperty(name);
    return *prop;
}

bool IsOrdinal(TTypeKind kind)
{
    return kind == tkInteger || kind == tkChar || kind == tkEnumeration || kind == tkSet || kind == tkInt64;
}

TTypeInfo MakeType(TTypeKind kind, std::string name, std::int64_t minValue = INT32_MIN, std::int64_t maxValue = INT32_MAX)
{
    TTypeInfo info;
    info.Kind = kind;
    info.Name = std::move(name);
    info.MinValue = minValue;
    info.MaxValue = maxValue;
    return info;
}

std::uint64_t SetMask(const TTypeInfo& setType)
{
    const std::size_t count = setType.CompType ? setType.CompType->EnumNames.size() : 0;
    return count >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
}

} // namespace

std::string TTypeInfo::TypeName() const
{
    if (Kind == tkClass && ClassRef)
        return ClassRef()->ClassName();
    return Name;
}

const TTypeInfo& IntegerTypeInfo()
{
    static const TTypeInfo info = MakeType(tkInteger, "Integer");
    return info;
}

const TTypeInfo& Int64TypeInfo()
{
    static const TTypeInfo info = MakeType(tkInt64, "Int64", INT64_MIN, INT64_MAX);
    return info;
}

const TTypeInfo& BooleanTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("Boolean", {"False", "True"});
    return info;
}

const TTypeInfo& CharTypeInfo()
{
    static const TTypeInfo info = MakeType(tkChar, "Char", 0, 255);
    return info;
}

const TTypeInfo& StringTypeInfo()
{
    static const TTypeInfo info = MakeType(tkString, "string");
    return info;
}

const TTypeInfo& FloatTypeInfo()
{
    static const TTypeInfo info = MakeType(tkFloat, "Double");
    return info;
}

const TTypeInfo& MethodTypeInfo()
{
    static const TTypeInfo info = MakeType(tkMethod, "TMethod");
    return info;
}

TTypeInfo EnumerationTypeInfo(std::string name, std::vector<std::string> names)
{
    TTypeInfo info = MakeType(tkEnumeration, std::move(name), 0, static_cast<std::int64_t>(names.size()) - 1);
    info.EnumNames = std::move(names);
    return info;
}

TTypeInfo SetTypeInfo(std::string name, const TTypeInfo& memberType)
{
    TTypeInfo info = MakeType(tkSet, std::move(name), 0, INT64_MAX);
    info.CompType = &memberType;
    return info;
}

TTypeInfo RangeTypeInfo(std::string name, std::int64_t minValue, std::int64_t maxValue)
{
    return MakeType(tkInteger, std::move(name), minValue, maxValue);
}

bool TPropInfo::Writable() const
{
    return SetOrd || SetStr || SetFloat || SetObject || SetMethod;
}

TPropInfo& TClassBuilder::Add(std::string name, const TTypeInfo& type)
{
    TPropInfo& info = m_info.Properties.emplace_back();
    info.Name = std::move(name);
    info.PropType = &type;
    return info;
}

void TClassBuilder::RaiseMethodMismatch() { RaiseInvalidValue(); }

void TClassBuilder::RaiseFieldMismatch() { throw EInvalidCast("Invalid class typecast"); }

// ---- Lookup ----------------------------------------------------------------------------------

const TPropInfo* GetPropInfo(TClass aClass, std::string_view name)
{
    for (TClass c = aClass; c; c = c->ClassParent())
        for (const TPropInfo& prop : c->ClassInfo().Properties)
            if (SameText(prop.Name, name))
                return &prop;
    return nullptr;
}

const TPropInfo* GetPropInfo(const TObject& instance, std::string_view name)
{
    return GetPropInfo(instance.ClassType(), name);
}

std::vector<const TPropInfo*> GetPropList(TClass aClass)
{
    std::vector<TClass> chain;
    for (TClass c = aClass; c; c = c->ClassParent())
        chain.push_back(c);
    std::vector<const TPropInfo*> list;
    for (auto c = chain.rbegin(); c != chain.rend(); ++c)
        for (const TPropInfo& prop : (*c)->ClassInfo().Properties)
            if (std::none_of(list.begin(), list.end(), [&](const TPropInfo* p) { return SameText(p->Name, prop.Name); }))
                list.push_back(&prop);
    // A redeclared property replaces its ancestor's in place.
    for (const TPropInfo*& entry : list)
        entry = GetPropInfo(aClass, entry->Name);
    return list;
}

bool IsPublishedProp(const TObject& instance, std::string_view name) { return GetPropInfo(instance, name) != nullptr; }

bool PropIsType(const TObject& instance, std::string_view name, TTypeKind kind)
{
    return RequireProp(instance, name).Kind() == kind;
}

TTypeKind PropType(const TObject& instance, std::string_view name) { return RequireProp(instance, name).Kind(); }

// ---- Ordinals --------------------------------------------------------------------------------

std::int64_t GetOrdProp(const TObject& instance, const TPropInfo& prop)
{
    if (!IsOrdinal(prop.Kind()))
        RaiseWrongType(prop);
    return prop.GetOrd(instance);
}

std::int64_t GetOrdProp(const TObject& instance, std::string_view name)
{
    return GetOrdProp(instance, RequireProp(instance, name));
}

void SetOrdProp(TObject& instance, const TPropInfo& prop, std::int64_t value)
{
    if (!IsOrdinal(prop.Kind()))
        RaiseWrongType(prop);
    if (!prop.SetOrd)
        RaiseReadOnly(prop);
    const TTypeInfo& type = *prop.PropType;
    const bool inRange = type.Kind == tkSet ? (static_cast<std::uint64_t>(value) & ~SetMask(type)) == 0
                                            : value >= type.MinValue && value <= type.MaxValue;
    if (!inRange)
        RaiseInvalidValue();
    prop.SetOrd(instance, value);
}

void SetOrdProp(TObject& instance, std::string_view name, std::int64_t value)
{
    SetOrdProp(instance, RequireProp(instance, name), value);
}

int GetEnumValue(const TTypeInfo& type, std::string_view name)
{
    for (std::size_t i = 0; i < type.EnumNames.size(); ++i)
        if (SameText(type.EnumNames[i], name))
            return static_cast<int>(i);
    return -1;
}

std::string GetEnumName(const TTypeInfo& type, std::int64_t value)
{
    if (value < 0 || value >= static_cast<std::int64_t>(type.EnumNames.size()))
        return {};
    return type.EnumNames[static_cast<std::size_t>(value)];
}

std::string GetEnumProp(const TObject& instance, std::string_view name)
{
    const TPropInfo& prop = RequireProp(instance, name);
    if (prop.Kind() != tkEnumeration)
        RaiseWrongType(prop);
    return GetEnumName(*prop.PropType, prop.GetOrd(instance));
}

void SetEnumProp(TObject& instance, std::string_view name, std::string_view value)
{
    const TPropInfo& prop = RequireProp(instance, name);
    if (prop.Kind() != tkEnumeration)
        RaiseWrongType(prop);
    const int ordinal = GetEnumValue(*prop.PropType, value);
    if (ordinal < 0)
        throw EPropertyConvertError(Format("Invalid enumeration value: %s", {value}));
    SetOrdProp(instance, prop, ordinal);
}

std::string SetToString(const TTypeInfo& setType, std::uint64_t value, bool brackets)
{
    std::string text;
    const std::size_t count = setType.CompType ? setType.CompType->EnumNames.size() : 0;
    for (std::size_t i = 0; i < count && i < 64; ++i) {
        if (!(value & (std::uint64_t{1} << i)))
            continue;
        if (!text.empty())
            text += ',';
        text += setType.CompType->EnumNames[i];
    }
    return brackets ? "[" + text + "]" : text;
}

std::uint64_t StringToSet(const TTypeInfo& setType, std::string_view value)
{
    std::string text = Trim(value);
    if (!text.empty() && text.front() == '[')
        text.erase(0, 1);
    if (!text.empty() && text.back() == ']')
        text.pop_back();
    std::uint64_t bits = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t comma = text.find(',', start);
        if (comma == std::string::npos)
            comma = text.size();
        const std::string member = Trim(std::string_view(text).substr(start, comma - start));
        if (!member.empty()) {
            const int ordinal = setType.CompType ? GetEnumValue(*setType.CompType, member) : -1;
            if (ordinal < 0 || ordinal >= 64)
                throw EPropertyConvertError(Format("Invalid property element: %s", {member}));
            bits |= std::uint64_t{1} << ordinal;
        }
        start = comma + 1;
    }
    return bits;
}

std::string GetSetProp(const TObject& instance, std::string_view name, bool brackets)
{
    const TPropInfo& prop = RequireProp(instance, name);
    if (prop.Kind() != tkSet)
        RaiseWrongType(prop);
    return SetToString(*prop.PropType, static_cast<std::uint64_t>(prop.GetOrd(instance)), brackets);
}

void SetSetProp(TObject& instance, std::string_view name, std::string_view value)
{
    const TPropInfo& prop = RequireProp(instance, name);
    if (prop.Kind() != tkSet)
        RaiseWrongType(prop);
    SetOrdProp(instance, prop, static_cast<std::int64_t>(StringToSet(*prop.PropType, value)));
}

// ---- Strings, floats, objects, methods -----------------------------------------------------

std::string GetStrProp(const TObject& instance, const TPropInfo& prop)
{
    if (prop.Kind() != tkString)
        RaiseWrongType(prop);
    return prop.GetStr(instance);
}

std::string GetStrProp(const TObject& instance, std::string_view name)
{
    return GetStrProp(instance, RequireProp(instance, name));
}

void SetStrProp(TObject& instance, const TPropInfo& prop, const std::string& value)
{
    if (prop.Kind() != tkString)
        RaiseWrongType(prop);
    if (!prop.SetStr)
        RaiseReadOnly(prop);
    prop.SetStr(instance, value);
}

void SetStrProp(TObject& instance, std::string_view name, const std::string& value)
{
    SetStrProp(instance, RequireProp(instance, name), value);
}

double GetFloatProp(const TObject& instance, std::string_view name)
{
    const TPropInfo& prop = RequireProp(instance, name);
    if (prop.Kind() != tkFloat)
        RaiseWrongType(prop);
    return prop.GetFloat(instance);
}

void SetFloatProp(TObject& instance, std::string_view name, double value)
{
    const TPropInfo& prop = RequireProp(instance, name);
    if (prop.Kind() != tkFloat)
        RaiseWrongType(prop);
    if (!prop.SetFloat)
        RaiseReadOnly(prop);
    prop.SetFloat(instance, value);
}

TObject* GetObjectProp(const TObject& instance, std::string_view name)
{
    const TPropInfo& prop = RequireProp(instance, name);
    if (prop.Kind() != tkClass)
        RaiseWrongType(prop);
    return prop.GetObject(instance);
}

void SetObjectProp(TObject& instance, const TPropInfo& prop, TObject* value)
{
    if (prop.Kind() != tkClass)
        RaiseWrongType(prop);
    if (!prop.SetObject)
        RaiseReadOnly(prop);
    if (value && !value->InheritsFrom(prop.PropType->ClassType()))
        RaiseInvalidValue();
    prop.SetObject(instance, value);
}

void SetObjectProp(TObject& instance, std::string_view name, TObject* value)
{
    SetObjectProp(instance, RequireProp(instance, name), value);
}

TMethod GetMethodProp(const TObject& instance, std::string_view name)
{
    const TPropInfo& prop = RequireProp(instance, name);
    if (prop.Kind() != tkMethod)
        RaiseWrongType(prop);
    return prop.GetMethod(instance);
}

void SetMethodProp(TObject& instance, std::string_view name, const TMethod& value)
{
    const TPropInfo& prop = RequireProp(instance, name);
    if (prop.Kind() != tkMethod)
        RaiseWrongType(prop);
    if (!prop.SetMethod)
        RaiseReadOnly(prop);
    prop.SetMethod(instance, value);
}

// ---- Published methods and fields -----------------------------------------------------------

std::shared_ptr<const TMethodCode> MethodAddress(TClass aClass, std::string_view name)
{
    for (TClass c = aClass; c; c = c->ClassParent())
        for (const TMethodInfo& method : c->ClassInfo().Methods)
            if (SameText(method.Name, name))
                return method.Code;
    return nullptr;
}

std::string MethodName(TClass aClass, const TMethodCode& code)
{
    for (TClass c = aClass; c; c = c->ClassParent())
        for (const TMethodInfo& method : c->ClassInfo().Methods)
            if (method.Code->Equals(code))
                return method.Name;
    return {};
}

const TFieldInfo* FieldAddress(TClass aClass, std::string_view name)
{
    for (TClass c = aClass; c; c = c->ClassParent())
        for (const TFieldInfo& field : c->ClassInfo().Fields)
            if (SameText(field.Name, name))
                return &field;
    return nullptr;
}
