#include "grid/core/DBGridGx.h"

#include "grid/core/DBGridInplaceEdit.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/rtl/Strings.h"

// The data grid's side of the cell editor: which cells it shows on, the text it starts from, and
// how the typed text goes back into the field when the record is written.

namespace {

// Index of `text` in the list, letter case ignored; -1 when absent.
int IndexOfText(const TStrings& list, const std::string& text)
{
    for (int i = 0; i < list.Count(); ++i) {
        if (SameText(list.Strings(i), text))
            return i;
    }
    return -1;
}

} // namespace

TInplaceEdit* TCustomDBGridGx::CreateEditor() { return new TDBGridInplaceEdit(this); }

// Never over image and check-box cells: those change by click and Space.
bool TCustomDBGridGx::CanEditShow()
{
    if (LayoutLocked() || !m_dataLink->Active() || !TCustomGridGx::CanEditShow())
        return false;
    const TColumnGx* column = SelectedColumn();
    if (!column)
        return false;
    const TCellImageKindGx kind = column->CellImageKind();
    return kind != cikImages && kind != cikCheckboxes;
}

// The editor may change the value: the record is then put into edit state and marked changed.
bool TCustomDBGridGx::CanEditModify()
{
    if (m_readOnly || !m_dataLink->Active() || m_dataLink->ReadOnly() || !m_incSearchText.empty())
        return false;
    const TColumnGx* column = SelectedColumn();
    return column && column->CellImageKind() != cikCheckboxes && column->CanModify(true);
}

// A key list or pick list decides what the text may hold, not the field's characters.
bool TCustomDBGridGx::CanEditAcceptKey(char key)
{
    const TColumnGx* column = SelectedColumn();
    if (!column || column->ReadOnly())
        return false;
    const TField* field = column->Field();
    if (!field || column->HasKeyItems() || column->HasPickItems())
        return true;
    return field->IsValidChar(key);
}

std::string TCustomDBGridGx::GetEditText(int col, int /*row*/)
{
    m_editText.clear();
    const TColumnGx* column = ColumnAtGridCol(col);
    const TField* field = column ? column->Field() : nullptr;
    if (!m_dataLink->Active() || !field)
        return m_editText;
    if (column->HasKeyItems()) {
        const int key = IndexOfText(*column->KeyList(), field->Text());
        const TStrings* picks = column->PickList();
        if (key >= 0 && key < picks->Count())
            m_editText = picks->Strings(key);
    } else {
        m_editText = field->Text();
    }
    return m_editText;
}

void TCustomDBGridGx::SetEditText(int /*col*/, int /*row*/, const std::string& value) { m_editText = value; }

bool TCustomDBGridGx::SetCellEditText(const std::string& text)
{
    if (!CanEditModify())
        return false;
    m_editText = text;
    return true;
}

// String fields without a key list are as long as the field; anything else is unlimited.
int TCustomDBGridGx::GetEditLimit()
{
    const TColumnGx* column = SelectedColumn();
    const TField* field = column ? column->Field() : nullptr;
    if (!field || column->HasKeyItems() || (field->DataType() != ftString && field->DataType() != ftWideString))
        return 0;
    return field->Size();
}

std::string TCustomDBGridGx::GetEditMask(int col, int /*row*/)
{
    const TColumnGx* column = ColumnAtGridCol(col);
    if (!column || column->HasKeyItems())
        return {};
    return column->EditMask();
}

bool TCustomDBGridGx::EditorShowing() const
{
    const TInplaceEdit* editor = InplaceEditor();
    return EditorMode() && editor && editor->IsVisible();
}

std::string TCustomDBGridGx::EditorText() const
{
    const TInplaceEdit* editor = InplaceEditor();
    return editor ? editor->Text() : std::string();
}

void TCustomDBGridGx::EditButtonClick()
{
    if (m_onEditButtonClick)
        m_onEditButtonClick(this);
}

// OnNotInList decides whether a text outside the list may stay; without a handler it may not.
bool TCustomDBGridGx::AcceptNotInList(TColumnGx& column, const std::string& text)
{
    if (!column.OnNotInList())
        return false;
    bool accept = false;
    column.OnNotInList()(&column, text, accept);
    return accept;
}

Variant TCustomDBGridGx::KeyOfPickText(TColumnGx& column, const std::string& text) const
{
    const TStrings& keys = *column.KeyList();
    int index = IndexOfText(*column.PickList(), text);
    if (index < 0 && !text.empty() && AcceptNotInList(column, text))
        index = IndexOfText(*column.PickList(), text);
    if (index < 0 || index >= keys.Count())
        return Null();
    return Variant(keys.Strings(index));
}

// The text typed into the current cell goes into its field: a key list's text as its key, a pick
// list's as typed (after OnNotInList had its say), other fields through the column.
void TCustomDBGridGx::WriteEditorToField()
{
    TColumnGx* column = SelectedColumn();
    // A lookup column's editor writes the key fields itself as the user chooses.
    if (!column || !column->Field() || column->Field()->Lookup())
        return;
    const std::string text = m_editText;
    if (column->HasKeyItems() && column->HasPickItems()) {
        column->UpdateDataValues(text, KeyOfPickText(*column, text), false);
        return;
    }
    if (column->HasPickItems() && IndexOfText(*column->PickList(), text) < 0)
        (void)AcceptNotInList(*column, text);
    column->UpdateDataValues(text, Variant(text), true);
}

// A field that changed under the editor shows its new text there, nothing selected.
void TCustomDBGridGx::RefreshEditorFromField(TField* field)
{
    if (!EditorShowing())
        return;
    const TColumnGx* column = SelectedColumn();
    if (field && (!column || column->Field() != field))
        return;
    const std::string shown = EditorText();
    if (GetEditText(Col(), Row()) == shown)
        return;
    InvalidateEditor();
    if (TInplaceEdit* editor = InplaceEditor(); editor && editor->HandleAllocated())
        editor->Deselect();
}

// Esc: the editor's typed text goes back to the field's (a second Esc cancels the record's
// edit), and the editor closes unless it is always shown.
void TCustomDBGridGx::CancelEditorChange()
{
    m_dataLink->RevertEdit();
    if (!m_options.Contains(dgAlwaysShowEditor))
        HideEditor();
}
