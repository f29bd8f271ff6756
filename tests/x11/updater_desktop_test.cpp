// The updater on a desktop: the ordinary road's popup at the bottom right of the work
// area with the pixels of its headless frame, closed with its close button, brought back
// from the tray icon, and ended from the tray menu.
#include "tests/x11/x11_fixture.h"

#include "platform/image/png_codec.h"
#include "tests/x11/tray_host.h"
#include "tests/x11/updater_run.h"
#include "tools/update-service/update_service.h"

#include <X11/Xutil.h>

#include <poll.h>

#include <cmath>
#include <filesystem>
#include <fstream>

namespace vexlo::x11::testing {
namespace {

namespace fs = std::filesystem;

constexpr int kPopupWidth = 201;  // the install panel, after the download
constexpr int kPopupHeight = 90;

struct Shown {
    ::Window window = 0;
    gfx::Rect rect;
};

uint32_t Over(uint32_t s, uint32_t d) {
    const double a = (s >> 24) / 255.0;
    auto ch = [&](int shift) {
        const double v = ((s >> shift) & 0xFF) + ((d >> shift) & 0xFF) * (1.0 - a);
        return static_cast<uint32_t>(std::lround(std::min(255.0, v)));
    };
    return 0xFF000000u | (ch(16) << 16) | (ch(8) << 8) | ch(0);
}

class UpdaterDesktopTest : public X11Test {
protected:
    void SetUp() override {
        X11Test::SetUp();
        if (IsSkipped()) return;
        ASSERT_TRUE(service_.Start());
        fs::create_directories(files_.root() / "files");
        fs::copy_file(VEXLO_SAMPLE_INSTALLER_PATH, files_.root() / "files" / "setup_2.2.0.1.exe");
        service_.ServeFiles((files_.root() / "files").string());
        Json::Value offer;
        offer["version_number"] = "2.2.0.1";
        offer["version_explain"] = "New compression engine";
        offer["update_type"] = "1";
        offer["file_32"] = "{base}/files/setup_2.2.0.1.exe";
        service_.SetCheckReply(service::ReplyPlan::Json(offer));
        XSelectInput(probe(), probeRoot(), SubstructureNotifyMask);
    }
    void TearDown() override {
        service_.Stop();
        X11Test::TearDown();
    }

    // The install panel's frame as the headless display shows it.
    gfx::Bitmap HeadlessGolden() {
        UpdaterSandbox sandbox;
        const fs::path frames = sandbox.root() / "frames";
        fs::create_directories(frames);
        // Time for the download, then the tray menu's system close ends the updater.
        std::ofstream(sandbox.root() / "end.script") << "at 2500 tray right\nat 2600 keydown alt\nat 2610 key f4\nat 2620 keyup alt\n";
        auto env = sandbox.Environment(service_.BaseUrl());
        env.push_back("VEXLO_DISPLAY=headless");
        env.push_back("VEXLO_FRAMES=" + frames.string());
        env.push_back("VEXLO_HEADLESS_SCREEN=" + std::to_string(kScreenWidth) + "x" + std::to_string(kScreenHeight));
        env.push_back("VEXLO_HEADLESS_SCRIPT=" + (sandbox.root() / "end.script").string());
        UpdaterProcess run(VEXLO_UPDATER_PATH, env, {}, sandbox.root());
        int code = -1;
        EXPECT_TRUE(run.WaitForExit(60000, &code)) << run.output();
        std::string last;
        for (const auto& entry : fs::directory_iterator(frames)) {
            const std::string name = entry.path().filename().string();
            if (name.find("-update_window-") != std::string::npos && name.find("-201x90.png") != std::string::npos &&
                name > fs::path(last).filename().string()) {
                last = entry.path().string();
            }
        }
        gfx::Bitmap golden;
        EXPECT_FALSE(last.empty()) << "no frame of the install panel";
        if (!last.empty()) {
            EXPECT_TRUE(image::ReadPngFile(last, golden));
        }
        return golden;
    }

    // Waits for the server's state to satisfy `done`, reading the probe's notifications.
    bool WaitFor(const std::function<bool()>& done, int timeoutMs = 20000) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        for (;;) {
            if (done()) return true;
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return false;
            pollfd p{ConnectionNumber(probe()), POLLIN, 0};
            poll(&p, 1, static_cast<int>(std::min<int64_t>(left.count(), 50)));
            while (XPending(probe())) {
                XEvent e;
                XNextEvent(probe(), &e);
            }
        }
    }

    // A shown top-level window of the updater's of that size.
    Shown Find(int width, int height) {
        ::Window rootOut = 0, parent = 0;
        ::Window* children = nullptr;
        unsigned count = 0;
        XQueryTree(probe(), probeRoot(), &rootOut, &parent, &children, &count);
        Shown found;
        for (unsigned i = 0; i < count && !found.window; ++i) {
            XClassHint hint{};
            if (!XGetClassHint(probe(), children[i], &hint)) continue;
            const bool ours = hint.res_class && std::string(hint.res_class) == "Vexlo";
            if (hint.res_name) XFree(hint.res_name);
            if (hint.res_class) XFree(hint.res_class);
            const XWindowAttributes a = Attributes(children[i]);
            if (ours && a.map_state == IsViewable && a.width == width && a.height == height) {
                found = {children[i], gfx::Rect::FromXYWH(a.x, a.y, a.width, a.height)};
            }
        }
        if (children) XFree(children);
        return found;
    }

    // Pixels of the popup that differ (by more than 1) from its frame over the screen.
    int Mismatches(const Shown& popup, const gfx::Bitmap& golden, const gfx::Bitmap& background, const gfx::Rect& area) {
        const gfx::Rect visible = popup.rect.Intersect({0, 0, kScreenWidth, kScreenHeight});
        const gfx::Bitmap screen = CaptureScreen(visible);
        int bad = 0;
        for (int y = visible.top; y < visible.bottom; ++y) {
            for (int x = visible.left; x < visible.right; ++x) {
                const uint32_t want =
                    Over(golden.pixel(x - popup.rect.left, y - popup.rect.top), background.pixel(x - area.left, y - area.top));
                const uint32_t got = screen.pixel(x - visible.left, y - visible.top);
                for (int shift = 0; shift < 24; shift += 8) {
                    if (std::abs(static_cast<int>((got >> shift) & 0xFF) - static_cast<int>((want >> shift) & 0xFF)) > 1) {
                        ++bad;
                        break;
                    }
                }
            }
        }
        return bad;
    }

    service::UpdateService service_;
    UpdaterSandbox files_;
};

TEST_F(UpdaterDesktopTest, ThePopupStandsInTheCornerClosesAndComesBackFromTheTray) {
    const gfx::Bitmap golden = HeadlessGolden();
    ASSERT_EQ(golden.width(), kPopupWidth);
    ASSERT_EQ(golden.height(), kPopupHeight);

    MovePointer(640, 300);  // away from where the popup comes
    TrayHost tray(displayName(), 0, 0);
    const gfx::Rect area{kScreenWidth - 300, kScreenHeight - 200, kScreenWidth, kScreenHeight};
    const gfx::Bitmap background = CaptureScreen(area);

    UpdaterSandbox sandbox;
    auto env = sandbox.Environment(service_.BaseUrl());
    env.push_back("DISPLAY=" + displayName());
    UpdaterProcess updater(VEXLO_UPDATER_PATH, env,
                           {"VEXLO_DISPLAY", "VEXLO_FRAMES", "VEXLO_HEADLESS_SCRIPT", "VEXLO_HEADLESS_SCREEN"},
                           sandbox.root());
    ASSERT_TRUE(updater.started());

    ::Window icon = 0;
    ASSERT_TRUE(WaitFor([&] { return (icon = tray.TakeDockRequest()) != 0; })) << updater.output();
    Shown popup;
    ASSERT_TRUE(WaitFor([&] { return (popup = Find(kPopupWidth, kPopupHeight)).window != 0; })) << updater.output();
    // The download is done: the install panel, moved 10 pixels up from the corner of the
    // work area (the whole screen: no window manager publishes one).
    EXPECT_EQ(popup.rect, gfx::Rect::FromXYWH(kScreenWidth - 198, kScreenHeight - 80 - 10, kPopupWidth, kPopupHeight));
    int bad = -1;
    EXPECT_TRUE(WaitFor([&] { return (bad = Mismatches(popup, golden, background, area)) == 0; }, 5000))
        << bad << " pixels differ from the headless frame";

    // The close button hides the popup; the updater carries on.
    Click(popup.rect.left + kPopupWidth - 15, popup.rect.top + 14);
    ASSERT_TRUE(WaitFor([&] { return Find(kPopupWidth, kPopupHeight).window == 0; })) << updater.output();

    // A left click on the tray icon brings it back, now flush with the corner.
    MovePointer(640, 300);
    Click(tray.IconCentre().x, tray.IconCentre().y);
    ASSERT_TRUE(WaitFor([&] { return (popup = Find(kPopupWidth, kPopupHeight)).window != 0; })) << updater.output();
    EXPECT_EQ(popup.rect, gfx::Rect::FromXYWH(kScreenWidth - kPopupWidth, kScreenHeight - kPopupHeight, kPopupWidth,
                                              kPopupHeight));
    EXPECT_TRUE(WaitFor([&] { return (bad = Mismatches(popup, golden, background, area)) == 0; }, 5000))
        << bad << " pixels differ from the headless frame";

    // The tray menu's item ends the updater.
    Click(tray.IconCentre().x, tray.IconCentre().y, 3);
    Shown menu;
    ASSERT_TRUE(WaitFor([&] { return (menu = Find(104, 31)).window != 0; })) << updater.output();
    Click((menu.rect.left + menu.rect.right) / 2, (menu.rect.top + menu.rect.bottom) / 2);
    int code = -1;
    ASSERT_TRUE(updater.WaitForExit(20000, &code)) << updater.output();
    EXPECT_EQ(code, 0);
}

TEST_F(UpdaterDesktopTest, WithoutATrayThePopupStillComes) {
    UpdaterSandbox sandbox;
    auto env = sandbox.Environment(service_.BaseUrl());
    env.push_back("DISPLAY=" + displayName());
    UpdaterProcess updater(VEXLO_UPDATER_PATH, env,
                           {"VEXLO_DISPLAY", "VEXLO_FRAMES", "VEXLO_HEADLESS_SCRIPT", "VEXLO_HEADLESS_SCREEN"},
                           sandbox.root());
    // The icon cannot be added; the download goes on to the install panel all the same.
    EXPECT_TRUE(WaitFor([&] { return Find(kPopupWidth, kPopupHeight).window != 0; })) << updater.output();
    int code = -1;
    EXPECT_FALSE(updater.WaitForExit(0, &code));
}

}  // namespace
}  // namespace vexlo::x11::testing
