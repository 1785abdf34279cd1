#include "platform/classlib/core/Components.h"

#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"

#include <algorithm>

namespace {

void DescribeComponent(TClassBuilder& c)
{
    c.String("Name", &TComponent::Name, &TComponent::SetName).Stored(false);
    c.Integer("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
}

[[noreturn]] void RaiseIndexError(int index)
{
    throw EListError(Format("List index out of bounds (%d)", {index}));
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TComponent, TPersistent, ComponentCreator<TComponent>, DescribeComponent)

bool IsValidIdent(std::string_view ident)
{
    const auto alpha = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    const auto alnum = [&](char c) { return alpha(c) || (c >= '0' && c <= '9'); };
    return !ident.empty() && alpha(ident[0]) && std::all_of(ident.begin() + 1, ident.end(), alnum);
}

TComponent* OwnerComponent(TObject* owner)
{
    auto* component = dynamic_cast<TComponent*>(owner);
    if (owner && !component)
        throw EInvalidCast("Invalid class typecast");
    return component;
}

TComponent* CreateComponent(TComponentClass componentClass, TComponent* owner)
{
    if (!componentClass->InheritsFrom(TComponent::StaticClass()))
        throw EInvalidCast("Invalid class typecast");
    return static_cast<TComponent*>(componentClass->Create(owner));
}

TComponent::TComponent(TComponent* owner)
{
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Tell every component that asked, and stop telling this one about them.
    while (!m_freeNotifies.empty()) {
        TComponent* other = m_freeNotifies.back();
        m_freeNotifies.pop_back();
        std::erase(other->m_freeNotifies, this);
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (m_owner)
        m_owner->RemoveComponent(this);
}

void TComponent::Destroying()
{
    if (m_state.Contains(csDestroying))
        return;
    m_state.Include(csDestroying);
    for (TComponent* component : m_components)
        component->Destroying();
}

void TComponent::DestroyComponents()
{
    while (!m_components.empty()) {
        TComponent* component = m_components.back();
        // A component others refer to (an image list, a data source) tells its siblings that it
        // goes, so none of them calls it from its own destructor afterwards.
        if (component->m_state.Contains(csFreeNotification))
            Notification(component, opRemove);
        Remove(component);
        delete component;
    }
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        RaiseIndexError(index);
    return m_components[static_cast<std::size_t>(index)];
}

int TComponent::ComponentIndex() const
{
    if (!m_owner)
        return -1;
    const auto& siblings = m_owner->m_components;
    return static_cast<int>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

void TComponent::SetComponentIndex(int index)
{
    if (!m_owner)
        return;
    auto& siblings = m_owner->m_components;
    const int count = static_cast<int>(siblings.size());
    index = std::clamp(index, 0, count - 1);
    const int current = ComponentIndex();
    if (current == index)
        return;
    siblings.erase(siblings.begin() + current);
    siblings.insert(siblings.begin() + index, this);
}

TComponent* TComponent::FindComponent(std::string_view name) const
{
    if (name.empty())
        return nullptr;
    for (TComponent* component : m_components)
        if (SameText(component->m_name, name))
            return component;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component)
{
    if (component->m_owner)
        component->m_owner->RemoveComponent(component);
    ValidateRename(component, {}, component->m_name);
    Insert(component);
    component->SetReference(true);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    Notification(component, opRemove);
    component->SetReference(false);
    Remove(component);
}

void TComponent::Insert(TComponent* component)
{
    m_components.push_back(component);
    component->m_owner = this;
}

void TComponent::Remove(TComponent* component)
{
    std::erase(m_components, component);
    component->m_owner = nullptr;
}

void TComponent::SetName(const std::string& name)
{
    if (name == m_name)
        return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError(Format("'%s' is not a valid component name", {name}));
    if (m_owner)
        m_owner->ValidateRename(this, m_name, name);
    else
        ValidateRename(nullptr, m_name, name);
    SetReference(false);
    ChangeName(name);
    SetReference(true);
}

void TComponent::ChangeName(const std::string& name) { m_name = name; }

void TComponent::ValidateRename(TComponent* component, std::string_view currentName, std::string_view newName)
{
    if (!component || SameText(currentName, newName))
        return;
    TComponent* existing = FindComponent(newName);
    if (existing && existing != component)
        throw EComponentError(Format("A component named %s already exists", {newName}));
}

void TComponent::SetReference(bool enable)
{
    if (!m_owner || m_name.empty())
        return;
    if (const TFieldInfo* field = FieldAddress(m_owner->ClassType(), m_name))
        field->Set(*m_owner, enable ? this : nullptr);
}

void TComponent::SetComponentStateFlag(TComponentStateFlag flag, bool on)
{
    if (flag == csDesigning)
        return;
    if (on)
        m_state.Include(flag);
    else
        m_state.Exclude(flag);
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this)
        return;
    if (!m_owner || component->m_owner != m_owner) {
        if (std::find(m_freeNotifies.begin(), m_freeNotifies.end(), component) == m_freeNotifies.end()) {
            m_freeNotifies.push_back(component);
            component->FreeNotification(this);
        }
    }
    m_state.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    if (!component)
        return;
    std::erase(m_freeNotifies, component);
    std::erase(component->m_freeNotifies, this);
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
    if (operation == opRemove && component)
        RemoveFreeNotification(component);
    // A component may free others while it is being told, so walk from the end with a bound.
    for (std::size_t i = m_components.size(); i > 0; --i) {
        if (i > m_components.size())
            i = m_components.size();
        if (i == 0)
            break;
        m_components[i - 1]->Notification(component, operation);
    }
}

void TComponent::Loaded() { m_state.Exclude(csLoading); }

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::GetChildren(const TGetChildProc& proc, TComponent* root)
{
    if (root != this)
        return;
    for (TComponent* component : m_components)
        if (!component->HasParent())
            proc(component);
}

void TComponent::SetChildOrder(TComponent*, int) {}

HRESULT TComponent::QueryInterface(const TGUID& iid, void** object)
{
    void* found = nullptr;
    const bool supported = GetInterface(iid, found);
    if (object)
        *object = found;
    return supported ? S_OK : E_NOINTERFACE;
}

bool TComponent::GetInterface(const TGUID& iid, void*& object)
{
    if (iid == IInterface::IID) {
        object = static_cast<IInterface*>(this);
        return true;
    }
    return TPersistent::GetInterface(iid, object);
}
