#include "tools/registry/registry_tool.h"

#include <cerrno>
#include <cstdlib>
#include <optional>

#include "platform/base/text.h"
#include "platform/sys/registry.h"

namespace vexlo::tools {
namespace {

using platform::RegistryValue;
using platform::RegistryView;

constexpr char kUsage[] =
    "usage: vexlo-registry [--store DIR] [--view 32|64] COMMAND KEY [NAME [VALUE]]\n"
    "commands: get KEY NAME | set KEY NAME TEXT | set-dword KEY NAME N | delete KEY NAME |\n"
    "          list KEY | create KEY\n";

std::optional<uint32_t> ParseDword(const std::string& text) {
    if (text.empty() || text[0] == '-' || text[0] == '+' || text[0] == ' ') return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text.c_str(), &end, 0);
    if (errno != 0 || *end != '\0' || value > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<uint32_t>(value);
}

std::string TypeName(uint32_t type) {
    if (type == platform::kRegSz) return "REG_SZ";
    if (type == platform::kRegDword) return "REG_DWORD";
    return "type" + std::to_string(type);
}

std::string ValueText(const RegistryValue& value) {
    if (value.type == platform::kRegSz) {
        platform::WString text;
        for (size_t i = 0; i + 1 < value.data.size(); i += 2) {
            text += static_cast<char16_t>(static_cast<uint8_t>(value.data[i]) |
                                          (static_cast<uint8_t>(value.data[i + 1]) << 8));
        }
        while (!text.empty() && text.back() == u'\0') text.pop_back();
        return platform::WideToUtf8(text);
    }
    if (value.type == platform::kRegDword && value.data.size() == 4) {
        uint32_t n = 0;
        for (int i = 0; i < 4; ++i) n |= static_cast<uint32_t>(static_cast<uint8_t>(value.data[i])) << (8 * i);
        return std::to_string(n);
    }
    static constexpr char kHex[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : value.data) {
        hex += kHex[c >> 4];
        hex += kHex[c & 0xF];
    }
    return hex;
}

}  // namespace

int RunRegistryTool(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    std::optional<std::string> store;
    RegistryView view = RegistryView::k32Bit;
    std::vector<std::string> positional;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        if ((arg == "--store" || arg == "--view") && i + 1 < arguments.size()) {
            const std::string& value = arguments[++i];
            if (arg == "--store") {
                store = value;
            } else if (value == "32" || value == "64") {
                view = value == "32" ? RegistryView::k32Bit : RegistryView::k64Bit;
            } else {
                err << "vexlo-registry: the view is 32 or 64\n" << kUsage;
                return 2;
            }
        } else if (arg == "--help" || arg == "-h") {
            out << kUsage;
            return 0;
        } else if (arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
            err << "vexlo-registry: unknown option " << arg << "\n" << kUsage;
            return 2;
        } else {
            positional.push_back(arg);
        }
    }
    const platform::MachineRegistry registry = store ? platform::MachineRegistry(*store)
                                                     : platform::MachineRegistry();
    auto need = [&](size_t count) {
        if (positional.size() == count) return true;
        err << kUsage;
        return false;
    };
    if (positional.empty()) {
        err << kUsage;
        return 2;
    }
    const std::string& command = positional[0];
    const platform::WString key = positional.size() > 1 ? platform::Utf8ToWide(positional[1]) : u"";
    const platform::WString name = positional.size() > 2 ? platform::Utf8ToWide(positional[2]) : u"";

    if (command == "get") {
        if (!need(3)) return 2;
        auto value = registry.QueryValue(view, key, name);
        if (!value) {
            err << "vexlo-registry: no value " << positional[2] << " in " << positional[1] << "\n";
            return 1;
        }
        out << ValueText(*value) << "\n";
        return 0;
    }
    if (command == "set" || command == "set-dword") {
        if (!need(4)) return 2;
        RegistryValue value;
        if (command == "set") {
            value = RegistryValue::String(platform::Utf8ToWide(positional[3]));
        } else {
            auto number = ParseDword(positional[3]);
            if (!number) {
                err << "vexlo-registry: not a 32-bit unsigned number: " << positional[3] << "\n";
                return 2;
            }
            value = RegistryValue::Dword(*number);
        }
        if (!registry.CreateKey(view, key) || !registry.SetValue(view, key, name, value)) {
            err << "vexlo-registry: cannot write " << positional[2] << " in " << positional[1] << "\n";
            return 1;
        }
        return 0;
    }
    if (command == "delete") {
        if (!need(3)) return 2;
        if (!registry.DeleteValue(view, key, name)) {
            err << "vexlo-registry: cannot delete " << positional[2] << " in " << positional[1] << "\n";
            return 1;
        }
        return 0;
    }
    if (command == "list") {
        if (!need(2)) return 2;
        auto values = registry.ListValues(view, key);
        if (!values) {
            err << "vexlo-registry: no key " << positional[1] << "\n";
            return 1;
        }
        for (const auto& [valueName, value] : *values) {
            out << platform::WideToUtf8(valueName) << '\t' << TypeName(value.type) << '\t'
                << ValueText(value) << "\n";
        }
        return 0;
    }
    if (command == "create") {
        if (!need(2)) return 2;
        if (!registry.CreateKey(view, key)) {
            err << "vexlo-registry: cannot create " << positional[1] << "\n";
            return 1;
        }
        return 0;
    }
    err << "vexlo-registry: unknown command " << command << "\n" << kUsage;
    return 2;
}

}  // namespace vexlo::tools
