// The QApplication of output_tests.
#include "support/QtTestEnvironment.h"

namespace {

[[maybe_unused]] testing::Environment* const g_environment =
    testing::AddGlobalTestEnvironment(new testsupport::QtApplicationEnvironment("output_tests"));

}  // namespace
