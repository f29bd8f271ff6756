#pragma once
// The encoded body of PostEncodedReport: Base64 of the text, wrapped in six characters drawn
// from it with the runtime's pseudo-random generator seeded with the given seconds, and
// encoded again.
#include <ctime>
#include <string>
#include <string_view>

namespace vexlo::client {

std::string Base64Encode(std::string_view bytes);
std::string EncodeReportBody(std::string_view text, std::time_t seed);

}  // namespace vexlo::client
