#include "ui/core/window_record.h"

#include "platform/win/window_api.h"
#include "ui/core/debug_print.h"
#include "ui/core/notification.h"
#include "ui/core/plugin.h"
#include "ui/core/plugin_functions.h"
#include "ui/core/window_manager.h"

namespace vexlo::ui {

WindowRecord::WindowRecord() : caretTimerId(TakeTimerId()) {}

WindowRecord::~WindowRecord() = default;

WindowRecord* GetWindowRecord(win::Window host) {
    if (!host) return nullptr;
    auto* record = reinterpret_cast<WindowRecord*>(win::GetProp(host, kRecordProperty));
    return record && !record->destroyed ? record : nullptr;
}

bool IsLayeredWindow(win::Window host) {
    return (static_cast<uint32_t>(win::GetWindowLongPtr(host, win::GWL_EXSTYLE)) & win::WS_EX_LAYERED) != 0;
}

bool RegisterPluginName(WindowRecord& record, duPlugin& plugin) {
    std::u16string name = plugin.GetName();
    if (record.names.count(name)) {
        DebugPrint(u"error: [%s] is repeated\n", name);
        return false;
    }
    record.names.emplace(std::move(name), &plugin);
    return true;
}

void WindowRecord::CreateCaret(int height) {
    if (!IsLayeredWindow(hostWindow)) {
        win::CreateCaret(hostWindow, 1, height);
        return;
    }
    auto image = std::make_unique<gfx::Bitmap>(1, height);
    if (image->empty()) {
        caretImage.reset();
        return;
    }
    for (int y = 0; y < height; ++y) image->set_pixel(0, y, 0xFF000000u);
    caretImage = std::move(image);
}

void WindowRecord::DestroyCaret() {
    if (!IsLayeredWindow(hostWindow)) {
        win::DestroyCaret();
        return;
    }
    caretImage.reset();
}

void WindowRecord::ShowCaret() {
    if (!IsLayeredWindow(hostWindow)) {
        win::ShowCaret(hostWindow);
        return;
    }
    caretWanted = true;
    win::SetTimer(hostWindow, caretTimerId, win::GetCaretBlinkTime());
}

void WindowRecord::HideCaret() {
    if (!IsLayeredWindow(hostWindow)) {
        win::HideCaret(hostWindow);
        return;
    }
    caretWanted = false;
    win::KillTimer(hostWindow, caretTimerId);
    // The caret must not stay drawn on the screen while it is hidden.
    if (caretShown && cachedImage) {
        caretShown = false;
        win::BlendFunction blend{win::AC_SRC_OVER, 0, 255, win::AC_SRC_ALPHA};
        const gfx::Point origin{0, 0};
        win::UpdateLayeredWindow(hostWindow, nullptr, nullptr, cachedImage.get(), &origin, 0, &blend, win::ULW_ALPHA);
    }
}

void WindowRecord::SetCaretPos(int x, int y) {
    if (!IsLayeredWindow(hostWindow)) {
        win::SetCaretPos(x, y);
        return;
    }
    if (!caretImage) return;
    caretPos = {x, y};
    caretShown = false;
    BlinkCaret();
}

void WindowRecord::BlinkCaret() {
    if (moving || !cachedImage || !caretImage) return;
    win::BlendFunction blend{win::AC_SRC_OVER, 0, 255, win::AC_SRC_ALPHA};
    const gfx::Point origin{0, 0};
    if (caretShown) {
        win::UpdateLayeredWindow(hostWindow, nullptr, nullptr, cachedImage.get(), &origin, 0, &blend, win::ULW_ALPHA);
        caretShown = false;
        return;
    }
    gfx::Bitmap frame = *cachedImage;
    {
        gfx::DrawContext dc(frame);
        dc.AlphaBlend(caretPos.x, caretPos.y, *caretImage);
    }
    win::UpdateLayeredWindow(hostWindow, nullptr, nullptr, &frame, &origin, 0, &blend, win::ULW_ALPHA);
    caretShown = true;
}

namespace {

void FreeRecord(void* record) { delete static_cast<WindowRecord*>(record); }

}  // namespace

void DestroyWindowRecord(WindowRecord* record) {
    if (!record || record->destroyed) return;
    DispatchScope scope;
    record->destroyed = true;
    const win::Window host = record->hostWindow;
    if (record->windowManager) record->windowManager->RemoveWindow(host);
    record->cachedImage.reset();
    record->caretImage.reset();
    if (win::IsWindow(record->tooltip)) win::DestroyWindow(record->tooltip);
    record->tooltip = {};

    // Every control of the window: the tree from its root, plus whatever sits in the
    // list without being linked (nothing, normally). Controls already taken out of the
    // registry (a library shut down before its windows) are freed all the same.
    std::vector<duPlugin*> controls;
    if (record->zorder) {
        controls = SubtreeBreadthFirst(record->zorder->root());
        for (duPlugin* p : record->zorder->FrontToBack()) {
            if (std::find(controls.begin(), controls.end(), p) == controls.end()) controls.push_back(p);
        }
    }
    record->zorder.reset();
    record->timers.clear();
    record->hooks.clear();
    record->names.clear();
    record->focus.reset();
    record->hover.reset();
    record->capture.reset();
    for (duPlugin* p : controls) RemoveLivePlugin(p);
    for (duPlugin* p : controls) {
        DeferDestruction([](void* object) { static_cast<duPlugin*>(object)->Delete(); }, p);
    }
    if (win::IsWindow(host)) win::RemoveProp(host, kRecordProperty);
    DeferDestruction(&FreeRecord, record);
}

}  // namespace vexlo::ui
