#include "platform/image/image_decoder.h"

#include <array>
#include <bit>
#include <cstdint>

namespace vexlo::image {

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kRgb = 0, kBitfields = 3, kAlphaBitfields = 6;

class Reader {
public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}
    bool Has(size_t offset, size_t count) const { return offset <= bytes_.size() && count <= bytes_.size() - offset; }
    uint32_t U8(size_t o) const { return static_cast<unsigned char>(bytes_[o]); }
    uint32_t U16(size_t o) const { return U8(o) | (U8(o + 1) << 8); }
    uint32_t U32(size_t o) const { return U16(o) | (U16(o + 2) << 16); }
    int32_t I32(size_t o) const { return static_cast<int32_t>(U32(o)); }
    const unsigned char* At(size_t o) const { return reinterpret_cast<const unsigned char*>(bytes_.data()) + o; }

private:
    std::string_view bytes_;
};

// One colour channel described by a bit mask, scaled to 0..255.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    explicit Channel(uint32_t m = 0) : mask(m) {
        if (mask == 0) return;
        shift = std::countr_zero(mask);
        bits = std::popcount(mask >> shift);
        if (bits > 8) shift += bits - 8, bits = 8;  // keep the top 8 bits of a wide channel
    }
    uint8_t Extract(uint32_t value) const {
        if (mask == 0) return 0;
        const uint32_t v = (value & mask) >> shift & ((1u << bits) - 1);
        return static_cast<uint8_t>(bits == 8 ? v : (v * 255 + ((1u << bits) - 1) / 2) / ((1u << bits) - 1));
    }
};

}  // namespace

bool DecodeBmp(std::string_view bytes, gfx::Bitmap& out, const DecodeLimits& limits) {
    out = gfx::Bitmap();
    const Reader r(bytes);
    if (!r.Has(0, kFileHeaderSize + 4) || r.U16(0) != 0x4D42) return false;
    const uint32_t pixelOffset = r.U32(10);
    const uint32_t headerSize = r.U32(14);
    if (headerSize < 40 || headerSize > 1024 || !r.Has(kFileHeaderSize, headerSize)) return false;
    const int32_t width = r.I32(18);
    const int32_t rawHeight = r.I32(22);
    const uint32_t planes = r.U16(26);
    const uint32_t bpp = r.U16(28);
    const uint32_t compression = r.U32(30);
    const uint32_t colorsUsed = r.U32(46);
    if (planes != 1 || rawHeight == INT32_MIN) return false;
    const bool topDown = rawHeight < 0;
    const int32_t height = topDown ? -rawHeight : rawHeight;
    if (!limits.AllowsFrame(width, height)) return false;

    // Masks: inside a V2+ header, or right after a 40-byte one.
    Channel red, green, blue, alpha;
    size_t paletteOffset = kFileHeaderSize + headerSize;
    if (compression == kBitfields || compression == kAlphaBitfields) {
        if (bpp != 16 && bpp != 32) return false;
        size_t maskOffset = kFileHeaderSize + 40;
        const size_t maskCount = compression == kAlphaBitfields ? 4 : 3;
        if (headerSize == 40) paletteOffset += maskCount * 4;
        if (!r.Has(maskOffset, 16)) {
            if (!r.Has(maskOffset, maskCount * 4)) return false;
        }
        red = Channel(r.U32(maskOffset));
        green = Channel(r.U32(maskOffset + 4));
        blue = Channel(r.U32(maskOffset + 8));
        const bool alphaMaskPresent = compression == kAlphaBitfields || headerSize >= 56;
        if (alphaMaskPresent && r.Has(maskOffset + 12, 4)) alpha = Channel(r.U32(maskOffset + 12));
    } else if (compression == kRgb) {
        if (bpp == 16) red = Channel(0x7C00), green = Channel(0x03E0), blue = Channel(0x001F);
        if (bpp == 32) red = Channel(0xFF0000), green = Channel(0xFF00), blue = Channel(0xFF), alpha = Channel(0xFF000000u);
    } else {
        return false;  // run-length and embedded formats are not read
    }

    std::array<uint32_t, 256> palette{};
    const bool paletted = bpp == 1 || bpp == 4 || bpp == 8;
    if (paletted) {
        const uint32_t maxColors = 1u << bpp;
        const uint32_t count = (colorsUsed == 0 || colorsUsed > maxColors) ? maxColors : colorsUsed;
        if (!r.Has(paletteOffset, size_t{count} * 4)) return false;
        for (uint32_t i = 0; i < count; ++i) {
            const size_t o = paletteOffset + size_t{i} * 4;
            palette[i] = 0xFF000000u | (r.U8(o + 2) << 16) | (r.U8(o + 1) << 8) | r.U8(o);
        }
        // Indices past the table stay opaque black.
        for (uint32_t i = count; i < 256; ++i) palette[i] = 0xFF000000u;
    } else if (bpp != 16 && bpp != 24 && bpp != 32) {
        return false;
    }

    const size_t stride = ((size_t{static_cast<uint32_t>(width)} * bpp + 31) / 32) * 4;
    if (!r.Has(pixelOffset, stride * static_cast<size_t>(height))) return false;  // truncated
    gfx::Bitmap bitmap;
    if (!bitmap.Reset(width, height)) return false;

    // 32-bit files often leave the alpha byte zero everywhere: they are opaque.
    bool anyAlpha = false;
    for (int32_t y = 0; y < height; ++y) {
        const unsigned char* row = r.At(pixelOffset + stride * static_cast<size_t>(topDown ? y : height - 1 - y));
        uint32_t* target = bitmap.row(y);
        for (int32_t x = 0; x < width; ++x) {
            uint32_t pixel = 0;
            switch (bpp) {
                case 1: pixel = palette[(row[x >> 3] >> (7 - (x & 7))) & 1]; break;
                case 4: pixel = palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF]; break;
                case 8: pixel = palette[row[x]]; break;
                case 24: pixel = 0xFF000000u | (uint32_t{row[x * 3 + 2]} << 16) | (uint32_t{row[x * 3 + 1]} << 8) | row[x * 3]; break;
                default: {
                    const uint32_t v = bpp == 16 ? (row[x * 2] | (uint32_t{row[x * 2 + 1]} << 8))
                                                 : (row[x * 4] | (uint32_t{row[x * 4 + 1]} << 8) |
                                                    (uint32_t{row[x * 4 + 2]} << 16) | (uint32_t{row[x * 4 + 3]} << 24));
                    const uint8_t a = alpha.mask ? alpha.Extract(v) : 255;
                    anyAlpha = anyAlpha || (alpha.mask && a != 0);
                    pixel = (uint32_t{a} << 24) | (uint32_t{red.Extract(v)} << 16) |
                            (uint32_t{green.Extract(v)} << 8) | blue.Extract(v);
                }
            }
            target[x] = pixel;  // straight alpha for now
        }
    }
    const bool straightAlpha = alpha.mask && anyAlpha;
    for (int32_t y = 0; y < height; ++y) {
        uint32_t* row = bitmap.row(y);
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t p = row[x];
            row[x] = straightAlpha ? gfx::PremultipliedPixel(gfx::AlphaOf(p), gfx::RedOf(p), gfx::GreenOf(p), gfx::BlueOf(p))
                                   : (p | 0xFF000000u);
        }
    }
    out = std::move(bitmap);
    return true;
}

}  // namespace vexlo::image
