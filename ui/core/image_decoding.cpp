#include "ui/core/image_decoding.h"

#include <string_view>

#include "platform/image/png_codec.h"

namespace vexlo::ui {

bool DecodePicture(std::span<const uint8_t> bytes, DecodedPicture& out) {
    out = {};
    std::string_view view(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    gfx::Bitmap bitmap;
    if (image::IsPngSignature(view) && image::DecodePng(view, bitmap)) {
        out.frames.push_back(std::move(bitmap));
        return true;
    }
    return false;
}

}  // namespace vexlo::ui
