#pragma once

#include "platform/classlib/core/Components.h"
#include "platform/classlib/core/Persistent.h"
#include "platform/classlib/forms/StdCtrlsScrollBar.h"

#include <memory>
#include <utility>

class TCustomDBGridGx;

enum TScrollBarVisibleModeGx { sbAlwaysShowGx, sbNeverShowGx, sbAutoShowGx };
[[nodiscard]] const TTypeInfo& ScrollBarVisibleModeGxTypeInfo();

// One of the data grid's scroll bars: the grid's own, or an external TScrollBar that takes its
// place (placed by the program anywhere on the form). An external bar sends its scrolling to the
// grid as if it were the grid's own; one bar serves one grid at a time.
class TDBGridGxScrollBar : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    TDBGridGxScrollBar(TCustomDBGridGx& grid, TScrollBarKind kind);
    ~TDBGridGxScrollBar() override;

    void Assign(const TPersistent* source) override;

    [[nodiscard]] TScrollBarKind Kind() const { return m_kind; }
    [[nodiscard]] TScrollBar* ExtScrollBar() const { return m_extScrollBar; }
    // Raises Exception "Possible <name> already attached to the other control." for a bar that
    // another grid has taken; nothing changes then.
    void SetExtScrollBar(TScrollBar* bar);
    // Scroll while the thumb is dragged.
    [[nodiscard]] bool Tracking() const { return m_tracking; }
    void SetTracking(bool value) { m_tracking = value; }
    [[nodiscard]] TScrollBarVisibleModeGx VisibleMode() const { return m_visibleMode; }
    void SetVisibleMode(TScrollBarVisibleModeGx value);
    [[nodiscard]] bool Visible() const { return m_visibleMode != sbNeverShowGx; }
    void SetVisible(bool value) { SetVisibleMode(value ? sbAutoShowGx : sbNeverShowGx); }

    // Shows the range, page and position on the external bar, else on the grid's own bar of this
    // kind: always shown (disabled when the range fits the page), shown when the range exceeds the
    // page, or never.
    void Show(int min, int max, int page, int position);
    // Where the thumb is being dragged to.
    [[nodiscard]] int TrackPosition() const;
    // Whether a thumb move was taken while it was dragged, so that its final position is not.
    bool TakeThumbTracked() { return std::exchange(m_thumbTracked, false); }
    void SetThumbTracked() { m_thumbTracked = true; }

private:
    class TBarWatcher;

    void BarMessage(TMessage& message);
    void Release();
    void BarsChanged();

    TCustomDBGridGx& m_grid;
    TScrollBarKind m_kind;
    TScrollBar* m_extScrollBar = nullptr;
    TWndMethod m_barWindowProc;
    std::unique_ptr<TBarWatcher> m_watcher;
    bool m_tracking = false;
    bool m_thumbTracked = false;
    TScrollBarVisibleModeGx m_visibleMode = sbAutoShowGx;
};

// The vertical bar, which publishes VisibleMode.
class TVertDBGridGxScrollBar : public TDBGridGxScrollBar {
    CLASSLIB_DECLARE_CLASS;

    explicit TVertDBGridGxScrollBar(TCustomDBGridGx& grid) : TDBGridGxScrollBar(grid, sbVertical) {}
};
