#pragma once
// The skin description syntax: an ini text with trimmed lines, ";" comments, case-insensitive
// sections and keys, and the value forms the skin objects use (points, rectangles, font styles
// and the enumeration words).

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "runtime/Classes.h"
#include "runtime/Graphics.h"
#include "runtime/IniFiles.h"
#include "runtime/Types.h"
#include "skin/data/skTypes.h"

namespace sk {

// The form of a key's value; a description's key table names one per key.
enum class TskValueForm {
    Integer,
    PictureIndex,
    Color,
    Boolean,
    Point,
    Rect,
    Text,
    FontStyle,
    Alignment,
    InactiveEffect,
    MorphKind,
    Command
};

// A skin description held in memory: sections in file order, keys in section order.
class TskIniFile {
public:
    TskIniFile() = default;
    explicit TskIniFile(const rt::TStringList& lines) { SetStrings(lines); }

    // Replaces the content with the parsed lines.
    void SetStrings(const rt::TStringList& lines);
    // Parses text split at CR LF, bare CR or bare LF.
    void SetText(std::string_view text);
    // The content as lines: "[section]" then "key=value" lines, a blank line between sections.
    void GetStrings(rt::TStringList& lines) const;

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    // The value as written, or null when the key is missing.
    const std::string* FindValue(const std::string& section, const std::string& key) const;
    // A section looked up once for reading many keys; null when it is missing.
    struct SectionHandle {
        const void* section = nullptr;
    };
    SectionHandle FindSection(std::string_view section) const;
    const std::string* FindValueIn(SectionHandle section, std::string_view key) const;
    std::vector<std::string> Sections() const;
    std::vector<std::string> Keys(const std::string& section) const;

    // The value as written, or def when the key is missing.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    // def when the key is missing, empty or not a valid integer.
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    // True exactly when the integer value is 1.
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    // Points and rectangles throw rt::EConvertError for an empty number; missing or empty
    // values give def.
    rt::TPoint ReadPoint(const std::string& section, const std::string& key, rt::TPoint def) const;
    rt::TRect ReadRect(const std::string& section, const std::string& key, rt::TRect def) const;
    rt::TFontStyles ReadFontStyle(const std::string& section, const std::string& key,
                                  rt::TFontStyles def) const;
    TskAlignment ReadAlignment(const std::string& section, const std::string& key,
                               TskAlignment def) const;
    TskInactiveEffect ReadInactiveEffect(const std::string& section, const std::string& key,
                                         TskInactiveEffect def) const;
    TskMorphKind ReadMorphKind(const std::string& section, const std::string& key,
                               TskMorphKind def) const;
    TskStdCommand ReadCommand(const std::string& section, const std::string& key,
                              TskStdCommand def) const;

    // Replaces the key's first value, or appends the key (and the section) when missing.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void EraseSection(const std::string& section);
    void Clear();

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    // Hashing and equality that ignore ASCII letter case, so lookups need no lower-cased copy.
    struct CaseInsensitiveHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const;
    };
    struct CaseInsensitiveEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const;
    };
    using Index =
        std::unordered_map<std::string, std::size_t, CaseInsensitiveHash, CaseInsensitiveEqual>;
    struct Section {
        std::string name;
        std::vector<Entry> entries;
        Index index;  // key -> its first entry
    };
    const Section* Find(std::string_view section) const;
    Section& FindOrAdd(std::string_view section);
    void AddLine(Section*& current, std::string_view raw);
    void Reindex();

    std::vector<Section> sections_;
    Index sectionIndex_;
};

// Value conversions of the description syntax, usable on their own.

// The class library's integer converter: optional sign, decimal or "$" / "0x" hexadecimal.
using rt::TryStrToInt;
int StrToIntDef(const std::string& text, int def);
// Throws rt::EConvertError "'<text>' is not a valid integer value".
int StrToInt(const std::string& text);
// Points and rectangles keep only digits between the commas; see TskIniFile::ReadPoint.
rt::TPoint StrToPoint(const std::string& text);
rt::TRect StrToRect(const std::string& text);
rt::TFontStyles StrToFontStyle(const std::string& text);
TskAlignment StrToAlignment(const std::string& text);
TskInactiveEffect StrToInactiveEffect(const std::string& text);
TskMorphKind StrToMorphKind(const std::string& text);
TskStdCommand StrToCommand(const std::string& text);

std::string PointToStr(rt::TPoint p);
std::string RectToStr(const rt::TRect& r);
std::string FontStyleToStr(rt::TFontStyles s);
std::string AlignmentToStr(TskAlignment a);
std::string InactiveEffectToStr(TskInactiveEffect e);
std::string MorphKindToStr(TskMorphKind m);
std::string CommandToStr(TskStdCommand c);

}  // namespace sk
