#pragma once
// A skin window on the headless harness: a host window of a test class whose procedure
// records what reaches it, a skin package built from a description, and small probe
// controls that log the events the library delivers to them.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless/harness.h"
#include "platform/win/window_api.h"
#include "tests/ui/fixtures/skin_fixtures.h"
#include "ui/core/du_window.h"
#include "ui/core/library.h"
#include "ui/core/notification.h"
#include "ui/core/plugin_factory.h"
#include "ui/core/plugin_functions.h"
#include "ui/core/state.h"
#include "ui/core/window_manager.h"

namespace vexlo::ui::testing {

// Every event a probe receives, as "name:Event(args)", in order, shared by all probes.
std::vector<std::string>& ProbeLog();

// A control that logs its events and paints its style group. A probe made for a
// "button" also behaves like a minimal push button: the "over" state while the mouse is
// on it, and a click notification (13) on a release over it.
class Probe : public duPlugin {
public:
    explicit Probe(bool button) : button_(button) {}
    const char16_t* GetTypeName() const override { return button_ ? u"duButton" : u"duProbe"; }
    void RegisterControlProperty() override {}
    void OnCreate() override;
    void DrawObject(gfx::DrawContext& dc) override;
    void OnMouseIn(int32_t x, int32_t y) override;
    void OnMouseLeave(int32_t x, int32_t y) override;
    void OnMouseLDown(int32_t x, int32_t y) override;
    void OnMouseLUp(int32_t x, int32_t y) override;
    void OnMouseMove(int32_t x, int32_t y) override;
    void OnMouseWheel(uint32_t keys, int32_t delta, int32_t x, int32_t y) override;
    void OnMouseHover(int32_t x, int32_t y) override;
    void OnCaptureChanged(duPlugin* next) override;
    int OnKillFocus(duPlugin* gaining) override;
    int OnSetFocus(duPlugin* losing) override;
    void OnTimer(uint32_t id) override;
    void OnKeyDown(uint32_t key, uint32_t repeat, uint32_t flags) override;
    void OnChildDelete(duPlugin* child) override;
    void OnChildShow(duPlugin* child, int32_t visible) override;
    void OnChildResize(duPlugin* child) override;

private:
    void Log(const std::string& event) const;
    bool button_;
};

// Registers Probe for "button", "static" and "layout" (until the factory is reset).
void RegisterProbes();

std::u16string Description(std::u16string_view theme, std::u16string_view controls);

// The notifications that reached a host window, with the control's name.
struct SeenNotification {
    std::u16string control;
    int32_t code;
    int32_t first;
    int32_t second;
    bool operator==(const SeenNotification&) const = default;
};

class SkinWindowTest : public ::testing::Test {
public:
    // Called for every notification the host window receives, after it was recorded.
    static std::function<void(duPlugin*, const win::NotificationRecord&)>& OnNotify();
    static std::vector<SeenNotification>& Seen();

protected:
    void SetUp() override;
    void TearDown() override;

    // Loads the package made of this description (and the given extra entries).
    void LoadSkin(std::u16string_view description);
    void LoadPackage(Bytes package);
    // A visible host window of the test class at (x, y, w, h); not attached.
    win::Window CreateHost(int x = 100, int y = 100, int w = 300, int h = 200, uint32_t exStyle = 0);
    // CreateHost, then AttachWindow(name); fails the test when attaching fails.
    win::Window Attach(std::u16string_view name, uint32_t exStyle = 0);
    duPlugin* Find(std::u16string_view name) const { return FindPlugin(host_, std::u16string(name).c_str()); }
    gfx::Rect RectOf(std::u16string_view name) const;
    WindowRecord* Record() const { return GetWindowRecord(host_); }

    // Declared first: it outlives everything else, and destroys the windows it still has.
    std::unique_ptr<headless::HeadlessHarness> harness_;
    Bytes package_;
    ObjectPtr<duWindowManager> manager_;
    win::Window host_;
};

}  // namespace vexlo::ui::testing
