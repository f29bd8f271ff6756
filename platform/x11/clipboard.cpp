// The clipboard as the CLIPBOARD selection: owning it for text the program copies,
// answering other programs' requests, and asking the owner for its text.
#include "platform/base/text.h"
#include "platform/x11/backend_impl.h"
#include "platform/x11/properties.h"

#include <X11/Xatom.h>

#include <poll.h>

#include <algorithm>

namespace vexlo::x11 {

using platform::Utf8ToWide;
using platform::WideToUtf8;
namespace {

// Another program's clipboard text is read up to this size; a larger one is refused.
constexpr size_t kMaxClipboardBytes = size_t{16} << 20;
// How long an owner may take to answer (and, for a long text, to send each part).
constexpr int kAnswerTimeoutMs = 2000;

}  // namespace

void X11Backend::Impl::ServeSelection(const XSelectionRequestEvent& r) {
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = r.requestor;
    reply.xselection.selection = r.selection;
    reply.xselection.target = r.target;
    reply.xselection.property = None;
    reply.xselection.time = r.time;
    // Old clients name no property: the target is used instead.
    const Atom property = r.property != None ? r.property : r.target;
    ErrorTrap trap(display);  // the requestor may be gone
    if (r.selection == atoms.CLIPBOARD && r.owner == helper && clipboardText) {
        const long limit = std::max<long>(XExtendedMaxRequestSize(display), XMaxRequestSize(display)) * 4 - 1024;
        const bool fits = static_cast<long>(clipboardText->size()) <= limit;
        if (r.target == atoms.TARGETS) {
            SetProperty32(display, r.requestor, property, XA_ATOM,
                          {atoms.TARGETS, atoms.TIMESTAMP, atoms.UTF8_STRING, atoms.textPlainUtf8, XA_STRING,
                           atoms.TEXT, atoms.textPlain});
            reply.xselection.property = property;
        } else if (r.target == atoms.TIMESTAMP) {
            SetProperty32(display, r.requestor, property, XA_INTEGER, {clipboardTime});
            reply.xselection.property = property;
        } else if (fits && (r.target == atoms.UTF8_STRING || r.target == atoms.textPlainUtf8 || r.target == atoms.TEXT)) {
            SetProperty8(display, r.requestor, property, r.target == atoms.TEXT ? atoms.UTF8_STRING : r.target,
                         *clipboardText);
            reply.xselection.property = property;
        } else if (fits && (r.target == XA_STRING || r.target == atoms.textPlain)) {
            SetProperty8(display, r.requestor, property, r.target, ToLatin1(Utf8ToWide(*clipboardText)));
            reply.xselection.property = property;
        }
    }
    XSendEvent(display, r.requestor, False, NoEventMask, &reply);
}

bool X11Backend::Impl::WaitForHelperEvent(int type, XEvent* out, int timeoutMs) {
    const int64_t deadline = Now() + timeoutMs;
    for (;;) {
        // Other events stay queued for the loop (AfterRequests rings it).
        if (XCheckTypedWindowEvent(display, helper, type, out)) {
            if (type != PropertyNotify ||
                (out->xproperty.atom == atoms.VEXLO_SELECTION && out->xproperty.state == PropertyNewValue)) {
                return true;
            }
            continue;
        }
        const int64_t left = deadline - Now();
        if (left <= 0) return false;
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left));
    }
}

std::optional<std::string> X11Backend::Impl::ReadSelection(Atom target, Atom* type) {
    XDeleteProperty(display, helper, atoms.VEXLO_SELECTION);
    XConvertSelection(display, atoms.CLIPBOARD, target, atoms.VEXLO_SELECTION, helper,
                      lastEventTime != CurrentTime ? lastEventTime : CurrentTime);
    XEvent e;
    if (!WaitForHelperEvent(SelectionNotify, &e, kAnswerTimeoutMs) || e.xselection.property == None) return std::nullopt;
    auto value = ReadProperty8(display, helper, atoms.VEXLO_SELECTION, AnyPropertyType,
                               static_cast<long>(kMaxClipboardBytes), type);
    if (!value) {
        Atom actual = None;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        XGetWindowProperty(display, helper, atoms.VEXLO_SELECTION, 0, 1, False, AnyPropertyType, &actual, &format,
                           &count, &after, &data);
        if (data) XFree(data);
        if (actual != atoms.INCR) return std::nullopt;
        *type = atoms.INCR;
    }
    if (*type != atoms.INCR) {
        XDeleteProperty(display, helper, atoms.VEXLO_SELECTION);
        return value;
    }
    // A long text comes in parts: each deletion asks for the next, an empty part ends it.
    // The notice of the INCR value itself is not a part.
    while (XCheckTypedWindowEvent(display, helper, PropertyNotify, &e)) {
    }
    std::string whole;
    XDeleteProperty(display, helper, atoms.VEXLO_SELECTION);
    for (;;) {
        if (!WaitForHelperEvent(PropertyNotify, &e, kAnswerTimeoutMs)) return std::nullopt;
        Atom partType = None;
        auto part = ReadProperty8(display, helper, atoms.VEXLO_SELECTION, AnyPropertyType,
                                  static_cast<long>(kMaxClipboardBytes), &partType);
        XDeleteProperty(display, helper, atoms.VEXLO_SELECTION);
        if (!part) return std::nullopt;
        if (part->empty()) break;
        if (whole.size() + part->size() > kMaxClipboardBytes) return std::nullopt;
        whole += *part;
        *type = partType;
    }
    return whole;
}

std::optional<std::u16string> X11Backend::GetClipboardText() {
    Impl& s = *impl_;
    std::lock_guard lock(s.mutex);
    std::optional<std::u16string> result;
    if (s.clipboardText) {
        result = Utf8ToWide(*s.clipboardText);
    } else if (XGetSelectionOwner(s.display, s.atoms.CLIPBOARD) != None) {
        for (Atom target : {s.atoms.UTF8_STRING, static_cast<Atom>(XA_STRING)}) {
            Atom type = None;
            auto bytes = s.ReadSelection(target, &type);
            if (!bytes) continue;
            while (!bytes->empty() && bytes->back() == '\0') bytes->pop_back();
            if (type == XA_STRING) {
                std::u16string text;
                for (unsigned char c : *bytes) text.push_back(c);
                result = std::move(text);
            } else {
                result = Utf8ToWide(*bytes);
            }
            break;
        }
    }
    s.AfterRequests();
    return result;
}

bool X11Backend::SetClipboardText(const std::u16string& text) {
    Impl& s = *impl_;
    std::lock_guard lock(s.mutex);
    s.clipboardText = WideToUtf8(text);
    s.clipboardTime = s.lastEventTime;
    XSetSelectionOwner(s.display, s.atoms.CLIPBOARD, s.helper, s.clipboardTime);
    if (XGetSelectionOwner(s.display, s.atoms.CLIPBOARD) != s.helper && s.clipboardTime != CurrentTime) {
        // A newer owner's time than the last event we saw: take it now.
        s.clipboardTime = CurrentTime;
        XSetSelectionOwner(s.display, s.atoms.CLIPBOARD, s.helper, CurrentTime);
    }
    const bool owned = XGetSelectionOwner(s.display, s.atoms.CLIPBOARD) == s.helper;
    if (!owned) s.clipboardText.reset();
    s.AfterRequests();
    return owned;
}

}  // namespace vexlo::x11
