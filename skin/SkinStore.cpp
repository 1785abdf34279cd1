#include "skin/SkinStore.h"

#include "platform/classlib/core/Filer.h"
#include "platform/classlib/core/TypInfo.h"
#include "platform/rtl/Exceptions.h"

namespace {

void DescribeItem(TClassBuilder& c)
{
    c.String("Name", &TSkinCollectionItem::Name, &TSkinCollectionItem::SetName);
    c.String("SkinData", &TSkinCollectionItem::SkinData, &TSkinCollectionItem::SetSkinData);
    c.Integer("DataSize", &TSkinCollectionItem::DataSize, static_cast<void (TSkinCollectionItem::*)(int)>(nullptr));
}

void DescribeStore(TClassBuilder& c)
{
    c.Object("Store", &TSkinStore::Store, &TSkinStore::SetStore);
}

// Copies all of `source` into `target` at its position and puts `source` back where it was.
void CopyWhole(TStream& source, TStream& target)
{
    const std::int64_t position = source.Position();
    source.SetPosition(0);
    target.CopyFrom(source, source.Size());
    source.SetPosition(position);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TSkinCollectionItem, TCollectionItem, CollectionItemCreator<TSkinCollectionItem>,
                         DescribeItem)
CLASSLIB_IMPLEMENT_CLASS(TSkinCollection, TOwnedCollection, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TSkinStore, TComponent, ComponentCreator<TSkinStore>, DescribeStore)

TSkinCollectionItem::TSkinCollectionItem(TCollection* collection)
    : TCollectionItem(collection), m_name("SkinItem" + std::to_string(ID()))
{
}

void TSkinCollectionItem::SetName(const std::string& name)
{
    if (name == m_name)
        return;
    if (TCollection* owner = Collection()) {
        for (int i = 0; i < owner->Count(); ++i) {
            const auto* other = static_cast<const TSkinCollectionItem*>(owner->Items(i));
            if (other != this && other->m_name == name)
                throw Exception("The name " + name + " is already used.");
        }
    }
    m_name = name;
}

void TSkinCollectionItem::SaveSkinToStream(TStream& target)
{
    CopyWhole(m_data, target);
}

void TSkinCollectionItem::Assign(const TPersistent* source)
{
    if (const auto* item = dynamic_cast<const TSkinCollectionItem*>(source)) {
        m_name = item->m_name;
        m_data.Clear();
        CopyWhole(item->m_data, m_data);
        return;
    }
    TCollectionItem::Assign(source);
}

void TSkinCollectionItem::DefineProperties(TFiler& filer)
{
    TCollectionItem::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "DataStream", [this](TStream& stream) { ReadData(stream); }, [this](TStream& stream) { WriteData(stream); },
        true);
}

void TSkinCollectionItem::ReadData(TStream& stream)
{
    m_data.Clear();
    stream.SetPosition(0);
    if (stream.Size() > 0)
        m_data.CopyFrom(stream, stream.Size());
    m_data.SetPosition(0);
}

void TSkinCollectionItem::WriteData(TStream& stream)
{
    CopyWhole(m_data, stream);
}

TSkinCollection::TSkinCollection(TPersistent* owner) : TOwnedCollection(owner, TSkinCollectionItem::StaticClass()) {}

TSkinStore::TSkinStore(TComponent* owner) : TComponent(owner), m_store(std::make_unique<TSkinCollection>(this)) {}

TSkinStore::~TSkinStore() = default;

void TSkinStore::SetStore(TSkinCollection* store)
{
    if (store)
        m_store->Assign(store);
}
