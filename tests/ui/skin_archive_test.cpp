#include <gtest/gtest.h>
#include <zlib.h>

#include "tests/ui/fixtures/skin_fixtures.h"
#include "ui/core/skin_archive.h"

namespace vexlo::ui {
namespace {

using namespace testing;

uint32_t Crc(const Bytes& b) { return static_cast<uint32_t>(crc32(0, b.data(), static_cast<uInt>(b.size()))); }

TEST(SkinArchive, FindsEntriesWithoutCaseAndWithBackslashes) {
    Bytes xml = Utf16File(u"<redudizu/>");
    Bytes png = AsBytes("not really a picture");
    Bytes zip = ZipBuilder().Add("CONFIG.XML", xml).Add("img/Close.png", png, false).Finish();
    auto archive = SkinArchive::Open(zip);
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->entryCount(), 2u);
    EXPECT_EQ(archive->Read(u"config.xml"), xml);
    EXPECT_EQ(archive->Read(u"IMG\\close.PNG"), png);
    EXPECT_EQ(archive->Read(u"close.png"), std::nullopt) << "the folder is part of the name";
    EXPECT_EQ(archive->Read(u"missing"), std::nullopt);
}

TEST(SkinArchive, RefusesEntriesThatDoNotInflateToTheirDeclaredLengthAndChecksum) {
    Bytes payload(1000, 'a');
    Bytes deflated = RawDeflate(payload);
    Bytes zip = ZipBuilder()
                    .AddRaw("good", deflated, Z_DEFLATED, payload.size(), Crc(payload))
                    .AddRaw("badcrc", deflated, Z_DEFLATED, payload.size(), Crc(payload) ^ 1)
                    .AddRaw("longer", deflated, Z_DEFLATED, 10, Crc(Bytes(10, 'a')))
                    .AddRaw("shorter", deflated, Z_DEFLATED, 5000, Crc(payload))
                    .AddRaw("stored-short", AsBytes("abc"), 0, 10, Crc(AsBytes("abc")))
                    .AddRaw("method", AsBytes("abc"), 12, 3, Crc(AsBytes("abc")))
                    .Finish();
    auto archive = SkinArchive::Open(zip);
    ASSERT_TRUE(archive);
    EXPECT_EQ(archive->Read(u"good"), payload);
    for (const char16_t* name : {u"badcrc", u"longer", u"shorter", u"stored-short", u"method"}) {
        EXPECT_EQ(archive->Read(name), std::nullopt) << std::u16string_view(name).size();
    }
}

TEST(SkinArchive, CapsEntrySizesAndThePackageTotal) {
    Bytes big(4096, 'b');
    Bytes zip = ZipBuilder().Add("big", big).Add("small", AsBytes("s")).Finish();
    ArchiveLimits entryCap;
    entryCap.maxEntrySize = 4095;
    auto capped = SkinArchive::Open(zip, entryCap);
    ASSERT_TRUE(capped);
    EXPECT_EQ(capped->Read(u"big"), std::nullopt);
    EXPECT_EQ(capped->Read(u"small"), AsBytes("s"));

    ArchiveLimits totalCap;
    totalCap.maxTotalSize = 4096;
    EXPECT_FALSE(SkinArchive::Open(zip, totalCap)) << "4097 bytes declared in all";

    // A bomb: a small entry that claims to inflate to 4 GiB.
    Bytes bomb = ZipBuilder()
                     .AddRaw("bomb", RawDeflate(big), Z_DEFLATED, uint64_t{4} << 30, Crc(big))
                     .Add("small", AsBytes("s"))
                     .Finish();
    auto bombed = SkinArchive::Open(bomb);
    ASSERT_TRUE(bombed);
    EXPECT_EQ(bombed->Read(u"bomb"), std::nullopt);
    EXPECT_EQ(bombed->Read(u"small"), AsBytes("s"));
}

TEST(SkinArchive, RefusesBytesThatAreNoArchive) {
    EXPECT_FALSE(SkinArchive::Open({}));
    Bytes junk = AsBytes("PK\x05\x06 this is not an archive at all");
    EXPECT_FALSE(SkinArchive::Open(junk));
    Bytes zip = ZipBuilder().Add("a", AsBytes("x")).Finish();
    Bytes truncated(zip.begin(), zip.begin() + zip.size() / 2);
    EXPECT_FALSE(SkinArchive::Open(truncated));
}

}  // namespace
}  // namespace vexlo::ui
