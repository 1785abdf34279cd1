#include "grid/core/DBGridGxScrollBar.h"

#include "grid/core/DBGridGx.h"
#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/forms/ControlsMessages.h"
#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <set>

namespace {

void DescribeScrollBar(TClassBuilder& c)
{
    using C = TDBGridGxScrollBar;
    c.Object("ExtScrollBar", &C::ExtScrollBar, &C::SetExtScrollBar);
    c.Boolean("Tracking", &C::Tracking, &C::SetTracking).Default(false);
    c.Boolean("Visible", &C::Visible, &C::SetVisible).Default(true);
}

void DescribeVertScrollBar(TClassBuilder& c)
{
    using C = TVertDBGridGxScrollBar;
    c.Enum("VisibleMode", ScrollBarVisibleModeGxTypeInfo(), &C::VisibleMode, &C::SetVisibleMode).Default(sbAutoShowGx);
}

// The external bars some grid has taken, so that a second grid cannot take one over as well.
std::set<const TScrollBar*>& TakenBars()
{
    static std::set<const TScrollBar*> bars;
    return bars;
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TDBGridGxScrollBar, TPersistent, nullptr, DescribeScrollBar)
CLASSLIB_IMPLEMENT_CLASS(TVertDBGridGxScrollBar, TDBGridGxScrollBar, nullptr, DescribeVertScrollBar)

const TTypeInfo& ScrollBarVisibleModeGxTypeInfo()
{
    static const TTypeInfo info =
        EnumerationTypeInfo("TScrollBarVisibleModeGx", {"sbAlwaysShowGx", "sbNeverShowGx", "sbAutoShowGx"});
    return info;
}

// Hears when the external bar is destroyed.
class TDBGridGxScrollBar::TBarWatcher : public TComponent {
public:
    explicit TBarWatcher(TDBGridGxScrollBar& owner) : TComponent(nullptr), m_owner(owner) {}

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation == opRemove && component == m_owner.m_extScrollBar) {
            TakenBars().erase(m_owner.m_extScrollBar);
            m_owner.m_extScrollBar = nullptr;
            m_owner.m_barWindowProc = {};
            m_owner.BarsChanged();
        }
    }

private:
    TDBGridGxScrollBar& m_owner;
};

TDBGridGxScrollBar::TDBGridGxScrollBar(TCustomDBGridGx& grid, TScrollBarKind kind)
    : m_grid(grid), m_kind(kind), m_watcher(std::make_unique<TBarWatcher>(*this))
{
}

TDBGridGxScrollBar::~TDBGridGxScrollBar() { Release(); }

void TDBGridGxScrollBar::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TDBGridGxScrollBar*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    SetVisible(other->Visible());
    m_tracking = other->m_tracking;
    SetExtScrollBar(other->m_extScrollBar);
}

void TDBGridGxScrollBar::SetExtScrollBar(TScrollBar* bar)
{
    if (bar == m_extScrollBar)
        return;
    if (bar && TakenBars().contains(bar))
        throw Exception("Possible " + bar->Name() + " already attached to the other control.");
    Release();
    if (bar) {
        m_extScrollBar = bar;
        m_barWindowProc = bar->WindowProc();
        bar->SetWindowProc([this](TMessage& message) { BarMessage(message); });
        bar->FreeNotification(m_watcher.get());
        TakenBars().insert(bar);
    }
    BarsChanged();
}

// The bar's own procedure comes back, so that it works as an ordinary scroll bar again.
void TDBGridGxScrollBar::Release()
{
    TScrollBar* bar = std::exchange(m_extScrollBar, nullptr);
    if (!bar)
        return;
    TakenBars().erase(bar);
    bar->RemoveFreeNotification(m_watcher.get());
    bar->SetWindowProc(std::move(m_barWindowProc));
    m_barWindowProc = {};
}

// The bar moves its own thumb first; the grid then scrolls and sets the thumb where its records
// (or columns) are.
void TDBGridGxScrollBar::BarMessage(TMessage& message)
{
    if (m_barWindowProc)
        m_barWindowProc(message);
    if (message.Msg == CN_VSCROLL || message.Msg == CN_HSCROLL)
        (void)m_grid.Perform(message.Msg == CN_VSCROLL ? WM_VSCROLL : WM_HSCROLL, message.WParam, 0);
}

void TDBGridGxScrollBar::SetVisibleMode(TScrollBarVisibleModeGx value)
{
    if (value == m_visibleMode)
        return;
    m_visibleMode = value;
    BarsChanged();
}

void TDBGridGxScrollBar::BarsChanged()
{
    if (m_extScrollBar)
        m_extScrollBar->SetVisible(Visible());
    m_grid.ScrollBarsChanged();
}

void TDBGridGxScrollBar::Show(int min, int max, int page, int position)
{
    max = std::max(min, max);
    const bool fits = max - min + 1 <= page || max == min;
    const int bar = m_kind == sbVertical ? SB_VERT : SB_HORZ;
    if (m_extScrollBar) {
        if (m_kind == sbVertical && m_grid.HandleAllocated())
            (void)ShowScrollBar(m_grid.Handle(), bar, FALSE);
        m_extScrollBar->SetPageSize(0);
        m_extScrollBar->SetParams(std::clamp(position, min, max), min, max);
        m_extScrollBar->SetPageSize(std::min(page, max - min + 1));
        m_extScrollBar->SetEnabled(!fits);
        return;
    }
    if (!m_grid.HandleAllocated())
        return;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    if (m_visibleMode == sbAlwaysShowGx)
        info.fMask |= SIF_DISABLENOSCROLL;
    if (m_visibleMode != sbNeverShowGx) {
        info.nMin = min;
        info.nMax = max;
        info.nPage = static_cast<UINT>(std::max(0, page));
        info.nPos = position;
    }
    (void)SetScrollInfo(m_grid.Handle(), bar, &info, TRUE);
    if (m_visibleMode == sbNeverShowGx)
        (void)ShowScrollBar(m_grid.Handle(), bar, FALSE);
}

int TDBGridGxScrollBar::TrackPosition() const
{
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_TRACKPOS;
    if (m_extScrollBar) {
        if (m_extScrollBar->HandleAllocated())
            (void)GetScrollInfo(m_extScrollBar->Handle(), SB_CTL, &info);
    } else if (m_grid.HandleAllocated()) {
        (void)GetScrollInfo(m_grid.Handle(), m_kind == sbVertical ? SB_VERT : SB_HORZ, &info);
    }
    return info.nTrackPos;
}
