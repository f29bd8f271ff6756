#include "ui/core/attribute_values.h"

#include "platform/base/numbers.h"
#include "ui/core/state.h"

namespace vexlo::ui {

int32_t ParseInteger(std::u16string_view text) { return platform::Atoi32(text); }

namespace {

// sscanf's "%d": the number and how many characters it took (0 when none).
bool ScanInt(std::u16string_view text, size_t& pos, int32_t& value) {
    size_t used = 0;
    int32_t v = platform::Strtol32(text.substr(pos), &used);
    if (used == 0) return false;
    value = v;
    pos += used;
    return true;
}

bool ScanLiteral(std::u16string_view text, size_t& pos, char16_t c) {
    if (pos >= text.size() || text[pos] != c) return false;
    ++pos;
    return true;
}

}  // namespace

uint32_t ParseColor(std::u16string_view text, uint8_t unread) {
    int32_t c[3] = {unread, unread, unread};
    if (text.starts_with(u"RGB(")) {
        size_t pos = 4;
        for (int i = 0; i < 3; ++i) {
            if (i > 0 && !ScanLiteral(text, pos, u',')) break;
            if (!ScanInt(text, pos, c[i])) break;
        }
    }
    return MakeColor(static_cast<uint32_t>(c[0]), static_cast<uint32_t>(c[1]), static_cast<uint32_t>(c[2]));
}

std::optional<int32_t> ParseBoolean(std::u16string_view text, bool ignoreCase) {
    auto is = [&](std::u16string_view word) { return ignoreCase ? EqualsNoCase(text, word) : text == word; };
    if (is(u"true")) return 1;
    if (is(u"false")) return 0;
    return std::nullopt;
}

int32_t ParsePosition(std::u16string_view text) {
    size_t used = 0;
    int32_t v = platform::Strtol32(text, &used);
    if (used == 0 && EqualsNoCase(text, u"center")) return kCenterPosition;
    return v;
}

void ParsePoint(std::u16string_view text, int32_t& x, int32_t& y) {
    size_t pos = 0;
    if (!ScanLiteral(text, pos, u'(')) return;
    if (!ScanInt(text, pos, x)) return;
    if (!ScanLiteral(text, pos, u',')) return;
    ScanInt(text, pos, y);
}

int32_t ReadIntAttribute(const XmlElement& e, std::u16string_view name) {
    auto v = e.Attribute(name);
    return v ? ParseInteger(*v) : 0;
}

void ReadBoolAttribute(const XmlElement& e, std::u16string_view name, int32_t& value) {
    if (auto v = e.Attribute(name)) {
        if (auto b = ParseBoolean(*v, true)) value = *b;
    }
}

uint32_t ReadColorAttribute(const XmlElement& e, std::u16string_view name) {
    auto v = e.Attribute(name);
    return v ? ParseColor(*v, 255) : kWhite;
}

uint32_t ReadStateAttribute(const XmlElement& e, std::u16string_view name) {
    auto v = e.Attribute(name);
    return v ? StateFromName(*v) : kStateNormal;
}

int32_t ReadPositionAttribute(const XmlElement& e, std::u16string_view name) {
    auto v = e.Attribute(name);
    return v ? ParsePosition(*v) : 0;
}

}  // namespace vexlo::ui
