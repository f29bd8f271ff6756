// The fade's alpha steps and the address checks of the link opener.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <string>
#include <vector>

#include "ui/controls/fade.h"
#include "ui/controls/url_opener.h"

namespace vexlo::ui {
namespace {

TEST(Fade, DefaultSpeedsReachTheLimitsAfterSevenAndNineTicks) {
    FadeRecord fade;
    fade.Start(kStateNormal, kStateOver, 255);
    std::vector<int> in, out;
    int ticks = 0;
    bool done = false;
    while (!done && ticks < 20) {
        done = fade.Step(kDefaultFadeInSpeed, kDefaultFadeOutSpeed);
        in.push_back(fade.newAlpha);
        out.push_back(fade.oldAlpha);
        ++ticks;
    }
    EXPECT_EQ(ticks, 9);
    EXPECT_FALSE(fade.fading);
    EXPECT_EQ(in, (std::vector<int>{40, 80, 120, 160, 200, 240, 255, 255, 255}));
    EXPECT_EQ(out, (std::vector<int>{225, 195, 165, 135, 105, 75, 45, 15, 0}));
    EXPECT_EQ(fade.newState, kStateOver);
    EXPECT_EQ(fade.oldState, kStateNormal);
}

TEST(Fade, SpeedsThatAreNotPositiveMeanTheDefaults) {
    EXPECT_EQ(FadeSpeedOrDefault(0, kDefaultFadeInSpeed), 40);
    EXPECT_EQ(FadeSpeedOrDefault(-3, kDefaultFadeOutSpeed), 30);
    EXPECT_EQ(FadeSpeedOrDefault(7, kDefaultFadeInSpeed), 7);
}

TEST(UrlOpener, OnlyWebAndMailAddressesAreOpenable) {
    struct Case {
        const char16_t* url;
        bool ok;
    } cases[] = {
        {u"http://example.org/", true},
        {u"HTTPS://example.org/a?b=c", true},
        {u"mailto:someone@example.org", true},
        {u"http://", false},
        {u"file:///etc/passwd", false},
        {u"javascript:alert(1)", false},
        {u"/usr/bin/xterm", false},
        {u"", false},
        {u"http://example.org/a b", false},
        {u"http://example.org/\n--help", false},
        {u"-http://example.org", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsOpenableUrl(c.url), c.ok) << std::string(c.url, c.url + std::char_traits<char16_t>::length(c.url));
    }
}

TEST(UrlOpener, TheInjectedOpenerSeesOnlyAcceptedAddresses) {
    std::vector<std::u16string> opened;
    SetUrlOpener([&](std::u16string_view url) {
        opened.emplace_back(url);
        return true;
    });
    EXPECT_TRUE(OpenUrl(u"https://example.org/"));
    EXPECT_FALSE(OpenUrl(u"file:///tmp/x"));
    SetUrlOpener(nullptr);
    EXPECT_EQ(opened, (std::vector<std::u16string>{u"https://example.org/"}));
}

TEST(UrlOpener, TheProgramGetsTheAddressAsOneArgumentWithoutAShell) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / ("vexlo-opener-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path script = dir / "opener";
    {
        std::ofstream out(script);
        out << "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"$0.out\"\n";
    }
    fs::permissions(script, fs::perms::owner_all);
    // Shell syntax in an address stays text: a shell would have run the substitution.
    const std::u16string url = u"http://example.org/$(touch${IFS}pwned);`touch${IFS}pwned`";
    ASSERT_TRUE(SpawnOpener(script.string(), url, true));
    std::ifstream in(script.string() + ".out");
    std::stringstream seen;
    seen << in.rdbuf();
    EXPECT_EQ(seen.str(), "1|http://example.org/$(touch${IFS}pwned);`touch${IFS}pwned`");
    EXPECT_FALSE(fs::exists(dir / "pwned"));
    EXPECT_FALSE(fs::exists("pwned"));
    EXPECT_FALSE(SpawnOpener(script.string(), u"file:///etc/passwd", true));
    EXPECT_FALSE(SpawnOpener((dir / "missing").string(), u"http://example.org/", true));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace vexlo::ui
