#pragma once

namespace vindrel {

// XPM images of the program's icon, largest first, null-terminated.
extern const char* const* const programIconImages[];

} // namespace vindrel
