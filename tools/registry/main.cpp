#include <iostream>
#include <string>
#include <vector>

#include "tools/registry/registry_tool.h"

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return vexlo::tools::RunRegistryTool(arguments, std::cout, std::cerr);
}
