#include "platform/text/font.h"

#include "platform/text/freetype_library.h"

#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <mutex>
#include <tuple>
#include <unordered_map>

namespace vexlo::text {

namespace {

// Glyph images kept per font before the cache starts over; a text with thousands of
// distinct characters at a large size must not grow memory without bound.
constexpr size_t kMaxCachedGlyphBytes = size_t{16} * 1024 * 1024;

bool IsInvisible(char32_t ch) {
    return ch < 0x20 || ch == 0x7F || (ch >= 0x80 && ch < 0xA0) || ch == 0x200B || ch == 0x200C ||
           ch == 0x200D || ch == 0x2060 || ch == 0xFEFF;
}

int RoundToInt(double v) { return static_cast<int>(std::lround(v)); }

}  // namespace

char32_t NextCodePoint(WStringView text, size_t& i) {
    const char16_t c = text[i++];
    if (c >= 0xD800 && c <= 0xDBFF) {
        if (i < text.size() && text[i] >= 0xDC00 && text[i] <= 0xDFFF) {
            const char32_t low = text[i++];
            return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (low - 0xDC00);
        }
        return 0xFFFD;
    }
    if (c >= 0xDC00 && c <= 0xDFFF) return 0xFFFD;
    return c;
}

struct Font::Impl {
    struct Face {
        FaceMatch match;
        FacePtr face;
        bool opened = false;
    };

    std::shared_ptr<const FaceCatalog> catalog;  // keeps the matched entries alive
    int pixelSize = kDefaultCharacterHeight;
    std::vector<Face> faces;  // primary first, then fallbacks, opened on first use

    mutable std::mutex mutex;
    mutable std::unordered_map<char32_t, Glyph> glyphs;
    mutable size_t cachedBytes = 0;

    FT_Face OpenedFace(size_t i) {
        Face& f = faces[i];
        if (!f.opened) {
            f.opened = true;
            f.face = OpenFace(f.match.entry->file, f.match.entry->index);
            if (f.face) SetSize(f.face.get());
        }
        return f.face.get();
    }

    void SetSize(FT_Face face) const {
        if (FT_IS_SCALABLE(face)) {
            FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
        } else if (face->num_fixed_sizes > 0) {
            int best = 0;
            for (int s = 1; s < face->num_fixed_sizes; ++s) {
                if (std::abs(face->available_sizes[s].height - pixelSize) <
                    std::abs(face->available_sizes[best].height - pixelSize)) {
                    best = s;
                }
            }
            FT_Select_Size(face, best);
        }
    }

    Glyph Render(char32_t ch) {
        Glyph glyph;
        if (IsInvisible(ch)) return glyph;
        size_t faceIndex = 0;
        FT_UInt glyphIndex = 0;
        for (size_t i = 0; i < faces.size(); ++i) {
            FT_Face face = OpenedFace(i);
            if (!face) continue;
            glyphIndex = FT_Get_Char_Index(face, ch);
            if (glyphIndex != 0) {
                faceIndex = i;
                break;
            }
        }
        FT_Face face = faces.empty() ? nullptr : OpenedFace(faceIndex);
        if (!face) return glyph;
        const Face& f = faces[faceIndex];
        FT_Int32 flags = FT_LOAD_TARGET_LIGHT;
        if (FT_IS_SCALABLE(face)) flags |= FT_LOAD_NO_BITMAP;
        if (FT_Load_Glyph(face, glyphIndex, flags) != 0) return glyph;
        FT_GlyphSlot slot = face->glyph;
        int extraAdvance = 0;
        if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
            if (f.match.synthesizeItalic) FT_GlyphSlot_Oblique(slot);
            if (f.match.synthesizeBold) {
                // One pixel wider strokes and one pixel more advance, as simulated bold does.
                FT_Outline_EmboldenXY(&slot->outline, 64, 0);
                extraAdvance = 1;
            }
        }
        if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return glyph;
        glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6) + extraAdvance;
        const FT_Bitmap& bitmap = slot->bitmap;
        if (bitmap.width == 0 || bitmap.rows == 0 || !bitmap.buffer) return glyph;
        auto image = std::make_shared<GlyphImage>();
        image->width = static_cast<int>(bitmap.width);
        image->height = static_cast<int>(bitmap.rows);
        image->stride = (image->width + 3) & ~3;
        image->left = slot->bitmap_left;
        image->top = slot->bitmap_top;
        image->coverage.assign(static_cast<size_t>(image->stride) * image->height, 0);
        for (int y = 0; y < image->height; ++y) {
            const int srcRow = bitmap.pitch >= 0 ? y : image->height - 1 - y;
            const unsigned char* src = bitmap.buffer + static_cast<ptrdiff_t>(srcRow) * std::abs(bitmap.pitch);
            uint8_t* dst = image->coverage.data() + static_cast<size_t>(y) * image->stride;
            if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) {
                std::memcpy(dst, src, static_cast<size_t>(image->width));
            } else if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
                for (int x = 0; x < image->width; ++x) dst[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            } else {
                return glyph;  // colour bitmaps are not drawn
            }
        }
        glyph.image = std::move(image);
        return glyph;
    }
};

Font::Font(const FontRequest& request) : request_(request), impl_(std::make_unique<Impl>()) {
    impl_->catalog = InstalledFaces();
    const FaceCatalog& catalog = *impl_->catalog;
    const bool italic = request.italic;
    if (auto primary = catalog.Resolve(request.face, request.weight, italic, IsCjkCharSet(request.charSet))) {
        impl_->faces.push_back({*primary, nullptr, false});
        resolvedFamily_ = primary->family;
    }
    for (const FaceMatch& fallback : catalog.Fallbacks(request.weight, italic)) {
        const bool duplicate = std::any_of(impl_->faces.begin(), impl_->faces.end(), [&](const Impl::Face& f) {
            return f.match.entry == fallback.entry;
        });
        if (!duplicate) impl_->faces.push_back({fallback, nullptr, false});
    }

    // Size: the em size for negative heights, the cell height for positive ones.
    FT_Face face = impl_->faces.empty() ? nullptr : impl_->OpenedFace(0);
    double upem = 2048, winAscent = 1854, winDescent = 434, avgWidth = 0, lineGap = 0;
    double strikePos = 0, strikeSize = 0, underPos = -150, underSize = 100, maxAdvance = 2048;
    if (face && FT_IS_SCALABLE(face)) {
        upem = face->units_per_EM > 0 ? face->units_per_EM : 2048;
        winAscent = face->ascender;
        winDescent = -face->descender;
        lineGap = face->height - (face->ascender - face->descender);
        if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2)); os2 && os2->version != 0xFFFF) {
            if (os2->usWinAscent + os2->usWinDescent > 0) {
                winAscent = os2->usWinAscent;
                winDescent = os2->usWinDescent;
            }
            avgWidth = os2->xAvgCharWidth;
            strikePos = os2->yStrikeoutPosition;
            strikeSize = os2->yStrikeoutSize;
        }
        underPos = face->underline_position;
        underSize = face->underline_thickness;
        maxAdvance = face->max_advance_width;
    }
    const double cellUnits = std::max(1.0, winAscent + winDescent);
    int pixelSize = kDefaultCharacterHeight;
    if (request.height < 0) {
        pixelSize = request.height == std::numeric_limits<int>::min() ? kMaxCharacterHeight : -request.height;
    } else if (request.height > 0) {
        pixelSize = RoundToInt(static_cast<double>(request.height) * upem / cellUnits);
    }
    pixelSize = std::clamp(pixelSize, 1, kMaxCharacterHeight);
    impl_->pixelSize = pixelSize;
    if (face) impl_->SetSize(face);

    const double scale = pixelSize / upem;
    FontMetrics& m = metrics_;
    m.characterHeight = pixelSize;
    m.scalable = !face || FT_IS_SCALABLE(face);
    if (face && !FT_IS_SCALABLE(face)) {
        m.ascent = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
        m.descent = static_cast<int>((-face->size->metrics.descender + 63) >> 6);
    } else {
        m.ascent = RoundToInt(winAscent * scale);
        m.descent = RoundToInt(winDescent * scale);
    }
    if (request.height > 0 && request.height <= kMaxCharacterHeight * 2 && m.scalable) {
        m.descent = std::max(0, request.height - m.ascent);  // the cell is exactly the asked height
    }
    m.height = m.ascent + m.descent;
    m.internalLeading = std::max(0, m.height - pixelSize);
    m.externalLeading = std::max(0, RoundToInt(lineGap * scale));
    m.maxCharWidth = std::max(1, RoundToInt(maxAdvance * scale));
    m.underlineThickness = std::max(1, RoundToInt(underSize * scale));
    m.underlinePosition = std::max(1, RoundToInt(-underPos * scale - m.underlineThickness / 2.0));
    m.strikeoutThickness = std::max(1, RoundToInt(strikeSize * scale));
    m.strikeoutPosition = strikePos > 0 ? RoundToInt(strikePos * scale) : std::max(1, m.ascent / 3);
    const bool bold = request.weight >= 600;
    m.averageCharWidth = avgWidth > 0 ? RoundToInt(avgWidth * scale) : GetGlyph(U'x').advance;
    if (bold && !impl_->faces.empty() && impl_->faces.front().match.synthesizeBold) {
        m.averageCharWidth += 1;
        m.maxCharWidth += 1;
    }
}

Font::~Font() = default;

Glyph Font::GetGlyph(char32_t ch) const {
    std::lock_guard lock(impl_->mutex);
    if (auto it = impl_->glyphs.find(ch); it != impl_->glyphs.end()) return it->second;
    Glyph glyph = impl_->Render(ch);
    const size_t bytes = glyph.image ? glyph.image->coverage.size() + sizeof(GlyphImage) : 0;
    if (impl_->cachedBytes + bytes > kMaxCachedGlyphBytes) {
        impl_->glyphs.clear();  // images handed out stay valid: they are shared
        impl_->cachedBytes = 0;
    }
    impl_->cachedBytes += bytes + sizeof(Glyph);
    impl_->glyphs.emplace(ch, glyph);
    return glyph;
}

std::shared_ptr<const Font> Font::Create(const FontRequest& requested) {
    FontRequest request = requested;
    if (request.weight <= 0) request.weight = 400;
    request.weight = std::clamp(request.weight, 1, 1000);
    // Equal requests share one font (and its glyph cache) while it is alive.
    using Key = std::tuple<unsigned, WString, int, int, bool, bool, bool, bool>;
    static std::mutex mutex;
    static auto* cache = new std::map<Key, std::weak_ptr<const Font>>();
    const Key key{InstalledFacesGeneration(), request.face, request.height, request.weight,
                  request.italic, request.underline, request.strikeout, IsCjkCharSet(request.charSet)};
    std::lock_guard lock(mutex);
    if (auto it = cache->find(key); it != cache->end()) {
        if (auto font = it->second.lock()) return font;
    }
    for (auto it = cache->begin(); it != cache->end();) {
        it = it->second.expired() ? cache->erase(it) : std::next(it);
    }
    std::shared_ptr<const Font> font(new Font(request));
    (*cache)[key] = font;
    return font;
}

std::shared_ptr<const Font> Font::DefaultGui() {
    static std::mutex mutex;
    static auto* held = new std::pair<unsigned, std::shared_ptr<const Font>>();
    std::lock_guard lock(mutex);
    if (!held->second || held->first != InstalledFacesGeneration()) {
        held->first = InstalledFacesGeneration();
        held->second = Create(FontRequest{u"宋体", -kDefaultCharacterHeight, 400, false, false, false, kGb2312CharSet});
    }
    return held->second;
}

}  // namespace vexlo::text
