// The keyword search over a law volume's sub table.
#include "search/KeywordSearch.h"

#include <QComboBox>
#include <QLineEdit>

#include "app/MainWindowInterface.h"
#include "app/VolumeRegistry.h"
#include "nav/Navigation.h"
#include "platform/Platform.h"
#include "search/SearchMachinery.h"
#include "search/SearchMessages.h"
#include "search/SearchStatements.h"
#include "store/DataSource.h"
#include "store/Query.h"
#include "store/Table.h"
#include "text/Cp932.h"
#include "text/QtText.h"

bool KeywordSearch(MainWindowInterface& main, int v)
{
    VolumeRegistry& r = main.registry();
    if (!r.files.lawPresent(v))
        return false;
    LawVolumeEntry& e = r.law[static_cast<std::size_t>(v)];
    const store::LawVolumeTables& t = r.tables.law[static_cast<std::size_t>(v)];
    if (e.EditKey1->text().isEmpty() && e.EditKey2->text().isEmpty()) {
        main.platformOfWindow().showMessage(text::cp932(searchmessages::kNoKeyword));
        return false;
    }
    StartSearchTimer(main);
    NormaliseKeywordEdit(e.EditKey1);
    NormaliseKeywordEdit(e.EditKey2);
    store::Query& q = TakeLawQuery(main, v);

    search::KeywordStatement statement = search::BuildKeywordStatement(
        v, r.files.LawFileNames[2][static_cast<std::size_t>(v)], text::fromQString(e.EditKey1->text()),
        text::fromQString(e.EditKey2->text()), SelectedRangeText(e.ComboBox));
    // The "＊" rule may have taken the first character off both keywords: the edits show what
    // is left, which is what gets coloured.
    e.EditKey1->setText(text::toQString(statement.keyword1));
    e.EditKey2->setText(text::toQString(statement.keyword2));
    r.SqlClauseList = std::move(statement.lines);

    if (!OpenSearchQuery(main, q)) {
        ReportNothingFound(main, searchmessages::kNoArticle);
        return false;
    }
    RecordHistory(main);
    e.HighlightWord1 = text::fromQString(e.EditKey1->text());
    e.HighlightWord2 = text::fromQString(e.EditKey2->text());
    t.mainTable->SetFiltered(false);
    t.mainTable->SetFilter(std::string());
    q.Refresh();
    t.mainSource->setDataSet(&q);
    main.FitLawListColumns(v);
    StopSearchTimer(main);
    return true;
}
