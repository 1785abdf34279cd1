#include "grid/tools/DBGridGxImpExp.h"

#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/data/DBFields.h"

#include <cstring>

std::unique_ptr<TDBGridGxImport> TDBGridGxImportAsText::Create()
{
    return std::make_unique<TDBGridGxImportAsText>();
}

void TDBGridGxImportAsText::ImportStream(TStream& stream, bool all)
{
    // The text up to its terminator is checked whole first, so that a malformed line break
    // further on cannot leave the rows before it written.
    const std::int64_t size = std::max<std::int64_t>(stream.Size() - stream.Position(), 0);
    std::string text(static_cast<std::size_t>(size), '\0');
    text.resize(stream.Read(text.data(), text.size()));
    text.resize(std::strlen(text.c_str()));
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'))
            throw Exception("TDBGridGxImportAsText.CheckState: Invalid text format");
    TMemoryStreamGx source;
    source.WriteBuffer(text.data(), text.size());
    source.SetPosition(0);
    m_lastChar = 0;
    m_lastState = tsCharacter;
    m_lastCellText.clear();
    TDBGridGxImport::ImportStream(source, all);
}

bool TDBGridGxImportAsText::ReadChar(char& c)
{
    return ReadSource(&c, 1) == 1 && c != '\0';
}

TDBGridGxImportAsText::TState TDBGridGxImportAsText::CheckState()
{
    char c = 0;
    if (!ReadChar(c)) {
        SetEndOfSource();
        return m_lastState = tsEnd;
    }
    m_lastChar = c;
    if (c == '\t')
        return m_lastState = tsCellEnd;
    if (c == '\r') {
        char next = 0;
        if (!ReadChar(next) || next != '\n')
            throw Exception("TDBGridGxImportAsText.CheckState: Invalid text format");
        return m_lastState = tsRecordEnd;
    }
    return m_lastState = tsCharacter;
}

void TDBGridGxImportAsText::ReadCellText()
{
    std::string text(1, m_lastChar);
    while (CheckState() == tsCharacter)
        text += m_lastChar;
    if (m_lastState == tsCellEnd)
        CheckState();
    m_lastCellText = std::move(text);
}

void TDBGridGxImportAsText::ReadRow(const TColumnsListGx& columns)
{
    if (m_lastState == tsEnd)
        return;
    std::size_t index = 0;
    if (m_lastState == tsCharacter) {
        ReadCellText();
        if (!columns.empty())
            ReadCell(columns[0]);
        index = 1;
    }
    // A TAB at the very end of a line leaves the next field as it was.
    while (m_lastState == tsCharacter || m_lastState == tsCellEnd) {
        if (m_lastState == tsCellEnd) {
            m_lastCellText.clear();
            CheckState();
        } else {
            ReadCellText();
        }
        if (index < columns.size())
            ReadCell(columns[index]);
        ++index;
    }
    CheckState();
}

void TDBGridGxImportAsText::ReadCell(TColumnGx* column)
{
    if (!column)
        return;
    WriteCell(*column, [&](TField& target, TField& shown) {
        if (shown.Lookup()) {
            TDataSet* lookup = shown.LookupDataSet();
            if (!lookup)
                return;
            const Variant text(m_lastCellText);
            // A whole match wins over a record whose text merely begins with the pasted one.
            if (lookup->Locate(shown.LookupResultField(), text, LocateOptions({loCaseInsensitive})) ||
                lookup->Locate(shown.LookupResultField(), text, LocateOptions({loCaseInsensitive, loPartialKey})))
                target.SetValue(lookup->FieldValues(shown.LookupKeyFields()));
            return;
        }
        if (column->HasPickItems() && column->HasKeyItems()) {
            const int index = column->PickList()->IndexOf(m_lastCellText);
            if (index < 0 || index >= column->KeyList()->Count())
                target.Clear();
            else
                target.SetAsString(column->KeyList()->Strings(index));
            return;
        }
        target.SetAsString(m_lastCellText);
    });
}
