#include "DataFixture.h"

#include "grid/tools/DBCtrlsGxCheckBox.h"
#include "grid/tools/DBCtrlsGxComboBox.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/winapi/controls/Edit.h"
#include "platform/winapi/user/Button.h"

#include <string>
#include <utility>
#include <vector>

namespace {

class DBCombo : public DataFixture {
protected:
    void SetUp() override
    {
        DataFixture::SetUp();
        Exec("INSERT INTO T (NAME, CODE, FLAG, ANSWER) VALUES ('Anna', 'B', 1, 'Y'), ('Bert', NULL, NULL, 'maybe')");
        m_combo = new TDBComboBoxGx(m_form.get());
        m_combo->SetParent(m_form.get());
        m_combo->SetBounds(10, 10, 150, 21);
        for (const char* item : {"Alpha", "Beta", "Gamma"})
            m_combo->Items()->Add(item);
        m_other = new TEdit(m_form.get());
        m_other->SetParent(m_form.get());
        m_other->SetBounds(10, 200, 100, 21);
        Pump();
    }
    void KeyBound()
    {
        for (const char* key : {"A", "B"})
            m_combo->KeyItems()->Add(key);
        Open();
        m_combo->SetDataSource(m_source.get());
        m_combo->SetDataField("CODE");
    }
    void Focus(TWinControl* control)
    {
        m_form->SetActiveControl(control);
        Pump();
    }

    TDBComboBoxGx* m_combo = nullptr;
    TEdit* m_other = nullptr;
};

class DBCheck : public DataFixture {
protected:
    void SetUp() override
    {
        DataFixture::SetUp();
        Exec("INSERT INTO T (NAME, FLAG, ANSWER) VALUES ('Anna', 1, 'yes'), ('Bert', NULL, 'N'), "
             "('Carl', 0, ''), ('Dora', 0, 'maybe')");
        m_check = new TDBCheckBoxGx(m_form.get());
        m_check->SetParent(m_form.get());
        m_check->SetBounds(10, 10, 120, 17);
        m_check->SetCaption("Unread");
        Pump();
    }

    TDBCheckBoxGx* m_check = nullptr;
};

} // namespace

TEST_F(DBCombo, KeyItemsMapShownTextsToStoredKeys)
{
    m_combo->KeyItems()->Add("A");
    m_combo->KeyItems()->Add("B");
    EXPECT_EQ(m_combo->ItemCount(), 2); // three items, two keys
    KeyBound();
    EXPECT_EQ(m_combo->Text(), "Beta");
    EXPECT_EQ(m_combo->ItemIndex(), 1);
    m_query->Next();
    EXPECT_EQ(m_combo->Text(), "");
    EXPECT_EQ(m_combo->ItemIndex(), -1);

    // Typing searches the shown texts by prefix, case-insensitively; no match changes nothing.
    Focus(m_combo);
    Type("a");
    EXPECT_EQ(m_combo->Text(), "Alpha");
    EXPECT_EQ(m_combo->ComboValue().ToString(), "A");
    Key(VK_HOME);
    Type("z");
    EXPECT_EQ(m_combo->ItemIndex(), 0);
    Focus(m_other);
    EXPECT_EQ(FieldOf("CODE").AsString(), "A");
    m_query->Post();

    // Delete clears a field that is not required.
    Focus(m_combo);
    Key(VK_DELETE);
    EXPECT_TRUE(FieldOf("CODE").IsNull());
    EXPECT_EQ(m_combo->Text(), "");
}

TEST_F(DBCombo, UpAndDownAndTheWheelStepThroughTheItems)
{
    KeyBound();
    m_query->Next(); // no item
    Focus(m_combo);
    Key(VK_UP);
    EXPECT_EQ(m_combo->ItemIndex(), 1); // from none: the last
    Key(VK_UP);
    Key(VK_UP);
    EXPECT_EQ(m_combo->ItemIndex(), 0); // the first stays
    Key(VK_DOWN);
    Key(VK_DOWN);
    EXPECT_EQ(m_combo->ItemIndex(), 1); // the last stays
    EXPECT_EQ(FieldOf("CODE").AsString(), "B");
    Wheel(*m_combo, POINT{20, 10}, 120);
    EXPECT_EQ(m_combo->ItemIndex(), 0);
    EXPECT_EQ(FieldOf("CODE").AsString(), "A");
}

// With images the list shows one beside each item: the item's own, or the one the handler picks;
// the selected item's image is blended with the highlight and its text is highlighted.
TEST_F(DBCombo, TheDroppedDownListShowsAnImageBesideEachItem)
{
    auto* images = new TImageList(m_form.get(), 8, 8);
    for (const TColor color : {clRed, clLime, clBlue}) {
        TBitmap square;
        square.SetSize(8, 8);
        square.Canvas()->Brush()->SetColor(color);
        square.Canvas()->FillRect(TRect{0, 0, 8, 8});
        (void)images->Add(&square, nullptr);
    }
    m_combo->SetImages(images);
    m_combo->SetOnGetItemImageIndex(TGetItemImageIndexEventGx::FromFunction([](TObject*, int item, int& image) {
        image = item == 2 ? -1 : 2 - item; // Alpha blue, Beta green, Gamma none
    }));
    m_combo->SetItemIndex(1);
    Focus(m_combo);
    Key(VK_DOWN, ModAlt);
    ASSERT_TRUE(m_combo->DroppedDown());
    TPopupListboxGx& list = *m_combo->PopupList();
    const int row = list.ItemHeight();
    ASSERT_GE(row, 8);
    const auto imageAt = [&](int item) { return Shown(list, POINT{6, item * row + row / 2}); };
    EXPECT_EQ(imageAt(0), 0x0000FFu);
    EXPECT_EQ(imageAt(2), SysRgb(COLOR_WINDOW));
    const std::uint32_t blended = imageAt(1);
    EXPECT_NE(blended, 0x00FF00u);
    EXPECT_NE(blended, SysRgb(COLOR_HIGHLIGHT));
    // The text part: highlighted for the selected item only; the image column never is.
    EXPECT_EQ(Shown(list, POINT{list.ClientWidth() - 4, row + row / 2}), SysRgb(COLOR_HIGHLIGHT));
    EXPECT_EQ(Shown(list, POINT{list.ClientWidth() - 4, row / 2}), SysRgb(COLOR_WINDOW));
    EXPECT_EQ(Shown(list, POINT{1, row + row / 2}), SysRgb(COLOR_WINDOW));

    // The chosen item's image stands at the box's left edge, before its text.
    Key(VK_RETURN, 0, "\r");
    EXPECT_EQ(Shown(*m_combo, POINT{6, m_combo->ClientHeight() / 2}), 0x00FF00u);
    RECT text{};
    (void)SendMessageA(m_combo->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    EXPECT_GE(text.left, 8 + 4);
    m_combo->SetItemIndex(0);
    Pump();
    EXPECT_EQ(Shown(*m_combo, POINT{6, m_combo->ClientHeight() / 2}), 0x0000FFu);

    // A freed image list leaves plain items.
    delete images;
    EXPECT_EQ(m_combo->Images(), nullptr);
    EXPECT_EQ(list.Images(), nullptr);
    Key(VK_DOWN, ModAlt);
    EXPECT_NE(imageAt(0), 0x0000FFu);
    EXPECT_NE(Shown(*m_combo, POINT{6, m_combo->ClientHeight() / 2}), 0x0000FFu);
}

TEST_F(DBCombo, TheDropDownListOpensUnderTheBoxAndAcceptsThePickedItem)
{
    m_combo->DropDownBox().Rows = 2;
    std::vector<bool> closes;
    m_combo->SetOnCloseUp(TCloseUpEventGx::FromFunction([&](TObject*, bool accept) { closes.push_back(accept); }));
    Focus(m_combo);
    Key(VK_DOWN, ModAlt);
    ASSERT_TRUE(m_combo->DroppedDown());
    TPopupListboxGx& list = *m_combo->PopupList();
    EXPECT_TRUE(IsWindowVisible(list.Handle()));
    EXPECT_EQ(list.VisibleRows(), 2);
    EXPECT_EQ(list.Width(), m_combo->Width());
    EXPECT_EQ(list.Top(), m_form->ClientToScreen(TPoint{0, m_combo->Top() + m_combo->Height()}).y);
    EXPECT_EQ(list.Left(), m_form->ClientToScreen(TPoint{m_combo->Left(), 0}).x);
    EXPECT_EQ(GetFocus(), m_combo->Handle());
    // The default button stays down while the list is open.
    EXPECT_TRUE(m_combo->ButtonControl(0)->AlwaysDown());

    Key(VK_DOWN);
    Key(VK_DOWN);
    Key(VK_RETURN, 0, "\r");
    EXPECT_FALSE(IsWindowVisible(list.Handle()));
    EXPECT_EQ(m_combo->Text(), "Beta");
    EXPECT_EQ(m_combo->Value().ToString(), "Beta");

    // Esc closes without taking the item; a click on an item takes it.
    Key(VK_DOWN, ModAlt);
    Key(VK_UP);
    Key(VK_ESCAPE, 0, "\x1b");
    EXPECT_EQ(m_combo->Text(), "Beta");
    Key(VK_DOWN, ModAlt);
    Click(list, POINT{10, list.ItemHeight() / 2});
    EXPECT_EQ(m_combo->Text(), "Alpha");
    EXPECT_EQ(closes, (std::vector<bool>{true, false, true}));
    EXPECT_FALSE(m_combo->ButtonControl(0)->AlwaysDown());
}

TEST_F(DBCombo, TypingAtTheEndCompletesFromTheItems)
{
    std::vector<std::string> notInList;
    m_combo->SetOnNotInList(TNotInListEventGx::FromFunction([&](TObject*, const std::string& text) { notInList.push_back(text); }));
    Focus(m_combo);
    Type("g");
    EXPECT_EQ(m_combo->Text(), "Gamma");
    EXPECT_EQ(m_combo->SelStart(), 1);
    EXPECT_EQ(m_combo->SelLength(), 4);
    EXPECT_EQ(m_combo->ItemIndex(), 2);
    Key(VK_END);
    Type("s");
    EXPECT_EQ(m_combo->Text(), "Gammas");
    Focus(m_other);
    EXPECT_EQ(m_combo->ItemIndex(), -1);
    EXPECT_EQ(notInList, (std::vector<std::string>{"Gammas"}));
}

TEST_F(DBCheck, TheStateFollowsTheValueListsAndPostsTheirFirstValue)
{
    Open();
    m_check->SetValueChecked("Y;Yes");
    m_check->SetValueUnchecked("N;");
    m_check->SetDataSource(m_source.get());
    m_check->SetDataField("ANSWER");
    std::vector<TCheckBoxStateGx> seen;
    for (int row = 0; row < 4; ++row) {
        seen.push_back(m_check->State());
        m_query->Next();
    }
    EXPECT_EQ(seen, (std::vector<TCheckBoxStateGx>{cbCheckedGx, cbUncheckedGx, cbUncheckedGx, cbGrayedGx}));

    m_query->First();
    Click(*m_check, POINT{5, 8});
    EXPECT_EQ(m_check->State(), cbUncheckedGx);
    EXPECT_EQ(FieldOf("ANSWER").AsString(), "N");
    Key(VK_SPACE, 0, " ");
    EXPECT_EQ(FieldOf("ANSWER").AsString(), "Y");
}

TEST_F(DBCheck, ABooleanFieldShowsGrayedForNullAndGrayedComesFirstWhenAllowed)
{
    Open();
    m_check->SetDataSource(m_source.get());
    m_check->SetDataField("FLAG");
    EXPECT_EQ(m_check->State(), cbCheckedGx);
    m_query->Next();
    EXPECT_EQ(m_check->State(), cbGrayedGx);
    m_query->Next();
    ASSERT_EQ(m_check->State(), cbUncheckedGx);

    m_check->SetAllowGrayed(true);
    std::vector<TCheckBoxStateGx> states;
    for (int i = 0; i < 3; ++i) {
        Click(*m_check, POINT{5, 8});
        states.push_back(m_check->State());
    }
    EXPECT_EQ(states, (std::vector<TCheckBoxStateGx>{cbGrayedGx, cbCheckedGx, cbUncheckedGx}));
    EXPECT_FALSE(FieldOf("FLAG").AsBoolean());
}

TEST_F(DBCheck, WithoutDataTheBoxAlternatesAndPaintsItsMark)
{
    EXPECT_EQ(m_check->State(), cbUncheckedGx);
    const TRect box = m_check->BoxRect();
    const POINT centre{(box.left + box.right) / 2, (box.top + box.bottom) / 2};
    EXPECT_EQ(Shown(*m_check, centre), SysRgb(COLOR_WINDOW));
    Click(*m_check, POINT{5, 8});
    EXPECT_EQ(m_check->State(), cbCheckedGx);
    EXPECT_TRUE(m_check->DataLink().UnboundValue().ToBoolean());
    Pump();
    bool mark = false;
    for (int x = box.left + 2; x < box.right - 2 && !mark; ++x)
        for (int y = box.top + 2; y < box.bottom - 2 && !mark; ++y)
            mark = Shown(*m_check, POINT{x, y}) == SysRgb(COLOR_WINDOWTEXT);
    EXPECT_TRUE(mark);
    Click(*m_check, POINT{5, 8});
    EXPECT_EQ(m_check->State(), cbUncheckedGx);
    EXPECT_FALSE(m_check->DataLink().UnboundValue().ToBoolean());
}

TEST_F(DBCheck, AnswersItsStateAsAStandardCheckBoxDoes)
{
    m_check->SetAllowGrayed(true);
    for (const auto& [state, answer] : {std::pair{cbCheckedGx, BST_CHECKED}, std::pair{cbGrayedGx, BST_INDETERMINATE},
                                        std::pair{cbUncheckedGx, BST_UNCHECKED}}) {
        m_check->SetState(state);
        EXPECT_EQ(SendMessageA(m_check->Handle(), BM_GETCHECK, 0, 0), static_cast<LRESULT>(answer));
        EXPECT_EQ(SendMessageA(m_check->Handle(), BM_GETSTATE, 0, 0), static_cast<LRESULT>(answer));
    }
}
