// Input routing through the library's window procedure: hover changes, clicks and the
// focus, capture, disabled controls, the wheel, cursors, hit codes and size limits, and
// handlers that delete controls or destroy the window in the middle of a dispatch.
#include <gtest/gtest.h>

#include "platform/base/text.h"
#include "tests/ui/window/skin_window_fixture.h"
#include "tests/ui/window/test_skin.h"
#include "ui/core/plugin_registry.h"
#include "ui/core/window_proc.h"

namespace vexlo::ui::testing {
namespace {

using Log = std::vector<std::string>;

class Routing : public SkinWindowTest {
protected:
    void Open(std::u16string_view windowAttributes = u"", std::u16string_view extra = u"") {
        LoadSkin(TestSkin(windowAttributes, extra));
        Attach(u"w");
        ASSERT_TRUE(Record());
        harness_->Pump();
        Clear();
    }
    void Clear() {
        ProbeLog().clear();
        Seen().clear();
    }
    // The client point of a control's centre.
    gfx::Point Centre(std::u16string_view name) const {
        gfx::Rect r = RectOf(name);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
    void MoveOnto(std::u16string_view name) {
        gfx::Point p = Centre(name);
        harness_->MoveTo(host_, p.x, p.y);
    }
    void ClickOn(std::u16string_view name) {
        gfx::Point p = Centre(name);
        harness_->Click(host_, p.x, p.y);
        harness_->Advance(600);  // the next click is not a double click
    }
};

TEST_F(Routing, ControlsAreNamedAndCreatedFrontLayerFirst) {
    LoadSkin(TestSkin());
    Attach(u"w");
    EXPECT_EQ(ProbeLog(), (Log{"cancel:Create", "ok:Create", "label:Create", "panel:Create"}));
    EXPECT_EQ(AttachWindow(manager_.get(), host_, u"w"), 0) << "a window is attached once";
    win::Window other = CreateHost();
    const intptr_t proc = win::GetWindowLongPtr(other, win::GWLP_WNDPROC);
    EXPECT_EQ(AttachWindow(manager_.get(), other, u"missing"), 0);
    EXPECT_EQ(AttachWindow(manager_.get(), win::Window(), u"w"), 0);
    EXPECT_EQ(AttachWindow(nullptr, other, u"w"), 0);
    EXPECT_EQ(AttachWindow(manager_.get(), other, nullptr), 0);
    EXPECT_EQ(win::GetWindowLongPtr(other, win::GWLP_WNDPROC), proc) << "a refused window is unchanged";
    EXPECT_FALSE(GetWindowRecord(other));
}

TEST_F(Routing, MovingFromOneControlOntoAnotherLeavesThenEntersThenMoves) {
    Open();
    MoveOnto(u"ok");
    Clear();
    const gfx::Point c = Centre(u"cancel");
    MoveOnto(u"cancel");
    const std::string at = "(" + std::to_string(c.x) + "," + std::to_string(c.y) + ")";
    ASSERT_GE(ProbeLog().size(), 3u);
    EXPECT_EQ(Log(ProbeLog().begin(), ProbeLog().begin() + 3), (Log{"ok:Leave" + at, "cancel:In" + at, "cancel:Move" + at}));
    EXPECT_EQ(Seen(), (std::vector<SeenNotification>{{u"ok", kNotifyMouseLeave, 0, 0},
                                                     {u"cancel", kNotifyMouseIn, c.x, c.y}}));
    EXPECT_TRUE(Record()->hover.Is(Find(u"cancel")));

    // Leaving the window: the hover control is told and the root takes its place.
    Clear();
    harness_->MoveTo(600, 600);
    EXPECT_EQ(ProbeLog(), (Log{"cancel:Leave(0,0)"}));
    EXPECT_EQ(Seen(), (std::vector<SeenNotification>{{u"cancel", kNotifyMouseLeave, 0, 0}}));
    EXPECT_TRUE(Record()->hover.Is(Record()->root()));
}

TEST_F(Routing, AClickMovesTheFocusBetweenTheDownAndTheUp) {
    Open();
    ClickOn(u"label");
    MoveOnto(u"ok");
    Clear();
    const gfx::Point p = Centre(u"ok");
    harness_->Click(host_, p.x, p.y);
    const std::string at = "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")";
    // The harness moves the mouse onto the point first, which adds a move of its own.
    ASSERT_GE(ProbeLog().size(), 6u);
    EXPECT_EQ(Log(ProbeLog().end() - 6, ProbeLog().end()),
              (Log{"ok:Move" + at, "ok:LDown" + at, "label:KillFocus(ok)", "ok:SetFocus(label)", "ok:Move" + at,
                   "ok:LUp" + at}));
    EXPECT_EQ(Seen(), (std::vector<SeenNotification>{{u"ok", kNotifyMouseLDown, p.x, p.y},
                                                     {u"label", kNotifyKillFocus, 0, 0},
                                                     {u"ok", kNotifySetFocus, 0, 0},
                                                     {u"ok", kNotifyBtnClick, 0, 0},
                                                     {u"ok", kNotifyMouseLUp, p.x, p.y}}));
    EXPECT_TRUE(Record()->focus.Is(Find(u"ok")));
    EXPECT_EQ(Find(u"ok")->IsFocus(), 1);
    EXPECT_EQ(Find(u"label")->IsFocus(), 0);

    // The bare background: the root becomes the hover control, the focus stays.
    harness_->Advance(600);
    Clear();
    harness_->Click(host_, 1, 30);
    EXPECT_TRUE(Record()->hover.Is(Record()->root()));
    EXPECT_TRUE(Record()->focus.Is(Find(u"ok")));
    for (const SeenNotification& n : Seen()) EXPECT_NE(n.code, kNotifySetFocus);

    // Keys go to the focus control.
    Clear();
    harness_->Key(win::VK_RETURN);
    EXPECT_EQ(ProbeLog(), (Log{"ok:KeyDown(13,1)"}));
}

TEST_F(Routing, TheCaptureControlAloneReceivesTheMouse) {
    Open();
    MoveOnto(u"ok");
    duPlugin* ok = Find(u"ok");
    ASSERT_EQ(SetPluginCapture(ok), 1);
    EXPECT_EQ(GetCapturePlugin(ok), ok);
    Clear();
    const gfx::Point l = Centre(u"label");
    harness_->Press(harness_->ToScreen(host_, l.x, l.y).x, harness_->ToScreen(host_, l.x, l.y).y);
    const std::string at = "(" + std::to_string(l.x) + "," + std::to_string(l.y) + ")";
    EXPECT_EQ(ProbeLog(), (Log{"ok:Move" + at, "ok:LDown" + at}));
    EXPECT_EQ(Seen(), (std::vector<SeenNotification>{{u"ok", kNotifyMouseLDown, l.x, l.y}}));
    EXPECT_TRUE(Record()->hover.Is(ok)) << "no hover change under a capture";
    Clear();
    ReleasePluginCapture(ok);
    EXPECT_EQ(ProbeLog(), (Log{"ok:CaptureChanged(none)"}));
    EXPECT_EQ(GetCapturePlugin(ok), nullptr);
    EXPECT_FALSE(win::GetCapture());
}

TEST_F(Routing, ADisabledControlIsHoveredButHearsNothingAndShowsTheArrow) {
    Open();
    duPlugin* cancel = Find(u"cancel");
    cancel->SetDisable(1);
    MoveOnto(u"ok");
    Clear();
    MoveOnto(u"cancel");
    EXPECT_TRUE(Record()->hover.Is(cancel));
    for (const std::string& e : ProbeLog()) EXPECT_EQ(e.rfind("cancel:", 0), std::string::npos) << e;
    for (const SeenNotification& n : Seen()) EXPECT_NE(n.control, u"cancel");
    win::SetCursor(win::LoadCursor(0, win::IDC_HAND));
    EXPECT_EQ(win::SendMessage(host_, win::WM_SETCURSOR, host_.value(), win::MakeLParam(win::HTCLIENT, 0)), 1);
    EXPECT_EQ(win::GetStandardCursorId(win::GetCursor()), win::IDC_ARROW);
    EXPECT_EQ(win::SendMessage(host_, win::WM_SETCURSOR, host_.value(), win::MakeLParam(win::HTBOTTOMRIGHT, 0)), 0);
    EXPECT_EQ(win::GetStandardCursorId(win::GetCursor()), win::IDC_SIZENWSE);
    SetFocusPlugin(Record(), cancel);
    EXPECT_FALSE(Record()->focus.Is(cancel)) << "a disabled control takes no focus";
}

TEST_F(Routing, TheWheelGoesToTheFocusControlAndHitTestsInClientCoordinates) {
    Open();
    ClickOn(u"label");
    Clear();
    const gfx::Point c = Centre(u"ok");
    const gfx::Point screen = harness_->ToScreen(host_, c.x, c.y);
    harness_->Wheel(screen.x, screen.y, 120);
    const std::string wheel =
        "label:Wheel(0,120," + std::to_string(screen.x) + "," + std::to_string(screen.y) + ")";
    EXPECT_NE(std::find(ProbeLog().begin(), ProbeLog().end(), wheel), ProbeLog().end());
    EXPECT_TRUE(Record()->hover.Is(Find(u"ok"))) << "the wheel's screen point was hit-tested in the client area";
}

TEST_F(Routing, BordersGiveSizingCodesAndTheRootGivesSizeLimits) {
    Open(u"bordersize=\"4\" minwidth=\"50\" minheight=\"40\" maxheight=\"300\"");
    const struct {
        int x, y;
        intptr_t code;
    } cases[] = {{1, 1, 13}, {118, 1, 14}, {60, 1, 12}, {1, 30, 10}, {117, 30, 11}, {60, 58, 15}, {60, 30, 1}};
    for (const auto& c : cases) {
        const gfx::Point s = harness_->ToScreen(host_, c.x, c.y);
        EXPECT_EQ(win::SendMessage(host_, win::WM_NCHITTEST, 0, win::MakeLParam(s.x, s.y)), c.code) << c.x << "," << c.y;
    }
    win::MinMaxInfo info;
    win::SendMessage(host_, win::WM_GETMINMAXINFO, 0, reinterpret_cast<intptr_t>(&info));
    EXPECT_EQ(info.minTrackSize, (gfx::Point{50, 40}));
    EXPECT_EQ(info.maxTrackSize, (gfx::Point{1920, 300})) << "a missing maxwidth is no limit";
    EXPECT_EQ(info.maxSize, (gfx::Point{1920, 300}));
}

TEST_F(Routing, APressInTheCaptionDragsTheWindowAndOneBelowItDoesNot) {
    Open(u"captionheight=\"30\"");
    gfx::Rect before, after;
    win::GetWindowRect(host_, &before);
    gfx::Point below = harness_->ToScreen(host_, 1, 40);
    harness_->Press(below.x, below.y);
    harness_->MoveTo(below.x + 30, below.y + 30);
    harness_->Release(below.x + 30, below.y + 30);
    win::GetWindowRect(host_, &after);
    EXPECT_EQ(after, before);
    harness_->Advance(600);
    gfx::Point inside = harness_->ToScreen(host_, 1, 10);
    harness_->Press(inside.x, inside.y);
    harness_->MoveTo(inside.x + 30, inside.y + 20);
    harness_->Release(inside.x + 30, inside.y + 20);
    win::GetWindowRect(host_, &after);
    EXPECT_EQ(after, before.Offset(30, 20));
}

TEST_F(Routing, HidingAPanelTakesFocusHoverAndCaptureFromItsControls) {
    Open();
    ClickOn(u"ok");
    duPlugin* ok = Find(u"ok");
    SetPluginCapture(ok);
    Clear();
    EXPECT_EQ(SetPluginVisible(Find(u"panel"), 1), 0) << "the current value changes nothing";
    EXPECT_TRUE(Seen().empty());
    SetPluginVisible(Find(u"panel"), 0);
    EXPECT_EQ(Seen(), (std::vector<SeenNotification>{{u"panel", kNotifyShowControl, 0, 0}}));
    EXPECT_EQ(ProbeLog(), (Log{"ok:Leave(51,6)", "ok:CaptureChanged(none)"}));
    EXPECT_FALSE(Record()->focus.alive());
    EXPECT_FALSE(Record()->hover.alive());
    EXPECT_FALSE(Record()->capture.alive());
    EXPECT_EQ(ok->IsFocus(), 0);
}

TEST_F(Routing, TimersReachTheirControlAndStopWhenItIsGone) {
    Open();
    duPlugin* ok = Find(u"ok");
    const uint32_t id = TakeTimerId();
    EXPECT_GT(id, Record()->caretTimerId) << "identifiers come from one rising counter";
    ASSERT_EQ(SetPluginTimer(ok, id, 100), 1);
    EXPECT_EQ(SetPluginTimer(Find(u"label"), id, 100), 0) << "the identifier is in use";
    harness_->Advance(100);
    EXPECT_EQ(ProbeLog(), (Log{"ok:Timer(" + std::to_string(id) + ")"}));
    DeletePlugin(ok);
    harness_->Advance(300);
    EXPECT_EQ(Record()->timers.count(id), 0u) << "a timer message for a dead control stops that timer";
    EXPECT_EQ(KillPluginTimer(Find(u"label"), id), 0);
}

TEST_F(Routing, DeletingTheControlInsideItsOwnNotificationIsSafe) {
    Open();
    MoveOnto(u"ok");
    OnNotify() = [this](duPlugin* p, const win::NotificationRecord& r) {
        if (p == Find(u"ok") && r.code == kNotifyMouseLDown) DeletePlugin(p);
    };
    Clear();
    const gfx::Point p = Centre(u"ok");
    harness_->Click(host_, p.x, p.y);
    EXPECT_EQ(Find(u"ok"), nullptr);
    size_t fromOk = 0;
    for (const SeenNotification& n : Seen()) fromOk += n.control == u"ok";
    EXPECT_EQ(fromOk, 1u) << "nothing more for the deleted control, and no focus moved to it";
    EXPECT_TRUE(Record()->hover.Is(Find(u"panel"))) << "the release finds what now lies under the mouse";
    EXPECT_FALSE(Record()->focus.alive());
    EXPECT_NE(std::find(ProbeLog().begin(), ProbeLog().end(), "panel:ChildDelete(ok)"), ProbeLog().end());
    EXPECT_EQ(Find(u"panel")->GetFirstChild(), Find(u"label"));
    EXPECT_EQ(Find(u"label")->GetNextSibling(), Find(u"cancel"));
    EXPECT_FALSE(Record()->zorder->Contains(nullptr));
    EXPECT_EQ(Record()->zorder->FrontToBack().size(), 4u);
    EXPECT_EQ(DeletePlugin(Record()->root()), 0) << "the root cannot be deleted";
}

TEST_F(Routing, DestroyingTheWindowInsideANotificationIsSafe) {
    Open();
    MoveOnto(u"ok");
    OnNotify() = [this](duPlugin*, const win::NotificationRecord& r) {
        if (r.code == kNotifyMouseLDown) win::DestroyWindow(host_);
    };
    const gfx::Point p = Centre(u"ok");
    harness_->Click(host_, p.x, p.y);
    EXPECT_FALSE(win::IsWindow(host_));
    EXPECT_EQ(manager_->GetWindowCount(), 0);
    EXPECT_EQ(LivePluginCount(), 0u);
}

TEST_F(Routing, HandlersThatDeleteOrDestroyAnythingAtAnyNotificationAreSurvived) {
    // What a host handler does when it hears a given code from any control.
    enum class Act { kDeleteSender, kDeletePanel, kDeleteOther, kDestroyWindow };
    const struct {
        int32_t code;
        Act act;
    } cases[] = {
        {kNotifyMouseIn, Act::kDeletePanel},     {kNotifyMouseIn, Act::kDestroyWindow},
        {kNotifyMouseLeave, Act::kDeleteSender}, {kNotifyKillFocus, Act::kDeleteSender},
        {kNotifyKillFocus, Act::kDeleteOther},   {kNotifySetFocus, Act::kDeleteSender},
        {kNotifySetFocus, Act::kDestroyWindow},  {kNotifyMouseLDown, Act::kDeletePanel},
        {kNotifyMouseLUp, Act::kDeletePanel},    {kNotifyBtnClick, Act::kDestroyWindow},
        {kNotifyBtnClick, Act::kDeleteSender},   {kNotifyShowControl, Act::kDeleteSender},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "code " << c.code << " act " << static_cast<int>(c.act));
        Open();
        ClickOn(u"label");
        MoveOnto(u"cancel");
        bool done = false;
        OnNotify() = [&, this](duPlugin* p, const win::NotificationRecord& r) {
            if (done || r.code != c.code || !p) return;
            done = true;
            switch (c.act) {
                case Act::kDeleteSender: DeletePlugin(p); break;
                case Act::kDeletePanel: DeletePlugin(Find(u"panel")); break;
                case Act::kDeleteOther: DeletePlugin(Find(p == Find(u"ok") ? u"label" : u"ok")); break;
                case Act::kDestroyWindow: win::DestroyWindow(host_); break;
            }
        };
        const gfx::Point ok = Centre(u"ok");
        harness_->MoveTo(host_, ok.x, ok.y);
        if (win::IsWindow(host_)) harness_->Click(host_, ok.x, ok.y);
        if (win::IsWindow(host_) && Find(u"ok")) SetPluginVisible(Find(u"ok"), 0);
        harness_->Advance(600);
        if (win::IsWindow(host_)) harness_->MoveTo(600, 600);
        OnNotify() = nullptr;
        EXPECT_TRUE(done);
        if (win::IsWindow(host_)) {
            EXPECT_EQ(LivePluginCount(), Record()->zorder->FrontToBack().size());
            win::DestroyWindow(host_);
        }
        EXPECT_EQ(LivePluginCount(), 0u);
    }
}

TEST_F(Routing, AControlThatDestroysItsHostWhileBeingCreatedLeavesNothingBehind) {
    struct Destroyer : Probe {
        Destroyer() : Probe(false) {}
        void OnCreate() override { win::DestroyWindow(GetHwnd()); }
    };
    RegisterPluginClass(u"static", [] { return ObjectPtr<duPlugin>(new Destroyer()); });
    LoadSkin(TestSkin());
    host_ = CreateHost();
    EXPECT_EQ(manager_->AttachWindow(host_, u"w"), 0);
    EXPECT_FALSE(win::IsWindow(host_));
    EXPECT_EQ(manager_->GetWindowCount(), 0);
    EXPECT_EQ(LivePluginCount(), 0u);
}

TEST_F(Routing, ADisabledInactiveWindowStillTearsItsRecordDown) {
    Open();
    win::Window other = CreateHost(500, 500, 50, 50);
    win::SetActiveWindow(other);
    win::EnableWindow(host_, false);
    win::DestroyWindow(host_);
    EXPECT_EQ(manager_->GetWindowCount(), 0);
    EXPECT_EQ(LivePluginCount(), 0u);
}

TEST_F(Routing, TheFinalDestroyAfterTheManagerOrTheLibraryWentIsHarmless) {
    Open();
    ReleaseWindowManager(manager_.release());
    EXPECT_EQ(FindPlugin(host_, u"ok")->GetPluginByName(u"label"), Find(u"label"));
    win::DestroyWindow(host_);
    EXPECT_EQ(LivePluginCount(), 0u);

    LoadSkin(TestSkin());
    Attach(u"w");
    UninitUILibrary();
    win::DestroyWindow(host_);  // frees the controls without the library's tables
    InitUILibrary();
}

TEST_F(Routing, ACloneIsRenamedLinkedFirstAndRoutedLikeAnyControl) {
    Open();
    duPlugin* panel = Find(u"panel");
    duPlugin* clone = ClonePlugin(Find(u"ok"), panel, Record(), 7);
    ASSERT_TRUE(clone);
    EXPECT_EQ(std::u16string_view(clone->GetName()), u"ok7");
    EXPECT_EQ(Find(u"ok7"), clone);
    EXPECT_EQ(panel->GetFirstChild(), clone);
    EXPECT_EQ(clone->GetNextSibling(), Find(u"label"));
    EXPECT_EQ(Find(u"label")->GetPreSibling(), clone);
    EXPECT_EQ(ProbeLog(), (Log{"ok7:Create"}));
    EXPECT_EQ(RectOf(u"ok7"), RectOf(u"ok"));
    // The clone came last into the front layer, so it is hit before the original.
    Clear();
    ClickOn(u"ok");
    ASSERT_FALSE(Seen().empty());
    EXPECT_EQ(Seen().front().control, u"ok7");
    EXPECT_EQ(ClonePlugin(Find(u"ok"), nullptr, Record(), 1), nullptr);
}

TEST_F(Routing, MessageHooksSeeEveryMessageUntilRemoved) {
    Open();
    struct Hook : Probe {
        Hook() : Probe(false) {}
        intptr_t OnWndProc(win::Window, uint32_t m, uintptr_t, intptr_t) override {
            if (m == win::WM_USER + 5) ++seen;
            return 0;
        }
        int seen = 0;
    };
    // A hook probe built as a clone of the label, so it lives in the window.
    RegisterPluginClass(u"static", [] { return ObjectPtr<duPlugin>(new Hook()); });
    auto* hook = static_cast<Hook*>(ClonePlugin(Find(u"label"), Find(u"panel"), Record(), 2));
    ASSERT_TRUE(hook);
    EXPECT_EQ(AddMessageHook(hook), 1);
    EXPECT_EQ(AddMessageHook(hook), 0);
    win::SendMessage(host_, win::WM_USER + 5, 0, 0);
    EXPECT_EQ(hook->seen, 1);
    EXPECT_EQ(RemoveMessageHook(hook), 1);
    win::SendMessage(host_, win::WM_USER + 5, 0, 0);
    EXPECT_EQ(hook->seen, 1);
}

}  // namespace
}  // namespace vexlo::ui::testing
