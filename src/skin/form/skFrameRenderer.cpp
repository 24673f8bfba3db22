#include "skin/form/skFrameRenderer.h"

#include "skin/data/skSkinData.h"
#include "skin/form/skDefaultFrame.h"
#include "skin/form/skFormHost.h"
#include "skin/form/skFormWindow.h"
#include "skin/form/skFrameObjects.h"

namespace sk {

using rt::Rect;
using rt::TPoint;
using rt::TRect;

void TskFrameRenderer::SetSkin(TskSkinData* skin) {
    skin_ = skin;
    strips_.Clear();
    maskStrips_.Clear();
    maskSize_ = TPoint{-1, -1};
    if (skin_ != nullptr) {
        frameSkin_ = TskFrameSkin::From(*skin_);
    } else {
        frameSkin_ = TskFrameSkin{};
        region_ = rt::TRegion{};
        if (window_ != nullptr) window_->SetWindowRegion(nullptr);
    }
    layoutValid_ = frameValid_ = false;
}

void TskFrameRenderer::DropSkin() {
    skin_ = nullptr;
    strips_.Clear();
    layoutValid_ = frameValid_ = false;
}

void TskFrameRenderer::SetSize(int width, int height) {
    width_ = width;
    height_ = height;
    layoutValid_ = frameValid_ = false;
}

void TskFrameRenderer::Resize(int width, int height, TPoint minimum) {
    SetSize(width, height);
    if (skin_ == nullptr) {
        InvalidateFrame();
    } else if (width >= minimum.X && height >= minimum.Y) {
        UpdateRegion();
    }
}

bool TskFrameRenderer::HasFrame() const { return window_ != nullptr && window_->HasBorder(); }

void TskFrameRenderer::InvalidateFrame() {
    if (HasFrame()) window_->InvalidateFrame();
}

void TskFrameRenderer::EnsureLayout() {
    const TPoint s = Size();
    if (layoutValid_ && geometry_.Width == s.X && geometry_.Height == s.Y) return;
    if (skin_ != nullptr) {
        geometry_ = ComputeFrameGeometry(frameSkin_, s.X, s.Y);
        const rt::TBitmap& icon = host_.SmallIcon();
        LayoutFrameObjects(objects_, frameSkin_, geometry_, host_.ShowIcon(),
                           TPoint{icon.Width(), icon.Height()});
    } else {
        geometry_ = TskFrameGeometry{};
        geometry_.Width = s.X;
        geometry_.Height = s.Y;
        geometry_.SizedClientBox = DefaultClientRect(Rect(0, 0, s.X, s.Y), kDefaultCaptionHeight);
        LayoutDefaultButtons(objects_, s.X, false);
    }
    layoutValid_ = true;
}

const TskFrameGeometry& TskFrameRenderer::Geometry() {
    EnsureLayout();
    return geometry_;
}

TRect TskFrameRenderer::CalcClientRect(const TRect& window) const {
    if (!HasFrame()) return window;
    return skin_ != nullptr ? SkinnedClientRect(window, frameSkin_)
                            : DefaultClientRect(window, kDefaultCaptionHeight);
}

int TskFrameRenderer::HitTest(TPoint p, const TskHitTestState& state) {
    if (!HasFrame()) return Rect(0, 0, width_, height_).Contains(p) ? HTCLIENT : HTNOWHERE;
    EnsureLayout();
    if (skin_ == nullptr)
        return DefaultHitTest(p, width_, height_, DefaultCaptionRoom(objects_, width_, false),
                              kDefaultCaptionHeight, state);
    const bool masked = !skin_->Skin().MaskBitmap.Empty();
    EnsureMask();
    TskFrameShape shape{width_, height_, masked ? &maskStrips_ : nullptr, geometry_.MaskArea};
    std::vector<TRect> captions;
    for (const auto& o : objects_)
        if (o->Visible && dynamic_cast<TskSkinCaptionObject*>(o.get()) != nullptr)
            captions.push_back(o->ObjectRect);
    return SkinnedHitTest(p, geometry_, shape, frameSkin_.BorderWidth, captions, state);
}

void TskFrameRenderer::Compose() {
    const TPoint s = Size();
    if (frameValid_ && geometry_.Width == s.X && geometry_.Height == s.Y) return;
    EnsureLayout();
    // Cutting the strips from the picture costs no more than copying kept ones would.
    const bool inactivePicture = !host_.FormActive() && !skin_->Skin().InactivePicture.Empty();
    BuildBorderStrips(inactivePicture ? skin_->Skin().InactivePicture : skin_->Skin().Picture,
                      frameSkin_, geometry_, strips_);
    if (RendersInactiveImage()) ApplyInactiveEffect(strips_, skin_->InactiveEffect);
    DrawFrameObjects(objects_, strips_, geometry_.SizedClientBox);
    frameValid_ = true;
}

void TskFrameRenderer::PaintFrame(rt::TCanvas& canvas, const rt::TFont& defaultCaptionFont,
                                  TPoint minimum) {
    if (!HasFrame()) return;
    EnsureLayout();
    const TPoint s = Size();
    if (skin_ == nullptr) {
        PaintDefaultFrame(canvas, s.X, s.Y, objects_, host_.CaptionText(), defaultCaptionFont,
                          false);
        return;
    }
    // Below the minimum the window is about to be pushed back to it: nothing to paint.
    if (s.X < minimum.X || s.Y < minimum.Y) return;
    Compose();
    DrawStrips(canvas, strips_);
}

void TskFrameRenderer::PaintClient(rt::TCanvas& canvas, const TRect& area) const {
    PaintClientBackground(canvas, area, skin_);
}

void TskFrameRenderer::UpdateRegion() {
    if (window_ == nullptr) return;
    if (skin_ != nullptr && HasFrame() && !skin_->Skin().MaskBitmap.Empty()) {
        EnsureMask();
        const std::vector<std::uint8_t> data =
            FrameRegionData(maskStrips_, geometry_.MaskArea, width_, height_);
        region_ = rt::TRegion::FromRegionData(data.data(), data.size());
        window_->SetWindowRegion(region_.IsEmpty() ? nullptr : &region_);
    } else {
        maskStrips_.Clear();
        maskSize_ = TPoint{-1, -1};
        region_ = rt::TRegion{};
        window_->SetWindowRegion(nullptr);
    }
    InvalidateFrame();
}

void TskFrameRenderer::EnsureMask() {
    if (skin_ == nullptr || skin_->Skin().MaskBitmap.Empty() || maskSize_ == Size()) return;
    EnsureLayout();
    BuildMaskStrips(skin_->Skin().MaskBitmap, frameSkin_, geometry_, maskStrips_);
    maskSize_ = Size();
}

bool TskFrameRenderer::RendersInactiveImage() const {
    return skin_ != nullptr && !host_.FormActive() && skin_->AutoRenderingInactiveImage;
}

void TskFrameRenderer::PaintObjectNow(TskActiveSkinObject& object) {
    if (!HasFrame() || !object.Visible) return;
    if (skin_ == nullptr) {
        window_->PaintFrameNow(object.ObjectRect,
                               [&object](rt::TCanvas& c) { object.Draw(c, true); });
        return;
    }
    // The composed strips take the object's new look, so that a later full paint shows it too;
    // without them (a full paint is on its way) there is nothing to paint over.
    if (!frameValid_ || geometry_.Width != width_ || geometry_.Height != height_) {
        window_->InvalidateFrame();
        return;
    }
    DrawFrameObject(object, strips_, geometry_.SizedClientBox, true);
    window_->PaintFrameNow(object.ObjectRect, [this](rt::TCanvas& c) { DrawStrips(c, strips_); });
}

}  // namespace sk
