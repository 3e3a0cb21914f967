// Article-number normalisation and look-up.
#include "search/ArticleNumber.h"

#include <initializer_list>

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

}  // namespace

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
    const std::vector<store::Value> key{store::Value(bangou)};
    if (mainSource.dataSet() == &mainTable)
        return mainTable.Locate("Bangou", key);
    store::ApplyJumpRange(lawVolume, selectedRange, mainTable);
    if (!mainTable.Locate("Bangou", key))
        return false;
    mainSource.setDataSet(&mainTable);
    if (fitListColumns)
        fitListColumns();
    // Binding showed the main table from its first row; the article is looked up again.
    return mainTable.Locate("Bangou", key);
}

}  // namespace search
