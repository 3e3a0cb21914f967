// Writes a QTextDocument as RTF in code page 932: what the view saves to a buffer or a scratch
// file, and what the RTF reader reads back with the same text and formats.
#pragma once

#include <string>

class QTextDocument;

namespace display {

// The document as RTF: one \par after every paragraph; text, colours, underline, bold, italic,
// strike-out, font sizes and faces, indents, spacing, line spacing and alignment. Characters code
// page 932 cannot hold are written as \u with 〓 as their fallback.
std::string writeRtf(const QTextDocument& document);

}  // namespace display
