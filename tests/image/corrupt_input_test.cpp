// Random damage to valid files of every format: decoding must fail cleanly or give a
// well-formed image, never crash or read out of bounds (run under the sanitizers).
#include "platform/image/image_decoder.h"
#include "platform/image/png_codec.h"
#include "tests/image/gif_builder.h"
#include "tests/image/sample_files.h"

#include <gtest/gtest.h>

#include <random>

namespace vexlo::image {
namespace {

void ExpectWellFormed(const DecodedImage& image, bool decoded) {
    if (!decoded) {
        EXPECT_TRUE(image.frames.empty());
        return;
    }
    ASSERT_FALSE(image.frames.empty());
    for (const ImageFrame& f : image.frames) {
        EXPECT_FALSE(f.bitmap.empty());
        EXPECT_EQ(f.bitmap.width(), image.width());
        EXPECT_EQ(f.bitmap.height(), image.height());
        EXPECT_GE(f.delayMs, 0);
    }
}

TEST(CorruptInputTest, RandomDamageIsRefusedOrDecodedSafely) {
    gfx::Bitmap picture(12, 9);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 12; ++x) picture.set_pixel(x, y, gfx::PremultipliedPixel(uint8_t(x * 20), 200, uint8_t(y * 25), 9));
    std::string png;
    ASSERT_TRUE(EncodePng(picture, png));
    testing::GifFrameInput frame = testing::Solid(0, 0, 6, 6, 1);
    for (size_t i = 0; i < frame.indices.size(); ++i) frame.indices[i] = static_cast<uint8_t>(i % 4);
    const std::string gif = testing::BuildGif(8, 8, {frame, testing::Solid(2, 2, 6, 6, 3), frame});
    const std::string jpeg = testing::EncodeJpeg(16, 16, 3, true);
    const std::string bmp =
        testing::BmpWriter::Make(3, 2, 8, 0, std::string(16, '\x40'), testing::Bytes({0, 1, 2, 0, 3, 2, 1, 0}), 40, 4);

    std::mt19937 random(2024);
    for (const std::string* original : std::initializer_list<const std::string*>{&png, &gif, &jpeg, &bmp}) {
        for (int round = 0; round < 300; ++round) {
            std::string damaged = *original;
            const int edits = 1 + static_cast<int>(random() % 4);
            for (int e = 0; e < edits; ++e) {
                const size_t at = random() % damaged.size();
                switch (random() % 3) {
                    case 0: damaged[at] = static_cast<char>(random()); break;
                    case 1: damaged[at] = static_cast<char>(damaged[at] ^ (1 << (random() % 8))); break;
                    default: damaged.resize(std::max<size_t>(at, 1)); break;
                }
            }
            DecodedImage image;
            const bool decoded = DecodeImage(damaged, image);
            ExpectWellFormed(image, decoded);
        }
    }
}

}  // namespace
}  // namespace vexlo::image
