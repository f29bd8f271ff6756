#include "ui/core/du_window.h"

#include <algorithm>

#include "platform/win/window_api.h"
#include "ui/core/plugin_factory.h"
#include "ui/core/region_resource.h"
#include "ui/core/window_manager.h"
#include "ui/core/window_record.h"

namespace vexlo::ui {

// The system command that starts a caption drag (a move with the low bits the target
// uses for one started from the client area).
inline constexpr uintptr_t kCaptionDragCommand = 61465;

void duWindow::RegisterControlProperty() {
    duPropertyGroup* g = propertyGroup();
    if (!g) return;
    g->AddProperty(kPropertyInt, 0, u"captionheight", &captionHeight_);
    g->AddProperty(kPropertyInt, 0, u"minwidth", &minWidth_);
    g->AddProperty(kPropertyInt, 0, u"minheight", &minHeight_);
    g->AddProperty(kPropertyInt, 0, u"maxwidth", &maxWidth_);
    g->AddProperty(kPropertyInt, 0, u"maxheight", &maxHeight_);
    g->AddProperty(kPropertyInt, 0, u"x", &x_);
    g->AddProperty(kPropertyInt, 0, u"y", &y_);
    g->AddProperty(kPropertyInt, 0, u"bordersize", &borderSize_);
    g->AddProperty(kPropertyText, 0, u"rgn", TextField(rgn_));
    g->AddProperty(kPropertyBool, 0, u"layered", &layered_);
}

void duWindow::OnCreate() {
    SetCached(1);
    if (layered_) {
        const win::Window host = GetHwnd();
        const auto ex = static_cast<uint32_t>(win::GetWindowLongPtr(host, win::GWL_EXSTYLE));
        win::SetWindowLongPtr(host, win::GWL_EXSTYLE, static_cast<intptr_t>(ex | win::WS_EX_LAYERED));
    }
}

void duWindow::DrawObject(gfx::DrawContext& dc) { DrawPluginStyle(*this, dc); }

gfx::Rect duWindow::CaptionRect() const {
    gfx::Rect client;
    win::GetClientRect(GetHwnd(), &client);
    return {client.left - borderSize_ + captionLeft_, captionTop_, client.right + borderSize_ - captionRight_,
            captionHeight_};
}

void duWindow::OnMouseLDown(int32_t x, int32_t y) {
    const win::Window host = GetHwnd();
    if (captionHeight_ == 0 || !CaptionRect().Contains(x, y) || win::IsZoomed(host)) return;
    if (win::GetCapture() == host) win::ReleaseCapture();
    gfx::Point screen{x, y};
    win::ClientToScreen(host, &screen);
    win::SendMessage(host, win::WM_SYSCOMMAND, kCaptionDragCommand, win::MakeLParam(screen.x, screen.y));
}

int32_t BorderHitTest(int32_t x, int32_t y, int32_t w, int32_t h, int32_t b) {
    if (b <= 0 || x < 0 || y < 0 || x >= w || y >= h) return win::HTCLIENT;
    const bool top = y < b, bottom = y >= h - b, left = x < b, right = x >= w - b;
    if (top && left) return win::HTTOPLEFT;
    if (top && right) return win::HTTOPRIGHT;
    if (bottom && left) return win::HTBOTTOMLEFT;
    if (bottom && right) return win::HTBOTTOMRIGHT;
    if (top) return win::HTTOP;
    if (left) return win::HTLEFT;
    if (right) return win::HTRIGHT;
    if (bottom) return win::HTBOTTOM;
    return win::HTCLIENT;
}

int32_t duWindow::HitTest(int32_t x, int32_t y) {
    gfx::Rect client;
    win::GetClientRect(GetHwnd(), &client);
    lastHitTest_ = BorderHitTest(x, y, client.width(), client.height(), borderSize_);
    return lastHitTest_;
}

void duWindow::FillMinMaxInfo(win::MinMaxInfo& info) const {
    const gfx::Rect work = win::GetWorkArea();
    // A size limit of 0 (the attribute left out) means no limit beyond the work area.
    auto limit = [](int32_t wanted, int32_t available) { return wanted > 0 ? std::min(wanted, available) : available; };
    info.minTrackSize = {minWidth_, minHeight_};
    const gfx::Point largest{limit(maxWidth_, work.width()), limit(maxHeight_, work.height())};
    info.maxSize = largest;
    info.maxTrackSize = largest;
}

void duWindow::ApplyRegion() {
    const win::Window host = GetHwnd();
    if (rgn_.empty() || layered_) return;
    WindowRecord* record = GetWindowRecord(host);
    if (!record || !record->windowManager || !record->windowManager->GetResManager()) return;
    auto* rgn = static_cast<duRgn*>(record->windowManager->GetResManager()->GetResObj(rgn_.c_str(), kResRegion));
    if (!rgn) return;
    gfx::Rect client;
    win::GetClientRect(host, &client);
    if (auto region = rgn->GetRegion(client.width(), client.height())) win::SetWindowRgn(host, std::move(region), true);
}

}  // namespace vexlo::ui
