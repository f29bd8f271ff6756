#pragma once
// Builds small GIF files in memory with giflib, frame by frame.
#include <gif_lib.h>

#include <cstring>
#include <string>
#include <vector>

namespace vexlo::image::testing {

struct GifFrameInput {
    int left = 0, top = 0, width = 0, height = 0;
    std::vector<uint8_t> indices;  // width * height palette indices, row by row
    int delayHundredths = 0;
    int disposal = DISPOSAL_UNSPECIFIED;
    int transparentIndex = NO_TRANSPARENT_COLOR;
    bool interlaced = false;
};

// Palette: 0 black, 1 red, 2 green, 3 blue.
inline std::string BuildGif(int width, int height, const std::vector<GifFrameInput>& frames) {
    std::string out;
    auto write = [](GifFileType* gif, const GifByteType* data, int length) {
        static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
        return length;
    };
    int error = 0;
    GifFileType* gif = EGifOpen(&out, write, &error);
    const GifColorType colors[4] = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    ColorMapObject* map = GifMakeMapObject(4, colors);
    EGifSetGifVersion(gif, true);
    EGifPutScreenDesc(gif, width, height, 2, 0, map);
    for (const GifFrameInput& f : frames) {
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = f.disposal;
        gcb.DelayTime = f.delayHundredths;
        gcb.TransparentColor = f.transparentIndex;
        GifByteType ext[4];
        const size_t n = EGifGCBToExtension(&gcb, ext);
        EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(n), ext);
        EGifPutImageDesc(gif, f.left, f.top, f.width, f.height, f.interlaced, nullptr);
        // Interlaced frames are written in pass order.
        std::vector<int> rows;
        if (f.interlaced) {
            const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
            for (int p = 0; p < 4; ++p)
                for (int y = start[p]; y < f.height; y += step[p]) rows.push_back(y);
        } else {
            for (int y = 0; y < f.height; ++y) rows.push_back(y);
        }
        for (int y : rows) {
            std::vector<GifPixelType> line(f.indices.begin() + y * f.width, f.indices.begin() + (y + 1) * f.width);
            EGifPutLine(gif, line.data(), f.width);
        }
    }
    EGifCloseFile(gif, &error);
    GifFreeMapObject(map);
    return out;
}

inline GifFrameInput Solid(int left, int top, int w, int h, uint8_t index) {
    GifFrameInput f;
    f.left = left, f.top = top, f.width = w, f.height = h;
    f.indices.assign(static_cast<size_t>(w * h), index);
    return f;
}

}  // namespace vexlo::image::testing
