#include "tests/ui/controls/skin_window.h"

#include "platform/gfx/draw_context.h"
#include "platform/image/png_codec.h"
#include "platform/win/messages.h"
#include "platform/win/styles.h"
#include "platform/win/window_api.h"
#include "ui/controls/register_controls.h"
#include "ui/core/library.h"
#include "ui/core/notification.h"
#include "ui/core/plugin_functions.h"

namespace vexlo::ui::testing {
namespace {

SkinWindow* g_current = nullptr;

Bytes IconPng() {
    gfx::Bitmap b(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) b.set_pixel(x, y, (x + y) % 2 ? 0xFFFF8000u : 0xFF008000u);
    std::string png;
    image::EncodePng(b, png);
    return Bytes(png.begin(), png.end());
}

intptr_t Center(duPlugin* p) {
    gfx::Rect r;
    p->GetRect(&r);
    return win::MakeLParam((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

}  // namespace

std::u16string StandardTheme() {
    return u"<dsfont><font name=\"f\" height=\"12\"/></dsfont>"
           u"<dsimage><image name=\"ico\" value=\"ico.png\"/></dsimage>"
           u"<dsstyle><style name=\"box\">"
           u"<rect state=\"normal\" fillcolor=\"RGB(200,200,200)\" fill=\"true\"/>"
           u"<rect state=\"over\" fillcolor=\"RGB(60,120,240)\" fill=\"true\"/>"
           u"<rect state=\"press\" fillcolor=\"RGB(20,40,120)\" fill=\"true\"/>"
           u"<rect state=\"disable\" fillcolor=\"RGB(240,80,80)\" fill=\"true\"/>"
           u"<rect state=\"checkedall\" fillcolor=\"RGB(40,160,40)\" fill=\"true\"/>"
           u"<text state=\"all\" font=\"f\" textcolor=\"RGB(0,0,0)\" halign=\"center\" valign=\"center\"/>"
           u"</style>"
           u"<style name=\"inset\"><text state=\"all\" font=\"f\" left=\"10\" right=\"-10\"/></style>"
           u"</dsstyle>";
}

SkinWindow::SkinWindow(std::u16string_view theme, std::u16string_view controls, int width, int height) {
    InitUILibrary();
    RegisterButtonAndTextControls();
    harness_ = std::make_unique<headless::HeadlessHarness>();
    g_current = this;
    const std::u16string description =
        u"<?xml version=\"1.0\" encoding=\"utf-16\"?>\r\n<redudizu version=\"1.4\"><theme name=\"t\">" +
        std::u16string(theme) + u"</theme><ducontrol><duwindow name=\"w\" width=\"" +
        std::u16string(platform::Utf8ToWide(std::to_string(width))) + u"\" height=\"" +
        std::u16string(platform::Utf8ToWide(std::to_string(height))) + u"\">" + std::u16string(controls) +
        u"</duwindow></ducontrol></redudizu>\r\n";
    ZipBuilder zip;
    zip.Add("config.xml", Utf16File(description));
    zip.Add("ico.png", IconPng());
    package_ = zip.Finish();
    manager_ = LoadSkinFromMemory(package_.data(), static_cast<int64_t>(package_.size()));

    win::WindowClass wc;
    wc.proc = &SkinWindow::HostProc;
    wc.name = u"ControlsTestHost";
    win::RegisterClass(wc);
    host_ = win::CreateWindowEx(0, u"ControlsTestHost", u"", win::WS_POPUP | win::WS_VISIBLE, 100, 100, width,
                                height, win::Window{}, 0, 0, nullptr);
    attached_ = manager_ && AttachWindow(manager_.get(), host_, u"w") != 0;
}

SkinWindow::~SkinWindow() {
    if (win::IsWindow(host_)) win::DestroyWindow(host_);
    harness_.reset();
    manager_.reset();
    g_current = nullptr;
    UninitUILibrary();
}

intptr_t SkinWindow::HostProc(win::Window w, uint32_t msg, uintptr_t wp, intptr_t lp) {
    if (msg == kNotifyMessage && g_current && lp) {
        const auto* record = reinterpret_cast<const NotificationRecord*>(lp);
        const auto* plugin = reinterpret_cast<duPlugin*>(wp);
        Notification n{plugin->GetName(), record->code, record->first, record->second};
        if (g_current->onAnyNotify) g_current->onAnyNotify(n);
        if (record->code < kNotifyBtnClick) return 0;
        g_current->notifications.push_back(n);
        if (g_current->onNotify) g_current->onNotify(n);
        return g_current->answer;
    }
    return win::DefWindowProc(w, msg, wp, lp);
}

duPlugin* SkinWindow::Find(std::u16string_view name) const {
    const std::u16string key(name);
    return FindPlugin(host_, key.c_str());
}

void SkinWindow::MouseIn(duPlugin* p) { DispatchPluginMessage(p, kPluginMouseIn, 0, Center(p)); }
void SkinWindow::MouseLeave(duPlugin* p) { DispatchPluginMessage(p, kPluginMouseLeave, 0, win::MakeLParam(0, 0)); }
void SkinWindow::MouseDown(duPlugin* p) { DispatchPluginMessage(p, kPluginMouseLDown, 0, Center(p)); }
void SkinWindow::MouseUp(duPlugin* p) { DispatchPluginMessage(p, kPluginMouseLUp, 0, Center(p)); }
void SkinWindow::MouseMove(duPlugin* p, int x, int y) {
    DispatchPluginMessage(p, kPluginMouseMove, 0, win::MakeLParam(x, y));
}
void SkinWindow::Timer(duPlugin* p, uint32_t id) { DispatchPluginMessage(p, kPluginTimer, id, 0); }

gfx::Bitmap SkinWindow::Paint(duPlugin* p, uint32_t background) {
    gfx::Rect r;
    p->GetRect(&r);
    gfx::Bitmap out(r.width(), r.height());
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) out.set_pixel(x, y, background);
    gfx::DrawContext dc(out);
    p->DrawObject(dc);
    return out;
}

}  // namespace vexlo::ui::testing
