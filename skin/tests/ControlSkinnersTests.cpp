#include "SkinTestImages.h"
#include "SkinnedFormFixture.h"

#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/forms/ButtonsBitBtn.h"
#include "platform/classlib/forms/ButtonsSpeedButton.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/winapi/user/Button.h"
#include "skin/SkinBitButton.h"
#include "skin/SkinButton.h"
#include "skin/SkinCheckRadio.h"
#include "skin/SkinScrolling.h"
#include "skin/SkinContainers.h"
#include "platform/classlib/forms/StdCtrlsScrollBar.h"
#include "platform/classlib/forms/StdCtrlsListBox.h"

#include <algorithm>
#include <vector>

namespace {

// The client area's origin in the skinned window: left border 4, caption bar 26.
constexpr POINT ClientOrigin{4, 26};

// A bit button of another library whose picture is its PngImage.
class TPngBitBtn : public TBitBtn {
    CLASSLIB_DECLARE_CLASS;

public:
    explicit TPngBitBtn(TComponent* owner) : TBitBtn(owner) {}
    [[nodiscard]] TBitmap* PngImage() const { return m_picture.get(); }
    void SetPngImage(TBitmap* picture) { m_picture->Assign(picture); }

private:
    std::unique_ptr<TBitmap> m_picture = std::make_unique<TBitmap>();
};

void DescribePngBitBtn(TClassBuilder& c)
{
    c.Object("PngImage", &TPngBitBtn::PngImage, &TPngBitBtn::SetPngImage);
}

// A button that handles its own mouse-down, as a control of another library may.
class TPressRecordingButton : public TButton {
public:
    using TButton::TButton;
    std::vector<POINT> presses;

protected:
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override
    {
        presses.push_back(POINT{x, y});
        TButton::MouseDown(button, shift, x, y);
    }
};

// An edit of another library that draws a frame style of its own over its border.
class TSelfFramedEdit : public TEdit {
    CLASSLIB_DECLARE_CLASS;

public:
    static constexpr COLORREF FRAME = RGB(200, 0, 0);
    explicit TSelfFramedEdit(TComponent* owner) : TEdit(owner) {}
    [[nodiscard]] bool FrameVisible() const { return m_frameVisible; }
    void SetFrameVisible(bool visible) { m_frameVisible = visible; }

protected:
    void WndProc(TMessage& message) override
    {
        if (message.Msg != WM_NCPAINT || !m_frameVisible) {
            TEdit::WndProc(message);
            return;
        }
        const HDC dc = GetWindowDC(Handle());
        const RECT frame{0, 0, Width(), Height()};
        const HBRUSH brush = CreateSolidBrush(FRAME);
        (void)FrameRect(dc, &frame, brush);
        (void)DeleteObject(brush);
        (void)ReleaseDC(Handle(), dc);
        message.Result = 0;
    }

private:
    bool m_frameVisible = false;
};

void DescribeSelfFramedEdit(TClassBuilder& c)
{
    c.Boolean("FrameVisible", &TSelfFramedEdit::FrameVisible, &TSelfFramedEdit::SetFrameVisible).Default(false);
}

// Containers of other libraries that the skin data's Skin3rd list names.
class TOtherRadioGroup : public TGroupBox {
    CLASSLIB_DECLARE_CLASS;

public:
    using TGroupBox::TGroupBox;
};

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TPngBitBtn, TBitBtn, nullptr, DescribePngBitBtn)
CLASSLIB_IMPLEMENT_CLASS(TSelfFramedEdit, TEdit, nullptr, DescribeSelfFramedEdit)
CLASSLIB_IMPLEMENT_CLASS(TOtherRadioGroup, TGroupBox, nullptr, nullptr)

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
    [[nodiscard]] std::uint32_t EdgeOf(const TControl& control) const
    {
        return Shown(At(control, {2, control.Height() / 2}));
    }
    void ExpectFrame(const TControl& control, TButtonFrame frame) const
    {
        EXPECT_EQ(EdgeOf(control), SwapRB(ButtonEdge(frame))) << control.Name() << " frame " << frame;
    }

    // The skinner that skins `control`, if any.
    [[nodiscard]] TSkinControl* SkinnerOf(const TControl& control) const
    {
        for (const auto& skinner : Skinner()->Skinners())
            if (!skinner->IsDead() && skinner->Control() == &control)
                return skinner.get();
        return nullptr;
    }

    // A strip of 16 x 16 glyph cells in the given colours; each cell's bottom-left pixel is the
    // transparent key.
    static std::unique_ptr<TBitmap> GlyphStrip(const std::vector<TColor>& cells)
    {
        return MakeBitmap(16 * static_cast<int>(cells.size()), 16, [&cells](int x, int y) {
            return x % 16 == 0 && y == 15 ? TColor(0xFF00FF) : cells[static_cast<std::size_t>(x / 16)];
        });
    }

    // How a glyph with no disabled cell of its own shows on a disabled button: its shape in the
    // shadow colour over a highlight copy one pixel down and right.
    static std::uint32_t EmbossedShadow() { return SwapRB(GetSysColor(COLOR_3DSHADOW)); }
    static std::uint32_t EmbossedHighlight() { return SwapRB(GetSysColor(COLOR_3DHILIGHT)); }

    // How far right of the box the caption's first ink stands.
    [[nodiscard]] int CaptionGap(const TControl& control, int boxWidth) const
    {
        const std::uint32_t face = Shown(At(control, {control.Width() - 2, 2}));
        for (int x = boxWidth; x < control.Width(); ++x)
            for (int y = 0; y < control.Height(); ++y)
                if (Shown(At(control, {x, y})) != face)
                    return x - boxWidth;
        return -1;
    }

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

TEST_F(ControlSkinnersTest, CheckBoxAndRadioCaptionsStandAsFarFromTheBoxAsPlainOnes)
{
    ShowWithFocusAside();
    TDataSkinButton& buttons = m_data->Elements().Buttons();
    // The plain boxes leave four pixels, and the caption's first letter one more of its own.
    EXPECT_EQ(CaptionGap(*m_check, buttons.CheckButton.Width() / buttons.CheckButtonFrame), 5);
    EXPECT_EQ(CaptionGap(*m_radio, buttons.RadioButton.Width() / buttons.RadioButtonFrame), 5);
}

TEST_F(ControlSkinnersTest, AnEditWithAFrameStyleOfItsOwnKeepsItUnderTheSkin)
{
    auto* edit = new TSelfFramedEdit(m_form.get());
    edit->SetParent(m_form.get());
    edit->SetBounds(200, 60, 100, 22);
    ShowWithFocusAside();
    // Without its own frame the edit wears the skin's: shadow outside, white inside.
    EXPECT_EQ(Shown(At(*edit, {0, 10})), SwapRB(ColorToRGB(m_data->Elements().Colours().ButtonShadow)));
    EXPECT_EQ(Shown(At(*edit, {1, 10})), 0xFFFFFFu);
    edit->SetFrameVisible(true);
    (void)RedrawWindow(edit->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    EXPECT_EQ(Shown(At(*edit, {0, 10})), SwapRB(TSelfFramedEdit::FRAME));
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

TEST_F(ControlSkinnersTest, APressKeepsItsClickThroughALeaveNoticeWhileThePointerStaysOver)
{
    ShowWithFocusAside();
    MoveMouse(At(*m_button, {50, 15}));
    Button(At(*m_button, {50, 15}), true);
    // A late notice, as the leave tracking can send when the press takes the capture.
    (void)SendMessageA(m_button->Handle(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(ShownButtonEdge(), SwapRB(ButtonEdge(bfPressed)));
    Button(At(*m_button, {50, 15}), false);
    EXPECT_EQ(m_clicks, 1);
}

// A window that comes up over the button under the pointer (a message box its click opened)
// takes the pointer: the button is left, and watches for no further leave, which would be
// reported at once and again for ever, leaving no turn for timers and painting.
TEST_F(ControlSkinnersTest, AWindowOverTheButtonEndsItsHoverForGood)
{
    ShowWithFocusAside();
    MoveMouse(At(*m_button, {50, 15}));
    RECT button{};
    ASSERT_TRUE(GetWindowRect(m_button->Handle(), &button));
    const HWND cover = CreateWindowExA(WS_EX_TOPMOST, "BUTTON", "", WS_POPUP | WS_VISIBLE, button.left - 10,
                                       button.top - 10, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(cover, nullptr);
    (void)SendMessageA(m_button->Handle(), WM_MOUSELEAVE, 0, 0);
    MSG pending{};
    EXPECT_FALSE(PeekMessageA(&pending, m_button->Handle(), WM_MOUSELEAVE, WM_MOUSELEAVE, PM_NOREMOVE));
    (void)DestroyWindow(cover);
}

TEST_F(ControlSkinnersTest, GlyphLayoutSharesOutMarginAndSpacing)
{
    TBitmap scratch;
    scratch.SetSize(10, 10);
    const HDC dc = scratch.Canvas()->Handle();
    RECT measured{0, 0, 1000, 100};
    (void)DrawTextA(dc, "Caption", -1, &measured, DT_CALCRECT | DT_WORDBREAK);
    const int text = measured.right;
    struct Row {
        const char* layout;
        int margin, spacing;
        SIZE client;
        const char* caption;
        POINT glyph;
        int textStart; // left edge, or top edge for top and bottom layouts
    };
    const Row rows[] = {
        // Centred with even shares: margin = spacing = free space / 3.
        {"blglyphleft", -1, -1, {16 + text + 54, 30}, "Caption", {18, 7}, 18 + 16 + 18},
        {"blglyphright", 4, 4, {120, 30}, "Caption", {120 - 4 - 16, 7}, 120 - 4 - 16 - 4 - text},
        {"blglyphtop", 3, 2, {100, 60}, "Caption", {42, 3}, 3 + 16 + 2},
        // No caption: no spacing, the glyph alone is centred.
        {"blglyphleft", -1, 4, {100, 30}, "", {42, 7}, 58},
    };
    for (const Row& row : rows) {
        TGlyphLayoutRequest request;
        request.client = row.client;
        request.glyph = SIZE{16, 16};
        request.layout = row.layout;
        request.margin = row.margin;
        request.spacing = row.spacing;
        const TGlyphPlacement place = PlaceGlyph(dc, request, row.caption);
        EXPECT_EQ(place.glyph.x, row.glyph.x) << row.layout << " '" << row.caption << "'";
        EXPECT_EQ(place.glyph.y, row.glyph.y) << row.layout << " '" << row.caption << "'";
        const bool vertical = std::string(row.layout) == "blglyphtop";
        EXPECT_EQ(vertical ? place.text.top : place.text.left, row.textStart) << row.layout;
    }
}

TEST_F(ControlSkinnersTest, ABitButtonShowsItsGlyphCellAndFrameForEachState)
{
    const TColor normal = 0x0000FF, disabled = 0x00C800, pressed = 0xFF0000;
    auto* bit = new TBitBtn(m_form.get());
    bit->SetName("Bit");
    bit->SetParent(m_form.get());
    bit->SetBounds(150, 60, 100, 30);
    bit->SetCaption("Bit");
    bit->SetMargin(4);
    bit->SetGlyph(GlyphStrip({normal, disabled, pressed}).get());
    bit->SetNumGlyphs(3);
    int clicks = 0;
    bit->SetOnClick(TNotifyEvent::FromFunction([&clicks](TObject*) { ++clicks; }));
    ShowWithFocusAside();
    ASSERT_NE(dynamic_cast<TSkinBitButton*>(SkinnerOf(*bit)), nullptr);
    // The glyph sits at the margin, centred across.
    const POINT glyph = At(*bit, {4 + 8, 7 + 8});
    ExpectFrame(*bit, bfNormal);
    EXPECT_EQ(Shown(glyph), SwapRB(normal));
    MoveMouse(At(*bit, {70, 15}));
    ExpectFrame(*bit, bfHot);
    Button(At(*bit, {70, 15}), true);
    ExpectFrame(*bit, bfPressed);
    EXPECT_EQ(Shown(glyph), SwapRB(pressed));
    Button(At(*bit, {70, 15}), false);
    EXPECT_EQ(clicks, 1);
    MoveMouse(At(*m_edit, {5, 5}));
    bit->SetEnabled(false);
    Pump();
    ExpectFrame(*bit, bfDisabled);
    EXPECT_EQ(Shown(glyph), SwapRB(disabled));
    // One cell serves every state: embossed when disabled, as it is when pressed.
    bit->SetGlyph(GlyphStrip({normal}).get());
    bit->SetNumGlyphs(1);
    Pump();
    EXPECT_EQ(Shown(glyph), EmbossedShadow());
    EXPECT_EQ(Shown(At(*bit, {4 + 16, 7 + 16})), EmbossedHighlight());
    bit->SetEnabled(true);
    Pump();
    MoveMouse(At(*bit, {70, 15}));
    Button(At(*bit, {70, 15}), true);
    EXPECT_EQ(Shown(glyph), SwapRB(normal));
    Button(At(*bit, {70, 15}), false);
    EXPECT_EQ(clicks, 2);
}

TEST_F(ControlSkinnersTest, GroupedSpeedButtonsShowDownHotPressedFlatAndDisabled)
{
    const TColor up = 0x0000FF, disabled = 0x00C800, pressed = 0xFF0000, held = 0x00FFFF;
    std::vector<TSpeedButton*> pages;
    std::string clicked;
    for (int i = 0; i < 4; ++i) {
        auto* page = new TSpeedButton(m_form.get());
        page->SetName("Page" + std::to_string(i));
        page->SetParent(m_form.get());
        page->SetBounds(10 + 85 * i, 150, 80, 30);
        page->SetGlyph(GlyphStrip({up, disabled, pressed, held}).get());
        page->SetNumGlyphs(4);
        page->SetGroupIndex(1);
        page->SetOnClick(TNotifyEvent::FromFunction([&clicked, page](TObject*) { clicked += page->Name() + " "; }));
        pages.push_back(page);
    }
    pages[0]->SetDown(true);
    // One more that paints over its parent's picture: painting the parent paints the button
    // again, which must not run into itself.
    auto* overParent = new TSpeedButton(m_form.get());
    overParent->SetParent(m_form.get());
    overParent->SetBounds(10, 200, 80, 30);
    overParent->SetFlat(true);
    overParent->SetTag(ParentBackgroundTag);
    ShowWithFocusAside();
    EXPECT_EQ(EdgeOf(*overParent), SwapRB(ColorToRGB(m_data->Elements().Colours().ButtonFace)));
    MoveMouse(At(*overParent, {10, 15}));
    ExpectFrame(*overParent, bfHot);
    MoveMouse(At(*m_edit, {5, 5}));
    for (TSpeedButton* page : pages)
        ASSERT_NE(dynamic_cast<TSkinSpeedButton*>(SkinnerOf(*page)), nullptr);
    // No caption: the glyph is centred, one pixel on.
    const auto glyphOf = [this](const TControl& page) { return Shown(At(page, {(80 - 16) / 2 + 1 + 8, 7 + 8})); };
    ExpectFrame(*pages[0], bfPressed);
    EXPECT_EQ(glyphOf(*pages[0]), SwapRB(held));
    ExpectFrame(*pages[1], bfNormal);
    EXPECT_EQ(glyphOf(*pages[1]), SwapRB(up));

    const POINT on = At(*pages[1], {10, 15});
    MoveMouse(on);
    ExpectFrame(*pages[1], bfHot);
    Button(on, true);
    ExpectFrame(*pages[1], bfPressed);
    EXPECT_EQ(glyphOf(*pages[1]), SwapRB(pressed));
    Button(on, false);
    EXPECT_EQ(clicked, "Page1 ");
    EXPECT_TRUE(pages[1]->Down());
    EXPECT_FALSE(pages[0]->Down());
    MoveMouse(At(*m_edit, {5, 5}));
    ExpectFrame(*pages[1], bfPressed);
    EXPECT_EQ(glyphOf(*pages[1]), SwapRB(held));
    ExpectFrame(*pages[0], bfNormal);
    EXPECT_EQ(glyphOf(*pages[0]), SwapRB(up));

    // A flat button shows no frame until the mouse is over it.
    pages[3]->SetFlat(true);
    Pump();
    EXPECT_EQ(EdgeOf(*pages[3]), SwapRB(ColorToRGB(m_data->Elements().Colours().ButtonFace)));
    MoveMouse(At(*pages[3], {10, 15}));
    ExpectFrame(*pages[3], bfHot);
    MoveMouse(At(*m_edit, {5, 5}));

    pages[2]->SetEnabled(false);
    Pump();
    ExpectFrame(*pages[2], bfDisabled);
    EXPECT_EQ(glyphOf(*pages[2]), SwapRB(disabled));
    Button(At(*pages[2], {10, 15}), true);
    Button(At(*pages[2], {10, 15}), false);
    EXPECT_EQ(clicked, "Page1 ");

    // A speed button freed while skinned leaves its skinner to be purged.
    TSkinControl* skinner = SkinnerOf(*pages[1]);
    delete pages[1];
    EXPECT_TRUE(skinner->IsDead());
    (void)InvalidateRect(Window(), nullptr, TRUE);
    Pump();
    Skinner()->SkinChildren();
    EXPECT_TRUE(std::none_of(Skinner()->Skinners().begin(), Skinner()->Skinners().end(),
                             [skinner](const auto& kept) { return kept.get() == skinner; }));
}

TEST_F(ControlSkinnersTest, AMenuButtonDrawsItsArrowAndFramesHotAndFocusAlike)
{
    (void)m_data->Skin3rd()->Add("TButton=menubtn");
    ShowWithFocusAside();
    ASSERT_NE(dynamic_cast<TSkinMenuButton*>(SkinnerOf(*m_button)), nullptr);
    const POINT arrow = At(*m_button, {100 - 12, 15});
    EXPECT_EQ(Shown(arrow), SwapRB(ColorToRGB(clWindowText)));
    ExpectFrame(*m_button, bfNormal);
    MoveMouse(At(*m_button, {30, 15}));
    ExpectFrame(*m_button, bfHot);
    Button(At(*m_button, {30, 15}), true);
    ExpectFrame(*m_button, bfPressed);
    Button(At(*m_button, {30, 15}), false);
    EXPECT_EQ(m_clicks, 1);
    MoveMouse(At(*m_edit, {5, 5}));
    ASSERT_TRUE(m_button->Focused());
    ExpectFrame(*m_button, bfHot);
    m_button->SetEnabled(false);
    Pump();
    ExpectFrame(*m_button, bfDisabled);
    EXPECT_EQ(Shown(arrow), SwapRB(ColorToRGB(clBtnShadow)));
}

TEST_F(ControlSkinnersTest, BitAndSpeedButtonsAreSkinnedOnlyWithTheirGates)
{
    auto* bit = new TBitBtn(m_form.get());
    bit->SetParent(m_form.get());
    bit->SetBounds(150, 60, 100, 30);
    auto* speed = new TSpeedButton(m_form.get());
    speed->SetParent(m_form.get());
    speed->SetBounds(150, 150, 80, 30);
    TSkinControlTypes gates = m_data->SkinControls();
    gates.Exclude(xcBitBtn);
    gates.Exclude(xcSpeedButton);
    m_data->SetSkinControls(gates);
    ShowWithFocusAside();
    // A bit button without its gate is not skinned as a plain button either.
    EXPECT_EQ(SkinnerOf(*bit), nullptr);
    EXPECT_EQ(SkinnerOf(*speed), nullptr);
    EXPECT_NE(SkinnerOf(*m_button), nullptr);
}

TEST_F(ControlSkinnersTest, ASkinnerIsDroppedAsSoonAsItsControlGoes)
{
    ShowWithFocusAside();
    const std::size_t settled = Skinner()->Skinners().size();
    const struct {
        const char* what;
        std::function<void(TButton*)> free;
    } cases[] = {
        {"control freed", [](TButton* button) { delete button; }},
        {"window destroyed first", [](TButton* button) {
             button->DestroyHandle();
             delete button;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto* button = new TButton(m_form.get());
        button->SetParent(m_form.get());
        button->SetBounds(150, 150, 80, 24);
        Skinner()->SkinChildren();
        ASSERT_EQ(Skinner()->Skinners().size(), settled + 1);
        c.free(button);
        Pump();
        EXPECT_EQ(Skinner()->Skinners().size(), settled);
    }
}

TEST_F(ControlSkinnersTest, TheApplicationsOnSkinControlChoosesFirst)
{
    std::vector<std::string> asked;
    TSkinControl* handed = nullptr;
    m_data->SetOnSkinControl(TOnSkinControl::FromFunction(
        [&](TObject* sender, TSkinData* data, TControl* parent, TControl* control, const std::string& className,
            std::unique_ptr<TSkinControl>& skinner) {
            EXPECT_EQ(sender, m_form.get());
            EXPECT_EQ(data, m_data);
            EXPECT_EQ(parent, control->Parent());
            asked.push_back(className);
            if (control == m_edit) {
                skinner = std::make_unique<TSkinButton>();
                handed = skinner.get();
            }
        }));
    ShowWithFocusAside();
    EXPECT_NE(std::find(asked.begin(), asked.end(), "TEDIT"), asked.end());
    EXPECT_NE(std::find(asked.begin(), asked.end(), "TBUTTON"), asked.end());
    ASSERT_NE(handed, nullptr);
    EXPECT_EQ(Skinner()->FindSkinner(m_edit->Handle()), handed);
    // What the handler leaves alone is skinned as ever.
    EXPECT_NE(dynamic_cast<TSkinButton*>(Skinner()->FindSkinner(m_button->Handle())), nullptr);
}

TEST_F(ControlSkinnersTest, APngBitButtonShowsThePictureItsPropertyNames)
{
    auto* button = new TPngBitBtn(m_form.get());
    button->SetParent(m_form.get());
    button->SetBounds(150, 150, 120, 30);
    button->SetCaption("Png");
    button->PngImage()->SetPixelFormat(pf24bit);
    button->PngImage()->SetSize(12, 12);
    button->PngImage()->Canvas()->Brush()->SetColor(clRed);
    button->PngImage()->Canvas()->FillRect(Rect(0, 0, 12, 12));
    (void)m_data->Skin3rd()->Add("TPngBitBtn=pngbitbtn");
    ShowWithFocusAside();
    ASSERT_NE(dynamic_cast<TSkinBitButton*>(Skinner()->FindSkinner(button->Handle())), nullptr);
    int red = 0;
    for (int y = 0; y < button->Height(); ++y)
        for (int x = 0; x < button->Width(); ++x)
            red += Shown(At(*button, {x, y})) == 0xFF0000 ? 1 : 0;
    EXPECT_EQ(red, 12 * 12);
}

TEST_F(ControlSkinnersTest, GroupKindsOfTheSkin3rdListSkinTheGroupsChildren)
{
    const auto add = [](TWinControl* parent, auto* control, int top) {
        control->SetParent(parent);
        control->SetBounds(8, top, 120, 24);
        return control;
    };
    const struct {
        const char* kind;
        bool groupSkinned;
    } cases[] = {{"radiogroup", true}, {"checkgroup", true}, {"embedscrollbar", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        TearDown();
        SetUp();
        auto* group = new TOtherRadioGroup(m_form.get());
        group->SetParent(m_form.get());
        group->SetBounds(150, 120, 200, 200);
        (void)m_data->Skin3rd()->Insert(0, std::string("TOtherRadioGroup=") + c.kind);
        auto* radio = add(group, new TRadioButton(m_form.get()), 16);
        auto* check = add(group, new TCheckBox(m_form.get()), 44);
        auto* list = add(group, new TListBox(m_form.get()), 72);
        for (int i = 0; i < 20; ++i)
            (void)list->Items()->Add("Line");
        list->SetHeight(60);
        auto* bar = add(group, new TScrollBar(m_form.get()), 140);
        ShowWithFocusAside();
        const auto kindOf = [this](TWinControl& control) -> const TSkinControl* {
            return Skinner()->FindSkinner(control.Handle());
        };
        EXPECT_EQ(dynamic_cast<const TSkinGroupBox*>(kindOf(*group)) != nullptr, c.groupSkinned);
        // Each kind's own children: the items of a group, the scrolling children of a host.
        const std::string kind = c.kind;
        if (kind == "radiogroup") {
            EXPECT_NE(dynamic_cast<const TSkinRadioButton*>(kindOf(*radio)), nullptr);
        }
        if (kind == "checkgroup") {
            EXPECT_NE(dynamic_cast<const TSkinCheckBox*>(kindOf(*check)), nullptr);
        }
        if (kind == "embedscrollbar") {
            EXPECT_NE(dynamic_cast<const TSkinScrollbar*>(kindOf(*list)), nullptr);
            EXPECT_NE(dynamic_cast<const TSkinScControl*>(kindOf(*bar)), nullptr);
        }
    }
}

TEST_F(ControlSkinnersTest, APressOnASkinnedButtonRunsTheButtonsOwnMouseDown)
{
    auto* button = new TPressRecordingButton(m_form.get());
    button->SetParent(m_form.get());
    button->SetBounds(150, 150, 100, 30);
    int handled = 0;
    button->SetOnMouseDown(TMouseEvent::FromFunction(
        [&handled](TObject*, TMouseButton, TShiftState, int, int) { ++handled; }));
    ShowWithFocusAside();
    ASSERT_EQ(SendMessageA(button->Handle(), WM_SKIN_QUERYSKINNED, 0, 0), 1);
    Button(At(*button, {10, 12}), true);
    Button(At(*button, {10, 12}), false);
    ASSERT_EQ(button->presses.size(), 1u);
    EXPECT_EQ(button->presses[0].x, 10);
    EXPECT_EQ(button->presses[0].y, 12);
    EXPECT_EQ(handled, 1);
}
