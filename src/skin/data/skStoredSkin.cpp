#include "skin/data/skStoredSkin.h"

#include <algorithm>
#include <cstring>

#include "skin/data/skIniParser.h"
#include "skin/data/skZStream.h"

namespace sk {

const char* const kSkinRequiredSections[5] = {"VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS",
                                              "SKINCONTROLS"};

namespace {

// The smallest bitmap file: file header, core header and one row of one pixel.
constexpr std::int64_t kMinBmpSize = 14 + 12 + 4;

std::int64_t Remaining(rt::TStream& s) { return s.Size() - s.Position(); }

std::uint8_t ReadByte(rt::TStream& s) {
    std::uint8_t b;
    if (s.Read(&b, 1) != 1) throw rt::EReadError("Stream read error: the skin data ends early");
    return b;
}

std::int32_t ReadInt32(rt::TStream& s) {
    std::uint8_t b[4];
    if (s.Read(b, 4) != 4) throw rt::EReadError("Stream read error: the skin data ends early");
    return std::int32_t(std::uint32_t(b[0]) | std::uint32_t(b[1]) << 8 | std::uint32_t(b[2]) << 16 |
                        std::uint32_t(b[3]) << 24);
}

void WriteInt32(rt::TStream& s, std::int32_t v) {
    std::uint32_t u = std::uint32_t(v);
    std::uint8_t b[4] = {std::uint8_t(u), std::uint8_t(u >> 8), std::uint8_t(u >> 16),
                         std::uint8_t(u >> 24)};
    s.WriteBuffer(b, 4);
}

void ReadOptionalBitmap(rt::TStream& s, rt::TBitmap& bmp) {
    if (ReadByte(s) != 0)
        bmp.Clear();
    else
        bmp.LoadFromStream(s);
}

void WriteOptionalBitmap(rt::TStream& s, const rt::TBitmap& bmp) {
    std::uint8_t flag = bmp.Empty() ? 1 : 0;
    s.WriteBuffer(&flag, 1);
    if (!bmp.Empty()) bmp.SaveToStream(s);
}

void LoadBitmapFile(const std::string& folder, const std::string& name, rt::TBitmap& bmp) {
    if (name.empty())
        bmp.Clear();
    else
        bmp.LoadFromFile(folder + name);
}

// The active picture files named by "activepicturescount" and the keys "0", "1", ...
void LoadActivePictureFiles(const TskIniFile& ini, const std::string& folder, TskBitmapList& out) {
    int count = ini.ReadInteger("PICTURES", "activepicturescount", 0);
    for (int i = 0; i < count; ++i) {
        auto bmp = std::make_unique<rt::TBitmap>();
        // A missing key leaves the folder alone, which fails to load like any bad file.
        bmp->LoadFromFile(folder + ini.ReadString("PICTURES", std::to_string(i), ""));
        out.push_back(std::move(bmp));
    }
}

// Reads bytes owned elsewhere without copying them; inflating the container only reads it.
class ByteReader : public rt::TStream {
public:
    explicit ByteReader(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}
    std::int64_t Read(void* buffer, std::int64_t count) override {
        std::int64_t n = std::clamp<std::int64_t>(std::int64_t(bytes_.size()) - pos_, 0, count);
        if (n > 0) std::memcpy(buffer, bytes_.data() + pos_, std::size_t(n));
        pos_ += n;
        return n;
    }
    std::int64_t Write(const void*, std::int64_t) override { return 0; }
    std::int64_t Seek(std::int64_t offset, rt::TSeekOrigin origin) override {
        std::int64_t base = origin == rt::soBeginning ? 0
                            : origin == rt::soCurrent ? pos_
                                                      : std::int64_t(bytes_.size());
        pos_ = std::max<std::int64_t>(0, base + offset);
        return pos_;
    }

private:
    const std::vector<std::uint8_t>& bytes_;
    std::int64_t pos_ = 0;
};

std::vector<std::uint8_t> ReadFramed(rt::TStream& s) {
    std::int32_t count = ReadInt32(s);
    if (count < 0 || count > Remaining(s))
        throw rt::EReadError("Stream read error: the property's byte count exceeds the data");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    s.ReadBuffer(bytes.data(), count);
    return bytes;
}

}  // namespace

void ReadSkinPictures(rt::TStream& stream, rt::TBitmap& picture, rt::TBitmap& inactivePicture,
                      rt::TBitmap& maskBitmap, TskBitmapList& activePictures) {
    ReadOptionalBitmap(stream, picture);
    ReadOptionalBitmap(stream, inactivePicture);
    ReadOptionalBitmap(stream, maskBitmap);
    activePictures.clear();
    std::int32_t count = ReadInt32(stream);
    if (count <= 0) return;
    if (count > Remaining(stream) / kMinBmpSize)
        throw rt::EReadError("Stream read error: the skin's picture count (" +
                             std::to_string(count) + ") exceeds its data");
    for (std::int32_t i = 0; i < count; ++i) {
        auto bmp = std::make_unique<rt::TBitmap>();
        bmp->LoadFromStream(stream);
        activePictures.push_back(std::move(bmp));
    }
}

void ReadSkinPictures(rt::TStream& stream, TskSkinPictures& out) {
    ReadSkinPictures(stream, out.Picture, out.InactivePicture, out.MaskBitmap, out.ActivePictures);
}

void WriteSkinPictures(rt::TStream& stream, const rt::TBitmap& picture,
                       const rt::TBitmap& inactivePicture, const rt::TBitmap& maskBitmap,
                       const TskBitmapList& activePictures) {
    WriteOptionalBitmap(stream, picture);
    WriteOptionalBitmap(stream, inactivePicture);
    WriteOptionalBitmap(stream, maskBitmap);
    WriteInt32(stream, std::int32_t(activePictures.size()));
    for (const auto& bmp : activePictures) bmp->SaveToStream(stream);
}

TskCompressedStoredSkin::TskCompressedStoredSkin(rt::TComponent* owner) : TComponent(owner) {}

void TskCompressedStoredSkin::SetFileName(const std::string& fileName) {
    if (!Designing) {
        fileName_ = fileName;
        return;
    }
    fileName_ = rt::ExtractFileName(fileName);
    LoadFromIniFile(fileName);
}

void TskCompressedStoredSkin::DecompressToStream(rt::TStream& target) const {
    ByteReader source(data_.Bytes());
    DecompressStream(target, source);
}

void TskCompressedStoredSkin::LoadFromIniFile(const std::string& path) {
    rt::TStringList lines;
    lines.LoadFromFile(path);
    TskIniFile ini(lines);
    for (const char* section : kSkinRequiredSections)
        if (!ini.SectionExists(section)) return;

    std::string folder = rt::ExtractFilePath(path);
    data_.Clear();

    rt::TMemoryStream image;
    WriteInt32(image, 1);
    for (const char* key : {"picture", "inactivepicture", "mask"}) {
        rt::TBitmap bmp;
        LoadBitmapFile(folder, ini.ReadString("PICTURES", key, ""), bmp);
        WriteOptionalBitmap(image, bmp);
    }
    TskBitmapList active;
    LoadActivePictureFiles(ini, folder, active);
    WriteInt32(image, std::int32_t(active.size()));
    for (const auto& bmp : active) bmp->SaveToStream(image);
    std::string text = lines.Text();
    image.WriteBuffer(text.data(), std::int64_t(text.size()));

    CompressStream(image, data_);
}

void TskCompressedStoredSkin::LoadPropertyData(rt::TStream& stream) {
    std::int64_t n = std::max<std::int64_t>(0, Remaining(stream));
    std::vector<std::uint8_t> bytes(std::size_t(n), 0);
    stream.ReadBuffer(bytes.data(), n);
    data_.Clear();
    data_.WriteBuffer(bytes.data(), n);
}

void TskCompressedStoredSkin::SavePropertyData(rt::TStream& stream) const {
    stream.WriteBuffer(data_.Memory(), std::int64_t(data_.Bytes().size()));
}

void TskCompressedStoredSkin::ReadFormProperty(rt::TStream& stream) {
    std::vector<std::uint8_t> bytes = ReadFramed(stream);
    data_.Clear();
    data_.WriteBuffer(bytes.data(), std::int64_t(bytes.size()));
}

void TskCompressedStoredSkin::WriteFormProperty(rt::TStream& stream) const {
    WriteInt32(stream, std::int32_t(data_.Bytes().size()));
    SavePropertyData(stream);
}

TskStoredSkin::TskStoredSkin(rt::TComponent* owner) : TComponent(owner) {}

TskStoredSkin::~TskStoredSkin() { ClearActivePictures(); }

void TskStoredSkin::SetFileName(const std::string& fileName) {
    if (!Designing) {
        fileName_ = fileName;
        return;
    }
    fileName_ = rt::ExtractFileName(fileName);
    LoadFromIniFile(fileName);
}

void TskStoredSkin::LoadFromIniFile(const std::string& path) {
    iniStrings_.LoadFromFile(path);
    TskIniFile ini(iniStrings_);
    std::string folder = rt::ExtractFilePath(path);
    LoadBitmapFile(folder, ini.ReadString("PICTURES", "picture", ""), Picture);
    LoadBitmapFile(folder, ini.ReadString("PICTURES", "inactivepicture", ""), InactivePicture);
    LoadBitmapFile(folder, ini.ReadString("PICTURES", "mask", ""), MaskBitmap);
    ClearActivePictures();
    LoadActivePictureFiles(ini, folder, ActivePictures);
}

void TskStoredSkin::LoadPropertyData(rt::TStream& stream) {
    TskSkinPictures p;
    ReadSkinPictures(stream, p);
    Picture = std::move(p.Picture);
    InactivePicture = std::move(p.InactivePicture);
    MaskBitmap = std::move(p.MaskBitmap);
    ClearActivePictures();
    ActivePictures = std::move(p.ActivePictures);
}

void TskStoredSkin::SavePropertyData(rt::TStream& stream) const {
    WriteSkinPictures(stream, Picture, InactivePicture, MaskBitmap, ActivePictures);
}

void TskStoredSkin::ReadFormProperty(rt::TStream& stream) {
    std::vector<std::uint8_t> bytes = ReadFramed(stream);
    rt::TMemoryStream s;
    s.WriteBuffer(bytes.data(), std::int64_t(bytes.size()));
    s.SetPosition(0);
    LoadPropertyData(s);
}

void TskStoredSkin::WriteFormProperty(rt::TStream& stream) const {
    rt::TMemoryStream s;
    SavePropertyData(s);
    WriteInt32(stream, std::int32_t(s.Bytes().size()));
    stream.WriteBuffer(s.Memory(), std::int64_t(s.Bytes().size()));
}

}  // namespace sk
