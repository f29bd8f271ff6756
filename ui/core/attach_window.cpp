// Attaching a skin window to a host window, the window table, and the operations of the
// window manager that act on windows.
#include <string>

#include "platform/base/debug_output.h"
#include "platform/base/text.h"
#include "platform/win/tooltip.h"
#include "platform/win/window_api.h"
#include "ui/core/du_window.h"
#include "ui/core/painting.h"
#include "ui/core/plugin_factory.h"
#include "ui/core/plugin_functions.h"
#include "ui/core/plugin_tree.h"
#include "ui/core/window_manager.h"
#include "ui/core/window_proc.h"
#include "ui/core/window_record.h"

namespace vexlo::ui {
namespace {

using namespace win;

EditFontRefresher& Refresher() {
    static EditFontRefresher refresher = nullptr;
    return refresher;
}

// Moves and sizes a window to its skin size; -1 centres it in the work area.
void PlaceInitially(Window host, const duWindow& root) {
    const int w = root.GetPosWidth(), h = root.GetPosHeight();
    if (w <= 0 || h <= 0) return;
    const gfx::Rect work = GetWorkArea();
    // The work area's origin counts: with a task bar on the left or top it is not (0, 0).
    const int x = root.GetX() == -1 ? work.left + (work.width() - w) / 2 : root.GetX();
    const int y = root.GetY() == -1 ? work.top + (work.height() - h) / 2 : root.GetY();
    SetWindowPos(host, Window(), x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
}

void AdaptHostWindow(Window host, WindowRecord& record) {
    SetClassLongPtr(host, GCL_STYLE, GetClassLongPtr(host, GCL_STYLE) | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    auto style = static_cast<uint32_t>(GetWindowLongPtr(host, GWL_STYLE));
    style &= ~(WS_CAPTION | WS_DLGFRAME | WS_THICKFRAME);
    style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    SetWindowLongPtr(host, GWL_STYLE, static_cast<intptr_t>(style));
    auto ex = static_cast<uint32_t>(GetWindowLongPtr(host, GWL_EXSTYLE));
    ex &= ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE);
    SetWindowLongPtr(host, GWL_EXSTYLE, static_cast<intptr_t>(ex));
    record.previousProc = reinterpret_cast<WindowProc>(
        SetWindowLongPtr(host, GWLP_WNDPROC, reinterpret_cast<intptr_t>(&LibraryWindowProc)));
    SetWindowPos(host, Window(), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

}  // namespace

void SetEditFontRefresher(EditFontRefresher refresher) { Refresher() = refresher; }

int duWindowManager::AttachWindow(Window host, const char16_t* name) {
    if (!IsWindow(host) || !name) return 0;
    // A window is attached once; a second record would orphan the first.
    if (GetWindowRecord(host)) return 0;
    ElementRef element = FindWindowElement(name);
    if (!element) return 0;
    auto record = std::make_unique<WindowRecord>();
    record->windowManager = this;
    ObjectPtr<duPlugin> root = CreatePluginByType(element.element.Name());
    if (!root) return 0;
    SetProp(host, kRecordProperty, reinterpret_cast<intptr_t>(record.get()));
    record->hostWindow = host;
    root->SetZorder(0);
    BuildPluginTree(root.get(), element, record.get());
    record->zorder = std::make_unique<duZorderList>(root.get());
    if (!record->zorder->root()) {
        // Without a root nothing of the host window is changed.
        RemoveProp(host, kRecordProperty);
        for (duPlugin* c = root->GetFirstChild(); c;) {
            duPlugin* next = c->GetNextSibling();
            DestroyPluginTree(c);
            c = next;
        }
        return 0;
    }
    auto* window = static_cast<duWindow*>(root.release());  // the record's z-order list holds the tree now
    WindowRecord* r = record.release();  // owned by the host window until its final destroy message
    {
        DispatchScope scope;
        const std::vector<duPlugin*> order = r->zorder->FrontToBack();
        for (duPlugin* p : order) RegisterPluginName(*r, *p);
        std::vector<PluginRef> refs(order.begin(), order.end());
        for (const PluginRef& ref : refs) {
            if (r->destroyed) return 0;
            if (duPlugin* p = ref.get()) p->OnCreate();
        }
        if (r->destroyed) return 0;
        if (!IsWindow(host)) {
            // A control's OnCreate destroyed the host before the library's procedure was
            // installed: nothing else will take the record down.
            DestroyWindowRecord(r);
            return 0;
        }
        AdaptHostWindow(host, *r);
        SetWindowFrameName(host, platform::WideToUtf8(name));
        windows_[host] = r;
        if (window->GetPosWidth() > 0 && window->GetPosHeight() > 0) {
            PlaceInitially(host, *window);
        } else {
            // Not placed: the tree takes the host window's own client area rather than
            // staying empty until the first size change.
            window->Resize(nullptr);
        }
        if (IsLayeredWindow(host)) PaintWindow(r, nullptr);
        r->tooltip = CreateWindowEx(0, TOOLTIPS_CLASS, u"", WS_POPUP, 0, 0, 0, 0, host, 0, 0, nullptr);
        if (r->tooltip) SetWindowPos(r->tooltip, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    return 1;
}

void duWindowManager::AddWindow(Window host, WindowRecord* record) { windows_[host] = record; }

void duWindowManager::RemoveWindow(Window host) { windows_.erase(host); }

WindowRecord* duWindowManager::FindWindowRecord(Window host) const {
    auto it = windows_.find(host);
    return it != windows_.end() ? it->second : nullptr;
}

Window duWindowManager::GetWindowByIndex(int32_t index) const {
    if (index < 0 || index >= GetWindowCount()) return {};
    auto it = windows_.begin();
    std::advance(it, index);
    return it->first;
}

int duWindowManager::CallScriptFunction(const char16_t* name, int32_t count, com::Variant* args) {
    if (!script_ || !name || !*name || count < 0 || (count > 0 && !args)) return 0;
    return script_->CallScriptFunction(name, std::span<com::Variant>(args, static_cast<size_t>(count)));
}

void duWindowManager::DebugString(const char16_t* text) {
    std::u16string line = text ? text : u"";
    line += u"\r\n";
    platform::OutputDebugText(line);
}

int duWindowManager::ShowSkinWindow(Window window, int command) {
    if (command == SW_SHOWMINIMIZED || command == SW_MINIMIZE) {
        PostMessage(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return 1;
    }
    if (command == SW_SHOWMAXIMIZED) {
        PostMessage(window, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        return 1;
    }
    return ShowWindow(window, command) ? 1 : 0;
}

int duWindowManager::CloseSkinWindow(Window window) { return PostMessage(window, WM_CLOSE, 0, 0) ? 1 : 0; }

void duWindowManager::ExitApplication(int exitCode) { PostQuitMessage(exitCode); }

int duWindowManager::MoveSkinWindow(Window window, Window insertAfter, int x, int y, int width, int height,
                                    uint32_t flags) {
    return SetWindowPos(window, insertAfter, x, y, width, height, flags) ? 1 : 0;
}

int duWindowManager::Redraw(duPlugin* plugin) { return RedrawPlugin(plugin, 1); }

void duWindowManager::OnSkinReplaced() {
    EditFontRefresher refresher = Refresher();
    if (!refresher) return;
    std::vector<PluginRef> edits;
    for (const auto& [host, record] : windows_) {
        if (!record || record->destroyed || !record->zorder) continue;
        for (duPlugin* p : SubtreeBreadthFirst(record->zorder->root())) {
            if (p->TypeIs(u"edit")) edits.emplace_back(p);
        }
    }
    for (const PluginRef& ref : edits) {
        if (duPlugin* p = ref.get()) refresher(p, GetResManager());
    }
}

int AttachWindow(duWindowManager* manager, Window host, const char16_t* name) {
    if (!manager || !IsWindow(host) || !name) return 0;
    return manager->AttachWindow(host, name);
}

void ReleaseWindowManager(duWindowManager* manager) {
    if (manager) manager->Delete();
}

}  // namespace vexlo::ui
