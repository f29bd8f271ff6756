#pragma once
// duWindowManager: owns a loaded skin (the package or folder it came from, the parsed
// description, the resources and the script host) and answers for the skin's files.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/win/handles.h"
#include "platform/win/types.h"
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

class duPlugin;
struct WindowRecord;

class duWindowManager : public duObject, public SkinFileSource {
public:
    duWindowManager();
    ~duWindowManager() override;
    const char16_t* GetTypeName() const override { return u"duWindowManager"; }

    // Builds the skin window `name` on an existing host window and takes over its window
    // procedure. 1 or 0 (the host window is then unchanged).
    virtual int AttachWindow(win::Window host, const char16_t* name);
    virtual const char16_t* GetSkinPath() const { return skinPath_.c_str(); }
    virtual duResManager* GetResManager() const { return resManager_.get(); }
    // Reserved: does nothing.
    virtual int Reserved(intptr_t, intptr_t, intptr_t) { return 0; }
    // Forwards to the script host; 0 without a script. Arguments in automation order.
    virtual int CallScriptFunction(const char16_t* name, int32_t count, com::Variant* args);
    virtual int32_t GetWindowCount() const { return static_cast<int32_t>(windows_.size()); }
    // In ascending handle order; none out of range.
    virtual win::Window GetWindowByIndex(int32_t index) const;
    // One entry of the package (package mode) or one file of the skin folder; none when
    // missing, empty (folder) or refused.
    std::optional<std::vector<uint8_t>> ReadPackageFile(std::u16string_view name) override;
    // The bytes ReadPackageFile handed out free themselves; kept for the script's sake.
    virtual void FreePackageFile(std::vector<uint8_t>& bytes) { std::vector<uint8_t>().swap(bytes); }
    // The text and "\r\n" to the debugger output.
    virtual void DebugString(const char16_t* text);
    virtual int ShowSkinWindow(win::Window window, int command);
    virtual int CloseSkinWindow(win::Window window);
    virtual void ExitApplication(int exitCode);
    virtual int MoveSkinWindow(win::Window window, win::Window insertAfter, int x, int y, int width, int height,
                               uint32_t flags);
    virtual uint32_t GetColorRed(uint32_t color) const { return color & 0xFFu; }
    virtual uint32_t GetColorGreen(uint32_t color) const { return (color >> 8) & 0xFFu; }
    virtual uint32_t GetColorBlue(uint32_t color) const { return (color >> 16) & 0xFFu; }
    // Loads the skin at `path` (a folder path ending with its separator, or any path in
    // it; in package mode the package is read again) and, when it has a script, replaces
    // this manager's description, resources and script. 1 or 0.
    virtual int ChangeSkin(const char16_t* path);
    // OnRedraw, then an immediate repaint of the control.
    virtual int Redraw(duPlugin* plugin);

    // The window table (host window to its record).
    void AddWindow(win::Window host, WindowRecord* record);
    void RemoveWindow(win::Window host);
    WindowRecord* FindWindowRecord(win::Window host) const;

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
    // Called after ChangeSkin replaced the resources: edits of attached windows take
    // their fonts again.
    virtual void OnSkinReplaced();

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
    std::map<win::Window, WindowRecord*> windows_;
};

// The guarded form: 0 for a missing manager, a handle that is not a window or a missing
// name.
int AttachWindow(duWindowManager* manager, win::Window host, const char16_t* name);
// Destroys the manager. Windows still attached keep working harmlessly until they are
// destroyed (their records forget the manager).
void ReleaseWindowManager(duWindowManager* manager);

// Where the menus' window procedure is hooked in: LoadSkinFromMemory registers the menu
// window class with whatever procedure was set here (none: the class is not registered
// until the menus supply one).
void SetMenuWindowProc(win::WindowProc proc);
inline constexpr std::u16string_view kMenuWindowClass = u"zazirMenuClass";

// After ChangeSkin, every "edit" control of every attached window is handed to this
// (supplied by the text-editing controls) to take its font from the new resources.
using EditFontRefresher = void (*)(duPlugin* edit, duResManager* resources);
void SetEditFontRefresher(EditFontRefresher refresher);

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
