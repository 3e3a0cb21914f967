// Damaged input stops the importer with a message naming the file, and nothing is written: a
// page cut short, empty, binary or saved as UTF-8, a file whose size or SHA-256 is not the
// manifest's.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

#include "TestVolume.h"
#include "store/TableFile.h"
#include "tools/importer/AuthoringCopy.h"
#include "tools/importer/Sha256.h"

namespace {

namespace fs = std::filesystem;
using importertest::CommandRun;
using importertest::TempDir;

std::string bytesOf(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Every file under the folder with its bytes, to show that nothing changed.
std::map<std::string, std::string> snapshot(const fs::path& dir)
{
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file())
            files[fs::relative(e.path(), dir).string()] = bytesOf(e.path());
    return files;
}

TEST(DamagedInput, aDamagedPageStopsTheImportAndLeavesThePreviousCopyAsItWas)
{
    TempDir dir;
    const fs::path manifest = importertest::writeTestVolume(dir.path() / "pages");
    const fs::path auth = dir.path() / "auth";
    const fs::path out = dir.path() / "out";
    ASSERT_EQ(importertest::runImporter({"build", manifest.string(), auth.string(), "E", out.string()}).status, 0);
    const auto authBefore = snapshot(auth);
    const auto outBefore = snapshot(out);

    const fs::path page = dir.path() / "pages" / "act.html";
    const std::string good = importertest::testPage("act.html");
    const std::string prefix = "importer: ページ " + page.string() + " が読めません: ";
    struct Case {
        const char* what;
        std::string bytes;
        std::string message;
    };
    const std::vector<Case> cases{
        {"cut to half its size", good.substr(0, good.size() / 2),
         "ページが途中で切れています (最後の </HTML> がありません)"},
        {"cut just before </HTML>", good.substr(0, good.rfind("</HTML>")),
         "ページが途中で切れています (最後の </HTML> がありません)"},
        {"empty", "", "空のファイルです"},
        {"blanks only", "\r\n  \n", "空のファイルです"},
        {"binary", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + good, "バイナリのファイルです (法令のページではありません)"},
        // the test pages are kept in UTF-8 on disk: the raw file is a page saved as UTF-8
        {"UTF-8", bytesOf(fs::path(SORVANE_SOURCE_DIR) / "tests/importer/pages/act.html"),
         "UTF-8 で保存されています (法令のページは Shift_JIS で保存してください)"},
        {"bytes that are no code page 932", good.substr(0, 200) + "\x81\x20" + good.substr(200),
         "Shift_JIS として読めないバイトがあります (先頭から 200 バイト目)"},
        {"a whole page of something else", "<HTML><BODY>" + importertest::cp("お知らせ") + "</BODY></HTML>\n",
         "法令のページではありません (条文がありません)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(page, c.bytes);
        for (const char* command : {"import", "build"}) {
            std::vector<std::string> args{command, manifest.string(), auth.string(), "E"};
            if (std::string(command) == "build")
                args.push_back(out.string());
            CommandRun r = importertest::runImporter(args);
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.err, prefix + c.message + "\n");
        }
        CommandRun check = importertest::runImporter({"check", page.string()});
        EXPECT_EQ(check.status, 1);
        EXPECT_EQ(check.err, prefix + c.message + "\n");
        EXPECT_EQ(snapshot(auth), authBefore);
        EXPECT_EQ(snapshot(out), outBefore);
    }
}

TEST(DamagedInput, theManifestsSizeAndChecksumAreChecked)
{
    TempDir dir;
    importertest::writeTestVolume(dir.path());
    const std::string act = bytesOf(dir.path() / "act.html");
    const std::string order = bytesOf(dir.path() / "order.html");
    const std::string header = "file\tlaw_title\tcategory_code\tabbreviation\tbytes\tsha256\n";
    auto manifestWith = [&](const std::string& actSize, const std::string& actSha) {
        const fs::path m = dir.path() / "checked.tsv";
        writeBytes(m, header + "act.html\t見本税法\t110\t見法\t" + actSize + "\t" + actSha + "\n" + "order.html\t見本税法施行令\t120\t見令\t" +
                          std::to_string(order.size()) + "\t" + importer::sha256Hex(order) + "\n");
        return m;
    };
    const fs::path auth = dir.path() / "auth";
    const std::string size = std::to_string(act.size());
    const std::string sha = importer::sha256Hex(act);
    const fs::path page = dir.path() / "act.html";

    struct Case {
        const char* what;
        std::string size, sha, message;
    };
    std::string wrongSha = sha;
    wrongSha[10] = wrongSha[10] == '0' ? '1' : '0';
    std::string upperSha = sha;
    for (auto& c : upperSha)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const std::vector<Case> cases{
        {"wrong checksum", size, wrongSha,
         "importer: ファイル " + page.string() + " の SHA-256 が目録と違います (目録 " + wrongSha + "、実際は " + sha + ")\n"},
        {"wrong size", std::to_string(act.size() - 1), sha,
         "importer: ファイル " + page.string() + " の大きさが目録と違います (目録 " + std::to_string(act.size() - 1) +
             " バイト、実際は " + size + " バイト)\n"},
        {"size not a number", "12k", sha,
         "importer: 目録 " + (dir.path() / "checked.tsv").string() + " の 2 行目: bytes が数字ではありません: 12k\n"},
        {"checksum too short", size, sha.substr(0, 63),
         "importer: 目録 " + (dir.path() / "checked.tsv").string() + " の 2 行目: sha256 が 16 進 64 桁ではありません: " +
             sha.substr(0, 63) + "\n"},
        {"both right, the checksum in capitals", size, upperSha, ""},
        {"neither given", "", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(auth);
        CommandRun r = importertest::runImporter({"import", manifestWith(c.size, c.sha).string(), auth.string(), "E"});
        EXPECT_EQ(r.err, c.message);
        EXPECT_EQ(r.status, c.message.empty() ? 0 : 1);
        EXPECT_EQ(fs::exists(auth), c.message.empty());
    }
}

TEST(DamagedInput, aCopyWhoseTablesComeFromTwoImportsIsNotDeliveredUntilItIsImportedAgain)
{
    TempDir dir;
    const fs::path manifest = importertest::writeTestVolume(dir.path() / "pages");
    const fs::path auth = dir.path() / "auth";
    const fs::path out = dir.path() / "out";
    ASSERT_EQ(importertest::runImporter({"build", manifest.string(), auth.string(), "E", out.string()}).status, 0);
    const auto outBefore = snapshot(out);
    // the link table of another import (a file copied in by hand, an import killed between renames)
    store::TableFile::writeDeliveryStamp(importer::jyobunDirectory(auth, 1) / fs::path(u8"リンク条文.DB"), 7);
    CommandRun r = importertest::runImporter({"deliver", auth.string(), "E", out.string()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "importer: 作業用データの 条文本文.db と リンク条文.DB が別々の取り込みで書かれています。取り込みをやり直してください\n");
    EXPECT_EQ(snapshot(out), outBefore);
    ASSERT_EQ(importertest::runImporter({"import", manifest.string(), auth.string(), "E"}).status, 0);
    EXPECT_EQ(importertest::runImporter({"deliver", auth.string(), "E", out.string()}).status, 0);
}

TEST(DamagedInput, checksumsOfTheRealPagesMatchTheirManifest)
{
    // The corpus manifest gives every page's size and SHA-256; its first page read through the
    // importer's check passes, and the digest of a known text is the published one.
    EXPECT_EQ(importer::sha256Hex("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(importer::sha256Hex(std::string(1000, 'a')),
              "41edece42d63e8d9bf515a9ba6932e1c20cbc9f5a5d134645adb5db1b9737ea3");
    const fs::path corpus = SORVANE_CORPUS_DIR;
    if (!fs::exists(corpus / "MANIFEST.tsv"))
        GTEST_SKIP() << "no corpus";
    std::ifstream in(corpus / "MANIFEST.tsv");
    std::string line;
    std::getline(in, line);
    std::getline(in, line);
    auto cells = importer::splitTabs(line);
    ASSERT_EQ(cells.size(), 7u);
    const std::string page = bytesOf(corpus / cells[0]);
    EXPECT_EQ(std::to_string(page.size()), cells[5]);
    EXPECT_EQ(importer::sha256Hex(page), cells[6]);
}

}  // namespace
