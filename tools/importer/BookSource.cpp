// The book source reader.
#include "tools/importer/BookSource.h"

#include <fstream>
#include <map>
#include <set>

#include "store/TableError.h"
#include "store/TableFile.h"
#include "store/Volumes.h"
#include "text/Cp932.h"
#include "tools/importer/Manifest.h"

namespace importer {

store::BookVolumeContent readBookSource(const std::filesystem::path& source, char letter,
                                        const std::filesystem::path& lawDir)
{
    std::ifstream in(source, std::ios::binary);
    if (!in)
        throw BookSourceError("書籍の元データが読めません: " + source.string());
    store::BookVolumeContent content;
    content.letter = letter;
    // (volume, code, Bangou) → Gyo, read once per law volume
    std::map<int, std::map<std::pair<int, std::string>, int>> articles;
    std::set<int> entrySeqs;
    std::string line;
    int lineNo = 0;
    auto fail = [&](const std::string& what) {
        throw BookSourceError(source.string() + " の " + std::to_string(lineNo) + " 行目: " + what);
    };
    auto integer = [&](const std::string& s) {
        try {
            std::size_t used = 0;
            int v = std::stoi(s, &used);
            if (used != s.size())
                fail("数字ではありません: " + s);
            return v;
        } catch (const std::logic_error&) {
            fail("数字ではありません: " + s);
        }
        return 0;
    };
    auto cp = [&](const std::string& utf8) {
        text::Conversion c = text::fromUtf8(utf8);
        if (!c.clean())
            fail("シフトJISにない文字があります: " + utf8);
        return c.text;
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        auto f = splitTabs(line);
        const std::string& kind = f[0];
        auto need = [&](std::size_t n) {
            if (f.size() != n)
                fail(kind + " の項目は " + std::to_string(n - 1) + " 個です");
        };
        if (kind == "book") {
            need(6);
            content.books.push_back({integer(f[1]), integer(f[2]), cp(f[3]), cp(f[4]), cp(f[5])});
        } else if (kind == "entry") {
            need(8);
            store::BookEntryRecord e;
            e.bookSeq = integer(f[1]);
            e.bookNo = integer(f[2]);
            e.bookRenban = integer(f[3]);
            e.bookNameShort = cp(f[4]);
            e.gou = cp(f[5]);
            try {
                std::size_t used = 0;
                e.bookPage = std::stod(f[6], &used);
                if (used != f[6].size())
                    fail("ページが数字ではありません: " + f[6]);
            } catch (const std::logic_error&) {
                fail("ページが数字ではありません: " + f[6]);
            }
            e.mokuji = cp(f[7]);
            if (!entrySeqs.insert(e.bookSeq).second)
                fail("BookSeq が重複しています: " + f[1]);
            content.entries.push_back(std::move(e));
        } else if (kind == "jump") {
            need(5);
            int seq = integer(f[1]);
            int volume = integer(f[2]);
            int code = integer(f[3]);
            std::string bangou = cp(f[4]);
            if (volume < 0 || volume >= store::kLawVolumeCount)
                fail("法令の巻の番号が違います: " + f[2]);
            if (!articles.count(volume)) {
                auto& index = articles[volume];
                std::string name = std::string(1, store::kLawLetters[static_cast<std::size_t>(volume)]) + "1.db";
                try {
                    auto table = store::TableFile::open(lawDir / name, true)->readAll();
                    for (const auto& r : table.rows)
                        index.emplace(std::make_pair(static_cast<int>(r[1].asInteger()), r[3].asText()),
                                      static_cast<int>(r[0].asInteger()));
                } catch (const store::TableError& e) {
                    fail(e.what());
                }
            }
            auto it = articles[volume].find({code, bangou});
            if (it == articles[volume].end())
                fail("条文がありません: " + f[3] + " " + f[4]);
            content.jumps.push_back({seq, it->second, volume});
        } else if (kind == "url") {
            need(3);
            content.urls.push_back({integer(f[1]), cp(f[2])});
        } else {
            fail("知らない行の種類です: " + kind);
        }
    }
    for (const auto& j : content.jumps)
        if (!entrySeqs.count(j.bookSeq))
            throw BookSourceError(source.string() + ": jump の BookSeq " + std::to_string(j.bookSeq) + " の項目がありません");
    for (const auto& u : content.urls)
        if (!entrySeqs.count(u.bookSeq))
            throw BookSourceError(source.string() + ": url の BookSeq " + std::to_string(u.bookSeq) + " の項目がありません");
    return content;
}

}  // namespace importer
