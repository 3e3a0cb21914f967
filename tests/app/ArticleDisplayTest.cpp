// The article display's reading of the link table: the rows of one article, in order, and
// nothing of the next article's.
#include <gtest/gtest.h>

#include "display/ArticleDisplay.h"
#include "store/Table.h"
#include "store/VolumeWriter.h"
#include "support/TempDir.h"
#include "text/Cp932.h"

namespace {

struct Row {
    int sel, goGyo, zeimoku;
    bool operator==(const Row&) const = default;
};

std::vector<Row> rowsOf(store::Table& links, long long gyo)
{
    std::vector<Row> rows;
    for (const display::ArticleLinkRow& r : display::linkRowsOfArticle(links, gyo))
        rows.push_back({r.sel, r.goGyo, r.zeimoku});
    return rows;
}

}  // namespace

TEST(ArticleDisplay, linkRowsAreThoseOfTheArticleOnly)
{
    testsupport::TempWorkingDir dir;
    store::LawVolumeContent v;
    v.letter = 'E';
    for (int gyo = 1; gyo <= 3; ++gyo)
        v.articles.push_back({gyo, 110, text::cp932("消法"), "", "", text::cp932("本文") + "\r\n"});
    v.links = {{2, 10, 2, 3, 1}, {1, 4, 3, 2, 1}, {2, 0, 1, 1, -1}};
    v.outline = {{0, "A"}};
    store::writeLawVolume(dir.path(), v);

    store::Table links("SLinkTable");
    links.SetTableName("E4.db");
    links.SetIndexFieldNames("Gyo");
    links.Open();
    EXPECT_EQ(rowsOf(links, 1), (std::vector<Row>{{4, 2, 1}, {5, 2, 1}, {6, 2, 1}}));
    EXPECT_EQ(rowsOf(links, 2), (std::vector<Row>{{0, 1, -1}, {10, 3, 1}, {11, 3, 1}}));
    EXPECT_EQ(rowsOf(links, 3), (std::vector<Row>{}));
}
