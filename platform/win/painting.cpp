// Invalid regions and WM_PAINT, client surfaces, layered frames, window regions, and
// the frames the backend is given to show.
#include "platform/sync/thread.h"
#include "platform/win/detail/system_state.h"
#include "platform/win/window_api.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace vexlo::win {

using detail::Current;
using detail::Lock;
using detail::SetLastErrorCode;
using detail::SystemState;
using detail::WindowData;

namespace {

gfx::Rect ClientBounds(const WindowData& d) { return {0, 0, d.clientInWindow.width(), d.clientInWindow.height()}; }

// Pixels outside the window's region are not part of what the screen shows.
void MaskByRegion(gfx::Bitmap& pixels, const std::optional<gfx::Region>& region, gfx::Point regionOffset) {
    if (!region) return;
    gfx::Region shape = *region;
    shape.Offset(regionOffset.x, regionOffset.y);
    for (int y = 0; y < pixels.height(); ++y) {
        uint32_t* row = pixels.row(y);
        for (int x = 0; x < pixels.width(); ++x) {
            if (!shape.Contains(x, y)) row[x] = 0;
        }
    }
}

}  // namespace

namespace detail {

void SystemState::InvalidateLocked(WindowData& d, const gfx::Region* region, bool erase) {
    if (!IsShown(d) || (d.exStyle & WS_EX_LAYERED)) return;
    gfx::Region add = region ? *region : gfx::Region(ClientBounds(d));
    add.Intersect(ClientBounds(d));
    if (add.IsEmpty()) return;
    d.update.Union(add);
    if (erase) d.erase = true;
    if (d.thread != sync::CurrentThreadId()) WakeThread(d.thread);
}

void SystemState::ResizeSurface(WindowData& d) {
    const int w = d.clientInWindow.width();
    const int h = d.clientInWindow.height();
    if (d.surface.width() == w && d.surface.height() == h) return;
    gfx::Bitmap next;
    if (w > 0 && h > 0) next.Reset(w, h);
    const int cw = std::min(w, d.surface.width());
    const int ch = std::min(h, d.surface.height());
    for (int y = 0; y < ch && !next.empty(); ++y) std::copy_n(d.surface.row(y), cw, next.row(y));
    d.surface = std::move(next);
}

std::string SystemState::FrameNameOf(const WindowData& d) const {
    if (!d.frameName.empty()) return d.frameName;
    std::string name;
    bool meaningful = false;
    for (char16_t c : d.text) {
        if (c < 128 && (std::isalnum(static_cast<unsigned char>(c)) || c == u'_' || c == u'-' || c == u'.')) {
            name.push_back(static_cast<char>(c));
            meaningful = meaningful || std::isalnum(static_cast<unsigned char>(c));
        } else if (name.empty() || name.back() != '_') {
            name.push_back('_');
        }
        if (name.size() >= 48) break;
    }
    if (meaningful) return name;
    return "w" + std::to_string(d.handle.slot() + 1);
}

void SystemState::PresentSurface(WindowData& d) {
    if (!IsShown(d) || (d.exStyle & WS_EX_LAYERED) || d.surface.empty()) return;
    gfx::Bitmap frame = d.surface;
    MaskByRegion(frame, d.region, {-d.clientInWindow.left, -d.clientInWindow.top});
    if (caret.window == d.handle && CaretOnNow()) {
        // The system caret inverts what lies under it.
        const gfx::Rect r = gfx::Rect::FromXYWH(caret.pos.x, caret.pos.y, caret.width, caret.height)
                                .Intersect({0, 0, frame.width(), frame.height()});
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                const uint32_t p = frame.pixel(x, y);
                const uint32_t a = gfx::AlphaOf(p);
                frame.set_pixel(x, y, (a << 24) | ((a << 16 | a << 8 | a) - (p & 0x00FFFFFF)));
            }
        }
    }
    FrameInfo info;
    info.window = d.handle;
    info.kind = FrameKind::Paint;
    info.name = FrameNameOf(d);
    info.screenRect = ClientScreenRect(d);
    info.timeMs = backend->NowMs();
    backend->PresentFrame(info, frame);
}

void SystemState::PresentLayered(WindowData& d) {
    if (!IsShown(d) || !d.layeredPresented) return;
    FrameInfo info;
    info.window = d.handle;
    info.kind = FrameKind::Layered;
    info.name = FrameNameOf(d);
    const gfx::Point origin = WindowOrigin(d);
    info.screenRect = gfx::Rect::FromXYWH(origin.x, origin.y, d.layered.width(), d.layered.height());
    info.timeMs = backend->NowMs();
    if (d.region) {
        gfx::Bitmap frame = d.layered;
        MaskByRegion(frame, d.region, {0, 0});
        backend->PresentFrame(info, frame);
    } else {
        backend->PresentFrame(info, d.layered);
    }
}

}  // namespace detail

bool InvalidateRect(Window window, const gfx::Rect* rect, bool erase) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    WindowData* d = s->Find(window);
    if (!d) return false;
    if (rect) {
        const gfx::Region r(*rect);
        s->InvalidateLocked(*d, &r, erase);
    } else {
        s->InvalidateLocked(*d, nullptr, erase);
    }
    return true;
}

bool InvalidateRgn(Window window, const gfx::Region* region, bool erase) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    WindowData* d = s->Find(window);
    if (!d) return false;
    s->InvalidateLocked(*d, region, erase);
    return true;
}

bool ValidateRect(Window window, const gfx::Rect* rect) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    WindowData* d = s->Find(window);
    if (!d) return false;
    if (rect) {
        d->update.Subtract(*rect);
    } else {
        d->update.Clear();
    }
    if (d->update.IsEmpty()) d->erase = false;
    return true;
}

bool GetUpdateRect(Window window, gfx::Rect* rect, bool /*erase*/) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    const WindowData* d = s->Find(window);
    if (!d) return false;
    if (rect) *rect = d->update.Bounds();
    return !d->update.IsEmpty();
}

bool UpdateWindow(Window window) {
    SystemState* s = Current();
    if (!s) return false;
    Lock lock(s->mutex);
    const WindowData* d = s->Find(window);
    if (!d) return false;
    if (!d->update.IsEmpty() && s->IsShown(*d)) s->Send(lock, window, WM_PAINT, 0, 0);
    return true;
}

gfx::Bitmap* BeginPaint(Window window, PaintStruct* paint) {
    SystemState* s = Current();
    if (!s || !paint) return nullptr;
    Lock lock(s->mutex);
    WindowData* d = s->Find(window);
    if (!d) return nullptr;
    paint->clip = d->update;
    paint->paint = d->update.Bounds();
    const bool erase = d->erase;
    d->update.Clear();
    d->erase = false;
    d->inPaint = true;
    d->paintClip = paint->clip;
    paint->erase = false;
    if (erase) {
        const intptr_t erased = s->Send(lock, window, WM_ERASEBKGND, reinterpret_cast<uintptr_t>(&d->surface), 0);
        if ((d = s->Find(window)) == nullptr) return nullptr;
        paint->erase = erased == 0;
    }
    d->paintClip.Clear();
    paint->surface = &d->surface;
    return paint->surface;
}

bool EndPaint(Window window, const PaintStruct* /*paint*/) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    WindowData* d = s->Find(window);
    if (!d) return false;
    d->inPaint = false;
    s->PresentSurface(*d);
    return true;
}

gfx::Bitmap* GetDC(Window window) {
    SystemState* s = Current();
    if (!s) return nullptr;
    std::lock_guard lock(s->mutex);
    WindowData* d = s->Find(window);
    return d ? &d->surface : nullptr;
}

bool ReleaseDC(Window window, gfx::Bitmap* surface) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    WindowData* d = s->Find(window);
    if (!d || surface != &d->surface) return false;
    s->PresentSurface(*d);
    return true;
}

bool UpdateLayeredWindow(Window window, const gfx::Point* destination, const gfx::Size* size,
                         const gfx::Bitmap* source, const gfx::Point* sourcePoint, uint32_t colorKey,
                         const BlendFunction* blend, uint32_t flags) {
    SystemState* s = Current();
    if (!s) return false;
    Lock lock(s->mutex);
    WindowData* d = s->FindAlive(window);
    if (!d || !(d->exStyle & WS_EX_LAYERED) || d->thread != sync::CurrentThreadId()) {
        SetLastErrorCode(d ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    const gfx::Size newSize = size ? *size : gfx::Size{d->rect.width(), d->rect.height()};
    if (newSize.width < 0 || newSize.height < 0) {
        SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return false;
    }
    gfx::Bitmap frame;
    if (source) {
        const gfx::Point from = sourcePoint ? *sourcePoint : gfx::Point{};
        const gfx::Rect wanted = gfx::Rect::FromXYWH(from.x, from.y, newSize.width, newSize.height);
        if (from.x < 0 || from.y < 0 || !gfx::Rect{0, 0, source->width(), source->height()}.Contains(wanted) ||
            (newSize.width > 0 && newSize.height > 0 && !frame.Reset(newSize.width, newSize.height))) {
            SetLastErrorCode(ERROR_INVALID_PARAMETER);
            return false;
        }
        const uint32_t constant = blend ? blend->sourceConstantAlpha : 255u;
        const bool perPixel = blend && (blend->alphaFormat & AC_SRC_ALPHA) && (flags & ULW_ALPHA);
        const uint32_t keyR = colorKey & 0xFF, keyG = (colorKey >> 8) & 0xFF, keyB = (colorKey >> 16) & 0xFF;
        auto scale = [](uint32_t c, uint32_t a) { return (c * a + 127) / 255; };
        // The library's every frame: per-pixel alpha, no key, full constant alpha. The
        // pixels are taken as they are, a row at a time.
        const bool asIs = perPixel && !(flags & (ULW_COLORKEY | ULW_OPAQUE)) && constant == 255;
        for (int y = 0; asIs && y < frame.height(); ++y) {
            std::memcpy(frame.row(y), source->row(from.y + y) + from.x, static_cast<size_t>(frame.width()) * 4);
        }
        for (int y = 0; !asIs && y < frame.height(); ++y) {
            const uint32_t* in = source->row(from.y + y) + from.x;
            uint32_t* out = frame.row(y);
            for (int x = 0; x < frame.width(); ++x) {
                uint32_t p = in[x];
                if ((flags & ULW_COLORKEY) && gfx::RedOf(p) == keyR && gfx::GreenOf(p) == keyG && gfx::BlueOf(p) == keyB) {
                    out[x] = 0;
                    continue;
                }
                if (!perPixel || (flags & ULW_OPAQUE)) p |= 0xFF000000u;
                if ((flags & ULW_ALPHA) && constant != 255) {
                    p = (scale(gfx::AlphaOf(p), constant) << 24) | (scale(gfx::RedOf(p), constant) << 16) |
                        (scale(gfx::GreenOf(p), constant) << 8) | scale(gfx::BlueOf(p), constant);
                }
                out[x] = p;
            }
        }
    }
    const bool move = destination && (destination->x != d->rect.left || destination->y != d->rect.top);
    const bool resize = newSize.width != d->rect.width() || newSize.height != d->rect.height();
    if (source) {
        d->layered = std::move(frame);
        d->layeredPresented = true;
    } else if (resize) {
        d->layered = gfx::Bitmap{};
        d->layeredPresented = false;
    }
    if (move || resize) {
                const gfx::Point at = destination ? *destination : gfx::Point{d->rect.left, d->rect.top};
        s->SetWindowPosLocked(lock, window, Window{}, at.x, at.y, newSize.width, newSize.height,
                              SWP_NOZORDER | SWP_NOACTIVATE | (move ? 0 : SWP_NOMOVE) | (resize ? 0 : SWP_NOSIZE));
        // A move alone presents the frame again; a new size waits for its own frame.
        if (resize && source && (d = s->Find(window)) != nullptr) s->PresentLayered(*d);
        return true;
    }
    if (source) s->PresentLayered(*d);
    return true;
}

int SetWindowRgn(Window window, std::optional<gfx::Region> region, bool redraw) {
    SystemState* s = Current();
    if (!s) return 0;
    std::lock_guard lock(s->mutex);
    WindowData* d = s->Find(window);
    if (!d) return 0;
    d->region = std::move(region);
    s->SyncNative(*d);
    s->NoteCursorMaybeMoved();
    if (redraw && s->IsShown(*d)) {
        if (d->exStyle & WS_EX_LAYERED) {
            s->PresentLayered(*d);
        } else {
            s->InvalidateLocked(*d, nullptr, true);
        }
    }
    return 1;
}

int GetWindowRgn(Window window, gfx::Region* region) {
    SystemState* s = Current();
    if (!s) return 0;
    std::lock_guard lock(s->mutex);
    const WindowData* d = s->Find(window);
    if (!d || !d->region) return 0;
    if (region) *region = *d->region;
    return 1;
}

gfx::Bitmap GetLayeredFrame(Window window) {
    SystemState* s = Current();
    if (!s) return {};
    std::lock_guard lock(s->mutex);
    const WindowData* d = s->Find(window);
    return d && d->layeredPresented ? d->layered : gfx::Bitmap{};
}

}  // namespace vexlo::win
