// The authoring copy of a law volume: the tables the link editor works on, in the directory
// layout the editor expects under an authoring root (the root plays the drive C: or D:):
//
//   <root>/YpSyohi/Jyobun/Data/条文本文.db   articles (ＫＥＹ, 条文連番, 行, 条文区分, 条文本文,
//                                             項号等, 表題, 条文内容, 改正, 番号のみ, check, check2)
//   <root>/YpSyohi/Jyobun/Data/リンク条文.DB  links (ＫＥＹ, リンク条文番号, 条件, … , GoGyo,
//                                             Zeimoku, check, check2)
//   <root>/YpSyohi/Jyobun/Data/目次.db       the outline (順, 深さ, 見出し, ＫＥＹ)
//   <root>/YpSyohi/Cd12/Data/条文本文.db     the CD table: the delivered rows, 行 = Gyo
//   <root>/YpSyohi/Main/Data/マスタ条文.DB    category master (連番, 条文区分, 正式名), shared
//                                             by all volumes
//
// (YpHoujin, YpSyohi, YpGen, YpToku, YpZoku, YpMin for volumes 0 to 5.)
//
// What the link editor leaves alone carries what the delivery needs beyond the editor's fields:
// - リンク条文.DB `check`: for a link the importer found, which occurrence (1, 2, …) of 条件 in
//   the article's browsing text it covers (lines 1 and 2 included); empty for a link an editor
//   registered, which covers every occurrence in the article's own lines (条文内容) that no
//   other link covers.
// - リンク条文.DB `Zeimoku`: -1 or -2 for a phrase that starts the reference search (政令 /
//   省令); empty for a link to the article リンク条文番号 / リンク条文本文 of this volume.
// - 条文本文.db `check2`: the fingerprint of the caption and text the import wrote, so that a
//   re-import tells a text an editor changed (tools/importer/EditorsWork.h).
// - 目次.db: one row per outline node in order; a heading has its caption in 見出し and ＫＥＹ 0,
//   an article's node has the article's ＫＥＹ and takes its caption from the article row.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace importer {

// Texts are code page 932.
struct AuthoringArticle {
    int key = 0;           // ＫＥＹ
    int code = 0;          // 条文連番
    double row = 0;        // 行
    std::string kubun;     // 条文区分
    std::string number;    // 条文本文: ３０条, 附則３条, 別表第１
    std::string kougou;    // 項号等
    std::string caption;   // 表題, without its parentheses
    std::string content;   // 条文内容, lines separated by CR LF
    int amendment = 0;     // 改正
    int numberOnly = 0;    // 番号のみ
    std::string fingerprint;  // check2: the caption and text as imported (EditorsWork.h); empty
                              // for a row an editor added
};

struct AuthoringLink {
    int key = 0;                   // ＫＥＹ of the article holding the phrase
    int targetCode = 0;            // リンク条文番号
    std::string condition;         // 条件
    double row = 0;                // 行 of the article holding the phrase (informative)
    std::string kubun;             // 条文区分 of that article (informative)
    std::string number;            // 条文本文 of that article (informative)
    std::string targetKubun;       // リンク条文区分 (informative)
    std::string targetNumber;      // リンク条文本文
    std::optional<int> zeimoku;    // -1 / -2 for the reference search
    std::optional<int> occurrence; // check
};

struct MasterEntry {
    int code = 0;             // 連番
    std::string kubun;        // 条文区分
    std::string officialName; // 正式名
};

struct OutlineEntry {
    int depth = 0;
    std::string caption;  // headings only
    int key = 0;          // articles only
};

struct AuthoringVolume {
    std::vector<AuthoringArticle> articles;  // in 行 order
    std::vector<AuthoringLink> links;
    std::vector<MasterEntry> master;
    std::vector<OutlineEntry> outline;
    std::size_t replacedCharacters = 0;  // read: text in the files code page 932 cannot hold
};

// The volume's directory names under the root ("YpSyohi" for volume 1); throws for an index
// outside 0 to 5.
std::filesystem::path jyobunDirectory(const std::filesystem::path& root, int volume);
std::filesystem::path cdDirectory(const std::filesystem::path& root, int volume);
std::filesystem::path masterDirectory(const std::filesystem::path& root);
std::filesystem::path carryReportPath(const std::filesystem::path& root, int volume);

// The volume has an authoring copy under root (its article or link table is there).
bool hasAuthoringCopy(const std::filesystem::path& root, int volume);

inline const char* kArticleTableFile = "条文本文.db";
inline const char* kLinkTableFile = "リンク条文.DB";
inline const char* kMasterTableFile = "マスタ条文.DB";
inline const char* kOutlineTableFile = "目次.db";
// What a re-import did with the editors' work, beside the tables (UTF-8).
inline const char* kCarryReportFile = "引き継ぎ報告.txt";

// Writes the volume's tables, replacing them all at once (beside the old ones, renamed in when
// all are on disk) with one new stamp; the master keeps the rows of other codes. A report, when
// given, is written beside them in the same replacement; without one an old report is removed.
void writeAuthoringVolume(const std::filesystem::path& root, int volume, const AuthoringVolume& content,
                          const std::string& carryReport = {});

// Reads the volume's tables (articles in 行 order), after finishing an import that was killed
// among its renames; throws store::TableError naming a missing
// or unreadable table, or two of the volume's tables written by different imports.
// A re-import reads a mixed copy too (sameImport false), to carry what editors did in it.
AuthoringVolume readAuthoringVolume(const std::filesystem::path& root, int volume, bool sameImport = true);

// The CD table: the delivered rows, 行 being the Gyo the browser knows them by; replaced whole,
// with the stamp of the delivery it belongs to.
void writeCdTable(const std::filesystem::path& root, int volume, const std::vector<AuthoringArticle>& delivered,
                  std::uint32_t stamp);

}  // namespace importer
