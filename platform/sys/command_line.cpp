#include "platform/sys/command_line.h"

namespace vexlo::platform {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// The arguments after the program name. A run of quotes is read as a whole: each quote
// advances a counter that starts at 1 inside a group, every third one yields a literal
// quote, and the counter ends the run at 0 (outside) or 1 (inside).
void AppendArguments(WStringView line, std::vector<WString>& out) {
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i])) ++i;
        if (i >= line.size()) break;
        WString argument;
        int quotes = 0;  // 1 while inside a group
        while (i < line.size() && (quotes == 1 || !IsBlank(line[i]))) {
            const char16_t c = line[i];
            if (c == u'\\') {
                size_t backslashes = 0;
                while (i < line.size() && line[i] == u'\\') ++backslashes, ++i;
                if (i < line.size() && line[i] == u'"') {
                    argument.append(backslashes / 2, u'\\');
                    if (backslashes % 2 == 1) {
                        argument += u'"';
                        ++i;
                    }
                    // An even count leaves the quote to the branch below.
                } else {
                    argument.append(backslashes, u'\\');
                }
            } else if (c == u'"') {
                ++quotes;
                ++i;
                while (i < line.size() && line[i] == u'"') {
                    if (++quotes == 3) {
                        argument += u'"';
                        quotes = 0;
                    }
                    ++i;
                }
                if (quotes == 2) quotes = 0;
            } else {
                argument += c;
                ++i;
            }
        }
        out.push_back(std::move(argument));
    }
}

}  // namespace

std::vector<WString> SplitCommandLine(WStringView commandLine) {
    std::vector<WString> out;
    if (commandLine.empty()) return out;
    size_t i = 0;
    WString program;
    if (commandLine[0] == u'"') {
        // Up to the closing quote, taken literally.
        i = 1;
        while (i < commandLine.size() && commandLine[i] != u'"') program += commandLine[i++];
        if (i < commandLine.size()) ++i;
    } else {
        while (i < commandLine.size() && !IsBlank(commandLine[i])) program += commandLine[i++];
    }
    out.push_back(std::move(program));
    AppendArguments(commandLine.substr(i), out);
    return out;
}

std::vector<WString> SplitArguments(WStringView arguments) {
    std::vector<WString> out;
    AppendArguments(arguments, out);
    return out;
}

}  // namespace vexlo::platform
