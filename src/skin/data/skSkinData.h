#pragma once
// The skin data object: the one source of skin data that skinned forms and controls paint
// from. It loads a skin from a stored-skin container, can be cleared (no skin), and announces
// each change to its own subscribers (skSkinSubscription.h). The loaded pictures and
// descriptions form one immutable TskSkin (skSkin.h): each load publishes a new one, and a
// holder of the previous one keeps it until it lets go.

#include <memory>
#include <string>
#include <vector>

#include "runtime/Classes.h"
#include "runtime/Graphics.h"
#include "skin/data/skDataControls.h"
#include "skin/data/skDataObjects.h"
#include "skin/data/skIniParser.h"
#include "skin/data/skSkin.h"
#include "skin/data/skSkinMessages.h"
#include "skin/data/skSkinSubscription.h"
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

    // The skin in place: its pictures and descriptions (all empty while Empty()). The
    // reference holds until the next change; Share() keeps it for longer.
    const TskSkin& Skin() const { return *skin_; }
    TskSkinRef Share() const { return skin_; }

    // Index of the first description named exactly `name`, or -1.
    int GetIndex(const std::string& name) const { return skin_->GetIndex(name); }
    int GetControlIndex(const std::string& name) const { return skin_->GetControlIndex(name); }
    // The active picture at index, or null when there is none at that index.
    const rt::TBitmap* ActivePicture(int index) const { return skin_->ActivePicture(index); }

    // Hears this object's changes until the token goes. Subscribers for `form` equal to this
    // object's owner hear each call first; the others in the order they subscribed. One that
    // subscribes during a call hears from the next call on; one that unsubscribes (or whose
    // token is destroyed) during a call hears nothing more.
    [[nodiscard]] TskSkinSubscription Subscribe(TskSkinObserver observer,
                                                const rt::TComponent* form = nullptr);
    // Drops the descriptions and pictures and sets Empty; the frame geometry and the version
    // texts keep their values until the next load.
    void ClearData();
    // Reads "FORMINFO" and pulls the corner points into the client box.
    void LoadFormInfo(const TskIniFile& ini);

    std::string SkinName, SkinAuthor, AuthorEmail, AuthorURL, SkinComments;

    TskCornerSet Frame;  // of the frame picture
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
    // Calls every subscriber's matching call, the owner's subscribers first.
    void Announce(TskSkinChange change);
    // Steps shared by both loaders once the pictures are in place.
    void LoadDescription(const TskIniFile& ini, TskSkin& skin);
    void LoadVersion(const TskIniFile& ini);
    // Publishes the loaded skin and announces it.
    void FinishLoad(std::shared_ptr<TskSkin> skin);
    void AbandonLoad();

    bool empty_ = true;
    TskSkinRef skin_;
    std::shared_ptr<detail::TskSubscriberList> subscribers_;
    TskCompressedStoredSkin* compressedStoredSkin_ = nullptr;
    TskStoredSkin* storedSkin_ = nullptr;
};

}  // namespace sk
