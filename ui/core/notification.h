#pragma once
// What controls tell their host: notification codes with the event names script
// functions are named after, the internal control messages of DispatchPluginMessage,
// and the process-wide timer identifiers.
#include <cstdint>

#include "platform/win/messages.h"

namespace vexlo::ui {

// The record sent with message 1416 (WM_UI_NOTIFY): code, first, second parameter.
using NotificationRecord = win::NotificationRecord;
inline constexpr uint32_t kNotifyMessage = win::WM_UI_NOTIFY;

enum NotifyCode : int32_t {
    kNotifyOnSize = 1,
    kNotifyShowControl = 2,
    kNotifyMouseIn = 3,
    kNotifyMouseLeave = 4,
    kNotifyMouseLDown = 5,
    kNotifyMouseLUp = 6,
    kNotifyMouseRDown = 7,
    kNotifyMouseRUp = 8,
    kNotifyMouseHover = 9,
    kNotifyMouseDbClick = 10,
    kNotifyKillFocus = 11,
    kNotifySetFocus = 12,
    kNotifyBtnClick = 13,
    kNotifyBtnDbClick = 14,
    kNotifyCkClick = 15,
    kNotifyComboSelChange = 16,
    kNotifyImpExpand = 17,
    kNotifyLbSelChanged = 18,
    kNotifyLbHover = 19,
    kNotifyLbRButtonDown = 20,
    kNotifyLbLButtonDbClick = 21,
    kNotifyLbExSelChanged = 22,
    kNotifyLbExDbClick = 23,
    kNotifyLbExHover = 24,
    kNotifyLbExContentMenu = 25,
    kNotifyMenuPopup = 26,
    kNotifyRadioClick = 27,
    kNotifyVScroll = 28,
    kNotifyHScroll = 29,
    kNotifyTbbSelected = 30,
    kNotifySliderChanged = 32,
    kNotifyLkClick = 33,
    kNotifyGifClick = 34,
    kNotifySpinChange = 35,
    kNotifySplitterMoved = 36,
    kNotifyScrollContainerSize = 37,
    kNotifyEditChange = 38,
    kNotifyXmlStaticHrefClick = 39,
    kNotifyTreeItemClick = 40,
    kNotifyTreeItemDBClick = 41,
    kNotifyTreeItemRBtnClick = 42,
    kNotifyTreeItemHover = 43,
    kNotifyPageChanged = 44,
    kNotifyHeaderSort = 45,
    kNotifyHeaderCkClick = 46,
    kNotifyTreeListItemChecked = 47,
    kNotifyMenuItemInit = 48,
    kNotifyMenuClick = 49,
    kNotifyMenuSize = 50,
    kNotifyMenuInit = 51,
};

// How a notification parameter reaches a script function.
enum class ScriptArgKind { kNone, kInteger, kObject };

struct NotifyEvent {
    const char16_t* name;  // none: no script function is called
    ScriptArgKind first;
    ScriptArgKind second;
};

// The event of a code; a code without a name (0, 31, above 51) gives a null name.
NotifyEvent NotifyEventOf(int32_t code);

// Internal control messages (DispatchPluginMessage).
enum PluginMessage : uint32_t {
    kPluginChildResize = 0xF01,
    kPluginChildShow = 0xF02,
    kPluginMouseMove = 0xF03,
    kPluginMouseIn = 0xF04,
    kPluginMouseLeave = 0xF05,
    kPluginMouseLDown = 0xF06,
    kPluginMouseLUp = 0xF07,
    kPluginMouseRDown = 0xF08,
    kPluginMouseRUp = 0xF09,
    kPluginMouseHover = 0xF10,
    kPluginMouseDbClick = 0xF11,
    kPluginMouseWheel = 0xF12,
    kPluginTimer = 0xF14,
    kPluginKillFocus = 0xF15,
    kPluginSetFocus = 0xF16,
    kPluginPaint = 0xF17,
    kPluginKeyDown = 0xF19,
    kPluginKeyUp = 0xF1A,
};

// The first timer identifier the library hands out.
inline constexpr uint32_t kFirstTimerId = 3840;
// Takes the process-wide counter's value and increments it: identifiers never repeat.
uint32_t TakeTimerId();

}  // namespace vexlo::ui
