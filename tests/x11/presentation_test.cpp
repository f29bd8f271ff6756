// Frames on the screen: the opaque rendering over what lies beneath, per-pixel alpha
// through the 32-bit visual when a compositing manager runs, shapes, and one upload
// per change.
#include "tests/x11/x11_fixture.h"

#include "platform/headless/harness.h"
#include "platform/x11/window_shape.h"

#include <X11/extensions/shape.h>

#include <cmath>

namespace vexlo::x11::testing {
namespace {

using namespace vexlo::win;

constexpr int kWidth = 198;
constexpr int kHeight = 80;

// A popup picture: a gradient panel with round, soft corners and a half-transparent band.
gfx::Bitmap PopupPicture(uint32_t seed = 0) {
    gfx::Bitmap b(kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const double dx = std::max(0.0, std::max(12.0 - x, x - (kWidth - 13.0)));
            const double dy = std::max(0.0, std::max(12.0 - y, y - (kHeight - 13.0)));
            const double edge = 12.0 - std::sqrt(dx * dx + dy * dy);
            int a = edge >= 1 ? 255 : edge <= 0 ? 0 : static_cast<int>(edge * 255);
            if (y >= 30 && y < 40) a = a * 128 / 255;
            b.set_pixel(x, y, gfx::PremultipliedPixel(static_cast<uint8_t>(a), static_cast<uint8_t>((x + seed) % 256),
                                                      static_cast<uint8_t>(y * 3), 0xC0));
        }
    }
    return b;
}

// What the headless display is given for the picture through UpdateLayeredWindow.
gfx::Bitmap HeadlessFrameOf(const gfx::Bitmap& picture) {
    headless::HeadlessHarness h;
    win::testing::TestWindows windows;
    const Window w = windows.Create(WS_POPUP, {100, 100, 100 + kWidth, 100 + kHeight}, {}, {},
                                    WS_EX_LAYERED | WS_EX_TOOLWINDOW);
    const gfx::Point at{100, 100}, from{0, 0};
    const gfx::Size size{kWidth, kHeight};
    BlendFunction blend;
    blend.alphaFormat = AC_SRC_ALPHA;
    UpdateLayeredWindow(w, &at, &size, &picture, &from, 0, &blend, ULW_ALPHA);
    ShowWindow(w, SW_SHOWNOACTIVATE);
    auto frame = h.backend().LastFrame(w);
    return frame ? frame->pixels : gfx::Bitmap{};
}

// Premultiplied source over an opaque background, computed here on its own.
uint32_t Over(uint32_t s, uint32_t d) {
    const double a = (s >> 24) / 255.0;
    auto ch = [&](int shift) {
        const double v = ((s >> shift) & 0xFF) + ((d >> shift) & 0xFF) * (1.0 - a);
        return static_cast<uint32_t>(std::lround(std::min(255.0, v)));
    };
    return 0xFF000000u | (ch(16) << 16) | (ch(8) << 8) | ch(0);
}

int LargestDifference(uint32_t a, uint32_t b) {
    int worst = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    }
    return worst;
}

// Counts the pixels of `screen` that differ from frame-over-background by more than 1.
int Mismatches(const gfx::Bitmap& screen, const gfx::Bitmap& frame, const gfx::Bitmap& background,
               std::string* first) {
    int bad = 0;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            const uint32_t want = Over(frame.pixel(x, y), background.pixel(x, y));
            if (LargestDifference(screen.pixel(x, y), want) > 1) {
                if (!bad++ && first) {
                    char text[96];
                    std::snprintf(text, sizeof text, "(%d,%d) shows %08x, expected %08x", x, y, screen.pixel(x, y), want);
                    *first = text;
                }
            }
        }
    }
    return bad;
}

class PresentationTest : public X11Test {
protected:
    Window ShowPopup(const gfx::Bitmap& picture, gfx::Point at) {
        const Window w = windows().Create(WS_POPUP, gfx::Rect::FromXYWH(at.x, at.y, kWidth, kHeight), {}, {},
                                          WS_EX_LAYERED | WS_EX_TOOLWINDOW);
        Present(w, picture, at);
        ShowWindow(w, SW_SHOWNOACTIVATE);
        backend().Sync();
        return w;
    }
    void Present(Window w, const gfx::Bitmap& picture, gfx::Point at) {
        const gfx::Point from{0, 0};
        const gfx::Size size{picture.width(), picture.height()};
        BlendFunction blend;
        blend.alphaFormat = AC_SRC_ALPHA;
        ASSERT_TRUE(UpdateLayeredWindow(w, &at, &size, &picture, &from, 0, &blend, ULW_ALPHA));
    }
    ::Window Xid(Window w) { return static_cast<::Window>(backend().NativeWindowId(w)); }
};

TEST_F(PresentationTest, WithoutACompositorTheFrameIsComposedOverTheScreenAndCutToItsPixels) {
    const gfx::Bitmap picture = PopupPicture();
    const gfx::Bitmap golden = HeadlessFrameOf(picture);
    ASSERT_FALSE(golden.empty());
    StartSystem();
    ASSERT_FALSE(backend().CompositorRunning());
    const gfx::Rect place = gfx::Rect::FromXYWH(kScreenWidth - kWidth, kScreenHeight - kHeight, kWidth, kHeight);
    const gfx::Bitmap background = CaptureScreen(place);

    const Window w = windows().Create(WS_POPUP, place, {}, {}, WS_EX_LAYERED | WS_EX_TOOLWINDOW);
    ShowWindow(w, SW_SHOWNOACTIVATE);
    backend().Sync();
    // A layered window shows nothing before its first frame.
    EXPECT_EQ(backend().NativeWindowId(w), 0u);
    Present(w, picture, {place.left, place.top});
    backend().Sync();
    ASSERT_NE(Xid(w), 0u);
    EXPECT_FALSE(backend().UsesAlphaVisual(w));
    EXPECT_EQ(Attributes(Xid(w)).map_state, IsViewable);

    std::string first;
    EXPECT_EQ(Mismatches(CaptureScreen(place), golden, background, &first), 0) << first;
    // The shape is the frame's visible pixels, for drawing and for the mouse alike.
    const auto expected = gfx::Region::FromAlpha(golden).Rects();
    EXPECT_EQ(ShapeRects(Xid(w), ShapeBounding), expected);
    EXPECT_EQ(ShapeRects(Xid(w), ShapeInput), expected);
}

TEST_F(PresentationTest, AMovedPopupIsComposedOverWhatLiesAtItsNewPlace) {
    StartSystem();
    // Something of another program, in a flat colour, where the popup will go.
    XSetWindowAttributes a{};
    a.override_redirect = True;
    a.background_pixel = 0x2050A0;
    const ::Window other = XCreateWindow(probe(), probeRoot(), 400, 300, 150, 150, 0, CopyFromParent, InputOutput,
                                         CopyFromParent, CWOverrideRedirect | CWBackPixel, &a);
    XMapRaised(probe(), other);
    XSync(probe(), False);
    const gfx::Rect start = gfx::Rect::FromXYWH(300, 250, kWidth, kHeight);
    const gfx::Rect moved = start.Offset(120, 40);
    const gfx::Bitmap backgroundAfter = [&] {
        // What lies at the new place before the popup covers any of it.
        return CaptureScreen(moved);
    }();
    const gfx::Bitmap picture = PopupPicture(7);
    const Window w = ShowPopup(picture, {start.left, start.top});
    SetWindowPos(w, Window{}, moved.left, moved.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    backend().Sync();
    std::string first;
    EXPECT_EQ(Mismatches(CaptureScreen(moved), picture, backgroundAfter, &first), 0) << first;
    XDestroyWindow(probe(), other);
}

TEST_F(PresentationTest, WithACompositorFramesKeepTheirAlphaAndFollowItWhenItGoes) {
    // The probe plays the compositing manager by holding its selection.
    const ::Window manager = XCreateSimpleWindow(probe(), probeRoot(), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(probe(), Intern("_NET_WM_CM_S0"), manager, CurrentTime);
    XSync(probe(), False);
    StartSystem();
    ASSERT_TRUE(backend().CompositorRunning());
    const gfx::Bitmap picture = PopupPicture(3);
    const Window w = ShowPopup(picture, {500, 400});
    ASSERT_TRUE(backend().UsesAlphaVisual(w));
    EXPECT_EQ(Attributes(Xid(w)).depth, 32);
    // The server keeps exactly the premultiplied frame for the compositor to blend.
    EXPECT_EQ(CaptureWindow(Xid(w), kWidth, kHeight), picture);

    // The compositor ends: the popup is shown again the opaque way.
    const gfx::Rect place = gfx::Rect::FromXYWH(500, 400, kWidth, kHeight);
    XDestroyWindow(probe(), manager);
    XSync(probe(), False);
    ASSERT_TRUE(PumpUntil([&] { return !backend().UsesAlphaVisual(w) && Xid(w) != 0; }));
    backend().Sync();
    EXPECT_EQ(Attributes(Xid(w)).depth, DefaultDepth(probe(), 0));
    EXPECT_EQ(Attributes(Xid(w)).map_state, IsViewable);
    const gfx::Bitmap shown = CaptureScreen(place);
    // Fully transparent corner: the screen; opaque middle: the frame.
    EXPECT_EQ(shown.pixel(kWidth / 2, 10), picture.pixel(kWidth / 2, 10) | 0xFF000000u);
    EXPECT_EQ(ShapeRects(Xid(w), ShapeBounding), gfx::Region::FromAlpha(picture).Rects());
}

TEST_F(PresentationTest, AWindowRegionShapesAnOrdinaryWindow) {
    StartSystem();
    const Window w = windows().Popup({200, 200, 360, 300}, [](Window win, uint32_t m, uintptr_t, intptr_t) -> std::optional<intptr_t> {
        if (m != WM_PAINT) return std::nullopt;
        PaintStruct ps;
        if (gfx::Bitmap* s = BeginPaint(win, &ps)) {
            for (int y = 0; y < s->height(); ++y) {
                for (int x = 0; x < s->width(); ++x) s->set_pixel(x, y, 0xFF30C060);
            }
        }
        EndPaint(win, &ps);
        return 0;
    });
    const gfx::Region region = gfx::Region::RoundRect({0, 0, 161, 101}, 40, 40);
    SetWindowRgn(w, region, true);
    ASSERT_TRUE(PumpUntil([&] { return Xid(w) != 0; }));
    PumpPending();
    backend().Sync();
    EXPECT_EQ(ShapeRects(Xid(w), ShapeBounding), region.Rects());
    const gfx::Bitmap shown = CaptureScreen({200, 200, 360, 300});
    EXPECT_EQ(shown.pixel(80, 50), 0xFF30C060u);
    // Removing the region gives the whole rectangle back.
    SetWindowRgn(w, std::nullopt, true);
    backend().Sync();
    EXPECT_EQ(ShapeRects(Xid(w), ShapeBounding), (std::vector<gfx::Rect>{{0, 0, 160, 100}}));
}

TEST_F(PresentationTest, EachChangeIsUploadedOnce) {
    StartSystem();
    const Window w = ShowPopup(PopupPicture(1), {100, 500});
    const uint64_t shown = backend().UploadCount();
    EXPECT_EQ(shown, 1u);  // showing a window that moved to its place re-presents the same frame
    for (uint32_t i = 2; i < 5; ++i) Present(w, PopupPicture(i), {100, 500});
    EXPECT_EQ(backend().UploadCount(), shown + 3);
    Present(w, PopupPicture(4), {100, 500});  // nothing changed
    EXPECT_EQ(backend().UploadCount(), shown + 3);
    SetWindowPos(w, Window{}, 140, 500, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(backend().UploadCount(), shown + 4);  // composed over its new place
    ShowWindow(w, SW_HIDE);
    Present(w, PopupPicture(5), {140, 500});  // hidden: kept for later
    EXPECT_EQ(backend().UploadCount(), shown + 4);
    ShowWindow(w, SW_SHOWNOACTIVATE);
    EXPECT_EQ(backend().UploadCount(), shown + 5);
}

}  // namespace
}  // namespace vexlo::x11::testing
