// Painting a skin window: the full paint and the partial repaint of one control on a
// layered window, compared with golden frames and with each other pixel for pixel, with
// a negative z-order control in front, hidden controls, and an ordinary window.
#include <gtest/gtest.h>

#include "platform/gfx/golden.h"
#include "tests/ui/window/skin_window_fixture.h"
#include "tests/ui/window/test_skin.h"
#include "ui/core/painting.h"

namespace vexlo::ui::testing {
namespace {

// A half-transparent red square in front of everything (z-order -1), over the label and
// the left part of the ok button.
constexpr std::u16string_view kOverlay =
    u"<static name=\"overlay\" zorder=\"-1\" left=\"35\" top=\"0\" width=\"30\" height=\"30\" horzanchor=\"3\" "
    u"vertanchor=\"3\" style=\"red_style\" alpha=\"128\"/>";

class Painting : public SkinWindowTest {
protected:
    void Open(std::u16string_view windowAttributes = u"", std::u16string_view extra = u"") {
        LoadSkin(TestSkin(windowAttributes, extra));
        Attach(u"w");
        ASSERT_TRUE(Record());
    }
    gfx::Bitmap Frame() const { return win::GetLayeredFrame(host_); }
    // Every pixel outside `r` is the same in both pictures.
    static void ExpectSameOutside(const gfx::Bitmap& a, const gfx::Bitmap& b, const gfx::Rect& r) {
        ASSERT_EQ(a.width(), b.width());
        ASSERT_EQ(a.height(), b.height());
        int differing = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                if (!r.Contains(x, y) && a.pixel(x, y) != b.pixel(x, y)) ++differing;
        EXPECT_EQ(differing, 0);
    }
};

TEST_F(Painting, FullPaintAndAPartialRepaintMatchTheirGoldenFrames) {
    Open();
    const gfx::Bitmap full = Frame();
    ASSERT_EQ(full.width(), 120);
    EXPECT_TRUE(gfx::CompareWithGolden(full, "ui/golden/window_full.png"));
    ASSERT_TRUE(Record()->cachedImage);
    EXPECT_EQ(*Record()->cachedImage, full) << "the cached picture is what was presented";

    // The mouse on the ok button turns it orange through a repaint of its rectangle only.
    const gfx::Rect ok = RectOf(u"ok");
    harness_->MoveTo(host_, ok.left + 3, ok.top + 3);
    const gfx::Bitmap over = Frame();
    EXPECT_TRUE(gfx::CompareWithGolden(over, "ui/golden/window_ok_over.png"));
    EXPECT_NE(over.pixel(ok.left + 1, ok.top + 1), full.pixel(ok.left + 1, ok.top + 1));
    ExpectSameOutside(full, over, ok);
}

TEST_F(Painting, RepaintingAnyControlGivesBackTheFullPaintWithANegativeZorderInFront) {
    Open(u"", kOverlay);
    const gfx::Bitmap full = Frame();
    // The overlay blends over the label: neither pure green nor pure red there.
    const gfx::Rect label = RectOf(u"label");
    const uint32_t mixed = full.pixel(label.right - 2, label.top + 2);
    EXPECT_NE(gfx::RedOf(mixed), 0);
    EXPECT_NE(gfx::GreenOf(mixed), 0);
    for (const char16_t* name : {u"label", u"ok", u"panel", u"overlay", u"cancel", u"w"}) {
        duPlugin* p = name == std::u16string_view(u"w") ? Record()->root() : Find(name);
        ASSERT_TRUE(p);
        EXPECT_EQ(RepaintPlugin(Record(), p), 1);
        EXPECT_EQ(Frame(), full) << "after repainting " << platform::WideToUtf8(name);
    }
}

TEST_F(Painting, HiddenControlsAndTheirChildrenAreNotPainted) {
    Open();
    const gfx::Bitmap full = Frame();
    const gfx::Rect ok = RectOf(u"ok");
    const gfx::Rect panel = RectOf(u"panel");
    SetPluginVisible(Find(u"ok"), 0);
    RedrawPlugin(Find(u"ok"), 1);
    const gfx::Bitmap hidden = Frame();
    EXPECT_EQ(hidden.pixel(ok.left + 2, ok.top + 2), full.pixel(panel.left + 1, panel.top + 1))
        << "the panel shows where the button was";
    ExpectSameOutside(full, hidden, ok);

    SetPluginVisible(Find(u"panel"), 0);
    RedrawPlugin(Record()->root(), 0);
    const gfx::Bitmap bare = Frame();
    const uint32_t background = bare.pixel(60, 30);
    EXPECT_EQ(bare.pixel(RectOf(u"label").left + 2, RectOf(u"label").top + 2), background)
        << "visible children of a hidden panel are not painted";
}

TEST_F(Painting, AControlReachingPastItsParentRepaintsOnlyInsideIt) {
    Open(u"", u"<static name=\"wide\" left=\"100\" top=\"40\" width=\"60\" height=\"10\" horzanchor=\"3\" "
              u"vertanchor=\"3\" style=\"red_style\"/>");
    gfx::Rect visible;
    GetVisibleRect(Find(u"wide"), &visible);
    EXPECT_EQ(visible, (gfx::Rect{102, 42, 118, 52}));
    const gfx::Bitmap full = Frame();
    EXPECT_EQ(full.pixel(118, 45), full.pixel(118, 30)) << "the window's frame, not the control, beyond the panel";
    RedrawPlugin(Find(u"wide"), 0);
    EXPECT_EQ(Frame(), full);
}

TEST_F(Painting, ALayeredRepaintBeforeAnyFullPaintDoesNothing) {
    Open();
    Record()->cachedImage.reset();
    EXPECT_EQ(RepaintPlugin(Record(), Find(u"ok")), 0);
    EXPECT_EQ(RepaintPlugin(Record(), nullptr), 0);
}

TEST_F(Painting, AnOrdinaryWindowPaintsOnWmPaintAndCopiesRepaints) {
    Open(u"layered=\"false\"");
    harness_->Pump();
    auto frame = harness_->backend().LastFrame(host_);
    ASSERT_TRUE(frame);
    const gfx::Bitmap full = frame->pixels;
    ASSERT_EQ(full.width(), 120);
    EXPECT_EQ(gfx::AlphaOf(full.pixel(60, 30)), 255);
    const gfx::Rect ok = RectOf(u"ok");
    harness_->MoveTo(host_, ok.left + 3, ok.top + 3);
    frame = harness_->backend().LastFrame(host_);
    ASSERT_TRUE(frame);
    EXPECT_NE(frame->pixels.pixel(ok.left + 1, ok.top + 1), full.pixel(ok.left + 1, ok.top + 1));
    ExpectSameOutside(full, frame->pixels, ok);
}

}  // namespace
}  // namespace vexlo::ui::testing
