#include "grid/core/DBGridGxColumnDefValues.h"

#include "grid/core/DBGridGx.h"
#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"

namespace {

void DescribeTitleDefValues(TClassBuilder& c)
{
    using C = TColumnTitleDefValuesGx;
    c.Enum("Alignment", ControlAlignmentTypeInfo(), &C::Alignment, &C::SetAlignment).StoredWhen(&C::IsAlignmentStored);
    c.Ordinal("Color", ColorTypeInfo(), &C::Color, &C::SetColor).StoredWhen(&C::IsColorStored);
    c.Boolean("EndEllipsis", &C::EndEllipsis, &C::SetEndEllipsis).Default(false);
    c.Enum("Orientation", TextOrientationGxTypeInfo(), &C::Orientation, &C::SetOrientation).Default(tohHorizontal);
    c.Boolean("TitleButton", &C::TitleButton, &C::SetTitleButton).Default(false);
    c.Boolean("ToolTips", &C::ToolTips, &C::SetToolTips).Default(false);
}

template <TColumnDefaultFlagGx F>
void DescribeFlag(TClassBuilder& c, const char* name)
{
    c.Boolean(name, &TColumnDefValuesGx::FlagValue<F>, &TColumnDefValuesGx::SetFlagValue<F>).Default(false);
}

void DescribeDefValues(TClassBuilder& c)
{
    using C = TColumnDefValuesGx;
    DescribeFlag<cdfAlwaysShowEditButton>(c, "AlwaysShowEditButton");
    DescribeFlag<cdfAutoDropDown>(c, "AutoDropDown");
    DescribeFlag<cdfDblClickNextVal>(c, "DblClickNextVal");
    DescribeFlag<cdfDropDownShowTitles>(c, "DropDownShowTitles");
    DescribeFlag<cdfDropDownSizing>(c, "DropDownSizing");
    DescribeFlag<cdfEndEllipsis>(c, "EndEllipsis");
    DescribeFlag<cdfHighlightRequired>(c, "HighlightRequired");
    c.Enum("Layout", TextLayoutTypeInfo(), &C::Layout, &C::SetLayout).Default(tlTop);
    c.Object("Title", &C::Title, &C::SetTitle);
    DescribeFlag<cdfToolTips>(c, "ToolTips");
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TColumnTitleDefValuesGx, TPersistent, nullptr, DescribeTitleDefValues)
CLASSLIB_IMPLEMENT_CLASS(TColumnDefValuesGx, TPersistent, nullptr, DescribeDefValues)

// ---- Title defaults -------------------------------------------------------------------------------------------------

// The source's assigned alignment and colour are copied (a fresh target would otherwise never
// receive them).
void TColumnTitleDefValuesGx::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TColumnTitleDefValuesGx*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other->m_alignment)
        m_alignment = other->m_alignment;
    if (other->m_color)
        m_color = other->m_color;
    m_endEllipsis = other->m_endEllipsis;
    m_titleButton = other->m_titleButton;
    m_toolTips = other->m_toolTips;
    m_orientation = other->m_orientation;
    Changed(true);
}

TAlignment TColumnTitleDefValuesGx::Alignment() const
{
    if (m_alignment)
        return *m_alignment;
    return m_grid && m_grid->UseMultiTitle() ? taCenter : taLeftJustify;
}

TColor TColumnTitleDefValuesGx::Color() const
{
    if (m_color)
        return *m_color;
    return m_grid ? m_grid->FixedColor() : clBtnFace;
}

void TColumnTitleDefValuesGx::SetAlignment(TAlignment value)
{
    if (m_alignment == value)
        return;
    m_alignment = value;
    Changed(true);
}

void TColumnTitleDefValuesGx::SetColor(TColor value)
{
    if (m_color == value)
        return;
    m_color = value;
    Changed(false);
}

void TColumnTitleDefValuesGx::SetEndEllipsis(bool value)
{
    if (value == m_endEllipsis)
        return;
    m_endEllipsis = value;
    Changed(false);
}

void TColumnTitleDefValuesGx::SetOrientation(TTextOrientationGx value)
{
    if (value == m_orientation)
        return;
    m_orientation = value;
    Changed(true);
}

void TColumnTitleDefValuesGx::SetTitleButton(bool value)
{
    if (value == m_titleButton)
        return;
    m_titleButton = value;
    Changed(false);
}

void TColumnTitleDefValuesGx::Changed(bool layout)
{
    if (!m_grid)
        return;
    if (layout)
        m_grid->LayoutChanged();
    else
        m_grid->Invalidate();
}

// ---- Column defaults ------------------------------------------------------------------------------------------------

TColumnDefValuesGx::TColumnDefValuesGx(TCustomDBGridGx* grid)
    : m_grid(grid), m_title(std::make_unique<TColumnTitleDefValuesGx>(grid))
{
}

TColumnDefValuesGx::~TColumnDefValuesGx() = default;

void TColumnDefValuesGx::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TColumnDefValuesGx*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    m_title->Assign(other->m_title.get());
    const unsigned kept = 1U << cdfHighlightRequired;
    m_flags = (m_flags & kept) | (other->m_flags & ~kept);
    if (m_grid)
        m_grid->Invalidate();
}

bool TColumnDefValuesGx::Flag(TColumnDefaultFlagGx flag) const { return (m_flags & (1U << flag)) != 0; }

void TColumnDefValuesGx::SetFlag(TColumnDefaultFlagGx flag, bool value)
{
    if (Flag(flag) == value)
        return;
    m_flags = value ? m_flags | (1U << flag) : m_flags & ~(1U << flag);
    if (m_grid)
        m_grid->Invalidate();
}

void TColumnDefValuesGx::SetLayout(TTextLayout value)
{
    if (value == m_layout)
        return;
    m_layout = value;
    if (m_grid)
        m_grid->Invalidate();
}
