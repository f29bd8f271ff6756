// The updater's own skin package attached to a headless window: the tree, the layout of
// every control at the popup's two sizes, the layers, placement and the host window's
// adaptation.
#include <gtest/gtest.h>

#include "skin/skin_package.h"
#include "tests/ui/window/skin_window_fixture.h"
#include "ui/core/window_proc.h"

namespace vexlo::ui::testing {
namespace {

class UpdaterSkin : public SkinWindowTest {
protected:
    void SetUp() override {
        SkinWindowTest::SetUp();
        manager_ = LoadSkinFromMemory(skin::kPackageBytes, static_cast<int64_t>(skin::kPackageSize));
        ASSERT_TRUE(manager_);
    }
};

TEST_F(UpdaterSkin, UpdateWindowAttachesWithItsTenControlsLaidOutAtBothSizes) {
    host_ = CreateHost(0, 0, 300, 300, win::WS_EX_CLIENTEDGE | win::WS_EX_WINDOWEDGE);
    win::SetWindowLongPtr(host_, win::GWL_STYLE,
                          win::GetWindowLongPtr(host_, win::GWL_STYLE) | win::WS_CAPTION | win::WS_THICKFRAME);
    ASSERT_EQ(AttachWindow(manager_.get(), host_, u"update_window"), 1);
    WindowRecord* r = Record();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->zorder->FrontToBack().size(), 10u);
    EXPECT_EQ(r->names.size(), 10u);
    EXPECT_EQ(manager_->GetWindowCount(), 1);
    EXPECT_EQ(manager_->GetWindowByIndex(0), host_);
    EXPECT_FALSE(manager_->GetWindowByIndex(1));

    // Placement: centred in the 1920 x 1040 work area, at the skin's size.
    gfx::Rect window;
    win::GetWindowRect(host_, &window);
    EXPECT_EQ(window, (gfx::Rect{861, 480, 861 + 198, 480 + 80}));

    const auto style = static_cast<uint32_t>(win::GetWindowLongPtr(host_, win::GWL_STYLE));
    const auto ex = static_cast<uint32_t>(win::GetWindowLongPtr(host_, win::GWL_EXSTYLE));
    EXPECT_EQ(style & (win::WS_CAPTION | win::WS_THICKFRAME), 0u) << "frame styles stripped";
    EXPECT_NE(style & win::WS_CLIPCHILDREN, 0u);
    EXPECT_EQ(ex & (win::WS_EX_CLIENTEDGE | win::WS_EX_WINDOWEDGE), 0u);
    EXPECT_NE(ex & win::WS_EX_LAYERED, 0u) << "the root is layered";
    EXPECT_EQ(win::GetWindowLongPtr(host_, win::GWLP_WNDPROC), reinterpret_cast<intptr_t>(&LibraryWindowProc));
    EXPECT_NE(win::GetClassLongPtr(host_, win::GCL_STYLE) & win::CS_DBLCLKS, 0u);
    EXPECT_FALSE(win::GetLayeredFrame(host_).empty()) << "a layered window is painted when attached";
    EXPECT_TRUE(win::IsWindow(r->tooltip));

    struct Expected {
        const char16_t* name;
        gfx::Rect small, large;
    } table[] = {
        {u"download_layout", {6, 29, 192, 109}, {6, 29, 195, 119}},
        {u"error_layout", {6, 29, 192, 109}, {6, 29, 195, 119}},
        {u"install_layout", {6, 29, 192, 109}, {6, 29, 195, 119}},
        {u"download_static", {12, 39, 198, 59}, {12, 39, 201, 59}},
        {u"install_static", {12, 39, 198, 59}, {12, 39, 201, 59}},
        {u"redownload_btn", {78, 39, 128, 59}, {78, 39, 128, 59}},
        {u"download_error", {12, 39, 72, 59}, {12, 39, 72, 59}},
        {u"install_btn", {126, 64, 182, 84}, {126, 64, 185, 84}},
        {u"close_btn", {178, 9, 198, 20}, {181, 9, 201, 20}},
    };
    for (const Expected& e : table) EXPECT_EQ(RectOf(e.name), e.small) << platform::WideToUtf8(e.name);
    win::SetWindowPos(host_, {}, 0, 0, 201, 90, win::SWP_NOMOVE | win::SWP_NOZORDER | win::SWP_NOACTIVATE);
    for (const Expected& e : table) EXPECT_EQ(RectOf(e.name), e.large) << platform::WideToUtf8(e.name);
    EXPECT_EQ(win::GetLayeredFrame(host_).width(), 201) << "repainted whole after the size change";
}

TEST_F(UpdaterSkin, LayersAndTheHiddenInstallPanel) {
    Attach(u"update_window");
    WindowRecord* r = Record();
    ASSERT_TRUE(r);
    const auto& layers = r->zorder->layers();
    ASSERT_EQ(layers.size(), 3u);
    EXPECT_EQ(layers[0].zorder, 2);
    EXPECT_EQ(layers[0].controls.size(), 5u);
    EXPECT_EQ(layers[1].zorder, 1);
    EXPECT_EQ(layers[1].controls.size(), 4u);
    EXPECT_EQ(layers[2].zorder, 0);
    EXPECT_EQ(IsPluginShown(Find(u"install_btn")), 0) << "its panel starts hidden";
    EXPECT_EQ(IsPluginShown(Find(u"redownload_btn")), 1);

    // The hidden install button is not hit: a click there reaches the panel behind.
    harness_->Click(host_, 130, 70);
    for (const SeenNotification& n : Seen()) EXPECT_NE(n.control, u"install_btn");
    SetPluginVisible(Find(u"install_layout"), 1);
    Seen().clear();
    harness_->Advance(1000);  // not a double click
    harness_->Click(host_, 130, 70);
    bool reached = false;
    for (const SeenNotification& n : Seen()) reached |= n.control == u"install_btn" && n.code == kNotifyMouseLDown;
    EXPECT_TRUE(reached);

}

TEST_F(UpdaterSkin, TrayMenuWindowIsNotLayeredAndItsItemFillsIt) {
    Attach(u"traymenu_window");
    EXPECT_EQ(RectOf(u"exit_btn"), (gfx::Rect{1, 1, 103, 30}));
    EXPECT_EQ(static_cast<uint32_t>(win::GetWindowLongPtr(host_, win::GWL_EXSTYLE)) & win::WS_EX_LAYERED, 0u);
}

}  // namespace
}  // namespace vexlo::ui::testing
