#pragma once
// Small image files made in memory for decoder tests.
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

#include <string>
#include <vector>

namespace vexlo::image::testing {

// A baseline (or progressive) JPEG of a colour gradient, made with libjpeg.
inline std::string EncodeJpeg(int width, int height, int components, bool progressive = false) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &buffer, &size);
    c.image_width = width;
    c.image_height = height;
    c.input_components = components;
    c.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 95, TRUE);
    if (progressive) jpeg_simple_progression(&c);
    jpeg_start_compress(&c, TRUE);
    std::vector<unsigned char> row(static_cast<size_t>(width * components));
    while (c.next_scanline < c.image_height) {
        for (int x = 0; x < width; ++x)
            for (int k = 0; k < components; ++k) {
                // Flat colour with some noise, so that the scan data is most of the file.
                const int noise = static_cast<int>((x * 7919 + c.next_scanline * 104729 + k * 31) % 9) - 4;
                row[x * components + k] = static_cast<unsigned char>((k == 0 ? 200 : 60) + noise);
            }
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&c, &p, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::string out(reinterpret_cast<char*>(buffer), size);
    std::free(buffer);
    return out;
}

// Writes a BMP: 14-byte file header, a 40-byte (or larger) info header, optional masks
// or palette, then rows padded to four bytes.
struct BmpWriter {
    std::string bytes;
    void U16(uint32_t v) { bytes += char(v & 0xFF), bytes += char((v >> 8) & 0xFF); }
    void U32(uint32_t v) { U16(v & 0xFFFF), U16(v >> 16); }
    static std::string Make(int width, int height, int bpp, uint32_t compression, const std::string& extra,
                            const std::string& pixels, uint32_t headerSize = 40, uint32_t colorsUsed = 0) {
        BmpWriter w;
        w.bytes = "BM";
        w.U32(0);
        w.U32(0);
        w.U32(static_cast<uint32_t>(14 + headerSize + extra.size()));
        w.U32(headerSize);
        w.U32(static_cast<uint32_t>(width));
        w.U32(static_cast<uint32_t>(height));
        w.U16(1);
        w.U16(static_cast<uint32_t>(bpp));
        w.U32(compression);
        w.U32(0), w.U32(0), w.U32(0);
        w.U32(colorsUsed);
        w.U32(0);
        w.bytes.resize(14 + headerSize, '\0');
        return w.bytes + extra + pixels;
    }
};

inline std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += static_cast<char>(v);
    return s;
}

}  // namespace vexlo::image::testing
