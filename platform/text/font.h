#pragma once
// Fonts: a requested face, size and style resolved to installed face files, with
// GDI-like integer metrics and a cache of rendered glyphs.
//
// Rendering is fixed, whatever the user's font configuration says: light hinting, 8-bit
// grey antialiasing, no subpixel rendering, so that a given set of font files always
// gives the same pixels. Bold and italic that a family lacks are synthesised.
#include "platform/text/face_catalog.h"
#include "platform/text/font_request.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace vexlo::text {

struct FontMetrics {
    int height = 0;  // ascent + descent: the line height
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;  // height - character height
    int externalLeading = 0;
    int averageCharWidth = 0;
    int maxCharWidth = 0;
    int characterHeight = 0;  // the em size in pixels
    int underlinePosition = 0;  // pixels below the baseline of the underline's top
    int underlineThickness = 1;
    int strikeoutPosition = 0;  // pixels above the baseline of the strikeout's top
    int strikeoutThickness = 1;
    bool scalable = true;  // an outline (TrueType or vector) face
};

// A glyph's grey coverage, rows top-down, 0 = empty, 255 = covered. stride is a multiple
// of 4 so that the image can be handed to pixman as a8 without copying.
struct GlyphImage {
    std::vector<uint8_t> coverage;
    int width = 0;
    int height = 0;
    int stride = 0;
    int left = 0;  // from the pen position to the first column
    int top = 0;  // from the baseline up to the first row
};

struct Glyph {
    int advance = 0;
    std::shared_ptr<const GlyphImage> image;  // none for blank glyphs
};

class Font {
public:
    // Fonts are shared: equal requests give the same object while it is alive. Never none:
    // without any usable face file the font measures and draws nothing.
    static std::shared_ptr<const Font> Create(const FontRequest& request);
    // The system's default interface font: "宋体" (substituted) at a 12-pixel character height.
    static std::shared_ptr<const Font> DefaultGui();

    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const FontRequest& request() const { return request_; }
    const FontMetrics& metrics() const { return metrics_; }
    // The installed family drawn for the requested face (empty when none was usable).
    const WString& resolvedFamily() const { return resolvedFamily_; }

    // Control characters and zero-width marks have advance 0 and no image; a character
    // no face has gets the primary face's missing-glyph box.
    Glyph GetGlyph(char32_t ch) const;
    int Advance(char32_t ch) const { return GetGlyph(ch).advance; }

    struct Impl;

private:
    explicit Font(const FontRequest& request);
    FontRequest request_;
    FontMetrics metrics_;
    WString resolvedFamily_;
    std::unique_ptr<Impl> impl_;
};

using FontPtr = std::shared_ptr<const Font>;

// The code point at text[i], advancing i past it (surrogate pairs form one code point;
// an unpaired surrogate gives U+FFFD).
char32_t NextCodePoint(WStringView text, size_t& i);

}  // namespace vexlo::text
