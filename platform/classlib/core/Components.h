#pragma once

#include "platform/classlib/core/Interfaces.h"
#include "platform/classlib/core/Persistent.h"
#include "platform/classlib/core/TypInfo.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class TComponent;

enum TComponentStateFlag {
    csLoading,
    csReading,
    csWriting,
    csDestroying,
    csDesigning,
    csAncestor,
    csUpdating,
    csFixups,
    csFreeNotification,
    csInline,
    csDesignInstance,
};
using TComponentState = TSet<TComponentStateFlag>;

enum TOperation { opInsert, opRemove };

// Class references for components; a class made with ComponentCreator constructs with an owner.
using TComponentClass = TClass;
using TGetChildProc = std::function<void(TComponent* child)>;

RTL_DECLARE_EXCEPTION(EComponentError, Exception);

// A named object owned by another. The owner frees what it owns, last-owned first, when it is
// destroyed; a component freed on its own leaves its owner, which tells its other components
// (Notification opRemove). Components owned elsewhere that asked for FreeNotification are told
// too. Names are identifiers, unique (case-insensitively) among the owner's components.
//
// Destruction: csDestroying is set on the component and everything it owns before anything is
// freed. C++ destroys the derived parts of a class before ~TComponent frees the owned
// components; a class whose owned components must go while its own members still live calls
// DestroyComponents() in its destructor.
class TComponent : public TPersistent, public IInterface {
    CLASSLIB_DECLARE_CLASS;

    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    [[nodiscard]] TComponent* Owner() const { return m_owner; }
    [[nodiscard]] const std::string& Name() const { return m_name; }
    // Raises EComponentError "'%s' is not a valid component name" or "A component named %s
    // already exists" and keeps the old name.
    virtual void SetName(const std::string& name);
    [[nodiscard]] int Tag() const { return m_tag; }
    void SetTag(int tag) { m_tag = tag; }

    [[nodiscard]] int ComponentCount() const { return static_cast<int>(m_components.size()); }
    // Raises EListError "List index out of bounds (%d)".
    [[nodiscard]] TComponent* Components(int index) const;
    // Position among the owner's components, -1 without owner.
    [[nodiscard]] int ComponentIndex() const;
    void SetComponentIndex(int index);
    // Case-insensitive; null for an empty or unknown name.
    [[nodiscard]] TComponent* FindComponent(std::string_view name) const;
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    // Frees every owned component, last first.
    void DestroyComponents();
    // Marks this component and everything it owns as being destroyed.
    void Destroying();

    [[nodiscard]] TComponentState ComponentState() const { return m_state; }
    [[nodiscard]] bool IsLoading() const { return m_state.Contains(csLoading); }
    [[nodiscard]] bool IsDestroying() const { return m_state.Contains(csDestroying); }
    // Used by the form reader and writer; csDesigning can never be set here.
    void SetComponentStateFlag(TComponentStateFlag flag, bool on);

    // Asks to be told (Notification opRemove) when `component` goes, and tells it when this one
    // goes. Components of the same owner are told through the owner and need not ask.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Called by the form reader once every component of the form is read and references are
    // resolved, in creation order. Clears csLoading.
    virtual void Loaded();

    // Streaming hooks that controls fill in: whether the component has a parent apart from its
    // owner, that parent, setting it while reading, and the children written inside it.
    [[nodiscard]] virtual bool HasParent() const { return false; }
    [[nodiscard]] virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* parent);
    // What children read inside this component get as parent; itself by default.
    [[nodiscard]] virtual TComponent* GetChildParent() { return this; }
    // What children read inside this component get as owner; null means the form being read.
    [[nodiscard]] virtual TComponent* GetChildOwner() { return nullptr; }
    // Calls `proc` for each component written inside this one. A root lists the components it
    // owns that have no parent.
    virtual void GetChildren(const TGetChildProc& proc, TComponent* root);
    // Places a child read with a position ("object X: TY [n]") at that position.
    virtual void SetChildOrder(TComponent* child, int order);

    [[nodiscard]] TPersistent* GetOwner() const override { return m_owner; }
    [[nodiscard]] std::string GetNamePath() const override { return m_name; }

    // IInterface without reference counting: the owner decides the lifetime.
    HRESULT QueryInterface(const TGUID& iid, void** object) override;
    int _AddRef() override { return -1; }
    int _Release() override { return -1; }
    bool GetInterface(const TGUID& iid, void*& object) override;

protected:
    // Told when a component is inserted into or removed from this one's owner family, or when a
    // component it asked FreeNotification of goes. Passes the news on to the owned components.
    virtual void Notification(TComponent* component, TOperation operation);
    virtual void ValidateRename(TComponent* component, std::string_view currentName, std::string_view newName);
    // Sets the owner's published field of this name (if any) to this component or to null.
    void SetReference(bool enable);

private:
    void Insert(TComponent* component);
    void Remove(TComponent* component);
    void ChangeName(const std::string& name);

    TComponent* m_owner = nullptr;
    std::string m_name;
    int m_tag = 0;
    TComponentState m_state;
    std::vector<TComponent*> m_components;
    std::vector<TComponent*> m_freeNotifies;
};

// Raises EInvalidCast "Invalid class typecast" when `owner` is neither null nor a component.
[[nodiscard]] TComponent* OwnerComponent(TObject* owner);

// Creator for component classes: constructs with the owner given (a TComponent or null).
template <class T>
TObject* ComponentCreator(TObject* owner)
{
    return new T(OwnerComponent(owner));
}

// The virtual constructor through a class reference; raises EInvalidCast "Invalid class
// typecast" when the class is not a component class.
[[nodiscard]] TComponent* CreateComponent(TComponentClass componentClass, TComponent* owner);

// Letters, digits and '_', not starting with a digit.
[[nodiscard]] bool IsValidIdent(std::string_view ident);
