#include "skin/SkinStore.h"

#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

std::string Bytes(TMemoryStream& stream)
{
    return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

void Put(TSkinCollectionItem& item, const std::string& bytes)
{
    item.Data().Clear();
    item.Data().WriteBuffer(bytes.data(), bytes.size());
}

class SkinStoreTest : public testing::Test {
protected:
    SkinStoreTest() { RegisterClasses({TSkinStore::StaticClass()}); }

    TSkinCollectionItem& Add() { return *static_cast<TSkinCollectionItem*>(m_store.Store()->Add()); }

    TSkinStore m_store{nullptr};
};

TEST_F(SkinStoreTest, NewItemsAreNamedByTheirId)
{
    EXPECT_EQ(Add().Name(), "SkinItem0");
    EXPECT_EQ(Add().DisplayName(), "SkinItem1");
    m_store.Store()->Delete(0);
    EXPECT_EQ(Add().Name(), "SkinItem2");
}

TEST_F(SkinStoreTest, NamesAreUniqueWithCase)
{
    TSkinCollectionItem& first = Add();
    TSkinCollectionItem& second = Add();
    first.SetName("SkinItem0");
    EXPECT_EQ(first.Name(), "SkinItem0");
    second.SetName("skinitem0");
    EXPECT_EQ(second.Name(), "skinitem0");
    try {
        second.SetName("SkinItem0");
        FAIL() << "a duplicate name was taken";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), "The name SkinItem0 is already used.");
    }
    EXPECT_EQ(second.Name(), "skinitem0");
}

TEST_F(SkinStoreTest, AssignCopiesNameAndBytesAndKeepsTheSourcePosition)
{
    TSkinCollectionItem& source = Add();
    source.SetName("Blue");
    Put(source, "packed skin");
    source.Data().SetPosition(3);
    TSkinStore other(nullptr);
    other.SetStore(m_store.Store());
    other.SetStore(nullptr);
    ASSERT_EQ(other.Store()->Count(), 1);
    TSkinCollectionItem& copy = *other.Store()->Items(0);
    EXPECT_EQ(copy.Name(), "Blue");
    EXPECT_EQ(Bytes(copy.Data()), "packed skin");
    EXPECT_EQ(copy.DataSize(), 11);
    EXPECT_EQ(source.Data().Position(), 3);

    TMemoryStream target;
    target.WriteBuffer(">", 1);
    source.SaveSkinToStream(target);
    EXPECT_EQ(Bytes(target), ">packed skin");
    EXPECT_EQ(source.Data().Position(), 3);
}

TEST_F(SkinStoreTest, ItemsTravelThroughFormData)
{
    m_store.SetName("SkinStore1");
    Add();
    TSkinCollectionItem& full = Add();
    full.SetName("Night");
    std::string bytes(300, '\0');
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 7);
    Put(full, bytes);

    const std::string text = WriteComponentText(&m_store);
    EXPECT_NE(text.find("DataStream"), std::string::npos);
    EXPECT_NE(text.find("Night"), std::string::npos);

    std::unique_ptr<TComponent> read(ReadComponentText(text));
    auto* store = dynamic_cast<TSkinStore*>(read.get());
    ASSERT_NE(store, nullptr);
    ASSERT_EQ(store->Store()->Count(), 2);
    EXPECT_EQ(store->Store()->Items(0)->Name(), "SkinItem0");
    EXPECT_EQ(store->Store()->Items(0)->DataSize(), 0);
    EXPECT_EQ(store->Store()->Items(1)->Name(), "Night");
    EXPECT_EQ(Bytes(store->Store()->Items(1)->Data()), bytes);
    EXPECT_EQ(store->Store()->Items(1)->SkinData(), "Load Skin");
}

} // namespace
