#include "SkinTestImages.h"
#include "SkinnedFormFixture.h"

#include "platform/classlib/forms/ComCtrlsStatusBar.h"
#include "platform/classlib/forms/ComCtrlsTabs.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/winapi/controls/StatusBar.h"
#include "platform/winapi/controls/TabControl.h"
#include "skin/SkinContainers.h"
#include "skin/SkinStatusBar.h"
#include "skin/SkinTab.h"

namespace {

// The client area's origin in the skinned window: left border 4, caption bar 26.
constexpr POINT ClientOrigin{4, 26};

std::uint32_t SwapRB(std::uint32_t colour)
{
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

// The pixel (0xRRGGBB) of frame `frame` of `frames` at (x, y) of the frame; negative coordinates
// count from the frame's right or bottom edge.
std::uint32_t FramePixel(TBitmap& picture, int frames, int frame, int x, int y)
{
    const int width = picture.Width() / frames;
    const int px = x < 0 ? width + x : x;
    const int py = y < 0 ? picture.Height() + y : y;
    return SwapRB(static_cast<std::uint32_t>(PixelAt(picture, width * (frame - 1) + px, py)) & 0xFFFFFF);
}

} // namespace

class BarSkinnersTest : public SkinnedFormFixture {
protected:
    // A point of the control's client area in the form's whole window.
    static POINT At(const TControl& control, POINT local)
    {
        return POINT{ClientOrigin.x + control.Left() + local.x, ClientOrigin.y + control.Top() + local.y};
    }

    [[nodiscard]] TDataSkinObject& Element(const char* name) const
    {
        TDataSkinObject* element = m_data->Elements().Element(name);
        EXPECT_NE(element, nullptr) << name;
        return *element;
    }

    [[nodiscard]] std::uint32_t Colour(TColor colour) const { return SwapRB(ColorToRGB(colour) & 0xFFFFFF); }

    TStatusBar* AddStatusBar()
    {
        auto* bar = new TStatusBar(m_form.get());
        bar->SetParent(m_form.get());
        bar->SetAlign(alNone);
        bar->SetBounds(10, 280, 380, 22);
        for (const auto& [text, bevel] : {std::pair{"Lowered", pbLowered}, std::pair{"Raised", pbRaised}, std::pair{"Flat", pbNone}}) {
            TStatusPanel* panel = bar->Panels()->Add();
            panel->SetText(text);
            panel->SetBevel(bevel);
            panel->SetWidth(90);
        }
        return bar;
    }
};

TEST_F(BarSkinnersTest, StatusBarPanelsWearTheirBevelsFramesAndTheLastReachesTheEnd)
{
    TStatusBar* bar = AddStatusBar();
    ShowSkinned();
    TBitmap& edges = Element("StatusBarEdges").Image;
    for (int i = 0; i < 3; ++i) {
        RECT panel{};
        ASSERT_TRUE(SendMessageA(bar->Handle(), SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&panel)));
        const int right = i == 2 ? bar->Width() : panel.right + 2;
        EXPECT_EQ(Shown(At(*bar, {panel.left, panel.top})), FramePixel(edges, 3, i + 1, 0, 0)) << i;
        EXPECT_EQ(Shown(At(*bar, {right - 1, panel.bottom - 1})), FramePixel(edges, 3, i + 1, -1, -1)) << i;
    }
}
