#pragma once
// duRgn: a named window shape: a rounded rectangle, one with only its top corners
// round, or the opaque pixels of a style group's picture fitted to the window's size.
#include <optional>

#include "platform/gfx/bitmap.h"
#include "platform/gfx/region.h"
#include "ui/core/resource.h"

namespace vexlo::ui {

class duRgn : public duResBase {
public:
    const char16_t* GetTypeName() const override { return u"duRgn"; }
    int GetResType() const override { return kResRegion; }
    int CreateFromXml(const XmlElement& element) override;

    virtual const char16_t* GetRgnType() const { return type_.c_str(); }
    virtual void SetRgnType(const char16_t* type);
    virtual int32_t GetRoundX() const { return roundX_; }
    virtual void SetRoundX(int32_t v) { roundX_ = v; }
    virtual int32_t GetRoundY() const { return roundY_; }
    virtual void SetRoundY(int32_t v) { roundY_ = v; }
    virtual const char16_t* GetRgnStyle() const { return style_.c_str(); }
    virtual void SetRgnStyle(const char16_t* style);
    // A new region for a window of width by height, owned by the caller; none for an
    // unknown type or a shape that cannot be made.
    virtual std::optional<gfx::Region> GetRegion(int32_t width, int32_t height);

private:
    std::optional<gfx::Region> StyleRegion(int32_t width, int32_t height);

    NameField type_;
    int32_t roundX_ = 0;
    int32_t roundY_ = 0;
    NameField style_;
    std::optional<gfx::Region> base_;
    int32_t baseWidth_ = 0;
    int32_t baseHeight_ = 0;
};

// The opaque part of a picture: its rectangle less every pixel of alpha 0.
gfx::Region RegionFromAlpha(const gfx::Bitmap& picture);

// Moves an edge coordinate for the three-part stretch of a base size to a target size
// with fixed bands `first` and `last`.
int StretchEdge(int y, int first, int last, int baseSize, int targetSize);

}  // namespace vexlo::ui
