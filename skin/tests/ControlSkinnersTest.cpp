#include "SkinTestImages.h"
#include "SkinnedFormFixture.h"

#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/winapi/user/Button.h"
#include "skin/SkinButton.h"
#include "skin/SkinCheckRadio.h"

#include <vector>

namespace {

// The client area's origin in the skinned window: left border 4, caption bar 26.
constexpr POINT ClientOrigin{4, 26};

} // namespace

class ControlSkinnersTest : public SkinnedFormFixture {
protected:
    void SetUp() override
    {
        SkinnedFormFixture::SetUp();
        m_edit = new TEdit(m_form.get());
        m_edit->SetParent(m_form.get());
        m_edit->SetBounds(200, 10, 100, 22);
        m_button = new TButton(m_form.get());
        m_button->SetParent(m_form.get());
        m_button->SetBounds(20, 20, 100, 30);
        m_button->SetCaption("Press");
        m_button->SetOnClick(TNotifyEvent::FromFunction([this](TObject*) { ++m_clicks; }));
        m_check = new TCheckBox(m_form.get());
        m_check->SetParent(m_form.get());
        m_check->SetBounds(20, 70, 120, 24);
        m_check->SetCaption("Check");
        m_radio = new TRadioButton(m_form.get());
        m_radio->SetParent(m_form.get());
        m_radio->SetBounds(20, 100, 120, 24);
        m_radio->SetCaption("Radio");
    }

    void ShowWithFocusAside()
    {
        ShowSkinned();
        m_edit->SetFocus();
        Pump();
    }

    // A point of a control in the form's whole window.
    static POINT At(const TControl& control, POINT local)
    {
        return POINT{ClientOrigin.x + control.Left() + local.x, ClientOrigin.y + control.Top() + local.y};
    }

    // The Buttons picture's pixel of frame `frame` at a point of its left edge, half way down.
    [[nodiscard]] std::uint32_t ButtonEdge(int frame) const
    {
        TBitmap& image = m_data->Elements().Buttons().Image;
        const int width = image.Width() / 5;
        return static_cast<std::uint32_t>(PixelAt(image, width * (frame - 1) + 2, image.Height() / 2)) & 0xFFFFFF;
    }

    [[nodiscard]] std::uint32_t ShownButtonEdge() const { return Shown(At(*m_button, {2, 15})); }

    // Whether the control's box shows frame `frame` of the picture: every pixel that is not the
    // key colour matches.
    void ExpectBox(const TControl& control, TBitmap& picture, int frames, int frame) const
    {
        const int width = picture.Width() / frames;
        const int top = (control.Height() - picture.Height()) / 2;
        int compared = 0;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < width; ++x) {
                const auto expected = static_cast<std::uint32_t>(PixelAt(picture, width * (frame - 1) + x, y)) & 0xFFFFFF;
                if (expected == 0xFF00FF)
                    continue;
                ++compared;
                ASSERT_EQ(Shown(At(control, {x, top + y})), SwapRB(expected)) << "frame " << frame << " at " << x << "," << y;
            }
        EXPECT_GT(compared, 0);
    }

    // Pictures hold TColor (0xBBGGRR); the screen answers 0xRRGGBB.
    static std::uint32_t SwapRB(std::uint32_t colour)
    {
        return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
    }

    TEdit* m_edit = nullptr;
    TButton* m_button = nullptr;
    TCheckBox* m_check = nullptr;
    TRadioButton* m_radio = nullptr;
    int m_clicks = 0;
};

TEST(CheckFrameIndexTest, EveryLayoutMapsMarksAndDisabledInsideItsFrames)
{
    struct Row {
        TCheckMark mark;
        bool disabled;
        int frames;
        bool radio;
        int expected;
    };
    const Row rows[] = {
        {cmUnchecked, false, 4, false, 1},     {cmChecked, false, 4, false, 2},
        {cmUnchecked, true, 4, false, 3},      {cmChecked, true, 4, false, 4},
        {cmIndeterminate, false, 4, false, 4}, {cmIndeterminate, true, 4, false, 4},
        {cmUnchecked, false, 12, false, 1},    {cmChecked, false, 12, false, 5},
        {cmUnchecked, true, 12, false, 4},     {cmChecked, true, 12, false, 8},
        {cmIndeterminate, false, 12, false, 9}, {cmIndeterminate, true, 12, false, 12},
        {cmUnchecked, false, 8, true, 1},      {cmChecked, false, 8, true, 5},
        {cmUnchecked, true, 8, true, 4},       {cmChecked, true, 8, true, 8},
        {cmChecked, true, 2, false, 2},        {cmChecked, true, 0, false, 1},
        {cmChecked, true, -3, true, 1},
    };
    for (const Row& row : rows)
        EXPECT_EQ(CheckFrameIndex(row.mark, row.disabled, row.frames, row.radio), row.expected)
            << row.mark << " disabled " << row.disabled << " of " << row.frames;
}

TEST(ButtonFrameTest, DisabledOverridesThenPressedHotFocused)
{
    EXPECT_EQ(ButtonFrameOf(true, 0, false), bfNormal);
    EXPECT_EQ(ButtonFrameOf(true, 0, true), bfFocused);
    EXPECT_EQ(ButtonFrameOf(true, TSkinHook::MouseHot, true), bfHot);
    EXPECT_EQ(ButtonFrameOf(true, TSkinHook::MouseHot | TSkinHook::MousePressed, true), bfPressed);
    EXPECT_EQ(ButtonFrameOf(false, TSkinHook::MousePressed, true), bfDisabled);
}

TEST_F(ControlSkinnersTest, TheStandardControlsGetTheirSkinners)
{
    ShowWithFocusAside();
    for (TWinControl* control : std::vector<TWinControl*>{m_button, m_check, m_radio})
        EXPECT_EQ(SendMessageA(control->Handle(), WM_SKIN_QUERYSKINNED, 0, 0), 1) << control->ClassName();
    EXPECT_NE(Skinner()->FindSkinner(m_button->Handle()), nullptr);
}

TEST_F(ControlSkinnersTest, AButtonShowsNormalHotPressedFocusedAndDisabledFrames)
{
    ShowWithFocusAside();
    EXPECT_EQ(ShownButtonEdge(), SwapRB(ButtonEdge(bfNormal)));
    MoveMouse(At(*m_button, {50, 15}));
    EXPECT_EQ(ShownButtonEdge(), SwapRB(ButtonEdge(bfHot)));
    Button(At(*m_button, {50, 15}), true);
    EXPECT_EQ(ShownButtonEdge(), SwapRB(ButtonEdge(bfPressed)));
    Button(At(*m_button, {50, 15}), false);
    EXPECT_EQ(m_clicks, 1);
    EXPECT_EQ(ShownButtonEdge(), SwapRB(ButtonEdge(bfHot)));
    MoveMouse(At(*m_edit, {5, 5}));
    EXPECT_TRUE(m_button->Focused());
    EXPECT_EQ(ShownButtonEdge(), SwapRB(ButtonEdge(bfFocused)));
    m_button->SetEnabled(false);
    Pump();
    EXPECT_EQ(ShownButtonEdge(), SwapRB(ButtonEdge(bfDisabled)));
}

TEST_F(ControlSkinnersTest, APressReleasedAfterLeavingDoesNotClick)
{
    ShowWithFocusAside();
    Button(At(*m_button, {50, 15}), true);
    MoveMouse(At(*m_edit, {5, 5}));
    Button(At(*m_edit, {5, 5}), false);
    EXPECT_EQ(m_clicks, 0);
    EXPECT_NE(ShownButtonEdge(), SwapRB(ButtonEdge(bfPressed)));
}

TEST_F(ControlSkinnersTest, CheckBoxAndRadioButtonToggleByClickAndShowTheirFrames)
{
    ShowWithFocusAside();
    TDataSkinButton& buttons = m_data->Elements().Buttons();
    const int checkFrames = buttons.CheckButtonFrame;
    const int radioFrames = buttons.RadioButtonFrame;
    ExpectBox(*m_check, buttons.CheckButton, checkFrames, CheckFrameIndex(cmUnchecked, false, checkFrames, false));
    ExpectBox(*m_radio, buttons.RadioButton, radioFrames, CheckFrameIndex(cmUnchecked, false, radioFrames, true));

    Button(At(*m_check, {5, 12}), true);
    Button(At(*m_check, {5, 12}), false);
    EXPECT_TRUE(m_check->Checked());
    ExpectBox(*m_check, buttons.CheckButton, checkFrames, CheckFrameIndex(cmChecked, false, checkFrames, false));
    Button(At(*m_radio, {5, 12}), true);
    Button(At(*m_radio, {5, 12}), false);
    EXPECT_TRUE(m_radio->Checked());
    ExpectBox(*m_radio, buttons.RadioButton, radioFrames, CheckFrameIndex(cmChecked, false, radioFrames, true));

    m_check->SetAllowGrayed(true);
    m_check->SetState(cbGrayed);
    m_check->SetEnabled(false);
    m_radio->SetEnabled(false);
    Pump();
    ExpectBox(*m_check, buttons.CheckButton, checkFrames, CheckFrameIndex(cmIndeterminate, true, checkFrames, false));
    ExpectBox(*m_radio, buttons.RadioButton, radioFrames, CheckFrameIndex(cmChecked, true, radioFrames, true));
}

TEST_F(ControlSkinnersTest, SkinningOffForOneControlHandsItBackToItsOwnPainting)
{
    ShowWithFocusAside();
    EXPECT_EQ(SendMessageA(m_button->Handle(), WM_SKIN_ENABLE, 0, 0), 0);
    // Switched off, the query reaches the button itself, which does not know it.
    EXPECT_EQ(SendMessageA(m_button->Handle(), WM_SKIN_QUERYSKINNED, 0, 0), 0);
    (void)SendMessageA(m_button->Handle(), WM_SKIN_ENABLE, 1, 0);
    Pump();
    EXPECT_EQ(SendMessageA(m_button->Handle(), WM_SKIN_QUERYSKINNED, 0, 0), 1);
    EXPECT_EQ(ShownButtonEdge(), SwapRB(ButtonEdge(bfNormal)));
}

TEST_F(ControlSkinnersTest, ARecreatedWindowStaysSkinnedByTheSameSkinner)
{
    ShowWithFocusAside();
    TSkinControl* before = Skinner()->FindSkinner(m_button->Handle());
    ASSERT_NE(before, nullptr);
    const HWND old = m_button->Handle();
    m_button->RecreateWnd();
    Pump();
    ASSERT_NE(m_button->Handle(), old);
    EXPECT_FALSE(before->IsDead());
    EXPECT_EQ(Skinner()->FindSkinner(m_button->Handle()), before);
    EXPECT_EQ(SendMessageA(m_button->Handle(), WM_SKIN_QUERYSKINNED, 0, 0), 1);
    EXPECT_EQ(ShownButtonEdge(), SwapRB(ButtonEdge(bfNormal)));
    MoveMouse(At(*m_button, {50, 15}));
    Button(At(*m_button, {50, 15}), true);
    Button(At(*m_button, {50, 15}), false);
    EXPECT_EQ(m_clicks, 1);
}

TEST_F(ControlSkinnersTest, AControlMovedIntoAPanelKeepsWorking)
{
    ShowWithFocusAside();
    auto* panel = new TPanel(m_form.get());
    panel->SetParent(m_form.get());
    panel->SetBounds(150, 150, 200, 100);
    m_button->SetParent(panel);
    m_button->SetBounds(10, 10, 100, 30);
    Pump();
    EXPECT_EQ(SendMessageA(m_button->Handle(), WM_SKIN_QUERYSKINNED, 0, 0), 1);
    const POINT inside{ClientOrigin.x + 150 + 10 + 50, ClientOrigin.y + 150 + 10 + 15};
    MoveMouse(inside);
    Button(inside, true);
    Button(inside, false);
    EXPECT_EQ(m_clicks, 1);
    TSkinControl* skinner = Skinner()->FindSkinner(m_button->Handle());
    ASSERT_NE(skinner, nullptr);
    delete m_button;
    m_button = nullptr;
    EXPECT_TRUE(skinner->IsDead());
    EXPECT_EQ(skinner->Control(), nullptr);
    Skinner()->SkinChildren();
    Pump();
}

TEST_F(ControlSkinnersTest, CreatingAndFreeingManySkinnedControlsLeavesNoSkinnerBehind)
{
    ShowWithFocusAside();
    const std::size_t settled = Skinner()->Skinners().size();
    for (int round = 0; round < 250; ++round) {
        auto* button = new TButton(m_form.get());
        button->SetParent(m_form.get());
        button->SetBounds(150, 150, 80, 24);
        auto* check = new TCheckBox(m_form.get());
        check->SetParent(m_form.get());
        check->SetBounds(150, 180, 80, 24);
        auto* radio = new TRadioButton(m_form.get());
        radio->SetParent(m_form.get());
        radio->SetBounds(150, 210, 80, 24);
        auto* inner = new TButton(m_form.get());
        inner->SetParent(m_form.get());
        inner->SetBounds(150, 240, 80, 24);
        Skinner()->SkinChildren();
        ASSERT_EQ(SendMessageA(check->Handle(), WM_SKIN_QUERYSKINNED, 0, 0), 1);
        // Freed in turn: by the control's own destructor, by its window going first.
        delete button;
        inner->DestroyHandle();
        delete check;
        delete radio;
        delete inner;
    }
    Skinner()->SkinChildren();
    EXPECT_EQ(Skinner()->Skinners().size(), settled);
}

TEST_F(ControlSkinnersTest, ABareButtonWindowIsSkinnedThroughItsWindowProcedure)
{
    ShowWithFocusAside();
    const HWND bare = CreateWindowExA(0, "BUTTON", "Bare", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 150, 150, 100, 30,
                                      Window(), nullptr, nullptr, nullptr);
    ASSERT_NE(bare, nullptr);
    Skinner()->SkinForeignWindow(bare);
    Pump();
    EXPECT_EQ(SendMessageA(bare, WM_SKIN_QUERYSKINNED, 0, 0), 1);
    EXPECT_EQ(Shown({ClientOrigin.x + 150 + 2, ClientOrigin.y + 150 + 15}), SwapRB(ButtonEdge(bfNormal)));
    TSkinControl* skinner = Skinner()->FindSkinner(bare);
    ASSERT_NE(skinner, nullptr);
    (void)DestroyWindow(bare);
    EXPECT_TRUE(skinner->IsDead());
    Skinner()->SkinChildren();
    EXPECT_EQ(Skinner()->FindSkinner(bare), nullptr);
}
