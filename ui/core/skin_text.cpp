#include "ui/core/skin_text.h"

#include <algorithm>

#include "platform/base/text.h"

namespace vexlo::ui {

std::optional<std::u16string> DecodeSkinText(std::span<const uint8_t> bytes) {
    if (bytes.size() < 2 || bytes.size() % 2 != 0) return std::nullopt;
    std::u16string text;
    text.reserve(bytes.size() / 2 - 1);
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
        char16_t unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
        if (unit == 0) break;
        text.push_back(unit);
    }
    return text;
}

namespace {

bool IsHigh(uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// "&#x" + 1..4 hex digits + ";" at text[i]: the unit and the reference's length.
bool ReadHexReference(std::u16string_view text, size_t i, uint32_t& unit, size_t& length) {
    if (text.substr(i, 3) != u"&#x") return false;
    size_t j = i + 3;
    uint32_t v = 0;
    int digits = 0;
    while (j < text.size() && digits < 5) {
        int d = HexDigit(text[j]);
        if (d < 0) break;
        v = v * 16 + static_cast<uint32_t>(d);
        ++digits;
        ++j;
    }
    if (digits < 1 || digits > 4 || j >= text.size() || text[j] != u';') return false;
    unit = v;
    length = j + 1 - i;
    return true;
}

bool StartsWithAt(std::u16string_view text, size_t i, std::u16string_view prefix) {
    return text.substr(i, prefix.size()) == prefix;
}

void AppendDecodedUnit(std::string& out, uint32_t cp) {
    switch (cp) {
        case '&': out += "&amp;"; return;
        case '<': out += "&lt;"; return;
        case '>': out += "&gt;"; return;
        case '"': out += "&quot;"; return;
        case '\'': out += "&apos;"; return;
        default: break;
    }
    if (IsHigh(cp) || IsLow(cp)) cp = 0xFFFD;
    platform::AppendUtf8(out, cp);
}

// Copies text[i..] up to and including `end` unchanged (converted to UTF-8); returns the
// index after it (or the text's end).
size_t CopyRawUntil(std::u16string_view text, size_t i, std::u16string_view end, std::string& out);

void AppendUnitAt(std::u16string_view text, size_t& i, std::string& out) {
    uint32_t u = text[i];
    if (IsHigh(u) && i + 1 < text.size() && IsLow(text[i + 1])) {
        platform::AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (text[i + 1] - 0xDC00));
        i += 2;
        return;
    }
    platform::AppendUtf8(out, (IsHigh(u) || IsLow(u)) ? 0xFFFD : u);
    ++i;
}

size_t CopyRawUntil(std::u16string_view text, size_t i, std::u16string_view end, std::string& out) {
    size_t stop = text.find(end, i);
    size_t last = stop == std::u16string_view::npos ? text.size() : stop + end.size();
    while (i < last) AppendUnitAt(text, i, out);
    return last;
}

}  // namespace

std::string SkinXmlToUtf8(std::u16string_view text) {
    static constexpr std::u16string_view kEntities[] = {u"&amp;", u"&lt;", u"&gt;", u"&quot;", u"&apos;"};
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    size_t i = 0;
    while (i < text.size()) {
        char16_t c = text[i];
        if (c == u'<') {
            if (StartsWithAt(text, i, u"<!--")) {
                i = CopyRawUntil(text, i, u"-->", out);
                continue;
            }
            if (StartsWithAt(text, i, u"<![CDATA[")) {
                i = CopyRawUntil(text, i, u"]]>", out);
                continue;
            }
        }
        if (c != u'&') {
            // Runs of plain ASCII, the bulk of a description, are copied as they are.
            if (c < 0x80 && c != u'<') {
                size_t j = i;
                while (j < text.size() && text[j] < 0x80 && text[j] != u'&' && text[j] != u'<') ++j;
                for (; i < j; ++i) out.push_back(static_cast<char>(text[i]));
                continue;
            }
            AppendUnitAt(text, i, out);
            continue;
        }
        bool named = false;
        for (std::u16string_view e : kEntities) {
            if (StartsWithAt(text, i, e)) {
                out.append(e.begin(), e.end());  // ASCII
                i += e.size();
                named = true;
                break;
            }
        }
        if (named) continue;
        uint32_t unit = 0;
        size_t length = 0;
        if (ReadHexReference(text, i, unit, length) && unit != 0) {
            uint32_t low = 0;
            size_t lowLength = 0;
            if (IsHigh(unit) && ReadHexReference(text, i + length, low, lowLength) && IsLow(low)) {
                platform::AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                i += length + lowLength;
                continue;
            }
            AppendDecodedUnit(out, unit);
            i += length;
            continue;
        }
        // Not a reference of the accepted forms: the "&" is plain text.
        out += "&amp;";
        ++i;
    }
    return out;
}

int XmlNestingDepth(std::string_view s) {
    int depth = 0;
    int deepest = 0;
    size_t i = 0;
    auto skipPast = [&](std::string_view end) {
        size_t p = s.find(end, i);
        i = p == std::string_view::npos ? s.size() : p + end.size();
    };
    while (i < s.size()) {
        if (s[i] != '<') {
            ++i;
            continue;
        }
        std::string_view rest = s.substr(i);
        if (rest.starts_with("<!--")) {
            skipPast("-->");
        } else if (rest.starts_with("<![CDATA[")) {
            skipPast("]]>");
        } else if (rest.starts_with("<?")) {
            skipPast("?>");
        } else if (rest.starts_with("<!")) {
            skipPast(">");
        } else if (rest.starts_with("</")) {
            depth = std::max(0, depth - 1);
            skipPast(">");
        } else {
            unsigned char next = rest.size() > 1 ? static_cast<unsigned char>(rest[1]) : 0;
            bool opens = next == '_' || next >= 0x80 || (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z');
            if (!opens) {
                ++i;
                continue;
            }
            // A start tag: find its end, stepping over quoted attribute values.
            size_t j = i + 1;
            char quote = 0;
            bool selfClosing = false;
            for (; j < s.size(); ++j) {
                char c = s[j];
                if (quote) {
                    if (c == quote) quote = 0;
                } else if (c == '"' || c == '\'') {
                    quote = c;
                } else if (c == '>') {
                    selfClosing = s[j - 1] == '/';
                    break;
                }
            }
            if (!selfClosing) deepest = std::max(deepest, ++depth);
            else deepest = std::max(deepest, depth + 1);
            i = j < s.size() ? j + 1 : s.size();
        }
    }
    return deepest;
}

}  // namespace vexlo::ui
