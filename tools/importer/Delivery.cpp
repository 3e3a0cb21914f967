// The delivery build.
#include "tools/importer/Delivery.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <sstream>

#include "store/TableFile.h"
#include "store/Volumes.h"
#include "text/Cp932.h"
#include "tools/importer/ArticleText.h"

namespace importer {

namespace {

constexpr std::size_t kTitleBytes = 255;

std::string u8(const std::string& cp932Text)
{
    return text::toUtf8(cp932Text).text;
}

// An outline caption is one line: no line breaks, and no tab or blank at its start, which
// would read as depth.
std::string outlineCaption(const std::string& caption)
{
    std::string out;
    for (char c : caption)
        out.push_back(c == '\r' || c == '\n' || c == '\t' ? ' ' : c);
    std::size_t start = out.find_first_not_of(' ');
    return start == std::string::npos ? std::string() : out.substr(start);
}

}  // namespace

Delivery buildDelivery(const AuthoringVolume& authoring, int volume)
{
    if (volume < 0 || volume >= store::kLawVolumeCount)
        throw DeliveryError("法令の巻の番号が違います: " + std::to_string(volume));
    Delivery d;
    d.content.letter = store::kLawLetters[static_cast<std::size_t>(volume)];
    d.replacedCharacters = authoring.replacedCharacters;

    std::vector<const AuthoringArticle*> rows;
    for (const auto& a : authoring.articles)
        rows.push_back(&a);
    std::stable_sort(rows.begin(), rows.end(), [](const auto* a, const auto* b) { return a->row < b->row; });
    std::set<long long> seenRows;
    for (const auto* a : rows) {
        double whole = std::floor(a->row);
        if (a->row != whole || a->row < 1 || a->row > 2147483647.0)
            throw DeliveryError("行が整数ではありません: ＫＥＹ " + std::to_string(a->key) + " の行 " + std::to_string(a->row));
        if (!seenRows.insert(static_cast<long long>(whole)).second)
            throw DeliveryError("行が重複しています: " + std::to_string(static_cast<long long>(whole)));
    }

    std::map<int, const MasterEntry*> master;
    for (const auto& m : authoring.master)
        master[m.code] = &m;

    struct Built {
        const AuthoringArticle* row;
        int gyo;
        ComposedArticle text;
        std::vector<bool> linked;
    };
    std::vector<Built> built;
    built.reserve(rows.size());
    std::map<int, std::size_t> byKey;
    std::map<std::pair<int, std::string>, int> byNumber;
    std::map<int, LawDeliverySummary> laws;
    std::vector<int> lawOrder;
    for (const auto* a : rows) {
        auto m = master.find(a->code);
        std::string lawName = m != master.end() ? m->second->officialName : a->kubun;
        std::string kubun = a->kubun.empty() && m != master.end() ? m->second->kubun : a->kubun;
        int gyo = static_cast<int>(a->row);
        Built b{a, gyo, composeArticle(lawName, a->number, a->caption, a->content), {}};
        b.linked.assign(b.text.honbun.size(), false);
        d.content.articles.push_back({gyo, a->code, kubun, bangouOf(a->number, a->code),
                                      truncateBytes(b.text.titleLine, kTitleBytes), b.text.honbun});
        byKey[a->key] = built.size();
        byNumber.emplace(std::make_pair(a->code, a->number), gyo);
        if (!laws.count(a->code)) {
            lawOrder.push_back(a->code);
            laws[a->code] = {a->code, u8(lawName), 0, 0, 0, 0};
        }
        ++laws[a->code].articles;
        built.push_back(std::move(b));
    }

    // Links, article by article: first the links placed on one occurrence of their phrase, in
    // table order; then the links of a phrase everywhere in the article's own lines, longest
    // phrase first, on the text no other link holds.
    std::map<int, std::vector<const AuthoringLink*>> linksOfKey;
    for (const auto& l : authoring.links)
        linksOfKey[l.key].push_back(&l);
    std::set<std::tuple<int, int, int>> references;
    for (auto& [key, links] : linksOfKey) {
        auto it = byKey.find(key);
        if (it == byKey.end()) {
            d.problems.push_back("リンクの条文がありません: ＫＥＹ " + std::to_string(key));
            continue;
        }
        Built& b = built[it->second];
        std::vector<const AuthoringLink*> ordered;
        for (const auto* l : links)
            if (l->occurrence)
                ordered.push_back(l);
        std::vector<const AuthoringLink*> everywhere;
        for (const auto* l : links)
            if (!l->occurrence)
                everywhere.push_back(l);
        std::stable_sort(everywhere.begin(), everywhere.end(),
                         [](const auto* x, const auto* y) { return x->condition.size() > y->condition.size(); });
        ordered.insert(ordered.end(), everywhere.begin(), everywhere.end());

        auto where = [&](const AuthoringLink& l) { return u8(b.row->number) + " 「" + u8(l.condition) + "」"; };
        for (const auto* l : ordered) {
            if (l->condition.empty())
                continue;
            int goGyo = b.gyo;
            int zeimoku = volume;
            if (l->zeimoku && *l->zeimoku < 0) {
                zeimoku = *l->zeimoku;
            } else {
                auto target = byNumber.find({l->targetCode, l->targetNumber});
                if (target == byNumber.end()) {
                    d.problems.push_back(where(*l) + ": リンク先 " + std::to_string(l->targetCode) + " " +
                                         u8(l->targetNumber) + " がありません");
                    continue;
                }
                goGyo = target->second;
            }
            auto occ = occurrences(b.text.honbun, l->condition);
            std::vector<std::size_t> starts;
            if (l->occurrence) {
                if (*l->occurrence < 1 || static_cast<std::size_t>(*l->occurrence) > occ.size()) {
                    d.problems.push_back(where(*l) + ": 本文にその語句がありません");
                    continue;
                }
                starts.push_back(occ[static_cast<std::size_t>(*l->occurrence - 1)]);
            } else {
                // an editor's phrase is one of the article's own text: lines 1 and 2 are made here
                for (std::size_t at : occ)
                    if (at >= b.text.bodyOffset)
                        starts.push_back(at);
            }
            for (std::size_t start : starts) {
                std::size_t end = start + l->condition.size();
                bool free = std::none_of(b.linked.begin() + static_cast<long>(start), b.linked.begin() + static_cast<long>(end),
                                         [](bool x) { return x; });
                if (!free) {
                    if (l->occurrence)
                        d.problems.push_back(where(*l) + ": 他のリンクと重なっています");
                    continue;
                }
                std::fill(b.linked.begin() + static_cast<long>(start), b.linked.begin() + static_cast<long>(end), true);
                d.content.links.push_back({b.gyo, static_cast<int>(start), static_cast<int>(l->condition.size()), goGyo, zeimoku});
                LawDeliverySummary& s = laws[b.row->code];
                ++s.links;
                if (zeimoku < 0)
                    ++s.referenceSearchLinks;
                else if (goGyo != b.gyo)
                    references.insert({b.gyo, b.row->code, goGyo});
            }
        }
    }
    for (const auto& [gyo, code, mainGyo] : references) {
        d.content.references.push_back({gyo, code, mainGyo});
        ++laws[code].references;
    }

    // The outline: the stored nodes, an article's node captioned with its title line; an
    // article without a node gets one after the node of the article before it.
    struct Node {
        int depth;
        std::string caption;
        int gyo;  // 0 for a heading
    };
    std::vector<Node> nodes;
    std::set<std::size_t> placed;
    for (const auto& o : authoring.outline) {
        if (o.key == 0) {
            nodes.push_back({o.depth, outlineCaption(o.caption), 0});
            continue;
        }
        auto it = byKey.find(o.key);
        if (it == byKey.end() || placed.count(it->second))
            continue;  // the article was deleted, or has a node already
        placed.insert(it->second);
        nodes.push_back({o.depth, outlineCaption(built[it->second].text.titleLine), built[it->second].gyo});
    }
    for (std::size_t i = 0; i < built.size(); ++i) {
        if (placed.count(i))
            continue;
        std::size_t at = nodes.size();
        int depth = nodes.empty() ? 0 : 1;
        if (i > 0) {
            int previous = built[i - 1].gyo;
            for (std::size_t n = 0; n < nodes.size(); ++n)
                if (nodes[n].gyo == previous) {
                    at = n + 1;
                    depth = nodes[n].depth;
                }
        }
        nodes.insert(nodes.begin() + static_cast<long>(at), {depth, outlineCaption(built[i].text.titleLine), built[i].gyo});
        placed.insert(i);
    }
    for (std::size_t n = 0; n < nodes.size(); ++n) {
        int limit = n == 0 ? 0 : nodes[n - 1].depth + 1;
        nodes[n].depth = std::clamp(nodes[n].depth, 0, limit);
        d.content.outline.push_back({nodes[n].depth, nodes[n].caption});
        if (nodes[n].gyo)
            d.content.treePositions.push_back({nodes[n].gyo, static_cast<int>(n)});
    }

    for (int code : lawOrder)
        d.laws.push_back(laws[code]);
    return d;
}

Delivery deliverVolume(const std::filesystem::path& root, int volume, const std::filesystem::path& target)
{
    AuthoringVolume authoring = readAuthoringVolume(root, volume);
    Delivery d = buildDelivery(authoring, volume);
    // One stamp for the browsing files and the CD table the delivery rewrites beside the copy.
    const std::uint32_t stamp = store::TableFile::newDeliveryStamp();
    store::writeLawVolume(target, d.content, stamp);
    writeCdTable(root, volume, authoring.articles, stamp);
    return d;
}

std::string summaryLine(const LawDeliverySummary& s)
{
    std::ostringstream o;
    o << s.name << " (" << s.code << "): 条文 " << s.articles << ", リンク " << s.links << " (うち参照検索 "
      << s.referenceSearchLinks << "), 参照索引 " << s.references;
    return o.str();
}

}  // namespace importer
