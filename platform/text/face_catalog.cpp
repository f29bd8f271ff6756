#include "platform/text/face_catalog.h"

#include "platform/text/face_substitution.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <mutex>
#include <tuple>

namespace vexlo::text {

namespace {

struct CatalogState {
    std::mutex mutex;
    std::shared_ptr<const FaceCatalog> current;
    std::atomic<unsigned> generation{1};
};

CatalogState& State() {
    static CatalogState state;
    return state;
}

int MatchScore(const FaceEntry& entry, int weight, bool italic) {
    int score = std::abs(entry.weight - weight);
    score += std::abs(entry.width - 100) * 20;
    if (entry.italic != italic) score += 2000;
    if (!entry.scalable) score += 100000;
    return score;
}

FaceMatch MakeMatch(const FaceEntry& entry, WStringView family, int weight, bool italic) {
    FaceMatch match;
    match.entry = &entry;
    match.family = WString(family);
    match.synthesizeBold = weight >= 600 && entry.weight < 600;
    match.synthesizeItalic = italic && !entry.italic;
    return match;
}

int NormalWeight(int weight) { return weight <= 0 ? 400 : std::clamp(weight, 1, 1000); }

// The font directories and caches of a standard installation. The user's fontconfig
// files are not read: their substitutions and rendering choices must not change what
// the system draws.
constexpr char kFontConfig[] = R"(<?xml version="1.0"?>
<fontconfig>
  <dir>/usr/share/fonts</dir>
  <dir>/usr/local/share/fonts</dir>
  <dir prefix="xdg">fonts</dir>
  <dir>~/.fonts</dir>
  <cachedir>/var/cache/fontconfig</cachedir>
  <cachedir prefix="xdg">fontconfig</cachedir>
</fontconfig>)";

struct ConfigDestroy {
    void operator()(FcConfig* c) const { FcConfigDestroy(c); }
};
struct PatternDestroy {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
struct ObjectSetDestroy {
    void operator()(FcObjectSet* o) const { FcObjectSetDestroy(o); }
};
struct FontSetDestroy {
    void operator()(FcFontSet* f) const { FcFontSetDestroy(f); }
};

}  // namespace

FaceCatalog::FaceCatalog(std::vector<FaceEntry> entries) : entries_(std::move(entries)) {}

FaceCatalog FaceCatalog::FromSystem() {
    std::vector<FaceEntry> entries;
    std::unique_ptr<FcConfig, ConfigDestroy> config(FcConfigCreate());
    if (!config ||
        !FcConfigParseAndLoadFromMemory(config.get(), reinterpret_cast<const FcChar8*>(kFontConfig), FcFalse) ||
        !FcConfigBuildFonts(config.get())) {
        return FaceCatalog();
    }
    std::unique_ptr<FcPattern, PatternDestroy> pattern(FcPatternCreate());
    std::unique_ptr<FcObjectSet, ObjectSetDestroy> objects(FcObjectSetBuild(
        FC_FAMILY, FC_FILE, FC_INDEX, FC_WEIGHT, FC_SLANT, FC_WIDTH, FC_SCALABLE, nullptr));
    if (!pattern || !objects) return FaceCatalog();
    std::unique_ptr<FcFontSet, FontSetDestroy> fonts(FcFontList(config.get(), pattern.get(), objects.get()));
    FcFontSet* set = fonts.get();
    for (int i = 0; set && i < set->nfont; ++i) {
        FcPattern* font = set->fonts[i];
        FcChar8* file = nullptr;
        if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || !file) continue;
        FaceEntry entry;
        entry.file = reinterpret_cast<const char*>(file);
        FcChar8* family = nullptr;
        for (int n = 0; FcPatternGetString(font, FC_FAMILY, n, &family) == FcResultMatch; ++n) {
            entry.families.push_back(platform::Utf8ToWide(reinterpret_cast<const char*>(family)));
        }
        if (entry.families.empty()) continue;
        int value = 0;
        if (FcPatternGetInteger(font, FC_INDEX, 0, &value) == FcResultMatch) entry.index = value;
        if (FcPatternGetInteger(font, FC_WEIGHT, 0, &value) == FcResultMatch) entry.weight = FcWeightToOpenType(value);
        if (FcPatternGetInteger(font, FC_SLANT, 0, &value) == FcResultMatch) entry.italic = value != FC_SLANT_ROMAN;
        if (FcPatternGetInteger(font, FC_WIDTH, 0, &value) == FcResultMatch) entry.width = value;
        FcBool scalable = FcTrue;
        if (FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) == FcResultMatch) entry.scalable = scalable != FcFalse;
        entries.push_back(std::move(entry));
    }
    // fontconfig's order depends on its cache; sort so that every run chooses alike.
    std::sort(entries.begin(), entries.end(), [](const FaceEntry& a, const FaceEntry& b) {
        return std::tie(a.file, a.index) < std::tie(b.file, b.index);
    });
    return FaceCatalog(std::move(entries));
}

std::vector<WString> FaceCatalog::FamilyNames() const {
    std::vector<WString> names;
    for (const FaceEntry& entry : entries_) names.insert(names.end(), entry.families.begin(), entry.families.end());
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

bool FaceCatalog::HasFamily(WStringView family) const {
    return std::any_of(entries_.begin(), entries_.end(), [&](const FaceEntry& e) {
        return std::any_of(e.families.begin(), e.families.end(),
                           [&](const WString& f) { return FamilyNamesEqual(f, family); });
    });
}

bool FaceCatalog::AnyFamilyContains(WStringView part) const {
    return std::any_of(entries_.begin(), entries_.end(), [&](const FaceEntry& e) {
        return std::any_of(e.families.begin(), e.families.end(),
                           [&](const WString& f) { return FamilyNameContains(f, part); });
    });
}

std::optional<FaceMatch> FaceCatalog::MatchFamily(WStringView family, int weight, bool italic) const {
    weight = NormalWeight(weight);
    const FaceEntry* best = nullptr;
    int bestScore = 0;
    for (const FaceEntry& entry : entries_) {
        const bool named = std::any_of(entry.families.begin(), entry.families.end(),
                                       [&](const WString& f) { return FamilyNamesEqual(f, family); });
        if (!named) continue;
        const int score = MatchScore(entry, weight, italic);
        if (!best || score < bestScore) best = &entry, bestScore = score;
    }
    if (!best) return std::nullopt;
    return MakeMatch(*best, family, weight, italic);
}

std::optional<FaceMatch> FaceCatalog::Resolve(WStringView requested, int weight, bool italic, bool preferCjk) const {
    if (!requested.empty()) {
        if (auto exact = MatchFamily(requested, weight, italic)) return exact;
    }
    FaceKind kind = requested.empty() ? FaceKind::kSans : ClassifyFamily(requested);
    // Only names the table does not know follow the character set: a known Latin face
    // keeps its Latin substitute, whose missing characters come from the fallbacks.
    if (preferCjk && kind == FaceKind::kSans && (requested.empty() || !IsKnownFamily(requested))) kind = FaceKind::kCjk;
    for (FaceKind k : {kind, FaceKind::kSans, FaceKind::kCjk}) {
        for (const WString& substitute : SubstitutesFor(k)) {
            if (auto match = MatchFamily(substitute, weight, italic)) return match;
        }
    }
    for (const FaceEntry& entry : entries_) {
        if (entry.scalable) return MakeMatch(entry, entry.families.front(), NormalWeight(weight), italic);
    }
    if (!entries_.empty()) return MakeMatch(entries_.front(), entries_.front().families.front(), NormalWeight(weight), italic);
    return std::nullopt;
}

std::vector<FaceMatch> FaceCatalog::Fallbacks(int weight, bool italic) const {
    std::vector<FaceMatch> out;
    for (FaceKind k : {FaceKind::kCjk, FaceKind::kSans}) {
        for (const WString& substitute : SubstitutesFor(k)) {
            if (auto match = MatchFamily(substitute, weight, italic)) {
                out.push_back(*match);
                break;
            }
        }
    }
    return out;
}

std::shared_ptr<const FaceCatalog> InstalledFaces() {
    CatalogState& state = State();
    std::lock_guard lock(state.mutex);
    if (!state.current) state.current = std::make_shared<const FaceCatalog>(FaceCatalog::FromSystem());
    return state.current;
}

unsigned InstalledFacesGeneration() { return State().generation.load(); }

bool FaceExists(WStringView family) { return InstalledFaces()->HasFamily(family); }
bool AnyFaceNameContains(WStringView part) { return InstalledFaces()->AnyFamilyContains(part); }

ScopedFaceCatalog::ScopedFaceCatalog(FaceCatalog catalog) {
    previous_ = InstalledFaces();
    CatalogState& state = State();
    std::lock_guard lock(state.mutex);
    state.current = std::make_shared<const FaceCatalog>(std::move(catalog));
    state.generation.fetch_add(1);
}

ScopedFaceCatalog::~ScopedFaceCatalog() {
    CatalogState& state = State();
    std::lock_guard lock(state.mutex);
    state.current = previous_;
    state.generation.fetch_add(1);
}

}  // namespace vexlo::text
