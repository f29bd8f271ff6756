#include "ui/core/region_resource.h"

#include <vector>

#include "ui/core/attribute_values.h"
#include "ui/core/image_resource.h"
#include "ui/core/image_style.h"
#include "ui/core/res_manager.h"
#include "ui/core/state.h"
#include "ui/core/style_group.h"

namespace vexlo::ui {

void duRgn::SetRgnType(const char16_t* type) {
    if (type) type_.Set(type);
    else type_.Clear();
}

void duRgn::SetRgnStyle(const char16_t* style) {
    if (style) style_.Set(style);
    else style_.Clear();
}

int duRgn::CreateFromXml(const XmlElement& e) {
    ReadTextAttribute(e, u"type", type_);
    roundX_ = ReadIntAttribute(e, u"roundx");
    roundY_ = ReadIntAttribute(e, u"roundy");
    ReadTextAttribute(e, u"style", style_);
    return 1;
}

gfx::Region RegionFromAlpha(const gfx::Bitmap& picture) {
    std::vector<gfx::Rect> runs;
    for (int y = 0; y < picture.height(); ++y) {
        const uint32_t* row = picture.row(y);
        int x = 0;
        while (x < picture.width()) {
            while (x < picture.width() && (row[x] >> 24) == 0) ++x;
            const int start = x;
            while (x < picture.width() && (row[x] >> 24) != 0) ++x;
            if (x > start) runs.push_back({start, y, x, y + 1});
        }
    }
    return gfx::Region::FromRects(runs);
}

int StretchEdge(int y, int first, int last, int baseSize, int targetSize) {
    if (y >= baseSize - last) return gfx::SaturateToInt(int64_t{y} + targetSize - baseSize);
    if (y > first && y < baseSize - last) {
        const float factor = static_cast<float>(targetSize - last - first) / static_cast<float>(baseSize - last - first);
        return gfx::SaturateToInt(static_cast<int64_t>(first + static_cast<double>(y - first) * factor));
    }
    return y;
}

std::optional<gfx::Region> duRgn::StyleRegion(int32_t w, int32_t h) {
    duResManager* manager = resManager();
    if (!manager) return std::nullopt;
    auto* group = dynamic_cast<duStyleGroup*>(manager->GetResObj(style_.c_str(), kResStyleGroup));
    if (!group) return std::nullopt;
    duImageStyle* imageStyle = nullptr;
    for (int32_t i = 0; i < group->GetStyleCount(); ++i) {
        duStyleBase* s = group->GetStyleAt(i);
        if (s->GetStyleType() == kStyleImage && (s->GetState() & kStateNormal)) {
            imageStyle = static_cast<duImageStyle*>(s);
            break;
        }
    }
    if (!imageStyle) return std::nullopt;
    duImage* image = imageStyle->FindImage();
    if (!image || !image->GetHBitmap()) return std::nullopt;
    const gfx::Bitmap& picture = *image->GetHBitmap();
    if (!base_ || baseWidth_ != picture.width() || baseHeight_ != picture.height()) {
        base_ = RegionFromAlpha(picture);
        baseWidth_ = picture.width();
        baseHeight_ = picture.height();
    }
    const std::u16string_view mode = imageStyle->GetPaintMode();
    if (EqualsNoCase(mode, u"normal")) return *base_;
    if (EqualsNoCase(mode, u"stretch")) {
        const std::vector<gfx::Rect> rects = base_->Rects();
        return gfx::Region::FromRects(rects, static_cast<float>(w) / static_cast<float>(baseWidth_),
                                      static_cast<float>(h) / static_cast<float>(baseHeight_));
    }
    const bool vert = EqualsNoCase(mode, u"stretchvert") || EqualsNoCase(mode, u"stretchpartall");
    const bool horz = EqualsNoCase(mode, u"stretchhorz") || EqualsNoCase(mode, u"stretchpartall");
    if (!vert && !horz) return std::nullopt;
    std::vector<gfx::Rect> rects = base_->Rects();
    for (gfx::Rect& r : rects) {
        if (vert) {
            const int t = imageStyle->GetTopPart(), b = imageStyle->GetBottomPart();
            r.top = StretchEdge(r.top, t, b, baseHeight_, h);
            r.bottom = StretchEdge(r.bottom, t, b, baseHeight_, h);
        }
        if (horz) {
            const int l = imageStyle->GetLeftPart(), rp = imageStyle->GetRightPart();
            r.left = StretchEdge(r.left, l, rp, baseWidth_, w);
            r.right = StretchEdge(r.right, l, rp, baseWidth_, w);
        }
    }
    return gfx::Region::FromRects(rects);
}

std::optional<gfx::Region> duRgn::GetRegion(int32_t w, int32_t h) {
    using gfx::SaturatingAdd;
    const std::u16string_view type = type_.view();
    if (EqualsNoCase(type, u"roundrect")) {
        return gfx::Region::RoundRect({0, 0, SaturatingAdd(w, 1), SaturatingAdd(h, 1)}, roundX_, roundY_);
    }
    if (EqualsNoCase(type, u"halfroundrect")) {
        const int right = SaturatingAdd(w, 1), bottom = SaturatingAdd(h, 1);
        gfx::Region r = gfx::Region::RoundRect({0, 0, right, bottom}, roundX_, roundY_);
        const int top = gfx::SaturateToInt(int64_t{bottom} - roundY_);
        r.Union(gfx::Rect{0, top, roundX_, bottom});
        r.Union(gfx::Rect{gfx::SaturateToInt(int64_t{right} - roundX_), top, right, bottom});
        return r;
    }
    if (EqualsNoCase(type, u"style")) return StyleRegion(w, h);
    return std::nullopt;
}

}  // namespace vexlo::ui
