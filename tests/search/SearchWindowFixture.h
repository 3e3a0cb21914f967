// The main window started offscreen on small volumes written for the searches: acts, orders,
// ordinances and circulars whose texts refer to each other, with the recording platform (its
// clock can move on by a set step whenever it is read) and a way to answer the modal dialog of
// the reference search.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "app/BuildVariant.h"
#include "app/Startup.h"
#include "app/TMain.h"
#include "display/RichTextView.h"
#include "platform/RecordingPlatform.h"
#include "search/TSansyo.h"
#include "store/DataSource.h"
#include "store/Query.h"
#include "store/Table.h"
#include "store/VolumeWriter.h"
#include "support/MainWindowFixture.h"
#include "text/Cp932.h"
#include "text/QtText.h"

namespace searchtest {

using text::cp932;

// The recording platform whose clock moves on by a set step after every read, so that a search
// that reads it when it starts and when it stops takes exactly one step.
class SteppingClockPlatform : public RecordingPlatform {
public:
    std::int64_t tickCount() override
    {
        const std::int64_t now = RecordingPlatform::tickCount();
        advanceTickCount(m_step);
        return now;
    }
    void setStepPerRead(std::int64_t milliseconds) { m_step = milliseconds; }
    // The user takes this long to read and close each message box.
    void showMessage(const std::string& text) override
    {
        RecordingPlatform::showMessage(text);
        advanceTickCount(m_reading);
    }
    void setMessageReadingTime(std::int64_t milliseconds) { m_reading = milliseconds; }

private:
    std::int64_t m_step = 0;
    std::int64_t m_reading = 0;
};

inline store::LawArticleRecord article(int gyo, int kubunNo, const char* kubun, const char* bangou, const char* honbun)
{
    return {gyo, kubunNo, cp932(kubun), cp932(bangou), cp932(bangou), cp932(honbun) + "\r\n"};
}

inline store::LawVolumeContent lawVolume(char letter, std::vector<store::LawArticleRecord> articles,
                                         std::vector<store::LawReferenceRecord> references = {})
{
    store::LawVolumeContent v;
    v.letter = letter;
    v.outline.push_back({0, cp932("目次")});
    for (std::size_t i = 0; i < articles.size(); ++i) {
        v.treePositions.push_back({articles[i].gyo, static_cast<int>(i) + 1});
        v.outline.push_back({1, articles[i].bangou});
    }
    v.articles = std::move(articles);
    v.references = std::move(references);
    return v;
}

// 法人税: acts, orders, a circular and the numbers the article-number jump rewrites to.
inline store::LawVolumeContent houjinVolume()
{
    return lawVolume('A', {
        article(1, 10, "法法", "２２条", "第２２条　減価償却資産の償却費は、損金の額に算入する。"),
        article(2, 10, "法法", "３１条", "第３１条　減価償却資産の償却費には金利を含めない。"),
        article(3, 20, "法令", "４８条", "第４８条　減価償却資産の償却の方法は、定額法とする。"),
        article(4, 40, "法基通", "７－１－１", "７－１－１　減価償却資産の範囲"),
        article(5, 10, "法法", "３５条", "第３５条　D'Arcy方式による５%の割合とし、A_B欄に記載する。"),
        article(6, 20, "法令", "３５条", "第３５条　法第３５条に規定する政令で定める割合は、AxB欄による。"),
        article(7, 10, "法法", "３５条の２", "第３５条の２　５０%の割合とする。"),
        article(8, 10, "法法", "３５条の２の３", "第３５条の２の３　特例"),
        article(9, 40, "法基通", "２－１", "２－１　通達"),
        article(10, 10, "法法", "附則３条", "附則第３条　経過措置"),
        article(11, 10, "法法", "附則第３条", "附則第３条　旧経過措置"),
        article(12, 10, "法法", "別表第一", "別表第一　公共法人の表"),
        article(13, 70, "耐令", "付表１", "付表１　耐用年数の表"),
    });
}

// 消費税: 第３０条 of the act, the order and ordinance provisions that refer to it, and a
// circular with an individual circular that refers to it.
inline store::LawVolumeContent syohiVolume()
{
    return lawVolume(
        'E',
        {
            article(10, 110, "消法", "１条", "第１条　この法律は、消費税について定める。"),
            article(1234, 110, "消法", "３０条",
                    "第３０条　事業者が国内において行う課税仕入れに係る消費税額は、政令で定めるところにより控除する。"),
            article(1300, 110, "消法", "３５条", "第３５条　リ－ス取引の対価の額は、財務省令で定める。"),
            article(2000, 120, "消令", "４６条", "第４６条　法第３０条第１項に規定する政令で定めるものは、次のとおりとする。"),
            article(2001, 120, "消令", "４７条", "第４７条　法第３０条に規定する政令で定める事項は、財務省令で定める。"),
            article(2500, 130, "消規", "１５条",
                    "第１５条　法第３０条及び令第４６条に規定する財務省令で定める書類は、帳簿とする。"),
            article(3000, 140, "消基通", "１１－１－１", "１１－１－１　法第３０条の規定は、課税仕入れについて適用する。"),
            article(3001, 150, "消個通", "５", "５　＊印の付いた１１－１－１の取扱いは、個別の通達による。"),
        },
        {{2000, 120, 1234}, {2001, 120, 1234}, {2500, 130, 1234}, {3000, 140, 1234}, {2500, 130, 2000},
         {3001, 150, 3000}});
}

// 会社法民法: the company act, the old commercial code's numbering and an ordinance.
inline store::LawVolumeContent genVolume()
{
    return lawVolume('G',
                     {
                         article(101, 410, "会社法", "１条", "第１条　会社の設立は、法務省令で定める。"),
                         article(102, 910, "旧商法", "２０４条ノ２", "第二百四条ノ二　株式の譲渡"),
                         article(103, 460, "会社規", "２条", "第２条　法第１条に規定する法務省令で定める事項"),
                     },
                     {{103, 460, 101}});
}

// 相続税: a 財産評価基本通達 item numbered without "条".
inline store::LawVolumeContent zokuVolume()
{
    return lawVolume('I', {
                              article(201, 310, "相法", "１２条", "第１２条　非課税財産"),
                              article(202, 350, "財基通", "１２", "１２　土地の評価"),
                          });
}

// 国通徴印紙: 国税通則法 articles and a circular of it holding the same kind of numbers.
inline store::LawVolumeContent minVolume()
{
    return lawVolume('K', {
                              article(301, 160, "国通", "２条", "第２条　国税の定義"),
                              article(302, 190, "国通通", "３条", "第３条関係　国税の取扱い"),
                              article(303, 260, "国徴", "２条", "第２条　国税徴収の定義"),
                          });
}

inline store::BookVolumeContent hbooksVolume()
{
    store::BookVolumeContent b;
    b.letter = 'B';
    b.entries = {{10, 1, 1, cp932("基通"), "1", 12, cp932("問１　寄附金の範囲")},
                 {11, 20, 2, cp932("税通"), "2", 12, cp932("問２　リ－ス取引の交際費")},
                 {12, 20, 2, cp932("税通"), "3", 31, cp932("問３　役員給与")},
                 {13, 60, 3, cp932("裁決"), "4", 40, cp932("問４　仕入税額控除")},
                 {14, 60, 3, cp932("裁決"), "5", 41, cp932("問５　＊印の付いた項目")},
                 {15, 1, 1, cp932("基通"), "6", 50, cp932("問６　第２条の解説")}};
    b.books = {{1, 1, cp932("法人税基本通達逐条解説"), cp932("十訂版"), cp932("税務研究会")},
               {20, 2, cp932("週刊税務通信"), cp932("第３０００号"), cp932("税務研究会")},
               {60, 3, cp932("裁決事例集"), cp932("第１集"), cp932("研究会")}};
    // An article of 消費税, one of an absent volume, one outside the law volumes, one missing.
    b.jumps = {{10, 1234, 1}, {12, 1, 0}, {13, 1, 9}, {15, 9999, 1}};
    b.urls = {{11, "https://example.invalid/a.pdf"}, {12, "https://example.invalid/never.pdf"}};
    return b;
}

// Flags from six law digits and three book digits, 1 = absent.
inline store::VolumeFiles flags(std::array<int, 6> law, std::array<int, 3> book = {1, 1, 1})
{
    store::VolumeFiles f;
    f.LawVolumeAbsent = law;
    f.BookVolumeAbsent = book;
    return f;
}

class SearchWindow : public testsupport::MainWindowFixture<SteppingClockPlatform> {
protected:

    // Every volume above written; the window started on the given ones and shown.
    void startOn(const store::VolumeFiles& files)
    {
        store::writeLawVolume(dir.path(), houjinVolume());
        store::writeLawVolume(dir.path(), syohiVolume());
        store::writeLawVolume(dir.path(), genVolume());
        store::writeLawVolume(dir.path(), zokuVolume());
        store::writeLawVolume(dir.path(), minVolume());
        store::writeBookVolume(dir.path(), hbooksVolume());
        startProgram(files);
        showWindow(true);
    }

    LawVolumeEntry& law(int v) { return registry().law[static_cast<std::size_t>(v)]; }
    BookVolumeEntry& book(int b) { return registry().book[static_cast<std::size_t>(b)]; }
    store::Table& lawMain(int v) { return *registry().tables.law[static_cast<std::size_t>(v)].mainTable; }
    store::Table& bookMain(int b) { return *registry().tables.book[static_cast<std::size_t>(b)].mainTable; }
    store::DataSet* lawShown(int v) { return registry().tables.law[static_cast<std::size_t>(v)].mainSource->dataSet(); }
    store::DataSet* bookShown(int b) { return registry().tables.book[static_cast<std::size_t>(b)].mainSource->dataSet(); }

    // The Gyo (BookSeq) of every row the list shows, in list order.
    static std::vector<std::int64_t> keysOf(store::DataSet* shown, const char* field)
    {
        std::vector<std::int64_t> keys;
        const int column = shown->FieldIndex(field);
        for (int row = 0; row < shown->RecordCount(); ++row)
            keys.push_back(shown->ValueAt(row, column).asInteger());
        return keys;
    }
    std::vector<std::int64_t> listedGyo(int v) { return keysOf(lawShown(v), "Gyo"); }
    std::vector<std::int64_t> listedBookSeq(int b) { return keysOf(bookShown(b), "BookSeq"); }
    std::int64_t currentGyo(int v) { return lawShown(v)->IntegerField("Gyo"); }

    void moveTo(int v, int gyo) { ASSERT_TRUE(lawMain(v).Locate("Gyo", {store::Value(std::int64_t{gyo})})); }
    void userSelectsTab(QWidget* tab) { window().MainPageControl->setCurrentWidget(tab); }
    void userSelectsRange(QComboBox* combo, const char* utf8Label)
    {
        const int index = combo->findText(QString::fromUtf8(utf8Label));
        ASSERT_GE(index, 0) << utf8Label;
        combo->setCurrentIndex(index);
        emit combo->activated(index);
    }
    // A range item chosen the way a search sees it, without the list being narrowed.
    static void selectRangeItem(QComboBox* combo, const char* utf8Label)
    {
        combo->setCurrentIndex(combo->findText(QString::fromUtf8(utf8Label)));
    }
    void typeKeywords(int v, const char* utf8Key1, const char* utf8Key2 = "")
    {
        law(v).EditKey1->setText(QString::fromUtf8(utf8Key1));
        law(v).EditKey2->setText(QString::fromUtf8(utf8Key2));
    }

    // The statement lines the last law search handed to its query, in UTF-8.
    std::vector<std::string> lastLawStatement()
    {
        std::vector<std::string> lines;
        const store::Query* q = registry().tables.lawQueryPool[static_cast<std::size_t>(registry().LawQueryPosition)];
        for (const std::string& line : q->SQL())
            lines.push_back(text::toUtf8(line).text);
        return lines;
    }
    std::vector<std::string> lastBookStatement()
    {
        std::vector<std::string> lines;
        const store::Query* q = registry().tables.bookQueryPool[static_cast<std::size_t>(registry().BookQueryPosition)];
        for (const std::string& line : q->SQL())
            lines.push_back(text::toUtf8(line).text);
        return lines;
    }
    // The message texts shown, in UTF-8.

    // The runs of a text view drawn in a colour, in text order (the coloured words a user sees).
    static std::vector<QString> runsInColour(const RichTextView* view, const QColor& colour)
    {
        std::vector<QString> runs;
        for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it)
                if (it.fragment().charFormat().foreground().color() == colour)
                    runs.push_back(it.fragment().text());
        return runs;
    }
};

// Answers the next reference search dialog once it is up: action looks at it and presses one of
// its buttons. A dialog the action leaves open is cancelled, so no test waits on it. The watch
// ends with context (the test's window), so it never reaches into a later test.
inline void answerSansyo(QObject* context, std::function<void(TSansyo&)> action, int triesLeft = 500)
{
    QTimer::singleShot(5, context, [context, action, triesLeft] {
        auto* dialog = qobject_cast<TSansyo*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible()) {
            if (triesLeft > 0)
                answerSansyo(context, action, triesLeft - 1);
            return;
        }
        action(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
}

}  // namespace searchtest
