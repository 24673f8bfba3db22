// The plain message box: a form of our own with the default frame, so that it moves and closes
// like every other window of the program, with or without a window manager. The skinned
// message box replaces it through TApplication::MessageBoxHandler.
#include <algorithm>
#include <string>
#include <vector>

#include "runtime/Application.h"
#include "runtime/StdCtrls.h"

namespace rt {

namespace {

constexpr int kMargin = 12;
constexpr int kIcon = 32;
constexpr int kButtonW = 75, kButtonH = 23, kButtonGap = 6;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> out(1);
    for (char ch : text) {
        if (ch == '\n')
            out.emplace_back();
        else if (ch != '\r')
            out.back() += ch;
    }
    return out;
}

// A push button in the default look: framed always, the default one in the frame colour.
class TMessageButton : public TSpeedButton {
public:
    TMessageButton(TComponent* owner, bool isDefault) : TSpeedButton(owner), default_(isDefault) {}

protected:
    void Paint(TCanvas& c) override {
        TSpeedButton::Paint(c);
        if (Hot() || Pressed()) return;
        c.Brush.Color = default_ ? kDefaultFrame : clBtnShadow;
        c.FrameRect(ClientRect());
    }

private:
    bool default_;
};

class TMessageForm : public TForm {
public:
    TMessageForm(const std::string& text, const std::string& caption, int flags)
        : TForm(nullptr), lines_(Lines(text)), icon_(flags & 0xF0) {
        SetCaption(caption);
        BorderStyle = TFormBorderStyle::bsDialog;
        Position = TPosition::poMainFormCenter;
        FrameChanged();
        struct Choice {
            const char* caption;
            int result;
        };
        std::vector<Choice> choices;
        switch (flags & 0x0F) {
            case MB_YESNO:
                choices = {{"&Yes", mrYes}, {"&No", mrNo}};
                break;
            case MB_OKCANCEL:
                choices = {{"OK", mrOk}, {"Cancel", mrCancel}};
                break;
            default:
                choices = {{"OK", mrOk}};
                break;
        }
        escapeResult_ = choices.back().result;
        const std::size_t defaultIndex = (flags & MB_DEFBUTTON2) != 0 ? choices.size() - 1 : 0;
        defaultResult_ = choices[defaultIndex].result;

        TBitmap probe(1, 1);
        probe.Canvas().Font = Font();
        lineHeight_ = probe.Canvas().TextHeight("Ag");
        int textW = 0;
        for (const std::string& l : lines_) textW = std::max(textW, probe.Canvas().TextWidth(l));
        textLeft_ = kMargin + (icon_ != 0 ? kIcon + kMargin : 0);
        const int textH = lineHeight_ * int(lines_.size());
        const int bodyH = std::max(textH, icon_ != 0 ? kIcon : 0);
        const int buttonsW =
            int(choices.size()) * kButtonW + (int(choices.size()) - 1) * kButtonGap;
        const int clientW = std::max(textLeft_ + textW + kMargin, buttonsW + 2 * kMargin);
        const int clientH = kMargin + bodyH + kMargin + kButtonH + kMargin;
        textTop_ = kMargin + (bodyH - textH) / 2;
        SetClientSize(std::max(clientW, 200), clientH);

        int x = (ClientWidth() - buttonsW) / 2;
        for (std::size_t i = 0; i < choices.size(); ++i) {
            auto* b = new TMessageButton(this, i == defaultIndex);
            b->SetCaption(choices[i].caption);
            b->SetBounds(x, clientH - kMargin - kButtonH, kButtonW, kButtonH);
            b->SetParent(this);
            const int result = choices[i].result;
            b->OnClick = [this, result](TComponent*) { ModalResult = result; };
            x += kButtonW + kButtonGap;
        }
        OnKeyDown = [this](TComponent*, int& key, TShiftState) {
            if (key == VK_RETURN) ModalResult = defaultResult_;
            if (key == VK_ESCAPE) ModalResult = escapeResult_;
        };
    }

protected:
    void Paint(TCanvas& c) override {
        TForm::Paint(c);
        if (icon_ != 0) PaintIcon(c, kMargin, kMargin);
        c.Font = Font();
        c.Brush.Style = TBrushStyle::bsClear;
        for (std::size_t i = 0; i < lines_.size(); ++i)
            c.TextOut(textLeft_, textTop_ + int(i) * lineHeight_, lines_[i]);
        c.Brush.Style = TBrushStyle::bsSolid;
    }

private:
    void PaintIcon(TCanvas& c, int x, int y) const {
        const bool error = icon_ == MB_ICONERROR, warning = icon_ == MB_ICONWARNING;
        c.Pen.Color = clBlack;
        c.Brush.Color = error ? clRed : warning ? clYellow : clNavy;
        c.Ellipse(Bounds(x, y, kIcon, kIcon));
        c.Font = TFont{};
        c.Font.Size = 16;
        c.Font.Style = fsBold;
        c.Font.Color = warning ? clBlack : clWhite;
        const char* mark = error ? "X" : warning ? "!" : icon_ == MB_ICONQUESTION ? "?" : "i";
        c.Brush.Style = TBrushStyle::bsClear;
        c.TextOut(x + (kIcon - c.TextWidth(mark)) / 2, y + (kIcon - c.TextHeight(mark)) / 2, mark);
        c.Brush.Style = TBrushStyle::bsSolid;
    }

    std::vector<std::string> lines_;
    int icon_;
    int lineHeight_ = 13;
    int textLeft_ = kMargin, textTop_ = kMargin;
    int defaultResult_ = mrOk, escapeResult_ = mrOk;
};

}  // namespace

int RunPlainMessageBox(const std::string& text, const std::string& caption, int flags) {
    TMessageForm form(text, caption, flags);
    return form.ShowModal();
}

}  // namespace rt
