#pragma once

#include "platform/Ui.h"

namespace vindrel {

// Where a window of the given size goes: centred on `centre`, then pushed
// inside `area` (left and top edges win when it is larger than the area).
void CentredPosition(const platform::Rect& window, const platform::Rect& centre,
                     const platform::Rect& area, int& x, int& y);

// Moves a top-level window, without resizing it, to the middle of the
// reference window (or, without a usable reference, of its monitor's work
// area), keeping it inside that monitor's work area. A hidden or minimised
// reference is ignored; without a reference the window's owner is taken.
void placeCentred(platform::DialogWindow& window, platform::DialogWindow* reference);

} // namespace vindrel
