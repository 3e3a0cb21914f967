// A small 消費税 volume written as an authoring copy under a folder that the drive mapping calls
// C:, delivered into the working directory as the browsing volume, and the authoring build of the
// program started on it with the recording platform, as the link editor's tests use them.
#pragma once

#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/BuildVariant.h"
#include "app/Startup.h"
#include "app/TMain.h"
#include "authoring/AuthoringDrive.h"
#include "authoring/THyperLink.h"
#include "display/RichTextView.h"
#include "platform/RecordingPlatform.h"
#include "store/Table.h"
#include "store/TableFile.h"
#include "store/VolumeWriter.h"
#include "support/MainWindowFixture.h"
#include "text/Cp932.h"
#include "text/QtText.h"
#include "tools/importer/AuthoringCopy.h"
#include "tools/importer/Delivery.h"

namespace authoringtest {

namespace fs = std::filesystem;
using text::cp932;

inline std::string u8(const std::string& cp932Text)
{
    return text::toUtf8(cp932Text).text;
}

inline QString qs(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

// The articles of the volume: ＫＥＹ, 条文連番, 行, 条文本文, 表題 and 条文内容 (UTF-8).
struct ArticleRow {
    int key;
    int code;
    double row;
    const char* number;
    const char* caption;
    const char* content;
};

inline const std::vector<ArticleRow>& standardArticles()
{
    static const std::vector<ArticleRow> articles{
        {1, 110, 10, "１条", "趣旨", "この法律は、消費税について定めるものとする。"},
        {2, 110, 20, "２条", "定義",
         "この法律において、次に掲げる用語の意義は、当該各号に定めるところによる。\r\n"
         "一　国内　この法律の施行地をいう。\r\n"
         "２　第３条の規定は、前項の用語について適用しない。"},
        {3, 110, 30, "３条", "納税義務者", "事業者は、第５条の規定により消費税を納める義務がある。"},
        {4, 120, 40, "１条", "趣旨", "法第２条第１項の規定の適用については、この政令の定めるところによる。"},
        {5, 120, 50, "２条", "", "法第３条に規定する事業者とは、次に掲げる者をいう。"},
    };
    return articles;
}

inline importer::AuthoringVolume authoringVolume(const std::vector<ArticleRow>& articleRows)
{
    importer::AuthoringVolume v;
    v.master = {{110, cp932("消法"), cp932("消費税法")},
                {120, cp932("消令"), cp932("消費税法施行令")},
                {240, cp932("消基通"), cp932("消費税法基本通達")},
                {510, cp932("民法"), cp932("民法")}};
    for (const ArticleRow& a : articleRows) {
        importer::AuthoringArticle row;
        row.key = a.key;
        row.code = a.code;
        row.row = a.row;
        row.kubun = a.code == 110 ? cp932("消法") : a.code == 120 ? cp932("消令") : a.code == 510 ? cp932("民法") : "";
        row.number = cp932(a.number);
        row.caption = cp932(a.caption);
        row.content = cp932(a.content);
        v.articles.push_back(row);
    }
    return v;
}

// The program on an authoring copy, in a fresh working directory.
class EditorTest : public testsupport::MainWindowFixture<> {
protected:
    fs::path root = dir.path() / "drive_c";
    fs::path dosdevices = dir.path() / "dosdevices";
    authoring::DriveMappingScope mapping{dosdevices};

    // Writes the authoring copy, maps drive letter (c or d) to it and delivers the browsing
    // volume into the working directory.
    void writeVolume(const importer::AuthoringVolume& volume, char drive = 'c')
    {
        importer::writeAuthoringVolume(root, 1, volume);
        importer::deliverVolume(root, 1, dir.path());
        fs::create_directories(dosdevices);
        const fs::path link = dosdevices / (std::string(1, drive) + ":");
        if (!fs::is_symlink(link))
            fs::create_directory_symlink(root, link);
    }
    void writeStandardVolume(char drive = 'c') { writeVolume(authoringVolume(standardArticles()), drive); }

    // The program on the 消費税 volume, with the 法人目次 book volume too when withBooks.
    void start(const char* titleUtf8 = kAuthoringTitle, bool withBooks = false)
    {
        store::VolumeFiles files;
        files.LawVolumeAbsent = {1, 0, 1, 1, 1, 1};
        if (withBooks) {
            store::BookVolumeContent b;
            b.letter = 'B';
            b.entries = {{10, 1, 1, cp932("基通"), "1", 12.5, cp932("問１　寄附金の範囲")}};
            b.books = {{1, 1, cp932("法人税基本通達逐条解説"), cp932("十訂版"), cp932("税務研究会")}};
            store::writeBookVolume(dir.path(), b);
            files.BookVolumeAbsent = {0, 1, 1};
        }
        startProgram(files, titleUtf8);
        showWindow();
    }
    RichTextView* view() { return registry().law[1].RichEdit; }
    THyperLink* editor() { return window().HyperLink; }

    // The main window's list on the article of Gyo gyo.
    void showArticle(int gyo)
    {
        ASSERT_TRUE(registry().tables.law[1].mainTable->Locate("Gyo", {gyo}));
    }
    // Selects the first occurrence of a phrase in the main window's text view.
    void selectInView(const char* utf8)
    {
        const std::string phrase = cp932(utf8);
        const int at = view()->findText(phrase, 0, -1);
        ASSERT_GE(at, 0) << utf8;
        view()->select(at, static_cast<int>(phrase.size()));
    }
    void open()
    {
        OpenLinkEditor(window(), 1);
        QApplication::processEvents();
    }
    // Opens the editor on the article of Gyo gyo, with phrase selected when given.
    void openOn(int gyo, const char* phraseUtf8 = nullptr)
    {
        showArticle(gyo);
        if (phraseUtf8)
            selectInView(phraseUtf8);
        open();
    }

    // The windows closed meanwhile are freed, as the event loop frees them.
    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    fs::path jyobun() const { return root / "YpSyohi" / "Jyobun" / "Data"; }
    store::TableContents links() const
    {
        return store::TableFile::open(jyobun() / fs::u8path("リンク条文.DB"), true)->readAll();
    }
    store::TableContents articles() const
    {
        return store::TableFile::open(jyobun() / fs::u8path("条文本文.db"), true)->readAll();
    }
    // A field of the article of key as the file holds it.
    store::Value articleField(int key, const char* field) const
    {
        const store::TableContents c = articles();
        int f = -1;
        for (std::size_t i = 0; i < c.fields.size(); ++i)
            if (c.fields[i].name == field)
                f = static_cast<int>(i);
        for (const store::Row& r : c.rows)
            if (r[0].asInteger() == key)
                return r[static_cast<std::size_t>(f)];
        return {};
    }
    // Every (ＫＥＹ, 行) of the article table, in 行 order.
    std::vector<std::pair<int, double>> rowOrder() const
    {
        std::vector<std::pair<int, double>> out;
        for (const store::Row& r : articles().rows)
            out.emplace_back(static_cast<int>(r[0].asInteger()), r[2].asFloat());
        std::sort(out.begin(), out.end(), [](const auto& a, const auto& b) { return a.second < b.second; });
        return out;
    }

    void TearDown() override
    {
        if (program && window().HyperLink)
            delete window().HyperLink.data();
        MainWindowFixture::TearDown();
    }
};

using testsupport::typeText;

inline void pressEnter(QWidget* widget)
{
    QTest::keyClick(widget, Qt::Key_Return);
}

}  // namespace authoringtest
