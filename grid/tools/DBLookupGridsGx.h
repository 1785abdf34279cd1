#pragma once

#include "grid/core/DBGridGx.h"
#include "grid/tools/ListExtraRowGx.h"
#include "grid/tools/ToolCtrlsGx.h"
#include "platform/classlib/core/Timers.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/rtl/Variant.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TDBLookupGridGx;
class TSizeGripGx;

// The lookup grid's link to the field whose value it edits.
class TLookupGridDataLinkGx : public TDataLink {
    CLASSLIB_DECLARE_CLASS;

    explicit TLookupGridDataLinkGx(TDBLookupGridGx& grid) : m_grid(grid) {}

protected:
    void ActiveChanged() override;
    void LayoutChanged() override;
    void RecordChanged(TField* field) override;
    void FocusControl(TField** field) override;

private:
    TDBLookupGridGx& m_grid;
};

// A grid that lists the records of a list data set and picks one of them by its key value, which
// it writes to the edited fields (or keeps, without them). A special row above the records may
// stand for a value outside the list.
class TDBLookupGridGx : public TCustomDBGridGx {
    CLASSLIB_DECLARE_CLASS;

    // Row counts are kept within these bounds.
    static constexpr int MinRowCount = 1;
    static constexpr int MaxRowCount = 100;
    // A pause longer than this starts the incremental search over.
    static constexpr unsigned SearchPauseMs = 2000;
    // The incremental search text never grows beyond this many characters.
    static constexpr std::size_t MaxSearchCharacters = 32;

    explicit TDBLookupGridGx(TComponent* owner);
    ~TDBLookupGridGx() override;

    // ---- The edited value
    [[nodiscard]] TDataSource* ValueSource() const { return m_valueLink->DataSource(); }
    void SetValueSource(TDataSource* source);
    [[nodiscard]] const std::string& DataFieldNames() const { return m_dataFieldNames; }
    void SetDataFieldNames(const std::string& names);
    [[nodiscard]] const std::vector<TField*>& WrittenFields() const { return m_writtenFields; }
    [[nodiscard]] bool LookupMode() const { return m_lookupMode; }

    // ---- The list
    [[nodiscard]] TDataSource* ListSource() const { return DataSource(); }
    void SetListSource(TDataSource* source);
    [[nodiscard]] const std::string& KeyFieldNames() const { return m_keyFieldNames; }
    void SetKeyFieldNames(const std::string& names);
    [[nodiscard]] const std::string& ListFieldNames() const { return m_listFieldNames; }
    void SetListFieldNames(const std::string& names);
    [[nodiscard]] int ListFieldIndex() const { return m_listFieldIndex; }
    void SetListFieldIndex(int index);
    [[nodiscard]] bool ListActive() const { return m_listActive; }
    [[nodiscard]] TField* DisplayField() const { return m_displayField; }

    // ---- The key value and what it shows
    [[nodiscard]] const Variant& KeyValue() const { return m_keyValue; }
    void SetKeyValue(const Variant& value);
    [[nodiscard]] const std::string& Text() const { return m_text; }
    [[nodiscard]] const std::string& SearchText() const { return m_searchText; }
    [[nodiscard]] TSpecRowGx* SpecRow() const { return m_specRow.get(); }
    [[nodiscard]] bool SpecRowSelected() const { return m_specRowSelected; }
    // The grid row of the special row, above the records; -1 while it is hidden.
    [[nodiscard]] int SpecRowGridRow() const;

    // ---- Size: the height follows the row count and the row count the height.
    [[nodiscard]] int RowsShown() const { return m_rowCount; }
    void SetRowsShown(int rows);
    [[nodiscard]] bool ShowTitles() const { return Options().Contains(dgTitles); }
    void SetShowTitles(bool show);
    // Bit 0 column sizing, bit 1 column lines, bit 2 row lines; the height follows.
    [[nodiscard]] int LineOptions() const;
    void SetLineOptions(int flags);
    // Fitted columns share the client width and leave no horizontal scroll bar; the height
    // follows, so that the rows shown stay whole.
    void SetAutoFitColWidths(bool value);
    void SetBounds(int left, int top, int width, int height) override;

    // Scrolls the list while the pointer tracks outside the grid; null until first needed.
    [[nodiscard]] TTimer* AutoScrollTimer() const { return m_autoScroll; }

    // The list, the edited value's fields and the key allow picking a record.
    [[nodiscard]] bool CanModify() const;
    // Picks a key value: writes it to the edited fields, or keeps it without them.
    void SelectKeyValue(const Variant& value);

    // ---- Called by the value link
    void DataFieldsChanged();
    void ReloadKeyValue();
    [[nodiscard]] bool WritesField(const TField* field) const;

protected:
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    [[nodiscard]] bool DataCellColors(bool selected, bool currentRow, TFont& font, TColor& background) override;
    void LinkActiveChanged(bool active) override;
    void LinkLayoutChanged() override;
    void Dispatch(TMessage& message) override;
    void Paint() override;
    [[nodiscard]] int LeadingRowCount() const override { return m_specRow->Visible() ? 1 : 0; }
    // The list fields, once the list is bound.
    [[nodiscard]] std::vector<std::string> DefaultColumnFields() const override;
    void DrawLeadingCell(int dataCol, int leadingRow, const TRect& rect, TGridDrawState state) override;
    void UpdateVertScrollBar() override;

    // Whether a client point is on the special row.
    [[nodiscard]] bool SpecRowAt(int x, int y);
    // Picks the special row as the user does.
    void SelectSpecRowByUser();
    [[nodiscard]] int DataRowAt(int x, int y);
    // Picks the record shown in a data row.
    void SelectDataRow(int dataRow);
    [[nodiscard]] bool Tracking() const { return m_tracking; }
    // A click gives the grid the focus (the drop-down never takes it).
    void SetFocusOnClick(bool value) { m_focusOnClick = value; }
    virtual void KeyValueChanged();

private:
    void ListFieldsChanged();
    void ResolveListFields();
    void CheckNotCircular() const;
    void CheckNotLookupMode() const;
    void SelectCurrent();
    void SelectSpecRow();
    [[nodiscard]] bool LocateKey();
    [[nodiscard]] bool CurrentRecordHoldsKey();
    void MoveSelection(int distance, bool fromStart);
    void Search(const std::string& characters);
    [[nodiscard]] int FrameHeight() const;
    [[nodiscard]] int RowPitch() const;
    [[nodiscard]] int TitleHeight() const;
    [[nodiscard]] int HeightForRows(int rows) const;
    [[nodiscard]] int SpecRowHeight() const;
    void TrackOutside(int y);
    void StopAutoScroll();
    void WheelPage(bool down);
    void AutoScrollTick();
    void SpecRowChanged();
    // Scroll bar (DBLookupGridsGxScrollBar.cpp)
    void ScrollList(int code, int position);
    void ScrollToFirstRow(int recNo);
    [[nodiscard]] bool HorzScrollBarShown();

    // What the vertical scroll bar shows.
    struct TShownScrollBar {
        int min = 0;
        int max = 0;
        int page = 0;
        int position = 0;
        bool operator==(const TShownScrollBar&) const = default;
    };
    [[nodiscard]] bool OwnVertScrollBarShows(const TShownScrollBar& bar);

    std::unique_ptr<TLookupGridDataLinkGx> m_valueLink;
    std::unique_ptr<TDataSource> m_lookupSource;
    std::unique_ptr<TSpecRowGx> m_specRow;
    std::string m_dataFieldNames;
    std::vector<TField*> m_dataFields;
    std::vector<TField*> m_writtenFields;
    std::string m_writtenFieldNames;
    std::string m_keyFieldNames;
    std::vector<TField*> m_keyFields;
    std::string m_listFieldNames;
    std::vector<TField*> m_listFields;
    int m_listFieldIndex = 0;
    TField* m_displayField = nullptr;
    TField* m_lookupField = nullptr;
    bool m_lookupMode = false;
    bool m_listActive = false;
    Variant m_keyValue = Null();
    bool m_specRowSelected = false;
    bool m_selecting = false;
    std::string m_text;
    std::string m_searchText;
    std::string m_pendingCharacter;
    DWORD m_lastSearchTick = 0;
    int m_rowCount = 7;
    bool m_tracking = false;
    bool m_focusOnClick = true;
    bool m_sizing = false;
    bool m_specRowShown = false;
    TTimer* m_autoScroll = nullptr;
    int m_autoScrollStep = 0;
};

// The lookup grid as a drop-down: a borderless top-level window with a size grip that never takes
// the focus nor the activation. The pointer hovering over it picks rows; releasing the button
// over a row closes it up accepting, releasing it outside cancels.
class TPopupDataGridGx : public TDBLookupGridGx {
    CLASSLIB_DECLARE_CLASS;

    explicit TPopupDataGridGx(TComponent* owner);

    [[nodiscard]] TSizeGripGx* Grip() const { return m_grip; }
    // Never: a press on its titles must not take the focus from the editor it drops from either.
    [[nodiscard]] bool CanFocus() const override { return false; }
    void SetOnCloseUp(const TCloseUpEventGx& handler) { m_onCloseUp = handler; }
    // A key value the user chose (by key, click or hover).
    void SetOnUserKeyValueChange(const TNotifyEvent& handler) { m_onUserKeyValueChange = handler; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyValueChanged() override;
    void Dispatch(TMessage& message) override;

private:
    // Runs what the user's input does, marking it as the user's.
    void UserAction(const std::function<void()>& action);

    TSizeGripGx* m_grip = nullptr;
    bool m_userAction = false;
    bool m_pressedInside = false;
    TCloseUpEventGx m_onCloseUp;
    TNotifyEvent m_onUserKeyValueChange;
};
