// The skin image stream loader on arbitrary bytes. The first byte chooses the input's form:
// even, the rest is an uncompressed skin image stream (compressed here before loading); odd,
// the rest is the container's zlib data as it stands. A load either succeeds or throws a
// class-library error and leaves the skin data empty.
#include <cstdint>
#include <cstdlib>

#include "skin/data/skSkinData.h"
#include "skin/data/skZStream.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    rt::TMemoryStream payload;
    if (data[0] & 1) {
        payload.WriteBuffer(data + 1, std::int64_t(size - 1));
    } else {
        rt::TMemoryStream raw;
        raw.WriteBuffer(data + 1, std::int64_t(size - 1));
        sk::CompressStream(raw, payload);
    }
    payload.SetPosition(0);
    sk::TskCompressedStoredSkin container(nullptr);
    container.LoadPropertyData(payload);
    sk::TskSkinData skin(nullptr);
    try {
        skin.SetCompressedStoredSkin(&container);
    } catch (const rt::Exception&) {
        if (!skin.Empty() || !skin.ObjectList.empty() || !skin.ActivePictures.empty()) std::abort();
        return 0;
    }
    // Whatever loaded is usable: every picture has the pixels its size says.
    for (const auto& bmp : skin.ActivePictures)
        if (bmp->Pixels().size() != std::size_t(bmp->Width()) * std::size_t(bmp->Height()))
            std::abort();
    return 0;
}
