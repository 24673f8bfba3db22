#pragma once
// INI files as the class library reads them: sections and keys ignore letter case, values are
// the text after the first "=", each read or write opens the file for that moment only.

#include <map>
#include <string>
#include <vector>

#include "runtime/Classes.h"

namespace rt {

// Sections and keys in file order, parsed from text.
class TMemIniFile {
public:
    TMemIniFile() = default;
    explicit TMemIniFile(const std::string& text) { SetText(text); }
    void SetText(const std::string& text);
    std::string Text() const;

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    // Decimal, or hexadecimal with a "0x" or "$" prefix; anything else gives def.
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value) {
        WriteString(section, key, std::to_string(value));
    }
    std::vector<std::string> Sections() const;
    std::vector<std::string> Keys(const std::string& section) const;

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> entries;
    };
    const Section* Find(const std::string& section) const;
    std::vector<Section> sections_;
};

class TIniFile {
public:
    explicit TIniFile(const std::string& fileName) : fileName_(fileName) {}
    const std::string& FileName() const { return fileName_; }
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    // Throws EIniFileException "Unable to write to <file>" when the file cannot be written.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);

private:
    TMemIniFile Load() const;
    std::string fileName_;
};

// Parses an integer as the class library's StrToIntDef does: optional sign, decimal or "$"/"0x"
// hexadecimal; false when the text is not a valid 32-bit integer.
bool TryStrToInt(const std::string& text, int& value);

}  // namespace rt
