// The data grid's footer rows: their layout share, the sums behind them, their text and cells.
#include "grid/core/DBGridGx.h"

#include "grid/core/DBGridGxRoutines.h"
#include "grid/core/DBGridGxTextDrawing.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/LocaleSettings.h"
#include "platform/winapi/gdi/DrawHelpers.h"

#include <cmath>

namespace {

[[nodiscard]] bool IsIntegerFieldType(TFieldType type)
{
    return type == ftSmallint || type == ftInteger || type == ftWord || type == ftAutoInc || type == ftLargeint;
}

// The first non-empty format of the footer's and the field's.
[[nodiscard]] std::string FirstFormat(const std::string& footerFormat, const TField& field)
{
    if (!footerFormat.empty())
        return footerFormat;
    const auto* numeric = dynamic_cast<const TNumericField*>(&field);
    return numeric ? numeric->DisplayFormat() : std::string{};
}

// A sum's amount (value x 10,000) as the field shows numbers of its type.
[[nodiscard]] std::string AmountText(std::int64_t amount, const TField& field, const std::string& footerFormat)
{
    const double value = static_cast<double>(amount) / 10000.0;
    const std::string format = FirstFormat(footerFormat, field);
    const TFieldType type = field.DataType();
    if (IsIntegerFieldType(type)) {
        if (!format.empty())
            return FormatFloat(format, value);
        // An average of whole numbers may have a fraction: it is rounded, half away from zero.
        return std::to_string(std::llround(value));
    }
    if (type == ftFloat || type == ftCurrency) {
        if (!format.empty())
            return FormatFloat(format, value);
        const auto& floatField = static_cast<const TFloatField&>(field);
        if (floatField.Currency())
            return FloatToStrF(value, ffCurrency, 15, CurrencyDecimals);
        return FloatToStrF(value, ffGeneral, floatField.Precision(), 0);
    }
    if (type == ftBCD || type == ftFMTBcd) {
        const Currency money = Currency::FromScaled(amount);
        if (!footerFormat.empty())
            return FormatFloat(footerFormat, value);
        if (!format.empty())
            return FormatCurr(format, money);
        const auto* bcd = dynamic_cast<const TBCDField*>(&field);
        if (bcd && bcd->Currency())
            return CurrToStrF(money, ffCurrency, CurrencyDecimals);
        return CurrToStrF(money, ffGeneral, 0);
    }
    return "0";
}

} // namespace

// ---- Properties -----------------------------------------------------------------------------------------------------

void TCustomDBGridGx::SetFooterRowCount(int value)
{
    if (value < 0 || value == m_footerRowCount)
        return;
    m_footerRowCount = value;
    LayoutChanged();
}

void TCustomDBGridGx::SetFooterColor(TColor value)
{
    if (value == m_footerColor)
        return;
    m_footerColor = value;
    InvalidateFooter();
}

void TCustomDBGridGx::InvalidateFooter()
{
    if (m_footerRowCount == 0 || !HandleAllocated())
        return;
    InvalidateGridRect({0, RowCount(), ColCount() - 1, RowCount() + m_footerRowCount - 1});
}

void TCustomDBGridGx::FootersChanged(bool sums)
{
    if (sums)
        BindFooterSums();
    InvalidateFooter();
}

// Footer rows take their share of the client height below the data rows.
int TCustomDBGridGx::FooterHeight() const
{
    if (m_footerRowCount == 0)
        return 0;
    const int line = m_options.Contains(dgRowLines) ? GridLineWidth() : 0;
    return m_footerRowCount * (DefaultRowHeight() + line) + line;
}

// ---- The sums behind the footers --------------------------------------------------------------------------------------

// The sum list keeps one item for each sum, average and count a footer shows, and no other. A sum
// of a field the data set lacks is left out: it shows "0" instead of failing every recalculation.
void TCustomDBGridGx::BindFooterSums()
{
    TDataSet* dataSet = m_dataLink->Active() ? m_dataLink->DataSet() : nullptr;
    TDBSumCollection& sums = *m_sumList->SumCollection();
    sums.BeginUpdate();
    try {
        sums.Clear();
        for (int i = 0; i < m_columns->Count(); ++i) {
            const TColumnGx* column = m_columns->ColumnAt(i);
            for (int row = 0; const TColumnFooterGx* footer = column->UsedFooter(row); ++row) {
                const auto operation = FooterGroupOperation(footer->ValueType());
                if (!operation)
                    continue;
                const std::string name = *operation == goCount ? std::string{} : footer->SummedFieldName();
                if (m_sumList->GetSumByOpAndFName(*operation, name) ||
                    (!name.empty() && dataSet && !dataSet->FindField(name)))
                    continue;
                TDBSum* sum = sums.Add();
                sum->SetGroupOperation(*operation);
                sum->SetFieldName(name);
            }
        }
    } catch (...) {
        sums.EndUpdate();
        throw;
    }
    sums.EndUpdate();
}

void TCustomDBGridGx::FollowDataSetWithSums()
{
    m_sumList->SetDataSet(nullptr);
    BindFooterSums();
    m_sumList->SetDataSet(m_dataLink->Active() ? m_dataLink->DataSet() : nullptr);
}

// ---- Footer text ------------------------------------------------------------------------------------------------------

std::string TCustomDBGridGx::GetFooterValue(int footerRow, TColumnGx& column)
{
    const TColumnFooterGx* footer = column.UsedFooter(footerRow);
    if (!footer)
        return {};
    switch (footer->ValueType()) {
    case fvtSum:
        return SumText(*footer, goSum);
    case fvtAvg:
        return SumText(*footer, goAvg);
    case fvtCount: {
        const TDBSum* sum = m_sumList->GetSumByOpAndFName(goCount, "");
        const double count = sum ? static_cast<double>(sum->TotalValue()) / 10000.0 : 0.0;
        return footer->DisplayFormat().empty() ? FloatToStr(count) : FormatFloat(footer->DisplayFormat(), count);
    }
    case fvtFieldValue: {
        // A name the data set lacks shows nothing rather than raising on every paint.
        TDataSet* dataSet = m_dataLink->Active() ? m_dataLink->DataSet() : nullptr;
        TField* field = dataSet && !footer->FieldName().empty() ? dataSet->FindField(footer->FieldName()) : nullptr;
        return field ? FieldTextWithFormat(*field, footer->DisplayFormat()) : std::string{};
    }
    case fvtStaticText:
        return footer->Value();
    default:
        return {};
    }
}

// A sum or an average: "0" without a data set, a field or a sum to read.
std::string TCustomDBGridGx::SumText(const TColumnFooterGx& footer, TGroupOperation operation) const
{
    TDataSet* dataSet = DataSource() ? DataSource()->DataSet() : nullptr;
    const std::string name = footer.SummedFieldName();
    const TField* field = dataSet && !name.empty() ? dataSet->FindField(name) : nullptr;
    const TDBSum* sum = field ? m_sumList->GetSumByOpAndFName(operation, name) : nullptr;
    return sum ? AmountText(sum->TotalValue(), *field, footer.DisplayFormat()) : "0";
}

// ---- Footer cells -----------------------------------------------------------------------------------------------------

void TCustomDBGridGx::PaintFooterCell(int dataCol, int footerRow, TRect rect, TGridDrawState state)
{
    TCanvas* canvas = Canvas();
    TColumnGx* column = dataCol >= 0 && dataCol < m_columns->Count() ? m_columns->ColumnAt(dataCol) : nullptr;
    if (!column) {
        canvas->Brush()->SetColor(FixedColor());
        canvas->FillRect(rect);
        DrawRaisedEdge(rect);
        return;
    }
    const TColumnFooterGx* footer = column->UsedFooter(footerRow);
    canvas->Font()->Assign(footer ? footer->Font() : m_footerFont.get());
    TColor background = footer ? footer->Color() : m_footerColor;
    TAlignment alignment = footer ? footer->Alignment() : taLeftJustify;
    std::string text = GetFooterValue(footerRow, *column);
    if (m_onGetFooterParams)
        m_onGetFooterParams(this, dataCol, footerRow, column, canvas->Font(), background, alignment, state, text);
    canvas->Brush()->SetColor(background);
    TRect area = rect;
    if (m_optionsGx.Contains(dghFooter3D))
        InflateRect(&area, -1, -1);
    canvas->FillRect(rect);
    const bool wrap = footer && footer->WordWrap();
    const bool ellipsis = footer && footer->EndEllipsis();
    DrawCellText(*canvas, area, true, 2, 2, text, alignment, tlCenter, wrap, ellipsis, 0, 0, false);
    if (m_optionsGx.Contains(dghFooter3D)) {
        RECT edge = rect;
        (void)DrawEdge(canvas->Handle(), &edge, BDR_RAISEDINNER, BF_RECT);
    }
    if (m_onDrawFooterCell)
        m_onDrawFooterCell(this, dataCol, footerRow, column, rect, state);
}
