// The document the word-processor export writes when no word processor can be driven: the
// article as its text view shows it, as an OpenDocument Text file that word processors open.
#pragma once

#include <QString>

class QTextDocument;

namespace output {

// The extension of that document. OpenDocument Text holds the text as Unicode and the layout
// (indents, colours, underlines) in a form every current word processor reads; a ".doc" name
// would make a word processor look for its own binary format and refuse the file.
inline constexpr char kWordDocumentExtension[] = ".odt";

// Writes shown, with its indents, colours, faces and underlines, to path as OpenDocument Text;
// false when the file cannot be written (an existing file of that name is replaced).
bool WriteWordDocument(const QTextDocument& shown, const QString& path);

}  // namespace output
