#pragma once

#include "controls/KvCommon.h"
#include "controls/KvFramedBorders.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/forms/ControlsDock.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/WindowProcLink.h"

#include <memory>
#include <string>

// The library's panel: outer and inner frames on chosen sides, a plain or gradient face, an
// optional grid, and a caption placed both ways. It can let its parent show through, remembers
// which children were enabled while it is disabled, and as a dock site gives its clients caption
// bars with a close glyph.

enum TKvGradientColorStyle { gcsSystem, gcsMSOffice, gcsCustom };
enum TKvGridStyle { gsDots, gsDottedLines, gsSolidLines };
enum TKvVisualStyle { vsClassic, vsWinXP, vsGradient };

[[nodiscard]] const TTypeInfo& GradientColorStyleTypeInfo();
[[nodiscard]] const TTypeInfo& GridStyleTypeInfo();
[[nodiscard]] const TTypeInfo& VisualStyleTypeInfo();

// The gradient face and frame colours of the system and Office styles. The Office colours of the
// Windows XP schemes apply only under visual styles, which are never on here, so both styles take
// the system's: the window colour to the button face darkened by 10, and the button shadow
// lightened by 30.
void GetGradientPanelColors(TColor& start, TColor& stop);
[[nodiscard]] TColor GetGradientPanelFrameColor();
// Invalidates every child whose published Transparent is on.
void InvalidateTransparentChildren(TWinControl& container);

class TKvCustomPanel : public TCustomPanel, public TKvFramedBorders {
    CLASSLIB_DECLARE_CLASS;

    explicit TKvCustomPanel(TComponent* owner);
    ~TKvCustomPanel() override;

    [[nodiscard]] TAlignmentVertical AlignmentVertical() const { return m_alignmentVertical; }
    virtual void SetAlignmentVertical(TAlignmentVertical alignment);
    [[nodiscard]] TColor BorderColor() const { return m_borderColor; }
    virtual void SetBorderColor(TColor color);
    [[nodiscard]] TKvGradientColorStyle GradientColorStyle() const { return m_gradientColorStyle; }
    virtual void SetGradientColorStyle(TKvGradientColorStyle style);
    [[nodiscard]] TColor GradientColorStart() const { return m_gradientColorStart; }
    virtual void SetGradientColorStart(TColor color);
    [[nodiscard]] TColor GradientColorStop() const { return m_gradientColorStop; }
    virtual void SetGradientColorStop(TColor color);
    [[nodiscard]] TGradientDirection GradientDirection() const { return m_gradientDirection; }
    virtual void SetGradientDirection(TGradientDirection direction);
    [[nodiscard]] TColor GridColor() const { return m_gridColor; }
    virtual void SetGridColor(TColor color);
    [[nodiscard]] TKvGridStyle GridStyle() const { return m_gridStyle; }
    virtual void SetGridStyle(TKvGridStyle style);
    [[nodiscard]] int GridXSize() const { return m_gridXSize; }
    virtual void SetGridXSize(int size);
    [[nodiscard]] int GridYSize() const { return m_gridYSize; }
    virtual void SetGridYSize(int size);
    [[nodiscard]] bool PaintClientArea() const { return m_paintClientArea; }
    virtual void SetPaintClientArea(bool paint);
    [[nodiscard]] bool ShowGrid() const { return m_showGrid; }
    virtual void SetShowGrid(bool show);
    // The parent's picture shows through the face.
    [[nodiscard]] bool Transparent() const { return m_transparent; }
    virtual void SetTransparent(bool transparent);
    [[nodiscard]] int TextMargin() const { return m_textMargin; }
    virtual void SetTextMargin(int margin);
    [[nodiscard]] int TextMarginVertical() const { return m_textMarginVertical; }
    virtual void SetTextMarginVertical(int margin);
    [[nodiscard]] bool WordWrap() const { return m_wordWrap; }
    virtual void SetWordWrap(bool wrap);
    [[nodiscard]] TKvVisualStyle VisualStyle() const { return m_visualStyle; }
    virtual void SetVisualStyle(TKvVisualStyle style);

    bool GetInterface(const TGUID& iid, void*& object) override;

    [[nodiscard]] bool ShowDockClientCaptions() const { return m_showDockClientCaptions; }
    void SetShowDockClientCaptions(bool show) { m_showDockClientCaptions = show; }
    [[nodiscard]] bool Locked() const { return m_locked; }
    void SetLocked(bool locked) { m_locked = locked; }

    [[nodiscard]] const TNotifyEvent& OnMouseEnter() const { return m_onMouseEnter; }
    void SetOnMouseEnter(const TNotifyEvent& handler) { m_onMouseEnter = handler; }
    [[nodiscard]] const TNotifyEvent& OnMouseLeave() const { return m_onMouseLeave; }
    void SetOnMouseLeave(const TNotifyEvent& handler) { m_onMouseLeave = handler; }
    [[nodiscard]] const TNotifyEvent& OnPaint() const { return m_onPaint; }
    void SetOnPaint(const TNotifyEvent& handler) { m_onPaint = handler; }

    // Shown nowhere and never stored; form data that names it still loads.
    [[nodiscard]] std::string About() const { return {}; }
    void SetAbout(const std::string& /*about*/) {}

    // A panel aligned to the bottom or right keeps that edge where it is when it grows.
    void SetBounds(int left, int top, int width, int height) override;

    // Moves each chosen side of `rect` in by what the outer and inner frames take, and first by
    // BorderWidth all round when asked.
    virtual void ShrinkRectByBorders(TRect& rect, bool includeBorderWidth) const;

protected:
    [[nodiscard]] virtual TPoint ClientCursorPosition() const;
    [[nodiscard]] virtual TRect FullPanelRect() const;
    // How far in from the old right and bottom edges a resize repaints.
    [[nodiscard]] virtual TPoint EdgeRepaintMargins() const;
    virtual void GradientColorPair(TColor& start, TColor& stop) const;
    virtual void FrameFlatColorPair(TColor& color, int& adjustment) const;
    virtual void DrawCaptionText(TRect rect);
    virtual void DrawBackgroundGrid(const TRect& rect);

    void DefineProperties(TFiler& filer) override;
    void Notification(TComponent* component, TOperation operation) override;
    void FramedBordersChanged(TKvFramedBorderChange change) override;
    void AlignControls(TControl* control, TRect& rect) override;
    void AdjustClientRect(TRect& rect) const override;
    void Paint() override;
    void Dispatch(TMessage& message) override;
    [[nodiscard]] std::unique_ptr<TDockTree> CreateDockManager() override;

private:
    // Stores a changed value and invalidates.
    template <class T>
    void Update(T& field, T value);
    template <class T>
    void UpdateGradient(T& field, T value);
    void Resized(const WINDOWPOS& position);
    void EnabledChanged();
    void DrawGridLines(TCanvas& canvas, const TRect& rect, bool dotted);

    TAlignmentVertical m_alignmentVertical = avCenter;
    TColor m_borderColor = clBtnFace;
    TKvGradientColorStyle m_gradientColorStyle = gcsSystem;
    TColor m_gradientColorStart = clWhite;
    TColor m_gradientColorStop = clBtnFace;
    TGradientDirection m_gradientDirection = gdHorizontalEnd;
    TColor m_gridColor = clBtnShadow;
    TKvGridStyle m_gridStyle = gsDots;
    int m_gridXSize = 8;
    int m_gridYSize = 8;
    bool m_paintClientArea = true;
    bool m_showGrid = false;
    bool m_transparent = false;
    int m_textMargin = 0;
    int m_textMarginVertical = 0;
    bool m_wordWrap = true;
    TKvVisualStyle m_visualStyle = vsWinXP;
    bool m_showDockClientCaptions = true;
    bool m_locked = false;
    // The size the window last had, from which a resize repaints.
    SIZE m_windowSize{0, 0};
    // Per child, "1" when it was enabled as the panel was disabled, "0" when not.
    TStringList m_enabledStates;
    TNotifyEvent m_onMouseEnter;
    TNotifyEvent m_onMouseLeave;
    TNotifyEvent m_onPaint;
};

class TKvPanel : public TKvCustomPanel {
    CLASSLIB_DECLARE_CLASS;
    explicit TKvPanel(TComponent* owner) : TKvCustomPanel(owner) {}
};

// Lays the panel's dock clients out under caption bars (or beside grabbers, for a panel aligned
// to the top or bottom) with the client's text and a close glyph.
class TKvPanelDockManager : public TDockTree {
public:
    explicit TKvPanelDockManager(TKvCustomPanel& panel);

    static constexpr int GrabberSize = 14;

protected:
    void AdjustDockRect(TControl* control, TRect& rect) override;
    void PaintDockFrame(TCanvas& canvas, TControl* control, const TRect& rect) override;

private:
    [[nodiscard]] bool GrabberAtSide() const;
    void PaintCaptionBar(TCanvas& canvas, TControl* control, const TRect& rect);
    void PaintGrabber(TCanvas& canvas, TControl* control, const TRect& rect);
    void PaintCloseGlyph(TCanvas& canvas, const TRect& box);
    [[nodiscard]] TRect CloseBox(const TRect& zone) const;
    [[nodiscard]] TRect ZoneOf(const TControl& client) const;
    void CloseClientAt(TPoint point);
    static void Close(TControl& client);

    TKvCustomPanel& m_panel;
    TFont m_captionFont;
    TFont m_closeFont;
    // The panel's window procedure repaints the caption bars while the manager lives.
    TWindowProcLink m_captionRepaints;
};

// Lets form data name TKvPanel.
void RegisterKvPanelClass();
