#pragma once
// The Qt widget behind every control: it turns Qt events into messages for the control's
// window procedure and paints through the control's off-screen bitmap.

#include <QWidget>

#include "runtime/Controls.h"

namespace rt {

class ControlWidget : public QWidget {
public:
    ControlWidget(TControl* owner, bool topLevel);
    TControl* Owner() const { return owner_; }
    void Detach() { owner_ = nullptr; }
    bool inPaintEvent = false;

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    // Key and focus events travel as KeyRouting.cpp describes.
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    std::intptr_t Send(unsigned msg, std::intptr_t w, std::intptr_t l);
    TControl* owner_;
};

struct ControlImpl {
    ControlWidget* widget = nullptr;  // owned: deleted with the control
};

// Translates a Qt key code to the virtual-key code the handlers expect (0 when none).
int VirtualKeyOf(int qtKey);

}  // namespace rt
