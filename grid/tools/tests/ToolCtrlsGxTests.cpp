#include "ToolsFixture.h"

#include "grid/tools/ToolCtrlsGxButtons.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/MemoryDC.h"
#include "platform/winapi/gdi/SysColors.h"

#include <vector>

namespace {

class EditButtons : public ToolsFixture {
protected:
    void SetUp() override
    {
        ToolsFixture::SetUp();
        m_button = new TEditButtonControlGx(m_form.get());
        m_button->SetParent(m_form.get());
        m_button->SetBounds(10, 10, 17, 20);
        m_button->SetStyle(ebsUpDownGx);
        m_button->SetOnDown(TButtonDownEventGx::FromFunction([this](TObject*, bool top, bool& autoRepeat, bool&) {
            m_downs.push_back(top);
            autoRepeat = m_repeat;
        }));
        m_button->SetOnClick(TNotifyEvent::FromFunction([this](TObject*) { ++m_clicks; }));
        Pump();
    }
    void Tick() { m_button->RepeatTimer()->OnTimer()(m_button->RepeatTimer()); }

    TEditButtonControlGx* m_button = nullptr;
    std::vector<bool> m_downs;
    bool m_repeat = true;
    int m_clicks = 0;
};

// A face painted into a bitmap of its own, for its pixels.
class PaintedFace {
public:
    PaintedFace(int width, int height)
        : m_bitmap(ScreenBitmap(width, height)), m_dc(nullptr, m_bitmap.Get())
    {
    }
    static HBITMAP ScreenBitmap(int width, int height)
    {
        const HDC screen = GetDC(nullptr);
        const HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        (void)ReleaseDC(nullptr, screen);
        return bitmap;
    }
    [[nodiscard]] HDC Dc() const { return m_dc.Handle(); }
    [[nodiscard]] COLORREF At(int x, int y) const { return GetPixel(m_dc.Handle(), x, y); }

private:
    GdiObject<HBITMAP> m_bitmap;
    MemoryDC m_dc;
};

// A drop-down that records where it is told its grip goes.
class GripRecorder : public TCustomControl {
public:
    explicit GripRecorder(TComponent* owner) : TCustomControl(owner) {}
    std::vector<int> Sides;

protected:
    void CreateParams(TCreateParams& params) override
    {
        TCustomControl::CreateParams(params);
        params.Style = WS_POPUP;
        params.WndParent = nullptr;
    }
    void Dispatch(TMessage& message) override
    {
        if (message.Msg == WM_DROPDOWN_GRIPSIDE)
            Sides.push_back(static_cast<int>(message.WParam));
        TCustomControl::Dispatch(message);
    }
};

} // namespace

TEST_F(EditButtons, AHeldSpinHalfRepeatsItsDownEventUntilReleasedOrStopped)
{
    Press(*m_button, POINT{8, 3}, true);
    EXPECT_EQ(m_downs, (std::vector<bool>{true}));
    EXPECT_EQ(m_button->PressedPart(), ppUpperOrWhole);
    ASSERT_NE(m_button->RepeatTimer(), nullptr);
    EXPECT_EQ(m_button->RepeatTimer()->Interval(), 400u);
    Tick();
    EXPECT_EQ(m_button->RepeatTimer()->Interval(), 100u);
    Tick();
    EXPECT_EQ(m_downs.size(), 3u);
    Press(*m_button, POINT{8, 3}, false);
    EXPECT_FALSE(m_button->RepeatTimer()->Enabled());
    EXPECT_EQ(m_clicks, 1);

    // The lower half, and a handler that asks for no more repeats.
    m_downs.clear();
    Press(*m_button, POINT{8, 17}, true);
    m_repeat = false;
    Tick();
    EXPECT_EQ(m_downs, (std::vector<bool>{false, false}));
    EXPECT_FALSE(m_button->RepeatTimer()->Enabled());
    Press(*m_button, POINT{8, 17}, false);
}

TEST_F(EditButtons, DraggingOutOfThePressedHalfReleasesTheSpinWithoutAClick)
{
    Press(*m_button, POINT{8, 3}, true);
    MoveHeld(*m_button, POINT{8, 16});
    Press(*m_button, POINT{8, 16}, false);
    EXPECT_EQ(m_clicks, 0);
    EXPECT_EQ(m_button->PressedPart(), ppNone);
}

TEST_F(EditButtons, APressedSpinHalfShowsSunkenWhileTheOtherStaysRaised)
{
    const std::uint32_t raisedEdge = Shown(*m_button, POINT{0, 0});
    Press(*m_button, POINT{8, 3}, true);
    Pump();
    EXPECT_NE(Shown(*m_button, POINT{0, 0}), raisedEdge); // the upper half went down
    EXPECT_EQ(Shown(*m_button, POINT{0, 10}), raisedEdge); // the lower half did not
    Press(*m_button, POINT{8, 3}, false);
    Pump();
    EXPECT_EQ(Shown(*m_button, POINT{0, 0}), raisedEdge);
}

TEST(ButtonFaces, FacesAreCachedOncePerLookAndFramedInTheParentColourWhenFlat)
{
    SelectHeadlessDisplay();
    ClearEditButtonBitmapCache();
    PaintedFace face(17, 21);
    const COLORREF parent = RGB(10, 200, 30);
    PaintEditButtonFace(face.Dc(), RECT{0, 0, 17, 21}, parent, ebfEllipsis, ppNone, {true, false, true});
    EXPECT_EQ(EditButtonBitmapCacheCount(), 1);
    PaintEditButtonFace(face.Dc(), RECT{0, 0, 17, 21}, parent, ebfEllipsis, ppNone, {true, false, true});
    EXPECT_EQ(EditButtonBitmapCacheCount(), 1);
    EXPECT_EQ(face.At(0, 0), parent);
    EXPECT_EQ(face.At(16, 20), parent);
    // The middle dot of the ellipsis in the button text colour.
    EXPECT_EQ(face.At(8, 10), GetSysColor(COLOR_BTNTEXT));

    // A spin of odd height: two halves and the parent's colour in the middle row.
    PaintEditButtonFace(face.Dc(), RECT{0, 0, 17, 21}, parent, ebfUpDown, ppLower, {false, false, true});
    EXPECT_EQ(EditButtonBitmapCacheCount(), 3);
    EXPECT_EQ(face.At(8, 10), parent);
    EXPECT_NE(face.At(8, 9), parent);

    ClearEditButtonBitmapCache();
    EXPECT_EQ(EditButtonBitmapCacheCount(), 0);
}

TEST(ButtonFaces, PlusMinusAndCheckBoxFacesShowTheirMarks)
{
    SelectHeadlessDisplay();
    PaintedFace face(21, 21);
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    PaintEditButtonFace(face.Dc(), RECT{0, 0, 21, 21}, 0, ebfMinus, ppNone, {});
    EXPECT_EQ(face.At(10, 10), text);
    EXPECT_NE(face.At(10, 6), text);
    PaintEditButtonFace(face.Dc(), RECT{0, 0, 21, 21}, 0, ebfPlus, ppNone, {});
    EXPECT_EQ(face.At(10, 7), text);
    PaintEditButtonFace(face.Dc(), RECT{0, 0, 21, 21}, 0, ebfPlus, ppNone, {true, false, false});
    EXPECT_EQ(face.At(10, 10), GetSysColor(COLOR_BTNSHADOW)); // disabled: embossed

    // A 5 x 30 cell holds a 5 x 5 box.
    PaintedFace cell(5, 30);
    PaintEditButtonFace(cell.Dc(), RECT{0, 0, 5, 30}, RGB(1, 2, 3), ebfCheckBox, ppNone, {}, cfsChecked);
    EXPECT_NE(cell.At(2, 14), cell.At(2, 2));
}

TEST(CheckBoxPlace, TheBoxIsClampedToTheCellAndPlacedByAlignment)
{
    SelectHeadlessDisplay();
    struct Case {
        RECT Cell;
        TCheckBoxHorzPlace Horz;
        TCheckBoxVertPlace Vert;
        RECT Expected;
    };
    const Case cases[] = {
        {{0, 0, 5, 30}, cbhCenter, cbvCenter, {0, 9, 5, 22}},
        {{10, 10, 60, 30}, cbhLeft, cbvTop, {10, 10, 23, 23}},
        {{10, 10, 60, 30}, cbhRight, cbvBottom, {47, 17, 60, 30}},
        {{10, 10, 60, 30}, cbhCenter, cbvCenter, {29, 14, 42, 27}},
        {{0, 0, 8, 8}, cbhRight, cbvBottom, {0, 0, 8, 8}},
    };
    for (const Case& c : cases) {
        const RECT placed = PlaceCheckBoxRect(c.Cell, c.Horz, c.Vert);
        EXPECT_TRUE(EqualRect(&placed, &c.Expected)) << placed.left << "," << placed.top << "," << placed.right << ","
                                                      << placed.bottom;
    }
    EXPECT_EQ(EditButtonHeightForWidth(13, true), 20);
    EXPECT_EQ(EditButtonHeightForWidth(13, false), 13);
    EXPECT_EQ(DefaultFlatButtonWidth() % 2, 1);
    EXPECT_LE(DefaultFlatButtonWidth(), GetSystemMetrics(SM_CXVSCROLL));
}

TEST_F(EditButtons, ADropDownOpensWhereItFitsAndShrinksWhereNothingDoes)
{
    m_display->SetScreenRect(RECT{0, 0, 800, 600}, RECT{0, 0, 800, 600});
    GripRecorder dropDown(nullptr);
    dropDown.SetBounds(0, 0, 120, 300);
    dropDown.HandleNeeded();

    // 100 pixels below, 400 above: upwards, the grip at the top, on the right.
    TPoint at = PlaceDropDownRect(RECT{50, 400, 150, 500}, dropDown, ddaLeft);
    EXPECT_EQ(at.x, 50);
    EXPECT_EQ(at.y, 100);
    EXPECT_EQ(dropDown.Sides, (std::vector<int>{ddsTop, ddsRight}));

    // 250 above, 300 below: downwards, whole.
    dropDown.Sides.clear();
    at = PlaceDropDownRect(RECT{700, 250, 790, 300}, dropDown, ddaLeft);
    EXPECT_EQ(at.y, 300);
    EXPECT_EQ(at.x, 680); // moved back inside, the grip on the left
    EXPECT_EQ(dropDown.Sides, (std::vector<int>{ddsBottom, ddsLeft}));

    // Neither way: the roomier side, shortened to fit.
    dropDown.SetBounds(0, 0, 200, 500);
    at = PlaceDropDownRect(RECT{50, 200, 150, 220}, dropDown, ddaRight);
    EXPECT_EQ(at.y, 220);
    EXPECT_EQ(dropDown.Height(), 380);
    EXPECT_EQ(at.x, 0); // right-aligned would start left of the screen
}

TEST(DoubleClicks, APairNeedsBothTheTimeAndTheDistance)
{
    SelectHeadlessDisplay();
    const DWORD time = GetDoubleClickTime();
    const int dx = GetSystemMetrics(SM_CXDOUBLECLK);
    EXPECT_TRUE(IsDoubleClickPair(POINT{10, 10}, POINT{10 + dx, 10}, time));
    EXPECT_FALSE(IsDoubleClickPair(POINT{10, 10}, POINT{11 + dx, 10}, time));
    EXPECT_FALSE(IsDoubleClickPair(POINT{10, 10}, POINT{10, 10}, time + 1));
}

TEST(ToolValues, VariantsCompareByValueAndArraysByBoundsAndElements)
{
    const Variant numbers = VarArrayOf({Variant(1), Variant("two")});
    Variant shifted = VarArrayCreate(1, 2, varVariant);
    shifted.SetElement(1, Variant(1));
    shifted.SetElement(2, Variant("two"));
    struct Case {
        Variant A;
        Variant B;
        bool Equal;
    };
    const Case cases[] = {
        {Variant(1), Variant(1.0), true},
        {Variant("a"), Variant("a"), true},
        {Variant("a"), Variant("b"), false},
        {numbers, VarArrayOf({Variant(1), Variant("two")}), true},
        {numbers, VarArrayOf({Variant(1), Variant("three")}), false},
        {numbers, shifted, false},           // equal elements, other bounds
        {numbers, Variant(1), false},        // an array against a single value
        {Unassigned(), Null(), false},       // Empty against Null
        {Unassigned(), Unassigned(), true},
        {Null(), Null(), true},
        {Variant("x"), Variant(3), false},   // a failing conversion counts as unequal
    };
    for (const Case& c : cases)
        EXPECT_EQ(VariantsEqual(c.A, c.B), c.Equal) << VarToStr(c.A) << " / " << VarToStr(c.B);

    EXPECT_EQ(ColorToImageListColor(clNone), 0xFFFFFFFFu);
    EXPECT_EQ(ColorToImageListColor(clDefault), 0xFF000000u);
    EXPECT_EQ(ColorToImageListColor(clRed), RGB(255, 0, 0));
}

namespace {

// A white bitmap to draw tree lines on.
class TreeCanvas {
public:
    TreeCanvas()
    {
        SelectHeadlessDisplay();
        m_bitmap.SetSize(20, 20);
        m_bitmap.Canvas()->Brush()->SetColor(clWhite);
        m_bitmap.Canvas()->FillRect(TRect{0, 0, 20, 20});
    }
    TCanvas& Canvas() { return *m_bitmap.Canvas(); }
    [[nodiscard]] COLORREF At(int x, int y) { return GetPixel(m_bitmap.Canvas()->Handle(), x, y); }

private:
    TBitmap m_bitmap;
};

} // namespace

TEST(TreeLines, DotsLineUpByPhaseAndTheBoxShowsPlusOrMinus)
{
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    {
        TreeCanvas tree;
        tree.Canvas().Pen()->SetColor(clBlack);
        DrawDottedLine(tree.Canvas(), TPoint{0, 0}, 6, false, true);
        DrawDottedLine(tree.Canvas(), TPoint{0, 2}, 6, true, true);
        EXPECT_EQ(tree.At(0, 0), RGB(0, 0, 0));
        EXPECT_EQ(tree.At(1, 0), RGB(255, 255, 255));
        EXPECT_EQ(tree.At(2, 0), RGB(0, 0, 0));
        EXPECT_EQ(tree.At(0, 2), RGB(255, 255, 255)); // moved on a pixel for the other phase
        EXPECT_EQ(tree.At(1, 2), RGB(0, 0, 0));
        EXPECT_EQ(tree.At(5, 2), RGB(0, 0, 0));
    }
    {
        // A collapsed node (plus) with lines above and below: centre (10, 10), box 8 x 8.
        TreeCanvas tree;
        DrawTreeLines(tree.Canvas(), TRect{0, 0, 20, 20}, 3, false, 1.0, 1.0, false);
        EXPECT_EQ(tree.At(6, 10), shadow);                      // the box's left side
        EXPECT_EQ(tree.At(10, 10), GetSysColor(COLOR_WINDOWTEXT)); // the cross
        EXPECT_EQ(tree.At(10, 8), GetSysColor(COLOR_WINDOWTEXT));  // its vertical bar
        EXPECT_EQ(tree.At(10, 0), shadow);                      // the line up
        EXPECT_EQ(tree.At(18, 10), shadow);                     // the connector to the right
    }
    {
        // Expanded (minus) without the line below; an elbow from above.
        TreeCanvas tree;
        DrawTreeLines(tree.Canvas(), TRect{0, 0, 20, 20}, 1, false, 1.0, 1.0, false);
        EXPECT_NE(tree.At(10, 8), GetSysColor(COLOR_WINDOWTEXT));
        EXPECT_EQ(tree.At(10, 18), RGB(255, 255, 255));
        TreeCanvas elbow;
        DrawTreeLines(elbow.Canvas(), TRect{0, 0, 20, 20}, 7, false, 1.0, 1.0, false);
        EXPECT_EQ(elbow.At(10, 2), shadow);
        EXPECT_EQ(elbow.At(10, 18), RGB(255, 255, 255));
        EXPECT_EQ(elbow.At(14, 10), shadow);
    }
}

TEST_F(EditButtons, AWaitingClickIsTakenOnlyWhenItIsAimedAtTheControl)
{
    const HWND form = m_form->Handle();
    // On the button (10, 10, 17 x 20): taken; beside it: left in the queue.
    (void)PostMessageA(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    EXPECT_TRUE(ControlTakeMouseClick(*m_button));
    MSG message{};
    EXPECT_FALSE(PeekMessageA(&message, form, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_NOREMOVE));
    (void)PostMessageA(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 100));
    EXPECT_FALSE(ControlTakeMouseClick(*m_button));
    // The form takes it as its own, but not as a click inside a client area it lies outside of.
    (void)PostMessageA(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(-5, 100));
    EXPECT_TRUE(ControlTakeMouseClick(*m_form)); // the one at (100, 100)
    EXPECT_FALSE(GridTakeMouseClick(*m_form));   // (-5, 100)
    Pump();
    EXPECT_FALSE(PeekMessageA(&message, form, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_NOREMOVE));
    (void)PostMessageA(form, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(50, 50));
    EXPECT_TRUE(GridTakeMouseClick(*m_form));
}
