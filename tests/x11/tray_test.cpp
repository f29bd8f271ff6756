// The notification-area icon through the freedesktop system tray, with a small tray of
// the test's own (a connection of its own that owns the tray selection and embeds what
// docks). Without a tray, adding the icon fails.
#include "tests/x11/x11_fixture.h"

#include "platform/win/tray.h"
#include "tests/x11/tray_host.h"

#include <X11/Xatom.h>

namespace vexlo::x11::testing {
namespace {

using namespace vexlo::win;

constexpr uint32_t kCallback = 0x1401;
constexpr uint32_t kIconId = 128;

class TrayTest : public X11Test {
protected:
    void SetUp() override {
        X11Test::SetUp();
        if (IsSkipped()) return;
        StartSystem();
        owner_ = windows().Create(WS_POPUP, {0, 0, 10, 10});
        gfx::Bitmap picture(16, 16);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) picture.set_pixel(x, y, 0xFFE02020);
        }
        icon_ = CreateIconFromBitmap(picture);
    }
    void TearDown() override {
        if (icon_) DestroyIcon(icon_);
        X11Test::TearDown();
    }
    bool Add() {
        NotifyIconData data;
        data.window = owner_;
        data.id = kIconId;
        data.flags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
        data.callbackMessage = kCallback;
        data.icon = icon_;
        data.tip = u"Vexlo更新程序";
        return ShellNotifyIcon(NIM_ADD, &data);
    }
    ::Window WaitForDock(TrayHost& host) {
        ::Window docked = 0;
        PumpUntil([&] { return (docked = host.TakeDockRequest()) != 0; });
        return docked;
    }
    // The mouse messages the icon's owner was told about, in order.
    std::vector<intptr_t> Callbacks() {
        std::vector<intptr_t> out;
        for (const auto& e : Delivered(owner_, kCallback)) {
            EXPECT_EQ(e.wParam, kIconId);
            out.push_back(e.lParam);
        }
        return out;
    }
    Window owner_;
    Icon icon_;
};

TEST_F(TrayTest, WithoutATrayTheIconCannotBeAdded) {
    EXPECT_FALSE(Add());
    EXPECT_TRUE(GetTrayIcons().empty());
    NotifyIconData data;
    data.window = owner_;
    data.id = kIconId;
    EXPECT_FALSE(ShellNotifyIcon(NIM_MODIFY, &data));
    EXPECT_FALSE(ShellNotifyIcon(NIM_DELETE, &data));
    EXPECT_EQ(backend().TrayIconWindowId(owner_, kIconId), 0u);
}

TEST_F(TrayTest, TheDockedIconShowsItsPictureAndItsClicksReachTheOwner) {
    TrayHost host(displayName(), kScreenWidth - 200, kScreenHeight - 30);
    ASSERT_TRUE(Add());
    const ::Window docked = WaitForDock(host);
    ASSERT_NE(docked, 0u);
    EXPECT_EQ(docked, backend().TrayIconWindowId(owner_, kIconId));
    EXPECT_EQ(AtomsOf(docked, "_XEMBED_INFO"), (std::vector<unsigned long>{0, 1}));
    ASSERT_EQ(GetTrayIcons().size(), 1u);
    // The picture fills the place the tray gave, drawn once the tray shows it.
    const gfx::Point centre = host.IconCentre();
    EXPECT_TRUE(PumpUntil([&] { return CaptureScreen(gfx::Rect::FromXYWH(centre.x, centre.y, 1, 1)).pixel(0, 0) == 0xFFE02020u; }));

    log().Clear();
    Click(centre.x, centre.y);
    ASSERT_TRUE(PumpUntil([&] { return Callbacks().size() >= 2 && Callbacks().back() == WM_LBUTTONUP; }));
    // As the shell reports them: the mouse arriving, then the press and the release.
    EXPECT_EQ(Callbacks(), (std::vector<intptr_t>{WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP}));
    // The cursor is where the icon was clicked: a menu opens there.
    gfx::Point cursor;
    GetCursorPos(&cursor);
    EXPECT_EQ(cursor, centre);

    log().Clear();
    Click(centre.x, centre.y, 3);
    ASSERT_TRUE(PumpUntil([&] { return !Callbacks().empty() && Callbacks().back() == WM_RBUTTONUP; }));
    auto buttons = Callbacks();
    std::erase(buttons, WM_MOUSEMOVE);
    EXPECT_EQ(buttons, (std::vector<intptr_t>{WM_RBUTTONDOWN, WM_RBUTTONUP}));

    // Deleted: the window leaves the tray.
    NotifyIconData data;
    data.window = owner_;
    data.id = kIconId;
    ASSERT_TRUE(ShellNotifyIcon(NIM_DELETE, &data));
    backend().Sync();
    ErrorTrap trap(probe());
    XWindowAttributes a{};
    XGetWindowAttributes(probe(), docked, &a);
    EXPECT_FALSE(trap.Sync());
}

TEST_F(TrayTest, ATrayThatStartsAfterAnotherEndedTakesTheIcon) {
    ::Window first = 0;
    {
        TrayHost host(displayName(), kScreenWidth - 200, kScreenHeight - 30);
        ASSERT_TRUE(Add());
        first = WaitForDock(host);
        ASSERT_NE(first, 0u);
    }
    // The first tray is gone; the server gave the icon back to the root, out of sight.
    ASSERT_TRUE(PumpUntil([&] {
        backend().Sync();
        const XWindowAttributes a = Attributes(first);
        return a.map_state == IsUnmapped && a.root != 0;
    }));
    TrayHost next(displayName(), kScreenWidth - 200, kScreenHeight - 30);
    EXPECT_EQ(WaitForDock(next), first);
}

TEST_F(TrayTest, TheTipComesWhenTheMouseRestsOnTheIconAndGoesOnAPress) {
    TrayHost host(displayName(), kScreenWidth - 200, kScreenHeight - 30);
    ASSERT_TRUE(Add());
    ASSERT_NE(WaitForDock(host), 0u);
    auto tip = [&]() -> std::optional<gfx::Rect> {
        ::Window rootOut = 0, parent = 0;
        ::Window* children = nullptr;
        unsigned count = 0;
        XQueryTree(probe(), probeRoot(), &rootOut, &parent, &children, &count);
        std::optional<gfx::Rect> found;
        for (unsigned i = 0; i < count; ++i) {
            const auto type = AtomsOf(children[i], "_NET_WM_WINDOW_TYPE");
            const XWindowAttributes a = Attributes(children[i]);
            if (type.size() == 1 && type[0] == Intern("_NET_WM_WINDOW_TYPE_TOOLTIP") && a.map_state == IsViewable) {
                found = gfx::Rect::FromXYWH(a.x, a.y, a.width, a.height);
            }
        }
        if (children) XFree(children);
        return found;
    };
    const gfx::Point centre = host.IconCentre();
    MovePointer(centre.x - 3, centre.y);
    MovePointer(centre.x, centre.y);
    std::optional<gfx::Rect> shown;
    ASSERT_TRUE(PumpUntil([&] { return (shown = tip()).has_value(); }));
    // At the bottom of the screen it opens above the cursor, and stays on the screen.
    EXPECT_LE(shown->bottom, centre.y);
    EXPECT_LE(shown->right, kScreenWidth);
    EXPECT_GT(shown->width(), 20);
    // Its frame is the shell's grey line.
    EXPECT_EQ(CaptureScreen(gfx::Rect::FromXYWH(shown->left, shown->top, 1, 1)).pixel(0, 0), 0xFF767676u);
    Button(1, true);
    EXPECT_TRUE(PumpUntil([&] { return !tip(); }));
    Button(1, false);
}

}  // namespace
}  // namespace vexlo::x11::testing
