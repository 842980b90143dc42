#include "effects/SettingsText.h"

#include <gtest/gtest.h>

#include <map>

namespace vindrel {
namespace {

using Entries = std::map<std::u16string, std::u16string>;

Entries EntriesOf(const SettingsSection& s) {
    Entries e;
    for (int i = 0; i < s.EntryCount(); ++i)
        e.insert(s.EntryAt(i));
    return e;
}

TEST(SettingsText, StartUpText) {
    SettingsText t;
    ASSERT_TRUE(t.Parse(u"[Delay]\r\nName=Delay\r\nDelayMs=250.0\r\nStereoOffsetMs=125.0\r\n"
                        u"FeedBackPercent=50.0\r\nWetDryPercent=0.0"));
    ASSERT_EQ(t.SectionCount(), 1);
    EXPECT_EQ(t.SectionName(0), u"Delay");
    EXPECT_EQ(EntriesOf(t.SectionAt(0)), (Entries{{u"Name", u"Delay"},
                                                  {u"DelayMs", u"250.0"},
                                                  {u"StereoOffsetMs", u"125.0"},
                                                  {u"FeedBackPercent", u"50.0"},
                                                  {u"WetDryPercent", u"0.0"}}));
}

TEST(SettingsText, LineRules) {
    struct Case {
        const char* name;
        std::u16string text;
        std::vector<std::pair<std::u16string, Entries>> sections;
    };
    const Case cases[] = {
        {"LF alone is no line break", u"[Delay]\nName=Delay\nDelayMs=250.0", {}},
        {"entry before any header", u"a=b\r\n[S]", {{u"S", {}}}},
        {"blanks are kept", u"[S]\r\nDelayMs = 250", {{u"S", {{u"DelayMs ", u" 250"}}}}},
        {"comment marks inside a line",
         u"[S]\r\nName=Delay ; main\r\nDelayMs=250 // note",
         {{u"S", {{u"Name", u"Delay ; main"}, {u"DelayMs", u"250 // note"}}}}},
        {"equals positions",
         u"[S]\r\n=abc\r\nabc=\r\na=b=c",
         {{u"S", {{u"", u""}, {u"abc", u""}, {u"a", u"b=c"}}}}},
        {"last assignment wins", u"[S]\r\nk=1\r\nk=2", {{u"S", {{u"k", u"2"}}}}},
        {"same name twice stays two sections",
         u"[S]\r\nk=1\r\n[S]\r\nk=2",
         {{u"S", {{u"k", u"1"}}}, {u"S", {{u"k", u"2"}}}}},
        {"comments and empty lines", u"\r\n\r\n; c\r\n// d\r\n\r\n", {}},
        {"header rules",
         u"[]\r\n [x]\r\n[x] \r\n[a]b]\r\n[;]\r\nno equals here",
         {{u"a]b", {}}, {u";", {}}}},
        {"lone CR and LF belong to the line",
         u"[S]\r\nk=a\rb\n\r\n",
         {{u"S", {{u"k", u"a\rb\n"}}}}},
        {"tabs and case", u"[S]\r\n\tK=V\r\nk=v", {{u"S", {{u"\tK", u"V"}, {u"k", u"v"}}}}},
    };
    for (const Case& c : cases) {
        SettingsText t;
        ASSERT_TRUE(t.Parse(c.text)) << c.name;
        ASSERT_EQ(t.SectionCount(), static_cast<int>(c.sections.size())) << c.name;
        for (int i = 0; i < t.SectionCount(); ++i) {
            EXPECT_EQ(t.SectionName(i), c.sections[i].first) << c.name;
            EXPECT_EQ(EntriesOf(t.SectionAt(i)), c.sections[i].second) << c.name;
        }
    }
}

TEST(SettingsText, EmptyTextFailsAndClears) {
    SettingsText t;
    ASSERT_TRUE(t.Parse(u"[A]"));
    EXPECT_FALSE(t.Parse(u""));
    EXPECT_EQ(t.SectionCount(), 0);
    EXPECT_EQ(t.SectionName(0), u"");
    EXPECT_EQ(t.SectionAt(-1).EntryCount(), 0);
    EXPECT_EQ(t.SectionAt(3).Name(), u"");
}

TEST(SettingsText, SplitLines) {
    using Lines = std::vector<std::u16string>;
    EXPECT_EQ(SettingsText::SplitLines(u"\r\na\r\n\r\nb\r\n"), (Lines{u"a", u"b"}));
    EXPECT_EQ(SettingsText::SplitLines(u"a\r\nb"), (Lines{u"a", u"b"}));
    EXPECT_EQ(SettingsText::SplitLines(u"\r\r\n\n"), (Lines{u"\r", u"\n"}));
}

} // namespace
} // namespace vindrel
