// The QApplication of search_tests.
#include "support/QtTestEnvironment.h"

namespace {

[[maybe_unused]] testing::Environment* const g_environment =
    testing::AddGlobalTestEnvironment(new testsupport::QtApplicationEnvironment("search_tests"));

}  // namespace
