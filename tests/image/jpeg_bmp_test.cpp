#include "platform/image/image_decoder.h"
#include "platform/image/png_codec.h"
#include "tests/image/sample_files.h"

#include <gtest/gtest.h>


namespace vexlo::image {
namespace {

using testing::BmpWriter;
using testing::Bytes;
using testing::EncodeJpeg;

TEST(JpegTest, DecodesColourAndGreyOpaque) {
    for (int components : {3, 1}) {
        for (bool progressive : {false, true}) {
            gfx::Bitmap b;
            ASSERT_TRUE(DecodeJpeg(EncodeJpeg(24, 17, components, progressive), b));
            ASSERT_EQ(b.width(), 24);
            ASSERT_EQ(b.height(), 17);
            const uint32_t p = b.pixel(12, 8);
            EXPECT_EQ(gfx::AlphaOf(p), 255);
            EXPECT_NEAR(gfx::RedOf(p), 200, 4);
            EXPECT_NEAR(gfx::GreenOf(p), components == 1 ? 200 : 60, 4);
        }
    }
}

TEST(JpegTest, TruncatedCorruptAndOversizedAreRefused) {
    const std::string bytes = EncodeJpeg(64, 48, 3);
    gfx::Bitmap b;
    for (size_t n : {size_t{0}, size_t{3}, size_t{100}, bytes.size() / 2, bytes.size() - 2}) {
        EXPECT_FALSE(DecodeJpeg(std::string_view(bytes).substr(0, n), b)) << n;
        EXPECT_TRUE(b.empty());
    }
    // An end-of-image marker in the middle of the scan data.
    std::string corrupt = bytes;
    const size_t scan = corrupt.find("\xFF\xDA");
    ASSERT_NE(scan, std::string::npos);
    const size_t middle = scan + (corrupt.size() - scan) / 2;
    corrupt[middle] = '\xFF';
    corrupt[middle + 1] = '\xD9';
    EXPECT_FALSE(DecodeJpeg(corrupt, b));
    DecodeLimits small;
    small.maxHeight = 47;
    EXPECT_FALSE(DecodeJpeg(bytes, b, small));
    DecodeLimits littleMemory;
    littleMemory.maxTotalBytes = 1000;
    EXPECT_FALSE(DecodeJpeg(EncodeJpeg(64, 48, 3, true), b, littleMemory));
    EXPECT_TRUE(DecodeJpeg(bytes, b));
}

TEST(BmpTest, ReadsTheCommonLayouts) {
    struct Case {
        const char* name;
        std::string file;
        uint32_t topLeft, topRight, bottomLeft;
    };
    // 2 by 2 images; bottom-up unless the height is negative.
    const Case cases[] = {
        {"24-bit bottom-up",
         BmpWriter::Make(2, 2, 24, 0, "", Bytes({0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0})),
         0xFF0000FFu, 0xFF000000u, 0xFFFF0000u},
        {"24-bit top-down",
         BmpWriter::Make(2, -2, 24, 0, "", Bytes({0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0})),
         0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu},
        {"32-bit without alpha is opaque",
         BmpWriter::Make(2, -2, 32, 0, "", Bytes({1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 0})),
         0xFF030201u, 0xFF060504u, 0xFF090807u},
        {"32-bit with alpha is premultiplied",
         BmpWriter::Make(2, -2, 32, 0, "", Bytes({0, 0, 255, 128, 255, 255, 255, 0, 0, 0, 0, 255, 0, 0, 0, 255})),
         0x80800000u, 0x00000000u, 0xFF000000u},
        {"32-bit bit fields",
         BmpWriter::Make(1, -1, 32, 3, Bytes({0, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0}), Bytes({0x11, 0x22, 0x33, 0x44})),
         0xFF443322u, 0, 0},
        {"16-bit 5-5-5",
         BmpWriter::Make(1, -1, 16, 0, "", Bytes({0x1F, 0x7C, 0, 0})), 0xFFFF00FFu, 0, 0},
        {"8-bit palette with an index past the table",
         BmpWriter::Make(2, -2, 8, 0, Bytes({255, 0, 0, 0, 0, 255, 0, 0}), Bytes({0, 1, 0, 0, 7, 0, 0, 0}), 40, 2),
         0xFF0000FFu, 0xFF00FF00u, 0xFF000000u},
        {"1-bit", BmpWriter::Make(2, -2, 1, 0, Bytes({0, 0, 0, 0, 255, 255, 255, 0}), Bytes({0x40, 0, 0, 0, 0x80, 0, 0, 0})),
         0xFF000000u, 0xFFFFFFFFu, 0xFFFFFFFFu},
        {"4-bit with a V5 header",
         BmpWriter::Make(2, -1, 4, 0, std::string(64, '\0').replace(4, 4, Bytes({0, 0, 255, 0})), Bytes({0x01, 0, 0, 0}), 40, 16),
         0xFF000000u, 0xFFFF0000u, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DecodedImage image;
        ASSERT_TRUE(DecodeImage(c.file, image));
        const gfx::Bitmap& b = image.frames.at(0).bitmap;
        EXPECT_EQ(b.pixel(0, 0), c.topLeft);
        if (b.width() > 1) {
            EXPECT_EQ(b.pixel(1, 0), c.topRight);
        }
        if (b.height() > 1) {
            EXPECT_EQ(b.pixel(0, 1), c.bottomLeft);
        }
    }
}

TEST(BmpTest, RefusesWhatItCannotReadSafely) {
    const std::string good = BmpWriter::Make(3, 3, 24, 0, "", std::string(36, '\x7F'));
    gfx::Bitmap b;
    ASSERT_TRUE(DecodeBmp(good, b));
    for (size_t n = 0; n < good.size(); ++n) EXPECT_FALSE(DecodeBmp(std::string_view(good).substr(0, n), b)) << n;
    struct Case {
        const char* name;
        std::string file;
    };
    const Case cases[] = {
        {"run-length", BmpWriter::Make(3, 3, 8, 1, std::string(1024, '\0'), std::string(36, '\0'))},
        {"jpeg inside", BmpWriter::Make(3, 3, 24, 4, "", std::string(36, '\0'))},
        {"odd depth", BmpWriter::Make(3, 3, 7, 0, "", std::string(36, '\0'))},
        {"zero width", BmpWriter::Make(0, 3, 24, 0, "", std::string(36, '\0'))},
        {"huge", BmpWriter::Make(100000, 100000, 24, 0, "", std::string(36, '\0'))},
        {"most negative height", BmpWriter::Make(3, INT32_MIN, 24, 0, "", std::string(36, '\0'))},
        {"short palette", BmpWriter::Make(3, 3, 8, 0, "", "")},
        {"small header", BmpWriter::Make(3, 3, 24, 0, "", std::string(36, '\0'), 12)},
    };
    for (const Case& c : cases) EXPECT_FALSE(DecodeBmp(c.file, b)) << c.name;
}

TEST(ImageDecoderTest, SniffsFormatsAndRefusesTheRest) {
    gfx::Bitmap png(2, 2);
    png.set_pixel(1, 1, 0x80402010u);
    std::string pngBytes;
    ASSERT_TRUE(EncodePng(png, pngBytes));
    EXPECT_EQ(SniffImageFormat(pngBytes), ImageFormat::kPng);
    EXPECT_EQ(SniffImageFormat(EncodeJpeg(2, 2, 3)), ImageFormat::kJpeg);
    EXPECT_EQ(SniffImageFormat("GIF89a...."), ImageFormat::kGif);
    EXPECT_EQ(SniffImageFormat("BM"), ImageFormat::kBmp);
    EXPECT_EQ(SniffImageFormat("<svg/>"), ImageFormat::kUnknown);
    DecodedImage image;
    ASSERT_TRUE(DecodeImage(pngBytes, image));
    EXPECT_EQ(image.frames.at(0).bitmap, png);
    EXPECT_EQ(image.frames.at(0).delayMs, 0);
    EXPECT_FALSE(DecodeImage("<svg/>", image));
    EXPECT_TRUE(image.frames.empty());
    EXPECT_FALSE(DecodeImage("", image));
}

}  // namespace
}  // namespace vexlo::image
