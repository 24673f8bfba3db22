#pragma once
// Builders for skin image streams on top of the common byte and bitmap builders.

#include <cstdint>
#include <string>
#include <vector>

#include "common/BmpBuilder.h"
#include "common/TempDir.h"
#include "runtime/Classes.h"
#include "skin/data/skIniParser.h"
#include "skin/data/skZStream.h"

namespace skintest {

using namespace testutil;

// A skin description file holding `text`.
inline sk::TskIniFile Ini(const std::string& text) {
    sk::TskIniFile ini;
    ini.SetText(text);
    return ini;
}

inline Bytes Compress(const Bytes& raw) {
    rt::TMemoryStream in, out;
    in.WriteBuffer(raw.data(), std::int64_t(raw.size()));
    sk::CompressStream(in, out);
    return out.Bytes();
}

inline Bytes Inflate(const Bytes& z) {
    rt::TMemoryStream in, out;
    in.WriteBuffer(z.data(), std::int64_t(z.size()));
    sk::DecompressStream(out, in);
    return out.Bytes();
}

inline std::string TestSkinDir() {
    return std::string(FRAMORA_SOURCE_DIR) + "/tests/skin/data/testskin/";
}

}  // namespace skintest
