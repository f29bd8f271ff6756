#include <gtest/gtest.h>

#include "platform/base/debug_output.h"
#include "platform/image/png_codec.h"
#include "tests/image/gif_builder.h"
#include "ui/core/font_resource.h"
#include "ui/core/image_resource.h"
#include "ui/core/image_style.h"
#include "ui/core/library.h"
#include "ui/core/region_resource.h"
#include "ui/core/res_manager.h"
#include "ui/core/style_group.h"
#include "ui/core/text_style.h"

namespace vexlo::ui {
namespace {

class Resources : public ::testing::Test {
protected:
    void SetUp() override { InitUILibrary(); }
    void TearDown() override { UninitUILibrary(); }

    template <class T>
    T* Add(const char16_t* name, int kind) {
        ObjectPtr<duResBase> r = manager.CreateResObj(name, kind);
        T* raw = static_cast<T*>(r.get());
        EXPECT_EQ(manager.AddResObj(r), 1);
        return raw;
    }

    duResManager manager;
};

TEST_F(Resources, NameTablesAreExactPerKindAndRenamingKeepsThemConsistent) {
    Add<duFont>(u"b", kResFont);
    Add<duFont>(u"a", kResFont);
    Add<duImage>(u"a", kResImage);
    EXPECT_EQ(manager.GetResObjCount(kResFont), 2);
    EXPECT_EQ(std::u16string_view(manager.GetResObjByIndex(0, kResFont)->GetName()), u"a") << "name order";
    EXPECT_EQ(manager.GetResObjByIndex(2, kResFont), nullptr);
    EXPECT_EQ(manager.GetResObjByIndex(-1, kResFont), nullptr);
    EXPECT_EQ(manager.GetResObj(u"A", kResFont), nullptr);

    platform::DebugOutputCapture capture;
    ObjectPtr<duResBase> dup = manager.CreateResObj(u"a", kResFont);
    EXPECT_EQ(manager.AddResObj(dup), 0);
    EXPECT_TRUE(dup) << "a refused resource stays with the caller";
    ASSERT_EQ(capture.Messages().size(), 1u);
    EXPECT_TRUE(capture.Messages()[0].ends_with(u"]AddResObj [a] failed\n"));

    EXPECT_EQ(manager.ChangeResObjName(u"a", kResFont, u"b"), 0) << "the new name is taken";
    EXPECT_EQ(manager.ChangeResObjName(u"missing", kResFont, u"c"), 0);
    duResBase* a = manager.GetResObj(u"a", kResFont);
    EXPECT_EQ(manager.ChangeResObjName(u"a", kResFont, u"c"), 1);
    EXPECT_EQ(manager.GetResObj(u"c", kResFont), a);
    EXPECT_EQ(std::u16string_view(a->GetName()), u"c");
    EXPECT_EQ(manager.GetResObj(u"a", kResFont), nullptr);
    EXPECT_TRUE(manager.GetResObj(u"a", kResImage)) << "other kinds are untouched";

    ObjectPtr<duResBase> taken = manager.RemoveResObj(u"c", kResFont);
    EXPECT_EQ(taken.get(), a);
    EXPECT_EQ(manager.DeleteResObj(u"b", kResFont), 1);
    EXPECT_EQ(manager.DeleteResObj(u"b", kResFont), 0);
    EXPECT_EQ(manager.GetResObjCount(kResFont), 0);

    EXPECT_FALSE(manager.CreateResObj(nullptr, kResFont));
    for (int kind : {0, 6, -1}) {
        EXPECT_FALSE(manager.CreateResObj(u"x", kind));
        EXPECT_EQ(manager.GetResObjCount(kind), 0);
    }
}

TEST_F(Resources, StyleGroupClonesAreDeepAndUnregistered) {
    auto* group = Add<duStyleGroup>(u"g", kResStyleGroup);
    auto image = manager.CreateStyle(kStyleImage);
    static_cast<duImageStyle&>(*image).SetPicFile(u"pic");
    image->SetLeft(-4);
    group->AddStyle(std::move(image));
    group->AddStyle(manager.CreateStyle(kStyleText));
    EXPECT_FALSE(manager.CreateStyle(5));
    EXPECT_FALSE(manager.CloneStyleGroup(group, u""));
    EXPECT_FALSE(manager.CloneStyleGroup(nullptr, u"x"));
    ObjectPtr<duStyleGroup> clone = manager.CloneStyleGroup(group, u"copy");
    ASSERT_TRUE(clone);
    EXPECT_EQ(manager.GetResObj(u"copy", kResStyleGroup), nullptr);
    ASSERT_EQ(clone->GetStyleCount(), 2);
    auto* copied = dynamic_cast<duImageStyle*>(clone->GetStyleAt(0));
    ASSERT_TRUE(copied);
    EXPECT_NE(copied, group->GetStyleAt(0));
    EXPECT_EQ(std::u16string_view(copied->GetPicFile()), u"pic");
    EXPECT_EQ(copied->GetLeft(), -4);
    EXPECT_EQ(copied->resManager(), &manager);
    EXPECT_EQ(clone->GetStyleAt(1)->GetStyleType(), kStyleText);
}

TEST_F(Resources, RoundedRegionsCoverTheWindowSize) {
    auto* corner = Add<duRgn>(u"corner", kResRegion);
    corner->SetRgnType(u"RoundRect");
    corner->SetRoundX(15);
    corner->SetRoundY(15);
    auto r = corner->GetRegion(198, 80);
    ASSERT_TRUE(r);
    EXPECT_EQ(r->Bounds(), (gfx::Rect{0, 0, 198, 80}));
    EXPECT_FALSE(r->Contains(0, 0));
    EXPECT_FALSE(r->Contains(197, 79));
    EXPECT_TRUE(r->Contains(99, 0));
    EXPECT_TRUE(r->Contains(7, 7));
    EXPECT_EQ(*r, gfx::Region::RoundRect({0, 0, 199, 81}, 15, 15));

    corner->SetRgnType(u"halfroundrect");
    auto half = corner->GetRegion(198, 80);
    ASSERT_TRUE(half);
    EXPECT_FALSE(half->Contains(0, 0)) << "the top corners stay round";
    EXPECT_TRUE(half->Contains(0, 79)) << "the bottom corners are square";
    EXPECT_TRUE(half->Contains(197, 79));

    corner->SetRgnType(u"oval");
    EXPECT_FALSE(corner->GetRegion(10, 10));
}

TEST_F(Resources, StyleRegionsFollowThePictureAlphaAndThePaintMode) {
    // A 6 x 6 picture with a transparent 2-pixel column on the left and one transparent
    // pixel at the bottom right.
    auto* image = Add<duImage>(u"shape", kResImage);
    ASSERT_EQ(image->CreateBlank(6, 6), 1);
    for (int y = 0; y < 6; ++y)
        for (int x = 2; x < 6; ++x) image->GetBits()[y * 6 + x] = 0xFF000000u;
    image->GetBits()[5 * 6 + 5] = 0;
    auto* group = Add<duStyleGroup>(u"shape_style", kResStyleGroup);
    auto text = manager.CreateStyle(kStyleText);
    group->AddStyle(std::move(text));
    auto over = manager.CreateStyle(kStyleImage);
    over->SetState(2);
    group->AddStyle(std::move(over));
    auto style = manager.CreateStyle(kStyleImage);
    auto* imageStyle = static_cast<duImageStyle*>(style.get());
    imageStyle->SetPicFile(u"shape");
    imageStyle->SetPaintMode(u"normal");
    imageStyle->SetState(31);
    group->AddStyle(std::move(style));
    auto* rgn = Add<duRgn>(u"r", kResRegion);
    rgn->SetRgnType(u"style");
    rgn->SetRgnStyle(u"shape_style");

    auto normal = rgn->GetRegion(100, 100);
    ASSERT_TRUE(normal);
    gfx::Region expected(gfx::Rect{2, 0, 6, 6});
    expected.Subtract(gfx::Rect{5, 5, 6, 6});
    EXPECT_EQ(*normal, expected);

    imageStyle->SetPaintMode(u"stretch");
    auto stretched = rgn->GetRegion(12, 12);
    ASSERT_TRUE(stretched);
    EXPECT_EQ(stretched->Bounds(), (gfx::Rect{4, 0, 12, 12}));
    EXPECT_FALSE(stretched->Contains(11, 11));

    // Three-part: rows below the top part move with the stretch, the bottom band keeps its height.
    imageStyle->SetPaintMode(u"stretchvert");
    imageStyle->SetTopPart(1);
    imageStyle->SetBottomPart(1);
    auto tall = rgn->GetRegion(6, 20);
    ASSERT_TRUE(tall);
    EXPECT_EQ(tall->Bounds(), (gfx::Rect{2, 0, 6, 20}));
    EXPECT_TRUE(tall->Contains(5, 18));
    EXPECT_FALSE(tall->Contains(5, 19)) << "the transparent bottom pixel stays at the bottom";

    imageStyle->SetPaintMode(u"tile");
    EXPECT_FALSE(rgn->GetRegion(6, 6));
    rgn->SetRgnStyle(u"none");
    EXPECT_FALSE(rgn->GetRegion(6, 6));
}

TEST(StretchEdge, MovesEdgesInsideTheMiddleBandAndBelowIt) {
    // Base 10 with bands 2 and 3, target 20: the middle 5 rows become 15.
    EXPECT_EQ(StretchEdge(0, 2, 3, 10, 20), 0);
    EXPECT_EQ(StretchEdge(2, 2, 3, 10, 20), 2);
    EXPECT_EQ(StretchEdge(4, 2, 3, 10, 20), 8);
    EXPECT_EQ(StretchEdge(7, 2, 3, 10, 20), 17);
    EXPECT_EQ(StretchEdge(10, 2, 3, 10, 20), 20);
    EXPECT_EQ(StretchEdge(5, 5, 5, 10, 20), 15) << "no middle band: no division by zero";
}

TEST_F(Resources, AnimatedPicturesKeepEveryFrameWithItsDelay) {
    using image::testing::BuildGif;
    using image::testing::Solid;
    std::vector<image::testing::GifFrameInput> frames = {Solid(0, 0, 2, 2, 1), Solid(0, 0, 2, 2, 2),
                                                        Solid(0, 0, 2, 2, 3)};
    for (auto& f : frames) f.delayHundredths = 10;
    const std::string gif = BuildGif(2, 2, frames);
    duImage image;
    ASSERT_EQ(image.LoadFromMemory(reinterpret_cast<const uint8_t*>(gif.data()), gif.size()), 1);
    ASSERT_EQ(image.GetFrameCount(), 3);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(image.GetFrameDelay(i), 100);
    EXPECT_EQ(image.GetFrameBits(0)[0], 0xFFFF0000u);
    EXPECT_EQ(image.GetFrameBits(2)[0], 0xFF0000FFu);
    EXPECT_EQ(image.GetBits()[0], 0xFFFF0000u) << "the first frame is the current picture";
    for (int bad : {-1, 3}) {
        EXPECT_EQ(image.GetFrameBitmap(bad), nullptr);
        EXPECT_EQ(image.GetFrameBits(bad), nullptr);
        EXPECT_EQ(image.GetFrameDelay(bad), 0);
    }

    // A delay list shorter than the frames gives 0 for the rest.
    std::vector<gfx::Bitmap> bitmaps(3, gfx::Bitmap(1, 1));
    image.SetFrames(std::move(bitmaps), {70});
    EXPECT_EQ(image.GetFrameDelay(0), 70);
    EXPECT_EQ(image.GetFrameDelay(2), 0);

    const uint8_t junk[] = {1, 2, 3};
    EXPECT_EQ(image.LoadFromMemory(junk, sizeof junk), 0);
    EXPECT_EQ(image.GetFrameCount(), 0);
    EXPECT_EQ(image.LoadFromMemory(nullptr, 4), 0);
}

TEST(Hsl, ConvertsBothWaysAndWrapsHues) {
    const Rgb colours[] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {14, 151, 230}, {255, 255, 0}, {128, 64, 200},
                           {250, 10, 60}, {1, 2, 3}};
    // One hue step is about six channel values at full saturation, and the way back uses
    // sectors of 42 where the way in uses 42.5.
    for (Rgb c : colours) {
        Rgb back = HslToRgb(RgbToHsl(c));
        EXPECT_NEAR(back.r, c.r, 6) << int(c.r) << "," << int(c.g) << "," << int(c.b);
        EXPECT_NEAR(back.g, c.g, 6);
        EXPECT_NEAR(back.b, c.b, 6);
    }
    EXPECT_EQ(RgbToHsl({90, 90, 90}), (Hsl{170, 0, 90}));
    EXPECT_EQ(RgbToHsl({255, 0, 0}).h, 0);
    EXPECT_EQ(RgbToHsl({0, 255, 0}).h, 85);
    EXPECT_EQ(RgbToHsl({0, 0, 255}).h, 170);
    EXPECT_EQ(ShiftHsl({250, 100, 100}, 10, 0, 0).h, 4);
    EXPECT_EQ(ShiftHsl({5, 100, 100}, -10, 0, 0).h, 251);
    EXPECT_EQ(ShiftHsl({5, 100, 100}, 256, 0, 0).h, 5);
    EXPECT_EQ(ShiftHsl({5, 250, 10}, 0, 100, -100), (Hsl{5, 255, 0}));
    // Hues near the top of the circle are red again, not a colour outside every sector.
    Rgb top = HslToRgb({254, 255, 128});
    EXPECT_GT(top.r, 200);
    EXPECT_LT(top.g, 20);
}

TEST_F(Resources, RecolouringKeepsAlphaAndValidPremultipliedPixels) {
    duImage image;
    ASSERT_EQ(image.CreateBlank(3, 1), 1);
    image.GetBits()[0] = 0xFFFF0000u;                            // opaque red
    image.GetBits()[1] = gfx::PremultipliedPixel(128, 255, 0, 0);  // half-transparent red
    image.GetBits()[2] = 0;
    EXPECT_EQ(image.AdjustHSL(10, 0, 0), 0) << "the table comes first";
    ASSERT_EQ(image.PrepareHSL(), 1);
    ASSERT_EQ(image.AdjustHSL(85, 0, 100), 1);
    for (int i = 0; i < 3; ++i) {
        const uint32_t p = image.GetBits()[i];
        const uint8_t a = gfx::AlphaOf(p);
        EXPECT_LE(gfx::RedOf(p), a);
        EXPECT_LE(gfx::GreenOf(p), a);
        EXPECT_LE(gfx::BlueOf(p), a);
    }
    EXPECT_EQ(gfx::AlphaOf(image.GetBits()[1]), 128);
    EXPECT_EQ(image.GetBits()[2], 0u);
    EXPECT_GT(gfx::GreenOf(image.GetBits()[0]), 200) << "red shifted by a third of the circle is green";
    // The table is kept: a second adjustment starts again from the original colours.
    ASSERT_EQ(image.AdjustHSL(0, 0, 0), 1);
    EXPECT_EQ(gfx::AlphaOf(image.GetBits()[0]), 255);
    EXPECT_EQ(gfx::RedOf(image.GetBits()[0]), 255);
    EXPECT_LE(gfx::GreenOf(image.GetBits()[0]), 1);
}

TEST_F(Resources, GreyAndScaledCopiesAreNewUnregisteredImages) {
    auto* image = Add<duImage>(u"src", kResImage);
    ASSERT_EQ(image->CreateBlank(2, 1), 1);
    image->GetBits()[0] = 0xFF0E97E6u;
    image->GetBits()[1] = gfx::PremultipliedPixel(100, 255, 255, 255);
    ObjectPtr<duImage> grey = image->CreateGrayCopy();
    ASSERT_TRUE(grey);
    EXPECT_EQ(std::u16string_view(grey->GetName()).size(), 100u);
    EXPECT_EQ(manager.GetResObjCount(kResImage), 1);
    const uint32_t g = (0x0E * 306 + 0x97 * 601 + 0xE6 * 117) / 1024;  // red 0E, green 97, blue E6
    EXPECT_EQ(grey->GetBits()[0], 0xFF000000u | g << 16 | g << 8 | g);
    EXPECT_EQ(gfx::AlphaOf(grey->GetBits()[1]), 100);
    EXPECT_EQ(grey->GetBits()[1], gfx::PremultipliedPixel(100, 255, 255, 255));

    ObjectPtr<duImage> scaled = image->CreateScaledCopy(4, 3);
    ASSERT_TRUE(scaled);
    EXPECT_EQ(scaled->GetWidth(), 4);
    EXPECT_EQ(scaled->GetHeight(), 3);
    EXPECT_EQ(duImage().CreateGrayCopy(), nullptr);
    EXPECT_EQ(image->CreateBlank(0, 5), 0);
    EXPECT_EQ(image->GetWidth(), 2) << "a refused size keeps the picture";
}

TEST_F(Resources, FontsReadTheirElementAndCreateTheSystemFont) {
    auto doc = SkinDocument::Parse(u"<font name=\"f\" height=\"13\" weight=\"700\" italic=\"True\" underline=\"no\" "
                                   u"fontface=\"Tahoma\"/>");
    duFont font;
    font.SetUnderline(1);
    font.CreateFromXml(doc->TopLevel(u"font"));
    EXPECT_EQ(font.GetHeight(), 13);
    EXPECT_EQ(font.GetWeight(), 700);
    EXPECT_EQ(font.GetItalic(), 1);
    EXPECT_EQ(font.GetUnderline(), 1) << "only true or false change it";
    ASSERT_TRUE(font.GetHFont());
    EXPECT_EQ(font.GetHFont()->request().height, -13);
    EXPECT_EQ(font.GetHFont()->request().face, u"Tahoma");
    font.SetFontFace(std::u16string(200, u'a').c_str());
    EXPECT_EQ(std::u16string_view(font.GetFontFace()).size(), 127u);
    font.SetFontFace(nullptr);
    EXPECT_EQ(std::u16string_view(font.GetFontFace()), u"");
}

}  // namespace
}  // namespace vexlo::ui

namespace vexlo::ui {
namespace {

// Hands out the same small picture for every name.
class OnePictureSource : public SkinFileSource {
public:
    std::optional<std::vector<uint8_t>> ReadPackageFile(std::u16string_view) override {
        gfx::Bitmap b(4, 4);
        std::string png;
        image::EncodePng(b, png);
        return std::vector<uint8_t>(png.begin(), png.end());
    }
};

TEST(PictureBudget, PicturesBeyondTheSkinsBudgetAreRefusedAndReported) {
    InitUILibrary();
    OnePictureSource source;
    duResManager manager(&source);
    manager.SetPictureBudget(100);  // one 4 x 4 picture is 64 bytes
    auto doc = SkinDocument::Parse(u"<dsimage><image name=\"a\" value=\"x\"/><image name=\"b\" value=\"y\"/></dsimage>");
    platform::DebugOutputCapture capture;
    manager.LoadSection(doc->TopLevel(u"dsimage"), kResImage);
    EXPECT_TRUE(static_cast<duImage*>(manager.GetResObj(u"a", kResImage))->GetHBitmap());
    EXPECT_FALSE(static_cast<duImage*>(manager.GetResObj(u"b", kResImage))->GetHBitmap());
    ASSERT_EQ(capture.Messages().size(), 1u);
    EXPECT_TRUE(capture.Messages()[0].ends_with(u"]failed to loading image[y]\n"));
    UninitUILibrary();
}

}  // namespace
}  // namespace vexlo::ui
