// The Qt platform offscreen: the real message boxes are answered by pressing their buttons, the
// clipboard carries code page 932 text unchanged, shell targets reach the desktop's URL handlers.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <gtest/gtest.h>

#include "platform/QtPlatform.h"
#include "text/Cp932.h"
#include "text/QtText.h"

using text::cp932;

namespace {

// What a message box showed the user.
struct SeenBox {
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> buttons;
    QStringList buttonTexts;
    Qt::CursorShape overrideCursor = Qt::BitmapCursor;  // BitmapCursor: no override at all
};

// Answers the next modal box by pressing a button (NoButton: by closing the box) and keeps
// what the box showed.
class BoxAnswerer {
public:
    explicit BoxAnswerer(QMessageBox::StandardButton press) : m_press(press)
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] { answer(); });
        m_poll.start(5);
    }

    bool answered() const { return m_answered; }
    const SeenBox& seen() const { return m_seen; }

private:
    void answer()
    {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || m_answered)
            return;
        m_answered = true;
        m_poll.stop();
        m_seen.title = box->windowTitle();
        m_seen.text = box->text();
        m_seen.format = box->textFormat();
        m_seen.icon = box->icon();
        for (QAbstractButton* b : box->buttons()) {
            m_seen.buttons.push_back(box->standardButton(b));
            m_seen.buttonTexts.push_back(b->text());
        }
        std::sort(m_seen.buttons.begin(), m_seen.buttons.end());
        if (const QCursor* c = QGuiApplication::overrideCursor())
            m_seen.overrideCursor = c->shape();
        if (m_press == QMessageBox::NoButton)
            box->close();
        else if (QAbstractButton* b = box->button(m_press))
            b->click();
        else
            box->done(-1);  // the test asked for a button the box lacks; never leave it open
    }

    QMessageBox::StandardButton m_press;
    QTimer m_poll;
    bool m_answered = false;
    SeenBox m_seen;
};

class UrlCatcher : public QObject {
    Q_OBJECT
public:
    QList<QUrl> urls;
public slots:
    void open(const QUrl& url) { urls.push_back(url); }
};

}  // namespace

TEST(QtPlatform, questionAnswersFollowTheButtonPressed)
{
    QtPlatform qt;
    struct Case {
        QuestionButtons buttons;
        QMessageBox::StandardButton press;
        Answer expected;
    };
    const Case cases[] = {
        {QuestionButtons::YesNoCancel, QMessageBox::Yes, Answer::Yes},
        {QuestionButtons::YesNoCancel, QMessageBox::No, Answer::No},
        {QuestionButtons::YesNoCancel, QMessageBox::Cancel, Answer::Cancel},
        {QuestionButtons::YesNoCancel, QMessageBox::NoButton, Answer::Cancel},  // closing the box
        {QuestionButtons::YesNo, QMessageBox::Yes, Answer::Yes},
        {QuestionButtons::YesNo, QMessageBox::No, Answer::No},
    };
    for (const Case& c : cases) {
        BoxAnswerer answerer(c.press);
        EXPECT_EQ(qt.ask("MemoWindow States", cp932("メモウインドウを画面一杯に大きくしますか。"), c.buttons,
                         MessageIcon::Question),
                  c.expected);
        ASSERT_TRUE(answerer.answered());
        EXPECT_EQ(answerer.seen().title, QStringLiteral("MemoWindow States"));
        EXPECT_EQ(answerer.seen().text, QStringLiteral("メモウインドウを画面一杯に大きくしますか。"));
        EXPECT_EQ(answerer.seen().icon, QMessageBox::Question);
        const QList<QMessageBox::StandardButton> offered =
            c.buttons == QuestionButtons::YesNo
                ? QList<QMessageBox::StandardButton>{QMessageBox::Yes, QMessageBox::No}
                : QList<QMessageBox::StandardButton>{QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
        EXPECT_EQ(answerer.seen().buttons, offered);
    }
}

TEST(QtPlatform, messageBoxesShowTheTitleIconAndPlainTextWithLineBreaks)
{
    QtPlatform qt;
    {
        BoxAnswerer answerer(QMessageBox::Ok);
        qt.showMessage(cp932("<b>該当の条文はありません</b>"));
        ASSERT_TRUE(answerer.answered());
        EXPECT_EQ(answerer.seen().title, QStringLiteral("Sorvane 36 Lite"));
        EXPECT_EQ(answerer.seen().text, QStringLiteral("<b>該当の条文はありません</b>"));
        EXPECT_EQ(answerer.seen().format, Qt::PlainText);
        EXPECT_EQ(answerer.seen().icon, QMessageBox::NoIcon);
        EXPECT_EQ(answerer.seen().buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
    }
    {
        BoxAnswerer answerer(QMessageBox::Ok);
        qt.inform(cp932("Sorvane バージョン情報"),
                  cp932("Sorvane 36 Lite Ver 1.0\r\r収録条文　令和5年6月1日現在\r\n適用事業年度開始日\r"),
                  MessageIcon::Information);
        ASSERT_TRUE(answerer.answered());
        EXPECT_EQ(answerer.seen().title, QStringLiteral("Sorvane バージョン情報"));
        EXPECT_EQ(answerer.seen().text,
                  QStringLiteral("Sorvane 36 Lite Ver 1.0\n\n収録条文　令和5年6月1日現在\n適用事業年度開始日\n"));
        EXPECT_EQ(answerer.seen().icon, QMessageBox::Information);
    }
    {
        BoxAnswerer answerer(QMessageBox::Ok);
        qt.setApplicationTitle(cp932("Sorvane 36 Lite β"));
        qt.showError("disk full");
        ASSERT_TRUE(answerer.answered());
        EXPECT_EQ(answerer.seen().title, QStringLiteral("Sorvane 36 Lite β"));
        EXPECT_EQ(answerer.seen().text, QStringLiteral("disk full"));
        EXPECT_EQ(answerer.seen().icon, QMessageBox::Critical);
        EXPECT_EQ(answerer.seen().buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
    }
}

TEST(QtPlatform, screenCursorIsOneOverrideAndABoxShowsTheArrowOverIt)
{
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    {
        QtPlatform qt;
        qt.setScreenCursor(CursorShape::Hourglass);
        qt.setScreenCursor(CursorShape::Hourglass);
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);

        BoxAnswerer answerer(QMessageBox::Ok);
        qt.showError("failed");
        EXPECT_EQ(answerer.seen().overrideCursor, Qt::ArrowCursor);
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);

        qt.setScreenCursor(CursorShape::Hand);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
        qt.setScreenCursor(CursorShape::Arrow);
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

        // Destroyed while the hourglass is up, the platform takes it down with it.
        qt.setScreenCursor(CursorShape::Hourglass);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(QtPlatform, japaneseTranslationsGiveTheStandardButtonsJapaneseWords)
{
    ASSERT_TRUE(installJapaneseTranslations(*qApp));
    QtPlatform qt;
    BoxAnswerer answerer(QMessageBox::Yes);
    qt.ask("LinkTable Delete", cp932("データを削除して良いですか"), QuestionButtons::YesNoCancel,
           MessageIcon::Question);
    ASSERT_TRUE(answerer.answered());
    QStringList words = answerer.seen().buttonTexts;
    for (QString& w : words)
        w.remove(QLatin1Char('&'));
    words.sort();
    EXPECT_EQ(words, (QStringList{QStringLiteral("いいえ(N)"), QStringLiteral("はい(Y)"),
                                  QStringLiteral("キャンセル")}));
}

TEST(QtPlatform, clipboardCarriesCodePage932TextUnchanged)
{
    QtPlatform qt;
    const std::string article = cp932("第３５条の２　①髙～－\r\n（定義）\r\n");
    qt.setClipboardText(article);
    EXPECT_TRUE(qt.clipboardHasText());
    EXPECT_EQ(qt.clipboardText(), article);

    qt.setClipboardText("");
    EXPECT_EQ(qt.clipboardText(), "");

    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(qt.clipboardHasText());
    EXPECT_EQ(qt.clipboardText(), "");
}

TEST(QtPlatform, clipboardLinesEndWithCrLfHereAndWithLfOnTheDesktop)
{
    QtPlatform qt;
    // What the program copies reaches other programs with the desktop's line ends.
    qt.setClipboardText(cp932("第１条\r\n２　前項\r\n"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("第１条\n２　前項\n"));
    // What another program copied reaches the program with CR LF, whichever line ends it used.
    QGuiApplication::clipboard()->setText(QStringLiteral("一\n二\r\n三\r四"));
    EXPECT_EQ(qt.clipboardText(), cp932("一\r\n二\r\n三\r\n四"));
}

TEST(QtPlatform, tickCountNeverGoesBackAndTheOffscreenDisplayIsTrueColour)
{
    QtPlatform qt;
    const std::int64_t first = qt.tickCount();
    const std::int64_t second = qt.tickCount();
    EXPECT_GE(second, first);
    EXPECT_EQ(qt.displayColourCount(), -1);

    const std::pair<int, int> depths[] = {{1, 2}, {4, 16}, {8, 256}, {15, -1}, {16, -1}, {24, -1}, {32, -1}};
    for (auto [depth, colours] : depths)
        EXPECT_EQ(colourCountOfDepth(depth), colours) << depth;
}

TEST(QtPlatform, shellTargetsAreWebAddressesOrFilesOfTheWorkingDirectory)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    const QString here = QDir::currentPath();

    struct Case {
        std::string target;
        QUrl expected;
    };
    const Case cases[] = {
        {"https://elaws.e-gov.go.jp/", QUrl(QStringLiteral("https://elaws.e-gov.go.jp/"))},
        {"http://www.nta.go.jp/law/tsutatsu/menu.htm", QUrl(QStringLiteral("http://www.nta.go.jp/law/tsutatsu/menu.htm"))},
        {"www.nta.go.jp", QUrl(QStringLiteral("http://www.nta.go.jp"))},
        {"SorvaneHelp.html", QUrl::fromLocalFile(here + QStringLiteral("/SorvaneHelp.html"))},
        {cp932("条文.txt"), QUrl::fromLocalFile(here + QStringLiteral("/条文.txt"))},
        {"/srv/docs/a.pdf", QUrl::fromLocalFile(QStringLiteral("/srv/docs/a.pdf"))},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shellUrlOf(c.target), c.expected) << c.target;
    EXPECT_TRUE(shellUrlOf("").isEmpty());

    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &catcher, "open");
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    QtPlatform qt;
    EXPECT_TRUE(qt.shellOpen("https://elaws.e-gov.go.jp/"));
    EXPECT_FALSE(qt.shellOpen("SorvaneHelp.html"));  // missing: the desktop is not asked
    QFile help(QStringLiteral("SorvaneHelp.html"));
    ASSERT_TRUE(help.open(QIODevice::WriteOnly));
    help.close();
    EXPECT_TRUE(qt.shellOpen("SorvaneHelp.html"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QDir::setCurrent(previous);

    EXPECT_EQ(catcher.urls, (QList<QUrl>{QUrl(QStringLiteral("https://elaws.e-gov.go.jp/")),
                                         QUrl::fromLocalFile(here + QStringLiteral("/SorvaneHelp.html"))}));
}

TEST(QtPlatform, cancelledPrinterSetupAnswersFalse)
{
    QtPlatform qt;
    QPrinter printer;
    bool dialogSeen = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) {
            dialogSeen = true;
            poll.stop();
            dialog->reject();
        }
    });
    poll.start(5);
    EXPECT_FALSE(qt.printerSetup(printer, Platform::PrintPages::Range));
    EXPECT_TRUE(dialogSeen);
}

#include "QtPlatformTest.moc"
