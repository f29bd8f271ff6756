// Buttons, check boxes, radios and tab buttons in a skin window: the notifications their
// mouse sequences send, fades on the window's timer, autosize, and what happens when the
// host deletes a control while it handles the control's notification.
#include <gtest/gtest.h>

#include "platform/base/debug_output.h"
#include "platform/gfx/golden.h"
#include "tests/ui/controls/skin_window.h"
#include "ui/controls/buttons.h"
#include "ui/controls/control_services.h"
#include "ui/core/draw_helpers.h"
#include "ui/core/plugin_functions.h"
#include "ui/core/state.h"
#include "ui/core/style_group.h"

namespace vexlo::ui {
namespace {

using testing::Notification;
using testing::SkinWindow;
using testing::StandardTheme;

TEST(Button, ClickSendsCodeThirteenButPressDragOutAndReleaseSendsNothing) {
    SkinWindow w(StandardTheme(), u"<button name=\"b\" style=\"box\" left=\"10\" top=\"10\" width=\"60\" height=\"20\"/>");
    ASSERT_TRUE(w.ok());
    duPlugin* b = w.Find(u"b");
    ASSERT_TRUE(b);
    w.MouseIn(b);
    EXPECT_EQ(b->GetState(), kStateOver);
    w.MouseDown(b);
    EXPECT_EQ(b->GetState(), kStatePress);
    w.MouseUp(b);
    EXPECT_EQ(b->GetState(), kStateOver);
    EXPECT_EQ(w.notifications, (std::vector<Notification>{{u"b", 13, 0, 0}}));

    w.notifications.clear();
    w.MouseDown(b);
    w.MouseLeave(b);
    EXPECT_EQ(b->GetState(), kStateNormal);
    w.MouseUp(b);
    EXPECT_TRUE(w.notifications.empty());

    DispatchPluginMessage(b, kPluginMouseDbClick, 0, 0);
    EXPECT_EQ(w.notifications, (std::vector<Notification>{{u"b", 14, 0, 0}}));
}

TEST(Button, ARealClickThroughTheWindowReachesTheHost) {
    SkinWindow w(StandardTheme(), u"<button name=\"b\" style=\"box\" left=\"10\" top=\"10\" width=\"60\" height=\"20\"/>");
    ASSERT_TRUE(w.ok());
    w.harness().MoveTo(w.host(), 30, 20);
    w.harness().Click(w.host(), 30, 20);
    EXPECT_EQ(w.notifications, (std::vector<Notification>{{u"b", 13, 0, 0}}));
    // Pressed, dragged out of the button and released outside: no click. (Late enough
    // not to make a double click of the first one.)
    w.notifications.clear();
    w.harness().Advance(2000);
    w.harness().MoveTo(w.host(), 30, 20);
    w.harness().Press(w.harness().ToScreen(w.host(), 30, 20).x, w.harness().ToScreen(w.host(), 30, 20).y);
    w.harness().MoveTo(w.host(), 150, 80);
    w.harness().Release(w.harness().ToScreen(w.host(), 150, 80).x, w.harness().ToScreen(w.host(), 150, 80).y);
    EXPECT_TRUE(w.notifications.empty());
}

TEST(Button, FadeStepsOnItsTimerAndAnOrdinaryRedrawEndsIt) {
    SkinWindow w(StandardTheme(), u"<button name=\"b\" style=\"box\" width=\"60\" height=\"20\" fade=\"true\" "
                                  u"fadeinspeed=\"0\"/>");
    ASSERT_TRUE(w.ok());
    auto* b = w.FindAs<duButton>(u"b");
    ASSERT_TRUE(b);
    EXPECT_EQ(b->GetFadeInSpeed(), 40);
    EXPECT_GE(b->fade().timerId, kFirstTimerId);
    w.MouseIn(b);
    ASSERT_TRUE(b->fade().fading);
    EXPECT_EQ(b->fade().newState, kStateOver);
    EXPECT_EQ(b->fade().oldState, kStateNormal);
    // The window's timer drives the steps, 30 ms apart.
    for (int tick = 1; tick <= 7; ++tick) w.harness().Advance(30);
    EXPECT_EQ(b->fade().newAlpha, 255);
    EXPECT_EQ(b->fade().oldAlpha, 45);
    EXPECT_TRUE(b->fade().fading);
    w.harness().Advance(60);
    EXPECT_FALSE(b->fade().fading);
    EXPECT_EQ(b->fade().oldAlpha, 0);

    w.MouseLeave(b);
    ASSERT_TRUE(b->fade().fading);
    EXPECT_EQ(b->fade().oldState, kStateOver);
    w.harness().Advance(30);
    w.MouseDown(b);  // a click repaints with the hook: the fade ends at once
    EXPECT_FALSE(b->fade().fading);
    const int alphaAfterStop = b->fade().newAlpha;
    w.harness().Advance(300);
    EXPECT_EQ(b->fade().newAlpha, alphaAfterStop) << "the timer was stopped";
}

TEST(Button, AutosizeWidthFollowsTheTextBeforeItIsShown) {
    SkinWindow w(StandardTheme(), u"<button name=\"b\" style=\"box\" width=\"5\" height=\"20\" autosize=\"true\" "
                                  u"fixleft=\"10\" fixright=\"10\" text=\"Install\"/>");
    ASSERT_TRUE(w.ok());
    auto* b = w.FindAs<duButton>(u"b");
    ASSERT_TRUE(b);
    duStyleGroup* style = controls::StyleGroupOf(*b);
    ASSERT_TRUE(style);
    gfx::Size shortText, longText;
    style->MeasureText(kStateNormal, u"Install", &shortText);
    style->MeasureText(kStateNormal, u"Install the new version", &longText);
    ASSERT_GT(shortText.width, 0);
    EXPECT_EQ(b->GetPosWidth(), 20 + shortText.width);
    gfx::Rect r;
    b->GetRect(&r);
    EXPECT_EQ(r.width(), 20 + shortText.width);
    EXPECT_EQ(r.height(), 20);
    b->SetText(u"Install the new version");
    b->GetRect(&r);
    EXPECT_EQ(r.width(), 20 + longText.width);
}

TEST(Button, StatesPaintTheirLooksAndGreyDisableDrawsGrey) {
    const char16_t* kButtons =
        u"<button name=\"b\" style=\"box\" width=\"60\" height=\"20\" text=\"OK\" icon=\"ico\" iconx=\"2\" icony=\"-1\" "
        u"iconwidth=\"16\" iconheight=\"16\"/>"
        u"<button name=\"g\" style=\"box\" top=\"30\" width=\"60\" height=\"20\" text=\"OK\" icon=\"ico\" iconx=\"2\" "
        u"icony=\"-1\" iconwidth=\"16\" iconheight=\"16\" graydisable=\"true\"/>";
    SkinWindow w(StandardTheme(), kButtons);
    ASSERT_TRUE(w.ok());
    duPlugin* b = w.Find(u"b");
    duPlugin* g = w.Find(u"g");
    ASSERT_TRUE(b && g);
    EXPECT_TRUE(gfx::CompareWithGolden(w.Paint(b), "ui/controls/golden/button_normal.png", 2));
    w.MouseIn(b);
    EXPECT_TRUE(gfx::CompareWithGolden(w.Paint(b), "ui/controls/golden/button_over.png", 2));
    w.MouseDown(b);
    EXPECT_TRUE(gfx::CompareWithGolden(w.Paint(b), "ui/controls/golden/button_press.png", 2));
    b->SetDisable(1);
    g->SetDisable(1);
    EXPECT_TRUE(gfx::CompareWithGolden(w.Paint(b), "ui/controls/golden/button_disable.png", 2));
    const gfx::Bitmap grey = w.Paint(g);
    EXPECT_TRUE(gfx::CompareWithGolden(grey, "ui/controls/golden/button_disable_grey.png", 2));
    for (int y = 0; y < grey.height(); ++y) {
        for (int x = 0; x < grey.width(); ++x) {
            const uint32_t p = grey.pixel(x, y);
            const uint32_t r = (p >> 16) & 0xFF, gr = (p >> 8) & 0xFF, bl = p & 0xFF;
            ASSERT_TRUE(r == gr && gr == bl) << "colour at " << x << "," << y;
        }
    }
}

TEST(CheckBox, TwoClicksSendCheckedThenUnchecked) {
    SkinWindow w(StandardTheme(), u"<checkbox name=\"c\" style=\"box\" width=\"60\" height=\"20\"/>"
                                  u"<checkbox name=\"pre\" style=\"box\" top=\"30\" width=\"60\" height=\"20\" "
                                  u"checked=\"true\"/>");
    ASSERT_TRUE(w.ok());
    auto* c = w.FindAs<duCheckBox>(u"c");
    auto* pre = w.FindAs<duCheckBox>(u"pre");
    ASSERT_TRUE(c && pre);
    EXPECT_EQ(pre->GetState(), kStateChecked);
    EXPECT_TRUE(pre->GetChecked());
    w.MouseIn(c);
    w.MouseDown(c);
    w.MouseUp(c);
    EXPECT_TRUE(c->GetChecked());
    EXPECT_EQ(c->GetState(), kStateChecked);
    w.MouseIn(c);
    EXPECT_EQ(c->GetState(), kStateCheckedOver);
    w.MouseDown(c);
    EXPECT_EQ(c->GetState(), kStateCheckedPress);
    w.MouseUp(c);
    EXPECT_FALSE(c->GetChecked());
    EXPECT_EQ(c->GetState(), kStateNormal);
    EXPECT_EQ(w.notifications, (std::vector<Notification>{{u"c", 15, 1, 0}, {u"c", 15, 0, 0}}));
    // A release that was not preceded by a press keeps the position and sends nothing.
    w.notifications.clear();
    w.MouseIn(pre);
    w.MouseUp(pre);
    EXPECT_TRUE(pre->GetChecked());
    EXPECT_TRUE(w.notifications.empty());
}

const char16_t* kRadios =
    u"<radio name=\"r1\" style=\"box\" width=\"20\" height=\"20\" groupid=\"1\" checked=\"true\"/>"
    u"<radio name=\"r2\" style=\"box\" left=\"30\" width=\"20\" height=\"20\" groupid=\"1\"/>"
    u"<radio name=\"other\" style=\"box\" left=\"60\" width=\"20\" height=\"20\" groupid=\"2\" checked=\"true\"/>"
    u"<layout name=\"box2\" top=\"30\" width=\"100\" height=\"30\">"
    u"<radio name=\"far\" style=\"box\" width=\"20\" height=\"20\" groupid=\"1\" checked=\"true\"/></layout>";

TEST(Radio, ClickingOneUnchecksOnlyItsGroupUnderTheSameParent) {
    SkinWindow w(StandardTheme(), kRadios);
    ASSERT_TRUE(w.ok());
    auto* r1 = w.FindAs<duRadio>(u"r1");
    auto* r2 = w.FindAs<duRadio>(u"r2");
    auto* other = w.FindAs<duRadio>(u"other");
    auto* far = w.FindAs<duRadio>(u"far");
    ASSERT_TRUE(r1 && r2 && other && far);
    EXPECT_TRUE(r1->GetChecked());
    w.MouseIn(r2);
    w.MouseDown(r2);
    w.MouseUp(r2);
    EXPECT_TRUE(r2->GetChecked());
    EXPECT_FALSE(r1->GetChecked());
    EXPECT_TRUE(other->GetChecked());
    EXPECT_TRUE(far->GetChecked());
    EXPECT_EQ(w.notifications, (std::vector<Notification>{{u"r2", 27, 1, 0}}));
    // A click on the checked radio changes nothing.
    w.notifications.clear();
    w.MouseDown(r2);
    w.MouseUp(r2);
    EXPECT_EQ(r2->GetState(), kStateCheckedPress);
    EXPECT_TRUE(w.notifications.empty());
    w.MouseLeave(r2);
    EXPECT_EQ(r2->GetState(), kStateChecked);
}

TEST(Radio, AHostThatDeletesTheRadioInItsClickIsSafe) {
    SkinWindow w(StandardTheme(), kRadios);
    ASSERT_TRUE(w.ok());
    duPlugin* r2 = w.Find(u"r2");
    w.onNotify = [&](const Notification&) { DeletePlugin(r2); };
    w.MouseIn(r2);
    w.MouseDown(r2);
    w.MouseUp(r2);
    EXPECT_FALSE(IsPluginValid(r2));
    EXPECT_TRUE(w.FindAs<duRadio>(u"r1")->GetChecked());
}

const char16_t* kTabs =
    u"<tabbutton name=\"t1\" style=\"box\" width=\"30\" height=\"20\" tabpage=\"p1\" selected=\"true\"/>"
    u"<tabbutton name=\"t2\" style=\"box\" left=\"40\" width=\"30\" height=\"20\" tabpage=\"p2\"/>"
    u"<static name=\"p1\" top=\"30\" width=\"50\" height=\"20\"/>"
    u"<static name=\"p2\" top=\"30\" width=\"50\" height=\"20\"/>";

TEST(TabButton, SelectionMovesThePageAndAVetoKeepsThePreviousTab) {
    SkinWindow w(StandardTheme(), kTabs);
    ASSERT_TRUE(w.ok());
    auto* t1 = w.FindAs<duTabButton>(u"t1");
    auto* t2 = w.FindAs<duTabButton>(u"t2");
    duPlugin* p1 = w.Find(u"p1");
    duPlugin* p2 = w.Find(u"p2");
    ASSERT_TRUE(t1 && t2 && p1 && p2);
    EXPECT_TRUE(t1->GetSelected());
    EXPECT_EQ(t1->GetState(), kStateChecked);
    EXPECT_TRUE(p1->IsVisible());
    EXPECT_FALSE(p2->IsVisible());

    w.answer = 1;
    w.MouseIn(t2);
    w.MouseDown(t2);
    w.MouseUp(t2);
    EXPECT_TRUE(t1->GetSelected());
    EXPECT_FALSE(t2->GetSelected());
    EXPECT_EQ(t2->GetState(), kStateOver);
    EXPECT_TRUE(p1->IsVisible());
    EXPECT_FALSE(p2->IsVisible());

    w.answer = 0;
    w.notifications.clear();
    w.MouseDown(t2);
    w.MouseUp(t2);
    EXPECT_EQ(w.notifications, (std::vector<Notification>{{u"t2", 30, 1, 0}, {u"t1", 30, 0, 0}}));
    EXPECT_FALSE(t1->GetSelected());
    EXPECT_EQ(t1->GetState(), kStateNormal);
    EXPECT_TRUE(t2->GetSelected());
    EXPECT_EQ(t2->GetState(), kStateCheckedOver);
    EXPECT_FALSE(p1->IsVisible());
    EXPECT_TRUE(p2->IsVisible());

    // A click on the selected tab does nothing; Select moves back without notifying.
    w.notifications.clear();
    w.MouseDown(t2);
    w.MouseUp(t2);
    t1->Select();
    EXPECT_TRUE(w.notifications.empty());
    EXPECT_TRUE(t1->GetSelected());
    EXPECT_TRUE(p1->IsVisible());
    EXPECT_FALSE(p2->IsVisible());
}

TEST(TabButton, DeletingTheDeselectedTabInItsNotificationStopsTheSelection) {
    SkinWindow w(StandardTheme(), kTabs);
    ASSERT_TRUE(w.ok());
    duPlugin* t1 = w.Find(u"t1");
    auto* t2 = w.FindAs<duTabButton>(u"t2");
    w.onNotify = [&](const Notification& n) {
        if (n.code == 30 && n.first == 0) DeletePlugin(t1);
    };
    platform::DebugOutputCapture capture;
    w.MouseDown(t2);
    w.MouseUp(t2);
    EXPECT_FALSE(IsPluginValid(t1));
    EXPECT_FALSE(t2->GetSelected());
    bool reported = false;
    for (const auto& m : capture.Messages()) reported |= m.find(u"error: delete tabbutton in DUM_TBBSELECTED notify") != m.npos;
    EXPECT_TRUE(reported);
}

TEST(TabButton, DeletingTabsWhileTheirPagesAreShownOrHiddenIsSafe) {
    for (const char16_t* victim : {u"t1", u"t2"}) {
        SkinWindow w(StandardTheme(), kTabs);
        ASSERT_TRUE(w.ok());
        duPlugin* gone = w.Find(victim);
        duPlugin* t2 = w.Find(u"t2");
        // Code 2 reports the page's visibility change, while the selection is under way.
        w.onAnyNotify = [&](const Notification& n) {
            if (n.code == 2 && IsPluginValid(gone)) DeletePlugin(gone);
        };
        w.MouseDown(t2);
        w.MouseUp(t2);
        EXPECT_FALSE(IsPluginValid(gone));
        if (IsPluginValid(t2)) {
            EXPECT_TRUE(static_cast<duTabButton*>(t2)->GetSelected());
        }
    }
}

TEST(TabButton, DeletingTheClickedTabWhileTheHostDecidesIsSafe) {
    SkinWindow again(StandardTheme(), kTabs);
    ASSERT_TRUE(again.ok());
    duPlugin* clicked = again.Find(u"t2");
    again.onNotify = [&](const Notification& n) {
        if (n.first == 1) DeletePlugin(clicked);
    };
    again.MouseDown(clicked);
    again.MouseUp(clicked);
    EXPECT_FALSE(IsPluginValid(clicked));
    EXPECT_TRUE(again.FindAs<duTabButton>(u"t1")->GetSelected());
}

}  // namespace
}  // namespace vexlo::ui
