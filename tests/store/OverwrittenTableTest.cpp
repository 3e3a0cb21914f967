// Searches over a table file that another program overwrites in place while they run (an
// administrator copying a new volume over the old, a sync tool): each search ends with the rows
// of one whole file or with an error naming it, never with a crash.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <set>
#include <thread>

#include "store/Query.h"
#include "store/TableFile.h"
#include "store/VolumeWriter.h"
#include "support/TempDir.h"
#include "text/Cp932.h"

using namespace store;
using text::cp932;
namespace fs = std::filesystem;

namespace {

// A volume of many long articles; every `step`-th holds the word 見本.
LawVolumeContent longVolume(int step)
{
    LawVolumeContent v;
    v.letter = 'E';
    std::string filler;
    while (filler.size() < 1500)
        filler += cp932("課税資産の譲渡等に係る消費税を納める義務がある。");
    for (int gyo = 1; gyo <= 2500; ++gyo)
        v.articles.push_back({gyo, 110, cp932("消法"), std::to_string(gyo), "t",
                              filler + (gyo % step == 0 ? cp932("見本") : "") + "\r\n"});
    return v;
}

// Truncates the file and writes bytes into it in pieces, as a plain copy does, at the pace of a
// slow disk: the file stays shorter than before for a while.
void overwriteInPlace(const fs::path& file, const std::string& bytes)
{
    const int fd = ::open(file.c_str(), O_WRONLY | O_TRUNC);
    if (fd < 0)
        return;
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, std::min<std::size_t>(65536, bytes.size() - done));
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
        ::usleep(200);
    }
    ::close(fd);
}

std::vector<std::int64_t> multiplesOf(int step)
{
    std::vector<std::int64_t> gyo;
    for (int g = step; g <= 2500; g += step)
        gyo.push_back(g);
    return gyo;
}

}  // namespace

TEST(OverwrittenTable, searchesDuringInPlaceOverwritesGiveOneFilesRowsOrAnErrorNamingIt)
{
    testsupport::TempWorkingDir dir;
    fs::create_directories("a");
    fs::create_directories("b");
    writeLawVolume(dir.path() / "a", longVolume(3));
    writeLawVolume(dir.path() / "b", longVolume(7));
    const std::string first = testsupport::fileBytes("a/E2.db");
    const std::string second = testsupport::fileBytes("b/E2.db");
    fs::copy_file("a/E2.db", "E2.db");

    std::atomic<bool> stop{false};
    std::thread copier([&] {
        for (int round = 0; !stop; ++round)
            overwriteInPlace("E2.db", round % 2 ? first : second);
    });

    const std::vector<std::int64_t> rowsOfFirst = multiplesOf(3), rowsOfSecond = multiplesOf(7);
    std::set<std::string> errors;
    int answered = 0;
    for (int i = 0; i < 300; ++i) {
        Query q("q");
        q.SetSQL({"SELECT DISTINCT Gyo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%" + cp932("見本") + "%') ", "ORDER BY Gyo "});
        try {
            q.Open();
        } catch (const TableError& e) {
            errors.insert(e.what());
            continue;
        }
        std::vector<std::int64_t> gyo;
        for (q.First(); !q.Eof(); q.Next())
            gyo.push_back(q.IntegerField("Gyo"));
        EXPECT_TRUE(gyo == rowsOfFirst || gyo == rowsOfSecond) << "search " << i << ": " << gyo.size() << " rows";
        ++answered;
    }
    stop = true;
    copier.join();

    for (const std::string& e : errors)
        EXPECT_EQ(e.rfind("テーブル E2.db ", 0), 0u) << e;

    // Once the file rests, the search answers from it.
    overwriteInPlace("E2.db", second);
    Query q("q");
    q.SetSQL({"SELECT DISTINCT Gyo ", "FROM E2.db ", "WHERE ( Honbun LIKE '%" + cp932("見本") + "%') ", "ORDER BY Gyo "});
    try {
        q.Open();
    } catch (const TableError&) {
        q.Open();  // the search machinery's second attempt opens the file anew
    }
    std::vector<std::int64_t> gyo;
    for (q.First(); !q.Eof(); q.Next())
        gyo.push_back(q.IntegerField("Gyo"));
    EXPECT_EQ(gyo, rowsOfSecond);
    RecordProperty("answered", answered);
}
