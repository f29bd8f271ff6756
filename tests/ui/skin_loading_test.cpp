#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/base/debug_output.h"
#include "platform/base/text.h"
#include "platform/image/png_codec.h"
#include "platform/text/face_catalog.h"
#include "tests/ui/fixtures/skin_fixtures.h"
#include "ui/core/font_resource.h"
#include "ui/core/image_resource.h"
#include "ui/core/library.h"
#include "ui/core/plugin_factory.h"
#include "ui/core/plugin_registry.h"
#include "ui/core/plugin_tree.h"
#include "ui/core/region_resource.h"
#include "ui/core/style_group.h"
#include "ui/core/window_manager.h"

namespace vexlo::ui {
namespace {

using namespace ui::testing;

// A description in the form the skin tools write: declaration, root, theme, windows.
std::u16string Description(std::u16string_view theme, std::u16string_view controls) {
    return u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<redudizu version=\"1.4\">\r\n<theme name=\"t\">" +
           std::u16string(theme) + u"</theme>\r\n" + std::u16string(controls) + u"</redudizu>\r\n";
}

Bytes TinyPng(int w, int h, uint32_t pixel) {
    gfx::Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.set_pixel(x, y, pixel);
    std::string png;
    image::EncodePng(b, png);
    return Bytes(png.begin(), png.end());
}

struct Loaded {
    Bytes package;  // must outlive the manager
    ObjectPtr<duWindowManager> manager;
};

Loaded Load(ZipBuilder& zip) {
    Loaded l;
    l.package = zip.Finish();
    l.manager = LoadSkinFromMemory(l.package.data(), static_cast<int64_t>(l.package.size()));
    return l;
}

Loaded LoadDescription(std::u16string_view text) {
    ZipBuilder zip;
    zip.Add("config.xml", Utf16File(text));
    return Load(zip);
}

class SkinLoading : public ::testing::Test {
protected:
    void SetUp() override { InitUILibrary(); }
    void TearDown() override {
        SetScriptHostFactory(nullptr);
        UninitUILibrary();
    }
};

TEST_F(SkinLoading, RefusesMissingBytesAndKeepsAManagerWithoutDescriptionForJunk) {
    EXPECT_FALSE(LoadSkinFromMemory(nullptr, 10));
    const uint8_t junk[] = {'n', 'o', 't', ' ', 'z', 'i', 'p'};
    EXPECT_FALSE(LoadSkinFromMemory(junk, 0));
    auto m = LoadSkinFromMemory(junk, sizeof junk);
    ASSERT_TRUE(m);
    EXPECT_FALSE(m->document());
    EXPECT_FALSE(m->FindWindowElement(u"w"));
    EXPECT_EQ(std::u16string_view(m->GetSkinPath()), u"Memory\\");
}

TEST_F(SkinLoading, ReadsTheDescriptionUnderAnyLetterCaseAndFindsWindowsInLaterControlSections) {
    ZipBuilder zip;
    zip.Add("CONFIG.XML", Utf16File(Description(
                              u"<dsfont><font name=\"f\" height=\"13\"/></dsfont>",
                              u"<DuControl><duwindow name=\"hidden\"/></DuControl>"
                              u"<ducontrol><duwindow name=\"first\"/></ducontrol>"
                              u"<ducontrol><DuWindow name=\"nocase\"/><duwindow NAME=\"second\"/></ducontrol>")));
    Loaded l = Load(zip);
    ASSERT_TRUE(l.manager->document());
    ASSERT_TRUE(l.manager->GetResManager());
    EXPECT_TRUE(l.manager->GetResManager()->GetResObj(u"f", kResFont));
    EXPECT_TRUE(l.manager->FindWindowElement(u"first"));
    EXPECT_TRUE(l.manager->FindWindowElement(u"second")) << "attribute names ignore case";
    EXPECT_FALSE(l.manager->FindWindowElement(u"hidden")) << "DuControl is not ducontrol";
    EXPECT_FALSE(l.manager->FindWindowElement(u"nocase")) << "DuWindow is not duwindow";
    EXPECT_FALSE(l.manager->FindWindowElement(u"First")) << "window names compare exactly";
}

TEST_F(SkinLoading, LoadsOnlyTheFirstThemeAndRefusesDuplicateNamesPerKind) {
    platform::DebugOutputCapture capture;
    Loaded l = LoadDescription(
        u"<?xml version=\"1.0\"?><redudizu>"
        u"<theme><dsrgn><rgn name=\"corner\" type=\"roundrect\" roundx=\"15\" roundy=\"15\"/>"
        u"<rgn name=\"corner\" type=\"halfroundrect\"/><other name=\"any\"/></dsrgn>"
        u"<dsfont><font name=\"corner\"/></dsfont></theme>"
        u"<theme><dsfont><font name=\"late\"/></dsfont></theme></redudizu>");
    duResManager* r = l.manager->GetResManager();
    ASSERT_TRUE(r);
    EXPECT_FALSE(r->GetResObj(u"late", kResFont));
    auto* corner = dynamic_cast<duRgn*>(r->GetResObj(u"corner", kResRegion));
    ASSERT_TRUE(corner);
    EXPECT_EQ(std::u16string_view(corner->GetRgnType()), u"roundrect") << "the first one stays";
    EXPECT_TRUE(r->GetResObj(u"any", kResRegion)) << "every child of a section counts, whatever its name";
    EXPECT_TRUE(r->GetResObj(u"corner", kResFont)) << "the same name in another kind is allowed";
    int failures = 0;
    for (const auto& m : capture.Messages()) {
        if (m.find(u"]AddResObj [corner] failed\n") != std::u16string::npos) ++failures;
    }
    EXPECT_EQ(failures, 1);
}

TEST_F(SkinLoading, ImagesComeFromThePackageAndAMissingOneIsReported) {
    platform::DebugOutputCapture capture;
    ZipBuilder zip;
    zip.Add("config.xml", Utf16File(Description(
                              u"<dsimage><image name=\"logo\" value=\"img\\Logo.png\"/>"
                              u"<image name=\"gone\" value=\"missing.png\"/></dsimage>", u"")));
    zip.Add("img/logo.png", TinyPng(3, 2, 0xFF102030u), false);
    Loaded l = Load(zip);
    auto* logo = dynamic_cast<duImage*>(l.manager->GetResManager()->GetResObj(u"logo", kResImage));
    ASSERT_TRUE(logo);
    EXPECT_EQ(logo->GetWidth(), 3);
    EXPECT_EQ(logo->GetHeight(), 2);
    EXPECT_EQ(logo->GetBits()[0], 0xFF102030u);
    auto* gone = dynamic_cast<duImage*>(l.manager->GetResManager()->GetResObj(u"gone", kResImage));
    ASSERT_TRUE(gone) << "the resource exists without a picture";
    EXPECT_EQ(gone->GetHBitmap(), nullptr);
    bool reported = false;
    for (const auto& m : capture.Messages()) reported |= m.ends_with(u"]failed to loading image[missing.png]\n");
    EXPECT_TRUE(reported);
}

TEST_F(SkinLoading, WithoutThePreferredFaceFontsBecomeNormalWeight) {
    const std::u16string theme =
        u"<dsfont><font name=\"bold\" weight=\"700\" fontface=\"&#x5FAE;&#x8F6F;&#x96C5;&#x9ED1;\"/>"
        u"<font name=\"plain\" height=\"12\" weight=\"400\" italic=\"TRUE\"/><font name=\"bare\"/></dsfont>";
    {
        text::ScopedFaceCatalog faces(text::FaceCatalog({text::FaceEntry{{u"DejaVu Sans"}, "dejavu.ttf"}}));
        Loaded l = LoadDescription(Description(theme, u""));
        auto* bold = dynamic_cast<duFont*>(l.manager->GetResManager()->GetResObj(u"bold", kResFont));
        ASSERT_TRUE(bold);
        EXPECT_EQ(bold->GetWeight(), 400);
        EXPECT_EQ(std::u16string_view(bold->GetFontFace()), u"微软雅黑");
        ASSERT_TRUE(bold->GetHFont());
        EXPECT_EQ(bold->GetHFont()->request().weight, 400) << "the font is created again";
        auto* plain = dynamic_cast<duFont*>(l.manager->GetResManager()->GetResObj(u"plain", kResFont));
        EXPECT_EQ(plain->GetItalic(), 1);
        EXPECT_EQ(plain->GetHFont()->request().height, -12);
        auto* bare = dynamic_cast<duFont*>(l.manager->GetResManager()->GetResObj(u"bare", kResFont));
        EXPECT_EQ(bare->GetHeight(), 0) << "an absent height reads 0, not the default 12";
        EXPECT_EQ(bare->GetWeight(), 400) << "absent weight 0 is not 400 and so becomes 400";
    }
    {
        text::ScopedFaceCatalog faces(text::FaceCatalog({text::FaceEntry{{u"Microsoft YaHei", u"微软雅黑 UI"}, "y.ttf"}}));
        Loaded l = LoadDescription(Description(theme, u""));
        auto* bold = dynamic_cast<duFont*>(l.manager->GetResManager()->GetResObj(u"bold", kResFont));
        EXPECT_EQ(bold->GetWeight(), 700);
    }
}

// Records what the skin loader asks of a script host.
struct ScriptLog {
    std::vector<std::u16string> scripts;
    std::vector<std::u16string> items;
    int closed = 0;
};

class RecordingHost : public ScriptHost {
public:
    explicit RecordingHost(ScriptLog& log) : log_(log) {}
    int RunScript(std::u16string_view text) override {
        log_.scripts.emplace_back(text);
        return 1;
    }
    int AddScriptItem(duObject* object, std::u16string_view name) override {
        log_.items.push_back(std::u16string(name) + u":" + object->GetTypeName());
        return 1;
    }
    int CallScriptFunction(std::u16string_view, std::span<com::Variant>) override { return 0; }
    void CloseScript() override { ++log_.closed; }

private:
    ScriptLog& log_;
};

TEST_F(SkinLoading, StartsThePackagedScriptWithItsEpilogueAndNamesTheManagers) {
    ScriptLog log;
    SetScriptHostFactory([&log] { return std::make_unique<RecordingHost>(log); });
    ZipBuilder zip;
    zip.Add("config.xml", Utf16File(Description(u"", u"")));
    zip.Add("redudizu.JS", Utf16File(u"function f() {}"));
    Loaded l = Load(zip);
    ASSERT_EQ(log.scripts.size(), 1u);
    EXPECT_EQ(log.scripts[0], u"function f() {}\r\nCollectGarbage();\r\n");
    EXPECT_EQ(l.manager->scriptText(), log.scripts[0]);
    EXPECT_EQ(log.items, (std::vector<std::u16string>{u"winManager:duWindowManager", u"resManager:duResManager"}));
    l.manager.reset();
    EXPECT_EQ(log.closed, 1);

    ZipBuilder plain;
    plain.Add("config.xml", Utf16File(Description(u"", u"")));
    Loaded none = Load(plain);
    EXPECT_FALSE(none.manager->scriptText());
    EXPECT_EQ(log.scripts.size(), 1u);
}

class SkinFolder {
public:
    SkinFolder() {
        path_ = std::filesystem::temp_directory_path() /
                ("vexlo-skin-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(path_);
    }
    ~SkinFolder() { std::filesystem::remove_all(path_); }
    void Write(const std::string& name, const Bytes& bytes) const {
        std::ofstream(path_ / name, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                            static_cast<std::streamsize>(bytes.size()));
    }
    // The folder with its trailing separator, as a skin path.
    std::u16string SkinPath() const { return platform::Utf8ToWide(path_.string() + "/"); }

private:
    std::filesystem::path path_;
};

TEST_F(SkinLoading, ChangeSkinNeedsAScriptAndKeepsOldElementsAlive) {
    ScriptLog log;
    SetScriptHostFactory([&log] { return std::make_unique<RecordingHost>(log); });
    ZipBuilder zip;
    zip.Add("config.xml", Utf16File(Description(u"<dsfont><font name=\"old\"/></dsfont>",
                                                u"<ducontrol><duwindow name=\"w\" text=\"old\"/></ducontrol>")));
    Loaded l = Load(zip);
    // Folder mode: the window manager reads the folder that ChangeSkin names.
    auto folderManager = MakeObject<duWindowManager>();
    ASSERT_FALSE(folderManager->packageMode());

    SkinFolder noScript;
    noScript.Write("config.xml", Utf16File(Description(u"<dsfont><font name=\"new\"/></dsfont>", u"")));
    EXPECT_EQ(folderManager->ChangeSkin((noScript.SkinPath() + u"config.xml").c_str()), 0);
    EXPECT_EQ(std::u16string_view(folderManager->GetSkinPath()), u"") << "the path is put back";

    SkinFolder withScript;
    withScript.Write("config.xml", Utf16File(Description(u"<dsfont><font name=\"new\"/></dsfont>",
                                                         u"<ducontrol><duwindow name=\"w\" text=\"new\"/></ducontrol>")));
    withScript.Write("RedudiZU.js", Utf16File(u"var x;"));
    EXPECT_EQ(folderManager->ChangeSkin(withScript.SkinPath().c_str()), 1);
    EXPECT_EQ(std::u16string_view(folderManager->GetSkinPath()), withScript.SkinPath());
    EXPECT_TRUE(folderManager->GetResManager()->GetResObj(u"new", kResFont));

    ElementRef old = folderManager->FindWindowElement(u"w");
    ASSERT_TRUE(old);
    EXPECT_EQ(folderManager->ChangeSkin((withScript.SkinPath() + u"config.xml").c_str()), 1);
    EXPECT_EQ(old.element.AttributeOrEmpty(u"text"), u"new") << "the replaced document is still readable";

    for (const std::u16string& bad : {std::u16string(), withScript.SkinPath() + u"absent/",
                                      withScript.SkinPath() + std::u16string(300, u'x')}) {
        EXPECT_EQ(folderManager->ChangeSkin(bad.c_str()), 0);
    }
    EXPECT_EQ(folderManager->ChangeSkin(nullptr), 0);

    // A package manager reads its package again, not the folder.
    EXPECT_EQ(l.manager->ChangeSkin(withScript.SkinPath().c_str()), 0) << "the package has no script";
    EXPECT_TRUE(l.manager->GetResManager()->GetResObj(u"old", kResFont));
}

class ControlTree : public SkinLoading {
protected:
    // Builds the tree of window `name` the way attaching a window does.
    duPlugin* Build(const duWindowManager& m, std::u16string_view name) {
        ElementRef e = m.FindWindowElement(name);
        if (!e) return nullptr;
        root_ = CreatePluginByType(e.element.Name());
        record_.hostWindow = win::Window();
        BuildPluginTree(root_.get(), e, &record_);
        return root_.get();
    }
    void TearDown() override {
        if (root_) {
            // The tree owns the children; the root is freed by its owner.
            for (duPlugin* c = root_->GetFirstChild(); c;) {
                duPlugin* next = c->GetNextSibling();
                DestroyPluginTree(c);
                c = next;
            }
        }
        root_.reset();
        SkinLoading::TearDown();
    }
    ObjectPtr<duPlugin> root_;
    WindowRecord record_;
};

TEST_F(ControlTree, BuildsKnownElementsWithoutCaseAndSkipsUnknownOnesWithTheirSubtree) {
    Loaded l = LoadDescription(Description(
        u"", u"<ducontrol><duwindow name=\"w\" width=\"198\" height=\"80\">"
             u"<Button name=\"b\" NAME=\"ignored\"/><widget name=\"x\"><button name=\"inside\"/></widget>"
             u"<layout name=\"l\"><static name=\"s\"/></layout></duwindow></ducontrol>"));
    duPlugin* root = Build(*l.manager, u"w");
    ASSERT_TRUE(root);
    EXPECT_EQ(std::u16string_view(root->GetTypeName()), u"duWindow");
    gfx::Rect r;
    root->GetRect(&r);
    EXPECT_EQ(r, (gfx::Rect{0, 0, 198, 80}));
    duPlugin* b = root->GetFirstChild();
    ASSERT_TRUE(b);
    EXPECT_EQ(std::u16string_view(b->GetTypeName()), u"duButton");
    EXPECT_EQ(std::u16string_view(b->GetType()), u"Button") << "the element name is kept as written";
    EXPECT_TRUE(b->TypeIs(u"button"));
    EXPECT_EQ(std::u16string_view(b->GetName()), u"b");
    duPlugin* layout = b->GetNextSibling();
    ASSERT_TRUE(layout);
    EXPECT_EQ(std::u16string_view(layout->GetName()), u"l");
    EXPECT_EQ(layout->GetNextSibling(), nullptr);
    EXPECT_EQ(root->GetLastChild(), layout);
    EXPECT_EQ(std::u16string_view(layout->GetFirstChild()->GetTypeName()), u"duStatic");
    EXPECT_EQ(LivePluginCount(), 4u);
    EXPECT_TRUE(IsPluginValid(layout->GetFirstChild()));
}

TEST_F(ControlTree, ReadsTheCommonAttributesAndPlacesChildrenInTheirParent) {
    Loaded l = LoadDescription(Description(
        u"", u"<ducontrol><duwindow name=\"w\" width=\"198\" height=\"80\" zorder=\"0\" alpha=\"\">"
             u"<button name=\"close_btn\" left=\"-20\" top=\"9\" width=\"1\" height=\"11\" right=\"0\" "
             u"horzanchor=\"2\" vertanchor=\"3\" style=\"close_btn_style\" visible=\"FALSE\" cached=\"yes\" "
             u"alpha=\"128\" text=\"&#x9000;&#x51FA;\" taborder=\"4\"/>"
             u"<layout name=\"c\" left=\"center\" width=\"50%\" horzanchor=\"1\" top=\"center\" height=\"40\" zorder=\"7\">"
             u"<static name=\"s\" left=\"6\" width=\"100\" horzanchor=\"1\" vertanchor=\"3\" height=\"20\"/></layout>"
             u"</duwindow></ducontrol>"));
    duPlugin* root = Build(*l.manager, u"w");
    ASSERT_TRUE(root);
    EXPECT_EQ(root->GetAlpha(), 255) << "an empty alpha keeps 255";
    duPlugin* close = root->GetFirstChild();
    gfx::Rect r;
    close->GetRect(&r);
    EXPECT_EQ(r, (gfx::Rect{178, 9, 198, 20}));
    EXPECT_EQ(close->IsVisible(), 0);
    EXPECT_EQ(close->IsCached(), 0) << "other texts keep the default";
    EXPECT_EQ(close->GetAlpha(), 128);
    EXPECT_EQ(std::u16string_view(close->GetText()), u"退出");
    EXPECT_EQ(std::u16string_view(close->GetStyle()), u"close_btn_style");
    EXPECT_EQ(close->GetTabOrder(), 4);
    EXPECT_EQ(close->GetZorder(), 1) << "the parent's z-order plus one";
    duPlugin* centred = close->GetNextSibling();
    centred->GetRect(&r);
    EXPECT_EQ(r, (gfx::Rect{49, 20, 148, 60})) << "(198 - 99) / 2";
    EXPECT_EQ(centred->GetZorder(), 7);
    centred->GetFirstChild()->GetRect(&r);
    EXPECT_EQ(r, (gfx::Rect{55, 20, 154, 40})) << "100% of a 99-wide parent";
    EXPECT_EQ(centred->GetFirstChild()->GetZorder(), 8);
}

TEST_F(ControlTree, RepeatedNamesAreReportedOnceEachAndTheFirstControlKeepsTheName) {
    Loaded l = LoadDescription(Description(
        u"", u"<ducontrol><duwindow name=\"w\"><button name=\"a\"/><button name=\"a\"/><button/><button/></duwindow>"
             u"</ducontrol>"));
    duPlugin* root = Build(*l.manager, u"w");
    ASSERT_TRUE(root);
    platform::DebugOutputCapture capture;
    std::vector<duPlugin*> all{root};
    for (duPlugin* c = root->GetFirstChild(); c; c = c->GetNextSibling()) all.push_back(c);
    for (duPlugin* p : all) RegisterPluginName(record_, *p);
    auto m = capture.Messages();
    ASSERT_EQ(m.size(), 2u);
    EXPECT_TRUE(m[0].ends_with(u"]error: [a] is repeated\n"));
    EXPECT_TRUE(m[1].ends_with(u"]error: [] is repeated\n")) << "the second unnamed button";
    EXPECT_EQ(record_.names.at(u"a"), all[1]);
}

TEST(ControlFactory, CreatesEveryClassOfTheTableAndNothingElse) {
    const std::pair<const char16_t*, const char16_t*> table[] = {
        {u"duwindow", u"duWindow"}, {u"BUTTON", u"duButton"}, {u"scrollbar", u"duScroll"},
        {u"impanelnode", u"duIMPanelNode"}, {u"ledtimer", u"duLEDTimer"}, {u"mledit", u"duMLEdit"},
        {u"remotectrl", u"duRemoteCtrl"}, {u"treelistitem", u"duTreeListItem"}, {u"gifctrl", u"duGifCtrl"},
    };
    for (auto [element, cls] : table) {
        auto p = CreatePluginByType(element);
        ASSERT_TRUE(p) << platform::WideToUtf8(element);
        EXPECT_EQ(std::u16string_view(p->GetTypeName()), cls);
    }
    EXPECT_FALSE(CreatePluginByType(u"widget"));
    EXPECT_FALSE(CreatePluginByType(u""));
    EXPECT_FALSE(CreatePluginByType(u"ducontrol"));
}

}  // namespace
}  // namespace vexlo::ui
