// Presenting the popup's frame on Xvfb: through the opaque rendering (composed over the
// screen, cut to its pixels) and through the 32-bit visual (a compositing manager's
// selection held by the benchmark), against the headless display keeping the frame.
//   build/bench/bench_x11_present
#include <benchmark/benchmark.h>

#include "platform/headless/harness.h"
#include "platform/win/window_api.h"
#include "platform/win/window_system.h"
#include "platform/x11/connection.h"
#include "platform/x11/x11_backend.h"
#include "tests/x11/xvfb_server.h"

#include <X11/Xlib.h>

namespace {

using namespace vexlo;

vexlo::x11::testing::XvfbServer* Server() {
    static std::string why;
    static auto server = x11::testing::XvfbServer::Start("1280x800x24", &why);
    return server.get();
}

gfx::Bitmap Picture(uint32_t seed) {
    gfx::Bitmap b(198, 80);
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 198; ++x) {
            const uint8_t a = (x < 4 || y < 4 || x > 193 || y > 75) ? 0 : (y < 40 ? 255 : 200);
            b.set_pixel(x, y, gfx::PremultipliedPixel(a, static_cast<uint8_t>(x + seed), static_cast<uint8_t>(y), 0x80));
        }
    }
    return b;
}

intptr_t Plain(win::Window w, uint32_t m, uintptr_t wp, intptr_t lp) { return win::DefWindowProc(w, m, wp, lp); }

// Frames alternate so that each one is a change; `sync` waits for the server.
void PresentLoop(benchmark::State& state, const std::function<void()>& sync) {
    win::WindowClass c;
    c.proc = &Plain;
    c.name = u"BenchPopup";
    win::RegisterClass(c);
    const win::Window w = win::CreateWindowEx(win::WS_EX_LAYERED | win::WS_EX_TOOLWINDOW, u"BenchPopup", u"",
                                              win::WS_POPUP, 1082, 720, 198, 80, {}, 0, 0, nullptr);
    const gfx::Bitmap frames[2] = {Picture(0), Picture(1)};
    const gfx::Point at{1082, 720}, from{0, 0};
    const gfx::Size size{198, 80};
    win::BlendFunction blend;
    blend.alphaFormat = win::AC_SRC_ALPHA;
    win::UpdateLayeredWindow(w, &at, &size, &frames[0], &from, 0, &blend, win::ULW_ALPHA);
    win::ShowWindow(w, win::SW_SHOWNOACTIVATE);
    int i = 0;
    for (auto _ : state) {
        win::UpdateLayeredWindow(w, &at, &size, &frames[++i % 2], &from, 0, &blend, win::ULW_ALPHA);
        sync();
    }
    win::DestroyWindow(w);
}

void BM_PresentX11(benchmark::State& state, bool compositor) {
    if (!Server()) {
        state.SkipWithError("no Xvfb");
        return;
    }
    auto holder = x11::OpenDisplay(Server()->display());
    ::Window manager = 0;
    if (compositor) {
        manager = XCreateSimpleWindow(holder.get(), DefaultRootWindow(holder.get()), 0, 0, 1, 1, 0, 0, 0);
        XSetSelectionOwner(holder.get(), XInternAtom(holder.get(), "_NET_WM_CM_S0", False), manager, CurrentTime);
        XSync(holder.get(), False);
    }
    x11::X11BackendOptions options;
    options.display = Server()->display();
    auto backend = x11::X11Backend::Open(options);
    x11::X11Backend* raw = backend.get();
    {
        win::WindowSystem system(std::move(backend));
        PresentLoop(state, [raw] { raw->Sync(); });
    }
    if (manager) XDestroyWindow(holder.get(), manager);
    XSync(holder.get(), False);
}

void BM_PresentX11Opaque(benchmark::State& state) { BM_PresentX11(state, false); }
void BM_PresentX11Alpha(benchmark::State& state) { BM_PresentX11(state, true); }

void BM_PresentHeadless(benchmark::State& state) {
    headless::HeadlessConfig config;
    config.keepFrames = false;
    headless::HeadlessHarness h(config);
    PresentLoop(state, [] {});
}

BENCHMARK(BM_PresentX11Opaque)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PresentX11Alpha)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PresentHeadless)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
