#pragma once
// The ordered name/value form every request of the server client is built from. The pairs
// travel in the URL in ascending name order, copied as they stand (no percent-encoding).
#include <cstdint>
#include <map>
#include <string>

#include "platform/base/text.h"

namespace vexlo::client {

class RequestForm {
public:
    // The base URL (narrow, ANSI code page), normally ending in "?".
    explicit RequestForm(const std::string& baseUrl);

    // Keeps the first value when the name is already present.
    void Add(platform::WStringView name, platform::WStringView value);
    // The value in base 10, with a minus sign when negative.
    void AddNumber(platform::WStringView name, int32_t value);

    // Base URL, then "name=value&" per pair in name order, less the last character; in the
    // ANSI code page, characters it lacks becoming its default character.
    std::string ToUrl() const;

    const std::map<platform::WString, platform::WString>& Fields() const { return fields_; }

private:
    platform::WString baseUrl_;
    // std::u16string orders by UTF-16 code units compared as unsigned numbers.
    std::map<platform::WString, platform::WString> fields_;
};

}  // namespace vexlo::client
