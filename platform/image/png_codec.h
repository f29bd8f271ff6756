#pragma once
// PNG reading and writing for gfx::Bitmap. Files hold straight alpha; bitmaps hold
// premultiplied alpha, so a premultiplied bitmap survives a write and a read exactly.
#include "platform/gfx/bitmap.h"
#include "platform/image/decode_limits.h"

#include <string>
#include <string_view>

namespace vexlo::image {

bool EncodePng(const gfx::Bitmap& bitmap, std::string& out);
bool WritePngFile(const gfx::Bitmap& bitmap, const std::string& utf8Path);
// Any PNG colour type and depth; false (and an empty bitmap) for corrupt, truncated or
// over-limit data.
bool DecodePng(std::string_view bytes, gfx::Bitmap& out, const DecodeLimits& limits = kDefaultDecodeLimits);
bool ReadPngFile(const std::string& utf8Path, gfx::Bitmap& out, const DecodeLimits& limits = kDefaultDecodeLimits);
bool IsPngSignature(std::string_view bytes);

}  // namespace vexlo::image

namespace vexlo::gfx {
// The window system and the tests use these under the drawing namespace as well.
using image::DecodePng;
using image::EncodePng;
using image::WritePngFile;
}  // namespace vexlo::gfx
