#include "FormTestClasses.h"

#include <gtest/gtest.h>

namespace {

// Records what it is told and when it goes, into a shared log.
class Watcher : public TComponent {
public:
    Watcher(TComponent* owner, std::string name, std::vector<std::string>& log) : TComponent(owner), m_log(log)
    {
        SetName(name);
    }
    ~Watcher() override
    {
        m_log.push_back("free " + Name() + (IsDestroying() ? "" : " (not marked)"));
    }

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation == opRemove && !IsDestroying())
            m_log.push_back(Name() + " told " + component->Name() + " goes");
    }

private:
    std::vector<std::string>& m_log;
};

TEST(ComponentsTest, OwnerFreesOwnedInReverseOrderAllMarkedDestroying)
{
    std::vector<std::string> log;
    auto* owner = new Watcher(nullptr, "Owner", log);
    new Watcher(owner, "A", log);
    auto* b = new Watcher(owner, "B", log);
    new Watcher(b, "B1", log);
    new Watcher(owner, "C", log);
    delete owner;
    // The owner's own derived part goes first, as C++ destroys; what it owns is marked before
    // anything is freed.
    EXPECT_EQ(log, (std::vector<std::string>{"free Owner (not marked)", "free C", "free B", "free B1", "free A"}));
}

TEST(ComponentsTest, FreeingOneTellsOwnerSiblingsAndFreeNotifiers)
{
    std::vector<std::string> log;
    Watcher form(nullptr, "Form", log);
    Watcher other(nullptr, "Other", log);
    new Watcher(&form, "Sibling", log);
    auto* gone = new Watcher(&form, "Gone", log);
    gone->FreeNotification(&other);
    delete gone;
    EXPECT_EQ(form.ComponentCount(), 1);
    EXPECT_EQ(log, (std::vector<std::string>{"free Gone (not marked)", "Other told Gone goes", "Sibling told Gone goes",
                                             "Form told Gone goes"}));
}

TEST(ComponentsTest, ReferencesAcrossOwnersClearWhenEitherSideGoes)
{
    TComponent formA(nullptr);
    TComponent formB(nullptr);
    auto* control = new TTestControl(&formA);
    auto* buddy = new TTestControl(&formB);
    control->SetBuddy(buddy);
    delete buddy;
    EXPECT_EQ(control->Buddy(), nullptr);

    buddy = new TTestControl(&formB);
    control->SetBuddy(buddy);
    delete control; // the buddy must not keep telling a freed component
    delete buddy;
}

TEST(ComponentsTest, NamesAreIdentifiersUniqueAmongSiblings)
{
    TComponent owner(nullptr);
    auto* first = new TComponent(&owner);
    auto* second = new TComponent(&owner);
    first->SetName("Edit1");
    struct Case {
        const char* name;
        const char* message;
    };
    const Case cases[] = {
        {"edit1", "A component named edit1 already exists"},
        {"1Edit", "'1Edit' is not a valid component name"},
        {"Edit 2", "'Edit 2' is not a valid component name"},
        {"Edit.2", "'Edit.2' is not a valid component name"},
    };
    for (const Case& c : cases) {
        try {
            second->SetName(c.name);
            ADD_FAILURE() << c.name;
        } catch (const EComponentError& error) {
            EXPECT_EQ(error.Message(), c.message);
        }
        EXPECT_EQ(second->Name(), "");
    }
    first->SetName("EDIT1");
    second->SetName("_Edit2");
    EXPECT_EQ(owner.FindComponent("edit1"), first);
    EXPECT_EQ(owner.FindComponent("_EDIT2"), second);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
}

TEST(ComponentsTest, IndexesAndMovingBetweenOwners)
{
    TComponent owner(nullptr);
    TComponent other(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    EXPECT_EQ(b->ComponentIndex(), 1);
    b->SetComponentIndex(0);
    EXPECT_EQ(owner.Components(0), b);
    EXPECT_THROW(static_cast<void>(owner.Components(2)), EListError);
    other.InsertComponent(a);
    EXPECT_EQ(a->Owner(), &other);
    EXPECT_EQ(owner.ComponentCount(), 1);
    owner.DestroyComponents();
    EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST(ComponentsTest, PublishedFieldFollowsNameAndRemoval)
{
    TTestForm form(nullptr);
    auto* button = new TTestControl(&form);
    button->SetName("Button1");
    EXPECT_EQ(form.Button1, button);
    button->SetName("Other");
    EXPECT_EQ(form.Button1, nullptr);
    button->SetName("Button1");
    delete button;
    EXPECT_EQ(form.Button1, nullptr);
}

TEST(ComponentsTest, DesigningCannotBeSwitchedOn)
{
    TComponent component(nullptr);
    component.SetComponentStateFlag(csDesigning, true);
    component.SetComponentStateFlag(csLoading, true);
    EXPECT_FALSE(component.ComponentState().Contains(csDesigning));
    component.Loaded();
    EXPECT_TRUE(component.ComponentState().Empty());
}

} // namespace
