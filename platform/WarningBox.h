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
