#pragma once
// The process's one FreeType library and the ownership of faces opened from it.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <memory>
#include <mutex>
#include <string>

namespace vexlo::text {

struct FaceCloser {
    void operator()(FT_Face face) const;
};
using FacePtr = std::unique_ptr<FT_FaceRec_, FaceCloser>;

// Opens one face of a font file; empty when the file cannot be read as a font.
FacePtr OpenFace(const std::string& file, int index);

}  // namespace vexlo::text
