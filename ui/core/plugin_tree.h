#pragma once
// Building a window's control tree from its skin element.
#include "ui/core/plugin.h"
#include "ui/core/window_record.h"
#include "ui/core/xml_document.h"

namespace vexlo::ui {

// Reads one control (already created and linked to its parent) from its element and
// builds its subtree: host window, type, the common attributes, the control's own
// attributes through its property group, placement, the live-control registry, then each
// child element through the factory (unknown names are skipped with their subtree).
// 0 for a missing control or element.
int BuildPluginTree(duPlugin* plugin, const ElementRef& element, WindowRecord* record);

// Reads the attributes every control has, in their order.
void ReadCommonAttributes(duPlugin& plugin, const XmlElement& element);

}  // namespace vexlo::ui
