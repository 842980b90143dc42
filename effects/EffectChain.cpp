#include "EffectChain.h"

#include "DelayEffect.h"
#include "EffectParameters.h"

#include <algorithm>

namespace vindrel {

std::unique_ptr<Effect> EffectChain::CreateEffect(EffectChain* chain,
                                                  const std::u16string& typeName) {
    if (typeName == u"Delay")
        return std::make_unique<DelayEffect>(chain);
    return nullptr;
}

bool EffectChain::SetSampleRate(int rate) {
    if (rate < 4000 || rate > 192000 || rate == sampleRate)
        return false;
    sampleRate = rate;
    return true;
}

Effect* EffectChain::EffectAt(int i) const {
    if (i < 0 || i >= EffectCount())
        return nullptr;
    return effects[static_cast<std::size_t>(i)].get();
}

int EffectChain::FindEffect(const std::u16string& effectName) const {
    for (int i = 0; i < EffectCount(); ++i)
        if (effects[static_cast<std::size_t>(i)] &&
            effects[static_cast<std::size_t>(i)]->name == effectName)
            return i;
    return -1;
}

bool EffectChain::ResolveSources(int index) {
    Effect* effect = EffectAt(index);
    if (effect == nullptr)
        return false;
    effect->sources.clear();
    for (const std::u16string& sourceName : effect->sourceNames) {
        // An effect may name itself; a name listed twice feeds twice.
        if (Effect* source = EffectAt(FindEffect(sourceName)))
            effect->sources.push_back(source);
    }
    return true;
}

bool EffectChain::Link() {
    std::erase(effects, nullptr);
    for (int i = 0; i < EffectCount(); ++i)
        ResolveSources(i);
    first = effects.empty() ? nullptr : effects.front().get();
    last = effects.empty() ? nullptr : effects.back().get();
    for (auto& effect : effects)
        effect->Reset();
    return true;
}

bool EffectChain::ProcessBlock(SampleBuffer& block) {
    if (block.FrameCount() <= 0)
        return false;
    if (first != nullptr)
        first->buffer.CopyFrom(block);
    for (auto& effect : effects)
        if (effect)
            effect->Process();
    if (last != nullptr)
        block.CopyFrom(last->buffer);
    return true;
}

bool EffectChain::BuildFromSettings(const std::u16string& text) {
    SettingsText settings;
    if (!settings.Parse(text))
        return false;
    return AddEffectsFromSettings(settings);
}

bool EffectChain::AddEffectsFromSettings(const SettingsText& settings) {
    for (int i = 0; i < settings.SectionCount(); ++i)
        AddEffectFromSection(settings.SectionName(i), settings.SectionAt(i));
    return Link();
}

bool EffectChain::AddEffectFromSection(const std::u16string& typeName,
                                       const SettingsSection& section) {
    std::unique_ptr<Effect> effect = CreateEffect(this, typeName);
    if (!effect)
        return false;
    for (int i = 0; i < section.EntryCount(); ++i) {
        const auto& [key, value] = section.EntryAt(i);
        effect->SetParameter(key, value);
    }
    effects.push_back(std::move(effect));
    return true;
}

bool EffectChain::SetEffectParameter(const std::u16string& effectName, const std::u16string& key,
                                     int value) {
    Effect* effect = EffectAt(FindEffect(effectName));
    if (effect == nullptr)
        return false;
    return SetParameterInteger(*effect, key, value);
}

} // namespace vindrel
