#pragma once
// Where the update service is asked: the build's default host, or VEXLO_UPDATE_SERVICE
// ("http://127.0.0.1:8123") when it is set.
#include <string>

namespace vexlo::app {

// Scheme, host and optional port, without a trailing slash.
std::string UpdateServiceBase();
// The update check's URL up to and including the "?" that starts the query pairs.
std::string UpdateCheckUrl();

}  // namespace vexlo::app
