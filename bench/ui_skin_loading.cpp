// LoadSkinFromMemory of a package shaped like the updater's (five entries, four small
// PNG pictures, two windows, about 13.5 KB) against the floor of the same work: only
// inflating its entries and decoding its pictures with the same libraries.
#include <benchmark/benchmark.h>

#include <random>
#include <string>

#include "platform/image/image_decoder.h"
#include "platform/image/png_codec.h"
#include "tests/ui/fixtures/skin_fixtures.h"
#include "ui/core/library.h"
#include "ui/core/skin_archive.h"
#include "ui/core/skin_text.h"
#include "ui/core/xml_document.h"
#include "ui/core/window_manager.h"

namespace {

using namespace vexlo;
using ui::testing::Bytes;

// Pictures with some texture, so that they compress about as the real ones do.
Bytes Picture(int w, int h, unsigned seed) {
    std::mt19937 random(seed);
    gfx::Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint8_t a = (x + y) % 7 == 0 ? 0 : 255;
            const uint8_t v = static_cast<uint8_t>(random() % 3 + (x * 3 + y * 5) % 128);
            b.set_pixel(x, y, gfx::PremultipliedPixel(a, v, static_cast<uint8_t>(v / 2), 200));
        }
    std::string png;
    image::EncodePng(b, png);
    return Bytes(png.begin(), png.end());
}

std::u16string ImageStyle(const char* pic, int sl, int sw, int sh, const char* state) {
    std::string s = std::string("<image picfile=\"") + pic +
                    "\" paintmode=\"normal\" left=\"0\" top=\"0\" right=\"0\" bottom=\"0\" width=\"0\" height=\"0\" "
                    "left_part=\"0\" top_part=\"0\" right_part=\"0\" bottom_part=\"0\" selectleft=\"" +
                    std::to_string(sl) + "\" selecttop=\"0\" selectwidth=\"" + std::to_string(sw) +
                    "\" selectheight=\"" + std::to_string(sh) + "\" state=\"" + state + "\"/>\r\n";
    return std::u16string(s.begin(), s.end());
}

std::u16string TextStyle(const char* colour, const char* font, const char* h, const char* v, int left, int top,
                         const char* state) {
    std::string s = std::string("<text textcolor=\"") + colour + "\" font=\"" + font +
                    "\" halign=\"" + h + "\" valign=\"" + v + "\" bsingleline=\"true\" left=\"" + std::to_string(left) +
                    "\" top=\"" + std::to_string(top) +
                    "\" right=\"0\" bottom=\"0\" width=\"0\" height=\"0\" state=\"" + state + "\"/>\r\n";
    return std::u16string(s.begin(), s.end());
}

std::u16string Control(const char* kind, const char* name, int l, int t, int w, int h, int r, int ha, int va,
                       const char* style, const char16_t* text, bool close = true) {
    std::string s = std::string("<") + kind + " name=\"" + name + "\" left=\"" + std::to_string(l) + "\" top=\"" +
                    std::to_string(t) + "\" width=\"" + std::to_string(w) + "\" height=\"" + std::to_string(h) +
                    "\" right=\"" + std::to_string(r) + "\" bottom=\"0\" horzanchor=\"" + std::to_string(ha) +
                    "\" vertanchor=\"" + std::to_string(va) + "\" style=\"" + style +
                    "\" visible=\"true\" cursor=\"\" opaque=\"false\" cached=\"false\" taborder=\"0\" zorder=\"0\" text=\"";
    std::u16string out(s.begin(), s.end());
    out += text;
    out += close ? u"\"/>\r\n" : u"\">\r\n";
    return out;
}

Bytes Description() {
    const char16_t* yahei = u"&#x5FAE;&#x8F6F;&#x96C5;&#x9ED1;";
    std::u16string x = u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<redudizu version=\"1.4\">\r\n"
                       u"<theme name=\"UIDesign\">\r\n<dsfont>\r\n";
    x += std::u16string(u"<font name=\"default\" height=\"13\" weight=\"400\" fontface=\"") + yahei +
         u"\" italic=\"false\" underline=\"false\" strikeout=\"false\"/>\r\n";
    x += std::u16string(u"<font name=\"content\" height=\"12\" weight=\"400\" fontface=\"") + yahei +
         u"\" italic=\"false\" underline=\"false\" strikeout=\"false\"/>\r\n</dsfont>\r\n<dscursor>\r\n</dscursor>\r\n";
    x += u"<dsimage>\r\n<image name=\"logo\" value=\"logo.png\"/>\r\n<image name=\"close_btn\" value=\"close.png\"/>\r\n"
         u"<image name=\"box_9\" value=\"box_9.png\"/>\r\n<image name=\"menu_item_background\" value=\"menu_item.png\"/>\r\n"
         u"</dsimage>\r\n<dsstyle>\r\n<style name=\"downfailed_layout_style\">\r\n</style>\r\n"
         u"<style name=\"download_layout_style\">\r\n</style>\r\n<style name=\"install_layout_style\">\r\n</style>\r\n";
    x += u"<style name=\"close_btn_style\">\r\n" + ImageStyle("close_btn", 0, 11, 11, "normal") +
         ImageStyle("close_btn", 12, 11, 11, "over") + ImageStyle("close_btn", 12, 11, 11, "press") +
         ImageStyle("close_btn", 0, 11, 11, "focus") + u"</style>\r\n";
    x += u"<style name=\"menu_item_noicon\">\r\n" + ImageStyle("menu_item_background", 0, 102, 29, "normal") +
         ImageStyle("menu_item_background", 102, 102, 29, "over") +
         ImageStyle("menu_item_background", 204, 102, 29, "press") +
         ImageStyle("menu_item_background", 204, 102, 29, "focus") +
         TextStyle("RGB(0,0,0)", "default", "left", "center", 26, 0, "all") + u"</style>\r\n";
    x += u"<style name=\"traymenu_window_style\">\r\n" + TextStyle("RGB(0,0,0)", "default", "left", "top", 10, 8, "all") +
         u"<rect fillcolor=\"RGB(255,255,255)\" bordercolor=\"RGB(195,195,195)\" fill=\"true\" border=\"true\" "
         u"bordertype=\"solid\" borderwidth=\"1\" state=\"all\"/>\r\n</style>\r\n";
    x += u"<style name=\"default_static_style\">\r\n" + TextStyle("RGB(0,0,0)", "content", "left", "center", 0, 0, "all") +
         u"</style>\r\n<style name=\"install_btn_style\">\r\n" +
         TextStyle("RGB(14,151,230)", "content", "center", "center", 0, 0, "all") +
         TextStyle("RGB(11,107,166)", "content", "center", "center", 0, 0, "over") + u"</style>\r\n";
    x += u"<style name=\"update_window_style\">\r\n<image picfile=\"box_9\" paintmode=\"stretchpartall\" left_part=\"6\" "
         u"top_part=\"6\" right_part=\"6\" bottom_part=\"6\" selectwidth=\"21\" selectheight=\"15\" state=\"all\"/>\r\n" +
         TextStyle("RGB(14,151,230)", "default", "left", "top", 29, 8, "all") + ImageStyle("logo", 0, 16, 16, "all") +
         u"</style>\r\n</dsstyle>\r\n<dsrgn>\r\n"
         u"<rgn name=\"corner\" type=\"roundrect\" roundx=\"15\" roundy=\"15\"/>\r\n"
         u"<rgn name=\"corner\" type=\"roundrect\" roundx=\"15\" roundy=\"15\"/>\r\n</dsrgn>\r\n</theme>\r\n<ducontrol>\r\n";
    x += u"<duwindow name=\"update_window\" visible=\"true\" layered=\"true\" cached=\"true\" x=\"-1\" y=\"-1\" "
         u"width=\"198\" height=\"80\" minwidth=\"0\" minheight=\"0\" maxwidth=\"9999\" maxheight=\"9999\" "
         u"bordersize=\"0\" captionheight=\"0\" style=\"update_window_style\" text=\"Mirto&#x538B;&#x7F29;-&#x66F4;&#x65B0;\" "
         u"zorder=\"0\" rgn=\"\" opaque=\"false\">\r\n";
    x += Control("layout", "download_layout", 6, 29, 100, 100, 6, 2, 1, "download_layout_style", u"", false) +
         Control("static", "download_static", 6, 10, 100, 20, 0, 1, 3, "default_static_style", u"") + u"</layout>\r\n";
    x += Control("layout", "error_layout", 6, 29, 100, 100, 6, 2, 1, "download_layout_style", u"", false) +
         Control("button", "redownload_btn", 72, 10, 50, 20, 4, 3, 3, "install_btn_style",
                 u"&#x91CD;&#x65B0;&#x4E0B;&#x8F7D;") +
         Control("static", "download_error", 6, 10, 60, 20, 0, 0, 3, "default_static_style",
                 u"&#x4E0B;&#x8F7D;&#x5931;&#x8D25;&#xFF01;") + u"</layout>\r\n";
    x += Control("layout", "install_layout", 6, 29, 100, 100, 6, 2, 1, "install_layout_style", u"", false) +
         Control("button", "install_btn", 120, 35, 50, 20, 10, 2, 3, "install_btn_style",
                 u"&#x7ACB;&#x5373;&#x5B89;&#x88C5;") +
         Control("static", "install_static", 6, 10, 100, 20, 0, 1, 3, "default_static_style",
                 u"&#x66F4;&#x65B0;&#x4E0B;&#x8F7D;&#x5B8C;&#x6210;&#xFF0C;&#x4E0B;&#x6B21;&#x542F;&#x52A8;&#x65F6;&#x5B89;&#x88C5;") +
         u"</layout>\r\n";
    x += Control("button", "close_btn", -20, 9, 1, 11, 0, 2, 3, "close_btn_style", u"") + u"</duwindow>\r\n";
    x += u"<duwindow name=\"traymenu_window\" visible=\"true\" layered=\"false\" cached=\"true\" x=\"-1\" y=\"-1\" "
         u"width=\"104\" height=\"31\" style=\"traymenu_window_style\" text=\"\" zorder=\"0\">\r\n" +
         Control("button", "exit_btn", 1, 1, 100, 100, 1, 2, 2, "menu_item_noicon", u"&#x9000;&#x51FA;") +
         u"</duwindow>\r\n</ducontrol>\r\n</redudizu>\r\n";
    return ui::testing::Utf16File(x);
}

struct Package {
    Bytes bytes;
    Package() {
        ui::testing::ZipBuilder zip;
        zip.Add("box_9.png", Picture(21, 15, 1));
        zip.Add("close.png", Picture(23, 11, 2), false);
        zip.Add("config.xml", Description());
        zip.Add("logo.png", Picture(16, 16, 3));
        zip.Add("menu_item.png", Picture(306, 29, 4));
        bytes = zip.Finish();
    }
};

const Package& ThePackage() {
    static const Package p;
    return p;
}

void BM_LoadSkinFromMemory(benchmark::State& state) {
    ui::InitUILibrary();
    const Bytes& bytes = ThePackage().bytes;
    for (auto _ : state) {
        auto manager = ui::LoadSkinFromMemory(bytes.data(), static_cast<int64_t>(bytes.size()));
        benchmark::DoNotOptimize(manager.get());
        // Releasing the skin is the host's shut-down, not part of the load.
        state.PauseTiming();
        manager.reset();
        state.ResumeTiming();
    }
    state.counters["package_bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_LoadSkinFromMemory);

// The floor: open the archive, inflate all five entries, decode the four pictures.
void BM_InflateAndDecodeOnly(benchmark::State& state) {
    const Bytes& bytes = ThePackage().bytes;
    const char16_t* entries[] = {u"box_9.png", u"close.png", u"config.xml", u"logo.png", u"menu_item.png"};
    for (auto _ : state) {
        auto archive = ui::SkinArchive::Open(bytes);
        for (const char16_t* name : entries) {
            auto entry = archive->Read(name);
            if (name != std::u16string_view(u"config.xml")) {
                image::DecodedImage decoded;
                image::DecodeImage(std::string_view(reinterpret_cast<const char*>(entry->data()), entry->size()),
                                   decoded);
                benchmark::DoNotOptimize(decoded.frames.data());
            }
            benchmark::DoNotOptimize(entry->data());
        }
    }
}
BENCHMARK(BM_InflateAndDecodeOnly);

// Parts of the load beyond the floor, to show where the rest goes.
void BM_ParseDescriptionOnly(benchmark::State& state) {
    const Bytes text = Description();
    for (auto _ : state) {
        auto wide = ui::DecodeSkinText(text);
        auto doc = ui::SkinDocument::Parse(*wide);
        benchmark::DoNotOptimize(doc.get());
    }
}
BENCHMARK(BM_ParseDescriptionOnly);

void BM_CreateTheTwoFontsOnly(benchmark::State& state) {
    for (auto _ : state) {
        text::FontRequest request;
        request.face = std::u16string(ui::kPreferredFace);
        request.height = -13;
        auto a = text::Font::Create(request);
        request.height = -12;
        auto b = text::Font::Create(request);
        benchmark::DoNotOptimize(a.get());
        benchmark::DoNotOptimize(b.get());
        state.PauseTiming();
        a.reset();
        b.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateTheTwoFontsOnly);

}  // namespace

BENCHMARK_MAIN();
