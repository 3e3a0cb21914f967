// The display path from a sub table's move to the outline and the text view, and the outline
// click that moves the list.
#include "display/ArticleDisplay.h"

#include <QComboBox>
#include <optional>

#include "app/MainWindowInterface.h"
#include "app/VolumeRegistry.h"
#include "display/DataGrid.h"
#include "display/OutlineTree.h"
#include "display/ScopedFlag.h"
#include "display/RichTextView.h"
#include "nav/Navigation.h"
#include "store/DataSet.h"
#include "store/DataSource.h"
#include "store/Table.h"

namespace display {

int outlineTopNode(int id, const std::function<int(int position)>& levelAt)
{
    int i = id;
    int level = levelAt(id);
    int counted = 0;
    while (i != 0 && counted < kOutlineNodesAbove && levelAt(i) > 0) {
        --i;
        const int l = levelAt(i);
        if (l == level) {
            ++counted;
        } else if (l < level) {
            ++counted;
            level = l;
        }
    }
    return i;
}

}  // namespace display

namespace {

// The Gyo of the row a data set stands on; none when it shows no row.
std::optional<std::int64_t> currentGyo(const store::DataSet* dataSet)
{
    if (!dataSet || !dataSet->Active() || dataSet->IsEmpty())
        return std::nullopt;
    return dataSet->IntegerField("Gyo");
}

}  // namespace

void DisplayArticle(VolumeRegistry& registry, int v)
{
    if (!registry.files.lawPresent(v))
        return;
    if (registry.LinkToMemoMode == 0 && registry.law[VolumeSlot(v)].TreeSyncBusy == 0)
        SyncOutlineToArticle(registry, v);
    if (registry.RenderSuspended == 0)
        RenderArticle(registry, v);
}

void RenderArticle(VolumeRegistry& registry, int v)
{
    if (!registry.files.lawPresent(v))
        return;
    LawVolumeEntry& entry = registry.law[VolumeSlot(v)];
    const store::LawVolumeTables& tables = registry.tables.law[VolumeSlot(v)];
    store::Table* subTable = tables.subTable;
    if (!subTable || !subTable->Active())
        return;
    const bool toMemo = registry.LinkToMemoMode != 0;
    if (!toMemo && !entry.RichEdit)
        return;

    display::ArticleRenderInput input;
    if (!subTable->IsEmpty()) {
        input.honbun = subTable->TextField("Honbun");
        input.kubunNo = static_cast<int>(subTable->IntegerField("KubunNo"));
    }
    // In display mode the list's row names the article; a followed link has only the sub table.
    std::optional<std::int64_t> gyo = toMemo ? currentGyo(subTable) : currentGyo(tables.mainSource->dataSet());
    if (!gyo)
        gyo = currentGyo(subTable);
    if (gyo && tables.linkTable)
        input.links = display::linkRowsOfArticle(*tables.linkTable, *gyo);
    if (!toMemo) {
        input.highlightWord1 = entry.HighlightWord1;
        input.highlightWord2 = entry.HighlightWord2;
    }
    std::string document = display::RenderArticle(input);
    if (toMemo) {
        registry.MemoRtf = std::move(document);
        return;
    }
    // A document the reader refuses is shown as plain text by the view itself.
    entry.RichEdit->loadRtf(document);
    entry.ArticleRtf = std::move(document);
}

void SyncOutlineToArticle(VolumeRegistry& registry, int v)
{
    if (!registry.files.lawPresent(v))
        return;
    LawVolumeEntry& entry = registry.law[VolumeSlot(v)];
    const store::LawVolumeTables& tables = registry.tables.law[VolumeSlot(v)];
    store::Table* treeTable = tables.treeTable;
    OutlineTree* tree = entry.TreeView;
    const std::optional<std::int64_t> gyo = currentGyo(tables.subTable);
    if (!tree || !treeTable || !treeTable->Active() || !gyo)
        return;
    if (!treeTable->Locate("Gyo", {store::Value(*gyo)}))
        return;

    ScopedFlag busy(entry.TreeSyncBusy);
    const std::int64_t treeId = treeTable->IntegerField("TreeID");
    // At start-up the first article renders before the outline file is loaded; a position the
    // outline does not have leaves the selection as it is.
    if (treeId < 0 || treeId >= tree->nodeCount())
        return;
    const int id = static_cast<int>(treeId);
    if (tree->selectedPosition() == id)
        return;
    // The node's ancestors open, and the chosen node above it comes to the top of the view.
    const int top = display::outlineTopNode(id, [tree](int position) { return tree->levelAt(position); });
    tree->selectPositionShowingFrom(id, top);
}

void OpenArticleFromOutline(MainWindowInterface& main, int v)
{
    VolumeRegistry& registry = main.registry();
    if (!registry.files.lawPresent(v))
        return;
    LawVolumeEntry& entry = registry.law[VolumeSlot(v)];
    const store::LawVolumeTables& tables = registry.tables.law[VolumeSlot(v)];
    store::Table* treeTable = tables.treeTable;
    store::Table* mainTable = tables.mainTable;
    if (!treeTable || !treeTable->Active() || !mainTable || !mainTable->Active())
        return;

    const int position = entry.TreeView->selectedPosition();
    if (position < 0)
        return;
    // A heading without an article of its own opens the article of the node after it.
    if (!treeTable->Locate("TreeID", {store::Value(position)}) && !treeTable->Locate("TreeID", {store::Value(position + 1)}))
        return;
    const std::int64_t gyo = treeTable->IntegerField("Gyo");
    if (currentGyo(tables.mainSource->dataSet()) == gyo)
        return;

    RecordHistoryForOutlineClick(main, v);

    ScopedFlag busy(entry.TreeSyncBusy);
    int moved = 0;
    // The sub table follows once, when the notifications resume, and renders the article; the
    // outline stays as the user clicked it.
    mainTable->DisableControls();
    try {
        mainTable->SetFiltered(false);
        mainTable->SetFilter(std::string());
        tables.mainSource->setDataSet(mainTable);
        main.FitLawListColumns(v);
        // From code, so the range list's change handler does not run.
        entry.ComboBox->setCurrentIndex(0);

        mainTable->Locate("Gyo", {store::Value(gyo)});
        while (moved < display::kListRowsBelow) {
            mainTable->Next();
            if (mainTable->Eof())
                break;
            ++moved;
        }
        for (int i = 0; i < moved; ++i)
            mainTable->Prior();
    } catch (...) {
        mainTable->EnableControls();
        throw;
    }
    mainTable->EnableControls();
    // The grid has followed the current row; the rows after it come into view as well.
    if (DataGrid* grid = entry.DBGrid; grid && grid->dataModel()) {
        const int row = mainTable->RecNo();
        if (row >= 0) {
            grid->scrollTo(grid->dataModel()->index(row + moved, 0));
            grid->scrollTo(grid->dataModel()->index(row, 0));
        }
    }
}
