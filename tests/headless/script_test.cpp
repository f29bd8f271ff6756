// Reading scripted input and choosing the display.
#include "platform/headless/display_selection.h"
#include "platform/headless/script.h"
#include "platform/win/keys.h"
#include "platform/win/messages.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace vexlo::headless {
namespace {

using Type = win::InputEvent::Type;

std::vector<Type> Types(const std::vector<ScheduledInput>& in) {
    std::vector<Type> out;
    for (const auto& i : in) out.push_back(i.event.type);
    return out;
}

TEST(ScriptTest, EventsExpandIntoTheirNativeInput) {
    struct Case {
        const char* line;
        std::vector<Type> types;
    };
    const Case cases[] = {
        {"at 1500 move 1800 1000", {Type::MouseMove}},
        {"at 1500 click 1800 1000", {Type::MouseMove, Type::ButtonDown, Type::ButtonUp}},
        {"at 1500 dblclick 1 2", {Type::MouseMove, Type::ButtonDown, Type::ButtonUp, Type::ButtonDown, Type::ButtonUp}},
        {"at 1500 down 1 2 right", {Type::MouseMove, Type::ButtonDown}},
        {"at 1500 wheel 1 2 -120", {Type::MouseMove, Type::Wheel}},
        {"at 1500 key f4", {Type::KeyDown, Type::KeyUp}},
        {"at 1500 text aB", {Type::KeyDown, Type::KeyUp, Type::KeyDown, Type::KeyDown, Type::KeyUp, Type::KeyUp}},
        {"at 1500 text 中", {Type::Character}},
        {"at 1500 tray right", {Type::TrayMouse}},
        {"at 1500 deactivate", {Type::AppDeactivated}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> errors;
        const auto in = ParseHeadlessScript(c.line, &errors);
        EXPECT_TRUE(errors.empty()) << c.line;
        EXPECT_EQ(Types(in), c.types) << c.line;
        for (const auto& i : in) EXPECT_EQ(i.atMs, 1500);
    }
    const auto click = ParseHeadlessScript("at 7 rclick 30 40");
    ASSERT_EQ(click.size(), 3u);
    EXPECT_EQ(click[1].event.button, win::MouseButton::Right);
    EXPECT_EQ(click[1].event.point, (gfx::Point{30, 40}));
    const auto wheel = ParseHeadlessScript("at 7 wheel 1 2 -240");
    EXPECT_EQ(wheel[1].event.wheelDelta, -240);
    const auto tray = ParseHeadlessScript("at 7 tray left 128");
    EXPECT_TRUE(tray[0].trayClick);
    EXPECT_EQ(tray[0].event.trayId, 128u);
}

TEST(ScriptTest, BadLinesAreReportedAndSkippedCommentsAndBlanksIgnored) {
    const std::string script =
        "# a comment\n"
        "\n"
        "at 10 move 1 2\r\n"
        "at x move 1 2\n"
        "at 10 fly 1 2\n"
        "at 10 click 1\n"
        "at 10 key nosuchkey\n"
        "at 20 move 3 4\n";
    std::vector<std::string> errors;
    const auto in = ParseHeadlessScript(script, &errors);
    ASSERT_EQ(in.size(), 2u);
    EXPECT_EQ(in[1].event.point, (gfx::Point{3, 4}));
    ASSERT_EQ(errors.size(), 4u);
    EXPECT_EQ(errors[0].rfind("line 4:", 0), 0u);
}

TEST(ScriptTest, KeyNames) {
    EXPECT_EQ(KeyFromName("Enter"), win::VK_RETURN);
    EXPECT_EQ(KeyFromName("f4"), win::VK_F4);
    EXPECT_EQ(KeyFromName("a"), static_cast<uint32_t>('A'));
    EXPECT_EQ(KeyFromName("0x41"), static_cast<uint32_t>('A'));
    EXPECT_EQ(KeyFromName("65"), static_cast<uint32_t>('A'));
    EXPECT_EQ(KeyFromName("f13"), 0u);
    EXPECT_EQ(KeyFromName("999"), 0u);
}

TEST(DisplaySelectionTest, HeadlessWhenAskedOrWhenNothingElseExists) {
    struct Case {
        const char* vexloDisplay;
        const char* display;
        bool x11;
        DisplayKind expected;
    };
    const Case cases[] = {
        {"headless", ":0", true, DisplayKind::Headless},
        {nullptr, ":0", true, DisplayKind::X11},
        {nullptr, ":0", false, DisplayKind::Headless},
        {nullptr, nullptr, true, DisplayKind::Headless},
        {nullptr, "", true, DisplayKind::Headless},
        {"x11", nullptr, true, DisplayKind::Headless},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseDisplay(c.vexloDisplay, c.display, c.x11), c.expected);
    }
}

TEST(DisplaySelectionTest, TheEnvironmentConfiguresARealTimeHeadlessBackend) {
    const auto dir = std::filesystem::temp_directory_path() / "vexlo-selection-test";
    std::filesystem::create_directories(dir);
    const auto script = dir / "script.txt";
    std::ofstream(script) << "at 0 click 10 10\nat 5 bad\n";
    setenv("VEXLO_DISPLAY", "headless", 1);
    setenv("VEXLO_FRAMES", dir.string().c_str(), 1);
    setenv("VEXLO_HEADLESS_SCRIPT", script.string().c_str(), 1);
    setenv("VEXLO_HEADLESS_SCREEN", "1280x720", 1);
    auto backend = CreateDisplayBackendFromEnvironment();
    unsetenv("VEXLO_DISPLAY");
    unsetenv("VEXLO_FRAMES");
    unsetenv("VEXLO_HEADLESS_SCRIPT");
    unsetenv("VEXLO_HEADLESS_SCREEN");
    ASSERT_TRUE(backend);
    EXPECT_STREQ(backend->Name(), "headless");
    auto* headless = dynamic_cast<HeadlessBackend*>(backend.get());
    ASSERT_NE(headless, nullptr);
    EXPECT_EQ(headless->config().clock, ClockMode::Real);
    EXPECT_EQ(headless->config().framesDir, dir.string());
    EXPECT_FALSE(headless->config().keepFrames);
    EXPECT_EQ(headless->Screen().size, (gfx::Size{1280, 720}));
    EXPECT_EQ(headless->NextScheduledInput(), 0);
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace vexlo::headless
