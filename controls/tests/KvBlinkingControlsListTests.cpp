#include "KvFormFixture.h"

#include "controls/KvBlinkingControlsList.h"
#include "platform/classlib/forms/Controls.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A control that answers the list's query with its Blinking flag and records the phases it is
// told of; it may free another control when told.
class TBlinker : public TGraphicControl {
public:
    explicit TBlinker(TComponent* owner) : TGraphicControl(owner) {}

    bool Blinking = true;
    std::vector<int> Phases;
    TBlinker* FreeOnTick = nullptr;

protected:
    void Dispatch(TMessage& message) override
    {
        if (message.Msg == KM_BLINKQUERY) {
            message.Result = Blinking ? 1 : 0;
            return;
        }
        if (message.Msg == KM_BLINKTICK) {
            Phases.push_back(static_cast<int>(message.WParam));
            if (FreeOnTick) {
                TKvBlinkingControlsList::Shared().Remove(FreeOnTick);
                delete FreeOnTick;
                FreeOnTick = nullptr;
            }
            return;
        }
        TGraphicControl::Dispatch(message);
    }
};

class BlinkingListTest : public KvFormFixture {
protected:
    void SetUp() override
    {
        KvFormFixture::SetUp();
        ShowForm();
    }
    void TearDown() override
    {
        for (TBlinker* blinker : m_blinkers)
            if (TKvBlinkingControlsList* list = TKvBlinkingControlsList::SharedIfMade())
                list->Remove(blinker);
        TKvBlinkingControlsList::ReleaseSharedIfEmpty();
        KvFormFixture::TearDown();
    }
    TBlinker* AddBlinker()
    {
        auto* blinker = new TBlinker(m_form.get());
        blinker->SetParent(m_form.get());
        TKvBlinkingControlsList::Shared().Add(blinker);
        m_blinkers.push_back(blinker);
        return blinker;
    }

    std::vector<TBlinker*> m_blinkers;
};

TEST_F(BlinkingListTest, ListedControlsThatBlinkChangeOnTheSameTickAndOthersAreLeftOut)
{
    TBlinker* first = AddBlinker();
    TBlinker* second = AddBlinker();
    TBlinker* still = AddBlinker();
    still->Blinking = false;
    Advance(499);
    EXPECT_TRUE(first->Phases.empty());
    Advance(1);
    EXPECT_EQ(first->Phases, std::vector<int>{0});
    EXPECT_EQ(second->Phases, std::vector<int>{0});
    Advance(500);
    EXPECT_EQ(first->Phases, (std::vector<int>{0, 1}));
    EXPECT_EQ(second->Phases, (std::vector<int>{0, 1}));
    EXPECT_TRUE(still->Phases.empty());
    EXPECT_EQ(TKvBlinkingControlsList::Shared().Count(), 3);
}

TEST_F(BlinkingListTest, ANewOnIntervalTakesEffectAtTheNextSwitchToTheOnPhase)
{
    TBlinker* blinker = AddBlinker();
    Advance(500); // now off, for IntervalOff
    TKvBlinkingControlsList::Shared().SetIntervalOn(200);
    Advance(500); // now on, for the new 200 ms
    EXPECT_EQ(blinker->Phases, (std::vector<int>{0, 1}));
    Advance(200);
    EXPECT_EQ(blinker->Phases, (std::vector<int>{0, 1, 0}));
}

TEST_F(BlinkingListTest, TheListIsReleasedWithItsLastControl)
{
    TBlinker* first = AddBlinker();
    TBlinker* second = AddBlinker();
    TKvBlinkingControlsList::Shared().Add(first);
    TKvBlinkingControlsList& list = TKvBlinkingControlsList::Shared();
    list.Remove(first);
    TKvBlinkingControlsList::ReleaseSharedIfEmpty();
    EXPECT_EQ(TKvBlinkingControlsList::SharedIfMade(), &list) << "first was added twice";
    list.Remove(first);
    list.Remove(second);
    TKvBlinkingControlsList::ReleaseSharedIfEmpty();
    EXPECT_EQ(TKvBlinkingControlsList::SharedIfMade(), nullptr);
}

TEST_F(BlinkingListTest, AControlFreedDuringATickIsNotToldOfIt)
{
    TBlinker* first = AddBlinker();
    TBlinker* second = AddBlinker();
    first->FreeOnTick = second;
    m_blinkers.pop_back();
    Advance(500);
    EXPECT_EQ(first->Phases, std::vector<int>{0});
    EXPECT_EQ(TKvBlinkingControlsList::Shared().Count(), 1);
}

} // namespace
