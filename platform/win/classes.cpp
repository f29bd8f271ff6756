// Window classes.
#include "platform/win/detail/system_state.h"
#include "platform/win/window_api.h"

#include <algorithm>

namespace vexlo::win {

using detail::ClassEntry;
using detail::Current;
using detail::EqualsIgnoringCase;
using detail::SetLastErrorCode;

uint16_t RegisterClass(const WindowClass& windowClass) {
    detail::SystemState* s = Current();
    if (!s) return 0;
    std::lock_guard lock(s->mutex);
    if (!windowClass.proc || windowClass.name.empty() || windowClass.classExtra < 0 || windowClass.windowExtra < 0 ||
        windowClass.classExtra > 40 * 1024 || windowClass.windowExtra > 40 * 1024) {
        SetLastErrorCode(ERROR_INVALID_PARAMETER);
        return 0;
    }
    for (const auto& c : s->classes) {
        if (!c->system && c->info.instance == windowClass.instance && EqualsIgnoringCase(c->info.name, windowClass.name)) {
            SetLastErrorCode(ERROR_CLASS_ALREADY_EXISTS);
            return 0;
        }
    }
    auto entry = std::make_shared<ClassEntry>();
    entry->info = windowClass;
    entry->atom = s->nextAtom++;
    entry->classExtra.assign(static_cast<size_t>(windowClass.classExtra + 7) / 8, 0);
    s->classes.push_back(entry);
    return entry->atom;
}

bool UnregisterClass(std::u16string_view name, uintptr_t instance) {
    detail::SystemState* s = Current();
    if (!s) return false;
    std::lock_guard lock(s->mutex);
    auto it = std::find_if(s->classes.begin(), s->classes.end(), [&](const std::shared_ptr<ClassEntry>& c) {
        return !c->system && c->info.instance == instance && EqualsIgnoringCase(c->info.name, name);
    });
    if (it == s->classes.end()) {
        SetLastErrorCode(ERROR_CLASS_DOES_NOT_EXIST);
        return false;
    }
    if ((*it)->windowCount > 0) {
        SetLastErrorCode(ERROR_CLASS_HAS_WINDOWS);
        return false;
    }
    s->classes.erase(it);
    return true;
}

bool GetClassInfo(uintptr_t instance, std::u16string_view name, WindowClass* out) {
    detail::SystemState* s = Current();
    if (!s || !out) return false;
    std::lock_guard lock(s->mutex);
    for (const auto& c : s->classes) {
        const bool matchesInstance = c->system ? instance == 0 : c->info.instance == instance;
        if (matchesInstance && EqualsIgnoringCase(c->info.name, name)) {
            *out = c->info;
            return true;
        }
    }
    SetLastErrorCode(ERROR_CLASS_DOES_NOT_EXIST);
    return false;
}

namespace {

// Reads or writes one class field; returns the previous value.
uintptr_t AccessClass(Window window, int index, const uintptr_t* newValue) {
    detail::SystemState* s = Current();
    if (!s) return 0;
    std::lock_guard lock(s->mutex);
    detail::WindowData* d = s->Find(window);
    if (!d) {
        SetLastErrorCode(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    WindowClass& c = d->cls->info;
    uintptr_t old = 0;
    switch (index) {
        case GCL_STYLE:
            old = c.style;
            if (newValue) c.style = static_cast<uint32_t>(*newValue);
            return old;
        case GCLP_WNDPROC:
            old = reinterpret_cast<uintptr_t>(c.proc);
            if (newValue && *newValue) c.proc = reinterpret_cast<WindowProc>(*newValue);
            return old;
        case GCLP_HCURSOR:
            old = c.cursor.value();
            if (newValue) c.cursor = Cursor::FromValue(*newValue);
            return old;
        case GCLP_HICON:
            old = c.icon.value();
            if (newValue) c.icon = Icon::FromValue(*newValue);
            return old;
        case GCLP_HICONSM:
            old = c.smallIcon.value();
            if (newValue) c.smallIcon = Icon::FromValue(*newValue);
            return old;
        case GCLP_HMODULE:
            old = c.instance;
            if (newValue) c.instance = *newValue;
            return old;
        case GCL_CBWNDEXTRA:
            return static_cast<uintptr_t>(c.windowExtra);
        case GCL_CBCLSEXTRA:
            return static_cast<uintptr_t>(c.classExtra);
        default:
            break;
    }
    if (index >= 0 && index % 8 == 0 && static_cast<size_t>(index / 8) < d->cls->classExtra.size()) {
        intptr_t& slot = d->cls->classExtra[static_cast<size_t>(index / 8)];
        old = static_cast<uintptr_t>(slot);
        if (newValue) slot = static_cast<intptr_t>(*newValue);
        return old;
    }
    SetLastErrorCode(ERROR_INVALID_INDEX);
    return 0;
}

}  // namespace

uintptr_t GetClassLongPtr(Window window, int index) { return AccessClass(window, index, nullptr); }

uintptr_t SetClassLongPtr(Window window, int index, uintptr_t value) { return AccessClass(window, index, &value); }

std::u16string GetClassName(Window window) {
    detail::SystemState* s = Current();
    if (!s) return {};
    std::lock_guard lock(s->mutex);
    const detail::WindowData* d = s->Find(window);
    return d ? d->cls->info.name : std::u16string{};
}

}  // namespace vexlo::win
