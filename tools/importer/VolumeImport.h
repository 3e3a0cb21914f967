// The importer: a volume manifest (pages in order, each with its category code, abbreviation
// and official name) to the volume's authoring copy. Articles are numbered in volume order;
// reference links of the pages and the references found in the text become link rows; the
// outline goes to the outline table.
//
// Rows and their numbers (条文本文, the article list's Bangou, the jump's key):
//   main provision      ３０条, ３０条の２, ８４１条ノ２ (Bangou ８４１条の２)   title 第３０条（…）
//   the law's own 附則   附則３条; a block without articles: 附則               title 附則第３条（…）
//   an amending act's   附則（平成１８年法律第５０号）３条, the act by era, year, kind and
//   附則                 number (its date is in the outline); a block without articles, or
//                       its text before the first article: 附則（平成１８年法律第５０号）
//   別表                 別表第１                                            title 別表第１（第６条関係）
//   別紙様式             別紙様式, the form titles as its lines
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/importer/AuthoringCopy.h"
#include "tools/importer/LawSources.h"
#include "tools/importer/Manifest.h"

namespace importer {

struct LawImportSummary {
    std::string name;  // UTF-8
    int code = 0;
    int articles = 0;           // main provision
    int supplementaryRows = 0;  // 附則 rows
    int supplementaryBlocks = 0;
    int appendedRows = 0;       // 別表 and 別紙様式
    int deletedArticles = 0;
    // reference links of the page
    int pageLinks = 0;
    int pageLinksMade = 0;
    int pageLinksNameOnly = 0;   // a law as a whole: no article to go to
    int pageLinksOutside = 0;    // a law that is not in this volume
    int pageLinksNoTarget = 0;   // the article is not in the volume
    // references found in the text
    int references = 0;
    int referencesLinked = 0;
    int referencesToSelf = 0;
    int referencesOtherLaw = 0;  // a law not named (新法第３条), an amendment, an amending act's 附則
    int referencesQuoted = 0;    // inside 「」: quoted wording, not a citation
    int referencesOutside = 0;   // a law named that is not in the volume (no link)
    int referencesNoTarget = 0;
    int scopeLinksOrder = 0;     // -1
    int scopeLinksMinistry = 0;  // -2
    std::size_t replacedCharacters = 0;
    std::vector<std::string> unresolved;  // UTF-8: the article and the citation
    std::vector<std::string> problems;    // UTF-8
    std::string revision;  // UTF-8, laws read from XML: the revision taken (revisionLine)
};

struct VolumeImport {
    AuthoringVolume volume;
    std::vector<LawImportSummary> laws;
};

struct ImportOptions {
    // The pages' own links are read as plain text: the links are those found in the text.
    bool ignorePageLinks = false;
    // Of several revisions of a law, the one in force on this day is taken.
    CivilDate asOf = today();
};

// Reads every law (law pages and standard law XML alike) and builds the authoring copy in
// memory. progress is told of each law as it is read. Throws ImportError for a file that cannot
// be read.
VolumeImport importVolume(const std::vector<ManifestEntry>& laws,
                          const std::function<void(const std::string&)>& progress = {}, ImportOptions options = {});

// The summary line of a law, UTF-8.
std::string summaryLine(const LawImportSummary& s);

}  // namespace importer
