// Painting the updater's popup: a full PaintWindow of the 198 x 80 layered window with its
// ten controls against the partial RepaintPlugin of one static text in it, in one run, on
// the headless display, in the state the popup has while it downloads: the progress panel
// shown, the failure and install panels hidden (as the update window sets them).
#include <benchmark/benchmark.h>

#include "platform/headless/harness.h"
#include "platform/win/window_api.h"
#include "skin/skin_package.h"
#include "ui/core/library.h"
#include "ui/core/painting.h"
#include "ui/core/plugin_functions.h"
#include "ui/core/window_manager.h"

namespace {

using namespace vexlo;

intptr_t HostProc(win::Window w, uint32_t m, uintptr_t wp, intptr_t lp) { return win::DefWindowProc(w, m, wp, lp); }

struct Popup {
    Popup() {
        ui::InitUILibrary();
        manager = ui::LoadSkinFromMemory(skin::kPackageBytes, static_cast<int64_t>(skin::kPackageSize));
        win::WindowClass c;
        c.proc = &HostProc;
        c.name = u"BenchHost";
        win::RegisterClass(c);
        host = win::CreateWindowEx(0, u"BenchHost", u"", win::WS_POPUP | win::WS_VISIBLE, 0, 0, 10, 10, {}, 0, 0,
                                   nullptr);
        manager->AttachWindow(host, u"update_window");
        record = ui::GetWindowRecord(host);
        ui::SetPluginVisible(ui::FindPlugin(host, u"error_layout"), 0);
        text = ui::FindPlugin(host, u"download_static");
        text->SetText(u"\u6B63\u5728\u4E0B\u8F7D 42%");
        ui::PaintWindow(record, nullptr);
    }
    ~Popup() {
        win::DestroyWindow(host);
        manager.reset();
        ui::UninitUILibrary();
    }
    static headless::HeadlessConfig Config() {
        headless::HeadlessConfig c;
        c.keepFrames = false;  // the presentation is measured, not the spy's copies
        return c;
    }
    headless::HeadlessHarness harness{Config()};
    ui::ObjectPtr<ui::duWindowManager> manager;
    win::Window host;
    ui::WindowRecord* record = nullptr;
    ui::duPlugin* text = nullptr;
};

void BM_PaintWindow(benchmark::State& state) {
    Popup popup;
    for (auto _ : state) {
        ui::PaintWindow(popup.record, nullptr);
        benchmark::DoNotOptimize(popup.record->cachedImage.get());
    }
}
BENCHMARK(BM_PaintWindow);

void BM_RepaintOneStatic(benchmark::State& state) {
    Popup popup;
    for (auto _ : state) benchmark::DoNotOptimize(ui::RepaintPlugin(popup.record, popup.text));
}
BENCHMARK(BM_RepaintOneStatic);

// The floor both include: the layered-window presentation of the whole 198 x 80 picture.
void BM_PresentOnly(benchmark::State& state) {
    Popup popup;
    const win::BlendFunction blend{win::AC_SRC_OVER, 0, 255, win::AC_SRC_ALPHA};
    const gfx::Point origin{0, 0};
    const gfx::Bitmap& picture = *popup.record->cachedImage;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            win::UpdateLayeredWindow(popup.host, nullptr, nullptr, &picture, &origin, 0, &blend, win::ULW_ALPHA));
    }
}
BENCHMARK(BM_PresentOnly);

}  // namespace

BENCHMARK_MAIN();
