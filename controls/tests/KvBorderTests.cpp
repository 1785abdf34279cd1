#include "KvFormFixture.h"

#include "controls/KvBorder.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"
#include "platform/classlib/forms/ControlsMessages.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class BorderTest : public KvFormFixture {
protected:
    void SetUp() override
    {
        KvFormFixture::SetUp();
        ShowForm();
        m_border = new TKvBorder(m_form.get());
        m_border->SetParent(m_form.get());
        m_border->SetBounds(10, 10, 50, 40);
        Pump();
    }

    TKvBorder* m_border = nullptr;
};

TEST_F(BorderTest, TheFramesArePaintedOnTheirSidesAndTheInsideShowsTheParent)
{
    m_border->SetBorderOuter(fsFlat);
    m_border->SetFlatColor(clRed);
    m_border->SetFlatColorAdjustment(0);
    m_border->SetBorderWidth(2);
    m_border->SetBorderColor(clBlue);
    m_border->SetBorderInner(fsStatus);
    m_border->SetBevelWidth(1);
    m_border->SetBorderShadow(clMaroon);
    m_border->SetBorderHighlight(clLime);
    Pump();
    // Outer flat line, two pixels of border ring, then the status bevel (shadow top-left).
    EXPECT_EQ(Shown(*m_border, POINT{0, 20}), Rgb(clRed));
    EXPECT_EQ(Shown(*m_border, POINT{49, 20}), Rgb(clRed));
    EXPECT_EQ(Shown(*m_border, POINT{1, 20}), Rgb(clBlue));
    EXPECT_EQ(Shown(*m_border, POINT{2, 20}), Rgb(clBlue));
    EXPECT_EQ(Shown(*m_border, POINT{3, 20}), Rgb(clMaroon));
    EXPECT_EQ(Shown(*m_border, POINT{46, 20}), Rgb(clLime));
    EXPECT_EQ(Shown(*m_border, POINT{20, 36}), Rgb(clLime));
    EXPECT_EQ(Shown(*m_border, POINT{20, 20}), Rgb(clBtnFace)) << "nothing fills the inside";

    // Only the top side framed: the left column shows the parent.
    m_border->SetBorderSides(TSides{sdTop});
    Pump();
    EXPECT_EQ(Shown(*m_border, POINT{20, 0}), Rgb(clRed));
    EXPECT_EQ(Shown(*m_border, POINT{0, 20}), Rgb(clBtnFace));
}

TEST_F(BorderTest, TheClientAreaIsWhatTheFramesLeave)
{
    struct Case {
        TFrameStyleEx outer;
        TFrameStyleEx inner;
        int borderWidth;
        int bevelWidth;
        TSides sides;
        TRect expected;
    };
    const Case cases[] = {
        {fsNone, fsNone, 0, 1, AllSides, Rect(0, 0, 50, 40)},
        {fsFlat, fsNone, 0, 1, AllSides, Rect(1, 1, 49, 39)},
        {fsGroove, fsNone, 0, 1, AllSides, Rect(2, 2, 48, 38)},
        {fsFlatBold, fsFlatRounded, 0, 1, AllSides, Rect(4, 4, 46, 36)},
        {fsStatus, fsPopup, 0, 3, AllSides, Rect(6, 6, 44, 34)},
        {fsButtonUp, fsNone, 5, 1, TSides{sdLeft, sdBottom}, Rect(7, 5, 45, 33)},
        {fsRaised, fsLowered, 17, 1, AllSides, Rect(0, 0, 0, 0)}, // inverted: empty
    };
    for (const Case& c : cases) {
        m_border->SetBorderOuter(c.outer);
        m_border->SetBorderInner(c.inner);
        m_border->SetBorderWidth(c.borderWidth);
        m_border->SetBevelWidth(c.bevelWidth);
        m_border->SetBorderSides(c.sides);
        const TRect client = m_border->ClientRect();
        EXPECT_EQ(client.left, c.expected.left) << c.outer << "/" << c.inner << "/" << c.borderWidth;
        EXPECT_EQ(client.top, c.expected.top) << c.outer << "/" << c.inner << "/" << c.borderWidth;
        EXPECT_EQ(client.right, c.expected.right) << c.outer << "/" << c.inner << "/" << c.borderWidth;
        EXPECT_EQ(client.bottom, c.expected.bottom) << c.outer << "/" << c.inner << "/" << c.borderWidth;
    }
}

TEST_F(BorderTest, AControllerThatShowsFramesRestylesTheBorder)
{
    auto* controller = new TKvFrameController(m_form.get());
    controller->SetFrameStyle(fsFlat);
    controller->SetFrameColor(clNavy);
    controller->SetColor(clGray);
    m_border->SetFrameController(controller);
    EXPECT_EQ(m_border->BorderOuter(), fsGroove) << "the controller's frames are not visible";

    controller->SetFrameVisible(true);
    EXPECT_EQ(m_border->BorderOuter(), fsFlat);
    EXPECT_EQ(m_border->FlatColor(), clNavy);
    EXPECT_EQ(m_border->FlatColorAdjustment(), 0);
    EXPECT_EQ(m_border->Color(), clGray);
    EXPECT_EQ(m_border->BorderHighlight(), LightenLuminance(clGray, 100));
    EXPECT_EQ(m_border->BorderShadow(), DarkenLuminance(clGray, 50));
    Pump();
    EXPECT_EQ(Shown(*m_border, POINT{0, 20}), Rgb(clNavy));

    // Only the accepted settings.
    m_border->SetFrameControllerNotifications(TKvFrameControllerNotifications{fcpFrameSides});
    controller->SetFrameStyle(fsBump);
    controller->SetFrameSides(TSides{sdTop});
    EXPECT_EQ(m_border->BorderOuter(), fsFlat);
    EXPECT_EQ(m_border->BorderSides(), TSides{sdTop});
}

TEST_F(BorderTest, MouseEnterAndLeaveFireTheirEvents)
{
    std::string events;
    m_border->SetOnMouseEnter(TNotifyEvent::FromFunction([&](TObject*) { events += "enter "; }));
    m_border->SetOnMouseLeave(TNotifyEvent::FromFunction([&](TObject*) { events += "leave"; }));
    (void)m_border->Perform(CM_MOUSEENTER);
    (void)m_border->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(events, "enter leave");
}

TEST_F(BorderTest, FormDataRoundTrip)
{
    m_border->SetName("Border");
    m_border->SetBorderOuter(fsFlatRounded);
    m_border->SetBorderInner(fsLowered);
    m_border->SetBorderWidth(3);
    m_border->SetBevelWidth(2);
    m_border->SetBorderSides(TSides{sdLeft, sdRight});
    m_border->SetBorderColor(clAqua);
    m_border->SetBorderHighlight(clWhite);
    m_border->SetBorderShadow(clBlack);
    m_border->SetFlatColor(clPurple);
    m_border->SetFlatColorAdjustment(-20);
    m_border->SetFrameControllerNotifications(TKvFrameControllerNotifications{fcpColor, fcpFrameStyle});
    auto* controller = new TKvFrameController(m_form.get());
    controller->SetName("Controller");
    m_border->SetFrameController(controller);
    const std::string written = WriteComponentText(m_form.get());
    EXPECT_EQ(written.find("About"), std::string::npos);

    TForm copy(nullptr);
    (void)ReadComponentText(written, &copy);
    auto* read = dynamic_cast<TKvBorder*>(copy.FindComponent("Border"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->BorderOuter(), fsFlatRounded);
    EXPECT_EQ(read->BorderInner(), fsLowered);
    EXPECT_EQ(read->BorderWidth(), 3);
    EXPECT_EQ(read->BevelWidth(), 2);
    EXPECT_EQ(read->BorderSides(), (TSides{sdLeft, sdRight}));
    EXPECT_EQ(read->BorderColor(), clAqua);
    EXPECT_EQ(read->FlatColor(), clPurple);
    EXPECT_EQ(read->FlatColorAdjustment(), -20);
    EXPECT_EQ(read->FrameControllerNotifications(), (TKvFrameControllerNotifications{fcpColor, fcpFrameStyle}));
    EXPECT_EQ(read->FrameController(), copy.FindComponent("Controller"));
}

} // namespace
