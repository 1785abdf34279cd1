#include "ControlsTestClasses.h"

#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/winapi/controls/Edit.h"

#include <memory>

namespace {

class EditControlTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        RegisterClasses({TEdit::StaticClass(), TMemo::StaticClass()});
        m_form = std::make_unique<TForm>(nullptr);
        m_form->SetBounds(50, 50, 320, 240);
    }
    void TearDown() override
    {
        m_form.reset();
        ControlsFixture::TearDown();
    }
    template <class T>
    T* Add(TRect bounds)
    {
        auto* control = new T(m_form.get());
        control->SetBoundsRect(bounds);
        control->SetParent(m_form.get());
        control->SetOnChange(TNotifyEvent::FromFunction([this](TObject*) { ++m_changes; }));
        return control;
    }
    void ShowAndFocus(TWinControl& control)
    {
        m_form->Show();
        control.SetFocus();
        ASSERT_TRUE(PumpUntil([&] { return control.Focused(); }));
    }
    std::unique_ptr<TForm> m_form;
    int m_changes = 0;
};

TEST_F(EditControlTest, SettingTextFiresOnChangeOnceWithOrWithoutAWindow)
{
    auto* edit = Add<TEdit>(Rect(10, 10, 130, 31));
    auto* memo = Add<TMemo>(Rect(10, 40, 200, 120));
    edit->SetText("before");
    memo->SetText("before");
    EXPECT_EQ(m_changes, 2);
    m_form->Show();
    m_changes = 0;
    edit->SetText("after");
    memo->SetText("after");
    EXPECT_EQ(m_changes, 2);
    EXPECT_EQ(edit->Text(), "after");
    memo->Lines()->Add("line");
    EXPECT_EQ(m_changes, 3);
    EXPECT_EQ(memo->Text(), "after\r\nline");
}

TEST_F(EditControlTest, MemoLinesBehaveAlikeWithAndWithoutAWindow)
{
    for (const bool windowed : {false, true}) {
        auto* memo = Add<TMemo>(Rect(10, 40, 300, 200));
        if (windowed)
            memo->HandleNeeded();
        TStrings& lines = *memo->Lines();
        lines.Add("one");
        lines.Add("three");
        lines.Insert(1, "two");
        EXPECT_EQ(lines.Count(), 3) << windowed;
        EXPECT_EQ(lines.Strings(1), "two") << windowed;
        lines.Delete(0);
        lines.SetStrings(1, "THREE");
        EXPECT_EQ(memo->Text(), "two\r\nTHREE\r\n") << windowed;
        lines.SetText("a\nb");
        EXPECT_EQ(memo->Text(), "a\r\nb") << windowed;
        EXPECT_EQ(lines.Count(), 2) << windowed;
        // A line that is not there is an error, never the caret's line.
        EXPECT_THROW(lines.Delete(-1), EStringListError) << windowed;
        EXPECT_THROW(lines.SetStrings(-1, "x"), EStringListError) << windowed;
        EXPECT_THROW(lines.Delete(2), EStringListError) << windowed;
        EXPECT_EQ(memo->Text(), "a\r\nb") << windowed;
        lines.Clear();
        EXPECT_EQ(lines.Count(), 0) << windowed;
        delete memo;
    }
}

TEST_F(EditControlTest, PropertiesReachTheWindowAndSurviveRecreation)
{
    auto* edit = Add<TEdit>(Rect(10, 10, 130, 31));
    edit->SetMaxLength(5);
    edit->SetPasswordChar('#');
    edit->SetReadOnly(true);
    edit->SetText("secret");
    const HWND window = edit->Handle();
    EXPECT_EQ(SendMessageA(window, EM_GETLIMITTEXT, 0, 0), 5);
    EXPECT_EQ(SendMessageA(window, EM_GETPASSWORDCHAR, 0, 0), '#');
    EXPECT_NE(GetWindowLongA(window, GWL_STYLE) & ES_READONLY, 0);
    EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    edit->SetModified(true);
    edit->SetBorderStyle(bsNone);
    EXPECT_EQ(GetWindowLongA(edit->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_TRUE(edit->Modified());
    EXPECT_EQ(edit->Text(), "secret");
    EXPECT_EQ(SendMessageA(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), '#');

    edit->SetSelStart(1);
    edit->SetSelLength(3);
    EXPECT_EQ(edit->SelText(), "ecr");
    edit->SetReadOnly(false);
    edit->SetSelText("-");
    EXPECT_EQ(edit->Text(), "s-et");
    edit->SelectAll();
    EXPECT_EQ(edit->SelLength(), 4);
}

TEST_F(EditControlTest, ClipboardRoundTripAndUndo)
{
    auto* source = Add<TEdit>(Rect(10, 10, 130, 31));
    auto* target = Add<TEdit>(Rect(10, 40, 130, 61));
    source->SetText("shared");
    source->SelectAll();
    source->CutToClipboard();
    EXPECT_EQ(source->Text(), "");
    target->PasteFromClipboard();
    EXPECT_EQ(target->Text(), "shared");
    EXPECT_TRUE(target->CanUndo());
    target->Undo();
    EXPECT_EQ(target->Text(), "");
    source->Undo();
    EXPECT_EQ(source->Text(), "shared");
}

TEST_F(EditControlTest, TypingThroughTheFormRespectsWantReturnsAndCharCase)
{
    auto* edit = Add<TEdit>(Rect(10, 10, 130, 31));
    auto* memo = Add<TMemo>(Rect(10, 40, 200, 120));
    edit->SetText("x");
    ShowAndFocus(*edit);
    edit->SetCharCase(ecUpperCase);
    EXPECT_EQ(edit->Text(), "X");
    edit->SetText("");
    edit->SetFocus();
    m_changes = 0;
    m_display->InjectText(Id(*m_form), "ab");
    ASSERT_TRUE(PumpUntil([&] { return edit->Text() == "AB"; }));
    EXPECT_EQ(m_changes, 2);

    memo->SetWantReturns(false);
    memo->SetFocus();
    m_display->InjectText(Id(*m_form), "x");
    m_display->InjectKeyPress(Id(*m_form), VK_RETURN, "\r");
    m_display->InjectText(Id(*m_form), "y");
    ASSERT_TRUE(PumpUntil([&] { return memo->Text().size() >= 2; }));
    EXPECT_EQ(memo->Text(), "xy");
    memo->SetWantReturns(true);
    m_display->InjectKeyPress(Id(*m_form), VK_RETURN, "\r");
    ASSERT_TRUE(PumpUntil([&] { return memo->Text().size() > 2; }));
    EXPECT_EQ(memo->Text(), "xy\r\n");
    EXPECT_EQ(memo->CaretPos().y, 1);
}

TEST_F(EditControlTest, FormDataCreatesEditsWithTheirProperties)
{
    std::unique_ptr<TComponent> memo(ReadComponentText("object M: TMemo\n"
                                                       "  ScrollBars = ssVertical\n"
                                                       "  WordWrap = False\n"
                                                       "  MaxLength = 160\n"
                                                       "  Lines.Strings = (\n"
                                                       "    'first'\n"
                                                       "    'second')\n"
                                                       "end"));
    auto* m = dynamic_cast<TMemo*>(memo.get());
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->ScrollBars(), ssVertical);
    EXPECT_FALSE(m->WordWrap());
    EXPECT_EQ(m->MaxLength(), 160);
    EXPECT_EQ(m->Text(), "first\r\nsecond\r\n");
}

} // namespace

namespace {

TEST_F(EditControlTest, TheControlsColourFillsTheEditEvenWhenReadOnly)
{
    auto* edit = Add<TEdit>(Rect(10, 10, 130, 31));
    auto* readOnly = Add<TEdit>(Rect(10, 40, 130, 61));
    edit->SetColor(clYellow);
    readOnly->SetColor(clAqua);
    readOnly->SetReadOnly(true);
    m_form->Show();
    EXPECT_TRUE(PumpUntil([&] { return Shown(*edit, POINT{100, 8}) == Rgb(clYellow); }));
    EXPECT_TRUE(PumpUntil([&] { return Shown(*readOnly, POINT{100, 8}) == Rgb(clAqua); }));
}

} // namespace
