// The program's entry: the splash, the single-instance test, the folder it runs in, then the
// start-up and the message loop until the main window closes. The program reads no command line;
// of the environment only the data folder's location (XDG_DATA_HOME, HOME). The volumes it shows
// are those whose files are in the folder it runs in.
#include <QApplication>

#include "app/BuildVariant.h"
#include "app/Startup.h"
#include "app/TMain.h"
#include "app/TSplash.h"
#include "app/VolumeFolder.h"
#include "display/Fonts.h"
#include "platform/QtPlatform.h"
#include "platform/SingleInstance.h"
#include "store/Volumes.h"
#include "text/Cp932.h"

namespace {

// How long the splash may wait for the window system to show it: a window manager maps a window
// within a few frames; beyond this the splash would only delay the start.
constexpr int kSplashWaitMs = 400;

}  // namespace

int main(int, char** argv)
{
    // Qt is given the program's name only, never the arguments it was started with.
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication application(qtArgc, qtArgv);
    application.setApplicationName(QString::fromUtf8(ApplicationTitle()));
    // Closing the main window ends the program, whatever secondary windows are open.
    application.setQuitOnLastWindowClosed(false);
    display::registerFontSubstitutions();
    installJapaneseTranslations(application);
    QtPlatform platform;

    // Painted before start-up blocks, or left out where it would not show in time.
    TSplash::showBeforeStartUp(kSplashWaitMs);

    SingleInstance instance(SingleInstance::serverNameFor(text::cp932(ApplicationTitle())));
    if (instance.tryBecomePrimary() == SingleInstance::Role::Secondary)
        return 0;

    EnterVolumeFolder(InstalledSamplesFolder(QCoreApplication::applicationDirPath().toStdString()));
    RunningProgram program(store::VolumeFiles::presentIn("."), platform, ApplicationTitle());
    TMain& window = program.main();
    RestoreOnLaterStart(instance, window);
    QObject::connect(&window, &TMain::closed, &application, &QApplication::quit);
    window.show();
    window.activateWindow();
    return application.exec();
}
