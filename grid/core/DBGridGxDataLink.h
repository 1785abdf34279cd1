#pragma once

#include "platform/classlib/data/DBDataSource.h"

#include <cstdint>
#include <string_view>
#include <vector>

class IDataGridGx;
class TField;

// The data grid's link to its data source: the map from the grid's data columns to the data
// set's fields, and the data set's notifications passed on to the grid.
class TGridDataLinkGx : public TDataLink {
    CLASSLIB_DECLARE_CLASS;

    // The largest map; the message speaks of 256 columns, as it always did.
    static constexpr int MaxMapCount = 0x0FFFFFFF;

    explicit TGridDataLinkGx(IDataGridGx& grid);
    ~TGridDataLinkGx() override;

    // Appends the field of that name (or -1 in a sparse map when there is none). A name the data
    // set lacks raises its own error unless MapByName; a full map raises EInvalidGridOperationGx.
    bool AddFieldMapping(std::string_view fieldName);
    void ClearMapping();
    [[nodiscard]] TField* GetMappedField(int index) const;
    [[nodiscard]] int MapCount() const { return static_cast<int>(m_map.size()); }
    [[nodiscard]] int MapCapacity() const { return static_cast<int>(m_map.capacity()); }
    [[nodiscard]] bool DefaultFields() const;
    [[nodiscard]] bool MapByName() const { return m_mapByName; }
    void SetMapByName(bool value) { m_mapByName = value; }
    void MarkModified() { m_editorChanged = true; }
    [[nodiscard]] bool EditorChanged() const { return m_editorChanged; }
    // Gives the editor the record back when it changed it; else cancels the data set's edit.
    void RevertEdit();

protected:
    void ActiveChanged() override;
    void DataSetChanged() override;
    void DataSetScrolled(int distance) override;
    void EditingChanged() override;
    void FocusControl(TField** field) override;
    void LayoutChanged() override;
    void RecordChanged(TField* field) override;
    void UpdateData() override;
    void DataEvent(TDataEvent event, std::intptr_t info) override;

private:
    void Reserve(std::size_t needed);

    IDataGridGx& m_grid;
    std::vector<int> m_map;
    bool m_writingBack = false;
    bool m_editorChanged = false;
    bool m_mapByName = false;
};
