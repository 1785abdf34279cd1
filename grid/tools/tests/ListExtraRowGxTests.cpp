#include "grid/tools/ListExtraRowGx.h"

#include "platform/classlib/forms/ExtCtrlsPanel.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Split(const std::string& text)
{
    TStringList cells;
    SplitCellsText(cells, text);
    std::vector<std::string> out;
    for (int i = 0; i < cells.Count(); ++i)
        out.push_back(cells.Strings(i));
    return out;
}

TEST(SplitCellsText, ReadsPlainQuotedAndBrokenCells)
{
    using Cells = std::vector<std::string>;
    const struct {
        std::string Text;
        Cells Expected;
    } cases[] = {
        {"\"a;b\";c", {"a;b", "c"}},
        {"\"say \"\"hi\"\"\";x", {"say \"hi\"", "x"}},
        {"\r\n a ;\tb\n", {" a ", "b"}},
        {";b", {"", "b"}},
        {"a;", {"a"}},
        {"\"unclosed;cell", {"unclosed;cell"}},
        {std::string("a\0b", 3), {"a", "b"}},
        {"Все;ни один", {"Все", "ни один"}},
        {"", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Split(c.Text), c.Expected) << c.Text;
}

// Joined cells read back as the same cells, whatever they hold.
TEST(JoinCellsText, ReadsBackAsTheSameCells)
{
    using Cells = std::vector<std::string>;
    for (const Cells& cells : {Cells{"a", "b"}, Cells{"a;b", "say \"hi\"", "\"q"}, Cells{"", "x", ""},
                               Cells{"\tlead", " blank "}, Cells{}}) {
        EXPECT_EQ(Split(JoinCellsText(cells)), cells) << JoinCellsText(cells);
    }
    EXPECT_EQ(JoinCellsText({"0", "(none)"}), "0;(none)");
}

struct SpecRowFixture : ::testing::Test {
    SpecRowFixture()
    {
        row.SetOnChange(TNotifyEvent::FromFunction([this](TObject*) { ++changes; }));
    }
    TPanel owner{nullptr};
    TSpecRowGx row{&owner};
    int changes = 0;
};

TEST_F(SpecRowFixture, CellsFollowTheTextAndOutOfRangeCellsAreEmpty)
{
    row.SetCellsText("\"a;b\";c");
    EXPECT_EQ(row.CellText(0), "a;b");
    EXPECT_EQ(row.CellText(1), "c");
    EXPECT_EQ(row.CellText(5), "");
    EXPECT_EQ(row.CellText(-1), "");
    EXPECT_EQ(changes, 1);
    row.SetCellsText("\"a;b\";c");
    EXPECT_EQ(changes, 1);
}

TEST_F(SpecRowFixture, FontAndColourFollowTheOwnerUntilSetOnTheRow)
{
    owner.Font()->SetName("Tahoma");
    owner.SetColor(clYellow);
    EXPECT_EQ(row.Font()->Name(), "Tahoma");
    EXPECT_EQ(row.Color(), clYellow);
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(row.OwnFont());

    row.Font()->SetHeight(-20);
    EXPECT_TRUE(row.OwnFont());
    EXPECT_EQ(changes, 1);
    owner.Font()->SetName("Verdana");
    EXPECT_EQ(row.Font()->Name(), "Tahoma");
    row.SetColor(clRed);
    owner.SetColor(clLime);
    EXPECT_EQ(row.Color(), clRed);
}

TEST_F(SpecRowFixture, ChangesInsideAnUpdateTellOnceAndAssignCopiesInOne)
{
    EXPECT_EQ(row.ShortCut(), static_cast<TShortCut>(scAlt | VK_DELETE));
    row.BeginUpdate();
    row.SetVisible(true);
    row.SetValue(Variant(5));
    row.SetShowIfNotInKeyList(false);
    EXPECT_EQ(changes, 0);
    row.EndUpdate();
    EXPECT_EQ(changes, 1);
    row.SetValue(Variant(5));
    EXPECT_EQ(changes, 1);

    TSpecRowGx copy(&owner);
    int copyChanges = 0;
    copy.SetOnChange(TNotifyEvent::FromFunction([&](TObject*) { ++copyChanges; }));
    row.SetCellsText("none");
    copy.Assign(&row);
    EXPECT_EQ(copyChanges, 1);
    EXPECT_EQ(copy.CellText(0), "none");
    EXPECT_TRUE(copy.Visible());
    EXPECT_EQ(copy.Value().ToInteger(), 5);
    EXPECT_FALSE(copy.ShowIfNotInKeyList());
    EXPECT_FALSE(copy.OwnColor());
    EXPECT_FALSE(copy.OwnFont());
}

} // namespace
