#include "grid/core/DBGridGxStyle.h"

#include "grid/core/DataGridGx.h"
#include "platform/classlib/core/AllocateHWnd.h"
#include "platform/classlib/core/ApplicationHandleException.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/winapi/gdi/Gdi.h"

#include <algorithm>
#include <cmath>

CLASSLIB_IMPLEMENT_CLASS(TDBGridGxStyle, TPersistent, DefaultCreator<TDBGridGxStyle>, nullptr)

namespace {

TDBGridGxStyle* g_defaultStyle = nullptr;

constexpr TColor DarkTitleColor = 0x404040;

// The screen's device context for as long as the object lives.
class ScreenDC {
public:
    ScreenDC() : m_dc(GetDC(nullptr)) {}
    ~ScreenDC() { ReleaseDC(nullptr, m_dc); }
    ScreenDC(const ScreenDC&) = delete;
    ScreenDC& operator=(const ScreenDC&) = delete;
    [[nodiscard]] HDC Handle() const { return m_dc; }

private:
    HDC m_dc;
};

[[nodiscard]] double BlendChannel(int colorChannel, int glassChannel, bool ungray)
{
    double c = colorChannel;
    c += (glassChannel - c) * 0.5;
    c += (225 - c) * 0.6;
    if (ungray)
        c -= (122 - c) * 0.25;
    return std::clamp(std::round(c), 0.0, 255.0);
}

} // namespace

TDBGridGxStyle::TDBGridGxStyle()
{
    m_window = AllocateHWnd([this](TMessage& message) { StyleWindowProc(message); });
    ScreenColorsChanged();
}

TDBGridGxStyle::~TDBGridGxStyle()
{
    if (m_window)
        DeallocateHWnd(m_window);
    if (g_defaultStyle == this)
        g_defaultStyle = nullptr;
    for (IDataGridGx* grid : std::vector<IDataGridGx*>(m_grids))
        grid->StyleGone(this);
}

void TDBGridGxStyle::RegisterGrid(IDataGridGx* grid)
{
    if (!IsGridRegistered(grid))
        m_grids.push_back(grid);
}

bool TDBGridGxStyle::IsGridRegistered(IDataGridGx* grid) const
{
    return std::ranges::find(m_grids, grid) != m_grids.end();
}

void TDBGridGxStyle::UnregisterGrid(IDataGridGx* grid)
{
    std::erase(m_grids, grid);
}

TColor TDBGridGxStyle::BlendLighter(TColor color, TColor glassColor, bool ungray)
{
    const COLORREF c = ColorToRGB(color);
    const COLORREF g = ColorToRGB(glassColor);
    const auto red = static_cast<TColor>(BlendChannel(GetRValue(c), GetRValue(g), ungray));
    const auto green = static_cast<TColor>(BlendChannel(GetGValue(c), GetGValue(g), ungray));
    const auto blue = static_cast<TColor>(BlendChannel(GetBValue(c), GetBValue(g), ungray));
    return red + green * 256 + blue * 65536;
}

TColor TDBGridGxStyle::NearestColor(TColor color)
{
    const ScreenDC dc;
    return static_cast<TColor>(GetNearestColor(dc.Handle(), ColorToRGB(color)));
}

bool TDBGridGxStyle::HighlightDataCellColor(const THighlightCellGx& cell, TFont& font, TColor& background)
{
    if (!cell.Highlighted)
        return false;
    if (!cell.GridFocused) {
        if (cell.Current && (cell.FocusHighlightApplies || cell.AlwaysShowSelection)) {
            background = clBtnShadow;
            font.SetColor(clHighlightText);
        } else {
            background = ManyColors() ? NearestColor(BlendLighter(background, clBtnShadow, false)) : clBtnFace;
        }
    } else if (m_lightenSelection && ManyColors() && !cell.Current) {
        background = NearestColor(BlendLighter(background, clHighlight, true));
    } else {
        background = clHighlight;
        font.SetColor(clHighlightText);
    }
    return true;
}

void TDBGridGxStyle::HighlightTitleCellColor(bool gridFocused, TFont& font, TColor& background, bool selected,
                                             TTitleHighlightGx kind)
{
    if (!selected)
        return;
    if (kind == thDarkGx) {
        background = DarkTitleColor;
        font.SetColor(clWhite);
    } else if (gridFocused) {
        if (m_lightenSelection && ManyColors()) {
            background = BlendLighter(background, clHighlight, true);
        } else {
            background = clHighlight;
            font.SetColor(clHighlightText);
        }
    } else {
        background = ManyColors() ? BlendLighter(background, clBtnShadow, false) : clBtnFace;
    }
}

void TDBGridGxStyle::StyleWindowProc(TMessage& message)
{
    if (message.Msg != WM_SYSCOLORCHANGE) {
        message.Result = DefWindowProcA(m_window, message.Msg, message.WParam, message.LParam);
        return;
    }
    try {
        ScreenColorsChanged();
    } catch (...) {
        ApplicationHandleException(this);
    }
}

void TDBGridGxStyle::ScreenColorsChanged()
{
    const ScreenDC dc;
    m_screenColorCount = GetDeviceCaps(dc.Handle(), NUMCOLORS);
}

TDBGridGxStyle* DefaultGridStyle()
{
    return g_defaultStyle;
}

void SetDefaultGridStyle(TDBGridGxStyle* style)
{
    g_defaultStyle = style;
}
