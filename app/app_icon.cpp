#include "app/app_icon.h"

#include <span>

#include "app/update_dlg.h"
#include "platform/image/png_codec.h"
#include "platform/win/window_api.h"
#include "skin/skin_package.h"
#include "ui/core/skin_archive.h"

namespace vexlo::app {

void RegisterAppIcon() {
    gfx::Bitmap picture;
    auto archive = ui::SkinArchive::Open(std::span<const uint8_t>(skin::kPackageBytes, skin::kPackageSize));
    if (archive) {
        if (auto bytes = archive->Read(u"logo.png")) {
            image::DecodePng(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), picture);
        }
    }
    // A package without its logo still gives the windows an icon.
    if (picture.empty()) {
        picture.Reset(16, 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) picture.set_pixel(x, y, gfx::PremultipliedPixel(255, 14, 151, 230));
    }
    win::RegisterIconResource(kAppIconId, picture);
}

}  // namespace vexlo::app
