// Cursors and icons: standard cursors, cursors and icons from pictures, the current
// cursor, and the executable's icon resources.
#include "platform/win/cursor_file.h"
#include "platform/win/detail/system_state.h"
#include "platform/win/window_api.h"

#include <algorithm>

namespace vexlo::win {

using detail::Current;
using detail::ImageObject;
using detail::SetLastErrorCode;
using detail::SystemState;

namespace {

constexpr int kMaxImageSide = 256;

uintptr_t AllocateImage(SystemState& s, std::unique_ptr<ImageObject> object) {
    uint32_t slot = static_cast<uint32_t>(s.images.size());
    for (uint32_t i = 0; i < s.images.size(); ++i) {
        if (!s.images[i].data) {
            slot = i;
            break;
        }
    }
    if (slot == s.images.size()) s.images.emplace_back();
    const uint32_t generation = detail::NextGeneration();
    s.images[slot].generation = generation;
    s.images[slot].data = std::move(object);
    return Cursor::Make(slot, generation).value();
}

bool FreeImage(SystemState& s, uintptr_t value, bool wantIcon) {
    ImageObject* o = s.FindImage(value);
    if (!o || o->shared || o->isIcon != wantIcon) return false;
    s.images[Cursor::FromValue(value).slot()].data.reset();
    return true;
}

bool AcceptableImage(const gfx::Bitmap& image) {
    return !image.empty() && image.width() <= kMaxImageSide && image.height() <= kMaxImageSide;
}

Cursor StandardCursorLocked(SystemState& s, uint32_t id) {
    auto it = s.standardCursors.find(id);
    if (it != s.standardCursors.end()) return it->second;
    auto o = std::make_unique<ImageObject>();
    o->standardId = id;
    o->shared = true;
    const Cursor c = Cursor::FromValue(AllocateImage(s, std::move(o)));
    s.standardCursors[id] = c;
    return c;
}

bool IsStandardCursorId(uint32_t id) {
    switch (id) {
        case IDC_ARROW: case IDC_IBEAM: case IDC_WAIT: case IDC_CROSS: case IDC_UPARROW: case IDC_SIZENWSE:
        case IDC_SIZENESW: case IDC_SIZEWE: case IDC_SIZENS: case IDC_SIZEALL: case IDC_NO: case IDC_HAND:
        case IDC_APPSTARTING: case IDC_HELP:
            return true;
        default:
            return false;
    }
}

}  // namespace

void detail::SystemState::SetCursorLocked(Cursor cursor) {
    if (cursor == currentCursor) return;
    currentCursor = cursor;
    cursorHistory.push_back(cursor);
    CursorImage shape;
    if (const ImageObject* o = FindImage(cursor.value())) {
        shape.standardId = o->standardId;
        shape.image = o->image.empty() ? nullptr : &o->image;
        shape.hotspot = o->hotspot;
    }
    backend->SetCursorShape(shape);
}

Cursor LoadCursor(uintptr_t instance, uint32_t id) {
    SystemState* s = Current();
    if (!s) return Cursor{};
    std::lock_guard lock(s->mutex);
    if (instance != 0 || !IsStandardCursorId(id)) {
        SetLastErrorCode(1814);  // ERROR_RESOURCE_NAME_NOT_FOUND: no cursor resources here
        return Cursor{};
    }
    return StandardCursorLocked(*s, id);
}

Cursor CreateCursorFromBitmap(const gfx::Bitmap& image, gfx::Point hotspot) {
    SystemState* s = Current();
    if (!s || !AcceptableImage(image)) return Cursor{};
    std::lock_guard lock(s->mutex);
    auto o = std::make_unique<ImageObject>();
    o->image = image;
    o->hotspot = {std::clamp(hotspot.x, 0, image.width() - 1), std::clamp(hotspot.y, 0, image.height() - 1)};
    return Cursor::FromValue(AllocateImage(*s, std::move(o)));
}

Cursor CreateCursorFromFileData(std::string_view bytes) {
    gfx::Bitmap image;
    gfx::Point hotspot;
    if (!DecodeCursorFile(bytes, &image, &hotspot)) return Cursor{};
    return CreateCursorFromBitmap(image, hotspot);
}

bool DestroyCursor(Cursor cursor) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    return FreeImage(*s, cursor.value(), false);
}

Cursor SetCursor(Cursor cursor) {
    SystemState* s = Current();
    if (!s) return Cursor{};
    std::lock_guard lock(s->mutex);
    const Cursor old = s->currentCursor;
    if (cursor && !s->FindImage(cursor.value())) return old;
    s->SetCursorLocked(cursor);
    return old;
}

Cursor GetCursor() {
    SystemState* s = Current();
    if (!s) return Cursor{};
    std::lock_guard lock(s->mutex);
    return s->currentCursor;
}

uint32_t GetStandardCursorId(Cursor cursor) {
    SystemState* s = Current();
    if (!s) return 0;
    std::lock_guard lock(s->mutex);
    const ImageObject* o = s->FindImage(cursor.value());
    return o ? o->standardId : 0;
}

gfx::Bitmap GetCursorImage(Cursor cursor, gfx::Point* hotspot) {
    SystemState* s = Current();
    if (!s) return {};
    std::lock_guard lock(s->mutex);
    const ImageObject* o = s->FindImage(cursor.value());
    if (!o || o->isIcon) return {};
    if (hotspot) *hotspot = o->hotspot;
    return o->image;
}

Icon CreateIconFromBitmap(const gfx::Bitmap& image) {
    SystemState* s = Current();
    if (!s || !AcceptableImage(image)) return Icon{};
    std::lock_guard lock(s->mutex);
    auto o = std::make_unique<ImageObject>();
    o->image = image;
    o->isIcon = true;
    return Icon::FromValue(AllocateImage(*s, std::move(o)));
}

bool DestroyIcon(Icon icon) {
    SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    return FreeImage(*s, icon.value(), true);
}

gfx::Bitmap GetIconImage(Icon icon) {
    SystemState* s = Current();
    if (!s) return {};
    std::lock_guard lock(s->mutex);
    const ImageObject* o = s->FindImage(icon.value());
    return o && o->isIcon ? o->image : gfx::Bitmap{};
}

void RegisterIconResource(uint32_t id, const gfx::Bitmap& image) {
    SystemState* s = Current();
    if (!s || !AcceptableImage(image)) return;
    std::lock_guard lock(s->mutex);
    auto o = std::make_unique<ImageObject>();
    o->image = image;
    o->isIcon = true;
    o->shared = true;
    auto it = s->iconResources.find(id);
    if (it != s->iconResources.end()) {
        // Replacing a resource keeps handed-out handles valid: the picture changes in place.
        if (ImageObject* old = s->FindImage(it->second.value())) {
            old->image = image;
            return;
        }
    }
    s->iconResources[id] = Icon::FromValue(AllocateImage(*s, std::move(o)));
}

Icon LoadIcon(uintptr_t /*instance*/, uint32_t id) {
    SystemState* s = Current();
    if (!s) return Icon{};
    std::lock_guard lock(s->mutex);
    auto it = s->iconResources.find(id);
    if (it == s->iconResources.end()) {
        SetLastErrorCode(1814);
        return Icon{};
    }
    return it->second;
}

}  // namespace vexlo::win
