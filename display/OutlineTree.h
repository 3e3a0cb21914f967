// A law volume's outline tree, loaded from its outline file: one node per line, the number of
// leading tabs or blanks giving the depth. Nodes are addressed by their 0-based position in file
// order, which is what the tree table stores as TreeID.
#pragma once

#include <QTreeWidget>
#include <filesystem>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "store/VolumeWriter.h"

// The nodes of an outline file's bytes (code page 932): CR LF, a lone LF or a lone CR end a line,
// and an empty line holds no node. Empty when a node is deeper than one below the node before it
// (or the first node is not at the top): such a file is not an outline.
std::optional<std::vector<store::OutlineNode>> ParseOutline(std::string_view fileBytes);

class OutlineTree : public QTreeWidget {
    Q_OBJECT

public:
    explicit OutlineTree(QWidget* parent = nullptr);

    // Replaces the nodes with those of the file; a missing, unreadable or malformed file leaves
    // the tree empty. Returns why a file that is there could not be read (Japanese, naming the
    // file), empty when it was read or is missing or malformed.
    std::string loadOutlineFile(const std::filesystem::path& file);
    void setNodes(const std::vector<store::OutlineNode>& nodes);

    int nodeCount() const { return static_cast<int>(m_nodes.size()); }
    // The node at a file-order position, nullptr outside the tree.
    QTreeWidgetItem* nodeAt(int position) const;
    // The file-order position of a node, -1 for none.
    int positionOf(const QTreeWidgetItem* item) const;
    // The depth of the node at position (0 for the top level), -1 outside the tree.
    int levelAt(int position) const;
    // The selected node's position, -1 when none is selected.
    int selectedPosition() const;
    void selectPosition(int position);
    // Selects the node at position with its ancestors opened, and scrolls once so that the node
    // at topPosition is the first one shown: one move of the view per article.
    void selectPositionShowingFrom(int position, int topPosition);
    // Collapses every top-level node together with all its descendants.
    void collapseEverything();

signals:
    // The user clicked a node (not a change made from code).
    void nodeClicked();

private:
    // A node's children become items when the node is first opened or one of them is asked for:
    // a large outline then starts with its top level only.
    QTreeWidgetItem* makeItem(int position) const;
    void addChildrenOf(int position) const;

    std::vector<store::OutlineNode> m_outline;        // in file order
    std::vector<int> m_parent;                        // position of each node's parent, -1 at the top
    std::vector<int> m_end;                           // the position after each node's last descendant
    mutable std::vector<QTreeWidgetItem*> m_nodes;    // the node's item, nullptr until made
    mutable std::unordered_map<const QTreeWidgetItem*, int> m_positions;
};
