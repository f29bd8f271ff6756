// Static texts, links, wrapped and mark-up texts and layouts in a skin window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/debug_output.h"
#include "platform/win/messages.h"
#include "platform/win/tooltip.h"
#include "platform/win/window_api.h"
#include "tests/ui/controls/skin_window.h"
#include "ui/controls/buttons.h"
#include "ui/controls/control_services.h"
#include "ui/controls/layout.h"
#include "ui/controls/rich_text.h"
#include "ui/controls/static_text.h"
#include "ui/controls/url_opener.h"
#include "ui/core/draw_helpers.h"
#include "ui/core/plugin_functions.h"
#include "ui/core/state.h"

namespace vexlo::ui {
namespace {

using testing::Notification;
using testing::SkinWindow;
using testing::StandardTheme;

gfx::Rect RectOf(const duPlugin* p) {
    gfx::Rect r;
    p->GetRect(&r);
    return r;
}

// The window's tooltip holds a tool with the text (it pops up once the mouse rests).
bool TooltipShown(duPlugin* p, std::u16string_view text) {
    auto state = win::GetTooltipState(RecordOf(p)->tooltip);
    if (!state) return false;
    for (const auto& tool : state->tools) {
        if (tool.text == text) return true;
    }
    return false;
}

void SetWidth(duPlugin* p, int width) {
    p->SetPosWidth(width);
    ResizePlugin(p);
}

TEST(Static, TooltipOnlyWhenTheTextDoesNotFitItsTextItemUnlessAlwaysAsked) {
    SkinWindow w(StandardTheme(),
                 u"<static name=\"s\" style=\"inset\" width=\"100\" height=\"20\" text=\"Hello tooltip\"/>"
                 u"<static name=\"always\" style=\"inset\" top=\"30\" width=\"150\" height=\"20\" text=\"Hi\" "
                 u"showtooltip=\"true\"/>");
    ASSERT_TRUE(w.ok());
    auto* s = w.FindAs<duStatic>(u"s");
    ASSERT_TRUE(s);
    const gfx::Size text = MeasureTextSize(controls::FontNamed(*s, u"f"), u"Hello tooltip", true);
    ASSERT_GT(text.width, 20);
    // The text item keeps 10 pixels on each side. Width + 15 leaves width - 5 for the
    // text: it does not fit, although it ends left of the item's right edge.
    SetWidth(s, text.width + 15);
    EXPECT_FALSE(s->TextFits());
    w.MouseIn(s);
    EXPECT_TRUE(TooltipShown(s, u"Hello tooltip"));
    w.MouseLeave(s);
    EXPECT_FALSE(TooltipShown(s, u"Hello tooltip"));

    SetWidth(s, text.width + 20);
    EXPECT_TRUE(s->TextFits());
    w.MouseIn(s);
    EXPECT_FALSE(TooltipShown(s, u"Hello tooltip"));
    w.MouseLeave(s);

    duPlugin* always = w.Find(u"always");
    w.MouseIn(always);
    EXPECT_TRUE(TooltipShown(always, u"Hi"));
}

TEST(Link, OpensOnlyAfterAPressOnItAndOnlyWebOrMailAddresses) {
    std::vector<std::u16string> opened;
    SetUrlOpener([&](std::u16string_view url) {
        opened.emplace_back(url);
        return true;
    });
    SkinWindow w(StandardTheme(),
                 u"<link name=\"l\" style=\"box\" width=\"60\" height=\"20\" url=\"https://example.org/x\"/>"
                 u"<link name=\"bad\" style=\"box\" top=\"30\" width=\"60\" height=\"20\" url=\"file:///etc/passwd\"/>");
    ASSERT_TRUE(w.ok());
    duPlugin* l = w.Find(u"l");
    // The button went down elsewhere and comes up over the link.
    w.MouseIn(l);
    w.MouseUp(l);
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(w.notifications.empty());
    w.MouseDown(l);
    EXPECT_EQ(l->GetState(), kStatePress);
    w.MouseUp(l);
    EXPECT_EQ(l->GetState(), kStateOver);
    EXPECT_EQ(opened, (std::vector<std::u16string>{u"https://example.org/x"}));
    EXPECT_EQ(w.notifications, (std::vector<Notification>{{u"l", 33, 0, 0}}));

    duPlugin* bad = w.Find(u"bad");
    w.MouseIn(bad);
    w.MouseDown(bad);
    w.MouseUp(bad);
    EXPECT_EQ(opened.size(), 1u);
    SetUrlOpener(nullptr);
}

TEST(StaticEx, LinesAreQueriedFromOneAndRebuiltAfterAResize) {
    SkinWindow w(StandardTheme(),
                 u"<staticex name=\"e\" width=\"100\" height=\"60\" font=\"f\" linespace=\"2\" text=\"a&#xA;b\"/>");
    ASSERT_TRUE(w.ok());
    auto* e = w.FindAs<duStaticEx>(u"e");
    ASSERT_TRUE(e);
    EXPECT_EQ(e->GetLineCount(), 2);
    EXPECT_EQ(e->GetLineText(1), u"a\n");
    EXPECT_EQ(e->GetLineText(2), u"b");
    EXPECT_EQ(e->GetLineText(0), u"");
    EXPECT_EQ(e->GetLineText(3), u"");
    const gfx::Size b = MeasureTextSize(controls::FontNamed(*e, u"f"), u"b", true);
    int32_t width = -1, height = -1;
    e->GetLineExtent(2, &width, &height);
    EXPECT_EQ(width, b.width);
    EXPECT_EQ(height, 2 * (b.height + 2));
    width = height = -1;
    e->GetLineExtent(3, &width, &height);
    EXPECT_EQ(width, -1);
    e->GetLineExtent(1, nullptr, &height);

    e->SetText(u"several words that cannot stay on one narrow line");
    const int wide = e->GetLineCount();
    SetWidth(e, 40);
    const int narrow = e->GetLineCount();
    EXPECT_GT(narrow, wide);
    for (int i = 1; i <= narrow; ++i) {
        e->GetLineExtent(i, &width, &height);
        EXPECT_LE(width, 40) << i;
    }
    EXPECT_GT(e->GetTextHeight(), 0);
    SetWidth(e, 0);
    EXPECT_EQ(e->GetLineCount(), 0);
}

constexpr char16_t kMarkup[] =
    u"<text Font=\"f\" Color=\"RGB(0,0,0)\">Plain words<br/>"
    u"<text Font=\"f\" Color=\"RGB(0,0,255)\" href=\"https://example.org/more\">Read more</text></text>";

TEST(XmlStatic, HoverUnderlinesTheLinkAndAClickSendsItsAddress) {
    SkinWindow w(StandardTheme(), u"<xmlstatic name=\"x\" left=\"5\" top=\"5\" width=\"150\" height=\"40\"/>");
    ASSERT_TRUE(w.ok());
    auto* x = w.FindAs<duXmlStatic>(u"x");
    ASSERT_TRUE(x);
    x->SetText(kMarkup);
    ASSERT_EQ(x->lines().size(), 2u);
    const MarkupLine& second = x->lines()[1];
    ASSERT_EQ(second.pieces.size(), 1u);
    const int lineTop = x->lines()[0].height + x->paragraphSpace();
    const gfx::Bitmap plain = w.Paint(x, 0xFFFFFFFFu);

    const gfx::Rect r = RectOf(x);
    w.MouseMove(x, r.left + 3, r.top + lineTop + second.height / 2);
    ASSERT_TRUE(x->HoveredRun());
    EXPECT_EQ(x->HoveredRun()->href, u"https://example.org/more");
    const gfx::Bitmap hovered = w.Paint(x, 0xFFFFFFFFu);
    bool firstLineSame = true, secondLineChanged = false;
    for (int py = 0; py < plain.height(); ++py) {
        for (int px = 0; px < plain.width(); ++px) {
            const bool differs = plain.pixel(px, py) != hovered.pixel(px, py);
            if (py < lineTop && differs) firstLineSame = false;
            if (py >= lineTop && differs) secondLineChanged = true;
        }
    }
    EXPECT_TRUE(firstLineSame);
    EXPECT_TRUE(secondLineChanged);

    std::u16string seen;
    w.onNotify = [&](const Notification&) { seen = x->GetClickedHref(); };
    platform::DebugOutputCapture capture;
    w.MouseDown(x);
    EXPECT_EQ(w.notifications, (std::vector<Notification>{{u"x", 39, 0, 0}}));
    EXPECT_EQ(seen, u"https://example.org/more");
    bool reported = false;
    for (const auto& m : capture.Messages()) reported |= m.find(u"IsHrefSegment true") != m.npos;
    EXPECT_TRUE(reported);

    // Over the plain run: no link, no notification.
    w.notifications.clear();
    w.MouseMove(x, r.left + 3, r.top + 2);
    ASSERT_TRUE(x->HoveredRun());
    EXPECT_TRUE(x->HoveredRun()->href.empty());
    w.MouseDown(x);
    EXPECT_TRUE(w.notifications.empty());
    w.MouseLeave(x);
    EXPECT_FALSE(x->HoveredRun());
}

TEST(XmlStatic, AHostThatReplacesTheTextOrDeletesTheControlInTheClickIsSafe) {
    SkinWindow w(StandardTheme(), u"<xmlstatic name=\"x\" width=\"150\" height=\"40\"/>"
                                  u"<xmlstatic name=\"y\" top=\"50\" width=\"150\" height=\"40\"/>");
    ASSERT_TRUE(w.ok());
    auto* x = w.FindAs<duXmlStatic>(u"x");
    auto* y = w.FindAs<duXmlStatic>(u"y");
    x->SetText(kMarkup);
    y->SetText(kMarkup);
    const int lineTop = x->lines()[0].height;
    w.onNotify = [&](const Notification& n) {
        if (n.control == u"x") x->SetText(u"<text>gone</text>");
        else DeletePlugin(y);
    };
    w.MouseMove(x, 3, lineTop + 2);
    w.MouseDown(x);
    EXPECT_EQ(x->runs().size(), 1u);
    w.MouseMove(y, 3, 50 + lineTop + 2);
    w.MouseDown(y);
    EXPECT_FALSE(IsPluginValid(y));
    EXPECT_EQ(w.notifications.size(), 2u);
}

TEST(XmlStatic, BadMarkupShowsNoTextAndAZeroWidthBuildsNoLines) {
    SkinWindow w(StandardTheme(), u"<xmlstatic name=\"x\" width=\"150\" height=\"40\"/>"
                                  u"<xmlstatic name=\"z\" width=\"0\" height=\"40\"/>");
    ASSERT_TRUE(w.ok());
    auto* x = w.FindAs<duXmlStatic>(u"x");
    auto* z = w.FindAs<duXmlStatic>(u"z");
    x->SetText(u"<text>unclosed");
    EXPECT_TRUE(x->runs().empty());
    EXPECT_TRUE(x->lines().empty());
    z->SetText(kMarkup);
    EXPECT_FALSE(z->runs().empty());
    EXPECT_TRUE(z->lines().empty());
    w.Paint(x);
}

TEST(Layout, AlwaysHotFollowsTheMouseOverItsWholeRectangle) {
    SkinWindow w(StandardTheme(),
                 u"<layout name=\"hot\" style=\"box\" left=\"10\" top=\"10\" width=\"100\" height=\"50\" alwayshot=\"true\">"
                 u"<button name=\"inner\" style=\"box\" width=\"20\" height=\"20\"/></layout>");
    ASSERT_TRUE(w.ok());
    auto* hot = w.FindAs<duLayout>(u"hot");
    ASSERT_TRUE(hot);
    win::SendMessage(w.host(), win::WM_MOUSEMOVE, 0, win::MakeLParam(15, 15));
    EXPECT_EQ(hot->GetState(), kStateOver);
    win::SendMessage(w.host(), win::WM_MOUSEMOVE, 0, win::MakeLParam(150, 80));
    EXPECT_EQ(hot->GetState(), kStateNormal);
    hot->SetAlwaysHot(false);
    win::SendMessage(w.host(), win::WM_MOUSEMOVE, 0, win::MakeLParam(15, 15));
    EXPECT_EQ(hot->GetState(), kStateNormal);
    hot->SetAlwaysHot(true);
    win::SendMessage(w.host(), win::WM_MOUSEMOVE, 0, win::MakeLParam(15, 15));
    EXPECT_EQ(hot->GetState(), kStateOver);
    // Deleting the layout takes it out of the window's hooks.
    DeletePlugin(hot);
    win::SendMessage(w.host(), win::WM_MOUSEMOVE, 0, win::MakeLParam(150, 80));
}

TEST(Layout, ARowFollowsItsChildrenShowingHidingAndGrowing) {
    SkinWindow w(StandardTheme(),
                 u"<layout name=\"row\" width=\"200\" height=\"30\" type=\"1\" startx=\"5\" xspace=\"3\">"
                 u"<button name=\"a\" style=\"box\" width=\"20\" height=\"20\" autosize=\"true\" text=\"A\"/>"
                 u"<button name=\"b\" style=\"box\" width=\"30\" height=\"20\"/></layout>");
    ASSERT_TRUE(w.ok());
    duPlugin* a = w.Find(u"a");
    duPlugin* b = w.Find(u"b");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(RectOf(a).left, 5);
    EXPECT_EQ(RectOf(b).left, RectOf(a).right + 3);
    a->SetText(u"A much longer caption");
    EXPECT_EQ(RectOf(b).left, RectOf(a).right + 3);
    SetPluginVisible(a, 0);
    EXPECT_EQ(RectOf(b).left, 5);
    SetPluginVisible(a, 1);
    EXPECT_EQ(RectOf(b).left, RectOf(a).right + 3);
}

TEST(Layout, AfterLoadingTheGridArrangesAndTypeZeroLeavesItsChildren) {
    SkinWindow w(StandardTheme(),
                 u"<gridlayout name=\"g\" width=\"80\" height=\"60\" grid=\"true\" maxcount=\"4\" itemwidth=\"30\" "
                 u"itemheight=\"20\" xspace=\"5\" yspace=\"4\">"
                 u"<static name=\"g1\" width=\"30\" height=\"20\"/><static name=\"g2\" width=\"30\" height=\"20\"/>"
                 u"<static name=\"g3\" width=\"30\" height=\"20\"/></gridlayout>"
                 u"<layout name=\"panel\" top=\"60\" width=\"200\" height=\"40\">"
                 u"<static name=\"s1\" left=\"5\" width=\"30\" height=\"20\"/>"
                 u"<button name=\"s2\" left=\"-40\" width=\"30\" height=\"20\"/></layout>");
    ASSERT_TRUE(w.ok());
    EXPECT_EQ(RectOf(w.Find(u"g1")), (gfx::Rect{0, 0, 65, 20}));
    EXPECT_EQ(RectOf(w.Find(u"g2")), (gfx::Rect{0, 24, 30, 44}));
    EXPECT_EQ(RectOf(w.Find(u"g3")), (gfx::Rect{35, 24, 65, 44}));
    duPlugin* s1 = w.Find(u"s1");
    duPlugin* s2 = w.Find(u"s2");
    EXPECT_EQ(RectOf(s2), (gfx::Rect{160, 60, 190, 80}));
    SetPluginVisible(s1, 0);
    EXPECT_EQ(RectOf(s2), (gfx::Rect{160, 60, 190, 80}));
}

}  // namespace
}  // namespace vexlo::ui
