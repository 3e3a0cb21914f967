// Authoring writes are durable: a process killed at a random moment of a burst of posts to the
// authoring article and link tables leaves every post that had returned, no row half written,
// and both tables whole by SQLite's integrity check.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <thread>

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

// Checked as the link editor opens the table next, read-write: a post cut short left its
// rollback journal, which that opening rolls back.
std::string integrityOf(const fs::path& file)
{
    sqlite3* db = nullptr;
    std::string result = "cannot open";
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        sqlite3_stmt* st = nullptr;
        result = std::string("cannot check: ") + sqlite3_errmsg(db);
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
            result = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
        sqlite3_finalize(st);
    }
    sqlite3_close(db);
    return result;
}

// The posts of the child: new rows 1000, 1001, … and, after each, an edit of row 1's text and a
// link registered on the new row, as the link editor posts it.
[[noreturn]] void postUntilKilled(const fs::path& dir, int confirmations)
{
    store::Table t("Table1");
    t.SetDatabaseName(dir);
    t.SetTableName("条文本文.db");
    t.SetReadOnly(false);
    t.Open();
    store::Table links("Table2");
    links.SetDatabaseName(dir);
    links.SetTableName("リンク条文.DB");
    links.SetReadOnly(false);
    links.Open();
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
        links.Append();
        links.SetFieldValue("ＫＥＹ", n);
        links.SetFieldValue("リンク条文番号", 110);
        links.SetFieldValue("条件", text::cp932("第") + std::to_string(n));
        links.SetFieldValue("リンク条文本文", text::cp932("１条"));
        links.Post();
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

    // Kill it at a random moment of the burst: after some rounds, and part of a round's time on.
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const std::size_t rounds = std::uniform_int_distribution<std::size_t>(1, 60)(random);
    std::set<int> confirmed;
    int n = 0;
    while (confirmed.size() < rounds && read(pipeEnds[0], &n, sizeof n) == sizeof n)
        confirmed.insert(n);
    std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 5000)(random)));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    while (read(pipeEnds[0], &n, sizeof n) == sizeof n)
        confirmed.insert(n);
    close(pipeEnds[0]);
    ASSERT_GE(confirmed.size(), rounds);
    const int lastConfirmed = *confirmed.rbegin();
    for (const char* table : {"条文本文.db", "リンク条文.DB", "目次.db"})
        EXPECT_EQ(integrityOf(jyobun / fs::path(reinterpret_cast<const char8_t*>(table))), "ok") << table;

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

    // Every confirmed round's link is there, whole.
    std::set<int> linked;
    store::Table l("Table2");
    l.SetDatabaseName(jyobun);
    l.SetTableName("リンク条文.DB");
    l.Open();
    for (l.First(); !l.Eof(); l.Next()) {
        const int key = static_cast<int>(l.IntegerField("ＫＥＹ"));
        linked.insert(key);
        EXPECT_EQ(l.TextField("条件"), text::cp932("第") + std::to_string(key));
    }
    for (int c : confirmed)
        EXPECT_TRUE(linked.count(c)) << "link " << c << " returned but is lost";
    EXPECT_LE(linked.size(), confirmed.size() + 1);
}
