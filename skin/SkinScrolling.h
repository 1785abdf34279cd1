#pragma once

#include "platform/classlib/core/Colors.h"
#include "skin/SkinHook.h"
#include "skin/SkinScrollBar.h"

#include <memory>

// The skinner of a scrolling control (memo, list box, grid, rich edit) or of a bare window with
// scroll bars: a skinned panel lies over each of its scroll bars, and a control with a border of
// its own gets a flat frame in the skin's colours. Single-bar mode leaves the border alone.
class TSkinScrollbar : public TSkinHook {
public:
    explicit TSkinScrollbar(bool singleBar = false) : m_singleBar(singleBar) {}
    ~TSkinScrollbar() override;

    void AttachWindow(TWinSkinForm& form, HWND window) override;
    void Detach() override;
    void SkinChanged() override;

    // Lays both panels over their bars again.
    void Reposition();
    [[nodiscard]] TWScrollbar* HorizontalBar() const { return m_horizontal.get(); }
    [[nodiscard]] TWScrollbar* VerticalBar() const { return m_vertical.get(); }

protected:
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void PaintSkin(HDC dc, const RECT& rect) override;
    void ControlAttached() override;
    void TargetLost() override { HideBars(); }

    // The panel of the bar that WM_HSCROLL or WM_VSCROLL scrolls shows the part in use.
    void ShowScrollPart(const TMessage& message);
    void HideBars();
    // The box where both bars meet, in the window's face colour.
    void FillCorner(HDC dc);

private:
    void PaintBorder(HDC dc);
    void TakeFixedColour();

    std::unique_ptr<TWScrollbar> m_horizontal;
    std::unique_ptr<TWScrollbar> m_vertical;
    bool m_singleBar = false;
    bool m_ownBorder = false;
    bool m_fixedColourSaved = false;
    TColor m_fixedColour = 0;
};

// TSkinScrollbar for a bare window that comes and goes with its owner, such as the list of a
// simple combo box: the panels hide with the window and follow its frame.
class TSkinScrollbarH : public TSkinScrollbar {
protected:
    void AfterMessage(TMessage& message) override;
};

// The skinner of a scroll bar control: one panel stretched over the whole control.
class TSkinScControl : public TSkinHook {
public:
    ~TSkinScControl() override;
    void Detach() override;
    [[nodiscard]] TWScrollbar* Bar() const { return m_bar.get(); }

protected:
    void AfterMessage(TMessage& message) override;
    void PaintSkin(HDC dc, const RECT& rect) override;
    void ControlAttached() override;
    void TargetLost() override;

private:
    std::unique_ptr<TWScrollbar> m_bar;
};
