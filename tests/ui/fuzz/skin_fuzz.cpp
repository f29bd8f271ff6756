// Fuzz entry point of the skin loader. The first byte chooses what the rest is:
//   0: a whole package;
//   1: the text of config.xml (UTF-16 little-endian), packed with two small pictures;
//   2: a picture file, named by a fixed description that uses it in every paint mode.
// Everything a loaded skin offers is then exercised: windows built, style groups drawn,
// regions made.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/image/png_codec.h"
#include "tests/ui/fixtures/skin_fixtures.h"
#include "ui/core/library.h"
#include "ui/core/plugin_factory.h"
#include "ui/core/plugin_tree.h"
#include "ui/core/region_resource.h"
#include "ui/core/state.h"
#include "ui/core/style_group.h"
#include "ui/core/window_manager.h"

namespace {

using namespace vexlo;
using namespace vexlo::ui;
using testing::Bytes;

Bytes SmallPng(int w, int h) {
    gfx::Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.set_pixel(x, y, (x + y) % 3 ? 0xFF336699u : 0u);
    std::string png;
    image::EncodePng(b, png);
    return Bytes(png.begin(), png.end());
}

const char16_t kPictureSkin[] =
    u"<redudizu><theme><dsimage><image name=\"p\" value=\"p.img\"/></dsimage><dsstyle>"
    u"<style name=\"s\"><image picfile=\"p\" paintmode=\"normal\" state=\"all\"/>"
    u"<image picfile=\"p\" paintmode=\"tile\" state=\"all\" selectwidth=\"3\" selectheight=\"2\"/>"
    u"<image picfile=\"p\" paintmode=\"stretch\" state=\"all\"/>"
    u"<image picfile=\"p\" paintmode=\"stretchvert\" top_part=\"2\" bottom_part=\"2\" state=\"all\"/>"
    u"<image picfile=\"p\" paintmode=\"stretchhorz\" left_part=\"2\" right_part=\"9\" state=\"all\"/>"
    u"<image picfile=\"p\" paintmode=\"stretchpartall\" left_part=\"3\" top_part=\"3\" right_part=\"3\" "
    u"bottom_part=\"3\" state=\"all\"/></style></dsstyle>"
    u"<dsrgn><rgn name=\"r\" type=\"style\" style=\"s\"/></dsrgn></theme></redudizu>";

void Exercise(duWindowManager& manager) {
    duResManager* res = manager.GetResManager();
    if (res) {
        gfx::Bitmap canvas(64, 48);
        gfx::DrawContext dc(canvas);
        for (int32_t i = 0; i < res->GetResObjCount(kResStyleGroup) && i < 64; ++i) {
            auto* group = static_cast<duStyleGroup*>(res->GetResObjByIndex(i, kResStyleGroup));
            group->Draw(dc, {2, 2, 60, 40}, kStateAll, u"Wg\u4E2D", 200);
            group->DrawGray(dc, {0, 0, 64, 48}, kStateNormal, u"x", 255);
            gfx::Size size;
            group->MeasureText(kStateAll, u"abc", &size);
        }
        for (int32_t i = 0; i < res->GetResObjCount(kResRegion) && i < 64; ++i) {
            auto* rgn = static_cast<duRgn*>(res->GetResObjByIndex(i, kResRegion));
            rgn->GetRegion(198, 80);
            rgn->GetRegion(5, 300);
        }
    }
    const auto& doc = manager.document();
    if (!doc) return;
    XmlElement root = doc->TopLevel(u"redudizu");
    int windows = 0;
    for (XmlElement control = root.FirstChild(); control && windows < 8; control = control.NextSibling()) {
        for (XmlElement w = control.FirstChild(); w && windows < 8; w = w.NextSibling(), ++windows) {
            ElementRef e = manager.FindWindowElement(w.AttributeOrEmpty(u"name"));
            if (!e) continue;
            ObjectPtr<duPlugin> top = CreatePluginByType(e.element.Name());
            if (!top) continue;
            WindowRecord record;
            BuildPluginTree(top.get(), e, &record);
            for (duPlugin* c = top->GetFirstChild(); c;) {
                duPlugin* next = c->GetNextSibling();
                DestroyPluginTree(c);
                c = next;
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = InitUILibrary();
    (void)started;
    if (size < 1) return 0;
    const uint8_t mode = data[0] % 3;
    ++data;
    --size;
    Bytes package;
    if (mode == 0) {
        package.assign(data, data + size);
    } else if (mode == 1) {
        testing::ZipBuilder zip;
        zip.Add("config.xml", std::span<const uint8_t>(data, size));
        zip.Add("a.png", SmallPng(5, 4), false);
        zip.Add("b.png", SmallPng(21, 15));
        package = zip.Finish();
    } else {
        testing::ZipBuilder zip;
        zip.Add("config.xml", testing::Utf16File(kPictureSkin));
        zip.Add("p.img", std::span<const uint8_t>(data, size));
        package = zip.Finish();
    }
    if (package.empty()) return 0;
    ObjectPtr<duWindowManager> manager = LoadSkinFromMemory(package.data(), static_cast<int64_t>(package.size()));
    if (manager) Exercise(*manager);
    return 0;
}
