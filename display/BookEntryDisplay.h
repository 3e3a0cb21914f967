// The detail view of a book volume: the current entry's book (full title, edition, publisher)
// on line 1 and its contents heading on line 2, with the book search's words coloured.
#pragma once

#include <QColor>
#include <string>

class Platform;
struct VolumeRegistry;

namespace store {
class DataSet;
}

namespace display {

// The two lines of an entry, code page 932, without line ends. nameTable stands on the entry's
// book, or is nullptr when the name table has no row for it: line 1 then holds the entry's own
// short book name, never another book's. Line 1 always holds its two ideographic spaces; line
// 2 is Mokuji with one leading ideographic space removed.
struct BookEntryLines {
    std::string line1;
    std::string line2;
};
BookEntryLines bookEntryLines(const store::DataSet& entry, const store::DataSet* nameTable);

inline const QColor kBookWord1Colour(255, 0, 0);
inline const QColor kBookWord2Colour(255, 0, 255);

}  // namespace display

// The book sub table of book volume b moved: its view shows the entry's two lines, word 2 of b
// in magenta and then word 1 in red (red wins where they overlap).
void ShowBookEntry(Platform& platform, VolumeRegistry& registry, int b);

// Colours every occurrence of word in b's view, letters compared without regard to case; an
// empty word colours nothing. The hourglass shows meanwhile.
void ColourBookKeyword(Platform& platform, VolumeRegistry& registry, int b, const std::string& word, const QColor& colour);
