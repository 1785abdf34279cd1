#pragma once

#include "platform/classlib/core/Colors.h"
#include "platform/classlib/core/Persistent.h"
#include "platform/winapi/user/WinUser.h"

#include <vector>

class IDataGridGx;
class TFont;
struct TMessage;

// What the data grid knows of a data cell it paints, for the style's highlight colours.
struct THighlightCellGx {
    bool Highlighted = false;          // the grid's own rule highlights the cell
    bool Current = false;              // the current cell, or the current row in row-select mode
    bool FocusHighlightApplies = false;
    bool AlwaysShowSelection = false;
    bool GridFocused = false;
};

// The dark-grey title case of the grid's title rule, or the ordinary one.
enum TTitleHighlightGx { thOrdinaryGx, thDarkGx };

// The one style object of the process: decides the colours of highlighted data and title cells
// and follows the screen's colour depth (a hidden window hears WM_SYSCOLORCHANGE).
class TDBGridGxStyle : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    TDBGridGxStyle();
    ~TDBGridGxStyle() override;

    void RegisterGrid(IDataGridGx* grid);
    [[nodiscard]] bool IsGridRegistered(IDataGridGx* grid) const;
    void UnregisterGrid(IDataGridGx* grid);

    [[nodiscard]] bool LightenSelection() const { return m_lightenSelection; }
    void SetLightenSelection(bool value) { m_lightenSelection = value; }
    [[nodiscard]] bool ApplyFilterOnCloseUp() const { return m_applyFilterOnCloseUp; }
    void SetApplyFilterOnCloseUp(bool value) { m_applyFilterOnCloseUp = value; }
    // NUMCOLORS of the screen; -1 means more than 256 colours.
    [[nodiscard]] int ScreenColorCount() const { return m_screenColorCount; }

    // Sets the background (and the font colour) of a highlighted data cell; answers whether the
    // cell is drawn highlighted.
    virtual bool HighlightDataCellColor(const THighlightCellGx& cell, TFont& font, TColor& background);
    virtual void HighlightTitleCellColor(bool gridFocused, TFont& font, TColor& background, bool selected,
                                         TTitleHighlightGx kind);
    virtual void StyleWindowProc(TMessage& message);
    virtual void ScreenColorsChanged();

    // Half-way towards the glass colour, then towards a light grey; with ungray, away from the
    // middle grey. Each channel stays within 0..255, so a light colour under a light glass stays
    // light.
    [[nodiscard]] static TColor BlendLighter(TColor color, TColor glassColor, bool ungray);

protected:
    [[nodiscard]] bool ManyColors() const { return m_screenColorCount == -1; }
    [[nodiscard]] static TColor NearestColor(TColor color);

    int m_screenColorCount = -1;

private:
    std::vector<IDataGridGx*> m_grids;
    HWND m_window = nullptr;
    bool m_lightenSelection = true;
    bool m_applyFilterOnCloseUp = true;
};

// The unit's default style (made at start-up by whoever owns the grid unit's life; none before).
[[nodiscard]] TDBGridGxStyle* DefaultGridStyle();
void SetDefaultGridStyle(TDBGridGxStyle* style);
