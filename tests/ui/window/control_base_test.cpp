// The control base without a window: anchor layout, state derivation, z-order layers,
// wildcard matching, border hit codes and references that outlive their control.
#include <gtest/gtest.h>

#include "ui/core/du_window.h"
#include "ui/core/attribute_values.h"
#include "ui/core/library.h"
#include "ui/core/plugin.h"
#include "ui/core/plugin_factory.h"
#include "ui/core/plugin_registry.h"
#include "ui/core/state.h"
#include "ui/core/wildcard.h"
#include "ui/core/zorder_list.h"

namespace vexlo::ui {
namespace {

struct AxisCase {
    const char* what;
    int32_t pl, pr, left, right, size, anchor;
    int32_t first, second;
};

TEST(AnchorLayout, EveryModeOfOneAxis) {
    const AxisCase cases[] = {
        {"stretch from the right edge", 0, 198, -20, 0, 1, 2, 178, 198},
        {"percentage reaching past the parent", 6, 192, 6, 0, 100, 1, 12, 198},
        {"centred fixed size", 0, 100, kCenterPosition, 0, 40, 0, 30, 70},
        {"centred percentage", 0, 100, kCenterPosition, 0, 50, 1, 25, 75},
        {"centred stretch keeps equal margins", 0, 100, kCenterPosition, 10, 0, 2, 10, 90},
        {"negative right counts from the left edge", 0, 100, 0, -10, 0, 2, 0, 10},
        {"fixed takes a negative left as is", 10, 100, -5, 0, 20, 3, 5, 25},
        {"fixed size from the right edge", 0, 100, -30, 0, 20, 0, 70, 90},
        {"fixed size from the left edge", 4, 100, 6, 0, 20, 0, 10, 30},
        {"percentage truncates toward zero", 0, 99, 0, 0, 50, 1, 0, 49},
        {"stretch with margins", 6, 192, 6, 6, 0, 2, 12, 186},
    };
    for (const AxisCase& c : cases) {
        AnchorSpan s = LayoutAxis(c.pl, c.pr, c.left, c.right, c.size, c.anchor, {0, 0});
        EXPECT_EQ(s.first, c.first) << c.what;
        EXPECT_EQ(s.second, c.second) << c.what;
    }
    AnchorSpan kept = LayoutAxis(0, 100, 5, 5, 5, 5, {7, 9});
    EXPECT_EQ(kept.first, 7) << "an unknown anchor keeps the edges";
    EXPECT_EQ(kept.second, 9);
    AnchorSpan huge = LayoutAxis(INT32_MAX - 1, INT32_MAX, INT32_MAX, 0, INT32_MAX, 3, {0, 0});
    EXPECT_EQ(huge.second, INT32_MAX) << "hostile offsets saturate";
}

TEST(ControlState, DisableAndFocusFoldIntoTheReportedState) {
    struct {
        uint32_t state;
        bool disabled, focused;
        uint32_t reported;
    } cases[] = {
        {kStateOver, true, false, kStateDisable},
        {kStateCheckedOver, true, false, kStateCheckedDisable},
        {kStateNormal, false, true, kStateFocus},
        {kStateOver, false, true, kStateOver},
        {kStateChecked, false, true, kStateCheckedFocus},
        {kStateCheckedOver, false, true, kStateCheckedOver},
        {kStatePress, false, false, kStatePress},
        {kStateCheckedAll, false, false, kStateCheckedAll},
    };
    for (const auto& c : cases) EXPECT_EQ(DeriveState(c.state, c.disabled, c.focused), c.reported) << c.state;
    duWindow w;
    w.SetState(kStateOver);
    w.SetDisable(1);
    EXPECT_EQ(w.GetState(), kStateDisable);
    EXPECT_EQ(w.stateField(), kStateOver) << "the field itself is untouched";
}

TEST(ControlFields, NamesAreCutAndNoneClears) {
    duWindow w;
    const std::u16string longName(200, u'n');
    w.SetName(longName.c_str());
    EXPECT_EQ(std::u16string_view(w.GetName()).size(), 127u);
    w.SetName(nullptr);
    EXPECT_EQ(std::u16string_view(w.GetName()), u"");
    w.SetText(nullptr);
    EXPECT_EQ(w.GetTextLength(), 0);
    gfx::Rect r{1, 2, 3, 4};
    w.SetRect(&r);
    w.SetRect(nullptr);
    gfx::Rect out;
    w.GetRect(&out);
    EXPECT_EQ(out, r);
    auto bitmap = std::make_unique<gfx::Bitmap>(2, 2);
    w.SetCacheBitmap(std::move(bitmap));
    EXPECT_EQ(w.GetCacheBitmap()->width(), 2);
    w.SetCacheBitmap(std::make_unique<gfx::Bitmap>(3, 3));
    EXPECT_EQ(w.GetCacheBitmap()->width(), 3);
}

class Layers : public ::testing::Test {
protected:
    void SetUp() override { InitUILibrary(); }
    void TearDown() override {
        DestroyPluginTree(root_.release());
        UninitUILibrary();
    }
    duPlugin* Add(duPlugin* parent, int32_t z, const char16_t* name) {
        duPlugin* p = CreatePluginByType(u"static").release();
        p->SetName(name);
        p->SetZorder(z);
        parent->AppendChild(p);
        return p;
    }
    ObjectPtr<duPlugin> root_ = CreatePluginByType(u"duwindow");
};

TEST_F(Layers, SortFrontFirstWithNegativeValuesInFrontOfEveryPositiveOne) {
    root_->SetType(u"duwindow");
    duPlugin* a = Add(root_.get(), 1, u"a");
    duPlugin* b = Add(root_.get(), -1, u"b");
    duPlugin* c = Add(a, 2, u"c");
    duPlugin* d = Add(root_.get(), 1, u"d");
    duZorderList list(root_.get());
    ASSERT_EQ(list.layers().size(), 4u);
    EXPECT_EQ(list.layers()[0].zorder, -1);
    EXPECT_EQ(list.layers()[1].zorder, 2);
    EXPECT_EQ(list.layers()[2].zorder, 1);
    EXPECT_EQ(list.layers()[3].zorder, 0);
    EXPECT_EQ(list.FrontToBack(), (std::vector<duPlugin*>{b, c, d, a, root_.get()}))
        << "inside a layer from its last control to its first";

    EXPECT_EQ(RemoveFromLayer(b, &list), 1);
    EXPECT_EQ(list.layers().size(), 3u) << "an emptied layer goes";
    d->SetZorder(9);
    EXPECT_EQ(RemoveFromLayer(d, &list), 1) << "found in its old layer after its z-order changed";
    EXPECT_FALSE(list.Contains(d));
    EXPECT_EQ(RemoveFromLayer(d, &list), 0);
    (void)c;
}

TEST_F(Layers, ARootThatIsNotAWindowLeavesTheListEmpty) {
    duPlugin* child = Add(root_.get(), 1, u"x");
    duZorderList notWindow(child);
    EXPECT_EQ(notWindow.root(), nullptr);
    EXPECT_TRUE(notWindow.layers().empty());
}

TEST_F(Layers, AReferenceStaysDeadWhenANewControlTakesTheFreedAddress) {
    duPlugin* first = Add(root_.get(), 1, u"first");
    AddLivePlugin(first);
    PluginRef ref(first);
    EXPECT_TRUE(ref.alive());
    // Unlinked and freed; new controls are made until one lands on the same address.
    root_->SetFirstChild(nullptr);
    root_->SetLastChild(nullptr);
    const void* address = first;
    first->Delete();
    EXPECT_FALSE(ref.alive());
    std::vector<ObjectPtr<duPlugin>> made;
    for (int i = 0; i < 64 && made.empty(); ++i) {
        ObjectPtr<duPlugin> p = CreatePluginByType(u"static");
        if (static_cast<const void*>(p.get()) == address) {
            AddLivePlugin(p.get());
            EXPECT_TRUE(IsPluginValid(p.get()));
            EXPECT_FALSE(ref.alive()) << "the newcomer is not the control the reference was made from";
            EXPECT_EQ(ref.get(), nullptr);
            made.push_back(std::move(p));
        }
    }
}

TEST(Wildcard, StarsAndQuestionMarks) {
    struct {
        const char16_t* pattern;
        const char16_t* name;
        int match;
    } cases[] = {
        {u"*_btn", u"close_btn", 1}, {u"close?btn", u"closebtn", 1}, {u"c?t", u"cat", 1},
        {u"c?t", u"caat", 0},        {u"", u"", 1},                  {u"", u"a", 0},
        {u"*?", u"", 1},             {u"*?", u"anything", 1},        {u"Close_btn", u"close_btn", 0},
        {u"a*b*c", u"aXbYc", 1},     {u"a*b*c", u"aXbY", 0},         {u"??", u"a", 1},
        {u"install_*", u"install_btn", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MatchWildcard(c.pattern, c.name), c.match)
            << std::string(c.pattern, c.pattern + std::u16string_view(c.pattern).size());
    }
    EXPECT_EQ(MatchWildcard(nullptr, u"a"), 0);
    EXPECT_EQ(MatchWildcard(u"a", nullptr), 0);
}

TEST(BorderHitTest, CornersEdgesAndClient) {
    struct {
        int x, y, code;
    } cases[] = {{1, 1, 13},  {198, 1, 14}, {100, 1, 12}, {1, 50, 10}, {197, 50, 11},
                 {100, 98, 15}, {100, 50, 1}, {1, 98, 16},  {199, 99, 17}, {200, 50, 1}, {-1, 50, 1}};
    for (const auto& c : cases) EXPECT_EQ(BorderHitTest(c.x, c.y, 200, 100, 4), c.code) << c.x << "," << c.y;
    EXPECT_EQ(BorderHitTest(0, 0, 200, 100, 0), 1) << "no border, no sizing";
}

}  // namespace
}  // namespace vexlo::ui
