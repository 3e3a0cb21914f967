// The reference search: the articles of a law volume that refer to its current article, listed
// in place of the article list, with the article number and the scope's phrase coloured.
#pragma once

class TMain;

// The values one run shares with its dialog. PresetScope is set by the caller before the run
// (0 from the buttons and menus; a link's -1 or -2 fixes 政令 or 省令); the search sets
// ReferredCode, and the dialog's 検　索 the three options (all -1 when it was cancelled).
extern int PresetScope;
extern int ReferredCode;
extern int SearchScope;
extern int CurrentArticleOption;  // 0 メモウインドウへ貼付, 1 何もしない
extern int MemoSizeOption;        // 0 最小サイズ, 1 通常サイズ

void ReferenceSearch(TMain& main, int v);
