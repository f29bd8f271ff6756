// Writing request bodies with the service's string quoting. The library's writers are
// kept for the layout (member order, indentation, right margin); their strings are fed in
// UTF-8 and their \u escapes brought to uppercase, which yields exactly the quoting rule:
// the lengths of all written strings stay the same, so the layout decisions do too.
#include <cstdio>

#include "client/json_reply.h"

namespace vexlo::client {
namespace {

// The UTF-8 form of a narrow (ANSI code page) text.
std::string AnsiToUtf8(std::string_view narrow) {
    return platform::WideToUtf8(platform::AnsiToWide(narrow));
}

Json::Value WithUtf8Strings(const Json::Value& value) {
    switch (value.type()) {
    case Json::stringValue:
        return Json::Value(AnsiToUtf8(value.asString()));
    case Json::arrayValue: {
        Json::Value copy(Json::arrayValue);
        for (Json::ArrayIndex i = 0; i < value.size(); ++i) copy.append(WithUtf8Strings(value[i]));
        return copy;
    }
    case Json::objectValue: {
        Json::Value copy(Json::objectValue);
        for (auto it = value.begin(); it != value.end(); ++it)
            copy[AnsiToUtf8(it.name())] = WithUtf8Strings(*it);
        return copy;
    }
    default:
        return value;
    }
}

// The library writes "\u00e9"; the service's rule writes "\u00E9".
std::string UppercaseUnicodeEscapes(std::string text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '\\') continue;
        if (text[i + 1] == 'u') {
            for (size_t j = i + 2; j < i + 6 && j < text.size(); ++j) {
                if (text[j] >= 'a' && text[j] <= 'f') text[j] = static_cast<char>(text[j] - 'a' + 'A');
            }
        }
        ++i;  // skip the escaped character, so "\\u" is never taken for an escape
    }
    return text;
}

void AppendUnicodeEscape(char16_t unit, std::string& out) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(unit));
    out += escape;
}

}  // namespace

std::string QuoteJsonText(std::string_view narrow) {
    const platform::WString wide = platform::AnsiToWide(narrow);
    std::string out = "\"";
    for (const char16_t c : wide) {
        switch (c) {
        case u'"': out += "\\\""; break;
        case u'\\': out += "\\\\"; break;
        case u'\b': out += "\\b"; break;
        case u'\f': out += "\\f"; break;
        case u'\n': out += "\\n"; break;
        case u'\r': out += "\\r"; break;
        case u'\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c >= 0x80) {
                AppendUnicodeEscape(c, out);
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
    return out;
}

std::string WriteCompactJson(const Json::Value& value) {
    Json::FastWriter writer;
    return UppercaseUnicodeEscapes(writer.write(WithUtf8Strings(value)));
}

std::string WriteStyledJson(const Json::Value& value) {
    Json::StyledWriter writer;
    return UppercaseUnicodeEscapes(writer.write(WithUtf8Strings(value)));
}

}  // namespace vexlo::client
