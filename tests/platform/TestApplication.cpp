// One QApplication for the whole test executable: the Qt platform, the clipboard, the local
// sockets and the widgets all need it, and Qt allows only one per process.
#include <QApplication>
#include <gtest/gtest.h>

namespace {

class QtApplicationEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        static int argc = 1;
        static char name[] = "platform_tests";
        static char* argv[] = {name, nullptr};
        m_app = new QApplication(argc, argv);
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
