// Contents search, page jump and entry targets of a book volume.
#include "search/BookSearch.h"

#include <QComboBox>
#include <QLineEdit>

#include "app/MainWindowInterface.h"
#include "app/VolumeRegistry.h"
#include "nav/Navigation.h"
#include "platform/Platform.h"
#include "search/PageNumber.h"
#include "search/SearchMachinery.h"
#include "search/SearchMessages.h"
#include "search/SearchStatements.h"
#include "store/DataSource.h"
#include "store/Query.h"
#include "store/Table.h"
#include "text/Cp932.h"
#include "text/QtText.h"

void BookSearch(MainWindowInterface& main, int b)
{
    VolumeRegistry& r = main.registry();
    if (!r.files.bookPresent(b))
        return;
    BookVolumeEntry& e = r.book[static_cast<std::size_t>(b)];
    const store::BookVolumeTables& t = r.tables.book[static_cast<std::size_t>(b)];
    if (e.EditKey1->text().isEmpty() && e.EditKey2->text().isEmpty()) {
        main.platformOfWindow().showMessage(text::cp932(searchmessages::kNoKeyword));
        return;
    }
    NormaliseKeywordEdit(e.EditKey1);
    NormaliseKeywordEdit(e.EditKey2);
    StartSearchTimer(main);
    store::Query& q = TakeBookQuery(main, b);
    r.SqlClauseList = search::BuildBookStatement(b, r.files.BookFileNames[2][static_cast<std::size_t>(b)],
                                                 text::fromQString(e.EditKey1->text()),
                                                 text::fromQString(e.EditKey2->text()), SelectedRangeText(e.ComboBox));
    if (!OpenSearchQuery(main, q)) {
        ReportNothingFound(main, searchmessages::kNoContentsEntry);
        return;
    }
    RecordHistory(main);
    e.HighlightWord1 = text::fromQString(e.EditKey1->text());
    e.HighlightWord2 = text::fromQString(e.EditKey2->text());
    t.mainTable->SetFiltered(false);
    t.mainTable->SetFilter(std::string());
    q.Refresh();
    t.mainSource->setDataSet(&q);
    main.FitBookListColumns(b);
    if (!t.subTable->Active())
        t.subTable->Open();
    StopSearchTimer(main);
}

void PageJump(MainWindowInterface& main, int b)
{
    VolumeRegistry& r = main.registry();
    if (!r.files.bookPresent(b))
        return;
    BookVolumeEntry& e = r.book[static_cast<std::size_t>(b)];
    const store::BookVolumeTables& t = r.tables.book[static_cast<std::size_t>(b)];
    if (e.EditPage->text().isEmpty()) {
        main.platformOfWindow().showMessage(text::cp932(searchmessages::kNoPageNumber));
        return;
    }
    // A text the key filter let through that is no number (".", "1.2.3") names no page: it is
    // answered like a page without entries, and nothing moves.
    const bool found = search::JumpToBookPage(b, text::fromQString(e.EditPage->text()), SelectedRangeText(e.ComboBox),
                                              *t.mainTable, *t.mainSource, [&main, b] { main.FitBookListColumns(b); });
    if (!found)
        main.platformOfWindow().showMessage(text::cp932(searchmessages::kNoContentsEntry));
}

void OpenBookEntryTarget(MainWindowInterface& main, int b)
{
    VolumeRegistry& r = main.registry();
    if (!r.files.bookPresent(b))
        return;
    const store::BookVolumeTables& t = r.tables.book[static_cast<std::size_t>(b)];
    store::DataSet* shown = t.mainSource->dataSet();
    const std::int64_t key =
        shown && shown->Active() && !shown->IsEmpty() ? shown->IntegerField("BookSeq") : std::int64_t{0};

    if (t.jumpTable->Active() && t.jumpTable->Locate("BookSeq", {store::Value(key)})) {
        const std::int64_t gyo = t.jumpTable->IntegerField("Gyo");
        const std::int64_t zeimoku = t.jumpTable->IntegerField("Zeimoku");
        // A volume index outside the law volumes names an absent volume.
        if (zeimoku < 0 || zeimoku >= store::kLawVolumeCount || !r.files.lawPresent(static_cast<int>(zeimoku)))
            return;
        const int v = static_cast<int>(zeimoku);
        RecordHistory(main);
        main.SetActivePage(r.law[static_cast<std::size_t>(v)].TabSheet);
        ClearLawConditions(main, v);
        ShowWholeLawVolume(main, v);
        store::Table* lawMain = r.tables.law[static_cast<std::size_t>(v)].mainTable;
        if (!lawMain->Active() || !lawMain->Locate("Gyo", {store::Value(gyo)}))
            main.platformOfWindow().showMessage(text::cp932(searchmessages::kNoArticle));
        return;
    }
    if (t.urlTable->Active() && t.urlTable->Locate("BookSeq", {store::Value(key)}))
        main.platformOfWindow().shellOpen(t.urlTable->TextField("Url"));
}
