#include "tests/ui/window/skin_window_fixture.h"

#include "platform/base/text.h"

namespace vexlo::ui::testing {
namespace {

constexpr char16_t kHostClass[] = u"VexloTestHost";

std::string Utf8(const char16_t* text) { return platform::WideToUtf8(text ? text : u""); }

std::string NameOf(const duPlugin* p) { return p ? Utf8(p->GetName()) : std::string("none"); }

intptr_t HostProc(win::Window w, uint32_t m, uintptr_t wp, intptr_t lp) {
    if (m == kNotifyMessage && lp) {
        const auto& record = *reinterpret_cast<const win::NotificationRecord*>(lp);
        duPlugin* plugin = ResolvePlugin(wp);
        SkinWindowTest::Seen().push_back({plugin ? plugin->GetName() : u"?", record.code, record.first, record.second});
        if (auto& handler = SkinWindowTest::OnNotify()) handler(plugin, record);
        return 0;
    }
    return win::DefWindowProc(w, m, wp, lp);
}

}  // namespace

std::vector<std::string>& ProbeLog() {
    static std::vector<std::string> log;
    return log;
}

void Probe::Log(const std::string& event) const { ProbeLog().push_back(Utf8(GetName()) + ":" + event); }

void Probe::OnCreate() { Log("Create"); }
void Probe::DrawObject(gfx::DrawContext& dc) { DrawPluginStyle(*this, dc); }

void Probe::OnMouseIn(int32_t x, int32_t y) {
    Log("In(" + std::to_string(x) + "," + std::to_string(y) + ")");
    if (button_) {
        SetState(kStateOver);
        RedrawPlugin(this, 0);
    }
}

void Probe::OnMouseLeave(int32_t x, int32_t y) {
    Log("Leave(" + std::to_string(x) + "," + std::to_string(y) + ")");
    if (button_) {
        SetState(kStateNormal);
        RedrawPlugin(this, 0);
    }
}

void Probe::OnMouseLDown(int32_t x, int32_t y) { Log("LDown(" + std::to_string(x) + "," + std::to_string(y) + ")"); }

void Probe::OnMouseLUp(int32_t x, int32_t y) {
    Log("LUp(" + std::to_string(x) + "," + std::to_string(y) + ")");
    gfx::Rect r;
    GetRect(&r);
    if (button_ && r.Contains(x, y)) NotifyHost(this, kNotifyBtnClick, 0, 0);
}

void Probe::OnMouseMove(int32_t x, int32_t y) { Log("Move(" + std::to_string(x) + "," + std::to_string(y) + ")"); }

void Probe::OnMouseWheel(uint32_t keys, int32_t delta, int32_t x, int32_t y) {
    Log("Wheel(" + std::to_string(keys) + "," + std::to_string(delta) + "," + std::to_string(x) + "," +
        std::to_string(y) + ")");
}

void Probe::OnMouseHover(int32_t x, int32_t y) { Log("Hover(" + std::to_string(x) + "," + std::to_string(y) + ")"); }
void Probe::OnCaptureChanged(duPlugin* next) { Log("CaptureChanged(" + NameOf(next) + ")"); }

int Probe::OnKillFocus(duPlugin* gaining) {
    Log("KillFocus(" + NameOf(gaining) + ")");
    return 0;
}

int Probe::OnSetFocus(duPlugin* losing) {
    Log("SetFocus(" + NameOf(IsPluginValid(losing) ? losing : nullptr) + ")");
    return 0;
}

void Probe::OnTimer(uint32_t id) { Log("Timer(" + std::to_string(id) + ")"); }

void Probe::OnKeyDown(uint32_t key, uint32_t repeat, uint32_t) {
    Log("KeyDown(" + std::to_string(key) + "," + std::to_string(repeat) + ")");
}

void Probe::OnChildDelete(duPlugin* child) { Log("ChildDelete(" + NameOf(child) + ")"); }

void Probe::OnChildShow(duPlugin* child, int32_t visible) {
    Log("ChildShow(" + NameOf(child) + "," + std::to_string(visible) + ")");
}

void Probe::OnChildResize(duPlugin* child) { Log("ChildResize(" + NameOf(child) + ")"); }

void RegisterProbes() {
    RegisterPluginClass(u"button", [] { return ObjectPtr<duPlugin>(new Probe(true)); });
    RegisterPluginClass(u"static", [] { return ObjectPtr<duPlugin>(new Probe(false)); });
    RegisterPluginClass(u"layout", [] { return ObjectPtr<duPlugin>(new Probe(false)); });
}

std::u16string Description(std::u16string_view theme, std::u16string_view controls) {
    return u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<redudizu version=\"1.4\">\r\n<theme name=\"t\">" +
           std::u16string(theme) + u"</theme>\r\n" + std::u16string(controls) + u"</redudizu>\r\n";
}

std::function<void(duPlugin*, const win::NotificationRecord&)>& SkinWindowTest::OnNotify() {
    static std::function<void(duPlugin*, const win::NotificationRecord&)> handler;
    return handler;
}

std::vector<SeenNotification>& SkinWindowTest::Seen() {
    static std::vector<SeenNotification> seen;
    return seen;
}

void SkinWindowTest::SetUp() {
    harness_ = std::make_unique<headless::HeadlessHarness>();
    InitUILibrary();
    RegisterProbes();
    ProbeLog().clear();
    Seen().clear();
    OnNotify() = nullptr;
    win::WindowClass c;
    c.proc = &HostProc;
    c.name = kHostClass;
    win::RegisterClass(c);
}

void SkinWindowTest::TearDown() {
    OnNotify() = nullptr;
    // Windows go first: their records free the controls, which need the library's tables.
    harness_->DestroyAllWindows();
    manager_.reset();
    UninitUILibrary();
    harness_.reset();
}

void SkinWindowTest::LoadSkin(std::u16string_view description) {
    ZipBuilder zip;
    zip.Add("config.xml", Utf16File(description));
    LoadPackage(zip.Finish());
}

void SkinWindowTest::LoadPackage(Bytes package) {
    package_ = std::move(package);
    manager_ = LoadSkinFromMemory(package_.data(), static_cast<int64_t>(package_.size()));
    ASSERT_TRUE(manager_);
}

win::Window SkinWindowTest::CreateHost(int x, int y, int w, int h, uint32_t exStyle) {
    return win::CreateWindowEx(exStyle, kHostClass, u"host", win::WS_POPUP | win::WS_VISIBLE, x, y, w, h, {}, 0, 0,
                               nullptr);
}

win::Window SkinWindowTest::Attach(std::u16string_view name, uint32_t exStyle) {
    host_ = CreateHost(100, 100, 300, 200, exStyle);
    EXPECT_EQ(manager_->AttachWindow(host_, std::u16string(name).c_str()), 1);
    return host_;
}

gfx::Rect SkinWindowTest::RectOf(std::u16string_view name) const {
    gfx::Rect r;
    if (duPlugin* p = Find(name)) p->GetRect(&r);
    return r;
}

}  // namespace vexlo::ui::testing
