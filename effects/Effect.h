#pragma once

#include "core/SampleBuffer.h"

#include <memory>
#include <string>
#include <vector>

namespace vindrel {

class EffectChain;

// A node of the effect chain: a working buffer, a name and the names of the
// effects that feed it. Configured only through named text parameters.
class EffectNode {
public:
    virtual ~EffectNode() = default;
    // True when the state changed. The base knows "Name", "SrcName" and "SrcIndex".
    virtual bool SetParameter(const std::u16string& key, const std::u16string& value);
    virtual bool GetParameter(const std::u16string& key, std::u16string& value) const = 0;
    virtual std::u16string ToSettingsText() const { return {}; }

    SampleBuffer buffer;
    std::u16string name;
    std::vector<std::u16string> sourceIndexes; // kept, never read
    std::vector<std::u16string> sourceNames;
};

class Effect : public EffectNode {
public:
    explicit Effect(EffectChain* chain) : chain(chain) {}

    // Clears the processing state; the base zeroes the buffer, keeping its shape.
    virtual void Reset();
    // Processes `buffer` in place, after taking the first source's buffer as input.
    virtual bool Process() = 0;
    virtual std::unique_ptr<Effect> Clone(EffectChain* owner) const = 0;

    EffectChain* chain;
    std::vector<Effect*> sources;

protected:
    void TakeInput();
};

} // namespace vindrel
