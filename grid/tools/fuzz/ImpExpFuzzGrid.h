#pragma once

#include "grid/core/DBGridGx.h"
#include "grid/tools/DBGridGxImpExp.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/forms/Dialogs.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// What the import fuzz targets share: three records of assorted field types held in memory, shown
// by a data grid, reloaded before every import so that no input sees what another wrote.
namespace impexp_fuzz {

class TPeopleDataSet : public TDataSet {
public:
    using TDataSet::TDataSet;

protected:
    void InternalOpen() override
    {
        SetFieldDefs({{"NAME", ftWideString, 20, false},
                      {"NUM", ftInteger, 0, false},
                      {"AMOUNT", ftFloat, 0, false},
                      {"WHEN", ftDateTime, 0, false}});
        AddLoadedRecord(TRecordValues({Variant("Ann"), Variant(10), Variant(1.5), Variant::FromDateTime(45000.5)}), 1);
        AddLoadedRecord(TRecordValues({Variant("Bo"), Variant(20), Variant::MakeNull(), Variant::MakeNull()}), 2);
        AddLoadedRecord(TRecordValues({Variant(""), Variant::MakeNull(), Variant(-3.25), Variant::FromDateTime(1.0)}), 3);
    }
    void InternalPost(TRecordData&, bool) override {}
    void InternalDelete(const TRecordData&) override {}
};

class TFuzzGrid {
public:
    TFuzzGrid() : m_dataSet(nullptr), m_source(nullptr), m_grid(nullptr), m_adapter(m_grid)
    {
        // A field that refuses a value asks whether to go on; no one is there to answer.
        SetMessageDlgHandler([](const std::string&, const std::string&, TMsgDlgType, TMsgDlgButtons) { return mrAll; });
        m_source.SetDataSet(&m_dataSet);
        for (const char* name : {"NAME", "NUM", "AMOUNT", "WHEN"})
            m_grid.Columns().Add()->SetFieldName(name);
        m_grid.SetDataSource(&m_source);
    }

    // Imports the bytes twice: over the whole data set, then from the second record and column.
    void Import(TDBGridGxImportClass importClass, const std::uint8_t* data, std::size_t size)
    {
        for (const bool all : {true, false}) {
            m_dataSet.Close();
            m_dataSet.Open();
            m_dataSet.SetRecNo(2);
            m_adapter.SetCurrentColumn(m_grid.Columns().ColumnAt(1));
            TMemoryStreamGx stream;
            stream.WriteBuffer(data, size);
            stream.SetPosition(0);
            try {
                ImportGridFromStream(importClass, m_adapter, stream, all);
            } catch (const Exception&) {
            }
            // Whatever the input did, no record is left half-written.
            if (m_dataSet.State() != dsBrowse)
                __builtin_trap();
        }
    }

private:
    TPeopleDataSet m_dataSet;
    TDataSource m_source;
    TDBGridGx m_grid;
    TDBGridGxImpExpAdapter m_adapter;
};

inline void Import(TDBGridGxImportClass importClass, const std::uint8_t* data, std::size_t size)
{
    static TFuzzGrid grid;
    grid.Import(importClass, data, size);
}

} // namespace impexp_fuzz
