// The authoring build of the program: the executable built from the same sources with the
// authoring option goes by the title with "β" (its second start finds a running copy by that
// title), and a main window given that title offers the authoring items.
#include <QAction>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>

#include "EditorFixture.h"
#include "authoring/TTool.h"
#include "platform/SingleInstance.h"

using namespace authoringtest;

namespace {

// Bounds a hung child; the test measures no time.
constexpr int kHangGuardMs = 30000;

}  // namespace

TEST(AuthoringBuild, theAuthoringProgramGoesByTheAuthoringTitle)
{
    const QString programPath = QStringLiteral(SORVANE_BINARY_DIR "/sorvane-authoring");
    if (!QFileInfo::exists(programPath))
        GTEST_SKIP() << "the authoring program is not built";
    SingleInstance authoringCopy(SingleInstance::serverNameFor(cp932(kAuthoringTitle)));
    SingleInstance standardCopy(SingleInstance::serverNameFor(cp932(kStandardTitle)));
    if (authoringCopy.tryBecomePrimary() != SingleInstance::Role::Primary || !authoringCopy.isListening() ||
        standardCopy.tryBecomePrimary() != SingleInstance::Role::Primary || !standardCopy.isListening())
        GTEST_SKIP() << "another copy of the program runs for this user";
    QSignalSpy authoringAsked(&authoringCopy, &SingleInstance::activationRequested);
    QSignalSpy standardAsked(&standardCopy, &SingleInstance::activationRequested);

    testsupport::TempWorkingDir dir;
    QProcess second;
    second.setWorkingDirectory(QString::fromStdString(dir.path().string()));
    second.start(programPath, {});
    ASSERT_TRUE(second.waitForStarted(kHangGuardMs));
    // The running copy it looks for is this process: its request arrives here.
    EXPECT_TRUE(authoringAsked.wait(kHangGuardMs) || authoringAsked.count() > 0);
    if (!second.waitForFinished(kHangGuardMs)) {
        second.kill();
        second.waitForFinished();
        FAIL() << "the authoring program did not find the running copy by its title";
    }
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(authoringAsked.count(), 1);
    EXPECT_EQ(standardAsked.count(), 0);
}

class AuthoringTitle : public EditorTest {};

TEST_F(AuthoringTitle, showsTheAuthoringItemsAndTheColourButton)
{
    writeStandardVolume();
    start(kAuthoringTitle);
    EXPECT_EQ(window().windowTitle(), qs("Sorvane 36 Lite β"));
    for (QAction* item : {window().HyperLinkAction, window().ToolAction, window().HyperLinkAction2}) {
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
        EXPECT_TRUE(item->isVisible()) << item->objectName().toStdString();
    }
    EXPECT_TRUE(window().ColorSetButton->isVisibleTo(&window()));
    EXPECT_EQ(window().HyperLinkAction->shortcut(), QKeySequence(QStringLiteral("Ctrl+H")));
    EXPECT_EQ(window().ToolAction->shortcut(), QKeySequence(QStringLiteral("Ctrl+T")));

    // Tool(&T) makes a palette each time
    window().ToolAction->trigger();
    window().ToolAction->trigger();
    EXPECT_EQ(window().findChildren<TTool*>().size(), 2);
}
