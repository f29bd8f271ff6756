#include "platform/win/cursor_file.h"

#include "platform/image/png_codec.h"

#include <algorithm>

#include <cstdint>
#include <vector>

namespace vexlo::win {
namespace {

constexpr int kMaxSide = 256;

uint16_t U16(std::string_view b, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}
uint32_t U32(std::string_view b, size_t at) {
    return static_cast<uint32_t>(U16(b, at)) | static_cast<uint32_t>(U16(b, at + 2)) << 16;
}

bool DecodeDib(std::string_view dib, gfx::Bitmap& out) {
    if (dib.size() < 40) return false;
    const uint32_t headerSize = U32(dib, 0);
    const int32_t width = static_cast<int32_t>(U32(dib, 4));
    const int32_t doubledHeight = static_cast<int32_t>(U32(dib, 8));
    const uint16_t bitCount = U16(dib, 14);
    const uint32_t compression = U32(dib, 16);
    const uint32_t colorsUsed = U32(dib, 32);
    if (headerSize < 40 || headerSize > dib.size() || compression != 0) return false;
    if (width <= 0 || width > kMaxSide || doubledHeight <= 0 || doubledHeight % 2 != 0 || doubledHeight / 2 > kMaxSide) {
        return false;
    }
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) return false;
    const int height = doubledHeight / 2;
    size_t at = headerSize;
    std::vector<uint32_t> palette;
    if (bitCount <= 8) {
        const uint32_t entries = colorsUsed ? colorsUsed : (1u << bitCount);
        if (entries > 256 || at + size_t{entries} * 4 > dib.size()) return false;
        for (uint32_t i = 0; i < entries; ++i) {
            const size_t p = at + size_t{i} * 4;
            palette.push_back(0xFF000000u | static_cast<uint32_t>(static_cast<uint8_t>(dib[p + 2])) << 16 |
                              static_cast<uint32_t>(static_cast<uint8_t>(dib[p + 1])) << 8 |
                              static_cast<uint8_t>(dib[p]));
        }
        at += size_t{entries} * 4;
    }
    const size_t xorStride = ((static_cast<size_t>(width) * bitCount + 31) / 32) * 4;
    const size_t andStride = ((static_cast<size_t>(width) + 31) / 32) * 4;
    const size_t xorSize = xorStride * static_cast<size_t>(height);
    const size_t andSize = andStride * static_cast<size_t>(height);
    if (at + xorSize > dib.size()) return false;
    const bool hasMask = at + xorSize + andSize <= dib.size();
    if (!hasMask && bitCount != 32) return false;
    gfx::Bitmap image(width, height);
    if (image.empty()) return false;
    bool anyAlpha = false;
    for (int y = 0; y < height; ++y) {
        const size_t row = at + static_cast<size_t>(height - 1 - y) * xorStride;  // rows are stored bottom-up
        for (int x = 0; x < width; ++x) {
            uint32_t argb = 0;
            switch (bitCount) {
                case 32: {
                    const size_t p = row + static_cast<size_t>(x) * 4;
                    argb = static_cast<uint32_t>(static_cast<uint8_t>(dib[p + 3])) << 24 |
                           static_cast<uint32_t>(static_cast<uint8_t>(dib[p + 2])) << 16 |
                           static_cast<uint32_t>(static_cast<uint8_t>(dib[p + 1])) << 8 | static_cast<uint8_t>(dib[p]);
                    anyAlpha = anyAlpha || (argb >> 24) != 0;
                    break;
                }
                case 24: {
                    const size_t p = row + static_cast<size_t>(x) * 3;
                    argb = 0xFF000000u | static_cast<uint32_t>(static_cast<uint8_t>(dib[p + 2])) << 16 |
                           static_cast<uint32_t>(static_cast<uint8_t>(dib[p + 1])) << 8 | static_cast<uint8_t>(dib[p]);
                    break;
                }
                default: {
                    const size_t bit = static_cast<size_t>(x) * bitCount;
                    const uint8_t byte = static_cast<uint8_t>(dib[row + bit / 8]);
                    const unsigned shift = static_cast<unsigned>(8 - bitCount - (bit % 8));
                    const unsigned index = (byte >> shift) & ((1u << bitCount) - 1);
                    argb = index < palette.size() ? palette[index] : 0xFF000000u;
                    break;
                }
            }
            image.set_pixel(x, y, argb);
        }
    }
    const bool useMask = hasMask && !(bitCount == 32 && anyAlpha);
    for (int y = 0; y < height; ++y) {
        const size_t maskRow = at + xorSize + static_cast<size_t>(height - 1 - y) * andStride;
        for (int x = 0; x < width; ++x) {
            uint32_t p = image.pixel(x, y);
            if (useMask) {
                const bool transparent = (static_cast<uint8_t>(dib[maskRow + static_cast<size_t>(x) / 8]) >> (7 - x % 8)) & 1;
                p = transparent ? 0u : (p | 0xFF000000u);
            }
            image.set_pixel(x, y, gfx::PremultipliedPixel(gfx::AlphaOf(p), gfx::RedOf(p), gfx::GreenOf(p), gfx::BlueOf(p)));
        }
    }
    out = std::move(image);
    return true;
}

}  // namespace

bool DecodeCursorFile(std::string_view bytes, gfx::Bitmap* image, gfx::Point* hotspot) {
    if (bytes.size() < 6 || U16(bytes, 0) != 0) return false;
    const uint16_t type = U16(bytes, 2);
    const uint16_t count = U16(bytes, 4);
    if ((type != 1 && type != 2) || count == 0 || 6 + size_t{count} * 16 > bytes.size()) return false;
    int best = -1;
    int bestArea = -1;
    for (int i = 0; i < count; ++i) {
        const size_t e = 6 + static_cast<size_t>(i) * 16;
        const int w = static_cast<uint8_t>(bytes[e]) ? static_cast<uint8_t>(bytes[e]) : 256;
        const int h = static_cast<uint8_t>(bytes[e + 1]) ? static_cast<uint8_t>(bytes[e + 1]) : 256;
        if (w * h > bestArea) {
            bestArea = w * h;
            best = i;
        }
    }
    const size_t e = 6 + static_cast<size_t>(best) * 16;
    const uint32_t size = U32(bytes, e + 8);
    const uint32_t offset = U32(bytes, e + 12);
    if (offset > bytes.size() || size > bytes.size() - offset || size == 0) return false;
    const std::string_view data = bytes.substr(offset, size);
    gfx::Bitmap decoded;
    if (image::IsPngSignature(data)) {
        if (!image::DecodePng(data, decoded)) return false;
        if (decoded.width() > kMaxSide || decoded.height() > kMaxSide) return false;
    } else if (!DecodeDib(data, decoded)) {
        return false;
    }
    gfx::Point hot{decoded.width() / 2, decoded.height() / 2};
    if (type == 2) {
        hot = {static_cast<int>(U16(bytes, e + 4)), static_cast<int>(U16(bytes, e + 6))};
        hot.x = std::min(hot.x, decoded.width() - 1);
        hot.y = std::min(hot.y, decoded.height() - 1);
    }
    if (image) *image = std::move(decoded);
    if (hotspot) *hotspot = hot;
    return true;
}

}  // namespace vexlo::win
