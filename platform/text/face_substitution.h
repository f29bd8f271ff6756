#pragma once
// Which installed families stand in for a family that is not installed: the Windows faces
// skins name ("微软雅黑", "宋体", "Tahoma", "Arial", ...) map to the free faces a Linux
// machine carries.
#include "platform/text/font_request.h"

#include <vector>

namespace vexlo::text {

enum class FaceKind { kCjk, kSans, kSerif, kMono };

// The kind of a family name: known names by table, other names with CJK characters as
// kCjk, everything else as kSans.
FaceKind ClassifyFamily(WStringView family);
// Whether the family is one of the named faces of the table.
bool IsKnownFamily(WStringView family);
// Installed-family candidates for a kind, best first.
const std::vector<WString>& SubstitutesFor(FaceKind kind);

// Case-insensitive comparison for ASCII letters; other characters compare exactly.
bool FamilyNamesEqual(WStringView a, WStringView b);
bool FamilyNameContains(WStringView name, WStringView part);

}  // namespace vexlo::text
