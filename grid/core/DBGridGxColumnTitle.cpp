#include "grid/core/DBGridGxColumnTitle.h"

#include "grid/core/DBGridGxColumns.h"
#include "grid/core/DBGridGxDataLink.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"

#include <algorithm>

namespace {

void DescribeColumnTitle(TClassBuilder& c)
{
    c.Enum("Alignment", ControlAlignmentTypeInfo(), &TColumnTitleGx::Alignment, &TColumnTitleGx::SetAlignment)
        .StoredWhen(&TColumnTitleGx::IsAlignmentStored);
    c.String("Caption", &TColumnTitleGx::Caption, &TColumnTitleGx::SetCaption)
        .StoredWhen(&TColumnTitleGx::IsCaptionStored);
    c.Ordinal("Color", ColorTypeInfo(), &TColumnTitleGx::Color, &TColumnTitleGx::SetColor)
        .StoredWhen(&TColumnTitleGx::IsColorStored);
    c.Boolean("EndEllipsis", &TColumnTitleGx::EndEllipsis, &TColumnTitleGx::SetEndEllipsis)
        .StoredWhen(&TColumnTitleGx::IsEndEllipsisStored);
    c.Object("Font", &TColumnTitleGx::Font, &TColumnTitleGx::SetFont).StoredWhen(&TColumnTitleGx::IsFontStored);
    c.String("Hint", &TColumnTitleGx::Hint, &TColumnTitleGx::SetHint);
    c.Integer("ImageIndex", &TColumnTitleGx::ImageIndex, &TColumnTitleGx::SetImageIndex).Default(-1);
    c.Enum("Orientation", TextOrientationGxTypeInfo(), &TColumnTitleGx::Orientation,
           &TColumnTitleGx::SetOrientation)
        .StoredWhen(&TColumnTitleGx::IsOrientationStored);
    c.Integer("SortIndex", &TColumnTitleGx::SortIndex, &TColumnTitleGx::SetSortIndex).Default(0);
    c.Enum("SortMarker", SortMarkerGxTypeInfo(), &TColumnTitleGx::SortMarker, &TColumnTitleGx::SetSortMarker)
        .Default(smNoneGx);
    c.Boolean("TitleButton", &TColumnTitleGx::TitleButton, &TColumnTitleGx::SetTitleButton)
        .StoredWhen(&TColumnTitleGx::IsTitleButtonStored);
    c.Boolean("ToolTips", &TColumnTitleGx::ToolTips, &TColumnTitleGx::SetToolTips)
        .StoredWhen(&TColumnTitleGx::IsToolTipsStored);
}

// Room for the arrow of the sort marker.
constexpr int SortArrowWidth = 14;
constexpr int SortMarkerRoom = 16;

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TColumnTitleGx, TPersistent, nullptr, DescribeColumnTitle)

const TTypeInfo& SortMarkerGxTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TSortMarkerGx", {"smNoneGx", "smDownGx", "smUpGx"});
    return info;
}

const TTypeInfo& TextOrientationGxTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TTextOrientationGx", {"tohHorizontal", "tohVertical"});
    return info;
}

TColumnTitleGx::TColumnTitleGx(TColumnGx* column) : m_column(column), m_font(std::make_unique<TFont>())
{
    ResyncDefaultFont();
    m_font->SetOnChange(TNotifyEvent(this, &TColumnTitleGx::FontChanged));
}

TColumnTitleGx::~TColumnTitleGx() = default;

TPersistent* TColumnTitleGx::GetOwner() const
{
    return m_column;
}

IDataGridGx* TColumnTitleGx::Grid() const
{
    return m_column ? m_column->OwnerGrid() : nullptr;
}

bool TColumnTitleGx::Assigned(int bit) const
{
    return m_column && m_column->m_assigned.Contains(static_cast<TColumnValueGx>(bit));
}

void TColumnTitleGx::MarkAssigned(int bit)
{
    if (m_column)
        m_column->m_assigned.Include(static_cast<TColumnValueGx>(bit));
}

void TColumnTitleGx::Changed(bool allItems)
{
    if (m_column)
        m_column->Changed(allItems);
}

TColumnTitleDefaultsGx TColumnTitleGx::Defaults() const
{
    const IDataGridGx* grid = Grid();
    return grid ? grid->TitleDefaults() : TColumnTitleDefaultsGx{};
}

TAlignment TColumnTitleGx::Alignment() const
{
    return Assigned(cvTitleAlignment) ? m_alignment : Defaults().Alignment;
}

void TColumnTitleGx::SetAlignment(TAlignment value)
{
    if (Assigned(cvTitleAlignment) && value == m_alignment)
        return;
    m_alignment = value;
    MarkAssigned(cvTitleAlignment);
    Changed();
}

std::string TColumnTitleGx::DefaultCaption() const
{
    if (!m_column)
        return {};
    const TField* field = m_column->Field();
    return field ? field->DisplayName() : m_column->FieldName();
}

std::string TColumnTitleGx::Caption() const
{
    return Assigned(cvTitleCaption) ? m_caption : DefaultCaption();
}

void TColumnTitleGx::SetCaption(const std::string& value)
{
    if (TField* field = m_column ? m_column->WriteThroughField() : nullptr) {
        field->SetDisplayLabel(value);
        return;
    }
    if (Assigned(cvTitleCaption) && value == m_caption)
        return;
    m_caption = value;
    MarkAssigned(cvTitleCaption);
    Changed();
}

TColor TColumnTitleGx::Color() const
{
    return Assigned(cvTitleColor) ? m_color : Defaults().Color;
}

void TColumnTitleGx::SetColor(TColor value)
{
    if (Assigned(cvTitleColor) && value == m_color)
        return;
    m_color = value;
    MarkAssigned(cvTitleColor);
    Changed();
}

bool TColumnTitleGx::EndEllipsis() const
{
    return Assigned(cvTitleEndEllipsis) ? m_endEllipsis : Defaults().EndEllipsis;
}

void TColumnTitleGx::SetEndEllipsis(bool value)
{
    if (Assigned(cvTitleEndEllipsis) && value == m_endEllipsis)
        return;
    m_endEllipsis = value;
    MarkAssigned(cvTitleEndEllipsis);
    Changed();
}

TFont& TColumnTitleGx::DefaultFont() const
{
    if (IDataGridGx* grid = Grid())
        return grid->GridTitleFont();
    if (m_column)
        return *m_column->Font();
    return *m_font;
}

void TColumnTitleGx::ResyncDefaultFont() const
{
    if (Assigned(cvTitleFont))
        return;
    TFont& font = DefaultFont();
    if (&font == m_font.get())
        return;
    if (grid_core::detail::SameFontLook(font, *m_font))
        return;
    const TNotifyEvent handler = m_font->OnChange();
    m_font->SetOnChange({});
    m_font->Assign(&font);
    m_font->SetOnChange(handler);
}

TFont* TColumnTitleGx::Font() const
{
    ResyncDefaultFont();
    return m_font.get();
}

void TColumnTitleGx::SetFont(TFont* value)
{
    m_font->Assign(value);
}

// The title's height may follow its font, so every column is laid out again.
void TColumnTitleGx::FontChanged(TObject*)
{
    MarkAssigned(cvTitleFont);
    Changed(true);
}

void TColumnTitleGx::SetImageIndex(int value)
{
    if (value == m_imageIndex)
        return;
    m_imageIndex = value;
    if (IDataGridGx* grid = Grid())
        grid->RelayoutColumns();
}

TTextOrientationGx TColumnTitleGx::Orientation() const
{
    return Assigned(cvTitleOrientation) ? m_orientation : Defaults().Orientation;
}

void TColumnTitleGx::SetOrientation(TTextOrientationGx value)
{
    if (Assigned(cvTitleOrientation) && value == m_orientation)
        return;
    m_orientation = value;
    MarkAssigned(cvTitleOrientation);
    Changed();
}

bool TColumnTitleGx::TitleButton() const
{
    return Assigned(cvTitleButton) ? m_titleButton : Defaults().TitleButton;
}

void TColumnTitleGx::SetTitleButton(bool value)
{
    if (Assigned(cvTitleButton) && value == m_titleButton)
        return;
    m_titleButton = value;
    MarkAssigned(cvTitleButton);
    Changed();
}

bool TColumnTitleGx::ToolTips() const
{
    return Assigned(cvTitleToolTips) ? m_toolTips : Defaults().ToolTips;
}

void TColumnTitleGx::SetToolTips(bool value)
{
    if (!Assigned(cvTitleToolTips) && value == Defaults().ToolTips)
        return;
    m_toolTips = value;
    MarkAssigned(cvTitleToolTips);
}

void TColumnTitleGx::RestoreDefaults()
{
    const bool fontAssigned = Assigned(cvTitleFont);
    if (m_column)
        for (int bit = cvTitleColor; bit <= cvTitleOrientation; ++bit)
            m_column->m_assigned.Exclude(static_cast<TColumnValueGx>(bit));
    m_caption.clear();
    ResyncDefaultFont();
    Changed(fontAssigned);
}

void TColumnTitleGx::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TColumnTitleGx*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other->Assigned(cvTitleAlignment))
        SetAlignment(other->Alignment());
    if (other->Assigned(cvTitleColor))
        SetColor(other->Color());
    if (other->Assigned(cvTitleCaption))
        SetCaption(other->Caption());
    if (other->Assigned(cvTitleFont))
        SetFont(other->Font());
    SetHint(other->Hint());
    SetImageIndex(other->ImageIndex());
    SetOrientation(other->Orientation());
    SetSortIndex(other->SortIndex());
    SetSortMarker(other->SortMarker());
    SetTitleButton(other->TitleButton());
    SetEndEllipsis(other->EndEllipsis());
    SetToolTips(other->ToolTips());
}

// Markers are collected in the grid's sort list; a column without a grid keeps the marker alone.
void TColumnTitleGx::SetSortMarker(TSortMarkerGx value)
{
    if (value == m_sortMarker)
        return;
    const TSortMarkerGx old = m_sortMarker;
    m_sortMarker = value;
    IDataGridGx* grid = Grid();
    if (!grid || m_column->Collection()->UpdateCount() > 0)
        return;
    std::vector<TColumnGx*>& sorted = grid->SortMarkedColumns();
    TDBGridColumnsGx& columns = grid->Columns();
    if (grid->MultiSortMarking()) {
        if (value != smNoneGx && m_sortIndex == 0) {
            int marked = 0;
            for (int i = 0; i < columns.Count(); ++i)
                marked += columns[i]->Title()->SortIndex() != 0 ? 1 : 0;
            m_sortIndex = marked + 1;
            sorted.push_back(m_column);
        } else if (value == smNoneGx && m_sortIndex != 0) {
            for (int i = 0; i < columns.Count(); ++i) {
                TColumnTitleGx* title = columns[i]->Title();
                if (title->m_sortIndex > m_sortIndex)
                    --title->m_sortIndex;
            }
            std::erase(sorted, m_column);
            m_sortIndex = 0;
        }
    } else if (value != smNoneGx) {
        for (int i = 0; i < columns.Count(); ++i)
            if (columns[i] != m_column && columns[i]->Title()->SortMarker() != smNoneGx)
                columns[i]->Title()->SetSortMarker(smNoneGx);
        m_sortIndex = 1;
        sorted.assign({m_column});
    } else if (old != smNoneGx) {
        m_sortIndex = 0;
        sorted.clear();
    }
    Changed();
}

void TColumnTitleGx::SetSortIndex(int value)
{
    value = std::max(value, 0);
    if (value == m_sortIndex)
        return;
    IDataGridGx* grid = Grid();
    if (grid && m_column->Collection()->UpdateCount() > 0) {
        m_sortIndex = value;
        return;
    }
    if (!grid || m_sortMarker == smNoneGx || value == 0)
        return;
    TDBGridColumnsGx& columns = grid->Columns();
    for (int i = 0; i < columns.Count(); ++i) {
        TColumnGx* other = columns[i];
        if (other == m_column || other->Title()->m_sortIndex != value)
            continue;
        other->Title()->m_sortIndex = m_sortIndex;
        m_sortIndex = value;
        std::vector<TColumnGx*>& sorted = grid->SortMarkedColumns();
        const auto mine = std::ranges::find(sorted, m_column);
        const auto theirs = std::ranges::find(sorted, other);
        if (mine != sorted.end() && theirs != sorted.end())
            std::iter_swap(mine, theirs);
        Changed();
        return;
    }
}

void TColumnTitleGx::ToggleSortMarker(bool multi)
{
    if (!multi)
        if (IDataGridGx* grid = Grid())
            for (int i = 0; i < grid->Columns().Count(); ++i)
                if (grid->Columns()[i] != m_column)
                    grid->Columns()[i]->Title()->SetSortMarker(smNoneGx);
    switch (m_sortMarker) {
    case smNoneGx:
        SetSortMarker(smDownGx);
        break;
    case smDownGx:
        SetSortMarker(smUpGx);
        break;
    case smUpGx:
        SetSortMarker(multi ? smNoneGx : smDownGx);
        break;
    }
}

int TColumnTitleGx::SortMarkerWidth() const
{
    if (m_sortIndex == 0)
        return 0;
    IDataGridGx* grid = Grid();
    int width = SortMarkerRoom;
    if (grid && grid->SortMarkedColumns().size() >= 2)
        width += grid->SortNumberWidth(m_sortIndex);
    const int room = m_column ? m_column->Width() - 4 : width;
    if (room < width)
        width -= SortArrowWidth;
    return room < width ? 0 : width;
}

bool TColumnTitleGx::IsAlignmentStored() const
{
    return Assigned(cvTitleAlignment) && m_alignment != Defaults().Alignment;
}

bool TColumnTitleGx::IsCaptionStored() const
{
    return Assigned(cvTitleCaption) && m_caption != DefaultCaption();
}

bool TColumnTitleGx::IsColorStored() const
{
    return Assigned(cvTitleColor) && m_color != Defaults().Color;
}

bool TColumnTitleGx::IsEndEllipsisStored() const
{
    return Assigned(cvTitleEndEllipsis) && m_endEllipsis != Defaults().EndEllipsis;
}

bool TColumnTitleGx::IsFontStored() const
{
    return Assigned(cvTitleFont);
}

bool TColumnTitleGx::IsOrientationStored() const
{
    return Assigned(cvTitleOrientation) && m_orientation != Defaults().Orientation;
}

bool TColumnTitleGx::IsTitleButtonStored() const
{
    return Assigned(cvTitleButton) && m_titleButton != Defaults().TitleButton;
}

bool TColumnTitleGx::IsToolTipsStored() const
{
    return Assigned(cvTitleToolTips) && m_toolTips != Defaults().ToolTips;
}
