#include "grid/core/DBGridGxColumns.h"
#include "grid/core/DBGridGxFooter.h"
#include "grid/core/DBGridGxColumnFilter.h"
#include "grid/core/DBGridGxColumnDropDownBox.h"

#include "grid/core/DBGridGxDataLink.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/MemoryDC.h"

#include <algorithm>
#include <cmath>

namespace {

const TTypeInfo& ImeModeTypeInfo()
{
    static const TTypeInfo info =
        EnumerationTypeInfo("TImeMode", {"imDisable", "imClose", "imOpen", "imDontCare", "imSAlpha", "imAlpha",
                                         "imHira", "imSKata", "imKata", "imChinese", "imSHanguel", "imHanguel"});
    return info;
}

const TTypeInfo& BiDiModeTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TBiDiMode", {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign", "bdRightToLeftReadingOnly"});
    return info;
}

void DescribeColumn(TClassBuilder& c)
{
    using C = TColumnGx;
    c.Enum("Alignment", ControlAlignmentTypeInfo(), &C::Alignment, &C::SetAlignment).StoredWhen(&C::IsAlignmentStored);
    c.Boolean("AlwaysShowEditButton", &C::AlwaysShowEditButton, &C::SetAlwaysShowEditButton)
        .StoredWhen(&C::IsAlwaysShowEditButtonStored);
    c.Boolean("AutoDropDown", &C::AutoDropDown, &C::SetAutoDropDown).StoredWhen(&C::IsAutoDropDownStored);
    c.Boolean("AutoFitColWidth", &C::AutoFitColWidth, &C::SetAutoFitColWidth).Default(true);
    c.Enum("BiDiMode", BiDiModeTypeInfo(), &C::BiDiMode, &C::SetBiDiMode).StoredWhen(&C::IsBiDiModeStored);
    c.Enum("ButtonStyle", ColumnButtonStyleGxTypeInfo(), &C::ButtonStyle, &C::SetButtonStyle).Default(cbsAuto);
    c.Boolean("Checkboxes", &C::Checkboxes, &C::SetCheckboxes).StoredWhen(&C::IsCheckboxesStored);
    c.Ordinal("Color", ColorTypeInfo(), &C::Color, &C::SetColor).StoredWhen(&C::IsColorStored);
    c.Boolean("DblClickNextVal", &C::DblClickNextVal, &C::SetDblClickNextVal).StoredWhen(&C::IsDblClickNextValStored);
    c.String("DisplayFormat", &C::DisplayFormat, &C::SetDisplayFormat);
    c.Integer("DropDownRows", &C::DropDownRows, &C::SetDropDownRows).Default(7);
    c.Boolean("DropDownShowTitles", &C::DropDownShowTitles, &C::SetDropDownShowTitles)
        .StoredWhen(&C::IsDropDownShowTitlesStored);
    c.Boolean("DropDownSizing", &C::DropDownSizing, &C::SetDropDownSizing).StoredWhen(&C::IsDropDownSizingStored);
    c.Integer("DropDownWidth", &C::DropDownWidth, &C::SetDropDownWidth).Default(0);
    c.Object("EditButtons", &C::EditButtons);
    c.String("EditMask", &C::EditMask, &C::SetEditMask);
    c.Boolean("EndEllipsis", &C::EndEllipsis, &C::SetEndEllipsis).StoredWhen(&C::IsEndEllipsisStored);
    c.String("FieldName", &C::FieldName, &C::SetFieldName);
    c.Object("Font", &C::Font, &C::SetFont).StoredWhen(&C::IsFontStored);
    c.Boolean("HideDuplicates", &C::HideDuplicates, &C::SetHideDuplicates).Default(false);
    c.Boolean("HighlightRequired", &C::HighlightRequired, &C::SetHighlightRequired)
        .StoredWhen(&C::IsHighlightRequiredStored);
    c.Object("ImageList", &C::ImageList, &C::SetImageList);
    c.Enum("ImeMode", ImeModeTypeInfo(), &C::ImeMode, &C::SetImeMode).StoredWhen(&C::IsImeModeStored);
    c.String("ImeName", &C::ImeName, &C::SetImeName).StoredWhen(&C::IsImeNameStored);
    c.Float("Increment", &C::Increment, &C::SetIncrement).StoredWhen(&C::IsIncrementStored);
    c.Object("KeyList", &C::KeyList, &C::SetKeyList).StoredWhen(&C::HasKeyItems);
    c.Enum("Layout", TextLayoutTypeInfo(), &C::Layout, &C::SetLayout).StoredWhen(&C::IsLayoutStored);
    c.String("LookupDisplayFields", &C::LookupDisplayFields, &C::SetLookupDisplayFields)
        .StoredWhen(&C::IsLookupDisplayFieldsStored);
    c.Object("MRUList", &C::MRUList);
    c.Integer("MaxWidth", &C::MaxWidth, &C::SetMaxWidth).Default(0);
    c.Integer("MinWidth", &C::MinWidth, &C::SetMinWidth).Default(0);
    c.Integer("NotInKeyListIndex", &C::NotInKeyListIndex, &C::SetNotInKeyListIndex).Default(-1);
    c.Object("PickList", &C::PickList, &C::SetPickList).StoredWhen(&C::HasPickItems);
    c.Object("PopupMenu", &C::PopupMenu, &C::SetPopupMenu);
    c.Boolean("ReadOnly", &C::ReadOnly, &C::SetReadOnly).StoredWhen(&C::IsReadOnlyStored);
    c.Boolean("ShowImageAndText", &C::ShowImageAndText, &C::SetShowImageAndText).Default(false);
    c.Object("DropDownBox", &C::DropDownBox);
    c.Object("STFilter", &C::STFilter);
    c.Integer("Tag", &C::Tag, &C::SetTag).Default(0);
    c.Object("Title", &C::Title, &C::SetTitle);
    c.Boolean("ToolTips", &C::ToolTips, &C::SetToolTips).StoredWhen(&C::IsToolTipsStored);
    c.Boolean("Visible", &C::Visible, &C::SetVisible).Default(true);
    c.Integer("Width", &C::Width, &C::SetWidth).StoredWhen(&C::IsWidthStored);
    c.Boolean("WordWrap", &C::WordWrap, &C::SetWordWrap).StoredWhen(&C::IsWordWrapStored);
    c.Event("OnCheckDrawRequiredState", &C::OnCheckDrawRequiredState, &C::SetOnCheckDrawRequiredState);
    c.Event("OnEditButtonClick", &C::OnEditButtonClick, &C::SetOnEditButtonClick);
    c.Event("OnEditButtonDown", &C::OnEditButtonDown, &C::SetOnEditButtonDown);
    c.Event("OnNotInList", &C::OnNotInList, &C::SetOnNotInList);
    c.Event("OnUpdateData", &C::OnUpdateData, &C::SetOnUpdateData);
}

// The grid's layout stays locked while a column of it is built.
class LayoutLock {
public:
    explicit LayoutLock(IDataGridGx* grid) : m_grid(grid)
    {
        if (m_grid)
            m_grid->LockLayout();
    }
    ~LayoutLock()
    {
        if (m_grid)
            m_grid->UnlockLayout();
    }
    LayoutLock(const LayoutLock&) = delete;
    LayoutLock& operator=(const LayoutLock&) = delete;

private:
    IDataGridGx* m_grid;
};

[[nodiscard]] IDataGridGx* GridOf(TCollection* collection)
{
    const auto* columns = dynamic_cast<TDBGridColumnsGx*>(collection);
    return columns ? columns->Grid() : nullptr;
}

[[nodiscard]] bool IsTextField(const TField& field)
{
    switch (field.DataType()) {
    case ftString:
    case ftMemo:
    case ftFmtMemo:
    case ftWideString:
        return true;
    default:
        return false;
    }
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TColumnGx, TCollectionItem, CollectionItemCreator<TColumnGx>, DescribeColumn)
CLASSLIB_IMPLEMENT_CLASS(TDBGridColumnGx, TColumnGx, CollectionItemCreator<TDBGridColumnGx>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TDBGridColumnsGx, TCollection, nullptr, nullptr)

const TTypeInfo& ColumnButtonStyleGxTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo(
        "TColumnButtonStyleGx", {"cbsAuto", "cbsEllipsis", "cbsNone", "cbsUpDown", "cbsDropDown"});
    return info;
}

bool grid_core::detail::SameFontLook(const TFont& a, const TFont& b)
{
    return a.Name() == b.Name() && a.Height() == b.Height() && a.Style() == b.Style() && a.Color() == b.Color() &&
           a.Charset() == b.Charset() && a.Pitch() == b.Pitch() && a.Orientation() == b.Orientation();
}

// ---- Life

TColumnGx::TColumnGx(TCollection* collection) : TCollectionItem(collection)
{
    const LayoutLock lock(GridOf(collection));
    m_font = std::make_unique<TFont>();
    if (IDataGridGx* grid = OwnerGrid())
        m_font->Assign(&grid->GridFont());
    m_font->SetOnChange(TNotifyEvent(this, &TColumnGx::FontChanged));
    m_title = std::make_unique<TColumnTitleGx>(this);
    if (const TColumnSpecRowMakerGx maker = ColumnSpecRowMaker())
        m_dropDownSpecRow = maker(*this, [this] { Changed(); });
    m_fitBaseWidth = Width();
    m_editButtons = std::make_unique<TEditButtonsGx>(this, TVisibleEditButtonGx::StaticClass());
    m_editButtons->SetOnChanged(TEvent<TObject*, TCollectionItem*>::FromFunction([this](TObject*, TCollectionItem*) {
        Changed();
    }));
    m_mruList = std::make_unique<TMRUListGx>(this);
    m_imageLink = std::make_unique<TChangeLink>();
    m_imageLink->SetOnChange(TNotifyEvent::FromFunction([this](TObject* sender) {
        if (sender && m_imageLink->Sender() == m_imageList)
            InvalidateGrid();
    }));
}

TColumnGx::~TColumnGx()
{
    if (IDataGridGx* grid = OwnerGrid())
        std::erase(grid->SortMarkedColumns(), this);
    if (m_imageList)
        m_imageList->UnRegisterChanges(m_imageLink.get());
}

IDataGridGx* TColumnGx::OwnerGrid() const
{
    return GridOf(Collection());
}

TDBGridColumnsGx* TColumnGx::Columns() const
{
    return dynamic_cast<TDBGridColumnsGx*>(Collection());
}

std::string TColumnGx::GetDisplayName() const
{
    return m_fieldName.empty() ? TCollectionItem::GetDisplayName() : m_fieldName;
}

// A default column moves its field along, so the data set's field order follows the grid's. The
// grid's layout waits until both have moved: rebuilt from the fields in between, it would free
// the column being moved.
void TColumnGx::SetIndex(int index)
{
    const int from = Index();
    MoveInCollection(index);
    if (IDataGridGx* grid = OwnerGrid(); grid && Index() != from)
        grid->ColumnIndexChanged(from, Index());
}

void TColumnGx::MoveInCollection(int index)
{
    TField* field = WriteThroughField();
    TField* target = field ? OwnerGrid()->DataLink().GetMappedField(index) : nullptr;
    if (!target) {
        TCollectionItem::SetIndex(index);
        return;
    }
    IDataGridGx* grid = OwnerGrid();
    grid->LockLayout();
    try {
        field->SetIndex(target->Index());
        TCollectionItem::SetIndex(index);
    } catch (...) {
        grid->UnlockLayout();
        throw;
    }
    grid->UnlockLayout();
}

// ---- Field binding

TField* TColumnGx::BoundField() const
{
    if (m_boundField || m_fieldName.empty())
        return m_boundField;
    IDataGridGx* grid = OwnerGrid();
    TDataSet* dataSet = grid ? grid->DataLink().DataSet() : nullptr;
    if (!dataSet || (!dataSet->Active() && dataSet->DefaultFields()))
        return nullptr;
    if (TField* field = dataSet->FindField(m_fieldName)) {
        m_boundField = field;
        const_cast<TColumnGx*>(this)->m_fieldName = field->FieldName();
    }
    return m_boundField;
}

void TColumnGx::SetFieldName(const std::string& name)
{
    TField* field = nullptr;
    IDataGridGx* grid = OwnerGrid();
    TDataSet* dataSet = grid ? grid->DataLink().DataSet() : nullptr;
    if (dataSet && !grid->GridLoading() && !name.empty())
        field = dataSet->FindField(name);
    m_fieldName = name;
    SetField(field);
    m_fitBaseWidth = Width();
    Changed();
}

void TColumnGx::SetField(TField* field)
{
    if (field == m_boundField)
        return;
    m_boundField = field;
    if (field)
        m_fieldName = field->FieldName();
    if (IsDefaultColumn()) {
        if (!field)
            m_fieldName.clear();
        RestoreDefaults();
        m_fitBaseWidth = Width();
    }
    Changed();
}

TField* TColumnGx::WriteThroughField() const
{
    IDataGridGx* grid = OwnerGrid();
    if (!IsDefaultColumn() || !grid || !grid->DataLink().Active())
        return nullptr;
    return BoundField();
}

void TColumnGx::InvalidateGrid() const
{
    if (IDataGridGx* grid = OwnerGrid())
        grid->InvalidateGrid();
}

bool TColumnGx::ColumnDefaultFlag(TColumnDefaultFlagGx flag) const
{
    const IDataGridGx* grid = OwnerGrid();
    return grid && grid->ColumnDefaultFlag(flag);
}

template <class T>
bool TColumnGx::StoreAssigned(T& member, const T& value, TColumnValueGx bit)
{
    if (m_assigned.Contains(bit) && member == value)
        return false;
    member = value;
    m_assigned.Include(bit);
    return true;
}

bool TColumnGx::StoreDefaultingFlag(bool& member, bool value, TColumnValueGx bit, bool defaultValue)
{
    if (!m_assigned.Contains(bit) && value == defaultValue)
        return false;
    member = value;
    m_assigned.Include(bit);
    return true;
}

// ---- Looks

TAlignment TColumnGx::Alignment() const
{
    if (m_assigned.Contains(cvAlignment))
        return m_alignment;
    const TField* field = BoundField();
    return field ? field->Alignment() : taLeftJustify;
}

void TColumnGx::SetAlignment(TAlignment value)
{
    if (TField* field = WriteThroughField()) {
        field->SetAlignment(value);
        return;
    }
    if (StoreAssigned(m_alignment, value, cvAlignment))
        Changed();
}

TBiDiMode TColumnGx::BiDiMode() const
{
    if (m_assigned.Contains(cvBiDiMode))
        return m_biDiMode;
    const IDataGridGx* grid = OwnerGrid();
    return grid ? grid->GridBiDiMode() : bdLeftToRight;
}

void TColumnGx::SetBiDiMode(TBiDiMode value)
{
    if (StoreAssigned(m_biDiMode, value, cvBiDiMode))
        Changed();
}

TColor TColumnGx::Color() const
{
    if (m_assigned.Contains(cvColor))
        return m_color;
    const IDataGridGx* grid = OwnerGrid();
    return grid ? grid->GridColor() : clWindow;
}

void TColumnGx::SetColor(TColor value)
{
    if (StoreAssigned(m_color, value, cvColor))
        Changed();
}

TFont& TColumnGx::DefaultFont() const
{
    IDataGridGx* grid = OwnerGrid();
    return grid ? grid->GridFont() : *m_font;
}

void TColumnGx::ResyncDefaultFont() const
{
    if (m_assigned.Contains(cvFont))
        return;
    const TFont& font = DefaultFont();
    if (&font == m_font.get() || grid_core::detail::SameFontLook(font, *m_font))
        return;
    const TNotifyEvent handler = m_font->OnChange();
    m_font->SetOnChange({});
    m_font->Assign(&font);
    m_font->SetOnChange(handler);
}

TFont* TColumnGx::Font() const
{
    ResyncDefaultFont();
    return m_font.get();
}

void TColumnGx::SetFont(TFont* value)
{
    m_font->Assign(value);
}

void TColumnGx::FontChanged(TObject*)
{
    m_assigned.Include(cvFont);
    m_title->ResyncDefaultFont();
    Changed();
}

TTextLayout TColumnGx::Layout() const
{
    if (m_assigned.Contains(cvLayout))
        return m_layout;
    const IDataGridGx* grid = OwnerGrid();
    return grid ? grid->ColumnDefaultLayout() : tlTop;
}

void TColumnGx::SetLayout(TTextLayout value)
{
    if (StoreAssigned(m_layout, value, cvLayout))
        Changed();
}

bool TColumnGx::WordWrap() const
{
    if (m_assigned.Contains(cvWordWrap))
        return m_wordWrap;
    const TField* field = BoundField();
    return field && IsTextField(*field);
}

// Stored even while the grid loads: form data may assign the default.
void TColumnGx::SetWordWrap(bool value)
{
    m_wordWrap = value;
    m_assigned.Include(cvWordWrap);
    Changed();
}

bool TColumnGx::EndEllipsis() const
{
    return m_assigned.Contains(cvEndEllipsis) ? m_endEllipsis : ColumnDefaultFlag(cdfEndEllipsis);
}

void TColumnGx::SetEndEllipsis(bool value)
{
    if (StoreAssigned(m_endEllipsis, value, cvEndEllipsis))
        Changed();
}

bool TColumnGx::ToolTips() const
{
    return m_assigned.Contains(cvToolTips) ? m_toolTips : ColumnDefaultFlag(cdfToolTips);
}

void TColumnGx::SetToolTips(bool value)
{
    (void)StoreDefaultingFlag(m_toolTips, value, cvToolTips, ColumnDefaultFlag(cdfToolTips));
}

void TColumnGx::SetHideDuplicates(bool value)
{
    if (value == m_hideDuplicates)
        return;
    m_hideDuplicates = value;
    Changed();
}

bool TColumnGx::HighlightRequired() const
{
    return m_assigned.Contains(cvHighlightRequired) ? m_highlightRequired : ColumnDefaultFlag(cdfHighlightRequired);
}

void TColumnGx::SetHighlightRequired(bool value)
{
    if (StoreAssigned(m_highlightRequired, value, cvHighlightRequired))
        Changed();
}

void TColumnGx::SetShowImageAndText(bool value)
{
    if (value == m_showImageAndText)
        return;
    m_showImageAndText = value;
    Changed();
}

void TColumnGx::SetDisplayFormat(const std::string& value)
{
    if (value == m_displayFormat)
        return;
    m_displayFormat = value;
    Changed();
}

// Hiding or showing a column moves every column after it.
void TColumnGx::SetVisible(bool value)
{
    if (value == m_visible)
        return;
    m_visible = value;
    Changed(true);
}

// ---- Width

int TColumnGx::ZeroWidth(int& overhang, int& averageWidth) const
{
    const MemoryDC dc;
    const SelectionGuard font(dc.Handle(), Font()->Handle());
    TEXTMETRICA metrics{};
    (void)GetTextMetrics(dc.Handle(), &metrics);
    SIZE zero{};
    (void)GetTextExtentPoint32(dc.Handle(), "0", 1, &zero);
    overhang = metrics.tmOverhang;
    averageWidth = metrics.tmAveCharWidth;
    return zero.cx;
}

int TColumnGx::DefaultWidth() const
{
    const IDataGridGx* grid = OwnerGrid();
    if (!grid)
        return 64;
    const TField* field = BoundField();
    if (!field)
        return grid->DefaultColWidth();
    int overhang = 0;
    int averageWidth = 0;
    const int zero = ZeroWidth(overhang, averageWidth);
    return (zero - overhang) * field->DisplayWidth() + overhang + 4;
}

int TColumnGx::Width() const
{
    return m_assigned.Contains(cvWidth) ? m_width : DefaultWidth();
}

void TColumnGx::SetWidth(int value)
{
    IDataGridGx* grid = OwnerGrid();
    TField* field = IsDefaultColumn() && grid && grid->GridHasWindow() ? BoundField() : nullptr;
    if (field) {
        int overhang = 0;
        int averageWidth = 0;
        // A font without a "0" glyph measures 0; the display width then stays.
        if (const int zero = ZeroWidth(overhang, averageWidth); zero > 0)
            field->SetDisplayWidth((value + averageWidth / 2 - overhang - 3) / zero);
    }
    const bool store = !field || !grid->LayoutFromDataSet() || m_assigned.Contains(cvWidth);
    if (store && (m_assigned.Contains(cvWidth) || value != DefaultWidth()) && value != -1) {
        m_width = value;
        m_assigned.Include(cvWidth);
        if (m_maxWidth > 0 && m_width > m_maxWidth)
            m_width = m_maxWidth;
        if (m_width < m_minWidth)
            m_width = m_minWidth;
    }
    Changed();
}

void TColumnGx::SetMaxWidth(int value)
{
    m_maxWidth = value;
    if (value > 0 && Width() > value)
        SetWidth(value);
}

void TColumnGx::SetMinWidth(int value)
{
    m_minWidth = value;
    if (value > 0 && Width() < value)
        SetWidth(value);
}

int TColumnGx::AllowableWidth(int width) const
{
    if (m_maxWidth > 0)
        width = std::min(width, m_maxWidth);
    if (m_minWidth > 0 && width < m_minWidth)
        width = m_minWidth;
    return width;
}

void TColumnGx::SetAutoFitColWidth(bool value)
{
    if (value == m_autoFitColWidth)
        return;
    m_autoFitColWidth = value;
    const IDataGridGx* grid = OwnerGrid();
    if (grid && grid->FitsColumnWidths() && !grid->GridLoading())
        SetWidth(m_fitBaseWidth);
}

void TColumnGx::OptimizeWidth()
{
    if (IDataGridGx* grid = OwnerGrid())
        grid->FitColumnsToContent({this});
}

// ---- Editing properties

bool TColumnGx::ReadOnly() const
{
    if (m_assigned.Contains(cvReadOnly))
        return m_readOnly;
    const IDataGridGx* grid = OwnerGrid();
    const TField* field = BoundField();
    return (grid && grid->GridReadOnly()) || (field && field->ReadOnly());
}

void TColumnGx::SetReadOnly(bool value)
{
    if (TField* field = WriteThroughField()) {
        field->SetReadOnly(value);
        return;
    }
    if (StoreAssigned(m_readOnly, value, cvReadOnly))
        Changed();
}

void TColumnGx::SetButtonStyle(TColumnButtonStyleGx value)
{
    if (value == m_buttonStyle)
        return;
    m_buttonStyle = value;
    Changed();
}

bool TColumnGx::AlwaysShowEditButton() const
{
    return m_assigned.Contains(cvAlwaysShowEditButton) ? m_alwaysShowEditButton
                                                       : ColumnDefaultFlag(cdfAlwaysShowEditButton);
}

void TColumnGx::SetAlwaysShowEditButton(bool value)
{
    if (StoreAssigned(m_alwaysShowEditButton, value, cvAlwaysShowEditButton))
        Changed();
}

bool TColumnGx::AutoDropDown() const
{
    return m_assigned.Contains(cvAutoDropDown) ? m_autoDropDown : ColumnDefaultFlag(cdfAutoDropDown);
}

void TColumnGx::SetAutoDropDown(bool value)
{
    (void)StoreDefaultingFlag(m_autoDropDown, value, cvAutoDropDown, ColumnDefaultFlag(cdfAutoDropDown));
}

bool TColumnGx::DblClickNextVal() const
{
    return m_assigned.Contains(cvDblClickNextVal) ? m_dblClickNextVal : ColumnDefaultFlag(cdfDblClickNextVal);
}

void TColumnGx::SetDblClickNextVal(bool value)
{
    (void)StoreDefaultingFlag(m_dblClickNextVal, value, cvDblClickNextVal, ColumnDefaultFlag(cdfDblClickNextVal));
}

bool TColumnGx::DropDownShowTitles() const
{
    return m_assigned.Contains(cvDropDownShowTitles) ? m_dropDownShowTitles
                                                     : ColumnDefaultFlag(cdfDropDownShowTitles);
}

void TColumnGx::SetDropDownShowTitles(bool value)
{
    (void)StoreDefaultingFlag(m_dropDownShowTitles, value, cvDropDownShowTitles,
                              ColumnDefaultFlag(cdfDropDownShowTitles));
}

bool TColumnGx::DropDownSizing() const
{
    return m_assigned.Contains(cvDropDownSizing) ? m_dropDownSizing : ColumnDefaultFlag(cdfDropDownSizing);
}

void TColumnGx::SetDropDownSizing(bool value)
{
    (void)StoreDefaultingFlag(m_dropDownSizing, value, cvDropDownSizing, ColumnDefaultFlag(cdfDropDownSizing));
}

void TColumnGx::SetEditMask(const std::string& value)
{
    if (value == m_editMask)
        return;
    m_editMask = value;
    Changed();
}

TImeMode TColumnGx::ImeMode() const
{
    if (m_assigned.Contains(cvImeMode))
        return m_imeMode;
    const IDataGridGx* grid = OwnerGrid();
    return grid ? grid->GridImeMode() : imDontCare;
}

void TColumnGx::SetImeMode(TImeMode value)
{
    if (!m_assigned.Contains(cvImeMode) && value == ImeMode())
        return;
    m_imeMode = value;
    m_assigned.Include(cvImeMode);
    Changed();
}

std::string TColumnGx::ImeName() const
{
    if (m_assigned.Contains(cvImeName))
        return m_imeName;
    const IDataGridGx* grid = OwnerGrid();
    return grid ? grid->GridImeName() : std::string();
}

void TColumnGx::SetImeName(const std::string& value)
{
    if (!m_assigned.Contains(cvImeName) && value == ImeName())
        return;
    m_imeName = value;
    m_assigned.Include(cvImeName);
    Changed();
}

std::string TColumnGx::LookupDisplayFields() const
{
    if (m_assigned.Contains(cvLookupDisplayFields))
        return m_lookupDisplayFields;
    const TField* field = BoundField();
    return field ? field->LookupResultField() : std::string();
}

void TColumnGx::SetLookupDisplayFields(const std::string& value)
{
    if (StoreAssigned(m_lookupDisplayFields, value, cvLookupDisplayFields))
        Changed();
}

// ---- Value lists and references

bool TColumnGx::Checkboxes() const
{
    if (m_assigned.Contains(cvCheckboxes))
        return m_checkboxes;
    const TField* field = BoundField();
    return field && field->DataType() == ftBoolean;
}

void TColumnGx::SetCheckboxes(bool value)
{
    if (StoreAssigned(m_checkboxes, value, cvCheckboxes))
        Changed();
}

TStrings* TColumnGx::PickList() const
{
    if (!m_pickList)
        m_pickList = std::make_unique<TStringList>();
    return m_pickList.get();
}

void TColumnGx::SetPickList(TStrings* value)
{
    if (!value)
        m_pickList.reset();
    else
        PickList()->Assign(*value);
}

TStrings* TColumnGx::KeyList() const
{
    if (!m_keyList)
        m_keyList = std::make_unique<TStringList>();
    return m_keyList.get();
}

void TColumnGx::SetKeyList(TStrings* value)
{
    if (!value)
        m_keyList.reset();
    else
        KeyList()->Assign(*value);
    InvalidateGrid();
}

bool TColumnGx::HasPickItems() const
{
    return m_pickList && m_pickList->Count() > 0;
}

bool TColumnGx::HasKeyItems() const
{
    return m_keyList && m_keyList->Count() > 0;
}

void TColumnGx::SetNotInKeyListIndex(int value)
{
    if (value == m_notInKeyListIndex)
        return;
    m_notInKeyListIndex = value;
    InvalidateGrid();
}

void TColumnGx::SetImageList(TCustomImageList* value)
{
    if (value == m_imageList)
        return;
    if (m_imageList)
        m_imageList->UnRegisterChanges(m_imageLink.get());
    m_imageList = value;
    if (m_imageList) {
        m_imageList->RegisterChanges(m_imageLink.get());
        if (IDataGridGx* grid = OwnerGrid())
            m_imageList->FreeNotification(grid->GridComponent());
    }
    InvalidateGrid();
}

void TColumnGx::SetPopupMenu(TPopupMenu* value)
{
    m_popupMenu = value;
    if (IDataGridGx* grid = OwnerGrid(); grid && value)
        value->FreeNotification(grid->GridComponent());
}

bool TColumnGx::ComponentFreed(const TComponent* component)
{
    if (component == m_imageList) {
        m_imageList = nullptr;
        InvalidateGrid();
    }
    if (component == m_popupMenu)
        m_popupMenu = nullptr;
    if (component != m_boundField)
        return false;
    m_boundField = nullptr;
    return true;
}

// ---- Copying and defaults

void TColumnGx::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TColumnGx*>(source);
    if (!other) {
        TCollectionItem::Assign(source);
        return;
    }
    if (Collection())
        Collection()->BeginUpdate();
    try {
        RestoreDefaults();
        SetFieldName(other->FieldName());
        const TColumnValuesGx assigned = other->m_assigned;
        if (assigned.Contains(cvColor))
            SetColor(other->Color());
        if (assigned.Contains(cvWidth))
            SetWidth(other->Width());
        if (assigned.Contains(cvFont))
            SetFont(other->Font());
        if (assigned.Contains(cvImeMode))
            SetImeMode(other->ImeMode());
        if (assigned.Contains(cvImeName))
            SetImeName(other->ImeName());
        if (assigned.Contains(cvAlignment))
            SetAlignment(other->Alignment());
        if (assigned.Contains(cvReadOnly))
            SetReadOnly(other->ReadOnly());
        m_title->Assign(other->Title());
        SetDropDownRows(other->DropDownRows());
        SetButtonStyle(other->ButtonStyle());
        SetPickList(other->m_pickList.get());
        SetPopupMenu(other->PopupMenu());
        m_fitBaseWidth = other->m_fitBaseWidth;
        SetAutoFitColWidth(other->AutoFitColWidth());
        if (assigned.Contains(cvWordWrap))
            SetWordWrap(other->WordWrap());
        SetEndEllipsis(other->EndEllipsis());
        SetDropDownWidth(other->DropDownWidth());
        if (assigned.Contains(cvLookupDisplayFields))
            SetLookupDisplayFields(other->LookupDisplayFields());
        SetAutoDropDown(other->AutoDropDown());
        SetAlwaysShowEditButton(other->AlwaysShowEditButton());
        SetKeyList(other->m_keyList.get());
        if (assigned.Contains(cvCheckboxes))
            SetCheckboxes(other->Checkboxes());
        SetIncrement(other->Increment());
        SetToolTips(other->ToolTips());
        SetTag(other->Tag());
        SetVisible(other->Visible());
        SetImageList(other->ImageList());
        SetNotInKeyListIndex(other->NotInKeyListIndex());
        SetMinWidth(other->MinWidth());
        SetMaxWidth(other->MaxWidth());
        SetDblClickNextVal(other->DblClickNextVal());
        SetDropDownSizing(other->DropDownSizing());
        SetDropDownShowTitles(other->DropDownShowTitles());
        SetOnNotInList(other->OnNotInList());
        SetOnUpdateData(other->OnUpdateData());
        SetOnEditButtonClick(other->OnEditButtonClick());
        SetOnEditButtonDown(other->OnEditButtonDown());
        m_editButtons->Assign(other->m_editButtons.get());
        m_mruList->Assign(other->m_mruList.get());
        SetOnCheckDrawRequiredState(other->OnCheckDrawRequiredState());
        SetDisplayFormat(other->DisplayFormat());
        SetEditMask(other->EditMask());
        SetShowImageAndText(other->ShowImageAndText());
        SetHideDuplicates(other->HideDuplicates());
        if (other->m_assigned.Contains(cvLayout))
            SetLayout(other->Layout());
        if (other->m_footer)
            Footer()->Assign(other->m_footer.get());
        if (other->m_footers)
            Footers()->Assign(other->m_footers.get());
        if (other->m_stFilter)
            STFilter()->Assign(other->m_stFilter.get());
        if (other->m_dropDownBox)
            DropDownBox()->Assign(other->m_dropDownBox.get());
    } catch (...) {
        if (Collection())
            Collection()->EndUpdate();
        throw;
    }
    if (Collection())
        Collection()->EndUpdate();
}

void TColumnGx::RestoreDefaults()
{
    m_title->RestoreDefaults();
    const bool fontAssigned = m_assigned.Contains(cvFont);
    m_assigned = {};
    ResyncDefaultFont();
    m_pickList.reset();
    m_buttonStyle = cbsAuto;
    Changed(fontAssigned);
    m_keyList.reset();
}

// ---- Stored predicates

bool TColumnGx::IsAlignmentStored() const
{
    if (!m_assigned.Contains(cvAlignment))
        return false;
    const TField* field = BoundField();
    return m_alignment != (field ? field->Alignment() : taLeftJustify);
}

bool TColumnGx::IsColorStored() const
{
    if (!m_assigned.Contains(cvColor))
        return false;
    const IDataGridGx* grid = OwnerGrid();
    return m_color != (grid ? grid->GridColor() : clWindow);
}

bool TColumnGx::IsImeModeStored() const
{
    if (!m_assigned.Contains(cvImeMode))
        return false;
    const IDataGridGx* grid = OwnerGrid();
    return m_imeMode != (grid ? grid->GridImeMode() : imDontCare);
}

bool TColumnGx::IsImeNameStored() const
{
    if (!m_assigned.Contains(cvImeName))
        return false;
    const IDataGridGx* grid = OwnerGrid();
    return m_imeName != (grid ? grid->GridImeName() : std::string());
}

bool TColumnGx::IsLayoutStored() const
{
    if (!m_assigned.Contains(cvLayout))
        return false;
    const IDataGridGx* grid = OwnerGrid();
    return m_layout != (grid ? grid->ColumnDefaultLayout() : tlTop);
}

bool TColumnGx::IsLookupDisplayFieldsStored() const
{
    if (!m_assigned.Contains(cvLookupDisplayFields))
        return false;
    const TField* field = BoundField();
    return m_lookupDisplayFields != (field ? field->LookupResultField() : std::string());
}

bool TColumnGx::IsReadOnlyStored() const
{
    if (!m_assigned.Contains(cvReadOnly))
        return false;
    const IDataGridGx* grid = OwnerGrid();
    const TField* field = BoundField();
    return m_readOnly != ((grid && grid->GridReadOnly()) || (field && field->ReadOnly()));
}

bool TColumnGx::IsWidthStored() const
{
    return m_assigned.Contains(cvWidth) && m_width != DefaultWidth();
}

bool TColumnGx::IsWordWrapStored() const
{
    if (!m_assigned.Contains(cvWordWrap))
        return false;
    const TField* field = BoundField();
    return m_wordWrap != (field && IsTextField(*field));
}

bool TColumnGx::IsAlwaysShowEditButtonStored() const
{
    return IsFlagStored(cvAlwaysShowEditButton, m_alwaysShowEditButton, ColumnDefaultFlag(cdfAlwaysShowEditButton));
}

bool TColumnGx::IsAutoDropDownStored() const
{
    return IsFlagStored(cvAutoDropDown, m_autoDropDown, ColumnDefaultFlag(cdfAutoDropDown));
}

bool TColumnGx::IsDblClickNextValStored() const
{
    return IsFlagStored(cvDblClickNextVal, m_dblClickNextVal, ColumnDefaultFlag(cdfDblClickNextVal));
}

bool TColumnGx::IsDropDownShowTitlesStored() const
{
    return IsFlagStored(cvDropDownShowTitles, m_dropDownShowTitles, ColumnDefaultFlag(cdfDropDownShowTitles));
}

bool TColumnGx::IsDropDownSizingStored() const
{
    return IsFlagStored(cvDropDownSizing, m_dropDownSizing, ColumnDefaultFlag(cdfDropDownSizing));
}

bool TColumnGx::IsEndEllipsisStored() const
{
    return IsFlagStored(cvEndEllipsis, m_endEllipsis, ColumnDefaultFlag(cdfEndEllipsis));
}

bool TColumnGx::IsHighlightRequiredStored() const
{
    return IsFlagStored(cvHighlightRequired, m_highlightRequired, ColumnDefaultFlag(cdfHighlightRequired));
}

bool TColumnGx::IsToolTipsStored() const
{
    return IsFlagStored(cvToolTips, m_toolTips, ColumnDefaultFlag(cdfToolTips));
}

// ---- The collection

TDBGridColumnsGx::TDBGridColumnsGx(IDataGridGx* grid, TClass columnClass) : TCollection(columnClass), m_grid(grid) {}

TPersistent* TDBGridColumnsGx::GetOwner() const
{
    return m_grid ? m_grid->GridComponent() : nullptr;
}

TDBGridColumnsStateGx TDBGridColumnsGx::State() const
{
    return Count() > 0 && !ColumnAt(0)->IsDefaultColumn() ? csCustomizedGx : csDefaultGx;
}

TColumnGx* TDBGridColumnsGx::AddDefaultColumn()
{
    TColumnGx* column = Add();
    column->MakeDefaultColumn();
    return column;
}

void TDBGridColumnsGx::InvalidateFieldReferences()
{
    for (int i = 0; i < Count(); ++i)
        ColumnAt(i)->DropFieldReference();
}

void TDBGridColumnsGx::Update(TCollectionItem* item)
{
    if (!m_grid || m_grid->GridLoading())
        return;
    if (auto* column = dynamic_cast<TColumnGx*>(item)) {
        UpdateColumnWidth(*column);
    } else {
        m_grid->RebuildColumns();
        m_grid->RelayoutColumns();
    }
    m_grid->ColumnsUpdated();
}

void TDBGridColumnsGx::UpdateColumnWidth(TColumnGx& column)
{
    const int gridCol = column.Index() + m_grid->IndicatorOffset();
    if (gridCol >= m_grid->GridColCount())
        return;
    m_grid->InvalidateGridCol(gridCol);
    const int oldWidth = m_grid->GridColWidth(gridCol);
    if (!m_grid->FitsColumnWidths()) {
        if (oldWidth == column.Width()) {
            m_grid->RelayoutTitles();
        } else if (column.Visible()) {
            m_grid->SetGridColWidth(gridCol, column.Width());
        } else {
            m_grid->SetGridColWidth(gridCol, m_grid->ColumnLines() ? -1 : 0);
        }
        return;
    }
    if (oldWidth != -1) {
        RescaleFitBaseWidth(column, oldWidth);
        m_grid->RelayoutColumns();
    }
}

// A hidden column may be 0 wide: then there is no ratio to rescale by.
void TDBGridColumnsGx::RescaleFitBaseWidth(TColumnGx& column, int oldGridWidth)
{
    if (oldGridWidth <= 0)
        return;
    const int oldBase = column.FitBaseWidth();
    const auto scaled = static_cast<int>(
        std::lround(static_cast<double>(oldBase) * column.Width() / static_cast<double>(oldGridWidth)));
    column.SetFitBaseWidth(scaled);
    const int next = column.Index() + 1;
    if (next < Count()) {
        TColumnGx* following = ColumnAt(next);
        following->SetFitBaseWidth(std::max(0, following->FitBaseWidth() + oldBase - scaled));
    }
}
