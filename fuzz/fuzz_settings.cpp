// The settings file reader on arbitrary text: reading never fails, integers parse or fall back
// to the default, and what the writer produces reads back to the same values.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "runtime/IniFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    rt::TMemIniFile ini(std::string(reinterpret_cast<const char*>(data), size));
    (void)ini.ReadInteger("Options", "Skin", 1);
    rt::TMemIniFile again(ini.Text());
    for (const std::string& section : ini.Sections()) {
        for (const std::string& key : ini.Keys(section)) {
            std::string a = ini.ReadString(section, key, "\x01");
            std::string b = again.ReadString(section, key, "\x01");
            // Sections or keys made of spaces or starting with ';' or '[' cannot be written
            // back as such; every other entry must survive the round trip.
            bool writable = !section.empty() &&
                            section.find_first_of("]\r\n") == std::string::npos && !key.empty() &&
                            key[0] != ';' && key[0] != '[' &&
                            key.find_first_of("=\r\n") == std::string::npos;
            if (writable && a != b) std::abort();
            int v = 0;
            if (rt::TryStrToInt(a, v) && ini.ReadInteger(section, key, v + 1) != v) std::abort();
        }
    }
    return 0;
}
