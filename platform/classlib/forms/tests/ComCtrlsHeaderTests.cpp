#include "ControlsTestClasses.h"
#include "platform/classlib/forms/ComCtrlsHeader.h"
#include "platform/winapi/controls/Header.h"

#include <vector>

namespace {

class HeaderControlTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        m_form.SetBounds(0, 0, 400, 200);
        m_header = new THeaderControl(&m_form);
        m_header->SetParent(&m_form);
        for (const char* text : {"Name", "Number"}) {
            THeaderSection* section = m_header->Sections()->Add();
            section->SetText(text);
            section->SetWidth(100);
        }
        m_header->SetOnSectionTrack(TSectionTrackEvent::FromFunction(
            [this](THeaderControl*, THeaderSection*, int, TSectionTrackState state) { m_tracks.push_back(state); }));
        m_header->SetOnSectionResize(
            TSectionNotifyEvent::FromFunction([this](THeaderControl*, THeaderSection* section) { m_resized.push_back(section); }));
        m_form.Show();
        Application->ProcessMessages();
    }

    void Drag(int fromX, int toX)
    {
        const WindowId id = Id(m_form);
        m_display->InjectMouseButton(id, InTopLevel(*m_header, {fromX, 5}), MouseButton::Left, true);
        m_display->InjectMouseMove(id, InTopLevel(*m_header, {toX, 5}), ModLeftButton);
        m_display->InjectMouseButton(id, InTopLevel(*m_header, {toX, 5}), MouseButton::Left, false, ModLeftButton);
        Application->ProcessMessages();
    }

    TForm m_form{nullptr};
    THeaderControl* m_header = nullptr;
    std::vector<TSectionTrackState> m_tracks;
    std::vector<THeaderSection*> m_resized;
};

TEST_F(HeaderControlTest, DraggingADividerTracksAndResizesTheSection)
{
    EXPECT_EQ(SendMessageA(m_header->Handle(), HDM_GETITEMCOUNT, 0, 0), 2);
    Drag(100, 140);
    THeaderSection* first = m_header->Sections()->Items(0);
    EXPECT_EQ(first->Width(), 140);
    EXPECT_EQ(m_header->Sections()->Items(1)->Left(), 140);
    ASSERT_GE(m_tracks.size(), 3U);
    EXPECT_EQ(m_tracks.front(), tsTrackBegin);
    EXPECT_EQ(m_tracks.back(), tsTrackEnd);
    ASSERT_FALSE(m_resized.empty());
    EXPECT_EQ(m_resized.back(), first);
}

TEST_F(HeaderControlTest, TheWidthStopsAtTheSectionsLimits)
{
    THeaderSection* first = m_header->Sections()->Items(0);
    first->SetMinWidth(80);
    Drag(100, 30);
    EXPECT_EQ(first->Width(), 80);
    RECT rect{};
    (void)SendMessageA(m_header->Handle(), HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&rect));
    EXPECT_EQ(rect.right, 80);
}

TEST_F(HeaderControlTest, ClicksReachOnSectionClickUnlessTheSectionRefusesThem)
{
    std::vector<THeaderSection*> clicked;
    m_header->SetOnSectionClick(
        TSectionNotifyEvent::FromFunction([&](THeaderControl*, THeaderSection* section) { clicked.push_back(section); }));
    m_display->InjectClick(Id(m_form), InTopLevel(*m_header, {150, 5}));
    Application->ProcessMessages();
    m_header->Sections()->Items(0)->SetAllowClick(false);
    m_display->InjectClick(Id(m_form), InTopLevel(*m_header, {50, 5}));
    Application->ProcessMessages();
    EXPECT_EQ(clicked, (std::vector<THeaderSection*>{m_header->Sections()->Items(1)}));
}

} // namespace
