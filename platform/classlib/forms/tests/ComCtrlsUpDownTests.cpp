#include "ControlsTestClasses.h"
#include "platform/classlib/forms/ComCtrlsUpDown.h"

#include <memory>

namespace {

class UpDownTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        m_form = std::make_unique<TForm>(nullptr);
        m_form->SetBounds(20, 20, 300, 200);
        m_edit = new TTestEditBox(m_form.get());
        m_edit->SetBounds(10, 10, 80, 21);
        m_edit->SetParent(m_form.get());
        m_upDown = new TUpDown(m_form.get());
        m_upDown->SetParent(m_form.get());
        m_upDown->SetMax(3);
        m_upDown->SetPosition(2);
        m_upDown->SetAssociate(m_edit);
        m_upDown->SetOnClick(TUDClickEvent::FromFunction([this](TObject*, TUDBtnType button) {
            m_clicks.push_back(button);
        }));
        m_form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override
    {
        m_form.reset();
        ControlsFixture::TearDown();
    }
    void ClickHalf(bool up)
    {
        const POINT point = InTopLevel(*m_upDown, POINT{m_upDown->Width() / 2, up ? 3 : m_upDown->Height() - 3});
        m_display->InjectClick(Id(*m_form), point);
        Application->ProcessMessages();
    }

    std::unique_ptr<TForm> m_form;
    TTestEditBox* m_edit = nullptr;
    TUpDown* m_upDown = nullptr;
    std::vector<TUDBtnType> m_clicks;
};

TEST_F(UpDownTest, ArrowsStepThePositionIntoTheAssociateAndReportTheButton)
{
    EXPECT_EQ(m_edit->Text(), "2");
    EXPECT_EQ(m_upDown->Left(), m_edit->Left() + m_edit->Width());
    ClickHalf(true);
    EXPECT_EQ(m_upDown->Position(), 3);
    EXPECT_EQ(m_edit->Text(), "3");
    ClickHalf(true);  // at the end: nothing moves, nothing is reported
    ClickHalf(false);
    EXPECT_EQ(m_clicks, (std::vector<TUDBtnType>{btNext, btPrev}));
    EXPECT_EQ(m_edit->Text(), "2");

    m_upDown->SetOnChanging(TUDChangingEvent::FromFunction([](TObject*, bool& allow) { allow = false; }));
    ClickHalf(false);
    EXPECT_EQ(m_upDown->Position(), 2);
    EXPECT_EQ(m_clicks.size(), 2u);

    // Freeing the associate leaves the up-down without one.
    delete m_edit;
    EXPECT_EQ(m_upDown->Associate(), nullptr);
}

} // namespace
