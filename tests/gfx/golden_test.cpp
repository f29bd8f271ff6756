#include "platform/gfx/golden.h"

#include "platform/image/png_codec.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

namespace vexlo::gfx {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for one scope and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedEnv() {
        if (old_) {
            setenv(name_, old_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// Goldens of this test live in a scratch folder so that the test never touches the tree.
class GoldenTest : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_ = fs::path(testing::TempDir()) / ("golden_test_" + std::to_string(::getpid()));
        fs::create_directories(scratch_);
    }
    void TearDown() override { fs::remove_all(scratch_); }
    static Bitmap Sample() {
        Bitmap b(4, 3);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x) b.set_pixel(x, y, PremultipliedPixel(static_cast<uint8_t>(60 * x + 10), 200, 100, 50));
        return b;
    }
    ScopedEnv noUpdate_{"VEXLO_UPDATE_GOLDENS", nullptr};
    fs::path scratch_;
};

TEST_F(GoldenTest, UpdateWritesGoldenAndCompareThenMatches) {
    const std::string golden = (scratch_ / "sample.png").string();
    {
        ScopedEnv update("VEXLO_UPDATE_GOLDENS", "1");
        ASSERT_TRUE(CompareWithGolden(Sample(), golden));
    }
    const GoldenResult result = CompareWithGolden(Sample(), golden);
    EXPECT_TRUE(result.matched) << result.message;
    EXPECT_TRUE(result.message.empty());
}

TEST_F(GoldenTest, MismatchIsReportedWithActualAndDiffFiles) {
    const std::string golden = (scratch_ / "mismatch.png").string();
    ASSERT_TRUE(WritePngFile(Sample(), golden));
    Bitmap changed = Sample();
    changed.set_pixel(2, 1, PremultipliedPixel(255, 0, 0, 255));
    const std::string buildDir = (scratch_ / "build").string();
    ScopedEnv build("VEXLO_BUILD_DIR", buildDir.c_str());
    const GoldenResult result = CompareWithGolden(changed, golden, 2);
    EXPECT_FALSE(result.matched);
    EXPECT_NE(result.message.find("1 pixel(s)"), std::string::npos) << result.message;
    EXPECT_NE(result.message.find("(2, 1)"), std::string::npos) << result.message;
    ASSERT_FALSE(result.actualPath.empty());
    ASSERT_FALSE(result.diffPath.empty());
    EXPECT_EQ(result.actualPath.rfind(buildDir, 0), 0u);

    Bitmap actual, diff;
    ASSERT_TRUE(image::ReadPngFile(result.actualPath, actual));
    EXPECT_EQ(actual, changed);
    ASSERT_TRUE(image::ReadPngFile(result.diffPath, diff));
    EXPECT_EQ(diff.pixel(2, 1), 0xFFFF0000u);
    EXPECT_NE(diff.pixel(0, 0), 0xFFFF0000u);
}

TEST_F(GoldenTest, ToleranceAcceptsSmallDifferences) {
    const std::string golden = (scratch_ / "tolerance.png").string();
    Bitmap base(2, 1);
    base.set_pixel(0, 0, 0xFF808080u);
    base.set_pixel(1, 0, 0xFF102030u);
    ASSERT_TRUE(WritePngFile(base, golden));
    Bitmap near = base;
    near.set_pixel(0, 0, 0xFF838080u);
    EXPECT_TRUE(CompareWithGolden(near, golden, 3));
    EXPECT_FALSE(CompareWithGolden(near, golden, 2));
}

TEST_F(GoldenTest, MissingGoldenAndSizeMismatchFail) {
    const GoldenResult missing = CompareWithGolden(Sample(), (scratch_ / "absent.png").string());
    EXPECT_FALSE(missing.matched);
    EXPECT_NE(missing.message.find("VEXLO_UPDATE_GOLDENS=1"), std::string::npos);

    const std::string golden = (scratch_ / "size.png").string();
    ASSERT_TRUE(WritePngFile(Bitmap(3, 3), golden));
    const GoldenResult size = CompareWithGolden(Sample(), golden);
    EXPECT_FALSE(size.matched);
    EXPECT_NE(size.message.find("expected 3x3, actual 4x3"), std::string::npos) << size.message;
}

TEST(GoldenPathTest, RelativeNamesResolveUnderTheTestsFolder) {
    ScopedEnv source("VEXLO_SOURCE_DIR", "/src");
    EXPECT_EQ(GoldenFilePath("gfx/golden/a.png"), "/src/tests/gfx/golden/a.png");
    EXPECT_EQ(GoldenFilePath("/abs/b.png"), "/abs/b.png");
}

}  // namespace
}  // namespace vexlo::gfx
