// Time from process start to the popup's first frame on the screen: the updater on the
// ordinary road under Xvfb (until the server maps the popup) against the same updater on
// the headless display (until its first frame file is written), alternating, in one run.
//   build/bench/bench_x11_first_frame [runs]
#include "platform/x11/connection.h"
#include "tests/x11/updater_run.h"
#include "tests/x11/xvfb_server.h"
#include "tools/update-service/update_service.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

using vexlo::x11::testing::UpdaterProcess;
using vexlo::x11::testing::UpdaterSandbox;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Until a window of the updater's is mapped on the server.
std::optional<double> X11Run(Display* probe, const std::vector<std::string>& env, const fs::path& folder) {
    while (XPending(probe)) {
        XEvent e;
        XNextEvent(probe, &e);
    }
    const auto start = Clock::now();
    UpdaterProcess updater(VEXLO_UPDATER_PATH, env,
                           {"VEXLO_DISPLAY", "VEXLO_FRAMES", "VEXLO_HEADLESS_SCRIPT", "VEXLO_HEADLESS_SCREEN"}, folder);
    const auto deadline = start + std::chrono::seconds(20);
    while (Clock::now() < deadline) {
        pollfd p{ConnectionNumber(probe), POLLIN, 0};
        poll(&p, 1, 100);
        while (XPending(probe)) {
            XEvent e;
            XNextEvent(probe, &e);
            if (e.type != MapNotify) continue;
            XClassHint hint{};
            if (!XGetClassHint(probe, e.xmap.window, &hint)) continue;
            const bool ours = hint.res_class && std::string(hint.res_class) == "Vexlo";
            if (hint.res_name) XFree(hint.res_name);
            if (hint.res_class) XFree(hint.res_class);
            if (ours) return Ms(Clock::now() - start);
        }
    }
    return std::nullopt;
}

// Until the headless display has written its first frame.
std::optional<double> HeadlessRun(const std::vector<std::string>& baseEnv, const fs::path& folder) {
    const fs::path frames = folder / "frames";
    fs::remove_all(frames);
    fs::create_directories(frames);
    const int watch = inotify_init1(IN_CLOEXEC);
    inotify_add_watch(watch, frames.c_str(), IN_CLOSE_WRITE);
    std::vector<std::string> env = baseEnv;
    env.push_back("VEXLO_DISPLAY=headless");
    env.push_back("VEXLO_FRAMES=" + frames.string());
    const auto start = Clock::now();
    UpdaterProcess updater(VEXLO_UPDATER_PATH, env, {"VEXLO_HEADLESS_SCRIPT"}, folder);
    pollfd p{watch, POLLIN, 0};
    const bool written = poll(&p, 1, 20000) > 0;
    const double ms = Ms(Clock::now() - start);
    close(watch);
    return written ? std::optional<double>(ms) : std::nullopt;
}

struct Figures {
    std::vector<double> runs;
    double Median() const {
        auto v = runs;
        std::sort(v.begin(), v.end());
        return v.empty() ? 0 : v[v.size() / 2];
    }
    double Min() const { return runs.empty() ? 0 : *std::min_element(runs.begin(), runs.end()); }
};

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    std::string why;
    auto server = vexlo::x11::testing::XvfbServer::Start("1280x800x24", &why);
    if (!server) {
        std::fprintf(stderr, "no X server: %s\n", why.c_str());
        return 1;
    }
    auto probe = vexlo::x11::OpenDisplay(server->display());
    XSelectInput(probe.get(), DefaultRootWindow(probe.get()), SubstructureNotifyMask);
    vexlo::service::UpdateService service;
    if (!service.Start()) return 1;
    Json::Value offer;
    offer["version_number"] = "3";
    offer["update_type"] = "1";
    offer["file_32"] = "{base}/gen/1048576";
    service.SetCheckReply(vexlo::service::ReplyPlan::Json(offer));

    UpdaterSandbox sandbox;
    std::vector<std::string> env = sandbox.Environment(service.BaseUrl());
    std::vector<std::string> x11Env = env;
    x11Env.push_back("DISPLAY=" + server->display());
    Figures x11, headless;
    for (int i = 0; i < runs + 2; ++i) {
        const auto h = HeadlessRun(env, sandbox.root());
        const auto x = X11Run(probe.get(), x11Env, sandbox.root());
        if (i < 2) continue;  // warm-up
        if (h) headless.runs.push_back(*h);
        if (x) x11.runs.push_back(*x);
    }
    service.Stop();
    std::printf("| display | runs | median | fastest |\n|---|---|---|---|\n");
    std::printf("| headless (first frame written) | %zu | %.1f ms | %.1f ms |\n", headless.runs.size(), headless.Median(),
                headless.Min());
    std::printf("| Xvfb (popup mapped) | %zu | %.1f ms | %.1f ms |\n", x11.runs.size(), x11.Median(), x11.Min());
    return x11.runs.size() == static_cast<size_t>(runs) && headless.runs.size() == static_cast<size_t>(runs) ? 0 : 1;
}
