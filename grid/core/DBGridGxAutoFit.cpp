// Fitting the data grid's columns to its client width.
#include "grid/core/DBGridGx.h"

#include "grid/core/DBGridGxRoutines.h"

#include <algorithm>
#include <numeric>
#include <vector>

void TCustomDBGridGx::SetAutoFitColWidths(bool value)
{
    if (value == m_autoFitColWidths)
        return;
    BeginLayout();
    try {
        for (int i = 0; i < m_columns->Count(); ++i) {
            TColumnGx* column = m_columns->ColumnAt(i);
            if (value)
                column->SetFitBaseWidth(column->Width());
            else if (column->FitBaseWidth() > 0)
                column->SetWidth(column->FitBaseWidth());
        }
        m_autoFitColWidths = value;
        ShowOwnHorzScrollBar();
    } catch (...) {
        EndLayout();
        throw;
    }
    EndLayout();
}

void TCustomDBGridGx::SetMinAutoFitWidth(int value)
{
    m_minAutoFitWidth = std::max(0, value);
    LayoutChanged();
}

// The width left for the autofit columns: the client (or the minimum fitting width) less the other
// columns, the indicator and the column lines.
int TCustomDBGridGx::AvailableFitWidth(int othersWidth, int visibleCount) const
{
    int available = std::max(0, std::max(ClientWidth(), m_minAutoFitWidth) - othersWidth);
    const bool lines = m_options.Contains(dgColLines);
    if (m_indicatorOffset > 0)
        available -= IndicatorWidth;
    if (lines)
        available -= visibleCount * GridLineWidth();
    if (lines && m_indicatorOffset > 0)
        available -= GridLineWidth();
    return std::max(0, available);
}

// Autofit columns share the available width in proportion to their base widths. A column its
// minimum or maximum width holds back keeps that width and the others share again; the last free
// column takes what rounding left over. When no free column has a base width (all were 0 wide)
// they share equally rather than dividing by nothing.
void TCustomDBGridGx::FitColumnsToClient()
{
    if (!m_autoFitColWidths || !HandleAllocated())
        return;
    std::vector<TColumnGx*> visible;
    for (int i = 0; i < m_columns->Count(); ++i)
        if (m_columns->ColumnAt(i)->Visible())
            visible.push_back(m_columns->ColumnAt(i));
    const std::size_t count = visible.size();
    std::vector<int> widths(count);
    std::vector<bool> held(count, false);
    std::vector<bool> free(count);
    for (std::size_t i = 0; i < count; ++i) {
        widths[i] = visible[i]->Width();
        free[i] = visible[i]->AutoFitColWidth();
    }
    int available = 0;
    for (std::size_t pass = 0; pass < std::max<std::size_t>(1, count); ++pass) {
        int baseSum = 0;
        int others = 0;
        int freeCount = 0;
        for (std::size_t i = 0; i < count; ++i) {
            if (free[i] && !held[i]) {
                baseSum += std::max(0, visible[i]->FitBaseWidth());
                ++freeCount;
            } else {
                others += widths[i];
            }
        }
        available = AvailableFitWidth(others, static_cast<int>(count));
        const int equalShare = freeCount > 0 ? available / freeCount : 0;
        bool clamped = false;
        for (std::size_t i = 0; i < count; ++i) {
            if (!free[i] || held[i])
                continue;
            const int share = MulDivOr(std::max(0, visible[i]->FitBaseWidth()), available, baseSum, equalShare);
            widths[i] = visible[i]->AllowableWidth(share);
            if (widths[i] != share) {
                held[i] = true;
                clamped = true;
            }
        }
        if (!clamped)
            break;
    }
    int used = 0;
    std::size_t last = count;
    for (std::size_t i = 0; i < count; ++i) {
        if (free[i] && !held[i]) {
            used += widths[i];
            last = i;
        }
    }
    if (last < count)
        widths[last] = std::max(0, widths[last] + available - used);
    m_columns->BeginUpdate();
    for (std::size_t i = 0; i < count; ++i)
        if (free[i])
            visible[i]->SetWidth(widths[i]);
    m_columns->EndUpdate();
}
