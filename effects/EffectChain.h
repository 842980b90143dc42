#pragma once

#include "Effect.h"
#include "SettingsText.h"

#include <memory>
#include <string>
#include <vector>

namespace vindrel {

// The effects in order of creation. The first receives the block, the last
// one's buffer is the result, any other takes its input from the effect its
// "SrcName" names.
class EffectChain {
public:
    EffectChain() = default;
    virtual ~EffectChain() = default;
    EffectChain(const EffectChain&) = delete;
    EffectChain& operator=(const EffectChain&) = delete;

    // The factory: "Delay" is the only type.
    static std::unique_ptr<Effect> CreateEffect(EffectChain* chain, const std::u16string& typeName);

    int SampleRate() const { return sampleRate; }
    // 4000..192000 Hz, and only a change counts.
    bool SetSampleRate(int rate);
    int FindEffect(const std::u16string& name) const;
    bool ResolveSources(int index);
    bool Link();
    bool ProcessBlock(SampleBuffer& block);
    bool BuildFromSettings(const std::u16string& text);
    bool AddEffectsFromSettings(const SettingsText& settings);
    bool AddEffectFromSection(const std::u16string& typeName, const SettingsSection& section);
    bool SetEffectParameter(const std::u16string& effectName, const std::u16string& key, int value);

    int EffectCount() const { return static_cast<int>(effects.size()); }
    Effect* EffectAt(int i) const;

private:
    std::vector<std::unique_ptr<Effect>> effects;
    Effect* first = nullptr;
    Effect* last = nullptr;
    int sampleRate = 48000;
};

} // namespace vindrel
