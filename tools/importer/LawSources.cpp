// Reading a manifest's files: format by content, revisions by day.
#include "tools/importer/LawSources.h"

#include <ctime>
#include <map>
#include <optional>

#include "tools/importer/PageParser.h"

namespace importer {

namespace fs = std::filesystem;

namespace {

struct Candidate {
    std::size_t row = 0;  // in the manifest
    std::string bytes;
    bool xml = false;
    LawRevision revision;
    std::optional<LawXml> read;  // when the day could only be had from the content
};

}  // namespace

std::string revisionLine(const LawRevision& r)
{
    if (r.inForce)
        return isoDate(*r.inForce) + " 施行 " + r.revisionId;
    return "施行日の記載なし " + r.revisionId;
}

CivilDate today()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return (local.tm_year + 1900) * 10000 + (local.tm_mon + 1) * 100 + local.tm_mday;
}

std::vector<LawSource> readLawSources(const std::vector<ManifestEntry>& entries, CivilDate asOf,
                                      const std::function<void(const std::string&)>& progress)
{
    std::vector<Candidate> candidates(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        Candidate& c = candidates[i];
        c.row = i;
        c.bytes = readListedFile(entries[i]);
        c.xml = looksLikeLawXml(c.bytes);
        if (!c.xml) {
            // every page is checked before anything is read into the volume: nothing is written
            // from a volume one of whose pages is damaged
            if (auto defect = pageDefect(c.bytes))
                throw ImportError("ページ " + entries[i].page.string() + " が読めません: " + *defect);
            continue;
        }
        c.revision = revisionOfFileName(entries[i].page.string());
        if (!c.revision.inForce) {
            // a version 2 answer names its day inside
            c.read = readLawXml(c.bytes, entries[i].page.string());
            c.revision = c.read->revision;
        }
    }

    // Revisions of one law: same title and code, each with its day.
    std::map<std::pair<std::string, int>, std::vector<std::size_t>> dated;
    for (const auto& c : candidates)
        if (c.revision.inForce)
            dated[{entries[c.row].lawTitle, entries[c.row].code}].push_back(c.row);
    std::vector<bool> take(entries.size(), true);
    for (const auto& [law, rows] : dated) {
        for (const auto& c : candidates)
            if (!c.revision.inForce && entries[c.row].lawTitle == law.first && entries[c.row].code == law.second)
                throw ImportError(law.first + " が施行日のある版 (" + entries[rows.front()].page.string() +
                                  ") と施行日のないファイル (" + entries[c.row].page.string() +
                                  ") で二度挙がっています。どちらかを目録から外してください");
        std::optional<std::size_t> chosen;
        std::string days;
        for (std::size_t r : rows) {
            CivilDate day = *candidates[r].revision.inForce;
            days += (days.empty() ? "" : ", ") + isoDate(day);
            take[r] = false;
            if (day <= asOf && (!chosen || day >= *candidates[*chosen].revision.inForce))
                chosen = r;
        }
        if (!chosen)
            throw ImportError(law.first + " には " + isoDate(asOf) + " に施行されている版がありません (目録の版の施行日: " +
                              days + ")");
        take[*chosen] = true;
    }

    std::vector<LawSource> out;
    for (auto& c : candidates) {
        if (!take[c.row]) {
            c.bytes.clear();
            continue;
        }
        const ManifestEntry& e = entries[c.row];
        if (progress)
            progress(e.lawTitle + " を読んでいます (" + e.page.string() + ")");
        LawSource s;
        s.entry = e;
        s.xml = c.xml;
        if (c.xml) {
            LawXml law = c.read ? std::move(*c.read) : readLawXml(c.bytes, e.page.string());
            s.page = std::move(law.page);
            s.revision = c.revision;
        } else {
            s.page = parseLawPage(c.bytes);
            if (auto defect = lawPageDefect(s.page))
                throw ImportError("ページ " + e.page.string() + " が読めません: " + *defect);
        }
        c.bytes.clear();
        out.push_back(std::move(s));
    }
    return out;
}

}  // namespace importer
