// The preset table of every range list and the operations that apply a preset. The texts are
// kept exactly as the lists have always applied them: the blanks inside the clauses differ from
// preset to preset and must stay as they are.
#include "store/RangePresets.h"

#include <algorithm>
#include <array>

#include "store/DataSet.h"
#include "store/Volumes.h"
#include "text/Cp932.h"

namespace store {

namespace {

enum class ListKind { Law, Book };

constexpr int kRange = -1;  // a row with its own texts, not a single code

// Every item of every range list but 全範囲, in list order. A single-code row gives the code and
// its label; its texts follow the rule of its kind (singleCodePreset below). A range row gives
// its list filter, jump filter and up to two clause lines.
struct PresetRow {
    ListKind kind;
    int volume;
    const char* label;  // UTF-8 here, code page 932 once built
    int code;
    const char* listFilter = nullptr;
    const char* jumpFilter = nullptr;
    const char* clause1 = nullptr;
    const char* clause2 = nullptr;
};

constexpr ListKind L = ListKind::Law;
constexpr ListKind B = ListKind::Book;

const PresetRow kPresetRows[] = {
    // 法人税
    {L, 0, "本法関係", kRange, "KubunNo < 70", "KubunNo < 70", "AND ( KubunNo < 70) "},
    {L, 0, "耐用年数関係", kRange, "(KubunNo >= 70) and (KubunNo < 100)", "(KubunNo >= 70) and (KubunNo < 100)",
     "AND ( KubunNo >= 70 ) ", "AND ( KubunNo < 100) "},
    {L, 0, "措置法関係", kRange, "(KubunNo >= 700) and (KubunNo < 800)", "(KubunNo >= 700) and (KubunNo < 800)",
     "AND ( KubunNo >= 700 ) ", "AND ( KubunNo < 800) "},
    {L, 0, "震災関係", kRange, "KubunNo >= 800", "KubunNo >= 800", "AND ( KubunNo >= 800) "},
    {L, 0, "法法", 10}, {L, 0, "法令", 20}, {L, 0, "法規", 30}, {L, 0, "法基通", 40}, {L, 0, "連基通", 50},
    {L, 0, "耐令", 70}, {L, 0, "耐通", 80}, {L, 0, "措法", 710}, {L, 0, "措令", 720}, {L, 0, "措規", 730},
    {L, 0, "措通", 740}, {L, 0, "連措通", 750}, {L, 0, "震災法", 810}, {L, 0, "震災令", 820},
    {L, 0, "震災規", 830}, {L, 0, "震災通", 840}, {L, 0, "復興法", 860}, {L, 0, "復法令", 870},
    {L, 0, "復法規", 880},
    // 消費税
    {L, 1, "本法関係", kRange, "KubunNo < 200", "KubunNo < 200", "AND ( KubunNo < 200) "},
    {L, 1, "地方税関係", kRange, "(KubunNo >= 600) and (KubunNo < 700)", "(KubunNo >= 600) and (KubunNo < 700)",
     "AND ( KubunNo >= 600 ) ", "AND ( KubunNo < 700) "},
    {L, 1, "措置法関係", kRange, "(KubunNo >= 700) and (KubunNo < 800)", "(KubunNo >= 700) and (KubunNo < 800)",
     "AND ( KubunNo >= 700 ) ", "AND ( KubunNo < 800) "},
    {L, 1, "震災関係", kRange, "KubunNo >= 800", "KubunNo >= 800", "AND ( KubunNo >= 800) "},
    {L, 1, "消法", 110}, {L, 1, "消令", 120}, {L, 1, "消規", 130}, {L, 1, "消基通", 140}, {L, 1, "消個通", 150},
    {L, 1, "地方", 610}, {L, 1, "地方令", 620}, {L, 1, "地方規", 630}, {L, 1, "措法", 710}, {L, 1, "措令", 720},
    {L, 1, "措規", 730}, {L, 1, "震災法", 810}, {L, 1, "震災令", 820}, {L, 1, "震災通", 840},
    // 会社法民法
    {L, 2, "新法関係", kRange, "KubunNo < 500", "KubunNo < 500", "AND ( KubunNo < 500) "},
    {L, 2, "旧法関係", kRange, "KubunNo > 899", "KubunNo > 899", "AND ( KubunNo > 899) "},
    {L, 2, "会社法", 410}, {L, 2, "商法", 420}, {L, 2, "整備法", 430}, {L, 2, "会社令", 440},
    {L, 2, "整備令", 450}, {L, 2, "会社規", 460}, {L, 2, "商規", 470}, {L, 2, "計規", 480},
    {L, 2, "電公令", 490}, {L, 2, "民法", 510}, {L, 2, "旧商法", 910}, {L, 2, "有限法", 920},
    {L, 2, "企会原", 930}, {L, 2, "旧商規", 940}, {L, 2, "監査特", 950}, {L, 2, "監査令", 960},
    // 所得税
    {L, 3, "本法関係", kRange, "KubunNo < 300", "KubunNo < 300", "AND ( KubunNo < 300) "},
    {L, 3, "措置法関係", kRange, "(KubunNo >= 700) and (KubunNo < 800)", "(KubunNo >= 700) and (KubunNo < 800)",
     "AND ( KubunNo >= 700 ) ", "AND ( KubunNo < 800) "},
    {L, 3, "震災関係", kRange, "KubunNo >= 800", "KubunNo >= 800", "AND ( KubunNo >= 800) "},
    {L, 3, "所法", 210}, {L, 3, "所令", 220}, {L, 3, "所規", 230}, {L, 3, "所基通", 240}, {L, 3, "措法", 710},
    {L, 3, "措令", 720}, {L, 3, "措規", 730}, {L, 3, "措通", 740}, {L, 3, "震災法", 810}, {L, 3, "震災令", 820},
    {L, 3, "震災規", 830}, {L, 3, "震災通", 840}, {L, 3, "復興法", 860}, {L, 3, "復所令", 873},
    {L, 3, "復所規", 883},
    // 相続税
    {L, 4, "本法関係", kRange, "KubunNo < 400", "KubunNo < 400", "AND ( KubunNo < 400) "},
    {L, 4, "措置法関係", kRange, "(KubunNo >= 700) and (KubunNo < 800)", "(KubunNo >= 700) and (KubunNo < 800)",
     "AND ( KubunNo >= 700 ) ", "AND ( KubunNo < 800) "},
    {L, 4, "震災関係", kRange, "KubunNo >= 800", "KubunNo >= 800", "AND ( KubunNo >= 800) "},
    {L, 4, "相法", 310}, {L, 4, "相令", 320}, {L, 4, "相規", 330}, {L, 4, "相基通", 340}, {L, 4, "財基通", 350},
    {L, 4, "措法", 710}, {L, 4, "措令", 720}, {L, 4, "措規", 730}, {L, 4, "措通", 740}, {L, 4, "震災法", 810},
    {L, 4, "震災令", 820}, {L, 4, "震災規", 830},
    // 国通徴印紙: the jump stops before the circulars, and 印紙関係's jump takes all of 700-799.
    {L, 5, "国通関係", kRange, "((KubunNo > 150) and (KubunNo < 200)) or ((KubunNo > 700) and (KubunNo < 760))",
     "(KubunNo >= 160) and (KubunNo < 190)",
     "AND ( ( ( KubunNo > 150) AND ( KubunNo < 200) ) OR ( ( KubunNo > 700) AND ( KubunNo < 760) ) )"},
    {L, 5, "国徴関係", kRange, "(KubunNo > 250) and (KubunNo < 300)", "(KubunNo >= 260) and (KubunNo < 290)",
     "AND  ( ( KubunNo > 250) AND ( KubunNo < 300) ) "},
    {L, 5, "印紙関係", kRange, "((KubunNo > 350) and (KubunNo < 400)) or ((KubunNo > 700) and (KubunNo < 760))",
     "((KubunNo >= 360) and (KubunNo < 390)) or ((KubunNo >= 700) and (KubunNo < 800)) ",
     "AND ( ( ( KubunNo > 350) AND ( KubunNo < 400) ) OR ( ( KubunNo > 700) AND ( KubunNo < 760) ) )"},
    {L, 5, "震災関係", kRange, "KubunNo >= 800", "KubunNo >= 800", "AND ( KubunNo >= 800) "},
    {L, 5, "国通", 160}, {L, 5, "国通令", 170}, {L, 5, "国通規", 180}, {L, 5, "国通通", 190}, {L, 5, "国徴", 260},
    {L, 5, "国徴令", 270}, {L, 5, "国徴規", 280}, {L, 5, "国徴通", 290}, {L, 5, "印紙", 360},
    {L, 5, "印紙令", 370}, {L, 5, "印紙規", 380}, {L, 5, "印紙通", 390}, {L, 5, "措法", 710},
    {L, 5, "措令", 720}, {L, 5, "措規", 730}, {L, 5, "震災法", 810}, {L, 5, "震災令", 820},
    {L, 5, "震災規", 830}, {L, 5, "震災通", 840},
    // 法人目次
    {B, 0, "基通逐条解説", 1}, {B, 0, "耐通逐条解説", 5}, {B, 0, "措通逐条解説", 10}, {B, 0, "税務通信", 20},
    {B, 0, "圧縮記帳", 30}, {B, 0, "回答事例", 40}, {B, 0, "ケーススタディ", 50}, {B, 0, "裁決事例", 60},
    {B, 0, "減価償却", 70}, {B, 0, "給与退職金", 80}, {B, 0, "租税判例", 95}, {B, 0, "調査事例", 100},
    {B, 0, "質疑応答集", 110}, {B, 0, "事例選集", 115}, {B, 0, "交際費リベート", 150},
    // 消費目次
    {B, 1, "基通逐条解説", 1}, {B, 1, "税務通信", 20}, {B, 1, "勘定科目", 30}, {B, 1, "裁決事例", 60},
    {B, 1, "実務消費税法", 70}, {B, 1, "業種区分", 75}, {B, 1, "簡易課税", 80}, {B, 1, "回答事例", 90},
    {B, 1, "租税判例", 95},
    // 資産目次
    {B, 2, "所基通逐条", 1}, {B, 2, "譲渡措通逐条", 4}, {B, 2, "相基通逐条", 8}, {B, 2, "相続措通逐条", 12},
    {B, 2, "財産通達逐条", 16}, {B, 2, "税務通信", 20}, {B, 2, "株式公社債", 30}, {B, 2, "裁決事例", 60},
    {B, 2, "財産評価", 70}, {B, 2, "資産質疑", 75}, {B, 2, "資産実務", 80}, {B, 2, "資産実例", 90},
    {B, 2, "所得質疑", 93}, {B, 2, "租税判例", 95}, {B, 2, "等価交換", 100}, {B, 2, "土地評価", 110},
    {B, 2, "保険税務", 120},
};

// Rows each drop-down shows; 会社法民法's shows four more rows than it has items.
constexpr std::array<int, kLawVolumeCount> kLawDropDownRows{24, 19, 23, 19, 16, 24};
constexpr std::array<int, kBookVolumeCount> kBookDropDownRows{16, 10, 18};

RangePreset singleCodePreset(ListKind kind, const PresetRow& row)
{
    RangePreset p;
    p.label = text::cp932(row.label);
    p.code = row.code;
    std::string code = std::to_string(row.code);
    if (kind == ListKind::Law) {
        p.listFilter = p.jumpFilter = "KubunNo = " + code;
        p.searchClause = {"AND ( KubunNo = " + code + ") "};
    } else {
        // The book clause has a blank before ")"; the law clause has none.
        p.listFilter = p.jumpFilter = "BookNo = " + code;
        p.searchClause = {"AND ( BookNo = " + code + " ) "};
    }
    return p;
}

RangePreset rangePreset(const PresetRow& row)
{
    RangePreset p;
    p.label = text::cp932(row.label);
    p.listFilter = row.listFilter;
    p.jumpFilter = row.jumpFilter;
    for (const char* line : {row.clause1, row.clause2})
        if (line)
            p.searchClause.emplace_back(line);
    return p;
}

std::vector<RangePreset> buildList(ListKind kind, int volume)
{
    std::vector<RangePreset> list;
    RangePreset whole;
    whole.label = text::cp932("全範囲");
    list.push_back(whole);
    for (const PresetRow& row : kPresetRows)
        if (row.kind == kind && row.volume == volume)
            list.push_back(row.code == kRange ? rangePreset(row) : singleCodePreset(kind, row));
    return list;
}

const std::vector<RangePreset>& presets(ListKind kind, int volume)
{
    static const auto lawLists = [] {
        std::array<std::vector<RangePreset>, kLawVolumeCount> lists;
        for (int v = 0; v < kLawVolumeCount; ++v)
            lists[static_cast<std::size_t>(v)] = buildList(ListKind::Law, v);
        return lists;
    }();
    static const auto bookLists = [] {
        std::array<std::vector<RangePreset>, kBookVolumeCount> lists;
        for (int b = 0; b < kBookVolumeCount; ++b)
            lists[static_cast<std::size_t>(b)] = buildList(ListKind::Book, b);
        return lists;
    }();
    static const std::vector<RangePreset> none;
    if (kind == ListKind::Law)
        return volume >= 0 && volume < kLawVolumeCount ? lawLists[static_cast<std::size_t>(volume)] : none;
    return volume >= 0 && volume < kBookVolumeCount ? bookLists[static_cast<std::size_t>(volume)] : none;
}

const RangePreset* findPreset(ListKind kind, int volume, std::string_view selectedText)
{
    for (const RangePreset& p : presets(kind, volume))
        if (p.label == selectedText)
            return &p;
    return nullptr;
}

std::vector<std::string> labels(const std::vector<RangePreset>& list)
{
    std::vector<std::string> out;
    out.reserve(list.size());
    for (const RangePreset& p : list)
        out.push_back(p.label);
    return out;
}

void applyFilter(DataSet& target, const std::string& filter)
{
    // Filtering is switched off before the text is cleared and on after it is set, so the
    // list refreshes once.
    if (filter.empty()) {
        target.SetFiltered(false);
        target.SetFilter(std::string());
    } else {
        target.SetFilter(filter);
        target.SetFiltered(true);
    }
}

void appendClause(const RangePreset& preset, std::vector<std::string>& SqlClauseList)
{
    SqlClauseList.insert(SqlClauseList.end(), preset.searchClause.begin(), preset.searchClause.end());
}

}  // namespace

const std::vector<RangePreset>& LawRangePresets(int lawVolume)
{
    return presets(ListKind::Law, lawVolume);
}

const std::vector<RangePreset>& BookRangePresets(int bookVolume)
{
    return presets(ListKind::Book, bookVolume);
}

std::vector<std::string> LawRangeItems(int lawVolume)
{
    return labels(LawRangePresets(lawVolume));
}

std::vector<std::string> BookRangeItems(int bookVolume)
{
    return labels(BookRangePresets(bookVolume));
}

int LawRangeDropDownCount(int lawVolume)
{
    return lawVolume >= 0 && lawVolume < kLawVolumeCount ? kLawDropDownRows[static_cast<std::size_t>(lawVolume)] : 0;
}

int BookRangeDropDownCount(int bookVolume)
{
    return bookVolume >= 0 && bookVolume < kBookVolumeCount ? kBookDropDownRows[static_cast<std::size_t>(bookVolume)]
                                                             : 0;
}

const RangePreset* FindLawRangePreset(int lawVolume, std::string_view selectedText)
{
    return findPreset(ListKind::Law, lawVolume, selectedText);
}

const RangePreset* FindBookRangePreset(int bookVolume, std::string_view selectedText)
{
    return findPreset(ListKind::Book, bookVolume, selectedText);
}

std::string CategoryAbbreviation(int kubunNo)
{
    for (const PresetRow& row : kPresetRows)
        if (row.kind == ListKind::Law && row.code == kubunNo)
            return text::cp932(row.label);
    return {};
}

std::vector<int> VolumesOfferingCategory(int kubunNo)
{
    std::vector<int> volumes;
    for (const PresetRow& row : kPresetRows)
        if (row.kind == ListKind::Law && row.code == kubunNo &&
            std::find(volumes.begin(), volumes.end(), row.volume) == volumes.end())
            volumes.push_back(row.volume);
    std::sort(volumes.begin(), volumes.end());
    return volumes;
}

void ApplyListRange(int lawVolume, std::string_view selectedText, DataSet& shownDataSet)
{
    if (const RangePreset* p = FindLawRangePreset(lawVolume, selectedText))
        applyFilter(shownDataSet, p->listFilter);
}

void ApplyJumpRange(int lawVolume, std::string_view selectedText, DataSet& mainTable)
{
    if (const RangePreset* p = FindLawRangePreset(lawVolume, selectedText))
        applyFilter(mainTable, p->jumpFilter);
}

void AppendRangeClause(int lawVolume, std::string_view selectedText, std::vector<std::string>& SqlClauseList)
{
    if (const RangePreset* p = FindLawRangePreset(lawVolume, selectedText))
        appendClause(*p, SqlClauseList);
}

void ApplyBookListRange(int bookVolume, std::string_view selectedText, DataSet& shownDataSet)
{
    if (const RangePreset* p = FindBookRangePreset(bookVolume, selectedText))
        applyFilter(shownDataSet, p->listFilter);
}

void ApplyBookJumpRange(int bookVolume, std::string_view selectedText, DataSet& mainTable)
{
    if (const RangePreset* p = FindBookRangePreset(bookVolume, selectedText))
        applyFilter(mainTable, p->jumpFilter);
}

void AppendBookRangeClause(int bookVolume, std::string_view selectedText, std::vector<std::string>& SqlClauseList)
{
    if (const RangePreset* p = FindBookRangePreset(bookVolume, selectedText))
        appendClause(*p, SqlClauseList);
}

}  // namespace store
