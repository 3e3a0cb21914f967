// One QApplication for a whole test executable, on the offscreen platform unless the run
// chose another (the screenshot runs under Xvfb). A test folder includes this once, from its
// TestApplication.cpp.
#pragma once

#include <QApplication>
#include <gtest/gtest.h>

#include "display/Fonts.h"

namespace testsupport {

class QtApplicationEnvironment : public testing::Environment {
public:
    explicit QtApplicationEnvironment(const char* programName) : m_programName(programName) {}
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char* argv[] = {const_cast<char*>(m_programName), nullptr};
        m_app = new QApplication(argc, argv);
        display::registerFontSubstitutions();
    }
    void TearDown() override
    {
        delete m_app;
        m_app = nullptr;
    }

private:
    const char* m_programName;
    QApplication* m_app = nullptr;
};

}  // namespace testsupport
