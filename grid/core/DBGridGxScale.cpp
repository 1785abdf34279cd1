// Scaling the data grid for a form shown at another resolution.
#include "grid/core/DBGridGx.h"

#include "grid/core/DBGridGxColumnTitle.h"
#include "platform/rtl/SysMath.h"

namespace {

void ScaleFont(TFont& font, int multiplier, int divisor) { font.SetSize(MulDiv(font.Size(), multiplier, divisor)); }

} // namespace

// Every font keeps its own size scaled (a title font larger than the grid's stays larger). Each
// width is the scaled sum up to and including it less the scaled sum before it, so rounding never
// makes the columns drift from the scaled total.
void TCustomDBGridGx::ChangeScale(int multiplier, int divisor)
{
    if (multiplier == divisor || multiplier <= 0 || divisor <= 0)
        return;
    BeginLayout();
    m_columns->BeginUpdate();
    try {
        if (!ParentFont()) {
            ScaleFont(*Font(), multiplier, divisor);
            ScaleFont(*m_titleFont, multiplier, divisor);
            ScaleFont(*m_footerFont, multiplier, divisor);
        }
        int before = 0;
        for (int i = 0; i < m_columns->Count(); ++i) {
            TColumnGx* column = m_columns->ColumnAt(i);
            if (column->IsFontStored())
                ScaleFont(*column->Font(), multiplier, divisor);
            if (column->Title()->IsFontStored())
                ScaleFont(*column->Title()->Font(), multiplier, divisor);
            const int upTo = before + column->Width();
            column->SetWidth(MulDiv(upTo, multiplier, divisor) - MulDiv(before, multiplier, divisor));
            before = upTo;
        }
        SetBounds(MulDiv(Left(), multiplier, divisor), MulDiv(Top(), multiplier, divisor),
                  MulDiv(Width(), multiplier, divisor), MulDiv(Height(), multiplier, divisor));
    } catch (...) {
        m_columns->EndUpdate();
        EndLayout();
        throw;
    }
    m_columns->EndUpdate();
    EndLayout();
}
