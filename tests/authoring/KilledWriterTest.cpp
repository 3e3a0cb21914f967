// Authoring writes are durable: a process killed in the middle of a burst of posts to the
// authoring article table leaves every post that had returned, and no row half written.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

#include "store/Table.h"
#include "store/TableFile.h"
#include "support/TempDir.h"
#include "text/Cp932.h"
#include "tools/importer/AuthoringCopy.h"

namespace {

namespace fs = std::filesystem;

// The article text of row n: long enough that a post spans several pages of the file.
std::string bodyOf(int n)
{
    std::string line = text::cp932("第") + std::to_string(n) + text::cp932("条の本文。");
    std::string body;
    while (body.size() < 20000)
        body += line + "\r\n";
    return body;
}

// The posts of the child: new rows 1000, 1001, … and, after each, an edit of row 1's text.
[[noreturn]] void postUntilKilled(const fs::path& dir, int confirmations)
{
    store::Table t("Table1");
    t.SetDatabaseName(dir);
    t.SetTableName("条文本文.db");
    t.SetReadOnly(false);
    t.Open();
    for (int n = 1000; n < 1000000; ++n) {
        t.Append();
        t.SetFieldValue("ＫＥＹ", n);
        t.SetFieldValue("行", static_cast<double>(n));
        t.SetFieldValue("条文内容", bodyOf(n));
        t.Post();
        t.Locate("ＫＥＹ", {1});
        t.Edit();
        t.SetFieldValue("表題", std::to_string(n));
        t.Post();
        // Told only once both posts have returned.
        if (write(confirmations, &n, sizeof n) != sizeof n)
            _exit(3);
    }
    _exit(0);
}

}  // namespace

TEST(KilledWriter, everyReturnedPostSurvivesAndNoRowIsHalfWritten)
{
    testsupport::TempWorkingDir dir;
    importer::AuthoringVolume volume;
    importer::AuthoringArticle first;
    first.key = 1;
    first.code = 110;
    first.row = 10;
    first.caption = "0";
    volume.articles.push_back(first);
    importer::writeAuthoringVolume(dir.path(), 1, volume);
    const fs::path jyobun = importer::jyobunDirectory(dir.path(), 1);

    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipeEnds[0]);
        postUntilKilled(jyobun, pipeEnds[1]);
    }
    close(pipeEnds[1]);

    // Kill it in the middle of the burst.
    std::set<int> confirmed;
    int n = 0;
    while (confirmed.size() < 40 && read(pipeEnds[0], &n, sizeof n) == sizeof n)
        confirmed.insert(n);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    while (read(pipeEnds[0], &n, sizeof n) == sizeof n)
        confirmed.insert(n);
    close(pipeEnds[0]);
    ASSERT_GE(confirmed.size(), 40u);
    const int lastConfirmed = *confirmed.rbegin();

    store::Table t("Table1");
    t.SetDatabaseName(jyobun);
    t.SetTableName("条文本文.db");
    t.Open();
    std::set<int> present;
    for (t.First(); !t.Eof(); t.Next()) {
        const int key = static_cast<int>(t.IntegerField("ＫＥＹ"));
        if (key == 1) {
            // the edit of the last confirmed round, or of the round the kill cut short
            const int edited = std::stoi(t.TextField("表題"));
            EXPECT_TRUE(edited == lastConfirmed || edited == lastConfirmed + 1) << edited;
            continue;
        }
        present.insert(key);
        EXPECT_EQ(t.FloatField("行"), static_cast<double>(key));
        EXPECT_EQ(t.TextField("条文内容"), bodyOf(key)) << key;
    }
    for (int c : confirmed)
        EXPECT_TRUE(present.count(c)) << "post " << c << " returned but is lost";
    // at most the one post in flight when the process died went beyond what was confirmed
    EXPECT_LE(present.size(), confirmed.size() + 1);
    if (present.size() == confirmed.size() + 1) {
        EXPECT_EQ(*present.rbegin(), lastConfirmed + 1);
    }
}
