#pragma once
// Windows whose procedure is a lambda of the test, on a headless harness.
#include "platform/headless/harness.h"
#include "platform/win/window_api.h"

#include <functional>
#include <map>
#include <optional>

namespace vexlo::win::testing {

// Answer a message (a value) or leave it to DefWindowProc (none).
using Handler = std::function<std::optional<intptr_t>(Window, uint32_t, uintptr_t, intptr_t)>;

class TestWindows {
public:
    static constexpr char16_t kClass[] = u"TestWindow";
    static constexpr char16_t kDoubleClickClass[] = u"TestWindowDbl";

    TestWindows() {
        Current() = this;
        WindowClass c;
        c.proc = &Proc;
        c.name = kClass;
        c.cursor = LoadCursor(0, IDC_ARROW);
        c.windowExtra = 16;
        RegisterClass(c);
        c.name = kDoubleClickClass;
        c.style = CS_DBLCLKS;
        RegisterClass(c);
    }
    ~TestWindows() { Current() = nullptr; }

    Window Create(uint32_t style, gfx::Rect r, Handler handler = {}, Window parent = {}, uint32_t exStyle = 0,
                  std::u16string_view className = kClass, std::u16string_view title = u"") {
        pending_ = std::move(handler);
        return CreateWindowEx(exStyle, className, title, style, r.left, r.top, r.width(), r.height(), parent, 0, 0,
                              nullptr);
    }
    // A visible popup at a screen rectangle.
    Window Popup(gfx::Rect r, Handler handler = {}, uint32_t exStyle = 0, std::u16string_view className = kClass) {
        return Create(WS_POPUP | WS_VISIBLE, r, std::move(handler), {}, exStyle, className);
    }
    void SetHandler(Window w, Handler h) { handlers_[w.value()] = std::move(h); }

private:
    static TestWindows*& Current() {
        static TestWindows* current = nullptr;
        return current;
    }
    static intptr_t Proc(Window w, uint32_t m, uintptr_t wp, intptr_t lp) {
        TestWindows* self = Current();
        if (!self) return DefWindowProc(w, m, wp, lp);
        if (m == WM_NCCREATE && self->pending_) {
            self->handlers_[w.value()] = std::move(self->pending_);
            self->pending_ = nullptr;
        }
        auto it = self->handlers_.find(w.value());
        if (it != self->handlers_.end() && it->second) {
            Handler h = it->second;  // a handler may replace itself
            if (auto r = h(w, m, wp, lp)) return *r;
        }
        return DefWindowProc(w, m, wp, lp);
    }

    Handler pending_;
    std::map<uintptr_t, Handler> handlers_;
};

}  // namespace vexlo::win::testing
