#pragma once
// duWindowManager: owns a loaded skin (the package or folder it came from, the parsed
// description, the resources and the script host) and answers for the skin's files.
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ui/core/object.h"
#include "ui/core/resource.h"
#include "ui/core/res_manager.h"
#include "ui/core/script_host.h"
#include "ui/core/skin_archive.h"
#include "ui/core/wide_text.h"
#include "ui/core/xml_document.h"

namespace vexlo::ui {

// The skin path of a package held in memory.
inline constexpr std::u16string_view kMemorySkinPath = u"Memory\\";
// The text appended to a skin script before it starts.
inline constexpr std::u16string_view kScriptEpilogue = u"\r\nCollectGarbage();\r\n";

class duWindowManager : public duObject, public SkinFileSource {
public:
    duWindowManager();
    ~duWindowManager() override;
    const char16_t* GetTypeName() const override { return u"duWindowManager"; }

    virtual const char16_t* GetSkinPath() const { return skinPath_.c_str(); }
    virtual duResManager* GetResManager() const { return resManager_.get(); }
    // One entry of the package (package mode) or one file of the skin folder; none when
    // missing, empty (folder) or refused.
    std::optional<std::vector<uint8_t>> ReadPackageFile(std::u16string_view name) override;
    // Loads the skin at `path` (a folder path ending with its separator, or any path in
    // it; in package mode the package is read again) and, when it has a script, replaces
    // this manager's description, resources and script. 1 or 0.
    virtual int ChangeSkin(const char16_t* path);

    // The `duwindow` element named exactly `name`, with its document; none when absent.
    ElementRef FindWindowElement(std::u16string_view name) const;

    bool packageMode() const { return packageMode_; }
    const std::shared_ptr<const SkinDocument>& document() const { return document_; }
    ScriptHost* scriptHost() const { return script_.get(); }
    // The skin script's text as started (with its epilogue); none without a script.
    const std::optional<std::u16string>& scriptText() const { return scriptText_; }

    // The steps of LoadSkinFromMemory.
    void SetPackage(std::unique_ptr<SkinArchive> archive);
    bool LoadSkin();

protected:
    // Called after ChangeSkin replaced the resources (attached windows take their fonts again).
    virtual void OnSkinReplaced() {}

private:
    struct LoadedSkin {
        std::shared_ptr<const SkinDocument> document;
        ObjectPtr<duResManager> resources;
    };
    // Reads and parses config.xml and loads the theme's resources; the document may be
    // set while the result is false (no root or theme).
    bool ReadDescription(LoadedSkin& out);
    std::optional<std::u16string> ReadScriptText();

    WideField<260> skinPath_;
    std::shared_ptr<const SkinDocument> document_;
    ObjectPtr<duResManager> resManager_;
    bool packageMode_ = false;
    std::unique_ptr<SkinArchive> package_;
    std::unique_ptr<ScriptHost> script_;
    std::optional<std::u16string> scriptText_;
};

// The skin loader over a package in the caller's bytes (which must stay valid while the
// manager lives). None for missing bytes or a length that is not positive; otherwise a
// manager, even when the package cannot be opened or the load fails (it then has no
// description and attaches no window).
ObjectPtr<duWindowManager> LoadSkinFromMemory(const uint8_t* data, int64_t length);

// Loads the theme's sections into the resource manager in their order: fonts, cursors,
// images, style groups, regions. False when the document has no `redudizu` root or no
// `theme` in it.
bool LoadThemeResources(const SkinDocument& document, duResManager& resources);

// The face whose absence makes every font of the skin normal weight.
inline constexpr std::u16string_view kPreferredFace = u"\u5FAE\u8F6F\u96C5\u9ED1";
// The load's font fall-back: without an installed face whose name contains the preferred
// face, every font whose weight is not 400 gets 400 and is created again.
void ApplyFontFallback(duResManager& resources);

}  // namespace vexlo::ui
