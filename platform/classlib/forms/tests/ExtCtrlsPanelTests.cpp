#include "ControlsTestClasses.h"

#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/core/FormReader.h"

#include <memory>

namespace {

constexpr const char* PANEL_FORM = R"(object PanelForm: TForm
  Left = 30
  Top = 30
  ClientWidth = 300
  ClientHeight = 200
  Color = clWhite
  object Panel1: TPanel
    Left = 10
    Top = 10
    Width = 200
    Height = 100
    BevelInner = bvLowered
    BorderWidth = 2
    Color = clYellow
    Caption = 'Please wait'
    object Inner: TTestPanel
      Align = alClient
      Color = clNavy
    end
  end
  object Panel2: TPanel
    Left = 10
    Top = 120
    Width = 100
    Height = 40
    BevelOuter = bvNone
    BorderStyle = bsSingle
    Color = clLime
  end
end
)";

class PanelTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        RegisterPanelClasses();
        m_form = std::make_unique<TForm>(nullptr);
        (void)ReadComponentText(PANEL_FORM, m_form.get());
        m_panel1 = dynamic_cast<TPanel*>(m_form->FindComponent("Panel1"));
        m_panel2 = dynamic_cast<TPanel*>(m_form->FindComponent("Panel2"));
        m_inner = dynamic_cast<TControl*>(m_form->FindComponent("Inner"));
        ASSERT_TRUE(m_panel1 && m_panel2 && m_inner);
        m_form->Show();
        ASSERT_TRUE(PumpUntil([&] { return Shown(*m_inner, POINT{5, 5}) == Rgb(clNavy); }));
    }
    void TearDown() override
    {
        m_form.reset();
        ControlsFixture::TearDown();
    }

    std::unique_ptr<TForm> m_form;
    TPanel* m_panel1 = nullptr;
    TPanel* m_panel2 = nullptr;
    TControl* m_inner = nullptr;
};

TEST_F(PanelTest, BevelsAndBorderFrameTheAreaTheChildrenAlignIn)
{
    // Raised outer bevel, two pixels of the panel's colour, lowered inner bevel, then the child.
    // The bottom colour takes the bottom-left corner.
    EXPECT_EQ(m_inner->BoundsRect().left, 4);
    EXPECT_EQ(m_inner->BoundsRect().top, 4);
    EXPECT_EQ(m_inner->Width(), 192);
    EXPECT_EQ(m_inner->Height(), 92);

    m_inner->SetVisible(false);
    ASSERT_TRUE(PumpUntil([&] { return Shown(*m_panel1, POINT{50, 20}) == Rgb(clYellow); }));
    const struct {
        POINT at;
        TColor color;
    } pixels[] = {
        {{0, 0}, clBtnHighlight},  {{0, 98}, clBtnHighlight}, {{0, 99}, clBtnShadow},      {{199, 0}, clBtnShadow},
        {{199, 99}, clBtnShadow},  {{1, 1}, clYellow},        {{2, 50}, clYellow},         {{3, 3}, clBtnShadow},
        {{3, 95}, clBtnShadow},    {{3, 96}, clBtnHighlight}, {{196, 3}, clBtnHighlight},  {{196, 96}, clBtnHighlight},
        {{4, 4}, clYellow},
    };
    for (const auto& pixel : pixels)
        EXPECT_EQ(Shown(*m_panel1, pixel.at), Rgb(pixel.color)) << pixel.at.x << "," << pixel.at.y;

    // The caption is centred both ways.
    int ink = 0, inkOffCentre = 0;
    for (int y = 4; y < 96; ++y)
        for (int x = 4; x < 196; ++x) {
            const bool text = Shown(*m_panel1, POINT{x, y}) != Rgb(clYellow);
            ink += text;
            inkOffCentre += text && (y < 35 || y > 65 || x < 40 || x > 160);
        }
    EXPECT_GT(ink, 30);
    EXPECT_EQ(inkOffCentre, 0);
}

TEST_F(PanelTest, ASingleBorderIsAWindowBorderAndNoBevelLeavesTheFaceToTheEdge)
{
    EXPECT_NE(GetWindowLongA(m_panel2->Handle(), GWL_STYLE) & WS_BORDER, 0);
    EXPECT_EQ(m_panel2->ClientWidth(), 98);
    EXPECT_EQ(Shown(*m_panel2, POINT{0, 0}), Rgb(clLime));
    m_panel2->SetBorderStyle(bsNone);
    EXPECT_EQ(GetWindowLongA(m_panel2->Handle(), GWL_STYLE) & WS_BORDER, 0);
    EXPECT_EQ(m_panel2->ClientWidth(), 100);
}

} // namespace
