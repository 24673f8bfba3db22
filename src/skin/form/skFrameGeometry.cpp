#include "skin/form/skFrameGeometry.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>

#include "skin/data/skSkinData.h"
#include "skin/form/skFrameObjects.h"
#include "skin/form/skFrameStrips.h"

namespace sk {

using rt::Rect;
using rt::TPoint;
using rt::TRect;

TskFrameSkin TskFrameSkin::From(const TskSkinData& d) {
    TskFrameSkin s;
    s.PictureWidth = d.Skin().Picture.Width();
    s.PictureHeight = d.Skin().Picture.Height();
    s.MaskWidth = d.Skin().MaskBitmap.Width();
    s.MaskHeight = d.Skin().MaskBitmap.Height();
    s.LeftTop = d.Frame.LeftTop;
    s.RightTop = d.Frame.RightTop;
    s.LeftBottom = d.Frame.LeftBottom;
    s.RightBottom = d.Frame.RightBottom;
    s.ClientRect = d.Frame.Client;
    s.MaskRectArea = d.MaskRectArea;
    s.HitTestLT = d.HitTestLTPoint;
    s.HitTestRT = d.HitTestRTPoint;
    s.HitTestLB = d.HitTestLBPoint;
    s.HitTestRB = d.HitTestRBPoint;
    s.ButtonsRect = d.ButtonsRect;
    s.CaptionRect = d.CaptionBox;
    s.ButtonsOffset = d.ButtonsOffset;
    s.ButtonsInLeft = d.ButtonsInLeft;
    s.BorderWidth = d.BorderWidth;
    s.LeftStretch = d.LeftStretch;
    s.RightStretch = d.RightStretch;
    s.TopStretch = d.TopStretch;
    s.BottomStretch = d.BottomStretch;
    return s;
}

namespace {

// Skins are untrusted: a coordinate near the integer limit saturates instead of wrapping.
int Add(int a, int b) {
    return int(std::clamp<std::int64_t>(std::int64_t(a) + b, INT32_MIN, INT32_MAX));
}

TPoint Moved(TPoint p, int dx, int dy) { return TPoint{Add(p.X, dx), Add(p.Y, dy)}; }

TRect Moved(const TRect& r, int dx, int dy) {
    return Rect(Add(r.Left, dx), Add(r.Top, dy), Add(r.Right, dx), Add(r.Bottom, dy));
}

// r lies wholly inside zone z.
bool Inside(const TRect& r, const TRect& z) {
    return r.Left >= z.Left && r.Top >= z.Top && r.Right <= z.Right && r.Bottom <= z.Bottom;
}

// A corner point counts every edge of the zone as inside.
bool CornerIn(int x, int y, const TRect& z) {
    return x >= z.Left && x <= z.Right && y >= z.Top && y <= z.Bottom;
}

}  // namespace

TskFrameGeometry ComputeFrameGeometry(const TskFrameSkin& s, int width, int height) {
    TskFrameGeometry g;
    g.Width = width;
    g.Height = height;
    g.DX = width - s.PictureWidth;
    g.DY = height - s.PictureHeight;
    const int dx = g.DX, dy = g.DY;
    g.SizedLeftTop = s.LeftTop;
    g.SizedRightTop = Moved(s.RightTop, dx, 0);
    g.SizedLeftBottom = Moved(s.LeftBottom, 0, dy);
    g.SizedRightBottom = Moved(s.RightBottom, dx, dy);
    g.SizedClientBox = s.ClientRect;
    g.SizedClientBox.Right = Add(s.ClientRect.Right, dx);
    g.SizedClientBox.Bottom = Add(s.ClientRect.Bottom, dy);
    if (!s.CaptionRect.IsEmpty()) {
        g.CaptionArea = s.CaptionRect;
        g.CaptionArea.Right = Add(s.CaptionRect.Right, dx);
    }
    g.ButtonsArea = s.ButtonsRect;
    if (s.ButtonsRect.Left > s.PictureWidth / 2) g.ButtonsArea = Moved(s.ButtonsRect, dx, 0);
    g.ButtonsOffset = s.ButtonsOffset;
    g.ButtonsInLeft = s.ButtonsInLeft;
    g.HitTestLT = s.HitTestLT;
    g.HitTestRT = Moved(s.HitTestRT, dx, 0);
    g.HitTestLB = Moved(s.HitTestLB, 0, dy);
    g.HitTestRB = Moved(s.HitTestRB, dx, dy);
    g.MaskArea = s.MaskRectArea;
    g.MaskArea.Right = Add(s.MaskRectArea.Right, dx);
    g.MaskArea.Bottom = Add(s.MaskRectArea.Bottom, dy);
    return g;
}

// The corner regions of the picture and how an object in them follows the window:
//
//   +--------+-----------------+--------+
//   |   TL   |                 |   TR   |   TL: stays        TR: moves right
//   | (0,0)..|                 |RT.x..pw|   BL: moves down   BR: moves right and down
//   |  LT    |                 | 0..RT.y|
//   +--------+                 +--------+   an object reaching from one region into another
//   |                                   |   stretches between them; any other stays
//   +--------+                 +--------+
//   |   BL   |                 |   BR   |
//   +--------+-----------------+--------+
TRect MapFrameObjectRect(const TRect& r, const TskFrameSkin& s, int dx, int dy) {
    const int pw = s.PictureWidth, ph = s.PictureHeight;
    const TRect tl = Rect(0, 0, s.LeftTop.X, s.LeftTop.Y);
    const TRect tr = Rect(s.RightTop.X, 0, pw, s.RightTop.Y);
    const TRect bl = Rect(0, s.LeftBottom.Y, s.LeftBottom.X, ph);
    const TRect br = Rect(s.RightBottom.X, s.RightBottom.Y, pw, ph);
    if (Inside(r, tl)) return r;
    if (Inside(r, tr)) return Moved(r, dx, 0);
    if (Inside(r, bl)) return Moved(r, 0, dy);
    if (Inside(r, br)) return Moved(r, dx, dy);
    auto from = [&](const TRect& z) { return CornerIn(r.Left, r.Top, z); };
    auto to = [&](const TRect& z) { return CornerIn(r.Right, r.Bottom, z); };
    if (from(tl) && to(br)) return Rect(r.Left, r.Top, Add(r.Right, dx), Add(r.Bottom, dy));
    if (from(tl) && to(tr)) return Rect(r.Left, r.Top, Add(r.Right, dx), r.Bottom);
    if (from(bl) && to(br))
        return Rect(r.Left, Add(r.Top, dy), Add(r.Right, dx), Add(r.Bottom, dy));
    if (from(tl) && to(bl)) return Rect(r.Left, r.Top, r.Right, Add(r.Bottom, dy));
    if (from(tr) && to(br))
        return Rect(Add(r.Left, dx), r.Top, Add(r.Right, dx), Add(r.Bottom, dy));
    return r;
}

namespace {

TskSkinStdButtonObject* PlaceableButton(TskActiveSkinObject* o, TskStdCommand command) {
    auto* b = dynamic_cast<TskSkinStdButtonObject*>(o);
    if (b == nullptr || b->Command != command || !b->Visible || !b->SkinRectInAPicture)
        return nullptr;
    return b;
}

}  // namespace

void LayoutFrameObjects(const std::vector<std::unique_ptr<TskActiveSkinObject>>& objects,
                        const TskFrameSkin& skin, const TskFrameGeometry& g, bool showIcon,
                        TPoint iconSize) {
    TskSkinCaptionObject* caption = nullptr;
    for (const auto& o : objects) {
        if (!o->SkinRectInAPicture)
            o->ObjectRect = MapFrameObjectRect(o->NormalLookRect, skin, g.DX, g.DY);
        if (caption == nullptr) caption = dynamic_cast<TskSkinCaptionObject*>(o.get());
    }

    const bool inCaption = g.ButtonsArea.IsEmpty();
    const TRect area = inCaption ? g.CaptionArea : g.ButtonsArea;
    if (area.IsEmpty()) return;
    auto sizeOf = [&](const TskSkinStdButtonObject& b) {
        if (b.Command == cmSysMenu && showIcon) return iconSize;
        return TPoint{b.NormalLookRect.Width(), b.NormalLookRect.Height()};
    };
    std::vector<TskSkinStdButtonObject*> row;
    for (TskStdCommand c : {cmClose, cmMaximize, cmMinimize, cmRollUp})
        for (const auto& o : objects)
            if (TskSkinStdButtonObject* b = PlaceableButton(o.get(), c)) row.push_back(b);
    TskSkinStdButtonObject* sysMenu = nullptr;
    for (const auto& o : objects)
        if ((sysMenu = PlaceableButton(o.get(), cmSysMenu)) != nullptr) break;

    if (!g.ButtonsInLeft) {
        int right = area.Right;
        for (TskSkinStdButtonObject* b : row) {
            const TPoint sz = sizeOf(*b);
            b->ObjectRect = Rect(right - sz.X, area.Top, right, area.Top + sz.Y);
            right = b->ObjectRect.Left - g.ButtonsOffset;
        }
        if (inCaption && caption != nullptr && !row.empty())
            caption->ObjectRect.Right = row.back()->ObjectRect.Left;
        if (sysMenu != nullptr && !g.CaptionArea.IsEmpty()) {
            const TPoint sz = sizeOf(*sysMenu);
            const TRect& ca = g.CaptionArea;
            sysMenu->ObjectRect =
                rt::Bounds(ca.Left, ca.Top + (ca.Height() - sz.Y) / 2, sz.X, sz.Y);
            if (caption != nullptr) caption->ObjectRect.Left = sysMenu->ObjectRect.Right;
        }
        return;
    }
    if (inCaption && sysMenu != nullptr) row.push_back(sysMenu);
    int x = area.Left;
    for (std::size_t i = 0; i < row.size(); ++i) {
        const TPoint sz = sizeOf(*row[i]);
        const int left = i == 0 ? x : x + g.ButtonsOffset;
        row[i]->ObjectRect = rt::Bounds(left, area.Top, sz.X, sz.Y);
        x = row[i]->ObjectRect.Right;
    }
    // Buttons from the left push the caption's left edge past them, in the caption area or in
    // their own.
    if (caption != nullptr && !row.empty()) caption->ObjectRect.Left = x + g.ButtonsOffset;
}

void ApplyIconRules(const std::vector<std::unique_ptr<TskActiveSkinObject>>& objects,
                    TskBorderIcons icons) {
    for (const auto& o : objects) {
        auto* b = dynamic_cast<TskSkinStdButtonObject*>(o.get());
        if (b == nullptr) continue;
        bool allowed = true;
        switch (b->Command) {
            case cmRollUp:
                allowed = (icons & biRollUp) != 0;
                break;
            case cmMaximize:
                allowed = (icons & biMaximize) != 0;
                break;
            case cmMinimize:
                allowed = (icons & biMinimize) != 0;
                break;
            case cmSysMenu:
                allowed = (icons & biSystemMenu) != 0;
                break;
            default:
                break;
        }
        // A button given back its icon comes back too.
        b->Enabled = allowed;
        b->Visible = allowed || !b->SkinRectInAPicture;
    }
}

TPoint FrameMinimumSize(const TskSizeRules& r) {
    int w, h;
    if (r.Skinned) {
        w = r.PictureWidth;
        if (r.MinWidth > w && !r.Minimized) w = r.MinWidth;
        h = r.PictureHeight - r.ClientRect.Height();
    } else {
        w = r.MinWidth > 0 ? r.MinWidth : 120;
        h = r.DefaultCaptionHeight + 6;
    }
    if (h < r.MinHeight && !r.RolledUp && !r.Minimized) h = r.MinHeight;
    return TPoint{w, h};
}

TPoint FrameMaximumSize(bool fullScreen, const TRect& screen, const TRect& workArea) {
    const TRect& r = fullScreen ? screen : workArea;
    return TPoint{r.Width(), r.Height()};
}

namespace {

TRect NotNegative(TRect r) {
    r.Right = std::max(r.Right, r.Left);
    r.Bottom = std::max(r.Bottom, r.Top);
    return r;
}

}  // namespace

TRect SkinnedClientRect(const TRect& w, const TskFrameSkin& s) {
    const TRect& c = s.ClientRect;
    return NotNegative(Rect(w.Left + c.Left, w.Top + c.Top, w.Right - (s.PictureWidth - c.Right),
                            w.Bottom - (s.PictureHeight - c.Bottom)));
}

TRect DefaultClientRect(const TRect& w, int captionHeight) {
    return NotNegative(Rect(w.Left + 3, w.Top + captionHeight + 3, w.Right - 3, w.Bottom - 3));
}

bool TskFrameShape::Contains(int x, int y) const {
    if (x < 0 || y < 0 || x >= Width || y >= Height) return false;
    if (Mask == nullptr || MaskArea.Contains({x, y})) return true;
    return Mask->BlackAt(x, y);
}

int SkinnedHitTest(TPoint p, const TskFrameGeometry& g, const TskFrameShape& shape, int borderWidth,
                   const std::vector<TRect>& captionRects, const TskHitTestState& s) {
    if (!shape.Contains(p.X, p.Y)) return HTNOWHERE;
    const TRect& client = g.SizedClientBox;
    const bool inClient = client.Contains(p);
    const bool overCaption = std::any_of(captionRects.begin(), captionRects.end(),
                                         [&](const TRect& r) { return r.Contains(p); });
    if (!s.RolledUp && !s.Minimized && s.ObjectHovered && !overCaption && !inClient)
        return HTOBJECT;
    if (!s.Maximized && s.Sizeable) {
        const int b = borderWidth;
        const bool edge = !shape.Contains(p.X - b, p.Y) || !shape.Contains(p.X, p.Y - b) ||
                          !shape.Contains(p.X + b, p.Y) || !shape.Contains(p.X, p.Y + b);
        if (edge) {
            const int x = p.X, y = p.Y;
            if (x <= g.HitTestLT.X && y <= g.HitTestLT.Y) return HTTOPLEFT;
            if (x >= g.HitTestRT.X && y <= g.HitTestRT.Y) return HTTOPRIGHT;
            if (x <= g.HitTestLB.X && y >= g.HitTestLB.Y) return HTBOTTOMLEFT;
            if (x >= g.HitTestRB.X && y >= g.HitTestRB.Y) return HTBOTTOMRIGHT;
            if (Rect(g.HitTestLT.X, 0, g.HitTestRT.X, client.Top).Contains(p)) return HTTOP;
            if (Rect(g.HitTestLB.X, client.Bottom, g.HitTestRB.X, g.Height).Contains(p))
                return HTBOTTOM;
            if (Rect(0, g.HitTestLT.Y, client.Left, g.HitTestLB.Y).Contains(p)) return HTLEFT;
            if (Rect(client.Right, g.HitTestRT.Y, g.Width, g.HitTestRB.Y).Contains(p))
                return HTRIGHT;
        }
        if (inClient) return HTCLIENT;
        return overCaption ? HTCAPTION : HTOBJECT;
    }
    if (inClient && !s.RolledUp && !s.Minimized) return HTCLIENT;
    return overCaption ? HTCAPTION : HTOBJECT;
}

}  // namespace sk
