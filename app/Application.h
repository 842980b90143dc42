#pragma once

#include "audio/WaveOut.h"
#include "platform/Ui.h"

namespace vindrel {

// Registers the thread's loop, opens the main dialog and pumps messages until
// the dialog closes; returns the closing command's id, or 0 when the window
// cannot be created.
int runApplication(platform::UiServices& ui, WaveOutDriver& driver);

} // namespace vindrel
