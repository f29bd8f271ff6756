#include "ui/core/window_manager.h"

#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/base/text.h"
#include "platform/text/face_catalog.h"
#include "ui/core/font_resource.h"
#include "ui/core/skin_text.h"
#include "ui/core/window_record.h"
#include "platform/win/window_api.h"

namespace vexlo::ui {
namespace {

// The largest skin file read from a folder, as for package entries.
constexpr uint64_t kMaxFolderFileSize = ArchiveLimits{}.maxEntrySize;

std::string FolderFilePath(std::u16string_view folder, std::u16string_view name) {
    std::u16string path(folder);
    path += name;
    for (char16_t& c : path) {
        if (c == u'\\') c = u'/';
    }
    return platform::WideToUtf8(path);
}

std::optional<std::vector<uint8_t>> ReadWholeFile(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
    const uint64_t size = std::filesystem::file_size(path, ec);
    if (ec || size == 0 || size > kMaxFolderFileSize) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.gcount() != static_cast<std::streamsize>(bytes.size())) return std::nullopt;
    return bytes;
}

bool PathExists(std::u16string_view path) {
    std::error_code ec;
    return std::filesystem::exists(platform::WideToUtf8(path), ec);
}

}  // namespace

duWindowManager::duWindowManager() = default;

duWindowManager::~duWindowManager() {
    if (script_) script_->CloseScript();
    // Windows still attached live on: their records must not reach a freed manager.
    for (auto& [host, record] : windows_) {
        if (record) record->windowManager = nullptr;
    }
    windows_.clear();
}

void duWindowManager::SetPackage(std::unique_ptr<SkinArchive> archive) {
    package_ = std::move(archive);
    packageMode_ = true;
    skinPath_.Set(kMemorySkinPath);
}

std::optional<std::vector<uint8_t>> duWindowManager::ReadPackageFile(std::u16string_view name) {
    if (name.empty()) return std::nullopt;
    if (packageMode_) return package_ ? package_->Read(name) : std::nullopt;
    return ReadWholeFile(FolderFilePath(skinPath_.view(), name));
}

bool LoadThemeResources(const SkinDocument& document, duResManager& resources) {
    XmlElement root = document.TopLevel(u"redudizu");
    XmlElement theme = root.FirstChild(u"theme");
    if (!theme) return false;
    static constexpr struct {
        std::u16string_view section;
        int kind;
    } kSections[] = {{u"dsfont", kResFont},
                     {u"dscursor", kResCursor},
                     {u"dsimage", kResImage},
                     {u"dsstyle", kResStyleGroup},
                     {u"dsrgn", kResRegion}};
    for (const auto& s : kSections) {
        if (XmlElement section = theme.FirstChild(s.section)) resources.LoadSection(section, s.kind);
    }
    return true;
}

void ApplyFontFallback(duResManager& resources) {
    if (text::AnyFaceNameContains(kPreferredFace)) return;
    for (int32_t i = 0; i < resources.GetResObjCount(kResFont); ++i) {
        auto* font = static_cast<duFont*>(resources.GetResObjByIndex(i, kResFont));
        if (font->GetWeight() != 400) {
            font->SetWeight(400);
            font->CreateHFont();
        }
    }
}

bool duWindowManager::ReadDescription(LoadedSkin& out) {
    auto bytes = ReadPackageFile(u"config.xml");
    if (!bytes) return false;
    auto text = DecodeSkinText(*bytes);
    bytes.reset();  // the entry's memory is released once its text is taken
    if (!text) return false;
    out.resources = MakeObject<duResManager>(this);
    out.document = SkinDocument::Parse(*text);
    return LoadThemeResources(*out.document, *out.resources);
}

std::optional<std::u16string> duWindowManager::ReadScriptText() {
    auto bytes = ReadPackageFile(u"RedudiZU.js");
    if (!bytes) return std::nullopt;
    auto text = DecodeSkinText(*bytes);
    if (!text) return std::nullopt;
    *text += kScriptEpilogue;
    return text;
}

bool duWindowManager::LoadSkin() {
    AssignTypeInfo(*this);
    skinPath_.Set(kMemorySkinPath);
    LoadedSkin skin;
    const bool loaded = ReadDescription(skin);
    document_ = std::move(skin.document);
    resManager_ = std::move(skin.resources);
    if (!loaded) return false;
    ApplyFontFallback(*resManager_);

    script_ = CreateScriptHost();
    scriptText_ = ReadScriptText();
    if (scriptText_) {
        script_->RunScript(*scriptText_);
        AssignTypeInfo(*resManager_);
        script_->AddScriptItem(this, u"winManager");
        script_->AddScriptItem(resManager_.get(), u"resManager");
    }
    return true;
}

int duWindowManager::ChangeSkin(const char16_t* path) {
    if (!path || !*path) return 0;
    const std::u16string_view p(path);
    // The skin path field holds 259 characters; a longer path cannot be kept.
    if (p.size() >= decltype(skinPath_)::kCapacity || !PathExists(p)) return 0;
    const std::u16string savedPath = skinPath_.str();
    const size_t cut = p.find_last_of(u"\\/");
    skinPath_.Set(cut == std::u16string_view::npos ? std::u16string_view() : p.substr(0, cut + 1));

    LoadedSkin skin;
    if (ReadDescription(skin)) {
        std::unique_ptr<ScriptHost> host = CreateScriptHost();
        if (auto text = ReadScriptText()) {
            host->RunScript(*text);
            AssignTypeInfo(*skin.resources);
            host->AddScriptItem(this, u"winManager");
            host->AddScriptItem(skin.resources.get(), u"resManager");
            if (script_) script_->CloseScript();
            // Elements still in use elsewhere keep the old document alive on their own.
            document_ = std::move(skin.document);
            script_ = std::move(host);
            scriptText_ = std::move(text);
            resManager_ = std::move(skin.resources);
            OnSkinReplaced();
            return 1;
        }
    }
    skinPath_.Set(savedPath);
    return 0;
}

ElementRef duWindowManager::FindWindowElement(std::u16string_view name) const {
    if (!document_) return {};
    XmlElement root = document_->TopLevel(u"redudizu");
    for (XmlElement control = root.FirstChild(); control; control = control.NextSibling()) {
        if (!control.NameIs(u"ducontrol")) continue;
        for (XmlElement window = control.FirstChild(); window; window = window.NextSibling()) {
            if (window.NameIs(u"duwindow") && window.Attribute(u"name") == name) return {document_, window};
        }
    }
    return {};
}

namespace {

win::WindowProc& MenuProc() {
    static win::WindowProc proc = nullptr;
    return proc;
}

// The class of the menus' popup windows; its procedure belongs to the menus.
void RegisterMenuWindowClass() {
    if (!MenuProc()) return;
    win::WindowClass c;
    c.style = win::CS_DBLCLKS | win::CS_HREDRAW | win::CS_VREDRAW;
    c.proc = MenuProc();
    c.cursor = win::LoadCursor(0, win::IDC_ARROW);
    c.background = gfx::OpaquePixel(win::GetSysColor(win::COLOR_WINDOW));
    c.name = std::u16string(kMenuWindowClass);
    win::RegisterClass(c);  // an existing class (an earlier load) is fine
}

}  // namespace

void SetMenuWindowProc(win::WindowProc proc) { MenuProc() = proc; }

ObjectPtr<duWindowManager> LoadSkinFromMemory(const uint8_t* data, int64_t length) {
    if (!data || length <= 0) return nullptr;
    RegisterMenuWindowClass();
    auto manager = MakeObject<duWindowManager>();
    manager->SetPackage(SkinArchive::Open(std::span<const uint8_t>(data, static_cast<size_t>(length))));
    manager->LoadSkin();
    return manager;
}

}  // namespace vexlo::ui
