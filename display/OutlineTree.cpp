// Outline files and the tree that shows them.
#include "display/OutlineTree.h"

#include <QHeaderView>

#include "store/SideFile.h"

#include "text/QtText.h"

std::optional<std::vector<store::OutlineNode>> ParseOutline(std::string_view bytes)
{
    std::vector<store::OutlineNode> nodes;
    std::size_t pos = 0;
    int previousDepth = -1;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find_first_of("\r\n", pos);
        if (end == std::string_view::npos)
            end = bytes.size();
        std::string_view line = bytes.substr(pos, end - pos);
        pos = end;
        if (pos < bytes.size() && bytes[pos] == '\r')
            ++pos;
        if (pos < bytes.size() && bytes[pos] == '\n')
            ++pos;
        if (line.empty())
            continue;
        std::size_t depth = line.find_first_not_of(" \t");
        if (depth == std::string_view::npos)
            depth = line.size();
        if (static_cast<int>(depth) > previousDepth + 1)
            return std::nullopt;
        previousDepth = static_cast<int>(depth);
        nodes.push_back({static_cast<int>(depth), std::string(line.substr(depth))});
    }
    return nodes;
}

OutlineTree::OutlineTree(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setIndentation(16);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    // The selection stays as visible as when the tree has the focus.
    QPalette p = palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::HighlightedText));
    setPalette(p);
    // Selecting a node opens its children. A node without children is left alone: the view
    // counts a leaf as opened all the same and repaints itself whole for it, on every article.
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current, QTreeWidgetItem*) {
        const int position = positionOf(current);
        if (position >= 0 && m_end[static_cast<std::size_t>(position)] > position + 1)
            current->setExpanded(true);
    });
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) {
        if (const int position = positionOf(item); position >= 0)
            addChildrenOf(position);
    });
    connect(this, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem*, int) { emit nodeClicked(); });
}

std::string OutlineTree::loadOutlineFile(const std::filesystem::path& file)
{
    // The outlines of the largest volumes are a few hundred kilobytes.
    constexpr std::size_t kLargestOutline = 64u << 20;
    const store::SideFileRead read = store::ReadSideFile(file, kLargestOutline, true);
    std::optional<std::vector<store::OutlineNode>> nodes;
    if (read.bytes)
        nodes = ParseOutline(*read.bytes);
    setNodes(nodes ? *nodes : std::vector<store::OutlineNode>{});
    return read.problem.empty() ? std::string() : "アウトライン " + read.problem;
}

void OutlineTree::setNodes(const std::vector<store::OutlineNode>& nodes)
{
    clear();
    m_outline = nodes;
    m_nodes.assign(nodes.size(), nullptr);
    m_positions.clear();
    m_parent.assign(nodes.size(), -1);
    m_end.assign(nodes.size(), static_cast<int>(nodes.size()));
    std::vector<int> open;  // the latest node of each depth
    for (int i = 0; i < static_cast<int>(nodes.size()); ++i) {
        const auto depth = static_cast<std::size_t>(nodes[static_cast<std::size_t>(i)].depth);
        for (std::size_t d = depth; d < open.size(); ++d)
            m_end[static_cast<std::size_t>(open[d])] = i;
        open.resize(depth);
        m_parent[static_cast<std::size_t>(i)] = open.empty() ? -1 : open.back();
        open.push_back(i);
    }
    // Handed to the tree at once: a node added to a shown tree costs a model notification each.
    QList<QTreeWidgetItem*> topLevel;
    for (int i = 0; i < static_cast<int>(nodes.size()); i = m_end[static_cast<std::size_t>(i)])
        topLevel.append(makeItem(i));
    addTopLevelItems(topLevel);
}

QTreeWidgetItem* OutlineTree::makeItem(int position) const
{
    const auto p = static_cast<std::size_t>(position);
    auto* item = new QTreeWidgetItem(QStringList{text::toQString(m_outline[p].caption)});
    if (m_end[p] > position + 1)
        item->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
    m_nodes[p] = item;
    m_positions.emplace(item, position);
    return item;
}

void OutlineTree::addChildrenOf(int position) const
{
    const auto p = static_cast<std::size_t>(position);
    if (m_end[p] == position + 1 || m_nodes[p + 1])
        return;
    QList<QTreeWidgetItem*> children;
    for (int c = position + 1; c < m_end[p]; c = m_end[static_cast<std::size_t>(c)])
        children.append(makeItem(c));
    m_nodes[p]->addChildren(children);
}

QTreeWidgetItem* OutlineTree::nodeAt(int position) const
{
    if (position < 0 || position >= nodeCount())
        return nullptr;
    const auto p = static_cast<std::size_t>(position);
    if (!m_nodes[p]) {
        const int parent = m_parent[p];
        nodeAt(parent);
        addChildrenOf(parent);
    }
    return m_nodes[p];
}

int OutlineTree::positionOf(const QTreeWidgetItem* item) const
{
    auto it = m_positions.find(item);
    return it == m_positions.end() ? -1 : it->second;
}

int OutlineTree::levelAt(int position) const
{
    return position < 0 || position >= nodeCount() ? -1 : m_outline[static_cast<std::size_t>(position)].depth;
}

int OutlineTree::selectedPosition() const
{
    return positionOf(currentItem());
}

void OutlineTree::selectPosition(int position)
{
    if (QTreeWidgetItem* item = nodeAt(position))
        setCurrentItem(item);
}

void OutlineTree::selectPositionShowingFrom(int position, int topPosition)
{
    QTreeWidgetItem* item = nodeAt(position);
    if (!item)
        return;
    for (QTreeWidgetItem* parent = item->parent(); parent; parent = parent->parent())
        if (!parent->isExpanded())
            parent->setExpanded(true);
    // Selecting would scroll to the node by itself; the one scroll below shows it as well.
    const bool autoScrolling = hasAutoScroll();
    setAutoScroll(false);
    setCurrentItem(item);
    setAutoScroll(autoScrolling);
    if (QTreeWidgetItem* top = nodeAt(topPosition))
        scrollToItem(top, QAbstractItemView::PositionAtTop);
}

void OutlineTree::collapseEverything()
{
    for (QTreeWidgetItem* item : m_nodes)
        if (item)
            item->setExpanded(false);
}
