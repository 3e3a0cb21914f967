// Start-up deletes the table engine's leftover answer tables _QSQ1.DB to _QSQ99.DB and nothing else.
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>

#include "platform/AnswerFiles.h"

namespace fs = std::filesystem;

namespace {

std::set<std::string> namesIn(const fs::path& dir)
{
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string());
    return names;
}

}  // namespace

TEST(AnswerFiles, onlyOneToNinetyNineAreDeleted)
{
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    const fs::path dir = tmp.path().toStdString();
    for (const char* name : {"_QSQ1.DB", "_QSQ2.DB", "_QSQ50.DB", "_QSQ99.DB", "_QSQ100.DB", "_QSQ0.DB",
                             "_QSQ01.DB", "_qsq3.db", "QSQ4.DB", "E1.db"})
        std::ofstream(dir / name) << "x";
    fs::create_directory(dir / "_QSQ5.DB");

    deleteStaleAnswerFiles(dir);

    EXPECT_EQ(namesIn(dir), (std::set<std::string>{"_QSQ100.DB", "_QSQ0.DB", "_QSQ01.DB", "_qsq3.db",
                                                   "QSQ4.DB", "E1.db", "_QSQ5.DB"}));
    // Nothing left to delete, or no such directory at all: still no error.
    deleteStaleAnswerFiles(dir);
    deleteStaleAnswerFiles(dir / "missing");
    EXPECT_EQ(staleAnswerFileName(1), "_QSQ1.DB");
    EXPECT_EQ(staleAnswerFileName(99), "_QSQ99.DB");
}
