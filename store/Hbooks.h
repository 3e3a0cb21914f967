// The book data module: for each of the three book volumes five table cursors and a data
// source, and the ten pool queries of the book searches.
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

class THbooks {
public:
    THbooks();
    // Tearing the module down must not reach the display: the windows may already be gone.
    ~THbooks() { onEntryScroll = nullptr; }

    struct BookComponents {
        // The source first, so that it outlives the tables that follow it.
        std::unique_ptr<DataSource> mainSource;
        std::unique_ptr<Table> mainTable, subTable, nameTable, jumpTable, urlTable;
    };
    std::array<BookComponents, kBookVolumeCount> volumes;  // HbMainTable … TbMainTable and the rest
    std::array<std::unique_ptr<Query>, kBookQueryPoolSize> BooksSQL;

    std::function<void(int volume)> onEntryScroll;  // the entry display
    std::function<void(const std::string& message)> onOpenError;

    // Registers and opens the book tables: main table, name table, jump table, URL table, and
    // the sub table last, since opening it shows the first entry, which reads the name table.
    // Before a volume's tables open, their delivery stamps must agree.
    void HbooksCreate(TableRegistry& registry, const VolumeFiles& files);

    // As THoujin's: one present book volume opened again whole, showing its first entry; or
    // closed, showing nothing.
    void ReopenBookVolume(const VolumeFiles& files, int b);
    void CloseBookVolume(int b);

    void HbMainTableAfterScroll(DataSet&) { entryScrolled(0); }
    void SbSubTableAfterScroll(DataSet&) { entryScrolled(1); }
    void TbSubTableAfterScroll(DataSet&) { entryScrolled(2); }

private:
    void openBookVolume(const VolumeFiles& files, int b);
    void entryScrolled(int volume)
    {
        if (onEntryScroll)
            onEntryScroll(volume);
    }
};

// Points a book pool query's four look-up fields at a book volume's main table.
void pointBookQueryLookups(Query& query, Table* mainTable);

}  // namespace store
