#pragma once

#include "platform/classlib/core/Events.h"
#include "platform/classlib/core/Objects.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// The published-property registry: per class a table of properties (name, type, getter, setter,
// default, stored-when), published methods (events bind to them by name) and published fields
// (the form's component pointers), chained to the parent class. Form data, the skin engine and
// any code that sets a property by name all go through it.
//
// A class describes itself in its .cpp with a short table:
//
//   void DescribeButton(TClassBuilder& c)
//   {
//       c.Integer("Width", &TButton::Width, &TButton::SetWidth).Default(75);
//       c.Enum("Align", AlignTypeInfo(), &TButton::Align, &TButton::SetAlign).Default(alNone);
//       c.String("Caption", &TButton::Caption, &TButton::SetCaption).StoredWhen(&TButton::IsCaptionStored);
//       c.Object("Font", &TButton::Font, &TButton::SetFont);
//       c.Event("OnClick", &TButton::OnClick, &TButton::SetOnClick);
//   }
//   CLASSLIB_IMPLEMENT_CLASS(TButton, TControl, ComponentCreator<TButton>, DescribeButton)

// A set of up to 64 members of an enumeration, held as the bit mask the registry reads and
// writes (bit n = the member whose ordinal is n).
template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> members)
    {
        for (const E member : members)
            m_bits |= Bit(member);
    }
    [[nodiscard]] static constexpr TSet FromBits(std::uint64_t bits)
    {
        TSet set;
        set.m_bits = bits;
        return set;
    }

    [[nodiscard]] constexpr bool Contains(E member) const { return (m_bits & Bit(member)) != 0; }
    constexpr TSet& Include(E member) { m_bits |= Bit(member); return *this; }
    constexpr TSet& Exclude(E member) { m_bits &= ~Bit(member); return *this; }
    [[nodiscard]] constexpr bool Empty() const { return m_bits == 0; }
    [[nodiscard]] constexpr std::uint64_t Bits() const { return m_bits; }

    constexpr TSet operator+(TSet other) const { return FromBits(m_bits | other.m_bits); }
    constexpr TSet operator-(TSet other) const { return FromBits(m_bits & ~other.m_bits); }
    constexpr TSet operator*(TSet other) const { return FromBits(m_bits & other.m_bits); }
    friend constexpr bool operator==(TSet, TSet) = default;

private:
    static constexpr std::uint64_t Bit(E member) { return std::uint64_t{1} << static_cast<unsigned>(member); }

    std::uint64_t m_bits = 0;
};

enum TTypeKind { tkUnknown, tkInteger, tkChar, tkEnumeration, tkFloat, tkString, tkSet, tkClass, tkMethod, tkInt64 };

// The type of a property. Enumerations list their identifiers (Boolean is the enumeration
// False, True); sets name their member type; integers may carry a range and an identifier
// mapping (TColor's `cl` names); class types name their class lazily, since a class may
// describe a property of its own type.
struct TTypeInfo {
    TTypeKind Kind = tkUnknown;
    std::string Name;
    std::vector<std::string> EnumNames;
    const TTypeInfo* CompType = nullptr;
    std::int64_t MinValue = INT32_MIN;
    std::int64_t MaxValue = INT32_MAX;
    bool (*IdentToInt)(std::string_view ident, std::int64_t& value) = nullptr;
    bool (*IntToIdent)(std::int64_t value, std::string& ident) = nullptr;
    TClass (*ClassRef)() = nullptr;

    [[nodiscard]] std::string TypeName() const;
    [[nodiscard]] TClass ClassType() const { return ClassRef ? ClassRef() : nullptr; }
};

[[nodiscard]] const TTypeInfo& IntegerTypeInfo();
[[nodiscard]] const TTypeInfo& Int64TypeInfo();
[[nodiscard]] const TTypeInfo& BooleanTypeInfo();
[[nodiscard]] const TTypeInfo& CharTypeInfo();
[[nodiscard]] const TTypeInfo& StringTypeInfo();
[[nodiscard]] const TTypeInfo& FloatTypeInfo();
[[nodiscard]] const TTypeInfo& MethodTypeInfo();
[[nodiscard]] TTypeInfo EnumerationTypeInfo(std::string name, std::vector<std::string> names);
[[nodiscard]] TTypeInfo SetTypeInfo(std::string name, const TTypeInfo& memberType);
[[nodiscard]] TTypeInfo RangeTypeInfo(std::string name, std::int64_t minValue, std::int64_t maxValue);

template <class T>
[[nodiscard]] const TTypeInfo& ClassTypeInfo()
{
    static const TTypeInfo info = [] {
        TTypeInfo type;
        type.Kind = tkClass;
        type.ClassRef = &T::StaticClass;
        return type;
    }();
    return info;
}

// One published property. Getters and setters work on the instance; which pair is set depends on
// the kind (ordinal kinds share GetOrd/SetOrd). A missing setter makes the property read-only;
// a read-only object property is still filled in place by form data (Font.Name = ...).
struct TPropInfo {
    std::string Name;
    const TTypeInfo* PropType = nullptr;
    std::function<std::int64_t(const TObject&)> GetOrd;
    std::function<void(TObject&, std::int64_t)> SetOrd;
    std::function<std::string(const TObject&)> GetStr;
    std::function<void(TObject&, const std::string&)> SetStr;
    std::function<double(const TObject&)> GetFloat;
    std::function<void(TObject&, double)> SetFloat;
    std::function<TObject*(const TObject&)> GetObject;
    std::function<void(TObject&, TObject*)> SetObject;
    std::function<TMethod(const TObject&)> GetMethod;
    std::function<void(TObject&, const TMethod&)> SetMethod;
    // For ordinal kinds: the value not written to form data. None means always written.
    std::optional<std::int64_t> Default;
    // Null means stored.
    std::function<bool(const TObject&)> Stored;

    [[nodiscard]] TTypeKind Kind() const { return PropType->Kind; }
    [[nodiscard]] bool Writable() const;
    [[nodiscard]] bool IsStored(const TObject& instance) const { return !Stored || Stored(instance); }
};

// A published method: what an event property may be bound to by name.
struct TMethodInfo {
    std::string Name;
    std::shared_ptr<const TMethodCode> Code;
};

// A published field: the owner's pointer to a component of that name, kept up to date as
// components are named, renamed and removed.
struct TFieldInfo {
    std::string Name;
    std::function<void(TObject& owner, TObject* value)> Set;
};

// One class's own published members, in declaration order. The parent's come first when walked
// through the functions below.
class TClassInfo {
public:
    std::vector<TPropInfo> Properties;
    std::vector<TMethodInfo> Methods;
    std::vector<TFieldInfo> Fields;
};

namespace classlib_core::detail {

template <class V>
std::int64_t ToOrdinal(const V& value)
{
    if constexpr (requires { value.Bits(); })
        return static_cast<std::int64_t>(value.Bits());
    else
        return static_cast<std::int64_t>(value);
}

template <class V>
V FromOrdinal(std::int64_t value)
{
    if constexpr (requires { V::FromBits(0); })
        return V::FromBits(static_cast<std::uint64_t>(value));
    else
        return static_cast<V>(value);
}

template <class T>
const T& Self(const TObject& object)
{
    return static_cast<const T&>(object);
}

template <class T>
T& Self(TObject& object)
{
    return static_cast<T&>(object);
}

} // namespace classlib_core::detail

// Fine-tunes the property just added.
class TPropBuilder {
public:
    explicit TPropBuilder(TPropInfo& info) : m_info(info) {}

    TPropBuilder& Default(std::int64_t value)
    {
        m_info.Default = value;
        return *this;
    }
    template <class E>
        requires std::is_enum_v<E>
    TPropBuilder& Default(E value)
    {
        return Default(static_cast<std::int64_t>(value));
    }
    template <class E>
    TPropBuilder& Default(TSet<E> value)
    {
        return Default(static_cast<std::int64_t>(value.Bits()));
    }
    TPropBuilder& Stored(bool stored)
    {
        m_info.Stored = [stored](const TObject&) { return stored; };
        return *this;
    }
    template <class T>
    TPropBuilder& StoredWhen(bool (T::*predicate)() const)
    {
        m_info.Stored = [predicate](const TObject& o) { return (classlib_core::detail::Self<T>(o).*predicate)(); };
        return *this;
    }

private:
    TPropInfo& m_info;
};

// Handed to a class's describer; adds to that class's own tables.
class TClassBuilder {
public:
    explicit TClassBuilder(TClassInfo& info) : m_info(info) {}

    // Any ordinal: integers, Booleans, enumerations, sets (TSet), characters, colours.
    template <class TG, class TS, class G, class S>
    TPropBuilder Ordinal(std::string name, const TTypeInfo& type, G (TG::*get)() const, void (TS::*set)(S))
    {
        using V = std::decay_t<S>;
        TPropInfo& info = Add(std::move(name), type);
        info.GetOrd = [get](const TObject& o) { return classlib_core::detail::ToOrdinal((classlib_core::detail::Self<TG>(o).*get)()); };
        if (set)
            info.SetOrd = [set](TObject& o, std::int64_t v) { (classlib_core::detail::Self<TS>(o).*set)(classlib_core::detail::FromOrdinal<V>(v)); };
        return TPropBuilder(info);
    }
    template <class TG, class TS, class G, class S>
    TPropBuilder Integer(std::string name, G (TG::*get)() const, void (TS::*set)(S))
    {
        return Ordinal(std::move(name), IntegerTypeInfo(), get, set);
    }
    template <class TG, class TS, class G, class S>
    TPropBuilder Boolean(std::string name, G (TG::*get)() const, void (TS::*set)(S))
    {
        return Ordinal(std::move(name), BooleanTypeInfo(), get, set);
    }
    template <class TG, class TS, class G, class S>
    TPropBuilder Enum(std::string name, const TTypeInfo& type, G (TG::*get)() const, void (TS::*set)(S))
    {
        return Ordinal(std::move(name), type, get, set);
    }
    template <class TG, class TS, class G, class S>
    TPropBuilder Set(std::string name, const TTypeInfo& type, G (TG::*get)() const, void (TS::*set)(S))
    {
        return Ordinal(std::move(name), type, get, set);
    }
    template <class TG, class TS, class G, class S>
    TPropBuilder String(std::string name, G (TG::*get)() const, void (TS::*set)(S))
    {
        TPropInfo& info = Add(std::move(name), StringTypeInfo());
        info.GetStr = [get](const TObject& o) { return std::string((classlib_core::detail::Self<TG>(o).*get)()); };
        info.SetStr = [set](TObject& o, const std::string& v) { (classlib_core::detail::Self<TS>(o).*set)(v); };
        return TPropBuilder(info);
    }
    template <class TG, class TS, class G, class S>
    TPropBuilder Float(std::string name, G (TG::*get)() const, void (TS::*set)(S))
    {
        TPropInfo& info = Add(std::move(name), FloatTypeInfo());
        info.GetFloat = [get](const TObject& o) { return static_cast<double>((classlib_core::detail::Self<TG>(o).*get)()); };
        info.SetFloat = [set](TObject& o, double v) { (classlib_core::detail::Self<TS>(o).*set)(static_cast<std::decay_t<S>>(v)); };
        return TPropBuilder(info);
    }
    // A nested persistent object, a TStrings, a collection, or a component reference (when C is
    // a component class). The setter receives null or an instance of C.
    template <class C, class TG, class TS, class S>
    TPropBuilder Object(std::string name, C* (TG::*get)() const, void (TS::*set)(S))
    {
        TPropInfo& info = AddObject<C, TG>(std::move(name), get);
        info.SetObject = [set](TObject& o, TObject* v) { (classlib_core::detail::Self<TS>(o).*set)(static_cast<C*>(v)); };
        return TPropBuilder(info);
    }
    // A read-only nested object, filled in place.
    template <class C, class T>
    TPropBuilder Object(std::string name, C* (T::*get)() const)
    {
        return TPropBuilder(AddObject<C, T>(std::move(name), get));
    }
    template <class TG, class TS, class G, class S>
    TPropBuilder Event(std::string name, G (TG::*get)() const, void (TS::*set)(S))
    {
        using E = std::decay_t<G>;
        TPropInfo& info = Add(std::move(name), MethodTypeInfo());
        info.GetMethod = [get](const TObject& o) { return (classlib_core::detail::Self<TG>(o).*get)().Method(); };
        info.SetMethod = [set](TObject& o, const TMethod& m) {
            if (!E::Accepts(m))
                RaiseMethodMismatch();
            (classlib_core::detail::Self<TS>(o).*set)(E::FromMethod(m));
        };
        return TPropBuilder(info);
    }
    // A published method that event properties may be bound to by name.
    template <class T, class... Args>
    void Method(std::string name, void (T::*member)(Args...))
    {
        m_info.Methods.push_back({std::move(name), MethodCode(member)});
    }
    // A published component field, set when a component of that name joins the owner.
    template <class T, class C>
    void Field(std::string name, C* T::*member)
    {
        m_info.Fields.push_back({std::move(name), [member](TObject& owner, TObject* value) {
                                     C* typed = dynamic_cast<C*>(value);
                                     if (value && !typed)
                                         RaiseFieldMismatch();
                                     classlib_core::detail::Self<T>(owner).*member = typed;
                                 }});
    }

private:
    TPropInfo& Add(std::string name, const TTypeInfo& type);
    template <class C, class T>
    TPropInfo& AddObject(std::string name, C* (T::*get)() const)
    {
        TPropInfo& info = Add(std::move(name), ClassTypeInfo<C>());
        info.GetObject = [get](const TObject& o) -> TObject* { return (classlib_core::detail::Self<T>(o).*get)(); };
        return info;
    }
    [[noreturn]] static void RaiseMethodMismatch();
    [[noreturn]] static void RaiseFieldMismatch();

    TClassInfo& m_info;
};

// Raised by the generic accessors: "Property %s does not exist", "Invalid property value",
// "Invalid property type: %s", "Property is read-only".
RTL_DECLARE_EXCEPTION(EPropertyError, Exception);
RTL_DECLARE_EXCEPTION(EPropertyConvertError, Exception);

// ---- Generic access by name ----------------------------------------------------------------
// Names compare case-insensitively. GetPropInfo answers null for a missing property; the Get/Set
// functions taking a name raise EPropertyError "Property %s does not exist" instead.

[[nodiscard]] const TPropInfo* GetPropInfo(const TObject& instance, std::string_view name);
[[nodiscard]] const TPropInfo* GetPropInfo(TClass aClass, std::string_view name);
// Every published property, the parent class's first.
[[nodiscard]] std::vector<const TPropInfo*> GetPropList(TClass aClass);
[[nodiscard]] bool IsPublishedProp(const TObject& instance, std::string_view name);
[[nodiscard]] bool PropIsType(const TObject& instance, std::string_view name, TTypeKind kind);
[[nodiscard]] TTypeKind PropType(const TObject& instance, std::string_view name);

[[nodiscard]] std::int64_t GetOrdProp(const TObject& instance, const TPropInfo& prop);
[[nodiscard]] std::int64_t GetOrdProp(const TObject& instance, std::string_view name);
// Range-checked against the type ("Invalid property value" outside it).
void SetOrdProp(TObject& instance, const TPropInfo& prop, std::int64_t value);
void SetOrdProp(TObject& instance, std::string_view name, std::int64_t value);
// Enumerations by identifier (case-insensitive); Booleans are "False"/"True".
[[nodiscard]] std::string GetEnumProp(const TObject& instance, std::string_view name);
void SetEnumProp(TObject& instance, std::string_view name, std::string_view value);
// Sets in their text form, "[fsBold,fsItalic]"; brackets optional when setting.
[[nodiscard]] std::string GetSetProp(const TObject& instance, std::string_view name, bool brackets = true);
void SetSetProp(TObject& instance, std::string_view name, std::string_view value);
[[nodiscard]] std::string GetStrProp(const TObject& instance, const TPropInfo& prop);
[[nodiscard]] std::string GetStrProp(const TObject& instance, std::string_view name);
void SetStrProp(TObject& instance, const TPropInfo& prop, const std::string& value);
void SetStrProp(TObject& instance, std::string_view name, const std::string& value);
[[nodiscard]] double GetFloatProp(const TObject& instance, std::string_view name);
void SetFloatProp(TObject& instance, std::string_view name, double value);
[[nodiscard]] TObject* GetObjectProp(const TObject& instance, std::string_view name);
// Raises EPropertyError "Invalid property value" for an object not of the property's class.
void SetObjectProp(TObject& instance, const TPropInfo& prop, TObject* value);
void SetObjectProp(TObject& instance, std::string_view name, TObject* value);
[[nodiscard]] TMethod GetMethodProp(const TObject& instance, std::string_view name);
// Raises EPropertyError "Invalid property value" for a method of another signature.
void SetMethodProp(TObject& instance, std::string_view name, const TMethod& value);

// Identifier <-> ordinal for enumerations (and Booleans); -1 / empty when out of range.
[[nodiscard]] int GetEnumValue(const TTypeInfo& type, std::string_view name);
[[nodiscard]] std::string GetEnumName(const TTypeInfo& type, std::int64_t value);
[[nodiscard]] std::string SetToString(const TTypeInfo& setType, std::uint64_t value, bool brackets = true);
// Raises EPropertyConvertError "Invalid property element: %s" for an unknown member.
[[nodiscard]] std::uint64_t StringToSet(const TTypeInfo& setType, std::string_view value);

// Published methods and fields, searched from the class up to its ancestors.
[[nodiscard]] std::shared_ptr<const TMethodCode> MethodAddress(TClass aClass, std::string_view name);
// The name under which `code` is published in `aClass`, empty when it is not.
[[nodiscard]] std::string MethodName(TClass aClass, const TMethodCode& code);
[[nodiscard]] const TFieldInfo* FieldAddress(TClass aClass, std::string_view name);
