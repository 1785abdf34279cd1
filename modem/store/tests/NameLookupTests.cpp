#include "modem/store/NameLookup.h"

#include "StoreFixture.h"

#include <optional>

namespace {

class NameLookupTest : public StoreFixture {
protected:
    TNameLookup m_lookup{ProgramFolder()};
};

TEST_F(NameLookupTest, LastElevenThenLastSevenCharacters)
{
    AddContact("Alice", "+8613812345678");
    AddContact("Bob", "87654321");
    AddContact("Carol", "5551234");
    struct Case {
        const char* number;
        std::optional<std::string> name;
    };
    const Case cases[] = {
        {"13812345678", "Alice"},      // the stored number holds all 11
        {"008613812345678", "Alice"},  // the last 11 of a longer number
        {"+4930987654321", "Bob"},     // no contact holds its last 11; "7654321" is in Bob's
        {"5551234", "Carol"},          // shorter than 11: the whole number
        {"555123", "Carol"},           // part of a stored number still counts
        {"4445556667", std::nullopt},
        {"", std::nullopt},            // no number, no contact (the pattern would match them all)
    };
    for (const Case& c : cases)
        EXPECT_EQ(m_lookup.NameOf(c.number), c.name) << c.number;
}

TEST_F(NameLookupTest, TheFirstMatchInNameOrderWins)
{
    AddContact("zed", "5551234");
    AddContact("Anna", "0305551234");
    AddContact("bob", "5551234");
    EXPECT_EQ(m_lookup.NameOf("5551234"), "Anna");
}

TEST_F(NameLookupTest, EveryCharacterOfTheNumberIsLiteral)
{
    AddContact("Alpha", "1972");
    AddContact("Beta", "*72");
    AddContact("Gamma", "50%off");
    AddContact("Delta", "[1]2");
    EXPECT_EQ(m_lookup.NameOf("*72"), "Beta");
    EXPECT_EQ(m_lookup.NameOf("0%o"), "Gamma");
    EXPECT_EQ(m_lookup.NameOf("[1]"), "Delta");
    EXPECT_EQ(m_lookup.NameOf("12"), std::nullopt);
    EXPECT_EQ(m_lookup.NameOf("1'2"), std::nullopt);
    EXPECT_EQ(m_lookup.NameOf("%"), "Gamma");
}

TEST_F(NameLookupTest, ThePhonebookPageKeepsItsRowAndFilter)
{
    AddContact("Alice", "5550001");
    AddContact("Bob", "5550002");
    AddContact("Carol", "5550003");
    TADOQuery& phonebook = Query(TModemQuery::QAll);
    phonebook.Close();
    phonebook.Open();
    phonebook.SetRecNo(3);
    EXPECT_EQ(m_lookup.NameOf("5550002"), "Bob");
    EXPECT_EQ(phonebook.RecNo(), 3);
    EXPECT_EQ(phonebook.Filter(), "");
    EXPECT_FALSE(phonebook.Filtered());

    // A contact added after the previous lookup is found by the next.
    AddContact("Dave", "5550004");
    EXPECT_EQ(m_lookup.NameOf("5550004"), "Dave");
}

} // namespace
