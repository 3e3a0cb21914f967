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
    connect(this, &QTreeWidget::currentItemChanged, this, [](QTreeWidgetItem* current, QTreeWidgetItem*) {
        if (current && current->childCount() > 0)
            current->setExpanded(true);
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
    m_nodes.clear();
    m_positions.clear();
    m_nodes.reserve(nodes.size());
    m_positions.reserve(nodes.size());
    // The nodes are built apart from the tree and handed to it at once: a node added to a shown
    // tree costs a model notification each, which made loading grow steeply with the outline.
    QList<QTreeWidgetItem*> topLevel;
    std::vector<QTreeWidgetItem*> parents;  // the latest node of each depth
    for (const store::OutlineNode& n : nodes) {
        parents.resize(static_cast<std::size_t>(n.depth));
        auto* item = new QTreeWidgetItem(QStringList{text::toQString(n.caption)});
        if (parents.empty())
            topLevel.append(item);
        else
            parents.back()->addChild(item);
        parents.push_back(item);
        m_positions.emplace(item, static_cast<int>(m_nodes.size()));
        m_nodes.push_back(item);
    }
    addTopLevelItems(topLevel);
}

QTreeWidgetItem* OutlineTree::nodeAt(int position) const
{
    if (position < 0 || position >= nodeCount())
        return nullptr;
    return m_nodes[static_cast<std::size_t>(position)];
}

int OutlineTree::positionOf(const QTreeWidgetItem* item) const
{
    auto it = m_positions.find(item);
    return it == m_positions.end() ? -1 : it->second;
}

int OutlineTree::levelAt(int position) const
{
    int level = -1;
    for (const QTreeWidgetItem* n = nodeAt(position); n; n = n->parent())
        ++level;
    return level;
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
        item->setExpanded(false);
}
