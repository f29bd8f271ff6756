// The window wrapper of the tray menu: registration, binding, routing, showing, closing,
// the end of the window, and the superclass form.
#include "platform/framework/window_wnd.h"
#include "platform/framework/wnd.h"
#include "platform/headless/harness.h"
#include "platform/win/tooltip.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vexlo::framework {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;

class MenuLike : public CWindowWnd {
public:
    explicit MenuLike(std::vector<std::string>* log) : log_(log) {}
    std::vector<uint32_t> messages;

protected:
    std::u16string_view ClassName() const override { return u"TrayMenuLike"; }
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        messages.push_back(message);
        if (message == win::WM_CREATE) log_->push_back("create");
        return CWindowWnd::OnMessage(message, wParam, lParam);
    }
    void OnWindowDestroyed(win::Window window) override {
        log_->push_back(win::GetWindowLongPtr(window, win::GWLP_USERDATA) == 0 ? "destroyed" : "destroyed, still bound");
        delete this;  // as the tray menu does
    }

private:
    std::vector<std::string>* log_;
};

TEST(WindowWndTest, TheObjectIsBoundFromCreationToItsEndAndMayDeleteItself) {
    headless::HeadlessHarness h;
    std::vector<std::string> log;
    auto* menu = new MenuLike(&log);
    const win::Window w = menu->Create(win::Window{}, u"", 0, 0, win::CW_USEDEFAULT, win::CW_USEDEFAULT,
                                       win::CW_USEDEFAULT, win::CW_USEDEFAULT);
    ASSERT_TRUE(w);
    EXPECT_EQ(menu->GetHandle(), w);
    EXPECT_EQ(win::GetWindowLongPtr(w, win::GWLP_USERDATA), reinterpret_cast<intptr_t>(menu));
    EXPECT_EQ(win::GetClassLongPtr(w, win::GCL_STYLE), 0u);
    EXPECT_THAT(menu->messages, Contains(win::WM_NCCREATE));

    // A second object of the class finds it registered: that is success too.
    std::vector<std::string> otherLog;
    auto* second = new MenuLike(&otherLog);
    ASSERT_TRUE(second->Create(win::Window{}, u"", win::WS_POPUP, 0, 0, 0, 10, 10));

    menu->Close(1);
    h.Pump();  // the posted close reaches the default handling, which destroys the window
    EXPECT_FALSE(win::IsWindow(w));
    EXPECT_THAT(log, ElementsAre("create", "destroyed"));
    EXPECT_EQ(win::GetWindowLongPtr(w, win::GWLP_USERDATA), 0);
    win::DestroyWindow(second->GetHandle());
}

TEST(WindowWndTest, ShowTakesTheFocusOnlyWhenAsked) {
    headless::HeadlessHarness h;
    std::vector<std::string> log;
    auto* menu = new MenuLike(&log);
    const win::Window w = menu->Create(win::Window{}, u"", win::WS_POPUP, 0, 0, 0, 10, 10);
    const win::Window other = win::CreateWindowEx(0, u"TrayMenuLike", u"", win::WS_POPUP | win::WS_VISIBLE, 50, 0, 10,
                                                  10, win::Window{}, 0, kModuleInstance, nullptr);
    ASSERT_EQ(win::GetActiveWindow(), other);
    menu->Show(true, false);
    EXPECT_TRUE(win::IsWindowVisible(w));
    EXPECT_EQ(win::GetActiveWindow(), other);
    menu->Show(true, true);
    EXPECT_EQ(win::GetActiveWindow(), w);
    menu->Show(false);
    EXPECT_FALSE(win::IsWindowVisible(w));
    win::DestroyWindow(w);
    win::DestroyWindow(other);
}

class TooltipLike : public CWindowWnd {
public:
    std::vector<uint32_t> messages;
    bool destroyed = false;
    win::WindowProc previous() const { return m_OldWndProc; }

protected:
    std::u16string_view ClassName() const override { return u"TooltipLike"; }
    std::u16string_view SuperclassName() const override { return win::TOOLTIPS_CLASS; }
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
        messages.push_back(message);
        return CWindowWnd::OnMessage(message, wParam, lParam);
    }
    void OnWindowDestroyed(win::Window) override { destroyed = true; }
};

TEST(WindowWndTest, ASuperclassKeepsTheObjectInItsPropertyAndPassesOnToTheBaseClass) {
    headless::HeadlessHarness h;
    TooltipLike tip;
    const win::Window w = tip.Create(win::Window{}, u"", win::WS_POPUP, 0, 0, 0, 10, 10);
    ASSERT_TRUE(w);
    win::WindowClass base;
    ASSERT_TRUE(win::GetClassInfo(0, win::TOOLTIPS_CLASS, &base));
    EXPECT_EQ(tip.previous(), base.proc);
    EXPECT_EQ(win::GetProp(w, u"WndX"), reinterpret_cast<intptr_t>(&tip));
    EXPECT_EQ(win::GetWindowLongPtr(w, win::GWLP_USERDATA), 0);
    // The base class's behaviour is there: it keeps tools.
    win::ToolInfo tool{0, w, 1, {0, 0, 5, 5}, u"x", 0};
    EXPECT_EQ(win::SendMessage(w, win::TTM_ADDTOOL, 0, reinterpret_cast<intptr_t>(&tool)), 1);
    EXPECT_EQ(win::SendMessage(w, win::TTM_GETTOOLCOUNT, 0, 0), 1);
    EXPECT_THAT(tip.messages, Contains(win::TTM_ADDTOOL));
    win::DestroyWindow(w);
    EXPECT_TRUE(tip.destroyed);
    EXPECT_FALSE(tip.GetHandle());
}

TEST(WindowWndTest, AMissingBaseClassFailsTheCreation) {
    headless::HeadlessHarness h;
    class Orphan : public CWindowWnd {
    protected:
        std::u16string_view ClassName() const override { return u"Orphan"; }
        std::u16string_view SuperclassName() const override { return u"NoSuchBase"; }
    } orphan;
    EXPECT_FALSE(orphan.Create(win::Window{}, u"", 0, 0, 0, 0, 1, 1));
}

}  // namespace
}  // namespace vexlo::framework
