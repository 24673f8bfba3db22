#pragma once
// What the tree view and the list view share inside runtime: the platform views' common set-up
// and the images of an image list as the platform shows them.

#include <QAbstractItemView>
#include <QPixmap>
#include <unordered_map>

#include "runtime/Application.h"
#include "runtime/ComCtrls.h"

namespace rt {

// An image list's images as pixmaps, with the transparent colour cut out; built on demand.
class PixmapCache {
public:
    const QPixmap* Get(const TImageList* list, int index);
    void Clear() { pixmaps_.clear(); }

private:
    const TImageList* list_ = nullptr;
    std::unordered_map<int, QPixmap> pixmaps_;
};

// No frame, no scroll bars of its own (the scroll state stays), our colours and font.
void SetUpItemView(QAbstractItemView& view);
void ApplyItemViewLook(QAbstractItemView& view, TColor background, const TFont& font);
// One scroll request (WM_HSCROLL / WM_VSCROLL's WParam) applied to a platform bar.
void ApplyScrollRequest(QAbstractSlider& bar, std::intptr_t wParam);
// Tells the form that the focus moved to control, as our own widgets do on focus-in.
void NoteFocusIn(TControl& control);
// Paints a control backed by a platform view: while the control's own widget paints, the
// view shows itself on top, so only the colour goes under it; anywhere else (PaintToBitmap)
// the view is rendered into the canvas as the screen shows it.
void PaintItemView(TControl& control, QAbstractItemView& view, TCanvas& canvas);
// Keys the platform view should leave to the form (Tab moves the focus among its controls).
bool LeaveKeyToForm(const QKeyEvent& e);

}  // namespace rt
