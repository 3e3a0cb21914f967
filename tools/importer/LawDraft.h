// The article model of an import: a law of the volume laid out as the rows it will have, with
// the indexes by which citations find a row (article numbers of the main provision, of each
// 附則 block, 別表 numbers). Whatever reads a law (the pages today) fills a LawPage; the rest of
// the import works on these drafts.
#pragma once

#include <functional>
#include <map>
#include <utility>
#include <vector>

#include "tools/importer/ArticleLayout.h"
#include "tools/importer/LawPage.h"
#include "tools/importer/LawSources.h"
#include "tools/importer/VolumeImport.h"

namespace importer {

// The kind of a law by its promulgation: which reference-search phrases its text carries.
enum class LawKind { Act, Order, Ordinance };
LawKind kindOfPromulgation(U32View promulgation);
// The kind of a law by the end of the name a text gives it (所得税法施行令, 災害減免令, 規則).
LawKind kindOfName(U32View name);

enum class RowPlace { Main, Supplementary, Appended };

struct RowDraft {
    RowPlace place = RowPlace::Main;
    int block = -1;        // index into LawPage::supplementary
    const Provision* provision = nullptr;  // in the law's page: a LawDraft stays where it was laid out
    LaidOutProvision laid;
    U32 number;            // 条文本文
    int key = 0;
};

struct LawDraft {
    ManifestEntry entry;
    LawPage page;
    U32 code;              // H_FILE
    LawKind kind = LawKind::Act;
    std::vector<RowDraft> rows;
    std::vector<int> mainRows;                           // rows of the main provision in order
    std::map<ArticleNumber, int> mainIndex;
    std::vector<std::vector<int>> blockArticles;         // per 附則 block: its article rows
    std::vector<std::map<ArticleNumber, int>> blockIndex;
    int originalBlock = -1;
    std::map<int, int> tableIndex;
    LawImportSummary summary;
    // The law's node in the outline: its title, and for a law read from the standard law XML the
    // day its version came into force.
    U32 outlineTitle;
};

// Reads every law of the manifest (law pages and standard law XML alike; of several revisions of
// a law the one in force on asOf) and lays it out, in manifest order. progress is told of each
// law as it is read. Throws ImportError for a file that cannot be read.
std::vector<LawDraft> readLaws(const std::vector<ManifestEntry>& entries,
                               const std::function<void(const std::string&)>& progress = {}, CivilDate asOf = today());

// Lays out the rows of law.page in the law's order (main provision, 附則 blocks, 別表, 別紙様式)
// with their numbers and indexes, and counts them in law.summary.
void layOutLaw(LawDraft& law);

}  // namespace importer
