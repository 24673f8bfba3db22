#include "skin/data/skSkinData.h"

#include <algorithm>
#include <set>

#include "runtime/Controls.h"
#include "runtime/Messages.h"
#include "skin/data/skSkinListeners.h"

namespace sk {

using namespace fields;

namespace {

// The entry indices 0 .. count-1 that a list section really holds, in order. A huge "count"
// must not mean billions of lookups for keys that are not there (they would be skipped anyway).
std::vector<int> ListIndices(const TskIniFile& ini, const std::string& section) {
    int count = ini.ReadInteger(section, "count", 0);
    std::set<int> found;
    for (const std::string& key : ini.Keys(section)) {
        int i;
        if (!TryStrToInt(key, i) || i < 0 || i >= count || std::to_string(i) != key) continue;
        found.insert(i);
    }
    return {found.begin(), found.end()};
}

// "name:kind" split at the first colon; no colon gives an empty name and kind.
void SplitEntry(const std::string& value, std::string& name, std::string& kind) {
    std::size_t colon = value.find(':');
    if (colon == std::string::npos) {
        name.clear();
        kind.clear();
        return;
    }
    name = value.substr(0, colon);
    kind = value.substr(colon + 1);
}

}  // namespace

TskSkinData::TskSkinData(rt::TComponent* owner) : TComponent(owner) {}

TskSkinData::~TskSkinData() {
    empty_ = true;
    ClearObjects();
}

std::span<const TskField<TskSkinData>> TskSkinData::FormInfoFields() {
    using C = TskSkinData;
    static const TskField<C> f[] = {
        P("lefttoppoint", &C::FrameLeftTop),
        P("righttoppoint", &C::FrameRightTop),
        P("leftbottompoint", &C::FrameLeftBottom),
        P("rightbottompoint", &C::FrameRightBottom),
        R("clientrect", &C::FrameClientBox),
        X("bgpictureindex", &C::BackPictureIndex),
        B("leftstretch", &C::LeftStretch),
        B("rightstretch", &C::RightStretch),
        B("topstretch", &C::TopStretch),
        B("bottomstretch", &C::BottomStretch),
        R("maskrectarea", &C::MaskRectArea),
        P("hittestlefttoppoint", &C::HitTestLTPoint),
        P("hittestrighttoppoint", &C::HitTestRTPoint),
        P("hittestleftbottompoint", &C::HitTestLBPoint),
        P("hittestrightbottompoint", &C::HitTestRBPoint),
        R("buttonsrect", &C::ButtonsRect),
        R("captionrect", &C::CaptionBox),
        I("buttonsoffset", &C::ButtonsOffset),
        B("buttonsinleft", &C::ButtonsInLeft),
        B("mainmenupopupup", &C::MainMenuPopupUp),
        I("borderwidth", &C::BorderWidth),
        B("autorenderinginactiveimage", &C::AutoRenderingInactiveImage),
        E("inactiveeffect", &C::InactiveEffect),
    };
    return f;
}

void TskSkinData::SetCompressedStoredSkin(TskCompressedStoredSkin* value) {
    if (compressedStoredSkin_ != value) {
        if (compressedStoredSkin_ != nullptr) RemoveFreeNotification(compressedStoredSkin_);
        compressedStoredSkin_ = value;
        if (value != nullptr) FreeNotification(value);
    }
    if (value != nullptr && !Designing) LoadCompressedStoredSkin(value);
}

void TskSkinData::SetStoredSkin(TskStoredSkin* value) {
    if (storedSkin_ != value) {
        if (storedSkin_ != nullptr) RemoveFreeNotification(storedSkin_);
        storedSkin_ = value;
        if (value != nullptr) FreeNotification(value);
    }
    if (value != nullptr && !Designing) LoadStoredSkin(value);
}

void TskSkinData::Notification(rt::TComponent* component, rt::TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != rt::TOperation::opRemove) return;
    if (component == compressedStoredSkin_) compressedStoredSkin_ = nullptr;
    if (component == storedSkin_) storedSkin_ = nullptr;
}

void TskSkinData::SendSkinDataMessage(unsigned msg) {
    // Only a skin data object that sits on a form announces anything.
    rt::TComponent* owner = Owner();
    if (owner == nullptr || (dynamic_cast<rt::TForm*>(owner) == nullptr && !HasSkinListener(owner)))
        return;
    AnnounceSkinMessage(owner, msg, this, kSkinMessageLParam);
}

void TskSkinData::ClearObjects() {
    ObjectList.clear();
    CtrlList.clear();
    ActivePictures.clear();
    PopupWindow.WindowPictureIndex = -1;
    HintWindow.WindowPictureIndex = -1;
}

void TskSkinData::ClearData() {
    ClearObjects();
    Picture.Clear();
    InactivePicture.Clear();
    MaskBitmap.Clear();
    empty_ = true;
}

void TskSkinData::ClearSkin() {
    ClearData();
    SendSkinDataMessage(SM_BEFORECHANGESKIN);
    SendSkinDataMessage(SM_CHANGESKIN);
    SendSkinDataMessage(SM_AFTERCHANGESKIN);
}

int TskSkinData::GetIndex(const std::string& name) const {
    for (std::size_t i = 0; i < ObjectList.size(); ++i)
        if (ObjectList[i]->IDName == name) return int(i);
    return -1;
}

int TskSkinData::GetControlIndex(const std::string& name) const {
    for (std::size_t i = 0; i < CtrlList.size(); ++i)
        if (CtrlList[i]->IDName == name) return int(i);
    return -1;
}

void TskSkinData::LoadVersion(const TskIniFile& ini) {
    SkinName = ini.ReadString("VERSION", "skinname", "");
    SkinAuthor = ini.ReadString("VERSION", "skinauthor", "");
    AuthorEmail = ini.ReadString("VERSION", "authoremail", "");
    AuthorURL = ini.ReadString("VERSION", "authorurl", "");
    SkinComments = ini.ReadString("VERSION", "skincomments", "");
}

void TskSkinData::LoadFormInfo(const TskIniFile& ini) {
    LoadFields<TskSkinData>(ini, "FORMINFO", FormInfoFields(), *this);
    if (FrameRightBottom.X == FrameLeftTop.X || FrameRightBottom.Y == FrameLeftTop.Y) return;
    const rt::TRect& box = FrameClientBox;
    FrameLeftTop.X = std::max(FrameLeftTop.X, box.Left);
    FrameLeftTop.Y = std::max(FrameLeftTop.Y, box.Top);
    FrameRightTop.X = std::min(FrameRightTop.X, box.Right);
    FrameRightTop.Y = std::max(FrameRightTop.Y, box.Top);
    FrameLeftBottom.X = std::max(FrameLeftBottom.X, box.Left);
    FrameLeftBottom.Y = std::min(FrameLeftBottom.Y, box.Bottom);
    FrameRightBottom.X = std::min(FrameRightBottom.X, box.Right);
    FrameRightBottom.Y = std::min(FrameRightBottom.Y, box.Bottom);
}

void TskSkinData::LoadSkinObjects(const TskIniFile& ini) {
    std::string name, kind;
    for (int i : ListIndices(ini, "SKINOBJECTS")) {
        SplitEntry(ini.ReadString("SKINOBJECTS", std::to_string(i), ""), name, kind);
        std::unique_ptr<TskDataSkinObject> obj = CreateSkinObject(kind, name);
        if (obj == nullptr) continue;
        obj->LoadFromIni(ini);
        ObjectList.push_back(std::move(obj));
    }
}

void TskSkinData::LoadSkinControls(const TskIniFile& ini) {
    std::string name, kind;
    for (int i : ListIndices(ini, "SKINCONTROLS")) {
        SplitEntry(ini.ReadString("SKINCONTROLS", std::to_string(i), ""), name, kind);
        std::unique_ptr<TskDataSkinControl> ctrl = CreateSkinControl(kind, name);
        if (ctrl == nullptr) continue;
        ctrl->LoadFromIni(ini);
        CtrlList.push_back(std::move(ctrl));
    }
}

void TskSkinData::LoadDescription(const TskIniFile& ini) {
    LoadFormInfo(ini);
    PopupWindow.LoadFromIni(ini, "POPUPWINDOW");
    HintWindow.LoadFromIni(ini, "HINTWINDOW");
    LoadSkinObjects(ini);
    LoadSkinControls(ini);
}

void TskSkinData::FinishLoad() {
    empty_ = false;
    SendSkinDataMessage(SM_CHANGESKIN);
    SendSkinDataMessage(SM_AFTERCHANGESKIN);
}

void TskSkinData::AbandonLoad() {
    // Nothing of a half-read skin stays visible: a failed load is the empty state.
    ClearData();
}

void TskSkinData::LoadCompressedStoredSkin(TskCompressedStoredSkin* container) {
    if (container == nullptr || container->IsEmpty()) return;
    empty_ = true;
    SendSkinDataMessage(SM_BEFORECHANGESKIN);
    ClearData();
    try {
        rt::TMemoryStream image;
        container->DecompressToStream(image);
        image.SetPosition(0);
        std::uint8_t v[4];
        image.ReadBuffer(v, 4);
        if (v[0] != 1 || v[1] != 0 || v[2] != 0 || v[3] != 0) {
            // An unknown format: the skin stays empty, and consumers are told so that they
            // repaint with their default look.
            SendSkinDataMessage(SM_CHANGESKIN);
            SendSkinDataMessage(SM_AFTERCHANGESKIN);
            return;
        }
        // A failure part way leaves half a skin here; the handler below empties it again.
        ReadSkinPictures(image, Picture, InactivePicture, MaskBitmap, ActivePictures);

        const std::int64_t pos = image.Position();
        const auto& bytes = image.Bytes();
        TskIniFile ini;
        ini.SetText(std::string_view(reinterpret_cast<const char*>(bytes.data()) + pos,
                                     bytes.size() - std::size_t(pos)));
        LoadVersion(ini);
        LoadDescription(ini);
    } catch (...) {
        AbandonLoad();
        throw;
    }
    FinishLoad();
}

void TskSkinData::LoadStoredSkin(TskStoredSkin* container) {
    if (container == nullptr) return;
    empty_ = true;
    SendSkinDataMessage(SM_BEFORECHANGESKIN);
    ClearData();
    try {
        TskIniFile ini(container->IniStrings());
        for (const char* section : kSkinRequiredSections) {
            if (!ini.SectionExists(section)) {
                SendSkinDataMessage(SM_CHANGESKIN);
                SendSkinDataMessage(SM_AFTERCHANGESKIN);
                return;
            }
        }
        LoadVersion(ini);
        Picture = container->Picture;
        InactivePicture = container->InactivePicture;
        MaskBitmap = container->MaskBitmap;
        for (const auto& bmp : container->ActivePictures)
            ActivePictures.push_back(std::make_unique<rt::TBitmap>(*bmp));
        LoadDescription(ini);
    } catch (...) {
        AbandonLoad();
        throw;
    }
    FinishLoad();
}

}  // namespace sk
