// What skin windows offer beyond routing: script calls before the host hears of a
// notification, the tooltip, the caret the library draws on layered windows, the root's
// active and inactive states, sizing from the border, and the window manager's calls.
#include <gtest/gtest.h>

#include "platform/base/debug_output.h"
#include "platform/win/tooltip.h"
#include "tests/ui/window/skin_window_fixture.h"
#include "tests/ui/window/test_skin.h"
#include "ui/core/painting.h"
#include "ui/core/script_host.h"

namespace vexlo::ui::testing {
namespace {

struct ScriptCall {
    std::u16string name;
    std::vector<com::Variant> args;
};

std::vector<ScriptCall>& ScriptCalls() {
    static std::vector<ScriptCall> calls;
    return calls;
}

// An engine that knows every function and records the calls.
class RecordingScript final : public ScriptHost {
public:
    int RunScript(std::u16string_view) override { return 1; }
    int AddScriptItem(duObject*, std::u16string_view) override { return 1; }
    int CallScriptFunction(std::u16string_view name, std::span<com::Variant> args) override {
        ScriptCalls().push_back({std::u16string(name), std::vector<com::Variant>(args.begin(), args.end())});
        // The host must not have heard of the notification yet.
        notificationsBefore = SkinWindowTest::Seen().size();
        return 1;
    }
    void CloseScript() override {}
    static inline size_t notificationsBefore = 0;
};

class Services : public SkinWindowTest {
protected:
    void TearDown() override {
        ScriptCalls().clear();  // their object arguments refer to the window's controls
        SetScriptHostFactory(nullptr);
        SkinWindowTest::TearDown();
    }
    void Open(std::u16string_view attributes = u"") {
        LoadSkin(TestSkin(attributes));
        Attach(u"w");
        ASSERT_TRUE(Record());
        harness_->Pump();
        ProbeLog().clear();
        Seen().clear();
    }
};

TEST_F(Services, TheScriptFunctionOfAnEventIsCalledBeforeTheHostHearsOfIt) {
    SetScriptHostFactory([] { return std::unique_ptr<ScriptHost>(new RecordingScript()); });
    ScriptCalls().clear();
    Open();
    duPlugin* ok = Find(u"ok");
    EXPECT_EQ(NotifyHost(ok, kNotifyMouseIn, 4, 5), 0);
    ASSERT_EQ(ScriptCalls().size(), 1u);
    EXPECT_EQ(ScriptCalls()[0].name, u"w_ok_MouseIn");
    ASSERT_EQ(ScriptCalls()[0].args.size(), 3u);
    // Automation order: the last element is the first argument.
    EXPECT_EQ(ScriptCalls()[0].args[2].type(), com::VT_DISPATCH);
    EXPECT_EQ(ScriptCalls()[0].args[1].type(), com::VT_I4);
    EXPECT_EQ(ScriptCalls()[0].args[1].raw(), 4);
    EXPECT_EQ(ScriptCalls()[0].args[0].raw(), 5);
    EXPECT_EQ(RecordingScript::notificationsBefore, 0u);
    EXPECT_EQ(Seen(), (std::vector<SeenNotification>{{u"ok", kNotifyMouseIn, 4, 5}}));

    NotifyHost(ok, kNotifyBtnClick, 0, 0);
    EXPECT_EQ(ScriptCalls().back().name, u"w_ok_BtnClick");
    EXPECT_EQ(ScriptCalls().back().args[1].type(), com::VT_EMPTY) << "a parameter without type passes an empty value";
    NotifyHost(ok, kNotifyLbExSelChanged, 0x1234, 0x5678);
    EXPECT_EQ(ScriptCalls().back().args[1].type(), com::VT_DISPATCH);
    EXPECT_EQ(ScriptCalls().back().args[1].object(), nullptr) << "no object is forged from a 32-bit number";
    EXPECT_EQ(Seen().back(), (SeenNotification{u"ok", kNotifyLbExSelChanged, 0x1234, 0x5678}));
    const size_t calls = ScriptCalls().size();
    NotifyHost(ok, 31, 0, 0);
    NotifyHost(ok, 60, 0, 0);
    EXPECT_EQ(ScriptCalls().size(), calls) << "codes without an event name call nothing";
    EXPECT_EQ(Seen().size(), 5u) << "but still reach the host";
}

TEST_F(Services, TheTooltipToolCoversTheClientAreaUntilHidden) {
    Open();
    WindowRecord* r = Record();
    ShowTooltip(u"", r);
    EXPECT_TRUE(win::GetTooltipState(r->tooltip)->tools.empty()) << "an empty text shows nothing";
    ShowTooltip(u"Close", r);
    auto state = win::GetTooltipState(r->tooltip);
    ASSERT_TRUE(state);
    ASSERT_EQ(state->tools.size(), 1u);
    EXPECT_EQ(state->tools[0].id, 1u);
    EXPECT_EQ(state->tools[0].rect, (gfx::Rect{0, 0, 120, 60}));
    EXPECT_EQ(state->tools[0].text, u"Close");
    HideTooltip(r);
    EXPECT_TRUE(win::GetTooltipState(r->tooltip)->tools.empty());
}

TEST_F(Services, TheLibraryDrawsAndBlinksTheCaretOfALayeredWindow) {
    Open();
    WindowRecord* r = Record();
    const gfx::Bitmap plain = win::GetLayeredFrame(host_);
    r->CreateCaret(10);
    r->ShowCaret();
    r->SetCaretPos(60, 30);
    gfx::Bitmap frame = win::GetLayeredFrame(host_);
    EXPECT_EQ(frame.pixel(60, 30), 0xFF000000u) << "shown at once at the new place";
    EXPECT_EQ(frame.pixel(60, 39), 0xFF000000u);
    EXPECT_EQ(frame.pixel(60, 40), plain.pixel(60, 40));
    EXPECT_EQ(frame.pixel(61, 30), plain.pixel(61, 30));
    harness_->Advance(win::GetCaretBlinkTime());
    EXPECT_EQ(win::GetLayeredFrame(host_), plain) << "the blink takes it away";
    harness_->Advance(win::GetCaretBlinkTime());
    EXPECT_EQ(win::GetLayeredFrame(host_).pixel(60, 30), 0xFF000000u);

    // A hidden caret stays hidden, also across a full paint.
    r->HideCaret();
    EXPECT_EQ(win::GetLayeredFrame(host_), plain);
    RedrawPlugin(r->root(), 0);
    PaintWindow(r, nullptr);
    harness_->Advance(3 * win::GetCaretBlinkTime());
    EXPECT_EQ(win::GetLayeredFrame(host_), plain);
    r->DestroyCaret();
    r->SetCaretPos(10, 10);
    EXPECT_EQ(win::GetLayeredFrame(host_), plain) << "no caret image, nothing drawn";
}

TEST_F(Services, TheRootDrawsItsInactiveStateWhenTheWindowIsDeactivated) {
    Open();
    const size_t frames = harness_->Frames().size();
    harness_->DeactivateApp();
    EXPECT_EQ(Record()->root()->GetState(), 15616u);
    EXPECT_GT(harness_->Frames().size(), frames) << "a layered window shows the new state at once";
    harness_->ActivateApp();
    win::SetActiveWindow(host_);
    EXPECT_EQ(Record()->root()->GetState(), 31u);
}

TEST_F(Services, ABorderPressStartsTheSizingCommandOfItsEdge) {
    Open(u"bordersize=\"4\"");
    harness_->log().Clear();
    const gfx::Point corner = harness_->ToScreen(host_, 119, 59);
    harness_->Press(corner.x, corner.y);
    harness_->MoveTo(corner.x + 20, corner.y + 10);
    harness_->Release(corner.x + 20, corner.y + 10);
    bool sized = false;
    for (const win::MessageEvent& e : harness_->log().Events()) {
        sized |= e.window == host_ && e.message == win::WM_SYSCOMMAND && e.wParam == 61431 + win::HTBOTTOMRIGHT;
    }
    EXPECT_TRUE(sized);
    gfx::Rect r;
    win::GetWindowRect(host_, &r);
    EXPECT_EQ(r.width(), 140);
    EXPECT_EQ(r.height(), 70);
    EXPECT_EQ(RectOf(u"panel"), (gfx::Rect{2, 2, 138, 68})) << "the tree follows the new size";
}

TEST_F(Services, TheWindowManagersScriptFacingCalls) {
    Open();
    platform::DebugOutputCapture capture;
    manager_->DebugString(u"hello");
    ASSERT_EQ(capture.Messages().size(), 1u);
    EXPECT_EQ(capture.Messages()[0], u"hello\r\n");
    EXPECT_EQ(manager_->GetColorRed(0x00332211u), 0x11u);
    EXPECT_EQ(manager_->GetColorGreen(0x00332211u), 0x22u);
    EXPECT_EQ(manager_->GetColorBlue(0x00332211u), 0x33u);
    EXPECT_EQ(manager_->CallScriptFunction(u"anything", 0, nullptr), 0) << "no script";
    harness_->log().Clear();
    EXPECT_EQ(manager_->ShowSkinWindow(host_, win::SW_MINIMIZE), 1);
    EXPECT_EQ(manager_->ShowSkinWindow(host_, win::SW_SHOWMAXIMIZED), 1);
    EXPECT_EQ(manager_->CloseSkinWindow(host_), 1);
    const std::vector<uint32_t> posted = harness_->log().Posted(host_);
    EXPECT_EQ(posted, (std::vector<uint32_t>{win::WM_SYSCOMMAND, win::WM_SYSCOMMAND, win::WM_CLOSE}));
    EXPECT_EQ(manager_->MoveSkinWindow(host_, {}, 5, 6, 70, 40, win::SWP_NOZORDER), 1);
    EXPECT_EQ(RectOf(u"panel"), (gfx::Rect{2, 2, 68, 38}));
    EXPECT_EQ(manager_->Redraw(Find(u"ok")), 1);
    EXPECT_EQ(manager_->Redraw(nullptr), 0);
}

TEST_F(Services, AnOrdinaryWindowTakesItsRegionAgainAfterEverySizeChange) {
    std::u16string skin = TestSkin(u"layered=\"false\" rgn=\"corner\"");
    const size_t at = skin.find(u"</dsstyle>") + std::u16string_view(u"</dsstyle>").size();
    skin.insert(at, u"<dsrgn><rgn name=\"corner\" type=\"roundrect\" roundx=\"15\" roundy=\"15\"/></dsrgn>");
    LoadSkin(skin);
    Attach(u"w");
    gfx::Region region;
    ASSERT_EQ(win::GetWindowRgn(host_, &region), 1) << "placed at its skin size, it took its shape";
    EXPECT_FALSE(region.Contains(0, 0)) << "a rounded corner";
    EXPECT_TRUE(region.Contains(60, 30));
    EXPECT_FALSE(region.Contains(150, 30));
    win::SetWindowPos(host_, {}, 0, 0, 200, 60, win::SWP_NOMOVE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    ASSERT_EQ(win::GetWindowRgn(host_, &region), 1);
    EXPECT_TRUE(region.Contains(150, 30)) << "the shape follows the new size";
}

TEST_F(Services, AWindowWithoutASkinSizeKeepsItsHostsPlaceAndSize) {
    std::u16string skin = TestSkin();
    const size_t size = skin.find(u"width=\"120\" height=\"60\" x=\"10\" y=\"20\" ");
    ASSERT_NE(size, std::u16string::npos);
    skin.erase(size, std::u16string_view(u"width=\"120\" height=\"60\" x=\"10\" y=\"20\" ").size());
    LoadSkin(skin);
    Attach(u"w");
    gfx::Rect window;
    win::GetWindowRect(host_, &window);
    EXPECT_EQ(window, (gfx::Rect{100, 100, 400, 300}));
    EXPECT_EQ(RectOf(u"panel"), (gfx::Rect{2, 2, 298, 198})) << "laid out in the host's client area";
}

TEST_F(Services, HostileWindowAndControlAttributesAreSurvived) {
    const std::u16string_view windows[] = {
        u"width=\"2147483647\" height=\"2147483647\" x=\"-2147483648\" y=\"2147483647\"",
        u"width=\"70000\" height=\"3\" bordersize=\"2147483647\" captionheight=\"-5\"",
        u"width=\"-5\" height=\"40\" minwidth=\"-100\" maxwidth=\"-1\" rgn=\"missing\"",
        u"width=\"1\" height=\"1\" zorder=\"-2147483648\"",
    };
    const std::u16string_view controls =
        u"<static name=\"a\" zorder=\"2147483647\" left=\"-2147483648\" right=\"2147483647\" "
        u"horzanchor=\"2\" vertanchor=\"1\" height=\"-400%\" style=\"label_style\"/>"
        u"<static name=\"b\" zorder=\"-2147483648\" left=\"center\" top=\"center\" width=\"2147483647\" "
        u"height=\"2147483647\" style=\"btn_style\" alpha=\"-7\"/>";
    for (std::u16string_view attributes : windows) {
        SCOPED_TRACE(platform::WideToUtf8(attributes));
        LoadSkin(TestSkin(attributes, controls));
        Attach(u"w");
        ASSERT_TRUE(Record());
        PaintWindow(Record(), nullptr);
        for (const char16_t* name : {u"a", u"b", u"ok", u"panel"}) RedrawPlugin(Find(name), 1);
        harness_->Click(host_, 1, 1);
        harness_->Click(host_, 5, 5);
        harness_->Advance(600);
        win::SetWindowPos(host_, {}, 0, 0, 50, 30, win::SWP_NOMOVE | win::SWP_NOZORDER);
        win::DestroyWindow(host_);
        EXPECT_EQ(LivePluginCount(), 0u);
    }
}

TEST_F(Services, LoadingASkinRegistersTheMenuClassOnceTheMenusGaveTheirProcedure) {
    LoadSkin(TestSkin());
    win::WindowClass c;
    EXPECT_FALSE(win::GetClassInfo(0, kMenuWindowClass, &c)) << "no menu procedure yet";
    SetMenuWindowProc(&win::DefWindowProc);
    LoadSkin(TestSkin());
    LoadSkin(TestSkin());  // a second load finds the class there
    SetMenuWindowProc(nullptr);
    ASSERT_TRUE(win::GetClassInfo(0, kMenuWindowClass, &c));
    EXPECT_EQ(c.proc, &win::DefWindowProc);
    EXPECT_EQ(c.style & (win::CS_DBLCLKS | win::CS_HREDRAW | win::CS_VREDRAW),
              win::CS_DBLCLKS | win::CS_HREDRAW | win::CS_VREDRAW);
    EXPECT_EQ(win::GetStandardCursorId(c.cursor), win::IDC_ARROW);
}

TEST_F(Services, AResizedControlTellsItsParentOnlyWhenItsRectangleChanged) {
    Open();
    duPlugin* ok = Find(u"ok");
    EXPECT_EQ(ResizePlugin(ok), 1);
    EXPECT_TRUE(ProbeLog().empty());
    ok->SetPosWidth(40);
    ResizePlugin(ok);
    EXPECT_EQ(ProbeLog(), (std::vector<std::string>{"panel:ChildResize(ok)"}));
    EXPECT_EQ(RectOf(u"ok"), (gfx::Rect{52, 7, 92, 27}));
}

}  // namespace
}  // namespace vexlo::ui::testing
