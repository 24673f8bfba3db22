#pragma once
// Skins built into the program at build time (the CMake function framora_embed_skin packs a
// skin folder with skinpack and compiles its bytes in). Each embedded skin is kept as the
// "CompressedData" form property: a 32-bit byte count, then the zlib stream.
//
// A skin embedded into a target also defines `const std::vector<std::uint8_t>&
// EmbeddedSkin_<NAME>()` (declared in the generated header "EmbeddedSkin_<NAME>.h"); referring
// to it keeps the skin linked even when the target is a static library.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sk {

class TskCompressedStoredSkin;

// The framed bytes of the skin embedded under `name` (exact match), or null.
const std::vector<std::uint8_t>* FindEmbeddedSkin(const std::string& name);
std::vector<std::string> EmbeddedSkinNames();

// Fills the container from the embedded skin; false when no skin has that name.
bool LoadEmbeddedSkin(const std::string& name, TskCompressedStoredSkin& container);

// Called by the generated sources while the program starts.
void RegisterEmbeddedSkin(const std::string& name, const std::vector<std::uint8_t>* bytes);

struct TskEmbeddedSkinRegistrar {
    TskEmbeddedSkinRegistrar(const char* name, const std::vector<std::uint8_t>& bytes) {
        RegisterEmbeddedSkin(name, &bytes);
    }
};

}  // namespace sk
