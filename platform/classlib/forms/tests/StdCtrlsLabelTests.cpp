#include "ControlsTestClasses.h"

#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"

#include <memory>

namespace {

constexpr const char* LABEL_FORM = R"(object LabelForm: TForm
  Left = 30
  Top = 30
  ClientWidth = 300
  ClientHeight = 120
  object Label1: TLabel
    Left = 10
    Top = 12
    Caption = '&Phone number:'
    FocusControl = Edit1
  end
  object Label2: TLabel
    Left = 10
    Top = 60
    Width = 200
    Height = 30
    AutoSize = False
    Alignment = taRightJustify
    Layout = tlCenter
    Caption = 'Speed'
    Color = clWindow
    ParentColor = False
  end
  object Edit1: TTestEditBox
    Left = 120
    Top = 10
  end
  object Edit2: TTestEditBox
    Left = 120
    Top = 40
  end
end
)";

class LabelTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        RegisterLabelClasses();
        m_form = std::make_unique<TForm>(nullptr);
        (void)ReadComponentText(LABEL_FORM, m_form.get());
        m_label1 = dynamic_cast<TLabel*>(m_form->FindComponent("Label1"));
        m_label2 = dynamic_cast<TLabel*>(m_form->FindComponent("Label2"));
        m_edit1 = dynamic_cast<TWinControl*>(m_form->FindComponent("Edit1"));
        m_edit2 = dynamic_cast<TWinControl*>(m_form->FindComponent("Edit2"));
        ASSERT_TRUE(m_label1 && m_label2 && m_edit1 && m_edit2);
        m_form->Show();
        ASSERT_TRUE(PumpUntil([&] { return m_form->Showing(); }));
    }
    void TearDown() override
    {
        m_form.reset();
        ControlsFixture::TearDown();
    }
    void AltKey(char letter)
    {
        const std::string text(1, static_cast<char>(letter + ('a' - 'A')));
        m_display->InjectKeyChord(Id(*m_form), static_cast<unsigned>(letter), ModAlt, text);
        Application->ProcessMessages();
    }
    [[nodiscard]] int Ink(TControl& control, std::uint32_t background)
    {
        int ink = 0;
        for (int y = 0; y < control.Height(); ++y)
            for (int x = 0; x < control.Width(); ++x)
                ink += Shown(control, POINT{x, y}) != background;
        return ink;
    }

    std::unique_ptr<TForm> m_form;
    TLabel* m_label1 = nullptr;
    TLabel* m_label2 = nullptr;
    TWinControl* m_edit1 = nullptr;
    TWinControl* m_edit2 = nullptr;
};

TEST_F(LabelTest, ItsAcceleratorFocusesTheFocusControl)
{
    EXPECT_EQ(m_label1->FocusControl(), m_edit1);
    m_edit2->SetFocus();
    AltKey('P');
    ASSERT_TRUE(PumpUntil([&] { return m_edit1->Focused(); }));

    m_edit2->SetFocus();
    m_label1->SetShowAccelChar(false);
    AltKey('P');
    EXPECT_TRUE(m_edit2->Focused());

    // A focus control that goes is forgotten.
    m_label1->SetShowAccelChar(true);
    delete m_edit1;
    EXPECT_EQ(m_label1->FocusControl(), nullptr);
    AltKey('P');
    EXPECT_TRUE(m_edit2->Focused());
}

TEST_F(LabelTest, AutoSizeFitsTheTextAndKeepsTheRightEdgeOfRightJustifiedText)
{
    const int shortWidth = m_label1->Width();
    EXPECT_GT(shortWidth, 40);
    EXPECT_GT(m_label1->Height(), 8);
    EXPECT_LT(m_label1->Height(), 20);
    m_label1->SetCaption("&Phone number of the second line:");
    EXPECT_GT(m_label1->Width(), shortWidth + 40);
    EXPECT_EQ(m_label1->Left(), 10);

    // AutoSize off keeps the bounds; switching it on right-justified keeps the right edge.
    EXPECT_EQ(m_label2->Width(), 200);
    EXPECT_EQ(m_label2->Height(), 30);
    m_label2->SetAutoSize(true);
    EXPECT_EQ(m_label2->BoundsRect().right, 210);
    EXPECT_LT(m_label2->Width(), 100);
}

TEST_F(LabelTest, ItPaintsOpaqueTextAndEmbossesItWhenDisabled)
{
    Application->ProcessMessages();
    const std::uint32_t window = Rgb(clWindow);
    // Right-justified and centred: the text is in the right half, clear of the top and bottom.
    EXPECT_EQ(Shown(*m_label2, POINT{2, 2}), window);
    EXPECT_EQ(Shown(*m_label2, POINT{195, 2}), window);
    int left = 0, right = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 200; ++x)
            (x < 100 ? left : right) += Shown(*m_label2, POINT{x, y}) != window;
    EXPECT_EQ(left, 0);
    EXPECT_GT(right, 20);

    m_label2->SetEnabled(false);
    ASSERT_TRUE(PumpUntil([&] {
        int highlight = 0, shadow = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 100; x < 200; ++x) {
                highlight += Shown(*m_label2, POINT{x, y}) == Rgb(clBtnHighlight);
                shadow += Shown(*m_label2, POINT{x, y}) == Rgb(clBtnShadow);
            }
        return shadow > 10 && highlight > 0;
    }));
}

} // namespace
