// The main window's test fixture: a fresh working directory, a recording platform, the program
// started on the volumes a test wrote there, shown offscreen, and closed and freed after the
// test. The fixtures of app/, authoring/, display/, search/ and output/ build on it.
#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

#include "app/BuildVariant.h"
#include "app/Startup.h"
#include "app/TMain.h"
#include "platform/RecordingPlatform.h"
#include "store/Volumes.h"
#include "support/TempDir.h"
#include "text/Cp932.h"

namespace testsupport {

// Types text into a widget one character at a time, as a keyboard would (QTest's own key
// clicks take ASCII only).
inline void typeText(QWidget* widget, const QString& text)
{
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// PlatformType is the recording platform or a test's own kind of it.
template <class PlatformType = RecordingPlatform>
class MainWindowFixture : public ::testing::Test {
protected:
    TempWorkingDir dir;
    PlatformType platform;
    std::unique_ptr<RunningProgram> program;

    // Starts the program on the volumes of files in the working directory, not yet shown.
    void startProgram(const store::VolumeFiles& files, const char* titleUtf8 = kStandardTitle)
    {
        program = std::make_unique<RunningProgram>(files, platform, titleUtf8);
    }
    // Shows the window and waits until it is drawn; with activate, until it is active too.
    void showWindow(bool activate = false)
    {
        window().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
        if (activate) {
            window().activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
        }
    }
    void closeWindow()
    {
        if (program && window().isVisible())
            window().close();
    }
    void TearDown() override
    {
        closeWindow();
        program.reset();
    }

    TMain& window() { return program->main(); }
    VolumeRegistry& registry() { return program->main().registry(); }

    // The texts of the message boxes shown so far, UTF-8.
    std::vector<std::string> messages() const
    {
        std::vector<std::string> texts;
        for (const std::string& t : platform.boxTexts())
            texts.push_back(text::toUtf8(t).text);
        return texts;
    }
};

}  // namespace testsupport
