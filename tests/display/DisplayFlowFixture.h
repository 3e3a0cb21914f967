// The program started offscreen on volumes written for the display flows: a 消費税 volume of 38
// articles under a three-chapter outline, whose first article links to another article, to
// 会社法民法, to the reference search, to a missing article and to an absent volume; and the
// helpers that press and move the mouse on article text where a given text stands.
#pragma once

#include <QApplication>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "app/BuildVariant.h"
#include "app/Startup.h"
#include "app/TMain.h"
#include "display/DataGrid.h"
#include "display/OutlineTree.h"
#include "display/RichTextView.h"
#include "display/TestApplication.h"
#include "platform/RecordingPlatform.h"
#include "store/DataSource.h"
#include "store/Table.h"
#include "store/VolumeWriter.h"
#include "support/MainWindowFixture.h"
#include "text/Cp932.h"
#include "text/QtText.h"

namespace displaytest {

using text::cp932;

// The text of article 1 of 消費税: one link per line, each on words found nowhere else.
inline const char* const kLinkArticleLines[] = {
    "第１条　この法律は、第２条による。",
    "２　会社法第１条を準用する。",
    "３　政令で定める。",
    "４　第９９９条による。",
    "５　法人税法第１条による。",
};
// The link texts and where they lead: article GoGyo of volume Zeimoku.
struct LinkRow {
    const char* text;
    int goGyo;
    int zeimoku;
};
inline const LinkRow kLinks[] = {
    {"第２条", 2, 1},          // another article of the same volume
    {"会社法第１条", 101, 2},  // 会社法民法
    {"政令", 0, -1},           // the reference search, preset to cabinet orders
    {"第９９９条", 999, 1},    // an article the volume does not have
    {"法人税法第１条", 1, 0},  // 法人税, absent in this build
};

// Node positions of the outline: the law, then chapters of twelve articles each. Article gyo
// 1-12 are nodes 2-13, 13-24 nodes 15-26, 27-38 nodes 28-39; articles 25 and 26 sit between
// the chapters in the list, 25 with a tree-table row naming node 99 (the outline has 40 nodes),
// 26 with none.
inline int outlineNodeOf(int gyo)
{
    if (gyo <= 12)
        return gyo + 1;
    if (gyo <= 24)
        return gyo + 2;
    return gyo + 1;
}
inline constexpr int kChapter2Node = 14;
inline constexpr int kChapter3Node = 27;
inline constexpr int kLastGyo = 38;

inline std::string articleText(int gyo)
{
    if (gyo == 1) {
        std::string honbun;
        for (const char* line : kLinkArticleLines)
            honbun += cp932(line) + "\r\n";
        return honbun;
    }
    const std::string n = text::ToFullWidthDigits(std::to_string(gyo));
    return cp932("第") + n + cp932("条　消費税の本文") + n + "\r\n" + cp932("２　前項の規定は、法律に定める。") + "\r\n";
}

// The byte offset of text (UTF-8) in article 1 as rendered: lines joined with CR LF.
inline int offsetInLinkArticle(const char* utf8)
{
    std::string rendered;
    for (const char* line : kLinkArticleLines)
        rendered += cp932(line) + "\r\n";
    const std::size_t at = text::find(rendered, cp932(utf8));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

inline store::LawVolumeContent syohiVolume()
{
    store::LawVolumeContent v;
    v.letter = 'E';
    v.outline.push_back({0, cp932("消費税法")});
    const char* chapters[] = {"第一章　総則", "第二章　課税", "第三章　雑則"};
    for (int c = 0; c < 3; ++c) {
        v.outline.push_back({1, cp932(chapters[c])});
        for (int k = 1; k <= 12; ++k) {
            const int gyo = c == 2 ? 26 + k : c * 12 + k;
            v.outline.push_back({2, cp932("第") + text::ToFullWidthDigits(std::to_string(gyo)) + cp932("条")});
        }
    }
    auto add = [&v](int gyo) {
        const std::string n = text::ToFullWidthDigits(std::to_string(gyo));
        v.articles.push_back({gyo, 110, cp932("消法"), n + cp932("条"), cp932("第") + n + cp932("条（趣旨）"), articleText(gyo)});
    };
    for (int gyo = 1; gyo <= kLastGyo; ++gyo) {
        add(gyo);
        if (gyo != 25 && gyo != 26)
            v.treePositions.push_back({gyo, outlineNodeOf(gyo)});
    }
    v.treePositions.push_back({25, 99});
    for (const LinkRow& link : kLinks)
        v.links.push_back({1, offsetInLinkArticle(link.text), static_cast<int>(cp932(link.text).size()), link.goGyo,
                           link.zeimoku});
    return v;
}

inline store::LawVolumeContent genVolume()
{
    store::LawVolumeContent v;
    v.letter = 'G';
    v.outline = {{0, cp932("会社法")}, {1, cp932("第１条")}, {1, cp932("第２条")}};
    v.articles = {{101, 410, cp932("会社法"), cp932("１条"), cp932("第１条（通則）"), cp932("第１条　会社の設立の通則") + "\r\n"},
                  {102, 410, cp932("会社法"), cp932("２条"), cp932("第２条（定義）"), cp932("第２条　会社の定義") + "\r\n"}};
    v.treePositions = {{101, 1}, {102, 2}};
    return v;
}

// A 法人目次 volume of one entry, for tests that need a book tab.
inline store::BookVolumeContent smallBookVolume()
{
    store::BookVolumeContent b;
    b.letter = 'B';
    b.entries = {{10, 1, 1, cp932("基通"), "1", 12.5, cp932("問１　寄附金の範囲")}};
    b.books = {{1, 1, cp932("法人税基本通達逐条解説"), cp932("十訂版"), cp932("税務研究会")}};
    return b;
}

class DisplayFlowTest : public testsupport::MainWindowFixture<> {
protected:

    void SetUp() override
    {
        testing_display::ensureApplication();
        store::writeLawVolume(dir.path(), syohiVolume());
        store::writeLawVolume(dir.path(), genVolume());
    }
    // The product's law volumes 消費税 and 会社法民法, the window shown on 消費税.
    void start(std::array<int, 3> books = {1, 1, 1})
    {
        store::VolumeFiles files;
        files.LawVolumeAbsent = {1, 0, 0, 1, 1, 1};
        files.BookVolumeAbsent = books;
        startProgram(files);
        showWindow(true);
    }

    LawVolumeEntry& law(int v) { return registry().law[static_cast<std::size_t>(v)]; }
    store::Table& lawMain(int v) { return *registry().tables.law[static_cast<std::size_t>(v)].mainTable; }
    store::Table& lawSub(int v) { return *registry().tables.law[static_cast<std::size_t>(v)].subTable; }
    store::DataSet* lawShown(int v) { return registry().tables.law[static_cast<std::size_t>(v)].mainSource->dataSet(); }
    std::int64_t currentGyo(int v) { return lawShown(v)->IntegerField("Gyo"); }
    void moveTo(int v, int gyo) { ASSERT_TRUE(lawMain(v).Locate("Gyo", {store::Value(std::int64_t{gyo})})); }

    // The first line of what a view shows, UTF-8.
    static std::string firstLine(const RichTextView* view)
    {
        const std::string all = text::toUtf8(view->plainText()).text;
        return all.substr(0, all.find("\r\n"));
    }
    static std::string firstLineOfArticle(int gyo)
    {
        const std::string all = text::toUtf8(articleText(gyo)).text;
        return all.substr(0, all.find("\r\n"));
    }

    // A point of view's viewport inside the character at byte offset byteOffset: just right of
    // the caret standing before it.
    static QPoint pointOfByte(RichTextView* view, int byteOffset)
    {
        view->setCaretPosition(byteOffset);
        const QRect caret = view->cursorRect();
        return QPoint(caret.left() + 4, caret.center().y());
    }
    // The point of the second character of text (UTF-8) in the view, found by the view itself.
    static QPoint pointOfText(RichTextView* view, const char* utf8)
    {
        const int at = view->findText(cp932(utf8), 0, -1);
        EXPECT_GE(at, 0) << utf8;
        return pointOfByte(view, at + 2);
    }
    static void press(RichTextView* view, const char* utf8, Qt::MouseButton button = Qt::LeftButton,
                      Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(view->viewport(), button, modifiers, pointOfText(view, utf8));
    }

    // The runs of a view drawn in a colour, in text order.
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

}  // namespace displaytest
