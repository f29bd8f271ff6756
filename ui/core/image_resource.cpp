#include "ui/core/image_resource.h"

#include <fstream>
#include <iterator>
#include <random>

#include "platform/gfx/draw_context.h"
#include "ui/core/attribute_values.h"
#include "ui/core/debug_print.h"
#include "ui/core/image_decoding.h"
#include "ui/core/res_manager.h"

namespace vexlo::ui {

void duImage::SetValue(const char16_t* value) {
    if (value) value_.Set(value);
    else value_.Clear();
}

void duImage::ReleasePicture() {
    picture_ = gfx::Bitmap();
    frames_.clear();
    delays_.clear();
    hsl_.clear();
}

void duImage::SetFrames(std::vector<gfx::Bitmap> frames, std::vector<int32_t> delaysMs) {
    ReleasePicture();
    if (frames.empty()) return;
    picture_ = frames.front();
    if (frames.size() > 1) {
        delaysMs.resize(frames.size(), 0);  // a short or missing delay list gives 0 for the rest
        frames_ = std::move(frames);
        delays_ = std::move(delaysMs);
    }
}

int duImage::CreateFromXml(const XmlElement& element) {
    ReadTextAttribute(element, u"value", value_);
    duResManager* manager = resManager();
    SkinFileSource* source = manager ? manager->GetOwner() : nullptr;
    if (!source) return 1;
    auto bytes = source->ReadPackageFile(value_.view());
    bool loaded = bytes && LoadFromMemory(bytes->data(), bytes->size());
    if (loaded) {
        uint64_t decoded = 0;
        for (int32_t i = 0; i < GetFrameCount(); ++i) {
            const gfx::Bitmap* f = GetFrameBitmap(i);
            decoded += uint64_t(f->width()) * uint64_t(f->height()) * 4;
        }
        if (!frames_.empty()) decoded += uint64_t(picture_.width()) * uint64_t(picture_.height()) * 4;
        if (!manager->ChargePictureBytes(decoded)) {
            ReleasePicture();
            loaded = false;
        }
    }
    if (!loaded) DebugPrint(u"failed to loading image[%s]\n", value_.view());
    return 1;
}

int duImage::CreateBlank(int32_t width, int32_t height) {
    gfx::Bitmap blank;
    if (!blank.Reset(width, height)) return 0;
    ReleasePicture();
    picture_ = std::move(blank);
    return 1;
}

int duImage::LoadFromFile(const std::string& utf8Path) {
    std::ifstream in(utf8Path, std::ios::binary);
    if (!in) return 0;
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return LoadFromMemory(bytes.data(), bytes.size());
}

int duImage::LoadFromMemory(const uint8_t* bytes, size_t size) {
    ReleasePicture();
    if (!bytes || size == 0) return 0;
    DecodedPicture decoded;
    if (!DecodePicture(std::span<const uint8_t>(bytes, size), decoded)) return 0;
    SetFrames(std::move(decoded.frames), std::move(decoded.delaysMs));
    return picture_.empty() ? 0 : 1;
}

int32_t duImage::GetFrameCount() const {
    if (!frames_.empty()) return static_cast<int32_t>(frames_.size());
    return picture_.empty() ? 0 : 1;
}

const gfx::Bitmap* duImage::GetFrameBitmap(int32_t index) const {
    if (index < 0 || index >= GetFrameCount()) return nullptr;
    return frames_.empty() ? &picture_ : &frames_[static_cast<size_t>(index)];
}

uint32_t* duImage::GetFrameBits(int32_t index) {
    if (index < 0 || index >= GetFrameCount()) return nullptr;
    return frames_.empty() ? picture_.data() : frames_[static_cast<size_t>(index)].data();
}

int32_t duImage::GetFrameDelay(int32_t index) const {
    if (index < 0 || static_cast<size_t>(index) >= delays_.size()) return 0;
    return delays_[static_cast<size_t>(index)];
}

namespace {

// Colours are kept premultiplied; the colour arithmetic works on the straight colour.
Rgb StraightColor(uint32_t p) {
    const unsigned a = gfx::AlphaOf(p);
    if (a == 0) return {};
    auto un = [a](unsigned c) { return static_cast<uint8_t>(std::min(255u, (c * 255 + a / 2) / a)); };
    return {un(gfx::RedOf(p)), un(gfx::GreenOf(p)), un(gfx::BlueOf(p))};
}

}  // namespace

int duImage::PrepareHSL() {
    if (picture_.empty()) return 0;
    if (!hsl_.empty()) return 1;
    const size_t n = static_cast<size_t>(picture_.width()) * static_cast<size_t>(picture_.height());
    hsl_.resize(n);
    const uint32_t* px = picture_.data();
    for (size_t i = 0; i < n; ++i) hsl_[i] = RgbToHsl(StraightColor(px[i]));
    return 1;
}

int duImage::AdjustHSL(int32_t hueShift, int32_t saturationShift, int32_t lightnessShift) {
    if (picture_.empty() || hsl_.empty()) return 0;
    uint32_t* px = picture_.data();
    const size_t n = hsl_.size();
    for (size_t i = 0; i < n; ++i) {
        const uint8_t a = gfx::AlphaOf(px[i]);
        Rgb c = HslToRgb(ShiftHsl(hsl_[i], hueShift, saturationShift, lightnessShift));
        // Premultiplying again keeps every colour byte within its alpha.
        px[i] = gfx::PremultipliedPixel(a, c.r, c.g, c.b);
    }
    return 1;
}

ObjectPtr<duImage> duImage::CreateGrayCopy() const {
    if (picture_.empty()) return nullptr;
    auto copy = MakeObject<duImage>();
    copy->SetResManager(resManager());
    static std::mt19937 random{std::random_device{}()};
    std::u16string name(100, u'a');
    std::uniform_int_distribution<int> letter(0, 25);
    for (char16_t& c : name) c = static_cast<char16_t>(u'a' + letter(random));
    copy->SetName(name.c_str());
    gfx::Bitmap grey = picture_;
    uint32_t* px = grey.data();
    const size_t n = static_cast<size_t>(grey.width()) * static_cast<size_t>(grey.height());
    for (size_t i = 0; i < n; ++i) {
        const uint32_t p = px[i];
        const uint32_t g = GreyOf(gfx::RedOf(p), gfx::GreenOf(p), gfx::BlueOf(p));
        px[i] = (p & 0xFF000000u) | (g << 16) | (g << 8) | g;
    }
    copy->picture_ = std::move(grey);
    return copy;
}

ObjectPtr<duImage> duImage::CreateScaledCopy(int32_t width, int32_t height) const {
    if (picture_.empty()) return nullptr;
    auto copy = MakeObject<duImage>();
    copy->SetResManager(resManager());
    gfx::Bitmap scaled = gfx::ScaledCopy(picture_, width, height, gfx::ScaleFilter::kSmooth);
    if (scaled.empty()) return nullptr;
    copy->picture_ = std::move(scaled);
    return copy;
}

int duImage::LoadFromIcon(const gfx::Bitmap* icon) {
    if (!icon || icon->empty()) return 0;
    ReleasePicture();
    picture_ = *icon;
    return 1;
}

}  // namespace vexlo::ui
