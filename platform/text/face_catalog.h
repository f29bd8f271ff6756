#pragma once
// The installed font faces and the choice of a face file for a requested family.
//
// The catalog lists the font files of the standard font directories, found through
// fontconfig with a configuration of our own: the machine's and the user's fontconfig
// files (their substitutions and rendering preferences) are not read, so the choice of
// a face and its rendering depend on the installed files alone. Tests install their
// own catalog with ScopedFaceCatalog.
#include "platform/text/font_request.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vexlo::text {

struct FaceEntry {
    std::vector<WString> families;  // every (localised) family name of the file
    std::string file;
    int index = 0;  // face index inside a collection file
    int weight = 400;  // OpenType scale
    bool italic = false;
    int width = 100;  // percent of normal
    bool scalable = true;
};

struct FaceMatch {
    const FaceEntry* entry = nullptr;
    WString family;  // the family name that matched
    bool synthesizeBold = false;
    bool synthesizeItalic = false;
};

class FaceCatalog {
public:
    FaceCatalog() = default;
    explicit FaceCatalog(std::vector<FaceEntry> entries);
    // Every installed face, in a stable order.
    static FaceCatalog FromSystem();

    const std::vector<FaceEntry>& entries() const { return entries_; }
    // All family names, sorted, each once.
    std::vector<WString> FamilyNames() const;
    // Family names compare without regard to ASCII letter case.
    bool HasFamily(WStringView family) const;
    bool AnyFamilyContains(WStringView part) const;

    // The face of one family closest to the weight and slant; bold and italic that the
    // family lacks are synthesised. Nothing when the family is not installed.
    std::optional<FaceMatch> MatchFamily(WStringView family, int weight, bool italic) const;
    // The face used for a requested family: the family itself when installed, else its
    // substitutes (see face_substitution.h), else any scalable face. preferCjk makes an
    // empty or unknown Latin name resolve like a CJK one.
    std::optional<FaceMatch> Resolve(WStringView requested, int weight, bool italic, bool preferCjk = false) const;
    // Faces tried, after the resolved one, for characters it lacks: CJK, then Latin.
    std::vector<FaceMatch> Fallbacks(int weight, bool italic) const;

private:
    std::vector<FaceEntry> entries_;
};

// The catalog fonts are created from: the system's (read on first use), unless a test
// installed another.
std::shared_ptr<const FaceCatalog> InstalledFaces();
// Changes whenever the installed catalog is replaced, so that font caches can tell.
unsigned InstalledFacesGeneration();

// Whether an installed family has exactly this name / a name containing this text.
bool FaceExists(WStringView family);
bool AnyFaceNameContains(WStringView part);

// Replaces the installed catalog for the lifetime of the object (tests).
class ScopedFaceCatalog {
public:
    explicit ScopedFaceCatalog(FaceCatalog catalog);
    ~ScopedFaceCatalog();
    ScopedFaceCatalog(const ScopedFaceCatalog&) = delete;
    ScopedFaceCatalog& operator=(const ScopedFaceCatalog&) = delete;

private:
    std::shared_ptr<const FaceCatalog> previous_;
};

}  // namespace vexlo::text
