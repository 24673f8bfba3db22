#pragma once
// Frame and menu descriptions (the "SKINOBJECTS" list), and the popup-window and hint-window
// descriptions of the global sections.

#include <memory>
#include <string>
#include <vector>

#include "skin/data/skCornerSet.h"
#include "skin/data/skDataFields.h"
#include "skin/data/skFontDesc.h"

namespace sk {

class TskDataSkinObject : public TskDescriptionRoot<TskDataSkinObject> {
public:
    using TskDescriptionRoot::TskDescriptionRoot;

    std::string Hint;
    int ActivePictureIndex = -1;
    bool SkinRectInAPicture = false;
    rt::TRect SkinRect, ActiveSkinRect;
    bool Morphing = false;
    TskMorphKind MorphKind = mkDefault;

    static std::span<const TskField<TskDataSkinObject>> Fields();
};

// An area of the frame picture for the application's own use: only "skinrect" is read, the
// other fields keep their constructor values.
class TskDataUserObject : public TskDataSkinObject {
public:
    using TskDataSkinObject::TskDataSkinObject;
    void LoadFromIni(const TskIniFile& ini) override;
    void SaveToIni(TskIniFile& ini) const override;
    void AppendKeys(std::vector<TskKeyInfo>& keys) const override;
    static std::span<const TskField<TskDataUserObject>> Fields();
};

class TskDataSkinButton : public TskDescribed<TskDataSkinButton, TskDataSkinObject> {
public:
    using TskDescribed::TskDescribed;
    rt::TRect DownRect;
    rt::TRect DisableSkinRect;  // read from the key "disableskinrsect", spelled so in skins
    static std::span<const TskField<TskDataSkinButton>> Fields();
};

class TskDataSkinStdButton : public TskDescribed<TskDataSkinStdButton, TskDataSkinButton> {
public:
    using TskDescribed::TskDescribed;
    TskStdCommand Command = cmDefault;
    rt::TRect RestoreRect, RestoreActiveRect, RestoreDownRect, RestoreInactiveRect;
    static std::span<const TskField<TskDataSkinStdButton>> Fields();
};

class TskDataSkinMainMenuBarButton : public TskDataSkinStdButton {
public:
    using TskDataSkinStdButton::TskDataSkinStdButton;
};

class TskDataSkinCaption : public TskDescribed<TskDataSkinCaption, TskDataSkinObject> {
public:
    using TskDescribed::TskDescribed;
    rt::TRect TextRect;
    TskFontDesc Font;
    TskAlignment Alignment = taCenter;
    bool Shadow = false;
    int ShadowColor = 0, ActiveShadowColor = 0;
    rt::TRect FrameRect, ActiveFrameRect, FrameTextRect;
    int FrameLeftOffset = 0, FrameRightOffset = 0;
    static std::span<const TskField<TskDataSkinCaption>> Fields();
};

class TskDataSkinMenuItem : public TskDescribed<TskDataSkinMenuItem, TskDataSkinObject> {
public:
    using TskDescribed::TskDescribed;
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    rt::TRect DividerRect;
    int DividerLeftOffset = 0, DividerRightOffset = 0;
    rt::TRect TextRect;
    TskFontDesc Font;
    static std::span<const TskField<TskDataSkinMenuItem>> Fields();
};

class TskDataSkinMainMenuItem : public TskDescribed<TskDataSkinMainMenuItem, TskDataSkinObject> {
public:
    using TskDescribed::TskDescribed;
    int ItemLeftOffset = 0, ItemRightOffset = 0;
    rt::TRect DownRect, TextRect;
    TskFontDesc Font;
    static std::span<const TskField<TskDataSkinMainMenuItem>> Fields();
};

class TskDataSkinMainMenuBarItem : public TskDataSkinMainMenuItem {
public:
    using TskDataSkinMainMenuItem::TskDataSkinMainMenuItem;
};

// The description class of a "SKINOBJECTS" kind word (compared exactly), or null.
std::unique_ptr<TskDataSkinObject> CreateSkinObject(const std::string& kind,
                                                    const std::string& name);
std::vector<std::string> SkinObjectKinds();

// The frame of popup menus and popup windows (section "POPUPWINDOW").
class TskDataSkinPopupWindow {
public:
    int WindowPictureIndex = -1;
    int MaskPictureIndex = -1;
    TskCornerSet Corners;  // its client rectangle is the items area, read as "itemsrect"
    int ScrollMarkerColor = 0, ScrollMarkerActiveColor = 0;

    void LoadFromIni(const TskIniFile& ini, const std::string& section);
    void SaveToIni(TskIniFile& ini, const std::string& section) const;
    static std::span<const TskField<TskDataSkinPopupWindow>> Fields();
};

// The skinned hint window (section "HINTWINDOW").
class TskDataSkinHintWindow {
public:
    int WindowPictureIndex = -1;
    int MaskPictureIndex = -1;
    TskCornerSet Corners;
    TskFontDesc Font = FontFace("Arial", 12);

    void LoadFromIni(const TskIniFile& ini, const std::string& section);
    void SaveToIni(TskIniFile& ini, const std::string& section) const;
    static std::span<const TskField<TskDataSkinHintWindow>> Fields();
};

}  // namespace sk
