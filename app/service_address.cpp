#include "app/service_address.h"

#include <cstdlib>

#ifndef VEXLO_DEFAULT_UPDATE_SERVICE
#error "the build defines VEXLO_DEFAULT_UPDATE_SERVICE"
#endif

namespace vexlo::app {

std::string UpdateServiceBase() {
    std::string base = VEXLO_DEFAULT_UPDATE_SERVICE;
    if (const char* env = std::getenv("VEXLO_UPDATE_SERVICE"); env && *env) base = env;
    while (!base.empty() && base.back() == '/') base.pop_back();
    return base;
}

std::string UpdateCheckUrl() { return UpdateServiceBase() + "/api/check_update.php?"; }

}  // namespace vexlo::app
