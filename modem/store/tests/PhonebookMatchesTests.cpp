#include "modem/store/PhonebookMatches.h"

#include "StoreFixture.h"

namespace {

std::string Listed(const std::vector<TContactMatch>& matches)
{
    std::string listed;
    for (const TContactMatch& match : matches)
        listed += match.Name + "=" + match.Number + ";";
    return listed;
}

class PhonebookMatchesTest : public StoreFixture {
protected:
    TPhonebookMatches m_matches{ProgramFolder()};
};

TEST_F(PhonebookMatchesTest, NumbersThatBeginWithThePrefixInNameOrder)
{
    AddContact("zed", "5551234");
    AddContact("Anna", "5559999");
    AddContact("bob", "0305551234");
    EXPECT_EQ(Listed(m_matches.StartingWith("555")), "Anna=5559999;zed=5551234;");
    EXPECT_EQ(Listed(m_matches.StartingWith("5551")), "zed=5551234;");
    EXPECT_EQ(Listed(m_matches.StartingWith("444")), "");
    EXPECT_EQ(Listed(m_matches.StartingWith("")), "") << "an empty prefix would list everyone";
}

TEST_F(PhonebookMatchesTest, TheTypedTextIsTakenLiterally)
{
    AddContact("Forward", "*72555");
    AddContact("Star", "*99");
    AddContact("Percent", "1%2");
    AddContact("Under", "1x2");
    AddContact("Quote", "1'2");
    EXPECT_EQ(Listed(m_matches.StartingWith("*72")), "Forward=*72555;");
    EXPECT_EQ(Listed(m_matches.StartingWith("1%")), "Percent=1%2;");
    EXPECT_EQ(Listed(m_matches.StartingWith("1_")), "");
    EXPECT_EQ(Listed(m_matches.StartingWith("1'")), "Quote=1'2;");
    EXPECT_EQ(Listed(m_matches.StartingWith("1\\")), "");
}

TEST_F(PhonebookMatchesTest, ThePhonebookQueryKeepsItsRowsAndFilter)
{
    AddContact("Anna", "5559999");
    AddContact("Bob", "7770000");
    TADOQuery& phonebook = Query(TModemQuery::QAll);
    phonebook.Last();
    (void)m_matches.StartingWith("555");
    EXPECT_FALSE(phonebook.Filtered());
    EXPECT_EQ(phonebook.FieldByName("NAME")->AsString(), "Bob");
    AddContact("Carl", "5550000");
    EXPECT_EQ(Listed(m_matches.StartingWith("555")), "Anna=5559999;Carl=5550000;") << "a new contact is found at once";
}

} // namespace
