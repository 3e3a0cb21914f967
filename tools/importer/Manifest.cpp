// Reading a volume manifest: a tab-separated table with a header row, checked line by line.
#include "tools/importer/Manifest.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <sstream>

#include "tools/importer/Sha256.h"

namespace importer {

namespace fs = std::filesystem;

std::vector<std::string> splitTabs(const std::string& line)
{
    std::vector<std::string> out;
    std::size_t start = 0;
    for (;;) {
        std::size_t tab = line.find('\t', start);
        out.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos)
            break;
        start = tab + 1;
    }
    return out;
}

std::vector<ManifestEntry> readManifest(const fs::path& manifest)
{
    std::ifstream in(manifest, std::ios::binary);
    if (!in)
        throw ImportError("目録が読めません: " + manifest.string());
    std::string line;
    std::vector<std::string> header;
    std::vector<ManifestEntry> out;
    int lineNo = 0;
    std::map<std::string, std::size_t> column;
    while (std::getline(in, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (lineNo == 1 && line.compare(0, 3, "\xEF\xBB\xBF") == 0)
            line.erase(0, 3);  // a byte order mark some editors write
        if (line.empty() || line[0] == '#')
            continue;
        auto cells = splitTabs(line);
        if (header.empty()) {
            header = cells;
            for (std::size_t i = 0; i < cells.size(); ++i)
                column[cells[i]] = i;
            for (const char* required : {"file", "law_title", "category_code", "abbreviation"})
                if (!column.count(required))
                    throw ImportError("目録 " + manifest.string() + " に列 " + required + " がありません");
            continue;
        }
        auto cell = [&](const char* name) -> std::string {
            auto it = column.find(name);
            if (it == column.end() || it->second >= cells.size())
                return {};
            return cells[it->second];
        };
        ManifestEntry e;
        fs::path page = cell("file");
        e.page = page.is_absolute() ? page : manifest.parent_path() / page;
        e.lawTitle = cell("law_title");
        e.promulgation = cell("promulgation");
        e.abbreviation = cell("abbreviation");
        try {
            std::size_t used = 0;
            e.code = std::stoi(cell("category_code"), &used);
            if (used != cell("category_code").size())
                throw std::invalid_argument("code");
        } catch (const std::exception&) {
            throw ImportError("目録 " + manifest.string() + " の " + std::to_string(lineNo) + " 行目: 区分番号が数字ではありません");
        }
        if (cell("file").empty() || e.lawTitle.empty() || e.abbreviation.empty())
            throw ImportError("目録 " + manifest.string() + " の " + std::to_string(lineNo) + " 行目: 項目が足りません");
        auto lineError = [&](const std::string& what) {
            return ImportError("目録 " + manifest.string() + " の " + std::to_string(lineNo) + " 行目: " + what);
        };
        if (std::string size = cell("bytes"); !size.empty()) {
            if (size.size() > 18 || !std::all_of(size.begin(), size.end(), [](unsigned char c) { return std::isdigit(c); }))
                throw lineError("bytes が数字ではありません: " + size);
            e.bytes = std::stoull(size);
        }
        if (std::string digest = cell("sha256"); !digest.empty()) {
            if (digest.size() != 64 ||
                !std::all_of(digest.begin(), digest.end(), [](unsigned char c) { return std::isxdigit(c); }))
                throw lineError("sha256 が 16 進 64 桁ではありません: " + digest);
            std::transform(digest.begin(), digest.end(), digest.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            e.sha256 = digest;
        }
        out.push_back(std::move(e));
    }
    if (out.empty())
        throw ImportError("目録 " + manifest.string() + " に法令がありません");
    return out;
}

std::string readListedFile(const ManifestEntry& entry)
{
    const std::string name = entry.page.string();
    std::error_code ec;
    if (fs::is_directory(entry.page, ec))
        throw ImportError("ページが読めません (フォルダです): " + name);
    std::ifstream in(entry.page, std::ios::binary);
    if (!in)
        throw ImportError("ページが読めません: " + name);
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        throw ImportError("ページが読めません: " + name);
    std::string bytes = buffer.str();
    if (entry.bytes && *entry.bytes != bytes.size())
        throw ImportError("ファイル " + name + " の大きさが目録と違います (目録 " + std::to_string(*entry.bytes) +
                          " バイト、実際は " + std::to_string(bytes.size()) + " バイト)");
    if (!entry.sha256.empty()) {
        const std::string actual = sha256Hex(bytes);
        if (actual != entry.sha256)
            throw ImportError("ファイル " + name + " の SHA-256 が目録と違います (目録 " + entry.sha256 + "、実際は " + actual +
                              ")");
    }
    return bytes;
}

}  // namespace importer
