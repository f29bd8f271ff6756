#include "client/client_api.h"

#include <atomic>
#include <mutex>

#include "env/lockers.h"

namespace vexlo::client {
namespace {

std::atomic<ClientAPI*> gInstance{nullptr};
std::atomic<int> gLibraryInits{0};

}  // namespace

ClientAPI& ClientAPI::GetInstance() {
    if (ClientAPI* instance = gInstance.load(std::memory_order_acquire)) return *instance;
    std::lock_guard lock(env::ClientApiLocker());
    ClientAPI* instance = gInstance.load(std::memory_order_relaxed);
    if (instance == nullptr) {
        // Lives until the process ends, as does the transfer library's global state.
        instance = new ClientAPI();
        curl_global_init(CURL_GLOBAL_ALL);
        gLibraryInits.fetch_add(1);
        gInstance.store(instance, std::memory_order_release);
    }
    return *instance;
}

int TransferLibraryInitCount() { return gLibraryInits.load(); }

int ClientAPI::Post(const std::string& url, const std::string& body, std::string& output) {
    HttpRequest request;
    request.Prepare(url);
    return request.PerformPost(body, output) == 0 ? 0 : CLIENT_ERR_REQUEST;
}

int ClientAPI::Get(const std::string& url, std::string& output) {
    HttpRequest request;
    request.Prepare(url);
    return request.PerformGet(output) == 0 ? 0 : CLIENT_ERR_REQUEST;
}

int ClientAPI::SendPing2(const std::string& urlBase, const ReportRecord& record) {
    return SendPing(urlBase, record);
}

}  // namespace vexlo::client
