#include "platform/win/tooltip.h"

#include "platform/gfx/draw_context.h"
#include "platform/text/text_format.h"
#include "platform/win/detail/system_state.h"
#include "platform/win/window_api.h"

#include <algorithm>
#include <memory>

namespace vexlo::win {
namespace {

constexpr uintptr_t kInitialTimer = 1;
constexpr uintptr_t kAutoPopTimer = 2;
constexpr int kPadding = 4;  // around the text, inside the frame
constexpr int kBelowCursor = 20;  // a tip opens below the cursor's picture

struct TooltipData {
    std::vector<ToolInfo> tools;
    bool active = true;
    bool tracking = false;
    std::optional<size_t> trackedTool;
    gfx::Point trackPosition;
    bool visible = false;
    std::u16string shownText;
    std::optional<size_t> hotTool;  // normal mode: the tool the relayed mouse rests on
    bool suppressed = false;         // after a click or an automatic pop, until the tool changes
    int maxWidth = -1;
    uint32_t initialDelay = 0;  // 0: the double-click time
    uint32_t autoPopDelay = 0;  // 0: ten times the initial delay
};

TooltipData* DataOf(Window w) { return static_cast<TooltipData*>(detail::ClassDataOf(w)); }

bool SameTool(const ToolInfo& a, Window window, uintptr_t id) { return a.window == window && a.id == id; }

std::optional<size_t> FindTool(const TooltipData& data, const ToolInfo* key) {
    if (!key) return std::nullopt;
    for (size_t i = 0; i < data.tools.size(); ++i) {
        if (SameTool(data.tools[i], key->window, key->id)) return i;
    }
    return std::nullopt;
}

uint32_t InitialDelay(const TooltipData& d) {
    if (d.initialDelay) return d.initialDelay;
    const detail::SystemState* s = detail::Current();
    return s ? s->options.doubleClickTimeMs : 500;
}

gfx::Size MeasureBox(const std::u16string& text, int maxWidth) {
    gfx::Bitmap scratch(1, 1);
    gfx::DrawContext dc(scratch);
    unsigned flags = text::DT_CALCRECT | text::DT_NOPREFIX | (maxWidth >= 0 ? text::DT_WORDBREAK : 0u);
    gfx::Rect r{0, 0, maxWidth >= 0 ? std::max(1, maxWidth) : 4096, 0};
    dc.DrawText(text, r, flags);
    return {r.width() + 2 * (kPadding + 1), r.height() + 2 * (kPadding + 1)};
}

void Hide(Window tip, TooltipData& d) {
    KillTimer(tip, kInitialTimer);
    KillTimer(tip, kAutoPopTimer);
    if (!d.visible) return;
    d.visible = false;
    d.shownText.clear();
    ShowWindow(tip, SW_HIDE);
}

// Shows the box with its top-left corner at `at` (kept on the screen).
void ShowAt(Window tip, TooltipData& d, const std::u16string& text, gfx::Point at, bool belowCursor) {
    if (!d.active || text.empty()) return;
    const gfx::Size size = MeasureBox(text, d.maxWidth);
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    int x = std::clamp(at.x, 0, std::max(0, screenW - size.width));
    int y = at.y;
    if (y + size.height > screenH) y = belowCursor ? at.y - kBelowCursor - size.height : screenH - size.height;
    y = std::max(0, y);
    d.visible = true;
    d.shownText = text;
    SetWindowPos(tip, HWND_TOPMOST, x, y, size.width, size.height, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    InvalidateRect(tip, nullptr, false);
}

void ShowHotTool(Window tip, TooltipData& d) {
    if (!d.hotTool || *d.hotTool >= d.tools.size()) return;
    gfx::Point cursor;
    GetCursorPos(&cursor);
    ShowAt(tip, d, d.tools[*d.hotTool].text, {cursor.x, cursor.y + kBelowCursor}, true);
    if (d.visible) SetTimer(tip, kAutoPopTimer, d.autoPopDelay ? d.autoPopDelay : 10 * InitialDelay(d));
}

void ShowTracked(Window tip, TooltipData& d) {
    if (!d.tracking || !d.trackedTool || *d.trackedTool >= d.tools.size()) return;
    const ToolInfo& t = d.tools[*d.trackedTool];
    gfx::Point at = d.trackPosition;
    if (!(t.flags & TTF_ABSOLUTE)) at.y += kBelowCursor;
    ShowAt(tip, d, t.text, at, false);
}

// The tool under a relayed mouse message, if any.
std::optional<size_t> ToolUnder(const TooltipData& d, const Msg& m) {
    const gfx::Point p{SignedLowWord(m.lParam), SignedHighWord(m.lParam)};
    for (size_t i = 0; i < d.tools.size(); ++i) {
        const ToolInfo& t = d.tools[i];
        if (t.flags & TTF_TRACK) continue;
        if (t.flags & TTF_IDISHWND) {
            if (Window::FromValue(t.id) == m.window) return i;
        } else if (t.window == m.window && t.rect.Contains(p.x, p.y)) {
            return i;
        }
    }
    return std::nullopt;
}

void Relay(Window tip, TooltipData& d, const Msg* m) {
    if (!m || d.tracking) return;
    if (m->message == WM_MOUSEMOVE) {
        const std::optional<size_t> under = ToolUnder(d, *m);
        if (under != d.hotTool) {
            Hide(tip, d);
            d.hotTool = under;
            d.suppressed = false;
            if (under) SetTimer(tip, kInitialTimer, InitialDelay(d));
        } else if (under && !d.visible && !d.suppressed) {
            SetTimer(tip, kInitialTimer, InitialDelay(d));  // the mouse is still moving: wait again
        }
    } else if (m->message == WM_MOUSELEAVE) {
        Hide(tip, d);
        d.hotTool.reset();
    } else if ((m->message >= WM_LBUTTONDOWN && m->message <= WM_MBUTTONDBLCLK) ||
               (m->message >= WM_NCLBUTTONDOWN && m->message <= WM_NCMBUTTONDBLCLK)) {
        Hide(tip, d);
        d.suppressed = true;
    }
}

void Paint(Window tip, const TooltipData& d) {
    PaintStruct ps;
    gfx::Bitmap* surface = BeginPaint(tip, &ps);
    if (surface && !surface->empty()) {
        gfx::DrawContext dc(*surface);
        const gfx::Rect all{0, 0, surface->width(), surface->height()};
        dc.FillOpaque(all, gfx::MakeColorRef(0xFF, 0xFF, 0xE1));
        dc.FillOpaque({0, 0, all.right, 1}, gfx::MakeColorRef(0x76, 0x76, 0x76));
        dc.FillOpaque({0, all.bottom - 1, all.right, all.bottom}, gfx::MakeColorRef(0x76, 0x76, 0x76));
        dc.FillOpaque({0, 0, 1, all.bottom}, gfx::MakeColorRef(0x76, 0x76, 0x76));
        dc.FillOpaque({all.right - 1, 0, all.right, all.bottom}, gfx::MakeColorRef(0x76, 0x76, 0x76));
        dc.SetTextColor(gfx::MakeColorRef(0, 0, 0));
        gfx::Rect textRect{kPadding + 1, kPadding + 1, all.right - kPadding - 1, all.bottom - kPadding - 1};
        dc.DrawText(d.shownText, textRect, text::DT_NOPREFIX | (d.maxWidth >= 0 ? text::DT_WORDBREAK : 0u));
    }
    EndPaint(tip, &ps);
}

intptr_t TooltipProc(Window w, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    if (message == WM_NCCREATE) {
        detail::SetClassData(w, std::make_shared<TooltipData>());
        SetWindowFrameName(w, "tooltip");
        return DefWindowProc(w, message, wParam, lParam);
    }
    TooltipData* d = DataOf(w);
    if (message == WM_NCDESTROY) {
        detail::SetClassData(w, nullptr);
        return 0;
    }
    if (!d) return DefWindowProc(w, message, wParam, lParam);
    const auto* info = reinterpret_cast<const ToolInfo*>(lParam);
    switch (message) {
        case TTM_ADDTOOL: {
            if (!info) return 0;
            if (auto i = FindTool(*d, info)) {
                d->tools[*i] = *info;
            } else {
                d->tools.push_back(*info);
            }
            return 1;
        }
        case TTM_DELTOOL: {
            auto i = FindTool(*d, info);
            if (!i) return 0;
            if (d->hotTool == i || d->trackedTool == i) {
                Hide(w, *d);
                d->hotTool.reset();
                d->trackedTool.reset();
                d->tracking = false;
            }
            d->tools.erase(d->tools.begin() + static_cast<std::ptrdiff_t>(*i));
            auto shift = [&](std::optional<size_t>& t) {
                if (t && *t > *i) --*t;
            };
            shift(d->hotTool);
            shift(d->trackedTool);
            return 0;
        }
        case TTM_NEWTOOLRECT:
            if (auto i = FindTool(*d, info)) d->tools[*i].rect = info->rect;
            return 0;
        case TTM_UPDATETIPTEXT:
        case TTM_SETTOOLINFO:
            if (auto i = FindTool(*d, info)) {
                if (message == TTM_SETTOOLINFO) {
                    d->tools[*i] = *info;
                } else {
                    d->tools[*i].text = info->text;
                }
                const bool shownForIt = d->visible && (d->tracking ? d->trackedTool == i : d->hotTool == i);
                if (shownForIt && d->tracking) {
                    ShowTracked(w, *d);
                } else if (shownForIt) {
                    ShowHotTool(w, *d);
                }
            }
            return 0;
        case TTM_GETTOOLINFO: {
            auto* out = reinterpret_cast<ToolInfo*>(lParam);
            auto i = FindTool(*d, out);
            if (!i) return 0;
            *out = d->tools[*i];
            return 1;
        }
        case TTM_GETTOOLCOUNT:
            return static_cast<intptr_t>(d->tools.size());
        case TTM_ACTIVATE:
            d->active = wParam != 0;
            if (!d->active) Hide(w, *d);
            return 0;
        case TTM_TRACKPOSITION:
            d->trackPosition = {SignedLowWord(lParam), SignedHighWord(lParam)};
            if (d->tracking && d->visible) ShowTracked(w, *d);
            return 0;
        case TTM_TRACKACTIVATE: {
            auto i = FindTool(*d, info);
            if (wParam) {
                if (!i) return 0;
                d->tracking = true;
                d->trackedTool = i;
                ShowTracked(w, *d);
            } else {
                d->tracking = false;
                d->trackedTool.reset();
                Hide(w, *d);
            }
            return 0;
        }
        case TTM_RELAYEVENT:
            Relay(w, *d, reinterpret_cast<const Msg*>(lParam));
            return 0;
        case TTM_POP:
            Hide(w, *d);
            return 0;
        case TTM_POPUP:
            if (d->tracking) {
                ShowTracked(w, *d);
            } else {
                ShowHotTool(w, *d);
            }
            return 0;
        case TTM_SETMAXTIPWIDTH: {
            const int old = d->maxWidth;
            d->maxWidth = static_cast<int>(lParam);
            return old;
        }
        case TTM_SETDELAYTIME: {
            const uint32_t ms = lParam < 0 ? 0 : static_cast<uint32_t>(LowWord(static_cast<uintptr_t>(lParam)));
            if (wParam == TTDT_INITIAL) d->initialDelay = ms;
            if (wParam == TTDT_AUTOPOP) d->autoPopDelay = ms;
            if (wParam == TTDT_AUTOMATIC) {
                d->initialDelay = ms;
                d->autoPopDelay = ms * 10;
            }
            return 0;
        }
        case WM_TIMER:
            if (wParam == kInitialTimer) {
                KillTimer(w, kInitialTimer);
                if (!d->suppressed && !d->tracking) ShowHotTool(w, *d);
            } else if (wParam == kAutoPopTimer) {
                Hide(w, *d);
                d->suppressed = true;
            }
            return 0;
        case WM_PAINT:
            Paint(w, *d);
            return 0;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_NCHITTEST:
            return HTTRANSPARENT;
        default:
            return DefWindowProc(w, message, wParam, lParam);
    }
}

}  // namespace

std::optional<TooltipState> GetTooltipState(Window tooltip) {
    if (GetClassName(tooltip) != TOOLTIPS_CLASS) return std::nullopt;
    const TooltipData* d = DataOf(tooltip);
    if (!d) return std::nullopt;
    TooltipState s;
    s.active = d->active;
    s.tracking = d->tracking;
    s.visible = d->visible && IsWindowVisible(tooltip);
    s.text = s.visible ? d->shownText : std::u16string();
    if (s.visible) GetWindowRect(tooltip, &s.rect);
    s.trackPosition = d->trackPosition;
    s.tools = d->tools;
    return s;
}

namespace detail {

intptr_t DesktopProc(Window w, uint32_t message, uintptr_t wParam, intptr_t lParam) {
    return DefWindowProc(w, message, wParam, lParam);
}

void RegisterSystemClasses(SystemState& s) {
    std::lock_guard lock(s.mutex);
    auto add = [&](std::u16string name, WindowProc proc, int windowExtra, uint32_t style) {
        auto entry = std::make_shared<ClassEntry>();
        entry->info.name = std::move(name);
        entry->info.proc = proc;
        entry->info.windowExtra = windowExtra;
        entry->info.style = style;
        entry->atom = s.nextAtom++;
        entry->system = true;
        s.classes.push_back(entry);
        return entry;
    };
    auto desktopClass = add(u"#32769", DesktopProc, 0, 0);
    add(TOOLTIPS_CLASS, TooltipProc, 0, CS_DBLCLKS | CS_SAVEBITS)->mouseTransparent = true;

    // The desktop window: the screen, the parent of every top-level window.
    auto d = std::make_unique<WindowData>();
    d->cls = desktopClass;
    d->proc = DesktopProc;
    d->thread = s.displayThread;
    d->style = WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
    d->rect = {0, 0, s.screen.size.width, s.screen.size.height};
    d->clientInWindow = d->rect;
    d->stage = Stage::Alive;
    const uint32_t generation = NextGeneration();
    const uint32_t slot = static_cast<uint32_t>(s.windows.size());
    s.windows.emplace_back();
    s.desktop = Window::Make(slot, generation);
    d->handle = s.desktop;
    s.windows[slot].generation = generation;
    s.windows[slot].data = std::move(d);
    ++desktopClass->windowCount;
}

}  // namespace detail
}  // namespace vexlo::win
