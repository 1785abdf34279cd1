#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The text of an edit control with its selection and one level of undo. Positions are byte
// offsets into UTF-8 text, always on a character boundary. Each byte carries a style number
// (0 for plain text) kept as runs, so a rich edit colours its text through the same model.
class EditModel {
public:
    struct Run {
        std::size_t length;
        int style;
    };

    [[nodiscard]] const std::string& Text() const { return m_text; }
    [[nodiscard]] std::size_t Length() const { return m_text.size(); }
    // Replaces everything: the caret goes to the start, the undo step is forgotten.
    void SetText(std::string_view text, int style = 0);

    [[nodiscard]] std::size_t Anchor() const { return m_anchor; }
    [[nodiscard]] std::size_t Caret() const { return m_caret; }
    [[nodiscard]] std::size_t SelStart() const { return std::min(m_anchor, m_caret); }
    [[nodiscard]] std::size_t SelEnd() const { return std::max(m_anchor, m_caret); }
    [[nodiscard]] bool HasSelection() const { return m_anchor != m_caret; }
    [[nodiscard]] std::string SelectedText() const { return m_text.substr(SelStart(), SelEnd() - SelStart()); }
    // Both ends are clamped to the text and moved back to a character boundary.
    void Select(std::size_t anchor, std::size_t caret);

    // Replaces the selection; the caret ends after the new text. With `undoable` the state before
    // is kept for Undo (typing that continues right after the previous insertion extends it).
    void ReplaceSelection(std::string_view text, int style, bool undoable);
    [[nodiscard]] bool CanUndo() const { return m_undo.has_value(); }
    // Swaps the text with the kept state, so a second Undo redoes.
    bool Undo();
    void EmptyUndo();

    [[nodiscard]] std::size_t NextChar(std::size_t pos) const;
    [[nodiscard]] std::size_t PrevChar(std::size_t pos) const;
    [[nodiscard]] std::size_t Boundary(std::size_t pos) const;
    // Word movement as Ctrl+arrows: to the start of the next / this or previous word.
    [[nodiscard]] std::size_t NextWord(std::size_t pos) const;
    [[nodiscard]] std::size_t PrevWord(std::size_t pos) const;
    // The word (or run of blanks) around a position, for a double click.
    [[nodiscard]] std::pair<std::size_t, std::size_t> WordAt(std::size_t pos) const;

    [[nodiscard]] const std::vector<Run>& Runs() const { return m_runs; }
    [[nodiscard]] int StyleAt(std::size_t pos) const;
    // Gives [from, to) one style; `change` maps each old style number to the new one.
    template <class F>
    void Restyle(std::size_t from, std::size_t to, F change)
    {
        SplitAt(from);
        SplitAt(to);
        std::size_t pos = 0;
        for (Run& run : m_runs) {
            if (pos >= from && pos < to)
                run.style = change(run.style);
            pos += run.length;
        }
        Merge();
    }

private:
    struct State {
        std::string text;
        std::vector<Run> runs;
        std::size_t anchor;
        std::size_t caret;
    };

    void SplitAt(std::size_t pos);
    void Merge();
    void EraseRuns(std::size_t pos, std::size_t count);
    void InsertRun(std::size_t pos, std::size_t count, int style);

    std::string m_text;
    std::vector<Run> m_runs;
    std::size_t m_anchor = 0;
    std::size_t m_caret = 0;
    std::optional<State> m_undo;
    bool m_typing = false;
    std::size_t m_typingEnd = 0;
};
