#pragma once
// INI files as the class library reads them: sections and keys ignore letter case, values are
// the text after the first "=", each read or write opens the file for that moment only.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "runtime/Classes.h"

namespace rt {

// Sections and keys in file order, parsed from text. Sections are found through an index, so
// parsing and lookups stay linear in the size of the file however many sections it has.
class TMemIniFile {
public:
    TMemIniFile() = default;
    explicit TMemIniFile(std::string_view text) { SetText(text); }
    void SetText(std::string_view text);
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
    Section& FindOrAdd(std::string_view section);
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> index_;  // lower-cased name -> section
};

// An INI file on disk. Each read or write opens the file for that moment only; what was read is
// kept with the file's identity (device, inode, size, modification time), so a later read or
// write of an unchanged file does not parse it again, and writing a value it already holds
// leaves the file untouched.
class TIniFile {
public:
    explicit TIniFile(const std::string& fileName) : fileName_(fileName) {}
    const std::string& FileName() const { return fileName_; }
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    // Throws EIniFileException "Unable to write to <file>: <the system's reason>." when the
    // file cannot be written.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);

private:
    struct Stamp {
        unsigned long long dev = 0, ino = 0;
        long long size = -1, mtimeNs = 0;
        bool operator==(const Stamp&) const = default;
    };
    static Stamp StampOf(const std::string& file);
    const TMemIniFile& Current() const;

    std::string fileName_;
    mutable TMemIniFile content_;
    mutable Stamp stamp_;
    mutable bool loaded_ = false;
};

// Parses an integer as the class library's StrToIntDef does: optional sign, decimal or "$"/"0x"
// hexadecimal; false when the text is not a valid 32-bit integer.
bool TryStrToInt(const std::string& text, int& value);

}  // namespace rt
