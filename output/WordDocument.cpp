// The export's document file, written by Qt's own OpenDocument writer from the very document the
// text view shows, so the file holds what the user saw.
#include "output/WordDocument.h"

#include <QFile>
#include <QTextDocument>
#include <QTextDocumentWriter>

namespace output {

bool WriteWordDocument(const QTextDocument& shown, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QTextDocumentWriter writer(&file, QByteArrayLiteral("ODF"));
    const bool written = writer.write(&shown);
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        // Half a document is no document: a word processor would refuse it as damaged.
        file.remove();
        return false;
    }
    return true;
}

}  // namespace output
