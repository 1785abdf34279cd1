#include "ControlsTestClasses.h"

#include "platform/rtl/Exceptions.h"

#include <chrono>

namespace {

void DescribePanel(TClassBuilder& c) { c.String("Caption", &TControl::Caption, &TControl::SetCaption); }

void DescribeButton(TClassBuilder& c)
{
    c.String("Caption", &TControl::Caption, &TControl::SetCaption);
    c.Boolean("Default", &TTestButton::Default, &TTestButton::SetDefault).Default(false);
    c.Boolean("Cancel", &TTestButton::Cancel, &TTestButton::SetCancel).Default(false);
    c.Integer("ModalResult", &TTestButton::ModalResult, &TTestButton::SetModalResult).Default(0);
}

void DescribeMainForm(TClassBuilder& c)
{
    c.Field("Top", &TTestMainForm::Top);
    c.Field("Body", &TTestMainForm::Body);
    c.Field("Edit1", &TTestMainForm::Edit1);
    c.Field("Edit2", &TTestMainForm::Edit2);
    c.Field("OkButton", &TTestMainForm::OkButton);
    c.Field("CancelButton", &TTestMainForm::CancelButton);
    c.Field("GoButton", &TTestMainForm::GoButton);
    c.Field("Timer1", &TTestMainForm::Timer1);
    c.Method("FormCreate", &TTestMainForm::FormCreate);
    c.Method("FormShow", &TTestMainForm::FormShow);
    c.Method("ButtonClick", &TTestMainForm::ButtonClick);
    c.Method("Timer1Timer", &TTestMainForm::Timer1Timer);
}

void FillClient(TCanvas* canvas, const TControl& control)
{
    canvas->Brush()->SetColor(control.Color());
    canvas->FillRect(control.ClientRect());
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TTestPanel, TCustomControl, ComponentCreator<TTestPanel>, DescribePanel)
CLASSLIB_IMPLEMENT_CLASS(TTestEditBox, TCustomControl, ComponentCreator<TTestEditBox>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TTestButton, TCustomControl, ComponentCreator<TTestButton>, DescribeButton)
CLASSLIB_IMPLEMENT_CLASS(TTestGraphic, TGraphicControl, ComponentCreator<TTestGraphic>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TTestMainForm, TForm, ComponentCreator<TTestMainForm>, DescribeMainForm)

TTestPanel::TTestPanel(TComponent* owner) : TCustomControl(owner)
{
    SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csOpaque});
    SetBounds(0, 0, 185, 41);
}

void TTestPanel::Paint() { FillClient(Canvas(), *this); }

TTestEditBox::TTestEditBox(TComponent* owner) : TCustomControl(owner)
{
    SetTabStop(true);
    SetBounds(0, 0, 100, 21);
}

void TTestEditBox::Dispatch(TMessage& message)
{
    if (message.Msg == CM_ENTER)
        Log.push_back(Name() + " enter");
    else if (message.Msg == CM_EXIT)
        Log.push_back(Name() + " exit");
    TCustomControl::Dispatch(message);
}

TTestButton::TTestButton(TComponent* owner) : TCustomControl(owner)
{
    SetTabStop(true);
    SetBounds(0, 0, 75, 25);
}

void TTestButton::Click()
{
    if (m_modalResult != mrNone)
        if (TCustomForm* form = GetParentForm(this))
            form->SetModalResult(m_modalResult);
    TCustomControl::Click();
}

void TTestButton::Paint() { FillClient(Canvas(), *this); }

void TTestButton::Dispatch(TMessage& message)
{
    if (message.Msg == CM_DIALOGKEY) {
        const WORD key = MessageKey(message);
        if (((key == VK_RETURN && m_default) || (key == VK_ESCAPE && m_cancel)) && CanFocus()) {
            Click();
            message.Result = 1;
            return;
        }
    } else if (message.Msg == CM_DIALOGCHAR) {
        if (IsAccel(MessageKey(message), Caption()) && CanFocus()) {
            Click();
            message.Result = 1;
            return;
        }
    }
    TCustomControl::Dispatch(message);
}

void TTestGraphic::Click()
{
    ++Clicks;
    TGraphicControl::Click();
}

void TTestGraphic::Paint() { FillClient(Canvas(), *this); }

void TTestMainForm::ButtonClick(TObject* sender)
{
    Events.push_back("click " + static_cast<TComponent*>(sender)->Name());
    if (ThrowFromClick)
        throw Exception("Click went wrong");
}

void TTestMainForm::Timer1Timer(TObject*)
{
    ++Ticks;
    if (ThrowFromTimer)
        throw EConvertError("'x' is not a valid integer value");
}

const char* TestMainFormText()
{
    return R"(object TestMainForm: TTestMainForm
  Left = 10
  Top = 10
  Caption = 'Test form'
  ClientWidth = 300
  ClientHeight = 200
  Color = clNavy
  BorderStyle = bsSingle
  BorderIcons = [biSystemMenu, biMinimize]
  Font.Name = 'Tahoma'
  OnCreate = FormCreate
  OnShow = FormShow
  object Top: TTestPanel
    Height = 40
    Align = alTop
    Color = clRed
    object OkButton: TTestButton
      Left = 8
      Top = 8
      Caption = '&Ok'
      Default = True
      TabOrder = 1
      OnClick = ButtonClick
    end
    object CancelButton: TTestButton
      Left = 100
      Top = 8
      Caption = 'Cancel'
      Cancel = True
      TabOrder = 0
      OnClick = ButtonClick
    end
  end
  object Body: TTestPanel
    Align = alClient
    ParentColor = True
    object Edit1: TTestEditBox
      Left = 10
      Top = 10
      TabOrder = 1
    end
    object Edit2: TTestEditBox
      Left = 10
      Top = 50
      TabOrder = 0
    end
    object GoButton: TTestButton
      Left = 200
      Top = 100
      Caption = '&Go'
      TabStop = False
      OnClick = ButtonClick
    end
  end
  object Timer1: TTimer
    Enabled = False
    Interval = 10
    OnTimer = Timer1Timer
  end
end
)";
}

void RegisterControlsTestClasses()
{
    RegisterClasses({TTestPanel::StaticClass(), TTestEditBox::StaticClass(), TTestButton::StaticClass(),
                     TTestGraphic::StaticClass(), TTimer::StaticClass(), TTestMainForm::StaticClass()});
    RegisterFormText(TTestMainForm::StaticClass(), TestMainFormText());
}

// ---- ControlsFixture ------------------------------------------------------------------------------

void ControlsFixture::SetUp()
{
    m_display = &SelectHeadlessDisplay();
    RegisterControlsTestClasses();
    Application->SetShowExceptionHook([this](const std::string& text, const std::string&) { m_errors.push_back(text); });
}

void ControlsFixture::TearDown()
{
    Application->ProcessMessages();
    Application->SetShowExceptionHook(nullptr);
    Application->SetOnException({});
}

bool ControlsFixture::PumpUntil(const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (std::chrono::steady_clock::now() < deadline) {
        Application->ProcessMessages();
        if (done())
            return true;
        (void)MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return done();
}

POINT ControlsFixture::InTopLevel(TControl& control, POINT client)
{
    const TPoint screen = control.ClientToScreen(client);
    const TCustomForm* form = GetParentForm(&control);
    TRect window{};
    (void)GetWindowRect(const_cast<TCustomForm*>(form)->Handle(), &window);
    return POINT{screen.x - window.left, screen.y - window.top};
}

std::uint32_t ControlsFixture::Shown(TControl& control, POINT client) const
{
    TCustomForm* form = GetParentForm(&control);
    const POINT point = InTopLevel(control, client);
    return m_display->WindowPixel(Id(*form), point.x, point.y).value_or(0xDEADBEEF) & 0xFFFFFF;
}

std::uint32_t Rgb(TColor color)
{
    const COLORREF rgb = ColorToRGB(color);
    return (GetRValue(rgb) << 16) | (GetGValue(rgb) << 8) | GetBValue(rgb);
}
