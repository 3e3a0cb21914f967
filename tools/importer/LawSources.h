// The laws of a manifest as read from their files: a law page (code page 932 HTML) or a law in
// the standard law XML, recognised by content, so one volume may mix both. Where the manifest
// lists several revisions of one law, the one in force on the as-of day is taken.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tools/importer/LawXml.h"
#include "tools/importer/Manifest.h"

namespace importer {

struct LawSource {
    ManifestEntry entry;
    LawPage page;
    bool xml = false;
    LawRevision revision;  // XML only
};

// Reads every law of the manifest. Rows with the same title and category code whose files carry
// an in-force day are revisions of one law: the one with the latest day not after asOf is read,
// the others are not. A file without a day is taken as it is. Throws ImportError for a file that
// cannot be read, a law none of whose revisions is in force on asOf, and a law listed both with
// and without a day.
std::vector<LawSource> readLawSources(const std::vector<ManifestEntry>& entries, CivilDate asOf,
                                      const std::function<void(const std::string&)>& progress = {});

// The revision a law's summary names: "2026-11-01 施行 363AC0000000108_20261101_507AC0000000013",
// or "施行日の記載なし 129AC0000000089_2018" for a file that gives no day. UTF-8.
std::string revisionLine(const LawRevision& revision);

// Today in the local time zone.
CivilDate today();

}  // namespace importer
