// Top-level windows as X windows: making them, their hints for the window manager, map
// and unmap, moves, the frames they show, their shape and their stacking.
#include "platform/base/text.h"
#include "platform/win/styles.h"
#include "platform/x11/backend_impl.h"
#include "platform/x11/properties.h"
#include "platform/x11/window_shape.h"

#include <X11/Xatom.h>
#include <X11/extensions/shape.h>

#include <unistd.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>

namespace vexlo::x11 {

using platform::Utf8ToWide;
using platform::WideToUtf8;

using namespace vexlo::win;

namespace {

// What shows where a non-layered window has no client pixels (its frame area).
constexpr uint32_t kFrameColour = 0xFFF0F0F0u;

constexpr long kWindowEvents = ExposureMask | StructureNotifyMask | ButtonPressMask | ButtonReleaseMask |
                               PointerMotionMask | EnterWindowMask | LeaveWindowMask | KeyPressMask |
                               KeyReleaseMask | FocusChangeMask;

// X keeps positions in 16 bits and sizes of at least one pixel.
int ClampPosition(int v) { return std::clamp(v, -32768, 32767); }
unsigned ClampExtent(int v) { return static_cast<unsigned>(std::clamp(v, 1, 32767)); }

gfx::Size WindowSize(const NativeWindowState& s) {
    return {static_cast<int>(ClampExtent(s.rect.width())), static_cast<int>(ClampExtent(s.rect.height()))};
}

bool SkipsTaskbar(const NativeWindowState& s) {
    return (s.toolWindow || s.owner || s.mouseTransparent) && !(s.exStyle & WS_EX_APPWINDOW);
}

// Copies `from` into `to` at an offset, clipped; `opaque` forces full alpha.
void Blit(const gfx::Bitmap& from, gfx::Point at, gfx::Bitmap& to, bool opaque) {
    const int x0 = std::max(0, at.x), y0 = std::max(0, at.y);
    const int x1 = std::min(to.width(), at.x + from.width()), y1 = std::min(to.height(), at.y + from.height());
    for (int y = y0; y < y1; ++y) {
        const uint32_t* in = from.row(y - at.y) + (x0 - at.x);
        uint32_t* out = to.row(y) + x0;
        for (int x = 0; x < x1 - x0; ++x) out[x] = opaque ? (in[x] | 0xFF000000u) : in[x];
    }
}

}  // namespace

NativeWindow* X11Backend::Impl::FindByXid(::Window xid) {
    if (!xid) return nullptr;
    auto it = byXid.find(xid);
    if (it == byXid.end()) return nullptr;
    auto w = windows.find(it->second);
    return w == windows.end() ? nullptr : &w->second;
}

bool X11Backend::Impl::WantsAlphaVisual(const NativeWindow& w) const {
    return w.state.layered && compositor && alphaVisual && options.allowAlphaVisual;
}

bool X11Backend::Impl::ShouldMap(const NativeWindow& w) const {
    // A layered window shows nothing until its first frame, as on the target.
    return w.state.visible && !w.state.rect.IsEmpty() && (!w.state.layered || w.hasFrame);
}

bool X11Backend::Impl::Unmanaged(const NativeWindowState& s) {
    // Caption-less popups, menus and tips are placed and stacked by the program itself;
    // windows with a caption, or that want a task-bar button, go to the window manager.
    if (s.mouseTransparent) return true;
    const bool captioned = (s.style & WS_CAPTION) == WS_CAPTION;
    if (captioned || (s.exStyle & WS_EX_APPWINDOW)) return false;
    const bool popupLike = (s.style & WS_POPUP) || s.owner;
    return popupLike && (s.toolWindow || s.owner || s.topmost);
}

GC X11Backend::Impl::GcForDepth(int targetDepth, Drawable sample) {
    GC& gc = targetDepth == depth ? gcScreenDepth : gcAlphaDepth;
    if (!gc) {
        XGCValues values{};
        values.graphics_exposures = False;
        gc = XCreateGC(display, sample, GCGraphicsExposures, &values);
    }
    return gc;
}

void X11Backend::Impl::EnsureXWindow(NativeWindow& w) {
    const bool alpha = WantsAlphaVisual(w);
    if (w.xid && w.alphaVisual != alpha) DestroyXWindow(w);
    if (w.xid) return;
    Visual* v = alpha ? alphaVisual : visual;
    const int d = alpha ? 32 : depth;
    XSetWindowAttributes a{};
    unsigned long mask = CWEventMask | CWOverrideRedirect | CWBorderPixel | CWBackPixel | CWBitGravity;
    if (alpha) {
        w.colormap = XCreateColormap(display, root, v, AllocNone);
        a.colormap = w.colormap;
        mask |= CWColormap;
        a.background_pixel = 0;
    } else {
        a.background_pixel = screenFormat.Encode(kFrameColour);
    }
    a.border_pixel = 0;
    a.bit_gravity = NorthWestGravity;
    a.event_mask = kWindowEvents;
    w.overrideRedirect = Unmanaged(w.state);
    a.override_redirect = w.overrideRedirect ? True : False;
    if (current) {
        a.cursor = current;
        mask |= CWCursor;
    }
    w.xid = XCreateWindow(display, root, ClampPosition(w.state.rect.left), ClampPosition(w.state.rect.top),
                          ClampExtent(w.state.rect.width()), ClampExtent(w.state.rect.height()), 0, d, InputOutput,
                          v, mask, &a);
    w.alphaVisual = alpha;
    byXid[w.xid] = w.handle;

    XClassHint classHint{};
    classHint.res_name = const_cast<char*>("vexlo-updater");
    classHint.res_class = const_cast<char*>("Vexlo");
    XSetClassHint(display, w.xid, &classHint);
    Atom protocols[] = {atoms.WM_DELETE_WINDOW, atoms._NET_WM_PING};
    XSetWMProtocols(display, w.xid, protocols, 2);
    SetProperty32(display, w.xid, atoms._NET_WM_PID, XA_CARDINAL, {static_cast<unsigned long>(getpid())});

    if (inputMethod) {
        w.inputContext = XCreateIC(inputMethod, XNInputStyle, XIMPreeditNothing | XIMStatusNothing, XNClientWindow,
                                   w.xid, XNFocusWindow, w.xid, nullptr);
        if (w.inputContext) {
            long filter = 0;
            XGetICValues(w.inputContext, XNFilterEvents, &filter, nullptr);
            XSelectInput(display, w.xid, kWindowEvents | filter);
        }
    }
    ApplyTitle(w);
    ApplyHints(w, true);
}

void X11Backend::Impl::DestroyXWindow(NativeWindow& w) {
    if (!w.xid) return;
    if (w.inputContext) XDestroyIC(w.inputContext);
    XDestroyWindow(display, w.xid);
    if (w.content) XFreePixmap(display, w.content);
    if (w.colormap) XFreeColormap(display, w.colormap);
    byXid.erase(w.xid);
    std::erase(appliedStack, w.xid);
    if (appliedFront == w.xid) appliedFront = 0;
    w.xid = 0;
    w.inputContext = nullptr;
    w.content = 0;
    w.contentSize = {};
    w.colormap = 0;
    w.alphaVisual = false;
    w.mapRequested = false;
    w.viewable = false;
    w.focusWanted = false;
    w.shapeKnown = false;
    w.shape.reset();
    w.under = gfx::Bitmap{};
    w.uploaded = false;
}

void X11Backend::Impl::ApplyTitle(NativeWindow& w) {
    const std::string utf8 = WideToUtf8(w.state.title);
    SetProperty8(display, w.xid, atoms._NET_WM_NAME, atoms.UTF8_STRING, utf8);
    SetProperty8(display, w.xid, atoms._NET_WM_ICON_NAME, atoms.UTF8_STRING, utf8);
    const std::string latin1 = ToLatin1(w.state.title);
    SetProperty8(display, w.xid, XA_WM_NAME, XA_STRING, latin1);
    SetProperty8(display, w.xid, XA_WM_ICON_NAME, XA_STRING, latin1);
}

void X11Backend::Impl::ApplyHints(NativeWindow& w, bool writeState) {
    const NativeWindowState& s = w.state;
    const bool unmanaged = Unmanaged(s);
    Atom type = atoms._NET_WM_WINDOW_TYPE_NORMAL;
    if (s.mouseTransparent) {
        type = atoms._NET_WM_WINDOW_TYPE_TOOLTIP;
    } else if (unmanaged) {
        type = s.owner ? atoms._NET_WM_WINDOW_TYPE_POPUP_MENU : atoms._NET_WM_WINDOW_TYPE_NOTIFICATION;
    } else if (s.toolWindow) {
        type = atoms._NET_WM_WINDOW_TYPE_UTILITY;
    } else if (s.owner) {
        type = atoms._NET_WM_WINDOW_TYPE_DIALOG;
    }
    SetProperty32(display, w.xid, atoms._NET_WM_WINDOW_TYPE, XA_ATOM, {type});
    if (writeState) {
        std::vector<unsigned long> state;
        if (s.topmost) state.push_back(atoms._NET_WM_STATE_ABOVE);
        if (SkipsTaskbar(s)) {
            state.push_back(atoms._NET_WM_STATE_SKIP_TASKBAR);
            state.push_back(atoms._NET_WM_STATE_SKIP_PAGER);
        }
        SetProperty32(display, w.xid, atoms._NET_WM_STATE, XA_ATOM, state);
    }
    // The window system draws every window's frame itself: no decorations.
    SetProperty32(display, w.xid, atoms._MOTIF_WM_HINTS, atoms._MOTIF_WM_HINTS, {2, 0, 0, 0, 0});

    const auto owner = windows.find(s.owner);
    if (s.owner && owner != windows.end() && owner->second.xid) {
        XSetTransientForHint(display, w.xid, owner->second.xid);
    } else {
        XDeleteProperty(display, w.xid, XA_WM_TRANSIENT_FOR);
    }

    XSizeHints size{};
    size.flags = USPosition | PPosition | USSize | PSize;
    size.x = ClampPosition(s.rect.left);
    size.y = ClampPosition(s.rect.top);
    size.width = static_cast<int>(ClampExtent(s.rect.width()));
    size.height = static_cast<int>(ClampExtent(s.rect.height()));
    if (!(s.style & WS_THICKFRAME)) {
        size.flags |= PMinSize | PMaxSize;
        size.min_width = size.max_width = size.width;
        size.min_height = size.max_height = size.height;
    }
    XSetWMNormalHints(display, w.xid, &size);

    XWMHints hints{};
    hints.flags = InputHint | StateHint;
    hints.input = (s.exStyle & WS_EX_NOACTIVATE) || s.mouseTransparent ? False : True;
    hints.initial_state = NormalState;
    XSetWMHints(display, w.xid, &hints);
}

void X11Backend::Impl::SendNetState(NativeWindow& w, Atom property, Atom second, bool on) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w.xid;
    e.xclient.message_type = atoms._NET_WM_STATE;
    e.xclient.format = 32;
    e.xclient.data.l[0] = on ? 1 : 0;  // add, or remove
    e.xclient.data.l[1] = static_cast<long>(property);
    e.xclient.data.l[2] = static_cast<long>(second);
    e.xclient.data.l[3] = 1;  // from an application
    XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
}

gfx::Bitmap X11Backend::Impl::ReadScreenArea(const gfx::Rect& area) {
    gfx::Bitmap out;
    if (!out.Reset(area.width(), area.height())) return out;
    std::fill(out.data(), out.data() + static_cast<size_t>(out.width()) * out.height(), 0xFF000000u);
    const gfx::Rect visible =
        area.Intersect({0, 0, DisplayWidth(display, screen), DisplayHeight(display, screen)});
    if (visible.IsEmpty()) return out;
    XImage* image = XGetImage(display, root, visible.left, visible.top, static_cast<unsigned>(visible.width()),
                              static_cast<unsigned>(visible.height()), AllPlanes, ZPixmap);
    if (!image) return out;
    const bool direct = image->bits_per_pixel == 32 &&
                        image->byte_order == (std::endian::native == std::endian::little ? LSBFirst : MSBFirst);
    for (int y = 0; y < visible.height(); ++y) {
        uint32_t* row = out.row(y + visible.top - area.top) + (visible.left - area.left);
        const auto* line = reinterpret_cast<const uint32_t*>(image->data + static_cast<ptrdiff_t>(y) * image->bytes_per_line);
        for (int x = 0; x < visible.width(); ++x) {
            const uint32_t value = direct ? line[x] : static_cast<uint32_t>(XGetPixel(image, x, y));
            row[x] = screenFormat.Decode(value) | 0xFF000000u;
        }
    }
    XDestroyImage(image);
    return out;
}

void X11Backend::Impl::PutPixels(Drawable target, GC gc, int targetDepth, const gfx::Bitmap& pixels) {
    const PixelFormat& format = targetDepth == 32 && alphaVisual ? alphaFormat : screenFormat;
    (void)format;
    Visual* v = targetDepth == 32 && alphaVisual ? alphaVisual : visual;
    XImage image{};
    image.width = pixels.width();
    image.height = pixels.height();
    image.format = ZPixmap;
    image.data = reinterpret_cast<char*>(const_cast<uint32_t*>(pixels.data()));
    image.byte_order = std::endian::native == std::endian::little ? LSBFirst : MSBFirst;
    image.bitmap_unit = 32;
    image.bitmap_bit_order = image.byte_order;
    image.bitmap_pad = 32;
    image.depth = targetDepth;
    image.bytes_per_line = pixels.stride();
    image.bits_per_pixel = 32;
    image.red_mask = v->red_mask;
    image.green_mask = v->green_mask;
    image.blue_mask = v->blue_mask;
    if (!XInitImage(&image)) return;
    XPutImage(display, target, gc, &image, 0, 0, 0, 0, static_cast<unsigned>(pixels.width()),
              static_cast<unsigned>(pixels.height()));
}

void X11Backend::Impl::Upload(NativeWindow& w) {
    if (!w.xid || !w.hasFrame) return;
    const gfx::Size size = WindowSize(w.state);
    gfx::Bitmap pixels;
    if (w.frameKind == FrameKind::Layered) {
        if (w.frame.width() == size.width && w.frame.height() == size.height && w.frameOffset == gfx::Point{}) {
            pixels = w.frame;
        } else if (pixels.Reset(size.width, size.height)) {
            Blit(w.frame, w.frameOffset, pixels, false);
        }
        if (!w.alphaVisual && !pixels.empty()) {
            if (w.under.width() != size.width || w.under.height() != size.height) {
                w.under = ReadScreenArea(gfx::Rect::FromXYWH(w.state.rect.left, w.state.rect.top, size.width, size.height));
                w.underRect = gfx::Rect::FromXYWH(w.state.rect.left, w.state.rect.top, size.width, size.height);
            }
            gfx::Bitmap composed;
            ComposeOver(pixels, w.under, composed);
            pixels = std::move(composed);
        }
    } else if (pixels.Reset(size.width, size.height)) {
        std::fill(pixels.data(), pixels.data() + static_cast<size_t>(size.width) * size.height, kFrameColour);
        Blit(w.frame, w.frameOffset, pixels, true);
    }
    if (pixels.empty()) return;
    EncodePixels(w.alphaVisual ? alphaFormat : screenFormat, pixels);
    const int d = w.alphaVisual ? 32 : depth;
    if (!w.content || w.contentSize.width != size.width || w.contentSize.height != size.height) {
        const Pixmap next = XCreatePixmap(display, w.xid, static_cast<unsigned>(size.width),
                                          static_cast<unsigned>(size.height), static_cast<unsigned>(d));
        XSetWindowBackgroundPixmap(display, w.xid, next);
        if (w.content) XFreePixmap(display, w.content);
        w.content = next;
        w.contentSize = size;
    }
    PutPixels(w.content, GcForDepth(d, w.content), d, pixels);
    XClearWindow(display, w.xid);
    ApplyShape(w);
    w.uploaded = true;
    ++uploads;
}

void X11Backend::Impl::ApplyShape(NativeWindow& w) {
    if (!shapeExtension || !w.xid) return;
    const bool layeredFrame = w.state.layered && w.hasFrame && w.frameKind == FrameKind::Layered;
    std::optional<gfx::Region> shape =
        ShapeForWindow(w.state.layered, layeredFrame ? &w.frame : nullptr, w.frameOffset, WindowSize(w.state), w.state.region);
    if (w.shapeKnown && shape == w.shape) return;
    for (int kind : {ShapeBounding, ShapeInput}) {
        if (!shape) {
            XShapeCombineMask(display, w.xid, kind, 0, 0, None, ShapeSet);
            continue;
        }
        std::vector<XRectangle> rects;
        for (const gfx::Rect& r : shape->Rects()) {
            XRectangle x{};
            x.x = static_cast<short>(ClampPosition(r.left));
            x.y = static_cast<short>(ClampPosition(r.top));
            x.width = static_cast<unsigned short>(std::clamp(r.width(), 0, 65535));
            x.height = static_cast<unsigned short>(std::clamp(r.height(), 0, 65535));
            rects.push_back(x);
        }
        XShapeCombineRectangles(display, w.xid, kind, 0, 0, rects.data(), static_cast<int>(rects.size()), ShapeSet,
                                YXBanded);
    }
    w.shape = std::move(shape);
    w.shapeKnown = true;
}

void X11Backend::Impl::Map(NativeWindow& w) {
    EnsureXWindow(w);
    const bool unmanaged = Unmanaged(w.state);
    if (unmanaged != w.overrideRedirect) {
        XSetWindowAttributes a{};
        a.override_redirect = unmanaged ? True : False;
        XChangeWindowAttributes(display, w.xid, CWOverrideRedirect, &a);
        w.overrideRedirect = unmanaged;
    }
    ApplyHints(w, true);
    XMoveResizeWindow(display, w.xid, ClampPosition(w.state.rect.left), ClampPosition(w.state.rect.top),
                      ClampExtent(w.state.rect.width()), ClampExtent(w.state.rect.height()));
    if (w.state.layered && !w.alphaVisual) {
        // What the screen shows there now is what the frame is composed over.
        const gfx::Size size = WindowSize(w.state);
        w.underRect = gfx::Rect::FromXYWH(w.state.rect.left, w.state.rect.top, size.width, size.height);
        w.under = ReadScreenArea(w.underRect);
    }
    if (w.hasFrame) {
        Upload(w);
    } else {
        ApplyShape(w);
    }
    XMapWindow(display, w.xid);
    w.mapRequested = true;
    w.viewable = false;
    ApplyStacking();
    if (w.state.active) Focus(w);
}

void X11Backend::Impl::Unmap(NativeWindow& w) {
    if (!w.xid) return;
    if (w.overrideRedirect) {
        XUnmapWindow(display, w.xid);
    } else {
        XWithdrawWindow(display, w.xid, screen);
    }
    w.mapRequested = false;
    w.mapPending = false;
    w.viewable = false;
    w.focusWanted = false;
    w.under = gfx::Bitmap{};
    w.uploaded = false;
    std::erase(appliedStack, w.xid);
    if (appliedFront == w.xid) appliedFront = 0;
}

void X11Backend::Impl::MoveResize(NativeWindow& w) {
    const gfx::Size size = WindowSize(w.state);
    const gfx::Rect next = gfx::Rect::FromXYWH(w.state.rect.left, w.state.rect.top, size.width, size.height);
    if (w.mapRequested && w.state.layered && !w.alphaVisual && !w.under.empty() && next != w.underRect) {
        // The window still covers its old place: what lay beneath it there is known,
        // the rest is read from the screen before the window moves over it.
        gfx::Bitmap under;
        if (under.Reset(size.width, size.height)) {
            Blit(w.under, {w.underRect.left - next.left, w.underRect.top - next.top}, under, true);
            gfx::Region fresh(next);
            fresh.Subtract(w.underRect);
            for (const gfx::Rect& r : fresh.Rects()) {
                Blit(ReadScreenArea(r), {r.left - next.left, r.top - next.top}, under, true);
            }
        }
        w.under = std::move(under);
        w.underRect = next;
    }
    XMoveResizeWindow(display, w.xid, ClampPosition(w.state.rect.left), ClampPosition(w.state.rect.top),
                      ClampExtent(w.state.rect.width()), ClampExtent(w.state.rect.height()));
    w.uploaded = false;
}

void X11Backend::Impl::ApplyStacking() {
    std::vector<::Window> order;
    for (win::Window h : stack) {
        auto it = windows.find(h);
        if (it != windows.end() && it->second.mapRequested && it->second.xid) order.push_back(it->second.xid);
    }
    if (order == appliedStack) return;
    if (!order.empty() && order.front() != appliedFront) XRaiseWindow(display, order.front());
    appliedFront = order.empty() ? 0 : order.front();
    for (size_t i = 1; i < order.size(); ++i) {
        XWindowChanges c{};
        c.sibling = order[i - 1];
        c.stack_mode = Below;
        // Asks the window manager when the window is one of its own.
        XReconfigureWMWindow(display, order[i], screen, CWSibling | CWStackMode, &c);
    }
    appliedStack = std::move(order);
}

void X11Backend::Impl::Focus(NativeWindow& w) {
    if (!w.xid || !w.mapRequested || (w.state.exStyle & WS_EX_NOACTIVATE) || w.state.mouseTransparent) return;
    if (!w.overrideRedirect && wmActivates) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = w.xid;
        e.xclient.message_type = atoms._NET_ACTIVE_WINDOW;
        e.xclient.format = 32;
        e.xclient.data.l[0] = 1;  // from an application
        e.xclient.data.l[1] = static_cast<long>(lastEventTime);
        XSendEvent(display, root, False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
        return;
    }
    if (!w.overrideRedirect && !w.viewable) {
        w.focusWanted = true;  // on its MapNotify
        return;
    }
    ErrorTrap trap(display);
    XSetInputFocus(display, w.xid, RevertToParent, CurrentTime);
}

void X11Backend::Impl::MapPending() {
    for (auto& [handle, w] : windows) {
        if (!w.mapPending) continue;
        w.mapPending = false;
        if (!w.mapRequested && ShouldMap(w)) Map(w);
    }
}

void X11Backend::Impl::Recreate(NativeWindow& w) {
    DestroyXWindow(w);
    if (ShouldMap(w)) Map(w);
}

// ---- The DisplayBackend calls ----

void X11Backend::CreateNativeWindow(win::Window window, const NativeWindowState& state) {
    std::lock_guard lock(impl_->mutex);
    NativeWindow& w = impl_->windows[window];
    w.handle = window;
    w.state = state;
    // The X window comes when the window is first shown.
    if (impl_->ShouldMap(w)) impl_->Map(w);
    impl_->AfterRequests();
}

void X11Backend::UpdateNativeWindow(win::Window window, const NativeWindowState& state) {
    Impl& s = *impl_;
    std::lock_guard lock(s.mutex);
    auto it = s.windows.find(window);
    if (it == s.windows.end()) {
        it = s.windows.emplace(window, NativeWindow{}).first;
        it->second.handle = window;
        it->second.state = state;
    }
    NativeWindow& w = it->second;
    const NativeWindowState old = w.state;
    w.state = state;
    if (old.layered != state.layered) {
        // The kept frame belongs to the other kind of window.
        w.hasFrame = false;
        w.frame = gfx::Bitmap{};
        w.uploaded = false;
    }
    if (w.xid && s.WantsAlphaVisual(w) != w.alphaVisual) s.DestroyXWindow(w);
    if (w.xid) {
        if (old.rect != state.rect) s.MoveResize(w);
        if (old.title != state.title) s.ApplyTitle(w);
        const bool managedAndShown = w.mapRequested && !w.overrideRedirect;
        if (managedAndShown) {
            // The window manager owns the state of a window it shows: ask it.
            if (old.topmost != state.topmost) s.SendNetState(w, s.atoms._NET_WM_STATE_ABOVE, None, state.topmost);
            if (SkipsTaskbar(old) != SkipsTaskbar(state)) {
                s.SendNetState(w, s.atoms._NET_WM_STATE_SKIP_TASKBAR, s.atoms._NET_WM_STATE_SKIP_PAGER,
                               SkipsTaskbar(state));
            }
        }
        if (old.style != state.style || old.exStyle != state.exStyle || old.owner != state.owner ||
            old.topmost != state.topmost || old.toolWindow != state.toolWindow || old.rect.size() != state.rect.size()) {
            s.ApplyHints(w, !managedAndShown);
        }
        if (old.region != state.region) s.ApplyShape(w);
    }
    const bool want = s.ShouldMap(w);
    if (!want) w.mapPending = false;
    if (want && !w.mapRequested) {
        if (state.layered && !old.visible) {
            w.mapPending = true;
        } else {
            s.Map(w);
        }
    } else if (!want && w.mapRequested) {
        s.Unmap(w);
    } else if (w.mapRequested && w.hasFrame && !w.uploaded && !state.layered) {
        // A moved window shows its kept pixels again; a layered one gets a new frame.
        s.Upload(w);
    }
    if (w.mapRequested && state.active && !old.active) s.Focus(w);
    s.AfterRequests();
}

void X11Backend::DestroyNativeWindow(win::Window window) {
    std::lock_guard lock(impl_->mutex);
    auto it = impl_->windows.find(window);
    if (it != impl_->windows.end()) {
        impl_->DestroyXWindow(it->second);
        impl_->windows.erase(it);
    }
    std::erase(impl_->stack, window);
    impl_->AfterRequests();
}

void X11Backend::RestackNativeWindows(const std::vector<win::Window>& frontToBack) {
    std::lock_guard lock(impl_->mutex);
    impl_->stack = frontToBack;
    impl_->ApplyStacking();
    impl_->AfterRequests();
}

void X11Backend::PresentFrame(const FrameInfo& info, const gfx::Bitmap& pixels) {
    Impl& s = *impl_;
    std::lock_guard lock(s.mutex);
    auto it = s.windows.find(info.window);
    if (it == s.windows.end() || pixels.empty()) return;
    NativeWindow& w = it->second;
    const gfx::Point offset{info.screenRect.left - w.state.rect.left, info.screenRect.top - w.state.rect.top};
    // The same pixels at the same place are on the screen already: one upload per change.
    const bool same = w.uploaded && w.hasFrame && w.frameKind == info.kind && w.frameOffset == offset && w.frame == pixels;
    w.frame = pixels;
    w.frameKind = info.kind;
    w.frameOffset = offset;
    w.hasFrame = true;
    if (!w.mapRequested) {
        w.mapPending = false;
        if (s.ShouldMap(w)) s.Map(w);
    } else if (!same) {
        s.Upload(w);
    }
    s.AfterRequests();
}

unsigned long X11Backend::NativeWindowId(win::Window window) const {
    std::lock_guard lock(impl_->mutex);
    auto it = impl_->windows.find(window);
    return it == impl_->windows.end() ? 0 : it->second.xid;
}

bool X11Backend::UsesAlphaVisual(win::Window window) const {
    std::lock_guard lock(impl_->mutex);
    auto it = impl_->windows.find(window);
    return it != impl_->windows.end() && it->second.alphaVisual;
}

}  // namespace vexlo::x11
