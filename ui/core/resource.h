#pragma once
// duResBase: the common part of named skin resources (fonts, images, cursors, regions,
// style groups), and the source the resources read their skin files from.
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "ui/core/object.h"
#include "ui/core/wide_text.h"
#include "ui/core/xml_document.h"

namespace vexlo::ui {

class duResManager;

enum ResourceKind : int {
    kResImage = 1,
    kResFont = 2,
    kResCursor = 3,
    kResRegion = 4,
    kResStyleGroup = 5,
};
inline constexpr int kResourceKindCount = 5;

// Where resources find the files the skin names (the window manager that loaded it).
class SkinFileSource {
public:
    virtual std::optional<std::vector<uint8_t>> ReadPackageFile(std::u16string_view name) = 0;

protected:
    ~SkinFileSource() = default;
};

class duResBase : public duObject {
public:
    virtual const char16_t* GetName() const { return name_.c_str(); }
    // At most 127 characters; none clears. Renaming a registered resource goes through
    // duResManager::ChangeResObjName so the table follows.
    virtual void SetName(const char16_t* name);
    virtual int GetResType() const = 0;
    virtual int CreateFromXml(const XmlElement& element) = 0;

    duResManager* resManager() const { return resManager_; }
    void SetResManager(duResManager* manager) { resManager_ = manager; }

private:
    NameField name_;
    duResManager* resManager_ = nullptr;
};

}  // namespace vexlo::ui
