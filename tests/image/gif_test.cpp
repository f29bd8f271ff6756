#include "platform/image/image_decoder.h"
#include "tests/image/gif_builder.h"

#include <gtest/gtest.h>

namespace vexlo::image {
namespace {

using testing::BuildGif;
using testing::GifFrameInput;
using testing::Solid;

constexpr uint32_t kBlack = 0xFF000000u, kRed = 0xFFFF0000u, kGreen = 0xFF00FF00u, kBlue = 0xFF0000FFu;

TEST(GifTest, ThreeFramesWithTheirDelays) {
    std::vector<GifFrameInput> frames = {Solid(0, 0, 4, 4, 1), Solid(0, 0, 4, 4, 2), Solid(0, 0, 4, 4, 3)};
    for (auto& f : frames) f.delayHundredths = 10;
    frames[2].delayHundredths = 7;
    DecodedImage image;
    ASSERT_TRUE(DecodeImage(BuildGif(4, 4, frames), image));
    ASSERT_EQ(image.frames.size(), 3u);
    EXPECT_EQ(image.frames[0].delayMs, 100);
    EXPECT_EQ(image.frames[1].delayMs, 100);
    EXPECT_EQ(image.frames[2].delayMs, 70);
    EXPECT_EQ(image.frames[0].bitmap.pixel(3, 3), kRed);
    EXPECT_EQ(image.frames[1].bitmap.pixel(0, 0), kGreen);
    EXPECT_EQ(image.frames[2].bitmap.pixel(2, 1), kBlue);
    EXPECT_EQ(image.width(), 4);
    EXPECT_EQ(image.height(), 4);
}

TEST(GifTest, DisposalAndTransparencyComposeTheFrames) {
    // Frame 0 fills the screen red. Frame 1 puts green in the corner and is then
    // restored to the background; frame 2 puts blue in the opposite corner and is then
    // restored to what was before it; frame 3 has a transparent hole.
    GifFrameInput f0 = Solid(0, 0, 4, 4, 1);
    GifFrameInput f1 = Solid(0, 0, 2, 2, 2);
    f1.disposal = DISPOSE_BACKGROUND;
    GifFrameInput f2 = Solid(2, 2, 2, 2, 3);
    f2.disposal = DISPOSE_PREVIOUS;
    GifFrameInput f3 = Solid(1, 1, 2, 2, 0);
    f3.transparentIndex = 0;
    f3.indices = {0, 3, 3, 0};
    DecodedImage image;
    ASSERT_TRUE(DecodeGif(BuildGif(4, 4, {f0, f1, f2, f3}), image));
    ASSERT_EQ(image.frames.size(), 4u);
    const auto& b1 = image.frames[1].bitmap;
    EXPECT_EQ(b1.pixel(0, 0), kGreen);
    EXPECT_EQ(b1.pixel(3, 3), kRed);
    const auto& b2 = image.frames[2].bitmap;
    EXPECT_EQ(b2.pixel(0, 0), 0u);  // cleared to transparent after frame 1
    EXPECT_EQ(b2.pixel(3, 3), kBlue);
    EXPECT_EQ(b2.pixel(2, 0), kRed);
    const auto& b3 = image.frames[3].bitmap;
    EXPECT_EQ(b3.pixel(3, 3), kRed);  // frame 2 undone
    EXPECT_EQ(b3.pixel(0, 0), 0u);
    EXPECT_EQ(b3.pixel(1, 1), 0u);  // transparent index keeps what was there
    EXPECT_EQ(b3.pixel(2, 1), kBlue);
    EXPECT_EQ(b3.pixel(2, 2), kRed);
}

TEST(GifTest, InterlacedRowsLandInPlaceAndFramesAreCutAtTheScreen) {
    GifFrameInput f = Solid(0, 0, 3, 10, 0);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 3; ++x) f.indices[y * 3 + x] = static_cast<uint8_t>(y % 4);
    f.interlaced = true;
    GifFrameInput outside = Solid(2, 8, 4, 4, 1);  // reaches past the 3 by 10 screen
    DecodedImage image;
    ASSERT_TRUE(DecodeGif(BuildGif(3, 10, {f, outside}), image));
    const uint32_t byIndex[] = {kBlack, kRed, kGreen, kBlue};
    for (int y = 0; y < 10; ++y) EXPECT_EQ(image.frames[0].bitmap.pixel(1, y), byIndex[y % 4]) << y;
    EXPECT_EQ(image.frames[1].bitmap.pixel(2, 9), kRed);
    EXPECT_EQ(image.frames[1].bitmap.width(), 3);
}

TEST(GifTest, CapsCorruptionAndTruncation) {
    std::vector<GifFrameInput> many(5, Solid(0, 0, 8, 8, 1));
    const std::string bytes = BuildGif(8, 8, many);
    DecodedImage image;
    DecodeLimits fewFrames;
    fewFrames.maxFrames = 4;
    EXPECT_FALSE(DecodeGif(bytes, image, fewFrames));
    DecodeLimits fewBytes;
    fewBytes.maxTotalBytes = 8 * 8 * 4 * 4;
    EXPECT_FALSE(DecodeGif(bytes, image, fewBytes));
    DecodeLimits narrow;
    narrow.maxWidth = 7;
    EXPECT_FALSE(DecodeGif(bytes, image, narrow));
    EXPECT_TRUE(DecodeGif(bytes, image));
    EXPECT_EQ(image.frames.size(), 5u);

    // Every cut inside a frame is refused; a cut that loses only the trailer is not.
    for (size_t n = 0; n + 1 < bytes.size(); ++n) {
        DecodedImage partial;
        if (DecodeGif(std::string_view(bytes).substr(0, n), partial)) {
            EXPECT_FALSE(partial.frames.empty());
            for (const auto& f : partial.frames) EXPECT_EQ(f.bitmap.width(), 8);
        } else {
            EXPECT_TRUE(partial.frames.empty());
        }
    }
    // A header that declares a huge screen is refused before anything is allocated.
    std::string huge = BuildGif(4, 4, {Solid(0, 0, 4, 4, 1)});
    huge[6] = huge[7] = huge[8] = huge[9] = '\xFF';
    EXPECT_FALSE(DecodeGif(huge, image));
    EXPECT_TRUE(image.frames.empty());
}

}  // namespace
}  // namespace vexlo::image
