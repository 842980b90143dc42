#pragma once

#include "platform/Ui.h"

#include <functional>
#include <string>

namespace vindrel::platform {

struct ProgramInfo {
    std::u16string name;
    std::string version;
    // The program's icon as XPM images, largest first (null-terminated list).
    const char* const* const* iconImages = nullptr;
};

// Starts the toolkit, runs `body` with its services on this (the UI) thread
// and returns its result. Without a display it says so in one line and
// returns 1.
int RunGuiProgram(int argc, char** argv, const ProgramInfo& info,
                  const std::function<int(UiServices&)>& body);

} // namespace vindrel::platform
