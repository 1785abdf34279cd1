#include "grid/core/MRUListGx.h"

#include "platform/classlib/forms/Forms.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Texts(const TStrings& strings)
{
    std::vector<std::string> texts;
    for (int i = 0; i < strings.Count(); ++i)
        texts.push_back(strings.Strings(i));
    return texts;
}

} // namespace

TEST(MRUList, EnteredTextsMoveToTheEndAndTheOldestGoBeyondTheLimit)
{
    TMRUListGx list(nullptr);
    list.SetLimit(3);
    for (const char* text : {"a", "b", "c"})
        list.AddText(text);
    list.AddText("B");
    EXPECT_EQ(Texts(*list.Items()), (std::vector<std::string>{"a", "c", "b"}));
    list.AddText("d");
    EXPECT_EQ(Texts(*list.Items()), (std::vector<std::string>{"c", "b", "d"}));
    list.AddText("  ");
    EXPECT_EQ(Texts(*list.Items()), (std::vector<std::string>{"c", "b", "d"}));
    list.SetCaseSensitive(true);
    list.AddText("D");
    EXPECT_EQ(Texts(*list.Items()), (std::vector<std::string>{"b", "d", "D"}));

    // A negative limit keeps nothing, and adding still works.
    list.SetLimit(-5);
    EXPECT_EQ(list.Limit(), 0);
    EXPECT_NO_THROW(list.AddText("e"));
    EXPECT_EQ(list.Items()->Count(), 0);
}

TEST(MRUList, MatchingTextsAreCopiedUnlessAKeyWaits)
{
    SelectHeadlessDisplay();
    TMRUListGx list(nullptr);
    for (const char* text : {"Mobile", "modem", "mode", "Ümlaut", "ümlauts", "net"})
        list.AddText(text);
    TStringList target;
    EXPECT_TRUE(list.CopyMatchingItems(target, "MOD"));
    EXPECT_EQ(Texts(target), (std::vector<std::string>{"modem", "mode"}));
    EXPECT_TRUE(list.CopyMatchingItems(target, "üm"));
    EXPECT_EQ(Texts(target), (std::vector<std::string>{"Ümlaut", "ümlauts"}));
    list.SetCaseSensitive(true);
    EXPECT_TRUE(list.CopyMatchingItems(target, "Mo"));
    EXPECT_EQ(Texts(target), (std::vector<std::string>{"Mobile"}));
    list.SetCaseSensitive(false);
    list.SetOnFilterItem(TFilterItemEventGx::FromFunction(
        [](TObject*, const std::string& item, bool& accept) { accept = item != "mode"; }));
    EXPECT_TRUE(list.CopyMatchingItems(target, "mo"));
    EXPECT_EQ(Texts(target), (std::vector<std::string>{"Mobile", "modem"}));

    TForm form(nullptr);
    (void)PostMessageA(form.Handle(), WM_KEYDOWN, 'A', 0);
    EXPECT_FALSE(list.CopyMatchingItems(target, "mo"));
    EXPECT_TRUE(target.Count() == 0);
    Application->ProcessMessages();
}
