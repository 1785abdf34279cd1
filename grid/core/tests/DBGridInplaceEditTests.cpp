#include "grid/core/DBGridInplaceEdit.h"

#include "grid/core/DBGridGx.h"
#include "grid/core/tests/DBGridFixture.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/Clipbrd.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/winapi/controls/Edit.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Orders with a name, a city chosen from a pick list, a kind stored as a key and shown by name,
// and a quantity the table keeps from going below 0, in a grid that edits.
class CellEditorFixture : public DBGridFixture {
protected:
    enum : int { NameCol = 1, CityCol, KindCol, QtyCol };

    void SetUp() override
    {
        DBGridFixture::SetUp();
        Exec("CREATE TABLE O (ID INTEGER PRIMARY KEY, NAME TEXT(20), CITY TEXT(20), KIND INTEGER, "
             "QTY INTEGER CHECK (QTY >= 0))");
        Exec("INSERT INTO O VALUES (1, 'Ann', 'Lyon', 2, 5), (2, 'Bob', 'Paris', 1, 7), (3, 'Cy', NULL, 3, 0)");
        ShowQuery("SELECT ID, NAME, CITY, KIND, QTY FROM O ORDER BY ID", [this](TDBGridGx& grid) {
            m_name = AddColumn(grid, "NAME");
            m_city = AddColumn(grid, "CITY");
            m_city->PickList()->SetText("London\nLyon\nParis");
            m_kind = AddColumn(grid, "KIND");
            m_kind->KeyList()->SetText("1\n2\n3");
            m_kind->PickList()->SetText("One\nTwo\nThree");
            m_qty = AddColumn(grid, "QTY");
        });
        m_db->SetOptions(DefaultDBGridOptions);
        Pump();
    }

    static TColumnGx* AddColumn(TDBGridGx& grid, const std::string& field)
    {
        TColumnGx* column = grid.Columns().Add();
        column->SetFieldName(field);
        column->SetWidth(80);
        return column;
    }

    void GoTo(int col)
    {
        m_db->SetCol(col);
        Pump();
    }

    [[nodiscard]] TDBGridInplaceEdit* Editor() const
    {
        return dynamic_cast<TDBGridInplaceEdit*>(m_db->InplaceEditor());
    }

    [[nodiscard]] std::string Shown() const { return m_db->EditorShowing() ? Editor()->Text() : "<hidden>"; }

    [[nodiscard]] std::string Selected() const
    {
        TDBGridInplaceEdit* editor = Editor();
        return editor->Text().substr(static_cast<std::size_t>(editor->SelStart()),
                                     static_cast<std::size_t>(editor->SelLength()));
    }

    [[nodiscard]] std::string Stored(const std::string& field, int id) const
    {
        auto query = Query("SELECT " + field + " FROM O WHERE ID = " + std::to_string(id));
        query->Open();
        TField* value = query->FieldByName(field);
        return value->IsNull() ? "<null>" : value->AsString();
    }

    // A click on the editor's button: its upper or lower half.
    void ClickButton(bool upperHalf)
    {
        const TRect button = Editor()->ButtonRect();
        const int y = upperHalf ? button.top + 2 : button.bottom - 3;
        MouseInput(*m_display).Click(Editor()->Handle(), {(button.left + button.right) / 2, y});
        Pump();
    }

    TColumnGx* m_name = nullptr;
    TColumnGx* m_city = nullptr;
    TColumnGx* m_kind = nullptr;
    TColumnGx* m_qty = nullptr;
};

TEST_F(CellEditorFixture, F2AndTypingOpenTheEditorEscRevertsAndEnterWrites)
{
    GoTo(NameCol);
    EXPECT_FALSE(m_db->EditorShowing());
    Key(VK_F2);
    EXPECT_EQ(Shown(), "Ann");
    Type("e");
    EXPECT_EQ(Shown(), "Anne") << "F2 leaves the caret at the end";
    Key(VK_ESCAPE);
    EXPECT_EQ(Shown(), "<hidden>");
    EXPECT_EQ(m_query->FieldByName("NAME")->AsString(), "Ann") << "Esc takes the typed text back";

    Type("Zoe");
    EXPECT_EQ(Shown(), "Zoe") << "typing replaces the cell's text";
    Key(VK_RETURN, 0, "\r");
    EXPECT_EQ(Shown(), "<hidden>");
    EXPECT_EQ(m_query->FieldByName("NAME")->AsString(), "Zoe") << "Enter writes the field";
    EXPECT_EQ(Stored("NAME", 1), "Ann") << "the record is written when the row is left";
    Key(VK_DOWN);
    EXPECT_EQ(Stored("NAME", 1), "Zoe");
    EXPECT_EQ(RecNo(), 2);
}

TEST_F(CellEditorFixture, LeavingACellForAnotherColumnWritesItsOwnField)
{
    GoTo(NameCol);
    Type("Zed");
    Key(VK_TAB);
    EXPECT_EQ(m_db->Col(), CityCol);
    EXPECT_EQ(m_query->FieldByName("NAME")->AsString(), "Zed");
    EXPECT_EQ(m_query->FieldByName("CITY")->AsString(), "Lyon") << "the next column keeps its value";
    Key(VK_F2);
    EXPECT_EQ(Shown(), "Lyon");
    Key(VK_DOWN);
    EXPECT_EQ(Stored("NAME", 1), "Zed");
    EXPECT_EQ(Stored("CITY", 1), "Lyon");
}

TEST_F(CellEditorFixture, LeavingTheGridWritesTheTypedTextIntoTheField)
{
    auto* other = new TEdit(m_form.get());
    other->SetParent(m_form.get());
    other->SetBounds(0, 310, 100, 20);
    GoTo(NameCol);
    Type("Zed");
    m_form->SetActiveControl(other);
    Pump();
    EXPECT_EQ(m_query->FieldByName("NAME")->AsString(), "Zed");
}

// NAME is TEXT(20): twenty characters whatever their bytes, typed or pasted.
TEST_F(CellEditorFixture, TheEditorLimitCountsCharactersNotBytes)
{
    struct Case {
        const char* Name;
        std::string Character;
    } const cases[] = {{"ascii", "a"}, {"accented", "\xC3\xA9"}, {"cjk", "\xE6\xBC\xA2"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        GoTo(NameCol);
        Key(VK_F2);
        Editor()->SelectAll();
        std::string typed;
        for (int i = 0; i < 25; ++i)
            typed += c.Character;
        Type(typed);
        std::string twenty;
        for (int i = 0; i < 20; ++i)
            twenty += c.Character;
        EXPECT_EQ(Editor()->Text(), twenty);

        Editor()->SelectAll();
        Clipboard()->SetAsText(typed);
        (void)SendMessageA(Editor()->Handle(), WM_PASTE, 0, 0);
        EXPECT_EQ(Editor()->Text(), twenty) << "a paste is cut at the limit";
        Key(VK_ESCAPE);
    }
}

TEST_F(CellEditorFixture, TypingInAPickListCompletesTheFirstItemWithTheRestSelected)
{
    GoTo(CityCol);
    Key(VK_F2);
    EXPECT_EQ(Editor()->EditStyle(), esPickListGx);
    EXPECT_GT(Editor()->ButtonWidth(), 0);
    Editor()->SelectAll();
    Type("l");
    EXPECT_EQ(Shown(), "London");
    EXPECT_EQ(Selected(), "ondon");
    Type("o");
    EXPECT_EQ(Shown(), "London");
    EXPECT_EQ(Selected(), "ndon");
    Type("x");
    EXPECT_EQ(Shown(), "Lox") << "a pick list takes texts outside it too";
    Key(VK_BACK, 0, "\b");
    EXPECT_EQ(Shown(), "London") << "Backspace takes back a character and completes what is left";
    EXPECT_EQ(Selected(), "ndon");
    Editor()->SelectAll();
    Type("ly");
    EXPECT_EQ(Shown(), "Lyon");
    EXPECT_EQ(Selected(), "on");
    Key(VK_RETURN, 0, "\r");
    Key(VK_DOWN);
    EXPECT_EQ(Stored("CITY", 1), "Lyon");

    m_city->SetAutoDropDown(true);
    Key(VK_UP);
    Type("p");
    EXPECT_TRUE(Editor()->ListVisible()) << "AutoDropDown opens the list on typing";
    EXPECT_EQ(Shown(), "Paris");
    EXPECT_EQ(Editor()->PickListControl()->ItemIndex(), 2) << "the list follows the completion";
    Key(VK_RETURN);
    EXPECT_FALSE(Editor()->ListVisible());
    EXPECT_EQ(m_query->FieldByName("CITY")->AsString(), "Lyon") << "Enter closing the list writes nothing yet";
    Key(VK_RETURN, 0, "\r");
    EXPECT_EQ(m_query->FieldByName("CITY")->AsString(), "Paris");

    // Prefixes and Backspace work on whole characters.
    m_city->SetAutoDropDown(false);
    m_city->PickList()->Add("Z\xC3\xBCrich");
    Type("z\xC3\xBC");
    EXPECT_EQ(Shown(), "Z\xC3\xBCrich");
    EXPECT_EQ(Selected(), "rich");
    Key(VK_BACK, 0, "\b");
    EXPECT_EQ(Shown(), "Z\xC3\xBCrich");
    EXPECT_EQ(Selected(), "\xC3\xBCrich");
}

TEST_F(CellEditorFixture, ADoubleClickStepsToTheNextValueWhenTheColumnAsks)
{
    m_city->SetDblClickNextVal(true);
    GoTo(CityCol);
    Key(VK_F2);
    (void)SendMessageA(Editor()->Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    Pump();
    EXPECT_EQ(m_query->FieldByName("CITY")->AsString(), "Paris");
    EXPECT_EQ(Shown(), "Paris");
}

TEST_F(CellEditorFixture, AltDownOpensThePickListAltUpAcceptsAndEscDiscards)
{
    GoTo(CityCol);
    Key(VK_F2);
    Key(VK_DOWN, ModAlt);
    ASSERT_TRUE(Editor()->ListVisible());
    TGridPickListGx* list = Editor()->PickListControl();
    EXPECT_TRUE(IsWindowVisible(list->Handle()));
    EXPECT_EQ(list->Height(), list->HeightForRows(3)) << "three items with DropDownRows 7 are three rows high";
    EXPECT_GE(list->Width(), Editor()->Width());
    EXPECT_EQ(list->ItemIndex(), 1) << "the cell's item is selected";
    EXPECT_TRUE(Editor()->Focused()) << "the editor keeps the focus";

    Key(VK_DOWN);
    EXPECT_EQ(Shown(), "Paris") << "the list takes the arrows and the editor shows its item";
    Key(VK_ESCAPE);
    EXPECT_FALSE(Editor()->ListVisible());
    EXPECT_FALSE(IsWindowVisible(list->Handle()));
    EXPECT_EQ(Shown(), "Lyon") << "Esc discards the list's choice";

    Key(VK_DOWN, ModAlt);
    Key(VK_UP);
    Key(VK_UP, ModAlt);
    EXPECT_FALSE(Editor()->ListVisible());
    EXPECT_EQ(Shown(), "London");
    Key(VK_RETURN, 0, "\r");
    EXPECT_EQ(m_query->FieldByName("CITY")->AsString(), "London");
}

TEST_F(CellEditorFixture, TheButtonOpensTheListAndAClickOnAnItemTakesIt)
{
    GoTo(CityCol);
    Key(VK_F2);
    ClickButton(true);
    ASSERT_TRUE(Editor()->ListVisible()) << "the release after the opening press leaves the list open";
    TGridPickListGx* list = Editor()->PickListControl();
    const int row = list->ItemHeight() * 2 + list->ItemHeight() / 2;
    MouseInput(*m_display).Click(list->Handle(), {10, row});
    Pump();
    EXPECT_FALSE(Editor()->ListVisible());
    EXPECT_EQ(Shown(), "Paris");

    ClickButton(true);
    ASSERT_TRUE(Editor()->ListVisible());
    ClickButton(true);
    EXPECT_FALSE(Editor()->ListVisible()) << "a second click on the button closes the list";
    EXPECT_EQ(Shown(), "Paris");
}

TEST_F(CellEditorFixture, AKeyListColumnShowsItsNamesAndWritesItsKeys)
{
    GoTo(KindCol);
    Key(VK_F2);
    EXPECT_EQ(Shown(), "Two") << "key 2 shows as its name";
    Editor()->SelectAll();
    Type("t");
    EXPECT_EQ(Shown(), "Two");
    Type("h");
    EXPECT_EQ(Shown(), "Three");
    EXPECT_EQ(Selected(), "ree");
    Type("x");
    EXPECT_EQ(Shown(), "Three") << "a key list takes no text outside it";
    Key(VK_RETURN, 0, "\r");
    EXPECT_EQ(m_query->FieldByName("KIND")->AsInteger(), 3);

    Key(VK_F2);
    Editor()->SelectAll();
    Key(VK_DELETE);
    EXPECT_EQ(Shown(), "") << "Delete with the whole text selected clears the key";
    Key(VK_RETURN, 0, "\r");
    EXPECT_TRUE(m_query->FieldByName("KIND")->IsNull());

    Key(VK_F2);
    Clipboard()->SetAsText("on");
    (void)SendMessageA(Editor()->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(Shown(), "One") << "a paste completes from the list";
    Key(VK_DOWN);
    EXPECT_EQ(Stored("KIND", 1), "1");
}

TEST_F(CellEditorFixture, OnNotInListLetsAKeyListTakeOtherTextsAsNull)
{
    std::string asked;
    m_kind->SetOnNotInList(TColumnNotInListEventGx::FromFunction(
        [&](TObject*, const std::string& text, bool& accept) {
            asked = text;
            accept = false;
        }));
    GoTo(KindCol);
    Key(VK_F2);
    Editor()->SelectAll();
    Type("Zz");
    EXPECT_EQ(Shown(), "Zz");
    Key(VK_RETURN, 0, "\r");
    EXPECT_EQ(asked, "Zz");
    EXPECT_TRUE(m_query->FieldByName("KIND")->IsNull());
}

// The upper half goes to the item above (the previous one), the lower half to the next; numbers
// go up by the increment on the upper half and down on the lower, whatever the increment.
TEST_F(CellEditorFixture, UpDownButtonsStepListsAndNumbersBothWays)
{
    m_city->SetButtonStyle(cbsUpDown);
    m_city->SetIncrement(2); // only the step's sign counts for a list
    m_qty->SetButtonStyle(cbsUpDown);
    m_qty->SetIncrement(2);
    GoTo(CityCol);
    Key(VK_F2);
    EXPECT_EQ(Editor()->EditStyle(), esUpDownGx);
    struct Step {
        bool Upper;
        const char* City;
    };
    for (const Step step : {Step{true, "London"}, Step{false, "Lyon"}, Step{false, "Paris"}}) {
        ClickButton(step.Upper);
        EXPECT_EQ(m_query->FieldByName("CITY")->AsString(), step.City);
        EXPECT_EQ(Shown(), step.City);
    }

    GoTo(QtyCol);
    Key(VK_F2);
    ClickButton(true);
    EXPECT_EQ(m_query->FieldByName("QTY")->AsInteger(), 7);
    ClickButton(false);
    ClickButton(false);
    EXPECT_EQ(m_query->FieldByName("QTY")->AsInteger(), 3);
    EXPECT_EQ(Shown(), "3");
}

TEST_F(CellEditorFixture, AnEllipsisButtonClickReachesTheGrid)
{
    m_city->SetButtonStyle(cbsEllipsis);
    int clicks = 0;
    m_db->SetOnEditButtonClick(TNotifyEvent::FromFunction([&](TObject*) { ++clicks; }));
    GoTo(CityCol);
    Key(VK_F2);
    EXPECT_EQ(Editor()->EditStyle(), esEllipsisGx);
    std::vector<std::string> columnEvents;
    m_city->SetOnEditButtonDown(TButtonDownEventGx::FromFunction(
        [&](TObject*, bool top, bool&, bool&) { columnEvents.push_back(top ? "down top" : "down bottom"); }));
    m_city->SetOnEditButtonClick(
        TButtonClickEventGx::FromFunction([&](TObject*, bool&) { columnEvents.push_back("click"); }));
    ClickButton(true);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(columnEvents, (std::vector<std::string>{"down top", "click"})) << "the column hears its button";
    EXPECT_FALSE(Editor()->ListVisible());
    Key(VK_RETURN, ModControl, "\n");
    EXPECT_EQ(clicks, 2) << "Ctrl+Enter clicks the button";
    EXPECT_EQ(Shown(), "Lyon") << "and types nothing";
}

TEST_F(CellEditorFixture, TheColumnsExtraButtonsSitLeftOfTheBuiltInOneAndFireTheirOwnEvents)
{
    std::vector<std::string> events;
    const auto addButton = [&](const std::string& name, TEditButtonStyleGx style) {
        auto* button = static_cast<TEditButtonGx*>(m_city->EditButtons()->Add());
        button->SetStyle(style);
        button->SetOnDown(TButtonDownEventGx::FromFunction([&events, name](TObject*, bool, bool&, bool&) {
            events.push_back(name + " down");
        }));
        button->SetOnClick(TButtonClickEventGx::FromFunction([&events, name](TObject* sender, bool& handled) {
            events.push_back(name + " click");
            handled = sender != nullptr;
        }));
        return button;
    };
    addButton("plus", ebsPlusGx);
    TEditButtonGx* hidden = addButton("hidden", ebsMinusGx);
    hidden->SetVisible(false);
    addButton("dots", ebsEllipsisGx);
    GoTo(CityCol);
    Key(VK_F2);
    ASSERT_EQ(Editor()->ExtraButtons().size(), 2U) << "a hidden button takes no room";
    const TRect builtIn = Editor()->ButtonRect();
    const TRect plus = Editor()->ExtraButtonRect(0);
    const TRect dots = Editor()->ExtraButtonRect(1);
    EXPECT_EQ(plus.right, builtIn.left);
    EXPECT_EQ(dots.right, plus.left);
    EXPECT_EQ(Editor()->ButtonsWidth(), builtIn.right - dots.left);

    const auto click = [this](const TRect& rect) {
        MouseInput(*m_display).Click(Editor()->Handle(), {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
        Pump();
    };
    click(dots);
    click(plus);
    EXPECT_EQ(events, (std::vector<std::string>{"dots down", "dots click", "plus down", "plus click"}));
    EXPECT_FALSE(Editor()->ListVisible()) << "an extra button is not the list's button";
    EXPECT_EQ(Shown(), "Lyon");

    // Buttons are painted: the plus sign's middle is button-text dark on the face.
    RECT client{};
    (void)GetClientRect(Editor()->Handle(), &client);
    POINT middle{(plus.left + plus.right) / 2, (plus.top + plus.bottom) / 2};
    (void)MapWindowPoints(Editor()->Handle(), m_db->Handle(), &middle, 1);
    EXPECT_EQ(GridFixture::Shown(middle), SysRgb(COLOR_BTNTEXT));
    Key(VK_ESCAPE);
    m_city->EditButtons()->Clear();
}

TEST_F(CellEditorFixture, WrittenTextsAreOfferedAgainWhileTypingAndAChosenOneIsWritten)
{
    TMRUListGx& remembered = *m_name->MRUList();
    remembered.SetActive(true);
    GoTo(NameCol);
    Type("Zoe");
    Key(VK_ESCAPE);
    Key(VK_ESCAPE);
    EXPECT_EQ(remembered.Items()->Count(), 0) << "a cancelled text is not remembered";
    Type("Zoe");
    Key(VK_RETURN, 0, "\r");
    Key(VK_DOWN);
    Type("Max");
    Key(VK_RETURN, 0, "\r");
    Key(VK_DOWN);
    ASSERT_EQ(remembered.Items()->Count(), 2) << "each written text is remembered";

    Type("z");
    ASSERT_TRUE(Editor()->MRUListOpen()) << "typing offers the texts that begin with it";
    TGridPickListGx& offered = *Editor()->MRUListControl();
    ASSERT_EQ(offered.Items()->Count(), 1);
    EXPECT_EQ(offered.Items()->Strings(0), "Zoe");
    EXPECT_EQ(GetFocus(), Editor()->Handle()) << "the editor keeps the focus";
    Key(VK_BACK, 0, "\b");
    EXPECT_FALSE(Editor()->MRUListOpen()) << "an emptied text closes the list";

    Type("Z");
    ASSERT_TRUE(Editor()->MRUListOpen());
    Key(VK_DOWN);
    Key(VK_RETURN, 0, "\r");
    EXPECT_FALSE(Editor()->MRUListOpen());
    EXPECT_EQ(Shown(), "Zoe") << "Enter takes the chosen text and leaves the editor open";
    Key(VK_RETURN, 0, "\r");
    EXPECT_EQ(m_query->FieldByName("NAME")->AsString(), "Zoe") << "and the next Enter writes it";

    // A click on an item takes it too.
    Key(VK_DOWN);
    Type("m");
    ASSERT_TRUE(Editor()->MRUListOpen());
    MouseInput(*m_display).Click(offered.Handle(), {10, offered.ItemHeight() / 2});
    Pump();
    EXPECT_EQ(Shown(), "Max");
    Key(VK_RETURN, 0, "\r");
    EXPECT_EQ(m_query->FieldByName("NAME")->AsString(), "Max");
    remembered.SetActive(false);
}

TEST_F(CellEditorFixture, AColumnThatAlwaysShowsItsButtonsDrawsThemInEveryRow)
{
    m_city->SetButtonStyle(cbsEllipsis);
    auto* plus = static_cast<TEditButtonGx*>(m_city->EditButtons()->Add());
    plus->SetStyle(ebsPlusGx);
    // The middle of a button's mark in the second row (the current row is the first).
    const auto markShown = [this](int buttonFromRight) {
        const TRect cell = m_db->CellRect(CityCol, 2);
        const int width = CellButtonWidth(nullptr);
        const int right = cell.right - 1 - buttonFromRight * width;
        return GridFixture::Shown({right - width / 2, (cell.top + cell.bottom - 1) / 2}) == SysRgb(COLOR_BTNTEXT);
    };
    for (const bool always : {false, true}) {
        m_city->SetAlwaysShowEditButton(always);
        m_db->Invalidate();
        Pump();
        EXPECT_EQ(markShown(0), always) << "the ellipsis";
        EXPECT_EQ(markShown(1), always) << "the plus left of it";
    }
    m_city->EditButtons()->Clear();
    m_city->SetAlwaysShowEditButton(false);
}

TEST_F(CellEditorFixture, ARequiredFieldLeftEmptyIsUnderlinedInRed)
{
    m_query->FieldByName("CITY")->SetRequired(true);
    m_city->SetHighlightRequired(true);
    m_city->SetButtonStyle(cbsNone);
    Key(VK_END, ModControl);
    GoTo(CityCol);
    const auto redUnderline = [this] {
        RECT client{};
        (void)GetClientRect(Editor()->Handle(), &client);
        POINT bottom{client.right / 2 & ~1, client.bottom - 1};
        (void)MapWindowPoints(Editor()->Handle(), m_db->Handle(), &bottom, 1);
        return GridFixture::Shown(bottom) == RgbOf(RGB(255, 0, 0)) ||
               GridFixture::Shown({bottom.x + 1, bottom.y}) == RgbOf(RGB(255, 0, 0));
    };
    Key(VK_F2);
    EXPECT_FALSE(redUnderline()) << "browsing: nothing to mark";
    Type("x");
    Editor()->Invalidate();
    Pump();
    EXPECT_TRUE(redUnderline()) << "editing with the field still empty";
    Key(VK_RETURN, 0, "\r");
    Key(VK_F2);
    Pump();
    EXPECT_FALSE(redUnderline()) << "the field has its value";
}

TEST_F(CellEditorFixture, AFailedPostLeavesTheRowAndTheEditorAsTheyWere)
{
    GoTo(QtyCol);
    Type("-4");
    EXPECT_EQ(Shown(), "-4");
    Key(VK_DOWN);
    ASSERT_EQ(m_errors.size(), 1u) << "the database's refusal is shown";
    m_errors.clear();
    EXPECT_EQ(RecNo(), 1);
    EXPECT_EQ(m_db->Row(), m_db->TitleOffset());
    EXPECT_EQ(Shown(), "-4");
    EXPECT_EQ(m_query->State(), dsEdit);
    EXPECT_EQ(Stored("QTY", 1), "5");

    Editor()->SelectAll();
    Type("9");
    Key(VK_DOWN);
    EXPECT_TRUE(m_errors.empty());
    EXPECT_EQ(RecNo(), 2);
    EXPECT_EQ(Stored("QTY", 1), "9");
}

TEST_F(CellEditorFixture, WrappedTextTakesUpAndDownUntilItsFirstAndLastLines)
{
    Exec("UPDATE O SET NAME = 'one two three four five six' WHERE ID = 2");
    m_query->Close();
    m_query->Open();
    m_db->Columns().ColumnAt(0)->SetWordWrap(true);
    m_db->SetRowLines(3);
    m_db->SetOptions(m_db->Options() + TDBGridOptions{dgAlwaysShowEditor});
    GoTo(NameCol);
    Key(VK_DOWN);
    ASSERT_EQ(RecNo(), 2);
    Key(VK_F2);
    ASSERT_TRUE(Editor()->WordWrap());
    const auto line = [this] { return SendMessageA(Editor()->Handle(), EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0); };
    const LRESULT lines = SendMessageA(Editor()->Handle(), EM_GETLINECOUNT, 0, 0);
    ASSERT_GT(lines, 1) << "the text wraps in the cell's width";
    EXPECT_EQ(line(), lines - 1) << "F2 puts the caret at the end";
    Key(VK_DOWN);
    EXPECT_EQ(RecNo(), 3) << "Down on the last line goes to the next record";
    Key(VK_UP);
    EXPECT_EQ(RecNo(), 2);
    Editor()->SetSelStart(GetWindowTextLengthA(Editor()->Handle()));
    for (LRESULT expected = lines - 2; expected >= 0; --expected) {
        Key(VK_UP);
        EXPECT_EQ(RecNo(), 2);
        EXPECT_EQ(line(), expected);
    }
    Key(VK_UP);
    EXPECT_EQ(RecNo(), 1) << "Up on the first line goes to the record above";
}

TEST_F(CellEditorFixture, AColumnShowingImagesAndTextShowsTheImageOfTheTextLeftOfIt)
{
    TCustomImageList images(nullptr, 8, 8);
    for (const TColor colour : {clRed, clLime, clBlue}) {
        TBitmap square;
        square.SetSize(8, 8);
        square.Canvas()->Brush()->SetColor(colour);
        square.Canvas()->FillRect(TRect{0, 0, 8, 8});
        images.Add(&square, nullptr);
    }
    m_kind->SetImageList(&images);
    m_kind->SetShowImageAndText(true);
    GoTo(KindCol);
    Key(VK_F2);
    const auto imageColour = [this] {
        RECT client{};
        (void)GetClientRect(Editor()->Handle(), &client);
        POINT centre{2 + 4, client.bottom / 2};
        (void)MapWindowPoints(Editor()->Handle(), m_db->Handle(), &centre, 1);
        return GridFixture::Shown(centre);
    };
    EXPECT_EQ(Editor()->ImageIndex(), 1);
    EXPECT_EQ(imageColour(), RgbOf(ColorToRGB(clLime))) << "Two is the second image";
    Editor()->SelectAll();
    Type("o");
    EXPECT_EQ(Shown(), "One");
    Pump();
    EXPECT_EQ(Editor()->ImageIndex(), 0);
    EXPECT_EQ(imageColour(), RgbOf(ColorToRGB(clRed))) << "the image follows the text";
    Key(VK_ESCAPE);
    m_kind->SetImageList(nullptr);
}

TEST_F(CellEditorFixture, TheEditorPlacesItsTextAsTheColumnAlignsIt)
{
    // The first and last columns of the editor's middle line that are not its background.
    const auto inkSpan = [this] {
        RECT client{};
        (void)GetClientRect(Editor()->Handle(), &client);
        const std::uint32_t paper = RgbOf(ColorToRGB(Editor()->Color()));
        int first = -1;
        int last = -1;
        for (int x = 0; x < client.right - Editor()->ButtonWidth(); ++x) {
            POINT at{x, client.bottom / 2};
            (void)MapWindowPoints(Editor()->Handle(), m_db->Handle(), &at, 1);
            if (GridFixture::Shown(at) != paper) {
                first = first < 0 ? x : first;
                last = x;
            }
        }
        return std::pair{first, last};
    };
    GoTo(NameCol);
    for (const TAlignment alignment : {taLeftJustify, taRightJustify, taCenter, taLeftJustify}) {
        m_name->SetAlignment(alignment);
        Key(VK_F2);
        Pump();
        const auto [first, last] = inkSpan();
        RECT client{};
        (void)GetClientRect(Editor()->Handle(), &client);
        const int room = client.right - Editor()->ButtonWidth();
        SCOPED_TRACE(static_cast<int>(alignment));
        ASSERT_GE(first, 0) << "the text is drawn";
        if (alignment == taLeftJustify) {
            EXPECT_LT(first, 6);
        }
        if (alignment == taRightJustify) {
            EXPECT_GT(first, room / 2);
            EXPECT_GT(last, room - 6) << first << ".." << last << " of " << room;
        }
        if (alignment == taCenter) {
            EXPECT_LE(std::abs((first + last) - room), 6) << first << ".." << last << " of " << room;
        }
        Key(VK_ESCAPE);
    }
}

TEST_F(CellEditorFixture, ARowSelectOrReadOnlyGridShowsNoEditor)
{
    m_db->SetReadOnly(true);
    GoTo(NameCol);
    Type("x");
    EXPECT_EQ(m_query->FieldByName("NAME")->AsString(), "Ann");
    EXPECT_NE(m_query->State(), dsEdit);
    m_db->SetReadOnly(false);
    m_db->SetOptions(ManagerOptions);
    Key(VK_F2);
    EXPECT_EQ(Shown(), "<hidden>");
}

// The editor over a large table: the record edited at the far end is written when the grid moves
// on, and the rows on screen stay a page.
TEST_F(DBGridFixture, AHundredThousandRowTableEditsAndPostsAtBothEnds)
{
    ShowPeople(100000);
    m_db->SetOptions(DefaultDBGridOptions);
    m_db->SetCol(1);
    Key(VK_END, ModControl);
    ASSERT_EQ(RecNo(), 100000);
    Key(VK_F2);
    ASSERT_TRUE(m_db->EditorShowing());
    EXPECT_EQ(m_db->EditorText(), "Name 100000");
    m_db->InplaceEditor()->SelectAll();
    Type("Last");
    Key(VK_UP);
    EXPECT_EQ(RecNo(), 99999);
    EXPECT_FALSE(m_db->EditorShowing()) << "moving to another record ends the edit";
    const auto stored = [this](int id) {
        auto query = Query("SELECT NAME FROM P WHERE ID = " + std::to_string(id));
        query->Open();
        return query->FieldByName("NAME")->AsString();
    };
    EXPECT_EQ(stored(100000), "Last");

    Key(VK_HOME, ModControl);
    ASSERT_EQ(RecNo(), 1);
    Type("First");
    EXPECT_EQ(m_db->EditorText(), "First");
    Key(VK_NEXT);
    EXPECT_EQ(stored(1), "First");
    EXPECT_EQ(m_db->RowCount(), m_db->TitleOffset() + VisibleRows());
    EXPECT_EQ(m_db->DataLink().BufferCount(), VisibleRows());
}

} // namespace
