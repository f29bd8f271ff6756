#include "platform/base/debug_output.h"

#include <cstdio>
#include <cstdlib>

#include "platform/base/text.h"

namespace vexlo::platform {
namespace {

std::mutex& SinkMutex() {
    static std::mutex m;
    return m;
}

DebugOutputCapture*& CurrentCapture() {
    static DebugOutputCapture* current = nullptr;
    return current;
}

}  // namespace

void OutputDebugText(std::u16string_view text) {
    {
        std::lock_guard<std::mutex> lock(SinkMutex());
        if (DebugOutputCapture* capture = CurrentCapture()) capture->Add(text);
    }
    if (std::getenv("VEXLO_DEBUG")) {
        std::string line = WideToUtf8(text);
        std::fprintf(stderr, "%s%s", line.c_str(), (!line.empty() && line.back() == '\n') ? "" : "\n");
    }
}

void OutputDebugTextAnsi(std::string_view text) { OutputDebugText(AnsiToWide(text)); }

DebugOutputCapture::DebugOutputCapture() {
    std::lock_guard<std::mutex> lock(SinkMutex());
    previous_ = CurrentCapture();
    CurrentCapture() = this;
}

DebugOutputCapture::~DebugOutputCapture() {
    std::lock_guard<std::mutex> lock(SinkMutex());
    CurrentCapture() = previous_;
}

std::vector<std::u16string> DebugOutputCapture::Messages() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
}

void DebugOutputCapture::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.clear();
}

void DebugOutputCapture::Add(std::u16string_view text) {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.emplace_back(text);
}

}  // namespace vexlo::platform
