#pragma once
// duZorderList: the controls of one skin window in layers, one layer per z-order value,
// front layer first. Painting walks it back to front, hit testing front to back.
#include <cstdint>
#include <deque>
#include <vector>

namespace vexlo::ui {

class duPlugin;

struct ZorderLayer {
    int32_t zorder = 0;
    std::vector<duPlugin*> controls;
};

class duZorderList {
public:
    duZorderList() = default;
    // Builds the list from the root, breadth first; a root whose type is not "duwindow"
    // leaves the list empty and without root.
    explicit duZorderList(duPlugin* root);
    virtual ~duZorderList() = default;
    duZorderList(const duZorderList&) = delete;
    duZorderList& operator=(const duZorderList&) = delete;

    duPlugin* root() const { return root_; }
    std::deque<ZorderLayer>& layers() { return layers_; }
    const std::deque<ZorderLayer>& layers() const { return layers_; }
    // Every control, front layer first, each layer from its last control to its first:
    // the order of hit testing and of the name and creation passes.
    std::vector<duPlugin*> FrontToBack() const;
    bool Contains(const duPlugin* plugin) const;

private:
    std::deque<ZorderLayer> layers_;
    duPlugin* root_ = nullptr;
};

// The controls a partial repaint draws, in layers like the window's list.
class duRedrawLayer : public duZorderList {};

// Whether layer value `a` lies in front of `b`: z-orders compare as unsigned 32-bit
// numbers, so a negative one is in front of every positive one.
constexpr bool ZorderInFront(int32_t a, int32_t b) { return static_cast<uint32_t>(a) > static_cast<uint32_t>(b); }

// Puts the control at the end of the layer of its current z-order (the layer is made in
// sorted position when missing).
void AddToLayer(duZorderList* list, duPlugin* plugin);
// Takes the control out of the layer of its current z-order; an emptied layer goes.
// 0 when it was not found there.
int RemoveFromLayer(duPlugin* plugin, duZorderList* list);

}  // namespace vexlo::ui
