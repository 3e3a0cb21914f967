// Article-number normalisation and look-up.
#include "search/ArticleNumber.h"

#include <initializer_list>
#include <utility>
#include <vector>

#include "store/DataSet.h"
#include "store/DataSource.h"
#include "store/RangePresets.h"
#include "text/Cp932.h"

namespace search {

namespace {

struct Words {
    std::string dai = text::cp932("第");
    std::string fusoku = text::cp932("附則");
    std::string beppyou = text::cp932("別表");
    std::string fuhyou = text::cp932("付表");
    std::string keika = text::cp932("経過的取扱");
    std::string jou = text::cp932("条");
    std::string no = text::cp932("の");
    std::string katakanaNo = text::cp932("ノ");
    std::string halfWidthNo = text::cp932("ﾉ");
    std::string hyphen = text::cp932("－");
    std::string longVowel = text::cp932("ー");
    std::string oldCommercialCode = text::cp932("旧商法");
    std::string zaikitsu = text::cp932("財基通");
    std::string shinsaitsu = text::cp932("震災通");
};

const Words& words()
{
    static const Words w;
    return w;
}

// "条" goes before the first occurrence of the branch mark unless the number already has
// it there, or is a circular's number.
void insertArticleMark(std::string& s, const std::string& branchMark)
{
    const Words& w = words();
    std::size_t p = text::find(s, branchMark);
    if (p == std::string::npos || text::contains(s, w.hyphen))
        return;
    bool articleMarkBefore = p >= w.jou.size() && s.compare(p - w.jou.size(), w.jou.size(), w.jou) == 0 &&
                             text::isCharBoundary(s, p - w.jou.size());
    if (!articleMarkBefore)
        s.insert(p, w.jou);
}

// The value of a run of kanji numerals (三, 十五, 百二十, 千四十四, 一〇〇), -1 when it is none.
int kanjiValue(const std::vector<std::string_view>& digits)
{
    static const std::vector<std::string> kUnits = {text::cp932("〇"), text::cp932("一"), text::cp932("二"),
                                                    text::cp932("三"), text::cp932("四"), text::cp932("五"),
                                                    text::cp932("六"), text::cp932("七"), text::cp932("八"),
                                                    text::cp932("九")};
    static const std::vector<std::pair<std::string, int>> kScales = {
        {text::cp932("十"), 10}, {text::cp932("百"), 100}, {text::cp932("千"), 1000}};
    int total = 0;
    int pending = -1;  // the digit read last, not yet scaled
    bool positional = true;
    int positionalValue = 0;
    for (std::string_view c : digits) {
        bool matched = false;
        for (int d = 0; d < 10 && !matched; ++d) {
            if (c == kUnits[static_cast<std::size_t>(d)]) {
                pending = pending < 0 ? d : pending * 10 + d;
                positionalValue = positionalValue * 10 + d;
                matched = true;
            }
        }
        for (const auto& [scale, value] : kScales) {
            if (!matched && c == scale) {
                total += (pending < 0 ? 1 : pending) * value;
                pending = -1;
                positional = false;
                matched = true;
            }
        }
        if (!matched)
            return -1;
    }
    if (positional)
        return positionalValue;
    return total + (pending < 0 ? 0 : pending);
}

bool isKanjiNumeral(std::string_view c)
{
    static const std::string kNumerals = text::cp932("〇一二三四五六七八九十百千");
    for (std::string_view n : text::characters(kNumerals))
        if (c == n)
            return true;
    return false;
}

// Every run of kanji numerals written as full-width digits (第三条の二 → 第３条の２).
std::string withDigitsForKanji(std::string_view s)
{
    std::string out;
    std::vector<std::string_view> run;
    auto flush = [&] {
        if (!run.empty())
            out += text::ToFullWidthDigits(std::to_string(kanjiValue(run)));
        run.clear();
    };
    for (std::string_view c : text::characters(s)) {
        if (isKanjiNumeral(c)) {
            run.push_back(c);
            continue;
        }
        flush();
        out += c;
    }
    flush();
    return out;
}

}  // namespace

std::string StoredArticleNumberForm(std::string_view bangou)
{
    const Words& w = words();
    const bool supplementary = text::contains(bangou, w.fusoku);
    const bool table = text::contains(bangou, w.beppyou);
    if (!supplementary && !table)
        return std::string(bangou);
    std::string s = withDigitsForKanji(bangou);
    if (supplementary)
        s = text::replaceAll(s, w.fusoku + w.dai, w.fusoku);  // 附則第３条 → 附則３条
    if (table && !text::contains(s, w.beppyou + w.dai))
        s = text::replaceAll(s, w.beppyou, w.beppyou + w.dai);  // 別表１ → 別表第１
    return s;
}

std::string NormaliseArticleNumber(std::string_view typed, std::string_view selectedRange)
{
    const Words& w = words();
    std::string s = text::ToFullWidthDigits(typed);
    if (!text::contains(s, w.fusoku) && !text::contains(s, w.beppyou))
        s = text::replaceAll(s, w.dai, "");
    s = text::replaceAll(s, "-", w.hyphen);
    s = text::replaceAll(s, w.longVowel, w.hyphen);
    if (selectedRange == w.oldCommercialCode) {
        s = text::replaceAll(s, w.no, w.katakanaNo);
        s = text::replaceAll(s, w.halfWidthNo, w.katakanaNo);
    } else {
        s = text::replaceAll(s, w.katakanaNo, w.no);
        s = text::replaceAll(s, w.halfWidthNo, w.no);
    }
    insertArticleMark(s, w.no);
    insertArticleMark(s, w.katakanaNo);
    bool marked = false;
    for (const std::string* word : {&w.hyphen, &w.jou, &w.beppyou, &w.fuhyou, &w.keika})
        marked = marked || text::contains(s, *word);
    // 財産評価基本通達 and the earthquake circulars number their items without "条".
    if (!marked && selectedRange != w.zaikitsu && selectedRange != w.shinsaitsu)
        s += w.jou;
    return s;
}

bool JumpToArticleNumber(int lawVolume, const std::string& bangou, std::string_view selectedRange,
                         store::DataSet& mainTable, store::DataSource& mainSource,
                         const std::function<void()>& fitListColumns)
{
    // The rewritten number first; when no row holds it, the form the volumes store it in.
    std::vector<std::vector<store::Value>> keys{{store::Value(bangou)}};
    const std::string stored = StoredArticleNumberForm(bangou);
    if (stored != bangou)
        keys.push_back({store::Value(stored)});
    auto locate = [&mainTable, &keys]() -> const std::vector<store::Value>* {
        for (const auto& key : keys)
            if (mainTable.Locate("Bangou", key))
                return &key;
        return nullptr;
    };
    if (mainSource.dataSet() == &mainTable)
        return locate() != nullptr;
    store::ApplyJumpRange(lawVolume, selectedRange, mainTable);
    const std::vector<store::Value>* found = locate();
    if (!found)
        return false;
    const std::vector<store::Value> key = *found;
    mainSource.setDataSet(&mainTable);
    if (fitListColumns)
        fitListColumns();
    // Binding showed the main table from its first row; the article is looked up again.
    return mainTable.Locate("Bangou", key);
}

}  // namespace search
