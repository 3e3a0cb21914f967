// Reads a law in the government's standard law XML (法令標準XML) into the same page model the
// law pages fill, so that layout, citations, outline and delivery treat both alike. Three
// wrappers hold the <Law>: a bulk-download file (root <Law>), a version 1 API answer
// (<DataRoot>) and a version 2 API answer (<law_data_response>); the older form of the schema
// (Delete/Hide attributes) reads too.
//
// How the elements become text:
//   tables (TableStruct)      one line per row, cells between ｜ marks (｜名称｜根拠法｜); a
//                             cell spanning rows is written in its first row and left empty
//                             below, as the law pages' tables are
//   definition items          the two Column texts separated by a full-width space
//   figures, forms            Fig → ［図］; each AppdxStyle (様式) a line of its title in the
//                             law's 別紙様式 row
//   ruby                      the base text only
//   deleted runs (Num="92:120")  one deleted article per number, each reading 削除
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "tools/importer/LawPage.h"

namespace importer {

// A day as yyyymmdd (20261101).
using CivilDate = int;

// "2026-11-01" → 20261101; nothing for anything but a real day written so.
std::optional<CivilDate> parseIsoDate(std::string_view text);
std::string isoDate(CivilDate date);
// The day as a reader of Japanese law writes it: 令和８年１１月１日.
U32 japaneseDate(CivilDate date);

// Which revision of a law a file holds.
struct LawRevision {
    std::string lawId;       // 363AC0000000108
    std::string revisionId;  // 363AC0000000108_20261101_507AC0000000013, or the file's stem
    std::optional<CivilDate> inForce;  // the day from which the text is in force
};

// The revision a file name gives (<law id>_<YYYYMMDD>_<amending act id>.xml); the law id and
// day stay empty when the name is not a revision id.
LawRevision revisionOfFileName(const std::string& fileName);

// Whether the bytes are XML (a declaration or one of the three wrappers as first element)
// rather than a law page.
bool looksLikeLawXml(std::string_view bytes);

struct LawXml {
    LawPage page;
    LawRevision revision;  // what the file itself says (version 2 answers); the rest from its name
};

// Reads the law; fileLabel names the file in messages. Throws ImportError for malformed XML
// (with its line), bytes that are not UTF-8, XML that is not a law, a law without articles and
// a version 1 answer whose result code is not 0.
LawXml readLawXml(std::string_view bytes, const std::string& fileLabel);

}  // namespace importer
