// The importer command, for content editors and the build:
//
//   importer import  MANIFEST ROOT VOLUME         pages → the volume's authoring copy under ROOT
//   importer deliver ROOT VOLUME [TARGET]         authoring copy → X1-X5.db, X6.dl_ in TARGET
//   importer build   MANIFEST ROOT VOLUME [TARGET] both, one after the other
//   importer book    SOURCE LETTER [TARGET]       a book volume (B, F or J) from its source
//   importer check   PAGE                         how a page reads, with its problems
//
// Without TARGET, the output goes to the user's data folder (store/UserDataFolder.h), which
// the installed program reads at its next start.
//
// A re-import carries the editors' registered links and edited texts into the new copy and
// reports what it could not place (EditorsWork.h). Files are replaced whole: written beside the
// old ones and renamed in when all are on disk.
//
// VOLUME is a law volume's letter (A E G H I K) or index (0 to 5). -v lists every reference
// that found no target. Progress and summaries go to out, problems and errors to err; the
// exit status is 0, 1 for an error (a missing, unreadable or damaged page, a size or checksum
// that is not the manifest's), 2 for a wrong command line.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace importer {

int runCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace importer
