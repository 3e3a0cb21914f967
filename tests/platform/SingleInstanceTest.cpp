// The single-instance test with real processes: a second start (this test binary run again as a
// child) asks the first to come to the front and ends; a socket left by a killed copy is replaced.
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <gtest/gtest.h>

#include "platform/SingleInstance.h"
#include "text/Cp932.h"

namespace {

// The child's part: "later" is a second start, "primary" a first start that stays until killed.
constexpr char kChildModeVariable[] = "SORVANE_TEST_INSTANCE_MODE";
constexpr char kChildNameVariable[] = "SORVANE_TEST_INSTANCE_NAME";
// Bounds a hung child or a lost request; the tests never measure time.
constexpr int kHangGuardMs = 30000;

QString uniqueServerName()
{
    static int counter = 0;
    return QStringLiteral("SorvaneTest-%1-%2").arg(QCoreApplication::applicationPid()).arg(++counter);
}

QString socketPathOf(const QString& name) { return QDir(QDir::tempPath()).filePath(name); }

void startChild(QProcess& child, const char* mode, const QString& name)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(kChildModeVariable), QString::fromLatin1(mode));
    env.insert(QString::fromLatin1(kChildNameVariable), name);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_filter=SingleInstanceChild.*")});
}

QByteArray waitForOutput(QProcess& child, const QByteArray& wanted)
{
    QByteArray output;
    // The caller judges the output; a child that never wrote it shows in what comes back.
    (void)QTest::qWaitFor(
        [&] {
            output += child.readAll();
            return output.contains(wanted) || child.state() == QProcess::NotRunning;
        },
        kHangGuardMs);
    return output + child.readAll();
}

// A later start in this process, and the first copy receiving its request.
void expectLaterStartActivates(SingleInstance& first)
{
    QSignalSpy activations(&first, &SingleInstance::activationRequested);
    SingleInstance later(first.serverName());
    EXPECT_EQ(later.tryBecomePrimary(), SingleInstance::Role::Secondary);
    EXPECT_FALSE(later.isListening());
    EXPECT_TRUE(QTest::qWaitFor([&] { return activations.count() >= 1; }, kHangGuardMs));
    EXPECT_EQ(activations.count(), 1);
}

}  // namespace

// Runs only inside the child process the tests below start.
TEST(SingleInstanceChild, actsAsTheStartTheParentAskedFor)
{
    const QByteArray mode = qgetenv(kChildModeVariable);
    if (mode.isEmpty())
        GTEST_SKIP() << "the child process of the single-instance tests";
    SingleInstance instance(QString::fromUtf8(qgetenv(kChildNameVariable)));
    const bool primary = instance.tryBecomePrimary() == SingleInstance::Role::Primary;
    std::printf("role=%s\n", primary ? "primary" : "secondary");
    std::fflush(stdout);
    if (mode == "primary") {
        QEventLoop untilKilled;
        QTimer::singleShot(kHangGuardMs * 2, &untilKilled, &QEventLoop::quit);
        untilKilled.exec();
    }
}

TEST(SingleInstance, secondStartInAnotherProcessActivatesTheFirstAndEnds)
{
    SingleInstance first(uniqueServerName());
    ASSERT_EQ(first.tryBecomePrimary(), SingleInstance::Role::Primary);
    ASSERT_TRUE(first.isListening());
    QSignalSpy activations(&first, &SingleInstance::activationRequested);

    QProcess child;
    startChild(child, "later", first.serverName());
    const QByteArray output = waitForOutput(child, "role=");
    ASSERT_TRUE(QTest::qWaitFor([&] { return child.state() == QProcess::NotRunning; }, kHangGuardMs));
    EXPECT_TRUE(output.contains("role=secondary\n")) << output.constData();
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0);

    EXPECT_TRUE(QTest::qWaitFor([&] { return activations.count() >= 1; }, kHangGuardMs));
    EXPECT_EQ(activations.count(), 1);
    EXPECT_TRUE(first.isListening());
}

TEST(SingleInstance, socketLeftByAKilledCopyIsReplaced)
{
    const QString name = uniqueServerName();
    QProcess killedCopy;
    startChild(killedCopy, "primary", name);
    const QByteArray output = waitForOutput(killedCopy, "role=");
    ASSERT_TRUE(output.contains("role=primary\n")) << output.constData();
    killedCopy.kill();
    ASSERT_TRUE(QTest::qWaitFor([&] { return killedCopy.state() == QProcess::NotRunning; }, kHangGuardMs));
    ASSERT_TRUE(QFileInfo::exists(socketPathOf(name))) << "the killed copy left no socket behind";

    SingleInstance next(name);
    EXPECT_EQ(next.tryBecomePrimary(), SingleInstance::Role::Primary);
    EXPECT_TRUE(next.isListening());
    expectLaterStartActivates(next);
}

TEST(SingleInstance, plainFileAtTheSocketPathIsReplaced)
{
    const QString name = uniqueServerName();
    QFile leftover(socketPathOf(name));
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.write("not a socket");
    leftover.close();

    SingleInstance first(name);
    EXPECT_EQ(first.tryBecomePrimary(), SingleInstance::Role::Primary);
    EXPECT_TRUE(first.isListening());
    expectLaterStartActivates(first);
}

TEST(SingleInstance, onlyTheActivationRequestActivates)
{
    SingleInstance first(uniqueServerName());
    ASSERT_EQ(first.tryBecomePrimary(), SingleInstance::Role::Primary);
    QSignalSpy activations(&first, &SingleInstance::activationRequested);

    QLocalSocket stranger;
    stranger.connectToServer(first.serverName());
    ASSERT_TRUE(stranger.waitForConnected(kHangGuardMs));
    stranger.write("hello\nactivate now\n");
    stranger.write("activate\n");
    stranger.flush();
    EXPECT_TRUE(QTest::qWaitFor([&] { return activations.count() >= 1; }, kHangGuardMs));
    QTest::qWait(50);
    EXPECT_EQ(activations.count(), 1);
}

TEST(SingleInstance, serverNameIsTitleAndUserWithUnsafeBytesWrittenInHex)
{
    struct Case {
        std::string title;
        std::string user;
        QString expected;
    };
    const Case cases[] = {
        {"Sorvane 36 Lite", "alice", QStringLiteral("Sorvane 36 Lite-alice")},
        {text::cp932("Sorvane 36 Lite β"), "alice", QStringLiteral("Sorvane 36 Lite _83_C0-alice")},
        {"Sorvane 36 Lite", "a/b_c", QStringLiteral("Sorvane 36 Lite-a_2Fb_5Fc")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SingleInstance::serverNameFor(c.title, c.user), c.expected);

    const QString own = SingleInstance::serverNameFor("Sorvane 36 Lite");
    EXPECT_TRUE(own.startsWith(QStringLiteral("Sorvane 36 Lite-")));
    EXPECT_GT(own.size(), QStringLiteral("Sorvane 36 Lite-").size());
    EXPECT_FALSE(own.contains(QLatin1Char('/')));
}

TEST(SingleInstance, bringToFrontRestoresAMinimisedWindowToItsFormerState)
{
    QWidget normal;
    normal.show();
    normal.showMinimized();
    ASSERT_TRUE(normal.isMinimized());
    bringToFront(&normal);
    EXPECT_FALSE(normal.isMinimized());
    EXPECT_FALSE(normal.isMaximized());
    EXPECT_TRUE(normal.isVisible());

    QWidget maximised;
    maximised.showMaximized();
    maximised.showMinimized();
    ASSERT_TRUE(maximised.isMinimized());
    bringToFront(&maximised);
    EXPECT_FALSE(maximised.isMinimized());
    EXPECT_TRUE(maximised.isMaximized());
    EXPECT_TRUE(maximised.isVisible());

    bringToFront(nullptr);
}
