#include "ImpExpFixture.h"

#include "platform/classlib/forms/Clipbrd.h"
#include "platform/classlib/forms/Dialogs.h"
#include "platform/winapi/user/Clipboard.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <functional>

namespace {

using TSelection = IImpExpGridGx::TSelection;

const std::vector<std::string> People = {"Ann|10|1.5", "Bo \"Boss\"|20|2.25", "Cy;\tDee|30|"};

// The bytes of a clipboard format, read in a session of its own.
std::string ClipboardBytes(UINT format)
{
    TClipboard& clipboard = *Clipboard();
    clipboard.Open();
    std::string bytes;
    if (const HANDLE block = clipboard.GetAsHandle(format)) {
        const auto* data = static_cast<const char*>(GlobalLock(block));
        bytes.assign(data, GlobalSize(block));
        (void)GlobalUnlock(block);
    }
    clipboard.Close();
    return bytes;
}

class ClipboardTest : public ImpExpFixture {
protected:
    void SetUp() override
    {
        ImpExpFixture::SetUp();
        ShowPeople();
    }
    void TearDown() override
    {
        SetMessageDlgHandler({});
        ImpExpFixture::TearDown();
    }

    std::string Exported(TDBGridGxExportClass exportClass)
    {
        TMemoryStreamGx stream;
        ExportGridToStream(exportClass, *m_grid, stream, false);
        return StreamText(stream);
    }

    // The key reaches the confirmation box once it is up, as a user's press would.
    void PressInNextBox(unsigned key)
    {
        m_display->InjectKeyPress(TopLevelId(m_form->Handle()), key);
        (void)PostMessageA(m_form->Handle(), WM_NULL, 0, 0);
    }

    void SelectRows(std::vector<int> recNos)
    {
        m_grid->Kind = TSelection::RecordBookmarks;
        m_grid->Bookmarks.clear();
        for (int recNo : recNos)
            m_grid->Bookmarks.push_back(BookmarkOf(recNo));
    }
};

TEST_F(ClipboardTest, CopyPutsFourFormatsTogetherForEachSelectionKind)
{
    const std::vector<std::pair<const char*, std::function<void()>>> selections = {
        {"rows", [&] { SelectRows({2, 3}); }},
        {"rectangle",
         [&] {
             m_grid->Kind = TSelection::Rectangle;
             m_grid->Rectangle = {0, 1, BookmarkOf(1), BookmarkOf(2)};
         }},
        {"columns",
         [&] {
             m_grid->Kind = TSelection::Columns;
             m_grid->Columns = {&Column(2)};
         }},
        {"all", [&] { m_grid->Kind = TSelection::All; }},
    };
    for (const auto& [name, select] : selections) {
        Clipboard()->SetAsText("before");
        select();
        CopyGridSelection(*m_grid, false);
        const std::string text = Exported(TDBGridGxExportAsText::Create);
        const std::string unicode = ClipboardBytes(CF_UNICODETEXT);
        ASSERT_GE(unicode.size(), 2u) << name;
        EXPECT_EQ(unicode.substr(unicode.size() - 2), std::string(2, '\0')) << name;
        EXPECT_EQ(Clipboard()->AsText(), text) << name;
        EXPECT_EQ(ClipboardBytes(CF_CSV()), Exported(TDBGridGxExportAsCSV::Create) + '\0') << name;
        EXPECT_EQ(ClipboardBytes(CF_RTF()), Exported(TDBGridGxExportAsRTF::Create) + '\0') << name;
        EXPECT_EQ(ClipboardBytes(CF_VCLDBIF()), Exported(TDBGridGxExportAsVCLDBIF::Create)) << name;
        EXPECT_FALSE(m_query->ControlsDisabled());
    }
}

TEST_F(ClipboardTest, PastePrefersVcldbifAndFallsBackToText)
{
    SelectRows({1});
    CopyGridSelection(*m_grid, false);
    m_grid->Kind = TSelection::None;
    m_query->SetRecNo(3);
    m_grid->SetCurrentColumn(&Column(0));
    PasteIntoGrid(*m_grid, false);
    EXPECT_EQ(Stored(), (std::vector<std::string>{People[0], People[1], "Ann|10|1.5"}));
    EXPECT_EQ(m_query->RecNo(), 3);

    Clipboard()->SetAsText("Zed\t99");
    m_query->SetRecNo(2);
    PasteIntoGrid(*m_grid, false);
    EXPECT_EQ(Stored(), (std::vector<std::string>{People[0], "Zed|99|2.25", "Ann|10|1.5"}));
}

TEST_F(ClipboardTest, PastingTextWithACarriageReturnAloneChangesNothing)
{
    Clipboard()->SetAsText("A\t1\r\nB\r2");
    try {
        PasteIntoGrid(*m_grid, true);
        ADD_FAILURE() << "pasted";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Message(), "TDBGridGxImportAsText.CheckState: Invalid text format");
    }
    EXPECT_EQ(Stored(), People);
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
}

TEST_F(ClipboardTest, DeleteAsksByKindAndTheKeysAnswer)
{
    struct Case {
        const char* name;
        std::function<void()> select;
        bool all;
        unsigned key;
        std::vector<std::string> stored;
    };
    const Case cases[] = {
        {"one row, cancelled", [&] { SelectRows({2}); }, false, VK_ESCAPE, People},
        {"one row", [&] { SelectRows({2}); }, false, VK_RETURN, {People[0], People[2]}},
        {"rows", [&] { SelectRows({3, 1}); }, false, VK_RETURN, {People[1]}},
        {"rectangle",
         [&] {
             m_grid->Kind = TSelection::Rectangle;
             m_grid->Rectangle = {1, 2, BookmarkOf(1), BookmarkOf(2)};
         },
         false, VK_RETURN, {"Ann||", "Bo \"Boss\"||", People[2]}},
        {"columns",
         [&] {
             m_grid->Kind = TSelection::Columns;
             m_grid->Columns = {&Column(0)};
         },
         false, VK_RETURN, {"|10|1.5", "|20|2.25", "|30|"}},
        {"columns, cancelled",
         [&] {
             m_grid->Kind = TSelection::Columns;
             m_grid->Columns = {&Column(0)};
         },
         false, VK_ESCAPE, People},
        {"everything, cancelled", [&] { SelectRows({1}); }, true, VK_ESCAPE, People},
        {"everything", [&] { SelectRows({1}); }, true, VK_RETURN, {}},
    };
    for (const Case& c : cases) {
        m_query->Close();
        Exec("DELETE FROM P");
        Exec("INSERT INTO P VALUES (1, 'Ann', 10, 1.5), (2, 'Bo \"Boss\"', 20, 2.25), "
             "(3, 'Cy;' || char(9) || 'Dee', 30, NULL)");
        m_query->Open();
        c.select();
        PressInNextBox(c.key);
        DeleteGridSelection(*m_grid, c.all);
        Pump();
        EXPECT_EQ(Stored(), c.stored) << c.name;
        EXPECT_EQ(m_query->State(), dsBrowse) << c.name;
    }
}

TEST_F(ClipboardTest, DeleteQuestions)
{
    std::vector<std::string> asked;
    SetMessageDlgHandler([&](const std::string& text, const std::string&, TMsgDlgType type, TMsgDlgButtons buttons) {
        EXPECT_EQ(type, mtConfirmation);
        EXPECT_EQ(buttons, mbOKCancel);
        asked.push_back(text);
        return mrCancel;
    });
    SelectRows({1});
    DeleteGridSelection(*m_grid, false);
    SelectRows({1, 2});
    DeleteGridSelection(*m_grid, false);
    m_grid->Kind = TSelection::Rectangle;
    DeleteGridSelection(*m_grid, false);
    m_grid->Kind = TSelection::Columns;
    DeleteGridSelection(*m_grid, false);
    DeleteGridSelection(*m_grid, true);
    m_grid->Kind = TSelection::None;
    DeleteGridSelection(*m_grid, false);
    EXPECT_EQ(asked, (std::vector<std::string>{"Delete record?", "Delete all selected records?",
                                               "Clear selected cells?", "Clear selected columns?",
                                               "Delete all records?"}));
    m_db->SetOptions(m_db->Options() - TDBGridOptions{dgConfirmDelete});
    SelectRows({1});
    DeleteGridSelection(*m_grid, false);
    EXPECT_EQ(asked.size(), 5u);
    EXPECT_EQ(Stored(), (std::vector<std::string>{People[1], People[2]}));
}

TEST_F(ClipboardTest, CutCopiesThenDeletes)
{
    SelectRows({2});
    PressInNextBox(VK_RETURN);
    CutGridSelection(*m_grid, false);
    Pump();
    EXPECT_EQ(Clipboard()->AsText(), "Name\tNumber\tAMOUNT\r\nBo \"Boss\"\t20\t2.25");
    EXPECT_EQ(Stored(), (std::vector<std::string>{People[0], People[2]}));
    EXPECT_EQ(m_grid->Kind, TSelection::None);
}

} // namespace
