#pragma once
// Containers that arrange their children: a layout (rows, columns, equal shares or a
// wrapping flow of its visible children, with an optional hover state over its whole
// rectangle) and a grid of fixed-size cells.
#include <cstdint>

#include "ui/core/plugin.h"

namespace vexlo::ui {

enum LayoutType : int32_t {
    kLayoutNone = 0,
    kLayoutRowFromLeft = 1,
    kLayoutRowFromRight = 2,
    kLayoutColumnFromTop = 3,
    kLayoutColumnFromBottom = 4,
    kLayoutEqualWidths = 5,
    kLayoutEqualHeights = 6,
    kLayoutFlow = 7,
};

class duLayout : public duPlugin {
public:
    ~duLayout() override;
    const char16_t* GetTypeName() const override { return u"duLayout"; }
    void Resize(const gfx::Rect* parent) override;
    void OnChildShow(duPlugin* child, int32_t visible) override;
    void OnChildResize(duPlugin* child) override;
    intptr_t OnWndProc(win::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void RegisterControlProperty() override;
    void OnCreate() override;
    void DrawObject(gfx::DrawContext& dc) override;

    int32_t GetLayoutType() const { return type_; }
    void SetLayoutType(int32_t v) { type_ = v; }
    int32_t GetStartX() const { return startX_; }
    void SetStartX(int32_t v) { startX_ = v; }
    int32_t GetStartY() const { return startY_; }
    void SetStartY(int32_t v) { startY_ = v; }
    int32_t GetXSpace() const { return xSpace_; }
    void SetXSpace(int32_t v) { xSpace_ = v; }
    int32_t GetYSpace() const { return ySpace_; }
    void SetYSpace(int32_t v) { ySpace_ = v; }
    // Places the visible children by the arrangement type; nothing for type 0 and
    // unknown types. The layout's own rectangle stays.
    void Rearrange();
    bool GetAlwaysHot() const { return alwaysHot_ != 0; }
    void SetAlwaysHot(bool v);

private:
    bool Arranges() const { return type_ >= kLayoutRowFromLeft && type_ <= kLayoutFlow; }
    void ArrangeRow(bool horizontal);
    void ArrangeFromFarEdge(bool horizontal);
    void ArrangeEqualShares(bool horizontal);
    void ArrangeFlow();

    int32_t type_ = kLayoutNone;
    int32_t startX_ = 0;
    int32_t startY_ = 0;
    int32_t xSpace_ = 0;
    int32_t ySpace_ = 0;
    int32_t alwaysHot_ = 0;
    bool hooked_ = false;
};

class duGridLayout : public duPlugin {
public:
    const char16_t* GetTypeName() const override { return u"duGridLayout"; }
    void RegisterControlProperty() override;
    void OnCreate() override;
    void DrawObject(gfx::DrawContext& dc) override;

    bool GetGrid() const { return grid_ != 0; }
    void SetGrid(bool v) { grid_ = v; }
    int32_t GetStartX() const { return startX_; }
    void SetStartX(int32_t v) { startX_ = v; }
    int32_t GetStartY() const { return startY_; }
    void SetStartY(int32_t v) { startY_ = v; }
    int32_t GetXSpace() const { return xSpace_; }
    void SetXSpace(int32_t v) { xSpace_ = v; }
    int32_t GetYSpace() const { return ySpace_; }
    void SetYSpace(int32_t v) { ySpace_ = v; }
    int32_t GetMaxCount() const { return maxCount_; }
    void SetMaxCount(int32_t v) { maxCount_ = v; }
    int32_t GetItemWidth() const { return itemWidth_; }
    void SetItemWidth(int32_t v) { itemWidth_ = v; }
    int32_t GetItemHeight() const { return itemHeight_; }
    void SetItemHeight(int32_t v) { itemHeight_ = v; }
    // Places the children in the cells (the first ones spanning two cells when there are
    // fewer children than cells), then lays the grid out again; nothing when there are
    // more children than cells.
    void ArrangeGrid();

private:
    int32_t grid_ = 0;
    int32_t startX_ = 0;
    int32_t startY_ = 0;
    int32_t xSpace_ = 0;
    int32_t ySpace_ = 0;
    int32_t maxCount_ = 0;
    int32_t itemWidth_ = 0;
    int32_t itemHeight_ = 0;
};

}  // namespace vexlo::ui
