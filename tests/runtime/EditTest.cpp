#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Application.h"
#include "runtime/EditCtrls.h"
#include "runtime/testing/TestInput.h"

namespace {

// A key as the window system delivers it, to the widget with the focus.
void Type(int qtKey, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
    QWidget* target = QApplication::focusWidget();
    ASSERT_NE(target, nullptr);
    QKeyEvent press(QEvent::KeyPress, qtKey, mods, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, mods, text);
    QApplication::sendEvent(target, &release);
}

void TypeText(const std::string& s) {
    for (char ch : s) Type(Qt::Key_A + (ch - 'a'), Qt::NoModifier, QString(QChar(ch)));
}

class Edit : public ::testing::Test {
protected:
    void SetUp() override {
        form_ = std::make_unique<rt::TForm>(nullptr);
        form_->SetBounds(40, 40, 300, 200);
        edit_ = new rt::TEdit(form_.get());
        edit_->SetParent(form_.get());
        edit_->SetBounds(10, 10, 150, 21);
        form_->Show();
        rt::Application()->ProcessMessages();
        edit_->SetFocus();
        ASSERT_TRUE(edit_->Focused());
    }
    std::unique_ptr<rt::TForm> form_;
    rt::TEdit* edit_ = nullptr;
};

TEST_F(Edit, TypingGoesThroughKeyPressWhichMayChangeOrEatTheCharacter) {
    std::vector<char32_t> pressed;
    int changes = 0;
    edit_->OnChange = [&](rt::TComponent*) { ++changes; };
    edit_->OnKeyPress = [&](rt::TComponent*, char32_t& key) {
        pressed.push_back(key);
        if (key == 'x') key = 0;
        if (key == 'u') key = 'U';
    };
    TypeText("axbu");
    EXPECT_EQ(edit_->Text(), "abU");
    EXPECT_EQ(pressed, (std::vector<char32_t>{'a', 'x', 'b', 'u'}));
    EXPECT_EQ(changes, 3);
    EXPECT_TRUE(edit_->Modified());

    // A key cleared in OnKeyDown never reaches the platform edit.
    edit_->OnKeyDown = [](rt::TComponent*, int& key, rt::TShiftState) {
        if (key == rt::VK_BACK) key = 0;
    };
    Type(Qt::Key_Backspace, Qt::NoModifier, "\b");
    EXPECT_EQ(edit_->Text(), "abU");
    edit_->OnKeyDown = nullptr;
    Type(Qt::Key_Backspace, Qt::NoModifier, "\b");
    EXPECT_EQ(edit_->Text(), "ab");
}

// Punctuation has no virtual key of its own: its character still types (a file name's dot).
TEST_F(Edit, KeysWithoutAVirtualKeyTypeTheirCharacter) {
    std::vector<char32_t> pressed;
    edit_->OnKeyPress = [&](rt::TComponent*, char32_t& key) { pressed.push_back(key); };
    TypeText("clip");
    const struct {
        int key;
        const char* text;
    } punctuation[] = {{Qt::Key_Period, "."},
                       {Qt::Key_Comma, ","},
                       {Qt::Key_Minus, "-"},
                       {Qt::Key_AsciiTilde, "~"},
                       {Qt::Key_Slash, "/"}};
    for (const auto& p : punctuation) Type(p.key, Qt::NoModifier, p.text);
    EXPECT_EQ(edit_->Text(), "clip.,-~/");
    EXPECT_EQ(pressed.size(), 9u) << "each character passes OnKeyPress";
}

TEST_F(Edit, EnterReachesKeyPressOnlyAndInsertsNothing) {
    edit_->SetText("name");
    edit_->SetSelStart(4);
    std::vector<char32_t> pressed;
    edit_->OnKeyPress = [&](rt::TComponent*, char32_t& key) { pressed.push_back(key); };
    Type(Qt::Key_Return, Qt::NoModifier, "\r");
    Type(Qt::Key_Enter, Qt::KeypadModifier, "\r");
    EXPECT_EQ(pressed, (std::vector<char32_t>{13, 13}));
    EXPECT_EQ(edit_->Text(), "name");
}

TEST_F(Edit, ReadOnlyIgnoresEditingButSelectsAndCopies) {
    edit_->SetText("keep");
    edit_->SetReadOnly(true);
    QApplication::clipboard()->setText("pasted");
    edit_->SelectAll();
    struct Step {
        const char* what;
        int key;
        Qt::KeyboardModifiers mods;
        QString text;
    };
    const Step steps[] = {
        {"typing", Qt::Key_Z, Qt::NoModifier, "z"},
        {"Delete", Qt::Key_Delete, Qt::NoModifier, {}},
        {"Backspace", Qt::Key_Backspace, Qt::NoModifier, "\b"},
        {"cut", Qt::Key_X, Qt::ControlModifier, "\x18"},
        {"paste", Qt::Key_V, Qt::ControlModifier, "\x16"},
        {"undo", Qt::Key_Z, Qt::ControlModifier, "\x1a"},
    };
    for (const Step& s : steps) {
        edit_->SelectAll();
        Type(s.key, s.mods, s.text);
        EXPECT_EQ(edit_->Text(), "keep") << s.what;
    }
    edit_->SelectAll();
    edit_->CutToClipboard();
    edit_->PasteFromClipboard();
    edit_->Clear();
    edit_->Undo();
    EXPECT_EQ(edit_->Text(), "keep") << "the commands from code keep to the same rules";
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "pasted");

    edit_->SetSelStart(1);
    edit_->SetSelLength(2);
    EXPECT_EQ(edit_->SelText(), "ee");
    Type(Qt::Key_C, Qt::ControlModifier, "\x03");
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), "ee");
}

TEST_F(Edit, FocusFromTheKeyboardSelectsAllAndTabLeavesTheEdit) {
    auto* second = new rt::TEdit(form_.get());
    second->SetParent(form_.get());
    second->SetBounds(10, 40, 150, 21);
    second->SetText("whole");
    Type(Qt::Key_Tab, Qt::NoModifier, "\t");
    ASSERT_TRUE(second->Focused());
    EXPECT_EQ(second->SelText(), "whole");
    EXPECT_EQ(edit_->Text(), "") << "Tab typed nothing";
    Type(Qt::Key_Backtab, Qt::ShiftModifier, "\t");
    EXPECT_TRUE(edit_->Focused());
}

// A control with a frame of its own: 3 pixels left and top, 20 right (a button), 2 below.
class Framed : public rt::TCustomControl {
public:
    explicit Framed(rt::TComponent* owner) : rt::TCustomControl(owner) {}
    void WndProc(rt::TMessage& m) override {
        switch (m.Msg) {
            case rt::WM_NCCALCSIZE: {
                auto* p = rt::ParamPtr<rt::TNCCalcSizeParams>(m.LParam);
                p->Client = rt::Rect(p->Window.Left + 3, p->Window.Top + 3, p->Window.Right - 20,
                                     p->Window.Bottom - 2);
                return;
            }
            case rt::WM_NCPAINT: {
                auto* p = rt::ParamPtr<rt::TNCPaintParams>(m.WParam);
                p->Canvas->Brush.Color = rt::clRed;
                p->Canvas->FillRect(p->Update);
                return;
            }
            case rt::WM_NCHITTEST: {
                const rt::TPoint at = ScreenToClient(rt::LParamToPoint(m.LParam));
                m.Result = at.X >= ClientRect().Right ? rt::HTOBJECT : rt::HTBORDER;
                return;
            }
            case rt::WM_NCMOUSEMOVE:
            case rt::WM_NCLBUTTONDOWN:
            case rt::WM_NCLBUTTONUP:
                log.push_back(std::string(m.Msg == rt::WM_NCMOUSEMOVE     ? "ncmove "
                                          : m.Msg == rt::WM_NCLBUTTONDOWN ? "ncdown "
                                                                          : "ncup ") +
                              std::to_string(m.WParam));
                return;
            case rt::WM_NCMOUSELEAVE:
                log.push_back("ncleave");
                return;
            case rt::WM_LBUTTONDOWN:
                log.push_back("down " + std::to_string(rt::LParamX(m.LParam)) + "," +
                              std::to_string(rt::LParamY(m.LParam)));
                return;
            default:
                rt::TCustomControl::WndProc(m);
        }
    }
    std::vector<std::string> log;

protected:
    void Paint(rt::TCanvas& c) override {
        c.Brush.Color = rt::clBlue;
        c.FillRect(ClientRect());
    }
};

TEST_F(Edit, ChildFrameTakesItsPartOfTheWindowAndTheMouseOverIt) {
    auto* f = new Framed(form_.get());
    f->SetParent(form_.get());
    f->SetBounds(10, 60, 100, 30);
    f->FrameChanged();
    EXPECT_EQ(f->ClientRect(), rt::Rect(0, 0, 77, 25));
    EXPECT_EQ(f->ClientInWindow(), rt::Rect(3, 3, 80, 28));
    EXPECT_EQ(f->ClientToScreen({0, 0}).X - form_->ClientToScreen({0, 0}).X, 13);

    const rt::TBitmap b = f->PaintToBitmap();
    ASSERT_EQ(b.Width(), 100);
    EXPECT_EQ(rt::PixelToColor(b.ScanLine(1)[1]), rt::clRed);
    EXPECT_EQ(rt::PixelToColor(b.ScanLine(10)[90]), rt::clRed);
    EXPECT_EQ(rt::PixelToColor(b.ScanLine(10)[10]), rt::clBlue);

    // The size follows: a new width moves the client's right edge.
    f->SetWidth(120);
    EXPECT_EQ(f->ClientRect(), rt::Rect(0, 0, 97, 25));

    namespace ti = rt::testing;
    const rt::TPoint origin = f->ClientToScreen({0, 0});
    ti::MouseMove({origin.X + 105, origin.Y + 5});
    ti::MousePress({origin.X + 105, origin.Y + 5});
    // Dragged off and released outside: the frame still hears of it, as nowhere.
    ti::MouseRelease({origin.X + 400, origin.Y + 5});
    ti::MouseClick({origin.X + 4, origin.Y + 6});
    ti::MouseMove({origin.X - 2, origin.Y - 2});
    ti::MouseMove({origin.X + 160, origin.Y + 60});
    const std::string object = std::to_string(rt::HTOBJECT);
    EXPECT_EQ(f->log,
              (std::vector<std::string>{
                  "ncmove " + object, "ncdown " + object, "ncmove " + std::to_string(rt::HTNOWHERE),
                  "ncup " + std::to_string(rt::HTNOWHERE), "ncleave", "down 4,6",
                  "ncmove " + std::to_string(rt::HTBORDER), "ncleave"}));
}

}  // namespace
