#pragma once

#include "platform/rtl/Exceptions.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TObject;
class TMetaClass;
class TClassInfo;
class TClassBuilder;
struct TGUID;

// A class reference, as the class library's `class of` types were: one TMetaClass per class,
// compared by address.
using TClass = const TMetaClass*;

// Constructs an instance for a class reference. `owner` is what the class's constructor takes:
// the owning component for components, the collection for collection items, nothing for others.
using TObjectCreator = TObject* (*)(TObject* owner);
// Fills a class's published tables (properties, methods, fields); see TypInfo.h.
using TClassDescriber = void (*)(TClassBuilder& builder);

// What the class library kept for every class: its name, its parent, how to construct it
// (the virtual constructor) and its published members. Instances live in function-local
// statics made by CLASSLIB_IMPLEMENT_CLASS, so they exist as soon as anyone asks for them.
class TMetaClass {
public:
    TMetaClass(std::string name, TClass parent, TObjectCreator creator, TClassDescriber describer);
    ~TMetaClass();
    TMetaClass(const TMetaClass&) = delete;
    TMetaClass& operator=(const TMetaClass&) = delete;

    [[nodiscard]] const std::string& ClassName() const { return m_name; }
    [[nodiscard]] TClass ClassParent() const { return m_parent; }
    // True for the class itself and every class derived from `ancestor`.
    [[nodiscard]] bool InheritsFrom(TClass ancestor) const;
    [[nodiscard]] bool ClassNameIs(std::string_view name) const;
    [[nodiscard]] bool IsAbstract() const { return m_creator == nullptr; }
    // Raises EInvalidOperation for a class that cannot be constructed through its reference.
    [[nodiscard]] TObject* Create(TObject* owner = nullptr) const;
    // This class's own published tables; the chain to the parent is walked by TypInfo.
    [[nodiscard]] const TClassInfo& ClassInfo() const { return *m_info; }

private:
    std::string m_name;
    TClass m_parent;
    TObjectCreator m_creator;
    std::unique_ptr<TClassInfo> m_info;
};

// The root of every class the class library knows by name. Not copyable: objects have identity.
class TObject {
public:
    TObject() = default;
    virtual ~TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;

    [[nodiscard]] static TClass StaticClass();
    [[nodiscard]] virtual TClass ClassType() const;
    [[nodiscard]] const std::string& ClassName() const { return ClassType()->ClassName(); }
    [[nodiscard]] TClass ClassParent() const { return ClassType()->ClassParent(); }
    [[nodiscard]] bool InheritsFrom(TClass ancestor) const { return ClassType()->InheritsFrom(ancestor); }
    // Answers whether the object implements the interface `iid`, setting `object` to it. The
    // default answers no; classes that implement interfaces extend it (see Interfaces.h).
    virtual bool GetInterface(const TGUID& iid, void*& object);
};

// Declares the class-reference members inside a class body; leaves the access at public.
#define CLASSLIB_DECLARE_CLASS                      \
public:                                             \
    [[nodiscard]] static TClass StaticClass();      \
    [[nodiscard]] TClass ClassType() const override

// Defines them in the class's .cpp: CLASSLIB_IMPLEMENT_CLASS(TButton, TControl,
// ComponentCreator<TButton>, DescribeButton). Pass nullptr for an abstract class or one with
// no published members.
#define CLASSLIB_IMPLEMENT_CLASS(Class, Parent, Creator, Describer)                            \
    TClass Class::StaticClass()                                                               \
    {                                                                                         \
        static const TMetaClass metaClass(#Class, Parent::StaticClass(), Creator, Describer); \
        return &metaClass;                                                                    \
    }                                                                                         \
    TClass Class::ClassType() const { return StaticClass(); }

// Creator for classes constructed with no arguments.
template <class T>
TObject* DefaultCreator(TObject*)
{
    return new T();
}

// A checked downcast of a class-library object; null stays null.
template <class T>
[[nodiscard]] T* ObjectAs(TObject* object)
{
    return dynamic_cast<T*>(object);
}

// The class registry that form data names classes through. Registering a class twice is
// harmless; when two classes share a name, the first registration stays. Thread-safe.
void RegisterClass(TClass aClass);
void RegisterClasses(std::initializer_list<TClass> classes);
void UnRegisterClass(TClass aClass);
// Case-insensitive. GetClass answers null for an unknown name; FindClass raises EClassNotFound
// "Class %s not found".
[[nodiscard]] TClass GetClass(std::string_view className);
[[nodiscard]] TClass FindClass(std::string_view className);

// Raised when form data names a class nobody registered.
RTL_DECLARE_EXCEPTION(EClassNotFound, EStreamError);
