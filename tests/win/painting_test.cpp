// Invalid regions and WM_PAINT, client surfaces, layered frames, window regions, and
// the frames the display is given.
#include "tests/win/test_windows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vexlo::win {
namespace {

using ::testing::ElementsAre;
using testing::Handler;
using testing::TestWindows;

class PaintingTest : public ::testing::Test {
protected:
    // A procedure that paints its surface with one colour and remembers what it was told.
    Handler Painter(uint32_t color, std::vector<PaintStruct>* paints) {
        return [color, paints](Window w, uint32_t m, uintptr_t, intptr_t) -> std::optional<intptr_t> {
            if (m != WM_PAINT) return std::nullopt;
            PaintStruct ps;
            gfx::Bitmap* surface = BeginPaint(w, &ps);
            if (surface) {
                for (const gfx::Rect& r : ps.clip.Rects()) {
                    for (int y = r.top; y < r.bottom; ++y) {
                        for (int x = r.left; x < r.right; ++x) surface->set_pixel(x, y, color);
                    }
                }
            }
            paints->push_back(ps);
            EndPaint(w, &ps);
            return 0;
        };
    }
    headless::HeadlessHarness h;
    TestWindows windows;
};

TEST_F(PaintingTest, InvalidAreasGatherIntoOnePaintThatValidatesThem) {
    std::vector<PaintStruct> paints;
    Window w = windows.Popup({100, 100, 300, 200}, Painter(0xFF0000FF, &paints));
    h.Pump();
    ASSERT_EQ(paints.size(), 1u);  // showing paints the whole client area
    EXPECT_EQ(paints[0].paint, (gfx::Rect{0, 0, 200, 100}));
    paints.clear();
    const gfx::Rect first{10, 10, 20, 20};
    InvalidateRect(w, &first, false);
    const gfx::Rect second{50, 50, 60, 70};
    InvalidateRect(w, &second, false);
    const gfx::Rect outside{500, 500, 600, 600};
    InvalidateRect(w, &outside, false);  // clipped to the client area: nothing
    h.Pump();
    ASSERT_EQ(paints.size(), 1u);
    EXPECT_EQ(paints[0].paint, (gfx::Rect{10, 10, 60, 70}));
    EXPECT_TRUE(paints[0].clip.Contains(15, 15));
    EXPECT_TRUE(paints[0].clip.Contains(55, 65));
    EXPECT_FALSE(paints[0].clip.Contains(30, 30));
    EXPECT_FALSE(GetUpdateRect(w, nullptr, false));
    h.Pump();
    EXPECT_EQ(paints.size(), 1u);
}

TEST_F(PaintingTest, ErasingUsesTheClassBackgroundOrTellsThePainterToErase) {
    WindowClass c;
    c.name = u"Filled";
    c.proc = DefWindowProc;
    c.background = 0xFF336699;
    ASSERT_NE(RegisterClass(c), 0);
    Window filled = CreateWindowEx(0, u"Filled", u"", WS_POPUP | WS_VISIBLE, 0, 0, 20, 10, Window{}, 0, 0, nullptr);
    h.Pump();
    EXPECT_EQ(h.log().Count(filled, WM_ERASEBKGND), 1u);
    ASSERT_TRUE(h.backend().LastFrame(filled));
    EXPECT_EQ(h.backend().LastFrame(filled)->pixels.pixel(5, 5), 0xFF336699u);

    std::vector<PaintStruct> paints;
    Window plain = windows.Popup({100, 0, 120, 10}, Painter(0xFF000000, &paints));
    h.Pump();
    ASSERT_EQ(paints.size(), 1u);
    EXPECT_TRUE(paints[0].erase);  // no background brush: the painter must erase
    InvalidateRect(plain, nullptr, false);
    h.Pump();
    EXPECT_FALSE(paints[1].erase);
}

TEST_F(PaintingTest, EveryPaintIsPresentedAsAFrameOfTheClientSurface) {
    std::vector<PaintStruct> paints;
    Window w = windows.Popup({100, 100, 300, 200}, Painter(0xFF00FF00, &paints));
    h.Pump();
    auto frame = h.backend().LastFrame(w);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->info.kind, FrameKind::Paint);
    EXPECT_EQ(frame->info.screenRect, (gfx::Rect{100, 100, 300, 200}));
    EXPECT_EQ(frame->pixels.pixel(199, 99), 0xFF00FF00u);
    {
        WindowDC dc(w);
        ASSERT_TRUE(dc);
        dc.surface()->set_pixel(0, 0, 0xFFFFFFFF);
    }
    frame = h.backend().LastFrame(w);
    EXPECT_EQ(frame->pixels.pixel(0, 0), 0xFFFFFFFFu);
    const size_t before = h.Frames().size();
    SetWindowPos(w, Window{}, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(h.Frames().size(), before + 1);  // moved pixels are presented where they are now
    EXPECT_EQ(h.backend().LastFrame(w)->info.screenRect, (gfx::Rect{400, 300, 600, 400}));
    UpdateWindow(w);
    EXPECT_EQ(paints.size(), 1u);  // nothing was invalid
}

TEST_F(PaintingTest, GrowingInvalidatesAllWithRedrawStylesAndOnlyTheNewPartOtherwise) {
    for (bool redraw : {false, true}) {
        std::vector<PaintStruct> paints;
        Window w = windows.Popup({0, 0, 100, 50}, Painter(0xFF000000, &paints));
        if (redraw) SetClassLongPtr(w, GCL_STYLE, CS_HREDRAW | CS_VREDRAW);
        h.Pump();
        paints.clear();
        SetWindowPos(w, Window{}, 0, 0, 150, 50, SWP_NOMOVE | SWP_NOZORDER);
        h.Pump();
        ASSERT_EQ(paints.size(), 1u);
        EXPECT_EQ(paints[0].paint, (redraw ? gfx::Rect{0, 0, 150, 50} : gfx::Rect{100, 0, 150, 50}));
        SetClassLongPtr(w, GCL_STYLE, 0);
        DestroyWindow(w);
    }
}

TEST_F(PaintingTest, LayeredFramesArePresentedWholeWithTheirConstantAlpha) {
    Window w = windows.Popup({0, 0, 4, 2}, {}, WS_EX_LAYERED);
    gfx::Bitmap source(10, 10);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) source.set_pixel(x, y, x < 5 ? 0xFF804020u : 0x80402010u);
    }
    const gfx::Point at{1722, 958};
    const gfx::Size size{6, 3};
    const gfx::Point from{3, 2};
    BlendFunction blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    h.log().Clear();
    ASSERT_TRUE(UpdateLayeredWindow(w, &at, &size, &source, &from, 0, &blend, ULW_ALPHA));
    gfx::Rect r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r, (gfx::Rect{1722, 958, 1728, 961}));
    EXPECT_EQ(h.log().Count(w, WM_WINDOWPOSCHANGED), 1u);
    auto frame = h.backend().LastFrame(w);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->info.kind, FrameKind::Layered);
    EXPECT_EQ(frame->info.screenRect, r);
    EXPECT_EQ(frame->pixels.pixel(0, 0), 0xFF804020u);  // source (3, 2)
    EXPECT_EQ(frame->pixels.pixel(5, 0), 0x80402010u);  // source (8, 2)

    blend.sourceConstantAlpha = 128;
    ASSERT_TRUE(UpdateLayeredWindow(w, nullptr, nullptr, &source, &from, 0, &blend, ULW_ALPHA));
    frame = h.backend().LastFrame(w);
    EXPECT_EQ(frame->pixels.pixel(0, 0), 0x80402010u);  // every channel scaled by 128/255
    EXPECT_EQ(GetLayeredFrame(w), frame->pixels);

    const size_t before = h.Frames().size();
    SetWindowPos(w, Window{}, 100, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_EQ(h.Frames().size(), before + 1);  // a moved layered window shows its frame there
    EXPECT_EQ(h.backend().LastFrame(w)->info.screenRect, (gfx::Rect{100, 100, 106, 103}));
    InvalidateRect(w, nullptr, true);
    h.Pump();
    EXPECT_EQ(h.log().Count(w, WM_PAINT), 0u);  // layered windows are never asked to paint
}

TEST_F(PaintingTest, LayeredUpdatesRefuseWhatTheyCannotShow) {
    Window plain = windows.Popup({0, 0, 4, 4});
    Window layered = windows.Popup({0, 0, 4, 4}, {}, WS_EX_LAYERED);
    gfx::Bitmap source(4, 4);
    const gfx::Size size{4, 4};
    const gfx::Size tooBig{5, 4};
    const gfx::Point inside{0, 0};
    const gfx::Point shifted{1, 0};
    const gfx::Point negative{-1, 0};
    const BlendFunction blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    EXPECT_FALSE(UpdateLayeredWindow(plain, nullptr, &size, &source, &inside, 0, &blend, ULW_ALPHA));
    EXPECT_FALSE(UpdateLayeredWindow(layered, nullptr, &tooBig, &source, &inside, 0, &blend, ULW_ALPHA));
    EXPECT_FALSE(UpdateLayeredWindow(layered, nullptr, &size, &source, &shifted, 0, &blend, ULW_ALPHA));
    EXPECT_FALSE(UpdateLayeredWindow(layered, nullptr, &size, &source, &negative, 0, &blend, ULW_ALPHA));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_TRUE(GetLayeredFrame(layered).empty());
    EXPECT_TRUE(UpdateLayeredWindow(layered, nullptr, &size, &source, &inside, 0, &blend, ULW_ALPHA));
}

TEST_F(PaintingTest, AWindowRegionShapesFramesAndHitTesting) {
    Window w = windows.Popup({0, 0, 10, 10}, {}, WS_EX_LAYERED);
    gfx::Bitmap source(10, 10);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) source.set_pixel(x, y, 0xFFFFFFFF);
    }
    const BlendFunction blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(w, nullptr, nullptr, &source, nullptr, 0, &blend, ULW_ALPHA);
    EXPECT_EQ(SetWindowRgn(w, gfx::Region(gfx::Rect{0, 0, 5, 10}), true), 1);
    auto frame = h.backend().LastFrame(w);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->pixels.pixel(4, 4), 0xFFFFFFFFu);
    EXPECT_EQ(frame->pixels.pixel(5, 4), 0u);
    EXPECT_EQ(WindowFromPoint({4, 4}), w);
    EXPECT_FALSE(WindowFromPoint({6, 4}));
    gfx::Region r;
    EXPECT_EQ(GetWindowRgn(w, &r), 1);
    EXPECT_EQ(r.Bounds(), (gfx::Rect{0, 0, 5, 10}));
    SetWindowRgn(w, std::nullopt, true);
    EXPECT_EQ(GetWindowRgn(w, &r), 0);
    EXPECT_EQ(WindowFromPoint({6, 4}), w);
}

TEST_F(PaintingTest, FramesAreNamedAfterTheWindow) {
    Window named = windows.Popup({0, 0, 4, 4}, {}, WS_EX_LAYERED);
    SetWindowFrameName(named, "update_window");
    Window titled = windows.Create(WS_POPUP | WS_VISIBLE, {0, 0, 4, 4}, {}, {}, WS_EX_LAYERED, TestWindows::kClass,
                                   u"Vexlo更新");
    Window anonymous = windows.Popup({0, 0, 4, 4}, {}, WS_EX_LAYERED);
    gfx::Bitmap source(4, 4);
    const BlendFunction blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    for (Window w : {named, titled, anonymous}) {
        UpdateLayeredWindow(w, nullptr, nullptr, &source, nullptr, 0, &blend, ULW_ALPHA);
    }
    EXPECT_EQ(h.backend().LastFrame(named)->info.name, "update_window");
    EXPECT_EQ(h.backend().LastFrame(titled)->info.name, "Vexlo_");
    EXPECT_EQ(h.backend().LastFrame(anonymous)->info.name, "w" + std::to_string(anonymous.slot() + 1));
}

}  // namespace
}  // namespace vexlo::win
