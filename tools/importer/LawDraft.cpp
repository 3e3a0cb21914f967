// Laying a law page out as the rows of the volume: numbers, indexes and the counts of the summary.
#include "tools/importer/LawDraft.h"

#include "tools/importer/Numerals.h"

namespace importer {

LawKind kindOfPromulgation(U32View p)
{
    if (p.find(U"法律") != U32View::npos)
        return LawKind::Act;
    if (p.find(U"政令") != U32View::npos || p.find(U"勅令") != U32View::npos)
        return LawKind::Order;
    return LawKind::Ordinance;
}

LawKind kindOfName(U32View name)
{
    auto endsWith = [&](U32View end) {
        return name.size() >= end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0;
    };
    if (endsWith(U"規則") || endsWith(U"省令"))
        return LawKind::Ordinance;
    if (endsWith(U"令"))
        return LawKind::Order;
    return LawKind::Act;
}

void layOutLaw(LawDraft& law)
{
    LawPage& page = law.page;
    for (const auto& a : page.articles) {
        RowDraft r;
        r.place = RowPlace::Main;
        r.provision = &a;
        r.laid = layOutProvision(a);
        r.number = r.laid.number;
        int index = static_cast<int>(law.rows.size());
        law.mainRows.push_back(index);
        law.mainIndex.emplace(a.number, index);
        if (a.deleted)
            ++law.summary.deletedArticles;
        law.rows.push_back(std::move(r));
    }
    law.summary.articles = static_cast<int>(page.articles.size());
    law.blockArticles.resize(page.supplementary.size());
    law.blockIndex.resize(page.supplementary.size());
    for (std::size_t b = 0; b < page.supplementary.size(); ++b) {
        const SupplementaryBlock& block = page.supplementary[b];
        if (!block.act && law.originalBlock < 0 && b == 0)
            law.originalBlock = static_cast<int>(b);
        U32 prefix = U"附則";
        if (block.act)
            prefix += actShortDesignation(*block.act);
        else if (b > 0)
            prefix += U"（" + fullWidthNumber(block.sequence) + U"）";  // a second undated block
        for (const auto& p : block.provisions) {
            RowDraft r;
            r.place = RowPlace::Supplementary;
            r.block = static_cast<int>(b);
            r.provision = &p;
            r.laid = layOutProvision(p);
            r.number = prefix + r.laid.number;
            int index = static_cast<int>(law.rows.size());
            if (p.kind == ProvisionKind::Article) {
                law.blockArticles[b].push_back(index);
                law.blockIndex[b].emplace(p.number, index);
            }
            law.rows.push_back(std::move(r));
            ++law.summary.supplementaryRows;
        }
    }
    law.summary.supplementaryBlocks = static_cast<int>(page.supplementary.size());
    auto appendFree = [&](const Provision& p) {
        RowDraft r;
        r.place = RowPlace::Appended;
        r.provision = &p;
        r.laid = layOutProvision(p);
        r.number = r.laid.number;
        if (p.kind == ProvisionKind::AppendedTable)
            law.tableIndex.emplace(p.number.article, static_cast<int>(law.rows.size()));
        law.rows.push_back(std::move(r));
        ++law.summary.appendedRows;
    };
    for (const auto& t : page.appendedTables)
        appendFree(t);
    if (page.forms)
        appendFree(*page.forms);

    // A number the jump would find twice within one category.
    std::map<U32, int> seen;
    for (const auto& r : law.rows)
        if (++seen[r.number] == 2)
            law.summary.problems.push_back("同じ条文番号が二度あります: " + toUtf8(r.number));
}
}  // namespace importer
