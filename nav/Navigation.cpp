// History steps and the reset commands over the main window's volumes.
#include "nav/Navigation.h"

#include <QComboBox>
#include <QLineEdit>
#include <functional>
#include <optional>

#include "app/MainWindowInterface.h"
#include "app/VolumeRegistry.h"
#include "display/DataGrid.h"
#include "display/OutlineTree.h"
#include "display/RichTextView.h"
#include "nav/HistoryRing.h"
#include "search/SearchMachinery.h"
#include "store/DataSet.h"
#include "store/DataSource.h"
#include "store/Query.h"
#include "store/Table.h"
#include "text/QtText.h"

namespace {

// The key field of the current row of a data set, none when it shows no row.
std::optional<std::int64_t> currentKey(const store::DataSet* dataSet, const char* field)
{
    if (!dataSet || !dataSet->Active() || dataSet->IsEmpty())
        return std::nullopt;
    return dataSet->IntegerField(field);
}

void locateKey(store::DataSet* dataSet, const char* field, std::optional<std::int64_t> key)
{
    if (key && dataSet && dataSet->Active())
        dataSet->Locate(field, {store::Value(*key)});
}

// Empties a data set's filter: the switch goes off first, so whatever shows it refreshes once.
void clearFilter(store::DataSet& dataSet)
{
    dataSet.SetFiltered(false);
    dataSet.SetFilter(std::string());
}

// The list back on the volume's whole main table, unfiltered (from its first row when asked),
// with the grids resynchronised once; fitList fits the columns to it.
void showMainTable(store::Table& mainTable, store::DataSource& source, const std::function<void()>& fitList,
                   bool fromFirstRow = false)
{
    mainTable.DisableControls();
    clearFilter(mainTable);
    if (fromFirstRow && mainTable.Active())
        mainTable.First();
    source.setDataSet(&mainTable);
    fitList();
    mainTable.EnableControls();
}

// What every saved entry shares, law or book.
void saveListState(nav::TCasheData& entry, QWidget* tab, store::DataSource* source, const char* keyField)
{
    entry.Tab = tab;
    store::DataSet* shown = source ? source->dataSet() : nullptr;
    entry.DataSet = shown;
    const auto* result = dynamic_cast<const store::Query*>(shown);
    entry.Statement = result ? result->SQL() : std::vector<std::string>();
    entry.Filter = shown ? shown->Filter() : std::string();
    entry.Filtered = shown && shown->Filtered();
    entry.RowKey = static_cast<std::int32_t>(currentKey(shown, keyField).value_or(0));
}

// The search result an entry recorded. Its pooled query holds it still when it was not taken
// by a later search since; otherwise the statement runs again in a query taken from the pool
// (takeQuery), and the entry refers to that one from now on. The list never shows the rows of
// another search beside this entry's article.
void recoverSearchResult(nav::TCasheData& recorded, nav::TCasheData& entry,
                         const std::function<store::Query&()>& takeQuery)
{
    auto* result = dynamic_cast<store::Query*>(entry.DataSet);
    if (!result || (result->Active() && result->SQL() == entry.Statement))
        return;
    store::Query& again = takeQuery();
    again.SetSQL(entry.Statement);
    again.Open();
    recorded.DataSet = entry.DataSet = &again;
}

// The entry's data set back under its own filter, shown by the volume's source from its row.
void restoreListState(const nav::TCasheData& entry, store::Table& mainTable, store::DataSource& source,
                      const char* keyField, RichTextView* view, const std::function<void()>& fitColumns)
{
    clearFilter(mainTable);
    if (entry.DataSet) {
        entry.DataSet->SetFilter(entry.Filter);
        entry.DataSet->SetFiltered(entry.Filtered);
        entry.DataSet->Refresh();
    }
    // Hidden while the list is rebound, so the view does not show the articles passed on the way.
    view->hide();
    source.setDataSet(entry.DataSet);
    fitColumns();
    locateKey(entry.DataSet, keyField, entry.RowKey);
}

// The caret comes back where it was, with up to 350 characters of what follows it in view.
void restoreCaret(RichTextView* view, int selStart)
{
    view->setCaretPosition(nav::CaretScrollPosition(view->textLength(), selStart));
    view->setCaretPosition(selStart);
}

// Saves the view of the active tab into a slot; empty when the active tab is no volume.
nav::HistoryRing::SaveView saveViewOf(MainWindowInterface& main, QWidget* tab)
{
    const int v = main.registry().LawIndexOfTab(tab);
    if (v >= 0)
        return [&main, v](int slot) { SaveLawState(main, v, slot); };
    const int b = main.registry().BookIndexOfTab(tab);
    if (b >= 0)
        return [&main, b](int slot) { SaveBookState(main, b, slot); };
    return {};
}

void restoreEntryAtCursor(MainWindowInterface& main)
{
    VolumeRegistry& r = main.registry();
    QWidget* tab = r.History.current().Tab;
    if (const int v = r.LawIndexOfTab(tab); v >= 0)
        RestoreLawState(main, v);
    else if (const int b = r.BookIndexOfTab(tab); b >= 0)
        RestoreBookState(main, b);
}

}  // namespace

void RecordHistory(MainWindowInterface& main)
{
    RecordHistoryOfTab(main, main.ActivePage());
}

void RecordHistoryOfTab(MainWindowInterface& main, QWidget* tab)
{
    if (nav::HistoryRing::SaveView save = saveViewOf(main, tab))
        main.registry().History.RecordHistory(save);
}

void HistoryBack(MainWindowInterface& main)
{
    if (main.registry().History.HistoryBack(saveViewOf(main, main.ActivePage())))
        restoreEntryAtCursor(main);
}

void HistoryNext(MainWindowInterface& main)
{
    if (main.registry().History.HistoryNext(saveViewOf(main, main.ActivePage())))
        restoreEntryAtCursor(main);
}

void SaveLawState(MainWindowInterface& main, int v, int slot)
{
    VolumeRegistry& r = main.registry();
    if (!r.files.lawPresent(v))
        return;
    LawVolumeEntry& e = r.law[VolumeSlot(v)];
    nav::TCasheData& entry = r.History.entry(slot);
    e.TreeClickRecords = 1;
    saveListState(entry, e.TabSheet, r.tables.law[VolumeSlot(v)].mainSource, "Gyo");
    entry.SelStart = e.RichEdit->selectionStart();
    entry.Word1 = e.HighlightWord1;
    entry.Word2 = e.HighlightWord2;
    entry.NumberText = text::fromQString(e.EditBangou->text());
    entry.RangeIndex = e.ComboBox->currentIndex();
    entry.PanelHeight = e.Panel2->height();
    entry.TreeWidth = e.TreeView->width();
}

void SaveBookState(MainWindowInterface& main, int b, int slot)
{
    VolumeRegistry& r = main.registry();
    if (!r.files.bookPresent(b))
        return;
    BookVolumeEntry& e = r.book[VolumeSlot(b)];
    nav::TCasheData& entry = r.History.entry(slot);
    saveListState(entry, e.TabSheet, r.tables.book[VolumeSlot(b)].mainSource, "BookSeq");
    entry.SelStart = e.RichEdit->selectionStart();
    entry.Word1 = e.HighlightWord1;
    entry.Word2 = e.HighlightWord2;
    entry.NumberText = text::fromQString(e.EditPage->text());
    entry.RangeIndex = e.ComboBox->currentIndex();
    entry.PanelHeight = e.Panel3->height();
    entry.TreeWidth = 0;
}

void RestoreLawState(MainWindowInterface& main, int v)
{
    VolumeRegistry& r = main.registry();
    if (!r.files.lawPresent(v))
        return;
    LawVolumeEntry& e = r.law[VolumeSlot(v)];
    const store::LawVolumeTables& t = r.tables.law[VolumeSlot(v)];
    nav::TCasheData entry = r.History.current();
    recoverSearchResult(r.History.current(), entry, [&main, v]() -> store::Query& { return TakeLawQuery(main, v); });
    e.TreeClickRecords = 1;
    e.HighlightWord1 = entry.Word1;
    e.HighlightWord2 = entry.Word2;
    e.EditKey1->setText(text::toQString(entry.Word1));
    e.EditKey2->setText(text::toQString(entry.Word2));
    e.EditBangou->setText(text::toQString(entry.NumberText));
    e.Panel2->setFixedHeight(entry.PanelHeight);
    e.TreeView->setFixedWidth(entry.TreeWidth);
    // An index set from code applies no range: only the user's choice does.
    e.ComboBox->setCurrentIndex(entry.RangeIndex == -1 ? 0 : entry.RangeIndex);
    restoreListState(entry, *t.mainTable, *t.mainSource, "Gyo", e.RichEdit, [&main, v] { main.FitLawListColumns(v); });
    main.SetActivePage(entry.Tab);
    e.RichEdit->show();
    e.RichEdit->setFocus();
    restoreCaret(e.RichEdit, entry.SelStart);
}

void RestoreBookState(MainWindowInterface& main, int b)
{
    VolumeRegistry& r = main.registry();
    if (!r.files.bookPresent(b))
        return;
    BookVolumeEntry& e = r.book[VolumeSlot(b)];
    const store::BookVolumeTables& t = r.tables.book[VolumeSlot(b)];
    nav::TCasheData entry = r.History.current();
    recoverSearchResult(r.History.current(), entry, [&main, b]() -> store::Query& { return TakeBookQuery(main, b); });
    e.HighlightWord1 = entry.Word1;
    e.HighlightWord2 = entry.Word2;
    e.EditKey1->setText(text::toQString(entry.Word1));
    e.EditKey2->setText(text::toQString(entry.Word2));
    e.EditPage->setText(text::toQString(entry.NumberText));
    e.Panel3->setFixedHeight(entry.PanelHeight);
    e.ComboBox->setCurrentIndex(entry.RangeIndex == -1 ? 0 : entry.RangeIndex);
    restoreListState(entry, *t.mainTable, *t.mainSource, "BookSeq", e.RichEdit,
                     [&main, b] { main.FitBookListColumns(b); });
    main.SetActivePage(entry.Tab);
    e.RichEdit->show();
    e.RichEdit->setFocus();
    restoreCaret(e.RichEdit, entry.SelStart);
}

void RecordHistoryForOutlineClick(MainWindowInterface& main, int v)
{
    VolumeRegistry& r = main.registry();
    if (!r.files.lawPresent(v) || r.law[VolumeSlot(v)].TreeClickRecords != 1)
        return;
    RecordHistory(main);
    // Recording set it again; the clicks that follow record nothing until the next entry.
    r.law[VolumeSlot(v)].TreeClickRecords = 0;
}

void Home(MainWindowInterface& main)
{
    VolumeRegistry& r = main.registry();
    r.RenderSuspended = 0;
    r.LinkToMemoMode = 0;
    RecordHistory(main);
    if (const int v = r.LawIndexOfTab(main.ActivePage()); v >= 0) {
        OutlineTree* tree = r.law[VolumeSlot(v)].TreeView;
        tree->setUpdatesEnabled(false);
        ClearLawConditions(main, v);
        ShowWholeLawVolume(main, v);
        main.ResetLawListHeight(v);
        main.LoadOutline(v);
        tree->setUpdatesEnabled(true);
    } else if (const int b = r.BookIndexOfTab(main.ActivePage()); b >= 0) {
        ClearBookConditions(main, b);
        ShowWholeBookVolume(main, b);
        main.ResetBookDetailHeight(b);
    }
}

void OpenAll(MainWindowInterface& main)
{
    VolumeRegistry& r = main.registry();
    RecordHistory(main);
    if (const int v = r.LawIndexOfTab(main.ActivePage()); v >= 0)
        OpenAllLaw(main, v);
    else if (const int b = r.BookIndexOfTab(main.ActivePage()); b >= 0)
        OpenAllBook(main, b);
}

void Clear(MainWindowInterface& main)
{
    VolumeRegistry& r = main.registry();
    if (const int v = r.LawIndexOfTab(main.ActivePage()); v >= 0)
        ClearLawConditions(main, v);
    else if (const int b = r.BookIndexOfTab(main.ActivePage()); b >= 0)
        ClearBookConditions(main, b);
}

void ClearLawConditions(MainWindowInterface& main, int v)
{
    VolumeRegistry& r = main.registry();
    if (!r.files.lawPresent(v))
        return;
    LawVolumeEntry& e = r.law[VolumeSlot(v)];
    e.EditKey1->clear();
    e.EditKey2->clear();
    e.EditBangou->clear();
    e.ComboBox->setCurrentIndex(0);
    e.EditKey1->setFocus();
    main.FitListColumns();
}

void ClearBookConditions(MainWindowInterface& main, int b)
{
    VolumeRegistry& r = main.registry();
    if (!r.files.bookPresent(b))
        return;
    BookVolumeEntry& e = r.book[VolumeSlot(b)];
    e.EditKey1->clear();
    e.EditKey2->clear();
    e.EditPage->clear();
    e.ComboBox->setCurrentIndex(0);
    e.EditKey1->setFocus();
    main.FitListColumns();
}

void ShowWholeLawVolume(MainWindowInterface& main, int v)
{
    VolumeRegistry& r = main.registry();
    if (!r.files.lawPresent(v))
        return;
    LawVolumeEntry& e = r.law[VolumeSlot(v)];
    e.HighlightWord1.clear();
    e.HighlightWord2.clear();
    showMainTable(*r.tables.law[VolumeSlot(v)].mainTable, *r.tables.law[VolumeSlot(v)].mainSource, [&] { main.FitLawListColumns(v); }, true);
}

void ShowWholeBookVolume(MainWindowInterface& main, int b)
{
    VolumeRegistry& r = main.registry();
    if (!r.files.bookPresent(b))
        return;
    BookVolumeEntry& e = r.book[VolumeSlot(b)];
    e.HighlightWord1.clear();
    e.HighlightWord2.clear();
    showMainTable(*r.tables.book[VolumeSlot(b)].mainTable, *r.tables.book[VolumeSlot(b)].mainSource, [&] { main.FitBookListColumns(b); }, true);
}

void OpenAllLaw(MainWindowInterface& main, int v)
{
    VolumeRegistry& r = main.registry();
    if (!r.files.lawPresent(v))
        return;
    const store::LawVolumeTables& t = r.tables.law[VolumeSlot(v)];
    const std::optional<std::int64_t> key = currentKey(t.mainSource->dataSet(), "Gyo");
    showMainTable(*t.mainTable, *t.mainSource, [&] {
        main.FitLawListColumns(v);
        r.law[VolumeSlot(v)].ComboBox->setCurrentIndex(0);
    });
    locateKey(t.mainTable, "Gyo", key);
}

void OpenAllBook(MainWindowInterface& main, int b)
{
    VolumeRegistry& r = main.registry();
    if (!r.files.bookPresent(b))
        return;
    const store::BookVolumeTables& t = r.tables.book[VolumeSlot(b)];
    const std::optional<std::int64_t> key = currentKey(t.mainSource->dataSet(), "BookSeq");
    showMainTable(*t.mainTable, *t.mainSource, [&] {
        main.FitBookListColumns(b);
        r.book[VolumeSlot(b)].ComboBox->setCurrentIndex(0);
    });
    locateKey(t.mainTable, "BookSeq", key);
}
