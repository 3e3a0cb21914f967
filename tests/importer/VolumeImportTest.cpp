// Import of the test volume: rows, texts as the renderer reads them, and every link checked
// against the bytes of the rendered text.
#include <gtest/gtest.h>

#include "TestVolume.h"
#include "text/Cp932.h"
#include "tools/importer/ArticleText.h"

using importertest::cp;
using importertest::testVolume;
using importertest::u8;

namespace {

using Links = std::vector<std::pair<std::string, std::string>>;

// Rows are numbered in steps of 10, so that 追加 finds room after any of them.
TEST(VolumeImport, rowsAreNumberedInVolumeOrderInStepsOfTenWithTheJumpsForms)
{
    const auto& articles = testVolume().delivery.content.articles;
    ASSERT_EQ(articles.size(), 32u);
    std::vector<std::string> got;
    for (const auto& a : articles)
        got.push_back(std::to_string(a.gyo) + " " + std::to_string(a.kubunNo) + " " + u8(a.kubun) + " " + u8(a.bangou));
    EXPECT_EQ(got, (std::vector<std::string>{
                       "10 110 見法 １条", "20 110 見法 ２条", "30 110 見法 ３条", "40 110 見法 ３条の２", "50 110 見法 ４条",
                       "60 110 見法 ５条", "70 110 見法 ６条", "80 110 見法 ７条", "90 110 見法 ８条", "100 110 見法 １０条",
                       "110 110 見法 １０条の２の２", "120 110 見法 １１条", "130 110 見法 附則１条", "140 110 見法 附則２条",
                       "150 110 見法 附則（平成２２年法律第１５号）１条", "160 110 見法 附則（平成２２年法律第１５号）３条",
                       "170 110 見法 附則（平成２３年法律第８２号）", "180 110 見法 附則（平成２５年法律第１００号）",
                       "190 110 見法 別表第１", "200 110 見法 別表第２", "210 120 見令 １条", "220 120 見令 ２条",
                       "230 120 見令 ３条", "240 120 見令 附則", "250 420 見商 １条", "260 420 見商 ２条",
                       // the old code's ノ is written の, as the jump writes it
                       "270 420 見商 ２条の２", "280 420 見商 ３条", "290 420 見商 ４条",
                       "300 420 見商 附則（明治４４年法律第７３号）", "310 420 見商 附則（昭和２５年法律第１６７号）",
                       "320 420 見商 附則（昭和２５年法律第１６７号）４２条"}));
    EXPECT_EQ(u8(articles[3].title), "第３条の２（見本所得法の特例）");
    EXPECT_EQ(u8(articles[15].title), "附則（平成２２年法律第１５号）第３条");
    EXPECT_EQ(u8(articles[18].title), "別表第１（第８条関係）");
    EXPECT_EQ(u8(articles[26].title), "第２条ノ２");
}

TEST(VolumeImport, textIsLaidOutForTheRenderersIndentClasses)
{
    struct Case {
        int code;
        const char* bangou;
        const char* honbun;
    } cases[] = {
        {110, "２条",
         "見本税法\r\n第２条（定義）\r\n"
         "１　この法律において、次の各号に掲げる用語の意義は、当該各号に定めるところによる。\r\n"
         "　一　見本取引　見本品を対価を得て渡すことをいう。\r\n"
         "　五の二　取扱者　次に掲げる者をいう。\r\n"
         "　　イ　見本品を店頭で渡す者\r\n"
         "　　ロ　見本品を郵便で送る者のうち、次に掲げるもの\r\n"
         "　　　（１）　１年に１０回以上送る者\r\n"
         "　　　　（ｉ）　１００分の５を超える割合で送る者\r\n"
         "２　前項第１号の見本品には、見本の目録を含むものとする。"},
        {110, "４条", "見本税法\r\n第４条\r\n　削除"},
        {110, "６条",
         "見本税法\r\n第６条（税率）\r\n１　見本税の税率は、１００分の６．３とする。\r\n"
         "２　第５条第１項に規定する対価の額が１万円に満たない場合の税率は、前項の規定にかかわらず、１００分の４とする。"},
        {110, "８条",
         "見本税法\r\n第８条（仕入れに係る見本税額の控除）\r\n"
         "１　事業者は、第５条から第７条までの規定により計算した税額から、予め政令で定めるところにより、仕入れに係る見本税額を控除する。\r\n"
         "２　前項の控除は、次の表（別表第１に掲げるものを除く。）の上欄に掲げる区分に応じ、同表の下欄に掲げる割合による。"
         "ただし、財務省令で定める表に掲げる事業者は、第１０条の２の２の規定によることができる。\r\n"
         "｜区分｜割合｜\r\n"
         "｜見本品｜１００分の１０｜\r\n"
         "｜｜１００分の２０　（目録を除く。）｜\r\n"
         "３　第１項の規定は、次に掲げる者には、適用しない。\r\n"
         "　一　見本取引の総額が省令で定める額を超える者であつて、次に掲げるもの\r\n"
         "　　イ　第９９条の届出をした者\r\n"
         "　　ロ　附則第２条の規定の適用を受ける者"},
        {110, "附則（平成２２年法律第１５号）１条",
         "見本税法\r\n附則（平成２２年法律第１５号）第１条（施行期日）\r\n"
         "　この法律は、公布の日から施行する。ただし、次の各号に掲げる規定は、当該各号に定める日から施行する。\r\n"
         "　一　第１条の規定　平成２２年４月１日\r\n"
         "　二から四まで　略"},
        {110, "附則（平成２３年法律第８２号）",
         "見本税法\r\n附則（平成２３年法律第８２号）\r\n（施行期日）\r\n１　この法律は、平成２４年１月１日から施行する。\r\n"
         "（適用区分）\r\n２　この法律による改正後の第６条の規定は、この法律の施行の日以後に行う見本取引について適用する。"},
        {110, "附則（平成２５年法律第１００号）",
         "見本税法\r\n附則（平成２５年法律第１００号）\r\n"
         "　この法律は、次の各号に掲げる区分に応じ、当該各号に定める日から施行する。\r\n"
         "　一　第２条の規定　公布の日\r\n"
         "　二　前号に掲げる規定以外の規定　平成２６年４月１日"},
        {110, "別表第１",
         "見本税法\r\n別表第１（第８条関係）\r\n"
         "　一　見本品のうち次に掲げるもの\r\n"
         "　　イ　紙で作られたもの\r\n"
         "　　　（１）　１００枚以下のもの\r\n"
         "　二　見本の目録\r\n"
         "｜目録の種類｜部数｜"},
        {110, "別表第２", "見本税法\r\n別表第２（第８条―第１０条関係）\r\n　（略）"},
        {420, "１条", "見本商法\r\n第１条\r\n１　本法ハ見本ノ商ヒニ之ヲ適用ス\r\n２　本法ニ規定ナキ事項ニ付テハ慣ハシニ従フ"},
        {420, "附則（明治４４年法律第７３号）", "見本商法\r\n附則（明治４４年法律第７３号）\r\n　本法改正ノ施行期日ハ別ニ之ヲ定ム"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(u8(testVolume().article(c.code, c.bangou).honbun), c.honbun) << c.bangou;
}

TEST(VolumeImport, everyLinkCoversExactlyItsTextInTheRenderedArticle)
{
    struct Case {
        int code;
        const char* bangou;
        Links links;
    } cases[] = {
        {110, "３条", {{"前条第１項第５号の２", "110 ２条"}}},
        {110, "３条の２", {{"第４条", "110 ４条"}}},  // the link to a law outside the volume is no link
        {110, "５条", {{"次条", "110 ６条"}, {"第７条", "110 ７条"}}},
        {110, "７条", {{"前条第２項", "110 ６条"}, {"同条第１項", "110 ６条"}}},
        {110, "８条",
         {{"第５条", "110 ５条"},
          {"第７条", "110 ７条"},
          {"政令で定める", "-1"},
          {"別表第１", "110 別表第１"},
          {"財務省令で定める", "-2"},
          {"第１０条の２の２", "110 １０条の２の２"},
          {"省令で定める", "-2"},
          {"附則第２条", "110 附則２条"}}},
        {110, "１０条", {{"次条", "110 １０条の２の２"}}},
        {110, "１０条の２の２",
         {{"第８条第２項", "110 ８条"}, {"第５条第２項", "110 ５条"}, {"第３条", "110 ３条"}, {"第５条", "110 ５条"}}},
        {110, "附則２条", {{"前条", "110 附則１条"}, {"第６条", "110 ６条"}}},
        {110, "附則（平成２２年法律第１５号）１条", {}},  // an amending act cites its own articles
        {110, "附則（平成２２年法律第１５号）３条", {{"附則第１条第１号", "110 附則（平成２２年法律第１５号）１条"}}},
        {110, "別表第２", {{"第８条", "110 ８条"}, {"第１０条", "110 １０条"}}},  // in the caption line
        {120, "１条", {{"第２条第１項第１号", "110 ２条"}}},
        {120, "２条",
         {{"法第８条第１項", "110 ８条"},
          {"法第５条第１項", "110 ５条"},
          {"第６条", "110 ６条"},  // the list goes on with the act
          {"同条第２項", "110 ６条"},
          {"財務省令で定める", "-2"},  // an order's 政令で定める is no link
          {"法第２章", "110 ５条"},    // a heading: its first article
          {"法別表第１", "110 別表第１"}}},
        {120, "３条", {{"前条第１項", "120 ２条"}}},
        {120, "附則", {{"法第８条第１項", "110 ８条"}}},  // 法 as the order's first article defines it
        {420, "２条の２", {{"前条", "420 ２条"}, {"第１条", "420 １条"}}},
        {420, "４条", {{"第２条ノ２", "420 ２条の２"}}},
        {420, "附則（昭和２５年法律第１６７号）", {{"政令で定める", "-1"}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(testVolume().links(c.code, c.bangou), c.links) << c.code << " " << c.bangou;
}

TEST(VolumeImport, linksAroundAndOverBackslashSecondBytes)
{
    // 表 is 95 5C and ― is 81 5C: their second byte is a backslash.
    const auto& v = testVolume();
    auto runsOf = [&](const store::LawArticleRecord& a) {
        std::vector<store::LawLinkRecord> runs;
        for (const auto& l : v.delivery.content.links)
            if (l.gyo == a.gyo)
                runs.push_back(l);
        return runs;
    };
    auto runAt = [&](const std::vector<store::LawLinkRecord>& runs, const std::string& rendered, std::size_t at) {
        for (const auto& r : runs)
            if (static_cast<std::size_t>(r.sel) == at)
                return r;
        ADD_FAILURE() << "no link at " << at << " of " << u8(rendered);
        return store::LawLinkRecord{};
    };
    const auto& eighth = v.article(110, "８条");
    std::string rendered = text::joinLinesCrLf(text::splitLines(eighth.honbun));
    auto runs = runsOf(eighth);
    auto ministry = runAt(runs, rendered, text::find(rendered, cp("財務省令で定める")));
    EXPECT_EQ(ministry.length, 16);
    EXPECT_EQ(rendered.substr(static_cast<std::size_t>(ministry.sel + ministry.length), 2), "\x95\x5C");  // 表 just after
    auto table = runAt(runs, rendered, text::find(rendered, cp("別表第１")));
    EXPECT_EQ(table.length, 8);
    EXPECT_EQ(rendered.substr(static_cast<std::size_t>(table.sel), 8), "\x95\xCA\x95\x5C\x91\xE6\x82\x50");  // 表 inside
    int rows = 0;
    for (const auto& r : runs)
        rows += r.length;
    EXPECT_EQ(rows, 6 + 6 + 12 + 8 + 16 + 16 + 12 + 10);  // every byte of every run, both bytes of each character

    // 第８条―第１０条 in a caption: ― right after one link and right before the next
    const auto& second = v.article(110, "別表第２");
    rendered = text::joinLinesCrLf(text::splitLines(second.honbun));
    runs = runsOf(second);
    ASSERT_EQ(runs.size(), 2u);
    std::size_t eight = text::find(rendered, cp("第８条"));
    std::size_t ten = text::find(rendered, cp("第１０条"));
    EXPECT_EQ(runAt(runs, rendered, eight).length, 6);
    EXPECT_EQ(runAt(runs, rendered, ten).length, 8);
    EXPECT_EQ(rendered.substr(eight + 6, 2), "\x81\x5C");
    EXPECT_EQ(ten, eight + 8);
    // a byte search for 5C would have found the middle of ―, never a link boundary
    EXPECT_EQ(rendered.find('\\', eight), eight + 7);
}

TEST(VolumeImport, referenceIndexListsTheOrderArticlesCitingAnAct)
{
    const auto& v = testVolume();
    int eighth = v.article(110, "８条").gyo;
    std::vector<std::pair<int, int>> citing;
    for (const auto& r : v.delivery.content.references)
        if (r.mainGyo == eighth)
            citing.emplace_back(r.gyo, r.kubunNo);
    EXPECT_EQ(citing, (std::vector<std::pair<int, int>>{{v.article(110, "１０条の２の２").gyo, 110},
                                                        {v.article(110, "別表第１").gyo, 110},
                                                        {v.article(110, "別表第２").gyo, 110},
                                                        {v.article(120, "２条").gyo, 120},
                                                        {v.article(120, "附則").gyo, 120}}));
    // a reference-search link is no reference
    for (const auto& r : v.delivery.content.references)
        EXPECT_NE(r.gyo, r.mainGyo);
}

TEST(VolumeImport, summaryCountsLinksAndReferencesThatFoundNoTarget)
{
    const auto& laws = testVolume().imported.laws;
    ASSERT_EQ(laws.size(), 3u);
    const auto& act = laws[0];
    EXPECT_EQ(act.articles, 12);
    EXPECT_EQ(act.deletedArticles, 1);
    EXPECT_EQ(act.supplementaryRows, 6);
    EXPECT_EQ(act.supplementaryBlocks, 4);
    EXPECT_EQ(act.appendedRows, 2);
    EXPECT_EQ(act.pageLinks, 2);
    EXPECT_EQ(act.pageLinksOutside, 2);
    EXPECT_EQ(act.references, 27);
    EXPECT_EQ(act.referencesLinked, 23);
    EXPECT_EQ(act.referencesOtherLaw, 3);
    EXPECT_EQ(act.referencesNoTarget, 1);
    EXPECT_EQ(act.unresolved, (std::vector<std::string>{"８条 → 第９９条"}));
    EXPECT_EQ(act.scopeLinksOrder, 1);
    EXPECT_EQ(act.scopeLinksMinistry, 3);
    EXPECT_EQ(act.replacedCharacters, 0u);
    const auto& order = laws[1];
    EXPECT_EQ(order.pageLinks, 10);
    EXPECT_EQ(order.pageLinksMade, 6);
    EXPECT_EQ(order.pageLinksNameOnly, 1);
    EXPECT_EQ(order.pageLinksOutside, 1);
    EXPECT_EQ(order.pageLinksNoTarget, 2);
    EXPECT_EQ(order.unresolved, (std::vector<std::string>{"２条 → 見法 法第九十九条", "２条 → 見法 法附則"}));
    EXPECT_EQ(importer::summaryLine(act),
              "見本税法 (110): 条文 12 (削除 1), 附則 6 行 (4 件), 別表等 2; ページのリンク 2 件中 0 件をリンク (他の巻の法令 2, "
              "法令名のみ 0, 参照先なし 0); 本文中の参照 27 件中 23 件をリンク (自条 0, 他の巻の法令 0, 法令名なし・改正 3, "
              "引用文中 0, 参照先なし 1); "
              "参照検索 政令 1, 省令 3; 置換した文字 0");
}

TEST(VolumeImport, authoringRowsKeepTheEditorsFieldsAndPlaceLinksByOccurrence)
{
    const auto& v = testVolume().imported.volume;
    const importer::AuthoringArticle* tenth = nullptr;
    for (const auto& a : v.articles)
        if (a.code == 110 && a.number == cp("１０条の２の２"))
            tenth = &a;
    ASSERT_TRUE(tenth);
    EXPECT_EQ(tenth->key, 11);
    EXPECT_EQ(tenth->row, 110.0);
    EXPECT_EQ(u8(tenth->caption), "簡易な計算");  // without its parentheses
    EXPECT_EQ(u8(tenth->content).substr(0, 6), "　第");
    std::vector<std::tuple<std::string, int, std::string, int>> links;
    for (const auto& l : v.links)
        if (l.key == tenth->key)
            links.emplace_back(u8(l.condition), l.targetCode, u8(l.targetNumber), l.occurrence.value_or(0));
    // 第５条 is met first inside 第５条第２項: the range's end is its second occurrence
    EXPECT_EQ(links, (std::vector<std::tuple<std::string, int, std::string, int>>{
                         {"第８条第２項", 110, "８条", 1},
                         {"第５条第２項", 110, "５条", 1},
                         {"第３条", 110, "３条", 1},
                         {"第５条", 110, "５条", 2}}));
    // reference-search links carry the negative volume; the master names the three laws
    int negative = 0;
    for (const auto& l : v.links)
        if (l.zeimoku)
            ++negative;
    EXPECT_EQ(negative, 6);
    ASSERT_EQ(v.master.size(), 3u);
    EXPECT_EQ(u8(v.master[1].officialName), "見本税法施行令");
    EXPECT_EQ(u8(v.master[1].kubun), "見令");
}

TEST(VolumeImport, outlineNestsChaptersSectionsBlocksAndTables)
{
    const auto& d = testVolume().delivery.content;
    std::string text = u8(store::outlineFileText(d.outline));
    std::string expectedStart =
        "見本税法\r\n\t第１章　総則\r\n\t\t第１条（趣旨）\r\n\t\t第２条（定義）\r\n\t\t第３条\r\n"
        "\t\t第３条の２（見本所得法の特例）\r\n\t\t第４条\r\n\t第２章　課税標準及び税率\r\n\t\t第１節　課税標準\r\n"
        "\t\t\t第５条（課税標準）\r\n\t\t第２節　税率\r\n\t\t\t第６条（税率）\r\n\t\t\t第７条\r\n";
    EXPECT_EQ(text.substr(0, expectedStart.size()), expectedStart);
    std::string supplementary =
        "\t附則\r\n\t\t附則\r\n\t\t\t附則第１条（施行期日）\r\n\t\t\t附則第２条（経過措置）\r\n"
        "\t\t附則（平成２２年３月３１日法律第１５号）　抄\r\n\t\t\t附則（平成２２年法律第１５号）第１条（施行期日）\r\n"
        "\t\t\t附則（平成２２年法律第１５号）第３条\r\n\t\t附則（平成２３年６月３０日法律第８２号）　抄\r\n"
        "\t\t\t附則（平成２３年法律第８２号）\r\n\t\t附則（平成２５年１０月３０日法律第１００号）\r\n"
        "\t\t\t附則（平成２５年法律第１００号）\r\n\t別表\r\n\t\t別表第１（第８条関係）\r\n\t\t別表第２（第８条―第１０条関係）\r\n"
        "見本税法施行令\r\n\t第１条（定義）\r\n\t第２条（控除の計算）\r\n\t第３条\r\n\t附則\r\n\t\t附則\r\n見本商法\r\n\t第１編　総則\r\n";
    EXPECT_NE(text.find(supplementary), std::string::npos) << text;
    // every article has its node, and the node's line is the article's title
    ASSERT_EQ(d.treePositions.size(), d.articles.size());
    for (std::size_t i = 0; i < d.articles.size(); ++i) {
        const auto& t = d.treePositions[i];
        EXPECT_EQ(t.gyo, d.articles[i].gyo);
        EXPECT_EQ(d.outline[static_cast<std::size_t>(t.treeId)].caption, d.articles[i].title);
    }
    // a node is at most one level below the one before it
    for (std::size_t i = 1; i < d.outline.size(); ++i)
        EXPECT_LE(d.outline[i].depth, d.outline[i - 1].depth + 1) << i;
}

}  // namespace
