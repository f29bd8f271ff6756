#include "platform/gfx/region.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace vexlo::gfx {

namespace {

// Ellipses larger than this are treated as this size: corners of a region never need
// more rows, and a hostile size must not turn into millions of rectangles.
constexpr int kMaxEllipse = 32768;

pixman_box32_t ToBox(const Rect& r) { return {r.left, r.top, r.right, r.bottom}; }
Rect ToRect(const pixman_box32_t& b) { return {b.x1, b.y1, b.x2, b.y2}; }

int ScaleCoordinate(int value, float scale) {
    const double scaled = std::floor(static_cast<double>(value) * static_cast<double>(scale) + 0.5);
    constexpr double lo = std::numeric_limits<int32_t>::min() / 2;
    constexpr double hi = std::numeric_limits<int32_t>::max() / 2;
    if (!(scaled >= lo)) return static_cast<int>(lo);  // also catches NaN
    if (scaled > hi) return static_cast<int>(hi);
    return static_cast<int>(scaled);
}

}  // namespace

Region::Region() { pixman_region32_init(&region_); }

Region::Region(const Rect& rect) {
    if (rect.IsEmpty()) {
        pixman_region32_init(&region_);
    } else {
        pixman_region32_init_rect(&region_, rect.left, rect.top, static_cast<unsigned>(rect.width()),
                                  static_cast<unsigned>(rect.height()));
    }
}

Region::Region(const Region& other) {
    pixman_region32_init(&region_);
    pixman_region32_copy(&region_, &other.region_);
}

Region::Region(Region&& other) noexcept {
    pixman_region32_init(&region_);
    // pixman regions may point at static empty data; copying then clearing the source
    // is always valid, while stealing the struct is only valid for heap data.
    pixman_region32_copy(&region_, &other.region_);
    pixman_region32_clear(&other.region_);
}

Region& Region::operator=(const Region& other) {
    if (this != &other) pixman_region32_copy(&region_, &other.region_);
    return *this;
}

Region& Region::operator=(Region&& other) noexcept {
    if (this != &other) {
        pixman_region32_copy(&region_, &other.region_);
        pixman_region32_clear(&other.region_);
    }
    return *this;
}

Region::~Region() { pixman_region32_fini(&region_); }

Region Region::RoundRect(const Rect& rect, int ellipseWidth, int ellipseHeight) {
    // The shape excludes the last column and row of the rectangle.
    const Rect shape{rect.left, rect.top, rect.right - 1, rect.bottom - 1};
    if (shape.IsEmpty()) return Region();
    const int64_t width = int64_t{shape.right} - shape.left;
    const int64_t height = int64_t{shape.bottom} - shape.top;
    const int ew = static_cast<int>(std::clamp<int64_t>(std::abs(int64_t{ellipseWidth}), 0, std::min<int64_t>(width, kMaxEllipse)));
    const int eh = static_cast<int>(std::clamp<int64_t>(std::abs(int64_t{ellipseHeight}), 0, std::min<int64_t>(height, kMaxEllipse)));
    if (ew < 2 || eh < 2) return Region(shape);

    const double rx = ew / 2.0;
    const double ry = eh / 2.0;
    const int cornerRows = (eh + 1) / 2;
    std::vector<pixman_box32_t> boxes;
    boxes.reserve(static_cast<size_t>(cornerRows) * 2 + 1);
    // Inset of the span on row i of a corner band (i counted from the outer edge).
    auto insetForRow = [&](int i) {
        const double dy = ry - (i + 0.5);
        if (dy <= 0) return 0;
        const double dx = rx * std::sqrt(std::max(0.0, 1.0 - (dy * dy) / (ry * ry)));
        return static_cast<int>(std::lround(rx - dx));
    };
    auto addRow = [&](int y, int inset) {
        const int x1 = shape.left + inset;
        const int x2 = shape.right - inset;
        if (x2 <= x1) return;
        if (!boxes.empty() && boxes.back().x1 == x1 && boxes.back().x2 == x2 && boxes.back().y2 == y) {
            boxes.back().y2 = y + 1;  // same span as the row above: grow the band
        } else {
            boxes.push_back({x1, y, x2, y + 1});
        }
    };
    const int topRows = static_cast<int>(std::min<int64_t>(cornerRows, height / 2));
    const int bottomRows = static_cast<int>(std::min<int64_t>(cornerRows, height - topRows));
    for (int i = 0; i < topRows; ++i) addRow(shape.top + i, insetForRow(i));
    const int middleTop = shape.top + topRows;
    const int middleBottom = shape.bottom - bottomRows;
    if (middleBottom > middleTop) {
        if (!boxes.empty() && boxes.back().x1 == shape.left && boxes.back().x2 == shape.right &&
            boxes.back().y2 == middleTop) {
            boxes.back().y2 = middleBottom;
        } else {
            boxes.push_back({shape.left, middleTop, shape.right, middleBottom});
        }
    }
    for (int i = bottomRows - 1; i >= 0; --i) addRow(shape.bottom - 1 - i, insetForRow(i));

    Region region;
    pixman_region32_fini(&region.region_);
    pixman_region32_init_rects(&region.region_, boxes.data(), static_cast<int>(boxes.size()));
    return region;
}

Region Region::FromRects(std::span<const Rect> rects, float scaleX, float scaleY) {
    std::vector<pixman_box32_t> boxes;
    boxes.reserve(rects.size());
    for (const Rect& r : rects) {
        Rect scaled{ScaleCoordinate(r.left, scaleX), ScaleCoordinate(r.top, scaleY),
                    ScaleCoordinate(r.right, scaleX), ScaleCoordinate(r.bottom, scaleY)};
        // A negative scale mirrors; keep the rectangle well-ordered.
        if (scaled.left > scaled.right) std::swap(scaled.left, scaled.right);
        if (scaled.top > scaled.bottom) std::swap(scaled.top, scaled.bottom);
        if (!scaled.IsEmpty()) boxes.push_back(ToBox(scaled));
    }
    Region region;
    if (!boxes.empty()) {
        // init_rects accepts overlapping, unsorted boxes and computes their union.
        pixman_region32_fini(&region.region_);
        pixman_region32_init_rects(&region.region_, boxes.data(), static_cast<int>(boxes.size()));
    }
    return region;
}

Region Region::FromAlpha(const Bitmap& bitmap) {
    std::vector<pixman_box32_t> boxes;
    for (int y = 0; y < bitmap.height(); ++y) {
        const uint32_t* row = bitmap.row(y);
        for (int x = 0; x < bitmap.width();) {
            if (AlphaOf(row[x]) == 0) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < bitmap.width() && AlphaOf(row[x]) != 0) ++x;
            boxes.push_back({start, y, x, y + 1});
        }
    }
    Region region;
    if (!boxes.empty()) {
        pixman_region32_fini(&region.region_);
        pixman_region32_init_rects(&region.region_, boxes.data(), static_cast<int>(boxes.size()));
    }
    return region;
}

Region& Region::Union(const Region& other) {
    pixman_region32_union(&region_, &region_, &other.region_);
    return *this;
}

Region& Region::Union(const Rect& rect) {
    if (!rect.IsEmpty()) {
        pixman_region32_union_rect(&region_, &region_, rect.left, rect.top, static_cast<unsigned>(rect.width()),
                                   static_cast<unsigned>(rect.height()));
    }
    return *this;
}

Region& Region::Subtract(const Region& other) {
    pixman_region32_subtract(&region_, &region_, &other.region_);
    return *this;
}

Region& Region::Subtract(const Rect& rect) { return Subtract(Region(rect)); }

Region& Region::Intersect(const Region& other) {
    pixman_region32_intersect(&region_, &region_, &other.region_);
    return *this;
}

Region& Region::Intersect(const Rect& rect) {
    if (rect.IsEmpty()) {
        Clear();
    } else {
        pixman_region32_intersect_rect(&region_, &region_, rect.left, rect.top, static_cast<unsigned>(rect.width()),
                                       static_cast<unsigned>(rect.height()));
    }
    return *this;
}

Region& Region::Xor(const Region& other) {
    Region both(*this);
    both.Intersect(other);
    Union(other);
    return Subtract(both);
}

Region& Region::Offset(int dx, int dy) {
    pixman_region32_translate(&region_, dx, dy);
    return *this;
}

void Region::Clear() { pixman_region32_clear(&region_); }

bool Region::IsEmpty() const { return !pixman_region32_not_empty(&region_); }

bool Region::Contains(int x, int y) const {
    return pixman_region32_contains_point(&region_, x, y, nullptr) != 0;
}

bool Region::Intersects(const Rect& rect) const {
    if (rect.IsEmpty()) return false;
    pixman_box32_t box = ToBox(rect);
    return pixman_region32_contains_rectangle(&region_, &box) != PIXMAN_REGION_OUT;
}

Rect Region::Bounds() const {
    if (IsEmpty()) return {};
    return ToRect(*pixman_region32_extents(&region_));
}

std::vector<Rect> Region::Rects() const {
    int count = 0;
    const pixman_box32_t* boxes = pixman_region32_rectangles(&region_, &count);
    std::vector<Rect> out;
    out.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) out.push_back(ToRect(boxes[i]));
    return out;
}

int Region::RectCount() const { return pixman_region32_n_rects(&region_); }

bool Region::operator==(const Region& other) const {
    return pixman_region32_equal(&region_,
                                 &other.region_) != 0;
}

}  // namespace vexlo::gfx
