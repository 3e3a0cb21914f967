// The platform as tests see it: questions are answered as the test says, every box, shell
// target, clipboard write and cursor change is recorded, the clock and the display are set by
// the test, and nothing ever blocks.
#pragma once

#include <QString>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"

class QTemporaryDir;

enum class BoxKind { Message, Inform, Question, Error };

// One box as the user would have seen it.
struct RecordedBox {
    BoxKind kind;
    std::string caption;  // code page 932
    std::string text;     // code page 932, exactly as the program passed it
    MessageIcon icon;
    std::optional<QuestionButtons> buttons;  // questions only; the others have OK
    std::optional<Answer> answer;            // the answer given, questions only
};

class RecordingPlatform : public Platform {
public:
    RecordingPlatform();
    ~RecordingPlatform() override;

    void showMessage(const std::string& text) override;
    void inform(const std::string& caption, const std::string& text, MessageIcon icon) override;
    Answer ask(const std::string& caption, const std::string& text, QuestionButtons buttons,
               MessageIcon icon) override;
    void showError(const std::string& text) override;
    bool shellOpen(const std::string& target) override;
    std::string clipboardText() override;
    bool clipboardHasText() override;
    void setClipboardText(const std::string& text) override;
    bool printerSetup(QPrinter& printer, PrintPages pages) override;
    std::int64_t tickCount() override { return m_tickCount; }
    int displayColourCount() override { return m_colourCount; }
    int screenHeight() override { return m_screenHeight; }
    void setScreenCursor(CursorShape shape) override;

    // Questions take the queued answers in order, then the default (No unless set). Queuing
    // Cancel for a Yes/No question is a fault of the test and throws std::logic_error when
    // that question comes; a default of Cancel answers a Yes/No question No.
    void queueAnswer(Answer answer) { m_answers.push_back(answer); }
    void setDefaultAnswer(Answer answer) { m_defaultAnswer = answer; }
    std::size_t pendingAnswers() const { return m_answers.size(); }

    // Every box in the order shown.
    const std::vector<RecordedBox>& boxes() const { return m_boxes; }
    // The texts of the boxes, in order.
    std::vector<std::string> boxTexts() const;
    // The latest box; throws std::logic_error when none was shown.
    const RecordedBox& lastBox() const;
    void clearBoxes() { m_boxes.clear(); }

    // Every target handed to the shell, in order; shellOpen answers shellOpenResult.
    const std::vector<std::string>& shellTargets() const { return m_shellTargets; }
    void setShellOpenResult(bool succeeds) { m_shellOpenResult = succeeds; }

    // The clipboard starts without text. Every setClipboardText is kept in clipboardWrites.
    const std::vector<std::string>& clipboardWrites() const { return m_clipboardWrites; }
    void clearClipboard();

    // The printer set-up dialog is confirmed unless set otherwise. On confirmation the printer
    // is made to print PDF into printOutputFile(): by default a file in a temporary directory
    // that lives as long as this object.
    void setPrinterSetupAccepted(bool accepted) { m_printerSetupAccepted = accepted; }
    // The pages the user chooses in a dialog that offers a range (0, 0: all, the default).
    void setPrintPageRange(int from, int to) { m_printFrom = from; m_printTo = to; }
    // Whether the latest dialog offered a range of pages.
    bool printerSetupOfferedRange() const { return m_printerSetupOfferedRange; }
    int printerSetupCount() const { return m_printerSetupCount; }
    void setPrintOutputFile(const QString& path) { m_printOutputFile = path; }
    QString printOutputFile();

    void setTickCount(std::int64_t ms) { m_tickCount = ms; }
    void advanceTickCount(std::int64_t ms) { m_tickCount += ms; }
    void setDisplayColourCount(int count) { m_colourCount = count; }
    // The screen is 600 pixels high, as the offscreen platform's, unless set.
    void setScreenHeight(int pixels) { m_screenHeight = pixels; }

    CursorShape screenCursor() const { return m_cursor; }
    // Every setScreenCursor call, in order, repeats included.
    const std::vector<CursorShape>& cursorChanges() const { return m_cursorChanges; }

private:
    void record(BoxKind kind, const std::string& caption, const std::string& text, MessageIcon icon,
                std::optional<QuestionButtons> buttons = std::nullopt,
                std::optional<Answer> answer = std::nullopt);

    std::deque<Answer> m_answers;
    Answer m_defaultAnswer = Answer::No;
    std::vector<RecordedBox> m_boxes;
    std::vector<std::string> m_shellTargets;
    bool m_shellOpenResult = true;
    bool m_clipboardHasText = false;
    std::string m_clipboard;
    std::vector<std::string> m_clipboardWrites;
    bool m_printerSetupAccepted = true;
    int m_printerSetupCount = 0;
    int m_printFrom = 0, m_printTo = 0;
    bool m_printerSetupOfferedRange = false;
    QString m_printOutputFile;
    std::unique_ptr<QTemporaryDir> m_printDir;
    std::int64_t m_tickCount = 0;
    int m_colourCount = -1;
    int m_screenHeight = 600;
    CursorShape m_cursor = CursorShape::Arrow;
    std::vector<CursorShape> m_cursorChanges;
};
