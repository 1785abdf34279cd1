#include "FormTestClasses.h"

#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"

#include <gtest/gtest.h>

namespace {

class FormWriterTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }
};

// A form with something in every kind of property, built in code.
std::unique_ptr<TTestForm> BuildForm()
{
    auto form = std::make_unique<TTestForm>(nullptr);
    form->SetName("Form1");
    form->SetLeft(-3);
    form->SetCaption("Tab\there 'quoted' \xC3\xA9");
    form->SetRatio(0.1);
    form->Font()->SetName("Verdana");
    form->Font()->SetStyle({tsUnderline});
    form->Font()->SetColor(0x123456);
    form->Weights = {1, 2, 300000};
    auto* timer = new TTestTimer(form.get());
    timer->SetName("Timer1");
    timer->SetOnTimer(TNotifyEvent(form.get(), &TTestForm::TimerFired));
    auto* panel = new TTestControl(form.get());
    panel->SetName("Panel");
    panel->SetParent(form.get());
    panel->SetAlign(taRight);
    panel->SetVisible(false);
    panel->SetLetter('#');
    panel->Lines()->SetText("a\nb'c\n");
    static_cast<TTestItem*>(panel->Items()->Add())->SetCaption("first");
    static_cast<TTestItem*>(panel->Items()->Add())->SetWidth(7);
    panel->Blob = {0, 1, 2, 0xAB};
    auto* button = new TTestControl(form.get());
    button->SetName("Button1");
    button->SetParent(panel);
    button->SetOnClick(TNotifyEvent(form.get(), &TTestForm::ButtonClick));
    button->SetBuddy(panel);
    button->SetParentColor(true);
    button->SetColor(clRed);
    return form;
}

TEST_F(FormWriterTest, WriteThenReadGivesTheSameObjectsAndValues)
{
    const auto form = BuildForm();
    const std::string text = WriteComponentText(form.get());
    std::unique_ptr<TComponent> root(ReadComponentText(text));
    auto* copy = dynamic_cast<TTestForm*>(root.get());
    ASSERT_NE(copy, nullptr) << text;

    EXPECT_EQ(copy->Left(), -3);
    EXPECT_EQ(copy->Caption(), form->Caption());
    EXPECT_EQ(copy->Ratio(), 0.1);
    EXPECT_EQ(copy->Font()->Name(), "Verdana");
    EXPECT_EQ(copy->Font()->Style(), TTestStyles{tsUnderline});
    EXPECT_EQ(copy->Font()->Color(), 0x123456);
    EXPECT_EQ(copy->Weights, form->Weights);
    ASSERT_NE(copy->Timer1, nullptr);
    EXPECT_EQ(copy->Timer1->OnTimer(), TNotifyEvent(copy, &TTestForm::TimerFired));

    auto* panel = static_cast<TTestControl*>(copy->FindComponent("Panel"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->Parent(), copy);
    EXPECT_EQ(panel->Align(), taRight);
    EXPECT_FALSE(panel->Visible());
    EXPECT_EQ(panel->Letter(), '#');
    EXPECT_EQ(panel->Lines()->Text(), "a\r\nb'c\r\n");
    ASSERT_EQ(panel->Items()->Count(), 2);
    EXPECT_EQ(static_cast<TTestItem*>(panel->Items()->Items(0))->Caption(), "first");
    EXPECT_EQ(static_cast<TTestItem*>(panel->Items()->Items(1))->Width(), 7);
    EXPECT_EQ(panel->Blob, (std::vector<std::uint8_t>{0, 1, 2, 0xAB}));

    ASSERT_NE(copy->Button1, nullptr);
    EXPECT_EQ(copy->Button1->Parent(), panel);
    EXPECT_EQ(copy->Button1->Buddy(), panel);
    EXPECT_EQ(copy->Button1->OnClick(), TNotifyEvent(copy, &TTestForm::ButtonClick));
    EXPECT_TRUE(copy->Button1->ParentColor());
    // Color is not stored while ParentColor is on.
    EXPECT_EQ(copy->Button1->Color(), clBtnFace);

    // Writing the copy again gives the same text.
    EXPECT_EQ(WriteComponentText(copy), text);
}

TEST_F(FormWriterTest, DefaultsAreNotWritten)
{
    TTestControl control(nullptr);
    control.SetName("Plain");
    EXPECT_EQ(WriteComponentText(&control), "object Plain: TTestControl\n  Left = 0\nend\n");
}

TEST_F(FormWriterTest, NotationOfValues)
{
    TTestControl control(nullptr);
    control.SetName("C");
    control.SetCaption("a'b\r\n");
    control.SetColor(0x00FF80);
    control.Font()->SetStyle({tsBold, tsItalic});
    control.Weights = {5};
    control.Blob = {0xDE, 0xAD};
    control.Lines()->Add("x");
    static_cast<void>(control.Items()->Add());
    EXPECT_EQ(WriteComponentText(&control), R"(object C: TTestControl
  Left = 0
  Caption = 'a''b'#13#10
  Color = 65408
  Font.Style = [tsBold, tsItalic]
  Lines.Strings = (
    'x')
  Items = <
    item
    end>
  Weights = (
    5)
  Blob = {
    DEAD}
end
)");
}

TEST_F(FormWriterTest, EventsBoundOutsideTheFormAreNotWritten)
{
    TTestForm form(nullptr);
    form.SetName("F");
    TTestForm elsewhere(nullptr);
    auto* button = new TTestControl(&form);
    button->SetName("B");
    button->SetParent(&form);
    button->SetOnClick(TNotifyEvent(&elsewhere, &TTestForm::ButtonClick));
    EXPECT_EQ(WriteComponentText(&form).find("OnClick"), std::string::npos);
}

} // namespace
