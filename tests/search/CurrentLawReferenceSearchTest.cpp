// The reference search on current law: volume E imported from the standard law XML beside the
// checkout (../shared/corpus-xml), whose text marks no reference, opened by the real window. The
// links between the act and its order are those the detector found in the text. Skipped when the
// XML corpus is not there or the volume cannot be built from it.
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "SearchWindowFixture.h"
#include "display/DataGrid.h"
#include "tools/importer/AuthoringCopy.h"
#include "tools/importer/Delivery.h"
#include "tools/importer/VolumeImport.h"

using namespace searchtest;
namespace fs = std::filesystem;

namespace {

const fs::path kCurrentLaw = fs::path(SORVANE_CORPUS_DIR).parent_path() / "corpus-xml";

class CurrentLawReferenceSearch : public SearchWindow {
protected:
    // Volume E as scripts/build-current-volumes builds it on 2026-12-10 (the corpus's shohi/
    // files), delivered into the working directory; the window started on it, on its tab.
    void SetUp() override
    {
        if (!fs::exists(kCurrentLaw / "MANIFEST.tsv"))
            GTEST_SKIP() << "no current law at " << kCurrentLaw;
        try {
            std::vector<importer::ManifestEntry> laws;
            for (auto& e : importer::readManifest(kCurrentLaw / "MANIFEST.tsv"))
                if (e.page.parent_path().filename() == "shohi")
                    laws.push_back(e);
            auto imported = importer::importVolume(laws, {}, {.asOf = *importer::parseIsoDate("2026-12-10")});
            importer::writeAuthoringVolume(dir.path() / "authoring", 1, imported.volume);
            importer::deliverVolume(dir.path() / "authoring", 1, dir.path());
        } catch (const std::exception& e) {
            GTEST_SKIP() << "volume E cannot be built from " << kCurrentLaw << ": " << e.what();
        }
        startProgram(store::VolumeFiles::presentIn(dir.path()));
        showWindow(true);
        userSelectsTab(law(1).TabSheet);
    }

    // Shows the act's article, as a user picks it in the list.
    void showActArticle(const char* utf8Number)
    {
        ASSERT_TRUE(lawMain(1).Locate("KubunNo;Bangou", {store::Value(std::int64_t{110}), store::Value(cp932(utf8Number))}))
            << utf8Number;
        QTest::qWait(20);
    }

    // A left click on the second character of the first occurrence of text in the article shown.
    void clickText(const char* utf8)
    {
        RichTextView* view = law(1).RichEdit;
        const int at = view->findText(cp932(utf8), 0, -1);
        ASSERT_GE(at, 0) << utf8;
        view->setCaretPosition(at + 2);
        const QRect caret = view->cursorRect();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(caret.left() + 4, caret.center().y()));
    }

    // The rows of the list: 区分 and 条文番号＆表題 of each, UTF-8.
    QStringList listedRows()
    {
        DataGrid* grid = law(1).DBGrid;
        QStringList rows;
        for (int r = 0; r < grid->model()->rowCount(); ++r)
            rows << grid->model()->index(r, 0).data().toString() + " " + grid->model()->index(r, 1).data().toString();
        return rows;
    }

    // Answers the reference search's dialog with 政令 (when it offers a choice) and 検　索; tells
    // whether the scope was fixed to 政令 by the link.
    bool scopeFixed = false;
    void answerOrder()
    {
        answerSansyo(&window(), [this](TSansyo& d) {
            scopeFixed = !d.SansyoGroupBox1->isEnabled() && d.SansyoRadioButtonSeirei->isChecked();
            if (d.SansyoRadioButtonSeirei->isEnabled())
                d.SansyoRadioButtonSeirei->setChecked(true);
            d.SansyoRadioGroup2->setItemIndex(1);  // 何もしない with the current article
            d.SansyoOkButton->click();
        });
    }
};

}  // namespace

TEST_F(CurrentLawReferenceSearch, theActsArticle30ListsTheOrderArticlesThatCiteIt)
{
    showActArticle("３０条");
    answerOrder();
    window().BBtnKanrenJyoubun->click();
    const QStringList rows = listedRows();
    // the order's main provision cites 法第３０条 in these articles, and its 附則 in more after them
    const QStringList mainProvision{
        "消令 第５条（調整対象固定資産の範囲）",
        "消令 第２５条の５（高額特定資産の範囲等）",
        "消令 第２７条（法人課税信託等の固有事業者の基準期間における課税売上高等の特例）",
        "消令 第２８条（法人課税信託等の受託者に関する特例）",
        "消令 第２９条（特定プラットフォーム事業者が合併等を行つた場合の取扱い等）",
        "消令 第４６条（課税仕入れに係る消費税額の計算）",
        "消令 第４６条の２（輸入の許可前に引き取る課税貨物に係る消費税額の控除の時期の特例）",
        "消令 第４７条（課税売上割合に準ずる割合に係る税務署長の承認等）",
        "消令 第４７条の２（当該課税期間の課税売上高の計算における輸出取引等に係る対価の返還等の金額の取扱い）",
        "消令 第４８条（課税売上割合の計算方法）",
        "消令 第４９条（課税仕入れ等の税額の控除に係る帳簿等の記載事項等）",
        "消令 第５０条（課税仕入れ等の税額の控除に係る帳簿等の保存期間等）",
        "消令 第５０条の２（仕入れに係る消費税額の控除の対象外となる居住用賃貸建物の範囲）",
        "消令 第５１条（非課税資産の輸出等を行つた場合の課税売上割合の計算の方法等）",
        "消令 第５３条（課税売上割合が著しく変動した場合等）",
        "消令 第５３条の４（仕入れに係る消費税額の調整の対象となる居住用賃貸建物の範囲等）",
        "消令 第６６条（特定課税仕入れに係る消費税額に控除不足額が生ずる場合の申告書の記載事項）",
        "消令 第７１条の２（電磁的記録に記録された事項に関する重加算税の特例の対象となる電磁的記録の範囲等）",
        "消令 第７５条（国、地方公共団体等の仕入れに係る消費税額の特例）",
        "消令 第７６条（国、地方公共団体等の申告期限の特例）",
    };
    ASSERT_GT(rows.size(), mainProvision.size()) << rows.join("\n").toStdString();
    EXPECT_EQ(rows.mid(0, mainProvision.size()), mainProvision);
    EXPECT_EQ(rows[mainProvision.size()], "消令 附則第１２条（仕入れに係る消費税額の控除に関する経過措置）");
    for (const QString& row : rows)
        EXPECT_TRUE(row.startsWith("消令 ")) << row.toStdString();
    EXPECT_EQ(law(1).EditKey1->text(), QStringLiteral("第３０条"));
    EXPECT_EQ(law(1).EditKey2->text(), QStringLiteral("政令で定める"));
    EXPECT_TRUE(messages().empty());
}

TEST_F(CurrentLawReferenceSearch, aCabinetOrderPhraseOfTheActLeadsToTheOrderArticlesCitingItsArticle)
{
    // 第３１条第３項: …その他同条の規定の適用に関し必要な事項は、政令で定める。
    showActArticle("３１条");
    answerOrder();
    clickText("政令で定める");
    EXPECT_TRUE(scopeFixed);
    EXPECT_EQ(listedRows(), (QStringList{"消令 第１７条（輸出取引等の範囲）",
                                         "消令 第５１条（非課税資産の輸出等を行つた場合の課税売上割合の計算の方法等）"}));
    EXPECT_EQ(law(1).EditKey1->text(), QStringLiteral("第３１条"));
    EXPECT_TRUE(messages().empty());
}
