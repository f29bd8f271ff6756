// Classes, creation and destruction, the handle's data (user data, properties, extra
// bytes) and checked handles.
#include "platform/win/tooltip.h"
#include "tests/win/test_windows.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace vexlo::win {
namespace {

using ::testing::ElementsAre;
using testing::TestWindows;

class LifecycleTest : public ::testing::Test {
protected:
    headless::HeadlessHarness h;
    TestWindows windows;
};

TEST_F(LifecycleTest, RegisteringAnExistingClassFailsWithAlreadyExists) {
    WindowClass c;
    c.proc = DefWindowProc;
    c.name = u"Twice";
    EXPECT_NE(RegisterClass(c), 0);
    SetLastError(0);
    EXPECT_EQ(RegisterClass(c), 0);
    EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
    // Class names compare without regard to case; another instance has its own classes.
    c.name = u"TWICE";
    EXPECT_EQ(RegisterClass(c), 0);
    c.instance = 7;
    EXPECT_NE(RegisterClass(c), 0);

    WindowClass found;
    EXPECT_TRUE(GetClassInfo(0, TOOLTIPS_CLASS, &found));  // a system class, no instance
    EXPECT_FALSE(GetClassInfo(0, u"NoSuchClass", &found));
}

TEST_F(LifecycleTest, CreationSendsTheTargetsMessagesInOrder) {
    Window hidden = windows.Create(WS_POPUP, {0, 0, 10, 10});
    ASSERT_TRUE(hidden);
    // A hidden window is not shown, activated or focused.
    EXPECT_THAT(h.log().Delivered(hidden), ElementsAre(WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE));

    Window shown = windows.Popup({10, 20, 110, 70});
    ASSERT_TRUE(shown);
    EXPECT_THAT(h.log().Delivered(shown, {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                                          WM_WINDOWPOSCHANGING, WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE,
                                          WM_SETFOCUS, WM_WINDOWPOSCHANGED}),
                ElementsAre(WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_SIZE, WM_MOVE, WM_SHOWWINDOW,
                            WM_WINDOWPOSCHANGING, WM_ACTIVATEAPP, WM_NCACTIVATE, WM_ACTIVATE, WM_SETFOCUS,
                            WM_WINDOWPOSCHANGED));
    EXPECT_EQ(GetActiveWindow(), shown);
    EXPECT_EQ(GetFocus(), shown);
    gfx::Rect r;
    GetWindowRect(shown, &r);
    EXPECT_EQ(r, (gfx::Rect{10, 20, 110, 70}));
}

TEST_F(LifecycleTest, CreationParameterReachesBothCreateMessages) {
    struct Seen {
        void* nc = nullptr;
        void* create = nullptr;
    };
    static Seen seen;
    seen = {};
    WindowClass c;
    c.name = u"ParamClass";
    c.proc = [](Window w, uint32_t m, uintptr_t wp, intptr_t lp) -> intptr_t {
        if (m == WM_NCCREATE) seen.nc = reinterpret_cast<CreateStruct*>(lp)->createParams;
        if (m == WM_CREATE) seen.create = reinterpret_cast<CreateStruct*>(lp)->createParams;
        return DefWindowProc(w, m, wp, lp);
    };
    ASSERT_NE(RegisterClass(c), 0);
    int param = 0;
    Window w = CreateWindowEx(0, u"ParamClass", u"", WS_POPUP, 0, 0, 5, 5, Window{}, 0, 0, &param);
    ASSERT_TRUE(w);
    EXPECT_EQ(seen.nc, &param);
    EXPECT_EQ(seen.create, &param);
}

TEST_F(LifecycleTest, RefusedCreationGivesNoWindowAndStillEndsWithNcDestroy) {
    struct Case {
        uint32_t refuse;
        intptr_t answer;
        std::vector<uint32_t> expected;
    };
    const Case cases[] = {
        {WM_NCCREATE, 0, {WM_NCCREATE, WM_NCDESTROY}},
        {WM_CREATE, -1, {WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, WM_DESTROY, WM_NCDESTROY}},
    };
    for (const Case& c : cases) {
        h.log().Clear();
        Window seen;
        Window w = windows.Create(WS_POPUP | WS_VISIBLE, {0, 0, 10, 10},
                                  [&](Window self, uint32_t m, uintptr_t, intptr_t) -> std::optional<intptr_t> {
                                      seen = self;
                                      if (m == c.refuse) return c.answer;
                                      return std::nullopt;
                                  });
        EXPECT_FALSE(w);
        EXPECT_FALSE(IsWindow(seen));
        EXPECT_EQ(h.log().Delivered(seen), c.expected) << "refusing " << c.refuse;
    }
}

TEST_F(LifecycleTest, DestroyOrderIsParentFirstForDestroyAndChildrenFirstForNcDestroy) {
    std::vector<std::pair<Window, uint32_t>> order;
    auto record = [&](Window w, uint32_t m, uintptr_t, intptr_t) -> std::optional<intptr_t> {
        if (m == WM_DESTROY || m == WM_NCDESTROY) order.emplace_back(w, m);
        return std::nullopt;
    };
    Window parent = windows.Popup({100, 100, 300, 300}, record);
    Window child = windows.Create(WS_CHILD | WS_VISIBLE, {10, 10, 50, 50}, record, parent);
    Window grandchild = windows.Create(WS_CHILD | WS_VISIBLE, {1, 1, 5, 5}, record, child);
    ASSERT_TRUE(grandchild);
    EXPECT_TRUE(IsChild(parent, grandchild));

    EXPECT_TRUE(DestroyWindow(parent));
    EXPECT_THAT(order, ElementsAre(std::pair{parent, WM_DESTROY}, std::pair{child, WM_DESTROY},
                                   std::pair{grandchild, WM_DESTROY}, std::pair{grandchild, WM_NCDESTROY},
                                   std::pair{child, WM_NCDESTROY}, std::pair{parent, WM_NCDESTROY}));
    for (Window w : {parent, child, grandchild}) EXPECT_FALSE(IsWindow(w));
    EXPECT_FALSE(DestroyWindow(parent));  // a dead handle is simply invalid
    EXPECT_EQ(GetWindowLongPtr(parent, GWLP_USERDATA), 0);
    EXPECT_FALSE(PostMessage(parent, WM_USER, 0, 0));
}

TEST_F(LifecycleTest, DestroyingAnOwnerDestroysWhatItOwnsFirst) {
    std::vector<std::pair<Window, uint32_t>> order;
    auto record = [&](Window w, uint32_t m, uintptr_t, intptr_t) -> std::optional<intptr_t> {
        if (m == WM_DESTROY || m == WM_NCDESTROY) order.emplace_back(w, m);
        return std::nullopt;
    };
    Window owner = windows.Popup({100, 100, 300, 300}, record);
    Window owned = windows.Create(WS_POPUP | WS_VISIBLE, {400, 100, 450, 150}, record, owner);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
    EXPECT_EQ(GetParent(owned), owner);  // GetParent gives the owner of a popup

    EXPECT_TRUE(DestroyWindow(owner));
    EXPECT_THAT(order, ElementsAre(std::pair{owned, WM_DESTROY}, std::pair{owned, WM_NCDESTROY},
                                   std::pair{owner, WM_DESTROY}, std::pair{owner, WM_NCDESTROY}));
    EXPECT_FALSE(IsWindow(owned));
}

TEST_F(LifecycleTest, WindowDataStaysUntilNcDestroyAndDiesWithTheHandle) {
    intptr_t seenAtNcDestroy = -1;
    intptr_t propAtNcDestroy = -1;
    Window w = windows.Popup({0, 0, 10, 10}, [&](Window self, uint32_t m, uintptr_t, intptr_t) -> std::optional<intptr_t> {
        if (m == WM_NCDESTROY) {
            seenAtNcDestroy = GetWindowLongPtr(self, GWLP_USERDATA);
            propAtNcDestroy = GetProp(self, u"sysplugin");
        }
        return std::nullopt;
    });
    EXPECT_EQ(SetWindowLongPtr(w, GWLP_USERDATA, 1234), 0);
    EXPECT_EQ(GetWindowLongPtr(w, GWLP_USERDATA), 1234);
    EXPECT_EQ(SetWindowLongPtr(w, 8, 99), 0);  // the class's extra bytes
    EXPECT_EQ(GetWindowLongPtr(w, 8), 99);
    SetLastError(0);
    EXPECT_EQ(GetWindowLongPtr(w, 16), 0);  // past the 16 extra bytes
    EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);

    const intptr_t pointer = reinterpret_cast<intptr_t>(&h);
    EXPECT_TRUE(SetProp(w, u"SYSPLUGIN", pointer));
    EXPECT_EQ(GetProp(w, u"SysPlugin"), pointer);  // names compare without case
    EXPECT_TRUE(SetProp(w, u"WndX", 5));
    EXPECT_EQ(RemoveProp(w, u"WndX"), 5);
    EXPECT_EQ(GetProp(w, u"WndX"), 0);

    DestroyWindow(w);
    EXPECT_EQ(seenAtNcDestroy, 1234);
    EXPECT_EQ(propAtNcDestroy, pointer);
    EXPECT_EQ(GetProp(w, u"SYSPLUGIN"), 0);
}

TEST_F(LifecycleTest, ReusedSlotsGetNewGenerations) {
    Window first = windows.Popup({0, 0, 10, 10});
    DestroyWindow(first);
    Window second = windows.Popup({0, 0, 10, 10});
    EXPECT_EQ(first.slot(), second.slot());
    EXPECT_NE(first, second);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(IsWindow(second));
    EXPECT_FALSE(IsWindow(HWND_BOTTOM));
    EXPECT_FALSE(IsWindow(HWND_TOPMOST));
}

TEST(LifecycleAcrossSystems, HandlesOfAnEarlierSystemAreNotWindowsOfALaterOne) {
    Window old;
    {
        headless::HeadlessHarness first;
        TestWindows windows;
        old = windows.Popup({0, 0, 10, 10});
        ASSERT_TRUE(IsWindow(old));
    }
    headless::HeadlessHarness second;
    TestWindows windows;
    Window fresh = windows.Popup({0, 0, 10, 10});
    EXPECT_EQ(fresh.slot(), old.slot());
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(SendMessage(old, WM_USER, 0, 0), 0);
}

TEST_F(LifecycleTest, SubclassingReplacesTheProcedureAndTheOldOneCanBeRestored) {
    static WindowProc previous = nullptr;
    static std::vector<uint32_t> seenBySubclass;
    seenBySubclass.clear();
    std::vector<uint32_t> seenByOriginal;
    Window w = windows.Popup({0, 0, 10, 10}, [&](Window, uint32_t m, uintptr_t, intptr_t) -> std::optional<intptr_t> {
        if (m >= WM_USER) seenByOriginal.push_back(m);
        if (m == WM_USER + 1) return 11;
        return std::nullopt;
    });
    const WindowProc subclass = [](Window self, uint32_t m, uintptr_t wp, intptr_t lp) -> intptr_t {
        if (m >= WM_USER) seenBySubclass.push_back(m);
        if (m == WM_USER + 2) return 22;  // handled here alone
        return CallWindowProc(previous, self, m, wp, lp);
    };
    previous = reinterpret_cast<WindowProc>(SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<intptr_t>(subclass)));
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(SendMessage(w, WM_USER + 1, 0, 0), 11);
    EXPECT_EQ(SendMessage(w, WM_USER + 2, 0, 0), 22);
    EXPECT_THAT(seenBySubclass, ElementsAre(WM_USER + 1, WM_USER + 2));
    EXPECT_THAT(seenByOriginal, ElementsAre(WM_USER + 1));

    SetWindowLongPtr(w, GWLP_WNDPROC, reinterpret_cast<intptr_t>(previous));
    EXPECT_EQ(SendMessage(w, WM_USER + 2, 0, 0), 0);
    EXPECT_EQ(seenBySubclass.size(), 2u);
}

TEST_F(LifecycleTest, ClassStyleChangesReachEveryWindowOfTheClass) {
    Window a = windows.Popup({0, 0, 10, 10});
    Window b = windows.Popup({20, 0, 30, 10});
    EXPECT_EQ(GetClassLongPtr(a, GCL_STYLE) & CS_DBLCLKS, 0u);
    SetClassLongPtr(a, GCL_STYLE, GetClassLongPtr(a, GCL_STYLE) | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
    EXPECT_NE(GetClassLongPtr(b, GCL_STYLE) & CS_DBLCLKS, 0u);
    EXPECT_EQ(GetClassName(b), TestWindows::kClass);
}

TEST_F(LifecycleTest, StyleChangesAreAnnouncedAndTheTopmostBitIsLeftToSetWindowPos) {
    Window w = windows.Popup({0, 0, 10, 10});
    h.log().Clear();
    const intptr_t old = SetWindowLongPtr(w, GWL_EXSTYLE, WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    EXPECT_EQ(old, 0);
    EXPECT_EQ(static_cast<uint32_t>(GetWindowLongPtr(w, GWL_EXSTYLE)), WS_EX_TOOLWINDOW);
    EXPECT_THAT(h.log().Delivered(w), ElementsAre(WM_STYLECHANGING, WM_STYLECHANGED));
}

}  // namespace
}  // namespace vexlo::win
