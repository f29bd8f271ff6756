// The modeless dialog from template 102 and the window object's hooks.
#include "platform/framework/dialog.h"
#include "platform/framework/win_app.h"
#include "platform/headless/harness.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vexlo::framework {
namespace {

using ::testing::ElementsAre;

class HookedDialog : public CDialog {
public:
    std::vector<std::string> calls;
    bool failCreate = false;

protected:
    int OnCreate(win::CreateStruct* cs) override {
        calls.push_back("create");
        createdVisible = (cs->style & win::WS_VISIBLE) != 0;
        if (failCreate) return -1;
        return CDialog::OnCreate(cs);
    }
    bool OnInitDialog() override {
        calls.push_back(win::IsWindowVisible(GetSafeHwnd()) ? "init (visible)" : "init");
        return CDialog::OnInitDialog();
    }
    void OnPaint() override {
        calls.push_back("paint");
        CDialog::OnPaint();
    }
    void OnDestroy() override {
        calls.push_back("destroy");
        CDialog::OnDestroy();
    }
    void PostNcDestroy() override { calls.push_back("post-nc-destroy"); }

public:
    bool createdVisible = true;
};

TEST(DialogTest, Template102IsAVisibleCaptionlessPopupWithTheApplicationWindowStyle) {
    headless::HeadlessHarness h;
    HookedDialog dialog;
    ASSERT_TRUE(dialog.Create(kUpdateDialogTemplate));
    const win::Window w = dialog.GetSafeHwnd();
    const auto style = static_cast<uint32_t>(win::GetWindowLongPtr(w, win::GWL_STYLE));
    const auto exStyle = static_cast<uint32_t>(win::GetWindowLongPtr(w, win::GWL_EXSTYLE));
    EXPECT_NE(style & win::WS_POPUP, 0u);
    EXPECT_EQ(style & win::WS_CAPTION, 0u);
    EXPECT_NE(exStyle & win::WS_EX_APPWINDOW, 0u);
    EXPECT_TRUE(win::IsWindowVisible(w));
    EXPECT_FALSE(dialog.createdVisible);  // shown after initialisation, not during creation
    EXPECT_EQ(win::GetWindowText(w), u"");
    EXPECT_EQ(CWnd::FromHandle(w), &dialog);
    gfx::Rect r;
    win::GetClientRect(w, &r);
    EXPECT_EQ(r, DialogUnitsToPixels(*FindDialogTemplate(kUpdateDialogTemplate)).Offset(0, 0));
    h.Pump();
    EXPECT_THAT(dialog.calls, ElementsAre("create", "init", "paint"));

    dialog.DestroyWindow();
    EXPECT_THAT(dialog.calls, ElementsAre("create", "init", "paint", "destroy", "post-nc-destroy"));
    EXPECT_FALSE(dialog.GetSafeHwnd());
    EXPECT_EQ(CWnd::FromHandle(w), nullptr);
}

TEST(DialogTest, AnUnknownTemplateOrARefusedCreationGivesNoDialog) {
    headless::HeadlessHarness h;
    HookedDialog unknown;
    EXPECT_FALSE(unknown.Create(999));
    EXPECT_TRUE(unknown.calls.empty());
    HookedDialog refused;
    refused.failCreate = true;
    EXPECT_FALSE(refused.Create(kUpdateDialogTemplate));
    EXPECT_FALSE(refused.GetSafeHwnd());
    EXPECT_THAT(refused.calls, ElementsAre("create", "destroy", "post-nc-destroy"));
}

TEST(DialogTest, TheMainDialogsDestructionPostsTheQuitRequest) {
    headless::HeadlessHarness h;
    CWinApp app;
    HookedDialog dialog;
    dialog.Create(kUpdateDialogTemplate);
    app.SetMainWindow(&dialog);
    EXPECT_FALSE(h.quitPending());
    dialog.DestroyWindow();
    EXPECT_TRUE(h.quitPending());
    EXPECT_EQ(app.MainWindow(), nullptr);
}

// What the UI library does to the dialog: its own procedure in front, passing messages on.
win::WindowProc g_previous = nullptr;
std::vector<uint32_t> g_seenInFront;
intptr_t FrontProc(win::Window w, uint32_t m, uintptr_t wp, intptr_t lp) {
    g_seenInFront.push_back(m);
    return win::CallWindowProc(g_previous, w, m, wp, lp);
}

class AttachingDialog : public HookedDialog {
protected:
    int OnCreate(win::CreateStruct* cs) override {
        const int r = HookedDialog::OnCreate(cs);
        g_previous = reinterpret_cast<win::WindowProc>(
            win::SetWindowLongPtr(GetSafeHwnd(), win::GWLP_WNDPROC, reinterpret_cast<intptr_t>(&FrontProc)));
        return r;
    }
};

TEST(DialogTest, HooksStillRunWhenAnotherProcedureTakesOverTheWindowDuringCreation) {
    headless::HeadlessHarness h;
    g_seenInFront.clear();
    AttachingDialog dialog;
    ASSERT_TRUE(dialog.Create(kUpdateDialogTemplate));
    h.Pump();
    EXPECT_THAT(dialog.calls, ElementsAre("create", "init", "paint"));
    EXPECT_NE(std::find(g_seenInFront.begin(), g_seenInFront.end(), win::WM_INITDIALOG), g_seenInFront.end());
    dialog.DestroyWindow();
    EXPECT_EQ(dialog.calls.back(), "post-nc-destroy");
}

TEST(DialogTest, ClosingAModelessDialogCancelsItWhichHidesIt) {
    headless::HeadlessHarness h;
    HookedDialog dialog;
    dialog.Create(kUpdateDialogTemplate);
    dialog.SendMessage(win::WM_CLOSE);
    EXPECT_TRUE(win::IsWindow(dialog.GetSafeHwnd()));
    EXPECT_FALSE(dialog.IsWindowVisible());
}

TEST(DialogTest, DialogUnitsFollowTheTemplateFont) {
    DialogTemplate t;
    t.cx = 320;
    t.cy = 200;
    t.pointSize = 9;  // 12 pixels high at 96 dots per inch
    EXPECT_EQ(DialogUnitsToPixels(t), (gfx::Rect{0, 0, 480, 375}));
    t.pointSize = 8;
    EXPECT_EQ(DialogUnitsToPixels(t), (gfx::Rect{0, 0, 480, 350}));
}

}  // namespace
}  // namespace vexlo::framework
