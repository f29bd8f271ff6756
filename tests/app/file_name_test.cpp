#include "app/update_record.h"

#include <gtest/gtest.h>

namespace vexlo::app {
namespace {

TEST(FileNameFromUrl, KeepsWhatFollowsTheLastSeparatorNotAtTheEnd) {
    const struct {
        std::u16string url;
        std::u16string name;
    } cases[] = {
        {u"http://host/dir/setup_2.2.0.1.exe", u"setup_2.2.0.1.exe"},
        {u"http://host/get?f=1", u"get?f=1"},  // the query stays part of the name
        {u"http://host/dir/", u"dir/"},        // a separator at the end does not count
        {u"c:\\tmp\\x.exe", u"x.exe"},
        {u"host:8080", u"8080"},
        {u"plain", u"plain"},
        {u"", u""},
        {u"http://host//", u"host//"},
    };
    for (const auto& c : cases) EXPECT_EQ(FileNameFromUrl(c.url), c.name);
}

TEST(FileNameFromUrl, UrlsThatDoNotFitTheNameBufferHaveNoName) {
    std::u16string url = u"http://host/" + std::u16string(247, u'a');
    ASSERT_EQ(url.size(), 259u);
    EXPECT_EQ(FileNameFromUrl(url).size(), 247u);
    EXPECT_EQ(FileNameFromUrl(url + u"b"), u"");
}

}  // namespace
}  // namespace vexlo::app
