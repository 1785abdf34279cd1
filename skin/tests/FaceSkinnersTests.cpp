#include "SkinnedFormFixture.h"

#include "platform/classlib/forms/ComCtrlsTabs.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "platform/winapi/user/ScrollBarControl.h"
#include "skin/SkinFaces.h"

namespace {

// The skin's face colour as the screen shows it (0xRRGGBB).
std::uint32_t ShownColour(TColor colour)
{
    const COLORREF rgb = ColorToRGB(colour);
    return (static_cast<std::uint32_t>(GetRValue(rgb)) << 16) | (GetGValue(rgb) << 8) | GetBValue(rgb);
}

// A point of the client area in the form's whole window: left border 4, caption bar 26.
POINT InWindow(int x, int y)
{
    return POINT{4 + x, 26 + y};
}

} // namespace

class FaceSkinnersTest : public SkinnedFormFixture {
protected:
    [[nodiscard]] std::uint32_t Face() const { return ShownColour(m_data->Elements().Colours().ButtonFace); }
};

TEST_F(FaceSkinnersTest, ATabSheetShowsTheFaceUnderItsLabels)
{
    auto* pages = new TPageControl(m_form.get());
    pages->SetParent(m_form.get());
    pages->SetBounds(20, 20, 300, 200);
    auto* sheet = new TTabSheet(m_form.get());
    sheet->SetPageControl(pages);
    sheet->SetCaption("Calls");
    sheet->SetColor(clWhite);
    auto* label = new TLabel(m_form.get());
    label->SetParent(sheet);
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 100, 20);
    label->SetCaption("WWWWWW");
    pages->SetActivePage(sheet);
    ShowSkinned();
    ASSERT_NE(dynamic_cast<TSkinTabSheet*>(Skinner()->FindSkinner(sheet->Handle())), nullptr);
    POINT origin{};
    (void)MapWindowPoints(sheet->Handle(), Window(), &origin, 1);
    const POINT corner = InWindow(origin.x + 150, origin.y + 100);
    EXPECT_EQ(Shown(corner), Face());
    // The label is painted over the face, its own background past the text too.
    EXPECT_EQ(Shown(InWindow(origin.x + 95, origin.y + 12)), Face());
    int ink = 0;
    for (int x = 10; x < 60; ++x)
        ink += Shown(InWindow(origin.x + x, origin.y + 18)) != Face() ? 1 : 0;
    EXPECT_GT(ink, 0);
}

TEST_F(FaceSkinnersTest, SizeBoxesAndToolBarsAreFilledWithTheFace)
{
    WNDCLASSA toolBar{};
    toolBar.lpfnWndProc = [](HWND window, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg == WM_CTLCOLORSTATIC)
            return reinterpret_cast<LRESULT>(GetStockObject(BLACK_BRUSH));
        return DefWindowProcA(window, msg, wParam, lParam);
    };
    toolBar.hbrBackground = reinterpret_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    toolBar.lpszClassName = "ToolbarWindow32";
    ASSERT_NE(RegisterClassA(&toolBar), 0);
    RegisterScrollBarClass();
    ShowSkinned();
    const HWND box = CreateWindowExA(0, "ToolbarWindow32", "", WS_CHILD | WS_VISIBLE, 20, 20, 100, 30, Window(),
                                     nullptr, nullptr, nullptr);
    const HWND sizer = CreateWindowExA(0, WC_SCROLLBARA, "", WS_CHILD | WS_VISIBLE | SBS_SIZEBOX, 200, 20, 16, 16,
                                       Window(), nullptr, nullptr, nullptr);
    ASSERT_NE(box, nullptr);
    ASSERT_NE(sizer, nullptr);
    Skinner()->SkinForeignWindow(box);
    Skinner()->SkinForeignWindow(sizer);
    ASSERT_NE(dynamic_cast<TSkinBoxH*>(Skinner()->FindSkinner(box)), nullptr);
    ASSERT_NE(dynamic_cast<TSkinSizer*>(Skinner()->FindSkinner(sizer)), nullptr);
    (void)RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    (void)RedrawWindow(sizer, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    Pump();
    EXPECT_EQ(Shown(InWindow(70, 35)), Face());
    EXPECT_EQ(Shown(InWindow(208, 28)), Face());
    EXPECT_EQ(SendMessageA(box, WM_CTLCOLORSTATIC, 0, 0),
              reinterpret_cast<LRESULT>(m_data->Elements().ButtonFaceBrush()));
    (void)DestroyWindow(box);
    (void)DestroyWindow(sizer);
    Skinner()->SkinChildren();
    (void)UnregisterClassA("ToolbarWindow32", nullptr);
}
