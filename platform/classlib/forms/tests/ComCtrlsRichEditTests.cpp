#include "ControlsTestClasses.h"

#include "platform/classlib/forms/ComCtrlsRichEdit.h"
#include "platform/winapi/controls/RichEdit.h"

#include <memory>

namespace {

class RichEditControlTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        m_form = std::make_unique<TForm>(nullptr);
        m_form->SetBounds(50, 50, 400, 200);
        m_rich = new TRichEdit(m_form.get());
        m_rich->SetBounds(10, 10, 360, 120);
        m_rich->SetParent(m_form.get());
        m_rich->SetOnChange(TNotifyEvent::FromFunction([this](TObject*) { ++m_changes; }));
    }
    void TearDown() override
    {
        m_form.reset();
        ControlsFixture::TearDown();
    }
    void Colour(int start, int length, TColor color)
    {
        m_rich->SetSelStart(start);
        m_rich->SetSelLength(length);
        m_rich->SelAttributes()->SetColor(color);
    }
    [[nodiscard]] bool Shows(int fromChar, int toChar, std::uint32_t color)
    {
        const auto x = [&](int index) {
            return static_cast<int>(LOWORD(SendMessageA(m_rich->Handle(), EM_POSFROMCHAR, static_cast<WPARAM>(index), 0)));
        };
        for (int px = x(fromChar); px < x(toChar); ++px)
            for (int py = 0; py < 20; ++py)
                if (Shown(*m_rich, POINT{px, py}) == color)
                    return true;
        return false;
    }

    std::unique_ptr<TForm> m_form;
    TRichEdit* m_rich = nullptr;
    int m_changes = 0;
};

TEST_F(RichEditControlTest, SelectionColoursStayWithTheirCharactersOnScreen)
{
    m_form->Show();
    m_rich->Lines()->Add("RRRRGGGGHHHHBBBB");
    Colour(0, 4, static_cast<TColor>(0x0000FF));
    Colour(4, 4, static_cast<TColor>(0x008000));
    Colour(8, 4, static_cast<TColor>(0x008080));
    Colour(12, 4, clBlack);
    m_rich->SetSelStart(1);
    m_rich->SetSelLength(0);
    EXPECT_EQ(m_rich->SelAttributes()->Color(), static_cast<TColor>(0x0000FF));
    m_rich->SetSelStart(13);
    EXPECT_EQ(m_rich->SelAttributes()->Color(), clBlack);
    (void)SetFocus(m_form->Handle());
    ASSERT_TRUE(PumpUntil([&] { return Shows(0, 4, 0xFF0000); }));
    EXPECT_TRUE(Shows(4, 8, 0x008000));
    EXPECT_TRUE(Shows(8, 12, 0x808000));
    EXPECT_TRUE(Shows(12, 16, 0x000000));
    EXPECT_FALSE(Shows(4, 16, 0xFF0000));
}

TEST_F(RichEditControlTest, AttributesFollowTheFontAndReportTheirParts)
{
    m_rich->Font()->SetName("Arial");
    m_rich->Font()->SetSize(14);
    m_rich->SetText("abc");
    m_rich->HandleNeeded();
    EXPECT_EQ(m_rich->DefAttributes()->Name(), "Arial");
    EXPECT_EQ(m_rich->DefAttributes()->Size(), 14);
    m_rich->SelectAll();
    m_rich->SelAttributes()->SetStyle(TFontStyles{fsBold});
    m_rich->SelAttributes()->SetSize(20);
    EXPECT_TRUE(m_rich->SelAttributes()->Style().Contains(fsBold));
    EXPECT_EQ(m_rich->SelAttributes()->Size(), 20);
    EXPECT_EQ(m_rich->SelAttributes()->Color(), clWindowText);
}

TEST_F(RichEditControlTest, ChangesAreReportedOnce)
{
    m_rich->HandleNeeded();
    m_changes = 0;
    m_rich->SetText("one");
    EXPECT_EQ(m_changes, 1);
    m_rich->Lines()->Add("two");
    EXPECT_EQ(m_changes, 2);
    m_rich->SelectAll();
    m_rich->SelAttributes()->SetColor(clRed);
    EXPECT_EQ(m_changes, 2);
    EXPECT_EQ(m_rich->Lines()->Count(), 2);
}

} // namespace
