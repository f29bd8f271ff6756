// The mouse cursor on the server: standard shapes and cursors made from pictures.
#include "tests/x11/x11_fixture.h"

#include <X11/cursorfont.h>
#include <X11/extensions/Xfixes.h>

namespace vexlo::x11::testing {
namespace {

using namespace vexlo::win;

struct ShownCursor {
    int width = 0, height = 0, hotX = 0, hotY = 0;
    std::vector<uint32_t> pixels;
    bool operator==(const ShownCursor&) const = default;
};

class CursorTest : public X11Test {
protected:
    void SetUp() override {
        X11Test::SetUp();
        if (IsSkipped()) return;
        StartSystem();
    }
    ShownCursor Shown() {
        ShownCursor out;
        XFixesCursorImage* image = XFixesGetCursorImage(probe());
        if (!image) return out;
        out = {image->width, image->height, image->xhot, image->yhot, {}};
        for (int i = 0; i < image->width * image->height; ++i) out.pixels.push_back(static_cast<uint32_t>(image->pixels[i]));
        XFree(image);
        return out;
    }
    // The pointer over a window of the probe's with a cursor-font shape.
    ShownCursor Reference(unsigned shape) {
        XSetWindowAttributes a{};
        a.override_redirect = True;
        a.cursor = XCreateFontCursor(probe(), shape);
        const ::Window w = XCreateWindow(probe(), probeRoot(), 900, 600, 50, 50, 0, CopyFromParent, InputOnly,
                                         CopyFromParent, CWOverrideRedirect | CWCursor, &a);
        XMapRaised(probe(), w);
        MovePointer(920, 620);
        const ShownCursor c = Shown();
        XDestroyWindow(probe(), w);
        XFreeCursor(probe(), a.cursor);
        XSync(probe(), False);
        return c;
    }
    Cursor wanted_;
};

TEST_F(CursorTest, TheWindowSystemsCursorIsShownOverItsWindows) {
    int eventBase = 0, errorBase = 0;
    if (!XFixesQueryExtension(probe(), &eventBase, &errorBase)) GTEST_SKIP() << "the server cannot show its cursor";
    const ShownCursor hand = Reference(XC_hand2);
    const Window w = windows().Popup({100, 100, 300, 300}, [this](Window, uint32_t m, uintptr_t, intptr_t) -> std::optional<intptr_t> {
        if (m != WM_SETCURSOR || !wanted_) return std::nullopt;
        SetCursor(wanted_);
        return 1;
    }, WS_EX_TOOLWINDOW);
    (void)w;
    wanted_ = LoadCursor(0, IDC_HAND);
    MovePointer(150, 150);
    ASSERT_TRUE(PumpUntil([&] { return Shown() == hand; }));

    // A cursor from a picture, with its hot spot.
    gfx::Bitmap picture(8, 8);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) picture.set_pixel(x, y, x < 4 ? 0xFF00A000u : 0x80000080u);
    }
    wanted_ = CreateCursorFromBitmap(picture, {2, 3});
    MovePointer(160, 160);
    ShownCursor expected{8, 8, 2, 3, std::vector<uint32_t>(picture.data(), picture.data() + 64)};
    EXPECT_TRUE(PumpUntil([&] { return Shown() == expected; }));
}

}  // namespace
}  // namespace vexlo::x11::testing
