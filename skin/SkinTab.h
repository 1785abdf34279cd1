#pragma once

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "skin/SkinHook.h"

#include <memory>
#include <vector>

// Where the tabs of a tab control stand.
enum TSkinTabPosition { stpTop, stpBottom, stpLeft, stpRight };

// The side the window style puts the tabs on.
[[nodiscard]] TSkinTabPosition TabPositionOfStyle(LONG style);
// The part of the control outside the pane on the tabs' side.
[[nodiscard]] RECT TabStripRect(const RECT& bounds, const RECT& pane, TSkinTabPosition position);
// A tab's item rectangle (in the control's coordinates) in the strip as it is drawn: lying
// horizontally, tab tops up, before being turned to its side. `stripLength` is the strip's extent
// across the tabs (its height for top and bottom tabs, its width for side tabs).
[[nodiscard]] RECT TabInStrip(const RECT& item, TSkinTabPosition position, const RECT& bounds, const RECT& pane,
                              int stripLength);

// Paints a tab control or page control (or a bare window of the tab-control kind) from the skin:
// every tab a frame of the Tabs picture (the focused tab frame 2) with its image and text, and
// the pane's border from the Tabs "Border" picture or the Tab.Pane element. The strip is drawn
// lying horizontally and turned for tabs on the left or right, the pictures flipped for tabs at
// the bottom. The scroll arrows of an overflowing row are drawn over the strip from the skin's
// up-down pictures. A top-tabbed page control tagged TabCloseButtonsTag gets a close cross on every
// tab: a click in one asks the form's window (WM_SKIN_CLOSETAB) and, unless it objects, frees
// that page. Without a Tabs element or its picture the control paints itself.
class TSkinTab : public TSkinHook {
public:
    void AttachWindow(TWinSkinForm& form, HWND window) override;
    void SkinChanged() override;

protected:
    void ControlAttached() override;
    bool BeforeMessage(TMessage& message) override;
    void PaintSkin(HDC dc, const RECT& rect) override;

private:
    // The tab and pane pictures oriented for the tabs' side.
    void PrepareImages();
    [[nodiscard]] bool HasTabs() const;
    void PaintStrip(HDC dc, const RECT& rect, const RECT& pane);
    void DrawTab(HDC dc, const RECT& rect, int state) const;
    void DrawCloseCross(const RECT& rect, int index);
    void DrawPaneBorder(HDC dc, const RECT& pane);
    // The scroll arrows a single overflowing row shows, as the halves of a skinned up-down.
    void DrawScrollArrows(HDC dc, const RECT& strip);
    // Whether the click hit a close cross; a hit frees at most one page.
    bool HitCloseButton(const TMessage& message);

    std::vector<RECT> m_hitRects;
    TSkinTabPosition m_position = stpTop;
    // Null when the skin has none: the control then paints itself.
    std::unique_ptr<TBitmap> m_tabImage;
    std::unique_ptr<TBitmap> m_paneImage;
    TBitmap m_work;
    bool m_closeButtons = false;
};

// Paints a tab control whose tabs are buttons (TCS_BUTTONS): every tab a frame of the skin's
// push-button picture, the focused one pressed, with its image and text. Without that picture the
// control paints itself.
class TSkinTabBtn : public TSkinHook {
protected:
    bool BeforeMessage(TMessage& message) override;
    void PaintSkin(HDC dc, const RECT& rect) override;

private:
    [[nodiscard]] bool HasPicture() const;
    TBitmap m_work;
};
