// The scope rules of the reference search: which scopes the dialog offers for a category code,
// the SQL line of each scope, the phrase marked in the results, and when the article number
// is searched with "第".
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace search {

// Scope values as SearchScope holds them; -1 is a cancelled dialog.
enum Scope : int { kScopeSeirei = 0, kScopeKisoku = 1, kScopeKai = 2, kScopeAll = 3 };

// The values one reference search shares with its dialog. PresetScope is set by the caller
// before the run (0 from the buttons and menus; a link's -1 or -2 fixes 政令 or 省令); the search
// sets ReferredCode, and the dialog's 検　索 the three options (all -1 when it was cancelled).
struct ReferenceDialogValues {
    int PresetScope = 0;
    int ReferredCode = 0;
    int SearchScope = -1;
    int CurrentArticleOption = -1;  // 0 メモウインドウへ貼付, 1 何もしない
    int MemoSizeOption = -1;        // 0 最小サイズ, 1 通常サイズ
};

// The state of the dialog's "検索範囲" group when it opens.
struct SansyoScopeState {
    bool groupEnabled = true;
    // Indexed by Scope: 政令, 省令, 下位, 全範囲.
    std::array<bool, 4> enabled{true, true, true, true};
    int selected = kScopeKai;
};

// presetScope 0 lets the user choose among the scopes the referred code has; -1 fixes 政令 and
// -2 fixes 省令 with the group disabled.
SansyoScopeState SansyoScopeStateFor(int presetScope, int referredCode);

// The one line that narrows the referring articles to the scope; empty for 全範囲 and any
// other value. A code that has no 省令 of its own (the dialog offers 省令 for 耐令, and a link
// can fix 省令 for any code) is searched with the lower-category line instead, so the search
// still lists the ordinance articles that refer to it.
std::string ScopeClause(int lawVolume, int referredCode, int searchScope);

// The phrase the results mark beside the article number; empty for 全範囲 (code page 932).
std::string ScopePhrase(int searchScope, int lawVolume);

// Whether the article number is searched as "第" + number: not in circulars, nor for an
// appendix, supplementary provision, table or transitional note.
bool NeedsDaiPrefix(int kubunNo, std::string_view bangou);

// The search text of a reference search: the number with "第" in front when it needs one.
std::string ReferenceSearchText(int kubunNo, std::string_view bangou);

}  // namespace search
