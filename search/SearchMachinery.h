// What every search shares: the keyword edits' normalisation, the two query pools and their
// rotation, the three-attempt opening of a search query over SqlClauseList, and the search
// timer in the status bar.
#pragma once

#include <cstdint>
#include <string>

class QComboBox;
class QLineEdit;
class MainWindowInterface;

namespace store {
class Query;
}

// The text of the item selected in a range combo (not what is typed in its box); empty when
// no item is selected.
std::string SelectedRangeText(const QComboBox* combo);

// Rewrites a keyword edit in place: ASCII digits to full width, every "ー" to "－".
void NormaliseKeywordEdit(QLineEdit* edit);

// The next pool query that no present volume's list shows, closed, its look-ups reading law
// volume v's main table (book volume b's for the book pool).
store::Query& TakeLawQuery(MainWindowInterface& main, int v);
store::Query& TakeBookQuery(MainWindowInterface& main, int b);

// Hands SqlClauseList to q and opens it: two quiet retries, the third failure goes on to the
// caller with the status bar and cursor as they were before the search. Afterwards
// SqlClauseList is empty and q is on its first row. Returns whether q holds any row.
bool OpenSearchQuery(MainWindowInterface& main, store::Query& q);

// "検索中" and the hourglass from the start tick; "検索終了" and the elapsed seconds after.
// Only the status bar is painted, not the whole window.
void StartSearchTimer(MainWindowInterface& main);
void StopSearchTimer(MainWindowInterface& main);
// A search that found nothing: shows the message and stops the timer at the moment the search
// ended, so the time shown is the search's, not the time the message stayed open.
void ReportNothingFound(MainWindowInterface& main, const char* utf8Message);
