#include "ui/core/notification.h"

#include <atomic>
#include <iterator>

namespace vexlo::ui {
namespace {

using K = ScriptArgKind;
constexpr K N = K::kNone, I = K::kInteger, O = K::kObject;

constexpr NotifyEvent kEvents[] = {
    {nullptr, N, N},
    {u"OnSize", N, N},
    {u"ShowControl", I, N},
    {u"MouseIn", I, I},
    {u"MouseLeave", N, N},
    {u"MouseLDown", I, I},
    {u"MouseLUp", I, I},
    {u"MouseRDown", I, I},
    {u"MouseRUp", I, I},
    {u"MouseHOver", I, I},
    {u"MouseDBClick", I, I},
    {u"KillFocus", O, N},
    {u"SetFocus", O, N},
    {u"BtnClick", N, N},
    {u"BtnDbClick", N, N},
    {u"CkClick", I, N},
    {u"ComboSelChange", I, N},
    {u"ImpExpand", I, N},
    {u"LbSelChanged", I, I},
    {u"LbHover", I, I},
    {u"LbRButtonDown", I, I},
    {u"LbLButtonDbClick", I, I},
    {u"LbExSelChanged", O, O},
    {u"LbExDbClick", O, N},
    {u"LbExHover", O, N},
    {u"LbExContentMenu", O, N},
    {u"MenuPopup", O, N},
    {u"RadioClick", I, N},
    {u"VScroll", I, I},
    {u"HScroll", I, I},
    {u"TbbSelected", I, N},
    {nullptr, N, N},
    {u"SliderChanged", I, I},
    {u"LkClick", N, N},
    {u"GifClick", N, N},
    {u"SpinChange", I, N},
    {u"SplitterMoved", N, N},
    {u"ScrollContainerSize", I, I},
    {u"EditChange", N, N},
    {u"XmlStaticHrefClick", N, N},
    {u"TreeItemClick", I, I},
    {u"TreeItemDBClick", I, N},
    {u"TreeItemRBtnClick", I, I},
    {u"TreeItemHover", I, I},
    {u"PageChanged", I, I},
    {u"HeaderSort", I, I},
    {u"HeaderCkClick", I, N},
    {u"TreeListItemChecked", I, I},
    {u"MenuItemInit", N, N},
    {u"MenuClick", N, N},
    {u"MenuSize", N, N},
    {u"MenuInit", N, N},
};
static_assert(std::size(kEvents) == 52);

}  // namespace

NotifyEvent NotifyEventOf(int32_t code) {
    if (code < 0 || code >= static_cast<int32_t>(std::size(kEvents))) return {nullptr, N, N};
    return kEvents[code];
}

uint32_t TakeTimerId() {
    static std::atomic<uint32_t> next{kFirstTimerId};
    return next.fetch_add(1);
}

}  // namespace vexlo::ui
