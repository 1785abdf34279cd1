// Incremental search: typing in a column the grid cannot edit finds the next record whose text in
// that column begins with what was typed.
#include "grid/core/DBGridGx.h"

#include "grid/core/DBGridGxTextDrawing.h"
#include "platform/classlib/data/DBDataSet.h"
#include "grid/core/GridLibGx.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Utf8.h"

bool TCustomDBGridGx::IncSearchApplies() const
{
    if (!m_optionsGx.Contains(dghIncSearch) || !m_dataLink->Active())
        return false;
    return m_optionsGx.Contains(dghPreferIncSearch) || !m_options.Contains(dgEditing) || m_readOnly;
}

void TCustomDBGridGx::KeyPress(char& key)
{
    if (TypeIntoFilterRow(key)) {
        key = 0;
        return;
    }
    if (IncSearchApplies() && KeyedColumn() && IncSearchKey(key)) {
        key = 0;
        return;
    }
    // Enter writes the typed text into the field before the base grid closes the editor, or
    // before it goes on to the next cell as Tab does with dghEnterAsTab.
    if (key == '\r' && !m_options.Contains(dgAlwaysShowEditor) && EditorShowing())
        m_dataLink->UpdateRecord();
    if (key == '\r' && m_optionsGx.Contains(dghEnterAsTab)) {
        key = 0;
        TabToNextCell(GetKeyState(VK_SHIFT) < 0);
        return;
    }
    TCustomGridGx::KeyPress(key);
}

// Printable characters extend the search.
bool TCustomDBGridGx::IncSearchKey(char key)
{
    if (static_cast<unsigned char>(key) < ' ')
        return false;
    // A character of several bytes comes a byte at a time: search once it is whole.
    m_incSearchPending += key;
    if (m_incSearchPending.size() < Utf8SequenceLength(static_cast<unsigned char>(m_incSearchPending.front())))
        return true;
    const std::string wanted = m_incSearchText + m_incSearchPending;
    m_incSearchPending.clear();
    if (LocateIncSearch(wanted))
        RestartIncSearchTimer();
    InvalidateCurrentRow();
    return true;
}

// From the current record on, the first whose text in the column begins with `wanted`. Found, the
// search text becomes that record's own prefix (its letter case); not found, nothing moves.
bool TCustomDBGridGx::LocateIncSearch(const std::string& wanted)
{
    TColumnGx* column = KeyedColumn();
    TDataSet* dataSet = m_dataLink->DataSet();
    const TBookmarkStr start = dataSet->Bookmark();
    std::string found;
    dataSet->DisableControls();
    try {
        for (; !dataSet->Eof(); dataSet->Next()) {
            if (StartsWithIgnoringCase(column->DisplayText(), wanted)) {
                found = WholePrefix(column->DisplayText(), wanted.size());
                break;
            }
        }
        if (found.empty())
            dataSet->SetBookmark(start);
    } catch (...) {
        dataSet->EnableControls();
        throw;
    }
    dataSet->EnableControls();
    if (found.empty())
        return false;
    m_incSearchText = found;
    return true;
}

// While a search runs, Backspace takes back one whole character and Enter and Esc end it.
bool TCustomDBGridGx::IncSearchControlKey(WORD key)
{
    if (m_incSearchText.empty())
        return false;
    if (key == VK_RETURN || key == VK_ESCAPE) {
        EndIncSearch();
        return true;
    }
    if (key != VK_BACK)
        return false;
    m_incSearchText.erase(Utf8PreviousStart(m_incSearchText, m_incSearchText.size()));
    RestartIncSearchTimer();
    InvalidateCurrentRow();
    return true;
}

void TCustomDBGridGx::RestartIncSearchTimer()
{
    if (HandleAllocated())
        (void)SetTimer(Handle(), IncSearchTimerId, IncSearchTimeoutMs, nullptr);
}

void TCustomDBGridGx::EndIncSearch()
{
    if (HandleAllocated())
        (void)KillTimer(Handle(), IncSearchTimerId);
    m_incSearchPending.clear();
    if (m_incSearchText.empty())
        return;
    m_incSearchText.clear();
    InvalidateCurrentRow();
}

// The part found so far, marked in the current cell of the searched column.
void TCustomDBGridGx::PaintIncSearchMark(const TRect& rect)
{
    TCanvas* canvas = Canvas();
    const int width = std::min<int>(canvas->TextWidth(m_incSearchText) + 2, rect.right - rect.left - 2);
    const TRect mark{rect.left + 1, rect.top + 1, rect.left + 1 + width, rect.bottom - 1};
    canvas->Brush()->SetColor(clYellow);
    canvas->Font()->SetColor(clBlack);
    DrawCellText(*canvas, mark, true, 1, 1, m_incSearchText, taLeftJustify, tlCenter, false, false, 0, 0, false);
}
