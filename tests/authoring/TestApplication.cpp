// One QApplication for the whole test executable, on the offscreen platform unless the run
// chose another (the screenshot runs under Xvfb).
#include <QApplication>
#include <gtest/gtest.h>

#include "display/Fonts.h"

namespace {

class QtApplicationEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "authoring_tests";
        static char* argv[] = {name, nullptr};
        m_app = new QApplication(argc, argv);
        display::registerFontSubstitutions();
    }
    void TearDown() override
    {
        delete m_app;
        m_app = nullptr;
    }

private:
    QApplication* m_app = nullptr;
};

[[maybe_unused]] testing::Environment* const g_environment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace
