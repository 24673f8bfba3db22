#pragma once
// One loaded skin: its pictures and its description objects, never changed once a skin data
// object has published it. A new load builds a new TskSkin; whoever still holds the old one
// (a control between two changes, a popup closing) keeps painting from it safely until it
// lets go. Controls hold it through TskSkinRef; see skin/controls/skSkinCtrls.h for the
// pattern a new control follows.

#include <memory>
#include <string>
#include <vector>

#include "runtime/Graphics.h"
#include "skin/data/skDataControls.h"
#include "skin/data/skDataObjects.h"
#include "skin/data/skIniParser.h"
#include "skin/data/skStoredSkin.h"

namespace sk {

class TskSkin {
public:
    rt::TBitmap Picture;
    rt::TBitmap InactivePicture;
    rt::TBitmap MaskBitmap;
    TskBitmapList ActivePictures;

    TskDataSkinPopupWindow PopupWindow;
    TskDataSkinHintWindow HintWindow;
    std::vector<std::unique_ptr<TskDataSkinObject>> ObjectList;
    std::vector<std::unique_ptr<TskDataSkinControl>> CtrlList;

    // Index of the first description named exactly `name`, or -1.
    int GetIndex(const std::string& name) const;
    int GetControlIndex(const std::string& name) const;
    // The control description at index, or null outside the list.
    const TskDataSkinControl* Control(int index) const {
        if (index < 0 || std::size_t(index) >= CtrlList.size()) return nullptr;
        return CtrlList[std::size_t(index)].get();
    }
    // The active picture at index, or null when there is none at that index.
    const rt::TBitmap* ActivePicture(int index) const {
        if (index < 0 || std::size_t(index) >= ActivePictures.size()) return nullptr;
        return ActivePictures[std::size_t(index)].get();
    }
};

// The two description lists of a skin being built, read from "SKINOBJECTS" and
// "SKINCONTROLS"; entries of unknown kinds are skipped.
void LoadSkinObjects(const TskIniFile& ini, TskSkin& skin);
void LoadSkinControls(const TskIniFile& ini, TskSkin& skin);

// A held skin: shared, read-only, alive as long as one holder keeps it.
using TskSkinRef = std::shared_ptr<const TskSkin>;

}  // namespace sk
