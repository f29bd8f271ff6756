// Every client test program runs with its own registry store and per-user folders.
#include "tests/client/test_support.h"

namespace {
[[maybe_unused]] ::testing::Environment* const gEnvironment =
    ::testing::AddGlobalTestEnvironment(new vexlo::client::testing::IsolatedEnvironment);
}
