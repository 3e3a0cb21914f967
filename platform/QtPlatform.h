// The platform as Qt provides it: QMessageBox, QDesktopServices, QClipboard, QPrintDialog,
// the screen's depth and the application's override cursor. Needs a QApplication.
#pragma once

#include <QString>
#include <QUrl>

#include "platform/Platform.h"

class QCoreApplication;

class QtPlatform : public Platform {
public:
    QtPlatform();
    ~QtPlatform() override;

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
    std::int64_t tickCount() override;
    int displayColourCount() override;
    int screenHeight() override;
    void setScreenCursor(CursorShape shape) override;

private:
    int runMessageBox(const std::string& caption, const std::string& text, MessageIcon icon,
                      int standardButtons);

    CursorShape m_cursor = CursorShape::Arrow;
};

// The colour count a display of the given depth in bits per pixel reports: -1 above 8 bits
// (true colour), otherwise 2^depth.
int colourCountOfDepth(int depth);

// The message text as a box shows it: code page 932 decoded, CR LF and a lone CR made line
// breaks.
QString messageBoxText(const std::string& cp932Text);

// The address QDesktopServices is given for a shell target: web addresses as they are
// ("www." ones as http), anything else as a local file resolved against the working directory.
QUrl shellUrlOf(const std::string& cp932Target);

// Loads Qt's own Japanese words (the standard buttons' はい, いいえ, キャンセル) from the
// translations Qt was installed with. False when they are not installed; the buttons then
// keep their English words.
bool installJapaneseTranslations(QCoreApplication& app);
