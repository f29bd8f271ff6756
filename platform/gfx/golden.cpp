#include "platform/gfx/golden.h"

#include "platform/image/png_codec.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace vexlo::gfx {

namespace {

namespace fs = std::filesystem;

std::string EnvOr(const char* name, const char* fallback) {
    const char* value = std::getenv(name);
    return (value && *value) ? value : fallback;
}

std::string SourceDir() { return EnvOr("VEXLO_SOURCE_DIR", VEXLO_GOLDEN_DEFAULT_SOURCE_DIR); }
std::string BuildDir() { return EnvOr("VEXLO_BUILD_DIR", VEXLO_GOLDEN_DEFAULT_BUILD_DIR); }

bool UpdateRequested() {
    const char* value = std::getenv("VEXLO_UPDATE_GOLDENS");
    return value && std::string_view(value) == "1";
}

std::string Hex(uint32_t p) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%08X", p);
    return buf;
}

int ChannelDifference(uint32_t a, uint32_t b) {
    int worst = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFF);
        const int cb = static_cast<int>((b >> shift) & 0xFF);
        worst = std::max(worst, std::abs(ca - cb));
    }
    return worst;
}

// Output file base for a golden: its path below tests/ (or its file name when absolute).
fs::path OutputBase(std::string_view goldenPath) {
    fs::path relative(goldenPath);
    if (relative.is_absolute()) relative = relative.filename();
    relative.replace_extension();
    return fs::path(BuildDir()) / "test-output" / "golden" / relative;
}

bool WriteOutput(const Bitmap& bitmap, const fs::path& path) {
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    return WritePngFile(bitmap, path.string());
}

}  // namespace

std::string GoldenFilePath(std::string_view goldenPath) {
    fs::path path(goldenPath);
    if (path.is_absolute()) return path.string();
    return (fs::path(SourceDir()) / "tests" / path).string();
}

GoldenResult CompareWithGolden(const Bitmap& actual, std::string_view goldenPath, int tolerance) {
    GoldenResult result;
    const std::string goldenFile = GoldenFilePath(goldenPath);
    if (UpdateRequested()) {
        std::error_code ec;
        fs::create_directories(fs::path(goldenFile).parent_path(), ec);
        result.matched = WritePngFile(actual, goldenFile);
        if (!result.matched) result.message = "could not write golden " + goldenFile;
        return result;
    }

    Bitmap expected;
    std::ostringstream message;
    const bool haveGolden = image::ReadPngFile(goldenFile, expected);
    Bitmap diff;
    if (!haveGolden) {
        message << "golden " << goldenFile << " is missing or unreadable (run with VEXLO_UPDATE_GOLDENS=1 to create it)";
    } else if (expected.width() != actual.width() || expected.height() != actual.height()) {
        message << "size differs from golden " << goldenFile << ": expected " << expected.width() << "x"
                << expected.height() << ", actual " << actual.width() << "x" << actual.height();
    } else {
        int64_t differing = 0;
        int worst = 0;
        int firstX = -1, firstY = -1;
        diff.Reset(actual.width(), actual.height());
        for (int y = 0; y < actual.height(); ++y) {
            for (int x = 0; x < actual.width(); ++x) {
                const uint32_t a = actual.row(y)[x];
                const uint32_t e = expected.row(y)[x];
                const int d = ChannelDifference(a, e);
                worst = std::max(worst, d);
                if (d > tolerance) {
                    if (differing++ == 0) firstX = x, firstY = y;
                    diff.row(y)[x] = 0xFFFF0000u;
                } else {
                    // Dimmed, opaque copy of the actual pixel, so the red marks stand out.
                    const uint32_t grey = (RedOf(a) * 306u + GreenOf(a) * 601u + BlueOf(a) * 117u) / 1024u / 3u + 40u;
                    diff.row(y)[x] = 0xFF000000u | (grey << 16) | (grey << 8) | grey;
                }
            }
        }
        if (differing == 0) {
            result.matched = true;
            return result;
        }
        message << differing << " pixel(s) differ from golden " << goldenFile << " by more than " << tolerance
                << " (largest channel difference " << worst << "); first at (" << firstX << ", " << firstY
                << "): expected " << Hex(expected.row(firstY)[firstX]) << ", actual "
                << Hex(actual.row(firstY)[firstX]);
    }

    const fs::path base = OutputBase(goldenPath);
    const fs::path actualFile = base.string() + ".actual.png";
    if (!actual.empty() && WriteOutput(actual, actualFile)) {
        result.actualPath = actualFile.string();
        message << "; actual image written to " << result.actualPath;
    }
    if (!diff.empty()) {
        const fs::path diffFile = base.string() + ".diff.png";
        if (WriteOutput(diff, diffFile)) {
            result.diffPath = diffFile.string();
            message << "; difference image written to " << result.diffPath;
        }
    }
    result.message = message.str();
    return result;
}

}  // namespace vexlo::gfx
