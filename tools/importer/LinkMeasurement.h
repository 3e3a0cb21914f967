// The detector of references measured against the pages' own links: each law's pages are read
// twice over the same text, once with the page links and once with the links found in the
// text alone (--ignore-page-links), and the two sets of links to other laws of the volume are
// compared.
#pragma once

#include <string>
#include <vector>

#include "tools/importer/Manifest.h"

namespace importer {

struct LinkMeasure {
    std::string name;  // UTF-8
    int code = 0;
    int pageLinks = 0;         // page links that lead to an article of the volume
    int pageLinksFound = 0;    // of them, those a found link matches
    // Links found in the text that lead to an article of another law's main provision: the
    // pages link nothing else (no 附則 article, no 別表).
    int foundLinks = 0;
    int foundLinksMatching = 0;  // of them, those that match a page link
    int foundLinksBeyondPages = 0;  // found links to another law's 附則 or 別表, not compared
    // UTF-8, one line each: the citing article, the text, where it leads
    std::vector<std::string> missed;     // page links no found link matches
    std::vector<std::string> unmatched;  // found links no page link matches
    // 1 when there is nothing to find or nothing found
    double recall() const { return pageLinks ? double(pageLinksFound) / pageLinks : 1.0; }
    double precision() const { return foundLinks ? double(foundLinksMatching) / foundLinks : 1.0; }
};

// Only the articles of the main provision are compared: the pages link nothing in a 附則 or a
// 別表. A found link matches a page link when both sit on the same line of the same article, their
// texts overlap, and they lead to the same article. Throws ImportError for a page that cannot
// be read.
std::vector<LinkMeasure> measureFoundLinks(const std::vector<ManifestEntry>& entries);

// The law's row of the table, tab-separated: name, page links, found, recall, found links,
// matching, precision, found links to 附則 and 別表.
std::string measureLine(const LinkMeasure& m);

}  // namespace importer
