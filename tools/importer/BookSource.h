// A book volume from a tab-separated source, for samples and tests. One record per line
// (UTF-8; # starts a comment line), the record kind first:
//
//   book   BookNo  BookRenban  BookNameLong  BookHan  BookSyupan
//   entry  BookSeq  BookNo  BookRenban  BookNameShort  Gou  BookPage  Mokuji
//   jump   BookSeq  Zeimoku  KubunNo  Bangou      the entry leads to that article of law volume
//                                                 Zeimoku, looked up in its delivered X1.db
//   url    BookSeq  Url
#pragma once

#include <filesystem>
#include <stdexcept>

#include "store/VolumeWriter.h"

namespace importer {

class BookSourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the source; jump records are resolved against the law volumes delivered in lawDir.
store::BookVolumeContent readBookSource(const std::filesystem::path& source, char letter,
                                        const std::filesystem::path& lawDir);

}  // namespace importer
