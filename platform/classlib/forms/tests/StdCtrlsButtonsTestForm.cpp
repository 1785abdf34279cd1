#include "StdCtrlsButtonsTestForm.h"

#include <algorithm>

namespace {

void DescribeButtonsForm(TClassBuilder& c)
{
    c.Field("OkButton", &TButtonsTestForm::OkButton);
    c.Field("CancelButton", &TButtonsTestForm::CancelButton);
    c.Field("Check", &TButtonsTestForm::Check);
    c.Field("Box", &TButtonsTestForm::Box);
    c.Field("Radio1", &TButtonsTestForm::Radio1);
    c.Field("Radio2", &TButtonsTestForm::Radio2);
    c.Field("Outside", &TButtonsTestForm::Outside);
    c.Field("Retry", &TButtonsTestForm::Retry);
    c.Field("Speed1", &TButtonsTestForm::Speed1);
    c.Field("Speed2", &TButtonsTestForm::Speed2);
    c.Field("Bar", &TButtonsTestForm::Bar);
    c.Method("Clicked", &TButtonsTestForm::Clicked);
    c.Method("BarChange", &TButtonsTestForm::BarChange);
    c.Method("BarScroll", &TButtonsTestForm::BarScroll);
}

const char* FORM_TEXT = R"(object ButtonsTestForm: TButtonsTestForm
  Left = 20
  Top = 20
  Caption = 'Buttons'
  ClientWidth = 320
  ClientHeight = 240
  BorderStyle = bsSingle
  Font.Name = 'Tahoma'
  object OkButton: TButton
    Left = 8
    Top = 8
    Caption = 'OK'
    Default = True
    ModalResult = 1
    TabOrder = 0
    OnClick = Clicked
  end
  object CancelButton: TButton
    Left = 90
    Top = 8
    Caption = 'Cancel'
    Cancel = True
    ModalResult = 2
    TabOrder = 1
    OnClick = Clicked
  end
  object Check: TCheckBox
    Left = 8
    Top = 40
    Width = 120
    Caption = '&Check'
    AllowGrayed = True
    TabOrder = 2
    OnClick = Clicked
  end
  object Box: TGroupBox
    Left = 8
    Top = 64
    Width = 150
    Height = 80
    Caption = 'Choice'
    TabOrder = 3
    object Radio1: TRadioButton
      Left = 8
      Top = 20
      Caption = 'One'
      Checked = True
      OnClick = Clicked
    end
    object Radio2: TRadioButton
      Left = 8
      Top = 44
      Caption = 'Two'
      OnClick = Clicked
    end
  end
  object Outside: TRadioButton
    Left = 170
    Top = 120
    Caption = 'Outside'
    Checked = True
  end
  object Retry: TBitBtn
    Left = 170
    Top = 8
    Width = 100
    Height = 30
    Kind = bkRetry
    OnClick = Clicked
  end
  object Speed1: TSpeedButton
    Left = 170
    Top = 50
    GroupIndex = 1
    Caption = 'A'
    OnClick = Clicked
  end
  object Speed2: TSpeedButton
    Left = 200
    Top = 50
    GroupIndex = 1
    Caption = 'B'
    OnClick = Clicked
  end
  object Bar: TScrollBar
    Left = 8
    Top = 160
    Width = 200
    Height = 17
    Max = 50
    LargeChange = 10
    OnChange = BarChange
    OnScroll = BarScroll
  end
end
)";

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TButtonsTestForm, TForm, ComponentCreator<TButtonsTestForm>, DescribeButtonsForm)

void TButtonsTestForm::BarScroll(TObject*, TScrollCode code, int& position)
{
    Events.push_back("scroll " + std::to_string(static_cast<int>(code)) + " " + std::to_string(position));
    position = std::min(position, ScrollLimit);
}

void ButtonsFormTest::SetUp()
{
    ControlsFixture::SetUp();
    RegisterClasses({TButton::StaticClass(), TCheckBox::StaticClass(), TRadioButton::StaticClass(),
                     TGroupBox::StaticClass(), TBitBtn::StaticClass(), TSpeedButton::StaticClass(),
                     TScrollBar::StaticClass(), TButtonsTestForm::StaticClass()});
    RegisterFormText(TButtonsTestForm::StaticClass(), FORM_TEXT);
    m_form.reset(static_cast<TButtonsTestForm*>(TCustomForm::Create(TButtonsTestForm::StaticClass(), nullptr)));
    m_form->Show();
    ASSERT_TRUE(PumpUntil([&] { return m_form->Showing() && Shown(*m_form->OkButton, POINT{1, 1}) != 0xDEADBEEF; }));
}

void ButtonsFormTest::TearDown()
{
    m_form.reset();
    ControlsFixture::TearDown();
}

void ButtonsFormTest::ClickAt(TControl& control, POINT client)
{
    m_display->InjectClick(Id(*m_form), InTopLevel(control, client));
    Application->ProcessMessages();
}

void ButtonsFormTest::Key(unsigned key)
{
    m_display->InjectKeyPress(Id(*m_form), key);
    Application->ProcessMessages();
}

bool ButtonsFormTest::Saw(const std::string& event) const
{
    return std::find(m_form->Events.begin(), m_form->Events.end(), event) != m_form->Events.end();
}
