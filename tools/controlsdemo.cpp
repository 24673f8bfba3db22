// A window of the dialog controls for looking at them: push buttons, scroll bars, rolling
// caption panels, a splitter and bevel dividers, edits and combo boxes, once without a skin
// (left) and once painted from a skin (right): a small one drawn here in code, or a built-in
// one chosen in the "Skin" box at the top. Tab walks through them all. Run it under Xvfb and
// take a screenshot; "--skin NAME" starts with that skin ("No Skin" for none).

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>

#include "BuiltinSkins.h"
#include "DemoPaint.h"
#include "DemoViews.h"
#include "runtime/Application.h"
#include "runtime/StdCtrls.h"
#include "skin/controls/skSkinButton.h"
#include "skin/controls/skSkinComboBox.h"
#include "skin/controls/skSkinEdit.h"
#include "skin/controls/skSkinExPanel.h"
#include "skin/controls/skSkinPanels.h"
#include "skin/controls/skSkinScrollBar.h"
#include "skin/controls/skSkinSplitter.h"
#include "skin/controls/skSkinWalk.h"
#include "skin/data/skUtils.h"

namespace {

using demo::Fill;
using demo::Mix;

void VGradient(rt::TBitmap& p, const rt::TRect& r, rt::TColor top, rt::TColor bottom) {
    for (int y = r.Top; y < r.Bottom; ++y)
        Fill(p, rt::Rect(r.Left, y, r.Right, y + 1),
             Mix(top, bottom, r.Height() > 1 ? double(y - r.Top) / (r.Height() - 1) : 0));
}

void HGradient(rt::TBitmap& p, const rt::TRect& r, rt::TColor left, rt::TColor right) {
    for (int x = r.Left; x < r.Right; ++x)
        Fill(p, rt::Rect(x, r.Top, x + 1, r.Bottom),
             Mix(left, right, r.Width() > 1 ? double(x - r.Left) / (r.Width() - 1) : 0));
}

// A face with a one-pixel border, its corner pixels softened into the surrounding colour.
void Face(rt::TBitmap& p, const rt::TRect& r, rt::TColor border, rt::TColor top, rt::TColor bottom,
          rt::TColor around) {
    Fill(p, r, border);
    VGradient(p, rt::Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1), top, bottom);
    const rt::TColor corner = Mix(border, around, 0.6);
    for (const rt::TPoint c :
         {rt::Point(r.Left, r.Top), rt::Point(r.Right - 1, r.Top), rt::Point(r.Left, r.Bottom - 1),
          rt::Point(r.Right - 1, r.Bottom - 1)})
        p.Canvas().SetPixel(c.X, c.Y, corner);
}

// The picture turned a quarter so that rows become columns (horizontal pieces made vertical).
void TransposeInto(rt::TBitmap& p, const rt::TRect& from, int x0, int y0) {
    for (int y = from.Top; y < from.Bottom; ++y)
        for (int x = from.Left; x < from.Right; ++x)
            p.Canvas().SetPixel(x0 + (y - from.Top), y0 + (x - from.Left), p.Canvas().Pixel(x, y));
}

void Arrow(rt::TBitmap& p, const rt::TRect& r, rt::TColor c, int direction) {
    sk::DrawArrowImage(p.Canvas(), r, c, direction);
}

constexpr rt::TColor kFaceBg = 0xF0F0F0;
constexpr rt::TColor kBorder = 0x907A6A;
constexpr rt::TColor kHotBorder = 0xB17F3C;
constexpr rt::TColor kDownBorder = 0x8B622C;
constexpr rt::TColor kBand1 = 0xBB7E4A, kBand2 = 0x945A2B, kBandLine = 0x663F1F;

rt::TBitmap PaintDemoPicture() {
    rt::TBitmap p(256, 256);
    Fill(p, rt::Rect(0, 0, 256, 256), kFaceBg);
    // Buttons: normal, hot, down, disabled, 40 x 25 each: as high as a dialog button, so that
    // the shading runs top to bottom without a repeat.
    Face(p, rt::Rect(0, 0, 40, 25), kBorder, 0xFDFDFD, 0xE8DED8, kFaceBg);
    Face(p, rt::Rect(40, 0, 80, 25), kHotBorder, 0xFFFFFF, 0xF7E3CF, kFaceBg);
    Face(p, rt::Rect(80, 0, 120, 25), kDownBorder, 0xEAD5BF, 0xF6EEE6, kFaceBg);
    Face(p, rt::Rect(120, 0, 160, 25), 0xB5B5B5, 0xF4F4F4, 0xF4F4F4, kFaceBg);

    // Horizontal scroll bar 120 x 17 at (0, 30): buttons at both ends, a grooved track.
    VGradient(p, rt::Rect(0, 30, 120, 47), 0xE4E4E4, 0xF4F4F4);
    Fill(p, rt::Rect(0, 30, 120, 31), 0xD0D0D0);
    Fill(p, rt::Rect(0, 46, 120, 47), 0xD0D0D0);
    Face(p, rt::Rect(0, 30, 17, 47), kBorder, 0xFDFDFD, 0xE8DED8, kFaceBg);
    Face(p, rt::Rect(103, 30, 120, 47), kBorder, 0xFDFDFD, 0xE8DED8, kFaceBg);
    Arrow(p, rt::Rect(0, 30, 17, 47), 0x505050, 1);
    Arrow(p, rt::Rect(103, 30, 120, 47), 0x505050, 2);
    // Hot and pressed buttons, up (right) then down (left), at (130, 30).
    const struct {
        int x;
        rt::TColor border, top, bottom;
        int dir;
    } hb[] = {{130, kHotBorder, 0xFFFFFF, 0xF7E3CF, 2},
              {147, kDownBorder, 0xEAD5BF, 0xF6EEE6, 2},
              {164, kHotBorder, 0xFFFFFF, 0xF7E3CF, 1},
              {181, kDownBorder, 0xEAD5BF, 0xF6EEE6, 1}};
    for (const auto& b : hb) {
        Face(p, rt::Rect(b.x, 30, b.x + 17, 47), b.border, b.top, b.bottom, kFaceBg);
        Arrow(p, rt::Rect(b.x, 30, b.x + 17, 47), 0x303030, b.dir);
    }
    // Thumbs 40 x 13: normal, hot, down; a grip glyph 7 x 7.
    Face(p, rt::Rect(0, 50, 40, 63), 0xB09B8A, 0xF8F4F0, 0xE4D8CC, 0xEEEEEE);
    Face(p, rt::Rect(0, 66, 40, 79), kHotBorder, 0xFFFDFA, 0xF4DEC4, 0xEEEEEE);
    Face(p, rt::Rect(0, 82, 40, 95), kDownBorder, 0xE8CFB4, 0xF4E8DC, 0xEEEEEE);
    for (int i = 0; i < 3; ++i) {
        const int gy = 50 + 16 * i;
        Fill(p, rt::Rect(44, gy, 51, gy + 7), i == 0 ? 0xF0E8E0 : i == 1 ? 0xF8EEE2 : 0xEEDFCE);
        for (int x = 44; x < 51; x += 3) Fill(p, rt::Rect(x, gy, x + 1, gy + 7), 0x8A7B70);
    }
    // The same bar with a corner square, for a bar beside a vertical one.
    p.Canvas().CopyRect(rt::Rect(0, 100, 120, 117), p, rt::Rect(0, 30, 120, 47));
    Fill(p, rt::Rect(120, 100, 137, 117), kFaceBg);
    // Vertical pieces: the horizontal ones turned.
    TransposeInto(p, rt::Rect(0, 30, 120, 47), 200, 30);     // bar 17 x 120
    TransposeInto(p, rt::Rect(0, 50, 40, 63), 220, 30);      // thumb 13 x 40
    TransposeInto(p, rt::Rect(0, 66, 40, 79), 235, 30);      // hot thumb
    TransposeInto(p, rt::Rect(0, 82, 40, 95), 220, 72);      // down thumb
    TransposeInto(p, rt::Rect(44, 50, 51, 57), 235, 72);     // grip
    TransposeInto(p, rt::Rect(130, 30, 198, 47), 236, 112);  // hot and pressed buttons

    // Rolling panel 80 x 60 at (0, 160): a caption band over a light body.
    Fill(p, rt::Rect(0, 160, 80, 220), 0xBFA28D);
    Fill(p, rt::Rect(1, 183, 79, 219), 0xFAF6F3);
    VGradient(p, rt::Rect(0, 160, 80, 183), kBand1, kBand2);
    Fill(p, rt::Rect(0, 182, 80, 183), kBandLine);
    // Rolled vertically: the band alone, 80 x 23; sideways: 23 x 60, shaded across.
    VGradient(p, rt::Rect(80, 160, 160, 183), kBand1, kBand2);
    HGradient(p, rt::Rect(160, 160, 183, 220), kBand1, kBand2);
    // Caption buttons 15 x 15: close, then roll and restore of both directions, in three looks.
    auto captionButton = [&](int x, int y, int look, int glyph) {
        const rt::TColor fill = look == 0 ? 0xA06A3A : look == 1 ? 0xD0905C : 0x804D23;
        const rt::TRect r = rt::Rect(x, y, x + 15, y + 15);
        Face(p, r, look == 0 ? 0x7A4A22 : 0xF0D8C0, fill, Mix(fill, 0x000000, 0.15), kBand2);
        rt::TCanvas& c = p.Canvas();
        if (glyph == 0) {
            c.Pen.Color = rt::clWhite;
            c.Polyline({{x + 4, y + 4}, {x + 11, y + 11}});
            c.Polyline({{x + 5, y + 4}, {x + 12, y + 11}});
            c.Polyline({{x + 10, y + 4}, {x + 3, y + 11}});
            c.Polyline({{x + 11, y + 4}, {x + 4, y + 11}});
        } else {
            Arrow(p, r, rt::clWhite, glyph);
        }
    };
    const int glyphs[] = {0, 3, 4, 1, 2};  // close, roll up, restore down, roll left, restore right
    for (int g = 0; g < 5; ++g)
        for (int look = 0; look < 3; ++look)
            captionButton(184 + 15 * look, 160 + 15 * g, look, glyphs[g]);

    // Splitter 6 x 60 with a grip of dots.
    VGradient(p, rt::Rect(0, 230, 6, 250), 0xE6E6E6, 0xE6E6E6);
    for (int y = 234; y < 247; y += 3) Fill(p, rt::Rect(2, y, 4, y + 1), 0x8A7B70);
    return p;
}

std::string Rect(int l, int t, int r, int b) {
    return std::to_string(l) + "," + std::to_string(t) + "," + std::to_string(r) + "," +
           std::to_string(b);
}

std::vector<std::string> DemoDescription() {
    std::vector<std::string> d = {"[VERSION]",
                                  "skinname=Demo",
                                  "[PICTURES]",
                                  "activepicturescount=1",
                                  "[FORMINFO]",
                                  "lefttoppoint=0,0",
                                  "[SKINOBJECTS]",
                                  "count=0",
                                  "[SKINCONTROLS]",
                                  "count=7",
                                  "0=button:button",
                                  "1=hscrollbar:scrollbar",
                                  "2=bothhscrollbar:scrollbar",
                                  "3=vscrollbar:scrollbar",
                                  "4=expanel:expanel",
                                  "5=vsplitter:splitter",
                                  "6=bevel:bevel",
                                  "[button]",
                                  "pictureindex=0",
                                  "skinrect=0,0,40,25",
                                  "lefttoppoint=4,4",
                                  "righttoppoint=36,4",
                                  "leftbottompoint=4,21",
                                  "rightbottompoint=36,21",
                                  "clientrect=4,4,36,21",
                                  "activeskinrect=40,0,80,25",
                                  "downskinrect=80,0,120,25",
                                  "disabledskinrect=120,0,160,25",
                                  "fontname=Arial",
                                  "fontheight=14",
                                  "fontcolor=0",
                                  "activefontcolor=6043934",
                                  "downfontcolor=6043934",
                                  "disabledfontcolor=9276813",
                                  "morphing=1",
                                  "morphkind=mkdefault"};
    auto scroll = [&](const std::string& name, int y, int width) {
        for (const std::string& l : {"[" + name + "]",
                                     std::string("pictureindex=0"),
                                     "skinrect=" + Rect(0, y, width, y + 17),
                                     std::string("lefttoppoint=17,0"),
                                     std::string("righttoppoint=103,0"),
                                     std::string("clientrect=17,0,103,17"),
                                     std::string("trackarea=17,0,103,17"),
                                     std::string("upbuttonrect=103,0,120,17"),
                                     std::string("downbuttonrect=0,0,17,17"),
                                     std::string("activeupbuttonrect=130,30,147,47"),
                                     std::string("downupbuttonrect=147,30,164,47"),
                                     std::string("activedownbuttonrect=164,30,181,47"),
                                     std::string("downdownbuttonrect=181,30,198,47"),
                                     std::string("thumbrect=0,50,40,63"),
                                     std::string("activethumbrect=0,66,40,79"),
                                     std::string("downthumbrect=0,82,40,95"),
                                     std::string("thumboffset1=4"),
                                     std::string("thumboffset2=4"),
                                     std::string("glyphrect=44,50,51,57"),
                                     std::string("activeglyphrect=44,66,51,73"),
                                     std::string("downglyphrect=44,82,51,89")})
            d.push_back(l);
    };
    scroll("hscrollbar", 30, 120);
    scroll("bothhscrollbar", 100, 137);
    for (const char* l : {"[vscrollbar]",
                          "pictureindex=0",
                          "skinrect=200,30,217,150",
                          "lefttoppoint=0,17",
                          "leftbottompoint=0,103",
                          "clientrect=0,17,17,103",
                          "trackarea=0,17,17,103",
                          "upbuttonrect=0,103,17,120",
                          "downbuttonrect=0,0,17,17",
                          "activeupbuttonrect=236,112,253,129",
                          "downupbuttonrect=236,129,253,146",
                          "activedownbuttonrect=236,146,253,163",
                          "downdownbuttonrect=236,163,253,180",
                          "thumbrect=220,30,233,70",
                          "activethumbrect=235,30,248,70",
                          "downthumbrect=220,72,233,112",
                          "thumboffset1=4",
                          "thumboffset2=4",
                          "glyphrect=235,72,242,79",
                          "[expanel]",
                          "pictureindex=0",
                          "skinrect=0,160,80,220",
                          "lefttoppoint=3,24",
                          "righttoppoint=77,24",
                          "leftbottompoint=3,57",
                          "rightbottompoint=77,57",
                          "clientrect=2,24,78,58",
                          "captionrect=4,4,76,19",
                          "rollvskinrect=80,160,160,183",
                          "rollleftoffset=4",
                          "rollrightoffset=4",
                          "rollvcaptionrect=4,4,76,19",
                          "rollhskinrect=160,160,183,220",
                          "rolltopoffset=4",
                          "rollbottomoffset=4",
                          "rollhcaptionrect=4,4,19,56",
                          "closebuttonrect=184,160,199,175",
                          "closebuttonactiverect=199,160,214,175",
                          "closebuttondownrect=214,160,229,175",
                          "vrollbuttonrect=184,175,199,190",
                          "vrollbuttonactiverect=199,175,214,190",
                          "vrollbuttondownrect=214,175,229,190",
                          "vrestorebuttonrect=184,190,199,205",
                          "vrestorebuttonactiverect=199,190,214,205",
                          "vrestorebuttondownrect=214,190,229,205",
                          "hrollbuttonrect=184,205,199,220",
                          "hrollbuttonactiverect=199,205,214,220",
                          "hrollbuttondownrect=214,205,229,220",
                          "hrestorebuttonrect=184,220,199,235",
                          "hrestorebuttonactiverect=199,220,214,235",
                          "hrestorebuttondownrect=214,220,229,235",
                          "fontname=Arial",
                          "fontheight=14",
                          "fontstyle=fsbold",
                          "fontcolor=16777215",
                          "[vsplitter]",
                          "pictureindex=0",
                          "skinrect=0,230,6,250",
                          "lefttoppoint=0,4",
                          "righttoppoint=6,0",
                          "leftbottompoint=0,16",
                          "[bevel]",
                          "lightcolor=16777215",
                          "darkcolor=12627616"})
        d.push_back(l);
    return d;
}

class DemoForm : public rt::TForm {
public:
    explicit DemoForm(rt::TComponent* owner, const std::string& skin) : rt::TForm(owner) {
        SetCaption("Framora controls");
        SetBounds(0, 0, 830, 625);
        data_ = new sk::TskSkinData(this);
        stored_ = demo::StoredSkin(PaintDemoPicture(), DemoDescription());
        for (const sk::TskBuiltinSkin& builtIn : sk::kBuiltinSkins) {
            const char* name = builtIn.Name;
            const std::vector<std::uint8_t>* bytes = &builtIn.Bytes();
            auto* c = new sk::TskCompressedStoredSkin(this);
            rt::TMemoryStream s;
            s.WriteBuffer(bytes->data(), std::int64_t(bytes->size()));
            s.SetPosition(0);
            c->ReadFormProperty(s);
            builtIn_.emplace_back(name, c);
        }
        auto* label = Add<rt::TLabel>(this, 420, 12, 40, 16);
        label->SetCaption("&Skin:");
        chooser_ = Add<sk::TskSkinComboBox>(this, 460, 8, 160, 21);
        std::vector<std::string> choices = {"Demo"};
        for (const sk::TskBuiltinSkin& builtIn : sk::kBuiltinSkins) choices.push_back(builtIn.Name);
        choices.push_back("No Skin");
        chooser_->SetItems(choices);
        label->SetFocusControl(chooser_);
        chooser_->OnChange = [this](rt::TComponent*) { UseSkin(chooser_->Text()); };
        chooser_->SetSkinData(data_);
        Column(10, nullptr, "No skin");
        Column(420, data_, "Skinned");
        chooser_->SetItemIndex(0);
        for (int i = 0; i < chooser_->ItemCount(); ++i)
            if (rt::SameText(chooser_->Item(i), skin)) chooser_->SetItemIndex(i);
        UseSkin(chooser_->Text());
    }

private:
    // Loads the chosen skin; a form without a skinned frame walks its controls itself.
    void UseSkin(const std::string& name) {
        if (name == "No Skin") {
            data_->ClearSkin();
        } else if (auto it = std::find_if(builtIn_.begin(), builtIn_.end(),
                                          [&](const auto& b) { return b.first == name; });
                   it != builtIn_.end()) {
            data_->LoadCompressedStoredSkin(it->second);
        } else {
            data_->LoadStoredSkin(stored_.get());
        }
        sk::ApplySkins(*this, data_);
    }

    template <class T>
    T* Add(rt::TWinControl* parent, int x, int y, int w, int h) {
        auto* c = new T(this);
        c->SetBounds(x, y, w, h);
        c->SetParent(parent);
        return c;
    }

    void Column(int x0, sk::TskSkinData* data, const std::string& title) {
        auto* heading = Add<rt::TLabel>(this, x0, 38, 200, 16);
        heading->Font().Style = rt::fsBold;
        heading->SetCaption(title);
        auto skin = [&](auto* c) {
            if (data != nullptr) c->SetSkinData(data);
            return c;
        };
        const char* captions[] = {"&OK", "Cancel", "&Apply", "Off"};
        for (int i = 0; i < 4; ++i) {
            auto* b = skin(Add<sk::TskSkinButton>(this, x0 + 85 * i, 62, 75, 25));
            b->SetCaption(captions[i]);
            if (i == 0) b->SetDefault(true);
            if (i == 1) b->Cancel = true;
            if (i == 3) b->SetEnabled(false);
        }
        auto* toggleA = skin(Add<sk::TskSkinButton>(this, x0, 96, 75, 25));
        toggleA->SetCaption("List");
        auto* toggleB = skin(Add<sk::TskSkinButton>(this, x0 + 85, 96, 75, 25));
        toggleB->SetCaption("Details");
        // Both columns sit on the form: one group each.
        for (auto* t : {toggleA, toggleB}) t->SetGroupIndex(data != nullptr ? 2 : 1);
        toggleA->SetDown(true);
        auto* divider = skin(Add<sk::TskSkinBevel>(this, x0 + 165, 96, 26, 25));
        divider->SetDividerMode(true);
        auto* repeat = skin(Add<sk::TskSkinButton>(this, x0 + 196, 96, 75, 25));
        repeat->SetCaption("Repeat");
        repeat->RepeatMode = true;

        auto* h = skin(Add<sk::TskSkinScrollBar>(this, x0, 134, 380, 19));
        h->SetRange(0, 99, 25, 30);
        auto* hb = skin(Add<sk::TskSkinScrollBar>(this, x0, 160, 380, 19));
        hb->SetBoth(true);
        hb->SetPosition(70);
        auto* v = new sk::TskSkinScrollBar(this);
        v->SetKind(sk::sbVertical);
        v->SetSkinDataName("vscrollbar");
        v->SetBounds(x0 + 361, 190, 19, 150);
        v->SetParent(this);
        skin(v);
        v->SetRange(0, 199, 40, 80);

        auto* open = skin(Add<sk::TskSkinExPanel>(this, x0, 190, 170, 150));
        open->SetCaption("Folders");
        auto* rolledV = skin(Add<sk::TskSkinExPanel>(this, x0 + 180, 190, 170, 80));
        rolledV->SetCaption("Rolled up");
        rolledV->SetRollState(true);
        auto* rolledH = skin(Add<sk::TskSkinExPanel>(this, x0 + 180, 230, 100, 110));
        rolledH->SetShowCloseButton(false);
        rolledH->SetRollKind(sk::rkRollHorizontal);
        rolledH->SetCaption("Folders");
        rolledH->SetRollState(true);

        // A folder panel beside a file list, with a splitter between them.
        auto* area = Add<rt::TCustomControl>(this, x0, 350, 380, 130);
        auto* tree = skin(Add<sk::TskSkinExPanel>(area, 0, 0, 140, 130));
        tree->SetAlign(rt::TAlign::alLeft);
        tree->SetShowCloseButton(false);
        tree->SetRollKind(sk::rkRollHorizontal);
        tree->SetCaption("/home/user/Videos");
        auto* split = Add<sk::TskSkinSplitter>(area, 140, 0, 6, 130);
        skin(split);
        auto* list = skin(Add<sk::TskSkinExPanel>(area, 0, 0, 10, 10));
        list->SetAlign(rt::TAlign::alClient);
        list->SetShowRollButton(false);
        list->SetCaption("Files");

        Edits(x0, 490, skin);
        // The tree and list views have a window of their own (DemoViews.h).
    }

    // Edits (plain, with a button, read-only, disabled) and combo boxes (short, long enough
    // to scroll, with owner-drawn icons).
    template <class Skin>
    void Edits(int x0, int y, const Skin& skin) {
        auto edit = [&](int x, int yy, int w, const std::string& text) {
            auto* e = skin(Add<sk::TskSkinEdit>(this, x, yy, w, 21));
            e->SetText(text);
            return e;
        };
        edit(x0, y, 180, "clip.avi");
        auto* browse = edit(x0 + 190, y, 190, "/home/user/Videos");
        browse->SetButtonMode(true);
        browse->SetSkinDataName("buttonedit");
        browse->OnButtonClick = [browse](rt::TComponent*) {
            browse->SetText(browse->Text() == "/home/user/Videos" ? "/media/usb"
                                                                  : "/home/user/Videos");
        };
        auto* fixed = edit(x0, y + 30, 180, "read-only: select and copy");
        fixed->SetReadOnly(true);
        auto* off = edit(x0 + 190, y + 30, 190, "disabled");
        off->SetEnabled(false);

        auto* types = skin(Add<sk::TskSkinComboBox>(this, x0, y + 62, 180, 21));
        types->SetItems(
            {"All files (*.avi,*.mpg,*.mpeg)", "AVI files (*.avi)", "MPEG files (*.mpg,*.mpeg)"});
        types->SetItemIndex(0);
        auto* drives = skin(Add<sk::TskSkinComboBox>(this, x0 + 190, y + 62, 190, 21));
        std::vector<std::string> places = {"/", "/home/user", "/media/usb", "/mnt/share"};
        for (int i = 1; i <= 12; ++i) places.push_back("/media/disk" + std::to_string(i));
        drives->SetItems(places);
        drives->SetItemIndex(1);
        // Owner-drawn: a small drive icon before each name.
        drives->OnDrawItem = [](rt::TComponent* sender, rt::TCanvas& c, int index,
                                const rt::TRect& r, rt::TOwnerDrawState) {
            const auto* combo = static_cast<sk::TskSkinComboBox*>(sender);
            if (index < 0 || index >= combo->ItemCount()) return;
            const rt::TColor text = c.Font.Color;
            const int top = r.Top + (r.Height() - 10) / 2;
            c.Brush.Style = rt::TBrushStyle::bsSolid;
            c.Brush.Color = rt::clGray;
            c.FillRect(rt::Rect(r.Left + 3, top, r.Left + 18, top + 10));
            c.Brush.Color = index == 0 ? 0x3C8C3C : index < 4 ? 0xC08A4C : 0x6A6A6A;
            c.FillRect(rt::Rect(r.Left + 4, top + 1, r.Left + 17, top + 9));
            c.Brush.Color = 0x40E040;
            c.FillRect(rt::Rect(r.Left + 13, top + 6, r.Left + 15, top + 8));
            c.Brush.Style = rt::TBrushStyle::bsClear;
            c.Font.Color = text;
            rt::TRect tr = rt::Rect(r.Left + 22, r.Top, r.Right - 2, r.Bottom);
            c.DrawText(combo->Item(index), tr,
                       rt::DT_LEFT | rt::DT_VCENTER | rt::DT_SINGLELINE | rt::DT_NOPREFIX);
        };
    }

    sk::TskSkinData* data_;
    std::unique_ptr<sk::TskStoredSkin> stored_;
    std::vector<std::pair<std::string, sk::TskCompressedStoredSkin*>> builtIn_;
    sk::TskSkinComboBox* chooser_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
    rt::TApplication app(argc, argv);
    std::string skin = "Demo";
    for (int i = 1; i + 1 < argc; ++i)
        if (std::string(argv[i]) == "--skin") skin = argv[i + 1];
    auto* form = app.CreateForm<DemoForm>(skin);
    form->Show();
    demo::ShowViewsWindow(form, skin);
    app.Run();
    return 0;
}
