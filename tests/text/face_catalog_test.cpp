#include "platform/text/face_catalog.h"
#include "platform/text/font.h"
#include "platform/text/text_layout.h"

#include <gtest/gtest.h>

namespace vexlo::text {
namespace {

const std::string kFonts = "/usr/share/fonts/truetype/";

FaceEntry Entry(std::vector<WString> families, std::string file, int weight = 400, bool italic = false,
                int width = 100) {
    return FaceEntry{std::move(families), kFonts + file, 0, weight, italic, width, true};
}

// A small, fixed catalog: the faces every test machine has (tools/install-deps.sh).
FaceCatalog TestCatalog(bool withCjk = true) {
    std::vector<FaceEntry> entries = {
        Entry({u"DejaVu Sans", u"DejaVu Sans Condensed"}, "dejavu/DejaVuSansCondensed.ttf", 400, false, 87),
        Entry({u"DejaVu Sans", u"DejaVu Sans Light"}, "dejavu/DejaVuSans-ExtraLight.ttf", 200),
        Entry({u"DejaVu Sans"}, "dejavu/DejaVuSans.ttf"),
        Entry({u"DejaVu Sans"}, "dejavu/DejaVuSans-Bold.ttf", 700),
        Entry({u"DejaVu Sans"}, "dejavu/DejaVuSans-Oblique.ttf", 400, true),
        Entry({u"DejaVu Sans Mono"}, "dejavu/DejaVuSansMono.ttf"),
    };
    if (withCjk) entries.push_back(Entry({u"WenQuanYi Micro Hei", u"文泉驿微米黑"}, "wqy/wqy-microhei.ttc"));
    return FaceCatalog(std::move(entries));
}

TEST(FaceCatalogTest, RequestedFacesResolveToInstalledSubstitutes) {
    const FaceCatalog catalog = TestCatalog();
    struct Case {
        std::u16string requested;
        std::u16string family;
        std::string file;
    };
    const Case cases[] = {
        {u"微软雅黑", u"WenQuanYi Micro Hei", "wqy-microhei.ttc"},
        {u"宋体", u"WenQuanYi Micro Hei", "wqy-microhei.ttc"},
        {u"某种中文字体", u"WenQuanYi Micro Hei", "wqy-microhei.ttc"},
        {u"Tahoma", u"DejaVu Sans", "DejaVuSans.ttf"},
        {u"arial", u"DejaVu Sans", "DejaVuSans.ttf"},
        {u"Courier New", u"DejaVu Sans Mono", "DejaVuSansMono.ttf"},
        {u"No Such Face", u"DejaVu Sans", "DejaVuSans.ttf"},
        {u"", u"DejaVu Sans", "DejaVuSans.ttf"},
        {u"dejavu sans mono", u"dejavu sans mono", "DejaVuSansMono.ttf"},  // installed: used as asked
        {u"文泉驿微米黑", u"文泉驿微米黑", "wqy-microhei.ttc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(platform::WideToUtf8(c.requested));
        const auto match = catalog.Resolve(c.requested, 400, false);
        ASSERT_TRUE(match);
        EXPECT_EQ(match->family, c.family);
        EXPECT_TRUE(match->entry->file.ends_with("/" + c.file)) << match->entry->file;
        EXPECT_FALSE(match->synthesizeBold);
        EXPECT_FALSE(match->synthesizeItalic);
    }
}

TEST(FaceCatalogTest, CjkCharacterSetsTurnUnknownNamesToCjkFaces) {
    const FaceCatalog catalog = TestCatalog();
    EXPECT_EQ(catalog.Resolve(u"", 400, false, true)->family, u"WenQuanYi Micro Hei");
    EXPECT_EQ(catalog.Resolve(u"Some Latin Name", 400, false, true)->family, u"WenQuanYi Micro Hei");
    EXPECT_EQ(catalog.Resolve(u"Tahoma", 400, false, true)->family, u"DejaVu Sans");  // known: kept
    EXPECT_EQ(catalog.Resolve(u"DejaVu Sans Mono", 400, false, true)->family, u"DejaVu Sans Mono");
    ScopedFaceCatalog scoped{TestCatalog()};
    EXPECT_EQ(Font::Create(FontRequest{u"", -12, 400, false, false, false, kGb2312CharSet})->resolvedFamily(),
              u"WenQuanYi Micro Hei");
    EXPECT_EQ(Font::Create(FontRequest{u"", -12})->resolvedFamily(), u"DejaVu Sans");
}

TEST(FaceCatalogTest, StylesPickTheirFileOrAreSynthesised) {
    const FaceCatalog catalog = TestCatalog();
    const auto bold = catalog.Resolve(u"Arial", 700, false);
    ASSERT_TRUE(bold);
    EXPECT_TRUE(bold->entry->file.ends_with("DejaVuSans-Bold.ttf"));
    EXPECT_FALSE(bold->synthesizeBold);
    const auto italic = catalog.Resolve(u"Arial", 400, true);
    EXPECT_TRUE(italic->entry->file.ends_with("DejaVuSans-Oblique.ttf"));
    const auto boldItalic = catalog.Resolve(u"Arial", 700, true);
    EXPECT_TRUE(boldItalic->synthesizeBold != boldItalic->synthesizeItalic);  // one of the two files, one synthesised
    const auto cjkBold = catalog.Resolve(u"微软雅黑", 700, true);
    EXPECT_TRUE(cjkBold->synthesizeBold);
    EXPECT_TRUE(cjkBold->synthesizeItalic);
    EXPECT_FALSE(catalog.Resolve(u"微软雅黑", 599, false)->synthesizeBold);
}

TEST(FaceCatalogTest, MissingKindsFallBackAndAnEmptyCatalogGivesNothing) {
    const FaceCatalog latinOnly = TestCatalog(false);
    EXPECT_EQ(latinOnly.Resolve(u"微软雅黑", 400, false)->family, u"DejaVu Sans");
    ASSERT_EQ(latinOnly.Fallbacks(400, false).size(), 1u);
    EXPECT_EQ(TestCatalog().Fallbacks(400, false).size(), 2u);
    EXPECT_FALSE(FaceCatalog().Resolve(u"Arial", 400, false));
}

TEST(FaceCatalogTest, ScopedCatalogReplacesTheInstalledFacesList) {
    const bool systemHasYaHei = FaceExists(u"微软雅黑");
    {
        std::vector<FaceEntry> entries = {Entry({u"微软雅黑"}, "wqy/wqy-microhei.ttc")};
        ScopedFaceCatalog scoped{FaceCatalog(std::move(entries))};
        EXPECT_TRUE(FaceExists(u"微软雅黑"));
        EXPECT_TRUE(AnyFaceNameContains(u"雅黑"));
        EXPECT_FALSE(FaceExists(u"DejaVu Sans"));
        EXPECT_EQ(InstalledFaces()->FamilyNames(), std::vector<WString>{u"微软雅黑"});
        // Fonts made now use the replaced list.
        EXPECT_EQ(Font::Create(FontRequest{u"微软雅黑", -12})->resolvedFamily(), u"微软雅黑");
    }
    EXPECT_EQ(FaceExists(u"微软雅黑"), systemHasYaHei);
    EXPECT_NE(Font::Create(FontRequest{u"微软雅黑", -12})->resolvedFamily(), u"微软雅黑");
}

TEST(FaceCatalogTest, SystemCatalogHasTheInstalledFaces) {
    const auto catalog = InstalledFaces();
    EXPECT_TRUE(catalog->HasFamily(u"DejaVu Sans"));
    EXPECT_TRUE(catalog->HasFamily(u"WenQuanYi Micro Hei"));
    // The regular upright face, not a condensed or light one of the same family.
    const auto match = catalog->Resolve(u"Tahoma", 400, false);
    ASSERT_TRUE(match);
    EXPECT_TRUE(match->entry->file.ends_with("/DejaVuSans.ttf")) << match->entry->file;
}

}  // namespace
}  // namespace vexlo::text
