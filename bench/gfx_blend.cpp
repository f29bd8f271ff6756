// Alpha blending of a whole bitmap (per-pixel alpha, premultiplied source-over) against
// memcpy of the same bytes, at the popup's size and at a full-screen size.
#include "platform/gfx/draw_context.h"

#include <benchmark/benchmark.h>

#include <cstring>

namespace {

using vexlo::gfx::Bitmap;
using vexlo::gfx::DrawContext;
using vexlo::gfx::PremultipliedPixel;
using vexlo::gfx::Rect;

// Mixed content: opaque, transparent and translucent pixels, as a painted window has.
Bitmap Source(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int kind = (x / 7 + y / 5) % 3;
            const uint8_t a = kind == 0 ? 255 : kind == 1 ? 0 : static_cast<uint8_t>((x * 13 + y) & 0xFF);
            b.set_pixel(x, y, PremultipliedPixel(a, static_cast<uint8_t>(x), static_cast<uint8_t>(y), 128));
        }
    return b;
}

void BM_AlphaBlend(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const Bitmap src = Source(w, h);
    Bitmap dst = Source(w, h);
    DrawContext dc(dst);
    for (auto _ : state) {
        dc.AlphaBlend(Rect{0, 0, w, h}, src, Rect{0, 0, w, h});
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t{w} * h * 4);
}

void BM_AlphaBlendConstantAlpha(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const Bitmap src = Source(w, h);
    Bitmap dst = Source(w, h);
    DrawContext dc(dst);
    for (auto _ : state) {
        dc.AlphaBlend(Rect{0, 0, w, h}, src, Rect{0, 0, w, h}, 128);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t{w} * h * 4);
}

void BM_Memcpy(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0)), h = static_cast<int>(state.range(1));
    const Bitmap src = Source(w, h);
    Bitmap dst(w, h);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), static_cast<size_t>(w) * h * 4);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * int64_t{w} * h * 4);
}

BENCHMARK(BM_Memcpy)->Args({198, 80})->Args({1920, 1080});
BENCHMARK(BM_AlphaBlend)->Args({198, 80})->Args({1920, 1080});
BENCHMARK(BM_AlphaBlendConstantAlpha)->Args({198, 80})->Args({1920, 1080});

}  // namespace

BENCHMARK_MAIN();
