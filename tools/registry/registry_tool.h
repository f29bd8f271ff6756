#pragma once
// vexlo-registry: reads and writes values of the machine registry store from scripts.
//
//   vexlo-registry [--store DIR] [--view 32|64] COMMAND KEY [NAME [VALUE]]
//     get KEY NAME            print the value (text, or a DWORD in decimal)
//     set KEY NAME TEXT       create the key when missing and write a REG_SZ value
//     set-dword KEY NAME N    the same with a REG_DWORD (decimal or 0x hexadecimal)
//     delete KEY NAME         remove a value
//     list KEY                print "name<TAB>type<TAB>value" for every value
//     create KEY              create the key
// Options may come anywhere. The store is VEXLO_MACHINE_REGISTRY (or the build's default)
// unless --store names one; the view is 32 unless told otherwise.
// Exit status: 0 done, 1 missing or failed, 2 wrong usage.
#include <ostream>
#include <string>
#include <vector>

namespace vexlo::tools {

int RunRegistryTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace vexlo::tools
