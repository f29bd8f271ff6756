#pragma once
// Regions as sorted, non-overlapping rectangle lists (pixman's region32 underneath).
#include "platform/gfx/bitmap.h"
#include "platform/gfx/rect.h"

#include <pixman.h>

#include <span>
#include <vector>

namespace vexlo::gfx {

class Region {
public:
    Region();
    explicit Region(const Rect& rect);
    Region(const Region& other);
    Region(Region&& other) noexcept;
    Region& operator=(const Region& other);
    Region& operator=(Region&& other) noexcept;
    ~Region();

    // A rectangle with elliptic corners of the given ellipse width and height. As with
    // the Windows call, the shape covers left .. right-2 and top .. bottom-2: callers
    // that want a w by h shape pass (0, 0, w + 1, h + 1).
    static Region RoundRect(const Rect& rect, int ellipseWidth, int ellipseHeight);
    // The union of the rectangles, each corner scaled by (scaleX, scaleY) and rounded to
    // the nearest pixel (halves up); rectangles that become empty are dropped.
    static Region FromRects(std::span<const Rect> rects, float scaleX = 1.0f, float scaleY = 1.0f);

    // The pixels of a bitmap whose alpha is not 0 (a window shape cut from a picture).
    static Region FromAlpha(const Bitmap& bitmap);

    Region& Union(const Region& other);
    Region& Union(const Rect& rect);
    Region& Subtract(const Region& other);
    Region& Subtract(const Rect& rect);
    Region& Intersect(const Region& other);
    Region& Intersect(const Rect& rect);
    Region& Xor(const Region& other);
    Region& Offset(int dx, int dy);
    void Clear();

    bool IsEmpty() const;
    bool Contains(int x, int y) const;
    bool Contains(Point p) const { return Contains(p.x, p.y); }
    // True when any pixel of the rectangle lies in the region.
    bool Intersects(const Rect& rect) const;
    // Bounding box; all zero for an empty region.
    Rect Bounds() const;
    // The rectangles in y-x bands order, top to bottom, left to right.
    std::vector<Rect> Rects() const;
    int RectCount() const;

    bool operator==(const Region& other) const;

    pixman_region32_t* native() { return &region_; }
    const pixman_region32_t* native() const { return &region_; }

private:
    pixman_region32_t region_;
};

}  // namespace vexlo::gfx
