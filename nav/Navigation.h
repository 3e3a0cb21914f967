// Moving about the volumes: the one history ring's record, Back and Next with the views they
// save and restore, and the three reset commands of the button bar (ホーム, 全て開く, クリア).
// Every function works on the main window's controls and tables through its registry.
#pragma once

class QWidget;
class MainWindowInterface;

// Saves the view of the active tab as a new history entry; nothing when the active tab is no
// present volume. Called before every move that changes what a volume shows.
void RecordHistory(MainWindowInterface& main);
// The same for a given tab: a tab change reports the tab being left after the page control has
// already moved on.
void RecordHistoryOfTab(MainWindowInterface& main, QWidget* tab);

// 戻る and 進む: the view being left is saved at the head (and at the cursor), then the entry
// the cursor steps to is restored, its tab included.
void HistoryBack(MainWindowInterface& main);
void HistoryNext(MainWindowInterface& main);

// The entry operations: save law volume v's (book volume b's) view into a slot of the ring;
// restore the entry at the ring's cursor into that volume.
void SaveLawState(MainWindowInterface& main, int v, int slot);
void SaveBookState(MainWindowInterface& main, int b, int slot);
void RestoreLawState(MainWindowInterface& main, int v);
void RestoreBookState(MainWindowInterface& main, int b);

// An outline click records the view before it only when the volume's TreeClickRecords is 1
// (after any saved or restored entry), then clears it: a run of outline clicks leaves one entry.
void RecordHistoryForOutlineClick(MainWindowInterface& main, int v);

// ホーム, 全て開く and クリア for the volume of the active tab.
void Home(MainWindowInterface& main);
void OpenAll(MainWindowInterface& main);
void Clear(MainWindowInterface& main);

// Empties the key edits and the number (page) edit, puts the range combo back on 全範囲
// without applying it, and gives key edit 1 the focus.
void ClearLawConditions(MainWindowInterface& main, int v);
void ClearBookConditions(MainWindowInterface& main, int b);
// The whole volume from its first row, unfiltered, with no coloured words.
void ShowWholeLawVolume(MainWindowInterface& main, int v);
void ShowWholeBookVolume(MainWindowInterface& main, int b);
// The whole volume around the row being read: filter and search result dropped, range combo
// on 全範囲, the coloured words and key edits kept.
void OpenAllLaw(MainWindowInterface& main, int v);
void OpenAllBook(MainWindowInterface& main, int b);
