#include "grid/tools/DBGridGxImpExp.h"
#include "grid/tools/DBGridGxImpExpColumns.h"
#include "platform/rtl/Utf8.h"

#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/Clipbrd.h"
#include "platform/classlib/forms/Dialogs.h"
#include "platform/winapi/user/Clipboard.h"

namespace {

// UTF-8 (the system code page here) to UTF-16 for CF_UNICODETEXT; a malformed byte becomes
// U+FFFD.
std::u16string Utf16Of(const std::uint8_t* bytes, std::size_t size)
{
    std::u16string out;
    out.reserve(size);
    for (std::size_t i = 0; i < size;) {
        const std::uint8_t lead = bytes[i];
        const std::size_t length = Utf8SequenceLength(lead);
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        bool valid = length > 0 && i + length <= size;
        for (std::size_t k = 1; valid && k < length; ++k) {
            valid = IsUtf8Continuation(static_cast<char>(bytes[i + k]));
            code = (code << 6) | (bytes[i + k] & 0x3F);
        }
        if (!valid) {
            out += u'\uFFFD';
            ++i;
            continue;
        }
        i += length;
        if (code >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
    }
    return out;
}

void PutStream(TClipboard& clipboard, UINT format, TMemoryStreamGx& stream)
{
    clipboard.SetBuffer(format, stream.Memory(), static_cast<std::size_t>(stream.Size()));
}

void ExportWithTerminator(TDBGridGxExportClass exportClass, IImpExpGridGx& grid, TMemoryStreamGx& stream, bool all)
{
    stream.Clear();
    ExportGridToStream(exportClass, grid, stream, all);
    const char terminator = '\0';
    stream.WriteBuffer(&terminator, 1);
}

// A format's whole block, copied while the clipboard is open.
bool ReadFormat(TClipboard& clipboard, UINT format, TMemoryStreamGx& stream)
{
    const HANDLE block = clipboard.GetAsHandle(format);
    const void* bytes = block ? GlobalLock(block) : nullptr;
    if (!bytes)
        return false;
    stream.WriteBuffer(bytes, GlobalSize(block));
    (void)GlobalUnlock(block);
    stream.SetPosition(0);
    return true;
}

// Closes the clipboard and re-enables the data set's controls on the way out.
class TClipboardSession {
public:
    TClipboardSession(TClipboard& clipboard, TDataSet* dataSet) : m_clipboard(clipboard), m_dataSet(dataSet)
    {
        m_clipboard.Open();
        if (m_dataSet)
            m_dataSet->DisableControls();
    }
    TClipboardSession(const TClipboardSession&) = delete;
    TClipboardSession& operator=(const TClipboardSession&) = delete;
    ~TClipboardSession()
    {
        m_clipboard.Close();
        if (m_dataSet)
            m_dataSet->EnableControls();
    }

private:
    TClipboard& m_clipboard;
    TDataSet* m_dataSet;
};

[[nodiscard]] bool Confirmed(const char* question)
{
    return MessageDlg(question, mtConfirmation, mbOKCancel, 0) == mrOk;
}

[[nodiscard]] const char* DeleteQuestion(IImpExpGridGx::TSelection kind, std::size_t selectedRows)
{
    switch (kind) {
    case IImpExpGridGx::TSelection::RecordBookmarks:
        return selectedRows < 2 ? "Delete record?" : "Delete all selected records?";
    case IImpExpGridGx::TSelection::Rectangle:
        return "Clear selected cells?";
    case IImpExpGridGx::TSelection::Columns:
        return "Clear selected columns?";
    default:
        return "Delete all records?";
    }
}

void ClearCell(TColumnGx& column)
{
    if (!column.CanModify(false))
        return;
    TField* field = ImpExpValueField(column);
    if (!field || !field->DataSet() || !field->DataSet()->CanModify())
        return;
    TDataSet& dataSet = *field->DataSet();
    if (dataSet.State() != dsEdit && dataSet.State() != dsInsert)
        dataSet.Edit();
    if (dataSet.State() == dsEdit || dataSet.State() == dsInsert)
        field->Clear();
}

void ClearCells(const TColumnsListGx& columns)
{
    for (TColumnGx* column : columns)
        ClearCell(*column);
}

void DeleteBookmarked(IImpExpGridGx& grid, TDataSet& dataSet)
{
    for (const TBookmark& bookmark : grid.SelectedBookmarks())
        if (dataSet.BookmarkValid(bookmark)) {
            dataSet.GotoBookmark(bookmark);
            dataSet.Delete();
        }
    grid.ClearSelection();
}

void ClearRectangle(IImpExpGridGx& grid, TDataSet& dataSet)
{
    const IImpExpGridGx::TRectangle rectangle = grid.SelectedRectangle();
    const TColumnsListGx columns = grid_tools::detail::VisibleColumnsBetween(grid, rectangle.LeftCol, rectangle.RightCol);
    if (dataSet.IsEmpty())
        return;
    dataSet.GotoBookmark(rectangle.TopRow);
    for (;;) {
        ClearCells(columns);
        if (dataSet.CompareBookmarks(dataSet.Bookmark(), rectangle.BottomRow) == 0)
            return;
        dataSet.Next();
        if (dataSet.Eof())
            return;
    }
}

void ClearColumns(IImpExpGridGx& grid, TDataSet& dataSet)
{
    const TColumnsListGx columns = grid.SelectedColumns();
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
        ClearCells(columns);
}

void DeleteAll(TDataSet& dataSet)
{
    dataSet.First();
    while (!dataSet.Eof()) {
        const int before = dataSet.RecordCount();
        dataSet.Delete();
        if (dataSet.RecordCount() >= before)
            return; // the data set refused quietly: do not go round forever
    }
}

} // namespace

UINT CF_VCLDBIF()
{
    static const UINT format = RegisterClipboardFormatA("VCLDBIF");
    return format;
}

UINT CF_CSV()
{
    static const UINT format = RegisterClipboardFormatA("Csv");
    return format;
}

UINT CF_RTF()
{
    static const UINT format = RegisterClipboardFormatA("Rich Text Format");
    return format;
}

void CopyGridSelection(IImpExpGridGx& grid, bool all)
{
    TClipboard& clipboard = *Clipboard();
    TClipboardSession session(clipboard, grid.DataSet());
    TMemoryStreamGx stream;
    stream.SetHalfMemoryDelta(0x10000);

    ExportWithTerminator(TDBGridGxExportAsText::Create, grid, stream, all);
    const std::u16string text = Utf16Of(stream.Memory(), static_cast<std::size_t>(stream.Size()));
    clipboard.SetBuffer(CF_UNICODETEXT, text.data(), text.size() * sizeof(char16_t));

    ExportWithTerminator(TDBGridGxExportAsCSV::Create, grid, stream, all);
    PutStream(clipboard, CF_CSV(), stream);
    ExportWithTerminator(TDBGridGxExportAsRTF::Create, grid, stream, all);
    PutStream(clipboard, CF_RTF(), stream);

    stream.Clear();
    ExportGridToStream(TDBGridGxExportAsVCLDBIF::Create, grid, stream, all);
    PutStream(clipboard, CF_VCLDBIF(), stream);
}

void CutGridSelection(IImpExpGridGx& grid, bool all)
{
    CopyGridSelection(grid, all);
    DeleteGridSelection(grid, all);
}

void PasteIntoGrid(IImpExpGridGx& grid, bool all)
{
    TClipboard& clipboard = *Clipboard();
    clipboard.Open();
    try {
        TMemoryStreamGx stream;
        if (clipboard.HasFormat(CF_VCLDBIF())) {
            if (ReadFormat(clipboard, CF_VCLDBIF(), stream))
                ImportGridFromStream(TDBGridGxImportAsVCLDBIF::Create, grid, stream, all);
        } else if (clipboard.HasFormat(CF_TEXT)) {
            if (ReadFormat(clipboard, CF_TEXT, stream))
                ImportGridFromStream(TDBGridGxImportAsText::Create, grid, stream, all);
        }
    } catch (...) {
        clipboard.Close();
        throw;
    }
    clipboard.Close();
}

void DeleteGridSelection(IImpExpGridGx& grid, bool all)
{
    const auto kind = all ? IImpExpGridGx::TSelection::All : grid.SelectionKind();
    TDataSet* dataSet = grid.DataSet();
    if (kind == IImpExpGridGx::TSelection::None || !dataSet || !dataSet->Active())
        return;
    if (grid.Options().Contains(dgConfirmDelete) && !Confirmed(DeleteQuestion(kind, grid.SelectedBookmarks().size())))
        return;
    const IImpExpGridGx::TPosition position = grid.SavePosition();
    dataSet->DisableControls();
    try {
        switch (kind) {
        case IImpExpGridGx::TSelection::RecordBookmarks:
            DeleteBookmarked(grid, *dataSet);
            break;
        case IImpExpGridGx::TSelection::Rectangle:
            ClearRectangle(grid, *dataSet);
            grid.RestorePosition(position);
            break;
        case IImpExpGridGx::TSelection::Columns:
            ClearColumns(grid, *dataSet);
            grid.RestorePosition(position);
            break;
        default:
            DeleteAll(*dataSet);
            break;
        }
    } catch (...) {
        dataSet->EnableControls();
        throw;
    }
    dataSet->EnableControls();
}
