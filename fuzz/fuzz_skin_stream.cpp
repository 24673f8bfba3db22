// The skin image stream loader on arbitrary bytes. The first byte chooses the input's form:
// even, the rest is an uncompressed skin image stream (wrapped in a zlib stream here); odd,
// the rest is the container's zlib data as it stands. A load either succeeds or throws a
// class-library error and leaves the skin data empty.
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "skin/data/skSkinData.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    rt::TMemoryStream payload;
    if (data[0] & 1) {
        payload.WriteBuffer(data + 1, std::int64_t(size - 1));
    } else {
        // Stored (level 0) blocks: the loader inflates the same, and the input costs no search
        // for matches.
        uLongf bound = compressBound(uLong(size - 1));
        std::vector<Bytef> z(bound);
        if (compress2(z.data(), &bound, data + 1, uLong(size - 1), 0) != Z_OK) std::abort();
        payload.WriteBuffer(z.data(), std::int64_t(bound));
    }
    payload.SetPosition(0);
    sk::TskCompressedStoredSkin container(nullptr);
    container.LoadPropertyData(payload);
    sk::TskSkinData skin(nullptr);
    try {
        skin.SetCompressedStoredSkin(&container);
    } catch (const rt::Exception&) {
        if (!skin.Empty() || !skin.Skin().ObjectList.empty() || !skin.Skin().ActivePictures.empty())
            std::abort();
        return 0;
    }
    // Whatever loaded is usable: every picture has the pixels its size says.
    for (const auto& bmp : skin.Skin().ActivePictures)
        if (bmp->Pixels().size() != std::size_t(bmp->Width()) * std::size_t(bmp->Height()))
            std::abort();
    return 0;
}
