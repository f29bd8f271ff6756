// The clipboard as the CLIPBOARD selection, both ways, with another program played by a
// thread of the test on a connection of its own.
#include "tests/x11/x11_fixture.h"

#include <X11/Xatom.h>

#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <future>
#include <thread>

namespace vexlo::x11::testing {
namespace {

using namespace vexlo::win;

// Another program that owns the clipboard and answers for UTF8_STRING, in parts (INCR)
// when asked to.
class ClipboardOwner {
public:
    ClipboardOwner(const std::string& display, std::string text, bool inParts)
        : text_(std::move(text)), inParts_(inParts) {
        if (pipe(stop_) != 0) return;
        std::promise<void> owned;
        auto ready = owned.get_future();
        thread_ = std::thread([this, display, owned = std::move(owned)]() mutable { Run(display, owned); });
        ready.wait();
    }
    ~ClipboardOwner() {
        (void)!write(stop_[1], "x", 1);
        if (thread_.joinable()) thread_.join();
        close(stop_[0]);
        close(stop_[1]);
    }
    int requests() const { return requests_.load(); }

private:
    void Run(const std::string& name, std::promise<void>& owned) {
        DisplayHandle handle = OpenDisplay(name);
        Display* d = handle.get();
        const ::Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
        const Atom clipboard = XInternAtom(d, "CLIPBOARD", False);
        const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
        const Atom incr = XInternAtom(d, "INCR", False);
        XSetSelectionOwner(d, clipboard, w, CurrentTime);
        XSync(d, False);
        owned.set_value();
        // An INCR transfer in progress: the requestor, its property and how far it got.
        ::Window requestor = 0;
        Atom property = None;
        size_t sent = 0;
        for (;;) {
            while (XPending(d)) {
                XEvent e;
                XNextEvent(d, &e);
                if (e.type == SelectionRequest) {
                    ++requests_;
                    const XSelectionRequestEvent& r = e.xselectionrequest;
                    XEvent reply{};
                    reply.xselection.type = SelectionNotify;
                    reply.xselection.requestor = r.requestor;
                    reply.xselection.selection = r.selection;
                    reply.xselection.target = r.target;
                    reply.xselection.time = r.time;
                    reply.xselection.property = None;
                    if (r.target == utf8) {
                        if (inParts_) {
                            const long size = static_cast<long>(text_.size());
                            XSelectInput(d, r.requestor, PropertyChangeMask);
                            XChangeProperty(d, r.requestor, r.property, incr, 32, PropModeReplace,
                                            reinterpret_cast<const unsigned char*>(&size), 1);
                            requestor = r.requestor;
                            property = r.property;
                            sent = 0;
                        } else {
                            XChangeProperty(d, r.requestor, r.property, utf8, 8, PropModeReplace,
                                            reinterpret_cast<const unsigned char*>(text_.data()),
                                            static_cast<int>(text_.size()));
                        }
                        reply.xselection.property = r.property;
                    }
                    XSendEvent(d, r.requestor, False, NoEventMask, &reply);
                } else if (e.type == PropertyNotify && e.xproperty.window == requestor &&
                           e.xproperty.atom == property && e.xproperty.state == PropertyDelete) {
                    // The last part was taken: the next one, or the empty end.
                    const size_t part = std::min<size_t>(65536, text_.size() - std::min(sent, text_.size()));
                    XChangeProperty(d, requestor, property, utf8, 8, PropModeReplace,
                                    reinterpret_cast<const unsigned char*>(text_.data() + sent), static_cast<int>(part));
                    if (part == 0) requestor = 0;
                    sent += part;
                }
            }
            XFlush(d);
            pollfd fds[2] = {{ConnectionNumber(d), POLLIN, 0}, {stop_[0], POLLIN, 0}};
            poll(fds, 2, -1);
            if (fds[1].revents) break;
        }
        XDestroyWindow(d, w);
        XSync(d, False);
    }

    std::string text_;
    bool inParts_;
    int stop_[2] = {-1, -1};
    std::atomic<int> requests_{0};
    std::thread thread_;
};

class ClipboardTest : public X11Test {
protected:
    void SetUp() override {
        X11Test::SetUp();
        if (IsSkipped()) return;
        StartSystem();
    }
    // What another program gets when it asks for the clipboard as `target`; the backend
    // answers from the loop, which runs meanwhile.
    std::optional<std::string> Request(const char* target, Atom* type = nullptr) {
        const ::Window w = XCreateSimpleWindow(probe(), probeRoot(), 0, 0, 1, 1, 0, 0, 0);
        const Atom property = Intern("PROBE_CLIP");
        XConvertSelection(probe(), Intern("CLIPBOARD"), Intern(target), property, w, CurrentTime);
        XSync(probe(), False);
        XEvent e{};
        const bool answered = PumpUntil([&] { return XCheckTypedWindowEvent(probe(), w, SelectionNotify, &e) == True; });
        std::optional<std::string> out;
        if (answered && e.xselection.property != None) {
            Atom actual = None;
            int format = 0;
            unsigned long count = 0, after = 0;
            unsigned char* data = nullptr;
            XGetWindowProperty(probe(), w, property, 0, 1 << 20, True, AnyPropertyType, &actual, &format, &count,
                               &after, &data);
            if (type) *type = actual;
            if (format == 8) out = std::string(reinterpret_cast<char*>(data), count);
            if (format == 32) out = std::string(reinterpret_cast<char*>(data), count * sizeof(long));
            if (data) XFree(data);
        }
        XDestroyWindow(probe(), w);
        return out;
    }
};

TEST_F(ClipboardTest, TextCopiedHereIsPastedElsewhere) {
    ASSERT_TRUE(SetClipboardText(u"Grüße, 你好"));
    Atom type = None;
    EXPECT_EQ(Request("UTF8_STRING", &type), "Grüße, 你好");
    EXPECT_EQ(type, Intern("UTF8_STRING"));
    // Programs that only know Latin-1 get what it can hold.
    EXPECT_EQ(Request("STRING", &type), "Gr\xFC\xDF" "e, ??");
    EXPECT_EQ(type, XA_STRING);
    const auto targets = Request("TARGETS", &type);
    ASSERT_TRUE(targets);
    EXPECT_EQ(type, XA_ATOM);
    const auto* atoms = reinterpret_cast<const long*>(targets->data());
    const std::vector<long> offered(atoms, atoms + targets->size() / sizeof(long));
    EXPECT_NE(std::find(offered.begin(), offered.end(), static_cast<long>(Intern("UTF8_STRING"))), offered.end());
    // A kind of data the clipboard does not hold is refused.
    EXPECT_FALSE(Request("image/png"));
    // The program reads its own text back without asking the server.
    EXPECT_EQ(GetClipboardText(), u"Grüße, 你好");
}

TEST_F(ClipboardTest, TextCopiedElsewhereIsPastedHere) {
    EXPECT_FALSE(GetClipboardText());
    EXPECT_FALSE(IsClipboardTextAvailable());
    ASSERT_TRUE(SetClipboardText(u"ours"));
    {
        ClipboardOwner other(displayName(), "Привет", false);
        // The backend learns that it lost the clipboard, then asks the new owner.
        EXPECT_TRUE(PumpUntil([&] { return GetClipboardText() == u"Привет"; }));
    }
    const std::string large(300000, 'q');
    ClipboardOwner incremental(displayName(), large + "!", true);
    const auto text = GetClipboardText();
    ASSERT_TRUE(text);
    EXPECT_EQ(text->size(), large.size() + 1);
    EXPECT_EQ(text->back(), u'!');
}

}  // namespace
}  // namespace vexlo::x11::testing
