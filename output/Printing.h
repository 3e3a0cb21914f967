// Printing what a tab shows: a law article as formatted text (black, not bold, 11 points) laid
// out page by page in a fixed rectangle, and a book entry as a picture of the whole main window.
// The memo window prints its own article through the same PrintRichText.
#pragma once

#include <QRect>
#include <string>

class Platform;
class QPrinter;
class QWidget;
class RichTextView;
struct BookVolumeEntry;

// The printer every print of the program goes to: the printer set-up dialog chooses it and its
// settings for the whole application, and the next print starts from that choice.
QPrinter& ApplicationPrinter();

// Prints the rich text that view shows, taken preferably from buffer (the RTF rendered into
// view), through the scratch form TTemp: all text black, not bold, 11 points (italic and
// underline kept), after the printer set-up dialog, under the job title "Sorvane 条文印刷".
// A cancelled dialog prints nothing. Neither view nor the user's clipboard is touched, and no
// scratch file is left behind. A printer error is thrown (std::runtime_error) for the command
// boundary to show.
void PrintRichText(Platform& platform, const std::string& buffer, RichTextView& view);

// Prints mainWindow as a picture on one page, with book's detail text shown as plain text in
// its print memo for the occasion: after the printer set-up dialog (cancelled: nothing at all),
// the print memo takes the view's place, the window's client area is drawn at that moment and
// printed at the page's top-left corner, scaled with its proportions kept to the largest size
// that fits; then the view comes back and the print memo is emptied, whatever happened.
void PrintBookEntry(Platform& platform, QWidget& mainWindow, const BookVolumeEntry& book);

namespace output {

// The rectangle article text is laid out in, in printer device pixels: left 60, top 70, right
// 2250, bottom 3250 as designed, kept within the part of the page the printer can print on
// (paintArea, in the same pixels) so that no text falls off a small page or a coarse printer.
QRect ArticlePageRect(const QRect& paintArea);

// The pages of an article that a print puts on paper, 1-based and inclusive: all of them, or
// the range chosen in the print dialog cut to the article's last page (empty when the range
// starts beyond it).
struct PageSpan {
    int first = 1;
    int last = 0;
    bool empty() const { return last < first; }
};
PageSpan PagesToPrint(int pageCount, const QPrinter& printer);

// The scale of the window picture on a page: first to the page height; if the picture is then
// wider than the page, to the page width instead.
double WindowImageScale(const QSize& image, const QSize& page);

}  // namespace output
