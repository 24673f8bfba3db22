#include "runtime/IniFiles.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

namespace rt {

bool TryStrToInt(const std::string& raw, int& value) {
    std::string s = Trim(raw);
    if (s.empty()) return false;
    std::size_t i = 0;
    bool neg = false;
    if (s[i] == '+' || s[i] == '-') {
        neg = s[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size()) return false;
    long long v = 0;
    for (; i < s.size(); ++i) {
        char c = s[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        v = v * base + d;
        if (v > 0xFFFFFFFFLL) return false;
    }
    if (base == 16 && !neg) {
        value = int(std::uint32_t(v));  // hexadecimal covers the full 32 bits
        return true;
    }
    if (neg) v = -v;
    if (v < INT_MIN || v > INT_MAX) return false;
    value = int(v);
    return true;
}

void TMemIniFile::SetText(const std::string& text) {
    sections_.clear();
    TStringList lines;
    lines.SetText(text);
    Section* current = nullptr;
    for (const std::string& raw : lines.Items()) {
        std::string line = Trim(raw);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            std::string name = line.substr(1, line.size() - 2);
            current = nullptr;
            for (Section& s : sections_)
                if (SameText(s.name, name)) current = &s;
            if (current == nullptr) {
                sections_.push_back({name, {}});
                current = &sections_.back();
            }
            continue;
        }
        if (current == nullptr) continue;
        std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        current->entries.emplace_back(Trim(line.substr(0, eq)), Trim(line.substr(eq + 1)));
    }
}

std::string TMemIniFile::Text() const {
    std::string out;
    for (const Section& s : sections_) {
        out += "[" + s.name + "]\r\n";
        for (const auto& [k, v] : s.entries) out += k + "=" + v + "\r\n";
        out += "\r\n";
    }
    return out;
}

const TMemIniFile::Section* TMemIniFile::Find(const std::string& section) const {
    for (const Section& s : sections_)
        if (SameText(s.name, section)) return &s;
    return nullptr;
}

bool TMemIniFile::SectionExists(const std::string& section) const {
    return Find(section) != nullptr;
}

bool TMemIniFile::ValueExists(const std::string& section, const std::string& key) const {
    const Section* s = Find(section);
    if (s == nullptr) return false;
    for (const auto& e : s->entries)
        if (SameText(e.first, key)) return true;
    return false;
}

std::string TMemIniFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& def) const {
    const Section* s = Find(section);
    if (s == nullptr) return def;
    for (const auto& e : s->entries)
        if (SameText(e.first, key)) return e.second;
    return def;
}

int TMemIniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
    int v;
    return TryStrToInt(ReadString(section, key, ""), v) ? v : def;
}

void TMemIniFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
    Section* s = const_cast<Section*>(Find(section));
    if (s == nullptr) {
        sections_.push_back({section, {}});
        s = &sections_.back();
    }
    for (auto& e : s->entries)
        if (SameText(e.first, key)) {
            e.second = value;
            return;
        }
    s->entries.emplace_back(key, value);
}

std::vector<std::string> TMemIniFile::Sections() const {
    std::vector<std::string> out;
    for (const Section& s : sections_) out.push_back(s.name);
    return out;
}

std::vector<std::string> TMemIniFile::Keys(const std::string& section) const {
    std::vector<std::string> out;
    if (const Section* s = Find(section))
        for (const auto& e : s->entries) out.push_back(e.first);
    return out;
}

TMemIniFile TIniFile::Load() const {
    if (!FileExists(fileName_)) return {};
    try {
        std::vector<std::uint8_t> bytes = ReadFileBytes(fileName_);
        return TMemIniFile(std::string(bytes.begin(), bytes.end()));
    } catch (const EStreamError&) {
        // An unreadable settings file reads as an empty one: every value takes its default.
        return {};
    }
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) const {
    return Load().ReadString(section, key, def);
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
    return Load().ReadInteger(section, key, def);
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
    TMemIniFile ini = Load();
    ini.WriteString(section, key, value);
    std::string text = ini.Text();
    try {
        WriteFileBytesAtomic(fileName_, text.data(), text.size());
    } catch (const EStreamError&) {
        throw EIniFileException("Unable to write to " + fileName_);
    }
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

}  // namespace rt
