// The QApplication of authoring_tests.
#include "support/QtTestEnvironment.h"

namespace {

[[maybe_unused]] testing::Environment* const g_environment =
    testing::AddGlobalTestEnvironment(new testsupport::QtApplicationEnvironment("authoring_tests"));

}  // namespace
