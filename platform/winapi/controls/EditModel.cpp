#include "platform/winapi/controls/EditModel.h"

#include "platform/rtl/Utf8.h"

#include <algorithm>
#include <cctype>

namespace {

// Letters and digits (and any byte of a multi-byte character) make words.
bool IsWordChar(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || std::isalnum(u) || c == '_';
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

} // namespace

void EditModel::SetText(std::string_view text, int style)
{
    m_text.assign(text);
    m_runs.clear();
    InsertRun(0, m_text.size(), style);
    m_anchor = m_caret = 0;
    EmptyUndo();
}

void EditModel::Select(std::size_t anchor, std::size_t caret)
{
    m_anchor = Boundary(anchor);
    m_caret = Boundary(caret);
    m_typing = false;
}

void EditModel::ReplaceSelection(std::string_view text, int style, bool undoable)
{
    const std::size_t start = SelStart();
    const bool continues = m_typing && !HasSelection() && start == m_typingEnd;
    if (undoable && !continues)
        m_undo = State{m_text, m_runs, m_anchor, m_caret};
    EraseRuns(start, SelEnd() - start);
    m_text.replace(start, SelEnd() - start, text);
    InsertRun(start, text.size(), style);
    m_anchor = m_caret = start + text.size();
    m_typing = undoable && !text.empty();
    m_typingEnd = m_caret;
}

void EditModel::EmptyUndo()
{
    m_undo.reset();
    m_typing = false;
}

bool EditModel::Undo()
{
    if (!m_undo)
        return false;
    State current{m_text, m_runs, m_anchor, m_caret};
    m_text = std::move(m_undo->text);
    m_runs = std::move(m_undo->runs);
    m_anchor = m_undo->anchor;
    m_caret = m_undo->caret;
    m_undo = std::move(current);
    m_typing = false;
    return true;
}

std::size_t EditModel::Boundary(std::size_t pos) const
{
    return Utf8CharacterStart(m_text, pos);
}

std::size_t EditModel::NextChar(std::size_t pos) const
{
    if (pos >= m_text.size())
        return m_text.size();
    if (m_text.compare(pos, 2, "\r\n") == 0)
        return pos + 2;
    return Utf8NextStart(m_text, pos);
}

std::size_t EditModel::PrevChar(std::size_t pos) const
{
    if (pos == 0)
        return 0;
    if (pos >= 2 && m_text.compare(pos - 2, 2, "\r\n") == 0)
        return pos - 2;
    return Boundary(pos - 1);
}

std::size_t EditModel::NextWord(std::size_t pos) const
{
    const std::size_t size = m_text.size();
    if (pos < size && !IsBlank(m_text[pos])) {
        const bool word = IsWordChar(m_text[pos]);
        while (pos < size && !IsBlank(m_text[pos]) && IsWordChar(m_text[pos]) == word)
            ++pos;
    }
    while (pos < size && IsBlank(m_text[pos]))
        ++pos;
    return Boundary(pos);
}

std::size_t EditModel::PrevWord(std::size_t pos) const
{
    while (pos > 0 && IsBlank(m_text[pos - 1]))
        --pos;
    if (pos > 0) {
        const bool word = IsWordChar(m_text[pos - 1]);
        while (pos > 0 && !IsBlank(m_text[pos - 1]) && IsWordChar(m_text[pos - 1]) == word)
            --pos;
    }
    return Boundary(pos);
}

std::pair<std::size_t, std::size_t> EditModel::WordAt(std::size_t pos) const
{
    pos = Boundary(pos);
    if (pos == m_text.size() && pos > 0)
        pos = PrevChar(pos);
    if (pos >= m_text.size())
        return {pos, pos};
    const auto kind = [this](std::size_t i) { return IsBlank(m_text[i]) ? 0 : IsWordChar(m_text[i]) ? 1 : 2; };
    const int wanted = kind(pos);
    std::size_t start = pos;
    while (start > 0 && kind(start - 1) == wanted && m_text[start - 1] != '\n')
        --start;
    std::size_t end = pos;
    while (end < m_text.size() && kind(end) == wanted && m_text[end] != '\r' && m_text[end] != '\n')
        ++end;
    return {Boundary(start), Boundary(end == pos ? NextChar(pos) : end)};
}

int EditModel::StyleAt(std::size_t pos) const
{
    std::size_t start = 0;
    for (const Run& run : m_runs) {
        if (pos < start + run.length)
            return run.style;
        start += run.length;
    }
    return m_runs.empty() ? 0 : m_runs.back().style;
}

void EditModel::SplitAt(std::size_t pos)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i < m_runs.size(); ++i) {
        const Run run = m_runs[i];
        if (pos > start && pos < start + run.length) {
            m_runs[i].length = pos - start;
            m_runs.insert(m_runs.begin() + static_cast<std::ptrdiff_t>(i) + 1, Run{start + run.length - pos, run.style});
            return;
        }
        start += run.length;
    }
}

void EditModel::Merge()
{
    std::vector<Run> merged;
    for (const Run& run : m_runs) {
        if (run.length == 0)
            continue;
        if (!merged.empty() && merged.back().style == run.style)
            merged.back().length += run.length;
        else
            merged.push_back(run);
    }
    m_runs = std::move(merged);
}

void EditModel::EraseRuns(std::size_t pos, std::size_t count)
{
    if (count == 0)
        return;
    SplitAt(pos);
    SplitAt(pos + count);
    std::size_t start = 0;
    for (Run& run : m_runs) {
        if (start >= pos && start < pos + count) {
            start += run.length;
            run.length = 0;
        } else {
            start += run.length;
        }
    }
    Merge();
}

void EditModel::InsertRun(std::size_t pos, std::size_t count, int style)
{
    if (count == 0)
        return;
    SplitAt(pos);
    std::size_t start = 0;
    auto it = m_runs.begin();
    while (it != m_runs.end() && start < pos) {
        start += it->length;
        ++it;
    }
    m_runs.insert(it, Run{count, style});
    Merge();
}
