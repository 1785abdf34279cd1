#include "controls/KvProgressBar.h"

#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace {

[[nodiscard]] std::uint32_t Rgb(TColor color)
{
    const COLORREF rgb = ColorToRGB(color);
    return (GetRValue(rgb) << 16) | (GetGValue(rgb) << 8) | GetBValue(rgb);
}

// A bar on a shown form of the headless screen; what the screen shows is read back.
class ProgressBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_display = &SelectHeadlessDisplay();
        RegisterKvProgressBarClass();
        m_form = std::make_unique<TForm>(nullptr);
        m_form->SetBounds(20, 20, 300, 300);
        m_form->SetColor(clBtnFace);
        m_bar = new TKvProgressBar(m_form.get());
        m_bar->SetParent(m_form.get());
        m_bar->SetBounds(10, 10, 200, 24);
        m_bar->SetShowPercent(false);
        m_form->Show();
        Pump();
    }
    void TearDown() override { m_form.reset(); }

    void Pump() { Application->ProcessMessages(); }
    [[nodiscard]] std::uint32_t Shown(POINT client) const
    {
        const TPoint screen = m_bar->ClientToScreen(client);
        RECT window{};
        (void)GetWindowRect(m_form->Handle(), &window);
        const auto id = reinterpret_cast<WindowId>(m_form->Handle());
        return m_display->WindowPixel(id, screen.x - window.left, screen.y - window.top).value_or(0xDEADBEEF) &
               0xFFFFFF;
    }
    // Every shown pixel of the bar, row by row.
    [[nodiscard]] std::vector<std::uint32_t> Picture() const
    {
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < m_bar->Height(); ++y)
            for (int x = 0; x < m_bar->Width(); ++x)
                pixels.push_back(Shown(POINT{x, y}));
        return pixels;
    }
    void Show(int percent)
    {
        m_bar->SetPercent(static_cast<std::uint16_t>(percent));
        Pump();
    }

    HeadlessDisplay* m_display = nullptr;
    std::unique_ptr<TForm> m_form;
    TKvProgressBar* m_bar = nullptr;
};

// A point `fraction` of the way along the bar's length, in the middle of its breadth; vertical
// bars run from the bottom.
[[nodiscard]] POINT Along(const TKvProgressBar& bar, double fraction)
{
    if (bar.Orientation() == orHorizontal)
        return POINT{static_cast<LONG>(bar.Width() * fraction), bar.Height() / 2};
    return POINT{bar.Width() / 2, static_cast<LONG>(bar.Height() * (1 - fraction))};
}

TEST_F(ProgressBarTest, SolidAndGradientBarsFillTheirShareAndStopFullAbove100)
{
    struct Case {
        int percent;
        bool quarterLit;
        bool threeQuartersLit;
    };
    const Case cases[] = {{0, false, false}, {50, true, false}, {100, true, true}, {150, true, true}};
    for (const TBarStyle style : {bsTraditional, bsGradient})
        for (const bool vertical : {false, true})
            for (const bool enabled : {true, false})
                for (const Case& c : cases) {
                    m_bar->SetBarStyle(style);
                    m_bar->SetShowPercent(false);
                    // One colour per part, so that every pixel of a part is predictable.
                    m_bar->SetBarColorStop(m_bar->BarColor());
                    m_bar->SetBackColorStop(m_bar->BackColor());
                    m_bar->SetBounds(10, 10, vertical ? 24 : 200, vertical ? 200 : 24);
                    m_bar->SetEnabled(enabled);
                    Show(c.percent);
                    SCOPED_TRACE(testing::Message() << "style " << style << " vertical " << vertical << " enabled "
                                                    << enabled << " percent " << c.percent);
                    const std::uint32_t bar = Rgb(clHighlight);
                    const std::uint32_t back = Rgb(clWhite);
                    EXPECT_EQ(Shown(Along(*m_bar, 0.25)), c.quarterLit ? bar : back);
                    EXPECT_EQ(Shown(Along(*m_bar, 0.75)), c.threeQuartersLit ? bar : back);
                    // The lowered frame stays, whatever the percent.
                    EXPECT_EQ(Shown(POINT{0, 0}), Rgb(clBtnShadow));
                    EXPECT_EQ(Shown(POINT{m_bar->Width() - 1, m_bar->Height() - 1}), Rgb(clBtnHighlight));
                }
}

// A bar of 200 x 24 has 194 pixels for segments inside its frame and offset: 21 segments of 9
// with 2 pixels to spare at each end, starting 3 pixels in.
[[nodiscard]] POINT SegmentCentre(const TKvProgressBar& bar, int segment)
{
    const int along = 3 + 2 + 9 * (segment - 1) + 4;
    if (bar.Orientation() == orHorizontal)
        return POINT{along, bar.Height() / 2};
    return POINT{bar.Width() / 2, bar.Height() - 1 - along};
}

TEST_F(ProgressBarTest, SegmentsLightInProportionAndNeverPastTheFrame)
{
    struct Case {
        int percent;
        int lit;
    };
    const Case cases[] = {{0, 0}, {50, 10}, {100, 21}, {150, 21}, {65535, 21}};
    m_bar->SetBarStyle(bsLED);
    for (const bool vertical : {false, true})
        for (const bool enabled : {true, false})
            for (const Case& c : cases) {
                m_bar->SetBounds(10, 10, vertical ? 24 : 200, vertical ? 200 : 24);
                m_bar->SetEnabled(enabled);
                Show(c.percent);
                SCOPED_TRACE(testing::Message() << "vertical " << vertical << " enabled " << enabled << " percent "
                                                << c.percent);
                for (const int segment : {1, 10, 11, 21})
                    EXPECT_EQ(Shown(SegmentCentre(*m_bar, segment)),
                              segment <= c.lit ? Rgb(clHighlight) : Rgb(clWhite))
                        << "segment " << segment;
                // The far end of the frame and the offset ring inside it.
                const POINT frame = vertical ? POINT{12, 0} : POINT{199, 12};
                const POINT offset = vertical ? POINT{12, 2} : POINT{197, 12};
                EXPECT_EQ(Shown(frame), vertical ? Rgb(clBtnShadow) : Rgb(clBtnHighlight));
                EXPECT_EQ(Shown(offset), Rgb(clWhite));
            }
}

TEST_F(ProgressBarTest, SegmentLayoutFillsTheLength)
{
    struct Case {
        int length;
        int segments;
        controls::detail::TSegmentLayout expected;
    };
    const Case cases[] = {
        {70, 20, {10, 7, 0}},  // a short bar shows ten at most
        {194, 20, {21, 9, 2}}, // the count grows to fill the length
        {200, 20, {20, 10, 0}},
        {5, 20, {10, 0, 2}},   // too short for a segment
    };
    for (const Case& c : cases) {
        const auto layout = controls::detail::LayOutSegments(c.length, c.segments);
        EXPECT_EQ(layout.Count, c.expected.Count) << c.length;
        EXPECT_EQ(layout.Size, c.expected.Size) << c.length;
        EXPECT_EQ(layout.Margin, c.expected.Margin) << c.length;
    }
}

TEST_F(ProgressBarTest, AbovePercent100EveryStyleLooksFullAndTheFigureReadsAsGiven)
{
    for (const TBarStyle style : {bsTraditional, bsLED, bsGradient}) {
        m_bar->SetBarStyle(style);
        m_bar->SetShowPercent(false);
        Show(100);
        const auto full = Picture();
        Show(250);
        EXPECT_EQ(Picture(), full) << "style " << style;
        EXPECT_EQ(m_bar->Percent(), 250);
    }
    // With its figure shown, a bar at 150 reads "150%", not the "100%" of a full bar.
    for (const TBarStyle style : {bsTraditional, bsGradient}) {
        m_bar->SetBarStyle(style);
        m_bar->SetShowPercent(true);
        Show(100);
        const auto hundred = Picture();
        Show(150);
        EXPECT_NE(Picture(), hundred) << "style " << style;
    }
}

TEST_F(ProgressBarTest, TheFigureShowsInTheOtherPartsColour)
{
    m_form->Font()->SetHeight(-14);
    for (const TBarStyle style : {bsTraditional, bsGradient}) {
        m_bar->SetBarStyle(style);
        m_bar->SetShowPercent(true);
        m_bar->SetBarColorStop(m_bar->BarColor());
        m_bar->SetBackColorStop(m_bar->BackColor());
        Show(50);
        // The figure straddles the middle (x = 100). Its smoothed ink is light over the dark bar
        // and dark over the white rest.
        int onBar = 0, onBack = 0, stray = 0;
        for (int y = 2; y < 22; ++y)
            for (int x = 2; x < 198; ++x) {
                const std::uint32_t pixel = Shown(POINT{x, y});
                const bool inBar = x < 100;
                const bool light = (pixel >> 16) > 0x80;
                onBar += inBar && light;
                onBack += !inBar && !light;
                stray += (x < 80 || x > 120) && pixel != (inBar ? Rgb(clHighlight) : Rgb(clWhite));
            }
        EXPECT_GT(onBar, 5) << "style " << style;
        EXPECT_GT(onBack, 5) << "style " << style;
        EXPECT_EQ(stray, 0) << "style " << style;
        m_bar->SetShowPercent(false);
        Show(49);
        Show(50);
        int ink = 0;
        for (int x = 100; x < 120; ++x)
            ink += Shown(POINT{x, 12}) != Rgb(clWhite);
        EXPECT_EQ(ink, 0) << "style " << style;
    }
}

TEST_F(ProgressBarTest, TheGradientRunsFromTheBarColourToItsStop)
{
    m_bar->SetBarStyle(bsGradient);
    m_bar->SetShowPercent(false);
    m_bar->SetBarColor(clRed);
    m_bar->SetBarColorStop(clBlue);
    m_bar->SetBackColor(clLime);
    m_bar->SetBackColorStop(clYellow);
    m_bar->SetGradientDirection(gdHorizontalEnd);
    Show(50);
    // The filled half is rect (2, 2, 100, 22): red at its top, blue at its bottom; the rest runs
    // from lime to yellow.
    const auto red = [](std::uint32_t rgb) { return static_cast<int>(rgb >> 16); };
    const auto blue = [](std::uint32_t rgb) { return static_cast<int>(rgb & 0xFF); };
    EXPECT_GT(red(Shown(POINT{50, 2})), 0xE0);
    EXPECT_LT(blue(Shown(POINT{50, 2})), 0x20);
    EXPECT_LT(red(Shown(POINT{50, 21})), 0x20);
    EXPECT_GT(blue(Shown(POINT{50, 21})), 0xE0);
    EXPECT_LT(red(Shown(POINT{150, 2})), 0x20);
    EXPECT_GT(red(Shown(POINT{150, 21})), 0xE0);
    EXPECT_EQ(Shown(POINT{150, 21}) & 0xFF00, 0xFF00u);
}

TEST_F(ProgressBarTest, AStopOfClDefaultIsTheDefaultStopNotBlack)
{
    m_bar->SetBarStyle(bsGradient);
    m_bar->SetBarColor(clRed);
    m_bar->SetBarColorStop(clDefault);
    m_bar->SetBackColorStop(clDefault);
    m_bar->SetGradientDirection(gdHorizontalEnd);
    Show(50);
    EXPECT_EQ(Shown(POINT{50, 21}), Rgb(clHotLight));
    EXPECT_EQ(Shown(POINT{150, 21}), Rgb(clBtnFace));
}

TEST_F(ProgressBarTest, PartsSetThePercent)
{
    struct Step {
        std::uint32_t total;
        std::uint32_t parts;
        std::uint32_t storedParts;
        int percent;
    };
    const Step steps[] = {
        {3, 2, 2, 67},     // rounded to nearest
        {3, 5, 3, 100},    // more than the total counts as all of it
        {8, 1, 1, 12},     // 12.5 rounds to even
        {8, 3, 3, 38},     // 37.5 rounds to even
        {0, 4, 0, 38},     // no total: the count is cut to 0 and the percent stays
    };
    for (const Step& step : steps) {
        if (step.total != m_bar->TotalParts()) {
            m_bar->SetPercent(99);
            m_bar->SetTotalParts(step.total);
            EXPECT_EQ(m_bar->Percent(), 0) << "a new total starts again";
            m_bar->SetPercent(38);
        }
        m_bar->SetPartsComplete(step.parts);
        EXPECT_EQ(m_bar->PartsComplete(), step.storedParts) << step.total << "/" << step.parts;
        EXPECT_EQ(m_bar->Percent(), step.percent) << step.total << "/" << step.parts;
    }
}

TEST_F(ProgressBarTest, ChangeFiresOncePerNewPercent)
{
    std::vector<int> seen;
    m_bar->SetOnChange(TProgressChangeEvent::FromFunction([&](TObject* sender, int percent) {
        EXPECT_EQ(sender, m_bar);
        seen.push_back(percent);
    }));
    m_bar->SetPercent(10);
    m_bar->SetPercent(10);
    m_bar->SetPercent(300);
    EXPECT_EQ(seen, (std::vector<int>{10, 300}));
}

TEST_F(ProgressBarTest, StyleAndShapeSetTheirDependents)
{
    m_bar->SetBarStyle(bsLED);
    EXPECT_FALSE(m_bar->ShowPercent());
    EXPECT_EQ(m_bar->InteriorOffset(), 1);
    m_bar->SetBarStyle(bsGradient);
    EXPECT_TRUE(m_bar->ShowPercent());
    EXPECT_EQ(m_bar->InteriorOffset(), 0);

    m_bar->SetBarColor(clMaroon);
    EXPECT_EQ(m_bar->Font()->Color(), clMaroon);

    m_bar->SetBounds(10, 10, 20, 100);
    EXPECT_EQ(m_bar->Orientation(), orVertical);
    m_bar->SetBounds(10, 10, 100, 100);
    EXPECT_EQ(m_bar->Orientation(), orHorizontal);
}

constexpr const char* BarForm = R"(object Holder: TForm
  object Progress: TKvProgressBar
    Left = 8
    Top = 8
    Width = 300
    About = 'anything'
    BarStyle = bsGradient
    ShowPercent = False
    TotalParts = 3
    PartsComplete = 2
    Percent = 5
    NumSegments = 12
    BorderOuter = fsFlat
    GradientDirection = gdVerticalBox
  end
end
)";

TEST_F(ProgressBarTest, FormDataLoadsAsWrittenAndWritesBackTheSame)
{
    TForm holder(nullptr);
    (void)ReadComponentText(BarForm, &holder);
    auto* bar = dynamic_cast<TKvProgressBar*>(holder.FindComponent("Progress"));
    ASSERT_NE(bar, nullptr);
    // Read values stand as written: the count does not reset the percent while loading, and a
    // ShowPercent after BarStyle wins.
    EXPECT_EQ(bar->Percent(), 5);
    EXPECT_EQ(bar->PartsComplete(), 2u);
    EXPECT_EQ(bar->TotalParts(), 3u);
    EXPECT_FALSE(bar->ShowPercent());
    EXPECT_EQ(bar->BarStyle(), bsGradient);
    EXPECT_EQ(bar->GradientDirection(), gdVerticalBox);

    const std::string text = WriteComponentText(&holder);
    EXPECT_EQ(text.find("About"), std::string::npos);
    TForm copy(nullptr);
    (void)ReadComponentText(text, &copy);
    EXPECT_EQ(WriteComponentText(&copy), text);
}

} // namespace
