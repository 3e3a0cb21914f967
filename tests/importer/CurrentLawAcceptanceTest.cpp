// The current law beside the checkout (../shared/corpus-xml, the standard law XML): every law
// imports with the articles, 附則 blocks and 別表 its file holds, the revision in force on the
// day is taken, and volume 0 is delivered with its index flags. Skipped when the corpus is not
// there. Every import names its day, so the tests do not change with the calendar.
#include <gtest/gtest.h>

#include "support/TempDir.h"

#include <fstream>
#include <map>
#include <sstream>

#include "TestVolume.h"
#include "store/IndexCharacters.h"
#include "store/TableFile.h"
#include "text/Cp932.h"

using importertest::cp;
using importertest::u8;

namespace {

namespace fs = std::filesystem;

const fs::path kCurrentLaw = fs::path(SORVANE_CORPUS_DIR).parent_path() / "corpus-xml";

class CurrentLaw : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!fs::exists(kCurrentLaw / "MANIFEST.tsv"))
            GTEST_SKIP() << "no current law at " << kCurrentLaw;
    }

    // The manifest's rows of one folder (hojin/, shohi/, kaisha/, api/).
    static std::vector<importer::ManifestEntry> lawsOf(const std::string& folder)
    {
        std::vector<importer::ManifestEntry> out;
        for (auto& e : importer::readManifest(kCurrentLaw / "MANIFEST.tsv"))
            if (e.page.parent_path().filename() == folder)
                out.push_back(e);
        return out;
    }

    static importertest::BuiltVolume build(const std::vector<importer::ManifestEntry>& laws, int volume,
                                           const std::string& asOf)
    {
        importertest::BuiltVolume v;
        v.imported = importer::importVolume(laws, {}, {.asOf = *importer::parseIsoDate(asOf)});
        v.delivery = importer::buildDelivery(v.imported.volume, volume);
        return v;
    }

    static const importertest::BuiltVolume& volume(const std::string& folder)
    {
        static std::map<std::string, importertest::BuiltVolume> built;
        auto it = built.find(folder);
        if (it == built.end())
            it = built.emplace(folder, build(lawsOf(folder), folder == "hojin" ? 0 : folder == "shohi" ? 1 : 2, "2026-12-10"))
                     .first;
        return it->second;
    }
};

std::size_t countTags(std::string_view xml, std::string_view tag)
{
    std::size_t n = 0;
    for (std::size_t at = xml.find(tag); at != std::string_view::npos; at = xml.find(tag, at + 1)) {
        char next = at + tag.size() < xml.size() ? xml[at + tag.size()] : '\0';
        if (next == ' ' || next == '>')
            ++n;
    }
    return n;
}

// The articles of a main provision counted in the file's own text: each <Article>, a run of
// deleted ones (Num="92:120") counting every number in it.
std::size_t mainArticles(std::string_view xml)
{
    std::size_t begin = xml.find("<MainProvision");
    std::string_view main = xml.substr(begin, xml.find("</MainProvision>") - begin);
    std::size_t n = countTags(main, "<Article");
    for (std::size_t at = main.find("<Article Num=\""); at != std::string_view::npos;
         at = main.find("<Article Num=\"", at + 1)) {
        std::string_view num = main.substr(at + 14, main.find('"', at + 14) - at - 14);
        std::size_t colon = num.find(':');
        if (colon == std::string_view::npos)
            continue;
        // the numbers differ in their last part (92:120, 25_7:25_8)
        auto last = [](std::string_view part) { return std::stoi(std::string(part.substr(part.rfind('_') + 1))); };
        n += static_cast<std::size_t>(last(num.substr(colon + 1)) - last(num.substr(0, colon)));
    }
    return n;
}

}  // namespace

TEST_F(CurrentLaw, everyLawHasTheArticlesSupplementaryBlocksAndTablesItsFileHolds)
{
    for (const char* folder : {"hojin", "shohi", "kaisha"}) {
        const auto& v = volume(folder);
        for (const auto& law : v.imported.laws) {
            fs::path file;
            for (const auto& e : lawsOf(folder))
                if (e.lawTitle == law.name && law.revision.find(e.page.stem().string()) != std::string::npos)
                    file = e.page;
            ASSERT_FALSE(file.empty()) << law.name << " " << law.revision;
            const std::string xml = testsupport::fileBytes(file);
            EXPECT_EQ(static_cast<std::size_t>(law.articles), mainArticles(xml)) << law.name;
            EXPECT_EQ(static_cast<std::size_t>(law.supplementaryBlocks), countTags(xml, "<SupplProvision")) << law.name;
            EXPECT_EQ(static_cast<std::size_t>(law.appendedRows),
                      countTags(xml, "<AppdxTable") + (countTags(xml, "<AppdxStyle") > 0 ? 1 : 0))
                << law.name;
            EXPECT_EQ(law.problems, std::vector<std::string>{}) << law.name;
        }
    }
    // The figures a reader can check against the law itself.
    const auto& corporation = volume("hojin").imported.laws[0];
    EXPECT_EQ(corporation.name, "法人税法");
    EXPECT_EQ(corporation.deletedArticles, 43);
    EXPECT_EQ(corporation.appendedRows, 3);
}

TEST_F(CurrentLaw, onDecemberTenth2026TheConsumptionTaxActIsTheRevisionOfNovemberFirst)
{
    const auto& v = volume("shohi");
    EXPECT_EQ(v.imported.laws[0].revision, "2026-11-01 施行 363AC0000000108_20261101_507AC0000000013");
    EXPECT_EQ(u8(v.delivery.content.outline[0].caption), "消費税法（令和８年１１月１日施行）");
    const auto& a = v.article(110, "３０条");
    EXPECT_EQ(u8(a.title), "第３０条（仕入れに係る消費税額の控除）");
    // Its paragraphs, numbered １ to the last, as many as the file's 第三十条 has.
    const std::string xml = testsupport::fileBytes(kCurrentLaw / "shohi/363AC0000000108_20261101_507AC0000000013.xml");
    std::size_t begin = xml.find("<Article Num=\"30\">");
    const std::size_t paragraphs = countTags(std::string_view(xml).substr(begin, xml.find("</Article>", begin) - begin), "<Paragraph");
    EXPECT_EQ(paragraphs, 13u);
    const std::string honbun = u8(a.honbun);
    EXPECT_EQ(honbun.rfind("消費税法\r\n第３０条（仕入れに係る消費税額の控除）\r\n１　事業者（第９条第１項本文の規定により消費税を"
                           "納める義務が免除される事業者を除く。）が",
                           0),
              0u);
    for (std::size_t p = 1; p <= paragraphs; ++p)
        EXPECT_NE(honbun.find("\r\n" + u8(text::ToFullWidthDigits(std::to_string(p))) + "　"), std::string::npos) << p;
    EXPECT_EQ(honbun.find("\r\n" + u8(text::ToFullWidthDigits(std::to_string(paragraphs + 1))) + "　"), std::string::npos);
}

TEST_F(CurrentLaw, theDayDecidesTheRevisionAndTheOneOf2027IsNotTakenBeforeItComesIntoForce)
{
    std::vector<importer::ManifestEntry> act;
    for (auto& e : lawsOf("shohi"))
        if (e.code == 110)
            act.push_back(e);
    ASSERT_EQ(act.size(), 3u);
    auto revisionOn = [&](const char* day) {
        return importer::importVolume(act, {}, {.asOf = *importer::parseIsoDate(day)}).laws.at(0).revision;
    };
    EXPECT_EQ(revisionOn("2025-12-01"), "2025-10-01 施行 363AC0000000108_20251001_505AC0000000003");
    EXPECT_EQ(revisionOn("2026-10-31"), "2025-10-01 施行 363AC0000000108_20251001_505AC0000000003");
    EXPECT_EQ(revisionOn("2026-12-31"), "2026-11-01 施行 363AC0000000108_20261101_507AC0000000013");
    EXPECT_EQ(revisionOn("2027-01-01"), "2027-01-01 施行 363AC0000000108_20270101_507AC0000000013");
}

TEST_F(CurrentLaw, theVersionOneAnswerReadsAsTheSameLaw)
{
    const auto& answer = build(lawsOf("api"), 1, "2026-12-10");
    ASSERT_EQ(answer.imported.laws.size(), 1u);
    EXPECT_EQ(answer.imported.laws[0].revision, "施行日の記載なし 363AC0000000108_api_v1");
    EXPECT_EQ(answer.imported.laws[0].articles, volume("shohi").imported.laws[0].articles);
    EXPECT_EQ(u8(answer.article(110, "３０条").title), "第３０条（仕入れに係る消費税額の控除）");
}

TEST_F(CurrentLaw, volumeZeroIsDeliveredWithTheIndexFlagOfEveryCharacterItsArticlesHold)
{
    importertest::TempDir dir;
    auto imported = importer::importVolume(lawsOf("hojin"), {}, {.asOf = 20261210});
    importer::writeAuthoringVolume(dir.path() / "authoring", 0, imported.volume);
    importer::deliverVolume(dir.path() / "authoring", 0, dir.path() / "data");
    auto texts = store::TableFile::open(dir.path() / "data" / "A2.db", true)->readAll();
    ASSERT_EQ(texts.fields.size(), 3u + 51u);
    const auto& characters = store::IndexCharacters();
    std::size_t flagged = 0;
    for (const auto& row : texts.rows) {
        const std::string& honbun = row[2].asText();
        for (int n = 0; n < store::kIndexCharacterCount; ++n) {
            const bool holds = text::contains(honbun, characters[static_cast<std::size_t>(n)]);
            ASSERT_EQ(row[3 + static_cast<std::size_t>(n)].asInteger(), holds ? 1 : 0) << row[0].asInteger() << " KEY" << n;
            flagged += holds;
        }
    }
    EXPECT_GT(flagged, texts.rows.size());
}
