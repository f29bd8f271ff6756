#include "platform/win/detail/system_state.h"

#include "platform/sync/thread.h"
#include "platform/win/styles.h"
#include "platform/win/window_api.h"

#include <algorithm>
#include <atomic>

namespace vexlo::win::detail {
namespace {

std::atomic<WindowSystem*> g_current{nullptr};
thread_local uint32_t t_lastError = 0;

}  // namespace

uint32_t NextGeneration() {
    static std::atomic<uint32_t> next{1};
    uint32_t g = next.fetch_add(1);
    if (g == 0 || g == 0xFFFFFFFFu || g == 0xFFFFFFFEu) g = next.fetch_add(1);  // keep clear of HWND_TOPMOST
    return g;
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    auto lower = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c; };
    for (size_t i = 0; i < a.size(); ++i) {
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

void SetLastErrorCode(uint32_t code) { t_lastError = code; }

void* ClassDataOf(Window window) {
    SystemState* s = Current();
    if (!s) return nullptr;
    std::lock_guard lock(s->mutex);
    const WindowData* d = s->Find(window);
    return d ? d->classData.get() : nullptr;
}

void SetClassData(Window window, std::shared_ptr<void> data) {
    std::shared_ptr<void> old;  // released outside the lock
    SystemState* s = Current();
    if (!s) return;
    std::lock_guard lock(s->mutex);
    if (WindowData* d = s->Find(window)) {
        old = std::move(d->classData);
        d->classData = std::move(data);
    }
}

SystemState* Current() {
    WindowSystem* system = g_current.load();
    return system ? &system->state() : nullptr;
}

SystemState::SystemState(WindowSystem& ownerSystem, std::unique_ptr<DisplayBackend> displayBackend,
                         WindowSystemOptions opts)
    : owner(ownerSystem), backend(std::move(displayBackend)), options(opts) {
    displayThread = sync::CurrentThreadId();
    screen = backend->Screen();
    cursor = {screen.size.width / 2, screen.size.height / 2};
    backend->SetInputSink(this);
}

SystemState::~SystemState() { backend->SetInputSink(nullptr); }

WindowData* SystemState::Find(Window window) {
    if (!window) return nullptr;
    const uint32_t slot = window.slot();
    if (slot >= windows.size()) return nullptr;
    WindowSlot& s = windows[slot];
    if (s.generation != window.generation() || !s.data) return nullptr;
    return s.data.get();
}

const WindowData* SystemState::Find(Window window) const {
    return const_cast<SystemState*>(this)->Find(window);
}

WindowData* SystemState::FindAlive(Window window) {
    WindowData* d = Find(window);
    return d && d->stage != Stage::Destroying ? d : nullptr;
}

ThreadQueue& SystemState::Queue(uint32_t thread) {
    auto& q = queues[thread];
    if (!q) {
        q = std::make_unique<ThreadQueue>();
        q->thread = thread;
    }
    return *q;
}

std::shared_ptr<ClassEntry> SystemState::FindClass(std::u16string_view name, uintptr_t instance) const {
    // Application classes of the instance first, then the system's.
    for (const auto& c : classes) {
        if (!c->system && c->info.instance == instance && EqualsIgnoringCase(c->info.name, name)) return c;
    }
    for (const auto& c : classes) {
        if (c->system && EqualsIgnoringCase(c->info.name, name)) return c;
    }
    // A class registered for another instance is still found, as process-wide classes are.
    for (const auto& c : classes) {
        if (EqualsIgnoringCase(c->info.name, name)) return c;
    }
    return nullptr;
}

ImageObject* SystemState::FindImage(uintptr_t value) {
    if (!value) return nullptr;
    const Cursor h = Cursor::FromValue(value);
    if (h.slot() >= images.size()) return nullptr;
    ImageSlot& s = images[h.slot()];
    if (s.generation != h.generation() || !s.data) return nullptr;
    return s.data.get();
}

bool SystemState::IsTopLevel(const WindowData& d) const { return !d.parent || d.parent == desktop; }

gfx::Point SystemState::WindowOrigin(const WindowData& d) const {
    if (IsTopLevel(d)) return {d.rect.left, d.rect.top};
    const WindowData* parent = Find(d.parent);
    if (!parent) return {d.rect.left, d.rect.top};
    const gfx::Point p = WindowOrigin(*parent);
    return {p.x + parent->clientInWindow.left + d.rect.left, p.y + parent->clientInWindow.top + d.rect.top};
}

gfx::Rect SystemState::WindowScreenRect(const WindowData& d) const {
    const gfx::Point o = WindowOrigin(d);
    return gfx::Rect::FromXYWH(o.x, o.y, d.rect.width(), d.rect.height());
}

gfx::Rect SystemState::ClientScreenRect(const WindowData& d) const {
    const gfx::Point o = WindowOrigin(d);
    return d.clientInWindow.Offset(o.x, o.y);
}

bool SystemState::IsShown(const WindowData& d) const {
    const WindowData* w = &d;
    while (w) {
        if (!(w->style & WS_VISIBLE)) return false;
        if (IsTopLevel(*w)) return true;
        w = Find(w->parent);
    }
    return false;
}

Window SystemState::RootOf(Window window) const {
    const WindowData* d = Find(window);
    while (d && !IsTopLevel(*d)) {
        const WindowData* p = Find(d->parent);
        if (!p) break;
        d = p;
    }
    return d ? d->handle : Window{};
}

bool SystemState::IsDescendant(Window ancestor, Window window) const {
    const WindowData* d = Find(window);
    while (d) {
        if (d->handle == ancestor) return true;
        if (IsTopLevel(*d)) return false;
        d = Find(d->parent);
    }
    return false;
}

namespace {

// Whether a point (window coordinates) is part of the window's shape: inside its region
// and, for a per-pixel-alpha layered window, over a pixel that is not fully transparent.
// Tooltips are never under the mouse, so a tip shown at the cursor changes nothing.
bool IsPartOfShape(const WindowData& d, gfx::Point inWindow) {
    if (d.cls && d.cls->mouseTransparent) return false;
    if (d.region && !d.region->Contains(inWindow.x, inWindow.y)) return false;
    if (d.exStyle & WS_EX_LAYERED) {
        if (d.exStyle & WS_EX_TRANSPARENT) return false;
        if (!d.layeredPresented) return false;
        return gfx::AlphaOf(d.layered.pixel(inWindow.x, inWindow.y)) != 0;
    }
    return true;
}

}  // namespace

Window SystemState::WindowAtPoint(gfx::Point screenPoint, const std::vector<Window>& skip) const {
    auto skipped = [&](Window w) { return std::find(skip.begin(), skip.end(), w) != skip.end(); };
    for (Window top : topLevel) {
        const WindowData* d = Find(top);
        if (!d || d->stage == Stage::Destroying || !(d->style & WS_VISIBLE) || (d->style & WS_MINIMIZE)) continue;
        const gfx::Rect r = WindowScreenRect(*d);
        if (!r.Contains(screenPoint.x, screenPoint.y)) continue;
        if (!IsPartOfShape(*d, {screenPoint.x - r.left, screenPoint.y - r.top})) continue;
        // Descend into the children under the point; disabled children leave the point
        // to their parent, as the target's WindowFromPoint does.
        const WindowData* hit = skipped(top) ? nullptr : d;
        const WindowData* current = d;
        for (;;) {
            const WindowData* next = nullptr;
            const gfx::Rect client = ClientScreenRect(*current);
            if (!client.Contains(screenPoint.x, screenPoint.y)) break;
            for (Window c : current->children) {
                const WindowData* cd = Find(c);
                if (!cd || cd->stage == Stage::Destroying || !(cd->style & WS_VISIBLE)) continue;
                const gfx::Rect cr = WindowScreenRect(*cd);
                if (!cr.Contains(screenPoint.x, screenPoint.y)) continue;
                if (!IsPartOfShape(*cd, {screenPoint.x - cr.left, screenPoint.y - cr.top})) continue;
                next = cd;
                break;
            }
            if (!next) break;
            current = next;
            if (!(next->style & WS_DISABLED) && !skipped(next->handle)) hit = next;
        }
        if (hit) return hit->handle;
    }
    return Window{};
}

void SystemState::Observe(MessageEventKind kind, Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (!observers.empty()) Notify(observers, kind, window, message, wParam, lParam);
}

void SystemState::Notify(const std::vector<MessageObserver*>& watchers, MessageEventKind kind, Window window,
                         uint32_t message, uintptr_t wParam, intptr_t lParam) const {
    if (watchers.empty()) return;
    MessageEvent e;
    e.kind = kind;
    e.window = window;
    e.message = message;
    e.wParam = wParam;
    e.lParam = lParam;
    e.timeMs = backend->NowMs();
    if (message == WM_UI_NOTIFY && lParam != 0 && kind != MessageEventKind::Posted) {
        e.notification = *reinterpret_cast<const NotificationRecord*>(lParam);
    }
    for (MessageObserver* o : watchers) o->OnMessage(e);
}

intptr_t SystemState::Send(Lock& lock, Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    WindowData* d = Find(window);
    if (!d) {
        SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const uint32_t me = sync::CurrentThreadId();
    if (d->thread != me) {
        auto sent = std::make_shared<SentMessage>();
        sent->window = window;
        sent->message = message;
        sent->wParam = wParam;
        sent->lParam = lParam;
        sent->senderThread = me;
        const uint32_t target = d->thread;
        Queue(target).incoming.push_back(sent);
        WakeThread(target);
        ThreadQueue& mine = Queue(me);
        while (!sent->done) {
            if (RunIncomingSends(lock, mine)) continue;
            mine.changed.wait(lock);
        }
        return sent->result;
    }
    const WindowProc proc = d->proc;
    const auto watchers = observers;
    lock.unlock();
    Notify(watchers, MessageEventKind::Sent, window, message, wParam, lParam);
    const intptr_t result = proc ? proc(window, message, wParam, lParam) : DefWindowProc(window, message, wParam, lParam);
    lock.lock();
    return result;
}

bool SystemState::RunIncomingSends(Lock& lock, ThreadQueue& queue) {
    bool ran = false;
    while (!queue.incoming.empty()) {
        std::shared_ptr<SentMessage> sent = queue.incoming.front();
        queue.incoming.pop_front();
        ++queue.sendDepth;
        const intptr_t result = Find(sent->window) ? Send(lock, sent->window, sent->message, sent->wParam, sent->lParam) : 0;
        --queue.sendDepth;
        sent->result = result;
        sent->done = true;
        WakeThread(sent->senderThread);
        ran = true;
    }
    return ran;
}

bool SystemState::Post(Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (!window) return PostToThread(sync::CurrentThreadId(), window, message, wParam, lParam);
    const WindowData* d = Find(window);
    if (!d) {
        SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    return PostToThread(d->thread, window, message, wParam, lParam);
}

bool SystemState::PostToThread(uint32_t thread, Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    Msg m;
    m.window = window;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = static_cast<uint32_t>(backend->NowMs());
    m.pt = cursor;
    Queue(thread).posted.push_back(m);
    Observe(MessageEventKind::Posted, window, message, wParam, lParam);
    WakeThread(thread);
    return true;
}

void SystemState::WakeThread(uint32_t thread) {
    ThreadQueue& q = Queue(thread);
    q.wake = true;
    q.changed.notify_all();
    if (thread == displayThread) backend->Wake();
}

}  // namespace vexlo::win::detail

namespace vexlo::win {

WindowSystem::WindowSystem(std::unique_ptr<DisplayBackend> backend, WindowSystemOptions options)
    : state_(std::make_unique<detail::SystemState>(*this, std::move(backend), options)),
      previous_(detail::g_current.exchange(this)) {
    detail::RegisterSystemClasses(*state_);
}

WindowSystem::~WindowSystem() {
    // Windows that still exist are freed without messages, as at the end of a process:
    // the objects behind their procedures may already be gone.
    WindowSystem* expected = this;
    detail::g_current.compare_exchange_strong(expected, previous_);
}

WindowSystem* WindowSystem::Current() { return detail::g_current.load(); }

uint32_t GetLastError() { return detail::t_lastError; }
void SetLastError(uint32_t code) { detail::t_lastError = code; }

DisplayBackend& WindowSystem::backend() { return *state_->backend; }
const WindowSystemOptions& WindowSystem::options() const { return state_->options; }
InputSink& WindowSystem::input() { return *state_; }

std::optional<int64_t> WindowSystem::NextDeadline() const {
    std::lock_guard lock(state_->mutex);
    return state_->NextDeadlineLocked(sync::CurrentThreadId());
}

bool WindowSystem::HasPendingWork() const {
    std::lock_guard lock(state_->mutex);
    auto it = state_->queues.find(sync::CurrentThreadId());
    if (it == state_->queues.end()) return false;
    const detail::ThreadQueue& q = *it->second;
    if (!q.posted.empty() || !q.raw.empty() || !q.ready.empty() || q.quit || !q.incoming.empty()) return true;
    const int64_t now = state_->backend->NowMs();
    for (const auto& t : state_->timers) {
        if (t.thread == q.thread && t.due <= now) return true;
    }
    if (state_->tracking.window && (state_->tracking.flags & TME_HOVER) && state_->tracking.hoverDue <= now) return true;
    for (const auto& slot : state_->windows) {
        const detail::WindowData* d = slot.data.get();
        if (d && d->thread == q.thread && !d->update.IsEmpty() && state_->IsShown(*d) && !(d->exStyle & WS_EX_LAYERED)) {
            return true;
        }
    }
    return false;
}

void WindowSystem::AddMessageObserver(MessageObserver* observer) {
    std::lock_guard lock(state_->mutex);
    state_->observers.push_back(observer);
}

void WindowSystem::RemoveMessageObserver(MessageObserver* observer) {
    std::lock_guard lock(state_->mutex);
    std::erase(state_->observers, observer);
}

std::vector<Cursor> WindowSystem::CursorHistory() const {
    std::lock_guard lock(state_->mutex);
    return state_->cursorHistory;
}

std::vector<Window> WindowSystem::ZOrder() const {
    std::lock_guard lock(state_->mutex);
    return state_->topLevel;
}

}  // namespace vexlo::win
