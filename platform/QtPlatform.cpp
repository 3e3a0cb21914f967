// Qt's message boxes, shell, clipboard, printer dialog, clock, screen and cursor behind the
// platform seam.
#include "platform/QtPlatform.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QPrintDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QScreen>
#include <QTranslator>
#include <QUrl>
#include <chrono>

#include "text/QtText.h"

namespace {

QMessageBox::Icon qtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::None: return QMessageBox::NoIcon;
    case MessageIcon::Information: return QMessageBox::Information;
    case MessageIcon::Question: return QMessageBox::Question;
    case MessageIcon::Warning: return QMessageBox::Warning;
    case MessageIcon::Error: return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

Qt::CursorShape qtCursor(CursorShape shape)
{
    switch (shape) {
    case CursorShape::Arrow: return Qt::ArrowCursor;
    case CursorShape::Hand: return Qt::PointingHandCursor;
    case CursorShape::Hourglass: return Qt::WaitCursor;
    }
    return Qt::ArrowCursor;
}

// While a modal box is up the user must see the arrow over it, even when a command had set the
// hourglass before it failed; the command's cursor comes back when the box closes.
class ArrowWhileModal {
public:
    ArrowWhileModal() : m_active(QGuiApplication::overrideCursor() != nullptr)
    {
        if (m_active)
            QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    }
    ~ArrowWhileModal()
    {
        if (m_active)
            QGuiApplication::restoreOverrideCursor();
    }

private:
    bool m_active;
};

}  // namespace

QtPlatform::QtPlatform() = default;

QtPlatform::~QtPlatform()
{
    if (m_cursor != CursorShape::Arrow && QGuiApplication::instance())
        QGuiApplication::restoreOverrideCursor();
}

int QtPlatform::runMessageBox(const std::string& caption, const std::string& text, MessageIcon icon,
                              int standardButtons)
{
    QMessageBox box(qtIcon(icon), text::toQString(caption), messageBoxText(text),
                    QMessageBox::StandardButtons(standardButtons), QApplication::activeWindow());
    // The texts are the program's and the tables' words, never markup: a "<" stays a "<".
    box.setTextFormat(Qt::PlainText);
    ArrowWhileModal arrow;
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return clicked ? int(box.standardButton(clicked)) : int(QMessageBox::NoButton);
}

void QtPlatform::showMessage(const std::string& text)
{
    runMessageBox(applicationTitle(), text, MessageIcon::None, QMessageBox::Ok);
}

void QtPlatform::inform(const std::string& caption, const std::string& text, MessageIcon icon)
{
    runMessageBox(caption, text, icon, QMessageBox::Ok);
}

Answer QtPlatform::ask(const std::string& caption, const std::string& text, QuestionButtons buttons,
                       MessageIcon icon)
{
    const bool withCancel = buttons == QuestionButtons::YesNoCancel;
    int offered = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        offered |= QMessageBox::Cancel;
    switch (runMessageBox(caption, text, icon, offered)) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default:
        // Closed without a button: a Yes/No box has no Cancel to give.
        return withCancel ? Answer::Cancel : Answer::No;
    }
}

void QtPlatform::showError(const std::string& text)
{
    runMessageBox(applicationTitle(), text, MessageIcon::Error, QMessageBox::Ok);
}

bool QtPlatform::shellOpen(const std::string& target)
{
    QUrl url = shellUrlOf(target);
    if (!url.isValid() || url.isEmpty())
        return false;
    // The shell reports a missing file at once; the desktop's opener would only fail later, out
    // of sight, so it is not asked.
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
        return false;
    return QDesktopServices::openUrl(url);
}

std::string QtPlatform::clipboardText()
{
    // The system's text ends its lines with CR LF; the desktop's clipboard with LF alone.
    QString s = QGuiApplication::clipboard()->text();
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    s.replace(QLatin1String("\n"), QLatin1String("\r\n"));
    return text::fromQString(s);
}

bool QtPlatform::clipboardHasText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}

void QtPlatform::setClipboardText(const std::string& text)
{
    QString s = text::toQString(text);
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QGuiApplication::clipboard()->setText(s);
}

bool QtPlatform::printerSetup(QPrinter& printer, PrintPages pages)
{
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    // Only what the print honours is offered: a range of pages for an article, no selection
    // and no current page.
    QAbstractPrintDialog::PrintDialogOptions options = dialog.options();
    options &= ~(QAbstractPrintDialog::PrintSelection | QAbstractPrintDialog::PrintCurrentPage);
    options.setFlag(QAbstractPrintDialog::PrintPageRange, pages == PrintPages::Range);
    dialog.setOptions(options);
    ArrowWhileModal arrow;
    return dialog.exec() == QDialog::Accepted;
}

std::int64_t QtPlatform::tickCount()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int QtPlatform::displayColourCount()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? colourCountOfDepth(screen->depth()) : -1;
}

int QtPlatform::screenHeight()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 0;
}

void QtPlatform::setScreenCursor(CursorShape shape)
{
    if (shape == m_cursor)
        return;
    // One override of ours at most, changed in place, so that a command that sets the hourglass
    // twice and the arrow once leaves no cursor behind.
    if (shape == CursorShape::Arrow)
        QGuiApplication::restoreOverrideCursor();
    else if (m_cursor == CursorShape::Arrow)
        QGuiApplication::setOverrideCursor(qtCursor(shape));
    else
        QGuiApplication::changeOverrideCursor(qtCursor(shape));
    m_cursor = shape;
}

int colourCountOfDepth(int depth)
{
    if (depth > 8 || depth <= 0)
        return -1;
    return 1 << depth;
}

QString messageBoxText(const std::string& cp932Text)
{
    QString s = text::toQString(cp932Text);
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

QUrl shellUrlOf(const std::string& cp932Target)
{
    const QString target = text::toQString(cp932Target).trimmed();
    if (target.isEmpty())
        return QUrl();
    // A scheme of two letters or more: "C:" is a drive, not a scheme.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(target).hasMatch())
        return QUrl(target);
    if (target.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
        return QUrl(QLatin1String("http://") + target);
    return QUrl::fromLocalFile(QFileInfo(QDir::current(), target).absoluteFilePath());
}

bool installJapaneseTranslations(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
