#include "KvButtonTestForm.h"

#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"


namespace {

void DescribeTestForm(TClassBuilder& c)
{
    c.Field("OkButton", &TKvButtonsTestForm::OkButton);
    c.Field("CancelButton", &TKvButtonsTestForm::CancelButton);
    c.Field("GroupA", &TKvButtonsTestForm::GroupA);
    c.Field("GroupB", &TKvButtonsTestForm::GroupB);
    c.Field("Bit", &TKvButtonsTestForm::Bit);
    c.Field("Check", &TKvButtonsTestForm::Check);
    c.Method("Clicked", &TKvButtonsTestForm::Clicked);
    c.Method("MouseEntered", &TKvButtonsTestForm::MouseEntered);
    c.Method("MouseLeft", &TKvButtonsTestForm::MouseLeft);
}

const char* FormText = R"(object KvButtonsTestForm: TKvButtonsTestForm
  Left = 20
  Top = 20
  Caption = 'Buttons'
  ClientWidth = 320
  ClientHeight = 200
  BorderStyle = bsSingle
  object OkButton: TKvButton
    Left = 8
    Top = 8
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 0
    OnClick = Clicked
  end
  object CancelButton: TKvButton
    Left = 90
    Top = 8
    Caption = 'Cancel'
    Cancel = True
    ModalResult = 2
    TabOrder = 1
    OnClick = Clicked
  end
  object GroupA: TKvButton
    Left = 8
    Top = 40
    Caption = 'A'
    GroupIndex = 1
    TabOrder = 2
    OnClick = Clicked
  end
  object GroupB: TKvButton
    Left = 90
    Top = 40
    Caption = 'B'
    GroupIndex = 1
    TabOrder = 3
    OnClick = Clicked
  end
  object Bit: TKvBitBtn
    Left = 8
    Top = 72
    Width = 100
    Height = 30
    Caption = 'Go'
    TabOrder = 4
    OnClick = Clicked
  end
  object Check: TKvCheckBox
    Left = 8
    Top = 112
    Width = 120
    Caption = '&Check'
    AllowGrayed = True
    TabOrder = 5
    OnClick = Clicked
    OnMouseEnter = MouseEntered
    OnMouseLeave = MouseLeft
  end
end
)";

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TKvButtonsTestForm, TForm, ComponentCreator<TKvButtonsTestForm>, DescribeTestForm)

void TKvButtonsTestForm::Clicked(TObject* sender)
{
    Events.push_back("click " + static_cast<TComponent*>(sender)->Name() + " " + std::to_string(ModalResult()));
}

void KvButtonsTest::SetUp()
{
    KvFormFixture::SetUp();
    RegisterClass(TKvButtonsTestForm::StaticClass());
    RegisterFormText(TKvButtonsTestForm::StaticClass(), FormText);
    UseForm(TKvButtonsTestForm::StaticClass());
    m_buttons = static_cast<TKvButtonsTestForm*>(m_form.get());
    ShowForm();
    ASSERT_TRUE(m_form->Showing());
    ASSERT_NE(Shown(*m_buttons->OkButton, POINT{1, 1}), 0xDEADBEEFu & 0xFFFFFF);
}

std::vector<std::string> KvButtonsTest::TakeEvents()
{
    std::vector<std::string> events;
    events.swap(m_buttons->Events);
    return events;
}

std::string RoundTrip(const std::string& text)
{
    RegisterFormText(TKvButtonsTestForm::StaticClass(), text);
    std::unique_ptr<TCustomForm> form(TCustomForm::Create(TKvButtonsTestForm::StaticClass(), nullptr));
    return WriteComponentText(form.get());
}

std::string FormAround(const std::string& objects)
{
    return "object KvButtonsTestForm: TKvButtonsTestForm\n  Caption = 'Round'\n" + objects + "end\n";
}
