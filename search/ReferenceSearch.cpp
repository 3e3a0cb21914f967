// The reference search over a law volume's reference index.
#include "search/ReferenceSearch.h"

#include <QLineEdit>
#include <QPointer>

#include "app/MainWindowInterface.h"
#include "app/VolumeRegistry.h"
#include "display/RichTextView.h"
#include "memo/TMemoWindow.h"
#include "nav/Navigation.h"
#include "platform/Platform.h"
#include "search/ReferenceScope.h"
#include "search/SearchMachinery.h"
#include "search/SearchMessages.h"
#include "search/SearchStatements.h"
#include "search/TSansyo.h"
#include "store/DataSource.h"
#include "store/Query.h"
#include "store/Table.h"
#include "text/Cp932.h"
#include "text/QtText.h"

namespace {

// The article number of the list's current row, read from the main table: a search result
// carries no Bangou of its own.
std::string bangouOfCurrentArticle(store::Table& mainTable, store::DataSet& shown)
{
    if (&shown == &mainTable)
        return mainTable.TextField("Bangou");
    mainTable.SetFiltered(false);
    mainTable.SetFilter(std::string());
    if (!mainTable.Locate("Gyo", {store::Value(shown.IntegerField("Gyo"))}))
        return {};
    return mainTable.TextField("Bangou");
}

}  // namespace

void ReferenceSearch(MainWindowInterface& main, int v)
{
    VolumeRegistry& r = main.registry();
    if (!r.files.lawPresent(v))
        return;
    const store::LawVolumeTables& t = r.tables.law[static_cast<std::size_t>(v)];
    store::DataSet* shown = t.mainSource->dataSet();
    const bool hasArticle = shown && shown->Active() && !shown->IsEmpty();

    r.Sansyo.ReferredCode = hasArticle ? static_cast<int>(shown->IntegerField("KubunNo")) : 0;
    r.Sansyo.SearchScope = r.Sansyo.CurrentArticleOption = r.Sansyo.MemoSizeOption = -1;
    {
        TSansyo dialog(main.platformOfWindow(), r.Sansyo, main.MainWidget());
        dialog.exec();
    }
    if (r.Sansyo.SearchScope == -1)
        return;

    store::Query& q = TakeLawQuery(main, v);
    if (!hasArticle) {
        main.platformOfWindow().showMessage(text::cp932(searchmessages::kSelectArticle));
        return;
    }
    StartSearchTimer(main);

    const std::int64_t gyo = shown->IntegerField("Gyo");
    const std::string bangou = bangouOfCurrentArticle(*t.mainTable, *shown);
    const std::string searchText = search::ReferenceSearchText(r.Sansyo.ReferredCode, bangou);
    const std::string phrase = search::ScopePhrase(r.Sansyo.SearchScope, v);

    if (!OpenReferringArticles(main, v, gyo, q))
        return;

    RecordHistory(main);
    // The memo window copies the article the list still shows: the one referred to, to be read
    // beside the articles that refer to it.
    QPointer<TMemoWindow> memo;
    if (r.Sansyo.CurrentArticleOption == 0) {
        r.LinkToMemoMode = 0;
        r.RenderSuspended = 0;
        memo = new TMemoWindow(main);
        r.LatestMemoWindow = memo;
        memo->show();
        if (r.Sansyo.MemoSizeOption == 0)
            memo->setWindowState(memo->windowState() | Qt::WindowMinimized);
    }
    ListReferringArticles(main, v, q, searchText, phrase);
    if (memo && r.Sansyo.MemoSizeOption == 1)
        memo->MemoRichEdit->setFocus();
    StopSearchTimer(main);
}

bool OpenReferringArticles(MainWindowInterface& main, int v, std::int64_t gyo, store::Query& q)
{
    VolumeRegistry& r = main.registry();
    r.SqlClauseList = search::BuildReferenceStatement(v, r.files.LawFileNames[3][static_cast<std::size_t>(v)], gyo,
                                                      r.Sansyo.SearchScope, r.Sansyo.ReferredCode);
    if (OpenSearchQuery(main, q))
        return true;
    ReportNothingFound(main, searchmessages::kNoReferringArticle);
    return false;
}

void ListReferringArticles(MainWindowInterface& main, int v, store::Query& q, const std::string& searchText, const std::string& phrase)
{
    VolumeRegistry& r = main.registry();
    LawVolumeEntry& e = r.law[static_cast<std::size_t>(v)];
    const store::LawVolumeTables& t = r.tables.law[static_cast<std::size_t>(v)];
    e.HighlightWord1 = searchText;
    e.HighlightWord2 = phrase;
    t.mainTable->SetFiltered(false);
    t.mainTable->SetFilter(std::string());
    q.Refresh();
    t.mainSource->setDataSet(&q);
    main.FitLawListColumns(v);
    ClearLawConditions(main, v);
    e.EditKey1->setText(text::toQString(searchText));
    e.EditKey2->setText(text::toQString(phrase));
}
