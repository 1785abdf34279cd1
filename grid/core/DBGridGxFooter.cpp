#include "grid/core/DBGridGxFooter.h"

#include "grid/core/DBGridGxColumns.h"
#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/GraphicsObjects.h"

namespace {

void DescribeFooter(TClassBuilder& c)
{
    using C = TColumnFooterGx;
    c.Boolean("EndEllipsis", &C::EndEllipsis, &C::SetEndEllipsis).Default(false);
    c.String("DisplayFormat", &C::DisplayFormat, &C::SetDisplayFormat);
    c.String("FieldName", &C::FieldName, &C::SetFieldName);
    c.Object("Font", &C::Font, &C::SetFont).StoredWhen(&C::IsFontStored);
    c.Boolean("ToolTips", &C::ToolTips, &C::SetToolTips).Default(false);
    c.String("Value", &C::Value, &C::SetValue);
    c.Enum("ValueType", FooterValueTypeTypeInfo(), &C::ValueType, &C::SetValueType).Default(fvtNon);
    c.Boolean("WordWrap", &C::WordWrap, &C::SetWordWrap).Default(false);
}

[[nodiscard]] TColumnGx* ColumnOf(TCollection* collection)
{
    const auto* footers = dynamic_cast<TColumnFootersGx*>(collection);
    return footers ? footers->Column() : nullptr;
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TColumnFooterGx, TCollectionItem, CollectionItemCreator<TColumnFooterGx>, DescribeFooter)
CLASSLIB_IMPLEMENT_CLASS(TColumnFootersGx, TCollection, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TDBGridGxSumList, TDBSumListProducer, nullptr, nullptr)

const TTypeInfo& FooterValueTypeTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TFooterValueType", {"fvtNon", "fvtSum", "fvtAvg", "fvtCount", "fvtFieldValue", "fvtStaticText"});
    return info;
}

std::optional<TGroupOperation> FooterGroupOperation(TFooterValueType type)
{
    switch (type) {
    case fvtSum:
        return goSum;
    case fvtAvg:
        return goAvg;
    case fvtCount:
        return goCount;
    default:
        return std::nullopt;
    }
}

// ---- A footer ---------------------------------------------------------------------------------------------------------

TColumnFooterGx::TColumnFooterGx(TCollection* collection)
    : TCollectionItem(collection), m_column(ColumnOf(collection)), m_font(std::make_unique<TFont>())
{
    m_font->SetOnChange(TNotifyEvent(this, &TColumnFooterGx::FontChanged));
}

TColumnFooterGx::TColumnFooterGx(TColumnGx* column)
    : TCollectionItem(nullptr), m_column(column), m_font(std::make_unique<TFont>())
{
    m_font->SetOnChange(TNotifyEvent(this, &TColumnFooterGx::FontChanged));
}

TColumnFooterGx::~TColumnFooterGx() { m_font->SetOnChange({}); }

void TColumnFooterGx::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TColumnFooterGx*>(source);
    if (!other) {
        TCollectionItem::Assign(source);
        return;
    }
    m_alignment = other->m_alignment;
    m_color = other->m_color;
    m_endEllipsis = other->m_endEllipsis;
    m_displayFormat = other->m_displayFormat;
    m_toolTips = other->m_toolTips;
    m_value = other->m_value;
    m_wordWrap = other->m_wordWrap;
    m_fieldName = other->m_fieldName;
    m_valueType = other->m_valueType;
    if (other->m_fontAssigned)
        SetFont(other->m_font.get());
    Changed(true);
}

void TColumnFooterGx::RestoreDefaults()
{
    m_alignment.reset();
    m_color.reset();
    m_fontAssigned = false;
    Changed(false);
}

TAlignment TColumnFooterGx::Alignment() const
{
    if (m_alignment)
        return *m_alignment;
    const TField* field = m_column ? m_column->Field() : nullptr;
    return field ? field->Alignment() : taLeftJustify;
}

void TColumnFooterGx::SetAlignment(TAlignment value)
{
    if (m_alignment == value)
        return;
    m_alignment = value;
    Changed(false);
}

TColor TColumnFooterGx::Color() const
{
    if (m_color)
        return *m_color;
    const IDataGridGx* grid = m_column ? m_column->OwnerGrid() : nullptr;
    return grid ? grid->FooterColor() : clWindow;
}

void TColumnFooterGx::SetColor(TColor value)
{
    if (m_color == value)
        return;
    m_color = value;
    Changed(false);
}

// The unassigned font is kept a copy of the default, without counting that as assigning it.
TFont* TColumnFooterGx::Font() const
{
    if (m_fontAssigned)
        return m_font.get();
    const IDataGridGx* grid = m_column ? m_column->OwnerGrid() : nullptr;
    const TFont* fallback = grid && grid->GridFooterFont() ? grid->GridFooterFont() : m_column ? m_column->Font() : nullptr;
    if (fallback && !grid_core::detail::SameFontLook(*fallback, *m_font)) {
        const TNotifyEvent handler = m_font->OnChange();
        m_font->SetOnChange({});
        m_font->Assign(fallback);
        m_font->SetOnChange(handler);
    }
    return m_font.get();
}

void TColumnFooterGx::SetFont(TFont* value) { m_font->Assign(value); }

void TColumnFooterGx::FontChanged(TObject*)
{
    m_fontAssigned = true;
    Changed(false);
}

void TColumnFooterGx::SetDisplayFormat(const std::string& value)
{
    if (value == m_displayFormat)
        return;
    m_displayFormat = value;
    Changed(false);
}

void TColumnFooterGx::SetEndEllipsis(bool value)
{
    m_endEllipsis = value;
    Changed(false);
}

void TColumnFooterGx::SetFieldName(const std::string& value)
{
    if (value == m_fieldName)
        return;
    m_fieldName = value;
    Changed(true);
}

void TColumnFooterGx::SetToolTips(bool value) { m_toolTips = value; }

void TColumnFooterGx::SetValue(const std::string& value)
{
    m_value = value;
    Changed(false);
}

void TColumnFooterGx::SetValueType(TFooterValueType value)
{
    if (value == m_valueType)
        return;
    m_valueType = value;
    Changed(true);
}

void TColumnFooterGx::SetWordWrap(bool value)
{
    m_wordWrap = value;
    Changed(false);
}

std::string TColumnFooterGx::SummedFieldName() const
{
    if (!m_fieldName.empty() || !m_column)
        return m_fieldName;
    return m_column->FieldName();
}

void TColumnFooterGx::Changed(bool sums)
{
    if (IDataGridGx* grid = m_column ? m_column->OwnerGrid() : nullptr)
        grid->FootersChanged(sums);
}

// ---- A column's footers -------------------------------------------------------------------------------------------------

TColumnFootersGx::TColumnFootersGx(TColumnGx* column)
    : TCollection(TColumnFooterGx::StaticClass()), m_column(column)
{
}

TPersistent* TColumnFootersGx::GetOwner() const { return m_column; }

void TColumnFootersGx::Update(TCollectionItem* /*item*/)
{
    if (IDataGridGx* grid = m_column ? m_column->OwnerGrid() : nullptr)
        grid->FootersChanged(true);
}

// ---- The column's side --------------------------------------------------------------------------------------------------

TColumnFooterGx* TColumnGx::Footer() const
{
    if (!m_footer)
        m_footer = std::make_unique<TColumnFooterGx>(const_cast<TColumnGx*>(this));
    return m_footer.get();
}

void TColumnGx::SetFooter(TColumnFooterGx* value) { Footer()->Assign(value); }

TColumnFootersGx* TColumnGx::Footers() const
{
    if (!m_footers)
        m_footers = std::make_unique<TColumnFootersGx>(const_cast<TColumnGx*>(this));
    return m_footers.get();
}

TColumnFooterGx* TColumnGx::UsedFooter(int footerRow) const
{
    if (m_footers && m_footers->Count() > 0)
        return footerRow >= 0 && footerRow < m_footers->Count() ? m_footers->FooterAt(footerRow) : nullptr;
    return footerRow == 0 ? Footer() : nullptr;
}
