#include "platform/image/image_decoder.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

#include <memory>
#include <vector>

namespace vexlo::image {

namespace {

// Everything the decoder changes after setjmp lives here, on the heap, so that its values
// are well defined after a longjmp back from libjpeg's error handler.
struct JpegState {
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    std::jmp_buf jump{};
    bool created = false;
    std::vector<uint8_t> rowBuffer;
    gfx::Bitmap bitmap;

    ~JpegState() {
        if (created) jpeg_destroy_decompress(&cinfo);
    }
};

[[noreturn]] void FailDecode(j_common_ptr cinfo) {
    auto* state = static_cast<JpegState*>(cinfo->client_data);
    std::longjmp(state->jump, 1);
}

// Warnings mean corrupt or truncated data (libjpeg would fill the rest with grey): refuse.
void OnMessage(j_common_ptr cinfo, int level) {
    if (level < 0) FailDecode(cinfo);
}

void StoreRow(JpegState& s, int y) {
    const jpeg_decompress_struct& c = s.cinfo;
    uint32_t* out = s.bitmap.row(y);
    const uint8_t* in = s.rowBuffer.data();
    const int width = static_cast<int>(c.output_width);
    if (c.out_color_space == JCS_CMYK) {
        // Adobe's files store CMYK inverted; the others plainly.
        const bool inverted = c.saw_Adobe_marker;
        for (int x = 0; x < width; ++x, in += 4) {
            unsigned cc = in[0], m = in[1], yy = in[2], k = in[3];
            if (!inverted) cc = 255 - cc, m = 255 - m, yy = 255 - yy, k = 255 - k;
            const uint32_t r = (cc * k + 127) / 255, g = (m * k + 127) / 255, b = (yy * k + 127) / 255;
            out[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
        return;
    }
    for (int x = 0; x < width; ++x, in += 4) {
        out[x] = 0xFF000000u | (uint32_t{in[2]} << 16) | (uint32_t{in[1]} << 8) | in[0];
    }
}

bool Decode(JpegState& s, std::string_view bytes, const DecodeLimits& limits) {
    jpeg_decompress_struct& c = s.cinfo;
    if (setjmp(s.jump)) return false;
    jpeg_create_decompress(&c);
    s.created = true;
    // libjpeg's own working memory (progressive files keep all coefficients) is capped too.
    c.mem->max_memory_to_use = static_cast<long>(limits.maxTotalBytes);
    jpeg_mem_src(&c, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    if (jpeg_read_header(&c, TRUE) != JPEG_HEADER_OK) return false;
    if (!limits.AllowsFrame(c.image_width, c.image_height)) return false;
    c.out_color_space = (c.jpeg_color_space == JCS_CMYK || c.jpeg_color_space == JCS_YCCK) ? JCS_CMYK : JCS_EXT_BGRA;
    if (!jpeg_start_decompress(&c)) return false;
    if (c.output_components != 4 || !limits.AllowsFrame(c.output_width, c.output_height)) return false;
    if (!s.bitmap.Reset(static_cast<int>(c.output_width), static_cast<int>(c.output_height))) return false;
    s.rowBuffer.resize(static_cast<size_t>(c.output_width) * 4);
    while (c.output_scanline < c.output_height) {
        JSAMPROW row = s.rowBuffer.data();
        const int y = static_cast<int>(c.output_scanline);
        if (jpeg_read_scanlines(&c, &row, 1) != 1) return false;
        StoreRow(s, y);
    }
    jpeg_finish_decompress(&c);
    return true;
}

}  // namespace

bool DecodeJpeg(std::string_view bytes, gfx::Bitmap& out, const DecodeLimits& limits) {
    out = gfx::Bitmap();
    if (bytes.size() < 4) return false;
    auto state = std::make_unique<JpegState>();
    state->cinfo.err = jpeg_std_error(&state->errors);
    state->errors.error_exit = FailDecode;
    state->errors.emit_message = OnMessage;
    state->cinfo.client_data = state.get();
    if (!Decode(*state, bytes, limits)) return false;
    out = std::move(state->bitmap);
    return true;
}

}  // namespace vexlo::image
