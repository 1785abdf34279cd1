#pragma once

#include "grid/core/GridLibGx.h"
#include "grid/tools/DBGridGxImpExpGrid.h"
#include "platform/classlib/core/Streams.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Variant.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Export of a grid's selection in four formats (tab-separated text, CSV, an RTF table and the
// typed binary "VCLDBIF" stream), import of text and "VCLDBIF" back into the grid's data set, and
// the grid's clipboard actions built on them.

using TColumnsListGx = std::vector<TColumnGx*>;

// The separator CSV exports take when they are made.
inline char DBGridGxCSVSeparator = ';';

// ---- Exporters

// Walks the grid's selection (or the whole data set) and hands the title row, each record and
// each footer row to the writing operations a format overrides. Footers that sum or count are
// totalled over the exported records only.
class TDBGridGxExport {
public:
    TDBGridGxExport() = default;
    TDBGridGxExport(const TDBGridGxExport&) = delete;
    TDBGridGxExport& operator=(const TDBGridGxExport&) = delete;
    virtual ~TDBGridGxExport() = default;

    [[nodiscard]] IImpExpGridGx* Grid() const { return m_grid; }
    void SetGrid(IImpExpGridGx* grid) { m_grid = grid; }

    // `all` exports the whole data set whatever is selected. With nothing selected nothing at all
    // is written. The grid's position is restored and its data set's controls re-enabled, also
    // when writing fails.
    virtual void ExportStream(TStream& stream, bool all);
    // Creates (or replaces) the file.
    void ExportFile(const std::string& fileName, bool all);

protected:
    virtual void BeginExport() {}
    virtual void EndExport() {}
    virtual void PutTitleRow(const TColumnsListGx&) {}
    virtual void PutDataRow(const TColumnsListGx& columns);
    virtual void PutDataCell(TColumnGx&, const IImpExpGridGx::TCellParams&) {}
    virtual void PutFooterRow(const TColumnsListGx& columns, int footerRow);
    virtual void PutFooterCell(int /*dataCol*/, int /*footerRow*/, const std::string& /*text*/,
                               TAlignment /*alignment*/, TColor /*background*/, TFont& /*font*/,
                               TColumnGx& /*column*/)
    {
    }

    [[nodiscard]] IImpExpGridGx& GridRef() const;
    [[nodiscard]] TStream& Stream() const { return *m_stream; }
    void SetStream(TStream* stream) { m_stream = stream; }
    void Put(std::string_view text) { m_stream->WriteBuffer(text.data(), text.size()); }
    void PutLine(std::string_view text);
    [[nodiscard]] const TColumnsListGx& ExportedColumns() const { return m_columns; }

private:
    void Walk(IImpExpGridGx::TSelection kind, TDataSet& dataSet);
    void Start(TColumnsListGx columns);
    void WriteRecord();
    void WriteAllRecords(TDataSet& dataSet);
    void WriteRectangle(TDataSet& dataSet, const IImpExpGridGx::TRectangle& rectangle);
    void WriteFooters();
    void AddRecordToTotals();
    [[nodiscard]] std::string TotalText(int dataCol, int footerRow, TColumnGx& column) const;
    [[nodiscard]] TField* TotalledField(TColumnGx& column, const IImpExpGridGx::TFooter& footer) const;

    IImpExpGridGx* m_grid = nullptr;
    TStream* m_stream = nullptr;
    TColumnsListGx m_columns;
    // Row-major by footer row: [column position + footer row x column count].
    std::vector<Currency> m_totals;
};

using TDBGridGxExportClass = std::unique_ptr<TDBGridGxExport> (*)();

// Lines separated by CR LF (none after the last), cells by TAB; nothing is quoted or escaped,
// as other programs read this format.
class TDBGridGxExportAsText : public TDBGridGxExport {
public:
    [[nodiscard]] static std::unique_ptr<TDBGridGxExport> Create();
    void ExportStream(TStream& stream, bool all) override;

protected:
    void PutTitleRow(const TColumnsListGx& columns) override;
    void PutDataRow(const TColumnsListGx& columns) override;
    void PutDataCell(TColumnGx& column, const IImpExpGridGx::TCellParams& params) override;
    void PutFooterRow(const TColumnsListGx& columns, int footerRow) override;
    void PutFooterCell(int dataCol, int footerRow, const std::string& text, TAlignment alignment,
                       TColor background, TFont& font, TColumnGx& column) override;
    virtual void SeparateRecord();
    virtual void SeparateCell();
    [[nodiscard]] virtual char CellSeparator() const { return '\t'; }
    virtual void PutCellText(const std::string& text) { Put(text); }

private:
    void StartLine();

    bool m_firstRecord = true;
    bool m_firstCell = true;
};

// The text format with DBGridGxCSVSeparator between cells and every cell in double quotes, an
// inner double quote doubled.
class TDBGridGxExportAsCSV : public TDBGridGxExportAsText {
public:
    TDBGridGxExportAsCSV() : m_separator(DBGridGxCSVSeparator) {}
    [[nodiscard]] static std::unique_ptr<TDBGridGxExport> Create();

protected:
    [[nodiscard]] char CellSeparator() const override { return m_separator; }
    void PutCellText(const std::string& text) override;

private:
    char m_separator;
};

// An RTF table: one table row per title level, record and footer row, cells coloured and with
// fonts as the grid paints them. The body is written first so that the colour and font tables
// in front of it list exactly what it uses.
class TDBGridGxExportAsRTF : public TDBGridGxExport {
public:
    TDBGridGxExportAsRTF();
    ~TDBGridGxExportAsRTF() override;
    [[nodiscard]] static std::unique_ptr<TDBGridGxExport> Create();
    void ExportStream(TStream& stream, bool all) override;

protected:
    void EndExport() override { Put("}"); }
    void PutTitleRow(const TColumnsListGx& columns) override;
    void PutDataRow(const TColumnsListGx& columns) override;
    void PutDataCell(TColumnGx& column, const IImpExpGridGx::TCellParams& params) override;
    void PutFooterRow(const TColumnsListGx& columns, int footerRow) override;
    void PutFooterCell(int dataCol, int footerRow, const std::string& text, TAlignment alignment,
                       TColor background, TFont& font, TColumnGx& column) override;

private:
    struct TCellFrame;
    void PutRowDefinition(const std::vector<TCellFrame>& cells);
    void PutCell(TAlignment alignment, const TFont& font, const std::string& text, TColor background);
    void PutTextRun(const TFont& font, const std::string& text, TColor background);
    void PutSingleTitleRow(const TColumnsListGx& columns);
    void PutMultiTitleRows(const TColumnsListGx& columns);
    void WriteHeader();
    [[nodiscard]] int ColorIndex(TColor color);
    [[nodiscard]] int FontIndex(const std::string& name);
    [[nodiscard]] int TwipsOf(int pixels) const;
    [[nodiscard]] int Spacing() const { return GridRef().Flat() ? 12 : 24; }

    std::vector<COLORREF> m_colors;  // one entry per distinct RGB value
    std::vector<std::string> m_fonts;
};

// The typed binary format: "VCLDBIF", version 1, the column count, a descriptor per column, then
// every exported value as a tag and its payload; tag 0 ends it. No titles, no footers.
class TDBGridGxExportAsVCLDBIF : public TDBGridGxExport {
public:
    [[nodiscard]] static std::unique_ptr<TDBGridGxExport> Create();

protected:
    void BeginExport() override;
    void EndExport() override;
    void PutDataCell(TColumnGx& column, const IImpExpGridGx::TCellParams& params) override;

private:
    void PutTag(std::uint8_t tag);
    void PutInt32(std::int32_t value);
    void PutBytes(const std::string& bytes);
};

// The value tags of the "VCLDBIF" format.
enum TVCLDBIFTagGx : std::uint8_t {
    vtgEnd = 0, vtgUnassigned = 1, vtgNull = 2, vtgInteger = 3, vtgFloat = 4, vtgString = 5, vtgBinary = 6
};

// Makes the exporter, runs it over the grid and frees it, also on failure.
void ExportGridToStream(TDBGridGxExportClass exportClass, IImpExpGridGx& grid, TStream& stream, bool all);

// The field a column's values travel in: its own, or for a lookup column the key field it looks
// up by (null when there is none).
[[nodiscard]] TField* ImpExpValueField(const TColumnGx& column);

// ---- Importers

// Writes a source's rows into the grid's records: over the selected records, or from the current
// record on (appending the rest of the source when the grid allows it), or into new records when
// the data set was inserting. A row the import could not finish is cancelled, never posted.
class TDBGridGxImport {
public:
    TDBGridGxImport() = default;
    TDBGridGxImport(const TDBGridGxImport&) = delete;
    TDBGridGxImport& operator=(const TDBGridGxImport&) = delete;
    virtual ~TDBGridGxImport() = default;

    [[nodiscard]] IImpExpGridGx* Grid() const { return m_grid; }
    void SetGrid(IImpExpGridGx* grid) { m_grid = grid; }

    virtual void ImportStream(TStream& stream, bool all);
    void ImportFile(const std::string& fileName, bool all);

protected:
    virtual void ReadPrefix() {}
    virtual void FinishImport() {}
    virtual void ReadRow(const TColumnsListGx& columns);
    virtual void ReadCell(TColumnGx*) {}

    [[nodiscard]] IImpExpGridGx& GridRef() const;
    [[nodiscard]] TStream& Stream() const { return *m_stream; }
    [[nodiscard]] bool EndOfSource() const { return m_endOfSource; }
    void SetEndOfSource() { m_endOfSource = true; }
    // Bytes of the source read so far.
    [[nodiscard]] std::int64_t Consumed() const { return m_consumed; }
    // Reads up to `count` bytes; the number read.
    std::size_t ReadSource(void* buffer, std::size_t count);
    [[nodiscard]] std::int64_t RemainingSource() const;
    // Assigns a cell through `assign`, which receives the field to write. An error asks the user
    // whether to go on (Yes), stop (No: a silent abort) or stop asking (All).
    void WriteCell(TColumnGx& column, const std::function<void(TField& target, TField& shown)>& assign);

private:
    void Walk(IImpExpGridGx::TSelection kind, TDataSet& dataSet, bool insertMode,
              const IImpExpGridGx::TPosition& position);
    void InsertRows(TDataSet& dataSet, bool append);
    [[nodiscard]] bool ReadRowMovedOn(const TColumnsListGx& columns);

    IImpExpGridGx* m_grid = nullptr;
    TStream* m_stream = nullptr;
    TColumnsListGx m_columns;
    bool m_endOfSource = false;
    bool m_ignoreAllErrors = false;
    std::int64_t m_consumed = 0;
};

using TDBGridGxImportClass = std::unique_ptr<TDBGridGxImport> (*)();

// Clipboard text: cells separated by TAB, rows by CR LF; the first NUL (the clipboard text's
// terminator) ends the source. A CR without LF anywhere in the source refuses the whole import
// before anything is written.
class TDBGridGxImportAsText : public TDBGridGxImport {
public:
    [[nodiscard]] static std::unique_ptr<TDBGridGxImport> Create();
    void ImportStream(TStream& stream, bool all) override;

protected:
    void ReadPrefix() override { CheckState(); }
    void ReadRow(const TColumnsListGx& columns) override;
    void ReadCell(TColumnGx* column) override;

private:
    enum TState : std::uint8_t { tsCharacter, tsCellEnd, tsRecordEnd, tsEnd };
    TState CheckState();
    [[nodiscard]] bool ReadChar(char& c);
    void ReadCellText();

    char m_lastChar = 0;
    TState m_lastState = tsCharacter;
    std::string m_lastCellText;
};

// Reads the "VCLDBIF" format. Limits: a descriptor name or a string value never reaches beyond
// the end of the source, a column count must be positive and fit the source; anything else is
// refused with "TDBGridGxImportAsVCLDBIF.ReadPrefix: Invalid VCLDBIF format". Values go to the
// imported columns by position.
class TDBGridGxImportAsVCLDBIF : public TDBGridGxImport {
public:
    [[nodiscard]] static std::unique_ptr<TDBGridGxImport> Create();

protected:
    void ReadPrefix() override;
    void ReadRow(const TColumnsListGx& columns) override;
    void ReadCell(TColumnGx* column) override;

private:
    [[noreturn]] static void InvalidFormat();
    void ReadExactly(void* buffer, std::size_t count);
    [[nodiscard]] std::int32_t ReadInt32();
    void ReadValue();

    std::int32_t m_columnCount = 0;
    Variant m_lastValue;
};

void ImportGridFromStream(TDBGridGxImportClass importClass, IImpExpGridGx& grid, TStream& stream, bool all);

// ---- Clipboard actions

// The registered clipboard formats "VCLDBIF", "Csv" and "Rich Text Format".
[[nodiscard]] UINT CF_VCLDBIF();
[[nodiscard]] UINT CF_CSV();
[[nodiscard]] UINT CF_RTF();

// Copy puts the selection on the clipboard as Unicode text, "Csv", "Rich Text Format" and
// "VCLDBIF" together. Paste prefers "VCLDBIF" to text. Delete asks first when the grid's options
// hold dgConfirmDelete. `all` acts on the whole data set whatever is selected.
void CopyGridSelection(IImpExpGridGx& grid, bool all);
void CutGridSelection(IImpExpGridGx& grid, bool all);
void PasteIntoGrid(IImpExpGridGx& grid, bool all);
void DeleteGridSelection(IImpExpGridGx& grid, bool all);
