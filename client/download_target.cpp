#include "client/download_target.h"

#include "platform/sys/file_path.h"

namespace vexlo::client {

bool IsAcceptableFileName(platform::WStringView name) {
    if (name.empty() || name == u"." || name == u"..") return false;
    for (const char16_t c : name) {
        if (c < 0x20) return false;
        if (platform::WStringView(u"\\/:*?\"<>|").find(c) != platform::WStringView::npos)
            return false;
    }
    return true;
}

std::string DownloadFsPath(platform::WStringView path) {
    bool usedDefault = false;
    platform::WideToAnsi(path, platform::AnsiCodePage(), &usedDefault);
    if (usedDefault) return {};
    const size_t slash = path.rfind(u'/');
    const platform::WStringView name =
        slash == platform::WStringView::npos ? path : path.substr(slash + 1);
    if (!IsAcceptableFileName(name)) return {};
    std::string fsPath = platform::WideToFsPath(path);
    if (!platform::OpenableFsPath(fsPath)) return {};
    return fsPath;
}

}  // namespace vexlo::client
