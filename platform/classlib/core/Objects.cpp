#include "platform/classlib/core/Objects.h"

#include "platform/classlib/core/Interfaces.h"
#include "platform/classlib/core/TypInfo.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <mutex>

TMetaClass::TMetaClass(std::string name, TClass parent, TObjectCreator creator, TClassDescriber describer)
    : m_name(std::move(name)), m_parent(parent), m_creator(creator), m_info(std::make_unique<TClassInfo>())
{
    if (describer) {
        TClassBuilder builder(*m_info);
        describer(builder);
    }
}

TMetaClass::~TMetaClass() = default;

bool TMetaClass::InheritsFrom(TClass ancestor) const
{
    for (TClass c = this; c; c = c->m_parent)
        if (c == ancestor)
            return true;
    return false;
}

bool TMetaClass::ClassNameIs(std::string_view name) const { return SameText(m_name, name); }

TObject* TMetaClass::Create(TObject* owner) const
{
    if (!m_creator)
        throw EInvalidOperation(Format("Cannot create an instance of abstract class %s", {m_name}));
    return m_creator(owner);
}

TClass TObject::StaticClass()
{
    static const TMetaClass metaClass("TObject", nullptr, DefaultCreator<TObject>, nullptr);
    return &metaClass;
}

TClass TObject::ClassType() const { return StaticClass(); }

bool TObject::GetInterface(const TGUID&, void*& object)
{
    object = nullptr;
    return false;
}

namespace {

class TClassRegistry {
public:
    static TClassRegistry& Instance()
    {
        static TClassRegistry registry;
        return registry;
    }

    void Add(TClass aClass)
    {
        std::lock_guard lock(m_mutex);
        if (!FindLocked(aClass->ClassName()))
            m_classes.push_back(aClass);
    }
    void Remove(TClass aClass)
    {
        std::lock_guard lock(m_mutex);
        std::erase(m_classes, aClass);
    }
    TClass Find(std::string_view name)
    {
        std::lock_guard lock(m_mutex);
        return FindLocked(name);
    }

private:
    TClass FindLocked(std::string_view name) const
    {
        const auto found = std::find_if(m_classes.begin(), m_classes.end(),
                                        [&](TClass c) { return c->ClassNameIs(name); });
        return found == m_classes.end() ? nullptr : *found;
    }

    std::mutex m_mutex;
    std::vector<TClass> m_classes;
};

} // namespace

void RegisterClass(TClass aClass) { TClassRegistry::Instance().Add(aClass); }

void RegisterClasses(std::initializer_list<TClass> classes)
{
    for (TClass c : classes)
        RegisterClass(c);
}

void UnRegisterClass(TClass aClass) { TClassRegistry::Instance().Remove(aClass); }

TClass GetClass(std::string_view className) { return TClassRegistry::Instance().Find(className); }

TClass FindClass(std::string_view className)
{
    TClass found = GetClass(className);
    if (!found)
        throw EClassNotFound(Format("Class %s not found", {className}));
    return found;
}
