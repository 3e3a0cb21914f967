// Query pools, the opening of a search query and the status bar's search timer.
#include "search/SearchMachinery.h"

#include <QComboBox>
#include <QLineEdit>

#include "app/MainWindowInterface.h"
#include "app/VolumeRegistry.h"
#include "platform/Platform.h"
#include "search/SearchMessages.h"
#include "search/SearchStatements.h"
#include "store/DataSource.h"
#include "store/Hbooks.h"
#include "store/Houjin.h"
#include "store/Query.h"
#include "store/Table.h"
#include "text/Cp932.h"
#include "text/QtText.h"

namespace {

// Whether any present volume's list shows the data set.
template <std::size_t N, typename Tables, typename Present>
bool shownByAList(const std::array<Tables, N>& volumes, const store::DataSet* dataSet, Present present)
{
    for (int i = 0; i < static_cast<int>(N); ++i) {
        const store::DataSource* source = volumes[static_cast<std::size_t>(i)].mainSource;
        if (present(i) && source && source->dataSet() == dataSet)
            return true;
    }
    return false;
}

// The rotation runs from the first pool entry to the last and round again. At most one query
// per volume is shown, so a free one always turns up within one round.
template <std::size_t PoolSize, typename IsShown>
store::Query& takeFromPool(const std::array<store::Query*, PoolSize>& pool, int& position, IsShown isShown)
{
    const int size = static_cast<int>(PoolSize);
    for (int tries = 0; tries < size; ++tries) {
        position = position >= size - 1 ? 0 : position + 1;
        store::Query* q = pool[static_cast<std::size_t>(position)];
        if (q && !isShown(q))
            return *q;
    }
    throw store::TableError("検索用の問い合わせがすべて使用中です");
}

}  // namespace

std::string SelectedRangeText(const QComboBox* combo)
{
    if (!combo || combo->currentIndex() < 0)
        return {};
    return text::fromQString(combo->itemText(combo->currentIndex()));
}

void NormaliseKeywordEdit(QLineEdit* edit)
{
    edit->setText(text::toQString(search::NormaliseKeywordText(text::fromQString(edit->text()))));
}

store::Query& TakeLawQuery(MainWindowInterface& main, int v)
{
    VolumeRegistry& r = main.registry();
    store::Query& q = takeFromPool(r.tables.lawQueryPool, r.LawQueryPosition, [&r](const store::Query* candidate) {
        return shownByAList(r.tables.law, candidate, [&r](int i) { return r.files.lawPresent(i); });
    });
    q.Close();
    store::pointLawQueryLookups(q, r.tables.law[static_cast<std::size_t>(v)].mainTable);
    return q;
}

store::Query& TakeBookQuery(MainWindowInterface& main, int b)
{
    VolumeRegistry& r = main.registry();
    store::Query& q = takeFromPool(r.tables.bookQueryPool, r.BookQueryPosition, [&r](const store::Query* candidate) {
        return shownByAList(r.tables.book, candidate, [&r](int i) { return r.files.bookPresent(i); });
    });
    q.Close();
    store::pointBookQueryLookups(q, r.tables.book[static_cast<std::size_t>(b)].mainTable);
    return q;
}

bool OpenSearchQuery(MainWindowInterface& main, store::Query& q)
{
    VolumeRegistry& r = main.registry();
    q.SetFiltered(false);
    q.SetFilter(std::string());
    q.Close();
    q.SetSQL(r.SqlClauseList);
    main.platformOfWindow().setScreenCursor(CursorShape::Hourglass);
    try {
        q.Open();
    } catch (const store::TableError&) {
        try {
            q.SetSQL(r.SqlClauseList);
            q.Open();
        } catch (const store::TableError&) {
            q.Close();
            q.SQL().clear();
            std::string statement;
            for (const std::string& line : r.SqlClauseList)
                statement += line + "\n";
            q.SetSQL({statement});
            try {
                q.Open();
            } catch (...) {
                // The search ends here: nothing of it stays behind, and the window reads as before.
                r.SqlClauseList.clear();
                main.SetStatusPanelText(0, QString::fromStdString(r.StatusTextBeforeSearch));
                main.platformOfWindow().setScreenCursor(CursorShape::Arrow);
                throw;
            }
        }
    }
    r.SqlClauseList.clear();
    q.First();
    return !(q.Bof() && q.Eof());
}

void StartSearchTimer(MainWindowInterface& main)
{
    VolumeRegistry& r = main.registry();
    r.StartTick = main.platformOfWindow().tickCount();
    r.StatusTextBeforeSearch = main.StatusPanelText(0).toStdString();
    main.SetStatusPanelText(0, QString::fromUtf8(searchmessages::kSearching));
    main.platformOfWindow().setScreenCursor(CursorShape::Hourglass);
    main.RepaintStatusPanels();
}

namespace {

void stopSearchTimerAt(MainWindowInterface& main, std::int64_t endTick)
{
    VolumeRegistry& r = main.registry();
    const std::int64_t elapsed = endTick - r.StartTick;
    main.SetStatusPanelText(0, QString::fromUtf8(searchmessages::kSearchEnded));
    main.SetStatusPanelText(1, QString::fromStdString(ElapsedTimeText(searchmessages::kSearchTimePrefix, elapsed)));
    main.platformOfWindow().setScreenCursor(CursorShape::Arrow);
    main.RepaintStatusPanels();
}

}  // namespace

void StopSearchTimer(MainWindowInterface& main)
{
    stopSearchTimerAt(main, main.platformOfWindow().tickCount());
}

void ReportNothingFound(MainWindowInterface& main, const char* utf8Message)
{
    const std::int64_t endTick = main.platformOfWindow().tickCount();
    main.platformOfWindow().showMessage(text::cp932(utf8Message));
    stopSearchTimerAt(main, endTick);
}
