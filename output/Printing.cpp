// Article printing through the scratch form and book printing as a window picture, both on the
// application's one printer.
#include "output/Printing.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QImage>
#include <QMainWindow>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "app/VolumeRegistry.h"
#include "display/RichTextView.h"
#include "display/RtfUnits.h"
#include "output/OutputMessages.h"
#include "output/RichTextCopy.h"
#include "output/TTemp.h"
#include "platform/Platform.h"
#include "text/Cp932.h"
#include "text/QtText.h"

namespace {

// The designed rectangle was measured on 300-dot printers, where it leaves a margin of about
// half a centimetre on A4; the printer starts at that resolution and keeps whatever the set-up
// dialog chooses instead.
constexpr int kDesignedPrinterDpi = 300;
constexpr double kArticlePointSize = 11.0;

[[noreturn]] void printerFailed()
{
    throw std::runtime_error(outputmessages::kPrinterFailed);
}

// Black, not bold, 11 points over the whole text; italic, underline and the rest stay.
void normaliseForPrinting(RichTextView& scratch)
{
    scratch.selectAll();
    QTextCursor all = scratch.textCursor();
    QTextCharFormat format;
    format.setForeground(QBrush(Qt::black));
    format.setFontWeight(QFont::Normal);
    format.setFontPointSize(kArticlePointSize);
    all.mergeCharFormat(format);
    // The paragraph marks carry a format of their own, which sets the height of an empty line.
    all.mergeBlockCharFormat(format);
}

// The horizontal measures of every paragraph in printer pixels. Laid out for the printer, the
// document's layout scales line heights and the space above and below paragraphs from screen
// pixels by itself, but takes indents as they are; they are set from the twips they were read
// with, which is also the printer's own unit conversion.
void scaleIndentsForPrinter(QTextDocument& document, const QPrinter& printer)
{
    const double printerDpiX = printer.logicalDpiX();
    const double screenDpi = display::layoutDpi();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        auto measure = [&](int twipsProperty, qreal screenPixels) {
            return format.hasProperty(twipsProperty) ? format.intProperty(twipsProperty) * printerDpiX / 1440.0
                                                     : screenPixels * printerDpiX / screenDpi;
        };
        format.setLeftMargin(measure(display::kLeftIndentTwips, format.leftMargin()));
        format.setRightMargin(measure(display::kRightIndentTwips, format.rightMargin()));
        format.setTextIndent(measure(display::kFirstIndentTwips, format.textIndent()));
        QTextCursor(block).setBlockFormat(format);
    }
}

// Every print dialog starts on all pages: a range chosen for one article is not the next one's.
void allPages(QPrinter& printer)
{
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFromTo(0, 0);
}

// Lays the document out in the page rectangle and prints the pages the dialog chose (all of
// them, or a range cut to the article's last page) a page at a time. The layout is done for the
// printer itself, so that the fonts take their sizes at its resolution.
void printDocument(Platform& platform, const QTextDocument& source, QPrinter& printer)
{
    printer.setDocName(QString::fromUtf8(outputmessages::kArticlePrintJobTitle));
    // The page size is known once the printer is chosen; the layout needs no painter.
    const QRect paintArea(QPoint(0, 0), QSize(printer.width(), printer.height()));
    const QRect rect = output::ArticlePageRect(paintArea);
    std::unique_ptr<QTextDocument> document(source.clone());
    scaleIndentsForPrinter(*document, printer);
    document->documentLayout()->setPaintDevice(&printer);
    document->setDocumentMargin(0);
    document->setPageSize(rect.size());
    const output::PageSpan span = output::PagesToPrint(std::max(1, document->pageCount()), printer);
    if (span.empty()) {
        platform.showMessage(text::cp932(outputmessages::kNoPagesInRange));
        return;
    }

    QPainter painter;
    if (!painter.begin(&printer))
        printerFailed();
    for (int page = span.first - 1; page < span.last; ++page) {
        if (page > span.first - 1 && !printer.newPage())
            printerFailed();
        painter.save();
        const QRectF shown(0, page * rect.height(), rect.width(), rect.height());
        painter.translate(rect.left(), rect.top() - shown.top());
        painter.setClipRect(shown);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = shown;
        context.palette.setColor(QPalette::Text, Qt::black);
        document->documentLayout()->draw(&painter, context);
        painter.restore();
    }
    if (!painter.end())
        printerFailed();
}

// The client area of a window: a main window's without its menu bar, which lies outside it.
QRect clientRectOf(const QWidget& window)
{
    QRect client = window.rect();
    if (const auto* main = qobject_cast<const QMainWindow*>(&window))
        if (const QWidget* menu = main->menuWidget(); menu && menu->isVisible())
            client.setTop(menu->geometry().bottom() + 1);
    return client;
}

// The print memo stands where the view is only while the picture is taken.
class PrintMemoShown {
public:
    explicit PrintMemoShown(const BookVolumeEntry& book) : m_book(book)
    {
        QString text = text::toQString(book.RichEdit->plainText());
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        m_book.Memo->setPlainText(text);
        m_book.Memo->setVisible(true);
        m_book.RichEdit->setVisible(false);
    }
    ~PrintMemoShown()
    {
        m_book.RichEdit->setVisible(true);
        m_book.Memo->setVisible(false);
        m_book.Memo->clear();
    }
    PrintMemoShown(const PrintMemoShown&) = delete;
    PrintMemoShown& operator=(const PrintMemoShown&) = delete;

private:
    const BookVolumeEntry& m_book;
};

}  // namespace

QPrinter& ApplicationPrinter()
{
    // Created on first use and never destroyed: it holds the user's choice until the program
    // ends, and a printer must not outlive the application's font and paint machinery in a
    // static destructor.
    static QPrinter* printer = [] {
        auto* p = new QPrinter(QPrinter::PrinterResolution);
        p->setResolution(kDesignedPrinterDpi);
        return p;
    }();
    return *printer;
}

void PrintRichText(Platform& platform, const std::string& buffer, RichTextView& view)
{
    TTemp temp;
    RichTextView& scratch = *temp.TempRichEdit1;
    output::LoadCopyOfView(buffer, view, scratch, true);
    normaliseForPrinting(scratch);
    QPrinter& printer = ApplicationPrinter();
    allPages(printer);
    if (!platform.printerSetup(printer, Platform::PrintPages::Range))
        return;
    printDocument(platform, *scratch.document(), printer);
}

void PrintBookEntry(Platform& platform, QWidget& mainWindow, const BookVolumeEntry& book)
{
    QPrinter& printer = ApplicationPrinter();
    allPages(printer);
    if (!platform.printerSetup(printer, Platform::PrintPages::One))
        return;
    QImage picture;
    {
        PrintMemoShown memo(book);
        // The memo is laid out where the view was before the window is drawn.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        picture = mainWindow.grab(clientRectOf(mainWindow)).toImage();
    }
    QPainter painter;
    if (!painter.begin(&printer))
        printerFailed();
    const QSize page(printer.width(), printer.height());
    const double scale = output::WindowImageScale(picture.size(), page);
    painter.drawImage(QRectF(0, 0, picture.width() * scale, picture.height() * scale), picture);
    if (!painter.end())
        printerFailed();
}

namespace output {

QRect ArticlePageRect(const QRect& paintArea)
{
    // Right 2250 and bottom 3250 are the first pixels outside, as a device rectangle counts.
    const QRect designed(QPoint(60, 70), QPoint(2250 - 1, 3250 - 1));
    const QRect kept = designed.intersected(paintArea);
    return kept.isEmpty() ? paintArea : kept;
}

PageSpan PagesToPrint(int pageCount, const QPrinter& printer)
{
    PageSpan span{1, pageCount};
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        span.first = printer.fromPage();
        span.last = std::min(pageCount, printer.toPage() > 0 ? printer.toPage() : pageCount);
    }
    return span;
}

double WindowImageScale(const QSize& image, const QSize& page)
{
    if (image.isEmpty() || page.isEmpty())
        return 1.0;
    double scale = double(page.height()) / image.height();
    if (image.width() * scale > page.width())
        scale = double(page.width()) / image.width();
    return scale;
}

}  // namespace output
