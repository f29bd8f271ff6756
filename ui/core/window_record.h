#pragma once
// The per-window record of an attached skin window, kept in the host window's property
// "SYSPLUGIN": the routing state (focus, hover, capture), the z-order list, the cached
// picture, the library-drawn caret, the timers, message hooks and control names.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/rect.h"
#include "platform/win/handles.h"
#include "platform/win/types.h"
#include "ui/core/plugin_registry.h"
#include "ui/core/zorder_list.h"

namespace vexlo::ui {

class duPlugin;
class duWindowManager;

// The window property that holds the record.
inline constexpr std::u16string_view kRecordProperty = u"SYSPLUGIN";

struct WindowRecord {
    WindowRecord();
    ~WindowRecord();
    WindowRecord(const WindowRecord&) = delete;
    WindowRecord& operator=(const WindowRecord&) = delete;

    win::Window tooltip;
    PluginRef focus;
    PluginRef hover;
    PluginRef capture;
    std::unique_ptr<duZorderList> zorder;
    duWindowManager* windowManager = nullptr;
    win::Window hostWindow;
    win::WindowProc previousProc = nullptr;
    std::unique_ptr<gfx::Bitmap> cachedImage;
    std::unique_ptr<gfx::Bitmap> caretImage;
    uint32_t caretTimerId;
    gfx::Point caretPos;
    bool caretShown = false;
    std::map<uint32_t, PluginRef> timers;
    std::vector<PluginRef> hooks;
    // Control names, compared exactly; the first control registered under a name keeps it.
    std::map<std::u16string, duPlugin*, std::less<>> names;
    bool moving = false;

    // Whether a control asked for the caret to show (ShowCaret not undone by HideCaret):
    // only then does a full paint start the blink again.
    bool caretWanted = false;
    // Set once the window's final destroy message took the record apart; the memory
    // lives on until the dispatch that saw it unwinds.
    bool destroyed = false;

    duPlugin* root() const { return zorder ? zorder->root() : nullptr; }

    // Caret services for text controls: the system caret on ordinary windows, one drawn by
    // the library on layered ones.
    void CreateCaret(int height);
    void DestroyCaret();
    void ShowCaret();
    void HideCaret();
    void SetCaretPos(int x, int y);
    // One blink step of the library-drawn caret.
    void BlinkCaret();
};

// The record of an attached host window, none when it has none (or it is being destroyed).
WindowRecord* GetWindowRecord(win::Window host);

// Enters the control's name; a name already registered is not entered again and
// "error: [%s] is repeated\n" goes to the debug output (unnamed controls all share the
// empty name). Returns whether the name was entered.
bool RegisterPluginName(WindowRecord& record, duPlugin& plugin);

// Takes the record apart on the window's final destroy message: cached images, tooltip,
// every control of the window, the property. The record's memory is freed once no
// library dispatch is running any more.
void DestroyWindowRecord(WindowRecord* record);

// Whether the host window has the layered extended style.
bool IsLayeredWindow(win::Window host);

}  // namespace vexlo::ui
