#pragma once

#include "platform/classlib/core/Collections.h"
#include "platform/classlib/core/Components.h"
#include "platform/classlib/core/Streams.h"

#include <memory>
#include <string>

// A non-visual component that keeps several packed skins in a form's data, each under a name,
// so that an application can switch among them. It only stores them.

// One named skin; its bytes travel in form data as the binary property "DataStream".
class TSkinCollectionItem : public TCollectionItem {
    CLASSLIB_DECLARE_CLASS;

    explicit TSkinCollectionItem(TCollection* collection);

    [[nodiscard]] std::string Name() const { return m_name; }
    // Raises Exception "The name <name> is already used." when another item of the collection
    // has exactly that name.
    void SetName(const std::string& name);
    // A handle for a design-time editor: reads "Load Skin", ignores writes.
    [[nodiscard]] std::string SkinData() const { return "Load Skin"; }
    void SetSkinData(const std::string&) {}
    [[nodiscard]] int DataSize() const { return static_cast<int>(m_data.Size()); }

    [[nodiscard]] TMemoryStream& Data() { return m_data; }
    // Copies the whole skin into `target` at its position; this item's own position is kept.
    void SaveSkinToStream(TStream& target);

    void Assign(const TPersistent* source) override;
    void DefineProperties(TFiler& filer) override;

protected:
    [[nodiscard]] std::string GetDisplayName() const override { return m_name; }

private:
    void ReadData(TStream& stream);
    void WriteData(TStream& stream);

    std::string m_name;
    // Streams move their position even when only read.
    mutable TMemoryStream m_data;
};

class TSkinCollection : public TOwnedCollection {
    CLASSLIB_DECLARE_CLASS;

    explicit TSkinCollection(TPersistent* owner);

    [[nodiscard]] TSkinCollectionItem* Items(int index) const
    {
        return static_cast<TSkinCollectionItem*>(TCollection::Items(index));
    }
};

class TSkinStore : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    explicit TSkinStore(TComponent* owner);
    ~TSkinStore() override;

    [[nodiscard]] TSkinCollection* Store() const { return m_store.get(); }
    // Copies the given collection's items; null is ignored.
    void SetStore(TSkinCollection* store);

private:
    std::unique_ptr<TSkinCollection> m_store;
};
