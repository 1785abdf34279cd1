#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/core/FormReader.h"
#include "modem/ModemSchema.h"
#include "platform/classlib/data/DatabaseSchema.h"
#include "platform/classlib/data/SqliteDatabase.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/rtl/Strings.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <thread>

namespace {

// A manager database in a temporary folder, reached the way the manager names it, created with the
// schema the manager registers.
class ModemDatabase : public ::testing::Test {
protected:
    ModemDatabase() { RegisterDatabaseSchema(ModemSchemaSql()); }
    ~ModemDatabase() override { RegisterDatabaseSchema({}); }

    std::unique_ptr<TADOQuery> Query(const std::string& sql)
    {
        auto query = std::make_unique<TADOQuery>(nullptr);
        query->SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + m_dir.Path().string() + "\\" +
                                   std::string(ModemDatabaseFileName) + ";Persist Security Info=True");
        query->SQL()->SetText(sql);
        return query;
    }

    void AddContact(const std::string& name, const std::string& number, int group)
    {
        auto pb = Query("SELECT * FROM PB");
        pb->Open();
        pb->Append();
        pb->FieldByName("NAME")->SetAsString(name);
        pb->FieldByName("NUM")->SetAsString(number);
        pb->FieldByName("GROUP")->SetAsInteger(group);
        pb->Post();
    }

    static std::vector<std::string> Column(TDataSet& dataSet, const char* field)
    {
        std::vector<std::string> values;
        for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
            values.push_back(dataSet.FieldByName(field)->AsString());
        return values;
    }

    TempDir m_dir;
};

using Names = std::vector<std::string>;

}  // namespace

TEST_F(ModemDatabase, MissingFileIsCreatedWithTheEightTables)
{
    for (const char* sql : {"SELECT * FROM PB ORDER BY NAME ASC", "SELECT * FROM IB ORDER BY R, DT DESC",
                            "SELECT * FROM OB ORDER BY DT DESC", "SELECT * FROM SB ORDER BY DT DESC", "SELECT * FROM TP",
                            "SELECT * FROM CI ORDER BY DT DESC", "SELECT * FROM CO ORDER BY DT DESC",
                            "SELECT * FROM CM ORDER BY DT DESC"}) {
        auto query = Query(sql);
        query->Open();
        EXPECT_TRUE(query->IsEmpty()) << sql;
        EXPECT_TRUE(query->CanModify()) << sql;
        EXPECT_EQ(query->FindField("ID"), nullptr) << "the row key stays out of sight: " << sql;
    }
    EXPECT_TRUE(std::filesystem::exists(m_dir / std::string(ModemDatabaseFileName)));
}

TEST_F(ModemDatabase, WithNoSchemaRegisteredAMissingFileIsCreatedEmpty)
{
    RegisterDatabaseSchema({});
    auto tables = Query("SELECT name FROM sqlite_master WHERE type = 'table'");
    tables->Open();
    EXPECT_TRUE(tables->IsEmpty());
    EXPECT_TRUE(std::filesystem::exists(m_dir / std::string(ModemDatabaseFileName)));
}

TEST_F(ModemDatabase, UnopenableFileGivesAClearMessage)
{
    m_dir.WriteFile(std::string(ModemDatabaseFileName), std::string(4096, 'x'));
    auto query = Query("SELECT * FROM PB");
    try {
        query->Open();
        FAIL() << "opened a file that is not a database";
    } catch (const EDatabaseError& e) {
        EXPECT_NE(e.Message().find("Cannot open the database"), std::string::npos) << e.Message();
    }
    EXPECT_FALSE(query->Active());
}

TEST_F(ModemDatabase, PhonebookSortsWithoutCaseAndFilters)
{
    AddContact("bob", "+15555551234", 2);
    AddContact("Alice", "5550000", 1);
    AddContact("carol", "5551234", 2);
    auto all = Query("SELECT * FROM PB ORDER BY NAME ASC");
    all->Open();
    EXPECT_EQ(Column(*all, "NAME"), (Names{"Alice", "bob", "carol"}));
    EXPECT_EQ(all->FieldByName("GROUP")->DataType(), ftSmallint);

    all->SetFilter("(NUM Like %5551234%)");
    all->SetFiltered(true);
    EXPECT_EQ(all->RecordCount(), 2);
    EXPECT_EQ(all->FieldByName("NAME")->AsString(), "bob");
    all->SetFilter("(GROUP = 1)");
    EXPECT_EQ(Column(*all, "NAME"), (Names{"Alice"}));

    // The filter survives close and reopen.
    all->Close();
    all->Open();
    EXPECT_EQ(all->RecordCount(), 1);
    all->SetFiltered(false);
    EXPECT_EQ(all->RecordCount(), 3);
}

TEST_F(ModemDatabase, InboxListsTrueFirstAndStoresBooleansAsMinusOne)
{
    auto inbox = Query("SELECT * FROM IB ORDER BY R, DT DESC");
    inbox->Open();
    const struct {
        const char* Name;
        bool Read;
        TDateTime When;
    } rows[] = {{"old unread", false, 45000.0}, {"read", true, 45001.0}, {"new unread", false, 45002.5}};
    for (const auto& row : rows) {
        inbox->Insert();
        inbox->FieldByName("NAME")->SetAsString(row.Name);
        inbox->FieldByName("DT")->SetAsDateTime(row.When);
        inbox->FieldByName("R")->SetAsBoolean(row.Read);
        inbox->Post();
    }
    inbox->Close();
    inbox->Open();
    EXPECT_EQ(Column(*inbox, "NAME"), (Names{"read", "new unread", "old unread"}));
    inbox->SetFilter("(R = True)");
    inbox->SetFiltered(true);
    EXPECT_EQ(Column(*inbox, "NAME"), (Names{"read"}));
    EXPECT_DOUBLE_EQ(inbox->FieldByName("DT")->AsDateTime(), 45001.0);

    auto raw = TSqliteDatabase::Open((m_dir / std::string(ModemDatabaseFileName)).string(), ModemSchemaSql());
    const TSqlResult stored = raw->Query("SELECT R, DT FROM IB WHERE NAME = ?", {Variant("new unread")});
    ASSERT_EQ(stored.Rows.size(), 1u);
    EXPECT_EQ(stored.Rows[0].Values[0].ToInteger(), 0);
    EXPECT_EQ(stored.Rows[0].Values[1].ToString(), "2023-03-17 12:00:00");
    EXPECT_EQ(raw->Query("SELECT R FROM IB WHERE NAME = 'read'").Rows[0].Values[0].ToInteger(), -1);
}

// A connection serves the thread that opened it (it takes no lock of its own), so another thread
// opening the same file gets a connection of its own and sees what was committed.
TEST_F(ModemDatabase, EachThreadHasItsOwnConnection)
{
    const std::string path = (m_dir / std::string(ModemDatabaseFileName)).string();
    auto here = TSqliteDatabase::Open(path, ModemSchemaSql());
    EXPECT_EQ(TSqliteDatabase::Open(path, ModemSchemaSql()), here);
    here->Execute("INSERT INTO PB (NAME, NUM) VALUES (?, ?)", {Variant("Ann"), Variant("1")});

    std::shared_ptr<TSqliteDatabase> there;
    std::string seen;
    std::thread([&] {
        there = TSqliteDatabase::Open(path, ModemSchemaSql());
        seen = there->Query("SELECT NAME FROM PB").Rows.at(0).Values.at(0).ToString();
    }).join();
    EXPECT_NE(there, here);
    EXPECT_EQ(seen, "Ann");
}

TEST_F(ModemDatabase, EditDeleteAndTheCursorRules)
{
    for (const char* name : {"a", "b", "c", "d"})
        AddContact(name, "1", 0);
    auto pb = Query("SELECT * FROM PB ORDER BY NAME ASC");
    pb->Open();
    pb->SetRecNo(2);
    pb->Edit();
    pb->FieldByName("NAME")->SetAsString("bb");
    pb->Post();
    EXPECT_EQ(pb->RecNo(), 2);

    pb->Delete();  // the cursor goes to the next row
    EXPECT_EQ(pb->FieldByName("NAME")->AsString(), "c");
    pb->Last();
    pb->Delete();  // or to the new last one
    EXPECT_EQ(pb->FieldByName("NAME")->AsString(), "c");
    EXPECT_FALSE(pb->Eof());

    pb->Insert();
    EXPECT_EQ(pb->RecNo(), -1);
    pb->Cancel();
    EXPECT_EQ(pb->RecordCount(), 2);

    pb->First();
    while (!pb->Eof())
        pb->Delete();
    EXPECT_TRUE(pb->IsEmpty());
    EXPECT_TRUE(pb->Bof());

    pb->Close();
    pb->Open();
    EXPECT_TRUE(pb->IsEmpty()) << "the deletes reached the file";
}

TEST_F(ModemDatabase, ReopenShowsARowWrittenByAnotherQuery)
{
    auto shown = Query("SELECT * FROM CI ORDER BY DT DESC");
    shown->Open();
    auto writer = Query("SELECT * FROM CI");
    writer->Open();
    writer->Insert();
    writer->FieldByName("NAME")->SetAsString("Unknown");
    writer->FieldByName("DUR")->SetAsString("00:00:00");
    writer->Post();
    EXPECT_TRUE(shown->IsEmpty());
    shown->Close();
    shown->Open();
    EXPECT_EQ(shown->FieldByName("DUR")->AsString(), "00:00:00");
    EXPECT_EQ(shown->RecNo(), 1);
}

TEST_F(ModemDatabase, BookmarksCompareInTextSortOrder)
{
    for (const char* name : {"delta", "Alpha", "charlie", "Bravo"})
        AddContact(name, "1", 0);
    auto pb = Query("SELECT * FROM PB ORDER BY NAME ASC");
    pb->Open();
    std::vector<TBookmark> marks;
    for (pb->First(); !pb->Eof(); pb->Next())
        marks.push_back(pb->Bookmark());
    ASSERT_EQ(marks.size(), 4u);
    for (std::size_t i = 0; i + 1 < marks.size(); ++i) {
        EXPECT_EQ(pb->CompareBookmarks(marks[i], marks[i + 1]), -1);
        EXPECT_EQ(pb->CompareBookmarks(marks[i + 1], marks[i]), 1);
    }
    pb->SetBookmark(marks[2]);
    EXPECT_EQ(pb->FieldByName("NAME")->AsString(), "charlie");
    pb->Close();
    pb->Open();
    EXPECT_FALSE(pb->BookmarkValid(marks[2]));
}

TEST_F(ModemDatabase, LocateAndLookupField)
{
    AddContact("Zoe Smith", "5551", 3);
    AddContact("adam jones", "5552", 1);
    auto pb = Query("SELECT * FROM PB ORDER BY NAME ASC");
    pb->Open();
    EXPECT_FALSE(pb->Locate("NAME", Variant("ADAM"), 0));
    EXPECT_TRUE(pb->Locate("NAME", Variant("ADAM"), LocateOptions({loCaseInsensitive, loPartialKey})));
    EXPECT_EQ(pb->FieldByName("NUM")->AsString(), "5552");
    EXPECT_TRUE(pb->Locate("NAME;GROUP", VarArrayOf({Variant("zoe smith"), Variant(3)}), LocateOptions({loCaseInsensitive})));
    EXPECT_EQ(pb->RecNo(), 2);

    // Call history rows show the phonebook name through a lookup field.
    auto calls = Query("SELECT * FROM CM");
    calls->Open();
    calls->Append();
    calls->FieldByName("NUM")->SetAsString("5551");
    calls->Post();
    calls->Close();
    for (const char* name : {"NAME", "NUM", "DT"}) {
        TField* field = CreateFieldOfType(ftWideString, calls.get());
        field->SetFieldName(name);
        field->SetDataSet(calls.get());
    }
    auto* who = new TStringField(calls.get());
    who->SetFieldName("Who");
    who->SetFieldKind(fkLookup);
    who->SetKeyFields("NUM");
    who->SetLookupDataSet(pb.get());
    who->SetLookupKeyFields("NUM");
    who->SetLookupResultField("NAME");
    who->SetDataSet(calls.get());
    calls->Open();
    EXPECT_EQ(who->AsString(), "Zoe Smith");
    EXPECT_EQ(pb->RecNo(), 2) << "a lookup does not move the other data set";
}

namespace {

// Records what a grid's link is told.
class RecordingLink : public TDataLink {
public:
    std::vector<int> Scrolls;
    int Changes = 0;

protected:
    void DataSetScrolled(int distance) override { Scrolls.push_back(distance); }
    void DataSetChanged() override { ++Changes; }
};

}  // namespace

TEST_F(ModemDatabase, BufferWindowFollowsTheLinkAndRecNoTheActiveRecord)
{
    for (int i = 0; i < 10; ++i)
        AddContact("n" + std::to_string(i), std::to_string(i), 0);
    auto pb = Query("SELECT * FROM PB ORDER BY NAME ASC");
    TDataSource source(nullptr);
    source.SetDataSet(pb.get());
    RecordingLink link;
    link.SetDataSource(&source);
    link.SetBufferCount(3);
    pb->Open();
    EXPECT_TRUE(link.Active());
    EXPECT_EQ(link.RecordCount(), 3);

    // Painting: each buffered row readable, RecNo following, no events and no cursor move.
    for (int row = 0; row < link.RecordCount(); ++row) {
        link.SetActiveRecord(row);
        EXPECT_EQ(pb->RecNo(), row + 1);
        EXPECT_EQ(pb->FieldByName("NAME")->AsString(), "n" + std::to_string(row));
    }
    link.SetActiveRecord(0);
    EXPECT_TRUE(link.Scrolls.empty());

    pb->MoveBy(2);
    EXPECT_EQ(link.Scrolls.back(), 0) << "inside the window";
    EXPECT_EQ(link.ActiveRecord(), 2);
    pb->Next();
    EXPECT_EQ(link.Scrolls.back(), -1) << "the rows shown moved up one";
    EXPECT_EQ(link.ActiveRecord(), 2);
    EXPECT_EQ(pb->RecNo(), 4);
    link.SetActiveRecord(0);
    EXPECT_EQ(pb->RecNo(), 2);
    EXPECT_EQ(pb->MoveBy(-3), -3);
    EXPECT_EQ(link.Scrolls.back(), 1) << "the window only had one row to go";
    EXPECT_EQ(pb->RecNo(), 1);

    // Switching the source to another data set re-binds the link.
    auto tp = Query("SELECT * FROM TP");
    tp->Open();
    source.SetDataSet(tp.get());
    EXPECT_TRUE(link.Active());
    EXPECT_EQ(link.DataSet(), tp.get());
    EXPECT_EQ(link.RecordCount(), 0);
}

TEST_F(ModemDatabase, FilterValueWithQuotesAndWildcardsIsData)
{
    AddContact("O'Brien %*)", "1", 0);
    AddContact("O'Brien and co", "2", 0);
    auto pb = Query("SELECT * FROM PB");
    pb->Open();
    pb->SetFilter("NAME = 'O''Brien %*)'");
    pb->SetFiltered(true);
    EXPECT_EQ(Column(*pb, "NUM"), (Names{"1"}));
    pb->SetFilter("NAME = 'x'') OR 1=1 --'");
    EXPECT_TRUE(pb->IsEmpty());
    auto check = Query("SELECT * FROM PB");
    check->Open();
    EXPECT_EQ(check->RecordCount(), 2) << "nothing reached SQL";
}

TEST_F(ModemDatabase, FieldsAndErrors)
{
    AddContact("x", "1", 0);
    auto pb = Query("SELECT * FROM PB");
    pb->Open();
    try {
        (void)pb->FieldByName("MISSING");
        FAIL();
    } catch (const EDatabaseError& e) {
        EXPECT_NE(e.Message().find("Field 'MISSING' not found"), std::string::npos);
    }
    EXPECT_THROW(pb->FieldByName("NAME")->SetAsString("y"), EDatabaseError) << "not in edit mode";
    const Variant values = pb->FieldValues("NAME;num");
    ASSERT_TRUE(VarIsArray(values));
    EXPECT_EQ(values.Element(1).ToString(), "1");
    EXPECT_FALSE(pb->FieldByName("SEL")->AsBoolean());
    EXPECT_EQ(pb->FieldByName("SEL")->DisplayText(), "False");

    auto broken = Query("SELECT * FROM NOWHERE");
    EXPECT_THROW(broken->Open(), EDatabaseError);
    auto empty = Query("");
    EXPECT_THROW(empty->Open(), EDatabaseError);
}

TEST_F(ModemDatabase, DataModuleFormDataOpensItsQueryOnceLoaded)
{
    RegisterDataClasses();
    AddContact("bob", "5551234", 2);
    AddContact("Alice", "5550000", 1);
    const std::string path = m_dir.Path().string() + "\\" + std::string(ModemDatabaseFileName);
    const std::string text = "object DataModule1: TComponent\n"
                             "  object QPB: TADOQuery\n"
                             "    ConnectionString = 'Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path +
                             ";Persist Security Info=True'\n"
                             "    SQL.Strings = (\n"
                             "      'SELECT * FROM PB ORDER BY NAME')\n"
                             "    Active = True\n"
                             "    object QPBNAME: TWideStringField\n"
                             "      FieldName = 'NAME'\n"
                             "      Size = 50\n"
                             "    end\n"
                             "    object QPBGROUP: TSmallintField\n"
                             "      FieldName = 'GROUP'\n"
                             "      Alignment = taCenter\n"
                             "    end\n"
                             "  end\n"
                             "  object DSPB: TDataSource\n"
                             "    DataSet = QPB\n"
                             "  end\n"
                             "end\n";
    TComponent root(nullptr);
    ReadComponentText(text, &root);
    auto* query = dynamic_cast<TADOQuery*>(root.FindComponent("QPB"));
    auto* source = dynamic_cast<TDataSource*>(root.FindComponent("DSPB"));
    ASSERT_NE(query, nullptr);
    ASSERT_NE(source, nullptr);
    EXPECT_TRUE(query->Active());
    EXPECT_EQ(source->DataSet(), query);
    EXPECT_EQ(source->State(), dsBrowse);

    // The persistent fields read inside the query are its only fields.
    EXPECT_FALSE(query->DefaultFields());
    ASSERT_EQ(query->FieldCount(), 2);
    EXPECT_EQ(query->FieldByName("NAME"), root.FindComponent("QPBNAME"));
    EXPECT_EQ(query->FieldByName("GROUP")->Alignment(), taCenter);
    EXPECT_EQ(Column(*query, "NAME"), (Names{"Alice", "bob"}));
    EXPECT_EQ(Column(*query, "GROUP"), (Names{"1", "2"}));
}

TEST_F(ModemDatabase, TextSortsAndComparesInDictionaryOrder)
{
    const Names names = {"abc", "ABD", "ab", "Ab", "\xC3\x84" "b", "\xC3\xA9" "clair", "eclair", "Eclairs", "f",
                         "zeta", "Zeta", "a", "", "a\xC3\xA9", "ae", "A~", "a[", "a_", "B",
                         // Longer than a word, so that the comparison's word-at-a-time part decides.
                         "Phonebook entry", "PHONEBOOK ENTRZ", "Phonebook \xC3\xA9ntry", "Phonebook entr",
                         "Phonebook Entry two", "Phonebook_entry", "Phonebook\xC3\xA9"};
    for (const std::string& name : names)
        AddContact(name, "1", 0);
    auto sorted = Query("SELECT * FROM PB ORDER BY NAME");
    sorted->Open();
    const Names order = Column(*sorted, "NAME");
    ASSERT_EQ(order.size(), names.size());
    for (std::size_t i = 1; i < order.size(); ++i)
        EXPECT_LE(AnsiCompareText(order[i - 1], order[i]), 0) << order[i - 1] << " before " << order[i];

    auto same = Query("SELECT * FROM PB WHERE NAME = 'ZETA' ORDER BY NAME");
    same->Open();
    EXPECT_EQ(same->RecordCount(), 2);
}

TEST_F(ModemDatabase, ExpressionColumnsTakeTheTypeOfTheirFirstValue)
{
    AddContact("a", "1", 3);
    AddContact("b", "2", 4);
    auto query = Query("SELECT NAME, CASE WHEN NAME = 'a' THEN NULL ELSE \"GROUP\" * 10 END AS TENS, "
                       "CASE WHEN NAME = 'a' THEN NULL ELSE 1.5 END AS HALF, NULL AS BLANK FROM PB ORDER BY NAME");
    query->Open();
    EXPECT_FALSE(query->CanModify());
    EXPECT_EQ(query->FieldByName("TENS")->DataType(), ftLargeint);
    EXPECT_EQ(query->FieldByName("HALF")->DataType(), ftFloat);
    EXPECT_EQ(query->FieldByName("BLANK")->DataType(), ftWideString);
    EXPECT_TRUE(query->FieldByName("TENS")->IsNull());
    query->Next();
    EXPECT_EQ(query->FieldByName("TENS")->AsInteger(), 40);
    EXPECT_DOUBLE_EQ(query->FieldByName("HALF")->AsFloat(), 1.5);
}

// An owner freeing an open query that a data source refers to tells every component it owns,
// the query itself included; its fields then leave the query's list before they are freed, so
// none is reached after its end.
TEST_F(ModemDatabase, AnOwnerFreesAnOpenQueryThatOthersReferTo)
{
    AddContact("Ann", "5550001", 1);
    auto owner = std::make_unique<TComponent>(nullptr);
    std::unique_ptr<TADOQuery> query = Query("SELECT * FROM PB");
    TADOQuery* owned = query.release();
    owner->InsertComponent(owned);
    auto* source = new TDataSource(owner.get());
    source->SetDataSet(owned);
    owned->Open();
    ASSERT_EQ(owned->FieldByName("NAME")->AsString(), "Ann");
    owner.reset();
}

TEST_F(ModemDatabase, RecordKeyNamesTheRowItsWriterGotAndNothingWhileInserting)
{
    AddContact("Bob", "5550002", 0);
    AddContact("Ann", "5550001", 0);
    auto pb = Query("SELECT * FROM PB ORDER BY NAME ASC");
    EXPECT_FALSE(pb->RecordKey()) << "closed";
    pb->Open();
    ASSERT_TRUE(pb->RecordKey());
    EXPECT_EQ(*pb->RecordKey(), 2) << "Ann, added second, comes first by name";
    pb->Next();
    EXPECT_EQ(*pb->RecordKey(), 1);
    pb->Insert();
    EXPECT_FALSE(pb->RecordKey());
    pb->Cancel();
    auto empty = Query("SELECT * FROM CM");
    empty->Open();
    EXPECT_FALSE(empty->RecordKey());
}
