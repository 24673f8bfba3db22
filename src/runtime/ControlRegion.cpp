#include <QRegion>

#include "runtime/ControlWidget.h"
#include "runtime/Controls.h"

namespace rt {

void TControl::SetWindowRegion(const TRegion* region) {
    QWidget* w = Impl().widget;
    if (region == nullptr) {
        w->clearMask();
        return;
    }
    QRegion q;
    for (const TRect& r : region->Rects())
        if (!r.IsEmpty()) q += QRect(r.Left, r.Top, r.Width(), r.Height());
    // An empty mask means "no mask" to Qt; a shape without pixels must hide everything, so it
    // becomes one pixel outside the widget.
    if (q.isEmpty()) q = QRegion(QRect(-1, -1, 1, 1));
    w->setMask(q);
    w->update();
}

}  // namespace rt
