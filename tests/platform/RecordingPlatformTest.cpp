// The recording double answers as told and records what the user would have seen; the current
// platform and the command boundary route every box through it.
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <gtest/gtest.h>
#include <stdexcept>

#include "platform/Platform.h"
#include "platform/RecordingPlatform.h"
#include "text/Cp932.h"

using text::cp932;

TEST(RecordingPlatform, questionsTakeQueuedAnswersInOrderThenTheDefault)
{
    RecordingPlatform rec;
    rec.queueAnswer(Answer::Yes);
    rec.queueAnswer(Answer::Cancel);
    const std::string text = cp932("メモウインドウを画面一杯に大きくしますか。");

    EXPECT_EQ(rec.ask("MemoWindow States", text, QuestionButtons::YesNoCancel, MessageIcon::Question),
              Answer::Yes);
    EXPECT_EQ(rec.ask("MemoWindow States", text, QuestionButtons::YesNoCancel, MessageIcon::Question),
              Answer::Cancel);
    EXPECT_EQ(rec.ask("LinkTable Delete", cp932("データを削除して良いですか"), QuestionButtons::YesNo,
                      MessageIcon::Question),
              Answer::No);
    rec.setDefaultAnswer(Answer::Yes);
    EXPECT_EQ(rec.ask("PositionSave Infomation", cp932("現在の情報を保存しますか"), QuestionButtons::YesNo,
                      MessageIcon::None),
              Answer::Yes);
    EXPECT_EQ(rec.pendingAnswers(), 0u);

    ASSERT_EQ(rec.boxes().size(), 4u);
    const RecordedBox& first = rec.boxes()[0];
    EXPECT_EQ(first.kind, BoxKind::Question);
    EXPECT_EQ(first.caption, "MemoWindow States");
    EXPECT_EQ(first.text, cp932("メモウインドウを画面一杯に大きくしますか。"));
    EXPECT_EQ(first.icon, MessageIcon::Question);
    EXPECT_EQ(first.buttons, QuestionButtons::YesNoCancel);
    EXPECT_EQ(first.answer, Answer::Yes);
    EXPECT_EQ(rec.boxes()[1].answer, Answer::Cancel);
    EXPECT_EQ(rec.boxes()[2].caption, "LinkTable Delete");
    EXPECT_EQ(rec.boxes()[2].buttons, QuestionButtons::YesNo);
    EXPECT_EQ(rec.boxes()[3].icon, MessageIcon::None);
    EXPECT_EQ(rec.lastBox().text, cp932("現在の情報を保存しますか"));
}

TEST(RecordingPlatform, cancelCannotAnswerAYesNoQuestion)
{
    RecordingPlatform rec;
    rec.queueAnswer(Answer::Cancel);
    EXPECT_THROW(rec.ask("MainTable Delete", cp932("データを削除して良いですか"), QuestionButtons::YesNo,
                         MessageIcon::Question),
                 std::logic_error);

    // A default of Cancel is a setting for the three-button questions; a Yes/No one gets No.
    RecordingPlatform lenient;
    lenient.setDefaultAnswer(Answer::Cancel);
    EXPECT_EQ(lenient.ask("MainTable Delete", "x", QuestionButtons::YesNo, MessageIcon::Question), Answer::No);
    EXPECT_EQ(lenient.ask("MemoWindow States", "x", QuestionButtons::YesNoCancel, MessageIcon::Question),
              Answer::Cancel);
}

TEST(RecordingPlatform, messagesAndErrorsCarryTheApplicationTitleAndOnlyOk)
{
    RecordingPlatform rec;
    rec.showMessage(cp932("該当の条文はありません"));
    rec.inform(cp932("Sorvane バージョン情報"), cp932("Sorvane 36 Lite Ver 1.0\r"), MessageIcon::Information);
    rec.setApplicationTitle(cp932("Sorvane 36 Lite β"));
    rec.showError("disk full");

    ASSERT_EQ(rec.boxes().size(), 3u);
    EXPECT_EQ(rec.boxes()[0].kind, BoxKind::Message);
    EXPECT_EQ(rec.boxes()[0].caption, "Sorvane 36 Lite");
    EXPECT_EQ(rec.boxes()[0].icon, MessageIcon::None);
    EXPECT_FALSE(rec.boxes()[0].buttons.has_value());
    EXPECT_FALSE(rec.boxes()[0].answer.has_value());
    EXPECT_EQ(rec.boxes()[1].kind, BoxKind::Inform);
    EXPECT_EQ(rec.boxes()[1].caption, cp932("Sorvane バージョン情報"));
    EXPECT_EQ(rec.boxes()[1].text, "Sorvane 36 Lite Ver 1.0\r");
    EXPECT_EQ(rec.boxes()[1].icon, MessageIcon::Information);
    EXPECT_EQ(rec.boxes()[2].kind, BoxKind::Error);
    EXPECT_EQ(rec.boxes()[2].caption, "Sorvane 36 Lite \x83\xc0");
    EXPECT_EQ(rec.boxes()[2].icon, MessageIcon::Error);
    EXPECT_EQ(rec.boxTexts(),
              (std::vector<std::string>{cp932("該当の条文はありません"), "Sorvane 36 Lite Ver 1.0\r", "disk full"}));

    rec.clearBoxes();
    EXPECT_THROW(rec.lastBox(), std::logic_error);
}

TEST(RecordingPlatform, clipboardStartsWithoutTextAndKeepsEveryWrite)
{
    RecordingPlatform rec;
    EXPECT_FALSE(rec.clipboardHasText());
    EXPECT_EQ(rec.clipboardText(), "");

    rec.setClipboardText(cp932("第３５条\r\n"));
    rec.setClipboardText("");
    EXPECT_TRUE(rec.clipboardHasText());
    EXPECT_EQ(rec.clipboardText(), "");
    EXPECT_EQ(rec.clipboardWrites(), (std::vector<std::string>{cp932("第３５条\r\n"), ""}));

    rec.setClipboardText("abc");
    rec.clearClipboard();
    EXPECT_FALSE(rec.clipboardHasText());
    EXPECT_EQ(rec.clipboardText(), "");
}

TEST(RecordingPlatform, shellTargetsClockColoursAndCursorsAreAsTheTestSets)
{
    RecordingPlatform rec;
    EXPECT_TRUE(rec.shellOpen("SorvaneHelp.html"));
    rec.setShellOpenResult(false);
    EXPECT_FALSE(rec.shellOpen("https://example.jp/"));
    EXPECT_EQ(rec.shellTargets(), (std::vector<std::string>{"SorvaneHelp.html", "https://example.jp/"}));

    EXPECT_EQ(rec.tickCount(), 0);
    rec.setTickCount(1000);
    rec.advanceTickCount(1500);
    EXPECT_EQ(rec.tickCount(), 2500);

    EXPECT_EQ(rec.displayColourCount(), -1);
    rec.setDisplayColourCount(256);
    EXPECT_EQ(rec.displayColourCount(), 256);

    EXPECT_EQ(rec.screenCursor(), CursorShape::Arrow);
    rec.setScreenCursor(CursorShape::Hourglass);
    rec.setScreenCursor(CursorShape::Hand);
    rec.setScreenCursor(CursorShape::Hand);
    rec.setScreenCursor(CursorShape::Arrow);
    EXPECT_EQ(rec.screenCursor(), CursorShape::Arrow);
    EXPECT_EQ(rec.cursorChanges(), (std::vector<CursorShape>{CursorShape::Hourglass, CursorShape::Hand,
                                                             CursorShape::Hand, CursorShape::Arrow}));
}

TEST(RecordingPlatform, confirmedPrinterSetupPrintsPdfIntoItsFile)
{
    RecordingPlatform rec;
    QPrinter printer;
    ASSERT_TRUE(rec.printerSetup(printer, Platform::PrintPages::One));
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer.outputFileName(), rec.printOutputFile());
    {
        QPainter painter;
        ASSERT_TRUE(painter.begin(&printer));
        painter.drawText(100, 100, QStringLiteral("Sorvane"));
    }
    QFile pdf(rec.printOutputFile());
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");

    rec.setPrinterSetupAccepted(false);
    QPrinter untouched;
    EXPECT_FALSE(rec.printerSetup(untouched, Platform::PrintPages::One));
    EXPECT_EQ(untouched.outputFileName(), QString());
    EXPECT_EQ(rec.printerSetupCount(), 2);
}

TEST(PlatformSeam, anErrorEndsTheCommandAndShowsItsTextInTheErrorBox)
{
    RecordingPlatform rec;

    int stepsRun = 0;
    EXPECT_TRUE(runCommand(rec, [&] { ++stepsRun; }));
    EXPECT_TRUE(rec.boxes().empty());

    // The program's own messages are UTF-8 literals; the box shows them as the system's text.
    EXPECT_FALSE(runCommand(rec, [&] {
        throw std::runtime_error("テーブル E1.db が開けません");
        ++stepsRun;
    }));
    // A message built from table text is code page 932 already and is shown unchanged.
    const std::string tableText = cp932("第３５条");
    EXPECT_FALSE(runCommand(rec, [&] { throw std::runtime_error(tableText); }));

    EXPECT_EQ(stepsRun, 1);
    ASSERT_EQ(rec.boxes().size(), 2u);
    EXPECT_EQ(rec.boxes()[0].kind, BoxKind::Error);
    EXPECT_EQ(rec.boxes()[0].caption, "Sorvane 36 Lite");
    EXPECT_EQ(rec.boxes()[0].text, cp932("テーブル E1.db が開けません"));
    EXPECT_EQ(rec.boxes()[1].text, tableText);
}
