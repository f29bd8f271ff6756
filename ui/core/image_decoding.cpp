#include "ui/core/image_decoding.h"

#include <string_view>

#include "platform/image/image_decoder.h"

namespace vexlo::ui {

bool DecodePicture(std::span<const uint8_t> bytes, DecodedPicture& out) {
    out = {};
    image::DecodedImage decoded;
    if (!image::DecodeImage(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), decoded) ||
        decoded.frames.empty()) {
        return false;
    }
    const bool animated = decoded.frames.size() > 1;
    for (image::ImageFrame& f : decoded.frames) {
        if (animated) out.delaysMs.push_back(f.delayMs);
        out.frames.push_back(std::move(f.bitmap));
    }
    return true;
}

}  // namespace vexlo::ui
