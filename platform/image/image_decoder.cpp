#include "platform/image/image_decoder.h"

#include "platform/image/png_codec.h"

namespace vexlo::image {

ImageFormat SniffImageFormat(std::string_view bytes) {
    if (IsPngSignature(bytes)) return ImageFormat::kPng;
    if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a")) return ImageFormat::kGif;
    if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xD8 && static_cast<unsigned char>(bytes[2]) == 0xFF) {
        return ImageFormat::kJpeg;
    }
    if (bytes.starts_with("BM")) return ImageFormat::kBmp;
    return ImageFormat::kUnknown;
}

bool DecodeImage(std::string_view bytes, DecodedImage& out, const DecodeLimits& limits) {
    out.frames.clear();
    auto single = [&](bool (*decode)(std::string_view, gfx::Bitmap&, const DecodeLimits&)) {
        ImageFrame frame;
        if (!decode(bytes, frame.bitmap, limits)) return false;
        out.frames.push_back(std::move(frame));
        return true;
    };
    switch (SniffImageFormat(bytes)) {
        case ImageFormat::kPng: return single(DecodePng);
        case ImageFormat::kGif: return DecodeGif(bytes, out, limits);
        case ImageFormat::kJpeg: return single(DecodeJpeg);
        case ImageFormat::kBmp: return single(DecodeBmp);
        case ImageFormat::kUnknown: break;
    }
    return false;
}

}  // namespace vexlo::image
