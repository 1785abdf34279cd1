#pragma once

#include "controls/KvCommon.h"
#include "controls/KvFramedBorders.h"

#include <cstdint>
#include <string>

// The library's progress bar: a percentage shown as a solid bar with its figure, as a row of
// LED-like segments or as a two-colour gradient over a gradient background, inside a frame the
// bar draws itself.

enum TBarStyle { bsTraditional, bsLED, bsGradient };

[[nodiscard]] const TTypeInfo& BarStyleTypeInfo();

using TSegmentRange = int; // 1 .. 100
using TProgressChangeEvent = TEvent<TObject*, int>;

class TKvCustomProgressBar : public TGraphicControl, public TKvFramedBorders {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvCustomProgressBar(TComponent* owner);
    ~TKvCustomProgressBar() override;

    [[nodiscard]] TColor BackColor() const { return m_backColor; }
    virtual void SetBackColor(TColor color);
    [[nodiscard]] TColor BarColor() const { return m_barColor; }
    // The font follows, so that the figure over the background is in the bar's colour.
    virtual void SetBarColor(TColor color);
    [[nodiscard]] TBarStyle BarStyle() const { return m_barStyle; }
    // Segments show no figure and sit one pixel inside the frame; the other styles show it.
    virtual void SetBarStyle(TBarStyle style);
    [[nodiscard]] int BevelWidth() const { return m_bevelWidth; }
    virtual void SetBevelWidth(int width);
    [[nodiscard]] TColor BorderColor() const { return m_borderColor; }
    virtual void SetBorderColor(TColor color);
    [[nodiscard]] int BorderWidth() const { return m_borderWidth; }
    virtual void SetBorderWidth(int width);
    // Takes the controller's frame style and colour and its colour as the background, when it
    // shows frames.
    void FrameControllerChanged() override;
    bool GetInterface(const TGUID& iid, void*& object) override;
    [[nodiscard]] std::uint8_t InteriorOffset() const { return m_interiorOffset; }
    virtual void SetInteriorOffset(std::uint8_t offset);
    [[nodiscard]] TSegmentRange NumSegments() const { return m_numSegments; }
    virtual void SetNumSegments(TSegmentRange count);
    [[nodiscard]] TOrientation Orientation() const { return m_orientation; }
    virtual void SetOrientation(TOrientation orientation);
    // Parts done of TotalParts; sets Percent, except while the bar is read from form data.
    [[nodiscard]] std::uint32_t PartsComplete() const { return m_partsComplete; }
    virtual void SetPartsComplete(std::uint32_t parts);
    // The value is kept as given, above 100 too; only the drawing stops at a full bar.
    [[nodiscard]] std::uint16_t Percent() const { return m_percent; }
    virtual void SetPercent(std::uint16_t percent);
    [[nodiscard]] bool ShowPercent() const { return m_showPercent; }
    virtual void SetShowPercent(bool show);
    // A new total starts the count again at 0.
    [[nodiscard]] std::uint32_t TotalParts() const { return m_totalParts; }
    virtual void SetTotalParts(std::uint32_t parts);
    [[nodiscard]] bool ThemeAware() const { return m_themeAware; }
    virtual void SetThemeAware(bool aware);

    [[nodiscard]] TColor BackColorStop() const { return m_backColorStop; }
    void SetBackColorStop(TColor color);
    [[nodiscard]] TColor BarColorStop() const { return m_barColorStop; }
    void SetBarColorStop(TColor color);
    [[nodiscard]] TGradientDirection GradientDirection() const { return m_gradientDirection; }
    void SetGradientDirection(TGradientDirection direction);

    [[nodiscard]] const TProgressChangeEvent& OnChange() const { return m_onChange; }
    void SetOnChange(const TProgressChangeEvent& handler) { m_onChange = handler; }

    // Shown nowhere and never stored; form data that names it still loads.
    [[nodiscard]] std::string About() const { return {}; }
    void SetAbout(const std::string& /*about*/) {}

    // The orientation follows the shape: taller than wide is vertical.
    void SetBounds(int left, int top, int width, int height) override;

protected:
    virtual void Change();
    void Paint() override;
    void Notification(TComponent* component, TOperation operation) override;
    void FramedBordersChanged(TKvFramedBorderChange change) override;

private:
    // Stores a changed value and repaints.
    template <class T>
    void Update(T& field, T value);
    // Fills the client area with the frame and returns the rectangle inside it.
    [[nodiscard]] TRect DrawFrame(TCanvas& canvas) const;
    void DrawBar(TCanvas& canvas, const TRect& rect) const;

    TColor m_backColor = clWhite;
    TColor m_barColor = clHighlight;
    TBarStyle m_barStyle = bsTraditional;
    int m_bevelWidth = 1;
    TColor m_borderColor = clBtnFace;
    int m_borderWidth = 0;
    std::uint8_t m_interiorOffset = 0;
    TSegmentRange m_numSegments = 20;
    TOrientation m_orientation = orHorizontal;
    std::uint32_t m_partsComplete = 0;
    std::uint16_t m_percent = 0;
    bool m_showPercent = true;
    std::uint32_t m_totalParts = 0;
    bool m_themeAware = true;
    TColor m_backColorStop = clBtnFace;
    TColor m_barColorStop = clHotLight;
    TGradientDirection m_gradientDirection = gdHorizontalCenter;
    TProgressChangeEvent m_onChange;
};

class TKvProgressBar : public TKvCustomProgressBar {
    CLASSLIB_DECLARE_CLASS;
    explicit TKvProgressBar(TComponent* owner) : TKvCustomProgressBar(owner) {}
};

// Lets form data name TKvProgressBar.
void RegisterKvProgressBarClass();

// ---- The bar painters ---------------------------------------------------------------------------
// Each fills `rect` with the bar at `percent`; a percent above 100 draws a full bar. The figure,
// when shown, is centred on rect.right / 2, in the back colour over the bar and in the bar colour
// over the rest.

void PaintTraditionalBar(TCanvas& canvas, const TRect& rect, TOrientation orientation, TColor barColor,
                         TColor backColor, int percent, bool showPercent);
// Segments of equal size along the bar, each outlined in the back colour (the gaps between them);
// the count grows to fill the length, and a short bar has at most ten.
void PaintSegmentedBar(TCanvas& canvas, const TRect& rect, TOrientation orientation, TColor barColor,
                       TColor backColor, int segments, int percent);
void PaintGradientBar(TCanvas& canvas, const TRect& rect, TOrientation orientation, TColor barColor,
                      TColor barColorStop, TColor backColor, TColor backColorStop, TGradientDirection direction,
                      int percent, bool showPercent);

namespace controls::detail {

// How the segmented bar lays its segments out along a length.
struct TSegmentLayout {
    int Count;  // segments
    int Size;   // pixels each
    int Margin; // pixels before the first and after the last
};
[[nodiscard]] TSegmentLayout LayOutSegments(int length, int segments);

} // namespace controls::detail
