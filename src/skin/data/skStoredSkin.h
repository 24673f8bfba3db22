#pragma once
// Stored-skin containers: a whole skin (pictures and description) held in a component, either
// zlib-compressed (TskCompressedStoredSkin) or as bitmaps plus lines (TskStoredSkin).
//
// The skin image stream (little-endian, no padding):
//   int32 version (1) | flag, [BMP] picture | flag, [BMP] inactive picture | flag, [BMP] mask |
//   int32 N | N BMP active pictures | description lines, each followed by CR LF, to the end.
// A flag byte of 1 means the picture is absent and nothing follows for it. Each BMP image is a
// whole bitmap file whose header size field gives its length.

#include <memory>
#include <string>
#include <vector>

#include "runtime/Classes.h"
#include "runtime/Graphics.h"

namespace sk {

using TskBitmapList = std::vector<std::unique_ptr<rt::TBitmap>>;

// The pictures of a skin as the skin image stream carries them (fields 2 to 9).
struct TskSkinPictures {
    rt::TBitmap Picture;
    rt::TBitmap InactivePicture;
    rt::TBitmap MaskBitmap;
    TskBitmapList ActivePictures;
};

// Reads fields 2 to 9 from the stream's position. Every size is checked against the bytes that
// remain: a short stream throws rt::EReadError, a bad bitmap rt::EInvalidGraphic.
void ReadSkinPictures(rt::TStream& stream, TskSkinPictures& out);
void ReadSkinPictures(rt::TStream& stream, rt::TBitmap& picture, rt::TBitmap& inactivePicture,
                      rt::TBitmap& maskBitmap, TskBitmapList& activePictures);
// Writes fields 2 to 9; a picture is absent exactly when its bitmap is empty.
void WriteSkinPictures(rt::TStream& stream, const rt::TBitmap& picture,
                       const rt::TBitmap& inactivePicture, const rt::TBitmap& maskBitmap,
                       const TskBitmapList& activePictures);

// The five sections a complete skin description has.
extern const char* const kSkinRequiredSections[5];

class TskCompressedStoredSkin : public rt::TComponent {
public:
    explicit TskCompressedStoredSkin(rt::TComponent* owner);

    const std::string& FileName() const { return fileName_; }
    // At run time only stores the name; when Designing, stores the file-name part of the path
    // and builds the content from that skin folder.
    void SetFileName(const std::string& fileName);
    // Set by a design tool; the program itself never designs.
    bool Designing = false;

    bool IsEmpty() const { return data_.Bytes().empty(); }
    // The zlib stream ("CompressedData").
    const rt::TMemoryStream& CompressedData() const { return data_; }

    // Inflates all of the compressed data into target at target's position.
    void DecompressToStream(rt::TStream& target) const;

    // Builds the compressed skin image stream from a skin description file and the bitmaps it
    // names beside it. A description without the five sections leaves the container unchanged.
    void LoadFromIniFile(const std::string& path);

    // The "CompressedData" property: LoadPropertyData replaces the data with the stream's bytes
    // from its position to its end; SavePropertyData writes them unchanged.
    void LoadPropertyData(rt::TStream& stream);
    void SavePropertyData(rt::TStream& stream) const;
    // The property as a form file frames it: 32-bit byte count, then the bytes.
    void ReadFormProperty(rt::TStream& stream);
    void WriteFormProperty(rt::TStream& stream) const;

private:
    std::string fileName_;
    rt::TMemoryStream data_;
};

class TskStoredSkin : public rt::TComponent {
public:
    explicit TskStoredSkin(rt::TComponent* owner);
    ~TskStoredSkin() override;

    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& fileName);
    bool Designing = false;

    const rt::TStringList& IniStrings() const { return iniStrings_; }
    void SetIniStrings(const rt::TStringList& lines) { iniStrings_.Assign(lines); }

    rt::TBitmap Picture;
    rt::TBitmap InactivePicture;
    rt::TBitmap MaskBitmap;
    TskBitmapList ActivePictures;

    void ClearActivePictures() { ActivePictures.clear(); }
    // Loads the lines and the pictures of a skin folder (no section check).
    void LoadFromIniFile(const std::string& path);

    // The "Pictures" property: fields 2 to 9 of the skin image stream. A failed read leaves
    // the pictures as they were.
    void LoadPropertyData(rt::TStream& stream);
    void SavePropertyData(rt::TStream& stream) const;
    void ReadFormProperty(rt::TStream& stream);
    void WriteFormProperty(rt::TStream& stream) const;

private:
    std::string fileName_;
    rt::TStringList iniStrings_;
};

}  // namespace sk
