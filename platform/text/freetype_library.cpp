#include "platform/text/freetype_library.h"

namespace vexlo::text {

namespace {

// Opening and closing faces touch the library's shared state and need this lock; work
// on an open face needs only the lock of its owner.
struct Library {
    std::mutex mutex;
    FT_Library library = nullptr;
    Library() {
        if (FT_Init_FreeType(&library) != 0) library = nullptr;
    }
};

Library& TheLibrary() {
    // Never destroyed: fonts held by static objects may close their faces at exit.
    static Library* library = new Library();
    return *library;
}

}  // namespace

void FaceCloser::operator()(FT_Face face) const {
    Library& lib = TheLibrary();
    std::lock_guard lock(lib.mutex);
    FT_Done_Face(face);
}

FacePtr OpenFace(const std::string& file, int index) {
    Library& lib = TheLibrary();
    std::lock_guard lock(lib.mutex);
    if (!lib.library) return nullptr;
    FT_Face face = nullptr;
    if (FT_New_Face(lib.library, file.c_str(), index, &face) != 0) return nullptr;
    return FacePtr(face);
}

}  // namespace vexlo::text
