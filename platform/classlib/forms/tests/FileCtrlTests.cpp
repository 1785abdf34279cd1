#include "platform/classlib/forms/FileCtrl.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"

#include "platform/classlib/forms/tests/ControlsTestClasses.h"
#include "platform/winapi/kernel/Clock.h"
#include "platform/winapi/user/WinUser.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

// A root with folders a (holding b, which holds c), z, a hidden one, and a file.
class FolderFixture {
protected:
    FolderFixture()
    {
        fs::create_directories(m_dir / "a/b/c");
        fs::create_directories(m_dir / "z");
        fs::create_directories(m_dir / ".hidden");
        m_dir.WriteFile("file.txt", "not a folder");
    }
    [[nodiscard]] std::string Path(const std::string& relative = "") const
    {
        return relative.empty() ? m_dir.Path().string() : (m_dir / relative).string();
    }

    TempDir m_dir;
};

std::vector<std::string> Names(const TFolderTree& tree)
{
    std::vector<std::string> names;
    for (const auto& row : tree.Rows())
        names.push_back(std::string(row.depth * 2, ' ') + (row.hasChildren ? (row.expanded ? "-" : "+") : " ") + row.name);
    return names;
}

class FolderTreeTest : public testing::Test, protected FolderFixture {};

TEST_F(FolderTreeTest, ShowsVisibleFoldersSortedAndOpensAlongAPath)
{
    TFolderTree tree(Path());
    // Only a folder with folders inside has a box to open it.
    EXPECT_EQ(Names(tree), (std::vector<std::string>{"-" + Path(), "  +a", "   z"}));
    EXPECT_EQ(tree.Reveal(Path("a/b")), 2);
    EXPECT_EQ(Names(tree), (std::vector<std::string>{"-" + Path(), "  -a", "    +b", "   z"}));
    EXPECT_EQ(tree.ParentRow(2), 1);
    EXPECT_EQ(tree.ParentRow(0), 0);
    tree.Collapse(1);
    EXPECT_EQ(Names(tree), (std::vector<std::string>{"-" + Path(), "  +a", "   z"}));
    tree.Toggle(2);
    EXPECT_EQ(Names(tree).back(), "   z"); // opened: nothing inside
    EXPECT_EQ(tree.Reveal("/elsewhere"), 0);
}

class FolderBrowserTest : public ControlsFixture, protected FolderFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        m_browser = std::make_unique<TFolderBrowser>(nullptr);
        m_browser->Setup("Please select a folder to install", Path(), Path("a"));
    }
    void TearDown() override
    {
        m_browser.reset();
        ControlsFixture::TearDown();
    }
    void Key(unsigned key) { m_display->InjectKeyPress(Id(*m_browser), key); }
    void ClickRow(int index)
    {
        const TRect rect = m_browser->Tree()->ItemRect(index);
        m_display->InjectClick(Id(*m_browser),
                               InTopLevel(*m_browser->Tree(), {rect.left + 60, (rect.top + rect.bottom) / 2}));
    }
    // Runs the dialog modally; `input` is injected once it shows.
    TModalResult RunModal(const std::function<void()>& input)
    {
        m_browser->SetOnShow(TNotifyEvent::FromFunction([&](TObject*) { input(); }));
        return m_browser->ShowModal();
    }

    std::unique_ptr<TFolderBrowser> m_browser;
};

TEST_F(FolderBrowserTest, StartsAtTheStartFolderAndTheKeysWalkAndOpenTheTree)
{
    EXPECT_EQ(m_browser->SelectedFolder(), Path("a"));
    EXPECT_EQ(RunModal([&] {
                  Key(VK_RIGHT); // opens a
                  Key(VK_DOWN);  // to b
                  Key(VK_ADD);   // opens b
                  Key(VK_DOWN);  // to c
                  Key(VK_LEFT);  // c has nothing open: up to b
                  Key(VK_LEFT);  // closes b
                  Key(VK_RETURN);
              }),
              mrOk);
    EXPECT_EQ(m_browser->SelectedFolder(), Path("a/b"));
    EXPECT_EQ(m_browser->Tree()->Count(), 4); // root, a, b (closed again), z
}

TEST_F(FolderBrowserTest, TheMouseSelectsOpensWithADoubleClickAndConfirmsWithOk)
{
    FakeClock clock; // both clicks of the double click fall within its time
    EXPECT_EQ(RunModal([&] {
                  ClickRow(2); // z
                  ClickRow(1);
                  ClickRow(1); // double click: opens a
                  m_display->InjectClick(Id(*m_browser), InTopLevel(*m_browser->OkButton(), {10, 10}));
              }),
              mrOk);
    EXPECT_EQ(m_browser->SelectedFolder(), Path("a"));
    EXPECT_EQ(m_browser->Tree()->Count(), 4);
}

TEST_F(FolderBrowserTest, AClickOnAFoldersBoxOpensAndClosesIt)
{
    FakeClock clock;
    m_browser->Show();
    TListBox& tree = *m_browser->Tree();
    // The box of row 1 ("a", one level in) sits at the start of its indent.
    const auto clickBox = [&] {
        const TRect rect = tree.ItemRect(1);
        m_display->InjectClick(Id(*m_browser), InTopLevel(tree, {rect.left + 24, (rect.top + rect.bottom) / 2}));
        EXPECT_TRUE(PumpUntil([] { return true; }));
    };
    clickBox();
    EXPECT_EQ(tree.Count(), 4); // root, a, b, z
    clock.Advance(1000);
    clickBox();
    EXPECT_EQ(tree.Count(), 3);
    // The two presses of a double click toggle once each.
    clickBox();
    clickBox();
    EXPECT_EQ(tree.Count(), 3);
    EXPECT_EQ(m_browser->SelectedFolder(), Path("a"));
}

TEST_F(FolderBrowserTest, EscapeAndCancelLeaveTheFolderUnchosen)
{
    EXPECT_EQ(RunModal([&] { Key(VK_ESCAPE); }), mrCancel);
    EXPECT_EQ(RunModal([&] {
                  m_display->InjectClick(Id(*m_browser), InTopLevel(*m_browser->CancelButton(), {10, 10}));
              }),
              mrCancel);
}

TEST_F(FolderBrowserTest, LooksLikeAFolderDialog)
{
    m_browser->Setup("Please select a folder to install", Path(), Path("a/b"));
    m_browser->Show();
    ASSERT_TRUE(PumpUntil([] { return true; }));
    TListBox& tree = *m_browser->Tree();
    const auto middle = [&](int row) { return (tree.ItemRect(row).top + tree.ItemRect(row).bottom) / 2; };
    // Only the selected folder's label is highlighted, not the rest of its row.
    const TRect b = tree.ItemRect(2);
    EXPECT_EQ(Shown(tree, {b.left + 70, middle(2)}), Rgb(clHighlight));
    EXPECT_EQ(Shown(tree, {b.right - 10, middle(2)}), Rgb(clWindow));
    // Dotted tree lines: down the first level past "a" to "z", and across to each folder.
    const auto dotted = [&](POINT from, POINT step, int length) {
        int grey = 0;
        for (int i = 0; i < length; ++i)
            grey += Shown(tree, {from.x + step.x * i, from.y + step.y * i}) == Rgb(clGray) ? 1 : 0;
        return grey == length / 2 || grey == (length + 1) / 2;
    };
    EXPECT_TRUE(dotted({24, tree.ItemRect(2).top}, {0, 1}, tree.ItemRect(2).bottom - tree.ItemRect(2).top));
    EXPECT_TRUE(dotted({29, middle(3)}, {1, 0}, 4));
    const auto path = fs::path(MODEM_TEST_PICTURES) / "folder-browser.png";
    fs::create_directories(path.parent_path());
    EXPECT_TRUE(m_display->SaveWindowPng(Id(*m_browser), path));
    EXPECT_EQ(m_errors, std::vector<std::string>{});
}

} // namespace
