#include "tools/registry/registry_tool.h"

#include <sstream>

#include <gtest/gtest.h>

#include "platform/sys/registry.h"
#include "tests/sys/test_support.h"

namespace vexlo::tools {
namespace {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun RunTool(std::vector<std::string> arguments) {
    std::ostringstream out, err;
    const int status = RunRegistryTool(arguments, out, err);
    return {status, out.str(), err.str()};
}

TEST(RegistryTool, WritesAndReadsValuesForScripts) {
    testing::TempFolder folder;
    testing::ScopedEnv env("VEXLO_MACHINE_REGISTRY", folder.Path().c_str());
    const std::string policy = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

    EXPECT_EQ(RunTool({"set", "SOFTWARE\\Vexlo", "code", "7001"}).status, 0);
    EXPECT_EQ(RunTool({"set-dword", "--view", "64", policy, "EnableLUA", "0x1"}).status, 0);
    EXPECT_EQ(RunTool({"get", "software\\vexlo", "CODE"}).out, "7001\n");
    EXPECT_EQ(RunTool({"--view", "64", "get", policy, "EnableLUA"}).out, "1\n");
    EXPECT_EQ(RunTool({"list", "--view", "64", policy + "\\"}).out, "EnableLUA\tREG_DWORD\t1\n");

    // What the tool wrote is what the store's readers see.
    platform::MachineRegistry registry;
    EXPECT_EQ(registry.QueryValue(platform::RegistryView::k64Bit, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Policies\\System", u"enablelua")->data,
              std::string("\x01\0\0\0", 4));

    EXPECT_EQ(RunTool({"get", policy, "EnableLUA"}).status, 1);  // 32-bit view
    EXPECT_EQ(RunTool({"delete", "SOFTWARE\\Vexlo", "code"}).status, 0);
    EXPECT_EQ(RunTool({"get", "SOFTWARE\\Vexlo", "code"}).status, 1);
}

TEST(RegistryTool, RefusesWrongUsage) {
    testing::TempFolder folder;
    for (const std::vector<std::string>& arguments :
         std::vector<std::vector<std::string>>{{},
                                               {"get", "K"},
                                               {"set", "K", "n"},
                                               {"set-dword", "K", "n", "-1"},
                                               {"set-dword", "K", "n", "4294967296"},
                                               {"set-dword", "K", "n", "12x"},
                                               {"--view", "16", "get", "K", "n"},
                                               {"--bogus", "list", "K"},
                                               {"frobnicate", "K"}}) {
        std::vector<std::string> withStore = arguments;
        withStore.insert(withStore.begin(), {"--store", folder.Path()});
        const ToolRun run = RunTool(withStore);
        EXPECT_EQ(run.status, 2) << ::testing::PrintToString(arguments);
        EXPECT_FALSE(run.err.empty());
    }
}

}  // namespace
}  // namespace vexlo::tools
