#include "ControlsTestClasses.h"

#include "platform/classlib/forms/ExtCtrlsShapes.h"

namespace {

class ShapesTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        m_form = std::make_unique<TForm>(nullptr);
        m_form->SetBounds(0, 0, 300, 200);
        m_form->SetColor(clNavy);
    }
    void TearDown() override
    {
        m_form.reset();
        ControlsFixture::TearDown();
    }
    template <class T>
    T* Add(int left, int top, int width, int height)
    {
        auto* control = new T(m_form.get());
        control->SetBounds(left, top, width, height);
        control->SetParent(m_form.get());
        return control;
    }
    // Shows the form and waits until `control`'s pixel at `probe` is painted.
    void ShowAndWait(TControl& control, POINT probe, TColor colour)
    {
        m_form->Show();
        ASSERT_TRUE(PumpUntil([&] { return Shown(control, probe) == Rgb(colour); }));
    }

    std::unique_ptr<TForm> m_form;
};

TEST_F(ShapesTest, ShapesAreOutlinedWithThePenAndFilledWithTheBrush)
{
    struct Case {
        TShapeType shape;
        POINT inside;
        POINT outside; // form colour
        POINT edge;    // pen colour
    };
    const std::vector<Case> cases{
        {stRectangle, {20, 10}, {-1, -1}, {0, 0}},
        {stSquare, {20, 10}, {5, 10}, {10, 10}},
        {stRoundRect, {20, 10}, {0, 0}, {20, 0}},
        {stEllipse, {20, 10}, {1, 1}, {0, 10}},
        {stCircle, {20, 10}, {5, 10}, {10, 10}},
    };
    std::vector<TShape*> shapes;
    int top = 10;
    for (const Case& test : cases) {
        TShape* shape = Add<TShape>(10, top, 40, 20);
        shape->SetShape(test.shape);
        shape->Brush()->SetColor(clRed);
        shape->Pen()->SetColor(clYellow);
        shapes.push_back(shape);
        top += 30;
    }
    ShowAndWait(*shapes.back(), POINT{20, 10}, clRed);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& test = cases[i];
        EXPECT_EQ(Shown(*shapes[i], test.inside), Rgb(clRed)) << i;
        EXPECT_EQ(Shown(*shapes[i], test.edge), Rgb(clYellow)) << i;
        if (test.outside.x >= 0) {
            EXPECT_EQ(Shown(*shapes[i], test.outside), Rgb(clNavy)) << i;
        }
    }

    shapes[0]->Brush()->SetColor(clLime);
    ASSERT_TRUE(PumpUntil([&] { return Shown(*shapes[0], POINT{20, 10}) == Rgb(clLime); })) << "brush changes repaint";
}

TEST_F(ShapesTest, BevelsDrawTheirSidesInShadowAndHighlight)
{
    const std::uint32_t shadow = Rgb(clBtnShadow);
    const std::uint32_t light = Rgb(clBtnHighlight);
    struct Probe {
        POINT at;
        std::uint32_t colour;
    };
    struct Case {
        TBevelShape shape;
        TBevelStyle style;
        std::vector<Probe> probes; // on a 30x20 bevel
    };
    const std::vector<Case> cases{
        {bsBox, bsLowered, {{{0, 10}, shadow}, {{15, 0}, shadow}, {{29, 10}, light}, {{15, 19}, light}}},
        {bsBox, bsRaised, {{{0, 10}, light}, {{29, 10}, shadow}}},
        {bsFrame, bsLowered, {{{0, 10}, shadow}, {{1, 10}, light}, {{28, 10}, shadow}, {{29, 10}, light}}},
        {bsTopLine, bsLowered, {{{15, 0}, shadow}, {{15, 1}, light}, {{15, 10}, Rgb(clNavy)}}},
        {bsBottomLine, bsRaised, {{{15, 18}, light}, {{15, 19}, shadow}}},
        {bsLeftLine, bsLowered, {{{0, 10}, shadow}, {{1, 10}, light}}},
        {bsRightLine, bsLowered, {{{28, 10}, shadow}, {{29, 10}, light}}},
        {bsSpacer, bsLowered, {{{0, 10}, Rgb(clNavy)}}},
    };
    std::vector<TBevel*> bevels;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        TBevel* bevel = Add<TBevel>(10 + 40 * static_cast<int>(i % 6), 10 + 30 * static_cast<int>(i / 6), 30, 20);
        bevel->SetShape(cases[i].shape);
        bevel->SetStyle(cases[i].style);
        bevels.push_back(bevel);
    }
    ShowAndWait(*bevels[0], POINT{0, 10}, clBtnShadow);
    for (std::size_t i = 0; i < cases.size(); ++i)
        for (const Probe& probe : cases[i].probes)
            EXPECT_EQ(Shown(*bevels[i], probe.at), probe.colour)
                << "case " << i << " at " << probe.at.x << "," << probe.at.y;
}

} // namespace
