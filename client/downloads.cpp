#include "client/client_api.h"
#include "client/download_target.h"

namespace vexlo::client {

int ClientAPI::Download(WStringView url, WStringView path) {
    const std::string fsPath = DownloadFsPath(path);
    HttpRequest request;
    request.Prepare(platform::WideToAnsi(url));
    // The body is held until the transfer has succeeded; an unusable path shows only then,
    // as the file that cannot be written (-2).
    return request.FetchToFile(fsPath);
}

int ClientAPI::DownloadWithProgress(WStringView url, WStringView path, ProgressCallback callback,
                                    void* data) {
    const std::string fsPath = DownloadFsPath(path);
    HttpRequest request;
    request.Prepare(platform::WideToAnsi(url));
    return request.StreamToFile(fsPath, callback, data);
}

}  // namespace vexlo::client
