#include "grid/core/DBGridGxMultiTitle.h"
#include "grid/core/DBGridGxColumnTitle.h"
#include "grid/core/tests/TestDataGrid.h"
#include "platform/rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// The tree as text: each node "text:width", children in brackets, walked through the rings.
std::string Dump(const THeadTreeNode& node)
{
    std::string out = node.Text() + ":" + std::to_string(node.Width());
    if (const THeadTreeNode* first = node.FirstChild()) {
        out += "[";
        for (const THeadTreeNode* child = first;;) {
            out += Dump(*child);
            child = child->NextSibling();
            if (child == first)
                break;
            out += ",";
        }
        out += "]";
    }
    return out;
}

std::string DumpLevels(const THeadTreeNode& root)
{
    const std::string all = Dump(root);
    return all.substr(all.find('[') + 1, all.size() - all.find('[') - 2);
}

// Every ring closes on its first child, every child names its parent and sits one level lower.
void ExpectRingsConsistent(const THeadTreeNode& node)
{
    const THeadTreeNode* first = node.FirstChild();
    if (!first)
        return;
    const THeadTreeNode* child = first;
    for (int steps = 0; steps < 1000; ++steps) {
        EXPECT_EQ(child->Parent(), &node) << child->Text();
        EXPECT_EQ(child->Depth(), node.Depth() + 1) << child->Text();
        ExpectRingsConsistent(*child);
        child = child->NextSibling();
        if (child == first)
            return;
    }
    ADD_FAILURE() << "the ring under " << node.Text() << " does not close";
}

class TitleTree : public ::testing::Test {
protected:
    // One column per caption, each 50 wide, visible.
    std::vector<THeadTreeNode*> Build(const Strings& captions, bool columnLines = true, int titleHeight = 60)
    {
        for (const std::string& caption : captions) {
            TColumnGx* column = m_grid.Columns().Add();
            column->Title()->SetCaption(caption);
            column->SetWidth(50);
        }
        auto leaves = m_root->BuildFromColumns(m_grid.Columns(), titleHeight, columnLines);
        ExpectRingsConsistent(*m_root);
        return leaves;
    }

    TTestDataGrid m_grid{nullptr};
    std::unique_ptr<THeadTreeNode> m_root = THeadTreeNode::CreateRoot();
};

} // namespace

TEST(TitleWords, RunsOfDelimitersSeparateAndLeadingOnesAreSkipped)
{
    struct Case {
        const char* text;
        int n;
        const char* word;
        int start;
    };
    const Case cases[] = {
        {"A|B|C", 1, "A", 1},   {"A|B|C", 3, "C", 5},     {"A|B|C", 4, "", 0},   {"A||B", 2, "B", 4},
        {"||A|", 1, "A", 3},    {"||A|", 2, "", 0},       {"", 1, "", 0},        {"Address|City", 2, "City", 9},
        {"Größe|Maß", 2, "Maß", 9}, {"|", 1, "", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NthWordStart(c.n, c.text), c.start) << c.text << " word " << c.n;
        EXPECT_EQ(NthWord(c.n, c.text), c.word) << c.text << " word " << c.n;
        EXPECT_EQ(NthWordWithPos(c.n, c.text), std::make_pair(std::string(c.word), c.start)) << c.text;
    }
}

TEST_F(TitleTree, CaptionsWithSharedGroupWordsFormBands)
{
    struct Case {
        Strings captions;
        bool lines;
        const char* tree;
    };
    const Case cases[] = {
        {{"A|X", "A|Y", "B"}, true, "A:101[X:50,Y:50],B:50"},
        {{"A|X", "A|Y", "B"}, false, "A:100[X:50,Y:50],B:50"},
        {{"A|B|X", "A|B|Y", "A|Z"}, true, "A:152[B:101[X:50,Y:50],Z:50]"},
        {{"A|X", "A"}, true, "A:101[X:50,:50]"},
        {{"A|X"}, true, "A:50[X:50]"},
        {{"|A||X", "A|Y"}, true, "A:101[X:50,Y:50]"},
        {{"A|X", "B|Y", "A|Z"}, true, "A:50[X:50],B:50[Y:50],A:50[Z:50]"},
        {{"a|X", "A|Y"}, true, "a:50[X:50],A:50[Y:50]"},
        {{"Größe|Maß", "Größe|Zoll"}, true, "Größe:101[Maß:50,Zoll:50]"},
        {{"X", "Y"}, true, "X:50,Y:50"},
    };
    for (const Case& c : cases) {
        m_grid.Columns().Clear();
        Build(c.captions, c.lines);
        EXPECT_EQ(DumpLevels(*m_root), c.tree);
    }
}

TEST_F(TitleTree, AGroupWordIsNeverLostWhenARunMeetsAnotherGroup)
{
    // The third caption starts with "B" too, but its neighbours are already inside "A": it gets a
    // band of its own instead of losing its group word.
    Build({"A|B|X", "A|B|Y", "B|Z"});
    EXPECT_EQ(DumpLevels(*m_root), "A:101[B:101[X:50,Y:50]],B:50[Z:50]");
    m_grid.Columns().Clear();
    // Each caption is cut at its own second word, whatever delimiters it uses.
    Build({"A||X", "A|Y"});
    EXPECT_EQ(DumpLevels(*m_root), "A:101[X:50,Y:50]");
}

TEST_F(TitleTree, LeavesCarryTheirColumnsAndTheGridsSettings)
{
    Build({"A|X", "A|Y", "B"});
    m_grid.Columns()[1]->SetVisible(false);
    m_grid.Columns()[2]->Title()->SetSortMarker(smDownGx);
    for (const bool lines : {true, false}) {
        const auto leaves = m_root->BuildFromColumns(m_grid.Columns(), 60, lines);
        ASSERT_EQ(leaves.size(), 3u);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(leaves[i]->Column(), m_grid.Columns()[i]);
            EXPECT_EQ(leaves[i]->LineWidth(), lines ? 1 : 0);
            EXPECT_EQ(leaves[i]->SortMarkerIndent(), i == 2 ? 16 : 0);
        }
        EXPECT_EQ(leaves[1]->Width(), lines ? -1 : 0) << "a hidden column";
        EXPECT_EQ(leaves[0]->Parent()->Width(), 50) << "50 and the hidden column's -1, with or without lines";
        // Grouped leaves give their group's height away; the group starts at the placeholder.
        EXPECT_EQ(leaves[0]->Height(), 40);
        EXPECT_EQ(leaves[0]->Parent()->Height(), 20);
        EXPECT_EQ(leaves[2]->Height(), 60);
        EXPECT_EQ(leaves[2]->Depth(), 1);
        EXPECT_EQ(leaves[0]->Depth(), 2);
    }
    EXPECT_EQ(m_grid.Columns()[0]->Title()->Caption(), "A|X") << "captions stay as they are";
}

TEST_F(TitleTree, DeeperLevelsTakeMoreHeight)
{
    const auto leaves = Build({"A|B|X", "A|B|Y", "A|Z"}, true, 60);
    EXPECT_EQ(leaves[0]->Height(), 20);
    EXPECT_EQ(leaves[0]->Parent()->Height(), 20);
    EXPECT_EQ(leaves[2]->Height(), 40);
    EXPECT_EQ(leaves[0]->Depth(), 3);
}

TEST_F(TitleTree, RebuildingReplacesTheTree)
{
    Build({"A|X", "A|Y"});
    const auto leaves = m_root->BuildFromColumns(m_grid.Columns(), 60, true);
    EXPECT_EQ(DumpLevels(*m_root), "A:101[X:50,Y:50]");
    EXPECT_EQ(leaves[0]->Parent()->Parent(), m_root.get());
    m_grid.Columns().Clear();
    EXPECT_TRUE(m_root->BuildFromColumns(m_grid.Columns(), 60, true).empty());
    EXPECT_EQ(m_root->FirstChild(), nullptr);
}

TEST(HeadTreeNode, RingsOfChildren)
{
    const auto root = THeadTreeNode::CreateRoot();
    EXPECT_EQ(root->Text(), "Root");
    EXPECT_EQ(root->Height(), 10);
    EXPECT_EQ(root->NextSibling(), root.get());
    EXPECT_EQ(root->Depth(), 0);
    THeadTreeNode* a = root->AppendChild(root.get(), "a", 10, 5);
    THeadTreeNode* c = root->AppendChild(root.get(), "c", 30, 5);
    THeadTreeNode* b = root->AddAfter(a, "b", 20, 5);
    THeadTreeNode* d = root->AppendChild(b, "d", 7, 3);
    EXPECT_EQ(Dump(*root), "Root:0[a:10,b:20[d:7],c:30]");
    EXPECT_EQ(c->NextSibling(), a);
    EXPECT_EQ(d->NextSibling(), d);
    EXPECT_TRUE(root->Contains(d));
    EXPECT_TRUE(a->Contains(d)) << "a's ring holds b, and d is below b";
    EXPECT_FALSE(d->Contains(a));
    EXPECT_FALSE(root->Contains(nullptr));

    THeadTreeNode* group = root->Group(a, b, 2, "g");
    EXPECT_EQ(Dump(*root), "Root:0[g:30[a:10,b:20[d:7]],c:30]");
    EXPECT_EQ(a->Height(), 3);
    EXPECT_EQ(group->Height(), 2);
    EXPECT_EQ(d->Depth(), 3);
    ExpectRingsConsistent(*root);

    root->Group(c, c, 0, "single");
    EXPECT_EQ(Dump(*root), "Root:0[g:30[a:10,b:20[d:7]],single:30[c:30]]");
    group->FreeChildren();
    EXPECT_EQ(Dump(*root), "Root:0[g:30,single:30[c:30]]");
}

TEST(HeadTreeNode, NodesOutsideTheTreeOrItsLevelAreRefused)
{
    const auto root = THeadTreeNode::CreateRoot();
    const auto other = THeadTreeNode::CreateRoot();
    THeadTreeNode* stranger = other->AppendChild(other.get(), "s", 1, 1);
    THeadTreeNode* a = root->AppendChild(root.get(), "a", 1, 1);
    THeadTreeNode* b = root->AppendChild(root.get(), "b", 1, 1);
    THeadTreeNode* inner = root->AppendChild(b, "i", 1, 1);

    const auto message = [](auto action) {
        try {
            action();
        } catch (const Exception& error) {
            return error.Message();
        }
        return std::string("no exception");
    };
    EXPECT_EQ(message([&] { root->AddAfter(stranger, "x", 0, 0); }), "Node not in Tree");
    EXPECT_EQ(message([&] { root->AppendChild(stranger, "x", 0, 0); }), "Node not in Tree");
    EXPECT_EQ(message([&] { root->AddAfter(root.get(), "x", 0, 0); }), "Node not in Tree");
    EXPECT_EQ(message([&] { root->Group(stranger, stranger, 0, "x"); }), "Node not in Tree");
    EXPECT_EQ(message([&] { root->Group(b, a, 0, "x"); }), "ATo not in level");
    EXPECT_EQ(message([&] { root->Group(a, inner, 0, "x"); }), "ATo not in level");
    EXPECT_EQ(message([&] { root->Group(a, nullptr, 0, "x"); }), "ATo not in level");
    EXPECT_EQ(Dump(*root), "Root:0[a:1,b:1[i:1]]") << "a refused change leaves the tree as it was";
}
