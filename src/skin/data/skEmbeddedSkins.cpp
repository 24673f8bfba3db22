#include "skin/data/skEmbeddedSkins.h"

#include <map>

#include "skin/data/skStoredSkin.h"

namespace sk {

namespace {
// Built on first use, so registrations from other files' static initialisers always find it.
std::map<std::string, const std::vector<std::uint8_t>*>& Registry() {
    static std::map<std::string, const std::vector<std::uint8_t>*> registry;
    return registry;
}
}  // namespace

void RegisterEmbeddedSkin(const std::string& name, const std::vector<std::uint8_t>* bytes) {
    Registry()[name] = bytes;
}

const std::vector<std::uint8_t>* FindEmbeddedSkin(const std::string& name) {
    auto it = Registry().find(name);
    return it == Registry().end() ? nullptr : it->second;
}

std::vector<std::string> EmbeddedSkinNames() {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : Registry()) names.push_back(name);
    return names;
}

bool LoadEmbeddedSkin(const std::string& name, TskCompressedStoredSkin& container) {
    const std::vector<std::uint8_t>* bytes = FindEmbeddedSkin(name);
    if (bytes == nullptr) return false;
    rt::TMemoryStream s;
    s.WriteBuffer(bytes->data(), std::int64_t(bytes->size()));
    s.SetPosition(0);
    container.ReadFormProperty(s);
    return true;
}

}  // namespace sk
