// Writes the browsing files of one volume from records in memory: X1-X5.db and the outline
// X6.dl_ of a law volume, X1, X3, X4, X5.db of a book volume. The delivery build and the test
// fixtures both write volumes through it, so the file layout has one owner.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace store {

struct LawArticleRecord {
    int gyo = 0;
    int kubunNo = 0;
    std::string kubun;   // code page 932 throughout
    std::string bangou;
    std::string title;
    std::string honbun;  // the article text, lines separated by CR LF
};

// One link over `length` bytes of article text starting at byte `sel`; written as one X4
// row per byte.
struct LawLinkRecord {
    int gyo = 0;
    int sel = 0;
    int length = 1;
    int goGyo = 0;
    int zeimoku = 0;
};

struct LawReferenceRecord {
    int gyo = 0;      // the referring article
    int kubunNo = 0;  // its category code
    int mainGyo = 0;  // the article referred to
};

struct TreePositionRecord {
    int gyo = 0;
    int treeId = 0;  // 0-based line of the outline file
};

struct OutlineNode {
    int depth = 0;
    std::string caption;
};

struct LawVolumeContent {
    char letter = 'E';
    std::vector<LawArticleRecord> articles;  // in list order
    std::vector<LawLinkRecord> links;
    std::vector<LawReferenceRecord> references;
    std::vector<TreePositionRecord> treePositions;
    std::vector<OutlineNode> outline;
};

// Writes into dir, replacing the files whole: the new files are written beside the old ones and
// renamed into place once all are on disk, every table stamped with one new delivery stamp (or
// the stamp given, which the delivery shares with the tables it writes elsewhere). Letter 'A'
// also gets the 51 index flag columns.
void writeLawVolume(const std::filesystem::path& dir, const LawVolumeContent& content);
void writeLawVolume(const std::filesystem::path& dir, const LawVolumeContent& content, std::uint32_t stamp);

// The outline file's text: one node per line, depth as leading tabs, CR LF line ends.
std::string outlineFileText(const std::vector<OutlineNode>& outline);

struct BookEntryRecord {
    int bookSeq = 0;
    int bookNo = 0;
    int bookRenban = 0;
    std::string bookNameShort;
    std::string gou;
    double bookPage = 0;
    std::string mokuji;
};

struct BookRecord {
    int bookNo = 0;
    int bookRenban = 0;
    std::string bookNameLong;
    std::string bookHan;
    std::string bookSyupan;
};

struct BookJumpRecord {
    int bookSeq = 0;
    int gyo = 0;
    int zeimoku = 0;
};

struct BookUrlRecord {
    int bookSeq = 0;
    std::string url;
};

struct BookVolumeContent {
    char letter = 'B';
    std::vector<BookEntryRecord> entries;
    std::vector<BookRecord> books;
    std::vector<BookJumpRecord> jumps;
    std::vector<BookUrlRecord> urls;
};

// Writes into dir, replacing the files whole, as writeLawVolume does.
void writeBookVolume(const std::filesystem::path& dir, const BookVolumeContent& content);

}  // namespace store
