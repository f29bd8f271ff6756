#include "platform/image/image_decoder.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace vexlo::image {

namespace {

struct MemoryReader {
    std::string_view bytes;
    size_t position = 0;
};

int ReadFromMemory(GifFileType* gif, GifByteType* buffer, int length) {
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    if (length <= 0) return 0;
    const size_t count = std::min(static_cast<size_t>(length), reader->bytes.size() - reader->position);
    std::memcpy(buffer, reader->bytes.data() + reader->position, count);
    reader->position += count;
    return static_cast<int>(count);
}

struct GifCloser {
    void operator()(GifFileType* gif) const {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};
using GifPtr = std::unique_ptr<GifFileType, GifCloser>;

// Rows of an interlaced frame arrive in four passes.
std::vector<int> RowOrder(int height, bool interlaced) {
    std::vector<int> order;
    order.reserve(static_cast<size_t>(height));
    if (!interlaced) {
        for (int y = 0; y < height; ++y) order.push_back(y);
        return order;
    }
    constexpr int kStart[] = {0, 4, 2, 1};
    constexpr int kStep[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kStart[pass]; y < height; y += kStep[pass]) order.push_back(y);
    return order;
}

struct FrameControl {
    int disposal = DISPOSAL_UNSPECIFIED;
    int delayHundredths = 0;
    int transparentIndex = NO_TRANSPARENT_COLOR;
};

bool SkipExtensionBlocks(GifFileType* gif) {
    GifByteType* block = nullptr;
    do {
        if (DGifGetExtensionNext(gif, &block) == GIF_ERROR) return false;
    } while (block != nullptr);
    return true;
}

}  // namespace

bool DecodeGif(std::string_view bytes, DecodedImage& out, const DecodeLimits& limits) {
    out.frames.clear();
    MemoryReader reader{bytes};
    int error = 0;
    GifPtr gif(DGifOpen(&reader, ReadFromMemory, &error));
    if (!gif) return false;

    int width = gif->SWidth;
    int height = gif->SHeight;
    gfx::Bitmap canvas;
    FrameControl control;
    std::vector<ImageFrame> frames;
    std::vector<GifPixelType> line;

    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) {
            // Data that ends cleanly after a complete frame lacks only its trailer.
            if (frames.empty()) return false;
            break;
        }
        if (type == TERMINATE_RECORD_TYPE) break;
        if (type == EXTENSION_RECORD_TYPE) {
            int code = 0;
            GifByteType* block = nullptr;
            if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) return false;
            if (code == GRAPHICS_EXT_FUNC_CODE && block && block[0] >= 4) {
                GraphicsControlBlock gcb{};
                if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK) {
                    control.disposal = gcb.DisposalMode;
                    control.delayHundredths = gcb.DelayTime;
                    control.transparentIndex = gcb.TransparentColor;
                }
            }
            if (block && !SkipExtensionBlocks(gif.get())) return false;
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE) return false;
        if (DGifGetImageDesc(gif.get()) == GIF_ERROR) return false;

        const GifImageDesc& desc = gif->Image;
        if (!limits.AllowsFrame(desc.Width, desc.Height)) return false;
        if (canvas.empty()) {
            // A logical screen of zero size takes the first frame's extent.
            if (width <= 0 || height <= 0) width = desc.Left + desc.Width, height = desc.Top + desc.Height;
            if (!limits.AllowsFrame(width, height) || !canvas.Reset(width, height)) return false;
        }
        if (!limits.AllowsFrames(width, height, static_cast<int64_t>(frames.size()) + 1)) return false;
        const ColorMapObject* colors = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
        if (!colors || !colors->Colors || colors->ColorCount <= 0) return false;

        line.resize(static_cast<size_t>(desc.Width));
        const gfx::Bitmap before = control.disposal == DISPOSE_PREVIOUS ? canvas : gfx::Bitmap();
        for (int row : RowOrder(desc.Height, desc.Interlace)) {
            if (DGifGetLine(gif.get(), line.data(), desc.Width) == GIF_ERROR) return false;
            const int y = desc.Top + row;
            if (y < 0 || y >= height) continue;
            uint32_t* target = canvas.row(y);
            for (int col = 0; col < desc.Width; ++col) {
                const int x = desc.Left + col;
                if (x < 0 || x >= width) continue;
                const int index = line[static_cast<size_t>(col)];
                if (index == control.transparentIndex) continue;
                if (index >= colors->ColorCount) {
                    target[x] = 0;  // outside the colour table: nothing to show
                    continue;
                }
                const GifColorType& c = colors->Colors[index];
                target[x] = 0xFF000000u | (uint32_t{c.Red} << 16) | (uint32_t{c.Green} << 8) | c.Blue;
            }
        }
        frames.push_back({canvas, 10 * control.delayHundredths});

        // What the next frame starts from.
        if (control.disposal == DISPOSE_BACKGROUND) {
            const int x0 = std::clamp(desc.Left, 0, width), x1 = std::clamp(desc.Left + desc.Width, 0, width);
            const int y0 = std::clamp(desc.Top, 0, height), y1 = std::clamp(desc.Top + desc.Height, 0, height);
            for (int y = y0; y < y1; ++y) std::fill(canvas.row(y) + x0, canvas.row(y) + x1, 0u);
        } else if (control.disposal == DISPOSE_PREVIOUS) {
            canvas = before;
        }
        control = FrameControl{};
    }
    if (frames.empty()) return false;
    out.frames = std::move(frames);
    return true;
}

}  // namespace vexlo::image
