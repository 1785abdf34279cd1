#include "platform/classlib/core/StringLists.h"

#include "platform/classlib/core/Streams.h"
#include "platform/rtl/Exceptions.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

void Fill(TStrings& list, std::initializer_list<const char*> items)
{
    for (const char* item : items)
        list.Add(item);
}

std::vector<std::string> Items(const TStrings& list)
{
    std::vector<std::string> items;
    for (int i = 0; i < list.Count(); ++i)
        items.push_back(list.Strings(i));
    return items;
}

TEST(StringList, SortedListKeepsOrderAndFindsCaseInsensitively)
{
    TStringList list;
    list.SetSorted(true);
    Fill(list, {"delta", "Alpha", "charlie", "bravo"});
    EXPECT_EQ(Items(list), (std::vector<std::string>{"Alpha", "bravo", "charlie", "delta"}));
    int index = -1;
    EXPECT_TRUE(list.Find("CHARLIE", index));
    EXPECT_EQ(index, 2);
    EXPECT_FALSE(list.Find("beta", index));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(list.IndexOf("ALPHA"), 0);
    EXPECT_EQ(list.IndexOf("echo"), -1);
}

TEST(StringList, DuplicatesOnASortedList)
{
    int marker = 0;
    TStringList ignoring;
    ignoring.SetSorted(true);
    ignoring.AddObject("B", &marker);
    ignoring.Add("a");
    // An ignored duplicate reports the existing item and leaves its object alone.
    EXPECT_EQ(ignoring.AddObject("b", nullptr), 1);
    EXPECT_EQ(Items(ignoring), (std::vector<std::string>{"a", "B"}));
    EXPECT_EQ(ignoring.Objects(1), &marker);

    TStringList accepting;
    accepting.SetSorted(true);
    accepting.SetDuplicates(TDuplicates::dupAccept);
    Fill(accepting, {"B", "a"});
    EXPECT_EQ(accepting.Add("b"), 1);
    EXPECT_EQ(Items(accepting), (std::vector<std::string>{"a", "b", "B"}));

    TStringList strict;
    strict.SetSorted(true);
    strict.SetDuplicates(TDuplicates::dupError);
    strict.Add("x");
    try {
        strict.Add("X");
        FAIL() << "duplicate accepted";
    } catch (const EStringListError& error) {
        EXPECT_STREQ(error.what(), "String list does not allow duplicates");
    }
    EXPECT_EQ(strict.Count(), 1);
}

TEST(StringList, UnsortedListAcceptsDuplicatesWhateverTheSetting)
{
    TStringList list;
    list.SetDuplicates(TDuplicates::dupError);
    Fill(list, {"a", "a"});
    EXPECT_EQ(list.Count(), 2);
}

TEST(StringList, PlacingOnASortedListIsRefusedWithoutLosingAnything)
{
    TStringList list;
    list.SetSorted(true);
    Fill(list, {"a", "b", "c"});
    EXPECT_THROW(list.Insert(0, "z"), EStringListError);
    EXPECT_THROW(list.SetStrings(0, "z"), EStringListError);
    EXPECT_THROW(list.Exchange(0, 2), EStringListError);
    EXPECT_THROW(list.Move(0, 2), EStringListError);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"a", "b", "c"}));
}

TEST(StringList, CaseSensitiveChangesLookupAndOrder)
{
    TStringList list;
    Fill(list, {"b", "B", "a"});
    EXPECT_EQ(list.IndexOf("B"), 0);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf("B"), 1);
    list.SetSorted(true);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Strings(0), "a");
    int index = -1;
    EXPECT_TRUE(list.Find("B", index));
    EXPECT_EQ(list.Strings(index), "B");
}

TEST(StringList, IndexErrorsNameTheIndex)
{
    TStringList list;
    Fill(list, {"a"});
    for (const int bad : {-1, 1}) {
        try {
            (void)list.Strings(bad);
            FAIL() << bad;
        } catch (const EStringListError& error) {
            EXPECT_EQ(error.Message(), "List index out of bounds (" + std::to_string(bad) + ")");
        }
    }
    EXPECT_THROW(list.Delete(1), EStringListError);
    EXPECT_THROW(list.Insert(2, "x"), EStringListError);
    EXPECT_THROW((void)list.Objects(-1), EStringListError);
    list.Insert(1, "end");
    EXPECT_EQ(list.Strings(1), "end");
}

TEST(StringList, CommaTextJoinsWithTheClassLibraryQuoting)
{
    struct Case {
        std::vector<std::string> items;
        std::string text;
    };
    const Case cases[] = {
        {{}, ""},
        {{""}, "\"\""},
        {{"a", "b"}, "a,b"},
        {{"a", ""}, "a,"},
        {{"two words"}, "\"two words\""},
        {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
        {{"x,y", "tab\there"}, "\"x,y\",\"tab\there\""},
        {{"caf\xC3\xA9"}, "caf\xC3\xA9"},
    };
    for (const Case& c : cases) {
        TStringList list;
        for (const auto& item : c.items)
            list.Add(item);
        EXPECT_EQ(list.CommaText(), c.text);
        TStringList back;
        back.SetCommaText(c.text);
        EXPECT_EQ(Items(back), c.items) << c.text;
    }
}

TEST(StringList, CommaTextSplitsAtBlanksAndToleratesOddInput)
{
    struct Case {
        std::string text;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"a b", {"a", "b"}},
        {"  a ,  b  ", {"a", "b"}},
        {",a", {"", "a"}},
        {"a,,b", {"a", "", "b"}},
        {"\"open quote", {"open quote"}},
        {"\"a\"b,c", {"a", "b", "c"}},
        {"   ", {}},
    };
    for (const Case& c : cases) {
        TStringList list;
        list.SetCommaText(c.text);
        EXPECT_EQ(Items(list), c.items) << c.text;
    }
}

TEST(StringList, TextUsesCrLfAndReadsAnyLineEnding)
{
    TStringList list;
    Fill(list, {"one", "", "three"});
    EXPECT_EQ(list.Text(), "one\r\n\r\nthree\r\n");

    struct Case {
        std::string text;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"a\r\n", {"a"}},
        {"a\r\n\r\n", {"a", ""}},
        {"\n", {""}},
        {"", {}},
        {"a\n\rb", {"a", "", "b"}},
    };
    for (const Case& c : cases) {
        list.SetText(c.text);
        EXPECT_EQ(Items(list), c.items);
    }
}

TEST(StringList, NamesAndValues)
{
    TStringList list;
    Fill(list, {"USER=plum", "Tel = #777", "plain", "apn=", "eq=a=b"});
    EXPECT_EQ(list.Values("user"), "plum");
    EXPECT_EQ(list.Values("Tel "), " #777");
    EXPECT_EQ(list.Values("eq"), "a=b");
    EXPECT_EQ(list.Values("plain"), "");
    EXPECT_EQ(list.IndexOfName("APN"), 3);
    EXPECT_EQ(list.Names(1), "Tel ");
    EXPECT_EQ(list.Names(2), "");
    EXPECT_EQ(list.ValueFromIndex(2), "");
    EXPECT_EQ(list.ValueFromIndex(4), "a=b");

    list.SetValues("user", "guest");
    EXPECT_EQ(list.Strings(0), "user=guest");
    list.SetValues("new", "1");
    EXPECT_EQ(list.Strings(list.Count() - 1), "new=1");
    list.SetValues("USER", "");
    EXPECT_EQ(list.IndexOfName("user"), -1);
}

TEST(StringList, ObjectsTravelWithTheirStrings)
{
    int one = 1;
    int two = 2;
    TStringList list;
    list.AddObject("one", &one);
    list.AddObject("two", &two);
    list.Move(0, 1);
    EXPECT_EQ(list.Strings(1), "one");
    EXPECT_EQ(list.Objects(1), &one);
    list.Exchange(0, 1);
    EXPECT_EQ(list.Objects(0), &one);
    EXPECT_EQ(list.IndexOfObject(&two), 1);

    TStringList copy;
    copy.Add("old");
    copy.Assign(list);
    EXPECT_EQ(Items(copy), Items(list));
    EXPECT_EQ(copy.Objects(1), &two);
    copy.AddStrings(list);
    EXPECT_EQ(copy.Count(), 4);
}

TEST(StringList, ChangeEventsAreHeldBackDuringAnUpdate)
{
    TStringList list;
    std::vector<std::string> events;
    list.SetOnChanging([&](TStringList&) { events.push_back("changing"); });
    list.SetOnChange([&](TStringList& sender) { events.push_back("change " + std::to_string(sender.Count())); });
    list.Add("a");
    EXPECT_EQ(events, (std::vector<std::string>{"changing", "change 1"}));

    events.clear();
    list.BeginUpdate();
    list.BeginUpdate();
    Fill(list, {"b", "c"});
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(events, (std::vector<std::string>{"changing"}));
    list.EndUpdate();
    EXPECT_EQ(events, (std::vector<std::string>{"changing", "change 2"}));

    events.clear();
    list.SetText("x\ny\nz");
    EXPECT_EQ(events, (std::vector<std::string>{"changing", "change 3"}));
}

TEST(StringList, FilesAndStreams)
{
    TempDir dir;
    const std::string path = (dir / "list.txt").string();
    TStringList list;
    Fill(list, {"first", "second"});
    list.SaveToFile(path);
    EXPECT_EQ(dir.ReadFile("list.txt"), "first\r\nsecond\r\n");

    dir.WriteFile("unix.txt", "a\nb");
    TStringList loaded;
    loaded.LoadFromFile((dir / "unix.txt").string());
    EXPECT_EQ(Items(loaded), (std::vector<std::string>{"a", "b"}));

    TMemoryStream stream;
    stream.WriteBuffer("skip|x\ny", 8);
    stream.SetPosition(5);
    loaded.LoadFromStream(stream);
    EXPECT_EQ(Items(loaded), (std::vector<std::string>{"x", "y"}));

    EXPECT_THROW(loaded.LoadFromFile((dir / "missing.txt").string()), EFOpenError);
    EXPECT_EQ(loaded.Count(), 2);
}

} // namespace
