// One QApplication for the display tests, created on first use (the tests link gtest's own
// main) and kept to the end of the process, on the offscreen platform unless one is chosen.
#pragma once

#include <QApplication>

namespace testing_display {

inline void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "display_tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: widgets and fonts may still be released by static destructors.
    new QApplication(argc, argv);
}

}  // namespace testing_display
