// Arrangement arithmetic of the layouts and the grid, on control trees without a window:
// a root of 200 by 120 holds the container at (10, 10), 100 by 100.
#include <gtest/gtest.h>

#include <vector>

#include "ui/controls/layout.h"
#include "ui/controls/static_text.h"

namespace vexlo::ui {
namespace {

class Root : public duPlugin {
public:
    void RegisterControlProperty() override {}
    void OnCreate() override {}
    void DrawObject(gfx::DrawContext&) override {}
};

gfx::Rect RectOf(const duPlugin* p) {
    gfx::Rect r;
    p->GetRect(&r);
    return r;
}

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = new Root();
        const gfx::Rect whole{0, 0, 200, 120};
        root_->SetRect(&whole);
    }
    void TearDown() override { DestroyPluginTree(root_); }

    template <class T>
    T* AddContainer() {
        T* c = new T();
        c->SetPosLeft(10);
        c->SetPosTop(10);
        c->SetPosWidth(100);
        c->SetPosHeight(100);
        root_->AppendChild(c);
        return c;
    }
    duPlugin* AddChild(duPlugin* parent, int width, int height, bool visible = true) {
        auto* c = new duStatic();
        c->SetPosWidth(width);
        c->SetPosHeight(height);
        c->SetVisible(visible);
        parent->AppendChild(c);
        // A first layout by anchors gives every child its "own size".
        c->Resize(nullptr);
        return c;
    }

    Root* root_ = nullptr;
};

TEST_F(LayoutTest, TypeZeroLeavesChildrenToTheirAnchorsAndHidingMovesNothing) {
    auto* layout = AddContainer<duLayout>();
    layout->Resize(nullptr);
    duPlugin* a = AddChild(layout, 20, 10);
    duPlugin* b = AddChild(layout, 30, 10);
    b->SetPosLeft(40);
    layout->Resize(nullptr);
    EXPECT_EQ(RectOf(a), (gfx::Rect{10, 10, 30, 20}));
    EXPECT_EQ(RectOf(b), (gfx::Rect{50, 10, 80, 20}));
    a->SetVisible(0);
    layout->OnChildShow(a, 0);
    layout->Rearrange();
    EXPECT_EQ(RectOf(b), (gfx::Rect{50, 10, 80, 20}));
}

TEST_F(LayoutTest, RowsAndColumnsFromEitherEdgeSkipHiddenChildren) {
    struct Case {
        int type;
        int start;
        int space;
        // expected rectangles of the first and the third child (the second is hidden)
        gfx::Rect first;
        gfx::Rect third;
    } cases[] = {
        {kLayoutRowFromLeft, 5, 3, {15, 10, 35, 20}, {38, 10, 68, 25}},
        {kLayoutRowFromRight, 4, 2, {54, 10, 74, 20}, {76, 10, 106, 25}},
        {kLayoutColumnFromTop, 5, 3, {10, 15, 30, 25}, {10, 28, 40, 43}},
        {kLayoutColumnFromBottom, 4, 2, {10, 79, 30, 89}, {10, 91, 40, 106}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        auto* layout = AddContainer<duLayout>();
        layout->SetLayoutType(c.type);
        layout->SetStartX(c.start);
        layout->SetStartY(c.start);
        layout->SetXSpace(c.space);
        layout->SetYSpace(c.space);
        duPlugin* first = AddChild(layout, 20, 10);
        duPlugin* hidden = AddChild(layout, 25, 25, false);
        const gfx::Rect hiddenBefore = RectOf(hidden);
        duPlugin* third = AddChild(layout, 30, 15);
        layout->Resize(nullptr);
        EXPECT_EQ(RectOf(layout), (gfx::Rect{10, 10, 110, 110}));
        EXPECT_EQ(RectOf(first), c.first);
        EXPECT_EQ(RectOf(third), c.third);
        EXPECT_EQ(RectOf(hidden), hiddenBefore);
        // Showing the hidden child rearranges: it now takes its place between the two.
        hidden->SetVisible(1);
        layout->OnChildShow(hidden, 1);
        EXPECT_TRUE(RectOf(first) != c.first || RectOf(third) != c.third);
    }
}

TEST_F(LayoutTest, EqualSharesGiveTheRemainderToTheFirstChildren) {
    auto* row = AddContainer<duLayout>();
    row->SetLayoutType(kLayoutEqualWidths);
    std::vector<duPlugin*> kids{AddChild(row, 1, 10), AddChild(row, 1, 10), AddChild(row, 1, 10)};
    row->Resize(nullptr);
    EXPECT_EQ(RectOf(kids[0]), (gfx::Rect{10, 10, 44, 20}));
    EXPECT_EQ(RectOf(kids[1]), (gfx::Rect{44, 10, 77, 20}));
    EXPECT_EQ(RectOf(kids[2]), (gfx::Rect{77, 10, 110, 20}));

    auto* column = AddContainer<duLayout>();
    column->SetLayoutType(kLayoutEqualHeights);
    column->SetStartY(2);
    column->SetYSpace(5);
    duPlugin* top = AddChild(column, 10, 1);
    duPlugin* bottom = AddChild(column, 10, 1);
    column->Resize(nullptr);
    // (100 - 5 - 2) = 93 shared by two: 47 and 46.
    EXPECT_EQ(RectOf(top), (gfx::Rect{10, 12, 20, 59}));
    EXPECT_EQ(RectOf(bottom), (gfx::Rect{10, 64, 20, 110}));

    // No visible child: nothing to share, nothing divided by zero.
    auto* empty = AddContainer<duLayout>();
    empty->SetLayoutType(kLayoutEqualWidths);
    AddChild(empty, 10, 10, false);
    empty->Resize(nullptr);
}

TEST_F(LayoutTest, FlowWrapsBelowTheTallestBottomOfTheRow) {
    auto* flow = AddContainer<duLayout>();
    flow->SetLayoutType(kLayoutFlow);
    flow->SetStartX(2);
    flow->SetStartY(1);
    flow->SetXSpace(10);
    flow->SetYSpace(5);
    duPlugin* a = AddChild(flow, 40, 10);
    duPlugin* b = AddChild(flow, 40, 20);
    duPlugin* c = AddChild(flow, 40, 10);
    duPlugin* d = AddChild(flow, 40, 10);
    c->SetHorzAnchor(3);
    flow->Resize(nullptr);
    EXPECT_EQ(RectOf(a), (gfx::Rect{12, 11, 52, 21}));
    EXPECT_EQ(RectOf(b), (gfx::Rect{62, 11, 102, 31}));
    // 112 + 40 crosses 110: a new row at startx, yspace below the bottom 31.
    EXPECT_EQ(RectOf(c), (gfx::Rect{12, 36, 52, 46}));
    EXPECT_EQ(c->GetHorzAnchor(), 0);
    EXPECT_EQ(RectOf(d), (gfx::Rect{62, 36, 102, 46}));
}

TEST_F(LayoutTest, GridSpansTheFirstChildrenWhenCellsAreLeftOver) {
    auto* grid = AddContainer<duGridLayout>();
    grid->SetPosWidth(80);
    grid->SetMaxCount(4);
    grid->SetStartX(2);
    grid->SetStartY(3);
    grid->SetXSpace(5);
    grid->SetYSpace(4);
    grid->SetItemWidth(30);
    grid->SetItemHeight(20);
    duPlugin* a = AddChild(grid, 30, 20);
    duPlugin* b = AddChild(grid, 30, 20);
    duPlugin* c = AddChild(grid, 30, 20);
    grid->Resize(nullptr);
    grid->ArrangeGrid();
    EXPECT_EQ(RectOf(a), (gfx::Rect{12, 13, 77, 33}));  // two cells and the gap
    EXPECT_EQ(RectOf(b), (gfx::Rect{12, 37, 42, 57}));
    EXPECT_EQ(RectOf(c), (gfx::Rect{47, 37, 77, 57}));
}

TEST_F(LayoutTest, GridWithMoreChildrenThanCellsIsLeftAlone) {
    auto* grid = AddContainer<duGridLayout>();
    grid->SetMaxCount(1);
    grid->SetItemWidth(30);
    grid->SetItemHeight(20);
    grid->SetStartX(7);
    duPlugin* a = AddChild(grid, 30, 20);
    duPlugin* b = AddChild(grid, 30, 20);
    const gfx::Rect before = RectOf(a);
    grid->ArrangeGrid();
    EXPECT_EQ(a->GetPosLeft(), 0);
    EXPECT_EQ(b->GetPosLeft(), 0);
    EXPECT_EQ(RectOf(a), before);
}

}  // namespace
}  // namespace vexlo::ui
