#include "ControlsTestClasses.h"

#include "platform/classlib/forms/ExtCtrlsSplitter.h"
#include "platform/classlib/core/FormReader.h"

#include <memory>

namespace {

constexpr const char* SPLITTER_FORM = R"(object SplitterForm: TSplitterTestForm
  Left = 30
  Top = 30
  ClientWidth = 400
  ClientHeight = 200
  object List: TTestPanel
    Width = 100
    Align = alLeft
    Color = clNavy
  end
  object Splitter1: TSplitter
    Left = 100
    MinSize = 40
    ResizeStyle = rsUpdate
    OnMoved = Moved
  end
  object Body: TTestPanel
    Align = alClient
    Color = clYellow
  end
end
)";

// The form whose published handler the splitter's OnMoved is bound to.
class TSplitterTestForm : public TForm {
    CLASSLIB_DECLARE_CLASS;
    explicit TSplitterTestForm(TComponent* owner) : TForm(owner) {}
    int Moves = 0;
    void Moved(TObject*) { ++Moves; }
};

void DescribeSplitterTestForm(TClassBuilder& c) { c.Method("Moved", &TSplitterTestForm::Moved); }

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TSplitterTestForm, TForm, ComponentCreator<TSplitterTestForm>, DescribeSplitterTestForm)

namespace {

class SplitterTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        RegisterSplitterClasses();
        m_form = std::make_unique<TSplitterTestForm>(nullptr);
        (void)ReadComponentText(SPLITTER_FORM, m_form.get());
        m_list = dynamic_cast<TControl*>(m_form->FindComponent("List"));
        m_splitter = dynamic_cast<TSplitter*>(m_form->FindComponent("Splitter1"));
        m_body = dynamic_cast<TControl*>(m_form->FindComponent("Body"));
        ASSERT_TRUE(m_list && m_splitter && m_body);
        m_form->Show();
        ASSERT_TRUE(PumpUntil([&] { return Shown(*m_body, POINT{5, 5}) == Rgb(clYellow); }));
    }
    void TearDown() override
    {
        m_form.reset();
        ControlsFixture::TearDown();
    }
    // Drags the splitter's middle by `dx`, stopping half-way before the release.
    void Drag(int dx)
    {
        const POINT from = InTopLevel(*m_splitter, POINT{1, 100});
        m_display->InjectMouseButton(Id(*m_form), from, MouseButton::Left, true);
        Application->ProcessMessages();
        m_display->InjectMouseMove(Id(*m_form), POINT{from.x + dx / 2, from.y}, ModLeftButton);
        Application->ProcessMessages();
        m_display->InjectMouseMove(Id(*m_form), POINT{from.x + dx, from.y}, ModLeftButton);
        Application->ProcessMessages();
        m_widthBeforeRelease = m_list->Width();
        m_display->InjectMouseButton(Id(*m_form), POINT{from.x + dx, from.y}, MouseButton::Left, false);
        Application->ProcessMessages();
    }

    std::unique_ptr<TSplitterTestForm> m_form;
    TControl* m_list = nullptr;
    TSplitter* m_splitter = nullptr;
    TControl* m_body = nullptr;
    int m_widthBeforeRelease = 0;
};

TEST_F(SplitterTest, DraggingResizesTheNeighbourWithinItsLimits)
{
    EXPECT_EQ(m_splitter->Align(), alLeft);
    EXPECT_EQ(m_splitter->Cursor(), crHSplit);
    Drag(40);
    EXPECT_EQ(m_list->Width(), 140);
    EXPECT_EQ(m_splitter->Left(), 140);
    EXPECT_EQ(m_body->BoundsRect().left, 143);
    EXPECT_EQ(m_form->Moves, 2); // live: once per move

    // No further than leaves the body MinSize.
    Drag(1000);
    EXPECT_EQ(m_list->Width(), 400 - 3 - 40);
    // Down to MinSize and below snaps shut.
    Drag(-1000);
    EXPECT_EQ(m_list->Width(), 0);
    m_splitter->SetAutoSnap(false);
    Drag(1000);
    Drag(-1000);
    EXPECT_EQ(m_list->Width(), 40);
}

TEST_F(SplitterTest, ALineStyleResizesOnRelease)
{
    m_splitter->SetResizeStyle(rsPattern);
    Drag(-30);
    EXPECT_EQ(m_widthBeforeRelease, 100);
    EXPECT_EQ(m_list->Width(), 70);
    EXPECT_EQ(m_form->Moves, 1);
    // The inverted line is gone again.
    ASSERT_TRUE(PumpUntil([&] { return Shown(*m_body, POINT{5, 5}) == Rgb(clYellow); }));
    EXPECT_EQ(Shown(*m_list, POINT{60, 100}), Rgb(clNavy));
}

} // namespace
