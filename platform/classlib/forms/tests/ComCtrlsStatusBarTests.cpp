#include "ControlsTestClasses.h"
#include "platform/classlib/forms/ComCtrlsStatusBar.h"
#include "platform/winapi/controls/StatusBar.h"

#include <memory>

namespace {

class TTestStatusForm : public TForm {
    CLASSLIB_DECLARE_CLASS;
    explicit TTestStatusForm(TComponent* owner) : TForm(owner) {}
    TStatusBar* StatusBar = nullptr;
};

void DescribeStatusForm(TClassBuilder& c) { c.Field("StatusBar", &TTestStatusForm::StatusBar); }

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TTestStatusForm, TForm, ComponentCreator<TTestStatusForm>, DescribeStatusForm)

namespace {

class StatusBarTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        m_form.SetBounds(0, 0, 400, 200);
        m_bar = new TStatusBar(&m_form);
        m_bar->SetParent(&m_form);
    }

    [[nodiscard]] std::string PartText(int part) const
    {
        char text[100] = {};
        (void)SendMessageA(m_bar->Handle(), SB_GETTEXT, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
        return text;
    }

    [[nodiscard]] RECT PartRect(int part) const
    {
        RECT rect{};
        (void)SendMessageA(m_bar->Handle(), SB_GETRECT, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(&rect));
        return rect;
    }

    TForm m_form{nullptr};
    TStatusBar* m_bar = nullptr;
};

TEST_F(StatusBarTest, PanelsBecomePartsWithTheirWidthsTextsAndBevels)
{
    TStatusPanel* first = m_bar->Panels()->Add();
    first->SetWidth(150);
    first->SetBevel(pbRaised);
    first->SetText("USB Modem ready.");
    TStatusPanel* second = m_bar->Panels()->Add();
    second->SetWidth(50);
    second->SetAlignment(taCenter);
    m_form.Show();
    Application->ProcessMessages();

    EXPECT_EQ(m_bar->Top() + m_bar->Height(), m_form.ClientHeight());
    EXPECT_EQ(m_bar->Width(), m_form.ClientWidth());
    EXPECT_EQ(PartRect(0).right, 150);
    EXPECT_EQ(PartRect(1).right, m_bar->ClientWidth());
    EXPECT_EQ(PartText(0), "USB Modem ready.");
    EXPECT_EQ(HIWORD(SendMessageA(m_bar->Handle(), SB_GETTEXTLENGTH, 0, 0)), SBT_POPOUT);

    second->SetText("M");
    EXPECT_EQ(PartText(1), "\tM");
    EXPECT_FALSE(SendMessageA(m_bar->Handle(), SB_ISSIMPLE, 0, 0));
}

TEST_F(StatusBarTest, SimplePanelShowsSimpleText)
{
    m_bar->Panels()->Add()->SetText("Hidden");
    m_bar->SetSimpleText("Dialling...");
    m_bar->SetSimplePanel(true);
    m_form.Show();
    EXPECT_TRUE(SendMessageA(m_bar->Handle(), SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(PartText(SB_SIMPLEID), "Dialling...");
    m_bar->SetSimplePanel(false);
    EXPECT_FALSE(SendMessageA(m_bar->Handle(), SB_ISSIMPLE, 0, 0));
}

TEST_F(StatusBarTest, OwnerDrawnPanelsCallOnDrawPanelWithTheirRectangle)
{
    m_bar->Panels()->Add()->SetWidth(100);
    TStatusPanel* drawn = m_bar->Panels()->Add();
    drawn->SetStyle(psOwnerDraw);
    TStatusPanel* seen = nullptr;
    TRect seenRect{};
    m_bar->SetOnDrawPanel(TDrawPanelEvent::FromFunction([&](TCustomStatusBar* bar, TStatusPanel* panel, const TRect& rect) {
        seen = panel;
        seenRect = rect;
        bar->Canvas()->Brush()->SetColor(clRed);
        bar->Canvas()->FillRect(rect);
    }));
    m_form.Show();
    ASSERT_TRUE(PumpUntil([&] { return seen != nullptr; }));
    EXPECT_EQ(seen, drawn);
    EXPECT_GE(seenRect.left, 100);
    ASSERT_TRUE(PumpUntil([&] { return Shown(*m_bar, POINT{seenRect.left + 5, seenRect.top + 3}) == Rgb(clRed); }));
}

TEST_F(StatusBarTest, PanelsComeFromFormData)
{
    RegisterClasses({TStatusBar::StaticClass(), TTestStatusForm::StaticClass()});
    RegisterFormText(TTestStatusForm::StaticClass(), R"(object TestStatusForm: TTestStatusForm
  ClientWidth = 300
  ClientHeight = 120
  object StatusBar: TStatusBar
    Panels = <
      item
        Bevel = pbRaised
        Text = 'USB Modem ready.'
        Width = 150
      end
      item
        Alignment = taRightJustify
        Bevel = pbRaised
        Width = 50
      end>
    SimplePanel = False
  end
end
)");
    std::unique_ptr<TCustomForm> form(TCustomForm::Create(TTestStatusForm::StaticClass(), nullptr));
    TStatusBar* bar = static_cast<TTestStatusForm*>(form.get())->StatusBar;
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->Panels()->Count(), 2);
    EXPECT_EQ(bar->Panels()->Items(0)->Text(), "USB Modem ready.");
    EXPECT_EQ(bar->Panels()->Items(1)->Bevel(), pbRaised);
    EXPECT_EQ(bar->Panels()->Items(1)->Alignment(), taRightJustify);
    EXPECT_EQ(bar->Align(), alBottom);
    form->Show();
    RECT rect{};
    (void)SendMessageA(bar->Handle(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
    EXPECT_EQ(rect.right, 150);
}

} // namespace
