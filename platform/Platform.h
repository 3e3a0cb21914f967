// The seam to the operating system: every message box, shell call, clipboard access, printer
// dialog, clock read and screen-cursor change of the program goes through the current Platform,
// so that tests can put a recording double in its place and never block on a dialog.
//
// All text crossing this seam is code page 932 bytes in std::string (the system's text type):
// captions, message texts, clipboard text and shell targets alike.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

class QPrinter;

enum class MessageIcon { None, Information, Question, Warning, Error };

// The button sets of a question. A Yes/No box offers no Cancel; closing a Yes/No/Cancel box
// answers Cancel.
enum class QuestionButtons { YesNo, YesNoCancel };

enum class Answer { Yes, No, Cancel };

// The screen cursor is one application-wide shape, as the program sets it around long commands
// (the hourglass) and over link text (the hand); Arrow is the default, every control's own.
enum class CursorShape { Arrow, Hand, Hourglass };

class Platform {
public:
    Platform();
    virtual ~Platform();
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;

    // The application title: the caption of the informational and error boxes and the name the
    // single-instance test goes by. Starts as "Sorvane 36 Lite".
    const std::string& applicationTitle() const { return m_applicationTitle; }
    void setApplicationTitle(std::string titleCp932) { m_applicationTitle = std::move(titleCp932); }

    // The application's informational box: the text, an OK button, the application title as
    // caption, no icon. Returns when the user has pressed OK.
    virtual void showMessage(const std::string& text) = 0;

    // An OK box with its own caption and icon (the About box).
    virtual void inform(const std::string& caption, const std::string& text, MessageIcon icon) = 0;

    // A modal question. Line breaks in text may be CR LF or a lone CR.
    virtual Answer ask(const std::string& caption, const std::string& text, QuestionButtons buttons,
                       MessageIcon icon) = 0;

    // The application's standard error box for an error no command handled: the error's text,
    // the application title as caption, the error icon, OK. The program goes on afterwards.
    virtual void showError(const std::string& text) = 0;

    // The shell's "OPEN" verb: a web address (a scheme such as "https:" or a name beginning
    // with "www.") goes to the browser, anything else is a file name resolved against the
    // working directory and opened with its associated program. Does not wait for the program;
    // false when the target could not be handed over (a missing file, no handler).
    virtual bool shellOpen(const std::string& target) = 0;

    // The clipboard's text. clipboardText() is empty when the clipboard holds no text;
    // clipboardHasText() tells that case apart from an empty text. Every set replaces the
    // clipboard's whole content with the one text. Lines end with CR LF on this side of the
    // seam, whatever the desktop's clipboard uses.
    virtual std::string clipboardText() = 0;
    virtual bool clipboardHasText() = 0;
    virtual void setClipboardText(const std::string& text) = 0;

    // Whether a print dialog offers a range of pages: an article runs over pages, a window
    // picture is one page.
    enum class PrintPages { One, Range };

    // The printer set-up dialog on printer; true when the user confirmed it (printer then holds
    // the chosen printer and settings, and with PrintPages::Range the pages chosen), false when
    // cancelled.
    virtual bool printerSetup(QPrinter& printer, PrintPages pages) = 0;

    // The millisecond tick count of a monotonic clock; only differences mean anything.
    virtual std::int64_t tickCount() = 0;

    // The display's colour count as the window functions report it: -1 on a true-colour
    // display, otherwise the number of colours (256 on a palette display).
    virtual int displayColourCount() = 0;

    // The height in pixels of the screen the windows open on (the primary screen); 0 when the
    // desktop reports none.
    virtual int screenHeight() = 0;

    virtual void setScreenCursor(CursorShape shape) = 0;

private:
    std::string m_applicationTitle;
};

// The text of an error for the error box. The program's own messages are UTF-8 literals; a
// message that is not valid UTF-8 came from the tables and is already code page 932. The
// table engine words its own errors in UTF-8 too.
std::string errorTextOf(std::string_view message);
std::string errorTextOf(const std::exception& error);

// Runs one command. An error it raises ends the command and is shown in platform's standard error
// box; the program goes on. Returns false when the command ended that way.
bool runCommand(Platform& platform, const std::function<void()>& command);
