#include "ControlsTestClasses.h"
#include "tests/support/RowNames.h"

#include <memory>

namespace {

struct AlignCase {
    const char* name;
    std::vector<std::pair<TAlign, TRect>> children; // align and bounds before aligning
    std::vector<TRect> expected;
};

class AlignTest : public ::testing::TestWithParam<AlignCase> {};

TEST_P(AlignTest, ChildrenStackAgainstTheEdgesInTheClassLibraryOrder)
{
    const AlignCase& test = GetParam();
    TTestPanel parent(nullptr);
    parent.SetBounds(0, 0, 200, 100);
    std::vector<std::unique_ptr<TTestPanel>> children;
    parent.DisableAlign();
    for (const auto& [align, bounds] : test.children) {
        children.push_back(std::make_unique<TTestPanel>(nullptr));
        children.back()->SetBoundsRect(bounds);
        children.back()->SetAlign(align);
        children.back()->SetParent(&parent);
    }
    parent.EnableAlign();
    parent.Realign();
    for (std::size_t i = 0; i < children.size(); ++i) {
        const TRect actual = children[i]->BoundsRect();
        const TRect& expected = test.expected[i];
        EXPECT_TRUE(EqualRect(&actual, &expected))
            << test.name << " child " << i << ": " << actual.left << "," << actual.top << "," << actual.right << ","
            << actual.bottom;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, AlignTest,
    ::testing::Values(
        AlignCase{"all five",
                  {{alClient, Rect(0, 0, 10, 10)},
                   {alRight, Rect(0, 0, 40, 10)},
                   {alLeft, Rect(0, 0, 30, 10)},
                   {alBottom, Rect(0, 0, 10, 10)},
                   {alTop, Rect(0, 0, 10, 20)}},
                  {Rect(30, 20, 160, 90), Rect(160, 20, 200, 90), Rect(0, 20, 30, 90), Rect(0, 90, 200, 100),
                   Rect(0, 0, 200, 20)}},
        AlignCase{"tops stack by their top",
                  {{alTop, Rect(0, 50, 10, 60)}, {alTop, Rect(0, 0, 10, 20)}},
                  {Rect(0, 20, 200, 30), Rect(0, 0, 200, 20)}},
        AlignCase{"bottoms stack lowest first",
                  {{alBottom, Rect(0, 10, 10, 30)}, {alBottom, Rect(0, 80, 10, 90)}},
                  {Rect(0, 70, 200, 90), Rect(0, 90, 200, 100)}},
        AlignCase{"lefts and rights by their edge",
                  {{alLeft, Rect(50, 0, 60, 10)}, {alLeft, Rect(0, 0, 20, 10)}, {alRight, Rect(100, 0, 130, 10)},
                   {alRight, Rect(150, 0, 160, 10)}},
                  {Rect(20, 0, 30, 100), Rect(0, 0, 20, 100), Rect(160, 0, 190, 100), Rect(190, 0, 200, 100)}},
        AlignCase{"none stays where it is",
                  {{alNone, Rect(5, 6, 25, 36)}, {alClient, Rect(0, 0, 1, 1)}},
                  {Rect(5, 6, 25, 36), Rect(0, 0, 200, 100)}}),
    [](const auto& info) { return RowName(info.index, info.param.name); });

TEST(AlignRules, ResizingAndHidingRealignAndAnchorsFollowTheParent)
{
    TTestPanel parent(nullptr);
    parent.SetBounds(0, 0, 200, 100);
    auto* top = new TTestPanel(nullptr);
    top->SetHeight(30);
    top->SetAlign(alTop);
    top->SetParent(&parent);
    auto* client = new TTestPanel(nullptr);
    client->SetAlign(alClient);
    client->SetParent(&parent);
    auto* corner = new TTestPanel(nullptr);
    corner->SetBounds(150, 60, 20, 10);
    corner->SetAnchors(TAnchors{akRight, akBottom});
    corner->SetParent(&parent);

    parent.SetBounds(0, 0, 300, 150);
    EXPECT_EQ(top->Width(), 300);
    EXPECT_EQ(client->BoundsRect().bottom, 150);
    EXPECT_EQ(client->Height(), 120);
    EXPECT_EQ(corner->Left(), 250);
    EXPECT_EQ(corner->Top(), 110);
    EXPECT_EQ(corner->Width(), 20);

    top->Hide();
    EXPECT_EQ(client->Top(), 0);
    EXPECT_EQ(client->Height(), 150);
    // The parent frees its children.
}

// Records the CM_ notices a control gets, through a replaced WindowProc that passes everything on.
class NoticeRecorder {
public:
    explicit NoticeRecorder(TControl& control) : m_control(control), m_saved(control.WindowProc())
    {
        control.SetWindowProc([this](TMessage& message) {
            if (message.Msg >= CM_BASE && message.Msg < CN_BASE)
                Notices.push_back(message.Msg);
            m_saved(message);
        });
    }
    ~NoticeRecorder() { m_control.SetWindowProc(m_saved); }
    [[nodiscard]] bool Saw(UINT msg) const { return std::find(Notices.begin(), Notices.end(), msg) != Notices.end(); }
    std::vector<UINT> Notices;

private:
    TControl& m_control;
    TWndMethod m_saved;
};

TEST(ControlNotices, ColourAndFontReachChildrenThatFollowTheirParent)
{
    TTestPanel parent(nullptr);
    auto* follower = new TTestPanel(nullptr);
    follower->SetParent(&parent);
    auto* grandChild = new TTestGraphic(nullptr);
    grandChild->SetParent(follower);
    auto* own = new TTestPanel(nullptr);
    own->SetColor(clLime);
    own->Font()->SetName("Verdana");
    own->SetParent(&parent);
    NoticeRecorder followerNotices(*follower);

    parent.SetColor(clYellow);
    parent.Font()->SetName("Tahoma");
    parent.Font()->SetHeight(-20);

    EXPECT_EQ(follower->Color(), clYellow);
    EXPECT_TRUE(follower->ParentColor());
    EXPECT_EQ(grandChild->Color(), clYellow);
    EXPECT_EQ(own->Color(), clLime);
    EXPECT_FALSE(own->ParentColor());
    EXPECT_EQ(follower->Font()->Name(), "Tahoma");
    EXPECT_EQ(grandChild->Font()->Height(), -20);
    EXPECT_TRUE(grandChild->ParentFont());
    EXPECT_EQ(own->Font()->Name(), "Verdana");
    EXPECT_TRUE(followerNotices.Saw(CM_PARENTCOLORCHANGED));
    EXPECT_TRUE(followerNotices.Saw(CM_PARENTFONTCHANGED));

    // Going back to the parent's values takes them at once.
    own->SetParentColor(true);
    EXPECT_EQ(own->Color(), clYellow);
}

TEST(ControlNotices, EnabledVisibleAndTextChangesAreAnnouncedOnce)
{
    TTestPanel control(nullptr);
    NoticeRecorder notices(control);
    control.SetEnabled(false);
    control.SetEnabled(false);
    control.SetVisible(false);
    control.SetCaption("Hello");
    control.SetCaption("Hello");
    EXPECT_EQ(notices.Notices, (std::vector<UINT>{CM_ENABLEDCHANGED, CM_VISIBLECHANGED, CM_TEXTCHANGED}));
    EXPECT_EQ(control.Caption(), "Hello");
}

TEST(ControlText, AcceleratorsFollowTheAmpersand)
{
    EXPECT_TRUE(IsAccel('O', "&Ok"));
    EXPECT_TRUE(IsAccel('k', "O&K"));
    EXPECT_FALSE(IsAccel('O', "Ok"));
    EXPECT_FALSE(IsAccel('B', "A && B"));
    EXPECT_TRUE(IsAccel('C', "A && &C"));
}

class WindowedControlTest : public ControlsFixture {};

TEST_F(WindowedControlTest, ShowingChangesReachWindowedChildrenAndPaintingFillsTheirColour)
{
    TForm form(nullptr);
    form.SetBounds(50, 50, 300, 200);
    form.SetColor(clNavy);
    auto* panel = new TTestPanel(&form);
    panel->SetBounds(10, 10, 100, 60);
    panel->SetColor(clRed);
    panel->SetParent(&form);
    auto* graphic = new TTestGraphic(&form);
    graphic->SetBounds(20, 20, 30, 30);
    graphic->SetColor(clLime);
    graphic->SetParent(panel);
    NoticeRecorder notices(*panel);

    form.Show();
    ASSERT_TRUE(PumpUntil([&] { return Shown(*graphic, POINT{5, 5}) == Rgb(clLime); }));
    EXPECT_EQ(Shown(*panel, POINT{90, 50}), Rgb(clRed));
    EXPECT_EQ(Shown(form, POINT{200, 150}), Rgb(clNavy));
    EXPECT_TRUE(panel->Showing());
    EXPECT_TRUE(notices.Saw(CM_SHOWINGCHANGED));

    notices.Notices.clear();
    form.Hide();
    EXPECT_FALSE(panel->Showing());
    EXPECT_TRUE(notices.Saw(CM_SHOWINGCHANGED));
}

// Overlapping windowed controls stack as their parent lists them, the later above, also when the
// later one is shown only afterwards; BringToFront puts a control's window on top.
TEST_F(WindowedControlTest, LaterControlsCoverEarlierOnesUntilOneIsBroughtToTheFront)
{
    TForm form(nullptr);
    form.SetBounds(50, 50, 300, 200);
    const auto panel = [&](TColor colour, bool visible) {
        auto* made = new TTestPanel(&form);
        made->SetBounds(10, 10, 120, 80);
        made->SetColor(colour);
        made->SetVisible(visible);
        made->SetParent(&form);
        return made;
    };
    TTestPanel* under = panel(clRed, true);
    TTestPanel* over = panel(clLime, false);
    form.Show();
    Application->ProcessMessages();
    EXPECT_EQ(Shown(form, POINT{60, 50}), Rgb(clRed));
    over->SetVisible(true);
    ASSERT_TRUE(PumpUntil([&] { return Shown(form, POINT{60, 50}) == Rgb(clLime); }));
    EXPECT_EQ(GetWindow(form.Handle(), GW_CHILD), over->Handle());

    under->BringToFront();
    ASSERT_TRUE(PumpUntil([&] { return Shown(form, POINT{60, 50}) == Rgb(clRed); }));
    EXPECT_EQ(GetWindow(form.Handle(), GW_CHILD), under->Handle());
    EXPECT_EQ(form.Controls(1), under);
}

TEST_F(WindowedControlTest, AClickOnAGraphicControlGoesToItAndOnlyInsideCounts)
{
    TForm form(nullptr);
    form.SetBounds(0, 0, 200, 150);
    auto* graphic = new TTestGraphic(&form);
    graphic->SetBounds(40, 40, 50, 30);
    graphic->SetParent(&form);
    form.Show();
    Application->ProcessMessages();

    m_display->InjectClick(Id(form), InTopLevel(*graphic, POINT{10, 10}));
    ASSERT_TRUE(PumpUntil([&] { return graphic->Clicks == 1; }));
    // Pressed inside, released outside: no click.
    m_display->InjectMouseButton(Id(form), InTopLevel(*graphic, POINT{10, 10}), MouseButton::Left, true);
    m_display->InjectMouseButton(Id(form), InTopLevel(*graphic, POINT{100, 100}), MouseButton::Left, false);
    Application->ProcessMessages();
    m_display->InjectClick(Id(form), InTopLevel(form, POINT{5, 5}));
    Application->ProcessMessages();
    EXPECT_EQ(graphic->Clicks, 1);
}

TEST_F(WindowedControlTest, RecreatingTheWindowKeepsTextAndTheHandleMapsToItsControl)
{
    TForm form(nullptr);
    auto* panel = new TTestPanel(&form);
    panel->SetParent(&form);
    panel->SetCaption("Kept");
    const HWND first = panel->Handle();
    EXPECT_EQ(TWinControl::FindControl(first), panel);
    panel->RecreateWnd();
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(TWinControl::FindControl(panel->Handle()), panel);
    EXPECT_EQ(panel->Caption(), "Kept");
    char text[16] = {};
    (void)GetWindowTextA(panel->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "Kept");
}

TEST_F(WindowedControlTest, NotificationsOfAChildWindowAreReflectedToItsControl)
{
    TForm form(nullptr);
    auto* panel = new TTestPanel(&form);
    panel->SetParent(&form);
    const TWndMethod saved = panel->WindowProc();
    std::vector<UINT> reflected;
    panel->SetWindowProc([&](TMessage& message) {
        if (message.Msg >= CN_BASE)
            reflected.push_back(message.Msg);
        saved(message);
    });
    (void)SendMessageA(form.Handle(), WM_COMMAND, 0, reinterpret_cast<LPARAM>(panel->Handle()));
    (void)SendMessageA(form.Handle(), WM_CTLCOLORSTATIC, 0, reinterpret_cast<LPARAM>(panel->Handle()));
    panel->SetWindowProc(saved);
    EXPECT_EQ(reflected, (std::vector<UINT>{CN_COMMAND, CN_CTLCOLORSTATIC}));
}

} // namespace
