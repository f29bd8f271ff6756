// One 20-character line of CJK text drawn into the popup's bitmap, glyphs cached after the
// first draw; measuring the same line for comparison.
#include "platform/gfx/draw_context.h"
#include "platform/text/text_format.h"

#include <benchmark/benchmark.h>

namespace {

using namespace vexlo;

constexpr char16_t kLine[] = u"更新下载完成下次启动时安装新版本压缩工具";  // 20 characters

void BM_DrawCjkLine(benchmark::State& state) {
    gfx::Bitmap b(198, 80);
    gfx::DrawContext dc(b);
    dc.FillOpaque(gfx::Rect{0, 0, 198, 80}, gfx::MakeColorRef(255, 255, 255));
    dc.SelectFont(text::Font::Create(text::FontRequest{u"微软雅黑", -12}));
    gfx::Rect first{0, 30, 300, 50};
    dc.DrawText(kLine, first, text::DT_SINGLELINE | text::DT_NOCLIP);  // fills the glyph cache
    for (auto _ : state) {
        gfx::Rect r{0, 30, 300, 50};
        benchmark::DoNotOptimize(dc.DrawText(kLine, r, text::DT_SINGLELINE | text::DT_NOCLIP));
        benchmark::ClobberMemory();
    }
}

void BM_MeasureCjkLine(benchmark::State& state) {
    const text::FontPtr font = text::Font::Create(text::FontRequest{u"微软雅黑", -12});
    text::MeasureLine(*font, kLine);
    for (auto _ : state) benchmark::DoNotOptimize(text::MeasureLine(*font, kLine));
}

BENCHMARK(BM_DrawCjkLine);
BENCHMARK(BM_MeasureCjkLine);

}  // namespace

BENCHMARK_MAIN();
