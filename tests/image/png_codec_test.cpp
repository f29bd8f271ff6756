#include "platform/image/png_codec.h"

#include <gtest/gtest.h>

namespace vexlo::image {
namespace {

gfx::Bitmap Gradient(int w, int h) {
    gfx::Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.set_pixel(x, y, gfx::PremultipliedPixel(static_cast<uint8_t>((x * 37 + y * 11) & 0xFF),
                                                      static_cast<uint8_t>(x * 9), static_cast<uint8_t>(y * 7), 200));
    return b;
}

TEST(PngCodecTest, PremultipliedPixelsSurviveEncodeAndDecode) {
    const gfx::Bitmap original = Gradient(29, 13);
    std::string bytes;
    ASSERT_TRUE(EncodePng(original, bytes));
    EXPECT_TRUE(IsPngSignature(bytes));
    gfx::Bitmap decoded;
    ASSERT_TRUE(DecodePng(bytes, decoded));
    EXPECT_EQ(decoded, original);
}

TEST(PngCodecTest, CorruptTruncatedAndOversizedDataAreRefused) {
    std::string bytes;
    ASSERT_TRUE(EncodePng(Gradient(64, 64), bytes));
    gfx::Bitmap out(1, 1);
    EXPECT_FALSE(DecodePng(std::string_view(bytes).substr(0, bytes.size() / 2), out));
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(DecodePng("", out));
    EXPECT_FALSE(DecodePng("\x89PNG\r\n\x1a\n garbage", out));
    std::string flipped = bytes;
    flipped[40] = static_cast<char>(flipped[40] ^ 0x5A);  // inside the image data: CRC fails
    EXPECT_FALSE(DecodePng(flipped, out));

    DecodeLimits small;
    small.maxWidth = 63;
    EXPECT_FALSE(DecodePng(bytes, out, small));
    small = DecodeLimits{};
    small.maxTotalBytes = 64 * 64 * 4 - 1;
    EXPECT_FALSE(DecodePng(bytes, out, small));
    EXPECT_TRUE(DecodePng(bytes, out));
}

TEST(PngCodecTest, EmptyBitmapIsNotEncoded) {
    std::string bytes = "x";
    EXPECT_FALSE(EncodePng(gfx::Bitmap(), bytes));
    EXPECT_TRUE(bytes.empty());
}

}  // namespace
}  // namespace vexlo::image
