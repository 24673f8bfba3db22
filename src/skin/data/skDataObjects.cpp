#include "skin/data/skDataObjects.h"

namespace sk {

using namespace fields;

std::span<const TskField<TskDataSkinObject>> TskDataSkinObject::Fields() {
    using C = TskDataSkinObject;
    static const TskField<C> f[] = {
        T("hint", &C::Hint),
        X("activepictureindex", &C::ActivePictureIndex),
        B("skinrectinapicture", &C::SkinRectInAPicture),
        R("skinrect", &C::SkinRect),
        R("activeskinrect", &C::ActiveSkinRect),
        B("morphing", &C::Morphing),
        M("morphkind", &C::MorphKind),
    };
    return f;
}

void TskDataUserObject::LoadFromIni(const TskIniFile& ini) {
    LoadFields<TskDataUserObject>(ini, IDName, Fields(), *this);
}

void TskDataUserObject::SaveToIni(TskIniFile& ini) const {
    ini.EraseSection(IDName);
    SaveFields<TskDataUserObject>(ini, IDName, Fields(), *this);
}

void TskDataUserObject::AppendKeys(std::vector<TskKeyInfo>& keys) const {
    AppendFieldKeys<TskDataUserObject>(keys, Fields());
}

std::span<const TskField<TskDataUserObject>> TskDataUserObject::Fields() {
    using C = TskDataUserObject;
    static const TskField<C> f[] = {R<C>("skinrect", &C::SkinRect)};
    return f;
}

std::span<const TskField<TskDataSkinButton>> TskDataSkinButton::Fields() {
    using C = TskDataSkinButton;
    static const TskField<C> f[] = {
        R("downrect", &C::DownRect),
        R("disableskinrsect", &C::DisableSkinRect),
    };
    return f;
}

std::span<const TskField<TskDataSkinStdButton>> TskDataSkinStdButton::Fields() {
    using C = TskDataSkinStdButton;
    static const TskField<C> f[] = {
        K("command", &C::Command),
        R("restorerect", &C::RestoreRect),
        R("restoreactiverect", &C::RestoreActiveRect),
        R("restoredownrect", &C::RestoreDownRect),
        R("restoreinactiverect", &C::RestoreInactiveRect),
    };
    return f;
}

std::span<const TskField<TskDataSkinCaption>> TskDataSkinCaption::Fields() {
    using C = TskDataSkinCaption;
    static const TskField<C> f[] = {
        R("textrect", &C::TextRect),
        T("fontname", In(&C::Font, &TskFontDesc::Name), "Arial"),
        I("fontheight", In(&C::Font, &TskFontDesc::Height), "14"),
        F("fontstyle", In(&C::Font, &TskFontDesc::Style)),
        C_("fontcolor", In(&C::Font, &TskFontDesc::Color)),
        C_("activefontcolor", In(&C::Font, &TskFontDesc::ActiveColor)),
        A("alignment", &C::Alignment),
        B("shadow", &C::Shadow),
        C_("shadowcolor", &C::ShadowColor),
        C_("activeshadowcolor", &C::ActiveShadowColor),
        R("framerect", &C::FrameRect),
        R("activeframerect", &C::ActiveFrameRect),
        R("frametextrect", &C::FrameTextRect),
        I("frameleftoffset", &C::FrameLeftOffset),
        I("framerightoffset", &C::FrameRightOffset),
    };
    return f;
}

std::span<const TskField<TskDataSkinMenuItem>> TskDataSkinMenuItem::Fields() {
    using C = TskDataSkinMenuItem;
    static const TskField<C> f[] = {
        I("itemleftoffset", &C::ItemLeftOffset),
        I("itemrightoffset", &C::ItemRightOffset),
        R("dividerrect", &C::DividerRect),
        I("dividerleftoffset", &C::DividerLeftOffset),
        I("dividerrightoffset", &C::DividerRightOffset),
        R("textrect", &C::TextRect),
        T("fontname", In(&C::Font, &TskFontDesc::Name), "Arial"),
        I("fontheight", In(&C::Font, &TskFontDesc::Height), "14"),
        F("fontstyle", In(&C::Font, &TskFontDesc::Style)),
        C_("fontcolor", In(&C::Font, &TskFontDesc::Color)),
        C_("activefontcolor", In(&C::Font, &TskFontDesc::ActiveColor)),
        C_("unenabledfontcolor", In(&C::Font, &TskFontDesc::DisabledColor)),
    };
    return f;
}

std::span<const TskField<TskDataSkinMainMenuItem>> TskDataSkinMainMenuItem::Fields() {
    using C = TskDataSkinMainMenuItem;
    static const TskField<C> f[] = {
        I("itemleftoffset", &C::ItemLeftOffset),
        I("itemrightoffset", &C::ItemRightOffset),
        R("downrect", &C::DownRect),
        R("textrect", &C::TextRect),
        T("fontname", In(&C::Font, &TskFontDesc::Name), "Arial"),
        I("fontheight", In(&C::Font, &TskFontDesc::Height), "14"),
        F("fontstyle", In(&C::Font, &TskFontDesc::Style)),
        C_("fontcolor", In(&C::Font, &TskFontDesc::Color)),
        C_("activefontcolor", In(&C::Font, &TskFontDesc::ActiveColor)),
        C_("downfontcolor", In(&C::Font, &TskFontDesc::DownColor)),
        C_("unenabledfontColor", In(&C::Font, &TskFontDesc::DisabledColor)),
    };
    return f;
}

namespace {
using ObjectFactory = std::unique_ptr<TskDataSkinObject> (*)(const std::string&);

template <class C>
std::unique_ptr<TskDataSkinObject> Make(const std::string& name) {
    return std::make_unique<C>(name);
}

struct ObjectKind {
    const char* word;
    ObjectFactory make;
};

const ObjectKind kObjectKinds[] = {
    {"userobject", Make<TskDataUserObject>},
    {"button", Make<TskDataSkinButton>},
    {"stdbutton", Make<TskDataSkinStdButton>},
    {"mainmenubarbutton", Make<TskDataSkinMainMenuBarButton>},
    {"caption", Make<TskDataSkinCaption>},
    {"menuitem", Make<TskDataSkinMenuItem>},
    {"mainmenubaritem", Make<TskDataSkinMainMenuBarItem>},
};
}  // namespace

std::unique_ptr<TskDataSkinObject> CreateSkinObject(const std::string& kind,
                                                    const std::string& name) {
    for (const ObjectKind& k : kObjectKinds)
        if (kind == k.word) return k.make(name);
    return nullptr;
}

std::vector<std::string> SkinObjectKinds() {
    std::vector<std::string> out;
    for (const ObjectKind& k : kObjectKinds) out.push_back(k.word);
    return out;
}

void TskDataSkinPopupWindow::LoadFromIni(const TskIniFile& ini, const std::string& section) {
    LoadFields<TskDataSkinPopupWindow>(ini, section, Fields(), *this);
}

void TskDataSkinPopupWindow::SaveToIni(TskIniFile& ini, const std::string& section) const {
    ini.EraseSection(section);
    SaveFields<TskDataSkinPopupWindow>(ini, section, Fields(), *this);
}

std::span<const TskField<TskDataSkinPopupWindow>> TskDataSkinPopupWindow::Fields() {
    using C = TskDataSkinPopupWindow;
    static const TskField<C> f[] = {
        X("windowpictureindex", &C::WindowPictureIndex),
        X("maskpictureindex", &C::MaskPictureIndex),
        P("lefttoppoint", In(&C::Corners, &TskCornerSet::LeftTop)),
        P("righttoppoint", In(&C::Corners, &TskCornerSet::RightTop)),
        P("leftbottompoint", In(&C::Corners, &TskCornerSet::LeftBottom)),
        P("rightbottompoint", In(&C::Corners, &TskCornerSet::RightBottom)),
        R("itemsrect", In(&C::Corners, &TskCornerSet::Client)),
        C_("scrollmarkercolor", &C::ScrollMarkerColor),
        C_("scrollmarkeractivecolor", &C::ScrollMarkerActiveColor),
    };
    return f;
}

void TskDataSkinHintWindow::LoadFromIni(const TskIniFile& ini, const std::string& section) {
    LoadFields<TskDataSkinHintWindow>(ini, section, Fields(), *this);
}

void TskDataSkinHintWindow::SaveToIni(TskIniFile& ini, const std::string& section) const {
    ini.EraseSection(section);
    SaveFields<TskDataSkinHintWindow>(ini, section, Fields(), *this);
}

std::span<const TskField<TskDataSkinHintWindow>> TskDataSkinHintWindow::Fields() {
    using C = TskDataSkinHintWindow;
    static const TskField<C> f[] = {
        X("windowpictureindex", &C::WindowPictureIndex),
        X("maskpictureindex", &C::MaskPictureIndex),
        P("lefttoppoint", In(&C::Corners, &TskCornerSet::LeftTop)),
        P("righttoppoint", In(&C::Corners, &TskCornerSet::RightTop)),
        P("leftbottompoint", In(&C::Corners, &TskCornerSet::LeftBottom)),
        P("rightbottompoint", In(&C::Corners, &TskCornerSet::RightBottom)),
        R("clientrect", In(&C::Corners, &TskCornerSet::Client)),
        T("fontname", In(&C::Font, &TskFontDesc::Name), "Arial"),
        I("fontheight", In(&C::Font, &TskFontDesc::Height), "14"),
        F("fontstyle", In(&C::Font, &TskFontDesc::Style)),
        C_("fontcolor", In(&C::Font, &TskFontDesc::Color)),
    };
    return f;
}

}  // namespace sk
