#include "env/ini_text.h"

#include <ini.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>
#include <vector>

namespace vexlo::env {
namespace {

// inih as Debian builds it holds 199 bytes of a line. Longer lines reach it in a shorter
// form that it parses the same way. Only a few bytes of a line steer the library: the first
// non-blank one (comment, section), whether the line is indented (continuation), the first
// '=' or ':' (name/value split), the first ']' (end of a section name) and the first ';'
// after a blank (inline comment; nothing after it counts). The shortened line keeps those,
// drops what follows the comment, keeps the first 50 bytes as they are (where the library
// cuts section and continuation names) and turns every other run of bytes that starts and
// ends with a non-blank byte into a short token of non-blank bytes, which the handler puts
// back. So every decision (comment, section, split, inline comment, trimming) falls the same
// way. The token bytes are two control bytes that do not occur in the text.
constexpr size_t kVerbatimPrefix = 50;
constexpr size_t kTokenLength = 6;  // open, four hexadecimal digits, close
constexpr size_t kMaxTokens = 0x10000;
constexpr char kBom[] = "\xEF\xBB\xBF";

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

struct TokenMarkers {
    char open = 0;
    char close = 0;
};

// Two control bytes (never blank in any locale) absent from the text, if there are two.
std::optional<TokenMarkers> ChooseMarkers(std::string_view text) {
    bool present[256] = {};
    for (char c : text) present[static_cast<unsigned char>(c)] = true;
    std::vector<char> free;
    for (int c = 1; c < 0x20 && free.size() < 2; ++c) {
        if ((c < 0x09 || c > 0x0D) && !present[c]) free.push_back(static_cast<char>(c));
    }
    if (free.size() < 2 && !present[0x7F]) free.push_back('\x7F');
    if (free.size() < 2) return std::nullopt;
    return TokenMarkers{free[0], free[1]};
}

class LineSource {
public:
    explicit LineSource(std::string_view text)
        : text_(text.substr(0, text.find('\0'))), markers_(ChooseMarkers(text_)) {
        // A text that starts with a line break yields nothing.
        if (!text_.empty() && IsLineEnd(text_[0])) position_ = text_.size();
    }

    // inih's reader: the next line into `buffer` of `size` bytes, or null at the end.
    char* Next(char* buffer, int size) {
        if (position_ >= text_.size() || size < 2) return nullptr;
        const size_t end = std::min(text_.find_first_of("\r\n", position_), text_.size());
        std::string_view line = text_.substr(position_, end - position_);
        position_ = end;
        while (position_ < text_.size() && IsLineEnd(text_[position_])) ++position_;
        if (line.size() > kMaxIniLineBytes) line = line.substr(0, kMaxIniLineBytes);

        const size_t room = static_cast<size_t>(size) - 1;
        tokens_.clear();
        std::string shortened;
        if (line.size() > room && markers_) shortened = Shorten(line);
        if (line.size() > room && !shortened.empty() && shortened.size() <= room) line = shortened;
        else if (line.size() > room) {
            tokens_.clear();
            line = line.substr(0, room);  // beyond what the library can take
        }
        std::memcpy(buffer, line.data(), line.size());
        buffer[line.size()] = '\0';
        firstLine_ = false;
        return buffer;
    }

    // Puts the runs of the current line back in place of their tokens.
    std::string Expand(const char* text) const {
        std::string out;
        for (const char* p = text; *p != '\0'; ++p) {
            if (markers_ && *p == markers_->open) {
                const char* digits = p + 1;
                size_t index = 0;
                bool wellFormed = std::strlen(digits) >= kTokenLength - 1 && digits[4] == markers_->close;
                for (int d = 0; wellFormed && d < 4; ++d) {
                    const char c = digits[d];
                    const bool isDigit = c >= '0' && c <= '9', isHex = c >= 'a' && c <= 'f';
                    wellFormed = isDigit || isHex;
                    index = index * 16 + static_cast<size_t>(isDigit ? c - '0' : c - 'a' + 10);
                }
                if (wellFormed) {
                    if (index < tokens_.size()) {
                        out += tokens_[index];
                        p += kTokenLength - 1;
                        continue;
                    }
                }
            }
            out += *p;
        }
        return out;
    }

private:
    std::string Shorten(std::string_view line) {
        size_t comment = std::string_view::npos;
        for (size_t k = 1; k < line.size(); ++k) {
            if (line[k] == ';' && IsSpace(line[k - 1])) {
                comment = k;
                line = line.substr(0, k + 1);
                break;
            }
        }
        const size_t separator = line.find_first_of("=:");
        const size_t bracket = line.find(']');
        auto steers = [&](size_t k) { return k == comment || k == separator || k == bracket; };

        std::string out;
        size_t i = 0;
        if (firstLine_ && line.substr(0, 3) == kBom) {
            out += kBom;
            i = 3;
        }
        // Only whether a line is indented matters, and trailing blanks are trimmed anyway.
        size_t start = i;
        while (start < line.size() && IsSpace(line[start])) ++start;
        if (start > i) out += line[i];
        size_t end = line.size();
        while (end > start && IsSpace(line[end - 1])) --end;
        const size_t verbatimEnd = std::min(end, start + kVerbatimPrefix);
        out.append(line.substr(start, verbatimEnd - start));
        for (i = verbatimEnd; i < end;) {
            if (IsSpace(line[i]) || steers(i)) {
                out += line[i++];
                continue;
            }
            size_t last = i;
            size_t k = i;
            for (; k < end && !steers(k); ++k) {
                if (!IsSpace(line[k])) last = k;
            }
            const std::string_view run = line.substr(i, last + 1 - i);
            if (run.size() > kTokenLength && tokens_.size() < kMaxTokens) {
                static constexpr char kHex[] = "0123456789abcdef";
                const size_t index = tokens_.size();
                out += markers_->open;
                for (int shift = 12; shift >= 0; shift -= 4) out += kHex[(index >> shift) & 0xF];
                out += markers_->close;
                tokens_.emplace_back(run);
            } else {
                out.append(run);
            }
            i = last + 1;
        }
        return out;
    }

    std::string_view text_;
    std::optional<TokenMarkers> markers_;
    size_t position_ = 0;
    bool firstLine_ = true;
    std::vector<std::string> tokens_;
};

char* ReadLine(char* buffer, int size, void* stream) {
    return static_cast<LineSource*>(stream)->Next(buffer, size);
}

}  // namespace

struct IniCollector {
    IniText& ini;
    const LineSource& source;

    static int Handle(void* user, const char* section, const char* name, const char* value) {
        auto* self = static_cast<IniCollector*>(user);
        auto key = std::make_pair(Lower(self->source.Expand(section)), Lower(self->source.Expand(name)));
        std::string text = self->source.Expand(value);
        auto [it, inserted] = self->ini.entries_.try_emplace(std::move(key), text);
        if (!inserted) it->second += "\n" + text;
        return 1;
    }
};

IniText IniText::Parse(std::string_view text) {
    IniText ini;
    LineSource source(text);
    IniCollector collector{ini, source};
    ini_parse_stream(&ReadLine, &source, &IniCollector::Handle, &collector);
    return ini;
}

std::string IniText::Get(std::string_view section, std::string_view name) const {
    auto it = entries_.find({Lower(section), Lower(name)});
    return it != entries_.end() ? it->second : std::string();
}

bool IniText::Has(std::string_view section, std::string_view name) const {
    return entries_.count({Lower(section), Lower(name)}) != 0;
}

}  // namespace vexlo::env
