// The list grids over the volumes' data sources: the rows and titles they show, the selection
// following the data set, a chosen row moving the data set (and the article display with it),
// and the grid following a rebinding or a filter.
#include <QHeaderView>
#include <QItemSelectionModel>

#include "ProgramFixture.h"
#include "display/ArticleRenderer.h"
#include "display/DataGrid.h"
#include "display/RichTextView.h"
#include "store/Houjin.h"
#include "store/Query.h"
#include "store/Table.h"
#include "text/QtText.h"

using namespace apptest;

namespace {

QStringList columnTexts(DataGrid* grid, int column)
{
    QStringList texts;
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        texts << grid->model()->index(r, column).data().toString();
    return texts;
}

QStringList titles(DataGrid* grid)
{
    QStringList texts;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        texts << grid->model()->headerData(c, Qt::Horizontal).toString();
    return texts;
}

}  // namespace

using ListGrid = ProgramTest;

TEST_F(ListGrid, showsTheVolumesArticlesUnderTheirTitles)
{
    writeProductVolumes();
    start(store::VolumeFiles::productDefault());
    showWindow();
    DataGrid* grid = registry().law[1].DBGrid;
    EXPECT_EQ(grid->objectName(), "SyohiDBGrid");
    EXPECT_EQ(titles(grid), (QStringList{"区分", "条文番号＆表題"}));
    EXPECT_EQ(columnTexts(grid, 0), (QStringList{"消法", "消法", "消法", "消法"}));
    EXPECT_EQ(columnTexts(grid, 1), (QStringList{"第１条（趣旨）", "第２条（趣旨）", "第３条（趣旨）", "第４条（趣旨）"}));
    EXPECT_EQ(grid->selectionModel()->currentIndex().row(), 0);
    QFont rowFont = grid->model()->index(0, 1).data(Qt::FontRole).value<QFont>();
    EXPECT_TRUE(rowFont.bold());
    EXPECT_EQ(rowFont.pixelSize(), 16);
    EXPECT_EQ(grid->model()->index(0, 1).data(Qt::ForegroundRole).value<QColor>(), QColor(0, 0, 255));
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(grid->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(grid->horizontalHeader()->sectionResizeMode(1), QHeaderView::Interactive);
}

TEST_F(ListGrid, bookGridsShowTheirFourColumns)
{
    writeProductVolumes();
    writeBookVolume('B');
    start(flags({1, 0, 0, 1, 1, 1}, {0, 1, 1}));
    showWindow();
    DataGrid* grid = registry().book[0].DBGrid;
    EXPECT_EQ(titles(grid), (QStringList{"書籍略称", "号", "ﾍﾟｰｼﾞ", "問題番号＆目次"}));
    EXPECT_EQ(columnTexts(grid, 0), (QStringList{"基通", "税通", "税通"}));
    EXPECT_EQ(columnTexts(grid, 2), (QStringList{"12.5", "30", "31"}));
    EXPECT_EQ(columnTexts(grid, 3), (QStringList{"　問１　寄附金の範囲", "問２　交際費の損金算入", "問３　役員給与"}));
    EXPECT_EQ(grid->model()->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight,
              Qt::AlignRight);
    EXPECT_EQ(grid->columnWidth(0), 126);
    EXPECT_EQ(grid->columnWidth(1), 41);
    EXPECT_EQ(grid->columnWidth(2), 62);
}

TEST_F(ListGrid, choosingARowMovesTheDataSetAndTheArticleFollows)
{
    writeProductVolumes();
    start(store::VolumeFiles::productDefault());
    showWindow();
    DataGrid* grid = registry().law[1].DBGrid;
    grid->selectionModel()->setCurrentIndex(grid->model()->index(2, 1),
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    EXPECT_EQ(registry().tables.law[1].mainTable->RecNo(), 2);
    EXPECT_EQ(registry().tables.law[1].subTable->IntegerField("Gyo"), 3);
    EXPECT_EQ(registry().law[1].RichEdit->plainText(), cp932("第３条　消費税法の本文３\r\n２　前項の規定は適用しない。\r\n"));

    // A move made from code shows in the grid, and the highlight words colour the new article.
    registry().law[1].HighlightWord1 = cp932("本文");
    registry().tables.law[1].mainTable->Next();
    EXPECT_EQ(grid->selectionModel()->currentIndex().row(), 3);
    display::ArticleRenderInput fourth;
    fourth.honbun = cp932("第４条　消費税法の本文４\r\n２　前項の規定は適用しない。\r\n");
    fourth.kubunNo = 110;
    fourth.highlightWord1 = cp932("本文");
    EXPECT_EQ(registry().law[1].ArticleRtf, display::RenderArticle(fourth));
}

TEST_F(ListGrid, followsTheSourceWhenItIsRefilteredOrRebound)
{
    writeProductVolumes();
    start(store::VolumeFiles::productDefault());
    showWindow();
    DataGrid* grid = registry().law[1].DBGrid;
    store::Table* mainTable = registry().tables.law[1].mainTable;
    mainTable->SetFilter("Gyo >= 3");
    mainTable->SetFiltered(true);
    EXPECT_EQ(columnTexts(grid, 1), (QStringList{"第３条（趣旨）", "第４条（趣旨）"}));

    // A search result bound to the source: its look-up columns fill the grid.
    store::Query* result = registry().tables.lawQueryPool[0];
    store::pointLawQueryLookups(*result, mainTable);
    result->SetSQL({"SELECT DISTINCT Gyo,KubunNo ", "FROM E2.db ", "WHERE Gyo <= 2 ", "ORDER BY Gyo "});
    result->Open();
    registry().tables.law[1].mainSource->setDataSet(result);
    EXPECT_EQ(columnTexts(grid, 1), (QStringList{"第１条（趣旨）", "第２条（趣旨）"}));
    EXPECT_EQ(columnTexts(grid, 0), (QStringList{"消法", "消法"}));
    EXPECT_EQ(grid->columnWidth(0), 62);
    EXPECT_EQ(registry().law[1].RichEdit->plainText(), cp932("第１条　消費税法の本文１\r\n２　前項の規定は適用しない。\r\n"));

    result->Close();
    EXPECT_EQ(grid->model()->rowCount(), 0);
}
