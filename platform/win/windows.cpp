// Creating and destroying windows, their long values, properties, text and relations.
#include "platform/sync/thread.h"
#include "platform/win/detail/frame_metrics.h"
#include "platform/win/detail/system_state.h"
#include "platform/win/window_api.h"

#include <algorithm>

namespace vexlo::win {

using detail::Current;
using detail::Lock;
using detail::SetLastErrorCode;
using detail::Stage;
using detail::SystemState;
using detail::WindowData;

namespace {

Window AllocateWindow(SystemState& s, std::unique_ptr<WindowData> data) {
    uint32_t slot;
    if (!s.freeWindowSlots.empty()) {
        slot = s.freeWindowSlots.back();
        s.freeWindowSlots.pop_back();
    } else {
        slot = static_cast<uint32_t>(s.windows.size());
        s.windows.emplace_back();
    }
    const uint32_t generation = detail::NextGeneration();
    const Window handle = Window::Make(slot, generation);
    data->handle = handle;
    s.windows[slot].generation = generation;
    s.windows[slot].data = std::move(data);
    return handle;
}

void FreeWindow(SystemState& s, Window window) {
    WindowData* d = s.Find(window);
    if (!d) return;
    if (d->native) s.backend->DestroyNativeWindow(window);
    if (s.IsTopLevel(*d)) {
        std::erase(s.topLevel, window);
    }
    if (WindowData* parent = s.Find(d->parent)) std::erase(parent->children, window);
    if (d->cls) --d->cls->windowCount;
    s.RemoveTimersOf(window);
    const uint32_t slot = window.slot();
    s.windows[slot].data.reset();
    s.freeWindowSlots.push_back(slot);
    if (s.active == window) s.active = Window{};
    if (s.focus == window) s.focus = Window{};
    if (s.capture == window) s.capture = Window{};
    if (s.lastMouseWindow == window) s.lastMouseWindow = Window{};
    if (s.tracking.window == window) s.tracking = {};
    if (s.caret.window == window) s.caret = {};
}

// The window and its descendants, parents before children.
void CollectSubtree(SystemState& s, Window window, std::vector<Window>& out) {
    const WindowData* d = s.Find(window);
    if (!d) return;
    out.push_back(window);
    const auto children = d->children;
    for (Window c : children) CollectSubtree(s, c, out);
}

}  // namespace

bool detail::SystemState::DestroyWindowLocked(Lock& lock, Window window) {
    WindowData* d = Find(window);
    if (!d || d->destroyStarted || window == desktop) {
        SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    if (d->thread != sync::CurrentThreadId()) {
        SetLastErrorCode(ERROR_ACCESS_DENIED);
        return false;
    }
    d->destroyStarted = true;

    // 1. Out of sight first, which also hands the activation on.
    if (d->style & WS_VISIBLE) {
        SetWindowPosLocked(lock, window, Window{}, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // 2. What it owns goes before it.
    std::vector<Window> owned;
    for (const auto& slot : windows) {
        if (slot.data && slot.data->owner == window && !slot.data->destroyStarted) owned.push_back(slot.data->handle);
    }
    for (Window w : owned) DestroyWindowLocked(lock, w);

    std::vector<Window> subtree;
    CollectSubtree(*this, window, subtree);
    auto inSubtree = [&](Window w) { return w && std::find(subtree.begin(), subtree.end(), w) != subtree.end(); };

    // 3. Modes and input state that point into the subtree.
    if (moveSize.active && inSubtree(moveSize.window)) EndMoveSize(lock, false);
    if (inSubtree(capture)) ReleaseCaptureLocked(lock);
    if (inSubtree(focus)) SetFocusLocked(lock, Window{});
    if (inSubtree(active)) ActivateNextAfterLosing(lock, active);
    if (inSubtree(tracking.window)) tracking = {};
    if (inSubtree(caret.window)) caret = {};

    // 4. WM_DESTROY: the window, then its children.
    for (Window w : subtree) {
        if (WindowData* wd = Find(w)) {
            wd->stage = Stage::Destroying;
            wd->destroyStarted = true;
        }
    }
    for (Window w : subtree) {
        if (Find(w)) Send(lock, w, WM_DESTROY, 0, 0);
    }
    for (Window w : subtree) RemoveTimersOf(w);
    // 5. WM_NCDESTROY: children first; then the handles die.
    for (auto it = subtree.rbegin(); it != subtree.rend(); ++it) {
        if (Find(*it)) Send(lock, *it, WM_NCDESTROY, 0, 0);
    }
    for (auto it = subtree.rbegin(); it != subtree.rend(); ++it) FreeWindow(*this, *it);
    Restack();
    NoteCursorMaybeMoved();
    return true;
}

Window CreateWindowEx(uint32_t exStyle, std::u16string_view className, std::u16string_view windowName,
                      uint32_t style, int x, int y, int width, int height, Window parent, uintptr_t menu,
                      uintptr_t instance, void* param) {
    SystemState* s = Current();
    if (!s) return Window{};
    Lock lock(s->mutex);
    std::shared_ptr<detail::ClassEntry> cls = s->FindClass(className, instance);
    if (!cls) {
        SetLastErrorCode(ERROR_CANNOT_FIND_WND_CLASS);
        return Window{};
    }
    auto d = std::make_unique<WindowData>();
    d->cls = cls;
    d->proc = cls->info.proc;
    d->thread = sync::CurrentThreadId();
    d->text = std::u16string(windowName);
    d->instance = instance;

    if (style & WS_CHILD) {
        if (!parent) parent = s->desktop;
        WindowData* p = s->FindAlive(parent);
        if (!p) {
            SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
            return Window{};
        }
        d->parent = parent;
        d->id = menu;
    } else if (parent && parent != s->desktop) {
        if (!s->FindAlive(parent)) {
            SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
            return Window{};
        }
        d->owner = s->RootOf(parent);  // owners are always top-level windows
    }
    if (!(style & (WS_POPUP | WS_CHILD))) {
        // Overlapped windows always have a caption.
        style |= WS_CAPTION | WS_CLIPSIBLINGS;
        exStyle |= WS_EX_WINDOWEDGE;
    }
    const bool overlapped = !(style & (WS_POPUP | WS_CHILD));
    const gfx::Rect work = s->screen.workArea;
    if (x == CW_USEDEFAULT) {
        if (overlapped) {
            const int cascade = static_cast<int>(s->topLevel.size() % 8) * 26;
            x = work.left + cascade;
            y = work.top + cascade;
        } else {
            x = 0;
            y = 0;
        }
    }
    if (y == CW_USEDEFAULT) y = 0;
    if (width == CW_USEDEFAULT) {
        if (overlapped) {
            width = work.width() * 3 / 4;
            height = work.height() * 3 / 4;
        } else {
            width = 0;
            height = 0;
        }
    }
    if (height == CW_USEDEFAULT) height = 0;
    width = std::max(width, 0);
    height = std::max(height, 0);
    const bool visible = (style & WS_VISIBLE) != 0;
    d->style = style & ~WS_VISIBLE;
    d->exStyle = exStyle;
    d->rect = gfx::Rect::FromXYWH(x, y, width, height);
    const gfx::Rect insets = detail::FrameInsets(d->style, d->exStyle);
    d->clientInWindow = {insets.left, insets.top, std::max(insets.left, width - insets.right),
                         std::max(insets.top, height - insets.bottom)};
    d->normalRect = d->rect;
    d->extra.assign(static_cast<size_t>(cls->info.windowExtra + 7) / 8, 0);
    ++cls->windowCount;
    WindowData* raw = d.get();
    const Window handle = AllocateWindow(*s, std::move(d));
    const bool topLevel = s->IsTopLevel(*raw);
    if (topLevel) {
        s->PlaceInZOrder(handle, HWND_TOP);
        raw->native = true;
        s->backend->CreateNativeWindow(handle, s->NativeStateOf(*raw));
        s->Restack();
    } else if (WindowData* p = s->Find(raw->parent)) {
        p->children.insert(p->children.begin(), handle);
    }
    s->ResizeSurface(*raw);

    const std::u16string nameCopy(windowName);
    const std::u16string classCopy(className);
    CreateStruct cs;
    cs.createParams = param;
    cs.instance = instance;
    cs.menu = menu;
    cs.parent = parent;
    cs.cx = width;
    cs.cy = height;
    cs.x = x;
    cs.y = y;
    cs.style = style;
    cs.name = nameCopy.c_str();
    cs.className = classCopy.c_str();
    cs.exStyle = exStyle;

    if (!s->Send(lock, handle, WM_NCCREATE, 0, reinterpret_cast<intptr_t>(&cs))) {
        // The window never existed for its procedure beyond WM_NCCREATE.
        if (WindowData* wd = s->Find(handle)) {
            wd->stage = Stage::Destroying;
            wd->destroyStarted = true;
            s->Send(lock, handle, WM_NCDESTROY, 0, 0);
        }
        FreeWindow(*s, handle);
        s->Restack();
        return Window{};
    }
    s->RecomputeClient(lock, handle);
    if (!s->Find(handle)) return Window{};
    if (s->Send(lock, handle, WM_CREATE, 0, reinterpret_cast<intptr_t>(&cs)) == -1) {
        if (s->Find(handle)) s->DestroyWindowLocked(lock, handle);
        return Window{};
    }
    WindowData* wd = s->Find(handle);
    if (!wd) return Window{};
    wd->stage = Stage::Alive;
    const gfx::Rect client = wd->clientInWindow;
    s->Send(lock, handle, WM_SIZE, SIZE_RESTORED, MakeLParam(client.width(), client.height()));
    if ((wd = s->Find(handle)) == nullptr) return Window{};
    s->Send(lock, handle, WM_MOVE, 0, MakeLParam(wd->rect.left + wd->clientInWindow.left, wd->rect.top + wd->clientInWindow.top));
    if ((wd = s->Find(handle)) == nullptr) return Window{};
    if (visible) s->ShowWindowLocked(lock, handle, (wd->style & WS_CHILD) ? SW_SHOWNOACTIVATE : SW_SHOW);
    return s->Find(handle) ? handle : Window{};
}

bool DestroyWindow(Window window) {
    SystemState* s = Current();
    if (!s) return false;
    Lock lock(s->mutex);
    return s->DestroyWindowLocked(lock, window);
}

bool IsWindow(Window window) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    return s->Find(window) != nullptr;
}

Window GetDesktopWindow() {
    SystemState* s = Current();
    if (!s) return Window{};
    std::lock_guard lock(s->mutex);
    return s->desktop;
}

uint32_t GetWindowThreadId(Window window) {
    SystemState* s = Current();
    if (!s) return 0;
    std::lock_guard lock(s->mutex);
    const WindowData* d = s->Find(window);
    return d ? d->thread : 0;
}

intptr_t GetWindowLongPtr(Window window, int index) {
    SystemState* s = Current();
    if (!s) return 0;
    std::lock_guard lock(s->mutex);
    const WindowData* d = s->Find(window);
    if (!d) {
        SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    switch (index) {
        case GWL_STYLE: return static_cast<intptr_t>(d->style);
        case GWL_EXSTYLE: return static_cast<intptr_t>(d->exStyle);
        case GWLP_WNDPROC: return reinterpret_cast<intptr_t>(d->proc);
        case GWLP_USERDATA: return d->userData;
        case GWLP_ID: return static_cast<intptr_t>(d->id);
        case GWLP_HINSTANCE: return static_cast<intptr_t>(d->instance);
        case GWLP_HWNDPARENT: return static_cast<intptr_t>(d->owner.value());
        default: break;
    }
    if (index >= 0 && index % 8 == 0 && static_cast<size_t>(index / 8) < d->extra.size()) {
        return d->extra[static_cast<size_t>(index / 8)];
    }
    SetLastErrorCode(ERROR_INVALID_INDEX);
    return 0;
}

intptr_t SetWindowLongPtr(Window window, int index, intptr_t value) {
    SystemState* s = Current();
    if (!s) return 0;
    Lock lock(s->mutex);
    WindowData* d = s->Find(window);
    if (!d) {
        SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    intptr_t old = 0;
    switch (index) {
        case GWL_STYLE:
        case GWL_EXSTYLE: {
            const bool isStyle = index == GWL_STYLE;
            StyleStruct ss;
            ss.oldStyle = isStyle ? d->style : d->exStyle;
            ss.newStyle = static_cast<uint32_t>(value);
            if (!isStyle) {
                // The topmost band is changed only through SetWindowPos.
                ss.newStyle = (ss.newStyle & ~WS_EX_TOPMOST) | (ss.oldStyle & WS_EX_TOPMOST);
            }
            s->Send(lock, window, WM_STYLECHANGING, static_cast<uintptr_t>(index), reinterpret_cast<intptr_t>(&ss));
            if ((d = s->Find(window)) == nullptr) return 0;
            uint32_t& field = isStyle ? d->style : d->exStyle;
            old = static_cast<intptr_t>(field);
            const uint32_t before = field;
            field = ss.newStyle;
            if (!isStyle && ((before ^ field) & WS_EX_LAYERED)) {
                if (!(field & WS_EX_LAYERED)) {
                    d->layered = gfx::Bitmap{};
                    d->layeredPresented = false;
                    s->InvalidateLocked(*d, nullptr, true);
                }
            }
            if (d->native) s->SyncNative(*d);
            StyleStruct changed{static_cast<uint32_t>(old), field};
            s->Send(lock, window, WM_STYLECHANGED, static_cast<uintptr_t>(index), reinterpret_cast<intptr_t>(&changed));
            s->NoteCursorMaybeMoved();
            return old;
        }
        case GWLP_WNDPROC:
            old = reinterpret_cast<intptr_t>(d->proc);
            if (value) d->proc = reinterpret_cast<WindowProc>(value);
            return old;
        case GWLP_USERDATA:
            old = d->userData;
            d->userData = value;
            return old;
        case GWLP_ID:
            old = static_cast<intptr_t>(d->id);
            d->id = static_cast<uintptr_t>(value);
            return old;
        case GWLP_HINSTANCE:
            old = static_cast<intptr_t>(d->instance);
            d->instance = static_cast<uintptr_t>(value);
            return old;
        case GWLP_HWNDPARENT: {
            old = static_cast<intptr_t>(d->owner.value());
            if (!s->IsTopLevel(*d)) return old;
            const Window newOwner = Window::FromValue(static_cast<uintptr_t>(value));
            d->owner = (newOwner && s->Find(newOwner) && newOwner != window) ? s->RootOf(newOwner) : Window{};
            s->SyncNative(*d);
            return old;
        }
        default:
            break;
    }
    if (index >= 0 && index % 8 == 0 && static_cast<size_t>(index / 8) < d->extra.size()) {
        intptr_t& slot = d->extra[static_cast<size_t>(index / 8)];
        old = slot;
        slot = value;
        return old;
    }
    SetLastErrorCode(ERROR_INVALID_INDEX);
    return 0;
}

bool SetProp(Window window, std::u16string_view name, intptr_t value) {
    SystemState* s = Current();
    if (!s || name.empty()) return false;
    std::lock_guard lock(s->mutex);
    WindowData* d = s->Find(window);
    if (!d) return false;
    for (auto& [key, v] : d->props) {
        if (detail::EqualsIgnoringCase(key, name)) {
            v = value;
            return true;
        }
    }
    d->props.emplace_back(std::u16string(name), value);
    return true;
}

intptr_t GetProp(Window window, std::u16string_view name) {
    SystemState* s = Current();
    if (!s) return 0;
    std::lock_guard lock(s->mutex);
    const WindowData* d = s->Find(window);
    if (!d) return 0;
    for (const auto& [key, v] : d->props) {
        if (detail::EqualsIgnoringCase(key, name)) return v;
    }
    return 0;
}

intptr_t RemoveProp(Window window, std::u16string_view name) {
    SystemState* s = Current();
    if (!s) return 0;
    std::lock_guard lock(s->mutex);
    WindowData* d = s->Find(window);
    if (!d) return 0;
    for (auto it = d->props.begin(); it != d->props.end(); ++it) {
        if (detail::EqualsIgnoringCase(it->first, name)) {
            const intptr_t v = it->second;
            d->props.erase(it);
            return v;
        }
    }
    return 0;
}

bool SetWindowText(Window window, std::u16string_view text) {
    SystemState* s = Current();
    if (!s) return false;
    Lock lock(s->mutex);
    if (!s->Find(window)) return false;
    const std::u16string copy(text);
    return s->Send(lock, window, WM_SETTEXT, 0, reinterpret_cast<intptr_t>(copy.c_str())) != 0;
}

std::u16string GetWindowText(Window window) {
    SystemState* s = Current();
    if (!s) return {};
    std::lock_guard lock(s->mutex);
    const WindowData* d = s->Find(window);
    return d ? d->text : std::u16string{};
}

void SetWindowFrameName(Window window, std::string_view name) {
    SystemState* s = Current();
    if (!s) return;
    std::lock_guard lock(s->mutex);
    if (WindowData* d = s->Find(window)) d->frameName = std::string(name);
}

Window GetParent(Window window) {
    SystemState* s = Current();
    if (!s) return Window{};
    std::lock_guard lock(s->mutex);
    const WindowData* d = s->Find(window);
    if (!d) return Window{};
    return (d->style & WS_CHILD) ? d->parent : d->owner;
}

Window GetAncestor(Window window, uint32_t relation) {
    SystemState* s = Current();
    if (!s) return Window{};
    std::lock_guard lock(s->mutex);
    const WindowData* d = s->Find(window);
    if (!d || window == s->desktop) return Window{};
    switch (relation) {
        case GA_PARENT:
            return s->IsTopLevel(*d) ? s->desktop : d->parent;
        case GA_ROOT:
            return s->RootOf(window);
        case GA_ROOTOWNER: {
            Window w = s->RootOf(window);
            for (int guard = 0; guard < 1000; ++guard) {
                const WindowData* wd = s->Find(w);
                if (!wd || !wd->owner) break;
                w = s->RootOf(wd->owner);
            }
            return w;
        }
        default:
            return Window{};
    }
}

Window GetWindow(Window window, uint32_t relation) {
    SystemState* s = Current();
    if (!s) return Window{};
    std::lock_guard lock(s->mutex);
    const WindowData* d = s->Find(window);
    if (!d) return Window{};
    if (relation == GW_OWNER) return d->owner;
    if (relation == GW_CHILD) {
        if (window == s->desktop) return s->topLevel.empty() ? Window{} : s->topLevel.front();
        return d->children.empty() ? Window{} : d->children.front();
    }
    const std::vector<Window>* siblings = nullptr;
    if (s->IsTopLevel(*d)) {
        siblings = &s->topLevel;
    } else if (const WindowData* p = s->Find(d->parent)) {
        siblings = &p->children;
    }
    if (!siblings || siblings->empty()) return Window{};
    auto it = std::find(siblings->begin(), siblings->end(), window);
    switch (relation) {
        case GW_HWNDFIRST: return siblings->front();
        case GW_HWNDLAST: return siblings->back();
        case GW_HWNDNEXT: return (it != siblings->end() && it + 1 != siblings->end()) ? *(it + 1) : Window{};
        case GW_HWNDPREV: return (it != siblings->end() && it != siblings->begin()) ? *(it - 1) : Window{};
        default: return Window{};
    }
}

bool IsChild(Window parent, Window window) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    const WindowData* d = s->Find(window);
    while (d && (d->style & WS_CHILD) && d->parent && d->parent != s->desktop) {
        if (d->parent == parent) return true;
        d = s->Find(d->parent);
    }
    return false;
}

std::vector<Window> GetTopLevelWindows() {
    SystemState* s = Current();
    if (!s) return {};
    std::lock_guard lock(s->mutex);
    return s->topLevel;
}

Window FindWindow(std::u16string_view className, std::u16string_view title) {
    SystemState* s = Current();
    if (!s) return Window{};
    std::lock_guard lock(s->mutex);
    for (Window w : s->topLevel) {
        const WindowData* d = s->Find(w);
        if (!d) continue;
        if (!className.empty() && !detail::EqualsIgnoringCase(d->cls->info.name, className)) continue;
        if (!title.empty() && d->text != title) continue;
        return w;
    }
    return Window{};
}

}  // namespace vexlo::win
