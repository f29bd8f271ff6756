// The mouse cursor: the standard shapes from the server's cursor font, pictures through
// the render extension, shown over every window of the program.
#include "platform/win/styles.h"
#include "platform/x11/backend_impl.h"

#include <X11/cursorfont.h>

namespace vexlo::x11 {

namespace {

unsigned FontShapeFor(uint32_t id) {
    switch (id) {
        case win::IDC_IBEAM: return XC_xterm;
        case win::IDC_WAIT: return XC_watch;
        case win::IDC_CROSS: return XC_crosshair;
        case win::IDC_UPARROW: return XC_sb_up_arrow;
        case win::IDC_SIZENWSE: return XC_bottom_right_corner;
        case win::IDC_SIZENESW: return XC_bottom_left_corner;
        case win::IDC_SIZEWE: return XC_sb_h_double_arrow;
        case win::IDC_SIZENS: return XC_sb_v_double_arrow;
        case win::IDC_SIZEALL: return XC_fleur;
        case win::IDC_NO: return XC_circle;
        case win::IDC_HAND: return XC_hand2;
        case win::IDC_APPSTARTING: return XC_watch;
        case win::IDC_HELP: return XC_question_arrow;
        default: return XC_left_ptr;
    }
}

}  // namespace

::Cursor X11Backend::Impl::StandardCursor(uint32_t id) {
    auto it = standardCursors.find(id);
    if (it != standardCursors.end()) return it->second;
    const ::Cursor c = XCreateFontCursor(display, FontShapeFor(id));
    standardCursors[id] = c;
    return c;
}

::Cursor X11Backend::Impl::CursorFromImage(const gfx::Bitmap& image, gfx::Point hotspot) {
    if (!render || !argbPictFormat || image.empty()) return 0;
    const Pixmap pixmap =
        XCreatePixmap(display, root, static_cast<unsigned>(image.width()), static_cast<unsigned>(image.height()), 32);
    PutPixels(pixmap, GcForDepth(32, pixmap), 32, image);
    const Picture picture = XRenderCreatePicture(display, pixmap, argbPictFormat, 0, nullptr);
    const unsigned hx = static_cast<unsigned>(std::clamp(hotspot.x, 0, image.width() - 1));
    const unsigned hy = static_cast<unsigned>(std::clamp(hotspot.y, 0, image.height() - 1));
    const ::Cursor c = XRenderCreateCursor(display, picture, hx, hy);
    XRenderFreePicture(display, picture);
    XFreePixmap(display, pixmap);
    return c;
}

void X11Backend::Impl::FreeCursors() {
    for (auto& [id, c] : standardCursors) XFreeCursor(display, c);
    standardCursors.clear();
    if (imageCursor) XFreeCursor(display, imageCursor);
    imageCursor = 0;
    current = 0;
}

void X11Backend::SetCursorShape(const win::CursorImage& cursor) {
    Impl& s = *impl_;
    std::lock_guard lock(s.mutex);
    ::Cursor next = 0;
    ::Cursor previousImage = s.imageCursor;
    s.imageCursor = 0;
    if (cursor.standardId) {
        next = s.StandardCursor(cursor.standardId);
    } else if (cursor.image) {
        next = s.CursorFromImage(*cursor.image, cursor.hotspot);
        s.imageCursor = next;
    } else {
        // No cursor: an empty picture hides it, as SetCursor(null) does.
        gfx::Bitmap empty(1, 1);
        next = s.CursorFromImage(empty, {});
        s.imageCursor = next;
    }
    if (!next) next = s.StandardCursor(win::IDC_ARROW);
    s.current = next;
    for (auto& [handle, w] : s.windows) {
        if (w.xid) XDefineCursor(s.display, w.xid, next);
    }
    if (previousImage) XFreeCursor(s.display, previousImage);
    s.AfterRequests();
}

void X11Backend::WarpCursor(gfx::Point p) {
    std::lock_guard lock(impl_->mutex);
    XWarpPointer(impl_->display, None, impl_->root, 0, 0, 0, 0, p.x, p.y);
    impl_->AfterRequests();
}

}  // namespace vexlo::x11
