#pragma once
// duCursor: a named mouse cursor of the skin, made from a .cur or .ico file.
#include <string>

#include "platform/win/handles.h"
#include "ui/core/resource.h"

namespace vexlo::ui {

// Owns one cursor and destroys it when replaced or released.
class CursorHandle {
public:
    CursorHandle() = default;
    explicit CursorHandle(win::Cursor cursor) : cursor_(cursor) {}
    CursorHandle(CursorHandle&& other) noexcept : cursor_(std::exchange(other.cursor_, win::Cursor())) {}
    CursorHandle& operator=(CursorHandle&& other) noexcept;
    ~CursorHandle() { reset(); }
    void reset(win::Cursor cursor = win::Cursor());
    win::Cursor get() const { return cursor_; }

private:
    win::Cursor cursor_;
};

class duCursor : public duResBase {
public:
    const char16_t* GetTypeName() const override { return u"duCursor"; }
    int GetResType() const override { return kResCursor; }
    // Reads `value` and makes the cursor from that skin file.
    int CreateFromXml(const XmlElement& element) override;

    virtual const char16_t* GetValue() const { return value_.c_str(); }
    virtual void SetValue(const char16_t* value);
    virtual win::Cursor GetHCursor() const { return cursor_.get(); }
    // Takes the cursor and destroys the previous one.
    virtual void SetHCursor(win::Cursor cursor) { cursor_.reset(cursor); }
    virtual win::Cursor LoadFromFile(const std::string& utf8Path);
    // Nothing for missing bytes or a size that is not positive.
    virtual win::Cursor LoadFromMemory(const uint8_t* bytes, size_t size);

private:
    NameField value_;
    CursorHandle cursor_;
};

}  // namespace vexlo::ui
