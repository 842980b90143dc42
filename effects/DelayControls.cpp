#include "DelayControls.h"

#include "EffectParameters.h"

namespace vindrel {

bool SetDelayEnabled(EffectChain& chain, bool enabled) {
    Effect* delay = chain.EffectAt(chain.FindEffect(u"Delay"));
    if (delay == nullptr)
        return false;
    return SetParameterNumber(*delay, u"WetDryPercent", enabled ? 50.0 : 0.0);
}

void SetDelayTime(EffectChain& chain, int milliseconds) {
    chain.SetEffectParameter(u"Delay", u"DelayMs", milliseconds);
    chain.SetEffectParameter(u"Delay", u"StereoOffsetMs", milliseconds / 2);
}

} // namespace vindrel
