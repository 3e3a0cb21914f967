// Carrying registered links and edited texts from the previous authoring copy into a re-import.
#include "tools/importer/EditorsWork.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <tuple>

#include "text/Cp932.h"
#include "tools/importer/ArticleText.h"
#include "tools/importer/Sha256.h"

namespace importer {

namespace {

using ArticleId = std::pair<int, std::string>;  // 条文連番 and 条文本文

std::string u8(const std::string& cp932Text)
{
    return text::toUtf8(cp932Text).text;
}

class Names {
public:
    explicit Names(const AuthoringVolume& v)
    {
        for (const auto& m : v.master)
            m_names[m.code] = m.officialName;
    }
    std::string law(int code) const
    {
        auto it = m_names.find(code);
        return it != m_names.end() ? it->second : std::string();
    }
    // "見本税法 ３条" in UTF-8.
    std::string article(int code, const std::string& number) const
    {
        std::string name = law(code);
        return (name.empty() ? std::to_string(code) : u8(name)) + " " + u8(number);
    }

private:
    std::map<int, std::string> m_names;
};

// The import's own links of an edited article, placed again in the edited text: each on the
// occurrence of its phrase nearest to where the imported text had it. Returns the phrases that
// the edited text no longer holds (their links are dropped).
std::vector<std::string> placeImportedLinks(AuthoringVolume& fresh, const AuthoringArticle& imported,
                                           const AuthoringArticle& edited, const std::string& lawName)
{
    const ComposedArticle before = composeArticle(lawName, imported.number, imported.caption, imported.content);
    const ComposedArticle after = composeArticle(lawName, edited.number, edited.caption, edited.content);
    std::vector<std::string> lost;
    std::vector<AuthoringLink> kept;
    kept.reserve(fresh.links.size());
    for (auto& l : fresh.links) {
        if (l.key != imported.key || !l.occurrence) {
            kept.push_back(std::move(l));
            continue;
        }
        auto was = occurrences(before.honbun, l.condition);
        auto now = occurrences(after.honbun, l.condition);
        if (now.empty() || *l.occurrence < 1 || static_cast<std::size_t>(*l.occurrence) > was.size()) {
            lost.push_back(l.condition);
            continue;
        }
        const std::size_t at = was[static_cast<std::size_t>(*l.occurrence - 1)];
        auto nearest = std::min_element(now.begin(), now.end(), [&](std::size_t a, std::size_t b) {
            return (a > at ? a - at : at - a) < (b > at ? b - at : at - b);
        });
        l.occurrence = static_cast<int>(nearest - now.begin()) + 1;
        kept.push_back(std::move(l));
    }
    fresh.links = std::move(kept);
    return lost;
}

}  // namespace

std::string importFingerprint(const AuthoringArticle& article)
{
    std::string both = article.caption;
    both += '\0';
    both += article.content;
    return sha256Hex(both).substr(0, 32);
}

CarriedWork carryEditorsWork(const AuthoringVolume& previous, AuthoringVolume& fresh)
{
    CarriedWork work;
    const Names oldNames(previous), newNames(fresh);

    std::map<ArticleId, std::size_t> freshIndex;
    for (std::size_t i = 0; i < fresh.articles.size(); ++i)
        freshIndex.emplace(ArticleId{fresh.articles[i].code, fresh.articles[i].number}, i);
    auto freshArticle = [&](int code, const std::string& number) -> AuthoringArticle* {
        auto it = freshIndex.find({code, number});
        return it == freshIndex.end() ? nullptr : &fresh.articles[it->second];
    };

    // Texts. A marked copy tells its edited rows by their fingerprints.
    const bool marked = std::any_of(previous.articles.begin(), previous.articles.end(),
                                    [](const AuthoringArticle& a) { return !a.fingerprint.empty(); });
    for (const auto& old : previous.articles) {
        AuthoringArticle* now = freshArticle(old.code, old.number);
        const std::string where = oldNames.article(old.code, old.number);
        if (!marked) {
            if (now && (now->caption != old.caption || now->content != old.content))
                work.toCheck.push_back("本文 " + where + ": 前の作業用データに取り込みの印がないため、編集された本文か改正かわかりません。新しいページの本文にしました");
            continue;
        }
        if (!old.fingerprint.empty() && importFingerprint(old) == old.fingerprint)
            continue;  // as imported
        if (!now) {
            work.notPlaced.push_back("本文 " + where + ": 編集した本文を置けません (新しい取り込みにその条文がありません)");
            continue;
        }
        if (now->caption == old.caption && now->content == old.content)
            continue;  // the new pages read as the editor wrote
        AuthoringArticle edited = *now;
        edited.caption = old.caption;
        edited.content = old.content;
        for (const auto& phrase : placeImportedLinks(fresh, *now, edited, newNames.law(now->code)))
            work.notPlaced.push_back("リンク " + where + " 「" + u8(phrase) + "」: 取り込んだリンクの語句が編集した本文にありません");
        now->caption = edited.caption;
        now->content = edited.content;
        ++work.textsCarried;
    }

    // Registered links, on the new key of their article.
    std::map<int, const AuthoringArticle*> oldByKey;
    for (const auto& a : previous.articles)
        oldByKey[a.key] = &a;
    std::set<std::tuple<int, int, std::string, std::string>> present;
    for (const auto& l : fresh.links)
        present.insert({l.key, l.targetCode, l.condition, l.targetNumber});
    for (const auto& l : previous.links) {
        if (l.occurrence)
            continue;  // the import's own: the new import made its links anew
        const std::string phrase = "「" + u8(l.condition) + "」 → " + std::to_string(l.targetCode) + " " + u8(l.targetNumber);
        auto old = oldByKey.find(l.key);
        if (old == oldByKey.end()) {
            work.notPlaced.push_back("リンク ＫＥＹ " + std::to_string(l.key) + " " + phrase +
                                     ": 前の作業用データにその条文がありません");
            continue;
        }
        const std::string where = "リンク " + oldNames.article(old->second->code, old->second->number) + " " + phrase;
        AuthoringArticle* now = freshArticle(old->second->code, old->second->number);
        if (!now) {
            work.notPlaced.push_back(where + ": 新しい取り込みにその条文がありません");
            continue;
        }
        if (occurrences(now->content, l.condition).empty()) {
            work.notPlaced.push_back(where + ": 新しい本文にその語句がありません");
            continue;
        }
        const bool searchesReferences = l.zeimoku && *l.zeimoku < 0;
        if (!searchesReferences && !freshArticle(l.targetCode, l.targetNumber)) {
            work.notPlaced.push_back(where + ": リンク先の条文が新しい取り込みにありません");
            continue;
        }
        if (present.count({now->key, l.targetCode, l.condition, l.targetNumber})) {
            ++work.linksAlreadyImported;
            continue;
        }
        AuthoringLink carried = l;
        carried.key = now->key;
        carried.row = now->row;
        carried.kubun = now->kubun;
        carried.number = now->number;
        fresh.links.push_back(std::move(carried));
        present.insert({now->key, l.targetCode, l.condition, l.targetNumber});
        ++work.linksCarried;
    }
    return work;
}

std::string carriedWorkReport(const CarriedWork& work)
{
    std::string out = "編集者の作業の引き継ぎ\n";
    out += "引き継いだリンク: " + std::to_string(work.linksCarried) + " 件 (新しい取り込みに同じリンクがあったもの " +
           std::to_string(work.linksAlreadyImported) + " 件)\n";
    out += "引き継いだ本文: " + std::to_string(work.textsCarried) + " 件\n";
    out += "置けなかったもの: " + std::to_string(work.notPlaced.size()) + " 件\n";
    for (const auto& line : work.notPlaced)
        out += "  " + line + "\n";
    if (!work.toCheck.empty()) {
        out += "確かめてほしい本文: " + std::to_string(work.toCheck.size()) + " 件\n";
        for (const auto& line : work.toCheck)
            out += "  " + line + "\n";
    }
    return out;
}

}  // namespace importer
