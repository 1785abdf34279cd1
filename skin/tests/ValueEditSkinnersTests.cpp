#include "SkinTestImages.h"
#include "SkinnedFormFixture.h"

#include "platform/classlib/forms/ComCtrlsCalendar.h"
#include "platform/classlib/forms/ComCtrlsProgressBar.h"
#include "platform/classlib/forms/ComCtrlsTrackBar.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/ComCtrlsUpDown.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/StdCtrlsComboBox.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/winapi/controls/ComboBox.h"
#include "platform/winapi/controls/DateTimePick.h"
#include "platform/winapi/controls/ListBox.h"
#include "platform/winapi/controls/TrackBar.h"
#include "platform/winapi/controls/UpDown.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "skin/SkinComBox.h"
#include "skin/SkinComboList.h"
#include "skin/SkinScrollBar.h"
#include "skin/SkinDateTime.h"
#include "skin/SkinDraw.h"
#include "skin/SkinEdit.h"
#include "skin/SkinPaint.h"
#include "skin/SkinProgress.h"
#include "skin/SkinUpDown.h"

#include <functional>
#include <utility>
#include <string>
#include <vector>

namespace {

// The client area's origin in the skinned window: left border 4, caption bar 26.
constexpr POINT ClientOrigin{4, 26};

// Pictures hold TColor (0xBBGGRR); the screen answers 0xRRGGBB.
std::uint32_t SwapRB(std::uint32_t colour)
{
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

// A colour (system colours resolved) as the screen answers it.
std::uint32_t OnScreen(TColor colour)
{
    return SwapRB(static_cast<std::uint32_t>(ColorToRGB(colour)));
}

TSkinMargins MarginsOf(const TDataSkinObject& element)
{
    return TSkinMargins{element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
}

// A picture of the given size, magenta where nothing is drawn, painted by `draw`.
std::unique_ptr<TBitmap> Expected(int width, int height, const std::function<void(HDC)>& draw)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(width, height);
    const GdiObject<HBRUSH> key(CreateSolidBrush(ColorToRGB(SkinKeyColour)));
    const RECT whole{0, 0, width, height};
    (void)FillRect(bitmap->Canvas()->Handle(), &whole, key.Get());
    draw(bitmap->Canvas()->Handle());
    return bitmap;
}

} // namespace

TEST(ValueSkinnerStateTest, UpDownHalvesShowPressedOrHotOnlyUnderTheCursor)
{
    using H = TSkinHook;
    EXPECT_EQ(UpDownHalfState(true, false, H::MousePressed | H::MouseHot), udsNormal);
    EXPECT_EQ(UpDownHalfState(true, true, 0), udsNormal);
    EXPECT_EQ(UpDownHalfState(true, true, H::MouseHot), udsHot);
    EXPECT_EQ(UpDownHalfState(true, true, H::MousePressed | H::MouseHot), udsPressed);
    EXPECT_EQ(UpDownHalfState(false, true, H::MousePressed), udsDisabled);
}

TEST(ValueSkinnerStateTest, ComboFramesPressedThenFocusOrHoverThenDisabled)
{
    using H = TSkinHook;
    struct Row {
        bool enabled, focused;
        int mouse;
        bool flat;
        int expected;
    };
    const Row rows[] = {
        {true, false, 0, false, 1},           {true, true, 0, false, 4},
        {true, false, H::MouseHot, false, 4}, {true, true, H::MousePressed, false, 2},
        {false, true, H::MousePressed, false, 3}, {false, false, 0, true, 3},
        {false, true, 0, true, 4},            {false, false, H::MousePressed, true, 2},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ComboFrameIndex(row.enabled, row.focused, row.mouse, row.flat), row.expected)
            << row.enabled << row.focused << row.mouse << row.flat;
}

TEST(ValueSkinnerStateTest, ProgressFillsByThePlaceWithinTheWholeRange)
{
    struct Row {
        int length, position, low, high, expected;
    };
    const Row rows[] = {
        {200, 0, 0, 100, 0},    {200, 50, 0, 100, 100}, {200, 100, 0, 100, 200}, {200, 75, 50, 100, 100},
        {200, 50, 50, 100, 0},  {200, 5, 0, 0, 0},      {200, 150, 0, 100, 200}, {200, 5, 10, 0, 0},
        {0, 50, 0, 100, 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(ProgressFillLength(row.length, row.position, row.low, row.high), row.expected)
            << row.position << " in " << row.low << ".." << row.high;
}

class ValueEditSkinnersTest : public SkinnedFormFixture {
protected:
    void SetUp() override
    {
        SkinnedFormFixture::SetUp();
        (void)m_data->Skin3rd()->Add("TProgressBar=progress");
        m_focusTarget = Add<TEdit>(300, 300, 100, 22);
    }

    template <typename T>
    T* Add(int left, int top, int width, int height)
    {
        auto* control = new T(m_form.get());
        control->SetParent(m_form.get());
        control->SetBounds(left, top, width, height);
        return control;
    }

    void ShowWithFocusAside()
    {
        ShowSkinned();
        m_focusTarget->SetFocus();
        Pump();
    }

    // A point of a control in the form's whole window.
    static POINT At(const TControl& control, POINT local)
    {
        return POINT{ClientOrigin.x + control.Left() + local.x, ClientOrigin.y + control.Top() + local.y};
    }

    // Every drawn (not magenta) pixel of `expected` shows at `origin` of the form's window.
    void ExpectShown(POINT origin, TBitmap& expected, const char* what) const
    {
        int compared = 0;
        int wrong = 0;
        expected.SetPixelFormat(pf24bit);
        for (int y = 0; y < expected.Height(); ++y) {
            const auto* row = static_cast<const std::uint8_t*>(expected.ScanLine(y));
            for (int x = 0; x < expected.Width(); ++x) {
                const std::uint8_t* bgr = row + 3 * x;
                const std::uint32_t colour = (std::uint32_t{bgr[2]} << 16) | (std::uint32_t{bgr[1]} << 8) | bgr[0];
                if (colour == 0xFF00FF)
                    continue;
                ++compared;
                if (Shown({origin.x + x, origin.y + y}) != colour && ++wrong <= 3)
                    ADD_FAILURE() << what << ": pixel " << x << "," << y;
            }
        }
        EXPECT_GT(compared, 0) << what;
        EXPECT_EQ(wrong, 0) << what;
    }

    TDataSkinObject& Element(const char* name) const
    {
        TDataSkinObject* element = m_data->Elements().Element(name);
        EXPECT_NE(element, nullptr) << name;
        return *element;
    }

    TEdit* m_focusTarget = nullptr;
};

TEST_F(ValueEditSkinnersTest, ATrackBarShowsTheSkinsChannelAndThumbAndItsThumbDrags)
{
    auto* track = Add<TTrackBar>(20, 20, 200, 30);
    track->SetMax(100);
    ShowWithFocusAside();
    const HWND window = track->Handle();
    RECT channel{};
    (void)SendMessageA(window, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    TDataSkinObject& channelPicture = Element("Track");
    const int offset = (channel.bottom - channel.top - channelPicture.Image.Height()) / 2;
    // The channel's far end at its own size (the thumb covers the near one).
    const int end = channelPicture.RightWidth;
    auto ends = Expected(end, channelPicture.Image.Height(), [&](HDC dc) {
        (void)BitBlt(dc, 0, 0, end, channelPicture.Image.Height(), channelPicture.Image.Canvas()->Handle(),
                     channelPicture.Image.Width() - end, 0, SRCCOPY);
    });
    ExpectShown(At(*track, {channel.right - end, channel.top + offset}), *ends, "channel end");

    const auto expectThumb = [&](const char* what) {
        RECT thumb{};
        (void)SendMessageA(window, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
        auto picture = Expected(thumb.right - thumb.left, thumb.bottom - thumb.top, [&](HDC dc) {
            BlitStripFrame(dc, RECT{0, 0, thumb.right - thumb.left, thumb.bottom - thumb.top}, 5, 2,
                           Element("Trackbar.ThumbHorz").Image);
        });
        ExpectShown(At(*track, {thumb.left, thumb.top}), *picture, what);
        return thumb;
    };
    const RECT before = expectThumb("thumb at 0");
    EXPECT_EQ(Shown(At(*track, {190, 2})), OnScreen(m_data->Elements().Colours().ButtonFace))
        << "the background is the skinned form's face";
    const POINT grip{(before.left + before.right) / 2, (before.top + before.bottom) / 2};
    Button(At(*track, grip), true);
    MoveMouse(At(*track, {grip.x + 60, grip.y}));
    MoveMouse(At(*track, {grip.x + 90, grip.y}));
    Button(At(*track, {grip.x + 90, grip.y}), false);
    EXPECT_GT(track->Position(), 40);
    const RECT after = expectThumb("dragged thumb");
    EXPECT_GT(after.left, before.left + 80);
}

TEST_F(ValueEditSkinnersTest, AVerticalTrackBarUsesTheUprightChannelAndThumb)
{
    auto* track = Add<TTrackBar>(20, 20, 30, 200);
    track->SetOrientation(trVertical);
    ShowWithFocusAside();
    RECT channel{};
    (void)SendMessageA(track->Handle(), TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    const RECT upright{channel.top, channel.left, channel.bottom, channel.right};
    TDataSkinObject& picture = Element("TRACKVERT");
    const int x = upright.left + (upright.right - upright.left - picture.Image.Width()) / 2;
    const int end = picture.BottomHeight;
    auto bottom = Expected(picture.Image.Width(), end, [&](HDC dc) {
        (void)BitBlt(dc, 0, 0, picture.Image.Width(), end, picture.Image.Canvas()->Handle(), 0,
                     picture.Image.Height() - end, SRCCOPY);
    });
    ExpectShown(At(*track, {x, upright.bottom - end}), *bottom, "upright channel's far end");
    RECT thumb{};
    (void)SendMessageA(track->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    auto shown = Expected(thumb.right - thumb.left, thumb.bottom - thumb.top, [&](HDC dc) {
        BlitStripFrame(dc, RECT{0, 0, thumb.right - thumb.left, thumb.bottom - thumb.top}, 5, 2,
                       Element("Trackbar.ThumbVert").Image);
    });
    ExpectShown(At(*track, {thumb.left, thumb.top}), *shown, "upright thumb");
}

TEST_F(ValueEditSkinnersTest, AnUpDownShowsEachHalfsStateAndRepeatsWhileHeld)
{
    auto* upDown = Add<TUpDown>(20, 20, 20, 40);
    upDown->SetMax(1000);
    ShowWithFocusAside();
    TDataSkinBorder& element = *m_data->Elements().BorderElement("UpDown.Vert");
    const auto expectHalves = [&](int upState, int downState, const char* what) {
        auto picture = Expected(20, 40, [&](HDC dc) {
            const RECT up{0, 0, 20, 20};
            const RECT down{0, 20, 20, 40};
            DrawElementFrame(dc, up, element.Image, true, 8, upState);
            DrawElementFrameCentred(dc, up, element.Glyph, true, 8, upState);
            DrawElementFrame(dc, down, element.Image, true, 8, 4 + downState);
            DrawElementFrameCentred(dc, down, element.Glyph, true, 8, 4 + downState);
        });
        ExpectShown(At(*upDown, {0, 0}), *picture, what);
    };
    expectHalves(udsNormal, udsNormal, "normal");
    MoveMouse(At(*upDown, {10, 5}));
    expectHalves(udsHot, udsNormal, "hot up half");
    MoveMouse(At(*upDown, {10, 35}));
    expectHalves(udsNormal, udsHot, "hot down half");
    MoveMouse(At(*upDown, {10, 5}));
    Button(At(*upDown, {10, 5}), true);
    expectHalves(udsPressed, udsNormal, "pressed up half");
    EXPECT_EQ(upDown->Position(), 1);
    for (int tick = 0; tick < 20; ++tick)
        Advance(100);
    EXPECT_GT(upDown->Position(), 5) << "held, the arrow repeats";
    expectHalves(udsPressed, udsNormal, "still pressed");
    Button(At(*upDown, {10, 5}), false);
    const int released = upDown->Position();
    Advance(1000);
    EXPECT_EQ(upDown->Position(), released);
    expectHalves(udsHot, udsNormal, "released under the mouse");
    upDown->SetEnabled(false);
    Pump();
    expectHalves(udsDisabled, udsDisabled, "disabled");
}

TEST_F(ValueEditSkinnersTest, AHorizontalUpDownShowsLeftAndRightHalves)
{
    auto* upDown = Add<TUpDown>(20, 20, 40, 20);
    upDown->SetOrientation(udHorizontal);
    ShowWithFocusAside();
    TDataSkinBorder& element = *m_data->Elements().BorderElement("UpDown.Horz");
    const auto expectHalves = [&](int leftState, int rightState, const char* what) {
        auto picture = Expected(40, 20, [&](HDC dc) {
            for (const auto& [half, frame] : {std::pair{RECT{0, 0, 20, 20}, leftState},
                                              std::pair{RECT{20, 0, 40, 20}, 4 + rightState}}) {
                DrawElementFrame(dc, half, element.Image, true, 8, frame);
                DrawElementFrameCentred(dc, half, element.Glyph, true, 8, frame);
            }
        });
        ExpectShown(At(*upDown, {0, 0}), *picture, what);
    };
    expectHalves(udsNormal, udsNormal, "normal");
    MoveMouse(At(*upDown, {30, 10}));
    expectHalves(udsNormal, udsHot, "hot right half");
}

TEST_F(ValueEditSkinnersTest, AProgressBarFillsFromItsRangesLowerLimit)
{
    auto* bar = Add<TProgressBar>(20, 20, 200, 20);
    bar->SetMin(50);
    bar->SetMax(100);
    bar->SetPosition(50);
    ShowWithFocusAside();
    TDataSkinObject& body = Element("Progress");
    const auto expectFill = [&](int filled, const char* what) {
        auto picture = Expected(200, 20, [&](HDC dc) {
            const GdiObject<HBRUSH> face(CreateSolidBrush(ColorToRGB(m_data->Elements().Colours().ButtonFace)));
            const RECT whole{0, 0, 200, 20};
            (void)FillRect(dc, &whole, face.Get());
            DrawElement(dc, whole, body.Image, false, false, true, body.Frame, 1, MarginsOf(body));
            if (filled > 0)
                DrawElement(dc, RECT{0, 0, filled, 20}, body.Image, false, false, true, body.Frame, 2,
                            MarginsOf(body));
        });
        ExpectShown(At(*bar, {0, 0}), *picture, what);
    };
    expectFill(0, "at the lower limit");
    bar->SetPosition(75);
    Pump();
    expectFill(100, "half way through 50..100");
    bar->SetPosition(100);
    Pump();
    expectFill(200, "full");
}

TEST_F(ValueEditSkinnersTest, AVerticalProgressBarFillsFromTheBottom)
{
    auto* bar = Add<TProgressBar>(20, 20, 20, 200);
    bar->SetOrientation(pbVertical);
    bar->SetPosition(50);
    ShowWithFocusAside();
    // The middle of the body's two frames: empty, then filled.
    TDataSkinObject& body = Element("Progress");
    const auto middle = [&](int frame) {
        const int width = body.Image.Width() / body.Frame;
        const TColor colour = PixelAt(body.Image, width * frame + width / 2, body.Image.Height() / 2);
        return SwapRB(static_cast<std::uint32_t>(colour) & 0xFFFFFF);
    };
    const std::uint32_t empty = middle(0);
    const std::uint32_t filled = middle(1);
    ASSERT_NE(filled, empty);
    EXPECT_EQ(Shown(At(*bar, {10, 150})), filled);
    EXPECT_EQ(Shown(At(*bar, {10, 50})), empty);
}

TEST_F(ValueEditSkinnersTest, AnEditsFlatFrameStaysThroughFocusAndABorderlessEditHasNone)
{
    auto* edit = Add<TEdit>(20, 20, 120, 24);
    auto* bare = Add<TEdit>(20, 60, 120, 24);
    bare->SetBorderStyle(bsNone);
    ShowWithFocusAside();
    const TSkinColours& colours = m_data->Elements().Colours();
    const auto expectFrame = [&](const char* what) {
        EXPECT_EQ(Shown(At(*edit, {0, 12})), OnScreen(colours.ButtonShadow)) << what;
        EXPECT_EQ(Shown(At(*edit, {60, 0})), OnScreen(colours.ButtonShadow)) << what;
        EXPECT_EQ(Shown(At(*edit, {1, 12})), 0xFFFFFFu) << what;
        EXPECT_EQ(Shown(At(*edit, {60, 2})), 0xFFFFFFu) << what;
        EXPECT_EQ(Shown(At(*edit, {119, 12})), OnScreen(colours.ButtonShadow)) << what;
    };
    expectFrame("unfocused");
    Button(At(*edit, {30, 12}), true);
    Button(At(*edit, {30, 12}), false);
    ASSERT_TRUE(edit->Focused());
    expectFrame("focused by a click");
    m_focusTarget->SetFocus();
    Pump();
    expectFrame("focus gone");
    edit->SetBounds(30, 20, 120, 24);
    Pump();
    expectFrame("moved");
    (void)SetWindowPos(edit->Handle(), nullptr, 0, 0, 0, 0,
                       SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    Pump();
    expectFrame("frame changed");
    EXPECT_NE(Shown(At(*bare, {0, 12})), OnScreen(colours.ButtonShadow));
}

TEST_F(ValueEditSkinnersTest, TheSpinBuddyInsideAnEditIsSkinnedEvenAsItsSecondChild)
{
    auto* edit = Add<TEdit>(20, 20, 120, 24);
    ShowWithFocusAside();
    const HWND first = CreateWindowExA(0, "Button", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, edit->Handle(), nullptr,
                                       nullptr, nullptr);
    RegisterUpDownClass();
    const HWND spin = CreateWindowExA(0, UPDOWN_CLASSA, "", WS_CHILD | WS_VISIBLE, 100, 0, 16, 20, edit->Handle(),
                                      nullptr, nullptr, nullptr);
    ASSERT_NE(spin, nullptr);
    (void)first;
    edit->Invalidate();
    Pump();
    auto* skinner = dynamic_cast<TSkinEdit*>(Skinner()->FindSkinner(edit->Handle()));
    ASSERT_NE(skinner, nullptr);
    ASSERT_NE(skinner->SpinSkinner(), nullptr);
    EXPECT_EQ(skinner->SpinSkinner()->Handle(), spin);
    EXPECT_EQ(SendMessageA(spin, WM_SKIN_QUERYSKINNED, 0, 0), 1);
    // 2 pixels inside the edit's top, bottom and right edges, the picture keeps one more pixel
    // away from each, on white.
    TDataSkinBorder& element = *m_data->Elements().BorderElement("UpDown.Vert");
    auto expected = Expected(16, 20, [&](HDC dc) {
        FillRectColor(dc, RECT{0, 0, 16, 20}, clWhite);
        TBitmap halves;
        halves.SetPixelFormat(pf24bit);
        halves.SetSize(15, 18);
        const HDC work = halves.Canvas()->Handle();
        FillRectColor(work, RECT{0, 0, 15, 18}, m_data->Elements().Colours().ButtonFace);
        for (const auto& [half, frame] : {std::pair{RECT{0, 0, 15, 9}, 1}, std::pair{RECT{0, 9, 15, 18}, 5}}) {
            DrawElementFrame(work, half, element.Image, true, 8, frame);
            DrawElementFrameCentred(work, half, element.Glyph, true, 8, frame);
        }
        (void)BitBlt(dc, 0, 1, 15, 18, work, 0, 0, SRCCOPY);
    });
    ExpectShown(At(*edit, {2 + 100, 2}), *expected, "spin buddy inside the edit");
    (void)DestroyWindow(spin);
    EXPECT_TRUE(skinner->SpinSkinner()->IsDead());
}

class ComboSkinnerTest : public ValueEditSkinnersTest {
protected:
    TComboBox* AddCombo(TComboBoxStyle style)
    {
        auto* combo = Add<TComboBox>(20, 20, 150, 22);
        combo->SetStyle(style);
        for (int i = 0; i < 40; ++i)
            (void)combo->Items()->Add("Item " + std::to_string(i));
        return combo;
    }

    // The combo shows frame `frame` of the skin's whole-box combo picture.
    void ExpectComboFrame(const TComboBox& combo, int frame, const char* what) const
    {
        TDataSkinBorder& picture = *m_data->Elements().BorderElement("ComboButton");
        const int width = combo.Width();
        const int height = combo.Height();
        auto expected = Expected(width, height, [&](HDC dc) {
            DrawElement(dc, RECT{0, 0, width, height}, picture.Image, false, picture.Tile == 1, true, picture.Frame,
                        frame, MarginsOf(picture));
        });
        ExpectShown(At(combo, {0, 0}), *expected, what);
    }

    POINT ButtonPoint(const TComboBox& combo) const { return At(combo, {combo.Width() - 8, combo.Height() / 2}); }
};

TEST_F(ComboSkinnerTest, AComboShowsNormalHotPressedFocusedAndDisabledFrames)
{
    auto* combo = AddCombo(csDropDownList);
    ShowWithFocusAside();
    ASSERT_EQ(m_data->Elements().BorderElement("ComboButton")->Style, 2);
    ExpectComboFrame(*combo, 1, "normal");
    MoveMouse(ButtonPoint(*combo));
    ExpectComboFrame(*combo, 4, "hot");
    MoveMouse(At(*m_focusTarget, {5, 5}));
    ExpectComboFrame(*combo, 1, "left again");
    Button(ButtonPoint(*combo), true);
    ASSERT_TRUE(combo->DroppedDown());
    ExpectComboFrame(*combo, 2, "pressed");
    combo->SetDroppedDown(false);
    Pump();
    ASSERT_TRUE(combo->Focused());
    ExpectComboFrame(*combo, 4, "focused");
    combo->SetEnabled(false);
    Pump();
    ExpectComboFrame(*combo, 3, "disabled");
}

TEST_F(ComboSkinnerTest, AComboWithItsButtonAtTheLeftUsesTheMirroredPicture)
{
    auto* combo = AddCombo(csDropDownList);
    ShowWithFocusAside();
    const LONG exStyle = GetWindowLongA(combo->Handle(), GWL_EXSTYLE);
    (void)SetWindowLongA(combo->Handle(), GWL_EXSTYLE, exStyle | WS_EX_LEFTSCROLLBAR);
    combo->Invalidate();
    Pump();
    TDataSkinObject& mirrored = Element("SunkEdge");
    auto expected = Expected(combo->Width(), combo->Height(), [&](HDC dc) {
        DrawElement(dc, RECT{0, 0, combo->Width(), combo->Height()}, mirrored.Image, false, false, true,
                    mirrored.Frame, 1, MarginsOf(mirrored));
    });
    ExpectShown(At(*combo, {0, 0}), *expected, "mirrored");
}

// A simple combo has no button: its edit's edge and its list's take the skin's flat frame, shadow
// outside and face inside, like the other skinned edits; none of the classic edges shows.
TEST_F(ComboSkinnerTest, ASimpleComboFramesItsEditAndItsListInTheSkinsColours)
{
    auto* simple = Add<TComboBox>(20, 20, 150, 120);
    simple->SetStyle(csSimple);
    (void)simple->Items()->Add("one");
    ShowWithFocusAside();
    auto* skinner = dynamic_cast<TSkinComBox*>(Skinner()->FindSkinner(simple->Handle()));
    ASSERT_NE(skinner, nullptr);
    EXPECT_NE(skinner->ListSkinner(), nullptr) << "the simple combo's list has skinned scroll bars";
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(simple->Handle(), &info));
    const TSkinColours& colours = m_data->Elements().Colours();
    const auto list = [&](POINT point) {
        return At(*simple, {point.x, info.rcItem.bottom + point.y});
    };
    const auto expectFrames = [&](const char* when) {
        for (const POINT shadow : {At(*simple, {0, 0}), At(*simple, {149, info.rcItem.bottom - 1}), list({0, 0}),
                                   list({149, simple->Height() - info.rcItem.bottom - 1})})
            EXPECT_EQ(Shown(shadow), SwapRB(ColorToRGB(colours.ButtonShadow) & 0xFFFFFF))
                << when << " " << shadow.x << "," << shadow.y;
        for (const POINT face : {At(*simple, {1, 1}), list({1, 1})})
            EXPECT_EQ(Shown(face), SwapRB(ColorToRGB(colours.ButtonFace) & 0xFFFFFF))
                << when << " " << face.x << "," << face.y;
    };
    expectFrames("shown");
    simple->Invalidate();
    Pump();
    expectFrames("the combo painted again");
    // The list hides when too short for a row and shows again when the combo grows.
    simple->SetHeight(info.rcItem.bottom + 4);
    Pump();
    simple->SetHeight(80);
    Pump();
    expectFrames("grown again");
    simple->SetVisible(false);
    Pump();
    simple->SetVisible(true);
    Pump();
    expectFrames("shown again");
}

TEST_F(ComboSkinnerTest, ARecreatedComboIsStillSkinnedAndFollowsItsNewInnerWindows)
{
    auto* combo = AddCombo(csDropDown);
    ShowWithFocusAside();
    TSkinControl* skinner = Skinner()->FindSkinner(combo->Handle());
    ASSERT_NE(skinner, nullptr);
    combo->RecreateWnd();
    Pump();
    EXPECT_EQ(Skinner()->FindSkinner(combo->Handle()), skinner);
    ExpectComboFrame(*combo, 1, "recreated");
    const HWND edit = GetTopWindow(combo->Handle());
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(SendMessageA(edit, WM_SKIN_QUERYSKINNED, 0, 0), 1) << "the new edit is hooked";
}

TEST_F(ValueEditSkinnersTest, ADateTimePickerGetsAFlatBorderAndTheSkinsButton)
{
    (void)m_data->Skin3rd()->Add("TDateTimePicker=datetimepicker");
    auto* picker = Add<TDateTimePicker>(20, 20, 150, 24);
    ShowWithFocusAside();
    auto* skinner = dynamic_cast<TSkinDateTime*>(Skinner()->FindSkinner(picker->Handle()));
    ASSERT_NE(skinner, nullptr);
    TArrowButton* button = skinner->Button();
    ASSERT_NE(button, nullptr);
    const int arrow = GetSystemMetrics(SM_CXHSCROLL);
    EXPECT_EQ(button->Left(), 150 - arrow - 4);
    EXPECT_EQ(button->Width(), arrow);
    EXPECT_EQ(button->Height(), picker->ClientHeight()) << "covering the picker's own button";
    const std::uint32_t shadow = OnScreen(m_data->Elements().Colours().ButtonShadow);
    EXPECT_EQ(Shown(At(*picker, {0, 12})), shadow);
    EXPECT_EQ(Shown(At(*picker, {1, 12})), 0xFFFFFFu);
    TDataSkinObject& picture = Element("ComboxArrow");
    // The button sits in the picker's client area, inside its 2-pixel edge.
    const POINT origin = At(*picker, {2 + button->Left(), 2 + button->Top()});
    const auto expectButton = [&](int frame, const char* what) {
        auto expected = Expected(arrow, button->Height(), [&](HDC dc) {
            DrawElementFrame(dc, RECT{0, 0, arrow, button->Height()}, picture.Image, false, picture.Frame, frame);
        });
        ExpectShown(origin, *expected, what);
    };
    expectButton(1, "normal");
    MoveMouse({origin.x + 5, origin.y + 5});
    expectButton(4, "hot");
    Button({origin.x + 5, origin.y + 5}, true);
    Button({origin.x + 5, origin.y + 5}, false);
    EXPECT_TRUE(picker->Focused());
    EXPECT_NE(SendMessageA(picker->Handle(), DTM_GETMONTHCAL, 0, 0), 0) << "the click opened the picker's calendar";
    m_display->InjectKeyPress(reinterpret_cast<WindowId>(Window()), VK_ESCAPE);
    Pump();
    picker->RecreateWnd();
    Pump();
    EXPECT_EQ(button->ParentWindow(), picker->Handle());
    delete picker;
    Pump();
    for (const auto& listed : Skinner()->Skinners())
        EXPECT_NE(listed.get(), skinner);
}

TEST(ComboListThumbTest, PositionsStayWithinTheListsRange)
{
    struct Row {
        int offset, track, thumb, min, max, page, expected;
    };
    const Row rows[] = {
        {-20, 100, 20, 0, 39, 10, 0},  {0, 100, 20, 0, 39, 10, 0},    {40, 100, 20, 0, 39, 10, 15},
        {80, 100, 20, 0, 39, 10, 30},  {500, 100, 20, 0, 39, 10, 30}, {500, 100, 20, 0, 39, 0, 39},
        {50, 100, 0, 0, 40, 0, 20},    {50, 20, 20, 0, 39, 10, 0},    {50, 0, 0, 0, 39, 0, 0},
    };
    for (const Row& row : rows) {
        SCROLLINFO info{};
        info.nMin = row.min;
        info.nMax = row.max;
        info.nPage = static_cast<UINT>(row.page);
        EXPECT_EQ(ComboListThumbPosition(row.offset, row.track, row.thumb, info), row.expected)
            << row.offset << " on " << row.track << " page " << row.page;
    }
}

TEST_F(ComboSkinnerTest, ADroppedListShowsTheSkinsScrollBarAndItsThumbDrags)
{
    auto* combo = AddCombo(csDropDownList);
    ShowWithFocusAside();
    auto* skinner = dynamic_cast<TSkinComBox*>(Skinner()->FindSkinner(combo->Handle()));
    ASSERT_NE(skinner, nullptr);
    ASSERT_NE(dynamic_cast<TComboxScrollBar*>(skinner->ListSkinner()), nullptr);
    Button(ButtonPoint(*combo), true);
    Button(ButtonPoint(*combo), false);
    ASSERT_TRUE(combo->DroppedDown());
    const HWND list = skinner->ListSkinner()->Handle();
    const auto listId = reinterpret_cast<WindowId>(list);
    RECT window{};
    (void)GetWindowRect(list, &window);
    const auto expectBar = [&](const char* what) -> SCROLLBARINFO {
        SCROLLBARINFO info{};
        info.cbSize = sizeof info;
        EXPECT_TRUE(GetScrollBarInfo(list, OBJID_VSCROLL, &info));
        TBarPicture bar;
        bar.bar = info.rcScrollBar;
        bar.thumbStart = info.xyThumbTop;
        bar.thumbEnd = info.xyThumbBottom;
        bar.arrow = GetSystemMetrics(SM_CXHSCROLL);
        bar.surface = SIZE{window.right - window.left, window.bottom - window.top};
        TBitmap picture;
        EXPECT_TRUE(DrawBarPicture(*m_data, bar, picture));
        const POINT at{info.rcScrollBar.left - window.left, info.rcScrollBar.top - window.top};
        int wrong = 0;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) {
                const auto colour = SwapRB(static_cast<std::uint32_t>(PixelAt(picture, x, y)) & 0xFFFFFF);
                if ((m_display->WindowPixel(listId, at.x + x, at.y + y).value_or(0) & 0xFFFFFF) != colour)
                    ++wrong;
            }
        EXPECT_EQ(wrong, 0) << what;
        return info;
    };
    const SCROLLBARINFO before = expectBar("dropped");
    const POINT thumb{(before.rcScrollBar.left + before.rcScrollBar.right) / 2 - window.left,
                      before.rcScrollBar.top + (before.xyThumbTop + before.xyThumbBottom) / 2 - window.top};
    // The drag is queued whole: the bar follows it in a loop of its own.
    m_display->InjectMouseButton(listId, thumb, MouseButton::Left, true);
    m_display->InjectMouseMove(listId, POINT{thumb.x, thumb.y + 30});
    m_display->InjectMouseMove(listId, POINT{thumb.x, thumb.y + 60});
    m_display->InjectMouseButton(listId, POINT{thumb.x, thumb.y + 60}, MouseButton::Left, false);
    Pump();
    EXPECT_TRUE(combo->DroppedDown()) << "the list stays open";
    EXPECT_GT(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0);
    const SCROLLBARINFO after = expectBar("dragged");
    EXPECT_GT(after.xyThumbTop, before.xyThumbTop);
    m_display->InjectKeyPress(reinterpret_cast<WindowId>(Window()), VK_ESCAPE);
    Pump();
    EXPECT_FALSE(combo->DroppedDown());
}

TEST_F(ComboSkinnerTest, CreatingRecreatingAndFreeingManySkinnedControlsLeavesNoSkinnerBehind)
{
    (void)m_data->Skin3rd()->Add("TDateTimePicker=datetimepicker");
    ShowWithFocusAside();
    const std::size_t settled = Skinner()->Skinners().size();
    for (int round = 0; round < 170; ++round) {
        std::vector<TWinControl*> controls{
            Add<TTrackBar>(150, 10, 100, 30), Add<TUpDown>(150, 50, 20, 40),   Add<TProgressBar>(150, 100, 100, 20),
            Add<TEdit>(150, 130, 100, 22),    AddCombo(csDropDownList),       Add<TDateTimePicker>(150, 160, 120, 24),
        };
        Skinner()->SkinChildren();
        for (TWinControl* control : controls)
            ASSERT_NE(Skinner()->FindSkinner(control->Handle()), nullptr) << control->ClassName();
        if (round % 3 == 1) {
            // Recreated, each keeps its skinner.
            for (TWinControl* control : controls) {
                TSkinControl* skinner = Skinner()->FindSkinner(control->Handle());
                control->RecreateWnd();
                ASSERT_EQ(Skinner()->FindSkinner(control->Handle()), skinner) << control->ClassName();
            }
            Pump();
        }
        if (round % 2 == 0) {
            // Windows first, then the controls; or the controls straight away.
            for (TWinControl* control : controls)
                control->DestroyHandle();
        }
        for (TWinControl* control : controls)
            delete control;
    }
    Skinner()->SkinChildren();
    EXPECT_EQ(Skinner()->Skinners().size(), settled);
}

TEST_F(ComboSkinnerTest, SkinnedControlsMovedIntoAPanelKeepTheirSkinners)
{
    auto* combo = AddCombo(csDropDownList);
    auto* track = Add<TTrackBar>(20, 60, 200, 30);
    ShowWithFocusAside();
    TSkinControl* comboSkinner = Skinner()->FindSkinner(combo->Handle());
    TSkinControl* trackSkinner = Skinner()->FindSkinner(track->Handle());
    auto* panel = Add<TPanel>(10, 120, 300, 120);
    combo->SetParent(panel);
    track->SetParent(panel);
    Pump();
    EXPECT_EQ(Skinner()->FindSkinner(combo->Handle()), comboSkinner);
    EXPECT_EQ(Skinner()->FindSkinner(track->Handle()), trackSkinner);
    // The combo in the panel still shows the skin's picture, hot under the mouse.
    const POINT origin{ClientOrigin.x + panel->Left() + combo->Left(), ClientOrigin.y + panel->Top() + combo->Top()};
    MoveMouse({origin.x + combo->Width() - 8, origin.y + combo->Height() / 2});
    TDataSkinBorder& picture = *m_data->Elements().BorderElement("ComboButton");
    auto expected = Expected(combo->Width(), combo->Height(), [&](HDC dc) {
        DrawElement(dc, RECT{0, 0, combo->Width(), combo->Height()}, picture.Image, false, picture.Tile == 1, true,
                    picture.Frame, 4, MarginsOf(picture));
    });
    ExpectShown(origin, *expected, "hot in the panel");
    Button({origin.x + combo->Width() - 8, origin.y + combo->Height() / 2}, true);
    Button({origin.x + combo->Width() - 8, origin.y + combo->Height() / 2}, false);
    EXPECT_TRUE(combo->DroppedDown());
    combo->SetDroppedDown(false);
    Pump();
}

TEST_F(ValueEditSkinnersTest, AChunkStyleProgressBarShowsTheSkinsChunksOverItsFilledPart)
{
    auto* bar = Add<TProgressBar>(20, 20, 200, 20);
    bar->SetPosition(50);
    ShowWithFocusAside();
    TDataSkinObject& body = Element("Progress");
    body.Style = 1;
    bar->Invalidate();
    Pump();
    TDataSkinObject& chunk = Element("Progress.Chunk");
    ASSERT_EQ(chunk.Tile, 1);
    TBitmap& image = chunk.Image;
    auto expected = Expected(image.Width() * 3, image.Height(), [&](HDC dc) {
        for (int i = 0; i < 3; ++i)
            DrawTransparent(dc, RECT{i * image.Width(), 0, (i + 1) * image.Width(), image.Height()}, image,
                            SkinKeyColour);
    });
    ExpectShown(At(*bar, {chunk.LeftWidth + 2, (20 - image.Height()) / 2}), *expected, "the first chunks");
    const std::uint32_t chunkColour = Shown(At(*bar, {chunk.LeftWidth + 2 + image.Width() / 2, 10}));
    EXPECT_NE(Shown(At(*bar, {180, 10})), chunkColour) << "no chunks beyond the position";
}

TEST_F(ValueEditSkinnersTest, AnEditsPrintedPictureCarriesItsFlatFrame)
{
    auto* edit = Add<TEdit>(20, 20, 120, 24);
    ShowWithFocusAside();
    TBitmap printed;
    printed.SetPixelFormat(pf24bit);
    printed.SetSize(120, 24);
    (void)SendMessageA(edit->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(printed.Canvas()->Handle()),
                       PRF_NONCLIENT | PRF_CLIENT);
    const TColor shadow = m_data->Elements().Colours().ButtonShadow;
    EXPECT_EQ(PixelAt(printed, 0, 12) & 0xFFFFFF, ColorToRGB(shadow));
    EXPECT_EQ(PixelAt(printed, 60, 23) & 0xFFFFFF, ColorToRGB(shadow));
}

TEST_F(ComboSkinnerTest, ABareComboWindowIsSkinnedThroughItsWindowProcedure)
{
    ShowWithFocusAside();
    RegisterComboBoxClass();
    const HWND bare = CreateWindowExA(0, "ComboBox", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 20, 20, 150, 200,
                                      Window(), nullptr, nullptr, nullptr);
    ASSERT_NE(bare, nullptr);
    Skinner()->SkinForeignWindow(bare);
    (void)InvalidateRect(bare, nullptr, TRUE);
    Pump();
    EXPECT_EQ(SendMessageA(bare, WM_SKIN_QUERYSKINNED, 0, 0), 1);
    RECT window{};
    (void)GetWindowRect(bare, &window);
    TDataSkinBorder& picture = *m_data->Elements().BorderElement("ComboButton");
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    auto expected = Expected(width, height, [&](HDC dc) {
        DrawElement(dc, RECT{0, 0, width, height}, picture.Image, false, picture.Tile == 1, true, picture.Frame, 1,
                    MarginsOf(picture));
    });
    ExpectShown({ClientOrigin.x + 20, ClientOrigin.y + 20}, *expected, "bare combo");
    (void)DestroyWindow(bare);
    Skinner()->SkinChildren();
    EXPECT_EQ(Skinner()->FindSkinner(bare), nullptr);
}

TEST_F(ValueEditSkinnersTest, ASkinChangeLeavesTheFocusWhereItWasAndTheTrackBarSkinned)
{
    auto* track = Add<TTrackBar>(20, 20, 200, 30);
    ShowWithFocusAside();
    TSkinControl* skinner = Skinner()->FindSkinner(track->Handle());
    ASSERT_NE(skinner, nullptr);
    skinner->SkinChanged();
    Pump();
    EXPECT_TRUE(m_focusTarget->Focused());
    EXPECT_EQ(SendMessageA(track->Handle(), WM_SKIN_QUERYSKINNED, 0, 0), 1);
}

TEST_F(ComboSkinnerTest, APressInADropDownCombosEditShowsTheComboPressed)
{
    auto* combo = AddCombo(csDropDown);
    ShowWithFocusAside();
    const POINT inEdit = At(*combo, {20, combo->Height() / 2});
    MoveMouse(inEdit);
    Button(inEdit, true);
    ExpectComboFrame(*combo, 2, "pressed in the edit");
    Button(inEdit, false);
    ExpectComboFrame(*combo, 1, "released");
}

namespace {

WNDPROC g_listProc = nullptr;
bool g_captureTaken = false;
int g_tracksAfterLoss = 0;

// Takes the mouse away from the list at its first mouse move, as another window taking it would,
// and counts the thumb scrolls that still come after.
LRESULT LoseCaptureOnMove(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_MOUSEMOVE && !g_captureTaken) {
        g_captureTaken = true;
        (void)ReleaseCapture();
    } else if (msg == WM_VSCROLL && LOWORD(wParam) == SB_THUMBTRACK && g_captureTaken) {
        ++g_tracksAfterLoss;
    }
    return CallWindowProcA(g_listProc, window, msg, wParam, lParam);
}

} // namespace

TEST_F(ComboSkinnerTest, AThumbDragEndsWhenTheListLosesTheMouse)
{
    auto* combo = AddCombo(csDropDownList);
    ShowWithFocusAside();
    Button(ButtonPoint(*combo), true);
    Button(ButtonPoint(*combo), false);
    ASSERT_TRUE(combo->DroppedDown());
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo->Handle(), &info));
    const HWND list = info.hwndList;
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetScrollBarInfo(list, OBJID_VSCROLL, &bar));
    RECT window{};
    (void)GetWindowRect(list, &window);
    const POINT thumb{(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2 - window.left,
                      bar.rcScrollBar.top + (bar.xyThumbTop + bar.xyThumbBottom) / 2 - window.top};
    g_listProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LoseCaptureOnMove)));
    const auto listId = reinterpret_cast<WindowId>(list);
    m_display->InjectMouseButton(listId, thumb, MouseButton::Left, true);
    m_display->InjectMouseMove(listId, POINT{thumb.x, thumb.y + 20});
    m_display->InjectMouseMove(listId, POINT{thumb.x, thumb.y + 60});
    m_display->InjectMouseButton(listId, POINT{thumb.x, thumb.y + 60}, MouseButton::Left, false);
    Pump();
    (void)SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_listProc));
    EXPECT_TRUE(g_captureTaken);
    EXPECT_EQ(g_tracksAfterLoss, 0) << "the drag ended with the mouse gone";
    EXPECT_EQ(SendMessageA(list, LB_GETTOPINDEX, 0, 0), 0);
    EXPECT_TRUE(combo->DroppedDown());
    EXPECT_EQ(GetCapture(), list) << "the list took the mouse back";
    m_display->InjectKeyPress(reinterpret_cast<WindowId>(Window()), VK_ESCAPE);
    Pump();
    EXPECT_FALSE(combo->DroppedDown());
}

TEST_F(ValueEditSkinnersTest, WithoutPicturesTheThumbIsOutlinedAndTheUpDownDrawnInTheSkinsColours)
{
    auto* track = Add<TTrackBar>(20, 20, 200, 30);
    auto* upDown = Add<TUpDown>(20, 80, 20, 40);
    m_data->Elements().Element("Trackbar.ThumbHorz")->Image.SetSize(0, 0);
    m_data->Elements().Element("UpDown.Vert")->Image.SetSize(0, 0);
    ShowWithFocusAside();
    const TSkinColours& colours = m_data->Elements().Colours();
    RECT thumb{};
    (void)SendMessageA(track->Handle(), TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    EXPECT_EQ(Shown(At(*track, {thumb.left, (thumb.top + thumb.bottom) / 2})), OnScreen(colours.ButtonShadow));
    EXPECT_EQ(Shown(At(*upDown, {0, 10})), OnScreen(colours.ButtonDkShadow)) << "the upper half's outline";
    EXPECT_EQ(Shown(At(*upDown, {3, 30})), OnScreen(colours.ButtonFace)) << "the lower half's face";
    MoveMouse(At(*upDown, {10, 30}));
    EXPECT_EQ(Shown(At(*upDown, {3, 30})), OnScreen(colours.ButtonShadow)) << "hot, the lower half darkens";
}
