#include "KvButtonTestForm.h"

#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <chrono>

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
    m_display = &SelectHeadlessDisplay();
    Application->SetShowExceptionHook([this](const std::string& text, const std::string&) { m_errors.push_back(text); });
    RegisterKvButtonClasses();
    RegisterKvRadChkClasses();
    RegisterClass(TKvButtonsTestForm::StaticClass());
    RegisterFormText(TKvButtonsTestForm::StaticClass(), FormText);
    m_form.reset(static_cast<TKvButtonsTestForm*>(TCustomForm::Create(TKvButtonsTestForm::StaticClass(), nullptr)));
    m_form->Show();
    Pump();
    ASSERT_TRUE(m_form->Showing());
    ASSERT_NE(Shown(*m_form->OkButton, POINT{1, 1}), 0xDEADBEEFu & 0xFFFFFF);
}

void KvButtonsTest::TearDown()
{
    m_form.reset();
    Application->ProcessMessages();
    Application->SetShowExceptionHook(nullptr);
    EXPECT_TRUE(m_errors.empty()) << m_errors.front();
}

void KvButtonsTest::Pump() { Application->ProcessMessages(); }

void KvButtonsTest::Click(TWinControl& control, POINT client)
{
    m_display->InjectClick(TopLevelId(control.Handle()), InTopLevel(control.Handle(), client));
    Pump();
}

void KvButtonsTest::Press(TWinControl& control, POINT client, bool down)
{
    m_display->InjectMouseButton(TopLevelId(control.Handle()), InTopLevel(control.Handle(), client), MouseButton::Left,
                                 down, down ? 0U : static_cast<unsigned>(ModLeftButton));
    Pump();
}

void KvButtonsTest::MoveHeld(TWinControl& control, POINT client)
{
    m_display->InjectMouseMove(TopLevelId(control.Handle()), InTopLevel(control.Handle(), client), ModLeftButton);
    Pump();
}

void KvButtonsTest::Hover(TWinControl& control, POINT client)
{
    m_display->InjectMouseMove(TopLevelId(control.Handle()), InTopLevel(control.Handle(), client));
    Pump();
}

void KvButtonsTest::Key(unsigned virtualKey, unsigned modifiers)
{
    m_display->InjectKeyPress(TopLevelId(m_form->Handle()), virtualKey, {}, modifiers);
    Pump();
}

std::uint32_t KvButtonsTest::Shown(TWinControl& control, POINT client) const
{
    return ShownPixel(*m_display, control.Handle(), client);
}

std::uint32_t KvButtonsTest::Rgb(TColor color) { return RgbOf(ColorToRGB(color)); }

bool KvButtonsTest::ShowsColour(TWinControl& control, const TRect& rect, TColor color) const
{
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (Shown(control, POINT{x, y}) == Rgb(color))
                return true;
    return false;
}

std::vector<std::string> KvButtonsTest::TakeEvents()
{
    std::vector<std::string> events;
    events.swap(m_form->Events);
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
