// The law data module: for each of the six law volumes five table cursors and a data source,
// and the fifteen pool queries that every law search borrows.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "store/DataSource.h"
#include "store/Query.h"
#include "store/Table.h"
#include "store/Volumes.h"

namespace store {

class THoujin {
public:
    THoujin();
    // Tearing the module down must not reach the display: the windows may already be gone.
    ~THoujin() { onArticleScroll = nullptr; }

    struct LawComponents {
        // The source first, so that it outlives the tables that follow it.
        std::unique_ptr<DataSource> mainSource;
        std::unique_ptr<Table> mainTable, mainTable2, subTable, linkTable, treeTable;
    };
    std::array<LawComponents, kLawVolumeCount> volumes;  // HMainTable … MMainTable and the rest
    std::array<std::unique_ptr<Query>, kLawQueryPoolSize> JyobunSQL;

    // Called by each sub table's AfterScroll with its volume index (the display path).
    std::function<void(int volume)> onArticleScroll;
    // Shows an error raised while opening; start-up goes on with what was opened.
    std::function<void(const std::string& message)> onOpenError;

    // Registers the cursors of every present volume and the pool in the registry, names the
    // tables from LawFileNames and opens them: tree table, second main table, main table,
    // link table, and the sub table last, since opening it displays the first article, which
    // reads the other tables. The first open failure is reported and ends the step.
    // Before a volume's tables open, their delivery stamps must agree.
    void HoujinCreate(TableRegistry& registry, const VolumeFiles& files);

    // Opens one present volume's tables again from its files, whole: its main data source shows
    // the main table again, and the sub table opens last, showing the first article. Throws
    // TableError (the volume is left closed) when its files are of two deliveries or one fails.
    void ReopenLawVolume(const VolumeFiles& files, int v);
    // Closes one volume's tables: its list and text then show nothing.
    void CloseLawVolume(int v);

    void HMainTableAfterScroll(DataSet&) { articleScrolled(0); }
    void SSubTableAfterScroll(DataSet&) { articleScrolled(1); }
    void GSubTableAfterScroll(DataSet&) { articleScrolled(2); }
    void TSubTableAfterScroll(DataSet&) { articleScrolled(3); }
    void ZSubTableAfterScroll(DataSet&) { articleScrolled(4); }
    void MSubTableAfterScroll(DataSet&) { articleScrolled(5); }

private:
    void openLawVolume(const VolumeFiles& files, int v);
    void articleScrolled(int volume)
    {
        if (onArticleScroll)
            onArticleScroll(volume);
    }
};

// Points a pool query's three look-up fields at a law volume's main table.
void pointLawQueryLookups(Query& query, Table* mainTable);

}  // namespace store
