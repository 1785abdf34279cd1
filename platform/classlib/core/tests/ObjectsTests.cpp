#include "FormTestClasses.h"

#include "platform/classlib/core/Interfaces.h"
#include "platform/classlib/core/Lists.h"

#include <gtest/gtest.h>

namespace {

TEST(ObjectsTest, ClassReferencesKnowNamesParentsAndAncestry)
{
    TTestForm form(nullptr);
    EXPECT_EQ(form.ClassName(), "TTestForm");
    EXPECT_EQ(form.ClassParent(), TTestControl::StaticClass());
    EXPECT_TRUE(form.InheritsFrom(TComponent::StaticClass()));
    EXPECT_TRUE(form.InheritsFrom(TObject::StaticClass()));
    EXPECT_FALSE(TTestControl::StaticClass()->InheritsFrom(TTestForm::StaticClass()));
    EXPECT_TRUE(TTestForm::StaticClass()->ClassNameIs("ttestform"));
}

TEST(ObjectsTest, VirtualConstructorBuildsTheNamedClassWithItsOwner)
{
    RegisterTestClasses();
    TComponent owner(nullptr);
    TComponent* created = CreateComponent(FindClass("ttestcontrol"), &owner);
    EXPECT_EQ(created->ClassType(), TTestControl::StaticClass());
    EXPECT_EQ(created->Owner(), &owner);
    EXPECT_THROW(static_cast<void>(CreateComponent(TTestFont::StaticClass(), &owner)), EInvalidCast);
    EXPECT_THROW(static_cast<void>(TPersistent::StaticClass()->Create()), EInvalidOperation);
}

TEST(ObjectsTest, UnknownClassNamesRaiseOrAnswerNull)
{
    EXPECT_EQ(GetClass("TNoSuchClass"), nullptr);
    try {
        static_cast<void>(FindClass("TNoSuchClass"));
        FAIL();
    } catch (const EClassNotFound& error) {
        EXPECT_EQ(error.Message(), "Class TNoSuchClass not found");
    }
    RegisterClass(TTestTimer::StaticClass());
    UnRegisterClass(TTestTimer::StaticClass());
    EXPECT_EQ(GetClass("TTestTimer"), nullptr);
    RegisterTestClasses();
}

class Counted : public TObject {
public:
    explicit Counted(int& alive) : m_alive(alive) { ++m_alive; }
    ~Counted() override { --m_alive; }

private:
    int& m_alive;
};

TEST(ObjectsTest, ObjectListFreesWhatItOwnsButNotWhatItHandsBack)
{
    int alive = 0;
    auto* kept = new Counted(alive);
    {
        TObjectList list;
        list.Add(new Counted(alive));
        list.Add(kept);
        list.Add(new Counted(alive));
        list.Delete(0);
        EXPECT_EQ(alive, 2);
        EXPECT_EQ(list.Extract(kept), kept);
        EXPECT_EQ(alive, 2);
    }
    EXPECT_EQ(alive, 1);
    TObjectList borrowing(false);
    borrowing.Add(kept);
    borrowing.Clear();
    EXPECT_EQ(alive, 1);
    delete kept;
}

class IFrameClient {
public:
    static constexpr TGUID IID = TGUID::Parse("{64B1C9EA-C954-428A-95C4-4EA2EB0F1E16}");
    virtual int FrameState() = 0;

protected:
    ~IFrameClient() = default;
};

class TFramed : public TComponent, public IFrameClient {
public:
    using TComponent::TComponent;
    int FrameState() override { return 7; }
    bool GetInterface(const TGUID& iid, void*& object) override
    {
        if (iid == IFrameClient::IID) {
            object = static_cast<IFrameClient*>(this);
            return true;
        }
        return TComponent::GetInterface(iid, object);
    }
};

TEST(InterfacesTest, SupportsAnswersByGuid)
{
    TFramed framed(nullptr);
    TComponent plain(nullptr);
    IFrameClient* client = nullptr;
    ASSERT_TRUE(Supports(&framed, client));
    EXPECT_EQ(client->FrameState(), 7);
    EXPECT_FALSE(Supports(&plain, client));
    EXPECT_EQ(client, nullptr);
    EXPECT_FALSE(Supports(nullptr, IFrameClient::IID));
    void* raw = nullptr;
    EXPECT_EQ(plain.QueryInterface(IInterface::IID, &raw), S_OK);
    EXPECT_EQ(plain._AddRef(), -1);
}

TEST(InterfacesTest, GuidTextRoundTripsAndBadTextRaises)
{
    const std::string text = "{64B1C9EA-C954-428A-95C4-4EA2EB0F1E16}";
    EXPECT_EQ(GUIDToString(StringToGUID(text)), text);
    EXPECT_EQ(StringToGUID("{64b1c9ea-c954-428a-95c4-4ea2eb0f1e16}"), IFrameClient::IID);
    for (const char* bad : {"", "64B1C9EA-C954-428A-95C4-4EA2EB0F1E16", "{64B1C9EA-C954-428A-95C4-4EA2EB0F1E1G}",
                            "{64B1C9EAC954-428A-95C4-4EA2EB0F1E16-}"})
        EXPECT_THROW(static_cast<void>(StringToGUID(bad)), EConvertError) << bad;
}

} // namespace
