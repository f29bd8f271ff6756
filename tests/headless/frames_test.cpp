// Frame capture: what is kept, how frames are named, and VEXLO_FRAMES files.
#include "platform/headless/harness.h"
#include "platform/image/png_codec.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace vexlo::headless {
namespace {

using namespace win;

TEST(FrameNamesTest, SequencePositionAndSizeMakeTheFileName) {
    struct Case {
        uint64_t sequence;
        const char* name;
        gfx::Rect rect;
        const char* expected;
    };
    const Case cases[] = {
        {1, "update_window", {1722, 958, 1920, 1038}, "0001-update_window-x1722-y958-198x80.png"},
        {12, "w3", {-5, 0, 95, 31}, "0012-w3-x-5-y0-100x31.png"},
        {12345, "", {0, 0, 1, 1}, "12345-window-x0-y0-1x1.png"},
    };
    for (const Case& c : cases) {
        FrameInfo info;
        info.name = c.name;
        info.screenRect = c.rect;
        EXPECT_EQ(HeadlessBackend::FrameFileName(c.sequence, info), c.expected);
    }
}

class FramesDirTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("vexlo-frames-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               std::to_string(reinterpret_cast<uintptr_t>(this)));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::filesystem::path dir;
};

TEST_F(FramesDirTest, EveryPresentedFrameIsWrittenAsANumberedPng) {
    HeadlessConfig config;
    config.framesDir = dir.string();
    HeadlessHarness h(config);
    WindowClass c;
    c.name = u"Frames";
    c.proc = DefWindowProc;
    c.background = 0xFF00FF00;
    RegisterClass(c);
    Window layered = CreateWindowEx(WS_EX_LAYERED | WS_EX_TOOLWINDOW, u"Frames", u"", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                                    Window{}, 0, 0, nullptr);
    SetWindowFrameName(layered, "update_window");
    gfx::Bitmap picture(198, 80);
    picture.set_pixel(3, 4, 0xFF112233);
    const gfx::Point at{1722, 958};
    const gfx::Size size{198, 80};
    const BlendFunction blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(UpdateLayeredWindow(layered, &at, &size, &picture, nullptr, 0, &blend, ULW_ALPHA));
    Window painted = CreateWindowEx(0, u"Frames", u"", WS_POPUP | WS_VISIBLE, 5, 6, 7, 8, Window{}, 0, 0, nullptr);
    h.Pump();  // its first paint

    std::set<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) files.insert(entry.path().filename().string());
    const std::string paintName = "0002-w" + std::to_string(painted.slot() + 1) + "-x5-y6-7x8.png";
    EXPECT_EQ(files, (std::set<std::string>{"0001-update_window-x1722-y958-198x80.png", paintName}));
    gfx::Bitmap read;
    ASSERT_TRUE(image::ReadPngFile((dir / "0001-update_window-x1722-y958-198x80.png").string(), read));
    EXPECT_EQ(read, picture);
    ASSERT_TRUE(image::ReadPngFile((dir / paintName).string(), read));
    EXPECT_EQ(read.pixel(6, 7), 0xFF00FF00u);
    EXPECT_EQ(h.Frames().size(), 2u);  // and kept for the test as well
}

}  // namespace
}  // namespace vexlo::headless
