// The searchcheck command over a volume's real files: the statement and the articles of a
// keyword search, the rewritten number and the article of a jump, and what it refuses.
#include <QProcess>

#include "SearchWindowFixture.h"

using namespace searchtest;

namespace {

struct ToolRun {
    int exitCode = -1;
    QString out, err;
};

class SearchCheckTool : public ::testing::Test {
protected:
    testsupport::TempWorkingDir dir;

    void SetUp() override { store::writeLawVolume(dir.path(), houjinVolume()); }

    ToolRun run(const QStringList& arguments)
    {
        QProcess process;
        process.start(QStringLiteral(SORVANE_BINARY_DIR "/tools/searchcheck"), arguments);
        EXPECT_TRUE(process.waitForFinished(30000)) << "searchcheck did not run";
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
    QString folder() const { return QString::fromStdString(dir.path().string()); }
};

}  // namespace

TEST_F(SearchCheckTool, keywordsPrintTheStatementLinesAndTheArticlesFound)
{
    const ToolRun r = run({"keywords", folder(), "A", QStringLiteral("本法関係"), QStringLiteral("減価"), QStringLiteral("償却")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("keywords\t減価\t償却\n"
                                    "SELECT DISTINCT Gyo,KubunNo \n"
                                    "FROM A2.db \n"
                                    "WHERE ( Honbun LIKE '%減価%') \n"
                                    "AND ( Honbun LIKE '%償却%') \n"
                                    "AND ( KubunNo < 70) \n"
                                    "AND ( KEY28 = 1 ) \n"
                                    "ORDER BY Gyo \n"
                                    "found\t4\n"
                                    "Gyo\t1\nGyo\t2\nGyo\t3\nGyo\t4\n"));
}

TEST_F(SearchCheckTool, keywordsAreNormalisedAndAQuoteIsLiteral)
{
    const ToolRun r = run({"keywords", folder(), "A", QStringLiteral("全範囲"), QStringLiteral("D'Arcy"), QStringLiteral("5%")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("keywords\tD'Arcy\t５%\n"
                                    "SELECT DISTINCT Gyo,KubunNo \n"
                                    "FROM A2.db \n"
                                    "WHERE ( Honbun LIKE '%D''Arcy%') \n"
                                    "AND ( Honbun LIKE '%５%%') \n"
                                    "ORDER BY Gyo \n"
                                    "found\t1\n"
                                    "Gyo\t5\n"));
}

TEST_F(SearchCheckTool, numberPrintsTheRewrittenNumberAndTheArticleOrThatThereIsNone)
{
    ToolRun r = run({"number", folder(), "A", QStringLiteral("法令"), QStringLiteral("35")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("number\t３５条\nGyo\t6\n"));

    r = run({"number", folder(), "A", QStringLiteral("全範囲"), QStringLiteral("附則第3条")});
    EXPECT_EQ(r.out, QStringLiteral("number\t附則第３条\nGyo\t11\n"));

    r = run({"number", folder(), "A", QStringLiteral("全範囲"), QStringLiteral("99")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.out, QStringLiteral("number\t９９条\n該当の条文はありません\n"));
}

TEST_F(SearchCheckTool, refusesWhatTheWindowCouldNotBeAsked)
{
    struct Case {
        QStringList arguments;
        const char* reason;
    };
    const Case cases[] = {
        {{"find"}, "the first argument must be keywords or number"},
        {{"keywords", folder(), "A", QStringLiteral("全範囲")}, "keywords takes a folder"},
        {{"number", folder() + "/none", "A", QStringLiteral("全範囲"), "35"}, "the folder does not exist"},
        {{"number", folder(), "B", QStringLiteral("全範囲"), "35"}, "the letter must be one of A E G H I K"},
        {{"number", folder(), "A", QStringLiteral("消法"), "35"}, "the range is none of the items"},
        {{"keywords", folder(), "A", QStringLiteral("全範囲"), ""}, "キーワードが入力されていません"},
        {{"number", folder(), "A", QStringLiteral("全範囲"), ""}, "条文番号を入力してください"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reason);
        const ToolRun r = run(c.arguments);
        EXPECT_EQ(r.exitCode, 2);
        EXPECT_TRUE(r.err.startsWith(QStringLiteral("searchcheck: ") + QString::fromUtf8(c.reason))) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty());
    }
}
