#include "ui/controls/url_opener.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/text.h"
#include "ui/core/wide_text.h"

extern char** environ;

namespace vexlo::ui {
namespace {

std::mutex& OpenerMutex() {
    static std::mutex m;
    return m;
}

UrlOpener& CurrentOpener() {
    static UrlOpener opener;
    return opener;
}

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

bool IsOpenableUrl(std::u16string_view url) {
    size_t schemeLength = 0;
    for (std::u16string_view scheme : {std::u16string_view(u"http://"), std::u16string_view(u"https://"),
                                       std::u16string_view(u"mailto:")}) {
        if (StartsWithNoCase(url, scheme)) {
            schemeLength = scheme.size();
            break;
        }
    }
    if (schemeLength == 0 || url.size() == schemeLength) return false;
    for (char16_t c : url) {
        if (c <= 0x20 || c == 0x7F) return false;
    }
    return true;
}

void SetUrlOpener(UrlOpener opener) {
    std::lock_guard lock(OpenerMutex());
    CurrentOpener() = std::move(opener);
}

bool OpenUrl(std::u16string_view url) {
    if (!IsOpenableUrl(url)) return false;
    UrlOpener opener;
    {
        std::lock_guard lock(OpenerMutex());
        opener = CurrentOpener();
    }
    return opener ? opener(url) : OpenUrlWithDesktop(url);
}

bool OpenUrlWithDesktop(std::u16string_view url) { return SpawnOpener("xdg-open", url, false); }

bool SpawnOpener(const std::string& program, std::u16string_view url, bool wait) {
    if (!IsOpenableUrl(url)) return false;
    std::string name = program;
    std::string argument = platform::WideToUtf8(url);
    std::vector<char*> argv{name.data(), argument.data(), nullptr};
    pid_t pid = 0;
    // posix_spawnp searches PATH itself and never involves a shell, so nothing in the
    // address is interpreted.
    if (posix_spawnp(&pid, name.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return false;
    auto reap = [pid] {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0) {
            if (errno != EINTR) return false;
        }
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    };
    if (wait) return reap();
    std::thread(reap).detach();
    return true;
}

}  // namespace vexlo::ui
