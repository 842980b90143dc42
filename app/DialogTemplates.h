#pragma once

#include "platform/Ui.h"

namespace vindrel {

// Control ids the handlers use.
inline constexpr int IdOk = 1;
inline constexpr int IdCancel = 2;
inline constexpr int IdListen = 1000;
inline constexpr int IdStop = 1001;
inline constexpr int IdWaveType = 1003;
inline constexpr int IdLfo = 1005;
inline constexpr int IdDelay = 1006;
inline constexpr int IdDelayTime = 1007;
inline constexpr int IdFirstFrequency = 2000; // 2000 .. 2008
inline constexpr int IdAbout = 57664;
inline constexpr int IdStatic = -1;

inline constexpr int MainDialogTemplateId = 129;
inline constexpr int AboutDialogTemplateId = 100;

const platform::DialogTemplate& MainDialogTemplate();
const platform::DialogTemplate& AboutDialogTemplate();

} // namespace vindrel
