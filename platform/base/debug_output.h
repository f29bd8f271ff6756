#pragma once
// The debugger output channel. Messages go to the installed sink (tests read them) and,
// when VEXLO_DEBUG is set, to standard error as UTF-8 lines.
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace vexlo::platform {

void OutputDebugText(std::u16string_view text);
// Narrow text in the ANSI code page.
void OutputDebugTextAnsi(std::string_view text);

// Collects every debug message sent while it lives (one capture at a time; nested
// captures stack and the innermost receives). Thread-safe.
class DebugOutputCapture {
public:
    DebugOutputCapture();
    ~DebugOutputCapture();
    DebugOutputCapture(const DebugOutputCapture&) = delete;
    DebugOutputCapture& operator=(const DebugOutputCapture&) = delete;

    std::vector<std::u16string> Messages() const;
    void Clear();

private:
    friend void OutputDebugText(std::u16string_view text);
    void Add(std::u16string_view text);

    mutable std::mutex mutex_;
    std::vector<std::u16string> messages_;
    DebugOutputCapture* previous_;
};

}  // namespace vexlo::platform
