// The QApplication of app_tests.
#include "support/QtTestEnvironment.h"

namespace {

[[maybe_unused]] testing::Environment* const g_environment =
    testing::AddGlobalTestEnvironment(new testsupport::QtApplicationEnvironment("app_tests"));

}  // namespace
