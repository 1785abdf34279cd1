#include "ControlsTestClasses.h"
#include "platform/classlib/forms/ComCtrlsCalendar.h"
#include "platform/classlib/forms/ComCtrlsProgressBar.h"
#include "platform/classlib/forms/ComCtrlsTrackBar.h"
#include "platform/classlib/forms/ComCtrlsUpDown.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/winapi/controls/TrackBar.h"

#include <memory>

namespace {

class TrackBarTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        RegisterClasses({TTrackBar::StaticClass(), TProgressBar::StaticClass(), TUpDown::StaticClass(),
                         TMonthCalendar::StaticClass(), TDateTimePicker::StaticClass()});
        m_form = std::make_unique<TForm>(nullptr);
        m_form->SetBounds(20, 20, 400, 300);
        m_track = new TTrackBar(m_form.get());
        m_track->SetParent(m_form.get());
        m_track->SetMax(4);
        m_track->SetPageSize(1);
        m_track->SetOnChange(TNotifyEvent::FromFunction([this](TObject*) { ++m_changes; }));
        m_form->Show();
        Application->ProcessMessages();
    }
    void TearDown() override
    {
        m_form.reset();
        ControlsFixture::TearDown();
    }

    std::unique_ptr<TForm> m_form;
    TTrackBar* m_track = nullptr;
    int m_changes = 0;
};

TEST_F(TrackBarTest, FormDataMakesEveryCommonControlWithItsProperties)
{
    (void)ReadComponentText(R"(object Form1: TForm
  object Vol: TTrackBar
    Max = 4
    PageSize = 1
    Position = 3
    TickMarks = tmBoth
  end
  object Bar: TProgressBar
    Max = 50
    Position = 20
    Smooth = True
  end
  object Edit1: TTestEditBox
    Top = 40
  end
  object Spin: TUpDown
    Associate = Edit1
    Max = 9
    Position = 7
  end
  object Cal: TMonthCalendar
    Top = 80
    Date = 46366
  end
  object Pick: TDateTimePicker
    Top = 250
    Kind = dtkTime
  end
end
)",
                            m_form.get());
    auto* vol = static_cast<TTrackBar*>(m_form->FindComponent("Vol"));
    ASSERT_NE(vol, nullptr);
    EXPECT_EQ(vol->Position(), 3);
    EXPECT_EQ(vol->TickMarks(), tmBoth);
    EXPECT_EQ(SendMessageA(vol->Handle(), TBM_GETPOS, 0, 0), 3);
    EXPECT_NE(GetWindowLongA(vol->Handle(), GWL_STYLE) & TBS_BOTH, 0);
    EXPECT_EQ(static_cast<TProgressBar*>(m_form->FindComponent("Bar"))->Position(), 20);
    auto* spin = static_cast<TUpDown*>(m_form->FindComponent("Spin"));
    EXPECT_EQ(spin->Associate(), m_form->FindComponent("Edit1"));
    (void)spin->Handle();
    EXPECT_EQ(spin->Associate()->Text(), "7");
    EXPECT_EQ(static_cast<TMonthCalendar*>(m_form->FindComponent("Cal"))->Date(), 46366.0);
    EXPECT_EQ(static_cast<TDateTimePicker*>(m_form->FindComponent("Pick"))->Kind(), dtkTime);
}

TEST_F(TrackBarTest, OnChangeFiresWhenThePositionChangesInCodeOrByTheUser)
{
    m_track->SetPosition(3);
    m_track->SetPosition(3);
    EXPECT_EQ(m_changes, 1);
    m_track->SetPosition(9);
    EXPECT_EQ(m_track->Position(), 4);
    EXPECT_EQ(m_changes, 2);

    m_track->SetFocus();
    m_display->InjectKeyPress(Id(*m_form), VK_LEFT);
    ASSERT_TRUE(PumpUntil([&] { return m_track->Position() == 3; }));
    Application->ProcessMessages();
    EXPECT_EQ(m_changes, 3) << "one change for the step, none for the end of the track";

    // Lowering the maximum pulls the position in, which is a change too.
    m_track->SetMax(2);
    EXPECT_EQ(m_track->Position(), 2);
    EXPECT_EQ(m_changes, 4);
}

TEST_F(TrackBarTest, CustomDrawReachesAHookOnTheControlsWindowProc)
{
    // The way a skin paints the thumb itself: it answers the reflected notification.
    std::vector<DWORD_PTR> items;
    const TWndMethod previous = m_track->WindowProc();
    m_track->SetWindowProc([&, previous](TMessage& message) {
        const auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(message.LParam);
        if (message.Msg != CN_NOTIFY || draw->hdr.code != NM_CUSTOMDRAW) {
            previous(message);
            return;
        }
        if (draw->dwDrawStage == CDDS_PREPAINT) {
            message.Result = CDRF_NOTIFYITEMDRAW;
            return;
        }
        items.push_back(draw->dwItemSpec);
        message.Result = draw->dwItemSpec == TBCD_THUMB ? CDRF_SKIPDEFAULT : CDRF_DODEFAULT;
    });
    m_track->Repaint();
    EXPECT_EQ(items, (std::vector<DWORD_PTR>{TBCD_CHANNEL, TBCD_TICS, TBCD_THUMB}));
    RECT thumb{};
    (void)m_track->Perform(TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    EXPECT_EQ(Shown(*m_track, POINT{thumb.left, thumb.top + 3}), Rgb(clBtnFace));
    m_track->SetWindowProc(previous);
}

} // namespace
