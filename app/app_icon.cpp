#include "app/app_icon.h"

#include "app/update_dlg.h"
#include "platform/win/window_api.h"
#include "ui/core/image_resource.h"
#include "ui/core/res_manager.h"
#include "ui/core/window_manager.h"

namespace vexlo::app {
namespace {

const gfx::Bitmap* SkinLogo(const ui::duWindowManager* windowManager) {
    if (!windowManager || !windowManager->GetResManager()) return nullptr;
    auto* logo = dynamic_cast<ui::duImage*>(windowManager->GetResManager()->GetResObj(u"logo", ui::kResImage));
    return logo ? logo->GetHBitmap() : nullptr;
}

}  // namespace

void RegisterAppIcon(const ui::duWindowManager* windowManager) {
    if (const gfx::Bitmap* logo = SkinLogo(windowManager)) {
        win::RegisterIconResource(kAppIconId, *logo);
        return;
    }
    gfx::Bitmap square(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) square.set_pixel(x, y, gfx::PremultipliedPixel(255, 14, 151, 230));
    win::RegisterIconResource(kAppIconId, square);
}

}  // namespace vexlo::app
