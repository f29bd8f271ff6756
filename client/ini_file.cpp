#include "client/ini_file.h"

#include <ini.h>
#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <vector>

#include "client/atomic_file.h"

namespace vexlo::client {
namespace {

std::string_view Trim(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The name of a "[name]" line, or nullopt for other lines.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.size() < 2 || line.front() != '[') return std::nullopt;
    const size_t close = line.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(1, close - 1));
}

std::optional<std::string_view> KeyName(std::string_view line) {
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return Trim(line.substr(0, equals));
}

struct Lookup {
    std::string_view section;
    std::string_view key;
    std::optional<std::string> value;
};

int CollectFirst(void* user, const char* section, const char* name, const char* value) {
    auto& lookup = *static_cast<Lookup*>(user);
    if (!lookup.value && SameName(section, lookup.section) && SameName(name, lookup.key))
        lookup.value = value;
    return 1;
}

}  // namespace

std::string SetIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value) {
    // Split into lines, remembering the line ending the file uses.
    std::vector<std::string_view> lines;
    // Windows line ends, unless the file already uses bare line feeds.
    const bool bareLineFeeds =
        text.find('\n') != std::string_view::npos && text.find("\r\n") == std::string_view::npos;
    const std::string_view newline = bareLineFeeds ? "\n" : "\r\n";
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }

    const std::string entry = std::string(key) + "=" + std::string(value);
    std::optional<size_t> sectionLine;
    std::optional<size_t> keyLine;
    size_t lastEntryLine = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionName(lines[i])) {
            if (sectionLine) break;  // the next section begins
            if (SameName(*name, section)) sectionLine = lastEntryLine = i;
            continue;
        }
        if (!sectionLine) continue;
        if (!Trim(lines[i]).empty()) lastEntryLine = i;
        if (const auto name = KeyName(lines[i]); name && SameName(*name, key)) {
            keyLine = i;
            break;
        }
    }

    std::vector<std::string> out(lines.begin(), lines.end());
    if (keyLine) {
        out[*keyLine] = entry;
    } else if (sectionLine) {
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(lastEntryLine + 1), entry);
    } else {
        out.push_back("[" + std::string(section) + "]");
        out.push_back(entry);
    }
    std::string result;
    for (const std::string& line : out) {
        result += line;
        result += newline;
    }
    return result;
}

bool WriteIniValue(const std::string& fsPath, std::string_view section, std::string_view key,
                   std::string_view value) {
    constexpr size_t kMaxIniBytes = 1 << 20;
    std::optional<std::string> text = ReadSmallFile(fsPath, kMaxIniBytes);
    if (!text) {
        // A file that exists but cannot be read is not ours to replace.
        struct stat info {};
        if (::stat(fsPath.c_str(), &info) == 0) return false;
        text.emplace();
    }
    return ReplaceFileAtomically(fsPath, SetIniValue(*text, section, key, value));
}

std::optional<std::string> ReadIniValue(std::string_view text, std::string_view section,
                                        std::string_view key) {
    Lookup lookup{section, key, std::nullopt};
    const std::string terminated(text.substr(0, text.find('\0')));
    if (ini_parse_string(terminated.c_str(), &CollectFirst, &lookup) != 0) return std::nullopt;
    return lookup.value;
}

std::optional<std::string> ReadSmallFile(const std::string& fsPath, size_t maxBytes) {
    std::ifstream file(fsPath, std::ios::binary);
    if (!file) return std::nullopt;
    std::string text;
    char buffer[4096];
    while (file.read(buffer, sizeof buffer) || file.gcount() > 0) {
        text.append(buffer, static_cast<size_t>(file.gcount()));
        if (text.size() > maxBytes) return std::nullopt;
    }
    if (file.bad()) return std::nullopt;
    return text;
}

}  // namespace vexlo::client
