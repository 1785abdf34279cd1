#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxCenterHooks.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/winapi/user/Clipboard.h"

namespace {

// What a paste can take: the grids' own cell format, which the clipboard actions write, or text.
[[nodiscard]] bool ClipboardHasGridData()
{
    return IsClipboardFormatAvailable(RegisterClipboardFormatA("VCLDBIF")) ||
           IsClipboardFormatAvailable(CF_UNICODETEXT) || IsClipboardFormatAvailable(CF_TEXT);
}

} // namespace

bool TCustomDBGridGx::CanEditAction(TDBGridGxEditAction action)
{
    if (!m_dataLink->Active())
        return false;
    TDataSet* dataSet = m_dataLink->DataSet();
    const TDBGridGxSelectionType kind = m_selection->SelectionType();
    const bool modifiable = !m_readOnly && dataSet->CanModify();
    switch (action) {
    case geaCopyGx: return kind != gstNon;
    case geaPasteGx:
        return modifiable && ClipboardHasGridData() &&
               (dataSet->State() == dsInsert || m_allowedOperations.Contains(alopUpdateGx));
    case geaCutGx: return CanEditAction(geaCopyGx) && CanEditAction(geaDeleteGx);
    case geaSelectAllGx: return !dataSet->IsEmpty() && m_allowedSelections.Contains(gstAll);
    case geaDeleteGx:
        if (!modifiable || dataSet->IsEmpty())
            return false;
        if (kind == gstRecordBookmarks || kind == gstAll)
            return m_allowedOperations.Contains(alopDeleteGx);
        return (kind == gstRectangle || kind == gstColumns) && m_allowedOperations.Contains(alopUpdateGx);
    }
    return false;
}

// Cut, copy, paste and delete are the tools library's clipboard actions; without them they do
// nothing.
void TCustomDBGridGx::ExecuteEditAction(TDBGridGxEditAction action)
{
    if (action == geaSelectAllGx) {
        m_selection->SelectAll();
        return;
    }
    constexpr TGridClipboardActionGx clipboardActions[] = {gcaCutGx, gcaCopyGx, gcaPasteGx, gcaDeleteGx};
    if (const TGridClipboardHookGx hook = GridClipboardHook())
        hook(*this, clipboardActions[action]);
}
