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
    // Found links of the kinds the pages never link, which no page link matches: references in a
    // table (no link stands in any table cell of the pages) and the items of a list after a
    // 、 (法第４２条第１項、第４項又は第６項: the pages link the first item alone, while they link
    // the item after 又は, 及び, 若しくは, 並びに or から when nothing else stands between).
    int foundInTables = 0;
    int foundListedAfterComma = 0;
    // Page links no found link matches that go wrong: a 同条, 同項, 同号 or 同法 after a quotation
    // that the pages link back to a citation inside it, where the text speaks of the law it
    // reads (所得税法第１４０条第１項中「…震災特例法第６条第５項…」として、同条…).
    int pageLinksIntoQuotations = 0;
    // UTF-8, one line each: the citing article, the text, where it leads
    std::vector<std::string> missed;     // page links no found link matches
    std::vector<std::string> unmatched;  // found links no page link matches
    // (each line begins with its kind when it is one of the above)
    // 1 when there is nothing to find or nothing found
    double recall() const { return pageLinks ? double(pageLinksFound) / pageLinks : 1.0; }
    // Recall over the page links that lead where the text points: without those into quotations.
    double rightRecall() const
    {
        const int right = pageLinks - pageLinksIntoQuotations;
        return right ? double(pageLinksFound) / right : 1.0;
    }
    double precision() const { return foundLinks ? double(foundLinksMatching) / foundLinks : 1.0; }
    // Precision over the found links the pages could have linked: without the kinds above.
    double pagePrecision() const
    {
        const int comparable = foundLinks - foundInTables - foundListedAfterComma;
        return comparable ? double(foundLinksMatching) / comparable : 1.0;
    }
};

// Only the articles of the main provision are compared: the pages link nothing in a 附則 or a
// 別表. A found link matches a page link when both sit on the same line of the same article, their
// texts overlap, and they lead to the same article. Throws ImportError for a page that cannot
// be read.
std::vector<LinkMeasure> measureFoundLinks(const std::vector<ManifestEntry>& entries);

// The law's row of the table, tab-separated: name, page links, found, recall, recall without the
// page links into quotations, found links, matching, precision, precision without the kinds the
// pages never link, found links to 附則 and 別表.
std::string measureLine(const LinkMeasure& m);

}  // namespace importer
