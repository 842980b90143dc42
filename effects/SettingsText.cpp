#include "SettingsText.h"

namespace vindrel {

const std::pair<std::u16string, std::u16string>& SettingsSection::EntryAt(int i) const {
    return keyValues.at(static_cast<std::size_t>(i));
}

const std::u16string* SettingsSection::Find(const std::u16string& key) const {
    for (const auto& entry : keyValues)
        if (entry.first == key)
            return &entry.second;
    return nullptr;
}

void SettingsSection::Set(const std::u16string& key, const std::u16string& value) {
    for (auto& entry : keyValues) {
        if (entry.first == key) {
            entry.second = value;
            return;
        }
    }
    keyValues.emplace_back(key, value);
}

std::vector<std::u16string> SettingsText::SplitLines(const std::u16string& text) {
    static const std::u16string crlf = u"\r\n";
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    for (std::size_t end = text.find(crlf); end != std::u16string::npos;
         end = text.find(crlf, start)) {
        if (end > start)
            lines.push_back(text.substr(start, end - start));
        start = end + crlf.size();
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

bool SettingsText::Parse(const std::u16string& text) {
    sections.clear();
    if (text.empty())
        return false;
    for (const std::u16string& line : SplitLines(text))
        ParseLine(line);
    return true;
}

void SettingsText::ParseLine(const std::u16string& line) {
    if (line.empty() || line[0] == u';' || line.starts_with(u"//"))
        return;
    if (line.size() >= 3 && line.front() == u'[' && line.back() == u']') {
        sections.push_back(std::make_unique<SettingsSection>(line.substr(1, line.size() - 2)));
        return;
    }
    const std::size_t equals = line.find(u'=');
    if (equals == std::u16string::npos || sections.empty())
        return;
    // "=abc" gives an empty key and an empty value.
    const std::u16string key = line.substr(0, equals);
    const std::u16string value = equals == 0 ? std::u16string() : line.substr(equals + 1);
    sections.back()->Set(key, value);
}

std::u16string SettingsText::SectionName(int i) const {
    if (i < 0 || i >= SectionCount())
        return {};
    return sections[static_cast<std::size_t>(i)]->Name();
}

const SettingsSection& SettingsText::SectionAt(int i) const {
    static const SettingsSection empty;
    if (i < 0 || i >= SectionCount())
        return empty;
    return *sections[static_cast<std::size_t>(i)];
}

} // namespace vindrel
