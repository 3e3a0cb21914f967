// The real importer killed at random moments of an import and of a delivery, over real law
// pages: every table it leaves passes SQLite's integrity check, the authoring copy (its article
// and link tables, with a link an editor registered) and the browsing volume open whole, and
// the volume's tables carry one delivery's stamp (once the next writer has finished a delivery
// killed among its renames).
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <random>
#include <set>
#include <thread>

#include "TestVolume.h"
#include "store/FileReplacement.h"
#include "store/TableError.h"
#include "store/TableFile.h"
#include "store/Volumes.h"
#include "tools/importer/AuthoringCopy.h"
#include "tools/importer/Sha256.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using importertest::cp;
using importertest::TempDir;
using Clock = std::chrono::steady_clock;

// Starts the importer binary with its output thrown away; returns its process id.
pid_t startImporter(const std::vector<std::string>& arguments)
{
    const std::string program = std::string(SORVANE_BINARY_DIR) + "/tools/importer";
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

int waitFor(pid_t pid)
{
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

std::string integrityOf(const fs::path& file)
{
    sqlite3* db = nullptr;
    std::string result = "cannot open";
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        result = "cannot check";
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            result = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return result;
}

// The table files a writer left under a folder (its temporaries aside).
std::vector<fs::path> tablesUnder(const fs::path& dir)
{
    std::vector<fs::path> tables;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        std::string ext = e.path().extension().string();
        if (e.is_regular_file() && (ext == ".db" || ext == ".DB"))
            tables.push_back(e.path());
    }
    return tables;
}

std::vector<fs::path> temporariesUnder(const fs::path& dir)
{
    std::vector<fs::path> found;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.path().filename().string().find(".tmp-") != std::string::npos)
            found.push_back(e.path());
    return found;
}

struct Expected {
    std::size_t articles = 0;
    std::size_t volumeRows = 0;
};

void checkWhole(const fs::path& root, const fs::path& out, const Expected& expected)
{
    std::vector<fs::path> tables = tablesUnder(root);
    for (const auto& t : tablesUnder(out))
        tables.push_back(t);
    ASSERT_EQ(tables.size(), 5u + 5u);  // 条文本文, リンク条文, 目次, マスタ条文, the CD table; E1-E5
    for (const auto& t : tables)
        EXPECT_EQ(integrityOf(t), "ok") << t;

    // The copy reads (its own tables from one import), with the editor's link.
    importer::AuthoringVolume copy;
    ASSERT_NO_THROW(copy = importer::readAuthoringVolume(root, 1));
    EXPECT_EQ(copy.articles.size(), expected.articles);
    EXPECT_EQ(std::count_if(copy.links.begin(), copy.links.end(),
                            [](const auto& l) { return !l.occurrence && l.condition == cp("消費税"); }),
              1);

    // A delivery killed among its renames: the browsing program refuses the mix and says to
    // deliver again; the next delivery finishes the killed one's renames first.
    std::vector<std::string> volumeTables;
    for (char digit : {'1', '2', '3', '4', '5'})
        volumeTables.push_back((out / (std::string("E") + digit + ".db")).string());
    try {
        store::CheckOneDelivery(volumeTables);
    } catch (const store::TableError& e) {
        EXPECT_NE(std::string(e.what()).find("は別々の配信のものです。二つの配信が混ざった巻は開きません: 配信し直してください"),
                  std::string::npos);
        EXPECT_EQ(store::FileReplacement::finishInterrupted(out), 1);
    }

    // The volume opens whole, every table from one delivery.
    std::set<std::uint32_t> stamps;
    for (char digit : {'1', '2', '3', '4', '5'}) {
        std::unique_ptr<store::TableFile> t;
        ASSERT_NO_THROW(t = store::TableFile::open(out / (std::string("E") + digit + ".db"), true)) << digit;
        stamps.insert(t->deliveryStamp());
        if (digit == '1') {
            EXPECT_EQ(t->readAll().rows.size(), expected.volumeRows);
        }
    }
    EXPECT_EQ(stamps.size(), 1u);
    EXPECT_GT(fs::file_size(out / "E6.dl_"), 0u);
}

TEST(KilledWriter, anImportOrDeliveryKilledAtAnyMomentLeavesTheCopyAndTheVolumeWhole)
{
    const fs::path corpus = SORVANE_CORPUS_DIR;
    if (!fs::exists(corpus / "MANIFEST.tsv"))
        GTEST_SKIP() << "no corpus";
    TempDir dir;
    // 消費税法 and its order, with the size and checksum columns of the corpus manifest.
    const fs::path manifest = dir.path() / "manifest.tsv";
    {
        std::ifstream in(corpus / "MANIFEST.tsv");
        std::ofstream m(manifest);
        std::string line;
        for (int n = 0; n < 3 && std::getline(in, line); ++n)
            m << (n == 0 ? line : (corpus / line).string()) << "\n";
    }
    const fs::path root = dir.path() / "auth";
    const fs::path out = dir.path() / "out";
    ASSERT_EQ(importertest::runImporter({"build", manifest.string(), root.string(), "E", out.string()}).status, 0);
    {
        const auto copy = importer::readAuthoringVolume(root, 1);
        auto links = store::TableFile::open(importer::jyobunDirectory(root, 1) / fs::path(u8"リンク条文.DB"), false);
        store::Row row(links->fields().size());
        row[0] = copy.articles.front().key;  // ＫＥＹ
        row[1] = 110;                         // リンク条文番号
        row[2] = cp("消費税");                // 条件
        row[7] = cp("２条");                  // リンク条文本文
        links->insert(row);
    }
    Expected expected;
    expected.articles = importer::readAuthoringVolume(root, 1).articles.size();
    expected.volumeRows = store::TableFile::open(out / "E1.db", true)->readAll().rows.size();

    const std::vector<std::string> import{"import", manifest.string(), root.string(), "E"};
    const std::vector<std::string> deliver{"deliver", root.string(), "E", out.string()};
    // Each command run whole once: it succeeds, and its length spreads the moments to kill at.
    std::vector<double> seconds;
    for (const auto* args : {&import, &deliver}) {
        const auto start = Clock::now();
        ASSERT_EQ(waitFor(startImporter(*args)), 0);
        seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    checkWhole(root, out, expected);

    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    constexpr int kKills = 10;
    for (int k = 0; k < kKills; ++k) {
        const bool importing = k % 2 == 0;
        std::uniform_real_distribution<double> moment(0.0, seconds[importing ? 0 : 1]);
        const double at = moment(random);
        SCOPED_TRACE(std::string(importing ? "import" : "deliver") + " killed after " + std::to_string(at) + " s");
        const pid_t pid = startImporter(importing ? import : deliver);
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::duration<double>(at));
        kill(pid, SIGKILL);
        waitFor(pid);
        checkWhole(root, out, expected);
        if (HasFatalFailure() || HasFailure())
            return;
    }

    // The next run clears what the killed ones left behind.
    ASSERT_EQ(waitFor(startImporter(import)), 0);
    ASSERT_EQ(waitFor(startImporter(deliver)), 0);
    EXPECT_EQ(temporariesUnder(dir.path()), std::vector<fs::path>{});
    checkWhole(root, out, expected);
}

}  // namespace
