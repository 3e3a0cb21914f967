// Volumes replaced whole: one stamp on every table of a delivery, the old files untouched by a
// write that fails before its renames, and the leftovers of a killed writer cleared.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "store/FileReplacement.h"
#include "store/TableFile.h"
#include "store/VolumeWriter.h"
#include "support/TempDir.h"
#include "text/Cp932.h"

namespace {

namespace fs = std::filesystem;
using testsupport::TempWorkingDir;

std::string bytesOf(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

store::LawVolumeContent volumeOf(const std::string& title)
{
    store::LawVolumeContent v;
    v.letter = 'E';
    v.articles.push_back({10, 110, text::cp932("消法"), text::cp932("１条"), text::cp932(title), text::cp932("本文")});
    v.outline.push_back({0, text::cp932(title)});
    return v;
}

std::vector<std::string> namesIn(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(FileReplacement, everyTableOfAVolumeCarriesTheStampOfItsDelivery)
{
    TempWorkingDir dir;
    store::writeLawVolume(dir.path(), volumeOf("第１条"), 4242);
    for (const char* name : {"E1.db", "E2.db", "E3.db", "E4.db", "E5.db"})
        EXPECT_EQ(store::TableFile::open(dir.path() / name, true)->deliveryStamp(), 4242u) << name;
    // a delivery without a stamp of its own gets a new one, the same on all its tables
    store::writeLawVolume(dir.path(), volumeOf("第１条"));
    const auto stamp = store::TableFile::open(dir.path() / "E1.db", true)->deliveryStamp();
    EXPECT_NE(stamp, 4242u);
    EXPECT_EQ(store::TableFile::open(dir.path() / "E4.db", true)->deliveryStamp(), stamp);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"E1.db", "E2.db", "E3.db", "E4.db", "E5.db", "E6.dl_"}));
}

TEST(FileReplacement, aWriteThatFailsBeforeItsRenamesLeavesTheOldFilesAndNoTemporaries)
{
    TempWorkingDir dir;
    store::writeLawVolume(dir.path(), volumeOf("old"));
    const std::string oldIndex = bytesOf(dir.path() / "E1.db");
    const std::string oldOutline = bytesOf(dir.path() / "E6.dl_");
    {
        store::FileReplacement files;
        std::ofstream(files.stage(dir.path() / "E6.dl_", false)) << "new";
        store::TableFile::create(files.stage(dir.path() / "E1.db"), "E1", {{"Gyo", store::FieldType::Integer}}, {{1}});
        // the writer gives up here (an error in the next table): no commit
    }
    EXPECT_EQ(bytesOf(dir.path() / "E1.db"), oldIndex);
    EXPECT_EQ(bytesOf(dir.path() / "E6.dl_"), oldOutline);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"E1.db", "E2.db", "E3.db", "E4.db", "E5.db", "E6.dl_"}));
}

TEST(FileReplacement, leftoversOfAKilledWriterAreClearedByTheNextOne)
{
    TempWorkingDir dir;
    // pid 1 is alive (it is init): its files are another writer's at work and stay
    dir.writeFile("E1.db.tmp-999999999", "half a table");
    dir.writeFile("E1.db.tmp-999999999-journal", "journal");
    dir.writeFile("E1.db.tmp-1", "someone else's");
    store::writeLawVolume(dir.path(), volumeOf("第１条"));
    EXPECT_EQ(namesIn(dir.path()),
              (std::vector<std::string>{"E1.db", "E1.db.tmp-1", "E2.db", "E3.db", "E4.db", "E5.db", "E6.dl_"}));
}

// The id of a process that has ended, as a killed writer's is.
pid_t aGonePid()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

TEST(FileReplacement, aWriterKilledAmongItsRenamesIsFinishedByTheNextOne)
{
    TempWorkingDir dir;
    store::writeLawVolume(dir.path(), volumeOf("old"), 1);
    const fs::path help = dir.path() / "help";
    fs::create_directories(help);
    dir.writeFile("help/index.htm", "old help");
    // What a writer killed after its first rename leaves: E1 renamed, E2 and the help page
    // still under their temporary names, and its record in both folders.
    const std::string tmp = ".tmp-" + std::to_string(aGonePid());
    store::writeLawVolume(dir.path() / "new", volumeOf("new"), 2);
    fs::rename(dir.path() / "new" / "E1.db", dir.path() / "E1.db");
    fs::rename(dir.path() / "new" / "E2.db", dir.path() / ("E2.db" + tmp));
    dir.writeFile("help/index.htm" + tmp, "new help");
    const std::string record = (dir.path() / ("E1.db" + tmp)).string() + "\t" + (dir.path() / "E1.db").string() + "\n" +
                               (dir.path() / ("E2.db" + tmp)).string() + "\t" + (dir.path() / "E2.db").string() + "\n" +
                               (help / ("index.htm" + tmp)).string() + "\t" + (help / "index.htm").string() + "\nend\n";
    dir.writeFile("replacing" + tmp, record);
    dir.writeFile("help/replacing" + tmp, record);

    // the next writer, coming to the help folder, finishes the whole set
    {
        store::FileReplacement next;
        next.stage(help / "other.htm", false);
    }
    EXPECT_EQ(store::TableFile::open(dir.path() / "E2.db", true)->deliveryStamp(), 2u);
    EXPECT_EQ(bytesOf(help / "index.htm"), "new help");
    EXPECT_EQ(namesIn(help), std::vector<std::string>{"index.htm"});
    EXPECT_EQ(namesIn(dir.path()),
              (std::vector<std::string>{"E1.db", "E2.db", "E3.db", "E4.db", "E5.db", "E6.dl_", "help", "new"}));
}

TEST(FileReplacement, aWriterKilledBeforeItsFirstRenameLeavesTheOldFiles)
{
    TempWorkingDir dir;
    store::writeLawVolume(dir.path(), volumeOf("old"), 1);
    const std::string oldIndex = bytesOf(dir.path() / "E1.db");
    fs::create_directories(dir.path() / "help");
    const std::string tmp = ".tmp-" + std::to_string(aGonePid());
    dir.writeFile("E1.db" + tmp, "a new table");
    dir.writeFile("help/index.htm" + tmp, "new help");
    const std::string record = (dir.path() / ("E1.db" + tmp)).string() + "\t" + (dir.path() / "E1.db").string() + "\n" +
                               (dir.path() / "help" / ("index.htm" + tmp)).string() + "\t" +
                               (dir.path() / "help" / "index.htm").string() + "\nend\n";
    // killed while writing the help folder's copy of the record: the set is not finished
    dir.writeFile("replacing" + tmp, record);
    dir.writeFile("help/replacing" + tmp, record.substr(0, record.size() / 2));
    EXPECT_EQ(store::FileReplacement::finishInterrupted(dir.path()), 0);
    EXPECT_EQ(bytesOf(dir.path() / "E1.db"), oldIndex);
    EXPECT_EQ(namesIn(dir.path() / "help"), std::vector<std::string>{"index.htm" + tmp});
    store::writeLawVolume(dir.path(), volumeOf("old"), 1);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"E1.db", "E2.db", "E3.db", "E4.db", "E5.db", "E6.dl_", "help"}));
}

}  // namespace
