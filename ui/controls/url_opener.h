#pragma once
// Opening an address with the desktop's "open" handler. Only web and mail addresses are
// handed on: a skin is untrusted, and the desktop opener would happily run a local file
// or any other scheme it knows.
#include <functional>
#include <string>
#include <string_view>

namespace vexlo::ui {

// Whether the address may be opened: "http://", "https://" or "mailto:" (scheme in any
// letter case), something after the scheme, and no control characters or spaces.
bool IsOpenableUrl(std::u16string_view url);

// Called with an address that passed IsOpenableUrl; answers whether the opener started.
using UrlOpener = std::function<bool(std::u16string_view url)>;

// Replaces the opener (tests record addresses instead of starting programs); an empty
// function restores the desktop opener.
void SetUrlOpener(UrlOpener opener);

// Checks the address and hands it to the current opener; false for a refused address or
// an opener that could not start.
bool OpenUrl(std::u16string_view url);

// The desktop opener: starts `xdg-open <url>` directly (no shell), does not wait for it,
// and reaps it in the background.
bool OpenUrlWithDesktop(std::u16string_view url);

// Starts `program` (searched on PATH unless it holds a slash) with the address as its
// only argument, never through a shell. With `wait` it waits for the program and answers
// whether it exited with 0; without, it answers whether it started and reaps it in the
// background.
bool SpawnOpener(const std::string& program, std::u16string_view url, bool wait);

}  // namespace vexlo::ui
