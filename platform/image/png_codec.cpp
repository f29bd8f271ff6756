#include "platform/image/png_codec.h"

#include "platform/image/pixel_convert.h"

#include <png.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

namespace vexlo::image {

namespace {

// Frees libpng's reader state on every path out of a decode.
struct PngImage {
    png_image image{};
    PngImage() { image.version = PNG_IMAGE_VERSION; }
    ~PngImage() { png_image_free(&image); }
    PngImage(const PngImage&) = delete;
    PngImage& operator=(const PngImage&) = delete;
};

}  // namespace

bool IsPngSignature(std::string_view bytes) {
    return bytes.size() >= 8 && png_sig_cmp(reinterpret_cast<png_const_bytep>(bytes.data()), 0, 8) == 0;
}

bool DecodePng(std::string_view bytes, gfx::Bitmap& out, const DecodeLimits& limits) {
    out = gfx::Bitmap();
    if (!IsPngSignature(bytes)) return false;
    PngImage png;
    if (!png_image_begin_read_from_memory(&png.image, bytes.data(), bytes.size())) return false;
    if (!limits.AllowsFrame(png.image.width, png.image.height)) return false;
    png.image.format = PNG_FORMAT_BGRA;
    const int width = static_cast<int>(png.image.width);
    const int height = static_cast<int>(png.image.height);
    std::vector<uint8_t> straight(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    if (!png_image_finish_read(&png.image, nullptr, straight.data(), width * 4, nullptr)) return false;
    gfx::Bitmap bitmap;
    if (!bitmap.Reset(width, height)) return false;
    for (int y = 0; y < height; ++y) {
        PremultiplyRowFromBgra(straight.data() + static_cast<size_t>(y) * width * 4, bitmap.row(y), width);
    }
    out = std::move(bitmap);
    return true;
}

bool EncodePng(const gfx::Bitmap& bitmap, std::string& out) {
    out.clear();
    if (bitmap.empty()) return false;
    const int width = bitmap.width();
    const int height = bitmap.height();
    std::vector<uint8_t> straight(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    for (int y = 0; y < height; ++y) {
        UnpremultiplyRowToBgra(bitmap.row(y), straight.data() + static_cast<size_t>(y) * width * 4, width);
    }
    PngImage png;
    png.image.width = static_cast<png_uint_32>(width);
    png.image.height = static_cast<png_uint_32>(height);
    png.image.format = PNG_FORMAT_BGRA;
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(png.image, size, 0, straight.data(), width * 4, nullptr)) return false;
    out.resize(size);
    if (!png_image_write_to_memory(&png.image, out.data(), &size, 0, straight.data(), width * 4, nullptr)) {
        out.clear();
        return false;
    }
    out.resize(size);
    return true;
}

bool WritePngFile(const gfx::Bitmap& bitmap, const std::string& utf8Path) {
    std::string encoded;
    if (!EncodePng(bitmap, encoded)) return false;
    std::ofstream file(utf8Path, std::ios::binary | std::ios::trunc);
    if (!file) return false;
    file.write(encoded.data(), static_cast<std::streamsize>(encoded.size()));
    file.close();
    return static_cast<bool>(file);
}

bool ReadPngFile(const std::string& utf8Path, gfx::Bitmap& out, const DecodeLimits& limits) {
    out = gfx::Bitmap();
    std::ifstream file(utf8Path, std::ios::binary);
    if (!file) return false;
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return DecodePng(bytes, out, limits);
}

}  // namespace vexlo::image
