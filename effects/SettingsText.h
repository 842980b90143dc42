#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vindrel {

// One [name] section of a settings text with its key=value entries. Keys are
// unique and compared code unit by code unit; entries keep their first
// appearance order.
class SettingsSection {
public:
    explicit SettingsSection(std::u16string name = {}) : name(std::move(name)) {}

    const std::u16string& Name() const { return name; }
    int EntryCount() const { return static_cast<int>(keyValues.size()); }
    const std::pair<std::u16string, std::u16string>& EntryAt(int i) const;
    // Null when the key is absent.
    const std::u16string* Find(const std::u16string& key) const;
    // The last assignment of a key wins.
    void Set(const std::u16string& key, const std::u16string& value);

private:
    std::u16string name;
    std::vector<std::pair<std::u16string, std::u16string>> keyValues;
};

// The INI-like text that configures effects: lines end with CR LF, nothing is
// trimmed, malformed lines are skipped.
class SettingsText {
public:
    bool Parse(const std::u16string& text);
    int SectionCount() const { return static_cast<int>(sections.size()); }
    std::u16string SectionName(int i) const;
    const SettingsSection& SectionAt(int i) const;

    // Cuts at every CR LF pair; empty pieces are dropped.
    static std::vector<std::u16string> SplitLines(const std::u16string& text);

private:
    void ParseLine(const std::u16string& line);

    std::vector<std::unique_ptr<SettingsSection>> sections;
};

} // namespace vindrel
