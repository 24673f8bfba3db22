#include "skin/form/skSkinHint.h"

#include <algorithm>

#include "runtime/Application.h"
#include "runtime/Menus.h"
#include "runtime/Screen.h"
#include "skin/data/skSkinData.h"
#include "skin/data/skUtils.h"

namespace sk {

using rt::Rect;
using rt::TBitmap;
using rt::TPoint;
using rt::TRect;

namespace {

constexpr unsigned kSkinHintTextFlags = rt::DT_CENTER | rt::DT_NOPREFIX;
constexpr int kSkinHintShortPause = 100;
// A hint that would leave the screen goes to the other side of its point, this far from it.
constexpr int kEdgeGap = 2;

// The picture at a skin's active-picture index, when it is there.
const TBitmap* ActivePicture(const TskSkinData& data, int index) {
    if (index < 0 || std::size_t(index) >= data.Skin().ActivePictures.size()) return nullptr;
    const TBitmap* b = data.Skin().ActivePictures[std::size_t(index)].get();
    return b != nullptr && !b->Empty() ? b : nullptr;
}

TPoint TextSize(const std::string& text, const rt::TFont& font) {
    TBitmap probe(1, 1);
    probe.Canvas().Font = font;
    TRect r;
    probe.Canvas().DrawText(text, r, kSkinHintTextFlags | rt::DT_CALCRECT);
    return {r.Width(), r.Height()};
}

}  // namespace

TskSkinHint* FindHintComponent(const rt::TComponent* form) {
    if (form == nullptr) return nullptr;
    for (int i = 0; i < form->ComponentCount(); ++i)
        if (auto* h = dynamic_cast<TskSkinHint*>(form->Components(i)); h != nullptr && h->Active())
            return h;
    return nullptr;
}

// The window.

TskSkinHintWindow::TskSkinHintWindow(rt::TComponent* owner) : rt::THintWindow(owner) {}

const TBitmap* TskSkinHintWindow::SkinPicture(const TskSkinData* data) const {
    if (data == nullptr || data->Empty()) return nullptr;
    return ActivePicture(*data, data->Skin().HintWindow.WindowPictureIndex);
}

void TskSkinHintWindow::ActivateHint(const TRect& rect, const std::string& hint) {
    SetCaption(hint);
    hintComponent_ =
        rt::Application() != nullptr ? FindHintComponent(rt::Application()->MainForm()) : nullptr;
    if (hintComponent_ == nullptr) {
        skinDataInUse_ = nullptr;
        ReleaseHint();
        return;
    }
    TskSkinData* data = hintComponent_->SkinData();
    const TBitmap* picture = SkinPicture(data);
    skinDataInUse_ = picture != nullptr ? data : nullptr;
    rt::TFont font = hintComponent_->DefaultFont;
    if (picture != nullptr) {
        // A skinned hint always writes in the skin's colour; the skin's face only with
        // UseSkinFont.
        data->Skin().HintWindow.Font.ApplyTo(font, TskFontState::Normal,
                                             hintComponent_->UseSkinFont);
    }

    const TPoint text = TextSize(hint, font);
    int width = 0, height = 0;
    std::optional<rt::TRegion> region;
    if (picture != nullptr) {
        const TskDataSkinHintWindow& hw = data->Skin().HintWindow;
        const TRect& c = hw.Corners.Client;
        const int pw = picture->Width(), ph = picture->Height();
        width = std::max(text.X + c.Left + (pw - c.Right), pw);
        height = std::max(text.Y + c.Top + (ph - c.Bottom), ph);
        const int dx = width - pw, dy = height - ph;
        sized_ = hw.Corners.Grown(dx, dy);
        if (const TBitmap* mask = ActivePicture(*data, hw.MaskPictureIndex))
            region = CreateSkinRegion(hw.Corners, *mask, width, height, sized_);
        PaintSkinned(*picture, width, height, font, hint);
    } else {
        const TPoint s = rt::PlainHintSize(hint, font);
        width = s.X;
        height = s.Y;
        sized_ = TskCornerSet{};
        sized_.Client = Rect(0, 0, width, height);
        image_.SetSize(width, height);
        rt::PaintPlainHint(image_.Canvas(), width, height, hint, font);
    }

    const TRect screen = rt::ScreenRect();
    int x = rect.Left, y = rect.Top;
    if (x + width > screen.Right) x -= width + kEdgeGap;
    if (y + height > screen.Bottom) y -= height + kEdgeGap;

    if (rt::LayeredWindowsAvailable()) {
        const bool blend = hintComponent_->AlphaBlend;
        const int value = std::clamp(hintComponent_->AlphaBlendValue, 0, 255);
        if (blend != savedAlphaBlend_) {
            savedAlphaBlend_ = blend;
            // Turning the blend on applies its value even when the value itself is unchanged.
            if (blend)
                savedAlphaBlendValue_ = -1;
            else
                SetAlphaBlend(255);
        }
        if (blend && value != savedAlphaBlendValue_) {
            savedAlphaBlendValue_ = value;
            SetAlphaBlend(value);
        }
    }

    region_ = std::move(region);
    SetBounds(x, y, width, height);
    SetWindowRegion(region_ ? &*region_ : nullptr);
    Show();
    Invalidate();
}

void TskSkinHintWindow::PaintSkinned(const TBitmap& picture, int width, int height,
                                     const rt::TFont& font, const std::string& text) {
    const TskDataSkinHintWindow& hw = skinDataInUse_->Skin().HintWindow;
    const TRect& box = sized_.Client;
    CreateSkinImage(hw.Corners, Rect(0, 0, picture.Width(), picture.Height()), picture, true,
                    image_, width, height, sized_);
    rt::TCanvas& c = image_.Canvas();
    c.Font = font;
    c.Brush.Style = rt::TBrushStyle::bsClear;
    // Centred both ways: the box is at least the picture's, often taller than one line.
    const TPoint size = TextSize(text, font);
    TRect r = Rect(box.Left, box.Top + (box.Height() - size.Y) / 2, box.Right,
                   box.Top + (box.Height() - size.Y) / 2 + size.Y);
    c.DrawText(text, r, kSkinHintTextFlags);
    c.Brush.Style = rt::TBrushStyle::bsSolid;
}

void TskSkinHintWindow::Paint(rt::TCanvas& canvas) {
    if (image_.Width() == Width() && image_.Height() == Height()) {
        canvas.Draw(0, 0, image_);
        return;
    }
    rt::THintWindow::Paint(canvas);
}

// The component.

TskSkinHint::TskSkinHint(rt::TComponent* owner)
    : rt::TComponent(owner), self_(std::make_shared<TskSkinHint*>(this)) {
    DefaultFont = MakeSkinFont("Arial", 14, 0, rt::clInfoText);
    hintWindow_ = rt::Make<TskSkinHintWindow>(this);
    hintTicker_ = rt::Make<rt::TTimer>(this);
    hintTicker_->SetEnabled(false);
    hintTicker_->OnTimer = [this](rt::TComponent*) { HintTick(); };
    if (rt::TApplication* app = rt::Application()) {
        app->SetHintWindowClass([] { return std::make_unique<TskSkinHintWindow>(nullptr); });
        // Off and on again makes the hint window anew, of the new kind.
        app->SetShowHint(false);
        app->SetShowHint(true);
        RouteHintEvent();
        app->HintShortPause = kSkinHintShortPause;
    }
}

TskSkinHint::~TskSkinHint() {
    self_.reset();
    hintTicker_->SetEnabled(false);
}

void TskSkinHint::SetSkinData(TskSkinData* value) {
    if (skinData_ != nullptr && skinData_ != value) RemoveFreeNotification(skinData_);
    skinData_ = value;
    if (skinData_ != nullptr) FreeNotification(skinData_);
}

void TskSkinHint::Notification(rt::TComponent* component, rt::TOperation operation) {
    rt::TComponent::Notification(component, operation);
    if (operation == rt::TOperation::opRemove && component == skinData_) skinData_ = nullptr;
}

void TskSkinHint::SetActive(bool value) {
    active_ = value;
    if (!value) return;
    if (rt::TApplication* app = rt::Application()) {
        if (const rt::TForm* main = app->MainForm())
            for (int i = 0; i < main->ComponentCount(); ++i)
                if (auto* other = dynamic_cast<TskSkinHint*>(main->Components(i));
                    other != nullptr && other != this)
                    other->active_ = false;
        RouteHintEvent();
    }
}

void TskSkinHint::RouteHintEvent() {
    std::weak_ptr<TskSkinHint*> target = self_;
    rt::Application()->OnShowHint = [target](std::string& text, bool& canShow,
                                             rt::THintInfo& info) {
        if (auto p = target.lock(); p != nullptr && (*p)->OnShowHint)
            (*p)->OnShowHint(text, canShow, info);
    };
}

void TskSkinHint::ShowHintText(const std::string& text) {
    hintTicker_->SetEnabled(false);
    hintShown_ = false;
    hintCaption_ = text;
    hintTicker_->SetInterval(rt::Application() != nullptr ? rt::Application()->HintPause : 500);
    hintTicker_->SetEnabled(true);
}

void TskSkinHint::HintTick() {
    if (!hintShown_) {
        const TPoint cursor = rt::GetCursorPos();
        hintWindow_->ActivateHint(rt::Bounds(cursor.X, cursor.Y + rt::CursorHintOffset(), 0, 0),
                                  hintCaption_);
        hintShown_ = true;
        hintTicker_->SetEnabled(false);
        hintTicker_->SetInterval(rt::Application() != nullptr ? rt::Application()->HintHidePause
                                                              : 2500);
        hintTicker_->SetEnabled(true);
        return;
    }
    HideHint();
}

void TskSkinHint::HideHint() {
    hintTicker_->SetEnabled(false);
    hintShown_ = false;
    if (hintWindow_->Visible()) hintWindow_->ReleaseHint();
}

bool TskSkinHint::HintTickerRunning() const { return hintTicker_->Enabled(); }

}  // namespace sk
