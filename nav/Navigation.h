// Moving about the volumes: the one history ring's record, Back and Next with the views they
// save and restore, and the three reset commands of the button bar (ホーム, 全て開く, クリア).
// Every function works on the main window's controls and tables through its registry.
#pragma once

class QWidget;
class TMain;

// Saves the view of the active tab as a new history entry; nothing when the active tab is no
// present volume. Called before every move that changes what a volume shows.
void RecordHistory(TMain& main);
// The same for a given tab: a tab change reports the tab being left after the page control has
// already moved on.
void RecordHistoryOfTab(TMain& main, QWidget* tab);

// 戻る and 進む: the view being left is saved at the head (and at the cursor), then the entry
// the cursor steps to is restored, its tab included.
void HistoryBack(TMain& main);
void HistoryNext(TMain& main);

// The entry operations: save law volume v's (book volume b's) view into a slot of the ring;
// restore the entry at the ring's cursor into that volume.
void SaveLawState(TMain& main, int v, int slot);
void SaveBookState(TMain& main, int b, int slot);
void RestoreLawState(TMain& main, int v);
void RestoreBookState(TMain& main, int b);

// An outline click records the view before it only when the volume's TreeClickRecords is 1
// (after any saved or restored entry), then clears it: a run of outline clicks leaves one entry.
void RecordHistoryForOutlineClick(TMain& main, int v);

// ホーム, 全て開く and クリア for the volume of the active tab.
void Home(TMain& main);
void OpenAll(TMain& main);
void Clear(TMain& main);

// Empties the key edits and the number (page) edit, puts the range combo back on 全範囲
// without applying it, and gives key edit 1 the focus.
void ClearLawConditions(TMain& main, int v);
void ClearBookConditions(TMain& main, int b);
// The whole volume from its first row, unfiltered, with no coloured words.
void ShowWholeLawVolume(TMain& main, int v);
void ShowWholeBookVolume(TMain& main, int b);
// The whole volume around the row being read: filter and search result dropped, range combo
// on 全範囲, the coloured words and key edits kept.
void OpenAllLaw(TMain& main, int v);
void OpenAllBook(TMain& main, int b);
