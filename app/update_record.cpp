#include "app/update_record.h"

#include "client/client_api.h"
#include "client/update_query.h"
#include "client/version_compare.h"
#include "env/install_config.h"
#include "env/process_launch.h"

namespace vexlo::app {
namespace {

constexpr size_t kPathBufferChars = 260;

bool IsSeparator(char16_t c) { return c == u'\\' || c == u'/' || c == u':'; }

}  // namespace

platform::WString FileNameFromUrl(platform::WStringView url) {
    // The name buffer holds 259 characters and a terminator; a longer URL has no name.
    if (url.size() >= kPathBufferChars) return {};
    size_t start = 0;
    for (size_t i = 0; i < url.size(); ++i) {
        if (IsSeparator(url[i]) && i + 1 < url.size() && url[i + 1] != u'\\' && url[i + 1] != u'/') {
            start = i + 1;
        }
    }
    return platform::WString(url.substr(start));
}

bool UpdateRecord::CheckForUpdate(const std::string& checkUrl) {
    client::UpdateQuery query;
    int result = client::ClientAPI::GetInstance().CheckUpdate(checkUrl, query);
    if (result == 0) {
        platform::WString fileName = FileNameFromUrl(query.fileUrl);
        localPath = env::GetUpdateFolder() + u"/" + fileName;
        downloadUrl = query.fileUrl;
        version = query.version;
        explanation = query.explanation;
        updateType = query.updateType;
    }
    return client::CompareVersions(version, env::InstallConfig::GetInstance().GetVersion()) > 0;
}

bool UpdateRecord::DownloadPackage() const {
    return client::ClientAPI::GetInstance().Download(downloadUrl, localPath) == 0;
}

bool UpdateRecord::DownloadPackageWithProgress(DownloadProgressCallback callback, void* data) const {
    return client::ClientAPI::GetInstance().DownloadWithProgress(downloadUrl, localPath, callback, data) == 0;
}

bool UpdateRecord::LaunchInstaller() const {
    return env::LaunchElevated(localPath, IsForced() ? platform::WStringView(u"/s") : platform::WStringView());
}

}  // namespace vexlo::app
