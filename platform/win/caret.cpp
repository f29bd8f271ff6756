// The system caret: one per process, owned by a window, blinking on the system's clock.
#include "platform/sync/thread.h"
#include "platform/win/detail/system_state.h"
#include "platform/win/window_api.h"

namespace vexlo::win {

using detail::Current;
using detail::SystemState;

bool detail::SystemState::CaretOnNow() const {
    if (!caret.window || caret.hideCount > 0) return false;
    const int64_t blink = options.caretBlinkTimeMs ? options.caretBlinkTimeMs : 1;
    return ((backend->NowMs() - caret.shownSince) / blink) % 2 == 0;
}

bool CreateCaret(Window window, int width, int height) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    const detail::WindowData* d = s->FindAlive(window);
    if (!d || d->thread != sync::CurrentThreadId()) return false;
    s->caret = {};
    s->caret.window = window;
    s->caret.width = width > 0 ? width : 1;  // 0 means the system's border width
    s->caret.height = height > 0 ? height : 1;
    s->caret.hideCount = 1;
    return true;
}

bool DestroyCaret() {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    if (!s->caret.window) return false;
    s->caret = {};
    return true;
}

bool SetCaretPos(int x, int y) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    if (!s->caret.window) return false;
    s->caret.pos = {x, y};
    s->caret.shownSince = s->backend->NowMs();  // a moved caret shows at once
    return true;
}

bool GetCaretPos(gfx::Point* point) {
    SystemState* s = Current();
    if (!s || !point) return false;
    std::lock_guard lock(s->mutex);
    if (!s->caret.window) return false;
    *point = s->caret.pos;
    return true;
}

bool ShowCaret(Window window) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    if (!s->caret.window || (window && window != s->caret.window)) return false;
    if (s->caret.hideCount == 0) return true;
    if (--s->caret.hideCount == 0) s->caret.shownSince = s->backend->NowMs();
    return true;
}

bool HideCaret(Window window) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    if (!s->caret.window || (window && window != s->caret.window)) return false;
    ++s->caret.hideCount;
    return true;
}

uint32_t GetCaretBlinkTime() {
    SystemState* s = Current();
    return s ? s->options.caretBlinkTimeMs : 530;
}

CaretInfo GetCaretInfo() {
    CaretInfo info;
    SystemState* s = Current();
    if (!s) return info;
    std::lock_guard lock(s->mutex);
    if (!s->caret.window) return info;
    info.window = s->caret.window;
    info.rect = gfx::Rect::FromXYWH(s->caret.pos.x, s->caret.pos.y, s->caret.width, s->caret.height);
    info.shown = s->caret.hideCount == 0;
    info.visibleNow = s->CaretOnNow();
    return info;
}

}  // namespace vexlo::win
