#pragma once
// duResManager: the named resources of a skin, one name table per kind (names compared
// exactly, kept in name order). Controls and styles look resources up by name whenever
// they paint, so a resource replaced at run time is used from the next paint on.
#include <cstdint>
#include <map>
#include <string>

#include "ui/core/resource.h"
#include "ui/core/style_base.h"

namespace vexlo::ui {

class duStyleGroup;

class duResManager : public duObject {
public:
    explicit duResManager(SkinFileSource* owner = nullptr) : owner_(owner) {}
    const char16_t* GetTypeName() const override { return u"duResManager"; }

    // Enters the resource under its name; a name already in its kind's table gives 0,
    // "AddResObj [%s] failed\n", and leaves the resource with the caller.
    virtual int AddResObj(ObjectPtr<duResBase>& resource);
    // Removes and destroys.
    virtual int DeleteResObj(const char16_t* name, int kind);
    virtual duResBase* GetResObj(const char16_t* name, int kind) const;
    // An empty, unregistered resource with its type information, manager and name; none
    // for a missing name or an unknown kind.
    virtual ObjectPtr<duResBase> CreateResObj(const char16_t* name, int kind);
    // An empty style of kind 1 image, 2 text, 3 rect, 4 line, with type information and manager.
    virtual ObjectPtr<duStyleBase> CreateStyle(int kind);
    virtual int32_t GetResObjCount(int kind) const;
    // In name order.
    virtual duResBase* GetResObjByIndex(int32_t index, int kind) const;
    virtual int ChangeResObjName(const char16_t* oldName, int kind, const char16_t* newName);
    // Takes the entry out of the table and hands the resource to the caller.
    virtual ObjectPtr<duResBase> RemoveResObj(const char16_t* name, int kind);
    virtual ObjectPtr<duStyleBase> CloneStyle(const duStyleBase* style);
    // A new, unregistered group of that name holding clones of every style of `group`.
    virtual ObjectPtr<duStyleGroup> CloneStyleGroup(const duStyleGroup* group, const char16_t* newName);

    // For each child element: its `name` (at most 127 characters, empty when absent),
    // CreateResObj, CreateFromXml, AddResObj; a duplicate is destroyed.
    void LoadSection(const XmlElement& section, int kind);

    // Pictures read from the skin share one budget of decoded bytes, so that a package of
    // many small files that decode to huge pictures cannot exhaust memory. False (and
    // nothing charged) when the bytes do not fit.
    static constexpr uint64_t kPictureBudget = uint64_t{512} << 20;
    bool ChargePictureBytes(uint64_t bytes);
    void SetPictureBudget(uint64_t bytes) { pictureBudget_ = bytes; }

    SkinFileSource* GetOwner() const { return owner_; }
    void SetOwner(SkinFileSource* owner) { owner_ = owner; }

    static ObjectPtr<duStyleBase> MakeStyle(int kind, duResManager* manager);

private:
    using Table = std::map<std::u16string, ObjectPtr<duResBase>, std::less<>>;
    Table* TableOf(int kind);
    const Table* TableOf(int kind) const;

    Table tables_[kResourceKindCount];
    SkinFileSource* owner_ = nullptr;
    uint64_t pictureBytes_ = 0;
    uint64_t pictureBudget_ = kPictureBudget;
};

}  // namespace vexlo::ui
