// Reads an RTF document in code page 932 into a QTextDocument: the documents the article
// renderer writes and ordinary RTF from elsewhere. A document that is not RTF is refused, so
// that the caller can show it as plain text instead.
#pragma once

#include <string>
#include <string_view>

class QTextDocument;

namespace display {

struct RtfReadResult {
    bool accepted = false;
    std::string reason;  // why a document was refused, for test and fuzz output; empty when accepted
};

// Replaces the content of document with the RTF document rtf and returns whether it was read.
// A refused document leaves document empty. Every paragraph ends with \par; text after the
// last \par forms a last paragraph of its own only when there is any.
//
// Text bytes are code page 932. A double-byte character may come as two \'hh escapes, as a
// raw or escaped lead byte followed by a raw or escaped second byte, and its second byte may be
// written \\ \{ \}; a raw lead byte followed by a backslash that starts no escape and no control
// word takes that backslash as its second byte.
RtfReadResult readRtf(std::string_view rtf, QTextDocument& document);

}  // namespace display
