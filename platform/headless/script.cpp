#include "platform/headless/script.h"

#include "platform/base/text.h"
#include "platform/win/keys.h"

#include <cctype>
#include <charconv>
#include <sstream>

namespace vexlo::headless {
namespace {

using Type = win::InputEvent::Type;

bool ReadInt(const std::string& s, int64_t* out) {
    if (s.empty()) return false;
    const char* b = s.data();
    const char* e = s.data() + s.size();
    int base = 10;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        b += 2;
        base = 16;
    }
    auto r = std::from_chars(b, e, *out, base);
    return r.ec == std::errc() && r.ptr == e;
}

bool ReadButton(const std::string& s, win::MouseButton* out) {
    if (s.empty() || s == "left") *out = win::MouseButton::Left;
    else if (s == "right") *out = win::MouseButton::Right;
    else if (s == "middle") *out = win::MouseButton::Middle;
    else return false;
    return true;
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

uint32_t KeyFromName(std::string_view rawName) {
    const std::string name = Lower(std::string(rawName));
    struct Named {
        const char* name;
        uint32_t key;
    };
    static constexpr Named kNames[] = {
        {"enter", win::VK_RETURN}, {"return", win::VK_RETURN}, {"escape", win::VK_ESCAPE}, {"esc", win::VK_ESCAPE},
        {"tab", win::VK_TAB}, {"space", win::VK_SPACE}, {"backspace", win::VK_BACK}, {"delete", win::VK_DELETE},
        {"insert", win::VK_INSERT}, {"left", win::VK_LEFT}, {"right", win::VK_RIGHT}, {"up", win::VK_UP},
        {"down", win::VK_DOWN}, {"home", win::VK_HOME}, {"end", win::VK_END}, {"pageup", win::VK_PRIOR},
        {"pagedown", win::VK_NEXT}, {"shift", win::VK_SHIFT}, {"ctrl", win::VK_CONTROL}, {"control", win::VK_CONTROL},
        {"alt", win::VK_MENU},
    };
    for (const auto& n : kNames) {
        if (name == n.name) return n.key;
    }
    if (name.size() >= 2 && name[0] == 'f') {
        int64_t n = 0;
        if (ReadInt(name.substr(1), &n) && n >= 1 && n <= 12) return win::VK_F1 + static_cast<uint32_t>(n - 1);
    }
    if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
        return static_cast<uint32_t>(std::toupper(static_cast<unsigned char>(name[0])));
    }
    int64_t n = 0;
    if (ReadInt(name, &n) && n > 0 && n < 256) return static_cast<uint32_t>(n);
    return 0;
}

std::vector<ScheduledInput> ParseHeadlessScript(std::string_view script, std::vector<std::string>* errors) {
    std::vector<ScheduledInput> out;
    std::istringstream lines{std::string(script)};
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& why) {
        if (errors) errors->push_back("line " + std::to_string(number) + ": " + why);
    };
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        std::istringstream words(line);
        std::string at, time, verb;
        words >> at >> time >> verb;
        int64_t ms = 0;
        if (at != "at" || !ReadInt(time, &ms) || ms < 0 || verb.empty()) {
            fail("expected \"at <ms> <event> ...\"");
            continue;
        }
        verb = Lower(verb);
        std::vector<std::string> args;
        for (std::string w; words >> w;) args.push_back(w);
        ScheduledInput in;
        in.atMs = ms;
        auto point = [&](size_t i) -> bool {
            int64_t x = 0, y = 0;
            if (args.size() < i + 2 || !ReadInt(args[i], &x) || !ReadInt(args[i + 1], &y)) return false;
            in.event.point = {static_cast<int>(x), static_cast<int>(y)};
            return true;
        };
        auto push = [&](Type type) {
            in.event.type = type;
            out.push_back(in);
        };
        if (verb == "move") {
            if (!point(0)) { fail("move needs x y"); continue; }
            push(Type::MouseMove);
        } else if (verb == "click" || verb == "rclick" || verb == "mclick" || verb == "dblclick") {
            if (!point(0)) { fail(verb + " needs x y"); continue; }
            in.event.button = verb == "rclick" ? win::MouseButton::Right
                              : verb == "mclick" ? win::MouseButton::Middle : win::MouseButton::Left;
            if (verb == "click" && args.size() > 2 && !ReadButton(args[2], &in.event.button)) { fail("unknown button"); continue; }
            push(Type::MouseMove);
            const int times = verb == "dblclick" ? 2 : 1;
            for (int i = 0; i < times; ++i) {
                push(Type::ButtonDown);
                push(Type::ButtonUp);
            }
        } else if (verb == "down" || verb == "up") {
            if (!point(0) || (args.size() > 2 && !ReadButton(args[2], &in.event.button))) {
                fail(verb + " needs x y [left|right|middle]");
                continue;
            }
            push(Type::MouseMove);
            push(verb == "down" ? Type::ButtonDown : Type::ButtonUp);
        } else if (verb == "wheel") {
            int64_t delta = 0;
            if (!point(0) || args.size() < 3 || !ReadInt(args[2], &delta) || delta < -32768 || delta > 32767) {
                fail("wheel needs x y delta");
                continue;
            }
            in.event.wheelDelta = static_cast<int>(delta);
            push(Type::MouseMove);
            push(Type::Wheel);
        } else if (verb == "key" || verb == "keydown" || verb == "keyup") {
            const uint32_t key = args.empty() ? 0 : KeyFromName(args[0]);
            if (!key) { fail("unknown key"); continue; }
            in.event.virtualKey = key;
            if (verb != "keyup") push(Type::KeyDown);
            if (verb != "keydown") push(Type::KeyUp);
        } else if (verb == "text") {
            const size_t start = line.find("text") + 4;
            std::string text = line.substr(std::min(line.size(), start));
            if (!text.empty() && text.front() == ' ') text.erase(0, 1);
            for (char16_t c : platform::Utf8ToWide(text)) {
                uint32_t key = 0;
                bool shift = false;
                if (win::KeyForCharacter(c, &key, &shift)) {
                    if (shift) { in.event.virtualKey = win::VK_SHIFT; push(Type::KeyDown); }
                    in.event.virtualKey = key;
                    push(Type::KeyDown);
                    push(Type::KeyUp);
                    if (shift) { in.event.virtualKey = win::VK_SHIFT; push(Type::KeyUp); }
                } else {
                    in.event.character = c;
                    push(Type::Character);
                }
            }
        } else if (verb == "tray") {
            in.trayClick = true;
            if (args.empty() || !ReadButton(args[0], &in.event.button)) { fail("tray needs left or right"); continue; }
            int64_t id = 0;
            if (args.size() > 1 && !ReadInt(args[1], &id)) { fail("bad tray id"); continue; }
            in.event.trayId = static_cast<uint32_t>(id);
            in.event.type = Type::TrayMouse;
            out.push_back(in);
        } else if (verb == "deactivate") {
            push(Type::AppDeactivated);
        } else if (verb == "activate") {
            push(Type::AppActivated);
        } else {
            fail("unknown event \"" + verb + "\"");
        }
    }
    return out;
}

}  // namespace vexlo::headless
