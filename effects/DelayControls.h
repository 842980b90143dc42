#pragma once

#include "EffectChain.h"

namespace vindrel {

// The settings text the program builds its chain from: one delay named
// "Delay", silent (wet 0 %) until the user ticks it.
inline constexpr char16_t defaultEffectSettings[] =
    u"[Delay]\r\nName=Delay\r\nDelayMs=250.0\r\nStereoOffsetMs=125.0\r\nFeedBackPercent=50.0"
    u"\r\nWetDryPercent=0.0";

// What the "Delay" check box does: half wet when ticked, dry otherwise.
bool SetDelayEnabled(EffectChain& chain, bool enabled);
// What the delay slider does: the delay time, and half of it as the stereo offset.
void SetDelayTime(EffectChain& chain, int milliseconds);

} // namespace vindrel
