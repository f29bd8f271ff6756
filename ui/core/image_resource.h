#pragma once
// duImage: a named picture of the skin (premultiplied 32-bit, top-down), its frames and
// delays when animated, and the recolouring and copies controls make of it.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/bitmap.h"
#include "ui/core/hsl.h"
#include "ui/core/resource.h"

namespace vexlo::ui {

class duImage : public duResBase {
public:
    const char16_t* GetTypeName() const override { return u"duImage"; }
    int GetResType() const override { return kResImage; }
    // Reads `value` and decodes that skin file; a failed decode writes
    // "failed to loading image[%s]\n". The resource exists in every case.
    int CreateFromXml(const XmlElement& element) override;

    // A new transparent picture; 0 for a size that is not positive (or too large).
    virtual int CreateBlank(int32_t width, int32_t height);
    virtual int LoadFromFile(const std::string& utf8Path);
    virtual int LoadFromMemory(const uint8_t* bytes, size_t size);
    virtual uint32_t* GetBits() { return picture_.empty() ? nullptr : picture_.data(); }
    virtual const gfx::Bitmap* GetHBitmap() const { return picture_.empty() ? nullptr : &picture_; }
    virtual int32_t GetWidth() const { return picture_.width(); }
    virtual int32_t GetHeight() const { return picture_.height(); }
    // 1 for a still picture, 0 without one.
    virtual int32_t GetFrameCount() const;
    // None (0 for delays) outside 0 .. count - 1.
    virtual const gfx::Bitmap* GetFrameBitmap(int32_t index) const;
    virtual uint32_t* GetFrameBits(int32_t index);
    virtual int32_t GetFrameDelay(int32_t index) const;
    virtual int PrepareHSL();
    virtual int AdjustHSL(int32_t hueShift, int32_t saturationShift, int32_t lightnessShift);
    virtual const char16_t* GetValue() const { return value_.c_str(); }
    virtual void SetValue(const char16_t* value);
    // New unregistered images of this manager: the grey picture under a random name of 100
    // characters, and the picture smoothly drawn at another size.
    virtual ObjectPtr<duImage> CreateGrayCopy() const;
    virtual ObjectPtr<duImage> CreateScaledCopy(int32_t width, int32_t height) const;
    // The colour image of an icon (an icon is a picture here).
    virtual int LoadFromIcon(const gfx::Bitmap* icon);

    // Takes decoded frames as the new picture (the first frame is the current one).
    void SetFrames(std::vector<gfx::Bitmap> frames, std::vector<int32_t> delaysMs);
    const gfx::Bitmap& picture() const { return picture_; }

private:
    void ReleasePicture();

    gfx::Bitmap picture_;
    NameField value_;
    std::vector<gfx::Bitmap> frames_;  // only for pictures with several frames
    std::vector<int32_t> delays_;
    std::vector<Hsl> hsl_;             // built by PrepareHSL, released with the picture
};

// The grey of a colour: (r * 306 + g * 601 + b * 117) / 1024.
constexpr uint8_t GreyOf(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<uint8_t>((r * 306 + g * 601 + b * 117) / 1024);
}

}  // namespace vexlo::ui
