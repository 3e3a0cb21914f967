// A second start of the real program while this process runs the first, minimised: the second
// asks the first to come back and ends with exit code 0 having touched no file.
#include <QFileInfo>
#include <QProcess>
#include <filesystem>
#include <set>

#include "ProgramFixture.h"
#include "platform/SingleInstance.h"

using namespace apptest;
namespace fs = std::filesystem;

namespace {

// Bounds a hung child; the test measures no time.
constexpr int kHangGuardMs = 30000;

std::set<std::string> filesIn(const fs::path& dir)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.insert(entry.path().filename().string() + ":" + std::to_string(fs::file_size(entry.path())));
    return names;
}

}  // namespace

using SecondStart = ProgramTest;

TEST_F(SecondStart, restoresTheMinimisedFirstAndEndsWithoutTouchingFiles)
{
    const QString programPath = QStringLiteral(SORVANE_BINARY_DIR "/sorvane");
    if (!QFileInfo::exists(programPath))
        GTEST_SKIP() << "the program is not built";

    // This process answers for either build's title, so whichever the program was built as
    // finds it running.
    SingleInstance standard(SingleInstance::serverNameFor(cp932(kStandardTitle)));
    SingleInstance authoring(SingleInstance::serverNameFor(cp932(kAuthoringTitle)));
    if (standard.tryBecomePrimary() != SingleInstance::Role::Primary ||
        authoring.tryBecomePrimary() != SingleInstance::Role::Primary || !standard.isListening() ||
        !authoring.isListening())
        GTEST_SKIP() << "another copy of the program runs for this user";

    writeProductVolumes();
    start(store::VolumeFiles::productDefault());
    RestoreOnLaterStart(standard, window());
    RestoreOnLaterStart(authoring, window());
    showWindow();
    window().showMinimized();
    QTest::qWait(0);
    ASSERT_TRUE(window().isMinimized());

    // What a second start would clean up or write if it ran: a stale answer file, no window state.
    dir.writeFile("_QSQ1.DB", "stale");
    fs::remove("C3.dl_");
    const std::set<std::string> before = filesIn(dir.path());

    QProcess second;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    second.setProcessEnvironment(env);
    second.setWorkingDirectory(QString::fromStdString(dir.path().string()));
    second.start(programPath, {});
    ASSERT_TRUE(second.waitForStarted(kHangGuardMs));
    const bool ended = QTest::qWaitFor([&] { return second.state() == QProcess::NotRunning; }, kHangGuardMs);
    if (!ended) {
        second.kill();
        second.waitForFinished(kHangGuardMs);
    }
    ASSERT_TRUE(ended) << "the second start did not end";
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);

    EXPECT_TRUE(QTest::qWaitFor([&] { return !window().isMinimized(); }, kHangGuardMs));
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(filesIn(dir.path()), before);
}
