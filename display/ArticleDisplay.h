// The article display of a law volume: what its sub table's after-scroll calls whenever the
// sub table moves to another article (the outline follows, the text is rendered), and what an
// outline click does (the list goes to the node's article).
#pragma once

#include <functional>
#include <vector>

#include "display/ArticleRenderer.h"
#include "display/ArticleSource.h"

struct VolumeRegistry;
class MainWindowInterface;

namespace store {
class DataSet;
}

namespace display {

// The node the outline scrolls to the top when node id is selected: walking up from id, up to
// eight nodes of id's level or shallower are counted (a shallower node lowers the level
// counted from then on; deeper nodes are passed), and the walk stops at a top-level node or at
// node 0. levelAt gives a node's depth, 0 for the top level.
int outlineTopNode(int id, const std::function<int(int position)>& levelAt);

// How many rows the outline keeps above the selected node at most.
inline constexpr int kOutlineNodesAbove = 8;
// How many rows the list tries to show below an article opened from the outline.
inline constexpr int kListRowsBelow = 6;

}  // namespace display

// The sub table of law volume v moved: the outline follows (unless a link is being followed
// into a memo window or the outline itself is moving the list), then the article is rendered
// (unless rendering is suspended while a sub table is detached or re-attached).
void DisplayArticle(VolumeRegistry& registry, int v);

// Renders the sub table's current article of law volume v. In display mode the document goes to
// v's text view and is kept as v's ArticleRtf, with v's highlight words; in link-to-memo mode it
// goes to MemoRtf without highlight words, and the view is left alone. Moves the link table.
void RenderArticle(VolumeRegistry& registry, int v);

// Selects the outline node of the sub table's current article and scrolls the outline so that
// up to eight nodes of its level or shallower stand above it. An article without a tree-table
// row, or with a position the loaded outline does not have, leaves the selection as it is.
void SyncOutlineToArticle(VolumeRegistry& registry, int v);

// An outline click: the node's article (or the next node's, for a heading without an article
// of its own) becomes the list's current row, in the whole main table: a search result shown
// before is dropped, the range list goes back to its first item, the highlight words stay.
void OpenArticleFromOutline(MainWindowInterface& main, int v);
