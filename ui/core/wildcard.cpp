#include "ui/core/wildcard.h"

namespace vexlo::ui {
namespace {

// Iterative backtracking would be faster, but the patterns are short control names; the
// depth is bounded by the pattern's length.
bool Match(const char16_t* p, const char16_t* n) {
    for (; *n; ++n) {
        if (*p == u'*') {
            while (*p == u'*' || *p == u'?') ++p;
            if (!*p) return true;
            for (; *n; ++n) {
                if (Match(p, n)) return true;
            }
            return false;
        }
        if (*p == u'?') {
            if (Match(p + 1, n)) return true;
            ++p;
            continue;
        }
        if (*p != *n) return false;
        ++p;
    }
    while (*p == u'*' || *p == u'?') ++p;
    return *p == 0;
}

}  // namespace

int MatchWildcard(const char16_t* pattern, const char16_t* name) {
    if (!pattern || !name) return 0;
    return Match(pattern, name) ? 1 : 0;
}

}  // namespace vexlo::ui
