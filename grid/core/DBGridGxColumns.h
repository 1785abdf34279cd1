#pragma once

#include "grid/core/DataGridGx.h"
#include "grid/core/EditButtonsGx.h"
#include "grid/core/MRUListGx.h"
#include "grid/core/DBGridGxColumnExtraRowHook.h"
#include "grid/core/DBGridGxColumnTitle.h"
#include "grid/core/DBGridGxEvents.h"
#include "platform/classlib/core/Collections.h"
#include "platform/classlib/core/Events.h"
#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/rtl/Variant.h"

#include <memory>
#include <string>
#include <vector>

class TColumnGx;
class TChangeLink;
class TColumnFooterGx;
class TColumnFootersGx;
class TSTColumnFilterGx;
class TColumnDropDownBoxGx;
class TCustomImageList;
class TDataSet;
class TDBGridColumnsGx;
class TField;
class TPopupMenu;
class TStringList;
class TStrings;

// The column properties whose assignment a column remembers; an unassigned one reads its default
// from the field, the grid or the grid's column defaults. The numbers are the stored bits.
enum TColumnValueGx {
    cvColor, cvWidth, cvFont, cvAlignment, cvReadOnly,
    cvTitleColor, cvTitleCaption, cvTitleAlignment, cvTitleFont, cvTitleButton, cvTitleEndEllipsis,
    cvTitleToolTips, cvTitleOrientation,
    cvImeMode, cvImeName, cvWordWrap, cvLookupDisplayFields, cvCheckboxes, cvAlwaysShowEditButton,
    cvEndEllipsis, cvAutoDropDown, cvDblClickNextVal, cvToolTips, cvDropDownSizing, cvDropDownShowTitles,
    cvLayout, cvHighlightRequired, cvBiDiMode,
};
using TColumnValuesGx = TSet<TColumnValueGx>;

enum TColumnButtonStyleGx { cbsAuto, cbsEllipsis, cbsNone, cbsUpDown, cbsDropDown };

// How a column chooses and shows its values.
enum TCellImageKindGx {
    cikPlain, cikPickList, cikLookup, cikKeyPickList, cikImages, cikCheckboxes,
};

// The kind of a column's built-in edit button.
enum TBuiltInButtonKindGx {
    bbkNone, bbkEllipsis, bbkPickListDropDown, bbkLookupDropDown, bbkDateDropDown, bbkUpDown, bbkDropDown,
};

enum TCheckBoxStateGx { cbUncheckedGx, cbCheckedGx, cbGrayedGx };

[[nodiscard]] const TTypeInfo& ColumnButtonStyleGxTypeInfo();

// OnUpdateData(Sender, Text, Value, UseText, Handled).
using TColumnUpdateDataEventGx = TEvent<TObject*, std::string&, Variant&, bool&, bool&>;
// OnNotInList(Sender, NewText, Retry).
using TColumnNotInListEventGx = TEvent<TObject*, const std::string&, bool&>;
// OnEditButtonClick(Sender, Handled) and OnEditButtonDown(Sender, TopButton, AutoRepeat, Handled)
// of the cell editor's built-in button.
using TColumnEditButtonClickEventGx = TButtonClickEventGx;
using TColumnEditButtonDownEventGx = TButtonDownEventGx;
// OnCheckDrawRequiredState(Sender, Text, Draw).
using TCheckDrawRequiredStateEventGx = TEvent<TObject*, const std::string&, bool&>;

// One column of a data grid: which field it shows (bound by name), how its cells look, how a value
// is chosen, and its title. Unassigned properties follow the field and the grid.
class TColumnGx : public TCollectionItem {
    CLASSLIB_DECLARE_CLASS;

    explicit TColumnGx(TCollection* collection);
    ~TColumnGx() override;

    void Assign(const TPersistent* source) override;
    void SetIndex(int index) override;

    // ---- Grid and field
    [[nodiscard]] IDataGridGx* OwnerGrid() const;
    [[nodiscard]] TDBGridColumnsGx* Columns() const;
    // The field bound by FieldName, looked up once and cached; null when absent.
    [[nodiscard]] TField* BoundField() const;
    [[nodiscard]] TField* Field() const { return BoundField(); }
    virtual void SetField(TField* field);
    [[nodiscard]] const std::string& FieldName() const { return m_fieldName; }
    void SetFieldName(const std::string& name);
    // Forgets the cached field (the data set's fields changed).
    void DropFieldReference() { m_boundField = nullptr; }
    [[nodiscard]] bool IsDefaultColumn() const { return !m_persistent; }
    void MakeDefaultColumn() { m_persistent = false; }
    [[nodiscard]] TColumnValuesGx AssignedValues() const { return m_assigned; }

    // ---- Looks
    [[nodiscard]] TAlignment Alignment() const;
    virtual void SetAlignment(TAlignment value);
    [[nodiscard]] TBiDiMode BiDiMode() const;
    void SetBiDiMode(TBiDiMode value);
    // Right-to-left reading: any mode but left-to-right.
    [[nodiscard]] bool RightToLeftReadingOn() const { return BiDiMode() != bdLeftToRight; }
    [[nodiscard]] TColor Color() const;
    void SetColor(TColor value);
    [[nodiscard]] TFont* Font() const;
    void SetFont(TFont* value);
    [[nodiscard]] TFont& DefaultFont() const;
    void ResyncDefaultFont() const;
    [[nodiscard]] TTextLayout Layout() const;
    void SetLayout(TTextLayout value);
    [[nodiscard]] bool WordWrap() const;
    virtual void SetWordWrap(bool value);
    [[nodiscard]] bool EndEllipsis() const;
    void SetEndEllipsis(bool value);
    [[nodiscard]] bool ToolTips() const;
    void SetToolTips(bool value);
    [[nodiscard]] bool HideDuplicates() const { return m_hideDuplicates; }
    virtual void SetHideDuplicates(bool value);
    [[nodiscard]] bool HighlightRequired() const;
    virtual void SetHighlightRequired(bool value);
    [[nodiscard]] bool ShowImageAndText() const { return m_showImageAndText; }
    void SetShowImageAndText(bool value);
    [[nodiscard]] const std::string& DisplayFormat() const { return m_displayFormat; }
    void SetDisplayFormat(const std::string& value);
    [[nodiscard]] TColumnTitleGx* Title() const { return m_title.get(); }
    void SetTitle(TColumnTitleGx* value) { m_title->Assign(value); }
    [[nodiscard]] bool Visible() const { return m_visible; }
    void SetVisible(bool value);

    // ---- Footers: the single Footer, or one of Footers per footer row when there are any
    [[nodiscard]] TColumnFooterGx* Footer() const;
    void SetFooter(TColumnFooterGx* value);
    [[nodiscard]] TColumnFootersGx* Footers() const;
    // The footer shown in footer row `footerRow`; null when that row has none.
    [[nodiscard]] TColumnFooterGx* UsedFooter(int footerRow) const;

    // ---- Width
    [[nodiscard]] int Width() const;
    virtual void SetWidth(int value);
    [[nodiscard]] int DefaultWidth() const;
    [[nodiscard]] int MaxWidth() const { return m_maxWidth; }
    void SetMaxWidth(int value);
    [[nodiscard]] int MinWidth() const { return m_minWidth; }
    void SetMinWidth(int value);
    [[nodiscard]] int AllowableWidth(int width) const;
    [[nodiscard]] bool AutoFitColWidth() const { return m_autoFitColWidth; }
    virtual void SetAutoFitColWidth(bool value);
    [[nodiscard]] int FitBaseWidth() const { return m_fitBaseWidth; }
    void SetFitBaseWidth(int value) { m_fitBaseWidth = value; }
    virtual void OptimizeWidth();

    // ---- Editing
    [[nodiscard]] bool ReadOnly() const;
    virtual void SetReadOnly(bool value);
    [[nodiscard]] TColumnButtonStyleGx ButtonStyle() const { return m_buttonStyle; }
    void SetButtonStyle(TColumnButtonStyleGx value);
    [[nodiscard]] bool AlwaysShowEditButton() const;
    void SetAlwaysShowEditButton(bool value);
    [[nodiscard]] bool AutoDropDown() const;
    void SetAutoDropDown(bool value);
    [[nodiscard]] bool DblClickNextVal() const;
    void SetDblClickNextVal(bool value);
    [[nodiscard]] bool DropDownShowTitles() const;
    void SetDropDownShowTitles(bool value);
    [[nodiscard]] bool DropDownSizing() const;
    void SetDropDownSizing(bool value);
    // The special first row of the lookup drop-down; null while no maker is installed. A lookup
    // cell whose key is the row's value (or, when the row stands for them, a key missing from
    // the list) shows the row's text.
    [[nodiscard]] IColumnSpecRowGx* DropDownSpecRow() const { return m_dropDownSpecRow.get(); }
    // The cell editor's extra buttons, beside its built-in one.
    [[nodiscard]] TEditButtonsGx* EditButtons() const { return m_editButtons.get(); }
    // The texts the cell editor remembers and offers while the user types.
    [[nodiscard]] TMRUListGx* MRUList() const { return m_mruList.get(); }
    [[nodiscard]] int DropDownRows() const { return m_dropDownRows; }
    void SetDropDownRows(int value) { m_dropDownRows = value; }
    [[nodiscard]] int DropDownWidth() const { return m_dropDownWidth; }
    void SetDropDownWidth(int value) { m_dropDownWidth = value; }
    [[nodiscard]] const std::string& EditMask() const { return m_editMask; }
    void SetEditMask(const std::string& value);
    [[nodiscard]] TImeMode ImeMode() const;
    virtual void SetImeMode(TImeMode value);
    [[nodiscard]] std::string ImeName() const;
    virtual void SetImeName(const std::string& value);
    [[nodiscard]] long double Increment() const { return m_increment; }
    void SetIncrement(long double value) { m_increment = value; }
    [[nodiscard]] std::string LookupDisplayFields() const;
    virtual void SetLookupDisplayFields(const std::string& value);

    // ---- Values
    [[nodiscard]] bool Checkboxes() const;
    void SetCheckboxes(bool value);
    // Made on first read.
    // The column's condition in the grid's filter row.
    [[nodiscard]] TSTColumnFilterGx* STFilter() const;
    // How the column's lookup list drops down.
    [[nodiscard]] TColumnDropDownBoxGx* DropDownBox() const;
    [[nodiscard]] TStrings* PickList() const;
    void SetPickList(TStrings* value);
    [[nodiscard]] TStrings* KeyList() const;
    void SetKeyList(TStrings* value);
    [[nodiscard]] bool HasPickItems() const;
    [[nodiscard]] bool HasKeyItems() const;
    // A lookup cell that shows the drop-down's special row instead of the looked-up text.
    [[nodiscard]] bool ShowsSpecRow(const TField& field) const;
    [[nodiscard]] int NotInKeyListIndex() const { return m_notInKeyListIndex; }
    void SetNotInKeyListIndex(int value);
    [[nodiscard]] TCustomImageList* ImageList() const { return m_imageList; }
    void SetImageList(TCustomImageList* value);
    [[nodiscard]] TPopupMenu* PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(TPopupMenu* value);
    // A component being freed is dropped where the column refers to it, without touching it;
    // true when it was the column's field.
    bool ComponentFreed(const TComponent* component);
    [[nodiscard]] int Tag() const { return m_tag; }
    void SetTag(int value) { m_tag = value; }

    [[nodiscard]] TCellImageKindGx CellImageKind() const;
    [[nodiscard]] std::string DisplayText() const;
    [[nodiscard]] int ImageIndexOfValue() const;
    [[nodiscard]] TCheckBoxStateGx CheckboxState() const;
    void SetCheckboxState(TCheckBoxStateGx state);
    // The next (step > 0) or previous (step < 0) value of the column's list, or the number moved
    // by Increment x step.
    void SetNextFieldValue(long double step);
    void UpdateDataValues(const std::string& text, const Variant& value, bool useText);
    // Whether the cell may be edited now; with tryEdit the data set is put into edit state.
    [[nodiscard]] bool CanModify(bool tryEdit) const;
    [[nodiscard]] TBuiltInButtonKindGx BuiltInButtonKind() const;
    // The data set the lookup list runs over: the drop-down box's list source's, else the field's
    // lookup data set.
    [[nodiscard]] TDataSet* LookupListDataSet() const;

    virtual void RestoreDefaults();

    // ---- Events
    [[nodiscard]] const TColumnUpdateDataEventGx& OnUpdateData() const { return m_onUpdateData; }
    void SetOnUpdateData(const TColumnUpdateDataEventGx& handler) { m_onUpdateData = handler; }
    [[nodiscard]] const TColumnEditButtonClickEventGx& OnEditButtonClick() const { return m_onEditButtonClick; }
    void SetOnEditButtonClick(const TColumnEditButtonClickEventGx& handler) { m_onEditButtonClick = handler; }
    [[nodiscard]] const TColumnEditButtonDownEventGx& OnEditButtonDown() const { return m_onEditButtonDown; }
    void SetOnEditButtonDown(const TColumnEditButtonDownEventGx& handler) { m_onEditButtonDown = handler; }
    [[nodiscard]] const TColumnNotInListEventGx& OnNotInList() const { return m_onNotInList; }
    void SetOnNotInList(const TColumnNotInListEventGx& handler) { m_onNotInList = handler; }
    [[nodiscard]] const TCheckDrawRequiredStateEventGx& OnCheckDrawRequiredState() const
    {
        return m_onCheckDrawRequiredState;
    }
    void SetOnCheckDrawRequiredState(const TCheckDrawRequiredStateEventGx& handler)
    {
        m_onCheckDrawRequiredState = handler;
    }
    // The same-named events of the column's drop-down data grid (made on first access), not the
    // column's own: empty, and set to no effect, without a maker of drop-down grids.
    [[nodiscard]] TCheckTitleButtonEventGx OnDropDownBoxCheckButton() const;
    void SetOnDropDownBoxCheckButton(const TCheckTitleButtonEventGx& handler);
    [[nodiscard]] TDrawColumnCellEventGx OnDropDownBoxDrawColumnCell() const;
    void SetOnDropDownBoxDrawColumnCell(const TDrawColumnCellEventGx& handler);
    [[nodiscard]] TGetCellParamsEventGx OnDropDownBoxGetCellParams() const;
    void SetOnDropDownBoxGetCellParams(const TGetCellParamsEventGx& handler);
    [[nodiscard]] TNotifyEvent OnDropDownBoxSortMarkingChanged() const;
    void SetOnDropDownBoxSortMarkingChanged(const TNotifyEvent& handler);
    [[nodiscard]] TTitleButtonClickEventGx OnDropDownBoxTitleBtnClick() const;
    void SetOnDropDownBoxTitleBtnClick(const TTitleButtonClickEventGx& handler);

    // ---- Stored predicates for form data
    [[nodiscard]] bool IsAlignmentStored() const;
    [[nodiscard]] bool IsBiDiModeStored() const { return m_assigned.Contains(cvBiDiMode); }
    [[nodiscard]] bool IsCheckboxesStored() const { return m_assigned.Contains(cvCheckboxes); }
    [[nodiscard]] bool IsColorStored() const;
    [[nodiscard]] bool IsFontStored() const { return m_assigned.Contains(cvFont); }
    [[nodiscard]] bool IsImeModeStored() const;
    [[nodiscard]] bool IsImeNameStored() const;
    [[nodiscard]] bool IsIncrementStored() const { return m_increment != 1.0L; }
    [[nodiscard]] bool IsLayoutStored() const;
    [[nodiscard]] bool IsLookupDisplayFieldsStored() const;
    [[nodiscard]] bool IsReadOnlyStored() const;
    [[nodiscard]] bool IsWidthStored() const;
    [[nodiscard]] bool IsWordWrapStored() const;
    [[nodiscard]] bool IsFlagStored(TColumnValueGx bit, bool value, bool defaultValue) const
    {
        return m_assigned.Contains(bit) && value != defaultValue;
    }
    [[nodiscard]] bool IsAlwaysShowEditButtonStored() const;
    [[nodiscard]] bool IsAutoDropDownStored() const;
    [[nodiscard]] bool IsDblClickNextValStored() const;
    [[nodiscard]] bool IsDropDownShowTitlesStored() const;
    [[nodiscard]] bool IsDropDownSizingStored() const;
    [[nodiscard]] bool IsEndEllipsisStored() const;
    [[nodiscard]] bool IsHighlightRequiredStored() const;
    [[nodiscard]] bool IsToolTipsStored() const;

protected:
    [[nodiscard]] std::string GetDisplayName() const override;
    // Marks this column (or, for layout changes, every column) changed.
    void Changed(bool allItems = false) { TCollectionItem::Changed(allItems); }

private:
    void MoveInCollection(int index);
    friend class TColumnTitleGx;

    [[nodiscard]] bool ColumnDefaultFlag(TColumnDefaultFlagGx flag) const;
    // Stores a flag whose assignment of the default value leaves it unassigned.
    bool StoreDefaultingFlag(bool& member, bool value, TColumnValueGx bit, bool defaultValue);
    // Stores a plain assigned value; false when it was assigned and equal.
    template <class T>
    bool StoreAssigned(T& member, const T& value, TColumnValueGx bit);
    // The field of a default column whose grid shows data, for write-through to the field.
    [[nodiscard]] TField* WriteThroughField() const;
    void FontChanged(TObject* sender);
    [[nodiscard]] int ZeroWidth(int& overhang, int& averageWidth) const;
    [[nodiscard]] int FindKey(const std::string& text) const;
    void InvalidateGrid() const;
    [[nodiscard]] bool FieldWritable(TField& field) const;
    void StepListValue(const TStrings& list, int current, bool forward);
    void StepLookupValue(bool forward);

    TAlignment m_alignment = taLeftJustify;
    TColumnValuesGx m_assigned;
    TBiDiMode m_biDiMode = bdLeftToRight;
    TColumnButtonStyleGx m_buttonStyle = cbsAuto;
    bool m_checkboxes = false;
    TColor m_color = clWindow;
    bool m_dblClickNextVal = false;
    std::string m_displayFormat;
    int m_dropDownRows = 7;
    bool m_dropDownShowTitles = false;
    bool m_dropDownSizing = false;
    std::string m_editMask;
    mutable TField* m_boundField = nullptr;
    std::string m_fieldName;
    std::unique_ptr<TFont> m_font;
    bool m_hideDuplicates = false;
    bool m_highlightRequired = false;
    TCustomImageList* m_imageList = nullptr;
    std::unique_ptr<TChangeLink> m_imageLink;
    TImeMode m_imeMode = imDontCare;
    std::string m_imeName;
    long double m_increment = 1.0L;
    TTextLayout m_layout = tlTop;
    mutable std::unique_ptr<TStringList> m_keyList;
    int m_maxWidth = 0;
    int m_minWidth = 0;
    int m_notInKeyListIndex = -1;
    mutable std::unique_ptr<TStringList> m_pickList;
    TPopupMenu* m_popupMenu = nullptr;
    bool m_readOnly = false;
    bool m_persistent = true;
    bool m_showImageAndText = false;
    int m_tag = 0;
    std::unique_ptr<TColumnTitleGx> m_title;
    std::unique_ptr<IColumnSpecRowGx> m_dropDownSpecRow;
    mutable std::unique_ptr<TColumnFooterGx> m_footer;
    mutable std::unique_ptr<TColumnFootersGx> m_footers;
    mutable std::unique_ptr<TSTColumnFilterGx> m_stFilter;
    mutable std::unique_ptr<TColumnDropDownBoxGx> m_dropDownBox;
    std::unique_ptr<TEditButtonsGx> m_editButtons;
    std::unique_ptr<TMRUListGx> m_mruList;
    bool m_toolTips = false;
    bool m_visible = true;
    int m_width = 0;
    bool m_alwaysShowEditButton = false;
    bool m_autoDropDown = false;
    bool m_autoFitColWidth = true;
    bool m_endEllipsis = false;
    int m_fitBaseWidth = 0;
    std::string m_lookupDisplayFields;
    bool m_wordWrap = false;
    int m_dropDownWidth = 0;
    TColumnUpdateDataEventGx m_onUpdateData;
    TColumnEditButtonClickEventGx m_onEditButtonClick;
    TColumnEditButtonDownEventGx m_onEditButtonDown;
    TColumnNotInListEventGx m_onNotInList;
    TCheckDrawRequiredStateEventGx m_onCheckDrawRequiredState;
};

namespace grid_core::detail {
// Two fonts that draw alike (the realised handles are not compared: each font makes its own).
[[nodiscard]] bool SameFontLook(const TFont& a, const TFont& b);
} // namespace grid_core::detail

// The column class grids create; it publishes the column's properties.
class TDBGridColumnGx : public TColumnGx {
    CLASSLIB_DECLARE_CLASS;
    using TColumnGx::TColumnGx;
};

enum TDBGridColumnsStateGx { csDefaultGx, csCustomizedGx };

// A grid's columns; owns them. A change of a column reaches the grid through Update.
class TDBGridColumnsGx : public TCollection {
    CLASSLIB_DECLARE_CLASS;

    TDBGridColumnsGx(IDataGridGx* grid, TClass columnClass);

    [[nodiscard]] IDataGridGx* Grid() const { return m_grid; }
    [[nodiscard]] TPersistent* GetOwner() const override;
    [[nodiscard]] TColumnGx* Add() { return static_cast<TColumnGx*>(TCollection::Add()); }
    [[nodiscard]] TColumnGx* ColumnAt(int index) const { return static_cast<TColumnGx*>(Items(index)); }
    [[nodiscard]] TColumnGx* operator[](int index) const { return ColumnAt(index); }
    [[nodiscard]] TDBGridColumnsStateGx State() const;
    TColumnGx* AddDefaultColumn();
    void InvalidateFieldReferences();

protected:
    void Update(TCollectionItem* item) override;

private:
    void UpdateColumnWidth(TColumnGx& column);
    void RescaleFitBaseWidth(TColumnGx& column, int oldGridWidth);

    IDataGridGx* m_grid;
};
