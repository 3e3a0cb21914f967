// Import of a volume: every law (page or XML) is read and laid out first, since a page links to articles of
// pages that come after it; then the links are resolved and everything is written out in code
// page 932, link positions measured in the text the delivery will compose.
#include "tools/importer/VolumeImport.h"

#include <algorithm>
#include <sstream>

#include "text/Cp932.h"
#include "tools/importer/ArticleLayout.h"
#include "tools/importer/ArticleText.h"
#include "tools/importer/CitationResolver.h"
#include "tools/importer/EditorsWork.h"
#include "tools/importer/LawDraft.h"
#include "tools/importer/LawSources.h"
#include "tools/importer/Numerals.h"

namespace importer {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxKey = 32767;  // ＫＥＹ is a 16-bit field
constexpr int kRowStep = 10;

struct EncodedSpan {
    std::size_t begin = 0;  // bytes, relative to the encoded text
    std::size_t end = 0;
    LinkTarget target;
};

// Code page 932 of the lines joined with CR LF, with the byte extent of every linked piece.
std::string encodeLines(const std::vector<LinkedLine>& lines, std::vector<EncodedSpan>& spans, std::size_t& replaced)
{
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            out += "\r\n";
        for (const auto& piece : lines[i]) {
            std::size_t begin = out.size();
            out += toCp932(piece.text, &replaced);
            if (piece.target && out.size() > begin)
                spans.push_back({begin, out.size(), *piece.target});
        }
    }
    return out;
}

}  // namespace

std::vector<LawDraft> readLaws(const std::vector<ManifestEntry>& entries, const std::function<void(const std::string&)>& progress,
                               CivilDate asOf)
{
    std::vector<LawSource> sources = readLawSources(entries, asOf, progress);
    std::vector<LawDraft> laws(sources.size());
    for (std::size_t i = 0; i < sources.size(); ++i) {
        LawDraft& law = laws[i];
        LawSource& source = sources[i];
        law.entry = source.entry;
        law.page = std::move(source.page);
        law.summary.name = law.entry.lawTitle;
        law.summary.code = law.entry.code;
        law.summary.problems = law.page.problems;
        law.outlineTitle = fromUtf8(law.entry.lawTitle);
        if (source.xml) {
            law.summary.revision = revisionLine(source.revision);
            if (source.revision.inForce)
                law.outlineTitle += U"（" + japaneseDate(*source.revision.inForce) + U"施行）";
        }
        U32 title = fromUtf8(law.entry.lawTitle);
        if (!law.page.title.empty() && law.page.title != title)
            law.summary.problems.push_back("ページの法令名が目録と違います: " + toUtf8(law.page.title));
        U32 promulgation = law.page.promulgation.empty() ? fromUtf8(law.entry.promulgation) : law.page.promulgation;
        if (auto code = lawCodeOfPromulgation(promulgation))
            law.code = *code;
        else
            law.summary.problems.push_back("公布の記載が読めません: " + toUtf8(promulgation));
        law.kind = kindOfPromulgation(promulgation);
        layOutLaw(law);
    }
    return laws;
}

VolumeImport importVolume(const std::vector<ManifestEntry>& entries, const std::function<void(const std::string&)>& progress,
                          ImportOptions options)
{
    std::vector<LawDraft> laws = readLaws(entries, progress, options.asOf);

    VolumeImport result;
    AuthoringVolume& v = result.volume;
    // ＫＥＹ and 行 in volume order.
    int next = 0;
    for (auto& law : laws)
        for (auto& r : law.rows)
            r.key = ++next;
    if (next > kMaxKey)
        throw ImportError("条文が多すぎます (" + std::to_string(next) + " 件、上限 " + std::to_string(kMaxKey) + " 件)");

    CitationResolver resolver(laws, options.ignorePageLinks);
    for (std::size_t li = 0; li < laws.size(); ++li) {
        LawDraft& law = laws[li];
        LawImportSummary& s = law.summary;
        const std::string lawName = toCp932(fromUtf8(law.entry.lawTitle), &s.replacedCharacters);
        const std::string kubun = toCp932(fromUtf8(law.entry.abbreviation), &s.replacedCharacters);
        v.master.push_back({law.entry.code, kubun, lawName});

        for (std::size_t ri = 0; ri < law.rows.size(); ++ri) {
            RowDraft& row = law.rows[ri];
            ResolvedRow resolved = resolver.resolveRow(static_cast<int>(li), static_cast<int>(ri));
            std::vector<EncodedSpan> captionSpans, bodySpans;
            AuthoringArticle a;
            a.key = row.key;
            a.code = law.entry.code;
            // 行 in steps of 10: 追加 then finds room after any row without renumbering others.
            a.row = row.key * kRowStep;
            a.kubun = kubun;
            a.number = toCp932(row.number, &s.replacedCharacters);
            a.caption = encodeLines(resolved.caption, captionSpans, s.replacedCharacters);
            a.content = encodeLines(resolved.body, bodySpans, s.replacedCharacters);
            a.fingerprint = importFingerprint(a);
            ComposedArticle composed = composeArticle(lawName, a.number, a.caption, a.content);

            auto addLink = [&](const EncodedSpan& span, std::size_t offset) {
                std::size_t begin = span.begin + offset;
                std::string phrase = composed.honbun.substr(begin, span.end - span.begin);
                auto occ = occurrences(composed.honbun, phrase);
                auto at = std::find(occ.begin(), occ.end(), begin);
                AuthoringLink l;
                l.key = a.key;
                l.condition = phrase;
                l.row = a.row;
                l.kubun = a.kubun;
                l.number = a.number;
                l.occurrence = static_cast<int>(at - occ.begin()) + 1;
                if (span.target.zeimoku < 0) {
                    l.zeimoku = span.target.zeimoku;
                    l.targetCode = a.code;
                    l.targetKubun = a.kubun;
                    l.targetNumber = a.number;
                } else {
                    const LawDraft& tl = laws[static_cast<std::size_t>(span.target.law)];
                    l.targetCode = tl.entry.code;
                    l.targetKubun = toCp932(fromUtf8(tl.entry.abbreviation));
                    l.targetNumber = toCp932(tl.rows[static_cast<std::size_t>(span.target.row)].number);
                }
                v.links.push_back(std::move(l));
            };
            for (const auto& span : captionSpans)
                addLink(span, composed.captionOffset);
            for (const auto& span : bodySpans)
                addLink(span, composed.bodyOffset);
            v.articles.push_back(std::move(a));
        }

        // The outline: the law, its headings and articles, 附則 blocks, 別表.
        v.outline.push_back({0, toCp932(law.outlineTitle, &s.replacedCharacters), 0});
        int minLevel = 6;
        for (const auto& h : law.page.headings)
            minLevel = std::min(minLevel, h.level);
        int lastDepth = 0;       // depth of the node written last
        int headingDepth = 0;    // depth of the heading the articles sit under
        std::size_t nextHeading = 0;
        for (std::size_t i = 0; i < law.mainRows.size(); ++i) {
            while (nextHeading < law.page.headings.size() && law.page.headings[nextHeading].beforeArticle <= i) {
                const Heading& h = law.page.headings[nextHeading++];
                int depth = std::clamp(1 + h.level - minLevel, 1, lastDepth + 1);
                v.outline.push_back({depth, toCp932(convertNumerals(h.text), &s.replacedCharacters), 0});
                lastDepth = headingDepth = depth;
            }
            v.outline.push_back({headingDepth + 1, {}, law.rows[static_cast<std::size_t>(law.mainRows[i])].key});
            lastDepth = headingDepth + 1;
        }
        std::size_t row = law.mainRows.size();
        if (!law.page.supplementary.empty()) {
            v.outline.push_back({1, toCp932(U"附則"), 0});
            for (const auto& block : law.page.supplementary) {
                std::size_t count = block.provisions.size();
                int depth = 2;
                // A block gets its own node unless it is the law's one-row original 附則: the
                // node shows an amending act's date and whether the block is an excerpt.
                if (count != 1 || block.act || block.excerpt) {
                    v.outline.push_back({2, toCp932(supplementaryCaption(block), &s.replacedCharacters), 0});
                    depth = 3;
                }
                for (std::size_t k = 0; k < count; ++k)
                    v.outline.push_back({depth, {}, law.rows[row++].key});
            }
        }
        if (!law.page.appendedTables.empty()) {
            v.outline.push_back({1, toCp932(U"別表"), 0});
            for (std::size_t k = 0; k < law.page.appendedTables.size(); ++k)
                v.outline.push_back({2, {}, law.rows[row++].key});
        }
        if (law.page.forms)
            v.outline.push_back({1, {}, law.rows[row++].key});
        result.laws.push_back(law.summary);
    }
    return result;
}

std::string summaryLine(const LawImportSummary& s)
{
    std::ostringstream o;
    o << s.name << " (" << s.code << "): 条文 " << s.articles << " (削除 " << s.deletedArticles << ")"
      << ", 附則 " << s.supplementaryRows << " 行 (" << s.supplementaryBlocks << " 件)"
      << ", 別表等 " << s.appendedRows
      << "; ページのリンク " << s.pageLinks << " 件中 " << s.pageLinksMade << " 件をリンク (他の巻の法令 "
      << s.pageLinksOutside << ", 法令名のみ " << s.pageLinksNameOnly << ", 参照先なし " << s.pageLinksNoTarget << ")"
      << "; 本文中の参照 " << s.references << " 件中 " << s.referencesLinked << " 件をリンク (自条 "
      << s.referencesToSelf << ", 他の巻の法令 " << s.referencesOutside << ", 法令名なし・改正 " << s.referencesOtherLaw << ", 引用文中 " << s.referencesQuoted << ", 参照先なし "
      << s.referencesNoTarget << ")"
      << "; 参照検索 政令 " << s.scopeLinksOrder << ", 省令 " << s.scopeLinksMinistry
      << "; 置換した文字 " << s.replacedCharacters;
    return o.str();
}

}  // namespace importer
