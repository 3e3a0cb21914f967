// The QApplication of platform_tests.
#include "support/QtTestEnvironment.h"

namespace {

[[maybe_unused]] testing::Environment* const g_environment =
    testing::AddGlobalTestEnvironment(new testsupport::QtApplicationEnvironment("platform_tests"));

}  // namespace
