#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "runtime/Menus.h"

namespace {

// A control that notes the closed-menu notices it is sent.
class Opener : public rt::TGraphicControl {
public:
    Opener(rt::TComponent* owner, std::vector<std::string>& log)
        : rt::TGraphicControl(owner), log_(log) {}
    void WndProc(rt::TMessage& m) override {
        if (m.Msg == rt::WM_MENUCLOSED) log_.push_back("closed");
        if (m.Msg == rt::CM_MOUSELEAVE) log_.push_back("left");
        rt::TGraphicControl::WndProc(m);
    }

private:
    std::vector<std::string>& log_;
};

// While the next modal popup runs: runs `act` on it, then closes it. Should no popup show,
// the fallback closes whatever popup there is rather than holding the test; it ends with the
// driver.
class PopupDriver {
public:
    explicit PopupDriver(const std::function<void(QMenu&)>& act) {
        QTimer::singleShot(0, [act] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) return;
            act(*menu);
            menu->close();
        });
        fallback_.setSingleShot(true);
        QObject::connect(&fallback_, &QTimer::timeout, [] {
            if (QWidget* w = QApplication::activePopupWidget()) w->close();
        });
        fallback_.start(5000);
    }

private:
    QTimer fallback_;
};

class PlainPopupFromControl : public ::testing::Test {
protected:
    void SetUp() override {
        form_.SetBounds(0, 0, 200, 100);
        for (const char* caption : {"WinAqua", "No Skin"}) {
            auto* item = new rt::TMenuItem(&menu_);
            item->Caption = caption;
            item->OnClick = [this, caption](rt::TComponent*) {
                log_.push_back(std::string("click ") + caption);
            };
            menu_.Items()->Add(item);
        }
    }
    rt::TForm form_{nullptr};
    rt::TPopupMenu menu_{nullptr};
    std::vector<std::string> log_;
};

TEST_F(PlainPopupFromControl, RunsTheChosenItemThenTellsTheOpener) {
    auto* opener = new Opener(&form_, log_);
    opener->SetParent(&form_);
    const QPoint cursor = QCursor::pos();
    const rt::TPoint p = form_.ScreenToClient({cursor.x(), cursor.y()});
    opener->SetBounds(p.X - 5, p.Y - 5, 10, 10);
    QRect shown;
    {
        PopupDriver driver([&](QMenu& m) {
            shown = m.geometry();
            m.actions().at(1)->trigger();
        });
        menu_.PopupFromControl(opener, rt::Rect(40, 60, 80, 85), false);
    }
    EXPECT_EQ(log_, (std::vector<std::string>{"click No Skin", "closed"}));
    EXPECT_EQ(shown.topLeft(), QPoint(40, 85)) << "below the anchor, at its left edge";

    log_.clear();
    {
        PopupDriver driver([&](QMenu& m) { shown = m.geometry(); });
        menu_.PopupFromControl(opener, rt::Rect(40, 300, 80, 325), true);
    }
    EXPECT_EQ(log_, (std::vector<std::string>{"closed"})) << "closed without a choice";
    EXPECT_EQ(shown.bottom() + 1, 300) << "above the anchor when dropping up";

    // The popup had the pointer: an opener that the pointer is no longer over hears it left.
    log_.clear();
    opener->SetBounds(p.X + 20, p.Y + 20, 10, 10);
    {
        PopupDriver driver([](QMenu&) {});
        menu_.PopupFromControl(opener, rt::Rect(40, 60, 80, 85), false);
    }
    EXPECT_EQ(log_, (std::vector<std::string>{"left", "closed"}));
}

TEST_F(PlainPopupFromControl, AnOpenerFreedMeanwhileIsNotTold) {
    auto* opener = new Opener(&form_, log_);
    PopupDriver driver([&](QMenu&) { delete opener; });
    menu_.PopupFromControl(opener, rt::Rect(40, 60, 80, 85), false);
    EXPECT_TRUE(log_.empty());
}

}  // namespace
