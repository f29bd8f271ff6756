#include "client/request_form.h"

#include "platform/base/numbers.h"

namespace vexlo::client {

RequestForm::RequestForm(const std::string& baseUrl) : baseUrl_(platform::AnsiToWide(baseUrl)) {}

void RequestForm::Add(platform::WStringView name, platform::WStringView value) {
    fields_.try_emplace(platform::WString(name), value);
}

void RequestForm::AddNumber(platform::WStringView name, int32_t value) {
    Add(name, platform::FormatIntWide(value));
}

std::string RequestForm::ToUrl() const {
    platform::WString url = baseUrl_;
    for (const auto& [name, value] : fields_) {
        url += name;
        url += u'=';
        url += value;
        url += u'&';
    }
    if (!url.empty()) url.pop_back();
    return platform::WideToAnsi(url);
}

}  // namespace vexlo::client
