// The outline tree of an outline file: a node's children become items only when the node is
// opened or one of them is asked for, and every position still reaches its node, its caption,
// its depth and its ancestors as the file has them.
#include <gtest/gtest.h>

#include <QTreeWidgetItem>

#include "TestApplication.h"
#include "display/OutlineTree.h"
#include "text/Cp932.h"

namespace {

// 第1編 … 第3編, each with chapters, each chapter with articles: 3 + 3×4 + 3×4×5 = 75 nodes.
std::string outlineFile()
{
    std::string bytes;
    for (int p = 1; p <= 3; ++p) {
        bytes += "編" + std::to_string(p) + "\r\n";
        for (int c = 1; c <= 4; ++c) {
            bytes += "\t章" + std::to_string(p) + "-" + std::to_string(c) + "\r\n";
            for (int a = 1; a <= 5; ++a)
                bytes += "\t\t条" + std::to_string(p) + "-" + std::to_string(c) + "-" + std::to_string(a) + "\r\n";
        }
    }
    return text::cp932(bytes);
}

QString captionPath(const QTreeWidgetItem* item)
{
    QString path;
    for (; item; item = item->parent())
        path = item->text(0) + (path.isEmpty() ? "" : "/") + path;
    return path;
}

class OutlineTreeNodes : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_display::ensureApplication(); }
    OutlineTree tree;
    void SetUp() override { tree.setNodes(*ParseOutline(outlineFile())); }
};

TEST_F(OutlineTreeNodes, everyPositionReachesItsNodeWithItsAncestors)
{
    ASSERT_EQ(tree.nodeCount(), 75);
    EXPECT_EQ(tree.topLevelItemCount(), 3);
    // The last article first, so that its whole path is made on the way.
    QTreeWidgetItem* last = tree.nodeAt(74);
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(captionPath(last), QStringLiteral("編3/章3-4/条3-4-5"));
    EXPECT_EQ(tree.levelAt(74), 2);
    for (int p = 0; p < tree.nodeCount(); ++p) {
        QTreeWidgetItem* item = tree.nodeAt(p);
        ASSERT_NE(item, nullptr) << p;
        EXPECT_EQ(tree.positionOf(item), p);
        EXPECT_EQ(tree.levelAt(p), item->parent() ? (item->parent()->parent() ? 2 : 1) : 0) << p;
    }
    EXPECT_EQ(captionPath(tree.nodeAt(27)), QStringLiteral("編2/章2-1/条2-1-1"));
    // Each chapter holds its five articles once, in file order, however it was reached.
    QTreeWidgetItem* chapter = tree.nodeAt(26);  // 章2-1
    ASSERT_EQ(chapter->childCount(), 5);
    EXPECT_EQ(chapter->child(4)->text(0), QStringLiteral("条2-1-5"));
    EXPECT_EQ(tree.nodeAt(-1), nullptr);
    EXPECT_EQ(tree.nodeAt(75), nullptr);
    EXPECT_EQ(tree.levelAt(75), -1);
}

TEST_F(OutlineTreeNodes, openingANodeShowsItsChildrenAndSelectingOneOpensItsAncestors)
{
    QTreeWidgetItem* part = tree.topLevelItem(1);
    EXPECT_EQ(part->text(0), QStringLiteral("編2"));
    part->setExpanded(true);  // as a click on its arrow does
    ASSERT_EQ(part->childCount(), 4);
    EXPECT_EQ(part->child(3)->text(0), QStringLiteral("章2-4"));

    // Selecting a chapter opens it; an article deep in another part is shown with its path open.
    tree.selectPosition(tree.positionOf(part->child(0)));
    EXPECT_TRUE(part->child(0)->isExpanded());
    EXPECT_EQ(part->child(0)->childCount(), 5);
    tree.selectPositionShowingFrom(71, 69);
    EXPECT_EQ(tree.selectedPosition(), 71);
    EXPECT_EQ(tree.currentItem()->text(0), QStringLiteral("条3-4-2"));
    EXPECT_TRUE(tree.nodeAt(50)->isExpanded());  // 編3
    EXPECT_TRUE(tree.nodeAt(69)->isExpanded());  // 章3-4
    EXPECT_FALSE(tree.nodeAt(71)->isExpanded());  // an article has nothing to open

    tree.collapseEverything();
    EXPECT_FALSE(tree.nodeAt(50)->isExpanded());
    EXPECT_FALSE(part->isExpanded());
}

}  // namespace
