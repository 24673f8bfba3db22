#include "skin/data/skIniParser.h"

#include <cstdint>

namespace sk {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void ConvertError(const std::string& text) {
    throw rt::EConvertError("'" + text + "' is not a valid integer value");
}

// Splits a point or rectangle into its numbers: a "," ends a number, and of everything else
// only digits count, so signs, blanks and letters vanish.
std::vector<int> ParseNumbers(const std::string& text, std::size_t count) {
    std::vector<int> out;
    out.reserve(count);
    std::string digits;
    for (char c : text) {
        if (out.size() == count) break;  // surplus numbers are outside the format: ignored
        if (c == ',') {
            out.push_back(StrToInt(digits));
            digits.clear();
        } else if (IsDigit(c)) {
            digits += c;
        }
    }
    if (out.size() < count) out.push_back(StrToInt(digits));
    if (out.size() < count) ConvertError("");
    return out;
}

}  // namespace

int StrToIntDef(const std::string& text, int def) {
    int v;
    return TryStrToInt(text, v) ? v : def;
}

int StrToInt(const std::string& text) {
    int v;
    if (!TryStrToInt(text, v)) ConvertError(text);
    return v;
}

rt::TPoint StrToPoint(const std::string& text) {
    std::vector<int> n = ParseNumbers(text, 2);
    return rt::TPoint{n[0], n[1]};
}

rt::TRect StrToRect(const std::string& text) {
    std::vector<int> n = ParseNumbers(text, 4);
    return rt::TRect{n[0], n[1], n[2], n[3]};
}

rt::TFontStyles StrToFontStyle(const std::string& text) {
    rt::TFontStyles s = 0;
    if (text.find("fsbold") != std::string::npos) s |= rt::fsBold;
    if (text.find("fsitalic") != std::string::npos) s |= rt::fsItalic;
    if (text.find("fsunderline") != std::string::npos) s |= rt::fsUnderline;
    if (text.find("fsstrikeout") != std::string::npos) s |= rt::fsStrikeOut;
    return s;
}

TskAlignment StrToAlignment(const std::string& text) {
    if (text == "taleftjustify") return taLeftJustify;
    if (text == "tacenter") return taCenter;
    return taRightJustify;
}

namespace {
const char* const kEffectWords[] = {"iebrightness", "iedarkness",  "iegrayscale",
                                    "ienoise",      "iesplitblur", "ieinvert"};
const char* const kMorphWords[] = {"mkdefault",       "mkgradient",  "mkleftgradient",
                                   "mkrightgradient", "mkleftslide", "mkrightslide",
                                   "mkpush"};
const char* const kCommandWords[] = {"cmclose",   "cmmaximize", "cmminimize",
                                     "cmsysmenu", "cmdefault",  "cmrollup"};

template <std::size_t N>
int WordIndex(const char* const (&words)[N], const std::string& text, int other) {
    for (std::size_t i = 0; i < N; ++i)
        if (text == words[i]) return int(i);
    return other;
}
}  // namespace

TskInactiveEffect StrToInactiveEffect(const std::string& text) {
    return TskInactiveEffect(WordIndex(kEffectWords, text, ieBrightness));
}

TskMorphKind StrToMorphKind(const std::string& text) {
    return TskMorphKind(WordIndex(kMorphWords, text, mkDefault));
}

TskStdCommand StrToCommand(const std::string& text) {
    // Every word that is none of the five others is the roll-up command.
    int i = WordIndex(kCommandWords, text, cmRollUp);
    return TskStdCommand(i);
}

std::string PointToStr(rt::TPoint p) { return std::to_string(p.X) + "," + std::to_string(p.Y); }

std::string RectToStr(const rt::TRect& r) {
    return std::to_string(r.Left) + "," + std::to_string(r.Top) + "," + std::to_string(r.Right) +
           "," + std::to_string(r.Bottom);
}

std::string FontStyleToStr(rt::TFontStyles s) {
    std::string out;
    auto add = [&](rt::TFontStyles flag, const char* word) {
        if ((s & flag) == 0) return;
        if (!out.empty()) out += ",";
        out += word;
    };
    add(rt::fsBold, "fsbold");
    add(rt::fsItalic, "fsitalic");
    add(rt::fsUnderline, "fsunderline");
    add(rt::fsStrikeOut, "fsstrikeout");
    return out;
}

std::string AlignmentToStr(TskAlignment a) {
    switch (a) {
        case taLeftJustify:
            return "taleftjustify";
        case taCenter:
            return "tacenter";
        default:
            return "tarightjustify";
    }
}

std::string InactiveEffectToStr(TskInactiveEffect e) {
    return e <= ieInvert ? kEffectWords[e] : kEffectWords[0];
}

std::string MorphKindToStr(TskMorphKind m) { return m <= mkPush ? kMorphWords[m] : kMorphWords[0]; }

std::string CommandToStr(TskStdCommand c) {
    return c <= cmRollUp ? kCommandWords[c] : kCommandWords[cmRollUp];
}

void TskIniFile::Clear() {
    sections_.clear();
    sectionIndex_.clear();
}

namespace {
char Lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

std::string_view TrimView(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}
}  // namespace

std::size_t TskIniFile::CaseInsensitiveHash::operator()(std::string_view s) const {
    std::size_t h = 1469598103934665603ull;  // FNV-1a over the lower-cased bytes
    for (char c : s) h = (h ^ static_cast<unsigned char>(Lower(c))) * 1099511628211ull;
    return h;
}

bool TskIniFile::CaseInsensitiveEqual::operator()(std::string_view a, std::string_view b) const {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

void TskIniFile::AddLine(Section*& current, std::string_view raw) {
    std::string_view line = TrimView(raw);
    if (line.empty() || line[0] == ';') return;
    if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
        current = &FindOrAdd(TrimView(line.substr(1, line.size() - 2)));
        return;
    }
    if (current == nullptr) return;  // lines before the first section mean nothing
    std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return;
    std::string key(TrimView(line.substr(0, eq)));
    current->index.emplace(key, current->entries.size());  // the first of equal keys counts
    current->entries.push_back(Entry{std::move(key), std::string(TrimView(line.substr(eq + 1)))});
}

void TskIniFile::SetStrings(const rt::TStringList& lines) {
    Clear();
    Section* current = nullptr;
    for (const std::string& l : lines.Items()) AddLine(current, l);
}

void TskIniFile::SetText(std::string_view text) {
    Clear();
    Section* current = nullptr;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c != '\r' && c != '\n') continue;
        AddLine(current, text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) AddLine(current, text.substr(start));
}

void TskIniFile::GetStrings(rt::TStringList& lines) const {
    lines.Clear();
    for (std::size_t s = 0; s < sections_.size(); ++s) {
        if (s > 0) lines.Add("");
        lines.Add("[" + sections_[s].name + "]");
        for (const Entry& e : sections_[s].entries) lines.Add(e.key + "=" + e.value);
    }
}

const TskIniFile::Section* TskIniFile::Find(std::string_view section) const {
    auto it = sectionIndex_.find(section);
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

TskIniFile::Section& TskIniFile::FindOrAdd(std::string_view section) {
    auto it = sectionIndex_.find(section);
    if (it != sectionIndex_.end()) return sections_[it->second];  // repeated headers merge
    sectionIndex_.emplace(std::string(section), sections_.size());
    sections_.push_back(Section{std::string(section), {}, {}});
    return sections_.back();
}

void TskIniFile::Reindex() {
    sectionIndex_.clear();
    for (std::size_t i = 0; i < sections_.size(); ++i) sectionIndex_.emplace(sections_[i].name, i);
}

TskIniFile::SectionHandle TskIniFile::FindSection(std::string_view section) const {
    return SectionHandle{Find(section)};
}

const std::string* TskIniFile::FindValueIn(SectionHandle section, std::string_view key) const {
    const auto* s = static_cast<const Section*>(section.section);
    if (s == nullptr) return nullptr;
    auto it = s->index.find(key);
    return it == s->index.end() ? nullptr : &s->entries[it->second].value;
}

const std::string* TskIniFile::FindValue(const std::string& section, const std::string& key) const {
    return FindValueIn(FindSection(section), key);
}

bool TskIniFile::SectionExists(const std::string& section) const {
    return Find(section) != nullptr;
}

bool TskIniFile::ValueExists(const std::string& section, const std::string& key) const {
    return FindValue(section, key) != nullptr;
}

std::vector<std::string> TskIniFile::Sections() const {
    std::vector<std::string> out;
    for (const Section& s : sections_) out.push_back(s.name);
    return out;
}

std::vector<std::string> TskIniFile::Keys(const std::string& section) const {
    std::vector<std::string> out;
    if (const Section* s = Find(section))
        for (const Entry& e : s->entries) out.push_back(e.key);
    return out;
}

std::string TskIniFile::ReadString(const std::string& section, const std::string& key,
                                   const std::string& def) const {
    const std::string* v = FindValue(section, key);
    return v != nullptr ? *v : def;
}

int TskIniFile::ReadInteger(const std::string& section, const std::string& key, int def) const {
    const std::string* v = FindValue(section, key);
    return v != nullptr ? StrToIntDef(*v, def) : def;
}

bool TskIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const {
    const std::string* v = FindValue(section, key);
    if (v == nullptr) return def;
    int i;
    if (!TryStrToInt(*v, i)) return def;
    return i == 1;
}

rt::TPoint TskIniFile::ReadPoint(const std::string& section, const std::string& key,
                                 rt::TPoint def) const {
    const std::string* v = FindValue(section, key);
    return v == nullptr || v->empty() ? def : StrToPoint(*v);
}

rt::TRect TskIniFile::ReadRect(const std::string& section, const std::string& key,
                               rt::TRect def) const {
    const std::string* v = FindValue(section, key);
    return v == nullptr || v->empty() ? def : StrToRect(*v);
}

rt::TFontStyles TskIniFile::ReadFontStyle(const std::string& section, const std::string& key,
                                          rt::TFontStyles def) const {
    const std::string* v = FindValue(section, key);
    return v == nullptr ? def : StrToFontStyle(*v);
}

TskAlignment TskIniFile::ReadAlignment(const std::string& section, const std::string& key,
                                       TskAlignment def) const {
    const std::string* v = FindValue(section, key);
    return v == nullptr ? def : StrToAlignment(*v);
}

TskInactiveEffect TskIniFile::ReadInactiveEffect(const std::string& section, const std::string& key,
                                                 TskInactiveEffect def) const {
    const std::string* v = FindValue(section, key);
    return v == nullptr ? def : StrToInactiveEffect(*v);
}

TskMorphKind TskIniFile::ReadMorphKind(const std::string& section, const std::string& key,
                                       TskMorphKind def) const {
    const std::string* v = FindValue(section, key);
    return v == nullptr ? def : StrToMorphKind(*v);
}

TskStdCommand TskIniFile::ReadCommand(const std::string& section, const std::string& key,
                                      TskStdCommand def) const {
    const std::string* v = FindValue(section, key);
    return v == nullptr ? def : StrToCommand(*v);
}

void TskIniFile::WriteString(const std::string& section, const std::string& key,
                             const std::string& value) {
    Section& s = FindOrAdd(section);
    auto it = s.index.find(std::string_view(key));
    if (it != s.index.end()) {
        s.entries[it->second].value = value;
        return;
    }
    s.index.emplace(key, s.entries.size());
    s.entries.push_back(Entry{key, value});
}

void TskIniFile::EraseSection(const std::string& section) {
    auto it = sectionIndex_.find(std::string_view(section));
    if (it == sectionIndex_.end()) return;
    sections_.erase(sections_.begin() + std::ptrdiff_t(it->second));
    Reindex();
}

}  // namespace sk
