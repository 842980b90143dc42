#pragma once

#include <functional>
#include <string>

namespace vindrel::platform {

// A warning message box with a single OK button, callable from any thread;
// returns when the user has dismissed it. Until a toolkit registers its box
// (tools, tests, no display), the text goes to standard error in full.
void ShowWarningBox(const std::u16string& caption, const std::u16string& text);

using WarningBoxHandler =
    std::function<void(const std::u16string& caption, const std::u16string& text)>;
// Returns the previous handler; an empty handler restores standard error.
WarningBoxHandler SetWarningBoxHandler(WarningBoxHandler handler);

} // namespace vindrel::platform

namespace vindrel::platform {

// Lets every thread that waits for a warning box go on (the boxes stay on
// screen). Called when the program quits, and when a controller is about to
// wait for a worker that may be showing one: the box lives on the UI thread,
// which must not wait for a worker that waits for it.
void ReleaseWarningBoxWaiters();
void SetWarningBoxReleaser(std::function<void()> releaser);

} // namespace vindrel::platform
