#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class TColumnGx;
class TDBGridColumnsGx;

// The words of a title caption: its group captions in front of its own, separated by '|'. Runs
// of delimiters separate words and leading ones are skipped, so "A||B" has the words "A" and "B".
// No byte of a multi-byte UTF-8 character equals the delimiter, so the text is scanned by bytes.
constexpr char TitleLevelDelimiter = '|';
// The 1-based byte position where the n-th word starts; 0 when there is no n-th word.
[[nodiscard]] int NthWordStart(int n, std::string_view text);
// The n-th word; empty when there is none.
[[nodiscard]] std::string NthWord(int n, std::string_view text);
// The n-th word and its 1-based start (0 when there is none).
[[nodiscard]] std::pair<std::string, int> NthWordWithPos(int n, std::string_view text);

// One cell of the multi-line title: a column's own title (a leaf) or a group caption spanning
// the columns below it. Children are kept in column order and form a ring through NextSibling;
// each node owns its children, so freeing a node frees its subtree.
class THeadTreeNode {
public:
    static constexpr char RootText[] = "Root";
    static constexpr int RootHeight = 10;
    // A group's placeholder height; the grid's layout sets the real heights of the levels.
    static constexpr int GroupHeight = 20;
    static constexpr int SortMarkerIndentWidth = 16;

    THeadTreeNode() = default;
    THeadTreeNode(std::string text, int width, int height);
    THeadTreeNode(const THeadTreeNode&) = delete;
    THeadTreeNode& operator=(const THeadTreeNode&) = delete;
    ~THeadTreeNode();

    // The grid's root: "Root", width 0, height 10.
    [[nodiscard]] static std::unique_ptr<THeadTreeNode> CreateRoot();

    [[nodiscard]] const std::string& Text() const { return m_text; }
    void SetText(std::string text) { m_text = std::move(text); }
    [[nodiscard]] int Height() const { return m_height; }
    void SetHeight(int height) { m_height = height; }
    [[nodiscard]] int Width() const { return m_width; }
    void SetWidth(int width) { m_width = width; }
    // The column of a leaf; null for group nodes and the root.
    [[nodiscard]] TColumnGx* Column() const { return m_column; }
    void SetColumn(TColumnGx* column) { m_column = column; }
    // 16 when the leaf's column shows a sort marker, else 0.
    [[nodiscard]] int SortMarkerIndent() const { return m_sortMarkerIndent; }
    void SetSortMarkerIndent(int indent) { m_sortMarkerIndent = indent; }
    // 1 when the grid draws column lines, else 0.
    [[nodiscard]] int LineWidth() const { return m_lineWidth; }
    void SetLineWidth(int width) { m_lineWidth = width; }

    // Null for a leaf.
    [[nodiscard]] THeadTreeNode* FirstChild() const;
    // The next node of the parent's ring (after the last child its first one); a node without a
    // parent is its own next sibling.
    [[nodiscard]] THeadTreeNode* NextSibling() const;
    [[nodiscard]] THeadTreeNode* Parent() const { return m_parent; }
    // Parent steps up to the root: 0 for the root, 1 for a top-level title.
    [[nodiscard]] int Depth() const;
    // Whether `node` is in this node's ring of siblings or below any of them.
    [[nodiscard]] bool Contains(const THeadTreeNode* node) const;

    // Called on the root. A new node right after `after`, under the same parent. Raises
    // Exception "Node not in Tree" when `after` is not in the tree or is the root itself.
    THeadTreeNode* AddAfter(THeadTreeNode* after, std::string text, int width, int height);
    // Called on the root. A new last child of `node`. Raises "Node not in Tree" as AddAfter.
    THeadTreeNode* AppendChild(THeadTreeNode* node, std::string text, int width, int height);
    // Called on the root. Puts the siblings from `from` to `to` under a new group node captioned
    // `text` that takes their place; each loses `height` of its own height, and the group spans
    // their widths and the lines between them. Raises "Node not in Tree" when `from` is not in
    // the tree, Exception "ATo not in level" when `to` does not follow `from` in its level.
    THeadTreeNode* Group(THeadTreeNode* from, THeadTreeNode* to, int height, std::string text);
    void FreeChildren();

    // Called on the root. Rebuilds the tree from the columns, in collection order: one leaf per
    // column (titleHeight high; a hidden column is -1 wide with column lines, 0 without), then
    // runs of neighbouring leaves under the same parent whose captions begin with the same group
    // word are grouped under that word until no caption has a group word left. Answers the leaf
    // of each column, in column order. The columns' captions themselves are left as they are.
    std::vector<THeadTreeNode*> BuildFromColumns(const TDBGridColumnsGx& columns, int titleHeight, bool columnLines);

private:
    [[nodiscard]] std::size_t IndexInParent() const;
    THeadTreeNode* Insert(THeadTreeNode& parent, std::size_t index, std::unique_ptr<THeadTreeNode> node);
    void RequireInTree(const THeadTreeNode* node) const;
    // Groups the run of leaves that starts at `first` under its first word; answers whether it
    // made a group.
    bool GroupRunAt(std::vector<THeadTreeNode*>& leaves, std::size_t first);

    std::string m_text;
    int m_height = 0;
    int m_width = 0;
    THeadTreeNode* m_parent = nullptr;
    std::vector<std::unique_ptr<THeadTreeNode>> m_children;
    TColumnGx* m_column = nullptr;
    int m_sortMarkerIndent = 0;
    int m_lineWidth = 0;
};
