#pragma once
// The skinned form's frame renderer: the frame geometry for the current size with the objects
// laid out on it, the border strips composed with the objects and the inactive effect, the
// mask and the window shape cut from it, the hit test, and the painting of the frame and of
// the client background. What it builds is kept until the size, the skin or the look changes.

#include <memory>
#include <vector>

#include "runtime/Graphics.h"
#include "skin/form/skFrameGeometry.h"
#include "skin/form/skFrameStrips.h"

namespace sk {

class TskActiveSkinObject;
class TskFormHost;
class TskFormWindow;
class TskSkinData;

using TskFrameObjectList = std::vector<std::unique_ptr<TskActiveSkinObject>>;

class TskFrameRenderer {
public:
    // The caption height of the default frame.
    static constexpr int kDefaultCaptionHeight = 19;

    // host: what the frame shows (caption text, icon, activity); objects: the form's frame
    // objects, which the renderer lays out and draws.
    TskFrameRenderer(TskFormHost& host, const TskFrameObjectList& objects)
        : host_(host), objects_(objects) {}

    void SetWindow(TskFormWindow* window) { window_ = window; }
    // The skin the frame is drawn from from now on, or null for the default frame, which has
    // no window shape. What was built from the previous skin goes.
    void SetSkin(TskSkinData* skin);
    // The skin's pictures are about to go: nothing is painted from them any more.
    void DropSkin();
    bool Skinned() const { return skin_ != nullptr; }
    // The frame description taken from the skin (kept past DropSkin until the next SetSkin).
    const TskFrameSkin& Skin() const { return frameSkin_; }

    // The window's size as the frame knows it.
    rt::TPoint Size() const { return rt::TPoint{width_, height_}; }
    void SetSize(int width, int height);
    // The window took a new size: the shape follows unless below minimum, where it is about to
    // be pushed back.
    void Resize(int width, int height, rt::TPoint minimum);
    // The layout (icons, sizes) or only the look (activity, caption text) is to be made again.
    void InvalidateLayout() { layoutValid_ = frameValid_ = false; }
    void InvalidateLook() { frameValid_ = false; }

    // The window has a frame to draw (a form without border has none).
    bool HasFrame() const;
    // Asks for the frame to be painted again.
    void InvalidateFrame();
    // The geometry for the current size, laid out.
    const TskFrameGeometry& Geometry();
    // The window shape currently set (empty: none).
    const rt::TRegion& Region() const { return region_; }
    // Sets the window shape for the current size from the skin's mask, or none.
    void UpdateRegion();
    // True while the form is inactive and the skin asks for the inactive look to be rendered.
    bool RendersInactiveImage() const;

    // WM_NCCALCSIZE: the client rectangle for a window rectangle.
    rt::TRect CalcClientRect(const rt::TRect& window) const;
    // WM_NCHITTEST at a window point.
    int HitTest(rt::TPoint p, const TskHitTestState& state);
    // WM_NCPAINT: the frame onto a canvas of the window's size, below the minimum size nothing.
    void PaintFrame(rt::TCanvas& canvas, const rt::TFont& defaultCaptionFont, rt::TPoint minimum);
    // WM_ERASEBKGND: the client background over area (client coordinates).
    void PaintClient(rt::TCanvas& canvas, const rt::TRect& area) const;
    // Draws one object onto the frame at once (and into the composed strips).
    void PaintObjectNow(TskActiveSkinObject& object);

private:
    // Geometry and object layout for the current size, when the size or the layout changed.
    void EnsureLayout();
    // The four strips with the objects on them for the current size and activity.
    void Compose();
    // The mask strips for the current size, when the skin has a mask.
    void EnsureMask();

    TskFormHost& host_;
    const TskFrameObjectList& objects_;
    TskFormWindow* window_ = nullptr;
    TskSkinData* skin_ = nullptr;
    int width_ = 0, height_ = 0;

    TskFrameSkin frameSkin_;
    TskFrameGeometry geometry_;
    bool layoutValid_ = false;
    // The frame as painted: the strips with the inactive effect and the objects on them,
    // valid for the geometry's size while frameValid_.
    TskFrameStrips strips_;
    bool frameValid_ = false;
    TskFrameStrips maskStrips_;
    rt::TPoint maskSize_{-1, -1};
    rt::TRegion region_;
};

}  // namespace sk
