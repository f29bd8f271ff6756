// Runs one download through the server client and prints its time, throughput and the
// process's peak resident memory: bench_client_download (stream|memory) URL PATH
#include <sys/resource.h>
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "client/client_api.h"
#include "platform/base/text.h"

namespace {

int IgnoreProgress(void*, double, double, double, double) { return 0; }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 || (std::strcmp(argv[1], "stream") != 0 && std::strcmp(argv[1], "memory") != 0)) {
        std::fprintf(stderr, "usage: bench_client_download (stream|memory) URL PATH\n");
        return 2;
    }
    const bool stream = std::strcmp(argv[1], "stream") == 0;
    const vexlo::platform::WString url = vexlo::platform::Utf8ToWide(argv[2]);
    const vexlo::platform::WString path = vexlo::platform::Utf8ToWide(argv[3]);
    auto& client = vexlo::client::ClientAPI::GetInstance();

    const auto start = std::chrono::steady_clock::now();
    const int result = stream ? client.DownloadWithProgress(url, path, &IgnoreProgress, nullptr)
                              : client.Download(url, path);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    struct stat info {};
    const double bytes = ::stat(argv[3], &info) == 0 ? static_cast<double>(info.st_size) : 0;
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("mode=%s result=%d bytes=%.0f seconds=%.3f MiB/s=%.1f maxrss_kib=%ld\n", argv[1],
                result, bytes, seconds, bytes / seconds / (1 << 20), usage.ru_maxrss);
    return result == 0 ? 0 : 1;
}
