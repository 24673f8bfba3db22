#pragma once
// The skin data object: the one source of skin data that skinned forms and controls paint
// from. It loads a skin from a stored-skin container, can be cleared (no skin), and announces
// each change to every form with the messages SM_BEFORECHANGESKIN, SM_CHANGESKIN and
// SM_AFTERCHANGESKIN (wParam = this object, lParam = 1000).

#include <memory>
#include <string>
#include <vector>

#include "runtime/Classes.h"
#include "runtime/Graphics.h"
#include "skin/data/skDataControls.h"
#include "skin/data/skDataObjects.h"
#include "skin/data/skIniParser.h"
#include "skin/data/skSkinMessages.h"
#include "skin/data/skStoredSkin.h"
#include "skin/data/skTypes.h"

namespace sk {

class TskSkinData : public rt::TComponent {
public:
    explicit TskSkinData(rt::TComponent* owner);
    ~TskSkinData() override;

    // True while no skin is loaded: after construction, during every load, after ClearSkin and
    // after a failed load. Consumers check it before looking anything up.
    bool Empty() const { return empty_; }

    TskCompressedStoredSkin* CompressedStoredSkin() const { return compressedStoredSkin_; }
    // Stores the reference and, for a non-null container, loads it (again, if it is the same).
    void SetCompressedStoredSkin(TskCompressedStoredSkin* value);
    TskStoredSkin* StoredSkin() const { return storedSkin_; }
    void SetStoredSkin(TskStoredSkin* value);
    // Set by a design tool: then setting a container only stores the reference.
    bool Designing = false;

    // Loads a skin; errors (short or corrupt data, bad bitmaps, bad numbers) propagate after
    // the object has been left Empty, with only SM_BEFORECHANGESKIN sent.
    void LoadCompressedStoredSkin(TskCompressedStoredSkin* container);
    void LoadStoredSkin(TskStoredSkin* container);
    // The no-skin command: empties, then sends all three messages.
    void ClearSkin();

    // Index of the first description named exactly `name`, or -1.
    int GetIndex(const std::string& name) const;
    int GetControlIndex(const std::string& name) const;
    // The active picture at index, or null when there is none at that index.
    const rt::TBitmap* ActivePicture(int index) const {
        if (index < 0 || std::size_t(index) >= ActivePictures.size()) return nullptr;
        return ActivePictures[std::size_t(index)].get();
    }

    // Sends msg to the skin listeners, the owner form's first; nothing when the owner is no
    // form (neither a TForm nor a component a listener stands for).
    void SendSkinDataMessage(unsigned msg);
    // Drops the descriptions and pictures and sets Empty; the frame geometry and the version
    // texts keep their values until the next load.
    void ClearData();
    // Frees every description and active picture; resets the two window picture indices.
    void ClearObjects();
    // Reads "FORMINFO" and pulls the corner points into the client box.
    void LoadFormInfo(const TskIniFile& ini);
    void LoadSkinObjects(const TskIniFile& ini);
    void LoadSkinControls(const TskIniFile& ini);

    rt::TBitmap Picture;
    rt::TBitmap InactivePicture;
    rt::TBitmap MaskBitmap;
    TskBitmapList ActivePictures;

    TskDataSkinPopupWindow PopupWindow;
    TskDataSkinHintWindow HintWindow;
    std::vector<std::unique_ptr<TskDataSkinObject>> ObjectList;
    std::vector<std::unique_ptr<TskDataSkinControl>> CtrlList;

    std::string SkinName, SkinAuthor, AuthorEmail, AuthorURL, SkinComments;

    rt::TPoint FrameLeftTop, FrameRightTop, FrameLeftBottom, FrameRightBottom;
    rt::TRect FrameClientBox;
    int BackPictureIndex = -1;
    bool LeftStretch = false, RightStretch = false, TopStretch = false, BottomStretch = false;
    rt::TRect MaskRectArea;
    rt::TPoint HitTestLTPoint, HitTestRTPoint, HitTestLBPoint, HitTestRBPoint;
    rt::TRect ButtonsRect;
    rt::TRect CaptionBox;
    int ButtonsOffset = 0;
    bool ButtonsInLeft = false;
    bool MainMenuPopupUp = false;
    int BorderWidth = 0;
    bool AutoRenderingInactiveImage = false;
    TskInactiveEffect InactiveEffect = ieBrightness;

    static std::span<const TskField<TskSkinData>> FormInfoFields();

protected:
    void Notification(rt::TComponent* component, rt::TOperation operation) override;

private:
    // Steps shared by both loaders once the pictures are in place.
    void LoadDescription(const TskIniFile& ini);
    void LoadVersion(const TskIniFile& ini);
    void FinishLoad();
    void AbandonLoad();

    bool empty_ = true;
    TskCompressedStoredSkin* compressedStoredSkin_ = nullptr;
    TskStoredSkin* storedSkin_ = nullptr;
};

}  // namespace sk
