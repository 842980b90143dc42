#include "effects/EffectParameters.h"
#include "effects/DelayEffect.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace vindrel {
namespace {

TEST(EffectParameters, ParseNumber) {
    struct Case {
        std::u16string text;
        double value;
    };
    const Case cases[] = {
        {u"12.5abc", 12.5}, {u"  \t12.5abc", 12.5},
        {u"abc", 0.0},      {u"", 0.0},
        {u"1e3", 1000.0},   {u"1e", 1.0},
        {u"-3.5", -3.5},    {u"+7", 7.0},
        {u".5", 0.5},       {u"5.", 5.0},
        {u"-.", 0.0},       {u"250 // note", 250.0},
        {u" 250", 250.0},   {u"0.1", static_cast<double>(0.1f)},
        {u"2,5", 2.0},      {u"1e999", std::numeric_limits<double>::infinity()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseNumber(c.text), c.value) << std::string(c.text.begin(), c.text.end());
}

TEST(EffectParameters, FormatNumbersLikePrintf) {
    EXPECT_EQ(FormatNumber(250.0), u"250.000000");
    EXPECT_EQ(FormatNumber(-3.5), u"-3.500000");
    EXPECT_EQ(FormatNumber(50.0), u"50.000000");
    EXPECT_EQ(FormatNumber(0.1), u"0.100000");
    EXPECT_EQ(FormatNumber(1.0 / 3.0), u"0.333333");
    EXPECT_EQ(FormatNumber(2.0 / 3.0), u"0.666667");
    EXPECT_EQ(FormatInteger(250), u"250");
    EXPECT_EQ(FormatInteger(-7), u"-7");
}

TEST(EffectParameters, IndependentOfTheProcessLocale) {
    const char* german = std::setlocale(LC_ALL, "de_DE.UTF-8");
    if (german == nullptr)
        german = std::setlocale(LC_ALL, "C.UTF-8");
    EXPECT_EQ(FormatNumber(12.5), u"12.500000");
    EXPECT_EQ(ParseNumber(u"12.5"), 12.5);
    std::setlocale(LC_ALL, "C");
}

TEST(EffectParameters, CommaLists) {
    struct Case {
        std::u16string text;
        std::vector<std::u16string> items;
    };
    const Case cases[] = {
        {u"", {}},
        {u"A", {u"A"}},
        {u"A,B", {u"A", u"B"}},
        {u"A,,B", {u"A", u"", u"B"}},
        {u"A,", {u"A", u""}},
        {u" A", {u" A"}},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(CountListItems(c.text), static_cast<int>(c.items.size()));
        for (int i = 0; i < CountListItems(c.text); ++i)
            EXPECT_EQ(ListItem(c.text, i), c.items[i]);
    }
}

TEST(EffectParameters, Decibels) {
    EXPECT_EQ(GainToDecibels(1.0), 0.0);
    EXPECT_EQ(GainToDecibels(0.0), -1.7976931348623157e308);
    EXPECT_EQ(GainToDecibels(-1.0), -1.7976931348623157e308);
    EXPECT_DOUBLE_EQ(DecibelsToGain(-20.0), 0.1);
    EXPECT_EQ(DecibelsToGain(0.0), 1.0);
}

// Records the text the helpers hand over.
class RecordingEffect : public EffectNode {
public:
    bool SetParameter(const std::u16string& key, const std::u16string& value) override {
        lastKey = key;
        lastValue = value;
        return EffectNode::SetParameter(key, value);
    }
    bool GetParameter(const std::u16string&, std::u16string&) const override { return false; }
    std::u16string lastKey, lastValue;
};

TEST(EffectParameters, HelpersPassText) {
    RecordingEffect e;
    SetParameterInteger(e, u"DelayMs", 250);
    EXPECT_EQ(e.lastValue, u"250");
    SetParameterNumber(e, u"WetDryPercent", 50.0);
    EXPECT_EQ(e.lastKey, u"WetDryPercent");
    EXPECT_EQ(e.lastValue, u"50.000000");
}

TEST(EffectNode, BaseKeys) {
    RecordingEffect e;
    EXPECT_TRUE(e.SetParameter(u"Name", u"A"));
    EXPECT_FALSE(e.SetParameter(u"Name", u"A"));
    EXPECT_FALSE(e.SetParameter(u"name", u"B"));
    EXPECT_EQ(e.name, u"A");
    EXPECT_TRUE(e.SetParameter(u"SrcName", u"X,Y"));
    EXPECT_EQ(e.sourceNames, (std::vector<std::u16string>{u"X", u"Y"}));
    EXPECT_TRUE(e.SetParameter(u"SrcName", u""));
    EXPECT_TRUE(e.sourceNames.empty());
    EXPECT_TRUE(e.SetParameter(u"SrcIndex", u"0,1"));
    EXPECT_EQ(e.sourceIndexes.size(), 2u);
    std::u16string out = u"untouched";
    DelayEffect d(nullptr);
    d.SetParameter(u"Name", u"Delay");
    EXPECT_FALSE(d.GetParameter(u"Name", out));
    EXPECT_EQ(out, u"untouched");
}

} // namespace
} // namespace vindrel
