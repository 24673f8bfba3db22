#pragma once
// What a skinned control holds of the skin it paints from: the skin itself, shared and
// read-only, and the index of its own description there. Refresh looks the description up by
// name only when the skin data object has published another skin (or the name changed), so a
// paint costs a pointer comparison; every picture and description pointer taken from Skin()
// stays valid until the next Refresh that changes it or Release, whatever the skin data object
// loads meanwhile.

#include <string>

#include "skin/data/skSkinData.h"

namespace sk {

class TskHeldSkin {
public:
    // Follows `data`'s skin (none while it is null or empty) and the description `name`;
    // returns whether it looked up again.
    bool Refresh(const TskSkinData* data, const std::string& name);
    // Lets go of the skin: the next Refresh looks up again.
    void Release();

    const TskSkin* Skin() const { return skin_.get(); }
    // The held skin, for parts built from it that must keep it (null without one).
    const TskSkinRef& Shared() const { return skin_; }
    // Index of the description in Skin()->CtrlList, -1 without one.
    int Index() const { return index_; }
    const TskDataSkinControl* Description() const {
        return skin_ != nullptr ? skin_->Control(index_) : nullptr;
    }
    // The held skin's active picture at index, or null.
    const rt::TBitmap* Picture(int index) const {
        return skin_ != nullptr ? skin_->ActivePicture(index) : nullptr;
    }

private:
    TskSkinRef skin_;
    std::string name_;
    int index_ = -1;
    bool lookedUp_ = false;
};

inline bool TskHeldSkin::Refresh(const TskSkinData* data, const std::string& name) {
    const TskSkin* now = data == nullptr || data->Empty() ? nullptr : &data->Skin();
    // The held skin cannot share its address with a newer one while it is held.
    if (lookedUp_ && now == skin_.get() && name == name_) return false;
    skin_ = now != nullptr ? data->Share() : nullptr;
    name_ = name;
    lookedUp_ = true;
    index_ = skin_ != nullptr ? skin_->GetControlIndex(name) : -1;
    return true;
}

inline void TskHeldSkin::Release() {
    skin_.reset();
    index_ = -1;
    lookedUp_ = false;
}

}  // namespace sk
