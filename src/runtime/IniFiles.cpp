#include "runtime/IniFiles.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>

#include "base/AtomicFile.h"

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

namespace {

std::string_view TrimView(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

std::string Lower(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return r;
}

}  // namespace

TMemIniFile::Section& TMemIniFile::FindOrAdd(std::string_view section) {
    auto [it, added] = index_.try_emplace(Lower(section), sections_.size());
    if (added) sections_.push_back({std::string(section), {}});
    return sections_[it->second];
}

void TMemIniFile::SetText(std::string_view text) {
    sections_.clear();
    index_.clear();
    // Editors on other systems often save a UTF-8 byte order mark first.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    // Room for every section up front: growing the index rehashes all of it each time.
    const auto brackets = static_cast<std::size_t>(std::count(text.begin(), text.end(), '['));
    sections_.reserve(brackets);
    index_.reserve(brackets);
    Section* current = nullptr;
    std::size_t start = 0;
    while (start < text.size()) {
        // Lines end at CR LF, a bare CR or a bare LF.
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = TrimView(text.substr(start, end - start));
        start = end + (end + 1 < text.size() && text[end] == '\r' && text[end + 1] == '\n' ? 2 : 1);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            current = &FindOrAdd(line.substr(1, line.size() - 2));
            continue;
        }
        if (current == nullptr) continue;
        std::size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        current->entries.emplace_back(TrimView(line.substr(0, eq)), TrimView(line.substr(eq + 1)));
    }
}

std::string TMemIniFile::Text() const {
    std::size_t size = 0;
    for (const Section& s : sections_) {
        size += s.name.size() + 6;
        for (const auto& [k, v] : s.entries) size += k.size() + v.size() + 3;
    }
    std::string out;
    out.reserve(size);
    for (const Section& s : sections_) {
        out.append("[").append(s.name).append("]\r\n");
        for (const auto& [k, v] : s.entries) out.append(k).append("=").append(v).append("\r\n");
        out.append("\r\n");
    }
    return out;
}

const TMemIniFile::Section* TMemIniFile::Find(const std::string& section) const {
    auto it = index_.find(Lower(section));
    return it == index_.end() ? nullptr : &sections_[it->second];
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
    Section& s = FindOrAdd(section);
    for (auto& e : s.entries)
        if (SameText(e.first, key)) {
            e.second = value;
            return;
        }
    s.entries.emplace_back(key, value);
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

TIniFile::Stamp TIniFile::StampOf(const std::string& file) {
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) return {};
    return {st.st_dev, st.st_ino, st.st_size,
            static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

const TMemIniFile& TIniFile::Current() const {
    Stamp now = StampOf(fileName_);
    if (loaded_ && now == stamp_) return content_;
    content_ = TMemIniFile();
    if (FileExists(fileName_)) {
        try {
            std::vector<std::uint8_t> bytes = ReadFileBytes(fileName_);
            content_.SetText(
                std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
        } catch (const EStreamError&) {
            // An unreadable settings file reads as an empty one: every value takes its default.
            content_ = TMemIniFile();
        }
    }
    // A file that changes while it is read gets a stamp that no later look will match.
    stamp_ = now == StampOf(fileName_) ? now : Stamp{};
    loaded_ = stamp_.size >= 0;
    return content_;
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& def) const {
    return Current().ReadString(section, key, def);
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
    return Current().ReadInteger(section, key, def);
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
    const TMemIniFile& current = Current();
    if (current.ValueExists(section, key) && current.ReadString(section, key, "") == value) return;
    // Changed in place: a copy of a large file would cost as much as reading it again.
    content_.WriteString(section, key, value);
    std::string text = content_.Text();
    try {
        base::WriteFileAtomic(fileName_, text.data(), text.size());
    } catch (const base::FileError& e) {
        loaded_ = false;  // what is held is no longer what the file says
        throw EIniFileException("Unable to write to " + fileName_ + ": " + e.reason() + "." +
                                e.LeftOverNote());
    }
    stamp_ = StampOf(fileName_);
    loaded_ = stamp_.size >= 0;
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

}  // namespace rt
