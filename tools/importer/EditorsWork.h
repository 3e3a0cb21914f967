// What editors added to an authoring copy, carried into the copy a re-import makes: links they
// registered in the link editor and article texts they edited, placed again on the same article
// (same law, same article number) of the new import, or listed as not placed.
//
// How an editor's work is told from the import's own rows:
// - a registered link has no occurrence (リンク条文.DB `check` empty); the importer's links
//   always name theirs;
// - an imported article carries in `check2` the fingerprint of the caption and text the import
//   wrote; a row whose text no longer matches it was edited, and a row without one in a copy
//   where the others have one was added by an editor. A copy written before fingerprints
//   existed cannot tell an edit from an amendment: its articles whose text differs from the new
//   import are listed for a look, and the new text is kept.
#pragma once

#include <string>
#include <vector>

#include "tools/importer/AuthoringCopy.h"

namespace importer {

struct CarriedWork {
    int linksCarried = 0;
    int linksAlreadyImported = 0;  // the new import found the same link itself
    int textsCarried = 0;
    std::vector<std::string> notPlaced;  // UTF-8, one line per link or text that could not be placed
    std::vector<std::string> toCheck;    // UTF-8, articles of an unmarked copy whose text changed
};

// The fingerprint of an article's caption and text as the import writes them (`check2`).
std::string importFingerprint(const AuthoringArticle& article);

// Carries the editors' work of `previous` (the copy on disk) into `fresh` (the new import):
// edited texts replace the new ones, the import's links in them placed again by their phrase
// (the occurrence nearest to where the new text had it); registered links are added on the
// new article's key.
CarriedWork carryEditorsWork(const AuthoringVolume& previous, AuthoringVolume& fresh);

// The report written beside the copy (UTF-8 lines).
std::string carriedWorkReport(const CarriedWork& work);

}  // namespace importer
