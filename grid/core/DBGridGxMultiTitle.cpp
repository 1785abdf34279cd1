#include "grid/core/DBGridGxMultiTitle.h"

#include "grid/core/DBGridGxColumnTitle.h"
#include "grid/core/DBGridGxColumns.h"
#include "platform/rtl/Exceptions.h"

namespace {

constexpr char NodeNotInTree[] = "Node not in Tree";
constexpr char ToNotInLevel[] = "ATo not in level";

// A leaf's caption without its first (group) word: from its own second word on, or nothing
// when the group word was all of it.
void CutGroupWord(THeadTreeNode& leaf)
{
    const int second = NthWordStart(2, leaf.Text());
    leaf.SetText(second > 0 ? leaf.Text().substr(static_cast<std::size_t>(second - 1)) : std::string());
}

} // namespace

int NthWordStart(int n, std::string_view text)
{
    int count = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i] == TitleLevelDelimiter)
            ++i;
        if (i == text.size())
            break;
        if (++count == n)
            return static_cast<int>(i) + 1;
        while (i < text.size() && text[i] != TitleLevelDelimiter)
            ++i;
    }
    return 0;
}

std::pair<std::string, int> NthWordWithPos(int n, std::string_view text)
{
    const int start = NthWordStart(n, text);
    if (start == 0)
        return {std::string(), 0};
    const std::string_view rest = text.substr(static_cast<std::size_t>(start - 1));
    return {std::string(rest.substr(0, rest.find(TitleLevelDelimiter))), start};
}

std::string NthWord(int n, std::string_view text) { return NthWordWithPos(n, text).first; }

THeadTreeNode::THeadTreeNode(std::string text, int width, int height)
    : m_text(std::move(text)), m_height(height), m_width(width)
{
}

THeadTreeNode::~THeadTreeNode() = default;

std::unique_ptr<THeadTreeNode> THeadTreeNode::CreateRoot()
{
    return std::make_unique<THeadTreeNode>(RootText, 0, RootHeight);
}

THeadTreeNode* THeadTreeNode::FirstChild() const { return m_children.empty() ? nullptr : m_children.front().get(); }

THeadTreeNode* THeadTreeNode::NextSibling() const
{
    if (!m_parent)
        return const_cast<THeadTreeNode*>(this);
    const auto& ring = m_parent->m_children;
    return ring[(IndexInParent() + 1) % ring.size()].get();
}

int THeadTreeNode::Depth() const
{
    int depth = 0;
    for (const THeadTreeNode* node = m_parent; node; node = node->m_parent)
        ++depth;
    return depth;
}

bool THeadTreeNode::Contains(const THeadTreeNode* node) const
{
    // `node` is below this ring when one of its ancestors (or itself) is in the ring.
    for (const THeadTreeNode* up = node; up; up = up->m_parent) {
        if (m_parent ? up->m_parent == m_parent : up == this)
            return true;
    }
    return false;
}

std::size_t THeadTreeNode::IndexInParent() const
{
    const auto& ring = m_parent->m_children;
    std::size_t index = 0;
    while (ring[index].get() != this)
        ++index;
    return index;
}

THeadTreeNode* THeadTreeNode::Insert(THeadTreeNode& parent, std::size_t index, std::unique_ptr<THeadTreeNode> node)
{
    node->m_parent = &parent;
    THeadTreeNode* inserted = node.get();
    parent.m_children.insert(parent.m_children.begin() + static_cast<std::ptrdiff_t>(index), std::move(node));
    return inserted;
}

void THeadTreeNode::RequireInTree(const THeadTreeNode* node) const
{
    if (!Contains(node))
        throw Exception(NodeNotInTree);
}

THeadTreeNode* THeadTreeNode::AddAfter(THeadTreeNode* after, std::string text, int width, int height)
{
    RequireInTree(after);
    // The root heads no level: nothing can stand beside it.
    if (!after->m_parent)
        throw Exception(NodeNotInTree);
    return Insert(*after->m_parent, after->IndexInParent() + 1,
                  std::make_unique<THeadTreeNode>(std::move(text), width, height));
}

THeadTreeNode* THeadTreeNode::AppendChild(THeadTreeNode* node, std::string text, int width, int height)
{
    RequireInTree(node);
    return Insert(*node, node->m_children.size(), std::make_unique<THeadTreeNode>(std::move(text), width, height));
}

THeadTreeNode* THeadTreeNode::Group(THeadTreeNode* from, THeadTreeNode* to, int height, std::string text)
{
    RequireInTree(from);
    if (!from->m_parent)
        throw Exception(NodeNotInTree);
    if (!to || to->m_parent != from->m_parent || to->IndexInParent() < from->IndexInParent())
        throw Exception(ToNotInLevel);

    THeadTreeNode& parent = *from->m_parent;
    const auto first = static_cast<std::ptrdiff_t>(from->IndexInParent());
    const auto last = static_cast<std::ptrdiff_t>(to->IndexInParent());
    auto group = std::make_unique<THeadTreeNode>(std::move(text), 0, height);
    group->m_parent = &parent;
    group->m_lineWidth = to->m_lineWidth;
    int width = 0;
    for (auto member = parent.m_children.begin() + first; member <= parent.m_children.begin() + last; ++member) {
        (*member)->m_height -= height;
        (*member)->m_parent = group.get();
        width += (*member)->m_width + group->m_lineWidth;
        group->m_children.push_back(std::move(*member));
    }
    // The lines between the grouped titles belong to the group, the one after the last does not.
    group->m_width = group->m_lineWidth > 0 ? width - group->m_lineWidth : width;
    parent.m_children.erase(parent.m_children.begin() + first + 1, parent.m_children.begin() + last + 1);
    parent.m_children[static_cast<std::size_t>(first)] = std::move(group);
    return parent.m_children[static_cast<std::size_t>(first)].get();
}

void THeadTreeNode::FreeChildren() { m_children.clear(); }

std::vector<THeadTreeNode*> THeadTreeNode::BuildFromColumns(const TDBGridColumnsGx& columns, int titleHeight,
                                                            bool columnLines)
{
    FreeChildren();
    std::vector<THeadTreeNode*> leaves;
    for (int i = 0; i < columns.Count(); ++i) {
        TColumnGx* column = columns[i];
        const int width = column->Visible() ? column->Width() : (columnLines ? -1 : 0);
        THeadTreeNode* leaf = AppendChild(this, column->Title()->Caption(), width, titleHeight);
        leaf->m_column = column;
        leaf->m_sortMarkerIndent = column->Title()->SortMarker() != smNoneGx ? SortMarkerIndentWidth : 0;
        leaf->m_lineWidth = columnLines ? 1 : 0;
        leaves.push_back(leaf);
    }
    // Every group takes one word off each caption it spans, so this ends.
    for (bool grouped = true; grouped;) {
        grouped = false;
        for (std::size_t i = 0; i < leaves.size() && !grouped; ++i)
            grouped = GroupRunAt(leaves, i);
    }
    return leaves;
}

bool THeadTreeNode::GroupRunAt(std::vector<THeadTreeNode*>& leaves, std::size_t first)
{
    THeadTreeNode& head = *leaves[first];
    if (NthWordStart(2, head.Text()) == 0)
        return false;
    const std::string word = NthWord(1, head.Text());
    // A run stays under one parent: a neighbour that already sits in another group keeps its
    // own group word for a band of its own.
    std::size_t last = first;
    while (last + 1 < leaves.size() && leaves[last + 1]->m_parent == head.m_parent &&
           NthWord(1, leaves[last + 1]->Text()) == word)
        ++last;
    for (std::size_t i = first; i <= last; ++i)
        CutGroupWord(*leaves[i]);
    Group(&head, leaves[last], GroupHeight, word);
    return true;
}
