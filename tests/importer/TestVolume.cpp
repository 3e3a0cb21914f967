// Test pages and the test volume.
#include "TestVolume.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

#include "text/Cp932.h"
#include "tools/importer/Command.h"

namespace importertest {

TempDir::TempDir()
{
    std::random_device rd;
    m_path = fs::temp_directory_path() / ("sorvane-importer-" + std::to_string(rd()) + std::to_string(rd()));
    fs::create_directories(m_path);
}

TempDir::~TempDir()
{
    std::error_code ec;
    fs::remove_all(m_path, ec);
}

std::string cp(const std::string& utf8)
{
    return text::cp932(utf8);
}

std::string u8(const std::string& cp932)
{
    return text::toUtf8(cp932).text;
}

std::string testPage(const std::string& name)
{
    fs::path file = fs::path(SORVANE_SOURCE_DIR) / "tests" / "importer" / "pages" / name;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("missing test page " + file.string());
    std::ostringstream s;
    s << in.rdbuf();
    text::Conversion c = text::fromUtf8(s.str());
    if (!c.clean())
        throw std::runtime_error("test page " + name + " holds characters code page 932 lacks");
    return c.text;
}

fs::path writeTestVolume(const fs::path& dir)
{
    fs::create_directories(dir);
    for (const char* name : {"act.html", "order.html", "oldcode.html"}) {
        std::ofstream out(dir / name, std::ios::binary);
        out << testPage(name);
    }
    fs::path manifest = dir / "manifest.tsv";
    std::ofstream m(manifest, std::ios::binary);
    m << "file\tlaw_title\tpromulgation\tcategory_code\tabbreviation\n"
         "act.html\t見本税法\t平成二十年三月三十一日法律第二十三号\t110\t見法\n"
         "order.html\t見本税法施行令\t平成二十年三月三十一日政令第百五号\t120\t見令\n"
         "oldcode.html\t見本商法\t明治四十年四月一日法律第七十号\t420\t見商\n";
    return manifest;
}

const BuiltVolume& testVolume()
{
    static const BuiltVolume volume = [] {
        TempDir dir;
        BuiltVolume v;
        v.imported = importer::importVolume(importer::readManifest(writeTestVolume(dir.path())));
        v.delivery = importer::buildDelivery(v.imported.volume, 1);
        return v;
    }();
    return volume;
}

const store::LawArticleRecord& BuiltVolume::article(int code, const std::string& bangouUtf8) const
{
    for (const auto& a : delivery.content.articles)
        if (a.kubunNo == code && a.bangou == cp(bangouUtf8))
            return a;
    throw std::runtime_error("no article " + std::to_string(code) + " " + bangouUtf8);
}

std::vector<std::pair<std::string, std::string>> BuiltVolume::links(int code, const std::string& bangouUtf8) const
{
    const auto& a = article(code, bangouUtf8);
    std::string rendered = text::joinLinesCrLf(text::splitLines(a.honbun));
    std::vector<store::LawLinkRecord> runs;
    for (const auto& l : delivery.content.links)
        if (l.gyo == a.gyo)
            runs.push_back(l);
    std::sort(runs.begin(), runs.end(), [](const auto& x, const auto& y) { return x.sel < y.sel; });
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& r : runs) {
        std::string phrase = rendered.substr(static_cast<std::size_t>(r.sel), static_cast<std::size_t>(r.length));
        std::string target;
        if (r.zeimoku < 0) {
            target = std::to_string(r.zeimoku);
        } else {
            for (const auto& t : delivery.content.articles)
                if (t.gyo == r.goGyo)
                    target = std::to_string(t.kubunNo) + " " + u8(t.bangou);
        }
        out.emplace_back(u8(phrase), target);
    }
    return out;
}

CommandRun runImporter(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    int status = importer::runCommand(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace importertest
