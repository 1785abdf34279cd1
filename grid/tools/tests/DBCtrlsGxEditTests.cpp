#include "DataFixture.h"

#include "grid/tools/DBCtrlsGx.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/winapi/controls/Edit.h"

#include <string>
#include <vector>

namespace {

class DBEdit : public DataFixture {
protected:
    void SetUp() override
    {
        DataFixture::SetUp();
        Exec("INSERT INTO T (NAME, CODE, AMOUNT) VALUES ('Anna', 'A1', 1.5), ('Bert', 'B2', 2.5)");
        m_edit = Make(10, 10);
        m_other = new TEdit(m_form.get());
        m_other->SetParent(m_form.get());
        m_other->SetBounds(10, 200, 100, 21);
        Pump();
    }
    TDBEditGx* Make(int left, int top)
    {
        auto* edit = new TDBEditGx(m_form.get());
        edit->SetParent(m_form.get());
        edit->SetBounds(left, top, 150, 21);
        return edit;
    }
    void Focus(TWinControl* control)
    {
        m_form->SetActiveControl(control);
        Pump();
    }

    TDBEditGx* m_edit = nullptr;
    TEdit* m_other = nullptr;
};

} // namespace

TEST_F(DBEdit, AnEditorWithoutDataKeepsItsValueInTheLink)
{
    int updates = 0;
    m_edit->SetOnUpdateData(TButtonClickEventGx::FromFunction([&](TObject*, bool&) { ++updates; }));
    m_edit->SetEditorText("x");
    EXPECT_EQ(m_edit->Value().ToString(), "x");
    EXPECT_EQ(m_edit->DataLink().UnboundValue().ToString(), "x");
    EXPECT_EQ(updates, 1);

    // Typed text goes to the link when the user leaves.
    Focus(m_edit);
    Key(VK_END);
    Type("yz");
    Focus(m_other);
    EXPECT_EQ(m_edit->DataLink().UnboundValue().ToString(), "xyz");

    m_edit->SetDataSource(m_source.get());
    EXPECT_TRUE(VarIsNull(m_edit->DataLink().UnboundValue()));
    EXPECT_FALSE(m_edit->DataLink().DataIndependent());
}

TEST_F(DBEdit, TypingIntoABoundEditorEditsTheRecordAndLeavingWritesTheField)
{
    Open();
    m_edit->SetDataSource(m_source.get());
    m_edit->SetDataField("NAME");
    EXPECT_EQ(m_edit->Text(), "Anna");
    EXPECT_EQ(m_edit->MaxLength(), 20);
    m_edit->SetDataField("CODE"); // the old field's length goes with it
    EXPECT_EQ(m_edit->MaxLength(), 5);
    m_edit->SetDataField("NAME");

    Focus(m_edit);
    Key(VK_END);
    Type("lena");
    EXPECT_EQ(m_query->State(), dsEdit);
    Focus(m_other);
    EXPECT_EQ(FieldOf("NAME").AsString(), "Annalena");
    m_query->Post();

    // Esc takes the typed text back.
    Focus(m_edit);
    Key(VK_END);
    Type("xx");
    Key(VK_ESCAPE, 0, "\x1b");
    EXPECT_EQ(m_edit->Text(), "Annalena");

    // Moving the record shows the next one.
    Focus(m_other);
    m_query->Cancel();
    m_query->Next();
    EXPECT_EQ(m_edit->Text(), "Bert");
}

TEST_F(DBEdit, AnEditorOfTwoFieldsSetsBothOrRaises)
{
    Open();
    m_edit->SetDataSource(m_source.get());
    m_edit->SetDataField("NAME;CODE");
    ASSERT_EQ(m_edit->DataLink().Fields().size(), 2u);
    m_query->Edit();
    Variant values = Variant::MakeArray(0, 1, varVariant);
    values.SetElement(0, Variant("Carl"));
    values.SetElement(1, Variant("C3"));
    m_edit->DataLink().AssignValue(values);
    EXPECT_EQ(FieldOf("NAME").AsString(), "Carl");
    EXPECT_EQ(FieldOf("CODE").AsString(), "C3");
    m_edit->DataLink().AssignValue(Null());
    EXPECT_TRUE(FieldOf("NAME").IsNull());
    EXPECT_TRUE(FieldOf("CODE").IsNull());
    Variant shortArray = Variant::MakeArray(0, 0, varVariant);
    shortArray.SetElement(0, Variant("D"));
    EXPECT_ANY_THROW(m_edit->DataLink().AssignValue(shortArray));
    EXPECT_ANY_THROW(m_edit->DataLink().AssignValue(Variant("not an array")));
    m_query->Cancel();

    EXPECT_THROW(m_edit->SetDataField("NAME;NOPE"), EDatabaseError);
}

TEST_F(DBEdit, ButtonsSitAtTheRightEdgeAndAnswerTheirShortCut)
{
    m_edit->EditButton()->SetVisible(true);
    auto* extra = static_cast<TEditButtonGx*>(m_edit->EditButtons()->Add());
    extra->SetStyle(ebsEllipsisGx);
    std::vector<std::string> log;
    extra->SetOnDown(TButtonDownEventGx::FromFunction([&](TObject*, bool, bool&, bool&) { log.push_back("down"); }));
    extra->SetOnClick(TButtonClickEventGx::FromFunction([&](TObject*, bool&) { log.push_back("click"); }));
    m_edit->SetOnButtonDown(TButtonDownEventGx::FromFunction([&](TObject*, bool, bool&, bool&) { log.push_back("default down"); }));
    Pump();
    const int bar = GetSystemMetrics(SM_CXVSCROLL);
    EXPECT_EQ(m_edit->ButtonWidth(), 2 * bar);
    const int clientWidth = m_edit->ClientRect().right;
    EXPECT_EQ(m_edit->ButtonControl(1)->Left(), clientWidth - bar);
    EXPECT_EQ(m_edit->ButtonControl(0)->Left(), clientWidth - 2 * bar);

    // The ellipsis face shows its middle dot; the text area ends before the buttons.
    TEditButtonControlGx& ellipsis = *m_edit->ButtonControl(1);
    bool dot = false;
    for (int x = 0; x < ellipsis.Width() && !dot; ++x)
        dot = Shown(ellipsis, POINT{x, ellipsis.Height() / 2}) == SysRgb(COLOR_BTNTEXT);
    EXPECT_TRUE(dot);
    RECT text{};
    (void)SendMessageA(m_edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    EXPECT_LE(text.right, clientWidth - 2 * bar);

    // A collection button answers Alt+Down; the default button has no short cut.
    Focus(m_edit);
    Key(VK_DOWN, ModAlt);
    EXPECT_EQ(log, (std::vector<std::string>{"down", "click"}));

    // When the default button shares the short cut it comes first, but not while disabled.
    log.clear();
    m_edit->EditButton()->SetShortCut(scAlt | VK_DOWN);
    Key(VK_DOWN, ModAlt);
    EXPECT_EQ(log, (std::vector<std::string>{"default down"}));
    log.clear();
    m_edit->EditButton()->SetEnabled(false);
    Key(VK_DOWN, ModAlt);
    EXPECT_EQ(log, (std::vector<std::string>{"down", "click"}));
}

// A button with an action shows the action's state while its own value follows it, and its
// short cut runs the action for the editor; an action that goes leaves the button harmless.
TEST_F(DBEdit, AButtonWithAnActionFollowsItAndRunsIt)
{
    auto* action = new TAction(m_form.get());
    action->SetHint("Browse");
    action->SetShortCut(scCtrl | 'B');
    action->SetVisible(true);
    int runs = 0;
    action->SetOnExecute(TNotifyEvent::FromFunction([&](TObject* sender) {
        EXPECT_EQ(sender, action);
        ++runs;
    }));
    auto* button = static_cast<TEditButtonGx*>(m_edit->EditButtons()->Add());
    button->SetStyle(ebsEllipsisGx);
    button->SetAction(action);
    EXPECT_EQ(button->Hint(), "Browse");
    EXPECT_EQ(button->ShortCut(), scCtrl | 'B');
    Pump();
    ASSERT_NE(m_edit->ButtonControl(1), nullptr);

    Focus(m_edit);
    Key('B', ModControl);
    EXPECT_EQ(runs, 1);

    // The button follows the action's changes, except where it was given its own value.
    action->SetEnabled(false);
    EXPECT_FALSE(button->Enabled());
    Key('B', ModControl);
    EXPECT_EQ(runs, 1);
    action->SetEnabled(true);
    button->SetHint("Mine");
    action->SetHint("Pick a file");
    EXPECT_EQ(button->Hint(), "Mine");
    EXPECT_TRUE(button->Enabled());

    // A click handler of its own wins over the action.
    bool clicked = false;
    button->SetOnClick(TButtonClickEventGx::FromFunction([&](TObject*, bool&) { clicked = true; }));
    Key('B', ModControl);
    EXPECT_TRUE(clicked);
    EXPECT_EQ(runs, 1);
    button->SetOnClick({});

    delete action;
    EXPECT_EQ(button->Action(), nullptr);
    Key('B', ModControl);
    EXPECT_EQ(runs, 1);
}

// A bound number picks the image at the editor's left edge (rounded), unless OnGetImageIndex
// says otherwise; the text starts after the image's column.
TEST_F(DBEdit, TheImageAtTheLeftFollowsTheValue)
{
    TImageList images(nullptr, 8, 8);
    for (const TColor color : {clRed, clLime, clBlue}) {
        TBitmap square;
        square.SetSize(8, 8);
        square.Canvas()->Brush()->SetColor(color);
        square.Canvas()->FillRect(TRect{0, 0, 8, 8});
        (void)images.Add(&square, nullptr);
    }
    Exec("UPDATE T SET AMOUNT = 1.6");
    Open();
    m_edit->SetDataSource(m_source.get());
    m_edit->SetDataField("AMOUNT");
    m_edit->EditImage()->SetImages(&images);
    m_edit->EditImage()->SetVisible(true);
    Pump();
    const POINT image{6, m_edit->ClientHeight() / 2};
    EXPECT_EQ(m_edit->EditImage()->ImageIndex(), 2);
    EXPECT_EQ(Shown(*m_edit, image), 0x0000FFu);
    RECT text{};
    (void)SendMessageA(m_edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    EXPECT_GE(text.left, 12);

    m_edit->SetOnGetImageIndex(TGetImageIndexEventGx::FromFunction([](TObject*, int& index) { index -= 2; }));
    Pump();
    EXPECT_EQ(Shown(*m_edit, image), 0xFF0000u);

    // Hidden, the image gives its column back to the text.
    m_edit->EditImage()->SetVisible(false);
    Pump();
    (void)SendMessageA(m_edit->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text));
    EXPECT_LT(text.left, 12);
}

TEST_F(DBEdit, AHeldSpinButtonRepeatsAndNeverDropsDown)
{
    m_edit->EditButton()->SetVisible(true);
    m_edit->EditButton()->SetStyle(ebsUpDownGx);
    std::vector<bool> downs;
    m_edit->SetOnButtonDown(TButtonDownEventGx::FromFunction([&](TObject*, bool top, bool&, bool&) { downs.push_back(top); }));
    Pump();
    TEditButtonControlGx& spin = *m_edit->ButtonControl(0);
    Press(spin, POINT{spin.Width() / 2, 2}, true);
    spin.RepeatTimer()->OnTimer()(spin.RepeatTimer());
    spin.RepeatTimer()->OnTimer()(spin.RepeatTimer());
    Press(spin, POINT{spin.Width() / 2, 2}, false);
    EXPECT_EQ(downs, (std::vector<bool>{true, true, true}));
    EXPECT_FALSE(m_edit->DroppedDown());
    EXPECT_EQ(GetFocus(), m_edit->Handle());
}

TEST_F(DBEdit, TypingOffersTheMatchingRecentTextsWithoutTakingTheFocus)
{
    TMRUListGx& mru = *m_edit->MRUList();
    mru.SetActive(true);
    for (const char* text : {"modem", "mobile", "network", "model"})
        mru.AddText(text);
    Focus(m_edit);
    Type("mo");
    ASSERT_NE(m_edit->MRUListControl(), nullptr);
    TMRUListboxGx& list = *m_edit->MRUListControl();
    EXPECT_TRUE(IsWindowVisible(list.Handle()));
    EXPECT_EQ(list.Items()->Count(), 3);
    EXPECT_EQ(list.Items()->Strings(0), "mobile"); // sorted
    EXPECT_EQ(list.VisibleRows(), 3);
    EXPECT_EQ(GetFocus(), m_edit->Handle());
    // Under the editor.
    EXPECT_EQ(list.Top(), m_edit->ClientToScreen(TPoint{0, m_edit->ClientRect().bottom}).y);

    Type("d");
    EXPECT_EQ(list.Items()->Count(), 2);
    Key(VK_DOWN);
    Key(VK_RETURN, 0, "\r");
    EXPECT_FALSE(IsWindowVisible(list.Handle()));
    EXPECT_EQ(m_edit->Text(), "model");

    // Leaving adds the entry; a text nothing matches closes the list.
    Focus(m_other);
    EXPECT_EQ(mru.Items()->Strings(mru.Items()->Count() - 1), "model");
    Focus(m_edit);
    Key(VK_END);
    Type("x");
    EXPECT_FALSE(IsWindowVisible(list.Handle()));
    Key(VK_ESCAPE, 0, "\x1b");
}

TEST_F(DBEdit, ARequiredEmptyFieldIsUnderlinedInRedOnlyWhileTheRecordIsEdited)
{
    Open();
    FieldOf("NAME").SetRequired(true);
    m_edit->SetHighlightRequired(true);
    m_edit->SetDataSource(m_source.get());
    m_edit->SetDataField("NAME");
    const auto underlined = [this] {
        Pump();
        const int y = m_edit->ClientRect().bottom - 1;
        for (int x = 2; x < 40; ++x)
            if (Shown(*m_edit, POINT{x, y}) == 0xFF0000u)
                return true;
        return false;
    };
    m_query->Append();
    EXPECT_TRUE(m_edit->RequiredMarkShown());
    EXPECT_TRUE(underlined());
    m_query->Cancel();
    m_query->Last();
    m_query->Edit();
    FieldOf("NAME").Clear();
    EXPECT_TRUE(underlined());
    m_query->Cancel();
    // In browse state an empty required field is not marked, nor a filled one while edited.
    EXPECT_FALSE(underlined());
    m_query->Edit();
    EXPECT_FALSE(underlined());
    m_query->Cancel();

    // A handler may decide otherwise.
    m_edit->SetOnCheckDrawRequiredState(TEvent<TObject*, bool&>::FromFunction([](TObject*, bool& draw) { draw = true; }));
    m_edit->Invalidate();
    EXPECT_TRUE(underlined());
}

TEST_F(DBEdit, AFlatEditorLightsItsBorderAndButtonsWhileFocused)
{
    m_edit->SetFlat(true);
    m_edit->EditButton()->SetVisible(true);
    Pump();
    EXPECT_EQ(m_edit->ButtonWidth(), DefaultFlatButtonWidth());
    const POINT corner{-2, -2}; // the window's top-left pixel, outside the client area
    EXPECT_EQ(Shown(*m_edit, corner), SysRgb(COLOR_BTNFACE));
    EXPECT_FALSE(m_edit->ButtonControl(0)->Active());

    Focus(m_edit);
    EXPECT_TRUE(m_edit->BorderLit());
    EXPECT_EQ(Shown(*m_edit, corner), SysRgb(COLOR_BTNSHADOW));
    EXPECT_TRUE(m_edit->ButtonControl(0)->Active());

    Focus(m_other);
    EXPECT_EQ(Shown(*m_edit, corner), SysRgb(COLOR_BTNFACE));
    m_edit->SetAlwaysShowBorder(true);
    Pump();
    EXPECT_EQ(Shown(*m_edit, corner), SysRgb(COLOR_BTNSHADOW));
}
