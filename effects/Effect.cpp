#include "Effect.h"

#include "EffectParameters.h"

namespace vindrel {

namespace {

std::vector<std::u16string> ListItems(const std::u16string& text) {
    std::vector<std::u16string> items;
    const int count = CountListItems(text);
    for (int i = 0; i < count; ++i)
        items.push_back(ListItem(text, i));
    return items;
}

} // namespace

bool EffectNode::SetParameter(const std::u16string& key, const std::u16string& value) {
    if (key == u"Name") {
        if (value == name)
            return false;
        name = value;
        return true;
    }
    if (key == u"SrcName") {
        sourceNames = ListItems(value);
        return true;
    }
    if (key == u"SrcIndex") {
        sourceIndexes = ListItems(value);
        return true;
    }
    return false;
}

void Effect::Reset() {
    buffer.ZeroRange(0, buffer.FrameCount());
}

void Effect::TakeInput() {
    if (!sources.empty())
        buffer.CopyFrom(sources.front()->buffer);
}

} // namespace vindrel
