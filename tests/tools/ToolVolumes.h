// The small volumes the commands of tools/ are run on: a 消費税 volume (E) whose articles share
// numbers across an act and its order, hold a quote, a "%" and a "表" (95 5C), and carry links;
// and a 法人税 volume (A) for the index-flag line.
#pragma once

#include <filesystem>
#include <string>

#include "display/ArticleRenderer.h"
#include "store/VolumeWriter.h"
#include "text/Cp932.h"

namespace testsupport {

// UTF-8 here, code page 932 in the files.
struct ArticleText {
    int gyo;
    int kubunNo;
    const char* kubun;
    const char* bangou;
    const char* title;
    const char* honbun;
};

inline const ArticleText kShohiArticles[] = {
    {1, 110, "消法", "１条", "第一条（趣旨）", "第一条　この法律は、消費税について定める。"},
    {2, 110, "消法", "３０条", "第三十条（仕入れに係る消費税額の控除）",
     "第三十条　事業者が国内において行う課税仕入れについては、第二条の規定により控除する。\r\n"
     "２　前項の課税仕入れに係るリ－ス取引の期間は、３５年とする。"},
    {3, 110, "消法", "３０条の２", "第三十条の二（特例）",
     "第三十条の二　甲'乙の課税仕入れは、その１００%を控除する。\r\n（表に掲げるもの）"},
    {4, 120, "消令", "３０条", "第三十条（控除の特例）", "第三十条　法第三十条の課税仕入れの金額は、１００円を単位とする。"},
    {5, 710, "措法", "８６条", "第八十六条（消費税の課税仕入れ）", "第八十六条　課税仕入れに係る特例。"},
    {6, 110, "消法", "附則３条", "附則第三条（経過措置）",
     "附則第三条　この法律の施行前の課税仕入れについては、なお従前の例による。"},
};

// A link over the first occurrence of a phrase of an article's text.
struct LinkText {
    int gyo;
    const char* phrase;
    int goGyo;
    int zeimoku;
};

// Gyo 2 has two links that touch ("前項" then "の課税"), gyo 3 one at its first byte: the rows
// of gyo 3 follow those of gyo 2 in the link table.
inline const LinkText kShohiLinks[] = {
    {2, "第二条", 1, 1},
    {2, "前項", 2, 1},
    {2, "の課税仕入れに係る", 5, 1},
    {3, "第三十条の二", 3, 1},
};

inline const ArticleText& shohiArticle(int gyo)
{
    for (const auto& a : kShohiArticles)
        if (a.gyo == gyo)
            return a;
    throw std::logic_error("no such article in the test volume");
}

inline int selOf(const LinkText& link)
{
    const std::string articleText = display::ArticleTextOf(text::cp932(shohiArticle(link.gyo).honbun));
    return static_cast<int>(text::find(articleText, text::cp932(link.phrase)));
}

inline store::LawVolumeContent shohiVolume()
{
    store::LawVolumeContent v;
    v.letter = 'E';
    for (const auto& a : kShohiArticles) {
        v.articles.push_back({a.gyo, a.kubunNo, text::cp932(a.kubun), text::cp932(a.bangou), text::cp932(a.title),
                              text::cp932(a.honbun)});
        v.treePositions.push_back({a.gyo, a.gyo});
    }
    for (const auto& l : kShohiLinks)
        v.links.push_back({l.gyo, selOf(l), static_cast<int>(text::cp932(l.phrase).size()), l.goGyo, l.zeimoku});
    v.outline = {{0, text::cp932("消費税法")}};
    return v;
}

inline store::LawVolumeContent houjinVolume()
{
    store::LawVolumeContent v;
    v.letter = 'A';
    v.articles.push_back({1, 10, text::cp932("法法"), text::cp932("２２条"), text::cp932("第二十二条（金利）"),
                          text::cp932("第二十二条　金利の額は、益金の額に算入する。")});
    v.articles.push_back({2, 10, text::cp932("法法"), text::cp932("２３条"), text::cp932("第二十三条（受取配当）"),
                          text::cp932("第二十三条　受取配当等の額は、益金の額に算入しない。")});
    v.treePositions = {{1, 1}, {2, 2}};
    v.outline = {{0, text::cp932("法人税法")}};
    return v;
}

// The render input of a shohi article as the tables hold it: one link row per byte of link text,
// in ascending Sel.
inline display::ArticleRenderInput shohiRenderInput(int gyo)
{
    display::ArticleRenderInput input;
    input.honbun = text::cp932(shohiArticle(gyo).honbun);
    input.kubunNo = shohiArticle(gyo).kubunNo;
    for (const auto& l : kShohiLinks)
        if (l.gyo == gyo)
            for (int k = 0; k < static_cast<int>(text::cp932(l.phrase).size()); ++k)
                input.links.push_back({selOf(l) + k, l.goGyo, l.zeimoku});
    return input;
}

}  // namespace testsupport
