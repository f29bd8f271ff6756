// A program built on the framework picks the X11 display when DISPLAY names a server.
#include "tests/x11/x11_fixture.h"

#include "platform/headless/display_selection.h"

#include <cstdlib>
#include <optional>
#include <string>

namespace vexlo::x11::testing {
namespace {

// Sets (or, with none, removes) an environment variable for the test's life.
class ScopedEnv {
public:
    ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) setenv(name, value->c_str(), 1); else unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_) setenv(name_, old_->c_str(), 1); else unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

using DisplaySelectionTest = X11Test;

TEST_F(DisplaySelectionTest, DisplayChoosesTheX11BackendUnlessHeadlessIsAskedFor) {
    struct Case {
        const char* name;
        std::optional<std::string> display;
        std::optional<std::string> vexloDisplay;
        const char* backend;
    };
    const Case cases[] = {
        {"a reachable server", displayName(), std::nullopt, "x11"},
        {"headless asked for", displayName(), std::string("headless"), "headless"},
        {"no DISPLAY", std::nullopt, std::nullopt, "headless"},
        {"no server there", std::string(":999"), std::nullopt, "headless"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedEnv display("DISPLAY", c.display);
        ScopedEnv vexlo("VEXLO_DISPLAY", c.vexloDisplay);
        auto backend = headless::CreateDisplayBackendFromEnvironment();
        ASSERT_TRUE(backend);
        EXPECT_STREQ(backend->Name(), c.backend);
    }
}

}  // namespace
}  // namespace vexlo::x11::testing
