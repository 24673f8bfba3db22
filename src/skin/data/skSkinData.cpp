#include "skin/data/skSkinData.h"

#include <algorithm>

namespace sk {

using namespace fields;

TskSkinData::TskSkinData(rt::TComponent* owner)
    : TComponent(owner),
      skin_(std::make_shared<const TskSkin>()),
      subscribers_(std::make_shared<detail::TskSubscriberList>()) {}

TskSkinData::~TskSkinData() {
    // Tokens that outlive this object find the list closed; a call in progress stops.
    subscribers_->Closed = true;
    subscribers_->Entries.clear();
    empty_ = true;
}

std::span<const TskField<TskSkinData>> TskSkinData::FormInfoFields() {
    using C = TskSkinData;
    static const TskField<C> f[] = {
        P("lefttoppoint", In(&C::Frame, &TskCornerSet::LeftTop)),
        P("righttoppoint", In(&C::Frame, &TskCornerSet::RightTop)),
        P("leftbottompoint", In(&C::Frame, &TskCornerSet::LeftBottom)),
        P("rightbottompoint", In(&C::Frame, &TskCornerSet::RightBottom)),
        R("clientrect", In(&C::Frame, &TskCornerSet::Client)),
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

TskSkinSubscription TskSkinData::Subscribe(TskSkinObserver observer, const rt::TComponent* form) {
    const std::uint64_t id = ++subscribers_->NextId;
    subscribers_->Entries.push_back({id, form, std::move(observer)});
    return TskSkinSubscription(subscribers_, id);
}

void TskSkinData::Announce(TskSkinChange change) {
    // Ids, not positions, identify the subscribers of the moment: a call may unsubscribe any
    // of them or subscribe new ones. The list is held here in case a call frees this object.
    const std::shared_ptr<detail::TskSubscriberList> list = subscribers_;
    const rt::TComponent* owner = Owner();
    std::vector<std::uint64_t> order, rest;
    for (const detail::TskSubscriber& s : list->Entries)
        (owner != nullptr && s.Form == owner ? order : rest).push_back(s.Id);
    order.insert(order.end(), rest.begin(), rest.end());
    for (std::uint64_t id : order) {
        if (list->Closed) return;
        auto it = std::find_if(list->Entries.begin(), list->Entries.end(),
                               [id](const detail::TskSubscriber& s) { return s.Id == id; });
        if (it == list->Entries.end()) continue;
        const TskSkinObserver& o = it->Observer;
        // A copy: the call may end its own subscription, which frees the stored one.
        const std::function<void(TskSkinData&)> call = change == TskSkinChange::Before ? o.Before
                                                       : change == TskSkinChange::Changed
                                                           ? o.Changed
                                                           : o.After;
        if (call) call(*this);
    }
}

void TskSkinData::ClearData() {
    skin_ = std::make_shared<const TskSkin>();
    empty_ = true;
}

void TskSkinData::ClearSkin() {
    ClearData();
    Announce(TskSkinChange::Before);
    Announce(TskSkinChange::Changed);
    Announce(TskSkinChange::After);
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
    TskCornerSet& f = Frame;
    if (f.RightBottom.X == f.LeftTop.X || f.RightBottom.Y == f.LeftTop.Y) return;
    const rt::TRect& box = f.Client;
    f.LeftTop.X = std::max(f.LeftTop.X, box.Left);
    f.LeftTop.Y = std::max(f.LeftTop.Y, box.Top);
    f.RightTop.X = std::min(f.RightTop.X, box.Right);
    f.RightTop.Y = std::max(f.RightTop.Y, box.Top);
    f.LeftBottom.X = std::max(f.LeftBottom.X, box.Left);
    f.LeftBottom.Y = std::min(f.LeftBottom.Y, box.Bottom);
    f.RightBottom.X = std::min(f.RightBottom.X, box.Right);
    f.RightBottom.Y = std::min(f.RightBottom.Y, box.Bottom);
}

void TskSkinData::LoadDescription(const TskIniFile& ini, TskSkin& skin) {
    LoadFormInfo(ini);
    skin.PopupWindow.LoadFromIni(ini, "POPUPWINDOW");
    skin.HintWindow.LoadFromIni(ini, "HINTWINDOW");
    LoadSkinObjects(ini, skin);
    LoadSkinControls(ini, skin);
}

void TskSkinData::FinishLoad(std::shared_ptr<TskSkin> skin) {
    skin_ = std::move(skin);
    empty_ = false;
    Announce(TskSkinChange::Changed);
    Announce(TskSkinChange::After);
}

void TskSkinData::AbandonLoad() {
    // Nothing of a half-read skin stays visible: a failed load is the empty state.
    ClearData();
}

void TskSkinData::LoadCompressedStoredSkin(TskCompressedStoredSkin* container) {
    if (container == nullptr || container->IsEmpty()) return;
    empty_ = true;
    Announce(TskSkinChange::Before);
    ClearData();
    auto skin = std::make_shared<TskSkin>();
    try {
        rt::TMemoryStream image;
        container->DecompressToStream(image);
        image.SetPosition(0);
        std::uint8_t v[4];
        image.ReadBuffer(v, 4);
        if (v[0] != 1 || v[1] != 0 || v[2] != 0 || v[3] != 0) {
            // An unknown format: the skin stays empty, and consumers are told so that they
            // repaint with their default look.
            Announce(TskSkinChange::Changed);
            Announce(TskSkinChange::After);
            return;
        }
        // A failure part way leaves half a skin here, never published.
        ReadSkinPictures(image, skin->Picture, skin->InactivePicture, skin->MaskBitmap,
                         skin->ActivePictures);

        const std::int64_t pos = image.Position();
        const auto& bytes = image.Bytes();
        TskIniFile ini;
        ini.SetText(std::string_view(reinterpret_cast<const char*>(bytes.data()) + pos,
                                     bytes.size() - std::size_t(pos)));
        LoadVersion(ini);
        LoadDescription(ini, *skin);
    } catch (...) {
        AbandonLoad();
        throw;
    }
    FinishLoad(std::move(skin));
}

void TskSkinData::LoadStoredSkin(TskStoredSkin* container) {
    if (container == nullptr) return;
    empty_ = true;
    Announce(TskSkinChange::Before);
    ClearData();
    auto skin = std::make_shared<TskSkin>();
    try {
        TskIniFile ini(container->IniStrings());
        for (const char* section : kSkinRequiredSections) {
            if (!ini.SectionExists(section)) {
                Announce(TskSkinChange::Changed);
                Announce(TskSkinChange::After);
                return;
            }
        }
        LoadVersion(ini);
        skin->Picture = container->Picture;
        skin->InactivePicture = container->InactivePicture;
        skin->MaskBitmap = container->MaskBitmap;
        for (const auto& bmp : container->ActivePictures)
            skin->ActivePictures.push_back(std::make_unique<rt::TBitmap>(*bmp));
        LoadDescription(ini, *skin);
    } catch (...) {
        AbandonLoad();
        throw;
    }
    FinishLoad(std::move(skin));
}

}  // namespace sk
