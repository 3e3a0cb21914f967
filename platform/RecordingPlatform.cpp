// The recording double of the platform, shared by the tests of every layer.
#include "platform/RecordingPlatform.h"

#include <QPrinter>
#include <QTemporaryDir>
#include <stdexcept>

RecordingPlatform::RecordingPlatform() = default;

RecordingPlatform::~RecordingPlatform() = default;

void RecordingPlatform::record(BoxKind kind, const std::string& caption, const std::string& text,
                               MessageIcon icon, std::optional<QuestionButtons> buttons,
                               std::optional<Answer> answer)
{
    m_boxes.push_back(RecordedBox{kind, caption, text, icon, buttons, answer});
}

void RecordingPlatform::showMessage(const std::string& text)
{
    record(BoxKind::Message, applicationTitle(), text, MessageIcon::None);
}

void RecordingPlatform::inform(const std::string& caption, const std::string& text, MessageIcon icon)
{
    record(BoxKind::Inform, caption, text, icon);
}

Answer RecordingPlatform::ask(const std::string& caption, const std::string& text,
                              QuestionButtons buttons, MessageIcon icon)
{
    const bool cancelOffered = buttons == QuestionButtons::YesNoCancel;
    Answer answer;
    if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.pop_front();
        if (answer == Answer::Cancel && !cancelOffered)
            throw std::logic_error("Cancel queued for a Yes/No question: " + caption);
    } else {
        answer = m_defaultAnswer;
        if (answer == Answer::Cancel && !cancelOffered)
            answer = Answer::No;
    }
    record(BoxKind::Question, caption, text, icon, buttons, answer);
    return answer;
}

void RecordingPlatform::showError(const std::string& text)
{
    record(BoxKind::Error, applicationTitle(), text, MessageIcon::Error);
}

std::vector<std::string> RecordingPlatform::boxTexts() const
{
    std::vector<std::string> texts;
    texts.reserve(m_boxes.size());
    for (const RecordedBox& box : m_boxes)
        texts.push_back(box.text);
    return texts;
}

const RecordedBox& RecordingPlatform::lastBox() const
{
    if (m_boxes.empty())
        throw std::logic_error("no box was shown");
    return m_boxes.back();
}

bool RecordingPlatform::shellOpen(const std::string& target)
{
    m_shellTargets.push_back(target);
    return m_shellOpenResult;
}

std::string RecordingPlatform::clipboardText() { return m_clipboardHasText ? m_clipboard : std::string(); }

bool RecordingPlatform::clipboardHasText() { return m_clipboardHasText; }

void RecordingPlatform::setClipboardText(const std::string& text)
{
    m_clipboard = text;
    m_clipboardHasText = true;
    m_clipboardWrites.push_back(text);
}

void RecordingPlatform::clearClipboard()
{
    m_clipboard.clear();
    m_clipboardHasText = false;
}

QString RecordingPlatform::printOutputFile()
{
    if (m_printOutputFile.isEmpty()) {
        if (!m_printDir)
            m_printDir = std::make_unique<QTemporaryDir>();
        m_printOutputFile = m_printDir->filePath(QStringLiteral("printed.pdf"));
    }
    return m_printOutputFile;
}

bool RecordingPlatform::printerSetup(QPrinter& printer, PrintPages pages)
{
    ++m_printerSetupCount;
    m_printerSetupOfferedRange = pages == PrintPages::Range;
    if (!m_printerSetupAccepted)
        return false;
    if (m_printerSetupOfferedRange && m_printFrom > 0) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(m_printFrom, m_printTo);
    }
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(printOutputFile());
    return true;
}

void RecordingPlatform::setScreenCursor(CursorShape shape)
{
    m_cursor = shape;
    m_cursorChanges.push_back(shape);
}
