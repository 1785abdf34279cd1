#include "grid/core/DBGridGxColumnDropDownBox.h"

#include "grid/core/DBGridGxColumns.h"
#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/data/DBDataSource.h"

namespace {

void DescribeDropDownBox(TClassBuilder& c)
{
    using C = TColumnDropDownBoxGx;
    c.Enum("Align", DropDownAlignTypeInfo(), &C::Align, &C::SetAlign).Default(ddaLeft);
    c.Boolean("AutoDrop", &C::AutoDrop, &C::SetAutoDrop).Default(false);
    c.Boolean("AutoFitColWidths", &C::AutoFitColWidths, &C::SetAutoFitColWidths).Default(true);
    c.Object("ListSource", &C::ListSource, &C::SetListSource);
    c.Integer("Rows", &C::Rows, &C::SetRows).Default(7);
    c.Boolean("ShowTitles", &C::ShowTitles, &C::SetShowTitles).Default(false);
    c.Boolean("Sizable", &C::Sizable, &C::SetSizable).Default(false);
    c.Boolean("UseMultiTitle", &C::UseMultiTitle, &C::SetUseMultiTitle).Default(false);
    c.Integer("Width", &C::Width, &C::SetWidth).Default(0);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TColumnDropDownBoxGx, TPersistent, nullptr, DescribeDropDownBox)

const TTypeInfo& DropDownAlignTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TDropDownAlign", {"ddaLeft", "ddaRight", "ddaCenter"});
    return info;
}

TColumnDropDownBoxGx::TColumnDropDownBoxGx(TColumnGx* column)
    : m_column(column), m_listLink(std::make_unique<TDataLink>())
{
}

TColumnDropDownBoxGx::~TColumnDropDownBoxGx() = default;

TPersistent* TColumnDropDownBoxGx::GetOwner() const { return m_column; }

void TColumnDropDownBoxGx::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TColumnDropDownBoxGx*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    m_align = other->m_align;
    m_autoDrop = other->m_autoDrop;
    m_autoFitColWidths = other->m_autoFitColWidths;
    m_rows = other->m_rows;
    m_width = other->m_width;
    m_sizable = other->m_sizable;
    m_showTitles = other->m_showTitles;
    m_useMultiTitle = other->m_useMultiTitle;
    SetListSource(other->ListSource());
}

TDataSource* TColumnDropDownBoxGx::ListSource() const { return m_listLink->DataSource(); }

void TColumnDropDownBoxGx::SetListSource(TDataSource* source) { m_listLink->SetDataSource(source); }

// ---- The column's side

TColumnDropDownBoxGx* TColumnGx::DropDownBox() const
{
    if (!m_dropDownBox)
        m_dropDownBox = std::make_unique<TColumnDropDownBoxGx>(const_cast<TColumnGx*>(this));
    return m_dropDownBox.get();
}
