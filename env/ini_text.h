#pragma once
// INI text read from memory with the inih library, by these rules: a line ends at CR or LF
// and runs of them between lines are skipped (a text that starts with one yields nothing);
// the text ends at its first NUL; a line holds at most 19,999 bytes (the rest of a longer
// line is dropped); a UTF-8 byte-order mark is skipped; ";" and "#" start comment lines,
// ";" after white space starts a comment inside a line; [name] starts a section (cut to 49
// bytes); name = value or name : value sets a value; an indented line after a value line
// continues it; sections and names are compared without regard to case; a repeated name
// and a continued value are joined to the earlier text with a line feed.
#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace vexlo::env {

inline constexpr size_t kMaxIniLineBytes = 19999;

class IniText {
public:
    static IniText Parse(std::string_view text);

    // The value's text, or the empty text when the entry is missing.
    std::string Get(std::string_view section, std::string_view name) const;
    bool Has(std::string_view section, std::string_view name) const;

private:
    // Keyed by the ASCII-lowercased section and name.
    std::map<std::pair<std::string, std::string>, std::string> entries_;
    friend struct IniCollector;
};

}  // namespace vexlo::env
