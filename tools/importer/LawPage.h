// One law page as the importer understands it: the header, the headings and articles of the
// main provision, the supplementary provisions (附則) block by block, the appended tables (別表)
// and the reference links, with the problems met while reading it.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "tools/importer/Utf32.h"

namespace importer {

// A reference link of the page (idxrefer.cgi): the target law's short code (H_FILE, such as
// 昭六三法一〇八) and the 79-digit anchor of the target provision, empty for a link to a law
// as a whole.
struct PageLink {
    U32 lawCode;
    U32 refName;
    std::string anchor;
};

// A stretch of text with one link state. A '\n' in the text is a line break of the page (<BR>).
struct Segment {
    U32 text;
    int link = -1;  // index into LawPage::links, -1 for plain text
};
using RichText = std::vector<Segment>;

void appendText(RichText& rich, U32View text, int link = -1);
U32 plainText(const RichText& rich);

enum class BlockKind {
    Paragraph,     // 項: label is the printed number (２, １０) or empty for an unnumbered first one
    Item,          // 号: label is the kanji item number (一, 五の二, 一から四まで)
    SubItem,       // イ / （１） / （ｉ）, level 1 to 3
    Caption,       // a caption printed before a numbered paragraph of a 附則
    Continuation,  // text of a paragraph that goes on after its items
};

struct Block {
    BlockKind kind = BlockKind::Paragraph;
    int level = 0;
    U32 label;
    RichText text;
};

struct ArticleNumber {
    int article = 0;
    int branch1 = 0;
    int branch2 = 0;
    bool operator==(const ArticleNumber&) const = default;
    auto operator<=>(const ArticleNumber&) const = default;
};

// The number of 第三十条の二 (ノ accepted for の); nothing when the text is not an article number.
std::optional<ArticleNumber> parseArticleNumber(U32View printed);

enum class ProvisionKind {
    Article,             // 第…条, in the main provision or a 附則 block
    SupplementaryWhole,  // the text of a 附則 block that stands outside any article
    AppendedTable,       // 別表
    Forms,               // the titles of the 別紙様式
};

struct Provision {
    ProvisionKind kind = ProvisionKind::Article;
    ArticleNumber number;  // articles; the 別表 number in article for tables
    U32 printedNumber;     // 第三十条の二, 別表第一, as printed
    RichText caption;      // with its parentheses, as printed; may hold links
    std::vector<Block> blocks;
    bool deleted = false;  // the text reads 削除 alone
};

struct Heading {
    int level = 0;                // 1 編, 2 章, 3 節, 4 款, 5 目
    U32 text;                     // 第一章　総則
    std::size_t beforeArticle = 0;  // index of the first main-provision article after it
    std::array<int, 5> path{};      // the numbers of 編 章 節 款 目 from its anchor
};

// The act a 附則 block belongs to, from its title 「附　則　（平成一八年六月二日法律第五〇号）　抄」.
struct ActDesignation {
    U32 era;       // 平成
    int year = 0;  // 1 for 元年
    int month = 0;
    int day = 0;
    U32 kind;      // 法律, 政令, 財務省令 …
    int number = 0;
};

struct SupplementaryBlock {
    int sequence = 0;        // 1, 2, … in page order
    U32 title;               // as printed, spaces removed: 附則（平成一八年六月二日法律第五〇号）抄
    bool excerpt = false;    // 抄
    std::optional<ActDesignation> act;  // none for the law's own original 附則
    std::vector<Provision> provisions;
};

struct LawPage {
    U32 title;
    U32 promulgation;    // 昭和六十三年十二月三十日法律第百八号, parentheses removed
    U32 lastAmendment;   // the text after 最終改正：
    std::vector<U32> pendingAmendments;
    std::vector<PageLink> links;
    std::vector<Heading> headings;
    std::vector<Provision> articles;  // main provision
    std::vector<SupplementaryBlock> supplementary;
    std::vector<Provision> appendedTables;
    std::optional<Provision> forms;
    std::vector<std::string> problems;  // UTF-8, one line each
};

// The short code by which reference links name a law (H_FILE), built from its promulgation:
// 昭和六十三年十二月三十日法律第百八号 → 昭六三法一〇八; 大蔵省令 → 大蔵省０１０００.
std::optional<U32> lawCodeOfPromulgation(U32View promulgation);

// The parts of a 79-digit anchor.
struct AnchorKey {
    int part = 0;  // 0 TOC, 1 main provision, 3 別表, 5 附則, 6 別紙様式, 9 enacting formula
    int sequence = 0;  // 別表, 附則 block or form number
    std::array<int, 5> headingPath{};  // 編 章 節 款 目
    ArticleNumber article;
    int paragraph = 0;
    int item = 0;
};
std::optional<AnchorKey> parseAnchor(std::string_view digits);

}  // namespace importer

namespace importer {

// The act named in a 附則 title, when the title gives one.
std::optional<ActDesignation> parseActDesignation(U32View titleWithoutSpaces);

}  // namespace importer
