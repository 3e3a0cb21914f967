// The bundled sample volumes as the build made them (build folder's samples/): they carry what
// the program is shown with on a fresh machine. Skipped when the samples were not built.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "TestVolume.h"
#include "store/TableFile.h"
#include "text/Cp932.h"

using importertest::cp;
using importertest::u8;

namespace {

namespace fs = std::filesystem;

const fs::path kSamples = fs::path(SORVANE_BINARY_DIR) / "samples";

store::TableContents table(const std::string& name)
{
    return store::TableFile::open(kSamples / name, true)->readAll();
}

class Samples : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* f : {"E1.db", "E6.dl_", "G1.db", "G6.dl_", "F1.db", "F5.db"})
            if (!fs::exists(kSamples / f))
                GTEST_SKIP() << "samples not built (target sample_volumes): " << f;
    }
};

TEST_F(Samples, volumeEShowsEveryIndentOfTheRendererAndBothLinkKinds)
{
    auto texts = table("E2.db");
    std::vector<std::string> lines;
    for (const auto& r : texts.rows)
        for (const auto& l : text::splitLines(r[2].asText()))
            lines.push_back(u8(l));
    // the first characters that pick each indent: items, sub-items at three levels, notes at
    // four indents, numbered and indented lines, a continuing なお
    for (const char* start : {"１　", "　一　", "　　イ　", "　　　（１）　", "　　　　（ｉ）　", "　　（注）", "　（注）",
                              "（注）　", "（注）１", "　　　１　", "　　　　Ａ　", "なお、", "｜"}) {
        bool found = std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(start, 0) == 0; });
        EXPECT_TRUE(found) << start;
    }
    auto links = table("E4.db");
    std::set<std::int64_t> zeimoku;
    for (const auto& r : links.rows)
        zeimoku.insert(r[3].asInteger());
    EXPECT_EQ(zeimoku, (std::set<std::int64_t>{-2, -1, 1}));
    // orders cite the act: the reference index holds 見本消費税法施行令 articles citing 第９条
    auto index = table("E1.db");
    std::int64_t ninth = 0;
    for (const auto& r : index.rows)
        if (r[1].asInteger() == 110 && r[3].asText() == cp("９条"))
            ninth = r[0].asInteger();
    int citing = 0;
    for (const auto& r : table("E3.db").rows)
        citing += r[2].asInteger() == ninth && r[1].asInteger() == 120;
    EXPECT_GE(citing, 2);
    std::set<std::int64_t> codes;
    for (const auto& r : index.rows)
        codes.insert(r[1].asInteger());
    EXPECT_EQ(codes, (std::set<std::int64_t>{110, 120, 130, 810, 820}));
    EXPECT_GE(index.rows.size(), 40u);
    EXPECT_LE(index.rows.size(), 80u);
}

TEST_F(Samples, volumeGAndTheBookVolume)
{
    auto index = table("G1.db");
    std::set<std::int64_t> codes;
    bool katakanaBranch = false;
    for (const auto& r : index.rows) {
        codes.insert(r[1].asInteger());
        katakanaBranch |= r[4].asText() == cp("第２条ノ２");
    }
    EXPECT_EQ(codes, (std::set<std::int64_t>{410, 420, 440, 460, 510}));
    EXPECT_TRUE(katakanaBranch);
    EXPECT_GE(index.rows.size(), 40u);
    EXPECT_LE(index.rows.size(), 80u);
    std::ifstream outline(kSamples / "G6.dl_", std::ios::binary);
    std::string first, second;
    std::getline(outline, first);
    std::getline(outline, second);
    EXPECT_EQ(u8(first), "見本会社法\r");
    EXPECT_EQ(u8(second), "\t第１編　総則\r");

    auto entries = table("F1.db");
    EXPECT_EQ(entries.rows.size(), 11u);
    auto jumps = table("F4.db");
    auto articles = table("E1.db");
    ASSERT_EQ(jumps.rows.size(), 9u);
    for (const auto& j : jumps.rows) {
        EXPECT_EQ(j[2].asInteger(), 1);
        bool exists = std::any_of(articles.rows.begin(), articles.rows.end(),
                                  [&](const store::Row& r) { return r[0].asInteger() == j[1].asInteger(); });
        EXPECT_TRUE(exists) << j[1].asInteger();
    }
}

}  // namespace
