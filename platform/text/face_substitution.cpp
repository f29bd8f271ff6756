#include "platform/text/face_substitution.h"

#include <algorithm>
#include <array>

namespace vexlo::text {

namespace {

char16_t FoldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

bool IsCjkCodeUnit(char16_t c) {
    return (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFF00 && c <= 0xFFEF);
}

struct KnownFamily {
    std::u16string_view name;
    FaceKind kind;
};

// Faces of Windows systems that skins and programs ask for by name.
constexpr std::array kKnownFamilies{
    KnownFamily{u"微软雅黑", FaceKind::kCjk},        KnownFamily{u"Microsoft YaHei", FaceKind::kCjk},
    KnownFamily{u"Microsoft YaHei UI", FaceKind::kCjk}, KnownFamily{u"宋体", FaceKind::kCjk},
    KnownFamily{u"SimSun", FaceKind::kCjk},          KnownFamily{u"新宋体", FaceKind::kCjk},
    KnownFamily{u"NSimSun", FaceKind::kCjk},         KnownFamily{u"黑体", FaceKind::kCjk},
    KnownFamily{u"SimHei", FaceKind::kCjk},          KnownFamily{u"楷体", FaceKind::kCjk},
    KnownFamily{u"KaiTi", FaceKind::kCjk},           KnownFamily{u"仿宋", FaceKind::kCjk},
    KnownFamily{u"FangSong", FaceKind::kCjk},        KnownFamily{u"等线", FaceKind::kCjk},
    KnownFamily{u"DengXian", FaceKind::kCjk},        KnownFamily{u"微软正黑体", FaceKind::kCjk},
    KnownFamily{u"Microsoft JhengHei", FaceKind::kCjk}, KnownFamily{u"新細明體", FaceKind::kCjk},
    KnownFamily{u"PMingLiU", FaceKind::kCjk},        KnownFamily{u"MingLiU", FaceKind::kCjk},
    KnownFamily{u"MS Gothic", FaceKind::kCjk},       KnownFamily{u"MS UI Gothic", FaceKind::kCjk},
    KnownFamily{u"Meiryo", FaceKind::kCjk},          KnownFamily{u"Malgun Gothic", FaceKind::kCjk},
    KnownFamily{u"Gulim", FaceKind::kCjk},
    KnownFamily{u"Tahoma", FaceKind::kSans},         KnownFamily{u"Arial", FaceKind::kSans},
    KnownFamily{u"Verdana", FaceKind::kSans},        KnownFamily{u"Segoe UI", FaceKind::kSans},
    KnownFamily{u"MS Shell Dlg", FaceKind::kSans},   KnownFamily{u"MS Shell Dlg 2", FaceKind::kSans},
    KnownFamily{u"MS Sans Serif", FaceKind::kSans},  KnownFamily{u"Microsoft Sans Serif", FaceKind::kSans},
    KnownFamily{u"Helvetica", FaceKind::kSans},      KnownFamily{u"Calibri", FaceKind::kSans},
    KnownFamily{u"Trebuchet MS", FaceKind::kSans},   KnownFamily{u"Lucida Sans Unicode", FaceKind::kSans},
    KnownFamily{u"System", FaceKind::kSans},         KnownFamily{u"sans-serif", FaceKind::kSans},
    KnownFamily{u"Times New Roman", FaceKind::kSerif}, KnownFamily{u"Times", FaceKind::kSerif},
    KnownFamily{u"Georgia", FaceKind::kSerif},       KnownFamily{u"Cambria", FaceKind::kSerif},
    KnownFamily{u"MS Serif", FaceKind::kSerif},      KnownFamily{u"serif", FaceKind::kSerif},
    KnownFamily{u"Courier New", FaceKind::kMono},    KnownFamily{u"Courier", FaceKind::kMono},
    KnownFamily{u"Consolas", FaceKind::kMono},       KnownFamily{u"Lucida Console", FaceKind::kMono},
    KnownFamily{u"Fixedsys", FaceKind::kMono},       KnownFamily{u"Terminal", FaceKind::kMono},
    KnownFamily{u"monospace", FaceKind::kMono},
};

}  // namespace

bool FamilyNamesEqual(WStringView a, WStringView b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

bool FamilyNameContains(WStringView name, WStringView part) {
    if (part.empty()) return true;
    if (part.size() > name.size()) return false;
    for (size_t i = 0; i + part.size() <= name.size(); ++i) {
        if (FamilyNamesEqual(name.substr(i, part.size()), part)) return true;
    }
    return false;
}

bool IsKnownFamily(WStringView family) {
    return std::any_of(kKnownFamilies.begin(), kKnownFamilies.end(),
                       [&](const KnownFamily& known) { return FamilyNamesEqual(known.name, family); });
}

FaceKind ClassifyFamily(WStringView family) {
    for (const KnownFamily& known : kKnownFamilies) {
        if (FamilyNamesEqual(known.name, family)) return known.kind;
    }
    if (std::any_of(family.begin(), family.end(), IsCjkCodeUnit)) return FaceKind::kCjk;
    return FaceKind::kSans;
}

const std::vector<WString>& SubstitutesFor(FaceKind kind) {
    static const std::vector<WString> cjk = {u"WenQuanYi Micro Hei", u"WenQuanYi Zen Hei", u"Noto Sans CJK SC",
                                             u"Noto Sans SC", u"Source Han Sans SC", u"Droid Sans Fallback",
                                             u"AR PL UMing CN"};
    static const std::vector<WString> sans = {u"DejaVu Sans", u"Liberation Sans", u"Noto Sans", u"FreeSans"};
    static const std::vector<WString> serif = {u"DejaVu Serif", u"Liberation Serif", u"Noto Serif", u"FreeSerif",
                                               u"DejaVu Sans"};
    static const std::vector<WString> mono = {u"DejaVu Sans Mono", u"Liberation Mono", u"Noto Sans Mono",
                                              u"FreeMono", u"DejaVu Sans"};
    switch (kind) {
        case FaceKind::kCjk: return cjk;
        case FaceKind::kSerif: return serif;
        case FaceKind::kMono: return mono;
        case FaceKind::kSans: break;
    }
    return sans;
}

}  // namespace vexlo::text
