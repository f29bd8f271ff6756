#pragma once
// A skin window for control tests: a package with one theme and one window description,
// loaded, attached to a host window on the headless display, and the notifications the
// host receives recorded (its answer and a reaction to each can be set).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/headless/harness.h"
#include "tests/ui/fixtures/skin_fixtures.h"
#include "ui/core/plugin.h"
#include "ui/core/window_manager.h"

namespace vexlo::ui::testing {

struct Notification {
    std::u16string control;
    int32_t code;
    int32_t first;
    int32_t second;
    bool operator==(const Notification&) const = default;
};

class SkinWindow {
public:
    // `theme` goes inside <theme>, `controls` inside <duwindow name="w" ...>.
    SkinWindow(std::u16string_view theme, std::u16string_view controls, int width = 200, int height = 100);
    ~SkinWindow();

    bool ok() const { return attached_; }
    win::Window host() const { return host_; }
    headless::HeadlessHarness& harness() { return *harness_; }
    duPlugin* Find(std::u16string_view name) const;
    template <class T>
    T* FindAs(std::u16string_view name) const {
        return dynamic_cast<T*>(Find(name));
    }

    // Delivers the control messages the window's routing would: mouse in, down, up, leave.
    void MouseIn(duPlugin* p);
    void MouseLeave(duPlugin* p);
    void MouseDown(duPlugin* p);
    void MouseUp(duPlugin* p);
    void MouseMove(duPlugin* p, int x, int y);  // client coordinates
    void Timer(duPlugin* p, uint32_t id);

    // Codes below 13 (the base's show, mouse and focus reports) are left out.
    std::vector<Notification> notifications;
    intptr_t answer = 0;
    std::function<void(const Notification&)> onNotify;
    // Called for every notification, those left out of the record included.
    std::function<void(const Notification&)> onAnyNotify;

    // Paints the control alone into a picture of its size, over `background` (text is
    // only seen where the picture under it is not transparent).
    gfx::Bitmap Paint(duPlugin* p, uint32_t background = 0);

private:
    static intptr_t HostProc(win::Window w, uint32_t msg, uintptr_t wp, intptr_t lp);

    std::unique_ptr<headless::HeadlessHarness> harness_;
    Bytes package_;
    ObjectPtr<duWindowManager> manager_;
    win::Window host_;
    bool attached_ = false;
};

// Rectangle styles "box" in four states (normal grey, over blue, press dark blue,
// disable red), a text item in font "f", and a 16 by 16 image "ico".
std::u16string StandardTheme();

}  // namespace vexlo::ui::testing
