#include "ui/core/cursor_resource.h"

#include <fstream>
#include <iterator>
#include <string_view>
#include <vector>

#include "platform/win/window_api.h"
#include "ui/core/attribute_values.h"
#include "ui/core/res_manager.h"

namespace vexlo::ui {

CursorHandle& CursorHandle::operator=(CursorHandle&& other) noexcept {
    if (this != &other) reset(std::exchange(other.cursor_, win::Cursor()));
    return *this;
}

void CursorHandle::reset(win::Cursor cursor) {
    if (cursor_ && cursor_ != cursor) win::DestroyCursor(cursor_);
    cursor_ = cursor;
}

void duCursor::SetValue(const char16_t* value) {
    if (value) value_.Set(value);
    else value_.Clear();
}

int duCursor::CreateFromXml(const XmlElement& e) {
    ReadTextAttribute(e, u"value", value_);
    duResManager* manager = resManager();
    SkinFileSource* source = manager ? manager->GetOwner() : nullptr;
    if (!source) return 1;
    if (auto bytes = source->ReadPackageFile(value_.view())) LoadFromMemory(bytes->data(), bytes->size());
    return 1;
}

namespace {
win::Cursor CursorFromBytes(std::string_view bytes) { return win::CreateCursorFromFileData(bytes); }
}  // namespace

win::Cursor duCursor::LoadFromMemory(const uint8_t* bytes, size_t size) {
    if (!bytes || size == 0) return win::Cursor();
    cursor_.reset();
    // The cursor is made from the bytes directly; no temporary file is needed.
    cursor_.reset(CursorFromBytes(std::string_view(reinterpret_cast<const char*>(bytes), size)));
    return cursor_.get();
}

win::Cursor duCursor::LoadFromFile(const std::string& utf8Path) {
    cursor_.reset();
    std::ifstream in(utf8Path, std::ios::binary);
    if (!in) return win::Cursor();
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    cursor_.reset(CursorFromBytes(std::string_view(bytes.data(), bytes.size())));
    return cursor_.get();
}

}  // namespace vexlo::ui
