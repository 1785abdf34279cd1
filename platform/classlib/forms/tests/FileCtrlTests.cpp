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
    EXPECT_EQ(Names(tree), (std::vector<std::string>{"-" + Path(), "  +a", "  +z"}));
    EXPECT_EQ(tree.Reveal(Path("a/b")), 2);
    EXPECT_EQ(Names(tree), (std::vector<std::string>{"-" + Path(), "  -a", "    +b", "  +z"}));
    EXPECT_EQ(tree.ParentRow(2), 1);
    EXPECT_EQ(tree.ParentRow(0), 0);
    tree.Collapse(1);
    EXPECT_EQ(Names(tree), (std::vector<std::string>{"-" + Path(), "  +a", "  +z"}));
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
    m_browser->Show();
    ASSERT_TRUE(PumpUntil([] { return true; }));
    const auto path = fs::path(MODEM_TEST_PICTURES) / "folder-browser.png";
    fs::create_directories(path.parent_path());
    EXPECT_TRUE(m_display->SaveWindowPng(Id(*m_browser), path));
    EXPECT_EQ(m_errors, std::vector<std::string>{});
}

} // namespace
